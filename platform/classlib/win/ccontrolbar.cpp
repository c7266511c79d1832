// CControlBar: bar style, edges and borders, its place in the frame's layout, the delayed show and
// hide, and the idle update.
#include "platform/classlib/win/ccontrolbar.h"

#include <algorithm>

#include "platform/classlib/win/cdc.h"
#include "platform/classlib/win/cframewnd.h"
#include "platform/classlib/win/messages.h"

IMPLEMENT_DYNAMIC(CControlBar, CWnd)

BEGIN_MESSAGE_MAP(CControlBar, CWnd)
  ON_WM_CREATE()
  ON_WM_DESTROY()
  ON_WM_NCCALCSIZE()
  ON_WM_NCPAINT()
  ON_WM_WINDOWPOSCHANGING()
  ON_MESSAGE(WM_SIZEPARENT, OnSizeParent)
  ON_MESSAGE(WM_IDLEUPDATECMDUI, OnIdleUpdateCmdUI)
END_MESSAGE_MAP()

namespace {
// The gripper: a raised line 3 pixels wide, 2 pixels inside the edge, and 2 pixels before the content.
constexpr int kGripperSpace = 7;
constexpr int kGripperInset = 2;
constexpr int kGripperWidth = 3;
}  // namespace

void CControlBar::SetBarStyle(DWORD dwStyle) {
  DWORD old = m_dwStyle;
  m_dwStyle = dwStyle & CBRS_ALL;
  if (m_hWnd != nullptr && ((old ^ m_dwStyle) & (CBRS_BORDER_ANY | CBRS_BORDER_3D | CBRS_GRIPPER)) != 0) {
    SetWindowPos(nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
  }
}

void CControlBar::SetBorders(int cxLeft, int cyTop, int cxRight, int cyBottom) {
  m_cxLeftBorder = cxLeft;
  m_cyTopBorder = cyTop;
  m_cxRightBorder = cxRight;
  m_cyBottomBorder = cyBottom;
}

// ---- sizes ----------------------------------------------------------------------------------------

CRect CControlBar::CalcEdges(BOOL bHorz) const {
  const int edge = (m_dwStyle & CBRS_BORDER_3D) != 0 ? 2 : 1;
  CRect edges((m_dwStyle & CBRS_BORDER_LEFT) != 0 ? edge : 0, (m_dwStyle & CBRS_BORDER_TOP) != 0 ? edge : 0,
              (m_dwStyle & CBRS_BORDER_RIGHT) != 0 ? edge : 0, (m_dwStyle & CBRS_BORDER_BOTTOM) != 0 ? edge : 0);
  if ((m_dwStyle & CBRS_GRIPPER) != 0) {
    if (bHorz) {
      edges.left += kGripperSpace;
    } else {
      edges.top += kGripperSpace;
    }
  }
  return edges;
}

void CControlBar::CalcInsideRect(CRect& rect, BOOL bHorz) const {
  rect.DeflateRect(CalcEdges(bHorz));
  rect.DeflateRect(m_cxLeftBorder, m_cyTopBorder, m_cxRightBorder, m_cyBottomBorder);
}

CRect CControlBar::GetInsideRect() const {
  CRect window;
  GetWindowRect(window);
  CPoint origin = window.TopLeft();
  ScreenToClient(origin);  // where the window's corner lies in client coordinates
  CRect inside(0, 0, window.Width(), window.Height());
  CalcInsideRect(inside, IsHorzBar());
  inside.OffsetRect(origin);
  return inside;
}

CSize CControlBar::CalcFixedLayout(BOOL bStretch, BOOL bHorz) {
  CRect empty(0, 0, 0, 0);
  CalcInsideRect(empty, bHorz);
  CSize size(-empty.Width(), -empty.Height());
  if (bStretch) {
    if (bHorz) {
      size.cx = 32767;
    } else {
      size.cy = 32767;
    }
  }
  return size;
}

CSize CControlBar::CalcDynamicLayout(int, DWORD dwMode) {
  return CalcFixedLayout((dwMode & LM_STRETCH) != 0, (dwMode & LM_HORZ) != 0);
}

// ---- showing and hiding ---------------------------------------------------------------------------

void CControlBar::DelayShow(BOOL bShow) {
  m_nStateFlags &= ~(delayHide | delayShow);
  const bool visible = (GetStyle() & WS_VISIBLE) != 0;
  if (bShow && !visible) m_nStateFlags |= delayShow;
  if (!bShow && visible) m_nStateFlags |= delayHide;
}

BOOL CControlBar::IsVisible() const {
  if ((m_nStateFlags & delayShow) != 0) return TRUE;
  if ((m_nStateFlags & delayHide) != 0) return FALSE;
  return m_hWnd != nullptr && (GetStyle() & WS_VISIBLE) != 0;
}

BOOL CControlBar::ApplyDelayedShow() {
  const UINT pending = m_nStateFlags & (delayHide | delayShow);
  m_nStateFlags &= ~(delayHide | delayShow);
  const bool visible = (GetStyle() & WS_VISIBLE) != 0;
  if ((pending == delayShow && !visible) || (pending == delayHide && visible)) {
    SetWindowPos(nullptr, 0, 0, 0, 0,
                 SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE |
                     (pending == delayShow ? SWP_SHOWWINDOW : SWP_HIDEWINDOW));
  }
  return (GetStyle() & WS_VISIBLE) != 0;
}

// ---- the frame's layout ---------------------------------------------------------------------------

LRESULT CControlBar::OnSizeParent(WPARAM, LPARAM lParam) {
  auto* layout = reinterpret_cast<AFX_SIZEPARENTPARAMS*>(lParam);
  // Measuring sees a pending show or hide as done; only a committed layout carries it out.
  const BOOL visible = layout->hDWP != nullptr ? ApplyDelayedShow() : IsVisible();
  if (!visible || (m_dwStyle & CBRS_ALIGN_ANY) == 0) return 0;  // hidden or floating: no room taken
  const bool horz = IsHorzBar() != FALSE;
  DWORD mode = (layout->bStretch ? LM_STRETCH : 0) | (horz ? LM_HORZ | LM_HORZDOCK : LM_VERTDOCK);
  if (layout->hDWP != nullptr) mode |= LM_COMMIT;
  CRect rect(layout->rect);
  CSize size = CalcDynamicLayout(-1, mode);
  size.cx = std::max<LONG>(0, std::min<LONG>(size.cx, rect.Width()));
  size.cy = std::max<LONG>(0, std::min<LONG>(size.cy, rect.Height()));
  if (horz) {
    layout->sizeTotal.cy += size.cy;
    layout->sizeTotal.cx = std::max<LONG>(layout->sizeTotal.cx, size.cx);
    rect.right = rect.left + size.cx;
    if ((m_dwStyle & CBRS_ALIGN_BOTTOM) != 0 && (m_dwStyle & CBRS_ALIGN_TOP) == 0) {
      rect.top = rect.bottom - size.cy;
      layout->rect.bottom -= size.cy;
    } else {
      rect.bottom = rect.top + size.cy;
      layout->rect.top += size.cy;
    }
  } else {
    layout->sizeTotal.cx += size.cx;
    layout->sizeTotal.cy = std::max<LONG>(layout->sizeTotal.cy, size.cy);
    rect.bottom = rect.top + size.cy;
    if ((m_dwStyle & CBRS_ALIGN_RIGHT) != 0 && (m_dwStyle & CBRS_ALIGN_LEFT) == 0) {
      rect.left = rect.right - size.cx;
      layout->rect.right -= size.cx;
    } else {
      rect.right = rect.left + size.cx;
      layout->rect.left += size.cx;
    }
  }
  if (layout->hDWP != nullptr) AfxRepositionWindow(layout, m_hWnd, rect);
  return 0;
}

// ---- its window -----------------------------------------------------------------------------------

int CControlBar::OnCreate(LPCREATESTRUCT lpCreateStruct) {
  if (CWnd::OnCreate(lpCreateStruct) == -1) return -1;
  m_pDockSite = GetParentFrame();
  if (m_pDockSite != nullptr) m_pDockSite->AddControlBar(this);
  return 0;
}

void CControlBar::OnDestroy() {
  if (m_pDockSite != nullptr) m_pDockSite->RemoveControlBar(this);
  m_pDockSite = nullptr;
  CWnd::OnDestroy();
}

void CControlBar::PostNcDestroy() {
  if (m_bAutoDelete) delete this;
}

void CControlBar::OnNcCalcSize(BOOL bCalcValidRects, NCCALCSIZE_PARAMS* lpncsp) {
  CWnd::OnNcCalcSize(bCalcValidRects, lpncsp);
  CRect edges = CalcEdges(IsHorzBar());
  RECT& client = lpncsp->rgrc[0];
  client.left += edges.left;
  client.top += edges.top;
  client.right = std::max(client.left, client.right - edges.right);
  client.bottom = std::max(client.top, client.bottom - edges.bottom);
}

void CControlBar::OnNcPaint() { EraseNonClient(); }

void CControlBar::EraseNonClient() {
  CWindowDC dc(this);
  CRect window;
  GetWindowRect(window);
  window.OffsetRect(-window.left, -window.top);
  CRect edges = CalcEdges(IsHorzBar());
  CRect client(window);
  client.DeflateRect(edges);
  dc.ExcludeClipRect(client);
  dc.FillSolidRect(window, ::GetSysColor(COLOR_BTNFACE));
  // Each edge: a shadow line outside, with CBRS_BORDER_3D a highlight line inside it.
  const COLORREF shadow = ::GetSysColor(COLOR_BTNSHADOW);
  const COLORREF highlight = ::GetSysColor(COLOR_BTNHIGHLIGHT);
  const bool etched = (m_dwStyle & CBRS_BORDER_3D) != 0;
  auto line = [&](int x, int y, int cx, int cy, int inX, int inY) {
    dc.FillSolidRect(x, y, cx, cy, shadow);
    if (etched) dc.FillSolidRect(x + inX, y + inY, cx, cy, highlight);
  };
  if ((m_dwStyle & CBRS_BORDER_LEFT) != 0) line(0, 0, 1, window.Height(), 1, 0);
  if ((m_dwStyle & CBRS_BORDER_TOP) != 0) line(0, 0, window.Width(), 1, 0, 1);
  if ((m_dwStyle & CBRS_BORDER_RIGHT) != 0) line(window.right - 1, 0, 1, window.Height(), -1, 0);
  if ((m_dwStyle & CBRS_BORDER_BOTTOM) != 0) line(0, window.bottom - 1, window.Width(), 1, 0, -1);
  if ((m_dwStyle & CBRS_GRIPPER) != 0) {
    CRect inside(window);
    CRect plainEdges = edges;
    if (IsHorzBar()) {
      plainEdges.left -= kGripperSpace;
      inside.DeflateRect(plainEdges.left + kGripperInset, plainEdges.top + kGripperInset, 0,
                         plainEdges.bottom + kGripperInset);
      inside.right = inside.left + kGripperWidth;
    } else {
      plainEdges.top -= kGripperSpace;
      inside.DeflateRect(plainEdges.left + kGripperInset, plainEdges.top + kGripperInset,
                         plainEdges.right + kGripperInset, 0);
      inside.bottom = inside.top + kGripperWidth;
    }
    dc.Draw3dRect(inside, highlight, shadow);
  }
}

void CControlBar::OnWindowPosChanging(WINDOWPOS* lpWndPos) {
  CWnd::OnWindowPosChanging(lpWndPos);
  // The edges sit at the window's sides: a new size draws them anew.
  if ((lpWndPos->flags & SWP_NOSIZE) == 0 && (m_dwStyle & (CBRS_BORDER_ANY | CBRS_GRIPPER)) != 0) {
    lpWndPos->flags |= SWP_FRAMECHANGED;
  }
}

// ---- the idle turn --------------------------------------------------------------------------------

LRESULT CControlBar::OnIdleUpdateCmdUI(WPARAM wParam, LPARAM) {
  if (!ApplyDelayedShow()) return 0;
  if (m_pDockSite != nullptr && !m_pDockSite->IsWindowVisible()) return 0;
  CWnd* pTarget = GetOwner();
  if (pTarget != nullptr) OnUpdateCmdUI(pTarget, static_cast<BOOL>(wParam));
  return 0;
}
