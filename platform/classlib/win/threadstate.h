// What the class library keeps per thread: the message being handled (for CWnd::Default and for
// hooks that stand in for a window procedure), the last message the loop fetched, the window being
// created, the thread object, the routing frame, and the temporary handle maps' clean-up list.
#pragma once

#include <windows.h>

#include <commctrl.h>

#include <vector>

class CWinThread;
class CWnd;

struct AFX_THREAD_STATE {
  MSG m_lastSentMsg{};  // the message of the innermost window procedure of the thread now running
  MSG m_msgCur{};       // the last message the thread's loop fetched
  CWinThread* m_pCurrentWinThread = nullptr;
  // A frame that routes commands now: message boxes shown meanwhile are owned by it.
  CWnd* m_pRoutingFrame = nullptr;

  // The creation hook: the object that the next window created on this thread belongs to.
  CWnd* m_pWndInit = nullptr;
  HHOOK m_hHookCbt = nullptr;
  int m_nCreateDepth = 0;

  // Window procedures running on this thread: temporary wrappers stay alive while it is above 0.
  int m_nTempMapLock = 0;
  std::vector<void (*)()> m_tempMapCleaners;

  // The tooltip of the windows that enabled their own (CWnd::EnableToolTips), and the tool it shows.
  CWnd* m_pToolTip = nullptr;
  INT_PTR m_nLastHit = -1;
  TOOLINFO m_lastInfo{};

  // The loop's idle detection: a mouse move to the same place does not restart idle processing.
  UINT m_nMsgLast = 0;
  POINT m_ptCursorLast{};
};

AFX_THREAD_STATE* AfxGetThreadState();
// Deletes the calling thread's temporary wrappers and its state (at the end of a thread of ours).
void AfxTermThreadState();

// For its lifetime makes a frame the thread's routing frame (the owner of message boxes).
class CPushRoutingFrame {
 public:
  explicit CPushRoutingFrame(CWnd* pNewFrame);
  ~CPushRoutingFrame();
  CPushRoutingFrame(const CPushRoutingFrame&) = delete;
  CPushRoutingFrame& operator=(const CPushRoutingFrame&) = delete;

 private:
  CWnd* m_pOldFrame;
  AFX_THREAD_STATE* m_pState;
};
