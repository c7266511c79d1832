// The control tests' host window and worker thread.
#include "platform/classlib/win/controls_test_support.h"

#include <atomic>
#include <thread>

#include "platform/classlib/win/win_test_support.h"
#include "platform/harness/driver.h"

namespace cltest {

void ControlHost::SetUp() {
  ASSERT_TRUE(
      host.CreateEx(0, nullptr, _T("controls"), WS_OVERLAPPEDWINDOW | WS_VISIBLE, 20, 20, 480, 360, nullptr, nullptr));
}

void ControlHost::TearDown() {
  host.DestroyWindow();
  AfxDeleteTempMaps();
}

DWORD RunOnWorker(const std::function<void()>& work) {
  std::atomic<bool> done{false};
  std::atomic<DWORD> id{0};
  std::thread worker([&] {
    id = ::GetCurrentThreadId();
    work();
    done = true;
  });
  EXPECT_TRUE(harness::WaitUntil([&] { return done.load(); }, 10000));
  worker.join();
  return id;
}

std::wstring TextOf(const CString& text) {
  return std::wstring(text.GetString(), static_cast<size_t>(text.GetLength()));
}

}  // namespace cltest
