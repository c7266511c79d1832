// Steps that tests hand to the toolkit's modal loops (drags, dialogs, menus). One-shot steps run from a
// message to a hidden probe window, so each runs inside whichever loop pumps messages at the time; a step
// posts the next message itself (or sets a timer on the probe, which also runs the next step). A script of
// waiting steps runs on a thread timer instead, asking each step again until it comes true.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <cstddef>
#include <deque>
#include <functional>
#include <utility>

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

// The script of waiting steps now running: a step answers false to be asked again on the next tick.
struct WaitingScript {
  std::deque<std::function<bool()>> steps;
  size_t done = 0;      // steps that came true
  int waited = 0;       // ticks the front step has been asked
  int mostTicks = 0;    // ticks before a step is given up
  std::function<void()> giveUp;  // ends the loop the steps ran in
  UINT_PTR timer = 0;
};
inline WaitingScript g_script;

// Stops the script (a test's tear-down calls it too, for a test that failed before its steps ran out).
inline void StopScript() {
  if (g_script.timer != 0) ::KillTimer(nullptr, g_script.timer);
  g_script.timer = 0;
  g_script.steps.clear();
}

inline void CALLBACK RunWaitingStep(HWND, UINT, UINT_PTR, DWORD) {
  if (!g_script.steps.empty() && g_script.steps.front()()) {
    if (!g_script.steps.empty()) g_script.steps.pop_front();  // a loop the step ran may have ended the script
    ++g_script.done;
    g_script.waited = 0;
  } else if (++g_script.waited > g_script.mostTicks) {
    // A step that never comes true must not leave the loop running for ever.
    ADD_FAILURE() << "step " << g_script.done << " never happened (" << g_script.steps.size() << " left)";
    g_script.steps.clear();
    if (g_script.giveUp) g_script.giveUp();
  }
  if (g_script.steps.empty()) StopScript();
}

// Runs `steps` one per tick of `interval` ms, inside whatever loop is running; a step still false after
// `mostTicks` ticks fails the test, and `giveUp` ends the loop it was waiting in.
inline void Script(std::deque<std::function<bool()>> steps, UINT interval, int mostTicks,
                   std::function<void()> giveUp) {
  StopScript();
  g_script.steps = std::move(steps);
  g_script.done = 0;
  g_script.waited = 0;
  g_script.mostTicks = mostTicks;
  g_script.giveUp = std::move(giveUp);
  g_script.timer = ::SetTimer(nullptr, 0, interval, RunWaitingStep);
}

}  // namespace tkpsteps
