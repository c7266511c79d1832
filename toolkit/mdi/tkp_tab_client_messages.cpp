// The MDI tab client's messages: the MDI client's own (create, destroy, activate), painting, its frame
// while grouping, the mouse over strips and splitters, and the splitter drag.
#include <algorithm>

#include "platform/classlib/win/cdc.h"
#include "platform/classlib/win/messages.h"
#include "toolkit/common/gdi_guards.h"
#include "toolkit/common/splitter_tracker.h"
#include "toolkit/mdi/tab_group_layout.h"
#include "toolkit/mdi/tkp_tab_client_wnd.h"
#include "toolkit/tabmanager/tab_capture_loop.h"
#include "toolkit/tabmanager/tkp_tab_appearance.h"
#include "toolkit/tabmanager/tkp_tab_paint_manager.h"

namespace {

constexpr int kBorder = 2;  // the client frame's depth, before the appearance adjusts it
constexpr UINT kCalcChildScroll = 0x003F;  // posted to an MDI client when a child's size changed

CPoint PointOf(LPARAM lParam) { return CPoint(static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))); }

}  // namespace

LRESULT CTKPTabClientWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_MDICREATE:
      return OnMDICreate();
    case WM_MDIDESTROY:
      return OnMDIDestroy(reinterpret_cast<HWND>(wParam));
    case WM_MDIACTIVATE:
      return OnMDIActivate();
    case WM_MDINEXT: {
      // Ctrl+Tab and Ctrl+F6: the client activates the next child on its own, without WM_MDIACTIVATE.
      const LRESULT result = Default();
      UpdateContents();
      return result;
    }
    case WM_PARENTNOTIFY:
      // A press inside a document may have made it the active one without the client being asked.
      if (LOWORD(wParam) == WM_LBUTTONDOWN || LOWORD(wParam) == WM_RBUTTONDOWN) {
        const LRESULT result = CWnd::WindowProc(message, wParam, lParam);
        UpdateContents();
        return result;
      }
      break;
    case WM_MDIMAXIMIZE:
    case WM_MDIRESTORE:
    case kCalcChildScroll: {
      // The client sizes a maximized child to all of its area, and tells itself of every child's new
      // size: the children go back into their groups.
      const LRESULT result = Default();
      if (!ChildrenInPlace()) RecalcLayout();
      return result;
    }
    case WM_IDLEUPDATECMDUI:
      if (m_bDirty || !ChildrenInPlace()) UpdateContents();
      break;
    case WM_SIZE: {
      const LRESULT result = CWnd::WindowProc(message, wParam, lParam);
      m_bDirty = TRUE;
      UpdateContents();
      return result;
    }
    case WM_ERASEBKGND:
      return TRUE;
    case WM_PAINT:
      OnPaint();
      return 0;
    case WM_NCCALCSIZE:
      if (m_bGrouping) return OnNcCalcSize(wParam, lParam);
      break;
    case WM_NCPAINT:
      if (m_bGrouping) {
        OnNcPaint();
        return 0;
      }
      break;
    case WM_NCACTIVATE:
      if (m_bGrouping) return TRUE;
      break;
    case WM_SYSCOLORCHANGE:
      m_pPaintManager->RefreshMetrics();
      Refresh(TRUE);
      break;
    case WM_MOUSEMOVE:
    case WM_MOUSELEAVE: {
      const CPoint pt = message == WM_MOUSEMOVE ? PointOf(lParam) : CPoint(-1, -1);
      for (CTKPTabClientGroup* pGroup : m_arrGroups) pGroup->PerformMouseMove(m_hWnd, pt);
      return 0;
    }
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      OnLButtonDown(PointOf(lParam));
      return 0;
    case WM_SETCURSOR:
      if (LOWORD(lParam) == HTCLIENT && OnSetCursor()) return TRUE;
      break;
    default:
      break;
  }
  return CWnd::WindowProc(message, wParam, lParam);
}

LRESULT CTKPTabClientWnd::OnMDICreate() {
  const LRESULT result = Default();
  auto hChild = reinterpret_cast<HWND>(result);
  if (m_bGrouping && hChild != nullptr) {
    StripChildFrame(hChild);
    ::SetWindowPos(hChild, nullptr, 0, 0, 0, 0, SWP_NOZORDER | SWP_NOACTIVATE);  // its group places it
  }
  UpdateContents();
  return result;
}

LRESULT CTKPTabClientWnd::OnMDIDestroy(HWND hWndChild) {
  int nGroup = -1;
  CTKPTabManagerItem* pItem = FindItem(hWndChild, &nGroup);
  // The closed tab's neighbour comes forward, unless every document is closing.
  if (!m_bClosing && pItem != nullptr) {
    CTKPTabClientGroup* pGroup = m_arrGroups[static_cast<size_t>(nGroup)];
    const int index = pItem->GetIndex();
    CTKPTabManagerItem* pNext = pGroup->GetItem(index + 1 < pGroup->GetItemCount() ? index + 1 : index - 1);
    if (pNext != nullptr) ::BringWindowToTop(reinterpret_cast<HWND>(pNext->GetData()));
  }
  const LRESULT result = Default();
  UpdateContents();
  return result;
}

LRESULT CTKPTabClientWnd::OnMDIActivate() {
  LRESULT result;
  // While every document closes, the activations in between are not worth a repaint each.
  if (!m_bGrouping && !m_bClosing) {
    SendMessage(WM_SETREDRAW, FALSE);
    result = Default();
    SendMessage(WM_SETREDRAW, TRUE);
    ::RedrawWindow(m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
  } else {
    result = Default();
  }
  UpdateContents();
  return result;
}

// ---- painting ---------------------------------------------------------------------------------------

void CTKPTabClientWnd::OnPaint() {
  PAINTSTRUCT ps;
  HDC hDC = ::BeginPaint(m_hWnd, &ps);
  CRect rc;
  GetClientRect(rc);
  {
    CTKPBufferDC dc(hDC, rc);
    if (GetItemCount() == 0) {
      dc.FillSolidRect(rc, ::GetSysColor(COLOR_APPWORKSPACE));
    } else if (m_bGrouping) {
      for (int i = GetGroupCount() - 1; i >= 0; --i) {
        CTKPTabClientGroup* pGroup = m_arrGroups[static_cast<size_t>(i)];
        m_pPaintManager->DrawTabControl(pGroup, &dc, pGroup->m_rcGroup);
        if (!pGroup->m_rcSplitter.IsRectEmpty()) DrawSplitter(&dc, pGroup->m_rcSplitter);
      }
    } else {
      DrawSingleWorkspace(&dc, rc);
    }
  }
  ::EndPaint(m_hWnd, &ps);
}

void CTKPTabClientWnd::DrawSingleWorkspace(CDC* pDC, CRect rc) {
  m_pPaintManager->DrawTabControl(m_arrGroups.front(), pDC, rc);
}

// A splitter is a part of the client frame: the bar between stacked groups is drawn as a bottom edge,
// the one between groups side by side as a right edge.
void CTKPTabClientWnd::DrawSplitter(CDC* pDC, const CRect& rc) const {
  CRect bar = rc;
  m_pPaintManager->GetAppearanceObject()->DrawEdge(pDC, bar, m_bHorizontal ? 3 : 2);
}

// The border is the client frame's: 2 pixels, less or more as the appearance's frame wants.
LRESULT CTKPTabClientWnd::OnNcCalcSize(WPARAM wParam, LPARAM lParam) {
  RECT* pRect = wParam ? &reinterpret_cast<NCCALCSIZE_PARAMS*>(lParam)->rgrc[0] : reinterpret_cast<RECT*>(lParam);
  CRect rc(*pRect);
  rc.DeflateRect(kBorder, kBorder);
  m_pPaintManager->GetAppearanceObject()->DrawEdge(nullptr, rc, 1);
  if (rc.right < rc.left) rc.right = rc.left;
  if (rc.bottom < rc.top) rc.bottom = rc.top;
  *pRect = rc;
  return 0;
}

void CTKPTabClientWnd::OnNcPaint() {
  CWindowDC dc(this);
  CRect rc;
  GetWindowRect(rc);
  rc.OffsetRect(-rc.left, -rc.top);
  m_pPaintManager->GetAppearanceObject()->DrawEdge(&dc, rc, 0);
}

// ---- mouse ------------------------------------------------------------------------------------------

int CTKPTabClientWnd::SplitterAt(CPoint pt) const {
  for (int i = 0; i + 1 < GetGroupCount(); ++i) {
    if (m_arrGroups[static_cast<size_t>(i)]->m_rcSplitter.PtInRect(pt)) return i;
  }
  return -1;
}

BOOL CTKPTabClientWnd::OnSetCursor() {
  CPoint pt;
  ::GetCursorPos(pt);
  ScreenToClient(pt);
  if (SplitterAt(pt) < 0) return FALSE;
  ::SetCursor(m_bHorizontal ? m_hCursorHorz : m_hCursorVert);
  return TRUE;
}

void CTKPTabClientWnd::OnLButtonDown(CPoint pt) {
  const int nSplitter = SplitterAt(pt);
  if (nSplitter >= 0) {
    TrackSplitter(nSplitter, pt);
    return;
  }
  for (int i = 0; i < GetGroupCount(); ++i) {
    CTKPTabClientGroup* pGroup = m_arrGroups[static_cast<size_t>(i)];
    if (!pGroup->StripHolds(pt)) continue;
    if (i != m_nActiveGroup && pGroup->GetSelectedItem() != nullptr) {
      ActivateChild(reinterpret_cast<HWND>(pGroup->GetSelectedItem()->GetData()));
    }
    pGroup->BeginGesture();
    pGroup->PerformClick(m_hWnd, pt);
    pGroup->EndGesture();
    m_bDirty = TRUE;  // the next idle update catches what the click changed
    if (pGroup->GetItemCount() == 0) UpdateContents();  // its documents closed during the press
    return;
  }
}

void CTKPTabClientWnd::TrackSplitter(int nGroup, CPoint pt) {
  CTKPTabClientGroup* pFirst = m_arrGroups[static_cast<size_t>(nGroup)];
  CTKPTabClientGroup* pSecond = m_arrGroups[static_cast<size_t>(nGroup) + 1];
  const bool horizontal = m_bHorizontal != FALSE;
  StoreSizes(m_bHorizontal);
  const CRect rcFirst = pFirst->m_rcGroup;
  const CRect rcSecond = pSecond->m_rcGroup;
  CRect rcBounds;
  rcBounds.UnionRect(rcFirst, rcSecond);
  // Groups closed or made while the splitter moves end the drag: its two groups may be others by then.
  const std::vector<CTKPTabClientGroup*> groups = m_arrGroups;
  auto share = [&](CPoint at) {
    if (m_arrGroups != groups) return;
    std::vector<double> sizes = GroupSizes();
    tkmdi::ShareSplitter(sizes, nGroup, rcFirst, rcSecond, at, m_nSplitterWidth, horizontal);
    SetGroupSizes(sizes);
    RecalcLayout();
    UpdateWindow();
  };
  if (m_bOutlineTracking) {
    CRect rcTracker = pFirst->m_rcSplitter;
    CRect rcAvail = rcBounds;
    ClientToScreen(rcTracker);
    ClientToScreen(rcAvail);
    CPoint screen = pt;
    ClientToScreen(screen);
    CTKPSplitterTracker tracker;
    if (!tracker.Track(m_hWnd, rcAvail, rcTracker, screen, !horizontal)) return;
    ScreenToClient(rcTracker);
    share(rcTracker.CenterPoint());
    return;
  }
  CTKPTabCaptureLoop loop(m_hWnd);
  CPoint last = pt;
  for (;;) {
    const CTKPTabCaptureLoop::Event event = loop.Next(pt);
    if (event == CTKPTabCaptureLoop::kEnded || event == CTKPTabCaptureLoop::kReleased || m_arrGroups != groups) break;
    if (event != CTKPTabCaptureLoop::kMoved) continue;
    pt.x = horizontal ? last.x : std::clamp(pt.x, rcBounds.left, rcBounds.right);
    pt.y = horizontal ? std::clamp(pt.y, rcBounds.top, rcBounds.bottom) : last.y;
    if (pt == last) continue;
    last = pt;
    share(pt);
  }
}
