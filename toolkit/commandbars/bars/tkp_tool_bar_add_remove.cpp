#include "toolkit/commandbars/bars/tkp_tool_bar_add_remove.h"

#include "res/toolkit_resource.h"
#include "toolkit/commandbars/frame/tkp_command_bars.h"
#include "toolkit/commandbars/controls/tkp_controls.h"
#include "toolkit/commandbars/bars/tkp_popup_bar.h"
#include "toolkit/commandbars/bars/tkp_tool_bar.h"
#include "toolkit/common/resource_manager.h"

IMPLEMENT_DYNCREATE(CTKPControlAddRemoveButton, CTKPControlButton)
IMPLEMENT_DYNCREATE(CTKPControlResetToolBar, CTKPControlButton)

namespace {

// A control the user may show or hide: not the toolbar's own buttons, not hidden for other reasons that
// outlast the user's choice, and movable.
bool OffersControl(const CTKPControl* control) {
  if (control->GetID() == TKP_ID_TOOLBAR_EXPAND || control->GetID() == TKP_ID_TOOLBAR_CLOSE) return false;
  if ((control->GetHideFlags() & (tkpHideGeneric | tkpHideDocTemplate)) != 0) return false;
  return (control->GetFlags() & tkpFlagNoMovable) == 0 && !control->IsTemporary();
}

bool OnBar(const CTKPControls* controls, const CTKPControl* original) {
  for (int i = 0; i < controls->GetCount(); ++i) {
    const CTKPControl* control = controls->GetAt(i);
    if (control->GetID() == original->GetID() && control->GetType() == original->GetType()) return true;
  }
  return false;
}

}  // namespace

CTKPControlAddRemoveButton::~CTKPControlAddRemoveButton() { SetTarget(nullptr); }

void CTKPControlAddRemoveButton::SetTarget(CTKPControl* pControl) {
  if (pControl != nullptr) pControl->InternalAddRef();
  if (m_pTarget != nullptr) m_pTarget->InternalRelease();
  m_pTarget = pControl;
}

void CTKPControlAddRemoveButton::OnExecute() {
  CTKPCommandBar* bar = m_pTarget != nullptr ? m_pTarget->GetParent() : nullptr;
  if (bar == nullptr) return;
  m_pTarget->SetHideFlags(m_pTarget->GetHideFlags() ^ tkpHideCustomize);
  SetChecked((m_pTarget->GetHideFlags() & tkpHideCustomize) == 0);
  bar->DelayLayout();
  bar->OnRecalcLayout();
  bar->Invalidate();
  if (CTKPCommandBars* bars = bar->GetCommandBars()) {
    bars->GetOptions()->bDirtyState = TRUE;  // the bar's buttons are the user's now: saved at exit
    bars->RecalcFrameLayout();
  }
  RedrawParent();
}

CTKPControlResetToolBar::~CTKPControlResetToolBar() { SetToolBar(nullptr); }

void CTKPControlResetToolBar::SetToolBar(CTKPToolBar* pBar) {
  if (pBar != nullptr) pBar->InternalAddRef();
  if (m_pToolBar != nullptr) m_pToolBar->InternalRelease();
  m_pToolBar = pBar;
}

void CTKPControlResetToolBar::OnExecute() {
  CTKPToolBar* bar = m_pToolBar;
  if (bar == nullptr) return;
  bar->InternalAddRef();
  if (CTKPCommandBars* bars = bar->GetCommandBars()) bars->ClosePopups();
  bar->ResetToolBar();
  bar->InternalRelease();
}

void CTKPToolBar::BuildAddOrRemoveList(CTKPPopupBar* pPopup) {
  if (pPopup == nullptr) return;
  CTKPControls* original = m_pControls->GetOriginalControls();
  // Buttons the user took off come back hidden, so that the list offers them unchecked.
  for (int i = 0; original != nullptr && i < original->GetCount(); ++i) {
    CTKPControl* button = original->GetAt(i);
    if (button->IsTemporary() || OnBar(m_pControls, button)) continue;
    CTKPControl* back = m_pControls->AddClone(button, i, TRUE);  // menus included, as on the bar
    if (back != nullptr) back->SetHideFlags(back->GetHideFlags() | tkpHideCustomize);
  }
  CTKPControls* entries = pPopup->GetControls();
  for (int i = 0; i < GetControlCount(); ++i) {
    CTKPControl* control = GetControl(i);
    if (!OffersControl(control)) continue;
    auto* entry = static_cast<CTKPControlAddRemoveButton*>(entries->Add(new CTKPControlAddRemoveButton, control->GetID()));
    entry->SetCaption(control->GetCaption());
    entry->SetIconId(control->GetEffectiveIconId());
    entry->SetFlags(entry->GetFlags() | tkpFlagManualUpdate);  // its check is the control's, not the command's
    entry->SetCloseSubMenuOnClick(FALSE);
    entry->SetChecked((control->GetHideFlags() & tkpHideCustomize) == 0);
    entry->SetTarget(control);
  }
  if (m_bBuiltIn && !m_bTearOff && original != nullptr) {
    auto* reset = static_cast<CTKPControlResetToolBar*>(entries->Add(new CTKPControlResetToolBar, 0));
    CString caption;
    TKPResourceManager()->LoadString(&caption, IDS_TK_RESET);
    reset->SetCaption(caption);
    reset->SetBeginGroup(TRUE);
    reset->SetToolBar(this);
  }
}
