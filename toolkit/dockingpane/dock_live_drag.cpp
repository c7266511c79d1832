#include "toolkit/dockingpane/dock_live_drag.h"

void TKPDockTrackLive(HWND hWnd, const std::function<void(POINT screen)>& onMove) {
  ::SetCapture(hWnd);
  while (::GetCapture() == hWnd) {
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, WM_PAINT, WM_PAINT, PM_REMOVE)) ::DispatchMessageW(&msg);
    if (!::GetMessageW(&msg, nullptr, 0, 0)) {
      ::PostQuitMessage(static_cast<int>(msg.wParam));
      break;
    }
    if (msg.message == WM_MOUSEMOVE) {
      POINT screen{static_cast<short>(LOWORD(msg.lParam)), static_cast<short>(HIWORD(msg.lParam))};
      ::ClientToScreen(msg.hwnd, &screen);
      onMove(screen);
    } else if ((msg.message == WM_KEYDOWN && msg.wParam == VK_ESCAPE) || msg.message == WM_LBUTTONUP) {
      break;
    } else {
      ::DispatchMessageW(&msg);
    }
  }
  if (::GetCapture() == hWnd) ::ReleaseCapture();
}
