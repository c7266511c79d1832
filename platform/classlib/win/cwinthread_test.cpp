// Threads: a worker started with AfxBeginThread reports to the user-interface thread by posting to its
// window; a kept thread object gives the exit code; a user-interface thread runs its own loop.
#include <gtest/gtest.h>

#include <atomic>

#include "platform/classlib/win/win_test_support.h"
#include "platform/harness/driver.h"

namespace {

constexpr UINT kProgress = WM_APP + 20;

class ProgressWindow : public CWnd {
 public:
  std::vector<int> percents;
  DWORD senderThread = 0;

 protected:
  afx_msg LRESULT OnProgress(WPARAM wParam, LPARAM lParam) {
    percents.push_back(static_cast<int>(wParam));
    senderThread = static_cast<DWORD>(lParam);
    return 0;
  }
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(ProgressWindow, CWnd)
  ON_MESSAGE(kProgress, OnProgress)
END_MESSAGE_MAP()

struct Job {
  HWND report = nullptr;
  std::atomic<CWinThread*> seenThread{nullptr};
};

UINT Worker(LPVOID param) {
  auto* job = static_cast<Job*>(param);
  job->seenThread = AfxGetThread();
  for (int percent = 25; percent <= 100; percent += 25) {
    ::PostMessageW(job->report, kProgress, static_cast<WPARAM>(percent), static_cast<LPARAM>(::GetCurrentThreadId()));
  }
  return 17;
}

UINT ThrowingWorker(LPVOID) { throw new CNotSupportedException; }

TEST(Threads, AWorkerPostsItsProgressToTheUserInterfaceThread) {
  ProgressWindow window;
  ASSERT_TRUE(cltest::CreateTopLevel(window, _T("progress"), WS_OVERLAPPEDWINDOW));
  Job job;
  job.report = window.m_hWnd;
  CWinThread* thread = AfxBeginThread(&Worker, &job);
  ASSERT_NE(thread, nullptr);
  EXPECT_TRUE(harness::WaitUntil([&] { return window.percents.size() == 4; }));
  EXPECT_EQ(window.percents, (std::vector<int>{25, 50, 75, 100}));
  EXPECT_NE(window.senderThread, ::GetCurrentThreadId());
  EXPECT_NE(job.seenThread.load(), nullptr);
  EXPECT_NE(job.seenThread.load(), static_cast<CWinThread*>(&cltest::App()));
  window.DestroyWindow();
}

TEST(Threads, AKeptThreadObjectGivesTheExitCode) {
  Job job;
  ProgressWindow window;
  ASSERT_TRUE(cltest::CreateTopLevel(window, _T("kept"), WS_OVERLAPPEDWINDOW));
  job.report = window.m_hWnd;
  CWinThread* thread = AfxBeginThread(&Worker, &job, THREAD_PRIORITY_BELOW_NORMAL, 0, CREATE_SUSPENDED);
  ASSERT_NE(thread, nullptr);
  thread->m_bAutoDelete = FALSE;
  EXPECT_EQ(thread->GetThreadPriority(), THREAD_PRIORITY_BELOW_NORMAL);
  thread->ResumeThread();
  ASSERT_EQ(::WaitForSingleObject(thread->m_hThread, 5000), WAIT_OBJECT_0);
  DWORD code = 0;
  ::GetExitCodeThread(thread->m_hThread, &code);
  EXPECT_EQ(code, 17u);
  EXPECT_EQ(job.seenThread.load(), thread);
  delete thread;
  window.DestroyWindow();
}

TEST(Threads, AnExceptionEndsOnlyItsThread) {
  CWinThread* thread = AfxBeginThread(&ThrowingWorker, nullptr, THREAD_PRIORITY_NORMAL, 0, CREATE_SUSPENDED);
  ASSERT_NE(thread, nullptr);
  thread->m_bAutoDelete = FALSE;
  thread->ResumeThread();
  ASSERT_EQ(::WaitForSingleObject(thread->m_hThread, 5000), WAIT_OBJECT_0);
  DWORD code = 0;
  ::GetExitCodeThread(thread->m_hThread, &code);
  EXPECT_EQ(code, static_cast<DWORD>(-1));
  delete thread;
}

// A user-interface thread: its own window, its own loop, ended by a posted quit.
HWND g_uiThreadWindow = nullptr;
std::atomic<bool> g_uiThreadExited{false};

class UiThread : public CWinThread {
  DECLARE_DYNCREATE(UiThread)

 public:
  BOOL InitInstance() override {
    window = new CWnd;
    if (!cltest::CreateTopLevel(*window, _T("ui thread"), WS_OVERLAPPEDWINDOW)) return FALSE;
    m_pMainWnd = window;
    g_uiThreadWindow = window->m_hWnd;
    return TRUE;
  }
  int ExitInstance() override {
    window->DestroyWindow();
    delete window;
    g_uiThreadExited = true;
    return CWinThread::ExitInstance();
  }

 private:
  CWnd* window = nullptr;
};

IMPLEMENT_DYNCREATE(UiThread, CWinThread)

TEST(Threads, AUserInterfaceThreadRunsItsOwnLoopUntilItQuits) {
  CWinThread* thread = AfxBeginThread(RUNTIME_CLASS(UiThread), THREAD_PRIORITY_NORMAL, 0, CREATE_SUSPENDED);
  ASSERT_NE(thread, nullptr);
  thread->m_bAutoDelete = FALSE;
  thread->ResumeThread();
  ASSERT_TRUE(harness::WaitUntil([] { return g_uiThreadWindow != nullptr; }));
  EXPECT_EQ(::GetWindowThreadProcessId(g_uiThreadWindow, nullptr), thread->m_nThreadID);
  EXPECT_NE(CWnd::FromHandlePermanent(g_uiThreadWindow), nullptr);  // the handle map is the process's
  ::PostThreadMessageW(thread->m_nThreadID, WM_QUIT, 3, 0);
  ASSERT_EQ(::WaitForSingleObject(thread->m_hThread, 5000), WAIT_OBJECT_0);
  DWORD code = 0;
  ::GetExitCodeThread(thread->m_hThread, &code);
  EXPECT_EQ(code, 3u);
  EXPECT_TRUE(g_uiThreadExited);
  EXPECT_EQ(CWnd::FromHandlePermanent(g_uiThreadWindow), nullptr);
  delete thread;
  EXPECT_EQ(AfxBeginThread(RUNTIME_CLASS(CWnd)), nullptr);  // not a thread class
}

}  // namespace
