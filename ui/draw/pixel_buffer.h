// A 32-bit image in memory: rows from the top, each pixel a 32-bit DIB pixel as a uint32
// (0xAARRGGBB: blue in the low byte, then green, red, alpha). What every pixel routine works on, and what
// the Windows side copies in and out of bitmaps and device contexts.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace draw {

class PixelBuffer {
 public:
  PixelBuffer() = default;
  // Sizes that do not Fit give an empty buffer.
  PixelBuffer(int width, int height, uint32_t fill = 0);

  int Width() const { return width_; }
  int Height() const { return height_; }
  bool Empty() const { return pixels_.empty(); }
  bool Contains(int x, int y) const { return x >= 0 && y >= 0 && x < width_ && y < height_; }

  // Unchecked access (callers clip first).
  uint32_t& At(int x, int y) { return pixels_[static_cast<size_t>(y) * width_ + x]; }
  uint32_t At(int x, int y) const { return pixels_[static_cast<size_t>(y) * width_ + x]; }
  // Checked: 0 outside.
  uint32_t Get(int x, int y) const { return Contains(x, y) ? At(x, y) : 0; }
  // Checked: ignored outside.
  void Set(int x, int y, uint32_t pixel) {
    if (Contains(x, y)) At(x, y) = pixel;
  }
  void Fill(uint32_t pixel);

  uint32_t* Data() { return pixels_.data(); }
  const uint32_t* Data() const { return pixels_.data(); }
  std::vector<uint32_t>& Pixels() { return pixels_; }
  const std::vector<uint32_t>& Pixels() const { return pixels_; }

  // The largest side and area accepted (an area of 4096 × 4096: 64 MiB, well inside a 32-bit process).
  static constexpr int kMaxSide = 16384;
  static constexpr int kMaxPixels = 1 << 24;
  static bool Fits(int width, int height) {
    return width > 0 && height > 0 && width <= kMaxSide && height <= kMaxSide &&
           static_cast<long long>(width) * height <= kMaxPixels;
  }

 private:
  int width_ = 0;
  int height_ = 0;
  std::vector<uint32_t> pixels_;
};

}  // namespace draw
