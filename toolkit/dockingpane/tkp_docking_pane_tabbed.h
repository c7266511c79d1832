// CTKPDockingPaneTabbedContainer: the window that holds panes on top of each other, shows the selected
// one under a caption with buttons (close, maximize and restore, auto-hide, menu) and a tab per pane
// (its own tab manager). Most of the user's actions start here: activating, dragging a pane by its tab or
// the whole group by the caption, reordering tabs, double-clicking to float or dock, closing, hiding.
#pragma once

#include <memory>

#include "toolkit/dockingpane/tkp_docking_pane_base.h"
#include "toolkit/dockingpane/tkp_docking_pane_drop_target.h"
#include "toolkit/tabmanager/tkp_tab_manager.h"

class CTKPDockingPane;
class CTKPTabPaintManager;

// The icon of the pane of a tab (the item's data) by the tab's state; the tab strips' draw-icon answer.
BOOL TKPDrawPaneTabIcon(CTKPTabPaintManager* pPaint, CDC* pDC, CPoint pt, CTKPTabManagerItem* pItem, BOOL bDraw,
                        CSize& szIcon);

// Caption button ids.
enum : UINT {
  TKP_IDC_DOCKING_AUTOHIDE = 9900,
  TKP_IDC_DOCKING_CLOSE = 9901,
  TKP_IDC_DOCKING_MAXIMIZE = 9907,
  TKP_IDC_DOCKING_RESTORE = 9908,
  TKP_IDC_DOCKING_MENU = 9909,
};

// What the site receives with TKP_DPN_CONTEXTMENU: the pane, where a menu would open, the button's
// rectangle (screen coordinates; empty from a floating frame's caption).
struct TKP_DOCKINGPANE_MENU {
  CTKPDockingPaneBase* pane;
  POINT pt;
  RECT rcExclude;
};

class CTKPDockingPaneTabbedContainer : public CWnd, public CTKPDockingPaneBase, public CTKPTabManager {
 public:
  explicit CTKPDockingPaneTabbedContainer(CTKPDockingPaneLayout* pLayout);
  ~CTKPDockingPaneTabbedContainer() override;

  void Init(CTKPDockingPane* pPane, CWnd* pSite);
  // Appends the pane and selects it; with bSelect it also takes the focus.
  void AddPane(CTKPDockingPane* pPane, BOOL bSelect = FALSE);
  virtual void SelectPane(CTKPDockingPane* pPane, BOOL bSetFocus = TRUE, BOOL bDelayRecalc = TRUE);
  virtual BOOL IsCaptionVertical() const;
  virtual BOOL IsTabsVisible() const;
  // A press on the caption: activates the group and, while the button is down, drags it.
  virtual void OnCaptionLButtonDown(CPoint ptScreen);
  // Whether the screen point lies in the caption or the tab strip (a dragged pane joins the group
  // there); rc (screen coordinates) is narrowed to what remains.
  virtual BOOL IsCaptionOrTabsHit(CRect& rc, CPoint pt);
  virtual void OnCaptionButtonClick(CTKPDockingPaneCaptionButton* pButton);
  virtual void UpdateTabs();
  // Takes pFrom's sizes and place, inactive and with its caption shown, in the manager's site frame. With
  // a map, clones of pFrom's panes are added (the map records them); without one, pFrom's panes whose
  // options have none of the skip bits move here. In both cases in their order, the one standing for
  // pFrom's selected pane selected.
  virtual void Copy(CTKPDockingPaneTabbedContainer* pFrom, CMapPtrToPtr* pMap, DWORD dwSkipOptions);
  void Activate();
  CTKPDockingPane* GetPaneByTab(int nIndex) const;
  void SwapPanes(CTKPDockingPane* pFirst, CTKPDockingPane* pSecond);
  BOOL IsCaptionVisible() const;
  void SetCaptionVisible(BOOL bVisible);
  CString GetTitle() const;
  void Maximize();
  void Restore();
  BOOL IsMaximized() const { return m_bMaximized; }
  CTKPDockingPane* GetSelected() const { return m_pSelectedPane; }
  const std::vector<CTKPDockingPane*>& GetPanes() const { return m_lstPanes; }
  const std::vector<CTKPDockingPaneCaptionButton*>& GetCaptionButtons() const { return m_arrCaptionButtons; }
  BOOL IsActive() const { return m_bActive; }
  // -2 on the caption, the index of the tab under the client point, else -1.
  int HitTestCaption(CPoint pt);
  // The docking paint manager (the tab manager's own paint manager is the tab paint manager).
  CTKPDockingPanePaintManager* GetDockingPaintManager() const { return CTKPDockingPaneBase::GetPaintManager(); }
  CTKPDockingPaneDropTarget* GetDropTarget() const { return m_pDropTarget.get(); }

  BOOL ContainsPane(const CTKPDockingPaneBase* pPane) const override;
  void FindPane(int nType, std::vector<CTKPDockingPaneBase*>* pList) override;
  void GetMinMaxInfo(MINMAXINFO* pMinMaxInfo) const override;
  void OnSizeParent(CWnd* pParent, CRect rect, AFX_SIZEPARENTPARAMS* lpLayout) override;
  void OnIdleUpdate() override;
  void SetDockingSite(CWnd* pSite) override;
  void OnPaneChanged(BOOL bRelayout) override;
  void OnParentContainerChanged(CTKPDockingPaneBase* pContainer) override;
  void RemovePane(CTKPDockingPaneBase* pPane) override;
  BOOL IsEmpty() const override { return m_lstPanes.empty(); }
  BOOL IsCaptionButtonVisible(CTKPDockingPaneCaptionButton* pButton) override;
  HWND GetPaneHwnd() const override { return m_hWnd; }
  BOOL IsHidden() const override;
  void ReleaseChildren() override;
  CTKPDockingPaneBase* Clone(CTKPDockingPaneLayout* pLayout, CMapPtrToPtr* pMap, DWORD dwSkipOptions = 0) override;
  void SaveRecord(dock::ObjectRecord* pRecord) const override;
  void LoadRecord(const dock::ObjectRecord& record, const std::vector<CTKPDockingPaneBase*>& objects) override;

  // The tab manager's callbacks.
  void Reposition() override;
  CTKPTabPaintManager* GetPaintManager() const override;
  void RedrawControl() override;
  BOOL DrawIcon(CDC* pDC, CPoint pt, CTKPTabManagerItem* pItem, BOOL bDraw, CSize& szIcon) override;
  // A caption button's tip is the string of its id; a tab's, the pane's title.
  INT_PTR OnToolHitTest(CPoint point, TOOLINFO* pTI) const override;

 protected:
  BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;
  afx_msg void OnPaint();
  afx_msg BOOL OnEraseBkgnd(CDC*) { return TRUE; }
  afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
  afx_msg void OnRButtonDown(UINT nFlags, CPoint point);
  afx_msg void OnMouseMove(UINT nFlags, CPoint point);
  afx_msg void OnLButtonUp(UINT nFlags, CPoint point);
  afx_msg void OnCaptureChanged(CWnd* pWnd);
  afx_msg void OnLButtonDblClk(UINT nFlags, CPoint point);
  afx_msg LRESULT OnMouseLeave(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnHelpHitTest(WPARAM wParam, LPARAM lParam);
  DECLARE_MESSAGE_MAP()

 private:
  // The window, once the layout is live and the container has a site to live in.
  BOOL EnsureWindow();
  CRect ClientArea();
  CTKPDockingPaneCaptionButton* ButtonAt(CPoint pt) const;
  void NotifySite(WPARAM wParam, LPARAM lParam) const;
  void EndTabDrag();
  // The drag's places, by pane (the tabs are made again at every change); the dragged pane's tab index.
  int TrackDragPlaces();

  std::vector<CTKPDockingPane*> m_lstPanes;
  CTKPDockingPane* m_pSelectedPane = nullptr;
  CTKPDockingPane* m_pDragPane = nullptr;
  // Where the tabs stood when the drag of m_pDragPane began (again after panes came or went meanwhile).
  tktab::ReorderPlaces m_dragPlaces;
  BOOL m_bMaximized = FALSE;
  BOOL m_bActive = FALSE;
  BOOL m_bCaptionVisible = TRUE;
  int m_nUpdating = 0;
  BOOL m_bInPaneChanged = FALSE;
  std::unique_ptr<CTKPDockingPaneDropTarget> m_pDropTarget;
};
