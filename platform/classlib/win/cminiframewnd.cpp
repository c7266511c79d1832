// CMiniFrameWnd: creation as pop-up or child, activation that follows its frame, its border styles.
#include "platform/classlib/win/cminiframewnd.h"

IMPLEMENT_DYNCREATE(CMiniFrameWnd, CFrameWnd)

BEGIN_MESSAGE_MAP(CMiniFrameWnd, CFrameWnd)
  ON_MESSAGE(WM_FLOATSTATUS, OnFloatStatus)
  ON_WM_NCACTIVATE()
  ON_WM_ACTIVATE()
  ON_WM_NCHITTEST()
  ON_WM_NCLBUTTONDOWN()
  ON_WM_SYSCOMMAND()
  ON_WM_CONTEXTMENU()
END_MESSAGE_MAP()

BOOL CMiniFrameWnd::Create(LPCTSTR lpClassName, LPCTSTR lpWindowName, DWORD dwStyle, const RECT& rect,
                           CWnd* pParentWnd, UINT nID) {
  return CreateEx(0, lpClassName, lpWindowName, dwStyle, rect, pParentWnd, nID);
}

BOOL CMiniFrameWnd::CreateEx(DWORD dwExStyle, LPCTSTR lpClassName, LPCTSTR lpWindowName, DWORD dwStyle,
                             const RECT& rect, CWnd* pParentWnd, UINT nID) {
  if (lpWindowName != nullptr) m_strTitle = lpWindowName;
  const bool child = (dwStyle & WS_CHILD) != 0;
  // A pop-up's parent is its owner; only a child has an id.
  HMENU hMenuOrId = child ? reinterpret_cast<HMENU>(static_cast<UINT_PTR>(nID)) : nullptr;
  return CWnd::CreateEx(dwExStyle, lpClassName, lpWindowName, dwStyle, rect.left, rect.top, rect.right - rect.left,
                        rect.bottom - rect.top, pParentWnd != nullptr ? pParentWnd->m_hWnd : nullptr, hMenuOrId);
}

BOOL CMiniFrameWnd::PreCreateWindow(CREATESTRUCT& cs) {
  if ((cs.style & (MFS_THICKFRAME | MFS_4THICKFRAME)) != 0) cs.style |= WS_THICKFRAME;
  // A floating pop-up has the small caption of a tool window and no taskbar button.
  if ((cs.style & WS_CHILD) == 0 && (cs.style & WS_CAPTION) == WS_CAPTION) cs.dwExStyle |= WS_EX_TOOLWINDOW;
  return CFrameWnd::PreCreateWindow(cs);
}

// ---- activation that follows the frame ------------------------------------------------------------

BOOL CMiniFrameWnd::IsOwnerActive() const {
  HWND hWndOwner = ::GetWindow(m_hWnd, GW_OWNER);
  HWND hWndActive = ::GetActiveWindow();
  if (hWndOwner == nullptr || hWndActive == nullptr) return FALSE;
  return hWndActive == hWndOwner || ::GetWindow(hWndActive, GW_OWNER) == hWndOwner;
}

LRESULT CMiniFrameWnd::OnFloatStatus(WPARAM wParam, LPARAM) {
  if ((wParam & FS_SYNCACTIVE) != 0) return IsSyncActive();
  if (IsSyncActive() && (wParam & (FS_ACTIVATE | FS_DEACTIVATE)) != 0) {
    DefWindowProc(WM_NCACTIVATE, (wParam & FS_ACTIVATE) != 0, 0);  // the caption follows the frame
  }
  const UINT move = SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE;
  if ((wParam & FS_HIDE) != 0 && IsWindowVisible()) {
    m_bHiddenByFrame = TRUE;
    SetWindowPos(nullptr, 0, 0, 0, 0, move | SWP_HIDEWINDOW);
  } else if ((wParam & FS_SHOW) != 0 && m_bHiddenByFrame) {
    m_bHiddenByFrame = FALSE;  // only what the frame hid comes back with it
    SetWindowPos(nullptr, 0, 0, 0, 0, move | SWP_SHOWWINDOW);
  }
  if ((wParam & (FS_ENABLE | FS_DISABLE)) != 0) EnableWindow((wParam & FS_ENABLE) != 0);
  return 0;
}

BOOL CMiniFrameWnd::OnNcActivate(BOOL bActive) {
  if (IsSyncActive() && !bActive && IsOwnerActive()) bActive = TRUE;
  return static_cast<BOOL>(DefWindowProc(WM_NCACTIVATE, bActive, 0));
}

void CMiniFrameWnd::OnActivate(UINT nState, CWnd* pWndOther, BOOL bMinimized) {
  CFrameWnd::OnActivate(nState, pWndOther, bMinimized);
  HWND hWndOwner = ::GetWindow(m_hWnd, GW_OWNER);
  if (!IsSyncActive() || nState != WA_INACTIVE || hWndOwner == nullptr) return;
  HWND hWndOther = pWndOther != nullptr ? pWndOther->m_hWnd : nullptr;
  const bool staysWithFrame =
      hWndOther != nullptr && (hWndOther == hWndOwner || ::GetWindow(hWndOther, GW_OWNER) == hWndOwner);
  if (!staysWithFrame) ::SendMessageW(hWndOwner, WM_NCACTIVATE, FALSE, 0);  // the frame no longer looks active
}

// ---- borders and the system menu ------------------------------------------------------------------

LRESULT CMiniFrameWnd::OnNcHitTest(CPoint point) {
  LRESULT hit = CFrameWnd::OnNcHitTest(point);
  const DWORD style = GetStyle();
  if ((style & MFS_MOVEFRAME) != 0 && hit >= HTLEFT && hit <= HTBOTTOMRIGHT) return HTCAPTION;
  if ((style & MFS_4THICKFRAME) != 0) {
    if (hit == HTTOPLEFT || hit == HTTOPRIGHT) return HTTOP;
    if (hit == HTBOTTOMLEFT || hit == HTBOTTOMRIGHT) return HTBOTTOM;
  }
  return hit;
}

void CMiniFrameWnd::OnNcLButtonDown(UINT nHitTest, CPoint point) {
  if (nHitTest == HTSYSMENU && (GetStyle() & MFS_BLOCKSYSMENU) != 0) return;
  CFrameWnd::OnNcLButtonDown(nHitTest, point);
}

void CMiniFrameWnd::OnSysCommand(UINT nID, LPARAM lParam) {
  const UINT command = nID & 0xFFF0;
  if ((GetStyle() & MFS_BLOCKSYSMENU) != 0 && (command == SC_KEYMENU || command == SC_MOUSEMENU)) return;
  CFrameWnd::OnSysCommand(nID, lParam);
}

void CMiniFrameWnd::OnContextMenu(CWnd* pWnd, CPoint pos) {
  // The system menu that a right click on the caption would open.
  if ((GetStyle() & MFS_BLOCKSYSMENU) != 0 && pWnd == this) {
    LRESULT hit = SendMessage(WM_NCHITTEST, 0, MAKELPARAM(pos.x, pos.y));
    if (hit == HTCAPTION || hit == HTSYSMENU) return;
  }
  CFrameWnd::OnContextMenu(pWnd, pos);
}
