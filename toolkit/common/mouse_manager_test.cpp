// The mouse and keyboard managers with test popup bars in real windows: tracking lists, clicks
// outside closing the popups unless in a safe window, a bar that does not remove itself, mouse-leave,
// and the keyboard clients' answers.
#include "toolkit/common/tkp_mouse_manager.h"

#include <gtest/gtest.h>

#include <vector>

#include "platform/harness/driver.h"

namespace {

class Bar : public CTKPTrackedBar {
 public:
  HWND hwnd = nullptr;
  bool removesItself = true;
  int ended = 0;
  int moves = 0;
  HWND GetTrackedHwnd() const override { return hwnd; }
  int IsTrackedPoint(POINT screen) const override {
    RECT r{};
    return ::GetWindowRect(hwnd, &r) && ::PtInRect(&r, screen) ? 1 : 0;
  }
  void EndTracking() override {
    ++ended;
    if (removesItself) TKPMouseManager()->RemoveTrack(this);
  }
  void ClearSelection() override {}
  void OnTrackedMouseMove(UINT, POINT) override { ++moves; }
};

HWND Popup(int x, int y) {
  return ::CreateWindowExW(0, L"STATIC", L"", WS_POPUP | WS_VISIBLE, x, y, 100, 100, nullptr, nullptr, nullptr, nullptr);
}

TEST(MouseManager, TracksEachBarOnceAndAClickOutsideEndsTrackingUnlessSafe) {
  CTKPMouseManager* mouse = TKPMouseManager();
  Bar a, b;
  a.hwnd = Popup(0, 0);
  b.hwnd = Popup(120, 0);
  HWND safe = Popup(300, 0);
  mouse->SetTrack(&a);
  mouse->SetTrack(&a);
  mouse->SetTrack(&b);
  EXPECT_EQ(mouse->GetTrackedCount(), 2);
  mouse->AddSafeWnd(safe);
  mouse->ExamineTrackedMessage(WM_LBUTTONDOWN, POINT{350, 50});  // in the safe window
  EXPECT_EQ(mouse->GetTrackedCount(), 2);
  mouse->ExamineTrackedMessage(WM_MOUSEMOVE, POINT{600, 400});  // elsewhere: the bars follow the mouse
  EXPECT_EQ(a.moves, 1);
  EXPECT_EQ(b.moves, 1);
  mouse->ExamineTrackedMessage(WM_LBUTTONDOWN, POINT{50, 50});  // on a bar: stays open
  EXPECT_EQ(mouse->GetTrackedCount(), 2);
  mouse->ExamineTrackedMessage(WM_LBUTTONDOWN, POINT{600, 400});
  EXPECT_EQ(mouse->GetTrackedCount(), 0);
  EXPECT_EQ(a.ended + b.ended, 2);
  mouse->RemoveSafeWnd(safe);
  for (HWND w : {a.hwnd, b.hwnd, safe}) ::DestroyWindow(w);
}

TEST(MouseManager, ABarThatDoesNotRemoveItselfIsRemovedAfterItsEnd) {
  CTKPMouseManager* mouse = TKPMouseManager();
  Bar stubborn;
  stubborn.hwnd = Popup(0, 0);
  stubborn.removesItself = false;
  mouse->SetTrack(&stubborn);
  mouse->SendTrackLost();  // would loop for ever if it were left in the list
  EXPECT_EQ(stubborn.ended, 1);
  EXPECT_FALSE(mouse->IsTracked());
  ::DestroyWindow(stubborn.hwnd);
}

TEST(MouseManager, ThePreviousLeaveWindowGetsItsLeaveAndLosesItsTimer) {
  CTKPMouseManager* mouse = TKPMouseManager();
  HWND first = Popup(0, 0), second = Popup(200, 0);
  ::SetCursorPos(50, 50);
  mouse->TrackMouseLeave(first);
  mouse->TrackMouseLeave(second);
  EXPECT_FALSE(::KillTimer(first, CTKPMouseManager::kLeaveTimer));  // already gone
  EXPECT_TRUE(::KillTimer(second, CTKPMouseManager::kLeaveTimer));
  mouse->TrackMouseLeave(nullptr);
  ::DestroyWindow(first);
  ::DestroyWindow(second);
}

WNDPROC g_staticProc = nullptr;
int g_leaves = 0;
LRESULT CALLBACK CountLeaves(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_MOUSELEAVE) ++g_leaves;
  return ::CallWindowProcW(g_staticProc, hWnd, message, wParam, lParam);
}

// A child of a tool window that the active frame owns is in the active window: the mouse staying on it
// gets no leave; moving off it does.
TEST(MouseManager, AChildOfAnOwnedToolWindowKeepsItsLeaveWhileTheOwnerIsActive) {
  HWND frame = ::CreateWindowExW(0, L"STATIC", L"", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 300, 300, 200, 150, nullptr,
                                 nullptr, nullptr, nullptr);
  ::SetForegroundWindow(frame);
  ::SetActiveWindow(frame);
  harness::PumpMessages();
  HWND tool = ::CreateWindowExW(WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE, L"STATIC", L"", WS_POPUP, 20, 20, 120, 120,
                                frame, nullptr, nullptr, nullptr);
  ::ShowWindow(tool, SW_SHOWNOACTIVATE);
  HWND child = ::CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE, 10, 10, 80, 80, tool, nullptr, nullptr,
                                 nullptr);
  harness::PumpMessages();
  ASSERT_EQ(::GetForegroundWindow(), frame);
  g_staticProc = reinterpret_cast<WNDPROC>(
      ::SetWindowLongPtrW(child, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&CountLeaves)));
  const auto leaveArrives = [] {
    g_leaves = 0;
    for (int i = 0; i < 30 && g_leaves == 0; ++i) harness::PumpFor(10);
    return g_leaves > 0;
  };
  ::SetCursorPos(70, 70);
  CTKPMouseManager* mouse = TKPMouseManager();
  mouse->TrackMouseLeave(child);
  EXPECT_FALSE(leaveArrives());
  ::SetCursorPos(250, 250);
  EXPECT_TRUE(leaveArrives());
  mouse->TrackMouseLeave(nullptr);
  ::DestroyWindow(tool);
  ::DestroyWindow(frame);
}

class KeyClient : public CTKPHookClient {
 public:
  KeyClient(std::vector<int>* log, int id, int answer) : log_(log), id_(id), answer_(answer) {}
  int OnHookMessage(HWND, UINT, WPARAM&, LPARAM&, LRESULT&) override {
    log_->push_back(id_);
    return answer_;
  }

 private:
  std::vector<int>* log_;
  int id_;
  int answer_;
};

TEST(KeyboardManager, ClientsAskedLastFirstAndTheirAnswersDecide) {
  CTKPKeyboardManager* keys = TKPKeyboardManager();
  std::vector<int> log;
  KeyClient quiet(&log, 1, 0), passes(&log, 2, 2), takes(&log, 3, 1);
  keys->HookKeyboard(&quiet);
  keys->HookKeyboard(&quiet);
  EXPECT_TRUE(keys->IsKeyboardHooked());
  EXPECT_TRUE(keys->ProcessKeyboardHooks(WM_KEYDOWN, 'A'));
  keys->HookKeyboard(&passes);  // lets the key through; the earlier client is not asked
  log.clear();
  EXPECT_FALSE(keys->ProcessKeyboardHooks(WM_KEYDOWN, 'A'));
  EXPECT_EQ(log, (std::vector<int>{2}));
  keys->HookKeyboard(&takes);
  log.clear();
  EXPECT_TRUE(keys->ProcessKeyboardHooks(WM_KEYDOWN, 'A'));
  EXPECT_EQ(log, (std::vector<int>{3}));
  for (CTKPHookClient* c : std::vector<CTKPHookClient*>{&quiet, &passes, &takes}) keys->UnhookKeyboard(c);
  EXPECT_FALSE(keys->IsKeyboardHooked());
}

}  // namespace
