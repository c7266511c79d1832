// Steps that tests hand to the toolkit's modal loops (drags, dialogs): each runs from a message to a hidden
// probe window, so it runs inside whichever loop pumps messages at the time. A step posts the next
// message itself (or sets a timer on the probe, which also runs the next step).
#pragma once

#include <windows.h>

#include <deque>
#include <functional>

namespace tkpsteps {

inline std::deque<std::function<void()>> g_steps;

inline LRESULT CALLBACK ProbeProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_TIMER) ::KillTimer(hWnd, wParam);
  if ((message == WM_APP || message == WM_TIMER) && !g_steps.empty()) {
    std::function<void()> step = g_steps.front();
    g_steps.pop_front();
    step();
    return 0;
  }
  return ::DefWindowProcW(hWnd, message, wParam, lParam);
}

// The probe, a message-only window made on first use.
inline HWND Probe() {
  static HWND probe = nullptr;
  if (probe == nullptr) {
    WNDCLASSW wc{};
    wc.lpfnWndProc = ProbeProc;
    wc.hInstance = ::GetModuleHandleW(nullptr);
    wc.lpszClassName = L"ModalStepsProbe";
    ::RegisterClassW(&wc);
    probe = ::CreateWindowExW(0, wc.lpszClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, wc.hInstance, nullptr);
  }
  return probe;
}

}  // namespace tkpsteps
