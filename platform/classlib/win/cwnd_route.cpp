// Where CWnd sends messages on: commands and notifications to the command route, notifications back
// to the child they are about (reflection), keyboard and mouse messages through PreTranslateMessage
// of the window and its parents, and messages to all descendants.
#include "platform/classlib/win/ccmdui.h"
#include "platform/classlib/win/cwnd.h"
#include "platform/classlib/win/threadstate.h"

// ---- commands and notifications -------------------------------------------------------------------

BOOL CWnd::OnCommand(WPARAM wParam, LPARAM lParam) {
  UINT nID = LOWORD(wParam);
  auto hWndCtrl = reinterpret_cast<HWND>(lParam);
  int nCode = HIWORD(wParam);
  if (hWndCtrl == nullptr) {
    nCode = CN_COMMAND;  // a menu or an accelerator
  } else if (ReflectMessage(hWndCtrl, WM_COMMAND, wParam, lParam, nullptr)) {
    return TRUE;  // the control took its own notification
  }
  return OnCmdMsg(nID, nCode, nullptr, nullptr);
}

BOOL CWnd::OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
  auto* header = reinterpret_cast<NMHDR*>(lParam);
  if (header == nullptr) return FALSE;
  if (header->hwndFrom != nullptr && ReflectMessage(header->hwndFrom, WM_NOTIFY, wParam, lParam, pResult)) {
    return TRUE;
  }
  AFX_NOTIFY notify{pResult, header};
  return OnCmdMsg(static_cast<UINT>(header->idFrom), static_cast<int>(MAKELONG(header->code, WM_NOTIFY)),
                  &notify, nullptr);
}

// ---- reflection -----------------------------------------------------------------------------------

namespace {
// The control an owner-drawn item belongs to (none for a menu item).
template <class Item>
HWND ItemWindow(LPARAM lParam) {
  auto* item = reinterpret_cast<Item*>(lParam);
  return item != nullptr && item->CtlType != ODT_MENU ? item->hwndItem : nullptr;
}
}  // namespace

BOOL CWnd::FindReflectTarget(HWND hWndParent, UINT message, WPARAM, LPARAM lParam, HWND* phWndChild) {
  HWND child = AfxIsCtlColorMessage(message) ? reinterpret_cast<HWND>(lParam) : nullptr;
  switch (message) {
    case WM_HSCROLL:
    case WM_VSCROLL:
      child = reinterpret_cast<HWND>(lParam);
      break;
    case WM_DRAWITEM:
      child = ItemWindow<DRAWITEMSTRUCT>(lParam);
      break;
    case WM_MEASUREITEM: {
      // Sent while the control is being created: found by its id.
      auto* item = reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
      if (item != nullptr && item->CtlType != ODT_MENU) child = ::GetDlgItem(hWndParent, static_cast<int>(item->CtlID));
      break;
    }
    case WM_COMPAREITEM:
      child = ItemWindow<COMPAREITEMSTRUCT>(lParam);
      break;
    case WM_DELETEITEM:
      child = ItemWindow<DELETEITEMSTRUCT>(lParam);
      break;
    default:
      break;
  }
  if (child == nullptr || child == hWndParent) return FALSE;
  *phWndChild = child;
  return TRUE;
}

BOOL CWnd::ReflectMessage(HWND hWndChild, UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
  CWnd* pChild = FromHandlePermanent(hWndChild);
  if (pChild == nullptr) return FALSE;
  return pChild->OnChildNotify(message, wParam, lParam, pResult);
}

BOOL CWnd::ReflectLastMsg(HWND hWndChild, LRESULT* pResult) {
  const MSG& msg = AfxGetThreadState()->m_lastSentMsg;
  return ReflectMessage(hWndChild, msg.message, msg.wParam, msg.lParam, pResult);
}

BOOL CWnd::SendChildNotifyLastMsg(LRESULT* pResult) {
  const MSG& msg = AfxGetThreadState()->m_lastSentMsg;
  return OnChildNotify(msg.message, msg.wParam, msg.lParam, pResult);
}

BOOL CWnd::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
  return ReflectChildNotify(message, wParam, lParam, pResult);
}

BOOL CWnd::ReflectChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
  LRESULT ignored = 0;
  if (pResult == nullptr) pResult = &ignored;
  if (AfxIsCtlColorMessage(message)) {
    AFX_CTLCOLOR request{m_hWnd, reinterpret_cast<HDC>(wParam), message - WM_CTLCOLORMSGBOX};
    return OnWndMsg(WM_REFLECT_BASE + WM_CTLCOLOR, 0, reinterpret_cast<LPARAM>(&request), pResult);
  }
  // Only the control's own map: a reflected notification is not routed further.
  switch (message) {
    case WM_COMMAND:
      return CCmdTarget::OnCmdMsg(0, static_cast<int>(MAKELONG(HIWORD(wParam), WM_REFLECT_BASE + WM_COMMAND)),
                                  nullptr, nullptr);
    case WM_NOTIFY: {
      auto* header = reinterpret_cast<NMHDR*>(lParam);
      if (header == nullptr) return FALSE;
      AFX_NOTIFY notify{pResult, header};
      return CCmdTarget::OnCmdMsg(0, static_cast<int>(MAKELONG(header->code, WM_REFLECT_BASE + WM_NOTIFY)),
                                  &notify, nullptr);
    }
    case WM_DRAWITEM:
    case WM_MEASUREITEM:
    case WM_COMPAREITEM:
    case WM_DELETEITEM:
    case WM_HSCROLL:
    case WM_VSCROLL:
      return OnWndMsg(WM_REFLECT_BASE + message, wParam, lParam, pResult);
    default:
      return FALSE;
  }
}

// ---- pre-translation ------------------------------------------------------------------------------

BOOL CWnd::PreTranslateMessage(MSG*) { return FALSE; }

BOOL CWnd::WalkPreTranslateTree(HWND hWndStop, MSG* pMsg) {
  FilterToolTipMessage(pMsg);
  for (HWND hWnd = pMsg->hwnd; hWnd != nullptr; hWnd = ::GetParent(hWnd)) {
    CWnd* pWnd = FromHandlePermanent(hWnd);
    if (pWnd != nullptr && pWnd->PreTranslateMessage(pMsg)) return TRUE;
    if (hWnd == hWndStop) break;
  }
  return FALSE;
}

INT_PTR CWnd::OnToolHitTest(CPoint, TOOLINFO*) const { return -1; }

// ---- to many windows ------------------------------------------------------------------------------

void CWnd::SendMessageToDescendants(UINT message, WPARAM wParam, LPARAM lParam, BOOL bDeep, BOOL bOnlyPerm) {
  SendMessageToDescendants(m_hWnd, message, wParam, lParam, bDeep, bOnlyPerm);
}

void CWnd::SendMessageToDescendants(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam, BOOL bDeep,
                                    BOOL bOnlyPerm) {
  for (HWND child = ::GetTopWindow(hWnd); child != nullptr; child = ::GetWindow(child, GW_HWNDNEXT)) {
    if (!bOnlyPerm) {
      ::SendMessageW(child, message, wParam, lParam);
    } else if (CWnd* pChild = FromHandlePermanent(child)) {
      AfxCallWndProc(pChild, child, message, wParam, lParam);
    }
    if (bDeep && ::GetTopWindow(child) != nullptr) {
      SendMessageToDescendants(child, message, wParam, lParam, bDeep, bOnlyPerm);
    }
  }
}

void CWnd::UpdateDialogControls(CCmdTarget* pTarget, BOOL bDisableIfNoHandler) {
  for (HWND child = ::GetTopWindow(m_hWnd); child != nullptr; child = ::GetWindow(child, GW_HWNDNEXT)) {
    UINT nID = static_cast<UINT>(::GetDlgCtrlID(child));
    if (nID == 0 || LOWORD(nID) == 0xFFFF) continue;  // no id, or a static's IDC_STATIC
    CCmdUI state;
    state.m_nID = nID;
    state.m_pOther = FromHandle(child);
    // The control answers for itself first.
    if (state.m_pOther->CCmdTarget::OnCmdMsg(
            0, static_cast<int>(MAKELONG(0xFFFF, WM_REFLECT_BASE + WM_COMMAND)), &state, nullptr)) {
      continue;
    }
    // Only buttons stand for commands: edits and lists without a handler stay as they are.
    bool isButton = (::SendMessageW(child, WM_GETDLGCODE, 0, 0) & DLGC_BUTTON) != 0;
    state.DoUpdate(pTarget, bDisableIfNoHandler && isButton);
  }
}

// ---- frames ---------------------------------------------------------------------------------------

CFrameWnd* CWnd::AsFrameWnd() { return nullptr; }
BOOL CWnd::IsFrameWnd() const { return const_cast<CWnd*>(this)->AsFrameWnd() != nullptr; }

namespace {
// The nearest parent (or owner, for a pop-up) that is a frame, as a window.
CWnd* ParentFrameWindow(const CWnd* pWnd) {
  for (CWnd* pParent = pWnd->GetParent(); pParent != nullptr; pParent = pParent->GetParent()) {
    if (pParent->IsFrameWnd()) return pParent;
  }
  return nullptr;
}
}  // namespace

CFrameWnd* CWnd::GetParentFrame() const {
  CWnd* pFrame = ParentFrameWindow(this);
  return pFrame != nullptr ? pFrame->AsFrameWnd() : nullptr;
}

CFrameWnd* CWnd::GetTopLevelFrame() const {
  CWnd* pFrame = IsFrameWnd() ? const_cast<CWnd*>(this) : ParentFrameWindow(this);
  while (pFrame != nullptr) {
    CWnd* pOuter = ParentFrameWindow(pFrame);
    if (pOuter == nullptr) break;
    pFrame = pOuter;
  }
  return pFrame != nullptr ? pFrame->AsFrameWnd() : nullptr;
}

CWnd* CWnd::GetTopLevelParent() const {
  HWND hWnd = m_hWnd;
  for (HWND hParent; (::GetWindowLongW(hWnd, GWL_STYLE) & WS_CHILD) && (hParent = ::GetParent(hWnd));) {
    hWnd = hParent;
  }
  return FromHandle(hWnd);
}

CWnd* CWnd::GetTopLevelOwner() const {
  HWND hWnd = GetTopLevelParent()->m_hWnd;
  for (HWND hOwner; (hOwner = ::GetWindow(hWnd, GW_OWNER)) != nullptr;) hWnd = hOwner;
  return FromHandle(hWnd);
}

CWnd* CWnd::GetParentOwner() const {
  HWND hWnd = m_hWnd;
  while (hWnd != nullptr && (::GetWindowLongW(hWnd, GWL_STYLE) & WS_CHILD)) hWnd = ::GetParent(hWnd);
  return FromHandle(hWnd);
}
