// Reading and writing device-independent bitmaps for the button image editor.
#include "toolkit/commandbars/customize/tkp_image_editor_dib.h"

#include <array>
#include <optional>

namespace tkp_image_editor {

namespace {
constexpr uint32_t kBiRgb = 0, kBiBitfields = 3;
constexpr size_t kFileHeaderSize = 14;

uint16_t Le16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | p[1] << 8); }
uint32_t Le32(const uint8_t* p) {
  return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 | static_cast<uint32_t>(p[2]) << 16 |
         static_cast<uint32_t>(p[3]) << 24;
}
void Put16(std::vector<uint8_t>& out, uint32_t v) {
  out.push_back(static_cast<uint8_t>(v));
  out.push_back(static_cast<uint8_t>(v >> 8));
}
void Put32(std::vector<uint8_t>& out, uint32_t v) {
  Put16(out, v & 0xFFFF);
  Put16(out, v >> 16);
}

DibResult Fail(std::string why) { return DibResult{false, std::move(why), {}}; }

// B, G, R (and A) bytes as a pixel 0xAABBGGRR.
uint32_t FromBgra(uint8_t b, uint8_t g, uint8_t r, uint8_t a) {
  return static_cast<uint32_t>(r) | static_cast<uint32_t>(g) << 8 | static_cast<uint32_t>(b) << 16 |
         static_cast<uint32_t>(a) << 24;
}

// One channel out of a masked value, scaled to 0..255.
uint8_t Channel(uint32_t value, uint32_t mask) {
  if (mask == 0) return 0;
  int shift = 0;
  while (((mask >> shift) & 1) == 0) ++shift;
  uint32_t max = mask >> shift;
  return static_cast<uint8_t>(static_cast<uint64_t>((value & mask) >> shift) * 255u / max);
}

struct Layout {
  int width = 0, height = 0;
  bool topDown = false;
  int bits = 0;
  uint32_t compression = 0;
  std::array<uint32_t, 4> masks{};  // red, green, blue, alpha
  size_t headerSize = 0;
  size_t colours = 0;
};

std::optional<std::string> ReadHeader(const uint8_t* data, size_t size, Layout& l) {
  if (size < 4) return "The picture is too short for a bitmap header.";
  l.headerSize = Le32(data);
  if (l.headerSize != 40 && l.headerSize != 52 && l.headerSize != 56 && l.headerSize != 108 && l.headerSize != 124) {
    return "The picture has a bitmap header of an unknown kind.";
  }
  if (size < l.headerSize) return "The picture's bitmap header is cut short.";
  auto w = static_cast<int32_t>(Le32(data + 4)), h = static_cast<int32_t>(Le32(data + 8));
  l.bits = Le16(data + 14);
  l.compression = Le32(data + 16);
  uint32_t used = Le32(data + 32);
  if (w <= 0 || h == 0 || h == INT32_MIN || w > kMaxDibSide || h > kMaxDibSide || h < -kMaxDibSide) {
    return "The picture's size is not one that a button image can take.";
  }
  l.width = w;
  l.topDown = h < 0;
  l.height = h < 0 ? -h : h;
  if (l.bits != 1 && l.bits != 4 && l.bits != 8 && l.bits != 16 && l.bits != 24 && l.bits != 32) {
    return "The picture has an unsupported number of bits per pixel.";
  }
  bool masked = l.compression == kBiBitfields && (l.bits == 16 || l.bits == 32);
  if (l.compression != kBiRgb && !masked) return "The picture is compressed in a way that cannot be read.";
  if (l.bits <= 8) {
    if (used > (1u << l.bits)) return "The picture's colour table is larger than its pixels can use.";
    l.colours = used != 0 ? used : (1u << l.bits);
  }
  if (masked) {
    // Masks inside a larger header, or three after the basic one.
    size_t at = 40;
    if (l.headerSize == 40) {
      if (size < 52) return "The picture's colour masks are cut short.";
      l.headerSize = 52;
    }
    for (int i = 0; i < 3; ++i) l.masks[static_cast<size_t>(i)] = Le32(data + at + 4 * i);
    if (l.headerSize >= 56) l.masks[3] = Le32(data + 52);
  } else if (l.bits == 16) {
    l.masks = {0x7C00, 0x03E0, 0x001F, 0};
  } else if (l.bits == 32) {
    l.masks = {0x00FF0000, 0x0000FF00, 0x000000FF, 0xFF000000};
  }
  return std::nullopt;
}

uint32_t ReadPixel(const Layout& l, const uint8_t* row, int x, const uint8_t* table) {
  switch (l.bits) {
    case 1:
    case 4:
    case 8: {
      size_t bit = static_cast<size_t>(x) * static_cast<size_t>(l.bits);
      uint32_t index = (row[bit / 8] >> (8 - l.bits - bit % 8)) & ((1u << l.bits) - 1);
      if (index >= l.colours) return 0;  // outside the table: black
      const uint8_t* q = table + 4 * index;
      return FromBgra(q[0], q[1], q[2], 0);
    }
    case 24: {
      const uint8_t* p = row + 3 * static_cast<size_t>(x);
      return FromBgra(p[0], p[1], p[2], 0);
    }
    default: {
      uint32_t v = l.bits == 16 ? Le16(row + 2 * static_cast<size_t>(x)) : Le32(row + 4 * static_cast<size_t>(x));
      return FromBgra(Channel(v, l.masks[2]), Channel(v, l.masks[1]), Channel(v, l.masks[0]), Channel(v, l.masks[3]));
    }
  }
}

// The header at `data`; the bits at `bits` when given (a file's offset), else right after the table.
DibResult Decode(const uint8_t* data, size_t size, std::optional<size_t> bitsAt) {
  Layout l;
  if (auto error = ReadHeader(data, size, l)) return Fail(*error);
  size_t tableAt = l.headerSize;
  if (tableAt + 4 * l.colours > size) return Fail("The picture's colour table is cut short.");
  size_t start = bitsAt.value_or(tableAt + 4 * l.colours);
  uint64_t stride = (static_cast<uint64_t>(l.width) * static_cast<uint64_t>(l.bits) + 31) / 32 * 4;
  if (start > size || stride * static_cast<uint64_t>(l.height) > size - start) {
    return Fail("The picture's pixels are cut short.");
  }
  EditorImage image(l.width, l.height, false);
  for (int y = 0; y < l.height; ++y) {
    int stored = l.topDown ? y : l.height - 1 - y;
    const uint8_t* row = data + start + stride * static_cast<uint64_t>(stored);
    for (int x = 0; x < l.width; ++x) image.Set({x, y}, ReadPixel(l, row, x, data + tableAt));
  }
  if (l.bits == 32 && l.masks[3] != 0 && CarriesAlpha(image)) {
    image.SetAlpha(true);
    MarkEmptyPixelsTransparent(image);
  } else {
    for (uint32_t& p : image.Pixels()) p = Rgb(p);
  }
  return DibResult{true, {}, std::move(image)};
}
}  // namespace

DibResult DecodePackedDib(const uint8_t* data, size_t size) {
  if (data == nullptr) return Fail("There is no picture.");
  return Decode(data, size, std::nullopt);
}

DibResult DecodeBmpFile(const uint8_t* data, size_t size) {
  if (data == nullptr || size < kFileHeaderSize || data[0] != 'B' || data[1] != 'M') {
    return Fail("The file is not a bitmap.");
  }
  size_t bitsAt = Le32(data + 10);
  if (bitsAt < kFileHeaderSize) return Fail("The bitmap's pixels start inside its header.");
  return Decode(data + kFileHeaderSize, size - kFileHeaderSize, bitsAt - kFileHeaderSize);
}

std::vector<uint8_t> EncodePackedDib32(const EditorImage& image) {
  std::vector<uint8_t> out;
  out.reserve(40 + image.Pixels().size() * 4);
  Put32(out, 40);
  Put32(out, static_cast<uint32_t>(image.Width()));
  Put32(out, static_cast<uint32_t>(-image.Height()));  // top-down
  Put16(out, 1);
  Put16(out, 32);
  Put32(out, kBiRgb);
  Put32(out, static_cast<uint32_t>(image.Pixels().size() * 4));
  for (int i = 0; i < 4; ++i) Put32(out, 0);
  for (uint32_t p : image.Pixels()) {
    uint32_t a = image.HasAlpha() ? Alpha(p) : 0;
    out.push_back(static_cast<uint8_t>(p >> 16));
    out.push_back(static_cast<uint8_t>(p >> 8));
    out.push_back(static_cast<uint8_t>(p));
    out.push_back(static_cast<uint8_t>(a));
  }
  return out;
}

bool NamesAlphaFormat(std::u16string_view name) {
  return name.substr(0, 254).find(u"DIB32", 1) != std::u16string_view::npos;
}

DibResult DecodeIconFile(const uint8_t* data, size_t size, int width, int height) {
  DibResult result;
  constexpr size_t kHeader = 6, kEntry = 16, kInfo = 40;
  auto le16 = [data](size_t at) { return static_cast<uint32_t>(data[at]) | static_cast<uint32_t>(data[at + 1]) << 8; };
  if (data == nullptr || size < kHeader || le16(0) != 0 || le16(2) != 1) {
    result.error = "It is not an icon file.";
    return result;
  }
  const size_t count = le16(4);
  if (count == 0 || size < kHeader + count * kEntry) {
    result.error = "The icon file is damaged.";
    return result;
  }
  for (size_t i = 0; i < count; ++i) {
    const uint8_t* entry = data + kHeader + i * kEntry;
    // A width or height byte of 0 stands for 256.
    const int w = entry[0] != 0 ? entry[0] : 256, h = entry[1] != 0 ? entry[1] : 256;
    const uint32_t bits = static_cast<uint32_t>(entry[6]) | static_cast<uint32_t>(entry[7]) << 8;
    const uint32_t length = Le32(entry + 8), offset = Le32(entry + 12);
    if (w != width || h != height || bits != 32) continue;
    if (offset > size || length > size - offset || length < kInfo || Le32(data + offset) != kInfo) continue;
    // The image's height counts its colour rows and its mask rows: only the colour rows are read.
    std::vector<uint8_t> dib(data + offset, data + offset + length);
    const auto rows = static_cast<int32_t>(Le32(dib.data() + 8));
    if (rows != 2 * height) continue;
    const uint32_t half = static_cast<uint32_t>(height);
    for (int b = 0; b < 4; ++b) dib[8 + static_cast<size_t>(b)] = static_cast<uint8_t>(half >> (8 * b));
    DibResult read = DecodePackedDib(dib.data(), dib.size());
    if (read.ok && read.image.Width() == width && read.image.Height() == height) return read;
  }
  result.error = "The icon file holds no 32-bit image of this size.";
  return result;
}

}  // namespace tkp_image_editor
