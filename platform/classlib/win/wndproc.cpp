// The window procedure of every window that has an object, the creation hook that gives windows
// created through CWnd their object before their first message, and the library's window classes.
#include <cwchar>
#include <mutex>
#include <set>
#include <string>

#include "platform/classlib/cexception.h"
#include "platform/classlib/win/cwinapp.h"
#include "platform/classlib/win/cwinthread.h"
#include "platform/classlib/win/cwnd.h"
#include "platform/classlib/win/threadstate.h"

void AfxTakeOverWindow(CWnd* pWnd, HWND hWnd);
BOOL AfxTakeOverWindowChecked(CWnd* pWnd, HWND hWnd);

namespace {

// What a message ends with when its handler threw: no C++ exception crosses the system's code.
LRESULT HandleException(CException* e, const MSG& msg) {
  try {
    if (CWinThread* thread = AfxGetThread()) return thread->ProcessWndProcException(e, &msg);
  } catch (...) {
    // The thread's own handling failed: fall back to the plain answer.
  }
  return CWinThread::FailedWndProcResult(e, &msg);
}

template <class Step>
LRESULT Guarded(Step step, const MSG& msg) {
  try {
    return step();
  } catch (CException* e) {
    return HandleException(e, msg);
  } catch (...) {
    return HandleException(nullptr, msg);
  }
}

}  // namespace

LRESULT AfxCallWndProc(CWnd* pWnd, HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam) {
  AFX_THREAD_STATE* state = AfxGetThreadState();
  MSG saved = state->m_lastSentMsg;
  state->m_lastSentMsg = MSG{hWnd, nMsg, wParam, lParam, 0, {}};
  const MSG msg = state->m_lastSentMsg;
  ++state->m_nTempMapLock;
  LRESULT result = Guarded([&] { return pWnd->WindowProc(nMsg, wParam, lParam); }, msg);
  // The window's last message: the object lets go of it, whatever the handlers did.
  if (nMsg == WM_NCDESTROY && CWnd::FromHandlePermanent(hWnd) == pWnd) {
    Guarded([&] { pWnd->FinishNcDestroy(); return LRESULT{0}; }, msg);
  }
  --state->m_nTempMapLock;
  state->m_lastSentMsg = saved;
  return result;
}

LRESULT CALLBACK AfxWndProc(HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam) {
  CWnd* pWnd = CWnd::FromHandlePermanent(hWnd);
  if (pWnd == nullptr) return ::DefWindowProcW(hWnd, nMsg, wParam, lParam);
  return AfxCallWndProc(pWnd, hWnd, nMsg, wParam, lParam);
}

// ---- the creation hook ----------------------------------------------------------------------------

namespace {

// The system may create its input-method window inside our CreateWindowEx; it is not ours.
bool IsImeWindow(HWND hWnd) {
  wchar_t name[8] = {};
  ::GetClassNameW(hWnd, name, 8);
  return ::_wcsicmp(name, L"IME") == 0;
}

LRESULT CALLBACK CreationFilter(int code, WPARAM wParam, LPARAM lParam) {
  AFX_THREAD_STATE* state = AfxGetThreadState();
  if (code == HCBT_CREATEWND && state->m_pWndInit != nullptr) {
    auto hWnd = reinterpret_cast<HWND>(wParam);
    if (!IsImeWindow(hWnd)) {
      CWnd* pWnd = state->m_pWndInit;
      state->m_pWndInit = nullptr;
      // A window whose object refuses it (PreSubclassWindow threw) is not created.
      if (!AfxTakeOverWindowChecked(pWnd, hWnd)) return 1;
    }
  }
  return ::CallNextHookEx(state->m_hHookCbt, code, wParam, lParam);
}

}  // namespace

void AfxHookWindowCreate(CWnd* pWnd) {
  AFX_THREAD_STATE* state = AfxGetThreadState();
  if (state->m_nCreateDepth++ == 0 && state->m_hHookCbt == nullptr) {
    state->m_hHookCbt = ::SetWindowsHookExW(WH_CBT, &CreationFilter, nullptr, ::GetCurrentThreadId());
  }
  state->m_pWndInit = pWnd;
}

BOOL AfxUnhookWindowCreate() {
  AFX_THREAD_STATE* state = AfxGetThreadState();
  BOOL reached = state->m_pWndInit == nullptr;
  state->m_pWndInit = nullptr;
  if (--state->m_nCreateDepth == 0 && state->m_hHookCbt != nullptr) {
    ::UnhookWindowsHookEx(state->m_hHookCbt);
    state->m_hHookCbt = nullptr;
  }
  return reached;
}

// ---- window classes -------------------------------------------------------------------------------

LPCTSTR AfxRegisterWndClass(UINT nClassStyle, HCURSOR hCursor, HBRUSH hbrBackground, HICON hIcon) {
  static std::mutex mutex;
  static auto* names = new std::set<std::wstring>;  // kept for the process: callers hold the text
  HINSTANCE hInstance = AfxGetInstanceHandle();
  wchar_t buffer[96];
  std::swprintf(buffer, 96, L"ClassLib:%p:%x:%p:%p:%p", static_cast<void*>(hInstance), nClassStyle,
                static_cast<void*>(hCursor), static_cast<void*>(hbrBackground), static_cast<void*>(hIcon));
  std::lock_guard<std::mutex> lock(mutex);
  const std::wstring& name = *names->insert(buffer).first;
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  if (!::GetClassInfoExW(hInstance, name.c_str(), &wc)) {
    wc.style = nClassStyle;
    wc.lpfnWndProc = &::DefWindowProcW;  // windows made through CWnd get AfxWndProc from the hook
    wc.hInstance = hInstance;
    wc.hCursor = hCursor;
    wc.hbrBackground = hbrBackground;
    wc.hIcon = hIcon;
    wc.lpszClassName = name.c_str();
    ::RegisterClassExW(&wc);
  }
  return name.c_str();
}
