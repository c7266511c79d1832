#include "toolkit/commandbars/controls/tkp_control_button.h"

#include "toolkit/commandbars/bars/tkp_command_bar.h"
#include "toolkit/common/tkp_prop_exchange.h"

IMPLEMENT_SERIAL(CTKPControlButton, CTKPControl, 1)

void CTKPControlButton::OnClick(BOOL bKeyboard, CPoint /*pt*/) {
  if (!m_bEnabled || IsCustomizeMode()) return;
  if (bKeyboard) {
    OnExecute();
  } else if (m_pParent != nullptr && m_pParent->GetType() != tkpBarTypePopup) {
    ClickToolBarButton();
  }
}

void CTKPControlButton::OnLButtonUp(CPoint /*point*/) {
  if (m_bEnabled && m_pParent != nullptr && m_pParent->GetPosition() == tkpBarPopup) OnExecute();
}

void CTKPControlButton::DoPropExchange(CTKPPropExchange* pPX) {
  CTKPControl::DoPropExchange(pPX);
  PX_Int(pPX, _T("Style"), m_nStyle, tkpButtonAutomatic);
}
