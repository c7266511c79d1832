// The mouse held by a window while a tab gesture lasts (a held navigate button, a dragged tab): the
// gesture's own message pump. It takes one message at a time, dispatches what the gesture does not use
// and reports the end on button-up, Esc, the right button, WM_CANCELMODE, a lost capture or WM_QUIT
// (which it posts again for the outer loop).
#pragma once

#include <windows.h>

#include "platform/classlib/crect.h"

class CTKPTabCaptureLoop {
 public:
  enum Event { kNothing, kMoved, kReleased, kEnded };

  explicit CTKPTabCaptureLoop(HWND hWnd);
  ~CTKPTabCaptureLoop();
  CTKPTabCaptureLoop(const CTKPTabCaptureLoop&) = delete;
  CTKPTabCaptureLoop& operator=(const CTKPTabCaptureLoop&) = delete;

  // Waits for the next message and handles it; kMoved and kReleased update the point.
  Event Next(CPoint& pt);

 private:
  HWND m_hWnd;
  bool m_bQuit = false;
  WPARAM m_nQuitCode = 0;
};
