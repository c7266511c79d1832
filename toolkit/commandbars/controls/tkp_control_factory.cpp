#include "toolkit/commandbars/controls/tkp_control_factory.h"

#include "platform/classlib/win/cmenu.h"
#include "platform/classlib/win/cwinapp.h"
#include "toolkit/commandbars/controls/tkp_controls.h"
#include "toolkit/commandbars/controls/tkp_control_combo_box.h"
#include "toolkit/commandbars/controls/tkp_control_custom.h"
#include "toolkit/commandbars/controls/tkp_control_edit.h"
#include "toolkit/commandbars/controls/tkp_control_popup.h"
#include "toolkit/commandbars/controls/tkp_control_special_lists.h"
#include "toolkit/commandbars/controls/tkp_control_toolbars_list.h"
#include "toolkit/commandbars/bars/tkp_popup_bar.h"

namespace {

// The owner's bar for the popup when it offers a popup bar, else a new one of the manager; one
// reference for the caller.
CTKPPopupBar* PopupBarFor(CMenu* pMenu, UINT nId, CTKPCommandBars* pCommandBars, CWnd* pOwner) {
  TKP_CREATE_COMMANDBAR create = {nullptr, TRUE, FALSE, FALSE, nullptr, pMenu, nId, FALSE};
  if (pOwner != nullptr && pOwner->GetSafeHwnd() != nullptr) {
    pOwner->SendMessage(TKP_WM_CREATE_COMMANDBAR, 0, reinterpret_cast<LPARAM>(&create));
  }
  CTKPCommandBar* offered = create.pCommandBar;
  if (offered != nullptr && offered->IsKindOf(RUNTIME_CLASS(CTKPPopupBar))) return static_cast<CTKPPopupBar*>(offered);
  if (offered != nullptr) offered->InternalRelease();
  return CTKPPopupBar::CreatePopupBar(pCommandBars);
}

// The first sub-menu of a menu resource loads into the bar; nothing when there is none.
void LoadFirstSubMenu(CTKPCommandBar* pBar, UINT nId, BOOL bRemoveOld) {
  CMenu menu;
  if (nId == 0 || !menu.LoadMenu(nId)) return;
  if (CMenu* sub = menu.GetSubMenu(0)) pBar->LoadMenu(sub, bRemoveOld);
}

}  // namespace

CTKPControl* TKPCreateControl(int nType, int nId, CTKPCommandBars* pCommandBars, CWnd* pOwner) {
  switch (nType) {
    case tkpControlButton:
      switch (nId) {
        case TKP_ID_TOOLBARLIST: return new CTKPControlToolbars;
        case TKP_ID_WINDOWLIST: return new CTKPControlWindowList;
        case TKP_ID_WORKSPACE_ACTIONS: return new CTKPControlWorkspaceActions;
        case TKP_ID_FILE_MRU: return new CTKPControlRecentFileList;
        default: return new CTKPControlButton;
      }
    case tkpControlPopup:
    case tkpControlButtonPopup:
    case tkpControlSplitButtonPopup: {
      CTKPControlPopup* popup = CTKPControlPopup::CreateControlPopup(nType);
      CTKPPopupBar* bar = nId >= 1 ? PopupBarFor(nullptr, static_cast<UINT>(nId), pCommandBars, pOwner)
                                   : CTKPPopupBar::CreatePopupBar(pCommandBars);
      if (nId >= 1) LoadFirstSubMenu(bar, static_cast<UINT>(nId), TRUE);
      popup->SetCommandBar(bar);
      bar->InternalRelease();
      return popup;
    }
    case tkpControlComboBox:
      return new CTKPControlComboBox;
    case tkpControlEdit:
      return new CTKPControlEdit;
    case tkpControlCustom:
      return new CTKPControlCustom;
    case tkpControlLabel:
      return new CTKPControlLabel;
    default: {
      // A type without a class of its own (a stored or sent number): a plain control of that type.
      auto* control = new CTKPControl;
      control->SetType(nType);
      return control;
    }
  }
}

void TKPAttachSubMenu(CTKPControl* pControl, CMenu* pSubMenu, UINT nId, CTKPCommandBars* pCommandBars, CWnd* pOwner) {
  if (pControl == nullptr || !pControl->IsKindOf(RUNTIME_CLASS(CTKPControlPopup))) return;
  CTKPPopupBar* bar = PopupBarFor(pSubMenu, nId, pCommandBars, pOwner);
  // A bar the owner supplied may wait for a redraw: it is drawn afresh with the menu's items.
  bar->m_dwState &= ~static_cast<DWORD>(CTKPCommandBar::stateRedrawPending);
  if (bar->GetSafeHwnd() != nullptr && !bar->IsRedrawLocked()) bar->Invalidate(FALSE);
  if (pSubMenu != nullptr) {
    bar->LoadMenu(pSubMenu, FALSE);
  } else {
    LoadFirstSubMenu(bar, nId, FALSE);
  }
  static_cast<CTKPControlPopup*>(pControl)->SetCommandBar(bar);
  bar->InternalRelease();
}
