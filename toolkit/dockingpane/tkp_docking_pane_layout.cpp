#include "toolkit/dockingpane/tkp_docking_pane_layout.h"

#include <algorithm>
#include <iterator>
#include <map>

#include "toolkit/dockingpane/tkp_docking_pane.h"
#include "toolkit/dockingpane/tkp_docking_pane_auto_hide.h"
#include "toolkit/dockingpane/tkp_docking_pane_manager.h"
#include "toolkit/dockingpane/tkp_docking_pane_mini_wnd.h"
#include "toolkit/dockingpane/tkp_docking_pane_splitter.h"
#include "toolkit/dockingpane/tkp_docking_pane_tabbed.h"

namespace {

bool Holds(const std::vector<CTKPDockingPaneBase*>& list, const CTKPDockingPaneBase* object) {
  return std::find(list.begin(), list.end(), object) != list.end();
}

}  // namespace

CTKPDockingPaneLayout::CTKPDockingPaneLayout(CTKPDockingPaneManager* pManager) : m_pManager(pManager) {
  m_pClient = pManager->CreatePaneObject(dock::kClientContainer, this);
  m_pTopContainer = pManager->CreatePaneObject(dock::kSplitterContainer, this);
  if (m_pClient != nullptr && m_pTopContainer != nullptr) {
    static_cast<CTKPDockingPaneSplitterContainer*>(m_pTopContainer)->Init(m_pClient, TRUE, pManager->GetSite());
  }
}

CTKPDockingPaneLayout::~CTKPDockingPaneLayout() { Clear(); }

void CTKPDockingPaneLayout::DeleteObject(CTKPDockingPaneBase* pObject) {
  RemoveObject(pObject);
  if (pObject->GetType() == dock::kPane) {
    // A pane lives by reference count: whoever still holds it keeps a pane that no layout knows.
    auto* pane = static_cast<CTKPDockingPane*>(pObject);
    RemovePaneRecord(pane);
    pane->DetachLayout();
    pane->InternalRelease();
  } else {
    pObject->DetachLayout();
    delete pObject;
  }
}

void CTKPDockingPaneLayout::Clear() {
  m_bClearing = TRUE;
  // Containers let go of their children first, so that the application's windows go back to the manager
  // and no container reaches a child already gone.
  for (CTKPDockingPaneBase* object : m_lstObjects) object->ReleaseChildren();
  while (!m_lstObjects.empty()) DeleteObject(m_lstObjects.back());
  m_lstPanes.clear();
  std::fill(std::begin(m_wndPanels), std::end(m_wndPanels), nullptr);
  m_pTopContainer = nullptr;
  m_pClient = nullptr;
  m_bClearing = FALSE;
}

void CTKPDockingPaneLayout::RemoveObject(CTKPDockingPaneBase* pObject) {
  auto it = std::find(m_lstObjects.begin(), m_lstObjects.end(), pObject);
  if (it != m_lstObjects.end()) m_lstObjects.erase(it);
  for (PaneRecord& record : m_lstPanes) {
    if (record.pFloatingHolder == pObject) record.pFloatingHolder = nullptr;
    if (record.pDockingHolder == pObject) record.pDockingHolder = nullptr;
    if (record.pLastHolder == pObject) record.pLastHolder = nullptr;
  }
  for (CTKPDockingPaneBase*& panel : m_wndPanels) {
    if (panel == pObject) panel = nullptr;
  }
  if (m_pTopContainer == pObject) m_pTopContainer = nullptr;
  if (m_pClient == pObject) m_pClient = nullptr;
}

void CTKPDockingPaneLayout::AddPaneRecord(CTKPDockingPane* pPane) {
  if (FindPaneRecord(pPane) == nullptr) m_lstPanes.push_back(PaneRecord{pPane});
}

void CTKPDockingPaneLayout::RemovePaneRecord(CTKPDockingPane* pPane) {
  m_lstPanes.erase(std::remove_if(m_lstPanes.begin(), m_lstPanes.end(),
                                  [pPane](const PaneRecord& r) { return r.pPane == pPane; }),
                   m_lstPanes.end());
}

CTKPDockingPaneLayout::PaneRecord* CTKPDockingPaneLayout::FindPaneRecord(const CTKPDockingPane* pPane) {
  for (PaneRecord& record : m_lstPanes) {
    if (record.pPane == pPane) return &record;
  }
  return nullptr;
}

void CTKPDockingPaneLayout::Serialize(CArchive& ar) {
  CTKPPropExchangeArchive px(ar);
  DoPropExchange(&px);
}

BOOL CTKPDockingPaneLayout::DoPropExchange(CTKPPropExchange* pPX) {
  if (pPX->IsLoading()) return Load(pPX);
  return Save(pPX);
}

void CTKPDockingPaneLayout::OnSizeParent(CWnd* pParent, CRect rect, AFX_SIZEPARENTPARAMS* lpLayout) {
  // The auto-hide panels take their strips first, on sides 0 to 3; the docked tree gets the rest.
  for (CTKPDockingPaneBase* panel : m_wndPanels) {
    if (panel != nullptr) static_cast<CTKPDockingPaneAutoHidePanel*>(panel)->Reposition(pParent, rect, lpLayout);
  }
  if (m_pClient != nullptr) m_pClient->OnSizeParent(pParent, rect, lpLayout);
  if (m_pTopContainer != nullptr) m_pTopContainer->OnSizeParent(pParent, rect, lpLayout);
}

int CTKPDockingPaneLayout::GetPaneDirection(const CTKPDockingPaneBase* pPane) const {
  const CTKPDockingPaneBase* below = pPane;
  for (const CTKPDockingPaneBase* parent = pPane != nullptr ? pPane->GetContainer() : nullptr; parent != nullptr;
       below = parent, parent = parent->GetContainer()) {
    if (parent->GetType() == dock::kAutoHidePanel) {
      return static_cast<const CTKPDockingPaneAutoHidePanel*>(parent)->GetDirection();
    }
    if (parent->GetType() != dock::kSplitterContainer || m_pClient == nullptr || !parent->ContainsPane(m_pClient)) {
      continue;
    }
    const auto* splitter = static_cast<const CTKPDockingPaneSplitterContainer*>(parent);
    for (const CTKPDockingPaneBase* child : splitter->GetChildren()) {
      if (child == below) return splitter->IsHorizontal() ? 0 : 2;
      if (child->ContainsPane(m_pClient)) return splitter->IsHorizontal() ? 1 : 3;
    }
  }
  return 0;
}

BOOL CTKPDockingPaneLayout::CanMakeObjects(std::initializer_list<int> types) {
  // A layout holds no more objects than a saved one may: it could not be read back.
  if (m_pManager == nullptr || m_lstObjects.size() + types.size() > static_cast<size_t>(dock::kMaxLayoutObjects)) {
    return FALSE;
  }
  std::vector<CTKPDockingPaneBase*> made;
  BOOL all = TRUE;
  for (int type : types) {
    CTKPDockingPaneBase* object = m_pManager->CreatePaneObject(type, this);
    if (object == nullptr) {
      all = FALSE;
      break;
    }
    made.push_back(object);
  }
  for (auto it = made.rbegin(); it != made.rend(); ++it) DeleteObject(*it);
  return all;
}

// ---- auto-hide ---------------------------------------------------------------------------------------

void CTKPDockingPaneLayout::HidePane(CTKPDockingPaneBase* pPane) {
  if (pPane == nullptr || m_pManager == nullptr) return;
  if (pPane->GetType() == dock::kSplitterContainer) {
    // A panel shows a tab per group and none for a splitter, which could then never slide out: each
    // group of the splitter is hidden on its own, each with its own tab.
    std::vector<CTKPDockingPaneBase*> groups;
    pPane->FindPane(dock::kTabbedContainer, &groups);
    for (CTKPDockingPaneBase* group : groups) HidePane(group);
    return;
  }
  const int side = GetPaneDirection(pPane);
  auto* panel = static_cast<CTKPDockingPaneAutoHidePanel*>(m_wndPanels[side]);
  if (panel == nullptr) {
    panel = static_cast<CTKPDockingPaneAutoHidePanel*>(m_pManager->CreatePaneObject(dock::kAutoHidePanel, this));
    if (panel == nullptr) return;  // refused: the pane stays where it is
    panel->SetDirection(side);
    m_wndPanels[side] = panel;
  }
  std::vector<CTKPDockingPaneBase*> panes;
  if (pPane->GetType() == dock::kPane) {
    panes.push_back(pPane);
  } else {
    pPane->FindPane(dock::kPane, &panes);
  }
  // Panes that were docked in the same container as a hidden group join that group's tab.
  const PaneRecord* first = panes.empty() ? nullptr : FindPaneRecord(static_cast<CTKPDockingPane*>(panes.front()));
  if (first != nullptr && first->pDockingHolder != nullptr) {
    for (CTKPDockingPaneBase* container : panel->GetContainers()) {
      if (container->GetType() != dock::kTabbedContainer) continue;
      auto* group = static_cast<CTKPDockingPaneTabbedContainer*>(container);
      const PaneRecord* lead = group->GetPanes().empty() ? nullptr : FindPaneRecord(group->GetPanes().front());
      if (lead == nullptr || lead->pDockingHolder != first->pDockingHolder) continue;
      for (CTKPDockingPaneBase* pane : panes) {
        auto* plain = static_cast<CTKPDockingPane*>(pane);
        if ((plain->GetOptions() & tkpPaneNoHideable) != 0) continue;
        if (CTKPDockingPaneBase* parent = plain->GetContainer()) parent->RemovePane(plain);
        group->AddPane(plain);
      }
      return;
    }
  }
  CWnd* site = m_pManager->GetSite();
  if (pPane->GetType() == dock::kPane) {
    auto* group = static_cast<CTKPDockingPaneTabbedContainer*>(m_pManager->CreatePaneObject(dock::kTabbedContainer, this));
    if (group == nullptr) return;  // made before the pane leaves its place
    if (CTKPDockingPaneBase* parent = pPane->GetContainer()) parent->RemovePane(pPane);
    group->Init(static_cast<CTKPDockingPane*>(pPane), site);
    panel->AddContainer(group);
  } else if (pPane->GetType() == dock::kTabbedContainer) {
    // The panes that may auto-hide move into a clone of the group; the others stay where they are. A
    // clone that got no pane is no group to show (the next save prunes it).
    CTKPDockingPaneBase* group = pPane->Clone(this, nullptr, tkpPaneNoHideable);
    if (group != nullptr && !group->IsEmpty()) panel->AddContainer(group);
  } else {
    if (CTKPDockingPaneBase* parent = pPane->GetContainer()) parent->RemovePane(pPane);
    panel->AddContainer(pPane);
  }
}

// ---- copying -----------------------------------------------------------------------------------------

BOOL CTKPDockingPaneLayout::Copy(const CTKPDockingPaneLayout* pFrom) {
  if (pFrom == nullptr || pFrom == this || pFrom->m_pTopContainer == nullptr || m_pManager == nullptr) return FALSE;
  // As a load does: the whole copy is made beside the current arrangement, without windows, and only a
  // complete one replaces it.
  const size_t objectsBefore = m_lstObjects.size(), panesBefore = m_lstPanes.size();
  const BOOL notLive = m_bNotLive;
  m_bNotLive = TRUE;
  CMapPtrToPtr map;
  CTKPDockingPaneBase* top = pFrom->m_pTopContainer->Clone(this, &map, 0);
  CTKPDockingPaneBase* client = CTKPDockingPaneBase::LookupClone(&map, pFrom->m_pClient);
  CTKPDockingPaneBase* panels[4] = {};
  bool complete = top != nullptr && client != nullptr;
  for (int side = 0; side < 4 && complete; ++side) {
    if (pFrom->m_wndPanels[side] == nullptr) continue;
    panels[side] = pFrom->m_wndPanels[side]->Clone(this, &map, 0);
    complete = panels[side] != nullptr;
  }
  // The floating frames, and the closed panes, which lie in no tree.
  for (CTKPDockingPaneBase* object : std::vector<CTKPDockingPaneBase*>(pFrom->m_lstObjects)) {
    if (!complete) break;
    const bool closedPane = object->GetType() == dock::kPane && object->GetContainer() == nullptr;
    if ((object->GetType() == dock::kMiniFrame || closedPane) && CTKPDockingPaneBase::LookupClone(&map, object) == nullptr) {
      complete = object->Clone(this, &map, 0) != nullptr;
    }
  }
  // A container whose clone was refused took its panes' clones with it: every pane must have come.
  for (const PaneRecord& from : pFrom->m_lstPanes) complete = complete && CTKPDockingPaneBase::LookupClone(&map, from.pPane) != nullptr;
  m_bNotLive = notLive;
  // The new objects and their pane records stand aside from the current ones.
  std::vector<CTKPDockingPaneBase*> objects(m_lstObjects.begin() + static_cast<std::ptrdiff_t>(objectsBefore), m_lstObjects.end());
  std::vector<PaneRecord> paneRecords(m_lstPanes.begin() + static_cast<std::ptrdiff_t>(panesBefore), m_lstPanes.end());
  if (!complete) {
    for (CTKPDockingPaneBase* object : objects) object->ReleaseChildren();
    while (m_lstObjects.size() > objectsBefore) DeleteObject(m_lstObjects.back());
    return FALSE;
  }
  m_lstObjects.resize(objectsBefore);
  m_lstPanes.resize(panesBefore);
  std::map<UINT, HWND> windows = TakeWindows();
  Clear();
  m_lstObjects = objects;
  m_lstPanes = paneRecords;
  m_pTopContainer = top;
  m_pClient = client;
  std::copy(std::begin(panels), std::end(panels), std::begin(m_wndPanels));
  for (const PaneRecord& from : pFrom->m_lstPanes) {
    auto* pane = static_cast<CTKPDockingPane*>(CTKPDockingPaneBase::LookupClone(&map, from.pPane));
    PaneRecord* record = pane != nullptr ? FindPaneRecord(pane) : nullptr;
    if (record == nullptr) continue;
    record->pFloatingHolder = CTKPDockingPaneBase::LookupClone(&map, from.pFloatingHolder);
    record->pDockingHolder = CTKPDockingPaneBase::LookupClone(&map, from.pDockingHolder);
    record->pLastHolder = CTKPDockingPaneBase::LookupClone(&map, from.pLastHolder);
  }
  if (m_pManager->GetSite() != nullptr) m_pTopContainer->SetDockingSite(m_pManager->GetSite());
  GiveWindows(&windows);
  if (!m_bNotLive) CreateLoadedWindows();
  m_pManager->RecalcFrames();
  return TRUE;
}

std::map<UINT, HWND> CTKPDockingPaneLayout::TakeWindows() {
  std::map<UINT, HWND> windows;
  // The panes are about to go: the active one no longer is, rather than staying active outside the layout.
  CTKPDockingPane* active = m_pManager != nullptr ? m_pManager->GetActivePane() : nullptr;
  if (active != nullptr && FindPaneRecord(active) != nullptr) m_pManager->OnActivatePane(FALSE, active);
  // The windows wait hidden with the manager while their containers go.
  HWND keeper = m_pManager != nullptr ? m_pManager->GetSafeHwnd() : nullptr;
  for (const PaneRecord& record : m_lstPanes) {
    HWND hWnd = record.pPane->Detach();
    if (hWnd == nullptr) continue;
    ::ShowWindow(hWnd, SW_HIDE);
    if (keeper != nullptr) ::SetParent(hWnd, keeper);
    windows.emplace(record.pPane->GetID(), hWnd);
  }
  return windows;
}

void CTKPDockingPaneLayout::GiveWindows(std::map<UINT, HWND>* pWindows) {
  // A window whose pane the new arrangement does not have stays hidden with the manager.
  for (const PaneRecord& record : m_lstPanes) {
    auto it = pWindows->find(record.pPane->GetID());
    if (it == pWindows->end()) continue;
    record.pPane->Attach(it->second);
    pWindows->erase(it);
  }
}

// ---- pruning before a save -------------------------------------------------------------------------

BOOL CTKPDockingPaneLayout::PruneOne(const std::vector<CTKPDockingPaneBase*>& referenced) {
  for (CTKPDockingPaneBase* object : m_lstObjects) {
    CTKPDockingPaneBase* parent = object->GetContainer();
    switch (object->GetType()) {
      case dock::kTabbedContainer:
        if (Holds(referenced, object)) break;
        if (parent != nullptr) parent->RemovePane(object);
        DeleteObject(object);
        return TRUE;
      case dock::kSplitterContainer: {
        if (object == m_pTopContainer) break;
        auto* splitter = static_cast<CTKPDockingPaneSplitterContainer*>(object);
        if (splitter->GetChildren().empty()) {
          if (parent != nullptr) parent->RemovePane(object);
          DeleteObject(object);
          return TRUE;
        }
        auto* outer = parent != nullptr && parent->GetType() == dock::kSplitterContainer
                          ? static_cast<CTKPDockingPaneSplitterContainer*>(parent)
                          : nullptr;
        if (splitter->GetChildren().size() == 1 && outer != nullptr && outer->GetChildren().size() == 1) {
          CTKPDockingPaneBase* child = splitter->GetChildren().front();
          splitter->ReleaseChildren();
          outer->ReplacePane(splitter, child);
          DeleteObject(object);
          return TRUE;
        }
        break;
      }
      case dock::kMiniFrame:
        if (static_cast<CTKPDockingPaneMiniWnd*>(object)->GetTopPane() != nullptr) break;
        DeleteObject(object);
        return TRUE;
      default:
        break;
    }
  }
  return FALSE;
}

void CTKPDockingPaneLayout::Prune() {
  std::vector<CTKPDockingPaneBase*> referenced;
  for (const PaneRecord& record : m_lstPanes) {
    referenced.push_back(record.pDockingHolder);
    referenced.push_back(record.pFloatingHolder);
    referenced.push_back(record.pPane->GetContainer());
  }
  while (PruneOne(referenced)) {
  }
}

BOOL CTKPDockingPaneLayout::Save(CTKPPropExchange* pPX) {
  Prune();
  dock::LayoutRecords records;
  int index = 0;
  for (CTKPDockingPaneBase* object : m_lstObjects) object->m_nIndex = ++index;
  for (CTKPDockingPaneBase* object : m_lstObjects) {
    records.objects.emplace_back();
    object->SaveRecord(&records.objects.back());
  }
  records.topContainer = m_pTopContainer != nullptr ? m_pTopContainer->m_nIndex : 0;
  records.client = m_pClient != nullptr ? m_pClient->m_nIndex : 0;
  // A layout a load would refuse is not written: what was saved before stays.
  std::string reason;
  if (!dock::ValidateLayout(records, &reason)) return FALSE;
  dock::WriteLayout(pPX, records);
  return TRUE;
}

// ---- loading -----------------------------------------------------------------------------------------

BOOL CTKPDockingPaneLayout::Load(CTKPPropExchange* pPX) {
  dock::LayoutRecords records;
  m_strLoadError.clear();
  if (!dock::ReadLayout(pPX, &records, &m_strLoadError) || !dock::ValidateLayout(records, &m_strLoadError)) {
    return FALSE;
  }
  // Every object is made before the current arrangement goes: a factory that refuses a type leaves it.
  std::vector<CTKPDockingPaneBase*> objects;
  std::vector<PaneRecord> paneRecords;
  if (!MakeObjects(records, &objects, &paneRecords)) {
    m_strLoadError = "the manager made no object of a type the layout names";
    return FALSE;
  }
  std::map<UINT, HWND> windows = TakeWindows();
  Clear();
  m_lstObjects = objects;
  m_lstPanes = paneRecords;
  Build(records, objects);
  GiveWindows(&windows);
  if (!m_bNotLive) CreateLoadedWindows();
  if (m_pManager != nullptr) m_pManager->RecalcFrames();
  return TRUE;
}

BOOL CTKPDockingPaneLayout::MakeObjects(const dock::LayoutRecords& records, std::vector<CTKPDockingPaneBase*>* pObjects,
                                        std::vector<PaneRecord>* pPaneRecords) {
  const size_t objectsBefore = m_lstObjects.size(), panesBefore = m_lstPanes.size();
  bool made = true;
  for (const dock::ObjectRecord& record : records.objects) {
    if (m_pManager->CreatePaneObject(record.type, this) == nullptr) {
      made = false;
      break;
    }
  }
  // The new objects and their pane records stand aside from the current ones.
  pObjects->assign(m_lstObjects.begin() + static_cast<std::ptrdiff_t>(objectsBefore), m_lstObjects.end());
  pPaneRecords->assign(m_lstPanes.begin() + static_cast<std::ptrdiff_t>(panesBefore), m_lstPanes.end());
  if (made && pObjects->size() == records.objects.size()) {
    m_lstObjects.resize(objectsBefore);
    m_lstPanes.resize(panesBefore);
    return TRUE;
  }
  while (m_lstObjects.size() > objectsBefore) DeleteObject(m_lstObjects.back());
  pObjects->clear();
  pPaneRecords->clear();
  return FALSE;
}

void CTKPDockingPaneLayout::Build(const dock::LayoutRecords& records, const std::vector<CTKPDockingPaneBase*>& objects) {
  for (size_t i = 0; i < objects.size(); ++i) {
    objects[i]->LoadRecord(records.objects[i], objects);
    if (objects[i]->GetType() == dock::kAutoHidePanel) {
      auto* panel = static_cast<CTKPDockingPaneAutoHidePanel*>(objects[i]);
      m_wndPanels[panel->GetDirection()] = panel;
    }
  }
  m_pTopContainer = objects[static_cast<size_t>(records.topContainer) - 1];
  m_pClient = objects[static_cast<size_t>(records.client) - 1];
  if (m_pManager->GetSite() != nullptr) m_pTopContainer->SetDockingSite(m_pManager->GetSite());
}

void CTKPDockingPaneLayout::CreateLoadedWindows() {
  // The docked tree makes its windows in the next layout pass; the floating frames and the hidden groups,
  // which no pass reaches before they are shown, make theirs now.
  for (CTKPDockingPaneBase* object : std::vector<CTKPDockingPaneBase*>(m_lstObjects)) {
    if (object->GetType() == dock::kMiniFrame) static_cast<CTKPDockingPaneMiniWnd*>(object)->CreateLoadedWindow();
  }
  for (CTKPDockingPaneBase* panel : m_wndPanels) {
    if (panel != nullptr) static_cast<CTKPDockingPaneAutoHidePanel*>(panel)->AttachLoadedContainers(m_pManager->GetSite());
  }
}
