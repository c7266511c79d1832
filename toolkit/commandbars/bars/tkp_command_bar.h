// CTKPCommandBar: the window every command bar derives from (toolbars, the menu bar, popup bars, dialog
// bars). It owns the bar's controls and does what all bars share: the tracking mode in which the bar owns
// the keyboard and the mouse, the selected control and the one whose popup is open, the hover timers,
// keyboard navigation and mnemonics, mouse messages handed to the controls, and painting through the
// paint manager. The bar lives by reference count: the holder of the last reference destroys its window.
#pragma once

#include <windows.h>

#include "platform/classlib/cstring.h"
#include "platform/classlib/crect.h"
#include "platform/classlib/win/cwnd.h"
#include "toolkit/common/tkp_hook_manager.h"
#include "toolkit/common/tkp_tracked_bar.h"

class CCmdTarget;
class CDC;
class CMenu;
class CTKPCommandBars;
class CTKPControl;
class CTKPCommandBarAccessible;
class CTKPControlPopup;
class CTKPControls;
class CTKPImageManager;
class CTKPPaintManager;
class CTKPPropExchange;
class CTKPToolTipContext;
class CTKPCommandBarRefList;
struct TKPCommandBarsExchangeParam;

// Where a bar is.
enum TKPBarPosition {
  tkpBarTop = 0,
  tkpBarBottom = 1,
  tkpBarLeft = 2,
  tkpBarRight = 3,
  tkpBarFloating = 4,
  tkpBarPopup = 5,
  tkpBarListBox = 6,  // shown inside another window
  tkpBarNone = 7,
};

// What a bar is.
enum TKPBarType { tkpBarTypeMenuBar = 0, tkpBarTypeNormal = 1, tkpBarTypePopup = 2 };

// The codes of ProcessSpecialKey.
enum TKPSpecialKey {
  tkpKeyNext = 0,
  tkpKeyPrev = 1,
  tkpKeyPopupUp = 2,   // close the popup / go up
  tkpKeyPopupDown = 3, // open the popup / go down
  tkpKeyEscape = 4,
  tkpKeyReturn = 5,
  tkpKeyHome = 6,
  tkpKeyEnd = 7,
};

// Docking flags of a bar.
constexpr DWORD TKP_DOCK_TOP = 1;
constexpr DWORD TKP_DOCK_BOTTOM = 2;
constexpr DWORD TKP_DOCK_LEFT = 4;
constexpr DWORD TKP_DOCK_RIGHT = 8;
constexpr DWORD TKP_DOCK_FLOAT = 16;
constexpr DWORD TKP_DOCK_HIDEWRAP = 32;
constexpr DWORD TKP_DOCK_STRETCHED = 64;
constexpr DWORD TKP_DOCK_FILL = 0x100000;

// The style bit that draws a gripper.
constexpr DWORD TKP_BAR_GRIPPER = 0x400000;

// Window timers of a bar: the hover period after a selection by mouse, and the delay before a popup shows
// its hidden commands.
constexpr UINT_PTR TKP_TIMER_HOVER = 112223;
constexpr UINT_PTR TKP_TIMER_FULLMENU = 112224;
constexpr UINT TKP_HOVER_PERIOD = 300;
constexpr UINT TKP_FULLMENU_PERIOD = 5000;

// Messages a bar sends its site (wParam and lParam as each names).
constexpr UINT TKP_WM_TRACKINGMODE = 10328;  // a menu bar entered tracking (wParam the bar)
constexpr UINT TKP_WM_CONTROLRBUTTONUP = 10329;  // wParam CPoint*, lParam the control; 1 ends it
constexpr UINT TKP_WM_SPECIALKEY = 10330;    // a key while tracking: wParam TKP_KEYRECORD*, lParam the bar
constexpr UINT TKP_WM_CONTROLNOTIFY = 10338; // the control notification (lParam an NMHDR)

// The key messages the frame and its bars look at: WM_KEYDOWN (256) to 264.
constexpr UINT TKP_FIRST_KEY_MESSAGE = WM_KEYDOWN;
constexpr UINT TKP_LAST_KEY_MESSAGE = 0x108;
inline bool TKPIsKeyMessage(UINT message) { return message >= TKP_FIRST_KEY_MESSAGE && message <= TKP_LAST_KEY_MESSAGE; }

// The edit box inside a command bar that has the focus, or null.
CWnd* TKPCommandBarEditWithFocus();
// The window's top-level parent is the active window.
BOOL TKPIsTopParentActive(HWND hWnd);
inline bool TKPIsKeyDown(int nVirtKey) { return (::GetKeyState(nVirtKey) & 0x8000) != 0; }

// The key a site may change before a tracking bar handles it.
struct TKP_KEYRECORD {
  UINT nChar;
  LPARAM lParam;
};

class CTKPCommandBar : public CWnd, public CTKPHookClient, public CTKPTrackedBar {
  DECLARE_SERIAL(CTKPCommandBar)

 public:
  CTKPCommandBar();
  ~CTKPCommandBar() override;

  // ---- what the bar is --------------------------------------------------------------------------
  CTKPControls* GetControls() const { return m_pControls; }
  CTKPControl* GetControl(int nIndex) const;
  int GetControlCount() const;
  // The bar's own manager, else the first one up the chain of parent bars.
  CTKPCommandBars* GetCommandBars() const;
  void SetCommandBars(CTKPCommandBars* pCommandBars) { m_pCommandBars = pCommandBars; }
  // The manager's site; without one the root bar's notification window, its parent, or the main window.
  CWnd* GetSite() const;
  // The root bar's command target, else the site.
  CWnd* GetOwnerSite() const;
  // The outermost bar up the chain of parent bars (this bar when it has none).
  CTKPCommandBar* GetRootParent() const;
  CString GetTitle() const { return m_strTitle; }
  void SetTitle(LPCTSTR lpszTitle);
  int GetPosition() const { return m_barPosition; }
  UINT GetBarID() const { return m_nBarID; }
  void SetBarID(UINT nID) { m_nBarID = nID; }
  int GetType() const { return m_barType; }
  DWORD GetFlags() const { return m_dwFlags; }
  void SetFlags(DWORD dwFlags) { m_dwFlags = dwFlags; }
  DWORD GetBarStyle() const { return m_dwBarStyle; }
  void SetBarStyle(DWORD dwStyle) { m_dwBarStyle = dwStyle; }
  void SetNotifyWindow(CWnd* pWnd) { m_pNotifyWnd = pWnd; }
  void SetCommandTarget(CWnd* pWnd) { m_pCommandTarget = pWnd; }
  BOOL IsLayoutRTL() const;
  // The manager customizes, and the bar is not a menu of the customizing itself (a popup that may not be
  // customized, and its sub-menus, work as menus).
  BOOL IsCustomizeMode() const;
  int GetTrackingMode() const { return m_nTrackingMode; }
  BOOL IsTrackingMode() const { return m_nTrackingMode != 0; }
  int GetSelected() const { return m_nSelected; }
  int GetPopuped() const { return m_nPopuped; }
  BOOL IsSelectedByKeyboard() const { return m_bKeyboardSelected; }

  // ---- paint and image managers: the bar's own, the manager's, the root bar's, the process's -----
  CTKPPaintManager* GetPaintManager() const;
  // The bar takes a reference; the old one is released. The new one refreshes its metrics.
  void SetPaintManager(CTKPPaintManager* pPaintManager);
  CTKPImageManager* GetImageManager() const;
  void SetImageManager(CTKPImageManager* pImageManager);

  // ---- sizes ------------------------------------------------------------------------------------
  CSize GetIconSize() const;
  void SetIconSize(CSize size) { m_szIcons = size; }
  CSize GetButtonSize() const;
  void SetButtonSize(CSize size) { m_szButtons = size; }
  // 0 no, 1 yes, 2 as the option "ShowTextBelowIcons" says.
  void ShowTextBelowIcons(int nMode = 1);
  BOOL IsTextBelowIcons() const;
  void SetMRUWidth(int nWidth) { m_nMRUWidth = nWidth; }
  int GetMRUWidth() const { return m_nMRUWidth; }

  // ---- tracking, selection and popups -----------------------------------------------------------
  void EndTracking() override;      // tracking mode 0, nothing selected
  void ClearSelection() override;   // nothing selected
  BOOL PopupControl(int nIndex, BOOL bKeyboard = FALSE);
  // The control that answers a typed character (its "&" letter, else its first letter), from the one
  // after the selected control, once around; -1 when none. *pbAmbiguous: another control answers too.
  int FindAccel(UINT nChar, BOOL* pbAmbiguous) const;
  // The controls of a menu's items; FALSE for a null or destroyed menu.
  BOOL LoadMenu(CMenu* pMenu, BOOL bRemoveOld = TRUE);
  // The first index from nStart on whose control has that id and type; -1 when none.
  int FindControl(int nStart, UINT nID, int nType) const;
  // Invalidates the bar now, or marks it for later while its redraw is locked.
  void Redraw();
  void LockRedraw() { ++m_nLockRedraw; }
  BOOL IsRedrawLocked() const { return m_nLockRedraw > 0; }
  // A message of a window on the bar shown to the bar's tips.
  virtual void RelayToolTipMessage(UINT message, WPARAM wParam, LPARAM lParam);
  // The tip of the control under the point: its tooltip (else caption) and, with "ToolBarAccelTips",
  // its shortcut; -1 when no tip shows (a menu shows tips only for its expand button unless asked).
  INT_PTR OnToolHitTest(CPoint point, TOOLINFO* pTI) const override;
  void UnlockRedraw();

  // ---- the bar's virtual operations -------------------------------------------------------------
  virtual void DelayRedraw() { m_dwState |= stateRedrawPending; }
  virtual BOOL SetTrackingMode(int nMode, BOOL bSelectFirst = TRUE, BOOL bKeyboard = FALSE);
  virtual BOOL SetSelected(int nIndex, BOOL bKeyboard = FALSE);
  virtual BOOL LoadToolBar(UINT nIDResource, BOOL bLoadIcons = TRUE);
  virtual BOOL Popup(CTKPControlPopup* pControl, BOOL bSelectFirst);
  virtual void SetVisible(BOOL bVisible);
  virtual BOOL IsVisible() const;
  virtual BOOL SetPosition(int nPosition);
  virtual BOOL IsCustomizable() const { return m_bCustomizable; }
  void SetCustomizable(BOOL bCustomizable) { m_bCustomizable = bCustomizable; }
  virtual void OnRecalcLayout() {}
  virtual void OnControlSelected(BOOL bSelected, CTKPControl* pControl);
  virtual CTKPCommandBar* GetParentCommandBar() const { return nullptr; }
  virtual BOOL IsDialogBar() const { return FALSE; }
  // The bar's keys and its controls in the stream of customized bars (tkp_command_bar_exchange.cpp).
  virtual void DoPropExchange(CTKPPropExchange* pPX);
  // The bar joins the list of bars to save (once), a popup bar numbered from nNextId, then the bars its
  // popup controls open.
  virtual void CollectBarsToSave(UINT& nNextId, CTKPCommandBarRefList& list, const TKPCommandBarsExchangeParam& param);
  // Each popup control that names a bar of the loaded list gets that bar, which links its own in turn.
  virtual void LinkPopupBars(CTKPCommandBarRefList& list);
  // The popup bars the controls open (and those of their original controls) join the list.
  static void CollectPopupBars(CTKPControls* pControls, UINT& nNextId, CTKPCommandBarRefList& list,
                               const TKPCommandBarsExchangeParam& param);
  static void LinkPopupBars(CTKPControls* pControls, CTKPCommandBarRefList& list);
  virtual BOOL IsKeyboardCuesVisible() const;
  // 0 not handled, 1 handled, 2 let the focus window have it.
  virtual int OnHookKeyDown(UINT nChar, LPARAM lParam);
  virtual CSize CalcDynamicLayout(int nLength, DWORD dwMode);
  virtual BOOL ProcessSpecialKey(int nKey);
  virtual void DrawCommandBar(CDC* pDC, CRect rcClipBox);
  virtual void DelayLayout();
  virtual void Copy(CTKPCommandBar* pSource, BOOL bRecursive = FALSE);
  // 1: the point is this bar's (tracking goes on); -2: ignore this bar; 0: not inside.
  virtual int HitTestTracking(CPoint ptScreen) const;
  // Sets the controls' states from their commands' update handlers in pTarget (tkp_command_bar_update.cpp):
  // nothing while the bar is hidden; the document-template controls first.
  virtual void OnUpdateCmdUI(CCmdTarget* pTarget, BOOL bDisableIfNoHandler);
  // Each control asks the bar's own update handlers, then pTarget's (all enabled while customizing);
  // a control with tkpFlagManualUpdate keeps its state.
  void UpdateCmdUI(CCmdTarget* pTarget, BOOL bDisableIfNoHandler);
  // Controls assigned to (or excluded from) document templates shown or hidden for the active one.
  void UpdateDocTemplateControls();
  // The frame's status bar shows the text (its idle prompt for an empty one).
  void SetStatusText(const CString& strText);
  virtual CTKPCommandBar* Clone(BOOL bRecursive = FALSE);

  // ---- customize drop target (tkp_customize_bar.cpp); effects and results are tkpcust::DragResult --
  // A control dragged in customize mode enters, moves over, leaves or is dropped on the bar (client
  // points). Enter and over answer the effect the bar takes (0: none).
  virtual int OnCustomizeDragEnter(CTKPControl* pDragged, CPoint pt);
  virtual void OnCustomizeDragLeave();
  virtual int OnCustomizeDragOver(CTKPControl* pDragged, CPoint pt, int nEffect);
  // nResult comes in as the drag's kind (move or copy) and goes back as kDragCancel when the control was
  // dropped back onto itself, so that the drag leaves it where it is.
  virtual void OnCustomizeDrop(CTKPControl* pDragged, int& nResult, CPoint ptDrop, CPoint ptDrag);
  // Mouse presses in customize mode: a control is selected, dragged or given its context menu. Outside
  // it, an Alt+press on a toolbar's control drags that control (when the site lets the user customize).
  BOOL OnCustomizeMessage(UINT message, WPARAM wParam, LPARAM lParam);
  void DrawCustomizeMarker(CDC* pDC) const;

  // ---- hooks of the mouse and keyboard managers -------------------------------------------------
  int OnHookMessage(HWND hWnd, UINT nMessage, WPARAM& wParam, LPARAM& lParam, LRESULT& lResult) override;
  HWND GetTrackedHwnd() const override { return m_hWnd; }
  int IsTrackedPoint(POINT screen) const override { return HitTestTracking(CPoint(screen.x, screen.y)); }
  void OnTrackedMouseMove(UINT nFlags, POINT client) override;

  // The state flags.
  enum { stateLayoutPending = 1, stateRedrawPending = 2 };
  DWORD m_dwState = 0;

  // Popup-menu options (TPM_RIGHTBUTTON, TPM_NONOTIFY, TPM_RECURSE) and the TPM_RETURNCMD target.
  BOOL m_bRightButtonSelects = FALSE;
  BOOL m_bNoControlUpdate = FALSE;
  BOOL m_bRecursePopup = FALSE;
  int* m_pReturnCmd = nullptr;
  BOOL m_bCloseable = FALSE;
  BOOL m_bContextMenuPresent = TRUE;
  BOOL m_bHideCaretWhileTracking = TRUE;
  // Customize insertion marker.
  CRect m_rcMarker;
  BOOL m_bVerticalMarker = FALSE;
  int m_nStatusControl = -1;

 protected:
  void OnFinalRelease() override;
  BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;
  // The next selectable control after nIndex in nStep's direction, wrapping; -1 when none.
  int NextSelectable(int nIndex, int nStep) const;
  // Moves the keyboard selection to the nearest control of the next or previous row.
  BOOL SelectInNextRow(BOOL bForward);
  // The controls hit at a client point (visible ones of this bar); -1 when none.
  int HitTestControl(CPoint point) const;
  // The control a click at the point goes to; none in customize mode.
  CTKPControl* ClickedControl(CPoint point) const;
  // The site frame is in context-help mode.
  BOOL IsSiteInHelpMode() const;
  // Stops the hover and full-menu timers.
  void StopTimers();

  afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
  afx_msg void OnDestroy();
  afx_msg void OnPaint();
  afx_msg BOOL OnEraseBkgnd(CDC* pDC);
  afx_msg LRESULT OnPrint(WPARAM wParam, LPARAM lParam);
  afx_msg void OnTimer(UINT_PTR nIDEvent);
  afx_msg void OnMouseMove(UINT nFlags, CPoint point);
  afx_msg void OnMouseLeave();
  afx_msg void OnNcMouseMove(UINT nHitTest, CPoint point);
  afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
  afx_msg void OnLButtonDblClk(UINT nFlags, CPoint point);
  afx_msg void OnLButtonUp(UINT nFlags, CPoint point);
  afx_msg void OnRButtonUp(UINT nFlags, CPoint point);
  afx_msg LRESULT OnNcHitTest(CPoint point);
  afx_msg void OnNcLButtonDown(UINT nHitTest, CPoint point);
  afx_msg LRESULT OnIdleUpdateCmdUI(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnInitialUpdate(WPARAM wParam, LPARAM lParam);
  // The help id under a point: 0x10000 + a control's command, else 0x50000 + the bar's id.
  afx_msg LRESULT OnHelpHitTest(WPARAM wParam, LPARAM lParam);
  // A screen reader asks for the bar (tkp_command_bar_accessible.cpp).
  afx_msg LRESULT OnGetObject(WPARAM wParam, LPARAM lParam);
  DECLARE_MESSAGE_MAP()

  CTKPCommandBarAccessible* m_pAccessible = nullptr;  // made when a screen reader first asks
  int m_nMRUWidth = 32767;
  int m_nSelected = -1;
  int m_nPopuped = -1;
  HWND m_hwndCaret = nullptr;
  UINT m_nBarID = 0;
  BOOL m_bVisible = TRUE;
  int m_nTrackingMode = 0;
  CWnd* m_pNotifyWnd = nullptr;
  DWORD m_dwFlags = 0;
  DWORD m_dwBarStyle = 0;
  CString m_strTitle;
  int m_barType = tkpBarTypeNormal;
  CTKPControls* m_pControls = nullptr;
  int m_barPosition = tkpBarNone;
  CTKPCommandBars* m_pCommandBars = nullptr;
  CTKPCommandBars* m_pDropRegistry = nullptr;  // the manager this window registered with
  CWnd* m_pCommandTarget = nullptr;
  CSize m_szIcons;
  CSize m_szButtons;
  int m_nTextBelowIcons = 2;
  BOOL m_bKeyboardSelected = FALSE;
  BOOL m_bCustomizable = TRUE;
  BOOL m_bTrackOnHover = FALSE;  // tracked without selection
  int m_nLockRedraw = 0;
  CTKPPaintManager* m_pPaintManager = nullptr;
  CTKPImageManager* m_pImageManager = nullptr;
  CTKPToolTipContext* m_pToolTipContext = nullptr;

  friend class CTKPCommandBars;
};
