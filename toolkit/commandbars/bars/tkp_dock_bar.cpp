#include "toolkit/commandbars/bars/tkp_dock_bar.h"

#include <algorithm>
#include <climits>

#include "platform/classlib/win/cdc.h"
#include "toolkit/commandbars/bars/dock_row_layout.h"
#include "toolkit/commandbars/frame/tkp_command_bars.h"
#include "toolkit/commandbars/bars/tkp_dock_context.h"
#include "toolkit/commandbars/paint/tkp_paint_manager.h"
#include "toolkit/commandbars/bars/tkp_tool_bar.h"

IMPLEMENT_DYNAMIC(CTKPDockBar, CControlBar)

BEGIN_MESSAGE_MAP(CTKPDockBar, CControlBar)
  ON_MESSAGE(WM_SIZEPARENT, OnSizeParent)
  ON_WM_PAINT()
  ON_MESSAGE(WM_PRINT, OnPrint)
  ON_WM_ERASEBKGND()
  ON_WM_RBUTTONDOWN()
END_MESSAGE_MAP()

namespace {

constexpr DWORD kHideWrapMode = 0x80;

// A rectangle in horizontal form: x along the row, y across it.
CRect Swapped(const CRect& rc) { return CRect(rc.top, rc.left, rc.bottom, rc.right); }

}  // namespace

CTKPDockBar::CTKPDockBar(CTKPCommandBars* pCommandBars) : m_pCommandBars(pCommandBars) {}

BOOL CTKPDockBar::Create(CWnd* pParentWnd, DWORD dwStyle, DWORD dwBarStyle, UINT nID) {
  m_dwStyle = dwBarStyle & 0x40FFFF;
  LPCTSTR cls = AfxRegisterWndClass(0, ::LoadCursorW(nullptr, IDC_ARROW));
  return CWnd::Create(cls, nullptr, dwStyle | WS_CLIPSIBLINGS, RECT{0, 0, 0, 0}, pParentWnd, nID);
}

int CTKPDockBar::GetPosition() const {
  if ((m_dwStyle & (CBRS_ALIGN_TOP | CBRS_BORDER_BOTTOM)) != 0) return 0;
  if ((m_dwStyle & (CBRS_ALIGN_BOTTOM | CBRS_BORDER_TOP)) != 0) return 1;
  return (m_dwStyle & (CBRS_ALIGN_LEFT | CBRS_BORDER_RIGHT)) != 0 ? 2 : 3;
}

// ---- the rows ----------------------------------------------------------------------------------------

CTKPToolBar* CTKPDockBar::GetAt(int nIndex) const {
  return nIndex >= 0 && nIndex < GetCount() ? m_arrBars[static_cast<size_t>(nIndex)] : nullptr;
}

int CTKPDockBar::FindBar(const CTKPCommandBar* pBar, int nExclude) const {
  for (int i = 0; pBar != nullptr && i < GetCount(); ++i) {
    if (i != nExclude && m_arrBars[static_cast<size_t>(i)] == pBar) return i;
  }
  return -1;
}

bool CTKPDockBar::IsShown(const CTKPToolBar* pBar) {
  // A bar the user hides is not visible; one hidden for a print preview keeps its flag but not its window.
  return pBar != nullptr && pBar->m_hWnd != nullptr && pBar->IsVisible() && (pBar->GetStyle() & WS_VISIBLE) != 0;
}

int CTKPDockBar::Insert(CTKPToolBar* pBar, CRect, CPoint ptCentre) {
  const bool horz = IsHorzBar() != FALSE;
  const tkpdock::FarEdgeFn<CTKPToolBar> farEdge = [this, horz](CTKPToolBar* bar) {
    if (!IsShown(bar)) return INT_MIN;
    CRect rc;
    bar->GetWindowRect(rc);
    ScreenToClient(rc);
    return static_cast<int>(horz ? rc.bottom : rc.right);
  };
  return tkpdock::InsertIntoRows(m_arrBars, pBar, horz ? ptCentre.y : ptCentre.x, farEdge);
}

void CTKPDockBar::DockCommandBar(CTKPToolBar* pBar, LPCRECT pRect) {
  if (pBar == nullptr || pBar->m_hWnd == nullptr) return;
  const int old = FindBar(pBar);
  if (old >= 0) {
    CRect window;
    pBar->GetWindowRect(window);
    if (pRect == nullptr || CRect(*pRect) == window) return;
  }
  int index;
  if (pRect != nullptr) {
    CRect rect(*pRect);
    ScreenToClient(rect);
    index = Insert(pBar, rect, rect.CenterPoint());
    if (CTKPDockContext* context = pBar->GetDockContext()) context->m_rectMRUDock = rect;
  } else {
    m_arrBars.push_back(pBar);
    m_arrBars.push_back(nullptr);
    index = GetCount() - 2;
    if (CTKPDockContext* context = pBar->GetDockContext()) context->m_rectMRUDock.SetRectEmpty();
  }
  if (::GetParent(pBar->m_hWnd) != m_hWnd) pBar->SetParent(this);
  CTKPDockBar* previous = pBar->GetDockBar();
  if (previous != nullptr && previous != this) {
    previous->RemoveCommandBar(pBar);
  } else if (old >= 0) {
    tkpdock::RemoveFromRows(m_arrBars, FindBar(pBar, index));
  }
  pBar->SetDockBar(this);
  NormaliseStretched();
  if (m_pCommandBars != nullptr) m_pCommandBars->RecalcFrameLayout(TRUE);
}

BOOL CTKPDockBar::RemoveCommandBar(CTKPCommandBar* pBar, int nIndex) {
  if (nIndex < 0 || GetAt(nIndex) != pBar) nIndex = FindBar(pBar);
  if (nIndex < 0) return FALSE;
  tkpdock::RemoveFromRows(m_arrBars, nIndex);
  auto* bar = static_cast<CTKPToolBar*>(pBar);
  if (bar->GetDockBar() == this) bar->SetDockBar(nullptr);
  if (m_pCommandBars != nullptr) m_pCommandBars->RecalcFrameLayout(TRUE);
  return TRUE;
}

void CTKPDockBar::NormaliseStretched() {
  tkpdock::NormaliseRows<CTKPToolBar>(
      m_arrBars, [](CTKPToolBar* bar) { return (bar->GetFlags() & TKP_DOCK_STRETCHED) != 0; });
}

void CTKPDockBar::GetVisibleBarsInRow(int nIndex, std::vector<CTKPToolBar*>& bars) const {
  bars.clear();
  if (GetAt(nIndex) == nullptr) return;
  int first = 0, last = 0;
  tkpdock::RowBounds(m_arrBars, nIndex, &first, &last);
  for (int i = first; i < last; ++i) {
    if (IsShown(m_arrBars[static_cast<size_t>(i)])) bars.push_back(m_arrBars[static_cast<size_t>(i)]);
  }
  const bool horz = IsHorzBar() != FALSE;
  std::stable_sort(bars.begin(), bars.end(), [horz](CTKPToolBar* a, CTKPToolBar* b) {
    CRect ra, rb;
    a->GetWindowRect(ra);
    b->GetWindowRect(rb);
    return horz ? ra.left < rb.left : ra.top < rb.top;
  });
}

// ---- layout ------------------------------------------------------------------------------------------

DWORD CTKPDockBar::GetDockMode(BOOL bHorz, CTKPToolBar* pBar) const {
  DWORD mode = bHorz ? LM_HORZ | LM_HORZDOCK : LM_VERTDOCK;
  if ((pBar->GetFlags() & TKP_DOCK_STRETCHED) != 0) mode |= LM_STRETCH;
  const bool customizing = m_pCommandBars != nullptr && m_pCommandBars->IsCustomizeMode() &&
                           !m_pCommandBars->IsCustomizeLayout();
  if ((pBar->GetFlags() & TKP_DOCK_HIDEWRAP) != 0 && !customizing) mode |= kHideWrapMode;
  return mode;
}

int CTKPDockBar::AdjustRow(std::vector<CTKPToolBar*>& row, int nOrigin, int nLength, BOOL bHorz, BOOL bCommit,
                           int* pNotFit) {
  std::vector<tkpdock::RowBar> records;
  for (size_t i = 0; i < row.size(); ++i) {
    CTKPToolBar* bar = row[i];
    const DWORD mode = GetDockMode(bHorz, bar);
    CSize size = bar->CalcDockingLayout(nLength, mode);
    if (!bHorz) size = CSize(size.cy, size.cx);
    const CTKPDockContext* context = bar->GetDockContext();
    const CRect mru = context != nullptr ? context->m_rectMRUDock : CRect();
    tkpdock::RowBar record;
    record.mruOffset = bHorz ? mru.left : mru.top;
    record.rect = CRect(CPoint(record.mruOffset, nOrigin), size);
    record.index = static_cast<int>(i);
    // A bar that may hide controls shrinks to its shortest; any other never shrinks.
    if ((mode & kHideWrapMode) != 0) {
      const CSize shortest = bar->CalcDockingLayout(1, mode);
      record.minLength = bHorz ? shortest.cx : shortest.cy;
    } else {
      record.minLength = nLength;
    }
    records.push_back(record);
  }
  int notFit = -1;
  if (!tkpdock::ArrangeRow(records, nLength, &notFit)) {
    *pNotFit = notFit;
    return 0;
  }
  // Each bar's final size at the length it got; the row is as thick as its thickest bar.
  int thickness = 0;
  for (size_t n = 0; n < records.size(); ++n) {
    CTKPToolBar* bar = row[static_cast<size_t>(records[n].index)];
    const CSize size = bar->CalcDockingLayout(records[n].rect.Width(), GetDockMode(bHorz, bar));
    thickness = std::max<int>(thickness, bHorz ? size.cy : size.cx);
  }
  for (size_t n = 0; n < records.size(); ++n) {
    CTKPToolBar* bar = row[static_cast<size_t>(records[n].index)];
    DWORD mode = GetDockMode(bHorz, bar) | LM_COMMIT;
    int left = records[n].rect.left;
    int length = records[n].rect.Width();
    if ((bar->GetFlags() & TKP_DOCK_FILL) != 0) {
      // Fills the room between its neighbours.
      left = n == 0 ? 0 : static_cast<int>(records[n - 1].rect.right);
      length = (n + 1 < records.size() ? static_cast<int>(records[n + 1].rect.left) : nLength) - left;
      mode |= LM_STRETCH;
    }
    const CSize size = bar->CalcDockingLayout(length, mode);
    const int along = bHorz ? size.cx : size.cy;
    CRect place(left, nOrigin, left + along, nOrigin + thickness);
    if (!bHorz) place = Swapped(place);
    if (CTKPDockContext* context = bar->GetDockContext()) context->m_nMRUDockID = GetPosition();
    if (bCommit) {
      bar->SetWindowPos(nullptr, place.left, place.top, place.Width(), place.Height(), SWP_NOZORDER | SWP_NOACTIVATE);
      bar->Invalidate();
    }
  }
  return thickness;
}

int CTKPDockBar::LayoutRow(std::vector<CTKPToolBar*>& row, int nOrigin, int nLength, BOOL bHorz, BOOL bCommit) {
  int total = 0;
  while (!row.empty()) {
    std::vector<CTKPToolBar*> overflow;
    int thickness = 0;
    for (;;) {
      int notFit = -1;
      thickness = AdjustRow(row, nOrigin, nLength, bHorz, bCommit, &notFit);
      if (thickness > 0 || notFit < 0 || notFit >= static_cast<int>(row.size()) || row.size() < 2) break;
      overflow.insert(overflow.begin(), row[static_cast<size_t>(notFit)]);
      row.erase(row.begin() + notFit);
    }
    total += thickness;
    nOrigin += thickness;
    row.swap(overflow);
  }
  return total;
}

CSize CTKPDockBar::CalcDynamicLayout(int nLength, DWORD dwMode) {
  const BOOL horz = (dwMode & LM_HORZ) != 0;
  CSize size(0, 0);
  if ((dwMode & LM_STRETCH) != 0) (horz ? size.cx : size.cy) = 32767;
  if (nLength < 0) {
    CRect client;
    GetClientRect(client);
    nLength = horz ? client.Width() : client.Height();
  }
  int origin = 0;
  std::vector<CTKPToolBar*> row;
  for (CTKPToolBar* entry : m_arrBars) {
    if (entry != nullptr) {
      if (IsShown(entry)) row.push_back(entry);
      continue;
    }
    if (row.empty()) continue;
    origin += LayoutRow(row, origin, nLength, horz, (dwMode & LM_COMMIT) != 0);
    row.clear();
    if (horz) {
      size.cy = std::max<LONG>(size.cy, origin);
    } else {
      size.cx = std::max<LONG>(size.cx, origin);
    }
  }
  return size;
}

LRESULT CTKPDockBar::OnSizeParent(WPARAM, LPARAM lParam) {
  auto* layout = reinterpret_cast<AFX_SIZEPARENTPARAMS*>(lParam);
  if ((GetStyle() & WS_VISIBLE) == 0 || layout == nullptr) return 0;
  const BOOL horz = IsHorzBar();
  CRect rect(layout->rect);
  DWORD mode = horz ? LM_HORZ | LM_HORZDOCK : LM_VERTDOCK;
  if (layout->hDWP != nullptr) mode |= LM_COMMIT;
  const int length = horz ? rect.Width() : rect.Height();
  CSize size = CalcDynamicLayout(length, mode);
  // The dock bar lines the whole edge, as thick as its rows.
  (horz ? size.cx : size.cy) = length;
  size.cx = std::max<LONG>(0, std::min<LONG>(size.cx, rect.Width()));
  size.cy = std::max<LONG>(0, std::min<LONG>(size.cy, rect.Height()));
  // The strip is taken from the near side of the free rectangle (top, left) or the far one.
  const bool farSide = GetPosition() == 1 || GetPosition() == 3;
  const LONG thickness = horz ? size.cy : size.cx;
  LONG& totalAcross = horz ? layout->sizeTotal.cy : layout->sizeTotal.cx;
  LONG& totalAlong = horz ? layout->sizeTotal.cx : layout->sizeTotal.cy;
  totalAcross += thickness;
  totalAlong = std::max<LONG>(totalAlong, horz ? size.cx : size.cy);
  LONG& nearEdge = horz ? rect.top : rect.left;
  LONG& farEdge = horz ? rect.bottom : rect.right;
  if (farSide) {
    nearEdge = farEdge - thickness;
    (horz ? layout->rect.bottom : layout->rect.right) -= thickness;
  } else {
    farEdge = nearEdge + thickness;
    (horz ? layout->rect.top : layout->rect.left) += thickness;
  }
  if (layout->hDWP != nullptr) {
    AfxRepositionWindow(layout, m_hWnd, rect);
    Invalidate();
  }
  return 0;
}

// ---- painting and the mouse ----------------------------------------------------------------------------

void CTKPDockBar::OnPaint() {
  CPaintDC dc(this);
  CTKPPaintManager* paint = m_pCommandBars != nullptr ? m_pCommandBars->GetPaintManager()
                                                      : CTKPPaintManager::GetCurrentOrDefault();
  if (paint != nullptr) paint->FillDockBar(&dc, this);
}

LRESULT CTKPDockBar::OnPrint(WPARAM wParam, LPARAM lParam) {
  CDC* dc = CDC::FromHandle(reinterpret_cast<HDC>(wParam));
  CTKPPaintManager* paint = m_pCommandBars != nullptr ? m_pCommandBars->GetPaintManager()
                                                      : CTKPPaintManager::GetCurrentOrDefault();
  if (dc == nullptr || paint == nullptr) return 0;
  paint->FillDockBar(dc, this);
  if ((lParam & PRF_CHILDREN) == 0) return 0;
  for (HWND child = ::GetWindow(m_hWnd, GW_CHILD); child != nullptr; child = ::GetWindow(child, GW_HWNDNEXT)) {
    if (!::IsWindowVisible(child)) continue;
    CRect rc;
    ::GetWindowRect(child, rc);
    ScreenToClient(rc);
    POINT old{};
    ::OffsetViewportOrgEx(dc->GetSafeHdc(), rc.left, rc.top, &old);
    ::SendMessageW(child, WM_PRINT, wParam, lParam);
    ::SetViewportOrgEx(dc->GetSafeHdc(), old.x, old.y, nullptr);
  }
  return 0;
}

BOOL CTKPDockBar::OnEraseBkgnd(CDC*) { return TRUE; }

void CTKPDockBar::OnRButtonDown(UINT, CPoint point) {
  ClientToScreen(point);
  if (m_pCommandBars != nullptr) m_pCommandBars->ContextMenu(nullptr, point);
}
