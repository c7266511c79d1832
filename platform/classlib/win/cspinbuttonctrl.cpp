// CSpinButtonCtrl: the up-down control's messages.
#include "platform/classlib/win/cspinbuttonctrl.h"

#include "platform/classlib/win/controlsupport.h"

IMPLEMENT_DYNAMIC(CSpinButtonCtrl, CWnd)

BOOL CSpinButtonCtrl::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID) {
  return AfxCreateControl(this, ICC_UPDOWN_CLASS, UPDOWN_CLASSW, 0, dwStyle, rect, pParentWnd, nID);
}

void CSpinButtonCtrl::SetRange(short nLower, short nUpper) { SendMessage(UDM_SETRANGE, 0, MAKELPARAM(nUpper, nLower)); }
void CSpinButtonCtrl::SetRange32(int nLower, int nUpper) {
  SendMessage(UDM_SETRANGE32, static_cast<WPARAM>(nLower), nUpper);
}
DWORD CSpinButtonCtrl::GetRange() const { return static_cast<DWORD>(SendMessage(UDM_GETRANGE)); }
void CSpinButtonCtrl::GetRange(int& lower, int& upper) const {
  SendMessage(UDM_GETRANGE32, reinterpret_cast<WPARAM>(&lower), reinterpret_cast<LPARAM>(&upper));
}
int CSpinButtonCtrl::SetPos(int nPos) { return static_cast<int>(SendMessage(UDM_SETPOS32, 0, nPos)); }
int CSpinButtonCtrl::GetPos() const { return GetPos32(); }
int CSpinButtonCtrl::GetPos32(LPBOOL pbError) const {
  return static_cast<int>(SendMessage(UDM_GETPOS32, 0, reinterpret_cast<LPARAM>(pbError)));
}
CWnd* CSpinButtonCtrl::SetBuddy(CWnd* pWndBuddy) {
  auto previous =
      SendMessage(UDM_SETBUDDY, reinterpret_cast<WPARAM>(pWndBuddy != nullptr ? pWndBuddy->m_hWnd : nullptr));
  return CWnd::FromHandle(reinterpret_cast<HWND>(previous));
}
CWnd* CSpinButtonCtrl::GetBuddy() const { return CWnd::FromHandle(reinterpret_cast<HWND>(SendMessage(UDM_GETBUDDY))); }
int CSpinButtonCtrl::SetBase(int nBase) {
  return static_cast<int>(SendMessage(UDM_SETBASE, static_cast<WPARAM>(nBase)));
}
UINT CSpinButtonCtrl::GetBase() const { return static_cast<UINT>(SendMessage(UDM_GETBASE)); }
BOOL CSpinButtonCtrl::SetAccel(int nAccel, UDACCEL* pAccel) {
  return static_cast<BOOL>(SendMessage(UDM_SETACCEL, static_cast<WPARAM>(nAccel), reinterpret_cast<LPARAM>(pAccel)));
}
UINT CSpinButtonCtrl::GetAccel(int nAccel, UDACCEL* pAccel) const {
  return static_cast<UINT>(SendMessage(UDM_GETACCEL, static_cast<WPARAM>(nAccel), reinterpret_cast<LPARAM>(pAccel)));
}
