// What a screen reader learns of a control: its name (caption without mnemonics, then its shortcut),
// description, role, state and place, and what selecting or using it does.
#include "platform/classlib/win/cwnd.h"
#include "toolkit/commandbars/bars/tkp_command_bar.h"
#include "toolkit/commandbars/controls/tkp_control.h"
#include "toolkit/common/text_mnemonics.h"

namespace {

// Only the control itself (child 0) is asked about.
bool IsSelf(const VARIANT& child) { return CTKPAccessible::GetChildIndex(&child) == CHILDID_SELF; }

}  // namespace

HRESULT CTKPControl::AccGetParent(IDispatch** ppdispParent) {
  if (ppdispParent == nullptr) return E_INVALIDARG;
  *ppdispParent = nullptr;
  if (m_pParent == nullptr || m_pParent->GetSafeHwnd() == nullptr) return S_FALSE;
  return AccessibleObjectFromWindow(m_pParent->GetSafeHwnd(), static_cast<DWORD>(OBJID_CLIENT), IID_IDispatch,
                                    reinterpret_cast<void**>(ppdispParent));
}

HRESULT CTKPControl::AccGetChildCount(long* pcountChildren) {
  if (pcountChildren == nullptr) return E_INVALIDARG;
  *pcountChildren = 0;
  return S_OK;
}

HRESULT CTKPControl::AccGetName(VARIANT varChild, BSTR* pszName) {
  if (pszName == nullptr || !IsSelf(varChild)) return E_INVALIDARG;
  CString name = StripMnemonics(GetCaption());
  const CString shortcut = GetShortcutText();
  if (!shortcut.IsEmpty()) name += _T("\t") + shortcut;
  return TKPReturnAccText(name, pszName);
}

HRESULT CTKPControl::AccGetDescription(VARIANT varChild, BSTR* pszDescription) {
  if (pszDescription == nullptr || !IsSelf(varChild)) return E_INVALIDARG;
  return TKPReturnAccText(GetDescription(), pszDescription);
}

HRESULT CTKPControl::AccGetRole(VARIANT varChild, VARIANT* pvarRole) {
  if (pvarRole == nullptr || !IsSelf(varChild)) return E_INVALIDARG;
  ::VariantInit(pvarRole);
  pvarRole->vt = VT_I4;
  pvarRole->lVal = ROLE_SYSTEM_MENUITEM;
  if (m_pParent != nullptr && m_pParent->GetType() == tkpBarTypeNormal) {
    pvarRole->lVal = GetCommandBar() != nullptr ? ROLE_SYSTEM_BUTTONMENU : ROLE_SYSTEM_PUSHBUTTON;
  }
  return S_OK;
}

HRESULT CTKPControl::AccGetState(VARIANT varChild, VARIANT* pvarState) {
  if (pvarState == nullptr || !IsSelf(varChild)) return E_INVALIDARG;
  long state = STATE_SYSTEM_FOCUSABLE;
  if (m_bSelected != 0) state |= STATE_SYSTEM_SELECTED | STATE_SYSTEM_FOCUSED | STATE_SYSTEM_HOTTRACKED;
  const bool parentShown = m_pParent != nullptr && m_pParent->GetSafeHwnd() != nullptr &&
                           ::IsWindowVisible(m_pParent->GetSafeHwnd());
  if (!parentShown || m_dwHideFlags != 0) state |= STATE_SYSTEM_INVISIBLE;
  if (!m_bEnabled) state |= STATE_SYSTEM_UNAVAILABLE;
  if (m_bChecked) state |= STATE_SYSTEM_CHECKED;
  if (m_bPressed) state |= STATE_SYSTEM_PRESSED;
  if (GetCommandBar() != nullptr) state |= STATE_SYSTEM_HASPOPUP;
  ::VariantInit(pvarState);
  pvarState->vt = VT_I4;
  pvarState->lVal = state;
  return S_OK;
}

HRESULT CTKPControl::AccLocation(long* pxLeft, long* pyTop, long* pcxWidth, long* pcyHeight, VARIANT varChild) {
  if (pxLeft == nullptr || pyTop == nullptr || pcxWidth == nullptr || pcyHeight == nullptr || !IsSelf(varChild)) {
    return E_INVALIDARG;
  }
  *pxLeft = *pyTop = *pcxWidth = *pcyHeight = 0;
  if (m_pParent == nullptr || m_pParent->GetSafeHwnd() == nullptr) return S_OK;
  POINT topLeft = {m_rcControl.left, m_rcControl.top};
  ::ClientToScreen(m_pParent->GetSafeHwnd(), &topLeft);
  *pxLeft = topLeft.x;
  *pyTop = topLeft.y;
  *pcxWidth = m_rcControl.Width();
  *pcyHeight = m_rcControl.Height();
  return S_OK;
}

HRESULT CTKPControl::AccHitTest(long xLeft, long yTop, VARIANT* pvarChild) {
  if (pvarChild == nullptr) return E_INVALIDARG;
  ::VariantInit(pvarChild);
  if (m_pParent == nullptr || m_pParent->GetSafeHwnd() == nullptr) return S_FALSE;
  POINT point = {xLeft, yTop};
  ::ScreenToClient(m_pParent->GetSafeHwnd(), &point);
  if (!m_rcControl.PtInRect(CPoint(point.x, point.y))) return S_FALSE;
  pvarChild->vt = VT_I4;
  pvarChild->lVal = CHILDID_SELF;
  return S_OK;
}

HRESULT CTKPControl::AccSelect(long /*flagsSelect*/, VARIANT varChild) {
  if (!IsSelf(varChild)) return E_INVALIDARG;
  if (m_pParent == nullptr) return S_FALSE;
  m_pParent->SetTrackingMode(1, FALSE, TRUE);
  m_pParent->SetSelected(m_nIndex, TRUE);
  return S_OK;
}

HRESULT CTKPControl::AccDoDefaultAction(VARIANT varChild) {
  if (!IsSelf(varChild)) return E_INVALIDARG;
  OnClick(TRUE);
  return S_OK;
}
