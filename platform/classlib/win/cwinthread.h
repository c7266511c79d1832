// CWinThread: a thread of the program. A worker thread runs one function; a user-interface thread
// (and the application, which is one) runs the message loop: each message goes through
// PreTranslateMessage of its window and that window's parents, then to its window procedure; when
// the queue is empty OnIdle runs, which updates the commands' states of the main window and its bars
// (WM_IDLEUPDATECMDUI) and then deletes the temporary window and DC wrappers.
#pragma once

#include <windows.h>

#include "platform/classlib/cexception.h"
#include "platform/classlib/win/ccmdtarget.h"

class CWnd;

typedef UINT (*AFX_THREADPROC)(LPVOID pParam);

class CWinThread : public CCmdTarget {
  DECLARE_DYNAMIC(CWinThread)

 public:
  CWinThread() = default;
  CWinThread(AFX_THREADPROC pfnThreadProc, LPVOID pParam);
  ~CWinThread() override;

  // Starts the thread (the object must stay until it ends; with m_bAutoDelete it deletes itself).
  BOOL CreateThread(DWORD dwCreateFlags = 0, UINT nStackSize = 0, LPSECURITY_ATTRIBUTES lpSecurityAttrs = nullptr);

  CWnd* m_pMainWnd = nullptr;
  CWnd* m_pActiveWnd = nullptr;
  // An auto-deleting thread's object (and its handle) is gone once its function has returned: keep
  // the object (FALSE, or start it CREATE_SUSPENDED and decide then) to use the handle after that.
  BOOL m_bAutoDelete = TRUE;
  HANDLE m_hThread = nullptr;
  DWORD m_nThreadID = 0;
  AFX_THREADPROC m_pfnThreadProc = nullptr;
  LPVOID m_pThreadParams = nullptr;

  operator HANDLE() const { return m_hThread; }
  int GetThreadPriority();
  BOOL SetThreadPriority(int nPriority);
  DWORD SuspendThread();
  DWORD ResumeThread();
  BOOL PostThreadMessage(UINT message, WPARAM wParam, LPARAM lParam);

  virtual BOOL InitInstance();
  virtual int ExitInstance();
  // The message loop, until WM_QUIT; answers ExitInstance's code.
  virtual int Run();
  virtual BOOL PreTranslateMessage(MSG* pMsg);
  // Fetches and dispatches one message; FALSE on WM_QUIT.
  virtual BOOL PumpMessage();
  // lCount counts the idle turns since the last message; TRUE asks for another turn.
  virtual BOOL OnIdle(LONG lCount);
  // FALSE for messages that do not restart idle processing (a repeated mouse move, the caret's timer).
  virtual BOOL IsIdleMessage(MSG* pMsg);
  // m_pActiveWnd, else m_pMainWnd.
  virtual CWnd* GetMainWnd();
  // Deletes the object when m_bAutoDelete (called when the thread ends).
  virtual void Delete();

  // A handler threw while a window procedure of this thread ran: the answer the message ends with.
  // The default answer is FailedWndProcResult's; e (may be null for a non-library exception) is
  // deleted by whoever answers.
  virtual LRESULT ProcessWndProcException(CException* e, const MSG* pMsg);
  // -1 for WM_CREATE (the window is not created), 0 otherwise; a WM_PAINT is validated so that it
  // does not come back at once.
  static LRESULT FailedWndProcResult(CException* e, const MSG* pMsg);

 private:
  static unsigned __stdcall ThreadEntry(void* pThread);
  UINT RunThread();
};

// Starts a worker thread running pfnThreadProc(pParam).
CWinThread* AfxBeginThread(AFX_THREADPROC pfnThreadProc, LPVOID pParam, int nPriority = THREAD_PRIORITY_NORMAL,
                           UINT nStackSize = 0, DWORD dwCreateFlags = 0,
                           LPSECURITY_ATTRIBUTES lpSecurityAttrs = nullptr);
// Starts a user-interface thread of a CWinThread class with DYNCREATE.
CWinThread* AfxBeginThread(CRuntimeClass* pThreadClass, int nPriority = THREAD_PRIORITY_NORMAL, UINT nStackSize = 0,
                           DWORD dwCreateFlags = 0, LPSECURITY_ATTRIBUTES lpSecurityAttrs = nullptr);
// The thread object of the calling thread (the application on its first thread), or null.
CWinThread* AfxGetThread();
