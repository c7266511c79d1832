#include "preview/psd/psd_decoder.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <new>

#include "platform/os/os.h"

// The file read front to back; every read is checked against what is left, numbers are big-endian.
class PsdDecoder::Reader {
 public:
  Reader(const uint8_t* data, size_t size) : m_data(data), m_size(size) {}
  size_t Left() const { return m_size - m_pos; }
  bool AtEnd() const { return m_pos == m_size; }
  const uint8_t* Here() const { return m_data + m_pos; }
  bool Skip(uint64_t n) {
    if (n > Left()) return false;
    m_pos += static_cast<size_t>(n);
    return true;
  }
  bool U8(uint32_t& v) { return Number(1, v); }
  bool U16(uint32_t& v) { return Number(2, v); }
  bool U32(uint32_t& v) { return Number(4, v); }

 private:
  bool Number(size_t n, uint32_t& v) {
    if (n > Left()) return false;
    v = 0;
    for (size_t i = 0; i < n; ++i) v = (v << 8) | m_data[m_pos++];
    return true;
  }
  const uint8_t* m_data;
  size_t m_size;
  size_t m_pos = 0;
};

namespace {

constexpr uint32_t kResolutionResource = 1005;
constexpr uint32_t kIndexCountResource = 1046;

uint8_t Clamp255(double v) {
  if (!(v > 0)) return 0;  // also NaN
  return v >= 255 ? 255 : static_cast<uint8_t>(v);
}

double LabCurve(double f) { return f * f * f > 0.008856 ? f * f * f : (f - 16.0 / 116.0) / 7.787; }

double SrgbGamma(double v) { return v > 0.0031308 ? 1.055 * std::pow(v, 1 / 2.4) - 0.055 : 12.92 * v; }

}  // namespace

void PsdCmykToRgb(double c, double m, double y, double k, uint8_t rgb[3]) {
  const double parts[3] = {c, m, y};
  for (int i = 0; i < 3; ++i) rgb[i] = Clamp255(std::floor(255 * (1 - (parts[i] * (1 - k) + k)) + 0.5));
}

void PsdLabToRgb(int l, int a, int b, uint8_t rgb[3]) {
  const double fy = (l + 16) / 116.0;
  const double fx = a / 500.0 + fy;
  const double fz = fy - b / 200.0;
  const double x = 95.047 * LabCurve(fx) / 100, y = 100.0 * LabCurve(fy) / 100, z = 108.883 * LabCurve(fz) / 100;
  const double linear[3] = {3.2406 * x - 1.5372 * y - 0.4986 * z, -0.9689 * x + 1.8758 * y + 0.0415 * z,
                            0.0557 * x - 0.2040 * y + 1.0570 * z};
  for (int i = 0; i < 3; ++i) rgb[i] = Clamp255(std::trunc(SrgbGamma(linear[i]) * 256));
}

bool PsdIsUnsupportedVariant(int result, int depth) {
  switch (result) {
    case kPsdZip:
    case kPsdZipPredicted:
    case kPsdTooLarge: return true;
    case kPsdUnsupportedDepth: return depth == 1 || depth == 32;
    default: return false;
  }
}

int PsdDecoder::Load(const std::u16string& path) {
  Cleanup();
  os::File file;
  uint64_t size = 0;
  if (!file.OpenRead(path) || !file.Size(&size)) return kPsdCannotOpen;
  if (size > kMemoryCap) return kPsdTooLarge;
  std::vector<uint8_t> bytes;
  try {
    bytes.resize(static_cast<size_t>(size));
  } catch (const std::bad_alloc&) {
    return kPsdTooLarge;
  }
  uint32_t got = 0;
  if (size > 0 && (!file.Read(bytes.data(), static_cast<uint32_t>(size), &got) || got != size)) return kPsdCannotOpen;
  file.Close();
  return Load(bytes.data(), bytes.size());
}

// Below the cap a 32-bit process may still find no room: that is a refusal too, not a failure of the view.
int PsdDecoder::Load(const uint8_t* data, size_t size) {
  try {
    return Decode(data, size);
  } catch (const std::bad_alloc&) {
    Cleanup();
    return kPsdTooLarge;
  }
}

int PsdDecoder::Decode(const uint8_t* data, size_t size) {
  Cleanup();
  Reader in(data, size);
  if (const int header = ReadHeader(in); header != kPsdOk) return header;
  ReadColourData(in);
  if (!ReadResources(in)) return kPsdBadResources;
  // The layers are skipped to the end of the file at most; a length cut short ends the file too.
  uint32_t layers = 0;
  in.Skip(in.U32(layers) ? std::min<uint64_t>(layers, in.Left()) : in.Left());
  return ReadImageData(in);
}

void PsdDecoder::Cleanup() { *this = PsdDecoder(); }

int PsdDecoder::ReadHeader(Reader& in) {
  if (in.Left() < 26 || std::memcmp(in.Here(), "8BPS", 4) != 0) return kPsdBadHeader;
  in.Skip(4);
  uint32_t version = 0, channels = 0, rows = 0, columns = 0, depth = 0, mode = 0;
  in.U16(version);
  if (version != 1) return kPsdBadHeader;
  for (int i = 0; i < 6; ++i)
    if (in.Here()[i] != 0) return kPsdBadHeader;
  in.Skip(6);
  in.U16(channels);
  in.U32(rows);
  in.U32(columns);
  in.U16(depth);
  in.U16(mode);
  if (channels < 1 || channels > kMaxChannels || rows < 1 || rows > kMaxSide || columns < 1 || columns > kMaxSide)
    return kPsdBadDimensions;
  m_channels = static_cast<int16_t>(channels);
  m_rows = static_cast<int32_t>(rows);
  m_columns = static_cast<int32_t>(columns);
  m_depth = static_cast<int16_t>(depth);
  m_mode = static_cast<int16_t>(mode);
  return kPsdOk;
}

void PsdDecoder::ReadColourData(Reader& in) {
  uint32_t length = 0;
  if (!in.U32(length)) return;
  const size_t kept = static_cast<size_t>(std::min<uint64_t>(length, in.Left()));
  m_colourData.assign(in.Here(), in.Here() + kept);
  in.Skip(kept);
}

// Blocks of "8BIM", id, padded name, size and padded data, which must end exactly at the section's end.
// A word that is not "8BIM" is stepped over four bytes at a time.
bool PsdDecoder::ReadResources(Reader& in) {
  uint32_t length = 0;
  if (!in.U32(length)) return true;  // the file ends before its resources: no image data follows
  if (length > in.Left()) return false;
  Reader section(in.Here(), length);
  in.Skip(length);
  while (!section.AtEnd()) {
    if (section.Left() < 4) return false;
    const bool signature = std::memcmp(section.Here(), "8BIM", 4) == 0;
    section.Skip(4);
    if (!signature) continue;
    uint32_t id = 0, nameLength = 0, size = 0;
    if (!section.U16(id) || !section.U8(nameLength)) return false;
    if (!section.Skip(nameLength + ((nameLength & 1) == 0 ? 1 : 0))) return false;
    if (!section.U32(size) || size > section.Left()) return false;
    UseResource(id, section.Here(), size);
    if (!section.Skip(uint64_t{size} + (size & 1))) return false;
  }
  return true;
}

void PsdDecoder::UseResource(uint16_t id, const uint8_t* data, uint32_t size) {
  auto be16 = [data](size_t at) { return static_cast<uint32_t>((data[at] << 8) | data[at + 1]); };
  if (id == kResolutionResource && size >= 16) {
    m_ppmX = static_cast<int32_t>(be16(0) * 10000 / 254);
    m_ppmY = static_cast<int32_t>(be16(8) * 10000 / 254);
  } else if (id == kIndexCountResource && size >= 2) {
    m_indexCount = static_cast<int32_t>(be16(0));
  }
}

int PsdDecoder::ReadImageData(Reader& in) {
  if (in.AtEnd()) return kPsdOk;
  uint32_t compression = 0;
  if (!in.U16(compression)) return kPsdOk;  // cut short: no picture
  if (compression == 2) return kPsdZip;
  if (compression == 3) return kPsdZipPredicted;
  if (compression > 3) return kPsdUnknownCompression;
  if (m_depth != 8 && m_depth != 16) return kPsdUnsupportedDepth;

  const uint64_t total = uint64_t{static_cast<uint16_t>(m_channels)} * static_cast<uint32_t>(m_rows) *
                         static_cast<uint32_t>(m_columns) * (m_depth / 8);
  const bool packBits = compression == 1;
  // Data too short for the picture is incomplete: no picture, and nothing allocated for it. A two-byte
  // PackBits run gives at most 128 bytes. Checked before the size, so that a damaged header claiming a
  // huge picture is not taken for a large file.
  if (packBits && !in.Skip(uint64_t{2} * static_cast<uint16_t>(m_channels) * static_cast<uint32_t>(m_rows)))
    return kPsdOk;
  if (packBits ? total > uint64_t{in.Left()} * 64 : total > in.Left()) return kPsdOk;
  if (2 * total + uint64_t{RowStride()} * static_cast<uint32_t>(m_rows) > kMemoryCap) return kPsdTooLarge;

  std::vector<uint8_t> planes(static_cast<size_t>(total), 254);
  if (!ReadPlanes(in, packBits, planes)) return kPsdOk;
  // One layout for every colour mode and compression: sample c of pixel p at (p x channels + c) x bps.
  const size_t bps = static_cast<size_t>(m_depth / 8), channels = static_cast<size_t>(m_channels);
  const size_t planeBytes = planes.size() / channels;
  std::vector<uint8_t> pixels(planes.size());
  for (size_t c = 0; c < channels; ++c) {
    const uint8_t* from = planes.data() + c * planeBytes;
    for (size_t p = 0, at = c * bps; p < planeBytes; p += bps, at += channels * bps)
      std::memcpy(pixels.data() + at, from + p, bps);
  }
  planes = {};
  Convert(pixels);
  return kPsdOk;
}

// The channels one after another, each its rows x columns samples; false when the data ends early.
bool PsdDecoder::ReadPlanes(Reader& in, bool packBits, std::vector<uint8_t>& planes) const {
  if (!packBits) {
    std::memcpy(planes.data(), in.Here(), planes.size());
    return in.Skip(planes.size());
  }
  // PackBits at the file's depth: each channel decodes to its own rows x columns x bps bytes; a run that
  // would pass the channel's end is cut there.
  const size_t planeBytes = planes.size() / static_cast<size_t>(m_channels);
  for (size_t start = 0; start < planes.size(); start += planeBytes) {
    uint8_t* out = planes.data() + start;
    size_t done = 0;
    while (done < planeBytes) {
      uint32_t n = 0, value = 0;
      if (!in.U8(n)) return false;
      if (n < 128) {
        const size_t count = n + 1, take = std::min(count, planeBytes - done);
        if (in.Left() < count) return false;
        std::memcpy(out + done, in.Here(), take);
        in.Skip(count);
        done += take;
      } else if (n > 128) {
        if (!in.U8(value)) return false;
        const size_t take = std::min<size_t>(257 - n, planeBytes - done);
        std::memset(out + done, static_cast<int>(value), take);
        done += take;
      }
    }
  }
  return true;
}

// Each pixel's colour into the white bitmap; the first pixel of the data is the top-left one.
void PsdDecoder::Convert(const std::vector<uint8_t>& pixels) {
  const size_t stride = RowStride(), rows = static_cast<size_t>(m_rows), columns = static_cast<size_t>(m_columns);
  m_bits.assign(stride * rows, 0xFF);
  const size_t bps = static_cast<size_t>(m_depth / 8), channels = static_cast<size_t>(m_channels);
  const double max = m_depth == 16 ? 65536.0 : 256.0;
  // Ink is a fraction of the largest sample: no ink (every bit set) must leave white paper.
  const double inkMax = max - 1;
  // The index count came late to the format and many writers leave it out: without it the whole table
  // serves; a count of 0 says no colour is used.
  const bool indexed = m_colourData.size() == 768 && m_indexCount != 0;
  for (size_t y = 0; y < rows; ++y) {
    uint8_t* row = m_bits.data() + (rows - 1 - y) * stride;
    for (size_t x = 0; x < columns; ++x) {
      const uint8_t* pixel = pixels.data() + (y * columns + x) * channels * bps;
      auto high = [&](size_t s) { return pixel[s * bps]; };
      auto sample = [&](size_t s) { return bps == 2 ? (pixel[s * bps] << 8) | pixel[s * bps + 1] : pixel[s * bps]; };
      uint8_t rgb[3];
      switch (m_mode) {
        case 1:
        case 8: rgb[0] = rgb[1] = rgb[2] = high(0); break;
        case 2:
          if (!indexed) continue;
          for (int i = 0; i < 3; ++i) rgb[i] = m_colourData[static_cast<size_t>(i) * 256 + high(0)];
          break;
        case 3:
          if (channels < 3) continue;
          for (int i = 0; i < 3; ++i) rgb[i] = high(static_cast<size_t>(i));
          break;
        case 4:
        case 7: {
          if (channels < (m_mode == 4 ? 4u : 3u)) continue;
          const double k = channels >= 4 ? 1 - sample(3) / inkMax : 0;
          PsdCmykToRgb(1 - sample(0) / inkMax, 1 - sample(1) / inkMax, 1 - sample(2) / inkMax, k, rgb);
          break;
        }
        case 9:
          if (channels < 3) continue;
          PsdLabToRgb(static_cast<int>(sample(0) / (max / 100)), static_cast<int>(sample(1) / (max / 256) - 128),
                      static_cast<int>(sample(2) / (max / 256) - 128), rgb);
          break;
        default: continue;
      }
      row[x * 3] = rgb[2];
      row[x * 3 + 1] = rgb[1];
      row[x * 3 + 2] = rgb[0];
    }
  }
}
