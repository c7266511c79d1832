#include "platform/standins/picture/raster_picture.h"

namespace picture {

DecodeError AllocatePicture(uint64_t width, uint64_t height, RasterPicture& out) {
  if (width == 0 || height == 0) return "The picture has no pixels.";
  if (width > kMaxSide || height > kMaxSide || width * height > kMaxPixels) return "The picture is too large.";
  out.width = static_cast<uint32_t>(width);
  out.height = static_cast<uint32_t>(height);
  out.pixels.assign(static_cast<size_t>(width * height), 0xFFFFFF);
  return nullptr;
}

uint32_t OverWhite(uint32_t r, uint32_t g, uint32_t b, uint32_t alpha) {
  const uint32_t back = 255 * (255 - alpha);
  return Rgb((r * alpha + back + 127) / 255, (g * alpha + back + 127) / 255, (b * alpha + back + 127) / 255);
}

bool ByteReader::U8(uint8_t& v) {
  if (pos_ >= size_) return false;
  v = data_[pos_++];
  return true;
}

bool ByteReader::U16LE(uint32_t& v) {
  if (Remaining() < 2) return false;
  v = data_[pos_] | (uint32_t{data_[pos_ + 1]} << 8);
  pos_ += 2;
  return true;
}

bool ByteReader::U16BE(uint32_t& v) {
  if (Remaining() < 2) return false;
  v = (uint32_t{data_[pos_]} << 8) | data_[pos_ + 1];
  pos_ += 2;
  return true;
}

bool ByteReader::U32BE(uint32_t& v) {
  if (Remaining() < 4) return false;
  v = (uint32_t{data_[pos_]} << 24) | (uint32_t{data_[pos_ + 1]} << 16) | (uint32_t{data_[pos_ + 2]} << 8) |
      data_[pos_ + 3];
  pos_ += 4;
  return true;
}

bool ByteReader::Skip(uint64_t n) {
  if (n > Remaining()) return false;
  pos_ += static_cast<size_t>(n);
  return true;
}

bool ByteReader::Bytes(uint64_t n, const uint8_t*& bytes) {
  if (n > Remaining()) return false;
  bytes = data_ + pos_;
  pos_ += static_cast<size_t>(n);
  return true;
}

bool ByteReader::Seek(size_t pos) {
  if (pos > size_) return false;
  pos_ = pos;
  return true;
}

}  // namespace picture
