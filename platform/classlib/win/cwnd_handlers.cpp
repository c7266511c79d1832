// CWnd's default message handlers: the window's own behaviour for the message being handled, so that
// an override can call the base. Those about a child first offer the message to that child.
#include "platform/classlib/win/cwnd.h"

// Handlers whose default is the window's own answer, returned as the handler's type.
#define CLASSLIB_DEFAULT(type, name, params) \
  type CWnd::name params { return static_cast<type>(Default()); }
#define CLASSLIB_DEFAULT_VOID(name, params) \
  void CWnd::name params { Default(); }

CLASSLIB_DEFAULT(int, OnCreate, (LPCREATESTRUCT))
CLASSLIB_DEFAULT(BOOL, OnNcCreate, (LPCREATESTRUCT))
CLASSLIB_DEFAULT(BOOL, OnEraseBkgnd, (CDC*))
CLASSLIB_DEFAULT(BOOL, OnMouseWheel, (UINT, short, CPoint))
CLASSLIB_DEFAULT(LRESULT, OnNcHitTest, (CPoint))
CLASSLIB_DEFAULT(BOOL, OnNcActivate, (BOOL))
CLASSLIB_DEFAULT(BOOL, OnSetCursor, (CWnd*, UINT, UINT))
CLASSLIB_DEFAULT(int, OnMouseActivate, (CWnd*, UINT, UINT))
CLASSLIB_DEFAULT(UINT, OnGetDlgCode, ())

CLASSLIB_DEFAULT_VOID(OnDestroy, ())
CLASSLIB_DEFAULT_VOID(OnClose, ())
CLASSLIB_DEFAULT_VOID(OnPaint, ())
CLASSLIB_DEFAULT_VOID(OnNcPaint, ())
CLASSLIB_DEFAULT_VOID(OnSize, (UINT, int, int))
CLASSLIB_DEFAULT_VOID(OnTimer, (UINT_PTR))
CLASSLIB_DEFAULT_VOID(OnSysColorChange, ())
CLASSLIB_DEFAULT_VOID(OnSettingChange, (UINT, LPCTSTR))
CLASSLIB_DEFAULT_VOID(OnCancelMode, ())
CLASSLIB_DEFAULT_VOID(OnMouseLeave, ())
CLASSLIB_DEFAULT_VOID(OnMouseHover, (UINT, CPoint))
CLASSLIB_DEFAULT_VOID(OnMouseMove, (UINT, CPoint))
CLASSLIB_DEFAULT_VOID(OnLButtonDown, (UINT, CPoint))
CLASSLIB_DEFAULT_VOID(OnLButtonUp, (UINT, CPoint))
CLASSLIB_DEFAULT_VOID(OnLButtonDblClk, (UINT, CPoint))
CLASSLIB_DEFAULT_VOID(OnRButtonDown, (UINT, CPoint))
CLASSLIB_DEFAULT_VOID(OnRButtonUp, (UINT, CPoint))
CLASSLIB_DEFAULT_VOID(OnRButtonDblClk, (UINT, CPoint))
CLASSLIB_DEFAULT_VOID(OnMButtonDown, (UINT, CPoint))
CLASSLIB_DEFAULT_VOID(OnMButtonUp, (UINT, CPoint))
CLASSLIB_DEFAULT_VOID(OnMButtonDblClk, (UINT, CPoint))
CLASSLIB_DEFAULT_VOID(OnNcMouseMove, (UINT, CPoint))
CLASSLIB_DEFAULT_VOID(OnNcLButtonDown, (UINT, CPoint))
CLASSLIB_DEFAULT_VOID(OnNcLButtonUp, (UINT, CPoint))
CLASSLIB_DEFAULT_VOID(OnNcLButtonDblClk, (UINT, CPoint))
CLASSLIB_DEFAULT_VOID(OnNcRButtonDown, (UINT, CPoint))
CLASSLIB_DEFAULT_VOID(OnNcMButtonDblClk, (UINT, CPoint))
CLASSLIB_DEFAULT_VOID(OnNcCalcSize, (BOOL, NCCALCSIZE_PARAMS*))
CLASSLIB_DEFAULT_VOID(OnKeyDown, (UINT, UINT, UINT))
CLASSLIB_DEFAULT_VOID(OnKeyUp, (UINT, UINT, UINT))
CLASSLIB_DEFAULT_VOID(OnChar, (UINT, UINT, UINT))
CLASSLIB_DEFAULT_VOID(OnSysKeyDown, (UINT, UINT, UINT))
CLASSLIB_DEFAULT_VOID(OnSysKeyUp, (UINT, UINT, UINT))
CLASSLIB_DEFAULT_VOID(OnSetFocus, (CWnd*))
CLASSLIB_DEFAULT_VOID(OnKillFocus, (CWnd*))
CLASSLIB_DEFAULT_VOID(OnCaptureChanged, (CWnd*))
CLASSLIB_DEFAULT_VOID(OnWindowPosChanging, (WINDOWPOS*))
CLASSLIB_DEFAULT_VOID(OnWindowPosChanged, (WINDOWPOS*))
CLASSLIB_DEFAULT_VOID(OnSysCommand, (UINT, LPARAM))
CLASSLIB_DEFAULT_VOID(OnShowWindow, (BOOL, UINT))
CLASSLIB_DEFAULT_VOID(OnGetMinMaxInfo, (MINMAXINFO*))
CLASSLIB_DEFAULT_VOID(OnEnable, (BOOL))
CLASSLIB_DEFAULT_VOID(OnActivateApp, (BOOL, DWORD))
CLASSLIB_DEFAULT_VOID(OnActivate, (UINT, CWnd*, BOOL))
CLASSLIB_DEFAULT_VOID(OnInitMenuPopup, (CMenu*, UINT, BOOL))
CLASSLIB_DEFAULT_VOID(OnContextMenu, (CWnd*, CPoint))

// WM_NCDESTROY: the object lets go of the window after the window's own handling.
void CWnd::OnNcDestroy() {
  Default();
  FinishNcDestroy();
}

// ---- about a child: the child's own handler first -------------------------------------------------

HBRUSH CWnd::OnCtlColor(CDC*, CWnd* pWnd, UINT) {
  LRESULT result = 0;
  if (pWnd != nullptr && ReflectLastMsg(pWnd->m_hWnd, &result)) return reinterpret_cast<HBRUSH>(result);
  return reinterpret_cast<HBRUSH>(Default());
}

void CWnd::OnDrawItem(int, LPDRAWITEMSTRUCT lpDrawItemStruct) {
  if (lpDrawItemStruct->CtlType != ODT_MENU && ReflectLastMsg(lpDrawItemStruct->hwndItem)) return;
  Default();
}

void CWnd::OnMeasureItem(int nIDCtl, LPMEASUREITEMSTRUCT lpMeasureItemStruct) {
  if (lpMeasureItemStruct->CtlType != ODT_MENU) {
    HWND hWndChild = ::GetDlgItem(m_hWnd, nIDCtl);
    if (hWndChild != nullptr && ReflectLastMsg(hWndChild)) return;
  }
  Default();
}

int CWnd::OnCompareItem(int, LPCOMPAREITEMSTRUCT lpCompareItemStruct) {
  LRESULT result = 0;
  if (ReflectLastMsg(lpCompareItemStruct->hwndItem, &result)) return static_cast<int>(result);
  return static_cast<int>(Default());
}

void CWnd::OnDeleteItem(int, LPDELETEITEMSTRUCT lpDeleteItemStruct) {
  if (ReflectLastMsg(lpDeleteItemStruct->hwndItem)) return;
  Default();
}

void CWnd::OnHScroll(UINT, UINT, CScrollBar* pScrollBar) {
  if (pScrollBar != nullptr && ReflectLastMsg(pScrollBar->m_hWnd)) return;
  Default();
}

void CWnd::OnVScroll(UINT, UINT, CScrollBar* pScrollBar) {
  if (pScrollBar != nullptr && ReflectLastMsg(pScrollBar->m_hWnd)) return;
  Default();
}
