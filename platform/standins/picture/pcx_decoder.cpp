#include <vector>

#include "platform/standins/picture/raster_decoders.h"

namespace picture {
namespace {

constexpr size_t kHeaderSize = 128;
constexpr size_t kClosingPaletteSize = 769;  // 0x0C and 256 RGB triples

struct PcxHeader {
  uint8_t maker = 0, version = 0, encoding = 0, bits = 0, planes = 0;
  uint32_t xMin = 0, yMin = 0, xMax = 0, yMax = 0, lineBytes = 0;
  const uint8_t* headerPalette = nullptr;  // 16 RGB triples
};

bool ReadHeader(ByteReader& in, PcxHeader& h) {
  uint32_t ignored = 0;
  return in.U8(h.maker) && in.U8(h.version) && in.U8(h.encoding) && in.U8(h.bits) && in.U16LE(h.xMin) &&
         in.U16LE(h.yMin) && in.U16LE(h.xMax) && in.U16LE(h.yMax) && in.U16LE(ignored) && in.U16LE(ignored) &&
         in.Bytes(48, h.headerPalette) && in.Skip(1) && in.U8(h.planes) && in.U16LE(h.lineBytes) &&
         in.Seek(kHeaderSize);
}

// The scan lines (planes one after the other in each), run-length decoded: runs may cross lines.
DecodeError Unpack(ByteReader& in, bool rle, uint64_t total, std::vector<uint8_t>& lines) {
  while (lines.size() < total) {
    uint8_t b = 0;
    if (!in.U8(b)) return "The PCX file is cut short.";
    uint32_t run = 1;
    if (rle && b >= 0xC0) {
      run = b & 0x3Fu;
      if (!in.U8(b)) return "The PCX file is cut short.";
    }
    // A run past the last line carries only padding.
    for (uint32_t i = 0; i < run && lines.size() < total; ++i) lines.push_back(b);
  }
  return nullptr;
}

// The colours of the 256-entry palette that closes version 5 files; grey when there is none.
std::vector<uint32_t> ClosingPalette(const uint8_t* data, size_t size) {
  std::vector<uint32_t> palette(256);
  const bool present = size >= kHeaderSize + kClosingPaletteSize && data[size - kClosingPaletteSize] == 0x0C;
  const uint8_t* p = data + size - 768;
  for (uint32_t i = 0; i < 256; ++i) palette[i] = present ? Rgb(p[3 * i], p[3 * i + 1], p[3 * i + 2]) : Rgb(i, i, i);
  return palette;
}

}  // namespace

DecodeError DecodePcx(const uint8_t* data, size_t size, RasterPicture& out) {
  ByteReader in(data, size);
  PcxHeader h;
  if (!ReadHeader(in, h)) return "The PCX header is cut short.";
  if (h.maker != 0x0A || h.encoding > 1) return "This is not a PCX picture.";
  if (h.xMax < h.xMin || h.yMax < h.yMin) return "The PCX picture has no pixels.";
  const uint64_t width = uint64_t{h.xMax} - h.xMin + 1, height = uint64_t{h.yMax} - h.yMin + 1;
  const bool packed = (h.bits == 1 && h.planes >= 1 && h.planes <= 4) || ((h.bits == 2 || h.bits == 4) && h.planes == 1);
  const bool bytewise = h.bits == 8 && (h.planes == 1 || h.planes == 3 || h.planes == 4);
  if (!packed && !bytewise) return "This kind of PCX picture is not read.";
  if (h.lineBytes == 0 || uint64_t{h.lineBytes} * 8 < width * h.bits) return "The PCX line length is not valid.";
  const uint64_t stride = uint64_t{h.lineBytes} * h.planes;
  const uint64_t total = stride * height;
  // A run of up to 63 bytes takes two bytes of the file: refuse files too short before allocating.
  const uint64_t atLeast = h.encoding == 1 ? (total + 62) / 63 : total;
  if (total > 4 * kMaxPixels) return "The picture is too large.";
  if (in.Remaining() < atLeast) return "The PCX file is cut short.";
  if (DecodeError e = AllocatePicture(width, height, out)) return e;
  std::vector<uint8_t> lines;
  if (DecodeError e = Unpack(in, h.encoding == 1, total, lines)) return e;
  const std::vector<uint32_t> palette = h.bits == 8 && h.planes == 1 ? ClosingPalette(data, size) : std::vector<uint32_t>();
  for (uint32_t y = 0; y < out.height; ++y) {
    const uint8_t* line = lines.data() + y * stride;
    for (uint32_t x = 0; x < out.width; ++x) {
      uint32_t& pixel = out.pixels[static_cast<size_t>(y) * out.width + x];
      if (bytewise && h.planes == 1) {
        pixel = palette[line[x]];
      } else if (bytewise) {
        pixel = Rgb(line[x], line[h.lineBytes + x], line[2 * h.lineBytes + x]);
      } else {
        // Bits of each plane, lowest plane lowest, give the index into the header's 16 colours.
        uint32_t index = 0;
        const uint32_t bit = x * h.bits;
        for (uint32_t plane = 0; plane < h.planes; ++plane) {
          const uint8_t byte = line[plane * h.lineBytes + bit / 8];
          const uint32_t value = (byte >> (8 - h.bits - bit % 8)) & ((1u << h.bits) - 1);
          index |= value << (plane * h.bits);
        }
        if (h.bits == 1 && h.planes == 1) {
          pixel = index != 0 ? 0xFFFFFF : 0;
        } else {
          const uint8_t* c = h.headerPalette + 3 * index;
          pixel = Rgb(c[0], c[1], c[2]);
        }
      }
    }
  }
  return nullptr;
}

}  // namespace picture
