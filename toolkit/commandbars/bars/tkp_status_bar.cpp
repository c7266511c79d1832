// CTKPStatusBar: its panes and their part edges, texts, windows, idle update and drawing.
#include "toolkit/commandbars/bars/tkp_status_bar.h"

#include <algorithm>

#include "platform/classlib/win/ccmdui.h"
#include "platform/classlib/win/cdc.h"
#include "platform/classlib/win/controlsupport.h"
#include "toolkit/commandbars/frame/tkp_command_bars.h"
#include "toolkit/commandbars/paint/tkp_paint_manager.h"
#include "toolkit/commandbars/bars/tkp_status_bar_layout.h"
#include "toolkit/common/color_manager.h"
#include "toolkit/common/gdi_guards.h"
#include "toolkit/common/tkp_image_manager.h"

IMPLEMENT_DYNAMIC(CTKPStatusBar, CControlBar)

BEGIN_MESSAGE_MAP(CTKPStatusBar, CControlBar)
  ON_WM_CREATE()
  ON_WM_NCHITTEST()
  ON_WM_NCCALCSIZE()
  ON_WM_NCPAINT()
  ON_WM_SIZE()
  ON_WM_WINDOWPOSCHANGING()
  ON_MESSAGE(WM_SETTEXT, OnSetText)
  ON_MESSAGE(WM_GETTEXT, OnGetText)
  ON_MESSAGE(WM_GETTEXTLENGTH, OnGetTextLength)
  ON_MESSAGE(SB_SETMINHEIGHT, OnSetMinHeight)
  ON_WM_ERASEBKGND()
  ON_WM_PAINT()
END_MESSAGE_MAP()

namespace {
// The least height of the bar's window.
constexpr int kMinHeight = 20;

// A pane item that an update handler sets: enabled is shown text, checked is popped out.
class CTKPStatusCmdUI : public CCmdUI {
 public:
  explicit CTKPStatusCmdUI(CTKPStatusBar* pBar) : m_pBar(pBar) {}
  void Enable(BOOL bOn) override {
    m_bEnableChanged = TRUE;
    SetStyleBit(TKP_SBPS_DISABLED, !bOn);
  }
  void SetCheck(int nCheck) override { SetStyleBit(TKP_SBPS_POPOUT, nCheck != 0); }
  void SetText(LPCTSTR lpszText) override { m_pBar->SetPaneText(static_cast<int>(m_nIndex), lpszText); }

 private:
  void SetStyleBit(UINT bit, bool on) {
    CTKPStatusBarPane* pPane = m_pBar->GetPane(static_cast<int>(m_nIndex));
    if (pPane == nullptr) return;
    UINT style = pPane->GetStyle();
    UINT changed = on ? style | bit : style & ~bit;
    if (changed != style) m_pBar->SetPaneStyle(static_cast<int>(m_nIndex), changed);
  }
  CTKPStatusBar* m_pBar;
};
}  // namespace

CTKPStatusBar::CTKPStatusBar() { SetBorders(0, 2, 0, 0); }

CTKPStatusBar::~CTKPStatusBar() = default;

// ---- creation -----------------------------------------------------------------------------------------

BOOL CTKPStatusBar::Create(CWnd* pParentWnd, DWORD dwStyle, UINT nID) { return CreateEx(pParentWnd, 0, dwStyle, nID); }

BOOL CTKPStatusBar::CreateEx(CWnd* pParentWnd, DWORD dwCtrlStyle, DWORD dwStyle, UINT nID) {
  AfxInitCommonControls(ICC_BAR_CLASSES);
  SetBarStyle(dwStyle);
  DWORD windowStyle =
      (dwStyle & ~CBRS_ALL) | dwCtrlStyle | CCS_NOPARENTALIGN | CCS_NOMOVEY | CCS_NODIVIDER | CCS_NORESIZE;
  return CWnd::Create(STATUSCLASSNAMEW, nullptr, windowStyle, RECT{0, 0, 0, 0}, pParentWnd, nID);
}

int CTKPStatusBar::OnCreate(LPCREATESTRUCT lpCreateStruct) {
  if (CControlBar::OnCreate(lpCreateStruct) == -1) return -1;
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof(metrics);
  if (::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0)) {
    m_font.CreateFontIndirect(&metrics.lfStatusFont);
  }
  if (m_font.GetSafeHandle() != nullptr) SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(m_font.GetSafeHandle()));
  SendMessage(SB_SETMINHEIGHT, kMinHeight);
  return 0;
}

// ---- panes --------------------------------------------------------------------------------------------

BOOL CTKPStatusBar::SetIndicators(const UINT* lpIDArray, int nIDCount) {
  if (m_hWnd == nullptr || nIDCount < 0 || (lpIDArray == nullptr && nIDCount > 0)) return FALSE;
  m_panes.clear();
  for (int i = 0; i < nIDCount; ++i) AddIndicator(lpIDArray[i]);
  return TRUE;
}

CTKPStatusBarPane* CTKPStatusBar::AddIndicator(UINT nID, int nIndex) {
  if (m_hWnd == nullptr) return nullptr;
  if (nIndex < 0 || nIndex > GetPaneCount()) nIndex = GetPaneCount();
  auto pane = std::make_unique<CTKPStatusBarPane>();
  pane->m_nID = nID;
  pane->m_nFlags = 1;
  if (nID == ID_SEPARATOR) {
    if (nIndex == 0) pane->m_nStyle = TKP_SBPS_NOBORDERS | TKP_SBPS_STRETCH;
  } else {
    pane->m_strText.LoadString(nID);
    pane->m_cxText = TextWidth(pane->m_strText);
  }
  CTKPStatusBarPane* pPane = pane.get();
  m_panes.insert(m_panes.begin() + nIndex, std::move(pane));
  for (int i = 0; i < GetPaneCount(); ++i) m_panes[static_cast<size_t>(i)]->m_nIndex = i;
  UpdateAllPanes(TRUE, TRUE);
  return pPane;
}

BOOL CTKPStatusBar::RemoveIndicator(UINT nID) {
  int index = CommandToIndex(nID);
  if (index < 0) return FALSE;
  m_panes.erase(m_panes.begin() + index);
  for (int i = 0; i < GetPaneCount(); ++i) m_panes[static_cast<size_t>(i)]->m_nIndex = i;
  UpdateAllPanes(TRUE, TRUE);
  return TRUE;
}

CTKPStatusBarPane* CTKPStatusBar::GetPane(int nIndex) const {
  return nIndex >= 0 && nIndex < GetPaneCount() ? m_panes[static_cast<size_t>(nIndex)].get() : nullptr;
}

int CTKPStatusBar::GetVisiblePaneCount() const {
  return static_cast<int>(std::count_if(m_panes.begin(), m_panes.end(), [](const auto& p) { return p->m_bVisible; }));
}

int CTKPStatusBar::CommandToIndex(UINT nID) const {
  for (int i = 0; i < GetPaneCount(); ++i) {
    if (m_panes[static_cast<size_t>(i)]->m_nID == nID) return i;
  }
  return -1;
}

int CTKPStatusBar::TextWidth(LPCTSTR lpszText) const {
  CClientDC dc(const_cast<CTKPStatusBar*>(this));
  auto font = reinterpret_cast<HGDIOBJ>(SendMessage(WM_GETFONT));
  HGDIOBJ previous = dc.SelectObject(font != nullptr ? font : ::GetStockObject(DEFAULT_GUI_FONT));
  int width = dc.GetTextExtent(lpszText, lstrlenW(lpszText)).cx;
  dc.SelectObject(previous);
  return width;
}

BOOL CTKPStatusBar::SetPaneText(int nIndex, LPCTSTR lpszNewText, BOOL bUpdate) {
  CTKPStatusBarPane* pPane = GetPane(nIndex);
  if (pPane == nullptr) return FALSE;
  CString text(lpszNewText != nullptr ? lpszNewText : _T(""));
  if ((pPane->m_nFlags & 1) == 0 && pPane->m_strText == text) return TRUE;
  pPane->m_strText = text;
  if (!pPane->m_bVisible) return FALSE;
  if (!bUpdate) {
    pPane->m_nFlags |= 1;
    return TRUE;
  }
  pPane->m_nFlags &= ~1u;
  if (pPane->m_nPart >= 0) {
    WPARAM part = static_cast<WPARAM>(pPane->m_nPart) | (pPane->m_nStyle & 0xFF00);
    LPCTSTR shown = (pPane->m_nStyle & TKP_SBPS_DISABLED) != 0 ? _T("") : static_cast<LPCTSTR>(pPane->m_strText);
    DefWindowProc(SB_SETTEXTW, part, reinterpret_cast<LPARAM>(shown));
  }
  Invalidate();
  return TRUE;
}

CString CTKPStatusBar::GetPaneText(int nIndex) const {
  CTKPStatusBarPane* pPane = GetPane(nIndex);
  return pPane != nullptr ? pPane->m_strText : CString();
}

void CTKPStatusBar::SetPaneWidth(int nIndex, int cxText) {
  if (CTKPStatusBarPane* pPane = GetPane(nIndex)) {
    pPane->m_cxText = std::max(0, cxText);
    UpdateAllPanes(TRUE, FALSE);
  }
}

void CTKPStatusBar::SetPaneStyle(int nIndex, UINT nStyle) {
  CTKPStatusBarPane* pPane = GetPane(nIndex);
  if (pPane == nullptr || pPane->m_nStyle == nStyle) return;
  pPane->m_nStyle = nStyle;
  pPane->m_nFlags |= 1;  // shown anew in the new style
  UpdateAllPanes(TRUE, TRUE);
}

void CTKPStatusBar::SetPaneVisible(int nIndex, BOOL bVisible) {
  CTKPStatusBarPane* pPane = GetPane(nIndex);
  if (pPane == nullptr || pPane->m_bVisible == bVisible) return;
  pPane->m_bVisible = bVisible;
  pPane->m_nFlags |= 1;
  if (pPane->m_hWndPane != nullptr) ::ShowWindow(pPane->m_hWndPane, bVisible ? SW_SHOWNA : SW_HIDE);
  UpdateAllPanes(TRUE, TRUE);
}

void CTKPStatusBar::SetPaneWindow(int nIndex, CWnd* pWnd) {
  if (CTKPStatusBarPane* pPane = GetPane(nIndex)) {
    pPane->m_hWndPane = pWnd != nullptr ? pWnd->m_hWnd : nullptr;
    PositionPaneWindows();
  }
}

int CTKPStatusBar::BorderBetweenParts() const {
  int borders[3] = {0, 0, 0};
  SendMessage(SB_GETBORDERS, 0, reinterpret_cast<LPARAM>(borders));
  return borders[2];
}

BOOL CTKPStatusBar::HasSizeGrip() const { return (GetStyle() & SBARS_SIZEGRIP) != 0; }

void CTKPStatusBar::UpdateAllPanes(BOOL bUpdateRects, BOOL bUpdateText) {
  if (m_hWnd == nullptr) return;
  if (bUpdateRects) {
    CRect window;
    GetWindowRect(window);
    CRect inner(0, 0, window.Width(), window.Height());
    CalcInsideRect(inner, TRUE);
    std::vector<tkp_status_bar::PaneWidth> widths;
    int part = 0;
    for (auto& pane : m_panes) {
      pane->m_nPart = pane->m_bVisible ? part++ : -1;
      if (pane->m_bVisible) widths.push_back({pane->m_cxText, (pane->m_nStyle & TKP_SBPS_STRETCH) != 0});
    }
    std::vector<int> edges = tkp_status_bar::PartEdges(widths, inner.left, inner.Width(), BorderBetweenParts());
    if (edges.empty()) edges.push_back(-1);  // one empty part rather than none
    DefWindowProc(SB_SETPARTS, edges.size(), reinterpret_cast<LPARAM>(edges.data()));
    PositionPaneWindows();
  }
  if (bUpdateText) {
    for (int i = 0; i < GetPaneCount(); ++i) {
      CTKPStatusBarPane* pPane = m_panes[static_cast<size_t>(i)].get();
      if (pPane->m_bVisible && (pPane->m_nFlags & 1) != 0) SetPaneText(i, pPane->m_strText, TRUE);
    }
  }
}

void CTKPStatusBar::GetItemRect(int nIndex, LPRECT lpRect) const {
  ::SetRectEmpty(lpRect);
  CTKPStatusBarPane* pPane = GetPane(nIndex);
  if (pPane == nullptr || !pPane->m_bVisible || pPane->m_nPart < 0 ||
      !SendMessage(SB_GETRECT, static_cast<WPARAM>(pPane->m_nPart), reinterpret_cast<LPARAM>(lpRect))) {
    ::SetRectEmpty(lpRect);
    return;
  }
  if (pPane->m_nPart != GetVisiblePaneCount() - 1) return;
  CRect client;
  GetClientRect(client);
  lpRect->right = tkp_status_bar::LastPaneRight(
      lpRect->left, pPane->m_cxText, (pPane->m_nStyle & TKP_SBPS_STRETCH) != 0, client.right, HasSizeGrip(),
      ::GetSystemMetrics(SM_CXEDGE), ::GetSystemMetrics(SM_CXSMICON));
}

void CTKPStatusBar::PositionPaneWindows() {
  const int edge = ::GetSystemMetrics(SM_CXEDGE);
  for (int i = 0; i < GetPaneCount(); ++i) {
    CTKPStatusBarPane* pPane = m_panes[static_cast<size_t>(i)].get();
    if (pPane->m_hWndPane == nullptr || !::IsWindow(pPane->m_hWndPane)) continue;
    CRect rect;
    GetItemRect(i, rect);
    if ((pPane->m_nStyle & TKP_SBPS_NOBORDERS) == 0) rect.DeflateRect(edge, edge);
    ::MoveWindow(pPane->m_hWndPane, rect.left, rect.top, std::max(0, rect.Width()), std::max(0, rect.Height()), TRUE);
  }
}

// ---- layout -------------------------------------------------------------------------------------------

void CTKPStatusBar::CalcInsideRect(CRect& rect, BOOL bHorz) const {
  CControlBar::CalcInsideRect(rect, bHorz);
  CWnd* pParent = GetParent();
  if (!HasSizeGrip() || (pParent != nullptr && pParent->IsZoomed())) return;
  int borders[3] = {0, 0, 0};
  SendMessage(SB_GETBORDERS, 0, reinterpret_cast<LPARAM>(borders));
  rect.right -= borders[0] + ::GetSystemMetrics(SM_CXBORDER) * 2 + ::GetSystemMetrics(SM_CXVSCROLL);
}

CSize CTKPStatusBar::CalcFixedLayout(BOOL bStretch, BOOL bHorz) {
  CSize size = CControlBar::CalcFixedLayout(bStretch, bHorz);
  int borders[3] = {0, 0, 0};
  SendMessage(SB_GETBORDERS, 0, reinterpret_cast<LPARAM>(borders));
  CClientDC dc(this);
  HGDIOBJ previous = dc.SelectObject(reinterpret_cast<HGDIOBJ>(SendMessage(WM_GETFONT)));
  TEXTMETRICW metrics{};
  ::GetTextMetricsW(dc, &metrics);
  dc.SelectObject(previous);
  int text = metrics.tmHeight - metrics.tmInternalLeading + 2 * borders[1] + 2 * ::GetSystemMetrics(SM_CYBORDER);
  size.cy += std::max(text, m_nMinHeight) - 2;  // the top border's 2 pixels are counted above
  return size;
}

void CTKPStatusBar::OnUpdateCmdUI(CCmdTarget* pTarget, BOOL) {
  // A pane without an update handler keeps its state: panes are not commands to disable.
  CTKPStatusCmdUI state(this);
  state.m_pOther = this;
  state.m_nIndexMax = static_cast<UINT>(GetPaneCount());
  for (int i = 0; i < GetPaneCount(); ++i) {
    state.m_nID = m_panes[static_cast<size_t>(i)]->m_nID;
    state.m_nIndex = static_cast<UINT>(i);
    state.DoUpdate(pTarget, FALSE);
  }
}

// ---- messages -----------------------------------------------------------------------------------------

LRESULT CTKPStatusBar::OnNcHitTest(CPoint) {
  LRESULT hit = Default();
  return hit == HTBOTTOMRIGHT ? hit : HTCLIENT;
}

void CTKPStatusBar::OnNcCalcSize(BOOL, NCCALCSIZE_PARAMS* lpncsp) {
  CRect inside(0, 0, 0, 0);
  CControlBar::CalcInsideRect(inside, TRUE);
  RECT& client = lpncsp->rgrc[0];
  client.left += inside.left;
  client.top += inside.top - 2;
  client.right = std::max(client.left, client.right + inside.right);
  client.bottom = std::max(client.top, client.bottom + inside.bottom);
}

void CTKPStatusBar::OnNcPaint() { EraseNonClient(); }

void CTKPStatusBar::OnSize(UINT, int, int) {
  Default();
  UpdateAllPanes(TRUE, FALSE);
  Invalidate();
}

void CTKPStatusBar::OnWindowPosChanging(WINDOWPOS* lpWndPos) {
  // The status window draws no edges of the bar's own: keep them out of the base's rules meanwhile.
  DWORD style = m_dwStyle;
  m_dwStyle &= ~CBRS_BORDER_ANY;
  CControlBar::OnWindowPosChanging(lpWndPos);
  m_dwStyle = style;
}

LRESULT CTKPStatusBar::OnSetText(WPARAM, LPARAM lParam) {
  // TRUE when the message pane took the text, as SetWindowText's callers read the answer.
  int index = CommandToIndex(0);
  return index >= 0 && SetPaneText(index, reinterpret_cast<LPCTSTR>(lParam)) ? TRUE : FALSE;
}

LRESULT CTKPStatusBar::OnGetText(WPARAM wParam, LPARAM lParam) {
  int index = CommandToIndex(0);
  CString text = index >= 0 ? GetPaneText(index) : CString();
  static_assert(sizeof(wchar_t) == sizeof(char16_t), "UTF-16 window text");
  std::u16string_view view(reinterpret_cast<const char16_t*>(static_cast<LPCTSTR>(text)),
                           static_cast<size_t>(text.GetLength()));
  return static_cast<LRESULT>(
      tkp_status_bar::CopyWindowText(view, reinterpret_cast<char16_t*>(lParam), static_cast<size_t>(wParam)));
}

LRESULT CTKPStatusBar::OnGetTextLength(WPARAM, LPARAM) {
  int index = CommandToIndex(0);
  return index >= 0 ? GetPaneText(index).GetLength() : 0;
}

LRESULT CTKPStatusBar::OnSetMinHeight(WPARAM wParam, LPARAM) {
  LRESULT result = Default();
  m_nMinHeight = static_cast<int>(wParam);
  return result;
}

void CTKPStatusBar::SetDrawThemed(BOOL bDrawThemed) {
  m_bDrawThemed = bDrawThemed;
  if (m_hWnd != nullptr) Invalidate();
}

CTKPPaintManager* CTKPStatusBar::GetPaintManager() const {
  if (!m_bDrawThemed) return nullptr;
  return m_pCommandBars != nullptr ? m_pCommandBars->GetPaintManager() : CTKPPaintManager::GetCurrentOrDefault();
}

BOOL CTKPStatusBar::OnEraseBkgnd(CDC*) { return GetPaintManager() != nullptr ? TRUE : static_cast<BOOL>(Default()); }

void CTKPStatusBar::OnPaint() {
  UpdateAllPanes(FALSE, TRUE);
  CTKPPaintManager* pPaintManager = GetPaintManager();
  if (pPaintManager == nullptr) {
    Default();
    return;
  }
  CPaintDC paint(this);
  CRect client;
  GetClientRect(client);
  CTKPBufferDC dc(paint, client);
  pPaintManager->FillStatusBar(&dc, this);
  int last = GetVisiblePaneCount() - 1;
  for (int i = 0; i < GetPaneCount(); ++i) {
    CTKPStatusBarPane* pPane = m_panes[static_cast<size_t>(i)].get();
    if (!pPane->m_bVisible) continue;
    CRect item;
    GetItemRect(i, item);
    if ((pPane->m_nStyle & TKP_SBPS_NOBORDERS) == 0) {
      pPaintManager->DrawStatusBarPaneBorder(&dc, item, pPane->m_nPart == last);
    }
    DrawPaneEntry(&dc, i, item);
  }
  CWnd* pParent = GetParent();
  if (pParent != nullptr && (pParent->GetStyle() & WS_THICKFRAME) != 0 && HasSizeGrip() && !pParent->IsZoomed()) {
    DrawStretchGripper(&dc, client);
  }
}

void CTKPStatusBar::DrawPaneEntry(CDC* pDC, int nIndex, CRect rcItem) {
  CTKPStatusBarPane* pPane = GetPane(nIndex);
  CTKPPaintManager* pPaintManager = GetPaintManager();
  if (pPane == nullptr || pPaintManager == nullptr) return;
  CTKPImageManager* images = m_pCommandBars != nullptr ? m_pCommandBars->GetImageManager() : TKPImageManager();
  pPane->m_pImage = pPane->m_nIconId != 0 && images != nullptr ? images->GetImage(pPane->m_nIconId, 16) : nullptr;
  pPane->m_hFont = reinterpret_cast<HFONT>(SendMessage(WM_GETFONT));
  pPaintManager->DrawStatusBarPane(pDC, rcItem, pPane);
  pPane->m_pImage = nullptr;
}

void CTKPStatusBar::SetPaneIcon(int nIndex, UINT nIconId) { SetPaneValue(nIndex, &CTKPStatusBarPane::m_nIconId, nIconId); }

void CTKPStatusBar::SetPaneTextColor(int nIndex, COLORREF clr) {
  SetPaneValue(nIndex, &CTKPStatusBarPane::m_clrText, clr);
}

void CTKPStatusBar::SetPaneBackgroundColor(int nIndex, COLORREF clr) {
  SetPaneValue(nIndex, &CTKPStatusBarPane::m_clrBackground, clr);
}

void CTKPStatusBar::SetPaneTextAlignment(int nIndex, int nAlignment) {
  SetPaneValue(nIndex, &CTKPStatusBarPane::m_nAlignment, nAlignment);
}

void CTKPStatusBar::DrawStretchGripper(CDC* pDC, CRect rcClient) {
  if (CTKPPaintManager* pPaintManager = GetPaintManager()) pPaintManager->DrawStatusBarGripper(pDC, rcClient);
}

// ---- pane windows -------------------------------------------------------------------------------------

IMPLEMENT_DYNCREATE(CTKPStatusBarPaneWnd, CWnd)

BEGIN_MESSAGE_MAP(CTKPStatusBarPaneWnd, CWnd)
  ON_WM_PAINT()
  ON_WM_ERASEBKGND()
  ON_WM_ENABLE()
END_MESSAGE_MAP()

BOOL CTKPStatusBarPaneWnd::Create(LPCTSTR lpszText, CWnd* pParentWnd, DWORD dwStyle, UINT nID) {
  LPCTSTR className = AfxRegisterWndClass(CS_DBLCLKS | CS_BYTEALIGNCLIENT, ::LoadCursorW(nullptr, IDC_ARROW));
  if (!CWnd::Create(className, lpszText, dwStyle, RECT{0, 0, 0, 0}, pParentWnd, nID)) return FALSE;
  m_strText = lpszText != nullptr ? lpszText : _T("");
  return TRUE;
}

void CTKPStatusBarPaneWnd::OnPaint() {
  CPaintDC paint(this);
  CRect client;
  GetClientRect(client);
  CTKPBufferDC dc(paint, client);
  dc.FillSolidRect(client, TKPColorManager()->GetColor(COLOR_BTNFACE));
  OnDraw(&dc, client);
}

void CTKPStatusBarPaneWnd::OnDraw(CDC* pDC, CRect rcClient) {
  HGDIOBJ previous = pDC->SelectObject(::GetStockObject(DEFAULT_GUI_FONT));
  if (CWnd* pParent = GetParent()) {
    if (auto font = reinterpret_cast<HGDIOBJ>(pParent->SendMessage(WM_GETFONT))) pDC->SelectObject(font);
  }
  pDC->SetBkMode(TRANSPARENT);
  pDC->SetTextColor(::GetSysColor(IsWindowEnabled() ? COLOR_BTNTEXT : COLOR_GRAYTEXT));
  rcClient.DeflateRect(2, 0);
  pDC->DrawText(m_strText, rcClient, DT_SINGLELINE | DT_VCENTER | DT_LEFT | DT_NOPREFIX | DT_END_ELLIPSIS);
  pDC->SelectObject(previous);
}

BOOL CTKPStatusBarPaneWnd::OnEraseBkgnd(CDC*) { return TRUE; }

void CTKPStatusBarPaneWnd::OnEnable(BOOL) {
  Default();
  Invalidate(TRUE);
  UpdateWindow();
}
