#include "toolkit/tabmanager/tab_capture_loop.h"

CTKPTabCaptureLoop::CTKPTabCaptureLoop(HWND hWnd) : m_hWnd(hWnd) { ::SetCapture(hWnd); }

CTKPTabCaptureLoop::~CTKPTabCaptureLoop() {
  if (::GetCapture() == m_hWnd) ::ReleaseCapture();
  if (m_bQuit) ::PostQuitMessage(static_cast<int>(m_nQuitCode));
}

CTKPTabCaptureLoop::Event CTKPTabCaptureLoop::Next(CPoint& pt) {
  MSG msg;
  const BOOL got = ::GetMessageW(&msg, nullptr, 0, 0);
  if (got <= 0) {
    m_bQuit = got == 0;
    m_nQuitCode = msg.wParam;
    return kEnded;
  }
  if (::GetCapture() != m_hWnd) {
    ::DispatchMessageW(&msg);
    return kEnded;
  }
  switch (msg.message) {
    case WM_MOUSEMOVE:
    case WM_LBUTTONUP:
      pt = CPoint(static_cast<short>(LOWORD(msg.lParam)), static_cast<short>(HIWORD(msg.lParam)));
      return msg.message == WM_MOUSEMOVE ? kMoved : kReleased;
    case WM_CANCELMODE:
    case WM_RBUTTONDOWN: return kEnded;
    case WM_KEYDOWN: return msg.wParam == VK_ESCAPE ? kEnded : kNothing;  // other keys are ignored
    default: ::DispatchMessageW(&msg); return kNothing;
  }
}
