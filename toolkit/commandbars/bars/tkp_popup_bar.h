// CTKPPopupBar: the command bar shown as a drop-down or context menu. It places itself against the work
// area beside or below the control that opened it (or at a point), lays its controls out as a menu,
// hides rarely used commands behind an expand button until expanded, animates its appearance and tells
// the site when it opens (0x285B) and closes (0x285D). It never takes activation; its tracking is the
// command bar's. CTKPPopupToolBar is the same window laid out as a small wrapped toolbar.
#pragma once

#include <functional>

#include "toolkit/commandbars/bars/tkp_command_bar.h"

class CTKPControlPopup;
class CTKPToolBar;

// The site hears that a popup is about to show, and that it closed (lParam the bar).
constexpr UINT TKP_WM_INITCOMMANDSPOPUP = 0x285B;
constexpr UINT TKP_WM_UNINITCOMMANDSPOPUP = 0x285D;
// The toolbar menu is about to open (wParam the bar clicked or null, lParam the popup).
constexpr UINT TKP_WM_TOOLBARCONTEXTMENU = 0x285C;

// Timers of a popup window: scrolling (down, up), the tear-off gripper, and the rest on the expand
// button that shows the hidden commands.
constexpr UINT_PTR TKP_TIMER_SCROLLDOWN = 5001;
constexpr UINT_PTR TKP_TIMER_SCROLLUP = 5002;
constexpr UINT_PTR TKP_TIMER_TEAROFF = 5003;
constexpr UINT_PTR TKP_TIMER_EXPAND = 5004;
constexpr UINT TKP_EXPAND_DELAY = 900;

// The animation that shows a popup: 2 unfold, 3 slide, 4 fade, 5 none.
constexpr int TKP_ANIMATION_NONE = 5;

class CTKPPopupBar : public CTKPCommandBar {
  DECLARE_SERIAL(CTKPPopupBar)

 public:
  CTKPPopupBar();

  // A popup bar of the manager, holding one reference for the caller.
  static CTKPPopupBar* CreatePopupBar(CTKPCommandBars* pCommandBars);

  // Shows the bar at a screen point, away from the rectangle when one is given (a context menu).
  BOOL Popup(int x, int y, LPCRECT rcExclude);
  // Shows the hidden commands.
  void Expand();
  int GetAnimationType() const;
  // The id (or with byIndex the index) of the first visible default item; -1 when none.
  int GetDefaultItem(BOOL byIndex) const;
  CTKPControlPopup* GetControlPopup() const { return m_pControlPopup; }
  BOOL HasHiddenCommands() const { return m_bHasHiddenCommands; }
  BOOL IsExpanded() const { return m_bExpanded; }
  DWORD GetPopupFlags() const { return m_popupFlags; }
  CRect GetExcludeRect() const { return m_rcExclude; }
  // The placement scrolled the bar (it did not fit the work area).
  BOOL IsScrolling() const { return m_bScrolling; }
  void SetShadow(BOOL bShadow) { m_bShadow = bShadow; }
  BOOL HasShadow() const { return m_bShadow; }
  BOOL IsDoubleGripper() const { return m_bDoubleGripper; }
  void SetDoubleGripper(BOOL b) { m_bDoubleGripper = b; }
  // A popup toolbar's margins.
  void SetMargins(const CRect& rc) { m_rcMargins = rc; }
  CRect GetMargins() const { return m_rcMargins; }
  int GetTearOffWidth() const { return m_nTearOffWidth; }
  // The direction a context menu opens to (TPM_ alignment: 2 from the point, 3 ending at it).
  void SetPopupFlags(DWORD dwFlags) { m_requestedFlags = dwFlags; }

  // ---- what the popup does differently from other bars -----------------------------------------
  void DelayRedraw() override;
  BOOL SetTrackingMode(int nMode, BOOL bSelectFirst = TRUE, BOOL bKeyboard = FALSE) override;
  BOOL SetSelected(int nIndex, BOOL bKeyboard = FALSE) override;
  BOOL Popup(CTKPControlPopup* pControl, BOOL bSelectFirst) override;
  BOOL IsVisible() const override;
  void OnRecalcLayout() override { DelayLayout(); }
  CTKPCommandBar* GetParentCommandBar() const override;
  int OnHookKeyDown(UINT nChar, LPARAM lParam) override;
  CSize CalcDynamicLayout(int nLength, DWORD dwMode) override;
  void DrawCommandBar(CDC* pDC, CRect rcClipBox) override;
  void DelayLayout() override;
  void Copy(CTKPCommandBar* pSource, BOOL bRecursive = FALSE) override;
  void DoPropExchange(CTKPPropExchange* pPX) override;
  virtual void UpdateShortcuts();
  virtual void UpdateLocation();
  // Windows of embedded controls go back to the site first, so that they outlive the popup.
  BOOL DestroyWindow() override;

  // ---- scrolling an over-long menu (tkp_popup_scroll.cpp) ----------------------------------------
  // Lays the controls out between the arrows, forwards from the first visible control or backwards
  // from the last visible one, in the window's height (or pSize's).
  void ScrollLayout(CSize* pSize, BOOL bFromLast, BOOL bRedraw);
  int GetFirstVisible() const { return m_nFirstVisible; }
  int GetLastVisible() const { return m_nLastVisible; }
  CRect GetScrollArrowRect(BOOL bDown) const { return bDown ? m_scrollDown.rc : m_scrollUp.rc; }

  // ---- tearing the menu off as a floating toolbar (tkp_tear_off.cpp) ----------------------------
  // The menu shows a gripper; dragged away it becomes the toolbar of that id (made with the caption
  // and remembered width when the manager has none).
  void SetTearOffPopup(LPCTSTR lpszCaption, UINT nBarID, int nWidth);
  BOOL IsTearOffPopup() const { return m_bTearOffPopup; }
  CRect GetTearOffRect() const { return m_rcTearOff; }
  BOOL IsTearOffHot() const { return m_bTearOffHot; }

 protected:
  BOOL CreatePopupWindow();
  // The screen rectangle for a popup of this size; stores the direction and the scrolling state.
  CRect PlacePopup(CSize size);
  // The menu layout: personalization, the expand button, one item per row.
  CSize CalcMenuLayout();
  void Personalize();
  void AnimatePopup(CRect rcWindow);
  // Draws the bar off screen and hands the window's DC, the drawing and its rectangle to play.
  void PlayAnimation(CSize size, const std::function<void(CDC*, CDC*, CRect)>& play);
  BOOL HasChildWindow() const;

  afx_msg void OnMouseMove(UINT nFlags, CPoint point);
  afx_msg int OnMouseActivate(CWnd* pDesktopWnd, UINT nHitTest, UINT message);
  afx_msg void OnTimer(UINT_PTR nIDEvent);
  afx_msg BOOL OnNcCreate(LPCREATESTRUCT lpCreateStruct);
  afx_msg LRESULT OnFloatStatus(WPARAM wParam, LPARAM lParam);
  afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
  DECLARE_MESSAGE_MAP()

  // Scrolling: the arrows react to the mouse and their timers; a scrolled-out selection comes into view.
  struct ScrollButton {
    CRect rc;
    UINT_PTR nTimer = 0;  // running timer, 0 when none
    UINT_PTR nID = 0;
  };
  void OnScrollMouseMove(CPoint point);
  BOOL OnScrollTimer(UINT_PTR nIDEvent);
  void ScrollSelectionIntoView(int nIndex);
  void StopScrolling();
  void DrawScrollArrows(CDC* pDC);
  // Tear-off: the gripper's hover, its timer, the drag and its drawing.
  void OnTearOffMouseMove(CPoint point);
  BOOL OnTearOffTimer(UINT_PTR nIDEvent);
  void TrackTearOff();
  void MoveTearOff(CPoint ptScreen, const CRect& rcGripper);
  CTKPToolBar* TakeTearOffBar();
  void DrawTearOffGripper(CDC* pDC);
  // After the placement: the scroll layout for the final height when it cut the bar, else none.
  void UpdateScrolling(const CRect& rcWindow);
  // The shadow cast again after the window moved (position 5 with its shadow flag).
  void CastShadow();

  CTKPControlPopup* m_pControlPopup = nullptr;
  CPoint m_ptPopup;
  CRect m_rcExclude;
  DWORD m_popupFlags = 0;      // the direction the placement took
  DWORD m_requestedFlags = 0;  // the direction asked for by the opening control
  BOOL m_bInLayout = FALSE;
  BOOL m_bHasHiddenCommands = FALSE;
  BOOL m_bExpanded = FALSE;
  BOOL m_bAnimateExpansion = FALSE;
  BOOL m_bShadow = TRUE;
  BOOL m_bDoubleGripper = FALSE;  // "DoubleGripper": check marks and icons in two columns
  CRect m_rcMargins{2, 4, 2, 4};
  BOOL m_bScrolling = FALSE;
  int m_nFirstVisible = 0;
  int m_nLastVisible = 0;
  ScrollButton m_scrollDown{CRect(), 0, TKP_TIMER_SCROLLDOWN};
  ScrollButton m_scrollUp{CRect(), 0, TKP_TIMER_SCROLLUP};
  BOOL m_bTearOffPopup = FALSE;
  CRect m_rcTearOff;
  BOOL m_bTearOffHot = FALSE;
  UINT_PTR m_nTearOffTimer = 0;
  BOOL m_bTearOffDragging = FALSE;
  CTKPToolBar* m_pTearOffBar = nullptr;  // the toolbar shown while the drag is out of the gripper
  CString m_strTearOffCaption;
  UINT m_nTearOffID = 0;
  int m_nTearOffWidth = 400;
  // The opening bar shows its next popup with the animation once.
  BOOL m_bAnimateNextPopup = TRUE;

  friend class CTKPPopupToolBar;
};

class CTKPPopupToolBar : public CTKPPopupBar {
  DECLARE_SERIAL(CTKPPopupToolBar)

 public:
  CTKPPopupToolBar() { m_barType = tkpBarTypeNormal; }
  // A popup toolbar of the manager, holding one reference for the caller.
  static CTKPPopupToolBar* CreatePopupToolBar(CTKPCommandBars* pCommandBars);
  CSize CalcDynamicLayout(int nLength, DWORD dwMode) override;
};

// Popups opened while one tracking runs open expanded once one of them was; the flag goes when the
// tracking ends with nothing tracked.
BOOL& TKPPopupsExpandedWhileTracking();
