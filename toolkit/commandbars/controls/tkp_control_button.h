// CTKPControlButton: the control that runs a command: clicked on a toolbar it runs the modal button
// click, clicked by keyboard it runs at once, in a popup bar it runs on button up.
#pragma once

#include "toolkit/commandbars/controls/tkp_control.h"

class CTKPControlButton : public CTKPControl {
  DECLARE_SERIAL(CTKPControlButton)

 public:
  CTKPControlButton() { m_controlType = tkpControlButton; }

  void OnClick(BOOL bKeyboard = FALSE, CPoint pt = CPoint()) override;
  void OnLButtonUp(CPoint point) override;
  // The control's keys, then "Style".
  void DoPropExchange(CTKPPropExchange* pPX) override;
};
