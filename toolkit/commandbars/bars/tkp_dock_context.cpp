#include "toolkit/commandbars/bars/tkp_dock_context.h"

#include <algorithm>

#include "platform/classlib/win/cwinapp.h"
#include "platform/classlib/win/layout.h"
#include "toolkit/commandbars/bars/dock_drag_geometry.h"
#include "toolkit/commandbars/frame/tkp_command_bars.h"
#include "toolkit/commandbars/bars/tkp_dock_bar.h"
#include "toolkit/commandbars/bars/tkp_paint_pump.h"
#include "toolkit/commandbars/bars/tkp_tool_bar.h"
#include "toolkit/common/draw_helpers.h"
#include "toolkit/common/tkp_mouse_manager.h"

namespace {

// The docking flag of each dock bar position.
constexpr DWORD kSideFlags[4] = {TKP_DOCK_TOP, TKP_DOCK_BOTTOM, TKP_DOCK_LEFT, TKP_DOCK_RIGHT};
constexpr DWORD kFloatLayout = LM_COMMIT | LM_MRUWIDTH | LM_HORZ;

void MoveWindowTo(CTKPToolBar* pBar, const CRect& rc) {
  pBar->SetWindowPos(nullptr, rc.left, rc.top, rc.Width(), rc.Height(), SWP_NOZORDER | SWP_NOACTIVATE);
}

void SetModified(CTKPToolBar* pBar) {
  if (CTKPCommandBars* bars = pBar->GetCommandBars()) bars->GetOptions()->bDirtyState = TRUE;
}

}  // namespace

CTKPDockContext::CTKPDockContext(CTKPToolBar* pBar) : m_pBar(pBar) {}

void CTKPDockContext::StartDrag(CPoint ptScreen) {
  m_nTrackMode = 1;
  const CRect savedDock = m_rectMRUDock;
  const int savedDockID = m_nMRUDockID;
  const bool wasFloating = m_pBar->GetPosition() == tkpBarFloating;
  m_ptLast = ptScreen;
  m_pBar->GetWindowRect(m_rectDragHorz);
  m_rectFrameDrag = m_rectDragHorz;
  m_rectFrameDrag = tkpdock::ContainPoint(m_rectFrameDrag, ptScreen);
  ::SetCursor(::LoadCursorW(nullptr, IDC_SIZEALL));
  CTKPMouseManager* mouse = TKPMouseManager();
  ++mouse->m_nLockButtonUp;
  Track();
  --mouse->m_nLockButtonUp;
  if (m_pBar->GetPosition() == tkpBarFloating) {
    m_ptMRUFloatPos = m_rectFrameDrag.TopLeft();
    // Dragged off a dock bar: the place it had there is where a double click takes it back.
    if (!wasFloating) {
      m_rectMRUDock = savedDock;
      m_nMRUDockID = savedDockID;
    }
  }
}

void CTKPDockContext::StartResize(int nHitTest, CPoint ptScreen) {
  m_nTrackMode = nHitTest;
  m_ptLast = ptScreen;
  m_pBar->GetWindowRect(m_rectFrameDrag);
  Track();
  if (m_pBar->GetPosition() == tkpBarFloating) {
    CRect window;
    m_pBar->GetWindowRect(window);
    m_ptMRUFloatPos = window.TopLeft();
    m_pBar->SetMRUWidth(window.Width());
  }
}

void CTKPDockContext::Track() {
  if (::GetCapture() != nullptr || m_pBar->m_hWnd == nullptr) return;
  m_pBar->SetCapture();
  CTKPCommandBars* bars = m_pBar->GetCommandBars();
  while (::GetCapture() == m_pBar->m_hWnd) {
    MSG msg;
    if (!TKPDispatchPendingPaints()) break;
    if (!::GetMessageW(&msg, nullptr, 0, 0)) {
      AfxPostQuitMessage(static_cast<int>(msg.wParam));
      break;
    }
    if (msg.message == WM_LBUTTONUP) break;
    if (msg.message == WM_MOUSEMOVE) {
      POINT pt{static_cast<short>(LOWORD(msg.lParam)), static_cast<short>(HIWORD(msg.lParam))};
      ::ClientToScreen(msg.hwnd, &pt);
      if (pt.x != m_ptLast.x || pt.y != m_ptLast.y) {
        if (m_nTrackMode == 1) {
          Move(CPoint(pt.x, pt.y));
        } else {
          Resize(CPoint(pt.x, pt.y));
        }
      }
    } else if (msg.message == WM_KEYDOWN) {
      if (msg.wParam == VK_ESCAPE) break;
    } else {
      ::TranslateMessage(&msg);
      ::DispatchMessageW(&msg);
    }
    if (bars != nullptr) bars->IdleRecalcLayout();
  }
  if (::GetCapture() == m_pBar->m_hWnd) ::ReleaseCapture();
  SetModified(m_pBar);
}

void CTKPDockContext::Move(CPoint pt) {
  const CPoint delta(pt.x - m_ptLast.x, pt.y - m_ptLast.y);
  m_rectDragHorz.OffsetRect(delta);
  m_rectFrameDrag.OffsetRect(delta);
  m_ptLast = pt;
  CTKPCommandBars* bars = m_pBar->GetCommandBars();
  if (bars == nullptr) return;
  CTKPDockBar* current = m_pBar->GetDockBar();
  CTKPDockBar* dock = bars->CanDock(pt, current);
  const DWORD flags = m_pBar->GetFlags();
  if (dock != nullptr && (flags & kSideFlags[dock->GetPosition()]) != 0) {
    const bool same = dock == current;
    if (!bars->DockCommandBar(m_pBar, m_rectDragHorz, dock) || same) return;
    // Into another dock bar: the frame makes room now, and the drag goes on from the bar's new place.
    bars->RecalcFrameLayout();
    m_pBar->GetWindowRect(m_rectDragHorz);
    m_rectDragHorz = tkpdock::ContainPoint(m_rectDragHorz, pt);
    return;
  }
  if ((flags & TKP_DOCK_FLOAT) == 0) return;
  if (m_pBar->GetPosition() != tkpBarFloating) {
    FloatAt(pt);
    return;
  }
  MoveWindowTo(m_pBar, m_rectFrameDrag);
}

void CTKPDockContext::FloatAt(CPoint pt) {
  CTKPCommandBars* bars = m_pBar->GetCommandBars();
  if (bars == nullptr || !bars->FloatCommandBar(m_pBar)) return;
  const CSize size = m_pBar->CalcDynamicLayout(0, kFloatLayout);
  m_rectFrameDrag = CRect(m_rectFrameDrag.TopLeft(), size);
  m_rectFrameDrag = tkpdock::ContainPoint(m_rectFrameDrag, pt);
  MoveWindowTo(m_pBar, m_rectFrameDrag);
  bars->RecalcFrameLayout();
}

void CTKPDockContext::Resize(CPoint pt) {
  CRect window;
  m_pBar->GetWindowRect(window);
  const int length = tkpdock::ResizedLength(window, m_nTrackMode, CPoint(pt.x - m_ptLast.x, pt.y - m_ptLast.y));
  const DWORD mode = tkpdock::ResizesWidth(m_nTrackMode) ? LM_COMMIT | LM_HORZ : LM_COMMIT | LM_LENGTHY | LM_HORZ;
  const CSize size = m_pBar->CalcDynamicLayout(length, mode);
  m_ptLast = pt;
  if (size == window.Size()) return;
  const CRect next = tkpdock::ResizedRect(window, m_nTrackMode, size);
  CRect work = CTKPDrawHelpers::GetWorkAreaFromWindow(static_cast<HWND>(m_pBar->m_hWnd));
  CRect overlap;
  if (!overlap.IntersectRect(next, work)) return;
  m_rectFrameDrag = next;
  MoveWindowTo(m_pBar, next);
  m_pBar->Invalidate();
}

BOOL CTKPDockContext::ToggleDocking() {
  CTKPCommandBars* bars = m_pBar->GetCommandBars();
  if (bars == nullptr) return FALSE;
  const DWORD flags = m_pBar->GetFlags();
  if (m_pBar->GetPosition() != tkpBarFloating) {
    if ((flags & TKP_DOCK_FLOAT) == 0 || !bars->GetOptions()->bDblClickFloat) return FALSE;
    CPoint pt = m_ptMRUFloatPos;
    if (pt.x <= 0 && pt.y <= 0) {
      pt = m_rectMRUDock.TopLeft();
      if (CWnd* parent = m_pBar->GetParent()) parent->ClientToScreen(pt);
    }
    m_rectFrameDrag = CRect(pt, CSize(0, 0));
    FloatAt(pt);
    SetModified(m_pBar);
    return TRUE;
  }
  if ((flags & (TKP_DOCK_TOP | TKP_DOCK_BOTTOM | TKP_DOCK_LEFT | TKP_DOCK_RIGHT)) == 0) return FALSE;
  int dockID = m_nMRUDockID;
  if (dockID < 0 || dockID > 3 || (flags & kSideFlags[dockID]) == 0) {
    dockID = 0;
    while (dockID < 3 && (flags & kSideFlags[dockID]) == 0) ++dockID;
  }
  CTKPDockBar* dock = bars->GetDockBar(dockID);
  if (dock == nullptr || dock->m_hWnd == nullptr) return FALSE;
  BOOL docked = FALSE;
  if (m_rectMRUDock.IsRectEmpty()) {
    docked = bars->DockCommandBar(m_pBar, nullptr, dock);
  } else {
    CRect rect = m_rectMRUDock;
    dock->ClientToScreen(rect);
    docked = bars->DockCommandBar(m_pBar, rect, dock);
  }
  if (!docked) return FALSE;
  bars->RecalcFrameLayout();
  SetModified(m_pBar);
  return TRUE;
}
