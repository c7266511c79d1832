#include "ui/draw/dib_image.h"

#include <cstring>

namespace draw {

DibImage::~DibImage() { DibImage::Free(); }

void DibImage::Free() {
  if (memoryDc_) {
    if (oldBitmap_) SelectObject(memoryDc_, oldBitmap_);
    DeleteDC(memoryDc_);
  }
  if (section_) DeleteObject(section_);
  section_ = nullptr;
  oldBitmap_ = nullptr;
  memoryDc_ = nullptr;
  sectionBits_ = nullptr;
  DibBuffer::Free();
}

void DibImage::Draw(HDC dc, int x, int y) {
  if (!dc || !Valid()) return;
  if (!section_) {
    // The block starts with the header and the palette: a BITMAPINFO as it is.
    const auto* info = reinterpret_cast<const BITMAPINFO*>(Buffer());
    section_ = CreateDIBSection(dc, info, DIB_RGB_COLORS, &sectionBits_, nullptr, 0);
    if (!section_) return;
    memoryDc_ = CreateCompatibleDC(dc);
    if (!memoryDc_) return;
    HGDIOBJ old = SelectObject(memoryDc_, section_);
    oldBitmap_ = (old && old != HGDI_ERROR) ? static_cast<HBITMAP>(old) : nullptr;
  }
  if (!memoryDc_ || !sectionBits_ || !oldBitmap_) return;
  GdiFlush();
  std::memcpy(sectionBits_, GetBits(), ImageSize());
  BitBlt(dc, x, y, Width(), Height(), memoryDc_, 0, 0, SRCCOPY);
}

}  // namespace draw
