#include "platform/standins/picture/raster_decoders.h"

namespace picture {
namespace {

bool IsSpace(uint8_t c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f'; }

// The header's and the plain formats' numbers: blanks and "#" comments between them.
class PnmText {
 public:
  explicit PnmText(ByteReader& in) : in_(in) {}

  // The next decimal number; values above `limit` are refused (digits are not read on without end).
  bool Number(uint32_t limit, uint32_t& value) {
    if (!SkipBlanks()) return false;
    uint8_t c = 0;
    value = 0;
    bool any = false;
    while (Peek(c) && c >= '0' && c <= '9') {
      in_.Skip(1);
      const uint64_t next = uint64_t{value} * 10 + (c - '0');
      if (next > limit) return false;
      value = static_cast<uint32_t>(next);
      any = true;
    }
    return any;
  }

  // A plain bitmap's digit: "0" or "1", blanks allowed between but not needed.
  bool Bit(uint32_t& value) {
    uint8_t c = 0;
    if (!SkipBlanks() || !in_.U8(c) || (c != '0' && c != '1')) return false;
    value = c - '0';
    return true;
  }

 private:
  bool Peek(uint8_t& c) {
    const size_t at = in_.Position();
    if (!in_.U8(c)) return false;
    in_.Seek(at);
    return true;
  }

  bool SkipBlanks() {
    uint8_t c = 0;
    while (Peek(c)) {
      if (c == '#') {
        while (in_.U8(c) && c != '\n' && c != '\r') {
        }
      } else if (IsSpace(c)) {
        in_.Skip(1);
      } else {
        return true;
      }
    }
    return false;
  }

  ByteReader& in_;
};

uint32_t Scale(uint32_t v, uint32_t maxval) {
  if (v > maxval) v = maxval;
  return (v * 255u + maxval / 2) / maxval;
}

}  // namespace

DecodeError DecodePnm(const uint8_t* data, size_t size, RasterPicture& out) {
  ByteReader in(data, size);
  uint8_t p = 0, kind = 0;
  if (!in.U8(p) || !in.U8(kind) || p != 'P' || kind < '1' || kind > '6') return "This is not a PNM picture.";
  const int format = kind - '0';
  const bool raw = format >= 4;
  const int samples = (format == 3 || format == 6) ? 3 : 1;
  const bool bitmap = format == 1 || format == 4;
  PnmText text(in);
  uint32_t width = 0, height = 0, maxval = 1;
  if (!text.Number(0xFFFFFFFFu, width) || !text.Number(0xFFFFFFFFu, height) ||
      (!bitmap && !text.Number(65535, maxval)) || maxval == 0) {
    return "The PNM header is not valid.";
  }
  if (width > kMaxSide || height > kMaxSide) return "The picture is too large.";
  uint8_t separator = 0;
  if (raw && (!in.U8(separator) || !IsSpace(separator))) return "The PNM header is not valid.";
  const uint64_t count = uint64_t{width} * height;
  const uint64_t sampleBytes = maxval > 255 ? 2 : 1;
  const uint64_t rowBytes = bitmap ? (uint64_t{width} + 7) / 8 : uint64_t{width} * samples * sampleBytes;
  // Raw rows are all there, and plain samples take a byte each at the least.
  const uint64_t atLeast = raw ? rowBytes * height : count * samples;
  if (count != 0 && in.Remaining() < atLeast) return "The PNM file is cut short.";
  if (DecodeError e = AllocatePicture(width, height, out)) return e;
  for (uint32_t y = 0; y < height; ++y) {
    const uint8_t* row = nullptr;
    if (raw && !in.Bytes(rowBytes, row)) return "The PNM file is cut short.";
    for (uint32_t x = 0; x < width; ++x) {
      uint32_t v[3] = {0, 0, 0};
      for (int s = 0; s < samples; ++s) {
        if (raw && bitmap) {
          v[s] = (row[x / 8] >> (7 - x % 8)) & 1u;
        } else if (raw) {
          const uint8_t* at = row + (uint64_t{x} * samples + s) * sampleBytes;
          v[s] = sampleBytes == 2 ? (uint32_t{at[0]} << 8) | at[1] : at[0];
        } else if (!(bitmap ? text.Bit(v[s]) : text.Number(65535, v[s]))) {
          return "A PNM sample is missing or not valid.";
        }
      }
      uint32_t& pixel = out.pixels[static_cast<size_t>(y) * width + x];
      if (bitmap) {
        pixel = v[0] != 0 ? 0 : 0xFFFFFF;  // 1 is black
      } else if (samples == 1) {
        const uint32_t g = Scale(v[0], maxval);
        pixel = Rgb(g, g, g);
      } else {
        pixel = Rgb(Scale(v[0], maxval), Scale(v[1], maxval), Scale(v[2], maxval));
      }
    }
  }
  return nullptr;
}

}  // namespace picture
