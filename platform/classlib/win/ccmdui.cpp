#include "platform/classlib/win/ccmdui.h"

#include "platform/classlib/win/cmenu.h"
#include "platform/classlib/win/cwnd.h"

namespace {
bool IsButton(HWND hWnd) { return (::SendMessageW(hWnd, WM_GETDLGCODE, 0, 0) & DLGC_BUTTON) != 0; }
}  // namespace

void CCmdUI::Enable(BOOL bOn) {
  if (m_pMenu != nullptr) {
    if (m_pSubMenu == nullptr) {
      ::EnableMenuItem(m_pMenu->m_hMenu, m_nIndex, MF_BYPOSITION | (bOn ? MF_ENABLED : MF_GRAYED));
    }
  } else if (m_pOther != nullptr) {
    HWND hWnd = m_pOther->m_hWnd;
    // The focus must not stay in a window that is being disabled: it moves on to the next item.
    if (!bOn && ::GetFocus() == hWnd) {
      HWND hWndParent = ::GetParent(hWnd);
      ::SendMessageW(hWndParent, WM_NEXTDLGCTL, 0, FALSE);
    }
    ::EnableWindow(hWnd, bOn);
  }
  m_bEnableChanged = TRUE;
}

void CCmdUI::SetCheck(int nCheck) {
  if (m_pMenu != nullptr) {
    if (m_pSubMenu == nullptr) {
      ::CheckMenuItem(m_pMenu->m_hMenu, m_nIndex, MF_BYPOSITION | (nCheck ? MF_CHECKED : MF_UNCHECKED));
    }
  } else if (m_pOther != nullptr && IsButton(m_pOther->m_hWnd)) {
    ::SendMessageW(m_pOther->m_hWnd, BM_SETCHECK, static_cast<WPARAM>(nCheck), 0);
  }
}

void CCmdUI::SetRadio(BOOL bOn) {
  if (m_pMenu != nullptr && m_pSubMenu == nullptr) {
    if (bOn) {
      ::CheckMenuRadioItem(m_pMenu->m_hMenu, m_nIndex, m_nIndex, m_nIndex, MF_BYPOSITION);
    } else {
      ::CheckMenuItem(m_pMenu->m_hMenu, m_nIndex, MF_BYPOSITION | MF_UNCHECKED);
    }
    return;
  }
  SetCheck(bOn ? 1 : 0);
}

void CCmdUI::SetText(LPCTSTR lpszText) {
  if (lpszText == nullptr) lpszText = _T("");
  if (m_pMenu != nullptr) {
    if (m_pSubMenu != nullptr) return;
    UINT state = ::GetMenuState(m_pMenu->m_hMenu, m_nIndex, MF_BYPOSITION);
    state &= ~(MF_BITMAP | MF_OWNERDRAW | MF_SEPARATOR | MF_POPUP | MF_HILITE | MF_DEFAULT | MF_SYSMENU |
               MF_HELP);
    ::ModifyMenuW(m_pMenu->m_hMenu, m_nIndex, MF_BYPOSITION | MF_STRING | state, m_nID, lpszText);
  } else if (m_pOther != nullptr) {
    // Only a change is written: setting the same text again would make the control flicker.
    CString current;
    m_pOther->GetWindowText(current);
    if (current != lpszText) m_pOther->SetWindowText(lpszText);
  }
}

BOOL CCmdUI::DoUpdate(CCmdTarget* pTarget, BOOL bDisableIfNoHandler) {
  if (m_nID == 0 || LOWORD(m_nID) == 0xFFFF || pTarget == nullptr) return FALSE;  // separators, statics
  m_bEnableChanged = FALSE;
  BOOL handled = pTarget->OnCmdMsg(m_nID, CN_UPDATE_COMMAND_UI, this, nullptr);
  // An update handler that did not enable or disable leaves that to whether a command handler exists.
  if (bDisableIfNoHandler && !m_bEnableChanged) {
    AFX_CMDHANDLERINFO info{};
    Enable(pTarget->OnCmdMsg(m_nID, CN_COMMAND, this, &info));
  }
  return handled;
}
