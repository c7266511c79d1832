// Where a box is shown: on the main window's thread. Internal to the message box.
#pragma once

#include <windows.h>

#include <functional>

namespace msgbox {

// The attached main window, or none.
HWND MainWindow();
// True when the caller may show a box itself: it is the main window's thread, or none is attached.
bool OnInterfaceThread();
// Runs work on the main window's thread (a sent request) and answers its result; the caller waits.
int RunOnInterfaceThread(const std::function<int()>& work);

}  // namespace msgbox
