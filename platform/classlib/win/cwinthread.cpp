#include "platform/classlib/win/cwinthread.h"

#include <process.h>

#include "platform/classlib/win/cwnd.h"
#include "platform/classlib/win/threadstate.h"

IMPLEMENT_DYNAMIC(CWinThread, CCmdTarget)

CWinThread::CWinThread(AFX_THREADPROC pfnThreadProc, LPVOID pParam)
    : m_pfnThreadProc(pfnThreadProc), m_pThreadParams(pParam) {}

CWinThread::~CWinThread() {
  if (m_hThread != nullptr) ::CloseHandle(m_hThread);
  AFX_THREAD_STATE* state = AfxGetThreadState();
  if (state->m_pCurrentWinThread == this) state->m_pCurrentWinThread = nullptr;
}

// ---- starting and ending --------------------------------------------------------------------------

BOOL CWinThread::CreateThread(DWORD dwCreateFlags, UINT nStackSize, LPSECURITY_ATTRIBUTES lpSecurityAttrs) {
  unsigned id = 0;
  // Suspended until the handle and id are stored: the thread may read them at once.
  uintptr_t handle =
      ::_beginthreadex(lpSecurityAttrs, nStackSize, &ThreadEntry, this, dwCreateFlags | CREATE_SUSPENDED, &id);
  if (handle == 0) return FALSE;
  m_hThread = reinterpret_cast<HANDLE>(handle);
  m_nThreadID = id;
  if ((dwCreateFlags & CREATE_SUSPENDED) == 0) ::ResumeThread(reinterpret_cast<HANDLE>(handle));
  return TRUE;
}

unsigned __stdcall CWinThread::ThreadEntry(void* pThread) {
  auto* thread = static_cast<CWinThread*>(pThread);
  AfxGetThreadState()->m_pCurrentWinThread = thread;
  UINT code = thread->RunThread();
  thread->Delete();
  AfxTermThreadState();
  return code;
}

UINT CWinThread::RunThread() {
  // Nothing above the thread's start would catch: what the thread throws ends it with -1.
  try {
    if (m_pfnThreadProc != nullptr) return m_pfnThreadProc(m_pThreadParams);
    if (!InitInstance()) return static_cast<UINT>(ExitInstance());
    return static_cast<UINT>(Run());
  } catch (CException* e) {
    e->Delete();
  } catch (...) {
  }
  return static_cast<UINT>(-1);
}

void CWinThread::Delete() {
  if (m_bAutoDelete) delete this;
}

namespace {
// Starts the thread at the priority; it runs at once unless CREATE_SUSPENDED is asked for.
CWinThread* Start(CWinThread* thread, int nPriority, UINT nStackSize, DWORD dwCreateFlags,
                  LPSECURITY_ATTRIBUTES lpSecurityAttrs) {
  if (!thread->CreateThread(dwCreateFlags | CREATE_SUSPENDED, nStackSize, lpSecurityAttrs)) {
    delete thread;
    return nullptr;
  }
  thread->SetThreadPriority(nPriority);
  if ((dwCreateFlags & CREATE_SUSPENDED) == 0) thread->ResumeThread();
  return thread;
}
}  // namespace

CWinThread* AfxBeginThread(AFX_THREADPROC pfnThreadProc, LPVOID pParam, int nPriority, UINT nStackSize,
                           DWORD dwCreateFlags, LPSECURITY_ATTRIBUTES lpSecurityAttrs) {
  return Start(new CWinThread(pfnThreadProc, pParam), nPriority, nStackSize, dwCreateFlags, lpSecurityAttrs);
}

CWinThread* AfxBeginThread(CRuntimeClass* pThreadClass, int nPriority, UINT nStackSize, DWORD dwCreateFlags,
                           LPSECURITY_ATTRIBUTES lpSecurityAttrs) {
  if (pThreadClass == nullptr || !pThreadClass->IsDerivedFrom(RUNTIME_CLASS(CWinThread))) return nullptr;
  auto* thread = static_cast<CWinThread*>(pThreadClass->CreateObject());
  if (thread == nullptr) return nullptr;
  return Start(thread, nPriority, nStackSize, dwCreateFlags, lpSecurityAttrs);
}

CWinThread* AfxGetThread() { return AfxGetThreadState()->m_pCurrentWinThread; }

int CWinThread::GetThreadPriority() { return ::GetThreadPriority(m_hThread); }
BOOL CWinThread::SetThreadPriority(int nPriority) { return ::SetThreadPriority(m_hThread, nPriority); }
DWORD CWinThread::SuspendThread() { return ::SuspendThread(m_hThread); }
DWORD CWinThread::ResumeThread() { return ::ResumeThread(m_hThread); }
BOOL CWinThread::PostThreadMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  return ::PostThreadMessageW(m_nThreadID, message, wParam, lParam);
}

// ---- the message loop -----------------------------------------------------------------------------

BOOL CWinThread::InitInstance() { return FALSE; }

int CWinThread::ExitInstance() {
  AfxDeleteTempMaps();
  return static_cast<int>(AfxGetThreadState()->m_msgCur.wParam);  // WM_QUIT's code
}

int CWinThread::Run() {
  MSG& msg = AfxGetThreadState()->m_msgCur;
  BOOL idle = TRUE;
  LONG idleCount = 0;
  for (;;) {
    while (idle && !::PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE)) {
      if (!OnIdle(idleCount++)) idle = FALSE;
    }
    do {
      if (!PumpMessage()) return ExitInstance();
      if (IsIdleMessage(&msg)) {
        idle = TRUE;
        idleCount = 0;
      }
    } while (::PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE));
  }
}

BOOL CWinThread::PumpMessage() {
  MSG& msg = AfxGetThreadState()->m_msgCur;
  BOOL got = ::GetMessageW(&msg, nullptr, 0, 0);
  if (got == 0) return FALSE;  // WM_QUIT
  if (got == -1) return TRUE;  // nothing fetched
  if (!PreTranslateMessage(&msg)) {
    ::TranslateMessage(&msg);
    ::DispatchMessageW(&msg);
  }
  return TRUE;
}

namespace {
// Whether the walk from hWnd up through its parents (and a pop-up's owner) passes hWndStop.
bool ReachesWindow(HWND hWnd, HWND hWndStop) {
  for (; hWnd != nullptr; hWnd = ::GetParent(hWnd)) {
    if (hWnd == hWndStop) return true;
  }
  return false;
}
}  // namespace

BOOL CWinThread::PreTranslateMessage(MSG* pMsg) {
  if (pMsg->hwnd == nullptr) return FALSE;  // a thread message: for its window-less receiver
  CWnd* pMainWnd = GetMainWnd();
  HWND hWndMain = pMainWnd != nullptr ? pMainWnd->m_hWnd : nullptr;
  if (CWnd::WalkPreTranslateTree(hWndMain, pMsg)) return TRUE;
  // A window outside the main window's family still gets the main window's keys (its accelerators).
  if (hWndMain != nullptr && !ReachesWindow(pMsg->hwnd, hWndMain)) return pMainWnd->PreTranslateMessage(pMsg);
  return FALSE;
}

BOOL CWinThread::OnIdle(LONG lCount) {
  if (lCount <= 0) {
    CWnd* pMainWnd = m_pMainWnd;
    if (pMainWnd != nullptr && pMainWnd->m_hWnd != nullptr && pMainWnd->IsWindowVisible()) {
      // wParam TRUE: commands without a handler are disabled.
      pMainWnd->SendMessage(WM_IDLEUPDATECMDUI, TRUE, 0);
      pMainWnd->SendMessageToDescendants(WM_IDLEUPDATECMDUI, TRUE, 0, TRUE, TRUE);
    }
    return TRUE;  // one more turn for the clean-up
  }
  AfxDeleteTempMaps();
  return FALSE;
}

BOOL CWinThread::IsIdleMessage(MSG* pMsg) {
  AFX_THREAD_STATE* state = AfxGetThreadState();
  if (pMsg->message == WM_MOUSEMOVE || pMsg->message == WM_NCMOUSEMOVE) {
    bool same = state->m_nMsgLast == pMsg->message && state->m_ptCursorLast.x == pMsg->pt.x &&
                state->m_ptCursorLast.y == pMsg->pt.y;
    state->m_nMsgLast = pMsg->message;
    state->m_ptCursorLast = pMsg->pt;
    return !same;
  }
  constexpr UINT kCaretBlink = 0x0118;  // the system's timer message that blinks the caret
  return pMsg->message != WM_PAINT && pMsg->message != kCaretBlink;
}

CWnd* CWinThread::GetMainWnd() { return m_pActiveWnd != nullptr ? m_pActiveWnd : m_pMainWnd; }

// ---- exceptions in window procedures --------------------------------------------------------------

LRESULT CWinThread::ProcessWndProcException(CException* e, const MSG* pMsg) {
  return FailedWndProcResult(e, pMsg);
}

LRESULT CWinThread::FailedWndProcResult(CException* e, const MSG* pMsg) {
  if (e != nullptr) e->Delete();
  if (pMsg->message == WM_PAINT) ::ValidateRect(pMsg->hwnd, nullptr);
  return pMsg->message == WM_CREATE ? -1 : 0;
}
