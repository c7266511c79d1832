// A window's own modal loop (dialogs and property sheets run theirs here, so that their keys go through
// PreTranslateMessage and idle turns reach them), and the activation of a window's top-level parent.
#include "platform/classlib/win/cwinapp.h"
#include "platform/classlib/win/cwinthread.h"
#include "platform/classlib/win/cwnd.h"
#include "platform/classlib/win/messages.h"
#include "platform/classlib/win/threadstate.h"

namespace {
// One message of the loop; FALSE on WM_QUIT, which is posted again for the loop outside.
BOOL PumpOne() {
  if (CWinThread* thread = AfxGetThread()) {
    if (thread->PumpMessage()) return TRUE;
    ::PostQuitMessage(static_cast<int>(AfxGetThreadState()->m_msgCur.wParam));
    return FALSE;
  }
  MSG msg;
  BOOL got = ::GetMessageW(&msg, nullptr, 0, 0);
  if (got == 0) {
    ::PostQuitMessage(static_cast<int>(msg.wParam));
    return FALSE;
  }
  if (got > 0 && !CWnd::WalkPreTranslateTree(nullptr, &msg)) {
    ::TranslateMessage(&msg);
    ::DispatchMessageW(&msg);
  }
  return TRUE;
}
}  // namespace

int CWnd::RunModalLoop(DWORD dwFlags) {
  HWND hWnd = m_hWnd;
  if (m_bModalEndPending) {
    m_bModalEndPending = FALSE;
    return m_nModalResult;
  }
  m_bContinueModal = TRUE;
  bool idle = true;
  LONG idleCount = 0;
  bool showPending = (dwFlags & MLF_SHOWONIDLE) != 0 && (::GetWindowLongW(hWnd, GWL_STYLE) & WS_VISIBLE) == 0;
  MSG peeked;
  for (;;) {
    while (idle && !::PeekMessageW(&peeked, nullptr, 0, 0, PM_NOREMOVE)) {
      if (showPending) {
        ::ShowWindow(hWnd, SW_SHOWNORMAL);
        ::UpdateWindow(hWnd);
        showPending = false;
      }
      if (!ContinueModal()) return m_nModalResult;
      if ((dwFlags & MLF_NOIDLEMSG) != 0 || !::SendMessageW(hWnd, WM_KICKIDLE, MSGF_DIALOGBOX, idleCount++)) {
        idle = false;
      }
    }
    // The window may end while a message is handled (and its object with it): ask only through the
    // handle until ContinueModal is safe to call again.
    if (!PumpOne()) {
      if (::IsWindow(hWnd)) m_bContinueModal = FALSE;
      return -1;
    }
    if (!::IsWindow(hWnd)) return -1;
    if (!ContinueModal()) return m_nModalResult;
    if (AfxGetThreadState()->m_msgCur.message != WM_PAINT) {
      idle = true;
      idleCount = 0;
    }
  }
}

BOOL CWnd::ContinueModal() { return m_bContinueModal; }

void CWnd::EndModalLoop(int nResult) {
  m_nModalResult = nResult;
  if (m_bContinueModal) {
    m_bContinueModal = FALSE;
    ::PostMessageW(m_hWnd, WM_NULL, 0, 0);  // wakes the loop if it waits for a message
  } else {
    m_bModalEndPending = TRUE;  // the loop has not started yet: it ends as soon as it does
  }
}

HWND CWnd::TopLevelWindowOf(HWND hWnd) {
  while (hWnd != nullptr && (::GetWindowLongW(hWnd, GWL_STYLE) & WS_CHILD) != 0) hWnd = ::GetParent(hWnd);
  return hWnd;
}

HWND CWnd::PrepareModalOwner(CWnd* pParentWnd, BOOL* pbOwnerDisabled) {
  *pbOwnerDisabled = FALSE;
  CWnd* pParent = pParentWnd != nullptr ? pParentWnd : AfxGetMainWnd();
  HWND hWndTop = TopLevelWindowOf(pParent != nullptr ? pParent->m_hWnd : nullptr);
  if (hWndTop == nullptr || hWndTop == m_hWnd) return nullptr;
  // A box opened from a box that is open already belongs to that one.
  HWND hWndPopup = ::GetLastActivePopup(hWndTop);
  HWND hWndOwner = hWndPopup != nullptr && hWndPopup != m_hWnd ? hWndPopup : hWndTop;
  if (::IsWindowEnabled(hWndOwner)) {
    ::EnableWindow(hWndOwner, FALSE);
    *pbOwnerDisabled = TRUE;
  }
  return hWndOwner;
}

void CWnd::ReleaseModalOwner(HWND hWndOwner, BOOL bOwnerDisabled) {
  // The owner comes back before this window goes, so that it is the window that becomes active.
  if (m_hWnd != nullptr) {
    ::SetWindowPos(m_hWnd, nullptr, 0, 0, 0, 0,
                   SWP_HIDEWINDOW | SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE | SWP_NOZORDER);
  }
  if (bOwnerDisabled) ::EnableWindow(hWndOwner, TRUE);
  if (hWndOwner != nullptr && m_hWnd != nullptr && ::GetActiveWindow() == m_hWnd) ::SetActiveWindow(hWndOwner);
  if (m_hWnd != nullptr) DestroyWindow();
}

// ---- the top-level parent -------------------------------------------------------------------------

void CWnd::ActivateTopParent() {
  HWND hWndTop = GetTopLevelParent()->m_hWnd;
  HWND hWndActive = ::GetActiveWindow();
  if (hWndActive == hWndTop) return;
  // A pop-up of the top-level window (a floating bar) counts as that window being active.
  if (hWndActive != nullptr && ::GetWindow(hWndActive, GW_OWNER) == hWndTop) return;
  ::SetForegroundWindow(hWndTop);
  ::SetActiveWindow(hWndTop);
}

BOOL CWnd::IsTopParentActive() const {
  HWND hWndTop = GetTopLevelParent()->m_hWnd;
  HWND hWndActive = ::GetActiveWindow();
  return hWndActive == hWndTop || (hWndActive != nullptr && ::GetLastActivePopup(hWndTop) == hWndActive);
}
