#include "toolkit/common/splitter_tracker.h"

#include "toolkit/common/tracker_math.h"

namespace {

HBRUSH HalftoneBrush() {
  static HBRUSH brush = [] {
    const WORD rows[8] = {0x55, 0xAA, 0x55, 0xAA, 0x55, 0xAA, 0x55, 0xAA};
    HBITMAP pattern = ::CreateBitmap(8, 8, 1, 1, rows);
    HBRUSH made = ::CreatePatternBrush(pattern);
    ::DeleteObject(pattern);
    return made;
  }();
  return brush;
}

}  // namespace

void CTKPSplitterTracker::Draw(const CRect& rect) const {
  if (m_bSolid) {
    ::InvertRect(m_hDC, rect);
    return;
  }
  HGDIOBJ old = ::SelectObject(m_hDC, HalftoneBrush());
  ::PatBlt(m_hDC, rect.left, rect.top, rect.Width(), rect.Height(), PATINVERT);
  ::SelectObject(m_hDC, old);
}

void CTKPSplitterTracker::DrawAll(const CRect& rcTracker) const {
  if (!m_rcBound.IsRectEmpty()) Draw(m_rcBound);
  Draw(rcTracker);
}

BOOL CTKPSplitterTracker::Track(HWND hWnd, const CRect& rcAvail, CRect& rcTracker, CPoint point, BOOL bHoriz) {
  if (!hWnd || !::IsWindow(hWnd)) return FALSE;
  ::SetCapture(hWnd);
  HWND desktop = ::GetDesktopWindow();
  const BOOL locked = ::LockWindowUpdate(desktop);
  m_hDC = ::GetDCEx(desktop, nullptr, DCX_WINDOW | DCX_CACHE | (locked ? DCX_LOCKWINDOWUPDATE : 0));
  const int offset = bHoriz ? rcTracker.left - point.x : rcTracker.top - point.y;
  DrawAll(rcTracker);

  BOOL accepted = FALSE;
  bool tracking = true;
  while (tracking && ::GetCapture() == hWnd) {
    MSG msg;
    if (!::GetMessageW(&msg, nullptr, 0, 0)) {
      ::PostQuitMessage(static_cast<int>(msg.wParam));
      break;
    }
    switch (msg.message) {
      case WM_MOUSEMOVE: {
        POINT screen{static_cast<short>(LOWORD(msg.lParam)), static_cast<short>(HIWORD(msg.lParam))};
        ::ClientToScreen(msg.hwnd, &screen);
        CRect moved = rcTracker;
        if (MoveTracker(&moved, rcAvail, CPoint(screen.x, screen.y), offset, bHoriz != FALSE)) {
          Draw(rcTracker);  // erase
          rcTracker = moved;
          Draw(rcTracker);
        }
        break;
      }
      case WM_KEYDOWN:
        if (msg.wParam == VK_ESCAPE) tracking = false;
        break;
      case WM_LBUTTONUP:
        accepted = TRUE;
        tracking = false;
        break;
      default:
        ::DispatchMessageW(&msg);
        break;
    }
  }

  DrawAll(rcTracker);  // erase
  if (::GetCapture() == hWnd) ::ReleaseCapture();
  if (locked) ::LockWindowUpdate(nullptr);
  ::ReleaseDC(desktop, m_hDC);
  m_hDC = nullptr;
  return accepted;
}
