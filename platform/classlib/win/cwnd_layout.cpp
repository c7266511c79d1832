// The layout of a window's children: WM_SIZEPARENT to each child in an id range, the rest of the
// rectangle to the left-over window, all moves in one deferred positioning.
#include "platform/classlib/win/cwnd.h"
#include "platform/classlib/win/layout.h"
#include "platform/classlib/win/messages.h"

void AfxRepositionWindow(AFX_SIZEPARENTPARAMS* lpLayout, HWND hWnd, LPCRECT lpRect) {
  if (hWnd == nullptr || lpRect == nullptr) return;
  CRect current;
  ::GetWindowRect(hWnd, current);
  ::MapWindowPoints(nullptr, ::GetParent(hWnd), reinterpret_cast<LPPOINT>(&current), 2);
  if (current == *lpRect) return;  // a window that stays needs no move and no repaint
  const UINT flags = SWP_NOACTIVATE | SWP_NOZORDER;
  const int cx = lpRect->right - lpRect->left;
  const int cy = lpRect->bottom - lpRect->top;
  if (lpLayout != nullptr && lpLayout->hDWP != nullptr) {
    lpLayout->hDWP = ::DeferWindowPos(lpLayout->hDWP, hWnd, nullptr, lpRect->left, lpRect->top, cx, cy, flags);
  } else {
    ::SetWindowPos(hWnd, nullptr, lpRect->left, lpRect->top, cx, cy, flags);
  }
}

void CWnd::RepositionBars(UINT nIDFirst, UINT nIDLast, UINT nIDLeftOver, UINT nFlags, LPRECT lpRectParam,
                          LPCRECT lpRectClient, BOOL bStretch) {
  AFX_SIZEPARENTPARAMS layout{};
  layout.bStretch = bStretch;
  if (lpRectClient != nullptr) {
    layout.rect = *lpRectClient;
  } else {
    ::GetClientRect(m_hWnd, &layout.rect);
  }
  const bool measuring = nFlags == reposQuery;
  layout.hDWP = measuring ? nullptr : ::BeginDeferWindowPos(8);
  HWND hWndLeftOver = nullptr;
  for (HWND child = ::GetTopWindow(m_hWnd); child != nullptr; child = ::GetWindow(child, GW_HWNDNEXT)) {
    auto id = static_cast<UINT>(::GetDlgCtrlID(child));
    if (id == nIDLeftOver) {
      if (hWndLeftOver == nullptr) hWndLeftOver = child;
    } else if (id >= nIDFirst && id <= nIDLast) {
      ::SendMessageW(child, WM_SIZEPARENT, 0, reinterpret_cast<LPARAM>(&layout));
    }
  }
  if (measuring) {
    if (lpRectParam != nullptr) {
      *lpRectParam = bStretch ? layout.rect : RECT{0, 0, layout.sizeTotal.cx, layout.sizeTotal.cy};
    }
    return;
  }
  CRect rest(layout.rect);
  if (nFlags == reposExtra && lpRectParam != nullptr) {
    rest.DeflateRect(lpRectParam->left, lpRectParam->top, lpRectParam->right, lpRectParam->bottom);
  }
  // The bars may have taken more than there was: the pane is then empty, never inside out.
  if (rest.right < rest.left) rest.right = rest.left;
  if (rest.bottom < rest.top) rest.bottom = rest.top;
  if (hWndLeftOver != nullptr) AfxRepositionWindow(&layout, hWndLeftOver, rest);
  if (layout.hDWP != nullptr) ::EndDeferWindowPos(layout.hDWP);
}
