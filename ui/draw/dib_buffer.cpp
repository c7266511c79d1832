#include "ui/draw/dib_buffer.h"

#include <algorithm>
#include <cstring>

#include "ui/draw/colour_ops.h"

namespace draw {
namespace {

void PutU16(uint8_t* p, uint16_t v) {
  p[0] = static_cast<uint8_t>(v);
  p[1] = static_cast<uint8_t>(v >> 8);
}

void PutU32(uint8_t* p, uint32_t v) {
  PutU16(p, static_cast<uint16_t>(v));
  PutU16(p + 2, static_cast<uint16_t>(v >> 16));
}

int PaletteCountOf(int bitCount) {
  switch (bitCount) {
    case 1: return 2;
    case 4: return 16;
    case 8: return 256;
    default: return 0;
  }
}

bool KnownBitCount(int bitCount) {
  return bitCount == 1 || bitCount == 4 || bitCount == 8 || bitCount == 16 || bitCount == 24 || bitCount == 32;
}

}  // namespace

uint8_t* DibBuffer::Create(int width, int height, int bitCount) {
  Free();
  if (!PixelBuffer::Fits(width, height) || !KnownBitCount(bitCount)) return nullptr;
  width_ = width;
  height_ = height;
  bitCount_ = bitCount;
  paletteCount_ = PaletteCountOf(bitCount);
  stride_ = ((bitCount * width + 31) / 32) * 4;
  buffer_.assign(kHeaderSize + static_cast<size_t>(paletteCount_) * 4 + ImageSize(), 0);
  uint8_t* h = buffer_.data();
  PutU32(h, kHeaderSize);
  PutU32(h + 4, static_cast<uint32_t>(width));
  PutU32(h + 8, static_cast<uint32_t>(height));  // positive: rows stored bottom-up
  PutU16(h + 12, 1);
  PutU16(h + 14, static_cast<uint16_t>(bitCount));
  PutU32(h + 16, 0);  // uncompressed
  PutU32(h + 20, static_cast<uint32_t>(ImageSize()));
  return h;  // resolutions and colour counts stay 0
}

void DibBuffer::Free() {
  std::vector<uint8_t>().swap(buffer_);
  width_ = height_ = bitCount_ = stride_ = paletteCount_ = 0;
}

uint8_t* DibBuffer::GetBits() {
  return buffer_.empty() ? nullptr : buffer_.data() + kHeaderSize + paletteCount_ * 4;
}

const uint8_t* DibBuffer::GetBits() const { return const_cast<DibBuffer*>(this)->GetBits(); }

void DibBuffer::SetPaletteEntry(int index, uint8_t red, uint8_t green, uint8_t blue) {
  int entry = index & 0xFF;
  if (entry >= paletteCount_) return;
  uint8_t* p = buffer_.data() + kHeaderSize + entry * 4;
  p[0] = blue;
  p[1] = green;
  p[2] = red;
  p[3] = 0;
}

void DibBuffer::BlendPalette(Colour colour, int percent) {
  int p = std::clamp(percent, 0, 100);
  const uint8_t target[3] = {BlueOf(colour), GreenOf(colour), RedOf(colour)};
  for (int i = 0; i < paletteCount_; ++i) {
    uint8_t* entry = buffer_.data() + kHeaderSize + i * 4;
    for (int c = 0; c < 3; ++c) entry[c] = static_cast<uint8_t>((entry[c] * (100 - p) + target[c] * p) / 100);
  }
}

void DibBuffer::Clear(uint8_t value) {
  if (uint8_t* bits = GetBits()) std::memset(bits, value, ImageSize());
}

void DibBuffer::SetPixelIndex(int x, int y, uint8_t index) {
  if (x < 0 || y < 0 || x >= width_ || y >= height_ || paletteCount_ == 0) return;
  uint8_t* row = GetBits() + static_cast<size_t>(y) * stride_;
  if (bitCount_ == 8) {
    row[x] = index;
  } else {
    // 1 and 4 bits: the leftmost pixel in the high bits of its byte.
    int perByte = 8 / bitCount_;
    int shift = (perByte - 1 - x % perByte) * bitCount_;
    uint8_t mask = static_cast<uint8_t>(((1 << bitCount_) - 1) << shift);
    uint8_t& b = row[x / perByte];
    b = static_cast<uint8_t>((b & ~mask) | ((index << shift) & mask));
  }
}

Colour DibBuffer::PaletteColour(int index) const {
  if (index < 0 || index >= paletteCount_) return 0;
  const uint8_t* p = buffer_.data() + kHeaderSize + index * 4;
  return MakeColour(p[2], p[1], p[0]);
}

uint8_t DibBuffer::PixelIndex(int x, int y) const {
  if (x < 0 || y < 0 || x >= width_ || y >= height_ || bitCount_ != 8) return 0;
  return GetBits()[static_cast<size_t>(y) * stride_ + x];
}

PixelBuffer DibBuffer::ToPixels() const {
  if (bitCount_ != 8) return {};
  PixelBuffer out(width_, height_);
  uint32_t palette[256];
  for (int i = 0; i < 256; ++i) palette[i] = ColourToPixel(PaletteColour(i));
  for (int y = 0; y < height_; ++y) {
    const uint8_t* row = GetBits() + static_cast<size_t>(height_ - 1 - y) * stride_;
    for (int x = 0; x < width_; ++x) out.At(x, y) = palette[row[x]];
  }
  return out;
}

}  // namespace draw
