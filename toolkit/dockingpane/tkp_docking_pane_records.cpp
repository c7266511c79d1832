// The floating frame's and the auto-hide panel's records (their windows come later).
#include <algorithm>

#include "toolkit/dockingpane/tkp_docking_pane_auto_hide.h"
#include "toolkit/dockingpane/tkp_docking_pane_mini_wnd.h"

void CTKPDockingPaneMiniWnd::RemovePane(CTKPDockingPaneBase* pPane) {
  if (pPane != m_pTopContainer) return;
  m_pTopContainer = nullptr;
  pPane->SetParentContainer(nullptr);
}

BOOL CTKPDockingPaneMiniWnd::ContainsPane(const CTKPDockingPaneBase* pPane) const {
  return pPane == this || (m_pTopContainer != nullptr && m_pTopContainer->ContainsPane(pPane));
}

void CTKPDockingPaneMiniWnd::FindPane(int nType, std::vector<CTKPDockingPaneBase*>* pList) {
  if (m_pTopContainer != nullptr) m_pTopContainer->FindPane(nType, pList);
}

void CTKPDockingPaneMiniWnd::SaveRecord(dock::ObjectRecord* pRecord) const {
  CTKPDockingPaneBase::SaveRecord(pRecord);
  pRecord->windowRect = m_rcWindow;
  pRecord->collapsed = m_bCollapsed;
  pRecord->expandedHeight = m_nExpandedHeight;
  pRecord->topContainer = m_pTopContainer != nullptr ? m_pTopContainer->m_nIndex : 0;
}

void CTKPDockingPaneMiniWnd::LoadRecord(const dock::ObjectRecord& record,
                                        const std::vector<CTKPDockingPaneBase*>& objects) {
  CTKPDockingPaneBase::LoadRecord(record, objects);
  m_rcWindow = record.windowRect;
  m_bCollapsed = record.collapsed;
  m_nExpandedHeight = record.expandedHeight;
  m_pTopContainer = objects[static_cast<size_t>(record.topContainer) - 1];
  m_pTopContainer->SetParentContainer(this);
}

void CTKPDockingPaneAutoHidePanel::AddContainer(CTKPDockingPaneBase* pContainer) {
  m_lstContainers.push_back(pContainer);
  pContainer->SetParentContainer(this);
  if (HWND hWnd = pContainer->GetPaneHwnd()) ::ShowWindow(hWnd, SW_HIDE);
}

void CTKPDockingPaneAutoHidePanel::RemovePane(CTKPDockingPaneBase* pPane) {
  auto it = std::find(m_lstContainers.begin(), m_lstContainers.end(), pPane);
  if (it == m_lstContainers.end()) return;
  m_lstContainers.erase(it);
  pPane->SetParentContainer(nullptr);
}

BOOL CTKPDockingPaneAutoHidePanel::ContainsPane(const CTKPDockingPaneBase* pPane) const {
  return pPane == this || std::any_of(m_lstContainers.begin(), m_lstContainers.end(),
                                      [pPane](const CTKPDockingPaneBase* c) { return c->ContainsPane(pPane); });
}

void CTKPDockingPaneAutoHidePanel::FindPane(int nType, std::vector<CTKPDockingPaneBase*>* pList) {
  for (CTKPDockingPaneBase* container : m_lstContainers) {
    if (container->GetType() == nType) {
      pList->push_back(container);
    } else {
      container->FindPane(nType, pList);
    }
  }
}

void CTKPDockingPaneAutoHidePanel::SaveRecord(dock::ObjectRecord* pRecord) const {
  CTKPDockingPaneBase::SaveRecord(pRecord);
  pRecord->direction = m_nDirection;
  for (const CTKPDockingPaneBase* container : m_lstContainers) pRecord->children.push_back(container->m_nIndex);
}

void CTKPDockingPaneAutoHidePanel::LoadRecord(const dock::ObjectRecord& record,
                                              const std::vector<CTKPDockingPaneBase*>& objects) {
  CTKPDockingPaneBase::LoadRecord(record, objects);
  m_nDirection = record.direction;
  for (int index : record.children) {
    CTKPDockingPaneBase* container = objects[static_cast<size_t>(index) - 1];
    m_lstContainers.push_back(container);
    container->SetParentContainer(this);
  }
}
