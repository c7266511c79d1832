// The system colours of the platform, for the colour table's system colour names. Windows build only.
#pragma once

#include "ui/html/html_colors.h"

namespace html {

class Win32SystemColours : public HtmlSystemColours {
 public:
  uint32_t SystemColour(int index) const override;
};

}  // namespace html
