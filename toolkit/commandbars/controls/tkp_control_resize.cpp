// Customize mode: a field's side edge dragged to a new width, shown as an inverted frame on the screen
// while the button is down.
#include <algorithm>
#include <cstdlib>

#include "toolkit/commandbars/bars/tkp_command_bar.h"
#include "toolkit/commandbars/frame/tkp_command_bars.h"
#include "toolkit/commandbars/controls/tkp_control.h"
#include "toolkit/common/resource_manager.h"
#include "res/toolkit_resource.h"

namespace {

constexpr int kEdge = 2;  // how near a side edge a press must be, and the frame's thickness

// Inverts a frame kEdge pixels thick around rc (screen coordinates); drawing it twice erases it.
void InvertFrame(HDC dc, const CRect& rc) {
  ::PatBlt(dc, rc.left, rc.top, rc.Width(), kEdge, DSTINVERT);
  ::PatBlt(dc, rc.left, rc.bottom - kEdge, rc.Width(), kEdge, DSTINVERT);
  ::PatBlt(dc, rc.left, rc.top + kEdge, kEdge, rc.Height() - 2 * kEdge, DSTINVERT);
  ::PatBlt(dc, rc.right - kEdge, rc.top + kEdge, kEdge, rc.Height() - 2 * kEdge, DSTINVERT);
}

}  // namespace

BOOL CTKPControl::DropOnPopupBarsOnly(CTKPCommandBar* pBar, int& nEffect) {
  if (pBar != nullptr && pBar->GetType() == tkpBarTypePopup) return TRUE;
  nEffect = 0;  // no drop
  return FALSE;
}

BOOL CTKPControl::IsCustomizeResizeEdge(CPoint point) const {
  const CRect& rc = m_rcControl;
  if (point.y < rc.top || point.y >= rc.bottom) return FALSE;
  return std::abs(point.x - rc.left) <= kEdge || std::abs(point.x - rc.right) <= kEdge;
}

BOOL CTKPControl::CustomizeStartResize(CPoint point) {
  CTKPCommandBar* bar = m_pParent;
  if (bar == nullptr || bar->GetSafeHwnd() == nullptr || !IsCustomizeResizeEdge(point)) return FALSE;
  const bool leftEdge = std::abs(point.x - m_rcControl.left) <= kEdge;
  CTKPCommandBars* bars = bar->GetCommandBars();
  if (bars != nullptr) bars->SetDragControl(nullptr);
  bar->Invalidate(FALSE);
  bar->UpdateWindow();

  bar->SetCapture();
  if (HCURSOR cursor = TKPResourceManager()->LoadCursor(IDC_TK_CUSTOMIZE_RESIZE)) ::SetCursor(cursor);
  HWND desktop = ::GetDesktopWindow();
  ::LockWindowUpdate(desktop);
  HDC dc = ::GetDCEx(desktop, nullptr, DCX_WINDOW | DCX_CACHE | DCX_LOCKWINDOWUPDATE);
  CRect start = m_rcControl;
  bar->ClientToScreen(start);
  CPoint anchor = point;
  bar->ClientToScreen(anchor);
  const int minWidth = GetCustomizeMinWidth();
  CRect frame = start;
  if (dc != nullptr) InvertFrame(dc, frame);

  bool commit = false;
  bool done = false;
  while (!done) {
    MSG msg;
    if (!::GetMessageW(&msg, nullptr, 0, 0)) {
      ::PostQuitMessage(static_cast<int>(msg.wParam));
      break;
    }
    if (::GetCapture() != bar->m_hWnd) break;
    switch (msg.message) {
      case WM_MOUSEMOVE: {
        // The bar has the capture: the point is in its client coordinates.
        CPoint at(static_cast<short>(LOWORD(msg.lParam)), static_cast<short>(HIWORD(msg.lParam)));
        bar->ClientToScreen(at);
        const int dx = at.x - anchor.x;
        CRect next = start;
        if (leftEdge) {
          next.left = std::min<int>(start.left + dx, start.right - minWidth);
        } else {
          next.right = std::max<int>(start.right + dx, start.left + minWidth);
        }
        if (next != frame && dc != nullptr) {
          InvertFrame(dc, frame);
          InvertFrame(dc, next);
        }
        frame = next;
        break;
      }
      case WM_LBUTTONUP:
        commit = true;
        done = true;
        break;
      case WM_KEYDOWN:
        if (msg.wParam == VK_ESCAPE) done = true;
        break;
      case WM_RBUTTONDOWN:
        done = true;
        break;
      default:
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
        break;
    }
  }
  if (dc != nullptr) {
    InvertFrame(dc, frame);
    ::ReleaseDC(desktop, dc);
  }
  if (::GetCapture() == bar->m_hWnd) ::ReleaseCapture();
  ::LockWindowUpdate(nullptr);
  if (bars != nullptr) bars->SetDragControl(this);
  if (commit && frame.Width() != start.Width()) {
    SetWidth(GetWidth() + frame.Width() - start.Width());
    bar->DelayLayout();
  }
  bar->m_dwState &= ~CTKPCommandBar::stateRedrawPending;
  if (!bar->IsRedrawLocked()) bar->Invalidate(FALSE);
  return TRUE;
}
