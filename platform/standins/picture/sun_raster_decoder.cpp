#include <vector>

#include "platform/standins/picture/raster_decoders.h"

namespace picture {
namespace {

constexpr uint32_t kMagic = 0x59A66A95;
// Types 0 (old) and 1 (standard) are raw BGR; 2 is byte-encoded; 3 raw RGB. Maps: 0 none, 1 RGB, 2 raw.
constexpr uint32_t kTypeByteEncoded = 2, kTypeRgb = 3;
constexpr uint32_t kMapRgb = 1, kMapRaw = 2;

struct SunHeader {
  uint32_t magic = 0, width = 0, height = 0, depth = 0, length = 0, type = 0, mapType = 0, mapLength = 0;
};

// Byte-encoded data: 0x80 n v is n + 1 bytes v (0x80 0 is one 0x80 byte); any other byte stands for itself.
DecodeError Unpack(ByteReader& in, uint64_t total, std::vector<uint8_t>& bytes) {
  while (bytes.size() < total) {
    uint8_t b = 0, n = 0;
    if (!in.U8(b)) return "The Sun raster file is cut short.";
    uint32_t run = 1;
    if (b == 0x80) {
      if (!in.U8(n)) return "The Sun raster file is cut short.";
      if (n != 0) {
        run = n + 1u;
        if (!in.U8(b)) return "The Sun raster file is cut short.";
      }
    }
    for (uint32_t i = 0; i < run && bytes.size() < total; ++i) bytes.push_back(b);
  }
  return nullptr;
}

}  // namespace

DecodeError DecodeSunRaster(const uint8_t* data, size_t size, RasterPicture& out) {
  ByteReader in(data, size);
  SunHeader h;
  if (!in.U32BE(h.magic) || h.magic != kMagic) return "This is not a Sun raster picture.";
  if (!in.U32BE(h.width) || !in.U32BE(h.height) || !in.U32BE(h.depth) || !in.U32BE(h.length) || !in.U32BE(h.type) ||
      !in.U32BE(h.mapType) || !in.U32BE(h.mapLength)) {
    return "The Sun raster header is cut short.";
  }
  if (h.type > kTypeRgb || h.mapType > kMapRaw) return "This kind of Sun raster picture is not read.";
  if (h.depth != 1 && h.depth != 8 && h.depth != 24 && h.depth != 32) return "The Sun raster depth is not valid.";
  if (h.width > kMaxSide || h.height > kMaxSide) return "The picture is too large.";
  const uint8_t* map = nullptr;
  if (!in.Bytes(h.mapLength, map)) return "The Sun raster file is cut short.";
  std::vector<uint32_t> palette;
  if (h.mapType == kMapRgb && h.depth <= 8) {
    // Three planes: every red, then every green, then every blue.
    const uint32_t n = h.mapLength / 3;
    if (n == 0 || n > 256) return "The Sun raster colour map is not valid.";
    for (uint32_t i = 0; i < n; ++i) palette.push_back(Rgb(map[i], map[n + i], map[2 * n + i]));
  }
  const uint64_t rowBytes = (uint64_t{h.width} * h.depth + 15) / 16 * 2;  // rows end on 16 bits
  const uint64_t total = rowBytes * h.height;
  // A run of up to 256 bytes takes three bytes of the file: refuse files too short before allocating.
  const uint64_t atLeast = h.type == kTypeByteEncoded ? (total + 255) / 256 * 3 : total;
  if (total != 0 && in.Remaining() < atLeast) return "The Sun raster file is cut short.";
  if (DecodeError e = AllocatePicture(h.width, h.height, out)) return e;
  std::vector<uint8_t> unpacked;
  const uint8_t* pixels = nullptr;
  if (h.type == kTypeByteEncoded) {
    if (DecodeError e = Unpack(in, total, unpacked)) return e;
    pixels = unpacked.data();
  } else if (!in.Bytes(total, pixels)) {
    return "The Sun raster file is cut short.";
  }
  const bool rgbOrder = h.type == kTypeRgb;
  for (uint32_t y = 0; y < out.height; ++y) {
    const uint8_t* row = pixels + y * rowBytes;
    for (uint32_t x = 0; x < out.width; ++x) {
      uint32_t& pixel = out.pixels[static_cast<size_t>(y) * out.width + x];
      if (h.depth == 1 || h.depth == 8) {
        const uint32_t index = h.depth == 1 ? (row[x / 8] >> (7 - x % 8)) & 1u : row[x];
        if (!palette.empty()) {
          if (index >= palette.size()) return "A Sun raster colour index lies outside the colour map.";
          pixel = palette[index];
        } else if (h.depth == 1) {
          pixel = index != 0 ? 0 : 0xFFFFFF;  // 1 is black
        } else {
          pixel = Rgb(index, index, index);
        }
      } else {
        // 24 bits: BGR (RGB in the RGB type); 32 bits: a pad byte first.
        const uint8_t* p = row + uint64_t{x} * (h.depth / 8) + (h.depth == 32 ? 1 : 0);
        pixel = rgbOrder ? Rgb(p[0], p[1], p[2]) : Rgb(p[2], p[1], p[0]);
      }
    }
  }
  return nullptr;
}

}  // namespace picture
