// CFrameWnd: the layout of its children, its control bars, the idle turn, status texts, the key
// indicators, menus, and the floating windows that follow its activation.
#include <algorithm>

#include "platform/classlib/win/ccmdui.h"
#include "platform/classlib/win/ccontrolbar.h"
#include "platform/classlib/win/cframewnd.h"
#include "platform/classlib/win/cmenu.h"
#include "platform/classlib/win/cview.h"
#include "platform/classlib/win/cwinthread.h"

// ---- layout ---------------------------------------------------------------------------------------

void CFrameWnd::RecalcLayout(BOOL) {
  if (m_bInRecalcLayout || m_hWnd == nullptr) return;
  m_bInRecalcLayout = TRUE;
  m_nIdleFlags &= ~(idleLayout | idleNotify);
  RepositionBars(0, 0xFFFF, AFX_IDW_PANE_FIRST, reposExtra, m_rectBorder);
  m_bInRecalcLayout = FALSE;
}

void CFrameWnd::DelayRecalcLayout(BOOL bNotify) { m_nIdleFlags |= idleLayout | (bNotify ? idleNotify : 0); }

void CFrameWnd::OnSize(UINT nType, int, int) {
  if (nType != SIZE_MINIMIZED) RecalcLayout();
}

LRESULT CFrameWnd::OnIdleUpdateCmdUI(WPARAM, LPARAM) {
  if ((m_nIdleFlags & idleLayout) != 0) RecalcLayout((m_nIdleFlags & idleNotify) != 0);
  if ((m_nIdleFlags & idleTitle) != 0) {
    m_nIdleFlags &= ~idleTitle;
    OnUpdateFrameTitle(TRUE);
  }
  return 0;
}

// ---- control bars ---------------------------------------------------------------------------------

void CFrameWnd::AddControlBar(CControlBar* pBar) {
  if (pBar != nullptr &&
      std::find(m_listControlBars.begin(), m_listControlBars.end(), pBar) == m_listControlBars.end()) {
    m_listControlBars.push_back(pBar);
  }
}

void CFrameWnd::RemoveControlBar(CControlBar* pBar) {
  m_listControlBars.erase(std::remove(m_listControlBars.begin(), m_listControlBars.end(), pBar),
                          m_listControlBars.end());
}

CControlBar* CFrameWnd::GetControlBar(UINT nID) const {
  if (nID == 0) return nullptr;
  for (CControlBar* pBar : m_listControlBars) {
    if (pBar->m_hWnd != nullptr && static_cast<UINT>(pBar->GetDlgCtrlID()) == nID) return pBar;
  }
  return nullptr;
}

void CFrameWnd::ShowControlBar(CControlBar* pBar, BOOL bShow, BOOL bDelay) {
  if (pBar == nullptr) return;
  pBar->DelayShow(bShow);
  if (bDelay) {
    DelayRecalcLayout();
  } else {
    RecalcLayout();
  }
}

// ---- status texts ---------------------------------------------------------------------------------

CWnd* CFrameWnd::GetMessageBar() const { return GetDescendantWindow(AFX_IDW_STATUS_BAR, TRUE); }

void CFrameWnd::GetMessageString(UINT nID, CString& rMessage) const {
  CString text;
  if (!text.LoadString(nID)) {
    rMessage.Empty();
    return;
  }
  int feed = text.Find(_T('\n'));
  rMessage = feed < 0 ? text : text.Left(feed);
}

void CFrameWnd::SetMessageText(LPCTSTR lpszText) {
  SendMessage(WM_SETMESSAGESTRING, 0, reinterpret_cast<LPARAM>(lpszText));
}

void CFrameWnd::SetMessageText(UINT nID) { SendMessage(WM_SETMESSAGESTRING, nID); }

LRESULT CFrameWnd::OnSetMessageString(WPARAM wParam, LPARAM lParam) {
  UINT nIDLast = m_nIDLastMessage;
  if (CWnd* pBar = GetMessageBar()) {
    CString text;
    if (lParam != 0) {
      text = reinterpret_cast<LPCTSTR>(lParam);
    } else if (wParam != 0) {
      GetMessageString(static_cast<UINT>(wParam), text);
    }
    pBar->SetWindowText(text);
  }
  m_nIDLastMessage = static_cast<UINT>(wParam);
  m_nIDTracking = static_cast<UINT>(wParam);
  return nIDLast;
}

LRESULT CFrameWnd::OnPopMessageString(WPARAM wParam, LPARAM lParam) {
  return SendMessage(WM_SETMESSAGESTRING, wParam, lParam);
}

LRESULT CFrameWnd::OnMenuSelect(WPARAM wParam, LPARAM lParam) {
  UINT nFlags = HIWORD(wParam);
  UINT nItem = LOWORD(wParam);
  if (nFlags == 0xFFFF && lParam == 0) {
    m_nIDTracking = AFX_IDS_IDLEMESSAGE;  // the menu closed
  } else if ((nFlags & (MF_SEPARATOR | MF_POPUP)) != 0) {
    m_nIDTracking = 0;
  } else {
    m_nIDTracking = nItem;
  }
  if (m_nIDTracking != m_nIDLastMessage) SendMessage(WM_SETMESSAGESTRING, m_nIDTracking);
  return Default();
}

void CFrameWnd::OnUpdateKeyIndicator(CCmdUI* pCmdUI) {
  int key = pCmdUI->m_nID == ID_INDICATOR_CAPS  ? VK_CAPITAL
            : pCmdUI->m_nID == ID_INDICATOR_NUM ? VK_NUMLOCK
                                                : VK_SCROLL;
  pCmdUI->Enable((::GetKeyState(key) & 1) != 0);
}

// ---- menus ----------------------------------------------------------------------------------------

void CFrameWnd::OnInitMenuPopup(CMenu* pPopupMenu, UINT nIndex, BOOL bSysMenu) {
  if (bSysMenu || pPopupMenu == nullptr) {
    CWnd::OnInitMenuPopup(pPopupMenu, nIndex, bSysMenu);
    return;
  }
  CCmdUI state;
  state.m_pMenu = pPopupMenu;
  // An update handler may add or remove items: the count is read again after each one.
  for (state.m_nIndex = 0; state.m_nIndex < static_cast<UINT>(::GetMenuItemCount(pPopupMenu->m_hMenu));
       ++state.m_nIndex) {
    state.m_nIndexMax = static_cast<UINT>(::GetMenuItemCount(pPopupMenu->m_hMenu));
    state.m_nID = ::GetMenuItemID(pPopupMenu->m_hMenu, static_cast<int>(state.m_nIndex));
    if (state.m_nID == 0 || state.m_nID == static_cast<UINT>(-1)) continue;  // separators and submenus
    state.m_pSubMenu = nullptr;
    // System commands are the system's to enable.
    state.DoUpdate(this, m_bAutoMenuEnable && state.m_nID < 0xF000);
  }
}

// ---- activation and the floating windows ----------------------------------------------------------

namespace {
struct FloatNotice {
  HWND hWndFrame;
  WPARAM dwFlags;
};

BOOL CALLBACK NotifyOwned(HWND hWnd, LPARAM lParam) {
  auto* notice = reinterpret_cast<FloatNotice*>(lParam);
  if (::GetWindow(hWnd, GW_OWNER) == notice->hWndFrame) ::SendMessageW(hWnd, WM_FLOATSTATUS, notice->dwFlags, 0);
  return TRUE;
}
}  // namespace

void CFrameWnd::NotifyFloatingWindows(WPARAM dwFlags) {
  if (m_hWnd == nullptr || (GetStyle() & WS_CHILD) != 0) return;
  FloatNotice notice{m_hWnd, dwFlags};
  ::EnumThreadWindows(::GetCurrentThreadId(), &NotifyOwned, reinterpret_cast<LPARAM>(&notice));
}

BOOL CFrameWnd::IsSyncedFloat(HWND hWnd) const {
  return hWnd != nullptr && ::GetWindow(hWnd, GW_OWNER) == m_hWnd &&
         ::SendMessageW(hWnd, WM_FLOATSTATUS, FS_SYNCACTIVE, 0) != 0;
}

void CFrameWnd::OnActivate(UINT nState, CWnd* pWndOther, BOOL bMinimized) {
  CWnd::OnActivate(nState, pWndOther, bMinimized);
  if (nState != WA_INACTIVE) {
    NotifyFloatingWindows(FS_ACTIVATE);
  } else if (pWndOther != nullptr && IsSyncedFloat(pWndOther->m_hWnd)) {
    // One of its floating windows took the activation: the frame keeps looking active.
    DefWindowProc(WM_NCACTIVATE, TRUE, 0);
  } else {
    NotifyFloatingWindows(FS_DEACTIVATE);
  }
}

void CFrameWnd::OnEnable(BOOL bEnable) {
  CWnd::OnEnable(bEnable);
  NotifyFloatingWindows(bEnable ? FS_ENABLE : FS_DISABLE);
}

void CFrameWnd::OnShowWindow(BOOL bShow, UINT nStatus) {
  CWnd::OnShowWindow(bShow, nStatus);
  NotifyFloatingWindows(bShow ? FS_SHOW : FS_HIDE);
}

void CFrameWnd::OnSetFocus(CWnd* pOldWnd) {
  if (m_pViewActive != nullptr && m_pViewActive->m_hWnd != nullptr) {
    ::SetFocus(m_pViewActive->m_hWnd);
  } else {
    CWnd::OnSetFocus(pOldWnd);
  }
}
