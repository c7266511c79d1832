// CToolTipCtrl: the tooltip control's messages.
#include "platform/classlib/win/ctooltipctrl.h"

IMPLEMENT_DYNAMIC(CToolTipCtrl, CWnd)

namespace {
LPARAM Info(const TOOLINFO* ti) { return reinterpret_cast<LPARAM>(ti); }
}  // namespace

BOOL CToolTipCtrl::Create(CWnd* pParentWnd, DWORD dwStyle) {
  AfxInitCommonControls(ICC_WIN95_CLASSES);
  return CreateEx(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP | dwStyle, CW_USEDEFAULT,
                  CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, pParentWnd != nullptr ? pParentWnd->m_hWnd : nullptr,
                  nullptr);
}

// ---- tools ----------------------------------------------------------------------------------------

void CToolTipCtrl::FillInToolInfo(TOOLINFO& ti, CWnd* pWnd, UINT_PTR nIDTool) const {
  ti = TOOLINFO{};
  // The size before the reserved field: the tooltips of every common-controls version take it.
  ti.cbSize = TTTOOLINFOW_V2_SIZE;
  HWND hWnd = pWnd != nullptr ? pWnd->m_hWnd : nullptr;
  if (nIDTool == 0) {
    ti.hwnd = ::GetParent(hWnd);
    ti.uFlags = TTF_IDISHWND;
    ti.uId = reinterpret_cast<UINT_PTR>(hWnd);
  } else {
    ti.hwnd = hWnd;
    ti.uId = nIDTool;
  }
}

BOOL CToolTipCtrl::AddTool(CWnd* pWnd, LPCTSTR lpszText, LPCRECT lpRectTool, UINT_PTR nIDTool) {
  TOOLINFO ti;
  FillInToolInfo(ti, pWnd, nIDTool);
  if (lpRectTool != nullptr) {
    ti.rect = *lpRectTool;
  } else if (nIDTool != 0) {
    ::GetClientRect(ti.hwnd, &ti.rect);
  }
  ti.lpszText = const_cast<LPTSTR>(lpszText);
  return static_cast<BOOL>(SendMessage(TTM_ADDTOOLW, 0, Info(&ti)));
}
BOOL CToolTipCtrl::AddTool(CWnd* pWnd, UINT nIDText, LPCRECT lpRectTool, UINT_PTR nIDTool) {
  CString text;
  text.LoadString(nIDText);
  return AddTool(pWnd, text, lpRectTool, nIDTool);
}
void CToolTipCtrl::DelTool(CWnd* pWnd, UINT_PTR nIDTool) {
  TOOLINFO ti;
  FillInToolInfo(ti, pWnd, nIDTool);
  SendMessage(TTM_DELTOOLW, 0, Info(&ti));
}
int CToolTipCtrl::GetToolCount() const { return static_cast<int>(SendMessage(TTM_GETTOOLCOUNT)); }
BOOL CToolTipCtrl::GetToolInfo(TOOLINFO& toolInfo, CWnd* pWnd, UINT_PTR nIDTool) const {
  FillInToolInfo(toolInfo, pWnd, nIDTool);
  return static_cast<BOOL>(SendMessage(TTM_GETTOOLINFOW, 0, Info(&toolInfo)));
}
void CToolTipCtrl::SetToolInfo(LPTOOLINFO lpToolInfo) { SendMessage(TTM_SETTOOLINFOW, 0, Info(lpToolInfo)); }
void CToolTipCtrl::SetToolRect(CWnd* pWnd, UINT_PTR nIDTool, LPCRECT lpRect) {
  TOOLINFO ti;
  FillInToolInfo(ti, pWnd, nIDTool);
  ti.rect = *lpRect;
  SendMessage(TTM_NEWTOOLRECTW, 0, Info(&ti));
}
void CToolTipCtrl::GetText(CString& str, CWnd* pWnd, UINT_PTR nIDTool) const {
  constexpr int kMaxText = 1024;
  TOOLINFO ti;
  FillInToolInfo(ti, pWnd, nIDTool);
  ti.lpszText = str.GetBuffer(kMaxText);
  ti.lpszText[0] = 0;
  SendMessage(TTM_GETTEXTW, kMaxText, Info(&ti));
  str.ReleaseBuffer();
}
void CToolTipCtrl::UpdateTipText(LPCTSTR lpszText, CWnd* pWnd, UINT_PTR nIDTool) {
  TOOLINFO ti;
  FillInToolInfo(ti, pWnd, nIDTool);
  ti.lpszText = const_cast<LPTSTR>(lpszText);
  SendMessage(TTM_UPDATETIPTEXTW, 0, Info(&ti));
}
void CToolTipCtrl::UpdateTipText(UINT nIDText, CWnd* pWnd, UINT_PTR nIDTool) {
  CString text;
  text.LoadString(nIDText);
  UpdateTipText(text, pWnd, nIDTool);
}
BOOL CToolTipCtrl::HitTest(CWnd* pWnd, CPoint pt, LPTOOLINFO lpToolInfo) const {
  TTHITTESTINFOW hit{};
  hit.hwnd = pWnd != nullptr ? pWnd->m_hWnd : nullptr;
  hit.pt = POINT{pt.x, pt.y};
  hit.ti.cbSize = TTTOOLINFOW_V2_SIZE;
  if (!SendMessage(TTM_HITTESTW, 0, reinterpret_cast<LPARAM>(&hit))) return FALSE;
  if (lpToolInfo != nullptr) *lpToolInfo = hit.ti;
  return TRUE;
}

// ---- showing --------------------------------------------------------------------------------------

void CToolTipCtrl::Activate(BOOL bActivate) { SendMessage(TTM_ACTIVATE, static_cast<WPARAM>(bActivate)); }
void CToolTipCtrl::RelayEvent(LPMSG lpMsg) { SendMessage(TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(lpMsg)); }
void CToolTipCtrl::Pop() { SendMessage(TTM_POP); }
void CToolTipCtrl::Update() { SendMessage(TTM_UPDATE); }
void CToolTipCtrl::SetDelayTime(UINT nDelay) {
  SendMessage(TTM_SETDELAYTIME, TTDT_AUTOMATIC, static_cast<LPARAM>(nDelay));
}
void CToolTipCtrl::SetDelayTime(DWORD dwDuration, int iTime) {
  SendMessage(TTM_SETDELAYTIME, dwDuration, MAKELPARAM(iTime, 0));
}
int CToolTipCtrl::GetDelayTime(DWORD dwDuration) const {
  return static_cast<int>(SendMessage(TTM_GETDELAYTIME, dwDuration));
}
int CToolTipCtrl::SetMaxTipWidth(int iWidth) { return static_cast<int>(SendMessage(TTM_SETMAXTIPWIDTH, 0, iWidth)); }
int CToolTipCtrl::GetMaxTipWidth() const { return static_cast<int>(SendMessage(TTM_GETMAXTIPWIDTH)); }
void CToolTipCtrl::SetTipBkColor(COLORREF clr) { SendMessage(TTM_SETTIPBKCOLOR, clr); }
COLORREF CToolTipCtrl::GetTipBkColor() const { return static_cast<COLORREF>(SendMessage(TTM_GETTIPBKCOLOR)); }
void CToolTipCtrl::SetTipTextColor(COLORREF clr) { SendMessage(TTM_SETTIPTEXTCOLOR, clr); }
COLORREF CToolTipCtrl::GetTipTextColor() const { return static_cast<COLORREF>(SendMessage(TTM_GETTIPTEXTCOLOR)); }
void CToolTipCtrl::SetMargin(LPRECT lprc) { SendMessage(TTM_SETMARGIN, 0, reinterpret_cast<LPARAM>(lprc)); }
void CToolTipCtrl::GetMargin(LPRECT lprc) const { SendMessage(TTM_GETMARGIN, 0, reinterpret_cast<LPARAM>(lprc)); }
BOOL CToolTipCtrl::SetTitle(UINT uIcon, LPCTSTR lpstrTitle) {
  return static_cast<BOOL>(SendMessage(TTM_SETTITLEW, uIcon, reinterpret_cast<LPARAM>(lpstrTitle)));
}
void CToolTipCtrl::TrackActivate(BOOL bActivate, LPTOOLINFO lpToolInfo) {
  SendMessage(TTM_TRACKACTIVATE, static_cast<WPARAM>(bActivate), Info(lpToolInfo));
}
void CToolTipCtrl::TrackPosition(int xPos, int yPos) { SendMessage(TTM_TRACKPOSITION, 0, MAKELPARAM(xPos, yPos)); }
