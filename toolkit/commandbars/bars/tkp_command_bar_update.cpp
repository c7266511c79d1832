// What a command bar does between the user's actions: the idle update of its controls' states through
// the command update handlers, the controls shown only for some document templates, the description of
// the selected control in the frame's status bar, and the help id under a point.
#include "platform/classlib/win/messages.h"
#include "toolkit/commandbars/bars/tkp_command_bar.h"
#include "toolkit/commandbars/frame/tkp_command_bars.h"
#include "toolkit/commandbars/controls/tkp_control.h"
#include "toolkit/commandbars/controls/tkp_control_cmd_ui.h"

namespace {

constexpr UINT kIdleMessage = 57345;  // AFX_IDS_IDLEMESSAGE
constexpr LRESULT kHelpCommandBase = 0x10000, kHelpControlBase = 0x50000;
// The control notification that tells the site a control was selected or deselected.
constexpr UINT kControlSelectedMessage = 10326;

}  // namespace

void CTKPControlCmdUI::Enable(BOOL bOn) {
  m_bEnableChanged = TRUE;
  if (m_pControl == nullptr) return;
  m_pControl->SetEnabled(bOn);
  if (!bOn && m_pControl->GetChecked()) m_pControl->SetChecked(FALSE);
}

void CTKPControlCmdUI::SetCheck(int nCheck) {
  if (m_pControl != nullptr) m_pControl->SetChecked(nCheck != 0);
}

void CTKPControlCmdUI::SetText(LPCTSTR lpszText) {
  if (m_pControl != nullptr && lpszText != nullptr) m_pControl->SetCaption(lpszText);
}

void CTKPCommandBar::OnUpdateCmdUI(CCmdTarget* pTarget, BOOL bDisableIfNoHandler) {
  if (m_hWnd == nullptr || (GetStyle() & WS_VISIBLE) == 0) return;
  UpdateDocTemplateControls();
  UpdateCmdUI(pTarget, bDisableIfNoHandler);
}

namespace {
// MAKELONG(CN_UPDATE_COMMAND_UI, WM_REFLECT_BASE + WM_COMMAND).
constexpr UINT kReflectedUpdate = 0xBD11FFFF;
}  // namespace

void CTKPCommandBar::UpdateCmdUI(CCmdTarget* pTarget, BOOL bDisableIfNoHandler) {
  const CTKPCommandBar* root = GetRootParent();
  const BOOL noUpdate = root != nullptr && root->m_bNoControlUpdate;
  CTKPControlCmdUI state;
  state.m_pOther = this;
  state.m_nIndexMax = static_cast<UINT>(GetControlCount());
  for (int i = 0; i < GetControlCount(); ++i) {
    CTKPControl* control = GetControl(i);
    if (control->GetPressed() != 0) {
      // A press that outlived its click (the loop ended elsewhere) is let go.
      control->SetPressed(0);
      m_dwState |= stateRedrawPending;
    }
    if (noUpdate || (control->GetFlags() & tkpFlagManualUpdate) != 0 || control->GetID() <= 0) continue;
    state.m_pControl = control;
    state.m_nID = static_cast<UINT>(control->GetID());
    state.m_nIndex = static_cast<UINT>(i);
    state.m_bEnableChanged = FALSE;
    // The bar's own reflected update handlers first, then its handlers of the id.
    if (OnCmdMsg(0, static_cast<int>(kReflectedUpdate), &state, nullptr)) continue;
    if (OnCmdMsg(state.m_nID, CN_UPDATE_COMMAND_UI, &state, nullptr)) continue;
    if (IsCustomizeMode()) {
      state.Enable(TRUE);  // every control can be picked up while customizing
    } else if (pTarget != nullptr) {
      state.DoUpdate(pTarget, bDisableIfNoHandler);
    }
  }
  if ((m_dwState & stateRedrawPending) != 0) {
    m_dwState &= ~static_cast<DWORD>(stateRedrawPending);
    Invalidate(FALSE);
  }
  if ((m_dwState & stateLayoutPending) != 0) {
    m_dwState &= ~static_cast<DWORD>(stateLayoutPending);
    OnRecalcLayout();
  }
  if (pTarget != nullptr) UpdateDialogControls(pTarget, bDisableIfNoHandler);
}

void CTKPCommandBar::UpdateDocTemplateControls() {
  CTKPCommandBars* bars = GetCommandBars();
  const UINT active = bars != nullptr ? bars->GetActiveDocTemplate() : 0;
  if (active == 0) return;
  BOOL value = FALSE;
  for (int i = 0; i < GetControlCount(); ++i) {
    CTKPControl* control = GetControl(i);
    const DWORD before = control->GetHideFlags();
    DWORD flags = before;
    CTKPDocTemplateMap& assigned = control->GetDocTemplatesAssigned();
    // Hidden for another template, an assigned control shows again for one of its own.
    if (!assigned.IsEmpty()) {
      flags = assigned.Lookup(active, value) ? flags & ~static_cast<DWORD>(tkpHideDocTemplate) : flags | tkpHideDocTemplate;
    }
    CTKPDocTemplateMap& excluded = control->GetDocTemplatesExcluded();
    if (!excluded.IsEmpty()) {
      flags = excluded.Lookup(active, value) ? flags | tkpHideDocTemplate : flags & ~static_cast<DWORD>(tkpHideDocTemplate);
    }
    if (flags != before) {
      control->SetHideFlags(flags);
      m_dwState |= stateLayoutPending;
    }
  }
}

void CTKPCommandBar::OnControlSelected(BOOL bSelected, CTKPControl* pControl) {
  if (pControl == nullptr) return;
  if (CWnd* site = GetSite(); site != nullptr && site->m_hWnd != nullptr) {
    site->SendMessage(kControlSelectedMessage, bSelected ? reinterpret_cast<WPARAM>(pControl) : 0, 0);
  }
  if (pControl->GetID() != m_nStatusControl) {
    m_nStatusControl = -1;
    SetStatusText(bSelected ? pControl->GetDescription() : CString());
  } else if (!bSelected) {
    m_nStatusControl = -1;
  }
}

void CTKPCommandBar::SetStatusText(const CString& strText) {
  CTKPCommandBars* bars = GetCommandBars();
  CWnd* site = GetSite();
  if (bars == nullptr || !bars->GetOptions()->bShowControlDescriptions || site == nullptr || site->m_hWnd == nullptr) {
    return;
  }
  if (strText.IsEmpty()) {
    site->SendMessage(WM_POPMESSAGESTRING, kIdleMessage, 0);
  } else {
    site->SendMessage(WM_SETMESSAGESTRING, 0, reinterpret_cast<LPARAM>(strText.GetString()));
  }
}

LRESULT CTKPCommandBar::OnHelpHitTest(WPARAM, LPARAM lParam) {
  const CPoint point(static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam)));
  const int index = HitTestControl(point);
  if (const CTKPControl* control = GetControl(index); control != nullptr && control->GetID() > 0) {
    return kHelpCommandBase + control->GetID();
  }
  const int id = m_hWnd != nullptr ? GetDlgCtrlID() : 0;
  return id != 0 ? kHelpControlBase + id : 0;
}
