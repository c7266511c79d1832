// A decoded picture of our own decoders (TGA, PCX, PNM, Sun raster, WBMP): rows from the top, one 32-bit
// pixel each in the order of a 32-bit DIB (0x00RRGGBB; transparent parts already laid over white), and
// the checked reading every decoder does of an untrusted file.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace picture {

// The largest picture we decode: sides up to 32767 pixels and 2^25 pixels (128 MB) in all, so that a
// 32-bit process can hold it and no header alone makes us allocate much.
constexpr uint32_t kMaxSide = 32767;
constexpr uint64_t kMaxPixels = uint64_t{1} << 25;

struct RasterPicture {
  uint32_t width = 0;
  uint32_t height = 0;
  std::vector<uint32_t> pixels;  // width * height, rows from the top
};

// Why a decoder failed: a fixed text, or null when it succeeded.
using DecodeError = const char*;

// Sizes the picture (every pixel white): an error when a side is 0 or the picture is too large.
DecodeError AllocatePicture(uint64_t width, uint64_t height, RasterPicture& out);

inline uint32_t Rgb(uint32_t r, uint32_t g, uint32_t b) { return (r << 16) | (g << 8) | b; }
// The colour laid over white by its alpha (0 transparent, 255 opaque).
uint32_t OverWhite(uint32_t r, uint32_t g, uint32_t b, uint32_t alpha);
// A 5-bit channel widened to 8 bits.
inline uint32_t Widen5(uint32_t v) { return (v << 3) | (v >> 2); }

// Reads a byte buffer front to back; every read says whether the bytes were there.
class ByteReader {
 public:
  ByteReader(const uint8_t* data, size_t size) : data_(data), size_(size) {}
  size_t Position() const { return pos_; }
  size_t Remaining() const { return size_ - pos_; }
  bool U8(uint8_t& v);
  bool U16LE(uint32_t& v);
  bool U16BE(uint32_t& v);
  bool U32BE(uint32_t& v);
  bool Skip(uint64_t n);
  // The next n bytes (not copied); false when fewer remain.
  bool Bytes(uint64_t n, const uint8_t*& bytes);
  bool Seek(size_t pos);

 private:
  const uint8_t* data_;
  size_t size_;
  size_t pos_ = 0;
};

}  // namespace picture
