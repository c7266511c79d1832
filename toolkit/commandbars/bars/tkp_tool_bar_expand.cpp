// The toolbar's expand button: a popup toolbar of the controls the row layout hid, and "Add or Remove
// Buttons" with one entry for each bar of the row; the manager fills both.
#include "toolkit/commandbars/bars/tkp_tool_bar_expand.h"

#include <vector>

#include "toolkit/commandbars/frame/tkp_command_bars.h"
#include "toolkit/commandbars/controls/tkp_controls.h"
#include "toolkit/commandbars/bars/tkp_dock_bar.h"
#include "toolkit/commandbars/bars/tkp_popup_bar.h"
#include "toolkit/commandbars/bars/tkp_tool_bar.h"

IMPLEMENT_SERIAL(CTKPToolBarExpandButton, CTKPControlPopup, 1)

namespace {

// The bars that share pBar's row (pBar alone when it does not sit in a dock bar).
std::vector<CTKPToolBar*> RowOf(CTKPToolBar* pBar) {
  std::vector<CTKPToolBar*> bars;
  if (CTKPDockBar* dock = pBar->GetDockBar()) dock->GetVisibleBarsInRow(dock->FindBar(pBar), bars);
  if (bars.empty()) bars.push_back(pBar);
  return bars;
}

}  // namespace

CTKPToolBarExpandButton::CTKPToolBarExpandButton() {
  m_controlType = TKP_CONTROL_TYPE_EXPAND;
  m_dwFlags |= tkpFlagNoMovable;
}

BOOL CTKPToolBarExpandButton::OnSetPopup(BOOL bPopup) {
  if (!bPopup) return CTKPControlPopup::OnSetPopup(FALSE);
  auto* bar = m_pParent != nullptr && m_pParent->IsKindOf(RUNTIME_CLASS(CTKPToolBar))
                  ? static_cast<CTKPToolBar*>(m_pParent) : nullptr;
  CTKPCommandBars* bars = bar != nullptr ? bar->GetCommandBars() : nullptr;
  if (bars == nullptr) return FALSE;
  SetCommandBar(nullptr);
  // The site may supply the popup (the third word of the record marks an expand bar).
  TKP_CREATE_COMMANDBAR create{nullptr, TRUE, TRUE, FALSE, nullptr, nullptr, 0, FALSE};
  CWnd* site = bars->GetSite();
  if (site != nullptr && site->m_hWnd != nullptr) {
    site->SendMessage(TKP_WM_CREATE_COMMANDBAR, 0, reinterpret_cast<LPARAM>(&create));
  }
  CTKPPopupBar* popup = create.pCommandBar != nullptr && create.pCommandBar->IsKindOf(RUNTIME_CLASS(CTKPPopupBar))
                            ? static_cast<CTKPPopupBar*>(create.pCommandBar)
                            : CTKPPopupToolBar::CreatePopupToolBar(bars);
  bars->GetHiddenControls(bar, popup);
  if (bars->GetOptions()->bShowExpandButtonAlways || bars->IsCustomizeAvail()) {
    CTKPControlPopup* addRemove = CTKPControlPopup::CreateControlPopup(tkpControlPopup);
    const BOOL group = popup->GetControlCount() > 1;
    popup->GetControls()->Add(addRemove, 0);
    addRemove->SetCaption(CString(_T("&Add or Remove Buttons")));
    addRemove->SetBeginGroup(group);
    CTKPPopupBar* list = CTKPPopupBar::CreatePopupBar(bars);
    bars->AddAddOrRemovePopups(bar, list);
    addRemove->SetCommandBar(list);
    list->InternalRelease();
  }
  SetCommandBar(popup);
  popup->InternalRelease();  // the control holds the popup now
  return CTKPControlPopup::OnSetPopup(TRUE);
}

// ---- what the manager puts into the expand popup ---------------------------------------------------------

void CTKPCommandBars::GetHiddenControls(CTKPToolBar* pBar, CTKPPopupBar* pExpandBar) {
  if (pBar == nullptr || pExpandBar == nullptr) return;
  for (CTKPToolBar* bar : RowOf(pBar)) {
    for (int i = 0; i < bar->GetControlCount(); ++i) {
      CTKPControl* control = bar->GetControl(i);
      if ((control->GetHideFlags() & tkpHideWrap) == 0 || control->IsTemporary()) continue;
      CTKPControl* copy = pExpandBar->GetControls()->AddClone(control);
      if (copy == nullptr) continue;
      copy->SetHideFlags(tkpNoHide);
      copy->SetBeginGroup(FALSE);
    }
  }
}

void CTKPCommandBars::AddAddOrRemovePopups(CTKPToolBar* pBar, CTKPPopupBar* pExpandBar) {
  if (pBar == nullptr || pExpandBar == nullptr) return;
  for (CTKPToolBar* bar : RowOf(pBar)) {
    CTKPControlPopup* entry = CTKPControlPopup::CreateControlPopup(tkpControlPopup);
    pExpandBar->GetControls()->Add(entry, 0);
    entry->SetCaption(bar->GetTitle());
    entry->SetFlags(entry->GetFlags() | tkpFlagManualUpdate);
    // Buttons are added or removed only where the user may customize this bar.
    const BOOL listed = m_bCustomizeAvail && bar->IsBuiltIn() && bar->IsCustomizable();
    entry->SetEnabled(listed);
    if (!listed) continue;
    CTKPPopupBar* list = CTKPPopupBar::CreatePopupBar(this);
    bar->BuildAddOrRemoveList(list);
    entry->SetCommandBar(list);
    list->InternalRelease();
  }
  if (m_bCustomizeAvail) {
    CTKPControl* customize = pExpandBar->GetControls()->Add(tkpControlButton, TKP_ID_CUSTOMIZE);
    customize->SetBeginGroup(TRUE);
  }
}
