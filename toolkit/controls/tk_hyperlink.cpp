#include "toolkit/controls/tk_hyperlink.h"

#include "platform/classlib/win/cdc.h"
#include "platform/classlib/win/cwinapp.h"
#include "platform/seams/seams.h"
#include "toolkit/common/color_manager.h"
#include "toolkit/common/gdi_guards.h"
#include "toolkit/common/resource_manager.h"
#include "toolkit/controls/tk_hyperlink_logic.h"

namespace {

constexpr UINT_PTR kHoverTimer = 1;
constexpr UINT kHoverStep = 10;  // ms
constexpr UINT kLinkCursorResource = 9973;
constexpr UINT kBackColorIndex = 15;

std::u16string Text16(LPCTSTR text) { return text != nullptr ? CString(text).ToUtf16() : std::u16string(); }

}  // namespace

IMPLEMENT_DYNAMIC(CTKHyperLink, CStatic)

BEGIN_MESSAGE_MAP(CTKHyperLink, CStatic)
  ON_WM_CREATE()
  ON_WM_SETCURSOR()
  ON_WM_MOUSEMOVE()
  ON_WM_TIMER()
  ON_WM_ERASEBKGND()
  ON_WM_PAINT()
  ON_WM_WINDOWPOSCHANGED()
  ON_WM_NCHITTEST()
  ON_WM_CTLCOLOR_REFLECT()
  ON_CONTROL_REFLECT_EX(STN_CLICKED, OnClicked)
END_MESSAGE_MAP()

CTKHyperLink::CTKHyperLink() {
  m_hcurLink = ::LoadCursorW(nullptr, MAKEINTRESOURCEW(32649));  // the system's hand
  if (m_hcurLink == nullptr) m_hcurLink = TKPResourceManager()->LoadCursor(kLinkCursorResource);
}

CTKHyperLink::~CTKHyperLink() {
  if (m_toolTip.m_hWnd != nullptr) m_toolTip.DestroyWindow();
}

void CTKHyperLink::Redraw() {
  if (m_hWnd != nullptr) RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
}

void CTKHyperLink::SetURL(CString strURL) {
  m_strURL = strURL;
  if (m_strTipText.IsEmpty()) m_strTipText = m_strURL;
  if (m_strTipText.IsEmpty()) return;
  // The tooltip needs this window as its owner, so it waits until the window exists.
  if (m_toolTip.m_hWnd == nullptr) {
    if (m_hWnd == nullptr || !m_toolTip.Create(this)) return;
    m_toolTip.AddTool(this, m_strTipText, nullptr, 0);
    m_toolTip.Activate(TRUE);
  } else {
    m_toolTip.UpdateTipText(m_strURL, this, 0);
  }
}

void CTKHyperLink::SetColors(COLORREF clrLink, COLORREF clrVisited, COLORREF clrHover) {
  m_clrLink = clrLink;
  m_clrVisited = clrVisited;
  m_clrHover = clrHover;
  Redraw();
}

void CTKHyperLink::SetVisited(BOOL bVisited) {
  m_bVisited = bVisited;
  Redraw();
}

void CTKHyperLink::SetUnderline(BOOL bUnderline) {
  m_bUnderline = bUnderline;
  ApplyLinkFont();
}

void CTKHyperLink::SetBackColor(COLORREF clrBack) {
  m_clrBack = clrBack;
  Redraw();
}

COLORREF CTKHyperLink::GetBackColor() const {
  return m_clrBack != static_cast<COLORREF>(-1) ? m_clrBack : TKPColorManager()->GetColor(kBackColorIndex);
}

BOOL CTKHyperLink::GotoURL(LPCTSTR lpszURL, int nShowCmd, LPCTSTR lpszParams, LPCTSTR lpszDir) {
  seams::ShellRequest request;
  request.verb = u"open";
  request.target = lpszURL != nullptr ? Text16(lpszURL) : m_strURL.ToUtf16();
  request.parameters = Text16(lpszParams);
  request.directory = Text16(lpszDir);
  request.show = nShowCmd;
  const intptr_t result = seams::Shell().Execute(request);
  if (result > 32) return TRUE;
  ReportError(static_cast<int>(result));
  return FALSE;
}

BOOL CTKHyperLink::IsTextControl() {
  return m_hWnd != nullptr && (GetStyle() & 0xFF) <= SS_RIGHT;
}

BOOL CTKHyperLink::IsCursorOverText() {
  if (!IsTextControl()) return FALSE;
  CString text;
  GetWindowText(text);
  CClientDC dc(nullptr);
  CFont* font = GetFont();
  HGDIOBJ old = font != nullptr ? ::SelectObject(dc.m_hDC, font->m_hObject) : nullptr;
  SIZE extent{};
  ::GetTextExtentPoint32W(dc.m_hDC, text.GetString(), text.GetLength(), &extent);
  if (old != nullptr) ::SelectObject(dc.m_hDC, old);
  CRect window;
  GetWindowRect(window);
  const DWORD align = GetStyle() & 0xFF;
  const tk::LinkAlign how = align == SS_CENTER ? tk::LinkAlign::kCenter
                            : align == SS_RIGHT ? tk::LinkAlign::kRight
                                                : tk::LinkAlign::kLeft;
  const tk::LinkSpan span = tk::LinkTextSpan(how, window.Width(), extent.cx);
  const CRect textRect(window.left + span.left, window.top, window.left + span.right, window.bottom);
  POINT cursor{};
  ::GetCursorPos(&cursor);
  return textRect.PtInRect(cursor);
}

void CTKHyperLink::ReportError(int nError) {
  CString text;
  const unsigned id = tk::LinkErrorStringId(nError);
  TKPResourceManager()->LoadString(&text, id);
  if (id == tk::kLinkErrorUnknown) {
    CString format = text;
    text.Format(format, nError);
  }
  ::MessageBeep(MB_ICONEXCLAMATION);
  AfxMessageBox(text, MB_ICONEXCLAMATION);
}

void CTKHyperLink::InitControl() {
  if (m_hWnd == nullptr) return;
  if (IsTextControl()) {
    if (m_strURL.IsEmpty()) GetWindowText(m_strURL);
    SetURL(m_strURL);
  }
  ModifyStyle(0, SS_NOTIFY);
  ApplyLinkFont();
}

BOOL CTKHyperLink::ApplyLinkFont() {
  if (!CreateLinkFont(m_fontLink, m_bUnderline) || m_hWnd == nullptr) return FALSE;
  SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(m_fontLink.m_hObject), TRUE);
  Redraw();
  return TRUE;
}

BOOL CTKHyperLink::CreateLinkFont(CFont& font, BOOL bUnderline) {
  LOGFONT lf{};
  HFONT current = m_hWnd != nullptr ? reinterpret_cast<HFONT>(SendMessage(WM_GETFONT)) : nullptr;
  if (current == nullptr || ::GetObjectW(current, sizeof lf, &lf) != sizeof lf) {
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    if (!::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0)) return FALSE;
    lf = metrics.lfStatusFont;
  }
  lf.lfUnderline = static_cast<BYTE>(bUnderline ? 1 : 0);
  CFont made;
  if (!made.CreateFontIndirect(&lf)) return FALSE;
  // The control may still use the old font: it is replaced in the control before it is deleted.
  HGDIOBJ previous = font.Detach();
  font.Attach(made.Detach());
  if (previous != nullptr) {
    if (m_hWnd != nullptr && reinterpret_cast<HGDIOBJ>(SendMessage(WM_GETFONT)) == previous) {
      SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(font.m_hObject), FALSE);
    }
    ::DeleteObject(previous);
  }
  return TRUE;
}

BOOL CTKHyperLink::PreTranslateMessage(MSG* pMsg) {
  if (m_toolTip.m_hWnd != nullptr) m_toolTip.RelayEvent(pMsg);
  return CStatic::PreTranslateMessage(pMsg);
}

BOOL CTKHyperLink::PreCreateWindow(CREATESTRUCT& cs) {
  m_bInitOnSubclass = FALSE;
  return CStatic::PreCreateWindow(cs);
}

void CTKHyperLink::PreSubclassWindow() {
  CStatic::PreSubclassWindow();
  if (m_bInitOnSubclass) InitControl();
}

int CTKHyperLink::OnCreate(LPCREATESTRUCT lpCreateStruct) {
  if (CStatic::OnCreate(lpCreateStruct) == -1) return -1;
  InitControl();
  return 0;
}

BOOL CTKHyperLink::OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message) {
  if (m_hcurLink != nullptr && IsCursorOverText()) {
    ::SetCursor(m_hcurLink);
    return TRUE;
  }
  return CStatic::OnSetCursor(pWnd, nHitTest, message);
}

void CTKHyperLink::OnMouseMove(UINT nFlags, CPoint point) {
  if (IsCursorOverText()) SetTimer(kHoverTimer, kHoverStep);
  CStatic::OnMouseMove(nFlags, point);
}

void CTKHyperLink::OnTimer(UINT_PTR nIDEvent) {
  if (nIDEvent != kHoverTimer) {
    CStatic::OnTimer(nIDEvent);
    return;
  }
  // Hover only while the cursor is over the text: no one-step flash once it has left.
  if (IsCursorOverText()) {
    m_bHover = TRUE;
  } else {
    KillTimer(kHoverTimer);
    m_bHover = FALSE;
  }
  Redraw();
}

BOOL CTKHyperLink::OnEraseBkgnd(CDC*) { return TRUE; }

void CTKHyperLink::OnPaint() {
  if (GetExStyle() & WS_EX_TRANSPARENT) {
    Default();
    return;
  }
  CPaintDC dc(this);
  CRect client;
  GetClientRect(client);
  CTKMemDC memory(&dc, client, CTKPColorGradient(GetBackColor()));
  // The static's own painting into the memory DC; through our message map it would come back here.
  DefWindowProc(WM_PAINT, reinterpret_cast<WPARAM>(memory.m_hDC), 0);
}

void CTKHyperLink::OnWindowPosChanged(WINDOWPOS* lpwndpos) {
  CStatic::OnWindowPosChanged(lpwndpos);
  Redraw();
}

LRESULT CTKHyperLink::OnNcHitTest(CPoint) { return HTCLIENT; }

HBRUSH CTKHyperLink::CtlColor(CDC* pDC, UINT) {
  if (!IsTextControl()) return nullptr;
  pDC->SetTextColor(tk::LinkTextColor({m_clrLink, m_clrVisited, m_clrHover}, m_bHover, m_bVisited));
  pDC->SetBkMode(TRANSPARENT);
  return static_cast<HBRUSH>(::GetStockObject(NULL_BRUSH));
}

BOOL CTKHyperLink::OnClicked() {
  if (IsCursorOverText()) m_bVisited = GotoURL(nullptr, SW_SHOW);
  if (m_toolTip.m_hWnd != nullptr) m_toolTip.Pop();
  return IsTextControl() ? FALSE : TRUE;
}
