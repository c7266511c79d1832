#include "ui/draw/gdi_pixels.h"

#include <cstring>

namespace draw {
namespace {

BITMAPINFO TopDown32(int width, int height) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  return info;
}

}  // namespace

MemoryDc::~MemoryDc() {
  if (!dc_) return;
  if (oldBitmap_) SelectObject(dc_, oldBitmap_);
  DeleteDC(dc_);
}

bool MemoryDc::Select(HBITMAP bitmap) {
  if (!dc_ || !bitmap) return false;
  HGDIOBJ old = SelectObject(dc_, bitmap);
  if (!old || old == HGDI_ERROR) return false;
  if (!oldBitmap_) oldBitmap_ = old;
  return true;
}

HBITMAP CreateSection32(int width, int height, uint32_t** bits) {
  *bits = nullptr;
  if (!PixelBuffer::Fits(width, height)) return nullptr;
  BITMAPINFO info = TopDown32(width, height);
  void* raw = nullptr;
  HBITMAP section = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &raw, nullptr, 0);
  if (section && !raw) {
    DeleteObject(section);
    return nullptr;
  }
  *bits = static_cast<uint32_t*>(raw);
  return section;
}

HBITMAP CreateSectionFrom(const PixelBuffer& pixels) {
  uint32_t* bits = nullptr;
  HBITMAP section = CreateSection32(pixels.Width(), pixels.Height(), &bits);
  if (section) std::memcpy(bits, pixels.Data(), pixels.Pixels().size() * sizeof(uint32_t));
  return section;
}

PixelBuffer ReadBitmap(HBITMAP bitmap) {
  BITMAP info{};
  if (!bitmap || GetObjectW(bitmap, sizeof(info), &info) == 0) return {};
  if (!PixelBuffer::Fits(info.bmWidth, info.bmHeight)) return {};
  PixelBuffer pixels(info.bmWidth, info.bmHeight);
  BITMAPINFO request = TopDown32(info.bmWidth, info.bmHeight);
  HDC screen = GetDC(nullptr);
  int rows = GetDIBits(screen, bitmap, 0, info.bmHeight, pixels.Data(), &request, DIB_RGB_COLORS);
  ReleaseDC(nullptr, screen);
  if (rows != info.bmHeight) return {};
  return pixels;
}

PixelBuffer ReadDc(HDC dc, int x, int y, int width, int height) {
  uint32_t* bits = nullptr;
  GdiObject section(CreateSection32(width, height, &bits));
  MemoryDc memory(dc);
  if (!dc || !section || !memory.Select(section.Bitmap())) return {};
  if (!BitBlt(memory.Get(), 0, 0, width, height, dc, x, y, SRCCOPY)) return {};
  GdiFlush();
  PixelBuffer pixels(width, height);
  std::memcpy(pixels.Data(), bits, pixels.Pixels().size() * sizeof(uint32_t));
  return pixels;
}

bool WriteDc(HDC dc, int x, int y, const PixelBuffer& pixels) {
  GdiObject section(CreateSectionFrom(pixels));
  MemoryDc memory(dc);
  if (!dc || !section || !memory.Select(section.Bitmap())) return false;
  return BitBlt(dc, x, y, pixels.Width(), pixels.Height(), memory.Get(), 0, 0, SRCCOPY) != FALSE;
}

bool StretchBitmapInto(HDC dc, int x, int y, int width, int height, HBITMAP bitmap) {
  BITMAP info{};
  if (!bitmap || GetObjectW(bitmap, sizeof(info), &info) == 0) return false;
  MemoryDc memory(dc);
  if (!memory.Select(bitmap)) return false;
  int oldMode = SetStretchBltMode(dc, COLORONCOLOR);
  BOOL done = StretchBlt(dc, x, y, width, height, memory.Get(), 0, 0, info.bmWidth, info.bmHeight, SRCCOPY);
  SetStretchBltMode(dc, oldMode);
  return done != FALSE;
}

}  // namespace draw
