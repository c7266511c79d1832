// CTKPToolBarExpandButton: the button at the far end of a toolbar. It opens a popup toolbar with the
// controls that did not fit in the bar's row and the "Add or Remove Buttons" entry.
#pragma once

#include "toolkit/commandbars/controls/tkp_control_popup.h"

class CTKPToolBarExpandButton : public CTKPControlPopup {
  DECLARE_SERIAL(CTKPToolBarExpandButton)

 public:
  CTKPToolBarExpandButton();
  // Opening makes a new popup each time, filled by the manager.
  BOOL OnSetPopup(BOOL bPopup) override;
};
