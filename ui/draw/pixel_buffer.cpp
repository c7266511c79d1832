#include "ui/draw/pixel_buffer.h"

#include <algorithm>

namespace draw {

PixelBuffer::PixelBuffer(int width, int height, uint32_t fill) {
  if (!Fits(width, height)) return;
  width_ = width;
  height_ = height;
  pixels_.assign(static_cast<size_t>(width) * height, fill);
}

void PixelBuffer::Fill(uint32_t pixel) { std::fill(pixels_.begin(), pixels_.end(), pixel); }

}  // namespace draw
