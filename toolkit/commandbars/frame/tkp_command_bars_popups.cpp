// The manager's popup menus: a menu tracked as a popup bar, any popup bar tracked at a point, and the
// popup of the toolbar menu.
#include "platform/classlib/win/cmenu.h"
#include "toolkit/commandbars/bars/popup_placement.h"
#include "toolkit/commandbars/frame/tkp_command_bars.h"
#include "toolkit/commandbars/controls/tkp_control_toolbars_list.h"
#include "toolkit/commandbars/controls/tkp_controls.h"
#include "toolkit/commandbars/bars/tkp_popup_bar.h"
#include "toolkit/common/tkp_mouse_manager.h"

UINT CTKPCommandBars::TrackPopupMenu(CMenu* pMenu, UINT nFlags, int x, int y, CWnd* pWnd, LPCRECT rcExclude,
                                     CWnd* pWndOwner, CTKPCommandBars* pCommandBars) {
  if (pMenu == nullptr || pMenu->m_hMenu == nullptr || !::IsMenu(pMenu->m_hMenu)) return 0;
  CTKPPopupBar* popup = CTKPPopupBar::CreatePopupBar(pCommandBars);
  CWnd* owner = pWndOwner != nullptr ? pWndOwner : pWnd;
  popup->SetNotifyWindow(owner);
  popup->SetCommandTarget(owner);
  UINT result = 0;
  if (popup->LoadMenu(pMenu, TRUE)) result = TrackPopupBar(popup, nFlags, x, y, pWnd, rcExclude, pWndOwner);
  popup->InternalRelease();
  return result;
}

UINT CTKPCommandBars::TrackPopupBar(CTKPPopupBar* pPopup, UINT nFlags, int x, int y, CWnd* pWnd,
                                    LPCRECT rcExclude, CWnd* pWndOwner) {
  if (pPopup == nullptr) return 0;
  int chosen = 0;
  const BOOL returnCommand = (nFlags & TPM_RETURNCMD) != 0;
  pPopup->m_pReturnCmd = returnCommand ? &chosen : nullptr;
  pPopup->m_bRightButtonSelects = (nFlags & TPM_RIGHTBUTTON) != 0;
  pPopup->m_bNoControlUpdate = (nFlags & TPM_NONOTIFY) != 0;
  pPopup->m_bRecursePopup = (nFlags & TPM_RECURSE) != 0;
  pPopup->SetPopupFlags((nFlags & TPM_RIGHTALIGN) != 0 ? (kTKPPopupDropDown | kTKPPopupLeft) : kTKPPopupDropDown);
  if (pPopup->GetCommandBars() == nullptr) {
    CWnd* owner = pWndOwner != nullptr ? pWndOwner : pWnd;
    if (owner != nullptr) {
      pPopup->SetNotifyWindow(owner);
      pPopup->SetCommandTarget(owner);
    }
  }

  CTKPMouseManager* mouse = TKPMouseManager();
  const BOOL recurse = pPopup->m_bRecursePopup;
  if (recurse) {
    mouse->SendTrackLostRecurse();
    mouse->LockTrackRecurse(TRUE);
  } else {
    mouse->SendTrackLost();
    ::ReleaseCapture();
  }
  // The release of the click that opened the menu chooses nothing.
  mouse->m_bSwallowButtonUp = TRUE;
  pPopup->InternalAddRef();  // the popup outlives a command that releases its holder
  UINT result = 0;
  if (pPopup->Popup(x, y, rcExclude)) {
    // WM_QUIT ends the menu and goes back to the queue.
    if (!PumpTrackingLoop(pPopup) && pPopup->IsTrackingMode()) pPopup->SetTrackingMode(0);
    result = returnCommand ? static_cast<UINT>(chosen) : 1;
  }
  if (recurse) mouse->LockTrackRecurse(FALSE);
  pPopup->m_pReturnCmd = nullptr;
  pPopup->InternalRelease();
  return result;
}

CTKPPopupBar* CTKPCommandBars::GetToolbarsPopup() {
  CTKPPopupBar* popup = CTKPPopupBar::CreatePopupBar(this);
  popup->GetControls()->Add(new CTKPControlToolbars, TKP_ID_TOOLBARLIST);
  if (m_bCustomizeAvail) {
    CTKPControl* customize = popup->GetControls()->Add(tkpControlButton, TKP_ID_CUSTOMIZE);
    customize->SetCaption(CString(_T("&Customize...")));
    customize->SetBeginGroup(TRUE);
  }
  return popup;
}

// The toolbar menu: the site may change the popup first (0x285C); an empty popup does not open.
void CTKPCommandBars::ContextMenu(CTKPCommandBar* pBar, CPoint pt) {
  if (m_bCustomizeMode) return;
  CTKPPopupBar* popup = GetToolbarsPopup();
  if (m_pFrame != nullptr && m_pFrame->GetSafeHwnd() != nullptr) {
    m_pFrame->SendMessage(TKP_WM_TOOLBARCONTEXTMENU, reinterpret_cast<WPARAM>(pBar), reinterpret_cast<LPARAM>(popup));
  }
  if (popup->GetControlCount() > 0) {
    ClosePopups();
    if (popup->Popup(pt.x, pt.y, nullptr)) {
      // WM_QUIT ends the menu and goes back to the queue.
      if (!PumpTrackingLoop(popup) && popup->IsTrackingMode()) popup->SetTrackingMode(0);
    }
  }
  popup->InternalRelease();
}
