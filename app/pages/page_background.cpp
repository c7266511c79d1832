#include "app/pages/page_background.h"

#include <windows.h>

#include "platform/classlib/resource_win32.h"
#include "platform/classlib/win/cdc.h"
#include "res/resource.h"

namespace {

// Draws the bitmap into dest (stretched when the sizes differ); false when the bitmap is missing.
bool Draw(CDC* dc, UINT id, const CRect& dest, SIZE* size = nullptr) {
  HBITMAP bitmap = static_cast<HBITMAP>(
      ::LoadImageW(AfxGetResourceHandle(), MAKEINTRESOURCEW(id), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
  if (bitmap == nullptr) return false;
  BITMAP info{};
  ::GetObjectW(bitmap, sizeof info, &info);
  if (size != nullptr) *size = SIZE{info.bmWidth, info.bmHeight};
  HDC memory = ::CreateCompatibleDC(dc->m_hDC);
  HGDIOBJ old = ::SelectObject(memory, bitmap);
  if (!dest.IsRectEmpty()) {
    ::SetStretchBltMode(dc->m_hDC, HALFTONE);
    ::StretchBlt(dc->m_hDC, dest.left, dest.top, dest.Width(), dest.Height(), memory, 0, 0, info.bmWidth,
                 info.bmHeight, SRCCOPY);
  }
  ::SelectObject(memory, old);
  ::DeleteDC(memory);
  ::DeleteObject(bitmap);
  return true;
}

SIZE SizeOf(UINT id) {
  SIZE size{0, 0};
  HBITMAP bitmap = static_cast<HBITMAP>(
      ::LoadImageW(AfxGetResourceHandle(), MAKEINTRESOURCEW(id), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
  if (bitmap == nullptr) return size;
  BITMAP info{};
  ::GetObjectW(bitmap, sizeof info, &info);
  ::DeleteObject(bitmap);
  return SIZE{info.bmWidth, info.bmHeight};
}

}  // namespace

void PaintPageBackground(CDC* pDC, const CRect& client, unsigned headerLeftBitmap) {
  if (!Draw(pDC, IDB_PAGE_BACKGROUND, client)) pDC->FillSolidRect(client, ::GetSysColor(COLOR_WINDOW));
  const SIZE left = SizeOf(headerLeftBitmap);
  const SIZE right = SizeOf(IDB_HEADER_RIGHT);
  const int height = left.cy > 0 ? left.cy : right.cy;
  if (height <= 0) return;
  Draw(pDC, IDB_HEADER_FILL, CRect(left.cx, 0, client.right - right.cx, height));
  Draw(pDC, headerLeftBitmap, CRect(0, 0, left.cx, left.cy));
  Draw(pDC, IDB_HEADER_RIGHT, CRect(client.right - right.cx, 0, client.right, right.cy));
}
