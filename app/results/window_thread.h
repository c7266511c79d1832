// The results controls are created on the user-interface thread and called by the scan workers and the
// snapshot loaders as well: each call from another thread becomes one sent message that the control's
// own thread carries out while the caller waits.
#pragma once

#include <windows.h>

#include <functional>

namespace results {

// The private message the controls answer by running the work it carries (lParam: the function).
constexpr UINT kRunOnWindowThread = WM_APP + 0x236;

// Runs work now on the window's thread, or as one sent message from any other thread.
void RunOnWindowThread(HWND window, const std::function<void()>& work);
// In a control's WindowProc: true when message was the request and has been carried out.
bool RunRequested(UINT message, LPARAM lParam);

}  // namespace results
