#include "toolkit/commandbars/tkp_dock_bar.h"

#include <algorithm>

#include "platform/classlib/win/cdc.h"
#include "toolkit/commandbars/tkp_command_bar.h"

IMPLEMENT_DYNAMIC(CTKPDockBar, CControlBar)

BEGIN_MESSAGE_MAP(CTKPDockBar, CControlBar)
  ON_WM_SIZE()
  ON_WM_ERASEBKGND()
END_MESSAGE_MAP()

CTKPDockBar::CTKPDockBar(CTKPCommandBars* pCommandBars) : m_pCommandBars(pCommandBars) {}

BOOL CTKPDockBar::Create(CWnd* pParentWnd, DWORD dwStyle, DWORD dwBarStyle, UINT nID) {
  // The edge lines of the style are left to the bars themselves.
  m_dwStyle = dwBarStyle & CBRS_ALIGN_ANY;
  LPCTSTR cls = AfxRegisterWndClass(0, ::LoadCursorW(nullptr, IDC_ARROW));
  return CWnd::Create(cls, nullptr, dwStyle, RECT{0, 0, 0, 0}, pParentWnd, nID);
}

int CTKPDockBar::GetPosition() const {
  if ((m_dwStyle & CBRS_ALIGN_TOP) != 0) return 0;
  if ((m_dwStyle & CBRS_ALIGN_BOTTOM) != 0) return 1;
  return (m_dwStyle & CBRS_ALIGN_LEFT) != 0 ? 2 : 3;
}

void CTKPDockBar::DockCommandBar(CTKPCommandBar* pBar) {
  if (pBar == nullptr || HasBar(pBar)) return;
  m_bars.push_back(pBar);
  if (pBar->m_hWnd != nullptr && ::GetParent(pBar->m_hWnd) != m_hWnd) ::SetParent(pBar->m_hWnd, m_hWnd);
  PlaceBars();
}

BOOL CTKPDockBar::RemoveCommandBar(CTKPCommandBar* pBar) {
  auto found = std::find(m_bars.begin(), m_bars.end(), pBar);
  if (found == m_bars.end()) return FALSE;
  m_bars.erase(found);
  PlaceBars();
  return TRUE;
}

BOOL CTKPDockBar::HasBar(const CTKPCommandBar* pBar) const {
  return std::find(m_bars.begin(), m_bars.end(), pBar) != m_bars.end();
}

CSize CTKPDockBar::BarSize(CTKPCommandBar* pBar) const {
  const bool horz = IsHorzBar() != FALSE;
  return pBar->CalcDynamicLayout(-1, horz ? LM_HORZ | LM_HORZDOCK : LM_VERTDOCK);
}

bool CTKPDockBar::IsShown(const CTKPCommandBar* pBar) {
  // A bar the user hides is not visible; one hidden for a print preview keeps its flag but not its window.
  return pBar->m_hWnd != nullptr && pBar->IsVisible() && (pBar->GetStyle() & WS_VISIBLE) != 0;
}

CSize CTKPDockBar::CalcFixedLayout(BOOL bStretch, BOOL bHorz) {
  CSize total(0, 0);
  for (CTKPCommandBar* bar : m_bars) {
    if (!IsShown(bar)) continue;
    const CSize size = BarSize(bar);
    if (bHorz) {
      total.cy += size.cy;
      total.cx = std::max<LONG>(total.cx, size.cx);
    } else {
      total.cx += size.cx;
      total.cy = std::max<LONG>(total.cy, size.cy);
    }
  }
  if (bStretch && (bHorz ? total.cy : total.cx) > 0) (bHorz ? total.cx : total.cy) = 32767;
  return total;
}

CSize CTKPDockBar::CalcDynamicLayout(int, DWORD dwMode) {
  const CSize size = CalcFixedLayout((dwMode & LM_STRETCH) != 0, (dwMode & LM_HORZ) != 0);
  if ((dwMode & LM_COMMIT) != 0) PlaceBars();
  return size;
}

void CTKPDockBar::PlaceBars() {
  if (m_hWnd == nullptr) return;
  CRect client;
  GetClientRect(client);
  const bool horz = IsHorzBar() != FALSE;
  int offset = 0;
  for (CTKPCommandBar* bar : m_bars) {
    if (!IsShown(bar)) continue;
    const CSize size = BarSize(bar);
    const CRect place = horz ? CRect(0, offset, client.right, offset + size.cy)
                             : CRect(offset, 0, offset + size.cx, client.bottom);
    offset += horz ? size.cy : size.cx;
    bar->SetWindowPos(nullptr, place.left, place.top, place.Width(), place.Height(), SWP_NOZORDER | SWP_NOACTIVATE);
  }
}

void CTKPDockBar::OnSize(UINT, int, int) { PlaceBars(); }

BOOL CTKPDockBar::OnEraseBkgnd(CDC* pDC) {
  CRect client;
  GetClientRect(client);
  pDC->FillSolidRect(client, ::GetSysColor(COLOR_BTNFACE));
  return TRUE;
}
