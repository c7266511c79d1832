// CTKPControlCmdUI: the update object through which a command's update handler sets a bar control's
// enabled, checked and caption states (m_pOther the bar, m_nIndex the control's index).
#pragma once

#include "platform/classlib/win/ccmdui.h"

class CTKPControl;

class CTKPControlCmdUI : public CCmdUI {
 public:
  CTKPControl* m_pControl = nullptr;

  // Disabling a checked control clears its check too.
  void Enable(BOOL bOn = TRUE) override;
  void SetCheck(int nCheck = 1) override;
  void SetText(LPCTSTR lpszText) override;
};
