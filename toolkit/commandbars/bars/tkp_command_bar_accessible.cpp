#include "toolkit/commandbars/bars/tkp_command_bar_accessible.h"

#include "toolkit/commandbars/bars/tkp_command_bar.h"
#include "toolkit/commandbars/controls/tkp_control.h"
#include "toolkit/commandbars/controls/tkp_control_popup.h"
#include "toolkit/commandbars/bars/tkp_popup_bar.h"
#include "toolkit/commandbars/state/tkp_shortcut_manager.h"
#include "toolkit/commandbars/frame/tkp_command_bars.h"
#include "toolkit/common/text_mnemonics.h"

namespace {

void SetI4(VARIANT* out, long value) {
  ::VariantInit(out);
  out->vt = VT_I4;
  out->lVal = value;
}

}  // namespace

long CTKPCommandBarAccessible::Child(const VARIANT& child) const {
  const long index = GetChildIndex(&child);
  return m_pBar != nullptr && index >= 0 && index <= m_pBar->GetControlCount() ? index : -1;
}

HRESULT CTKPCommandBarAccessible::AccGetParent(IDispatch** ppdispParent) {
  if (ppdispParent == nullptr) return E_INVALIDARG;
  *ppdispParent = nullptr;
  if (m_pBar == nullptr) return E_FAIL;
  // A popup belongs to the control that opened it.
  if (m_pBar->IsKindOf(RUNTIME_CLASS(CTKPPopupBar))) {
    if (CTKPControlPopup* opener = static_cast<CTKPPopupBar*>(m_pBar)->GetControlPopup()) {
      IAccessible* control = opener;
      control->AddRef();
      *ppdispParent = control;
      return S_OK;
    }
  }
  if (m_pBar->m_hWnd == nullptr) return E_FAIL;
  HWND parent = ::GetParent(m_pBar->m_hWnd);
  if (parent == nullptr) return E_FAIL;
  return AccessibleObjectFromWindow(parent, static_cast<DWORD>(OBJID_WINDOW), IID_IAccessible,
                                    reinterpret_cast<void**>(ppdispParent));
}

HRESULT CTKPCommandBarAccessible::AccGetChildCount(long* pcountChildren) {
  if (pcountChildren == nullptr) return E_INVALIDARG;
  if (m_pBar == nullptr) return E_FAIL;
  *pcountChildren = m_pBar->GetControlCount();
  return S_OK;
}

HRESULT CTKPCommandBarAccessible::AccGetChild(VARIANT varChild, IDispatch** ppdispChild) {
  if (ppdispChild == nullptr) return E_INVALIDARG;
  *ppdispChild = nullptr;
  const long index = Child(varChild);
  if (index <= 0) return E_INVALIDARG;
  IAccessible* control = m_pBar->GetControl(static_cast<int>(index - 1));
  control->AddRef();
  *ppdispChild = control;
  return S_OK;
}

HRESULT CTKPCommandBarAccessible::AccGetName(VARIANT varChild, BSTR* pszName) {
  const long index = Child(varChild);
  if (pszName == nullptr || index < 0) return E_INVALIDARG;
  if (index == CHILDID_SELF) return TKPReturnAccText(m_pBar->GetTitle(), pszName);
  CTKPControl* control = m_pBar->GetControl(static_cast<int>(index - 1));
  CString name = StripMnemonics(control->GetCaption());
  CString shortcut = control->GetShortcutText();
  CTKPCommandBars* bars = m_pBar->GetCommandBars();
  if (bars != nullptr && control->GetID() > 0) bars->GetShortcutManager()->GetMenuShortcut(control->GetID(), shortcut);
  if (!shortcut.IsEmpty()) name += _T("\t") + shortcut;
  return TKPReturnAccText(name, pszName);
}

HRESULT CTKPCommandBarAccessible::AccGetRole(VARIANT varChild, VARIANT* pvarRole) {
  const long index = Child(varChild);
  if (pvarRole == nullptr || index < 0) return E_INVALIDARG;
  if (index != CHILDID_SELF) {
    SetI4(pvarRole, ROLE_SYSTEM_MENUITEM);
    return S_OK;
  }
  const int type = m_pBar->GetType();
  SetI4(pvarRole, type == tkpBarTypeMenuBar ? ROLE_SYSTEM_MENUBAR
                  : type == tkpBarTypePopup ? ROLE_SYSTEM_MENUPOPUP
                                             : ROLE_SYSTEM_TOOLBAR);
  return S_OK;
}

HRESULT CTKPCommandBarAccessible::AccGetState(VARIANT varChild, VARIANT* pvarState) {
  const long index = Child(varChild);
  if (pvarState == nullptr || index < 0) return E_INVALIDARG;
  long state = 0;
  if (m_pBar->m_hWnd == nullptr || !m_pBar->IsWindowVisible()) state |= STATE_SYSTEM_INVISIBLE;
  if (index != CHILDID_SELF) {
    if (!m_pBar->GetControl(static_cast<int>(index - 1))->IsVisible()) state |= STATE_SYSTEM_INVISIBLE;
    state |= STATE_SYSTEM_FOCUSABLE | STATE_SYSTEM_SELECTABLE;
    if (m_pBar->GetSelected() == index - 1) state |= STATE_SYSTEM_FOCUSED | STATE_SYSTEM_HOTTRACKED | STATE_SYSTEM_SELECTED;
  }
  SetI4(pvarState, state);
  return S_OK;
}

HRESULT CTKPCommandBarAccessible::AccLocation(long* pxLeft, long* pyTop, long* pcxWidth, long* pcyHeight,
                                              VARIANT varChild) {
  const long index = Child(varChild);
  if (pxLeft == nullptr || pyTop == nullptr || pcxWidth == nullptr || pcyHeight == nullptr || index < 0) {
    return E_INVALIDARG;
  }
  if (m_pBar->m_hWnd == nullptr) return E_FAIL;
  RECT window{};
  m_pBar->GetWindowRect(&window);
  RECT rc = window;
  if (index != CHILDID_SELF) {
    const CRect control = m_pBar->GetControl(static_cast<int>(index - 1))->GetRect();
    POINT origin{0, 0};
    ::ClientToScreen(m_pBar->m_hWnd, &origin);
    rc = RECT{control.left + origin.x, control.top + origin.y, control.right + origin.x, control.bottom + origin.y};
  }
  *pxLeft = rc.left;
  *pyTop = rc.top;
  *pcxWidth = rc.right - rc.left;
  *pcyHeight = rc.bottom - rc.top;
  return S_OK;
}

HRESULT CTKPCommandBarAccessible::AccHitTest(long xLeft, long yTop, VARIANT* pvarChild) {
  if (pvarChild == nullptr) return E_INVALIDARG;
  ::VariantInit(pvarChild);
  if (m_pBar == nullptr || m_pBar->m_hWnd == nullptr) return E_FAIL;
  RECT window{};
  m_pBar->GetWindowRect(&window);
  const POINT screen{xLeft, yTop};
  if (!::PtInRect(&window, screen)) return S_FALSE;
  POINT client = screen;
  ::ScreenToClient(m_pBar->m_hWnd, &client);
  for (int i = 0; i < m_pBar->GetControlCount(); ++i) {
    CTKPControl* control = m_pBar->GetControl(i);
    if (control->IsVisible() && control->GetRect().PtInRect(CPoint(client.x, client.y))) {
      IAccessible* dispatch = control;
      dispatch->AddRef();
      pvarChild->vt = VT_DISPATCH;
      pvarChild->pdispVal = dispatch;
      return S_OK;
    }
  }
  SetI4(pvarChild, CHILDID_SELF);
  return S_OK;
}

LRESULT TKPCommandBarGetObject(CTKPCommandBar* pBar, CTKPCommandBarAccessible*& pAccessible, WPARAM wParam,
                               LPARAM lParam) {
  const auto id = static_cast<LONG>(lParam);
  if (id != OBJID_CLIENT && id != OBJID_MENU) return ::DefWindowProcW(pBar->m_hWnd, WM_GETOBJECT, wParam, lParam);
  if (pAccessible == nullptr) pAccessible = new CTKPCommandBarAccessible(pBar);
  return CTKPAccessible::LresultFromObject(IID_IAccessible, wParam, static_cast<IAccessible*>(pAccessible));
}

LRESULT CTKPCommandBar::OnGetObject(WPARAM wParam, LPARAM lParam) {
  return TKPCommandBarGetObject(this, m_pAccessible, wParam, lParam);
}
