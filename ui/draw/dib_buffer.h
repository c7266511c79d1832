// A palette-based device-independent bitmap in memory: one byte block holding a copy of the 40-byte
// bitmap-info header, the palette (blue, green, red, 0 per entry) and the pixel rows, bottom row first.
// The generated fill patterns are rendered into one; DibImage (Windows build) puts it on a device context.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "ui/draw/draw_types.h"
#include "ui/draw/pixel_buffer.h"

namespace draw {

class DibBuffer {
 public:
  static constexpr int kHeaderSize = 40;

  DibBuffer() = default;
  virtual ~DibBuffer() = default;
  DibBuffer(const DibBuffer&) = delete;
  DibBuffer& operator=(const DibBuffer&) = delete;

  // Frees what it holds, then sets up the header, palette count and stride and allocates the block
  // (palette and pixels left zero). Returns the block, or null for a size that does not PixelBuffer::Fits
  // or a bit count other than 1, 4, 8, 16, 24 or 32.
  uint8_t* Create(int width, int height, int bitCount);
  virtual void Free();

  // The pixel rows (block + header + palette), null without a block.
  uint8_t* GetBits();
  const uint8_t* GetBits() const;
  // Index taken as a byte; ignored when not below the palette count.
  void SetPaletteEntry(int index, uint8_t red, uint8_t green, uint8_t blue);
  // Percent capped at 100 (negative taken as 0): channel = (channel × (100 − p) + colour's × p) / 100.
  void BlendPalette(Colour colour, int percent);
  // Every pixel byte becomes the value.
  void Clear(uint8_t value);
  // Ignored outside the image or without a palette; y counts from the first stored row (the bottom on
  // screen).
  void SetPixelIndex(int x, int y, uint8_t index);

  int Width() const { return width_; }
  int Height() const { return height_; }
  int BitCount() const { return bitCount_; }
  int Stride() const { return stride_; }
  int PaletteCount() const { return paletteCount_; }
  bool Valid() const { return !buffer_.empty(); }
  const uint8_t* Buffer() const { return buffer_.empty() ? nullptr : buffer_.data(); }
  size_t BufferSize() const { return buffer_.size(); }
  size_t ImageSize() const { return static_cast<size_t>(stride_) * height_; }

  // The palette entry as a colour (0 outside the palette).
  Colour PaletteColour(int index) const;
  // The index stored at (x, y), y from the first stored row; 0 outside or without a palette.
  uint8_t PixelIndex(int x, int y) const;
  // An 8-bit image as it shows on screen: rows from the top, each pixel its palette colour in pixel order
  // (alpha 0). Empty for other bit counts.
  PixelBuffer ToPixels() const;

 private:
  std::vector<uint8_t> buffer_;
  int width_ = 0;
  int height_ = 0;
  int bitCount_ = 0;
  int stride_ = 0;
  int paletteCount_ = 0;
};

}  // namespace draw
