#include "app/results/window_thread.h"

namespace results {

void RunOnWindowThread(HWND window, const std::function<void()>& work) {
  if (window == nullptr || GetWindowThreadProcessId(window, nullptr) == GetCurrentThreadId()) {
    work();
    return;
  }
  SendMessageW(window, kRunOnWindowThread, 0, reinterpret_cast<LPARAM>(&work));
}

bool RunRequested(UINT message, LPARAM lParam) {
  if (message != kRunOnWindowThread || lParam == 0) return false;
  (*reinterpret_cast<const std::function<void()>*>(lParam))();
  return true;
}

}  // namespace results
