// CStatusBar: panes over the common status window, their layout, texts and idle update.
#include "platform/classlib/win/cstatusbar.h"

#include <algorithm>

#include "platform/classlib/win/ccmdui.h"
#include "platform/classlib/win/cdc.h"
#include "platform/classlib/win/controlsupport.h"

IMPLEMENT_DYNAMIC(CStatusBar, CControlBar)

BEGIN_MESSAGE_MAP(CStatusBar, CControlBar)
  ON_MESSAGE(SB_SETTEXTW, OnSetPaneText)
  ON_MESSAGE(WM_SETTEXT, OnSetText)
  ON_MESSAGE(WM_GETTEXT, OnGetText)
  ON_MESSAGE(WM_GETTEXTLENGTH, OnGetTextLength)
  ON_WM_SIZE()
END_MESSAGE_MAP()

namespace {
// Room around a pane's text, inside its part.
constexpr int kPanePadding = 6;
// The SBT_ drawing types in a pane style's low word.
constexpr UINT kDrawingTypes = 0xFF00;

// The bar's font (the system's GUI font when it has none) selected into a DC of the bar while f runs.
template <class F>
auto WithBarFont(const CStatusBar* pBar, F f) {
  CClientDC dc(const_cast<CStatusBar*>(pBar));
  auto font = reinterpret_cast<HGDIOBJ>(pBar->SendMessage(WM_GETFONT));
  HGDIOBJ previous = dc.SelectObject(font != nullptr ? font : ::GetStockObject(DEFAULT_GUI_FONT));
  auto result = f(dc);
  dc.SelectObject(previous);
  return result;
}

// The item of a status bar pane that an update handler sets: enabled is shown text, checked is popped
// out, the text is the pane's.
class CStatusCmdUI : public CCmdUI {
 public:
  explicit CStatusCmdUI(CStatusBar* pBar) : m_pBar(pBar) {}

  void Enable(BOOL bOn) override {
    m_bEnableChanged = TRUE;
    SetStyleBit(SBPS_DISABLED, !bOn);
  }
  void SetCheck(int nCheck) override { SetStyleBit(SBPS_POPOUT, nCheck != 0); }
  void SetText(LPCTSTR lpszText) override {
    // Only a change goes to the window: the same text again would make the pane flicker.
    if (m_pBar->GetPaneText(static_cast<int>(m_nIndex)) != CString(lpszText)) {
      m_pBar->SetPaneText(static_cast<int>(m_nIndex), lpszText);
    }
  }

 private:
  void SetStyleBit(UINT bit, bool on) {
    int index = static_cast<int>(m_nIndex);
    UINT style = m_pBar->GetPaneStyle(index);
    UINT changed = on ? style | bit : style & ~bit;
    if (changed != style) m_pBar->SetPaneStyle(index, changed);
  }
  CStatusBar* m_pBar;
};
}  // namespace

CStatusBar::CStatusBar() { SetBorders(0, 2, 0, 0); }

// ---- creation -------------------------------------------------------------------------------------

BOOL CStatusBar::Create(CWnd* pParentWnd, DWORD dwStyle, UINT nID) { return CreateEx(pParentWnd, 0, dwStyle, nID); }

BOOL CStatusBar::CreateEx(CWnd* pParentWnd, DWORD dwCtrlStyle, DWORD dwStyle, UINT nID) {
  AfxInitCommonControls(ICC_BAR_CLASSES);
  SetBarStyle(dwStyle);
  // The frame places the bar: the status window must not move or size itself along its parent.
  DWORD windowStyle =
      (dwStyle & ~CBRS_ALL) | dwCtrlStyle | CCS_NOPARENTALIGN | CCS_NOMOVEY | CCS_NODIVIDER | CCS_NORESIZE;
  return CWnd::Create(STATUSCLASSNAMEW, nullptr, windowStyle, RECT{0, 0, 0, 0}, pParentWnd, nID);
}

BOOL CStatusBar::SetIndicators(const UINT* lpIDArray, int nIDCount) {
  if (m_hWnd == nullptr || nIDCount < 0 || (lpIDArray == nullptr && nIDCount > 0)) return FALSE;
  m_panes.assign(static_cast<size_t>(nIDCount), Pane{});
  for (int i = 0; i < nIDCount; ++i) {
    Pane& pane = m_panes[static_cast<size_t>(i)];
    pane.nID = lpIDArray[i];
    pane.pending = true;
    if (pane.nID == ID_SEPARATOR) {
      if (i == 0) pane.nStyle = SBPS_NOBORDERS | SBPS_STRETCH;
      continue;
    }
    pane.strText.LoadString(pane.nID);
    pane.cxText = TextWidth(pane.strText);
  }
  UpdateAllPanes(TRUE, TRUE);
  return TRUE;
}

int CStatusBar::TextWidth(LPCTSTR lpszText) const {
  return WithBarFont(this, [&](CDC& dc) { return dc.GetTextExtent(lpszText, lstrlenW(lpszText)).cx; });
}

// ---- panes ----------------------------------------------------------------------------------------

int CStatusBar::CommandToIndex(UINT nIDFind) const {
  auto found = std::find_if(m_panes.begin(), m_panes.end(), [&](const Pane& pane) { return pane.nID == nIDFind; });
  return found != m_panes.end() ? static_cast<int>(found - m_panes.begin()) : -1;
}

UINT CStatusBar::GetItemID(int nIndex) const { return IsPane(nIndex) ? m_panes[static_cast<size_t>(nIndex)].nID : 0; }

void CStatusBar::GetItemRect(int nIndex, LPRECT lpRect) const {
  if (!IsPane(nIndex) || !SendMessage(SB_GETRECT, static_cast<WPARAM>(nIndex), reinterpret_cast<LPARAM>(lpRect))) {
    ::SetRectEmpty(lpRect);
  }
}

void CStatusBar::GetPaneInfo(int nIndex, UINT& nID, UINT& nStyle, int& cxWidth) const {
  if (!IsPane(nIndex)) {
    nID = nStyle = 0;
    cxWidth = 0;
    return;
  }
  const Pane& pane = m_panes[static_cast<size_t>(nIndex)];
  nID = pane.nID;
  nStyle = pane.nStyle;
  cxWidth = pane.cxText;
}

void CStatusBar::SetPaneInfo(int nIndex, UINT nID, UINT nStyle, int cxWidth) {
  if (!IsPane(nIndex)) return;
  Pane& pane = m_panes[static_cast<size_t>(nIndex)];
  pane.nID = nID;
  pane.nStyle = nStyle;
  pane.cxText = cxWidth;
  pane.pending = true;  // a new style shows the text anew
  UpdateAllPanes(TRUE, TRUE);
}

UINT CStatusBar::GetPaneStyle(int nIndex) const {
  return IsPane(nIndex) ? m_panes[static_cast<size_t>(nIndex)].nStyle : 0;
}

void CStatusBar::SetPaneStyle(int nIndex, UINT nStyle) {
  if (!IsPane(nIndex)) return;
  Pane& pane = m_panes[static_cast<size_t>(nIndex)];
  if (pane.nStyle == nStyle) return;
  bool stretchChanged = ((pane.nStyle ^ nStyle) & SBPS_STRETCH) != 0;
  pane.nStyle = nStyle;
  pane.pending = true;
  UpdateAllPanes(stretchChanged, TRUE);
}

CString CStatusBar::GetPaneText(int nIndex) const {
  return IsPane(nIndex) ? m_panes[static_cast<size_t>(nIndex)].strText : CString();
}

BOOL CStatusBar::SetPaneText(int nIndex, LPCTSTR lpszNewText, BOOL bUpdate) {
  // Shown now: the window's thread checks the index and keeps the text (OnSetPaneText), so this
  // thread reads nothing of the bar's.
  if (bUpdate) {
    return nIndex >= 0 && nIndex < SB_SIMPLEID &&
           SendMessage(SB_SETTEXTW, static_cast<WPARAM>(nIndex), reinterpret_cast<LPARAM>(lpszNewText)) != 0;
  }
  if (!IsPane(nIndex)) return FALSE;
  Pane& pane = m_panes[static_cast<size_t>(nIndex)];
  pane.strText = lpszNewText;
  pane.pending = true;
  return TRUE;
}

void CStatusBar::UpdateAllPanes(BOOL bUpdateRects, BOOL bUpdateText) {
  if (m_hWnd == nullptr) return;
  if (bUpdateRects && !m_panes.empty()) {
    CRect inside = GetInsideRect();
    int borders[3] = {0, 0, 0};  // horizontal, vertical, between parts
    SendMessage(SB_GETBORDERS, 0, reinterpret_cast<LPARAM>(borders));
    int stretchLeft = 0;
    int fixed = 0;
    for (const Pane& pane : m_panes) {
      stretchLeft += (pane.nStyle & SBPS_STRETCH) != 0 ? 1 : 0;
      fixed += pane.cxText + kPanePadding + borders[2];
    }
    int free = std::max(0, inside.Width() - fixed + borders[2]);
    std::vector<int> edges;
    int right = inside.left;
    for (const Pane& pane : m_panes) {
      right += pane.cxText + kPanePadding;
      if ((pane.nStyle & SBPS_STRETCH) != 0) {
        int share = free / stretchLeft--;
        right += share;
        free -= share;
      }
      edges.push_back(right);
      right += borders[2];
    }
    SendMessage(SB_SETPARTS, edges.size(), reinterpret_cast<LPARAM>(edges.data()));
  }
  if (bUpdateText) {
    for (size_t i = 0; i < m_panes.size(); ++i) {
      if (m_panes[i].pending) SendMessage(SB_SETTEXTW, i, reinterpret_cast<LPARAM>(m_panes[i].strText.GetString()));
    }
  }
}

// ---- layout, idle update, owner drawing -----------------------------------------------------------

CSize CStatusBar::CalcFixedLayout(BOOL bStretch, BOOL bHorz) {
  CSize size = CControlBar::CalcFixedLayout(bStretch, bHorz);
  int borders[3] = {0, 0, 0};
  SendMessage(SB_GETBORDERS, 0, reinterpret_cast<LPARAM>(borders));
  TEXTMETRICW metrics = WithBarFont(this, [](CDC& dc) {
    TEXTMETRICW tm{};
    dc.GetTextMetrics(&tm);
    return tm;
  });
  size.cy += metrics.tmHeight + 2 * borders[1] + 2;
  if (!bStretch) {
    for (const Pane& pane : m_panes) size.cx += pane.cxText + kPanePadding + borders[2];
  }
  return size;
}

void CStatusBar::OnUpdateCmdUI(CCmdTarget* pTarget, BOOL) {
  // A pane without an update handler keeps its state: panes are not commands to disable.
  CStatusCmdUI state(this);
  state.m_pOther = this;
  state.m_nIndexMax = static_cast<UINT>(m_panes.size());
  for (size_t i = 0; i < m_panes.size(); ++i) {
    state.m_nID = m_panes[i].nID;
    state.m_nIndex = static_cast<UINT>(i);
    state.DoUpdate(pTarget, FALSE);
  }
}

void CStatusBar::DrawItem(LPDRAWITEMSTRUCT) {}

BOOL CStatusBar::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
  return CControlBar::OnChildNotify(message, wParam, lParam, pResult) ||
         AfxReflectDrawItem(this, message, lParam, pResult);
}

// ---- messages -------------------------------------------------------------------------------------

LRESULT CStatusBar::OnSetPaneText(WPARAM wParam, LPARAM lParam) {
  int index = LOBYTE(LOWORD(wParam));
  if (!IsPane(index)) return Default();
  Pane& pane = m_panes[static_cast<size_t>(index)];
  pane.strText = reinterpret_cast<LPCTSTR>(lParam);
  pane.pending = false;
  // An owner-drawn pane receives the kept text as its item data.
  WPARAM part = static_cast<WPARAM>(index) | ((pane.nStyle | LOWORD(wParam)) & kDrawingTypes);
  LPCTSTR shown = (pane.nStyle & SBPS_DISABLED) != 0 ? _T("") : pane.strText.GetString();
  return DefWindowProc(SB_SETTEXTW, part, reinterpret_cast<LPARAM>(shown));
}

LRESULT CStatusBar::OnSetText(WPARAM, LPARAM lParam) {
  int index = CommandToIndex(ID_SEPARATOR);
  return index >= 0 && SetPaneText(index, reinterpret_cast<LPCTSTR>(lParam));
}

LRESULT CStatusBar::OnGetText(WPARAM wParam, LPARAM lParam) {
  int index = CommandToIndex(ID_SEPARATOR);
  auto* buffer = reinterpret_cast<LPTSTR>(lParam);
  if (index < 0 || wParam == 0 || buffer == nullptr) return 0;
  const CString& text = m_panes[static_cast<size_t>(index)].strText;
  int copied = std::min(text.GetLength(), static_cast<int>(wParam) - 1);
  std::copy_n(text.GetString(), copied, buffer);
  buffer[copied] = 0;
  return copied;
}

LRESULT CStatusBar::OnGetTextLength(WPARAM, LPARAM) {
  int index = CommandToIndex(ID_SEPARATOR);
  return index >= 0 ? m_panes[static_cast<size_t>(index)].strText.GetLength() : 0;
}

void CStatusBar::OnSize(UINT, int, int) {
  Default();
  UpdateAllPanes(TRUE, FALSE);
}
