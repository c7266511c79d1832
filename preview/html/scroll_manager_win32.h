// The scroll manager on real windows: a window procedure passes it every message it does not handle.
#pragma once

#include <windows.h>

namespace htmlview {

// Null window, message 0 and zero parameters delete every record (the viewer does so when it goes).
LRESULT HandleScrollMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

}  // namespace htmlview
