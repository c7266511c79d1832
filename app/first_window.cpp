// The program's first window: a frame titled with the product name that closes cleanly. It proves the
// whole road (build, Wine prefix, display, fonts) until the real application replaces it.
#include <windows.h>

#include "res/resource.h"
#include "ui/msgbox/message_host.h"

namespace {

const wchar_t kClassName[] = L"DorvaneFrame";
const wchar_t kTitle[] = L"Dorvane";

LRESULT CALLBACK FrameProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = ::BeginPaint(window, &ps);
      RECT client;
      ::GetClientRect(window, &client);
      HFONT font = ::CreateFontW(-16, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, L"Arial");
      HGDIOBJ old = ::SelectObject(dc, font);
      ::SetBkMode(dc, TRANSPARENT);
      ::DrawTextW(dc, L"Dorvane", -1, &client, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
      ::SelectObject(dc, old);
      ::DeleteObject(font);
      ::EndPaint(window, &ps);
      return 0;
    }
    case WM_DESTROY:
      ::PostQuitMessage(0);
      return 0;
    default:
      return ::DefWindowProcW(window, message, wParam, lParam);
  }
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int show) {
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = FrameProc;
  wc.hInstance = instance;
  wc.hCursor = ::LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  wc.lpszClassName = kClassName;
  wc.hIcon = ::LoadIconW(instance, MAKEINTRESOURCEW(IDR_MAINFRAME));
  wc.hIconSm = static_cast<HICON>(::LoadImageW(instance, MAKEINTRESOURCEW(IDR_MAINFRAME), IMAGE_ICON,
                                               ::GetSystemMetrics(SM_CXSMICON), ::GetSystemMetrics(SM_CYSMICON), 0));
  if (!::RegisterClassExW(&wc)) return 1;
  HWND frame = ::CreateWindowExW(0, kClassName, kTitle, WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, CW_USEDEFAULT, 800,
                                 600, nullptr, nullptr, instance, nullptr);
  if (!frame) return 1;
  // Every message of the program and of the engine's workers is shown by this thread, owned by the frame.
  msgbox::InstallProgramMessages(frame);
  ::ShowWindow(frame, show);
  ::UpdateWindow(frame);
  MSG msg;
  while (::GetMessageW(&msg, nullptr, 0, 0) > 0) {
    ::TranslateMessage(&msg);
    ::DispatchMessageW(&msg);
  }
  msgbox::RemoveProgramMessages();
  return static_cast<int>(msg.wParam);
}
