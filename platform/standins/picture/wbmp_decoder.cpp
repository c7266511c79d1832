#include "platform/standins/picture/raster_decoders.h"

namespace picture {
namespace {

// A multi-byte integer: seven bits a byte, the high bit saying another follows; at most five bytes.
bool ReadUintVar(ByteReader& in, uint64_t& value) {
  value = 0;
  for (int i = 0; i < 5; ++i) {
    uint8_t b = 0;
    if (!in.U8(b)) return false;
    value = (value << 7) | (b & 0x7Fu);
    if ((b & 0x80u) == 0) return true;
  }
  return false;
}

}  // namespace

DecodeError DecodeWbmp(const uint8_t* data, size_t size, RasterPicture& out) {
  ByteReader in(data, size);
  uint64_t type = 0, width = 0, height = 0;
  uint8_t fixedHeader = 0;
  if (!ReadUintVar(in, type) || !in.U8(fixedHeader)) return "The WBMP header is cut short.";
  // Type 0 without extension headers is the only kind in use.
  if (type != 0 || fixedHeader != 0) return "This kind of WBMP picture is not read.";
  if (!ReadUintVar(in, width) || !ReadUintVar(in, height)) return "The WBMP header is cut short.";
  if (width > kMaxSide || height > kMaxSide) return "The picture is too large.";
  const uint64_t rowBytes = (width + 7) / 8;
  if (in.Remaining() < rowBytes * height) return "The WBMP file is cut short.";
  if (DecodeError e = AllocatePicture(width, height, out)) return e;
  for (uint32_t y = 0; y < out.height; ++y) {
    const uint8_t* row = nullptr;
    in.Bytes(rowBytes, row);
    for (uint32_t x = 0; x < out.width; ++x) {
      out.pixels[static_cast<size_t>(y) * out.width + x] = ((row[x / 8] >> (7 - x % 8)) & 1u) != 0 ? 0xFFFFFF : 0;
    }
  }
  return nullptr;
}

}  // namespace picture
