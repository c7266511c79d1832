// CTKPDockingPaneSplitterContainer: children in one row (horizontal) or one column, each with a share of
// the length by the sizing rule (dock_sizing.h), a splitter window in the gap between visible
// neighbours. CTKPDockingPaneSplitterWnd: that window, which the user drags to share the length anew.
#pragma once

#include "toolkit/dockingpane/tkp_docking_pane_base.h"

class CTKPDockingPaneSplitterContainer;

class CTKPDockingPaneSplitterWnd : public CWnd {
 public:
  CTKPDockingPaneSplitterWnd() = default;
  ~CTKPDockingPaneSplitterWnd() override;

  BOOL Create(CTKPDockingPaneSplitterContainer* pContainer, CTKPDockingPaneBase* pFirst, CTKPDockingPaneBase* pSecond);
  // The bar lies horizontally (between children of a vertical container).
  BOOL IsHorizontal() const;
  CTKPDockingPaneBase* GetFirst() const { return m_pFirst; }
  CTKPDockingPaneBase* GetSecond() const { return m_pSecond; }
  // Where the bar's leading edge may go, in screen coordinates along its axis.
  BOOL GetLimits(int* pNear, int* pFar) const;

 protected:
  afx_msg void OnPaint();
  afx_msg BOOL OnEraseBkgnd(CDC*) { return TRUE; }
  afx_msg BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message);
  afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
  DECLARE_MESSAGE_MAP()

 private:
  // The drop of the bar with its leading edge at this screen position.
  void ApplyPosition(int position);
  void TrackLive(CPoint point, int nearBound, int farBound);
  void PrepareSizes();

  CTKPDockingPaneSplitterContainer* m_pContainer = nullptr;
  CTKPDockingPaneBase* m_pFirst = nullptr;
  CTKPDockingPaneBase* m_pSecond = nullptr;
  HCURSOR m_hCursor = nullptr;
};

class CTKPDockingPaneSplitterContainer : public CTKPDockingPaneBase {
 public:
  explicit CTKPDockingPaneSplitterContainer(CTKPDockingPaneLayout* pLayout);
  ~CTKPDockingPaneSplitterContainer() override;

  void Init(CTKPDockingPaneBase* pPane, BOOL bHorizontal, CWnd* pSite);
  // Inserts pPane after (bAfter) or before pNeighbour; at the end or the start without a neighbour.
  void AddPane(CTKPDockingPaneBase* pPane, CTKPDockingPaneBase* pNeighbour = nullptr, BOOL bAfter = TRUE);
  void ReplacePane(CTKPDockingPaneBase* pOld, CTKPDockingPaneBase* pNew);
  BOOL IsHorizontal() const { return m_bHoriz; }
  const std::vector<CTKPDockingPaneBase*>& GetChildren() const { return m_lstChildren; }
  const std::vector<CTKPDockingPaneSplitterWnd*>& GetSplitters() const { return m_lstSpliters; }
  virtual CTKPDockingPaneSplitterWnd* CreateSplitterWnd() { return new CTKPDockingPaneSplitterWnd(); }
  // The screen rectangle pPane would get inserted beside pNeighbour (after it for sides 1 and 3), the
  // visible children sized by the sizing rule; nothing is stored.
  CRect CalcDockingRect(CTKPDockingPaneBase* pPane, int nSide, CTKPDockingPaneBase* pNeighbour) const;
  // The share pPane gets of rect (the docking site's client coordinates) among the row, sized by the rule.
  static CRect CalcShare(const std::vector<CTKPDockingPaneBase*>& row, const CTKPDockingPaneBase* pPane,
                         BOOL bHorizontal, CRect rect);
  int GetSplitterSize() const;

  BOOL ContainsPane(const CTKPDockingPaneBase* pPane) const override;
  void FindPane(int nType, std::vector<CTKPDockingPaneBase*>* pList) override;
  void GetMinMaxInfo(MINMAXINFO* pMinMaxInfo) const override;
  void OnSizeParent(CWnd* pParent, CRect rect, AFX_SIZEPARENTPARAMS* lpLayout) override;
  void OnChildContainerChanged(CTKPDockingPaneBase* pContainer) override;
  void OnParentContainerChanged(CTKPDockingPaneBase* pContainer) override;
  void RemovePane(CTKPDockingPaneBase* pPane) override;
  BOOL IsEmpty() const override;
  void ReleaseChildren() override;
  // The same row or column of clones of the children (without a map, of those that are not empty).
  CTKPDockingPaneBase* Clone(CTKPDockingPaneLayout* pLayout, CMapPtrToPtr* pMap, DWORD dwSkipOptions = 0) override;
  void SaveRecord(dock::ObjectRecord* pRecord) const override;
  void LoadRecord(const dock::ObjectRecord& record, const std::vector<CTKPDockingPaneBase*>& objects) override;

 private:
  friend class CTKPDockingPaneSplitterWnd;
  void RebuildSplitters();
  void DeleteSplitters();
  bool SplittersMatch(const std::vector<CTKPDockingPaneBase*>& visible) const;
  std::vector<CTKPDockingPaneBase*> VisibleChildren() const;
  void DelayLayout() const;

  std::vector<CTKPDockingPaneBase*> m_lstChildren;
  std::vector<CTKPDockingPaneSplitterWnd*> m_lstSpliters;
  BOOL m_bHoriz = FALSE;
  BOOL m_bRecalcLayout = FALSE;
};
