// The window-procedure hook manager on real windows: clients in order and their answers, a later
// subclass on top, clients removed and windows destroyed while being asked.
#include "toolkit/common/tkp_hook_manager.h"

#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "platform/classlib/win/threadstate.h"

namespace {

constexpr UINT kProbe = WM_APP + 5;

class Client : public CTKPHookClient {
 public:
  Client(std::vector<int>* log, int id, int answer) : log_(log), id_(id), answer_(answer) {}
  std::function<void(HWND)> during;
  int OnHookMessage(HWND hWnd, UINT message, WPARAM&, LPARAM&, LRESULT& result) override {
    if (message != kProbe) return 0;
    log_->push_back(id_);
    if (during) during(hWnd);
    result = 100 + id_;
    return answer_;
  }

 private:
  std::vector<int>* log_;
  int id_;
  int answer_;
};

WNDPROC g_beforeLater = nullptr;
int g_laterSeen = 0;
LRESULT CALLBACK LaterSubclass(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == kProbe) ++g_laterSeen;
  return ::CallWindowProcW(g_beforeLater, hWnd, message, wParam, lParam);
}

LRESULT CALLBACK Plain(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == kProbe) return 7;  // the window's own answer
  return ::DefWindowProcW(hWnd, message, wParam, lParam);
}

HWND MakeWindow() {
  static bool registered = false;
  if (!registered) {
    WNDCLASSW wc{};
    wc.lpfnWndProc = Plain;
    wc.hInstance = ::GetModuleHandleW(nullptr);
    wc.lpszClassName = L"HookedWindow";
    ::RegisterClassW(&wc);
    registered = true;
  }
  return ::CreateWindowW(L"HookedWindow", L"", WS_OVERLAPPED, 0, 0, 50, 50, nullptr, nullptr,
                         ::GetModuleHandleW(nullptr), nullptr);
}

TEST(HookManager, ClientsAskedLastFirstAndTheirAnswersRespected) {
  HWND w = MakeWindow();
  std::vector<int> log;
  Client first(&log, 1, 0), second(&log, 2, 0), stopper(&log, 3, 2);
  CTKPHookManager* hooks = TKPHookManager();
  hooks->SetHook(w, &first);
  hooks->SetHook(w, &second);
  hooks->SetHook(w, &second);  // not twice
  EXPECT_EQ(hooks->GetClientCount(w), 2);
  EXPECT_EQ(::SendMessageW(w, kProbe, 0, 0), 7);
  EXPECT_EQ(log, (std::vector<int>{2, 1}));
  log.clear();
  hooks->SetHook(w, &stopper);  // answers 2: the window gets it, earlier clients are not asked
  EXPECT_EQ(::SendMessageW(w, kProbe, 0, 0), 7);
  EXPECT_EQ(log, (std::vector<int>{3}));
  hooks->RemoveAll(&stopper);
  Client handler(&log, 4, 1);
  hooks->SetHook(w, &handler);
  log.clear();
  EXPECT_EQ(::SendMessageW(w, kProbe, 0, 0), 104);
  EXPECT_EQ(log, (std::vector<int>{4}));
  hooks->RemoveAll(&handler);
  hooks->RemoveHook(w, &first);
  hooks->RemoveHook(w, &second);
  EXPECT_FALSE(hooks->IsHooked(w));
  EXPECT_EQ(reinterpret_cast<WNDPROC>(::GetWindowLongPtrW(w, GWLP_WNDPROC)), &Plain);
  ::DestroyWindow(w);
}

TEST(HookManager, HooksSurviveALaterSubclassWhichIsNeverCutOut) {
  HWND w = MakeWindow();
  std::vector<int> log;
  Client client(&log, 1, 0);
  CTKPHookManager* hooks = TKPHookManager();
  hooks->SetHook(w, &client);
  g_laterSeen = 0;
  g_beforeLater = reinterpret_cast<WNDPROC>(
      ::SetWindowLongPtrW(w, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&LaterSubclass)));
  EXPECT_EQ(::SendMessageW(w, kProbe, 0, 0), 7);
  EXPECT_EQ(log.size(), 1u);
  EXPECT_EQ(g_laterSeen, 1);
  // Removing the last client must not put the old procedure back over the later subclass.
  hooks->RemoveHook(w, &client);
  EXPECT_EQ(reinterpret_cast<WNDPROC>(::GetWindowLongPtrW(w, GWLP_WNDPROC)), &LaterSubclass);
  EXPECT_EQ(::SendMessageW(w, kProbe, 0, 0), 7);
  EXPECT_EQ(g_laterSeen, 2);
  EXPECT_EQ(log.size(), 1u);
  ::DestroyWindow(w);
  EXPECT_FALSE(hooks->IsHooked(w));  // the record went with the window
}

TEST(HookManager, ClientsRemovedOrTheWindowDestroyedDuringACallback) {
  HWND w = MakeWindow();
  std::vector<int> log;
  Client a(&log, 1, 0), b(&log, 2, 0), c(&log, 3, 0);
  CTKPHookManager* hooks = TKPHookManager();
  hooks->SetHook(w, &a);
  hooks->SetHook(w, &b);
  hooks->SetHook(w, &c);
  c.during = [&](HWND) { hooks->RemoveHook(w, &b); };  // asked first, removes the next one
  EXPECT_EQ(::SendMessageW(w, kProbe, 0, 0), 7);
  EXPECT_EQ(log, (std::vector<int>{3, 1}));
  log.clear();
  c.during = [](HWND hWnd) { ::DestroyWindow(hWnd); };
  ::SendMessageW(w, kProbe, 0, 0);
  EXPECT_EQ(log, (std::vector<int>{3}));
  EXPECT_FALSE(::IsWindow(w));
  EXPECT_FALSE(hooks->IsHooked(w));
}

}  // namespace

namespace {

// What a client finds as the thread's current message: the one it is asked about, so that passing it on
// with Default() passes that one; the message being handled outside comes back afterwards.
class MessageReader : public CTKPHookClient {
 public:
  MSG seen{};
  int OnHookMessage(HWND, UINT message, WPARAM&, LPARAM&, LRESULT&) override {
    if (message == kProbe) seen = AfxGetThreadState()->m_lastSentMsg;
    return 0;
  }
};

TEST(HookManager, AClientFindsItsMessageAsTheThreadsCurrentOne) {
  HWND w = MakeWindow();
  MessageReader reader;
  TKPHookManager()->SetHook(w, &reader);
  AfxGetThreadState()->m_lastSentMsg.message = WM_NULL;
  AfxGetThreadState()->m_lastSentMsg.wParam = 1;
  EXPECT_EQ(::SendMessageW(w, kProbe, 42, 43), 7);
  EXPECT_EQ(reader.seen.hwnd, w);
  EXPECT_EQ(reader.seen.message, kProbe);
  EXPECT_EQ(reader.seen.wParam, 42u);
  EXPECT_EQ(reader.seen.lParam, 43);
  EXPECT_EQ(AfxGetThreadState()->m_lastSentMsg.message, static_cast<UINT>(WM_NULL));
  EXPECT_EQ(AfxGetThreadState()->m_lastSentMsg.wParam, 1u);
  TKPHookManager()->RemoveAll(&reader);
  ::DestroyWindow(w);
}

}  // namespace
