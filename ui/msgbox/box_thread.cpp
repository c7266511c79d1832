#include "ui/msgbox/box_thread.h"

#include <atomic>

#include "ui/msgbox/html_message_box.h"

namespace msgbox {
namespace {

// A message-only window on the main window's thread receives the requests: whatever class the main
// window has, its thread carries them out inside whatever loop it runs (its own, a dialog's, a box's).
constexpr UINT kRunRequest = WM_APP + 1;
constexpr wchar_t kRelayClass[] = L"DorvaneMessageBoxRelay";

std::atomic<HWND> mainWindow{nullptr};
std::atomic<HWND> relay{nullptr};
std::atomic<DWORD> relayThread{0};

LRESULT CALLBACK RelayProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message != kRunRequest) return ::DefWindowProcW(window, message, wParam, lParam);
  auto* work = reinterpret_cast<const std::function<int()>*>(lParam);
  try {
    return (*work)();
  } catch (...) {
    return 2;  // no exception crosses the window procedure: the box counts as cancelled
  }
}

ATOM RegisterRelayClass() {
  WNDCLASSW cls{};
  cls.lpfnWndProc = RelayProc;
  cls.hInstance = ::GetModuleHandleW(nullptr);
  cls.lpszClassName = kRelayClass;
  return ::RegisterClassW(&cls);
}

}  // namespace

void AttachToMainWindow(HWND window) {
  DetachFromMainWindow();
  static const ATOM registered = RegisterRelayClass();
  (void)registered;
  HWND made = ::CreateWindowExW(0, kRelayClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                ::GetModuleHandleW(nullptr), nullptr);
  if (made == nullptr) return;
  mainWindow = window;
  relayThread = ::GetCurrentThreadId();
  relay = made;
}

void DetachFromMainWindow() {
  HWND old = relay.exchange(nullptr);
  mainWindow = nullptr;
  relayThread = 0;
  if (old != nullptr) ::DestroyWindow(old);
}

HWND MainWindow() { return mainWindow.load(); }

bool OnInterfaceThread() { return relay.load() == nullptr || relayThread.load() == ::GetCurrentThreadId(); }

int RunOnInterfaceThread(const std::function<int()>& work) {
  HWND target = relay.load();
  if (target == nullptr || relayThread.load() == ::GetCurrentThreadId()) return work();
  return static_cast<int>(::SendMessageW(target, kRunRequest, 0, reinterpret_cast<LPARAM>(&work)));
}

}  // namespace msgbox
