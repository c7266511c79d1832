#include "toolkit/commandbars/controls/tkp_control_popup.h"

#include "platform/classlib/win/cdc.h"
#include "toolkit/commandbars/bars/tkp_command_bar.h"
#include "toolkit/commandbars/frame/tkp_command_bars.h"
#include "toolkit/commandbars/controls/tkp_controls.h"
#include "toolkit/commandbars/paint/tkp_paint_manager.h"
#include "toolkit/commandbars/bars/tkp_popup_bar.h"
#include "toolkit/common/tkp_prop_exchange.h"

IMPLEMENT_SERIAL(CTKPControlLabel, CTKPControl, 1)
IMPLEMENT_SERIAL(CTKPControlPopup, CTKPControl, 1)
IMPLEMENT_SERIAL(CTKPControlExpandButton, CTKPControlButton, 1)

namespace {

// The split button's arrow part: on a toolbar its last 11 pixels, in a menu its last 20.
constexpr int kToolBarArrowWidth = 11;
constexpr int kMenuArrowWidth = 20;
// Popups open popups only a few levels deep; a bar that holds itself must not be walked for ever.
constexpr int kDeepestPopup = 16;

CTKPPopupBar* AsPopupBar(CTKPCommandBar* pBar) {
  return pBar != nullptr && pBar->IsKindOf(RUNTIME_CLASS(CTKPPopupBar)) ? static_cast<CTKPPopupBar*>(pBar) : nullptr;
}

}  // namespace

// ---- the popup control -----------------------------------------------------------------------------

CTKPControlPopup::~CTKPControlPopup() { SetCommandBar(nullptr); }

CTKPControlPopup* CTKPControlPopup::CreateControlPopup(int nType) {
  auto* pControl = new CTKPControlPopup;
  pControl->m_controlType = nType;
  return pControl;
}

void CTKPControlPopup::SetCommandBar(CTKPCommandBar* pBar) {
  if (pBar == m_pCommandBar) return;
  if (pBar != nullptr) pBar->InternalAddRef();
  CTKPCommandBar* old = m_pCommandBar;
  m_pCommandBar = pBar;
  if (old != nullptr) old->InternalRelease();
}

BOOL CTKPControlPopup::IsOnPopupBar() const { return m_pParent != nullptr && m_pParent->GetPosition() == tkpBarPopup; }

void CTKPControlPopup::ExpandCommandBar() {
  CTKPPopupBar* popup = AsPopupBar(m_pCommandBar);
  if (popup != nullptr && m_bPopup) popup->Expand();
}

BOOL CTKPControlPopup::IsContainingPopup(CTKPControlPopup* pOther) {
  if (pOther == nullptr) return FALSE;
  return IsContainingPopup(pOther, 0) || pOther->IsContainingPopup(this, 0);
}

BOOL CTKPControlPopup::IsContainingPopup(CTKPControlPopup* pOther, int nDepth) {
  if (pOther == this) return TRUE;
  if (m_pCommandBar == nullptr || nDepth >= kDeepestPopup) return FALSE;
  for (int i = 0; i < m_pCommandBar->GetControlCount(); ++i) {
    CTKPControl* pControl = m_pCommandBar->GetControl(i);
    if (pControl == nullptr || !pControl->IsKindOf(RUNTIME_CLASS(CTKPControlPopup))) continue;
    if (static_cast<CTKPControlPopup*>(pControl)->IsContainingPopup(pOther, nDepth + 1)) return TRUE;
  }
  return FALSE;
}

BOOL CTKPControlPopup::Compare(CTKPControl* pOther) {
  if (!CTKPControl::Compare(pOther) || !pOther->IsKindOf(RUNTIME_CLASS(CTKPControlPopup))) return FALSE;
  CTKPCommandBar* theirs = pOther->GetCommandBar();
  if (m_pCommandBar == nullptr || theirs == nullptr) return TRUE;
  return m_pCommandBar->GetControls()->Compare(theirs->GetControls());
}

void CTKPControlPopup::DoPropExchange(CTKPPropExchange* pPX) {
  CTKPControl::DoPropExchange(pPX);
  if (pPX->IsLoading()) {
    int id = 0;
    PX_Int(pPX, _T("CommandBarId"), id, 0);
    m_nCommandBarId = static_cast<UINT>(id);
  } else {
    int id = m_pCommandBar != nullptr ? static_cast<int>(m_pCommandBar->GetBarID()) : 0;
    PX_Int(pPX, _T("CommandBarId"), id, 0);
  }
  if (pPX->GetSchema() >= 5) PX_Int(pPX, _T("Style"), m_nStyle, 0);
}

void CTKPControlPopup::Copy(CTKPControl* pSource, BOOL bRecursive) {
  CTKPControl::Copy(pSource, bRecursive);
  if (pSource == nullptr || pSource == this || !pSource->IsKindOf(RUNTIME_CLASS(CTKPControlPopup))) return;
  CTKPCommandBar* theirs = pSource->GetCommandBar();
  if (theirs == nullptr) {
    SetCommandBar(nullptr);
  } else if (bRecursive) {
    CTKPCommandBar* clone = theirs->Clone(TRUE);
    SetCommandBar(clone);
    if (clone != nullptr) clone->InternalRelease();  // the control holds the one reference
  } else {
    SetCommandBar(theirs);
  }
}

// ---- opening and closing ---------------------------------------------------------------------------

BOOL CTKPControlPopup::OnSetPopup(BOOL bPopup) {
  m_bPopup = bPopup;
  if (!bPopup) {
    if (m_pCommandBar != nullptr) m_pCommandBar->SetTrackingMode(0, TRUE, FALSE);
    RedrawParent();
    return TRUE;
  }
  if (m_pCommandBar == nullptr) {
    m_bPopup = FALSE;
    return FALSE;
  }
  if (m_pCommandBar->IsTrackingMode()) return TRUE;
  if (!m_pCommandBar->Popup(this, m_bSelected == 2)) {
    m_bPopup = FALSE;  // nothing shows: the control must not look open
    return FALSE;
  }
  UpdateShadow();
  return TRUE;
}

void CTKPControlPopup::OnClick(BOOL bKeyboard, CPoint point) {
  if (!m_bEnabled || m_pParent == nullptr) return;
  const BOOL customize = IsCustomizeMode();
  if (customize) {
    if (CTKPCommandBars* bars = m_pParent->GetCommandBars()) bars->SetDragControl(this);
  }
  if (m_bPopup && !IsOnPopupBar()) {
    m_pParent->SetTrackingMode(0, TRUE, FALSE);  // the second click closes the menu
    return;
  }
  if (!customize && m_controlType == tkpControlSplitButtonPopup) {
    if (bKeyboard) {
      OnExecute();
      return;
    }
    if (IsOnPopupBar()) {
      if (point.x < m_rcControl.right - kMenuArrowWidth) {
        m_pParent->KillTimer(TKP_TIMER_HOVER);  // the command runs on button up
        return;
      }
    } else if (point.x < m_rcControl.right - kToolBarArrowWidth) {
      CRect button = m_rcControl;
      button.right -= kToolBarArrowWidth;
      ClickToolBarButton(button);
      return;
    }
  }
  if (customize && (m_pCommandBar == nullptr || !m_pCommandBar->IsCustomizable())) return;
  m_pParent->PopupControl(m_nIndex, FALSE);
}

void CTKPControlPopup::OnLButtonUp(CPoint point) {
  if (m_bEnabled && m_controlType == tkpControlSplitButtonPopup && IsOnPopupBar() &&
      point.x < m_rcControl.right - kMenuArrowWidth) {
    OnExecute();
  }
}

BOOL CTKPControlPopup::OnLButtonDblClk(CPoint point) {
  if (m_controlType != tkpControlPopup && m_controlType != tkpControlButtonPopup) {
    return CTKPControl::OnLButtonDblClk(point);
  }
  if (!m_bPopup) OnClick(FALSE, point);
  CTKPPopupBar* popup = AsPopupBar(m_pCommandBar);
  if (popup == nullptr || !popup->IsTrackingMode()) return FALSE;
  const int item = popup->GetDefaultItem(TRUE);
  if (CTKPControl* pDefault = popup->GetControl(item)) {
    pDefault->OnExecute();
  } else if (popup->HasHiddenCommands()) {
    popup->Expand();
  }
  return TRUE;
}

void CTKPControlPopup::OnMouseHover() {
  if (!m_bEnabled || m_pParent == nullptr) return;
  if (m_pParent->GetTrackingMode() == 2 || m_pParent->GetType() == tkpBarTypePopup) {
    m_pParent->PopupControl(m_nIndex, FALSE);
    return;
  }
  CTKPControl::OnMouseHover();
}

void CTKPControlPopup::OnUnderlineActivate() {
  if (m_pParent != nullptr) m_pParent->PopupControl(m_nIndex, FALSE);
}

BOOL CTKPControlPopup::OnSetSelected(int bSelected) {
  if (!CTKPControl::OnSetSelected(bSelected)) return FALSE;
  CTKPCommandBar* pParent = m_pParent;
  if (pParent == nullptr) return TRUE;
  const BOOL popupBar = pParent->GetType() == tkpBarTypePopup;
  const BOOL popupTracking = pParent->GetTrackingMode() == 2;
  if ((m_controlType == tkpControlButtonPopup || m_controlType == tkpControlSplitButtonPopup) && !popupBar) {
    if (m_bEnabled && bSelected == 2 && popupTracking) pParent->PopupControl(m_nIndex, TRUE);
    return TRUE;
  }
  if (bSelected != 0) {
    // Moving along a menu bar with a menu open opens the next menu at once.
    if (m_bEnabled && popupTracking && pParent->GetPosition() != tkpBarPopup) {
      pParent->PopupControl(m_nIndex, bSelected == 2);
    }
  } else if (m_bPopup && !popupBar) {
    pParent->PopupControl(-1);
  }
  return TRUE;
}

void CTKPControlPopup::AdjustExcludeRect(CRect& rc) {
  CTKPPaintManager* paint = GetPaintManager();
  if (paint == nullptr) return;
  const int position = m_pParent != nullptr ? m_pParent->GetPosition() : tkpBarTop;
  const BOOL vertical = position == tkpBarLeft || position == tkpBarRight || position == tkpBarPopup;
  paint->AdjustControlRect(rc, this, vertical);
}

// ---- the expand button ------------------------------------------------------------------------------

void CTKPControlExpandButton::OnExecute() {
  if (CTKPPopupBar* popup = AsPopupBar(m_pParent)) popup->Expand();
}

void CTKPControlExpandButton::Draw(CDC* pDC) {
  if (CTKPPaintManager* paint = GetPaintManager()) {
    paint->DrawSpecialControl(pDC, tkpSpecialPopupExpand, this, m_pParent, TRUE, CSize(0, 0));
  }
}
