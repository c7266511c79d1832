// The window side of a theme: what a transparent control shows of its parent.
#include <windows.h>

#include "platform/classlib/win/cdc.h"
#include "platform/classlib/win/cwnd.h"
#include "toolkit/controls/tk_theme_manager.h"

namespace {

class BitmapSnapShot : public CTKThemeSnapShot {
 public:
  explicit BitmapSnapShot(HBITMAP hBitmap) : m_hBitmap(hBitmap) {}
  ~BitmapSnapShot() override { ::DeleteObject(m_hBitmap); }
  BitmapSnapShot(const BitmapSnapShot&) = delete;
  BitmapSnapShot& operator=(const BitmapSnapShot&) = delete;
  HBITMAP m_hBitmap;
};

}  // namespace

BOOL CTKThemeManagerStyle::TakeSnapShot(CWnd* pWnd) {
  if (pWnd == nullptr || !::IsWindow(pWnd->m_hWnd)) return FALSE;
  HWND hParent = ::GetParent(pWnd->m_hWnd);
  if (hParent == nullptr || !::IsWindow(hParent)) return FALSE;
  delete m_pSnapShot;
  m_pSnapShot = nullptr;
  RECT r{};
  ::GetWindowRect(pWnd->m_hWnd, &r);
  ::MapWindowPoints(nullptr, hParent, reinterpret_cast<POINT*>(&r), 2);
  const int cx = r.right - r.left, cy = r.bottom - r.top;
  // The parent's client area: its frame and scroll bars are not what shows through the control.
  HDC hParentDC = ::GetDC(hParent);
  HDC hMemDC = ::CreateCompatibleDC(hParentDC);
  HBITMAP hBitmap = ::CreateCompatibleBitmap(hParentDC, cx > 0 ? cx : 1, cy > 0 ? cy : 1);
  HGDIOBJ hOld = ::SelectObject(hMemDC, hBitmap);
  ::BitBlt(hMemDC, 0, 0, cx, cy, hParentDC, r.left, r.top, SRCCOPY);
  ::SelectObject(hMemDC, hOld);
  ::DeleteDC(hMemDC);
  ::ReleaseDC(hParent, hParentDC);
  if (hBitmap == nullptr) return FALSE;
  m_pSnapShot = new BitmapSnapShot(hBitmap);
  return TRUE;
}

BOOL CTKThemeManagerStyle::DrawTransparentBack(CDC* pDC, CWnd* pWnd) {
  if (pDC == nullptr || pWnd == nullptr || (::GetWindowLongW(pWnd->m_hWnd, GWL_EXSTYLE) & WS_EX_TRANSPARENT) == 0)
    return FALSE;
  if (!TakeSnapShot(pWnd)) return FALSE;
  RECT rc{};
  ::GetClientRect(pWnd->m_hWnd, &rc);
  HDC hMemDC = ::CreateCompatibleDC(pDC->GetSafeHdc());
  HGDIOBJ hOld = ::SelectObject(hMemDC, static_cast<BitmapSnapShot*>(m_pSnapShot)->m_hBitmap);
  ::BitBlt(pDC->GetSafeHdc(), 0, 0, rc.right, rc.bottom, hMemDC, 0, 0, SRCCOPY);
  ::SelectObject(hMemDC, hOld);
  ::DeleteDC(hMemDC);
  return TRUE;
}
