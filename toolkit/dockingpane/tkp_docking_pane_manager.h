// CTKPDockingPaneManager: the docking arrangement of one frame (the site). An invisible child window of
// the frame that takes part in its layout (WM_SIZEPARENT), owns the live layout and the paint manager,
// makes every pane object, carries out what is done to panes and tells the site of it with
// TKP_DOCKINGPANE_NOTIFY.
//
// Panes are made with CreatePane (an id, a preferred size, a side and an optional neighbour) and given
// their window with CTKPDockingPane::Attach, their title with SetTitle and their options with SetOptions.
#pragma once

#include "platform/classlib/win/classlib_win.h"
#include "toolkit/dockingpane/tkp_docking_pane.h"
#include "toolkit/dockingpane/tkp_docking_pane_layout.h"
#include "toolkit/dockingpane/tkp_docking_pane_paint_manager.h"

class CTKPDockingPaneDragContext;
class CTKPToolTipContext;
class CTKPImageManager;
class CTKPImageManagerIcon;

// Sent to the site frame: wParam one of TKP_DPN_..., lParam as each says.
constexpr UINT TKP_DOCKINGPANE_NOTIFY = 0x2AAD;
enum : WPARAM {
  TKP_DPN_SHOWWINDOW = 1,   // lParam the pane shown
  TKP_DPN_RCLICK = 2,       // lParam the object right-clicked
  TKP_DPN_CLOSEPANE = 3,    // lParam the pane about to close; -1 keeps it open
  TKP_DPN_ACTION = 4,       // lParam a TKP_DOCKINGPANE_ACTION; its result refuses the action
  TKP_DPN_CONTEXTMENU = 5,  // lParam a menu record
};

// What happens to a pane (TKP_DPN_ACTION); the "about to" ones may be refused.
enum TKPDockingPaneAction : int {
  tkpPaneActionFloating = 0,
  tkpPaneActionFloated = 1,
  tkpPaneActionClosing = 2,
  tkpPaneActionClosed = 3,
  tkpPaneActionDocking = 4,
  tkpPaneActionDocked = 5,
  tkpPaneActionAttaching = 6,
  tkpPaneActionAttached = 7,
  tkpPaneActionPinning = 8,
  tkpPaneActionPinned = 9,
  tkpPaneActionCollapsing = 10,
  tkpPaneActionCollapsed = 11,
  tkpPaneActionExpanding = 12,
  tkpPaneActionExpanded = 13,
  tkpPaneActionActivated = 14,
  tkpPaneActionDeactivated = 15,
  tkpPaneActionDetaching = 16,
};

// Five 32-bit fields, in this order.
struct TKP_DOCKINGPANE_ACTION {
  int action;
  int result;  // 0 when sent; non-zero refuses
  CTKPDockingPaneBase* pane;
  DWORD arg1;
  DWORD arg2;
};

// The step of the panes' slide and collapse animations.
constexpr UINT kTKPPaneAnimationIntervalMs = 16;

// Sides.
enum TKPDockingDirection : int { tkpPaneDockLeft = 0, tkpPaneDockRight = 1, tkpPaneDockTop = 2, tkpPaneDockBottom = 3 };

class CTKPDockingPaneManager : public CWnd {
 public:
  CTKPDockingPaneManager();
  ~CTKPDockingPaneManager() override;

  // Once: the manager's window on the frame and its live layout. FALSE when already installed.
  BOOL InstallOnFrame(CFrameWnd* pSite);
  // A new layout bound to this manager (not live); the caller deletes it.
  virtual CTKPDockingPaneLayout* CreateLayout();
  // The object of a type code (0 pane ... 5 auto-hide panel) in the layout; null for any other code.
  virtual CTKPDockingPaneBase* CreatePaneObject(int nType, CTKPDockingPaneLayout* pLayout);
  virtual void OnActivatePane(BOOL bActive, CTKPDockingPane* pPane);

  // ---- panes -----------------------------------------------------------------------------------------
  // A new pane of that id, docked at a side of the neighbour (of the whole arrangement without one), with
  // the rectangle's width and height as its preferred docked size. Null without a live layout or id 0.
  CTKPDockingPane* CreatePane(UINT nID, CRect rc, int nDirection, CTKPDockingPaneBase* pNeighbour = nullptr);
  CTKPDockingPane* FindPane(UINT nID) const;
  void ClosePane(CTKPDockingPane* pPane);
  // A close asked for by the user (a caption's close button, a floating frame's close): nothing for a
  // pane that may not close; the site is asked first and told after.
  void ClosePaneByUser(CTKPDockingPane* pPane);
  void ShowPane(CTKPDockingPane* pPane, BOOL bSetFocus = TRUE);
  // Nothing for the client area (or a container holding it) and for a neighbour inside the object.
  void DockPane(CTKPDockingPaneBase* pPane, int nDirection, CTKPDockingPaneBase* pNeighbour);
  // Sends a docked pane (with the hide-group flag, its whole group) to the auto-hide panel of its side.
  void HidePane(CTKPDockingPaneBase* pPane);
  // A docked pane or group floats where it last floated (in a new floating frame over its place when it
  // never did); a floating or auto-hidden one docks again where it was docked.
  void ToggleDocking(CTKPDockingPaneBase* pPane);
  // Puts a pane or a group into a new floating frame at rc (screen coordinates); never the client area.
  void FloatPane(CTKPDockingPaneBase* pPane, CRect rc);
  // Moves the pane, or the panes of a container, into the tabbed container (or the container of a pane).
  void AttachPane(CTKPDockingPaneBase* pPane, CTKPDockingPaneBase* pContainer);
  int GetPaneDirection(const CTKPDockingPaneBase* pPane) const;
  // The screen rectangle the pane would get docked at that side of the neighbour (of the whole
  // arrangement without one): the preview of a drag.
  CRect CalcDockingRect(CTKPDockingPaneBase* pPane, int nDirection, CTKPDockingPaneBase* pNeighbour = nullptr);
  BOOL IsPaneClosed(const CTKPDockingPane* pPane) const { return pPane == nullptr || pPane->IsClosed(); }
  BOOL IsPaneHidden(const CTKPDockingPane* pPane) const { return pPane != nullptr && pPane->IsHidden(); }
  CTKPDockingPaneBase* GetTopPane() const { return m_pLayout != nullptr ? m_pLayout->GetTopPane() : nullptr; }
  CTKPDockingPaneBase* GetClientPane() const { return m_pLayout != nullptr ? m_pLayout->GetClientPane() : nullptr; }
  CTKPDockingPaneLayout* GetLayout() const { return m_pLayout; }
  CTKPDockingPane* GetActivePane() const { return m_pActivePane; }
  CTKPImageManager* GetImageManager() const { return m_pImageManager; }
  CTKPImageManagerIcon* GetIcon(UINT nIconID, int nWidth) const;

  // ---- themes and settings ---------------------------------------------------------------------------
  // 0 and any id without a theme of its own select the default theme.
  void SetTheme(int nTheme);
  CTKPDockingPanePaintManager* GetPaintManager() const { return m_pPaintManager; }
  void RecalcFrames();
  BOOL IsLayoutRTL() const;
  int NotifyOwner(int nAction, CTKPDockingPaneBase* pPane, DWORD dwArg1 = 0, DWORD dwArg2 = 0);

  CFrameWnd* GetSite() const { return m_pSite; }
  void HideClient(BOOL bHide) { m_bHideClient = bHide; }
  BOOL IsClientHidden() const { return m_bHideClient; }
  void UseSplitterTracker(BOOL bUse) { m_bUseSplitterTracker = bUse; }
  BOOL IsSplitterTrackerUsed() const { return m_bUseSplitterTracker; }
  void LockSplitters(BOOL bLock) { m_bLockSplitters = bLock; }
  BOOL IsSplittersLocked() const { return m_bLockSplitters; }
  void SetDefaultPaneOptions(DWORD dwOptions) { m_dwDefaultPaneOptions = dwOptions; }
  DWORD GetDefaultPaneOptions() const { return m_dwDefaultPaneOptions; }
  int GetSplitterGap() const { return m_nSplitterGap; }
  void SetSplitterGap(int nGap) { m_nSplitterGap = nGap; }
  int GetDockingGuideStyle() const { return m_nGuideStyle; }
  BOOL IsLaidOut() const { return m_bLaidOut; }
  CTKPDockingPaneDragContext* GetDragContext() const { return m_pDragContext; }
  CTKPToolTipContext* GetToolTipContext() const { return m_pToolTipContext; }
  // The manager's windows pass every message through here first, so that their tips show.
  void FilterToolTipMessage(CWnd* pWnd, UINT message, WPARAM wParam, LPARAM lParam);
  // The drag previews with a translucent window, and docking guides with it.
  void SetAlphaDockingContext(BOOL bAlpha) { m_bAlphaDockingContext = bAlpha; }
  BOOL IsAlphaDockingContext() const { return m_bAlphaDockingContext; }
  void SetShowDockingGuides(BOOL bShow) { m_bShowDockingGuides = bShow; }
  BOOL IsShowDockingGuides() const { return m_bShowDockingGuides; }
  void SetThemedFloatingFrames(BOOL bThemed);
  BOOL IsThemedFloatingFrames() const { return m_bThemedFloatingFrames; }
  int GetSyncActivation() const { return m_nSyncActivation; }
  void SetFloatingFrameCaption(LPCTSTR lpszCaption) { m_strFloatingFrameCaption = lpszCaption; }
  CString GetFloatingFrameCaption() const { return m_strFloatingFrameCaption; }
  void ShowMaximizeButton(BOOL bShow) { m_bShowMaximizeButton = bShow; }
  BOOL IsMaximizeButtonShown() const { return m_bShowMaximizeButton; }
  void SetCloseGroupOnButtonClick(BOOL bGroup) { m_bCloseGroupOnButtonClick = bGroup; }
  BOOL IsCloseGroupOnButtonClick() const { return m_bCloseGroupOnButtonClick; }
  void SetHideGroupOnButtonClick(BOOL bGroup) { m_bHideGroupOnButtonClick = bGroup; }
  BOOL IsHideGroupOnButtonClick() const { return m_bHideGroupOnButtonClick; }
  // 0 never, 1 always, 2 for groups docked at the top or bottom, 3 for groups wider than tall.
  void SetCaptionDirection(int nDirection) { m_nCaptionDirection = nDirection; }
  int GetCaptionDirection() const { return m_nCaptionDirection; }
  BOOL IsAttaching() const { return m_bAttaching; }
  // Sliding windows slide back when the mouse leaves them (on by default).
  void SetCloseInactiveWindow(BOOL bClose) { m_bCloseInactiveWindow = bClose; }
  BOOL IsCloseInactiveWindow() const { return m_bCloseInactiveWindow; }
  // Pixels per step of the sliding windows; 0 or less: the steps of the animation's duration.
  double GetAnimationSpeed() const { return m_dAnimationSpeed; }
  // Records for every docked or floating pane the container it lies in, to go back to later.
  void SaveHolders();

 protected:
  afx_msg LRESULT OnSizeParent(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnIdleUpdateCmdUI(WPARAM wParam, LPARAM lParam);
  afx_msg void OnSysColorChange();
  afx_msg void OnSettingChange(UINT uFlags, LPCTSTR lpszSection);
  DECLARE_MESSAGE_MAP()

 private:
  // The pane or container, out of where it is now, ready to be placed elsewhere.
  CTKPDockingPaneBase* Detach(CTKPDockingPaneBase* pPane);
  // What docking the object moves: a splitter's one group, else the object.
  static CTKPDockingPaneBase* Moving(CTKPDockingPaneBase* pPane);
  // Whether docking or floating may move the object: a pane, a group or a splitter, but neither the
  // arrangement's top nor anything holding the frame's client area.
  BOOL CanMove(const CTKPDockingPaneBase* pPane) const;
  // A plain pane leaves its container; a container that lies somewhere leaves its panes to a clone.
  CTKPDockingPaneBase* TakeOut(CTKPDockingPaneBase* pPane);
  void DelayLayout() const;
  // One pane towards its holder; FALSE when the site refused or the pane may not move.
  BOOL ToggleOne(CTKPDockingPane* pPane, CTKPDockingPaneBase* pHolder);

  int m_nSplitterGap = 22;
  BOOL m_bCloseGroupOnButtonClick = FALSE;
  BOOL m_bHideGroupOnButtonClick = TRUE;
  CFrameWnd* m_pSite = nullptr;
  CTKPDockingPaneLayout* m_pLayout = nullptr;
  CTKPDockingPanePaintManager* m_pPaintManager = nullptr;
  CTKPDockingPane* m_pActivePane = nullptr;
  CTKPImageManager* m_pImageManager = nullptr;
  BOOL m_bHideClient = FALSE;
  BOOL m_bUseSplitterTracker = TRUE;
  BOOL m_bLockSplitters = FALSE;
  DWORD m_dwDefaultPaneOptions = 0;
  int m_nGuideStyle = 0;
  BOOL m_bAttaching = FALSE;
  BOOL m_bLaidOut = FALSE;
  BOOL m_bOleInitialized = FALSE;
  CTKPDockingPaneDragContext* m_pDragContext = nullptr;
  CTKPToolTipContext* m_pToolTipContext = nullptr;
  BOOL m_bAlphaDockingContext = FALSE;
  BOOL m_bShowDockingGuides = FALSE;
  BOOL m_bThemedFloatingFrames = FALSE;
  int m_nSyncActivation = 1;
  CString m_strFloatingFrameCaption;
  BOOL m_bShowMaximizeButton = FALSE;
  int m_nCaptionDirection = 0;
  BOOL m_bCloseInactiveWindow = TRUE;
  double m_dAnimationSpeed = -1.0;
};
