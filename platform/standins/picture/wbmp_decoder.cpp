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

// The extension headers that follow a fixed header with its high bit set: bits 6 and 5 name their kind.
// Kind 0 is a bitfield of bytes chained by their high bit; kind 3 a chain of parameter and value pairs, each
// announced by a byte holding the chain bit, the parameter's length (bits 6-4) and the value's (bits 3-0).
// The values carry nothing a type-0 picture needs, so they are skipped.
bool SkipExtensionHeaders(ByteReader& in, uint8_t fixedHeader) {
  if ((fixedHeader & 0x80u) == 0) return true;
  const unsigned kind = (fixedHeader >> 5) & 3u;
  // Each byte of the chain moves the reader on, so a damaged chain ends at the end of the file.
  for (;;) {
    uint8_t b = 0;
    if (!in.U8(b)) return false;
    if (kind == 3) {
      const uint8_t* skipped = nullptr;
      const size_t length = static_cast<size_t>((b >> 4) & 7u) + (b & 0x0Fu);
      if (!in.Bytes(length, skipped)) return false;
    }
    if ((b & 0x80u) == 0) return true;
  }
}

}  // namespace

DecodeError DecodeWbmp(const uint8_t* data, size_t size, RasterPicture& out) {
  ByteReader in(data, size);
  uint64_t type = 0, width = 0, height = 0;
  uint8_t fixedHeader = 0;
  if (!ReadUintVar(in, type) || !in.U8(fixedHeader)) return "The WBMP header is cut short.";
  // Type 0 (black and white, uncompressed) is the only kind defined; its fixed header's low bits are reserved.
  // Extension kinds 1 and 2 are reserved.
  const unsigned extensionKind = (fixedHeader >> 5) & 3u;
  const bool reservedKind = (fixedHeader & 0x80u) != 0 && (extensionKind == 1 || extensionKind == 2);
  if (type != 0 || (fixedHeader & 0x1Fu) != 0 || reservedKind) return "This kind of WBMP picture is not read.";
  if (!SkipExtensionHeaders(in, fixedHeader)) return "The WBMP header is cut short.";
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
