// A palette-based DIB that can be drawn on a device context (Windows build): the byte block of DibBuffer
// plus, on first draw, a DIB section and a memory device context that the pixels are copied through.
#pragma once

#include <windows.h>

#include "ui/draw/dib_buffer.h"

namespace draw {

class DibImage : public DibBuffer {
 public:
  DibImage() = default;
  ~DibImage() override;

  // Deletes the memory DC, the section and the block and zeroes everything.
  void Free() override;
  // Creates the section and memory DC on first use (nothing is drawn when that fails), copies every pixel
  // byte into the section and copies width × height pixels to (x, y) of the DC.
  void Draw(HDC dc, int x, int y);

 private:
  HBITMAP section_ = nullptr;
  HBITMAP oldBitmap_ = nullptr;
  HDC memoryDc_ = nullptr;
  void* sectionBits_ = nullptr;
};

}  // namespace draw
