// CTKPDockingPaneMiniWnd: a floating group of panes, kept as its place and its top splitter container.
// Only this record is built yet: it is loaded, saved and pruned with the layout; it has no window, so
// panes are never shown floating.
#pragma once

#include "toolkit/dockingpane/tkp_docking_pane_base.h"

class CTKPDockingPaneMiniWnd : public CTKPDockingPaneBase {
 public:
  explicit CTKPDockingPaneMiniWnd(CTKPDockingPaneLayout* pLayout) : CTKPDockingPaneBase(dock::kMiniFrame, pLayout) {}

  // The layout owns the top container; the frame only points at it.
  CTKPDockingPaneBase* GetTopPane() const { return m_pTopContainer; }
  void RemovePane(CTKPDockingPaneBase* pPane) override;
  BOOL ContainsPane(const CTKPDockingPaneBase* pPane) const override;
  void FindPane(int nType, std::vector<CTKPDockingPaneBase*>* pList) override;
  void ReleaseChildren() override { m_pTopContainer = nullptr; }
  void SaveRecord(dock::ObjectRecord* pRecord) const override;
  void LoadRecord(const dock::ObjectRecord& record, const std::vector<CTKPDockingPaneBase*>& objects) override;

 private:
  CTKPDockingPaneBase* m_pTopContainer = nullptr;
  BOOL m_bCollapsed = FALSE;
  int m_nExpandedHeight = 0;
};
