// Moving pixel buffers in and out of bitmaps and device contexts (Windows build), through 32-bit top-down
// DIB sections, and the small owners of the GDI objects that takes.
#pragma once

#include <windows.h>

#include "ui/draw/pixel_buffer.h"

namespace draw {

// A memory DC compatible with a DC (the screen for null) that puts back what it selected and is deleted
// with its owner.
class MemoryDc {
 public:
  explicit MemoryDc(HDC like = nullptr) : dc_(CreateCompatibleDC(like)) {}
  ~MemoryDc();
  MemoryDc(const MemoryDc&) = delete;
  MemoryDc& operator=(const MemoryDc&) = delete;
  HDC Get() const { return dc_; }
  explicit operator bool() const { return dc_ != nullptr; }
  // Selects the bitmap (the first selection is undone on destruction); false when it cannot.
  bool Select(HBITMAP bitmap);

 private:
  HDC dc_;
  HGDIOBJ oldBitmap_ = nullptr;
};

// Deletes a GDI object with its owner.
class GdiObject {
 public:
  explicit GdiObject(HGDIOBJ object = nullptr) : object_(object) {}
  ~GdiObject() {
    if (object_) DeleteObject(object_);
  }
  GdiObject(const GdiObject&) = delete;
  GdiObject& operator=(const GdiObject&) = delete;
  HGDIOBJ Get() const { return object_; }
  HBITMAP Bitmap() const { return static_cast<HBITMAP>(object_); }
  HGDIOBJ Release() {
    HGDIOBJ o = object_;
    object_ = nullptr;
    return o;
  }
  explicit operator bool() const { return object_ != nullptr; }

 private:
  HGDIOBJ object_;
};

// A new 32-bit top-down DIB section of width × height (bits: its pixels); null on failure.
HBITMAP CreateSection32(int width, int height, uint32_t** bits);
// A new 32-bit DIB section holding the pixels; null on failure or for an empty buffer.
HBITMAP CreateSectionFrom(const PixelBuffer& pixels);
// The whole bitmap as 32-bit pixels (alpha as stored; 0 for bitmaps of fewer bits). Empty on failure. The
// bitmap must not be selected into a DC.
PixelBuffer ReadBitmap(HBITMAP bitmap);
// The pixels of (x, y, width, height) of a DC. Empty on failure.
PixelBuffer ReadDc(HDC dc, int x, int y, int width, int height);
// Copies the pixels to (x, y) of a DC; false on failure.
bool WriteDc(HDC dc, int x, int y, const PixelBuffer& pixels);
// Stretches the whole bitmap into (x, y, width, height) of a DC (plain copy stretch).
bool StretchBitmapInto(HDC dc, int x, int y, int width, int height, HBITMAP bitmap);

}  // namespace draw
