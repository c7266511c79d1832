// Paints what the last step of a modal drag moved, before the drag takes its next message.
#pragma once

#include <windows.h>

// WM_QUIT can come out of a peek for paints too: then it is put back and the answer is false, so that the
// drag ends and the loops outside it end as well.
inline bool TKPDispatchPendingPaints() {
  MSG msg;
  while (::PeekMessageW(&msg, nullptr, WM_PAINT, WM_PAINT, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {
      ::PostQuitMessage(static_cast<int>(msg.wParam));
      return false;
    }
    ::DispatchMessageW(&msg);
  }
  return true;
}
