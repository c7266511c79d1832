#include "ui/html/html_colors_win32.h"

#include <windows.h>

namespace html {

uint32_t Win32SystemColours::SystemColour(int index) const { return GetSysColor(index); }

}  // namespace html
