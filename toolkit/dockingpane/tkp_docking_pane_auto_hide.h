// CTKPDockingPaneAutoHidePanel: the containers auto-hidden on one side of the frame. Only this record is
// built yet: panes are moved into it and docked back out of it, it is loaded, saved and pruned with the
// layout and its panes count as hidden; it has no window, so it shows no tabs and nothing slides out.
#pragma once

#include "toolkit/dockingpane/tkp_docking_pane_base.h"

class CTKPDockingPaneAutoHidePanel : public CTKPDockingPaneBase {
 public:
  explicit CTKPDockingPaneAutoHidePanel(CTKPDockingPaneLayout* pLayout)
      : CTKPDockingPaneBase(dock::kAutoHidePanel, pLayout) {}

  int GetDirection() const { return m_nDirection; }
  void SetDirection(int nDirection) { m_nDirection = nDirection; }
  const std::vector<CTKPDockingPaneBase*>& GetContainers() const { return m_lstContainers; }
  // The container goes out of sight into the panel.
  void AddContainer(CTKPDockingPaneBase* pContainer);
  void RemovePane(CTKPDockingPaneBase* pPane) override;
  BOOL ContainsPane(const CTKPDockingPaneBase* pPane) const override;
  void FindPane(int nType, std::vector<CTKPDockingPaneBase*>* pList) override;
  BOOL IsEmpty() const override { return m_lstContainers.empty(); }
  void ReleaseChildren() override { m_lstContainers.clear(); }
  void SaveRecord(dock::ObjectRecord* pRecord) const override;
  void LoadRecord(const dock::ObjectRecord& record, const std::vector<CTKPDockingPaneBase*>& objects) override;

 private:
  int m_nDirection = 0;
  std::vector<CTKPDockingPaneBase*> m_lstContainers;
};
