// CTKPTaskPanel: a child window with a vertical stack of collapsible groups of links, texts and controls.
// It lays the groups out, animates expanding and collapsing, scrolls, hot-tracks and focuses items, and
// tells its owner what happens through TKPWM_TASKPANEL_NOTIFY. Windows build only.
#pragma once

#include <windows.h>

#include <memory>

#include "platform/classlib/win/cwnd.h"
#include "toolkit/common/tkp_accessible.h"
#include "toolkit/taskpanel/tkp_task_panel_item.h"
#include "toolkit/taskpanel/tp_navigation.h"

class CTKPImageManager;
class CTKPTaskPanelPaintManager;
class CTKPToolTipContext;
class CTKPTaskPanelDropTarget;
class CTKPTaskPanelEditItem;

// Sent to the owner: wParam the code below, lParam as the code says.
constexpr UINT TKPWM_TASKPANEL_NOTIFY = 0x27EC;
enum : WPARAM {
  NotifyItemClick = 1,
  NotifyItemRightClick = 2,
  NotifyStartDrag = 3,
  NotifyEndLabelEdit = 4,
  NotifyItemDrop = 5,
  NotifyGroupExpanding = 6,
  NotifyGroupExpanded = 7,
  NotifyItemDoubleClick = 8,
  NotifyFocusChanged = 9,
};
// lParam of NotifyGroupExpanding.
struct TKPTASKPANELGROUPEXPANDING {
  CTKPTaskPanelGroup* pGroup;
  BOOL bExpanding;
};

// Timer ids of the panel.
constexpr UINT_PTR kTaskPanelAnimationTimer = 200;
constexpr UINT_PTR kTaskPanelScrollTimer = 202;
constexpr UINT_PTR kTaskPanelHoverExpandTimer = 203;  // opens a closed group held under a drag

// One of the two buttons that scroll the items of the open group in toolbox and list behaviour.
struct CTKPTaskPanelScrollButton {
  explicit CTKPTaskPanelScrollButton(BOOL bUp) : bScrollUp(bUp) {}
  BOOL IsVisible() const { return !rcButton.IsRectEmpty() && pGroupScroll && (bEnabled || bInCaption); }

  BOOL bScrollUp;
  BOOL bEnabled = FALSE;
  BOOL bPressed = FALSE;
  BOOL bHot = FALSE;
  BOOL bInCaption = FALSE;                      // drawn even when disabled
  CRect rcButton;                               // content coordinates; empty = hidden
  CTKPTaskPanelGroup* pGroupScroll = nullptr;   // the group whose items it scrolls
  CTKPTaskPanelGroup* pGroupCaption = nullptr;  // the group it is drawn on
};

// Starts and stops the panel's timers; a test gives its own and delivers the ticks itself.
class CTKPTaskPanelTimers {
 public:
  virtual ~CTKPTaskPanelTimers() = default;
  virtual void Start(HWND hWnd, UINT_PTR nID, UINT nElapse) { ::SetTimer(hWnd, nID, nElapse, nullptr); }
  virtual void Stop(HWND hWnd, UINT_PTR nID) { ::KillTimer(hWnd, nID); }
};

class CTKPTaskPanel : public CWnd, public CTKPAccessible {
  DECLARE_DYNCREATE(CTKPTaskPanel)

 public:
  // Behaviours: every group opens by itself (explorer), or one open group at a time.
  enum Behaviour { kExplorer = 0, kToolbox = 1, kList = 2 };

  CTKPTaskPanel();
  ~CTKPTaskPanel() override;

  BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);

  // Groups.
  CTKPTaskPanelItems* GetGroups() const { return m_pGroups; }
  CTKPTaskPanelGroup* AddGroup(UINT nID, int nIconIndex = -1);
  int GetGroupCount() const;
  CTKPTaskPanelGroup* GetAt(int nIndex) const;
  CTKPTaskPanelGroup* GetNextVisibleGroup(int nIndex, int nDirection = 1) const;

  // Look and behaviour.
  void SetTheme(int nTheme);
  int GetCurrentTheme() const { return m_nTheme; }
  CTKPTaskPanelPaintManager* GetPaintManager() const { return m_pPaintManager; }
  CTKPImageManager* GetImageManager() const;
  void SetAnimation(int nMode);
  BOOL IsAnimating() const { return m_bAnimate; }
  void SetTimers(CTKPTaskPanelTimers* pTimers) { m_pTimers = pTimers ? pTimers : &m_defaultTimers; }
  void SetLockRedraw(BOOL bLock);
  BOOL IsLocked() const { return m_nLockRedraw > 0; }
  void SetMargins(const CRect& rc) { m_rcMargins = rc; }
  CRect GetMargins() const { return m_rcMargins; }
  void SetGroupSpacing(int n) { m_nGroupSpacing = n; }
  int GetGroupSpacing() const { return m_nGroupSpacing; }
  void SetGroupsExpandable(BOOL b) { m_bGroupsExpandable = b; }
  BOOL IsGroupsExpandable() const { return m_bGroupsExpandable; }
  void SetSelectItemOnFocus(BOOL b) { m_bSelectItemOnFocus = b; }
  void SetSingleSelection(BOOL b) { m_bSingleSelection = b; }
  BOOL IsSingleSelection() const { return m_bSingleSelection; }
  void SetMultiColumn(BOOL b) { m_bMultiColumn = b; }
  BOOL IsMultiColumn() const { return m_bMultiColumn; }
  void SetColumnWidth(int n) { m_nColumnWidth = n; }
  int GetColumnWidth() const { return m_nColumnWidth; }
  CSize GetItemIconSize() const { return m_szItemIcon; }
  void SetIconSize(CSize sz) { m_szItemIcon = sz; }
  CSize GetGroupIconSize() const { return m_szGroupIcon; }
  int GetItemLayout() const;
  void SetItemLayout(int n) { m_nItemLayout = n; }
  // Hot-tracking: 1 the link's text, 2 and 3 a frame round the item (0 takes the behaviour's).
  enum { kHotTrackText = 1, kHotTrackFrame = 2, kHotTrackHighlight = 3 };
  int GetHotTrackStyle() const { return m_nHotTrackStyle != 0 ? m_nHotTrackStyle : m_nBehaviour + 1; }
  void SetHotTrackStyle(int n) { m_nHotTrackStyle = n; }
  int GetBehaviour() const { return m_nBehaviour; }
  void SetBehaviour(int nBehaviour);
  CTKPTaskPanelGroup* GetActiveGroup() const { return static_cast<CTKPTaskPanelGroup*>(m_pActiveGroup); }
  const CTKPTaskPanelScrollButton& GetScrollButton(BOOL bUp) const { return bUp ? m_scrollUp : m_scrollDown; }
  // The left edge of a scroll button drawn in this group's caption; INT_MAX when none is.
  int GetCaptionButtonLeft(const CTKPTaskPanelGroup* pGroup) const;
  // The element's number among the panel's accessible children (groups, each followed by its items,
  // from 1); 0 when it is not in the panel.
  long GetAccessibleChildId(const CTKPTaskPanelItem* pItem) const;
  BOOL IsExplorerBehaviour() const { return m_nBehaviour == kExplorer; }

  // Layout and state.
  void Reposition(BOOL bAnimate);
  int GetClientHeight() const { return m_nClientHeight; }
  int GetScrollOffset() const;
  void EnsureVisible(CTKPTaskPanelItem* pItem);
  // The group under the point, whether on its caption (*pbOnCaption TRUE) or in its body; null elsewhere
  // and on a scroll button.
  CTKPTaskPanelGroup* HitTest(CPoint pt, BOOL* pbOnCaption) const;
  // The element under the point: a group on its caption, else the group's item there.
  CTKPTaskPanelItem* HitTest(CPoint pt) const;
  void SetFocusedItem(CTKPTaskPanelItem* pItem, BOOL bByKeyboard = FALSE);
  // After a load of the panel's groups: the item loaded as selected of a single-selection panel becomes
  // the focused item, the keyboard focus staying where it is.
  void FocusLoadedSelection();
  CTKPTaskPanelItem* GetFocusedItem() const { return m_pItemFocused; }
  void SetHotItem(CTKPTaskPanelItem* pItem);
  CTKPTaskPanelItem* GetHotItem() const { return m_pItemHot; }
  CTKPTaskPanelItem* GetPressedItem() const { return m_pItemPressed; }
  CTKPTaskPanelItem* GetDraggedItem() const { return m_pItemDragging; }
  CTKPTaskPanelItem* GetDropTarget() const { return m_pItemDragOver; }
  BOOL IsDrawFocusRect() const;
  BOOL IsGroupExpanded(const CTKPTaskPanelGroup* pGroup) const;
  CTKPTaskPanelItem* GetNextItem(CTKPTaskPanelItem* pItem, int nDirection, BOOL bTab, BOOL bVertical) const;

  // The clipboard: an element in the "TaskPanelGroupItem" form (and as text when it may leave the
  // panel); a new element read back, or null when the clipboard holds none of ours.
  BOOL CopyToClipboard(CTKPTaskPanelItem* pItem);
  CTKPTaskPanelItem* PasteFromClipboard();
  static UINT GetClipboardFormat();

  // Dragging: the panel's drag flags (1: all of 0xCC) and whether it takes drops.
  void SetAllowDrag(int nFlags) { m_nAllowDrag = nFlags; }
  int GetAllowDrag() const { return m_nAllowDrag; }
  void SetAllowDrop(BOOL bAllow) { m_bAllowDrop = bAllow; }
  BOOL IsAllowDrop() const { return m_bAllowDrop; }
  BOOL IsHoverExpandTimerRunning() const { return m_bHoverExpandTimer; }
  // Renaming in place: an edit over the element's caption; ending it calls OnEndLabelEdit.
  void RenameItem(CTKPTaskPanelItem* pItem);
  // The rename edit, while one is open; null otherwise.
  CTKPTaskPanelEditItem* GetRenameEdit() const;

  // Accessibility: the panel and, numbered from 1, each group followed by its items.
  CCmdTarget* GetOwnerCmdTarget() override { return this; }
  LPUNKNOWN GetInterface(REFIID riid) override { return GetAccessibleInterface(riid); }
  HRESULT AccGetChildCount(long* pcountChildren) override;
  HRESULT AccGetChild(VARIANT varChild, IDispatch** ppdispChild) override;
  HRESULT AccGetName(VARIANT varChild, BSTR* pszName) override;
  HRESULT AccGetRole(VARIANT varChild, VARIANT* pvarRole) override;
  HRESULT AccGetState(VARIANT varChild, VARIANT* pvarState) override;
  HRESULT AccLocation(long* pxLeft, long* pyTop, long* pcxWidth, long* pcyHeight, VARIANT varChild) override;
  HRESULT AccHitTest(long xLeft, long yTop, VARIANT* pvarChild) override;

  CTKPToolTipContext* GetToolTipContext() const { return m_pToolTipContext; }
  // The hot item with a tooltip text is the tool: its id, its hit-test rectangle, its tooltip and caption.
  INT_PTR OnToolHitTest(CPoint point, TOOLINFO* pTI) const override;
  BOOL IsItemDragging(const CTKPTaskPanelItem* pItem) const { return pItem && pItem == m_pItemDragging; }
  BOOL IsItemDragOver(const CTKPTaskPanelItem* pItem) const { return pItem && pItem == m_pItemDragOver; }

  // Overridables.
  virtual void OnClick(CTKPTaskPanelGroupItem* pItem);
  virtual void ExpandGroup(CTKPTaskPanelGroup* pGroup, BOOL bExpand);
  virtual void OnDraw(CDC* pDC);
  virtual LRESULT NotifyOwner(WPARAM wParam, LPARAM lParam);
  virtual void OnItemRemoved(CTKPTaskPanelItem* pItem);
  virtual void UpdateScrollBar();
  // An element dragged out of its place: OLE drag and drop for items, a reordering loop for groups.
  virtual void OnStartItemDrag(CTKPTaskPanelItem* pItem);
  virtual void OnStartGroupDrag(CTKPTaskPanelGroup* pGroup);
  // A rename ended with a new text: the owner may keep the old caption.
  virtual void OnEndLabelEdit(CTKPTaskPanelItem* pItem, LPCTSTR lpszText);
  // A drag over the panel (and its leaving, with no data and the point (-1, -1)): the drop effect.
  virtual DWORD OnDragOver(IDataObject* pDataObject, DWORD dwKeyState, CPoint point);
  virtual BOOL OnDrop(IDataObject* pDataObject, DWORD dropEffect, CPoint point);
  // A group's items scrolled: the animation snaps and the scroll buttons follow.
  void OnGroupScrolled();

 protected:
  BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;
  afx_msg BOOL OnEraseBkgnd(CDC* pDC);
  afx_msg void OnPaint();
  afx_msg void OnSize(UINT nType, int cx, int cy);
  afx_msg void OnVScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar);
  afx_msg void OnMouseMove(UINT nFlags, CPoint point);
  afx_msg BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message);
  afx_msg void OnLButtonUp(UINT nFlags, CPoint point);
  afx_msg void OnTimer(UINT_PTR nIDEvent);
  afx_msg void OnSysColorChange();
  afx_msg void OnSettingChange(UINT uFlags, LPCTSTR lpszSection);
  afx_msg void OnRButtonDown(UINT nFlags, CPoint point);
  afx_msg void OnSetFocus(CWnd* pOldWnd);
  afx_msg void OnKillFocus(CWnd* pNewWnd);
  afx_msg void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
  afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
  afx_msg void OnLButtonDblClk(UINT nFlags, CPoint point);
  afx_msg BOOL OnMouseWheel(UINT nFlags, short zDelta, CPoint pt);
  afx_msg UINT OnGetDlgCode();
  afx_msg void OnCaptureChanged(CWnd* pWnd);
  afx_msg void OnMouseLeave();
  afx_msg LRESULT OnPrint(WPARAM wParam, LPARAM lParam);
  afx_msg void OnDestroy();
  DECLARE_MESSAGE_MAP()

 private:
  // The elements as the keyboard sees them, and an element's place among them.
  std::vector<taskpanel::NavGroup> NavigationPicture() const;
  taskpanel::NavPos NavigationPosition(const CTKPTaskPanelItem* pItem) const;
  CTKPTaskPanelItem* ElementAt(taskpanel::NavPos pos) const;
  void AnimateGroups(int nStep);
  void RepositionScrollButtons();
  CTKPTaskPanelGroupItem* ItemToShow(CTKPTaskPanelGroup* pActive) const;
  CTKPTaskPanelScrollButton* ScrollButtonAt(CPoint pt);
  void PressScrollButton(CPoint point);
  void FocusPanel();
  // The focused element changes (the keyboard focus is not moved).
  void MoveFocusedItem(CTKPTaskPanelItem* pItem);
  void RunScrollButtonLoop(CTKPTaskPanelScrollButton& button);
  BOOL SwitchActiveGroup(int nDirection);
  void StartAnimationTimer();
  void StopAnimationTimer();
  void SetScrollPosition(int nPos);
  void ScrollRectIntoView(const CRect& rc);
  void ReleaseReference(CTKPTaskPanelItem*& pItem);
  void KeepReference(CTKPTaskPanelItem*& pField, CTKPTaskPanelItem* pItem);
  void OnPress(CPoint point);
  void ActivateItem(CTKPTaskPanelItem* pItem);
  void TabOutOfPanel(BOOL bPrevious);
  // The place a drag over the point would drop on; null for none.
  CTKPTaskPanelItem* DropPlaceAt(CPoint point) const;
  void SetDropTarget(CTKPTaskPanelItem* pTarget);
  void StopHoverExpand();
  void DrawDropMarker(CDC* pDC);
  CTKPTaskPanelItem* AccessibleChild(const VARIANT& varChild, bool* pbSelf) const;

  CTKPTaskPanelItems* m_pGroups;
  CTKPTaskPanelPaintManager* m_pPaintManager = nullptr;
  int m_nTheme = 2;
  int m_nLockRedraw = 0;
  int m_nClientHeight = 0;
  int m_nOldClientHeight = 0;
  CRect m_rcMargins = taskpanel::DefaultMargins();
  int m_nGroupSpacing = taskpanel::kDefaultSide;
  BOOL m_bScrollVisible = FALSE;
  CTKPTaskPanelItem* m_pItemHot = nullptr;      // counted
  CTKPTaskPanelItem* m_pItemFocused = nullptr;  // counted
  CTKPTaskPanelItem* m_pItemPressed = nullptr;
  CTKPTaskPanelItem* m_pItemDragging = nullptr;
  CTKPTaskPanelItem* m_pItemDragOver = nullptr;
  BOOL m_bAnimate = TRUE;
  int m_nAnimationMode = 0;
  HCURSOR m_hHandCursor = nullptr;
  UINT_PTR m_nAnimateTimer = 0;
  int m_nAnimationStep = 10;
  CTKPImageManager* m_pImageManager;
  CTKPToolTipContext* m_pToolTipContext;
  BOOL m_bGroupsExpandable = TRUE;
  BOOL m_bAcceptFocus = TRUE;
  BOOL m_bSettingFocus = FALSE;
  BOOL m_bDrawFocusRect = FALSE;
  CSize m_szItemIcon{16, 16};
  CSize m_szGroupIcon{32, 32};
  BOOL m_bSelectItemOnFocus = FALSE;
  CPoint m_ptPressed;
  int m_nAllowDrag = 0;
  BOOL m_bAllowDrop = TRUE;
  int m_nItemLayout = 0;
  BOOL m_bMultiColumn = FALSE;
  int m_nColumnWidth = 100;
  int m_nHotTrackStyle = 0;
  int m_nBehaviour = kExplorer;
  BOOL m_bSingleSelection = FALSE;
  BOOL m_bUpdatingScrollBar = FALSE;
  BOOL m_bTrackingLeave = FALSE;
  CTKPTaskPanelItem* m_pActiveGroup = nullptr;  // counted
  CTKPTaskPanelScrollButton m_scrollUp{TRUE};
  CTKPTaskPanelScrollButton m_scrollDown{FALSE};
  CTKPTaskPanelTimers m_defaultTimers;
  CTKPTaskPanelTimers* m_pTimers = &m_defaultTimers;
  std::unique_ptr<CTKPTaskPanelDropTarget> m_pDropTarget;
  BOOL m_bHoverExpandTimer = FALSE;
  BOOL m_bOleInitialized = FALSE;
  std::unique_ptr<CTKPTaskPanelEditItem> m_pRenameEdit;

  friend class CTKPTaskPanelItem;
  friend class CTKPTaskPanelGroup;
};
