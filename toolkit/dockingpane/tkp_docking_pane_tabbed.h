// CTKPDockingPaneTabbedContainer: the window that holds panes on top of each other, shows the selected
// one under a caption, and a tab per pane when it holds more than one. This is the container's core
// (panes, selection, layout, caption and tabs drawn, focus tracking); its caption buttons, tab dragging
// and maximizing come with the tab manager.
#pragma once

#include "toolkit/dockingpane/tkp_docking_pane_base.h"

class CTKPDockingPane;

class CTKPDockingPaneTabbedContainer : public CWnd, public CTKPDockingPaneBase {
 public:
  explicit CTKPDockingPaneTabbedContainer(CTKPDockingPaneLayout* pLayout);
  ~CTKPDockingPaneTabbedContainer() override;

  struct TabItem {
    CTKPDockingPane* pane;
    CRect rect;  // in the container's client coordinates
  };

  void Init(CTKPDockingPane* pPane, CWnd* pSite);
  // Adds the pane at the end of the tabs (or before pBefore) and selects it.
  void AddPane(CTKPDockingPane* pPane, CTKPDockingPane* pBefore = nullptr);
  virtual void SelectPane(CTKPDockingPane* pPane, BOOL bSetFocus = TRUE, BOOL bDelayRecalc = TRUE);
  virtual BOOL IsTabsVisible() const;
  // The panes of pFrom whose options lack every bit of dwSkipOptions move here, in their order; the
  // selected one stays selected.
  void MovePanesFrom(CTKPDockingPaneTabbedContainer* pFrom, DWORD dwSkipOptions);
  CTKPDockingPane* GetSelected() const { return m_pSelectedPane; }
  const std::vector<CTKPDockingPane*>& GetPanes() const { return m_lstPanes; }
  const std::vector<TabItem>& GetTabs() const { return m_arrTabs; }
  BOOL IsActive() const { return m_bActive; }

  BOOL ContainsPane(const CTKPDockingPaneBase* pPane) const override;
  void FindPane(int nType, std::vector<CTKPDockingPaneBase*>* pList) override;
  void GetMinMaxInfo(MINMAXINFO* pMinMaxInfo) const override;
  void OnSizeParent(CWnd* pParent, CRect rect, AFX_SIZEPARENTPARAMS* lpLayout) override;
  void OnIdleUpdate() override;
  void OnPaneChanged(BOOL bRelayout) override;
  void OnParentContainerChanged(CTKPDockingPaneBase* pContainer) override;
  void RemovePane(CTKPDockingPaneBase* pPane) override;
  BOOL IsEmpty() const override { return m_lstPanes.empty(); }
  HWND GetPaneHwnd() const override { return m_hWnd; }
  BOOL IsHidden() const override;
  void ReleaseChildren() override;
  void SaveRecord(dock::ObjectRecord* pRecord) const override;
  void LoadRecord(const dock::ObjectRecord& record, const std::vector<CTKPDockingPaneBase*>& objects) override;

 protected:
  afx_msg void OnPaint();
  afx_msg BOOL OnEraseBkgnd(CDC*) { return TRUE; }
  afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
  afx_msg void OnRButtonDown(UINT nFlags, CPoint point);
  DECLARE_MESSAGE_MAP()

 private:
  // The window, once the layout is live and the container has a site to live in.
  BOOL EnsureWindow();
  void LayoutTabs(const CRect& rcTabs);
  CRect CaptionRect() const;
  CRect TabsRect() const;

  std::vector<CTKPDockingPane*> m_lstPanes;
  std::vector<TabItem> m_arrTabs;
  CTKPDockingPane* m_pSelectedPane = nullptr;
  BOOL m_bActive = FALSE;
  BOOL m_bCaptionVisible = TRUE;
};
