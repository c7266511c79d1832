#include "toolkit/commandbars/controls/tkp_control_toolbars_list.h"

#include "toolkit/commandbars/bars/tkp_command_bar.h"
#include "toolkit/commandbars/frame/tkp_command_bars.h"
#include "toolkit/commandbars/controls/tkp_controls.h"
#include "toolkit/common/tkp_mouse_manager.h"

IMPLEMENT_SERIAL(CTKPControlToolbars, CTKPControlButton, 1)
IMPLEMENT_SERIAL(CTKPControlToolbarItem, CTKPControlButton, 1)

void CTKPControlToolbars::OnCalcDynamicSize(DWORD) {
  CTKPControls* controls = m_pControls;
  if (controls == nullptr) return;
  // The items of the last layout go first.
  for (CTKPControl* next = controls->GetAt(m_nIndex + 1);
       next != nullptr && next->GetParameter() == TKP_TOOLBAR_ITEM_PARAMETER; next = controls->GetAt(m_nIndex + 1)) {
    controls->Remove(next);
  }
  if (IsCustomizeMode()) {
    SetHideFlags(tkpNoHide);
    return;
  }
  SetHideFlags(GetHideFlags() | tkpHideGeneric);
  CTKPCommandBars* bars = controls->GetCommandBars();
  if (bars == nullptr) return;
  int insertAt = m_nIndex + 1;
  for (int i = 0; i < bars->GetCount(); ++i) {
    CTKPCommandBar* bar = bars->GetAt(i);
    if (bar->GetType() != tkpBarTypeNormal || !bar->m_bContextMenuPresent || !bar->m_bCloseable) continue;
    auto* item = new CTKPControlToolbarItem;
    item->SetToolbarIndex(i);
    controls->Add(item, m_nId, CString(TKP_TOOLBAR_ITEM_PARAMETER), insertAt++, TRUE);
    item->SetCaption(bar->GetTitle());
    item->SetChecked(bar->IsVisible());
    item->SetFlags(item->GetFlags() | tkpFlagManualUpdate);
  }
}

void CTKPControlToolbarItem::Copy(CTKPControl* pSource, BOOL bRecursive) {
  CTKPControlButton::Copy(pSource, bRecursive);
  if (pSource != nullptr && pSource->IsKindOf(RUNTIME_CLASS(CTKPControlToolbarItem))) {
    m_nToolbarIndex = static_cast<CTKPControlToolbarItem*>(pSource)->m_nToolbarIndex;
  }
}

void CTKPControlToolbarItem::OnExecute() {
  CTKPCommandBars* bars = m_pParent != nullptr ? m_pParent->GetCommandBars() : nullptr;
  const int index = m_nToolbarIndex;
  TKPMouseManager()->SendTrackLost();  // the menus close; this item may go with them
  if (bars != nullptr) bars->ToggleVisible(index);
}
