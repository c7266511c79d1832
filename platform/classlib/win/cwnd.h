// CWnd: a window object. It owns its window once created or subclassed through it (a permanent entry
// of the handle map), receives the window's messages through its message map, hands notifications
// back to child controls that want them (reflection), and offers the window's ordinary operations.
//
// Messages reach OnWndMsg, which looks the message up in the map; what nobody handles goes to
// DefWindowProc: the window procedure the window had before (a control's own), else the system's.
// CWnd's default handlers (OnPaint, OnSize, ...) pass the current message on in the same way, so an
// override may call the base to get the window's ordinary behaviour.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include "platform/classlib/crect.h"
#include "platform/classlib/cstring.h"
#include "platform/classlib/win/ccmdtarget.h"
#include "platform/classlib/win/handlemap.h"

// Names of the system's macro helpers that are CWnd members here.
#undef GetNextWindow
#undef SubclassWindow

class CDC;
class CMenu;
class CFont;
class CRgn;
class CFrameWnd;
class CScrollBar;
struct CCreateContext;

LRESULT CALLBACK AfxWndProc(HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam);

class CWnd : public CCmdTarget {
  DECLARE_DYNCREATE(CWnd)

 public:
  CWnd() = default;
  ~CWnd() override;

  HWND m_hWnd = nullptr;
  operator HWND() const { return m_hWnd; }
  HWND GetSafeHwnd() const { return m_hWnd; }

  // ---- the handle map ---------------------------------------------------------------------------
  // The object owning the window, or a temporary wrapper that lives until the thread goes idle.
  static CWnd* FromHandle(HWND hWnd);
  static CWnd* FromHandlePermanent(HWND hWnd);
  static void DeleteTempMap();
  // Makes this object the window's owner without taking its messages; FALSE when it has one.
  BOOL Attach(HWND hWndNew);
  HWND Detach();

  // ---- creation and subclassing -----------------------------------------------------------------
  // lpszClassName null: the library's plain window class. pContext goes to the window as lpParam.
  virtual BOOL Create(LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle, const RECT& rect,
                      CWnd* pParentWnd, UINT nID, CCreateContext* pContext = nullptr);
  BOOL CreateEx(DWORD dwExStyle, LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle, int x,
                int y, int nWidth, int nHeight, HWND hWndParent, HMENU nIDorHMenu, LPVOID lpParam = nullptr);
  BOOL CreateEx(DWORD dwExStyle, LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle,
                const RECT& rect, CWnd* pParentWnd, UINT nID, LPVOID lpParam = nullptr);
  virtual BOOL PreCreateWindow(CREATESTRUCT& cs);
  // Runs when the object takes over its window: created through it (before WM_NCCREATE) or subclassed.
  virtual void PreSubclassWindow();
  virtual BOOL DestroyWindow();
  // After the window's last message (WM_NCDESTROY); windows that own themselves delete this here.
  virtual void PostNcDestroy();

  // The object takes over an existing window's messages; unhandled ones go to its old procedure.
  BOOL SubclassWindow(HWND hWnd);
  BOOL SubclassDlgItem(UINT nID, CWnd* pParent);
  HWND UnsubclassWindow();

  // ---- messages -----------------------------------------------------------------------------------
  virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
  // Dispatches through the message map; FALSE when nothing handled it.
  virtual BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult);
  virtual LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam);
  // The message now being handled by this thread, passed to DefWindowProc.
  LRESULT Default();
  static const MSG* GetCurrentMessage();

  virtual BOOL OnCommand(WPARAM wParam, LPARAM lParam);
  virtual BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult);
  // A child's notification handed back to it by its parent; FALSE leaves it to the parent.
  virtual BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult);
  BOOL ReflectChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult);
  // Hands the current message (or the given one) to the child's OnChildNotify.
  static BOOL ReflectLastMsg(HWND hWndChild, LRESULT* pResult = nullptr);
  static BOOL ReflectMessage(HWND hWndChild, UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult);
  BOOL SendChildNotifyLastMsg(LRESULT* pResult = nullptr);

  // Called by the message loop for the window the message is for and each of its parents.
  virtual BOOL PreTranslateMessage(MSG* pMsg);
  // From pMsg's window up through its parents, stopping after hWndStop; TRUE when one took it.
  static BOOL WalkPreTranslateTree(HWND hWndStop, MSG* pMsg);
  // The tool under the point, for a tooltip: its id, or -1 for none. A text it fills in is allocated
  // with new[] (or LPSTR_TEXTCALLBACK, or a resource id with hinst); the caller frees it.
  virtual INT_PTR OnToolHitTest(CPoint point, TOOLINFO* pTI) const;
  // The window's own tooltips: the thread's tooltip shows the tools OnToolHitTest finds under the mouse,
  // fed from the messages the loop pre-translates. Answers whether they were enabled before.
  BOOL EnableToolTips(BOOL bEnable = TRUE);
  BOOL IsToolTipsEnabled() const { return m_bToolTips; }
  // Run by WalkPreTranslateTree for every message.
  static void FilterToolTipMessage(MSG* pMsg);

  LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const;
  BOOL PostMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const;
  BOOL SendNotifyMessage(UINT message, WPARAM wParam, LPARAM lParam) const;
  // bOnlyPerm: only windows with an object, and straight to the object without the system.
  void SendMessageToDescendants(UINT message, WPARAM wParam = 0, LPARAM lParam = 0, BOOL bDeep = TRUE,
                                BOOL bOnlyPerm = FALSE);
  static void SendMessageToDescendants(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam, BOOL bDeep,
                                       BOOL bOnlyPerm);
  // Sets each child control's state through its command's update handler in pTarget.
  void UpdateDialogControls(CCmdTarget* pTarget, BOOL bDisableIfNoHandler);

  // ---- frames (the frame class answers AsFrameWnd) -------------------------------------------------
  virtual CFrameWnd* AsFrameWnd();
  BOOL IsFrameWnd() const;
  CFrameWnd* GetParentFrame() const;
  CFrameWnd* GetTopLevelFrame() const;
  CWnd* GetTopLevelParent() const;
  CWnd* GetTopLevelOwner() const;
  CWnd* GetParentOwner() const;

  // ---- style and identity -----------------------------------------------------------------------
  DWORD GetStyle() const;
  DWORD GetExStyle() const;
  // nFlags non-zero: SetWindowPos with these flags so that a frame change takes effect.
  BOOL ModifyStyle(DWORD dwRemove, DWORD dwAdd, UINT nFlags = 0);
  BOOL ModifyStyleEx(DWORD dwRemove, DWORD dwAdd, UINT nFlags = 0);
  static BOOL ModifyStyle(HWND hWnd, DWORD dwRemove, DWORD dwAdd, UINT nFlags);
  static BOOL ModifyStyleEx(HWND hWnd, DWORD dwRemove, DWORD dwAdd, UINT nFlags);
  int GetDlgCtrlID() const;
  int SetDlgCtrlID(int nID);

  // ---- relatives ----------------------------------------------------------------------------------
  CWnd* GetParent() const;
  CWnd* SetParent(CWnd* pWndNewParent);
  CWnd* GetOwner() const;
  void SetOwner(CWnd* pOwnerWnd);
  CWnd* GetDlgItem(int nID) const;
  void GetDlgItem(int nID, HWND* phWnd) const;
  CWnd* GetWindow(UINT nCmd) const;
  CWnd* GetNextWindow(UINT nFlag = GW_HWNDNEXT) const;
  CWnd* GetTopWindow() const;
  CWnd* GetLastActivePopup() const;
  CWnd* GetDescendantWindow(int nID, BOOL bOnlyPerm = FALSE) const;
  CWnd* GetNextDlgTabItem(CWnd* pWndCtl, BOOL bPrevious = FALSE) const;
  CWnd* GetNextDlgGroupItem(CWnd* pWndCtl, BOOL bPrevious = FALSE) const;
  BOOL IsChild(const CWnd* pWnd) const;
  CWnd* ChildWindowFromPoint(POINT point) const;
  static CWnd* WindowFromPoint(POINT point);
  static CWnd* GetActiveWindow();
  CWnd* SetActiveWindow();
  static CWnd* GetForegroundWindow();
  BOOL SetForegroundWindow();
  static CWnd* GetFocus();
  CWnd* SetFocus();
  static CWnd* GetCapture();
  CWnd* SetCapture();
  static CWnd* GetDesktopWindow();

  // ---- position and visibility --------------------------------------------------------------------
  // pWndInsertAfter may be &wndTop, &wndBottom, &wndTopMost or &wndNoTopMost.
  static const CWnd wndTop;
  static const CWnd wndBottom;
  static const CWnd wndTopMost;
  static const CWnd wndNoTopMost;
  void MoveWindow(int x, int y, int nWidth, int nHeight, BOOL bRepaint = TRUE);
  void MoveWindow(LPCRECT lpRect, BOOL bRepaint = TRUE);
  BOOL SetWindowPos(const CWnd* pWndInsertAfter, int x, int y, int cx, int cy, UINT nFlags);
  void GetWindowRect(LPRECT lpRect) const;
  void GetClientRect(LPRECT lpRect) const;
  void ClientToScreen(LPPOINT lpPoint) const;
  void ClientToScreen(LPRECT lpRect) const;
  void ScreenToClient(LPPOINT lpPoint) const;
  void ScreenToClient(LPRECT lpRect) const;
  void MapWindowPoints(CWnd* pwndTo, LPPOINT lpPoint, UINT nCount) const;
  void MapWindowPoints(CWnd* pwndTo, LPRECT lpRect) const;
  BOOL GetWindowPlacement(WINDOWPLACEMENT* lpwndpl) const;
  BOOL SetWindowPlacement(const WINDOWPLACEMENT* lpwndpl);
  // Over the owner (or the given window), kept inside the work area.
  void CenterWindow(CWnd* pAlternateOwner = nullptr);
  void BringWindowToTop();
  BOOL ShowWindow(int nCmdShow);
  BOOL IsWindowVisible() const;
  BOOL IsWindowEnabled() const;
  BOOL EnableWindow(BOOL bEnable = TRUE);
  BOOL IsIconic() const;
  BOOL IsZoomed() const;
  // The window's region; the system owns a region once it is set.
  int GetWindowRgn(HRGN hRgn) const;
  int SetWindowRgn(HRGN hRgn, BOOL bRedraw);
  enum AdjustType { adjustBorder = 0, adjustOutside = 1 };
  virtual void CalcWindowRect(LPRECT lpClientRect, UINT nAdjustType = adjustBorder);

  // ---- the layout of children (layout.h) ----------------------------------------------------------
  // reposQuery: only measures, and answers in lpRectParam what is left (bStretch) or the size the
  // children took; reposExtra: lpRectParam holds extra room kept free around the left-over window.
  enum RepositionFlags { reposDefault = 0, reposQuery = 1, reposExtra = 2 };
  // Sends WM_SIZEPARENT to every child whose id lies in nIDFirst..nIDLast (id 0 too when the range
  // holds it), in z-order, then gives the window with id nIDLeftOver what they left. lpRectClient:
  // the rectangle to lay out (the client area when null).
  void RepositionBars(UINT nIDFirst, UINT nIDLast, UINT nIDLeftOver, UINT nFlags = reposDefault,
                      LPRECT lpRectParam = nullptr, LPCRECT lpRectClient = nullptr, BOOL bStretch = TRUE);

  // ---- modal loops (cwnd_modal.cpp) ---------------------------------------------------------------
  // MLF_SHOWONIDLE: the window is shown at the loop's first idle turn; MLF_NOIDLEMSG: no WM_KICKIDLE.
  enum { MLF_NOIDLEMSG = 0x0001, MLF_SHOWONIDLE = 0x0004 };
  // Runs this thread's messages (through PreTranslateMessage) until EndModalLoop, or WM_QUIT (posted
  // again for the outer loop, answer -1). While the queue is empty the window gets WM_KICKIDLE
  // (wParam MSGF_DIALOGBOX, lParam the idle count) until it answers 0. Answers EndModalLoop's result.
  int RunModalLoop(DWORD dwFlags = 0);
  virtual BOOL ContinueModal();
  virtual void EndModalLoop(int nResult);
  // The owner of a modal window made from pParentWnd (the main window when null): its top-level
  // window, or the pop-up last active above that; disabled until ReleaseModalOwner when it was enabled.
  HWND PrepareModalOwner(CWnd* pParentWnd, BOOL* pbOwnerDisabled);
  // After the modal run: this window hides, the owner is enabled and active again, this window goes.
  void ReleaseModalOwner(HWND hWndOwner, BOOL bOwnerDisabled);
  // The window above hWnd that is not a child (itself when it is none).
  static HWND TopLevelWindowOf(HWND hWnd);
  // The top-level window above this one becomes the active one; TRUE when it is active already.
  void ActivateTopParent();
  BOOL IsTopParentActive() const;

  // ---- text ---------------------------------------------------------------------------------------
  void SetWindowText(LPCTSTR lpszString);
  int GetWindowText(LPTSTR lpszStringBuf, int nMaxCount) const;
  void GetWindowText(CString& rString) const;
  int GetWindowTextLength() const;
  void SetDlgItemText(int nID, LPCTSTR lpszString);
  int GetDlgItemText(int nID, CString& rString) const;
  void SetDlgItemInt(int nID, UINT nValue, BOOL bSigned = TRUE);
  UINT GetDlgItemInt(int nID, BOOL* lpTrans = nullptr, BOOL bSigned = TRUE) const;
  void CheckDlgButton(int nIDButton, UINT nCheck);
  UINT IsDlgButtonChecked(int nIDButton) const;
  void CheckRadioButton(int nIDFirstButton, int nIDLastButton, int nIDCheckButton);
  int GetCheckedRadioButton(int nIDFirstButton, int nIDLastButton) const;
  LRESULT SendDlgItemMessage(int nID, UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const;

  // ---- fonts --------------------------------------------------------------------------------------
  void SetFont(CFont* pFont, BOOL bRedraw = TRUE);
  // The window's font (WM_GETFONT); null when it uses the system font.
  CFont* GetFont() const;

  // ---- painting -----------------------------------------------------------------------------------
  CDC* GetDC();
  CDC* GetWindowDC();
  CDC* GetDCEx(HRGN hRgnClip, DWORD flags);
  int ReleaseDC(CDC* pDC);
  CDC* BeginPaint(LPPAINTSTRUCT lpPaint);
  void EndPaint(LPPAINTSTRUCT lpPaint);
  void Invalidate(BOOL bErase = TRUE);
  void InvalidateRect(LPCRECT lpRect, BOOL bErase = TRUE);
  void InvalidateRgn(HRGN hRgn, BOOL bErase = TRUE);
  void ValidateRect(LPCRECT lpRect);
  void UpdateWindow();
  BOOL RedrawWindow(LPCRECT lpRectUpdate = nullptr, HRGN hRgnUpdate = nullptr,
                    UINT flags = RDW_INVALIDATE | RDW_UPDATENOW | RDW_ERASE);
  BOOL GetUpdateRect(LPRECT lpRect, BOOL bErase = FALSE);
  void SetRedraw(BOOL bRedraw = TRUE);
  BOOL LockWindowUpdate();
  void UnlockWindowUpdate();
  void ScrollWindow(int xAmount, int yAmount, LPCRECT lpRect = nullptr, LPCRECT lpClipRect = nullptr);

  // ---- timers, menus, scroll bars, icons ----------------------------------------------------------
  UINT_PTR SetTimer(UINT_PTR nIDEvent, UINT nElapse, TIMERPROC lpfnTimer = nullptr);
  BOOL KillTimer(UINT_PTR nIDEvent);
  CMenu* GetMenu() const;
  BOOL SetMenu(CMenu* pMenu);
  CMenu* GetSystemMenu(BOOL bRevert) const;
  void DrawMenuBar();
  int GetScrollPos(int nBar) const;
  int SetScrollPos(int nBar, int nPos, BOOL bRedraw = TRUE);
  void GetScrollRange(int nBar, LPINT lpMinPos, LPINT lpMaxPos) const;
  void SetScrollRange(int nBar, int nMinPos, int nMaxPos, BOOL bRedraw = TRUE);
  BOOL GetScrollInfo(int nBar, LPSCROLLINFO lpScrollInfo, UINT nMask = SIF_ALL) const;
  BOOL SetScrollInfo(int nBar, LPSCROLLINFO lpScrollInfo, BOOL bRedraw = TRUE);
  void ShowScrollBar(UINT nBar, BOOL bShow = TRUE);
  HICON SetIcon(HICON hIcon, BOOL bBigIcon);
  HICON GetIcon(BOOL bBigIcon) const;

  // ---- default message handlers: the window's own behaviour for the current message ---------------
  afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
  afx_msg BOOL OnNcCreate(LPCREATESTRUCT lpCreateStruct);
  afx_msg void OnDestroy();
  afx_msg void OnNcDestroy();
  afx_msg void OnClose();
  afx_msg void OnPaint();
  afx_msg void OnNcPaint();
  afx_msg BOOL OnEraseBkgnd(CDC* pDC);
  afx_msg void OnSize(UINT nType, int cx, int cy);
  afx_msg void OnTimer(UINT_PTR nIDEvent);
  afx_msg void OnSysColorChange();
  afx_msg void OnSettingChange(UINT uFlags, LPCTSTR lpszSection);
  afx_msg void OnCancelMode();
  afx_msg void OnMouseLeave();
  afx_msg void OnMouseHover(UINT nFlags, CPoint point);
  afx_msg void OnMouseMove(UINT nFlags, CPoint point);
  afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
  afx_msg void OnLButtonUp(UINT nFlags, CPoint point);
  afx_msg void OnLButtonDblClk(UINT nFlags, CPoint point);
  afx_msg void OnRButtonDown(UINT nFlags, CPoint point);
  afx_msg void OnRButtonUp(UINT nFlags, CPoint point);
  afx_msg void OnRButtonDblClk(UINT nFlags, CPoint point);
  afx_msg void OnMButtonDown(UINT nFlags, CPoint point);
  afx_msg void OnMButtonUp(UINT nFlags, CPoint point);
  afx_msg void OnMButtonDblClk(UINT nFlags, CPoint point);
  afx_msg BOOL OnMouseWheel(UINT nFlags, short zDelta, CPoint pt);
  afx_msg void OnNcMouseMove(UINT nHitTest, CPoint point);
  afx_msg void OnNcLButtonDown(UINT nHitTest, CPoint point);
  afx_msg void OnNcLButtonUp(UINT nHitTest, CPoint point);
  afx_msg void OnNcLButtonDblClk(UINT nHitTest, CPoint point);
  afx_msg void OnNcRButtonDown(UINT nHitTest, CPoint point);
  afx_msg void OnNcMButtonDblClk(UINT nHitTest, CPoint point);
  afx_msg LRESULT OnNcHitTest(CPoint point);
  afx_msg void OnNcCalcSize(BOOL bCalcValidRects, NCCALCSIZE_PARAMS* lpncsp);
  afx_msg BOOL OnNcActivate(BOOL bActive);
  afx_msg void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
  afx_msg void OnKeyUp(UINT nChar, UINT nRepCnt, UINT nFlags);
  afx_msg void OnChar(UINT nChar, UINT nRepCnt, UINT nFlags);
  afx_msg void OnSysKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
  afx_msg void OnSysKeyUp(UINT nChar, UINT nRepCnt, UINT nFlags);
  afx_msg BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message);
  afx_msg int OnMouseActivate(CWnd* pDesktopWnd, UINT nHitTest, UINT message);
  afx_msg void OnSetFocus(CWnd* pOldWnd);
  afx_msg void OnKillFocus(CWnd* pNewWnd);
  afx_msg void OnCaptureChanged(CWnd* pWnd);
  afx_msg void OnHScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar);
  afx_msg void OnVScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar);
  afx_msg UINT OnGetDlgCode();
  afx_msg void OnWindowPosChanging(WINDOWPOS* lpwndpos);
  afx_msg void OnWindowPosChanged(WINDOWPOS* lpwndpos);
  afx_msg void OnSysCommand(UINT nID, LPARAM lParam);
  afx_msg void OnShowWindow(BOOL bShow, UINT nStatus);
  afx_msg void OnGetMinMaxInfo(MINMAXINFO* lpMMI);
  afx_msg void OnEnable(BOOL bEnable);
  afx_msg void OnActivateApp(BOOL bActive, DWORD dwThreadID);
  afx_msg void OnActivate(UINT nState, CWnd* pWndOther, BOOL bMinimized);
  afx_msg void OnInitMenuPopup(CMenu* pPopupMenu, UINT nIndex, BOOL bSysMenu);
  afx_msg void OnContextMenu(CWnd* pWnd, CPoint pos);
  // These first offer the message to the child it is about (reflection).
  afx_msg HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor);
  afx_msg void OnDrawItem(int nIDCtl, LPDRAWITEMSTRUCT lpDrawItemStruct);
  afx_msg void OnMeasureItem(int nIDCtl, LPMEASUREITEMSTRUCT lpMeasureItemStruct);
  afx_msg int OnCompareItem(int nIDCtl, LPCOMPAREITEMSTRUCT lpCompareItemStruct);
  afx_msg void OnDeleteItem(int nIDCtl, LPDELETEITEMSTRUCT lpDeleteItemStruct);

  // The library's plain window class (double clicks, arrow cursor, no background brush).
  static LPCTSTR DefaultClassName();

 protected:
  // The window procedure the window had before the object took it over (null: the system's).
  WNDPROC m_pfnSuper = nullptr;
  // The window that gets this one's commands and notifications when it is not the parent (SetOwner).
  HWND m_hWndOwner = nullptr;
  // RunModalLoop: TRUE while it runs, and the result EndModalLoop gave.
  BOOL m_bContinueModal = FALSE;
  int m_nModalResult = -1;
  // EndModalLoop came before the loop started (a dialog that ends in OnInitDialog).
  BOOL m_bModalEndPending = FALSE;

  // The object's part of the window's end: the window procedure put back, the handle detached,
  // then PostNcDestroy.
  void FinishNcDestroy();
  // TRUE when the message is one that a parent hands to the child it is about; the child is found.
  static BOOL FindReflectTarget(HWND hWndParent, UINT message, WPARAM wParam, LPARAM lParam, HWND* phWndChild);
  // Dispatches a window-message row of the map.
  LRESULT DispatchWindowMessage(const AFX_MSGMAP_ENTRY& entry, UINT message, WPARAM wParam, LPARAM lParam);

 private:
  explicit CWnd(HWND hWndSpecial) : m_hWnd(hWndSpecial) {}

  static CWnd* NewTemporary(HWND hWnd);
  static void DeleteTemporary(CWnd* pWnd);
  friend class CHandleMap<CWnd, HWND>;
  friend LRESULT AfxCallWndProc(CWnd* pWnd, HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam);
  friend void AfxTakeOverWindow(CWnd* pWnd, HWND hWnd);

  BOOL m_bToolTips = FALSE;

 protected:
  DECLARE_MESSAGE_MAP()
};

using CWndHandleMap = CHandleMap<CWnd, HWND>;

// The window's text, as GetWindowText reads it.
inline CString WindowTextOf(const CWnd& window) {
  CString text;
  window.GetWindowText(text);
  return text;
}

// Sends one message to the object as its window procedure would, catching what the handler throws.
LRESULT AfxCallWndProc(CWnd* pWnd, HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam);
// The creation hook: the next window the thread creates belongs to pWnd (see cwnd_create.cpp).
void AfxHookWindowCreate(CWnd* pWnd);
// Ends the hook's use for one creation; FALSE when the window never reached the hook.
BOOL AfxUnhookWindowCreate();
// Registers (once) a window class of the library with these attributes and returns its name; the
// string lives as long as the process.
LPCTSTR AfxRegisterWndClass(UINT nClassStyle, HCURSOR hCursor = nullptr, HBRUSH hbrBackground = nullptr,
                            HICON hIcon = nullptr);

// CScrollBar: a scroll-bar control; the scroll handlers receive one. Its members act on the control
// itself (SB_CTL); CWnd's members of the same names act on a window's own bars.
class CScrollBar : public CWnd {
  DECLARE_DYNAMIC(CScrollBar)

 public:
  CScrollBar() = default;
  // The scroll bar object of a window: its own when it is one, else a temporary one.
  static CScrollBar* FromHandle(HWND hWnd);
  static CScrollBar* NewTemporary(HWND hWnd);
  static void DeleteTemporary(CScrollBar* pBar);

  // SBS_HORZ or SBS_VERT in the style.
  virtual BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);
  int GetScrollPos() const;
  int SetScrollPos(int nPos, BOOL bRedraw = TRUE);
  void GetScrollRange(LPINT lpMinPos, LPINT lpMaxPos) const;
  void SetScrollRange(int nMinPos, int nMaxPos, BOOL bRedraw = TRUE);
  BOOL GetScrollInfo(LPSCROLLINFO lpScrollInfo, UINT nMask = SIF_ALL) const;
  BOOL SetScrollInfo(LPSCROLLINFO lpScrollInfo, BOOL bRedraw = TRUE);
  // The largest position the thumb can reach: the range's end less the page, plus one.
  int GetScrollLimit() const;
  void ShowScrollBar(BOOL bShow = TRUE);
  BOOL EnableScrollBar(UINT nArrowFlags = ESB_ENABLE_BOTH);
};
