// The results controls are created on the user-interface thread and called by the scan workers and the
// snapshot loaders as well: each call from another thread becomes one sent message that the control's
// own thread carries out while the caller waits.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

namespace results {

// The private message the controls answer by running the work it carries (lParam: the function).
constexpr UINT kRunOnWindowThread = WM_APP + 0x236;

// Runs work now on the window's thread, or as one sent message from any other thread.
void RunOnWindowThread(HWND window, const std::function<void()>& work);
// In a control's WindowProc: true when message was the request and has been carried out.
bool RunRequested(UINT message, LPARAM lParam);

// A UTF-16 text as the Win32 calls take it.
inline LPCWSTR Wide(const std::u16string& text) { return reinterpret_cast<LPCWSTR>(text.c_str()); }

}  // namespace results
