#include "ui/skin/skin_bitmap.h"

#include "platform/classlib/win/cdc.h"

namespace skin {

int SkinBitmap::GetWidth() const {
  BITMAP info{};
  return m_hObject && GetBitmap(&info) ? info.bmWidth : 0;
}

int SkinBitmap::GetHeight() const {
  BITMAP info{};
  return m_hObject && GetBitmap(&info) ? info.bmHeight : 0;
}

void SkinBitmap::DrawTransparent(CDC* dc, int x, int y, COLORREF transparent) {
  const int width = GetWidth(), height = GetHeight();
  if (dc == nullptr || width <= 0 || height <= 0) return;
  HDC target = dc->m_hDC;
  HDC image = ::CreateCompatibleDC(target);
  HDC mask = ::CreateCompatibleDC(target);
  HBITMAP monochrome = ::CreateBitmap(width, height, 1, 1, nullptr);
  if (image && mask && monochrome) {
    HGDIOBJ oldImage = ::SelectObject(image, m_hObject);
    HGDIOBJ oldMask = ::SelectObject(mask, monochrome);
    const COLORREF oldBack = ::SetBkColor(target, m_backgroundColour);
    const COLORREF oldText = ::SetTextColor(target, m_textColour);
    // The transparent pixels become 1 in the mask, all others 0.
    const COLORREF oldImageBack = ::SetBkColor(image, transparent);
    ::BitBlt(mask, 0, 0, width, height, image, 0, 0, SRCCOPY);
    ::SetBkColor(image, oldImageBack);
    // XOR, AND with the mask, XOR again: where the mask is 1 the target is left as it was.
    ::BitBlt(target, x, y, width, height, image, 0, 0, SRCINVERT);
    ::BitBlt(target, x, y, width, height, mask, 0, 0, SRCAND);
    ::BitBlt(target, x, y, width, height, image, 0, 0, SRCINVERT);
    ::SetTextColor(target, oldText);
    ::SetBkColor(target, oldBack);
    ::SelectObject(mask, oldMask);
    ::SelectObject(image, oldImage);
  }
  if (monochrome) ::DeleteObject(monochrome);
  if (mask) ::DeleteDC(mask);
  if (image) ::DeleteDC(image);
}

}  // namespace skin
