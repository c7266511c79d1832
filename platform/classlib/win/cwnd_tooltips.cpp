// The tooltips a window enables for itself: one tooltip control per thread, owned by the top-level
// window of the window whose tools it shows. Each pre-translated mouse message asks that window's
// OnToolHitTest for the tool under the mouse; a new tool replaces the last one, and the message is
// relayed so that the control times the tip itself. Keys and button presses put the tip away.
#include "platform/classlib/win/cwnd.h"

#include "platform/classlib/win/ctooltipctrl.h"
#include "platform/classlib/win/threadstate.h"

namespace {

bool IsMoveKind(UINT m) {
  return m == WM_MOUSEMOVE || m == WM_NCMOUSEMOVE || m == WM_LBUTTONUP || m == WM_RBUTTONUP || m == WM_MBUTTONUP;
}

bool PutsTipAway(UINT m) {
  return (m >= WM_KEYFIRST && m <= WM_KEYLAST) || m == WM_LBUTTONDOWN || m == WM_RBUTTONDOWN ||
         m == WM_MBUTTONDOWN || m == WM_NCLBUTTONDOWN || m == WM_NCRBUTTONDOWN || m == WM_NCMBUTTONDOWN;
}

// The window whose own tooltips cover hWnd: itself or the nearest parent that enabled them.
CWnd* ToolTipOwner(HWND hWnd) {
  for (HWND h = hWnd; h != nullptr; h = (::GetWindowLongW(h, GWL_STYLE) & WS_CHILD) ? ::GetParent(h) : nullptr) {
    CWnd* wnd = CWnd::FromHandlePermanent(h);
    if (wnd != nullptr && wnd->IsToolTipsEnabled()) return wnd;
  }
  return nullptr;
}

HWND TopLevel(HWND hWnd) {
  HWND top = hWnd;
  while ((::GetWindowLongW(top, GWL_STYLE) & WS_CHILD) && ::GetParent(top) != nullptr) top = ::GetParent(top);
  return top;
}

void FreeToolText(TOOLINFO& ti) {
  if (ti.lpszText != LPSTR_TEXTCALLBACKW && ti.hinst == nullptr && !IS_INTRESOURCE(ti.lpszText)) delete[] ti.lpszText;
  ti.lpszText = nullptr;
}

void ForgetLastTool(AFX_THREAD_STATE* state) {
  CWnd* tip = state->m_pToolTip;
  if (state->m_nLastHit != -1 && tip != nullptr && tip->m_hWnd != nullptr) {
    tip->SendMessage(TTM_DELTOOLW, 0, reinterpret_cast<LPARAM>(&state->m_lastInfo));
  }
  state->m_nLastHit = -1;
  state->m_lastInfo = TOOLINFO{};
}

// The thread's tooltip, made (again) for the top-level window when it belongs to another one.
CWnd* ThreadToolTip(AFX_THREAD_STATE* state, HWND top) {
  auto* tip = static_cast<CToolTipCtrl*>(state->m_pToolTip);
  if (tip != nullptr && tip->m_hWnd != nullptr && ::GetWindow(tip->m_hWnd, GW_OWNER) == top) return tip;
  if (tip != nullptr && tip->m_hWnd != nullptr) tip->DestroyWindow();
  state->m_nLastHit = -1;
  state->m_lastInfo = TOOLINFO{};
  if (tip == nullptr) {
    tip = new CToolTipCtrl;
    state->m_pToolTip = tip;
  }
  if (!tip->Create(CWnd::FromHandle(top))) return nullptr;
  tip->SendMessage(TTM_ACTIVATE, TRUE);
  return tip;
}

}  // namespace

BOOL CWnd::EnableToolTips(BOOL bEnable) {
  const BOOL before = m_bToolTips;
  m_bToolTips = bEnable;
  AFX_THREAD_STATE* state = AfxGetThreadState();
  if (!bEnable && state->m_nLastHit != -1 && state->m_lastInfo.hwnd == m_hWnd) ForgetLastTool(state);
  return before;
}

void CWnd::FilterToolTipMessage(MSG* pMsg) {
  AFX_THREAD_STATE* state = AfxGetThreadState();
  if (PutsTipAway(pMsg->message)) {
    if (state->m_pToolTip != nullptr && state->m_pToolTip->m_hWnd != nullptr) state->m_pToolTip->SendMessage(TTM_POP);
    return;
  }
  if (!IsMoveKind(pMsg->message) || pMsg->hwnd == nullptr) return;
  CWnd* owner = ToolTipOwner(pMsg->hwnd);
  if (owner == nullptr) {
    ForgetLastTool(state);
    return;
  }
  CWnd* tip = ThreadToolTip(state, TopLevel(owner->m_hWnd));
  if (tip == nullptr) return;
  POINT point = pMsg->pt;
  ::ScreenToClient(owner->m_hWnd, &point);
  TOOLINFO ti{};
  ti.cbSize = TTTOOLINFOW_V1_SIZE;
  const INT_PTR hit = owner->OnToolHitTest(CPoint(point.x, point.y), &ti);
  if (hit != state->m_nLastHit || ti.hwnd != state->m_lastInfo.hwnd || !::EqualRect(&ti.rect, &state->m_lastInfo.rect)) {
    ForgetLastTool(state);
    if (hit != -1) {
      ti.uFlags &= ~TTF_IDISHWND;
      tip->SendMessage(TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&ti));
      state->m_nLastHit = hit;
      state->m_lastInfo = ti;
      state->m_lastInfo.lpszText = nullptr;  // the control keeps its own copy
    }
  }
  if (hit != -1) {
    // The control times and places the tip from the mouse message, in the tool window's coordinates.
    MSG relayed = *pMsg;
    relayed.hwnd = ti.hwnd != nullptr ? ti.hwnd : owner->m_hWnd;
    POINT local = pMsg->pt;
    ::ScreenToClient(relayed.hwnd, &local);
    if (relayed.message >= WM_MOUSEFIRST && relayed.message <= WM_MOUSELAST) relayed.lParam = MAKELPARAM(local.x, local.y);
    tip->SendMessage(TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&relayed));
  }
  FreeToolText(ti);
}
