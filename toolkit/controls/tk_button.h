// CTKButton: the toolkit's themed push button (image page's "Browse"). For now the system's button.
#pragma once

#include "platform/classlib/win/cbutton.h"

class CTKButton : public CButton {
 public:
  CTKButton() = default;
};
