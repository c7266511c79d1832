#include "toolkit/dockingpane/tkp_docking_pane_manager.h"

#include <ole2.h>

#include <algorithm>

#include "toolkit/common/color_manager.h"
#include "toolkit/common/tkp_image_manager.h"
#include "toolkit/common/tkp_tooltip_context.h"
#include "toolkit/dockingpane/tkp_docking_pane_auto_hide.h"
#include "toolkit/dockingpane/tkp_docking_pane_drag_context.h"
#include "toolkit/dockingpane/tkp_docking_pane_mini_wnd.h"
#include "toolkit/dockingpane/tkp_docking_pane_place.h"
#include "toolkit/dockingpane/tkp_docking_pane_splitter.h"
#include "toolkit/dockingpane/tkp_docking_pane_tabbed.h"
#include "toolkit/dockingpane/tkp_docking_pane_themes.h"

static_assert(sizeof(TKP_DOCKINGPANE_ACTION) == 20, "the action record is five 32-bit fields");

BEGIN_MESSAGE_MAP(CTKPDockingPaneManager, CWnd)
  ON_MESSAGE(WM_SIZEPARENT, OnSizeParent)
  ON_MESSAGE(WM_IDLEUPDATECMDUI, OnIdleUpdateCmdUI)
  ON_WM_SYSCOLORCHANGE()
  ON_WM_SETTINGCHANGE()
END_MESSAGE_MAP()

CTKPDockingPaneManager::CTKPDockingPaneManager() {
  SetTheme(0);
  m_pImageManager = new CTKPImageManager();
  m_pDragContext = new CTKPDockingPaneDragContext(this);
  m_pToolTipContext = new CTKPToolTipContext();
  // Only a successful call here is balanced by the destructor: OLE another part of the thread set up in
  // another mode stays as it is.
  m_bOleInitialized = SUCCEEDED(::OleInitialize(nullptr));
}

CTKPDockingPaneManager::~CTKPDockingPaneManager() {
  if (m_pLayout != nullptr) m_pLayout->InternalRelease();
  m_pLayout = nullptr;
  // The containers' windows reach the tooltip context until they are gone with the layout.
  if (m_pToolTipContext != nullptr) m_pToolTipContext->InternalRelease();
  m_pToolTipContext = nullptr;
  delete m_pDragContext;
  m_pDragContext = nullptr;
  if (m_pActivePane != nullptr) m_pActivePane->InternalRelease();
  if (m_pPaintManager != nullptr) m_pPaintManager->InternalRelease();
  if (m_pImageManager != nullptr) m_pImageManager->InternalRelease();
  if (m_bOleInitialized) ::OleUninitialize();
}

BOOL CTKPDockingPaneManager::InstallOnFrame(CFrameWnd* pSite) {
  if (m_pSite != nullptr || pSite == nullptr) return FALSE;
  m_pSite = pSite;
  CreateEx(0, _T("STATIC"), _T(""), WS_CHILD, 0, 0, 0, 0, pSite->GetSafeHwnd(), nullptr);
  m_pLayout = CreateLayout();
  m_pLayout->SetLive();
  return TRUE;
}

CTKPDockingPaneLayout* CTKPDockingPaneManager::CreateLayout() { return new CTKPDockingPaneLayout(this); }

CTKPDockingPaneBase* CTKPDockingPaneManager::CreatePaneObject(int nType, CTKPDockingPaneLayout* pLayout) {
  switch (nType) {
    case dock::kPane:
      return new CTKPDockingPane(pLayout);
    case dock::kTabbedContainer:
      return new CTKPDockingPaneTabbedContainer(pLayout);
    case dock::kSplitterContainer:
      return new CTKPDockingPaneSplitterContainer(pLayout);
    case dock::kMiniFrame:
      return new CTKPDockingPaneMiniWnd(pLayout);
    case dock::kClientContainer:
      return new CTKPDockingPaneClientContainer(pLayout);
    case dock::kAutoHidePanel:
      return new CTKPDockingPaneAutoHidePanel(pLayout);
    default:
      return nullptr;
  }
}

void CTKPDockingPaneManager::OnActivatePane(BOOL bActive, CTKPDockingPane* pPane) {
  if (bActive && pPane != m_pActivePane) {
    // Nothing is deactivated when nothing was active.
    if (CTKPDockingPane* old = m_pActivePane) {
      m_pActivePane = nullptr;
      NotifyOwner(tkpPaneActionDeactivated, old);
      old->InternalRelease();
    }
    if (pPane != nullptr) {
      pPane->InternalAddRef();
      m_pActivePane = pPane;
      NotifyOwner(tkpPaneActionActivated, pPane);
    }
  } else if (!bActive && pPane != nullptr && pPane == m_pActivePane) {
    m_pActivePane = nullptr;
    NotifyOwner(tkpPaneActionDeactivated, pPane);
    pPane->InternalRelease();
  }
}

// ---- panes ---------------------------------------------------------------------------------------------

CTKPDockingPane* CTKPDockingPaneManager::CreatePane(UINT nID, CRect rc, int nDirection,
                                                    CTKPDockingPaneBase* pNeighbour) {
  if (m_pLayout == nullptr || m_pLayout->IsNotLive() || nID == 0 || nDirection < 0 || nDirection > 3) return nullptr;
  if (m_pLayout->GetTopPane() == nullptr || !m_pLayout->CanMakeObjects({dock::kTabbedContainer, dock::kSplitterContainer})) {
    return nullptr;
  }
  auto* pane = static_cast<CTKPDockingPane*>(CreatePaneObject(dock::kPane, m_pLayout));
  if (pane == nullptr) return nullptr;
  pane->SetID(nID);
  pane->m_nDockingCX = std::max(0, static_cast<int>(rc.Width()));
  pane->m_nDockingCY = std::max(0, static_cast<int>(rc.Height()));
  DockPane(pane, nDirection, pNeighbour);
  return pane;
}

CTKPDockingPane* CTKPDockingPaneManager::FindPane(UINT nID) const {
  if (m_pLayout == nullptr) return nullptr;
  for (const CTKPDockingPaneLayout::PaneRecord& record : m_pLayout->GetPaneList()) {
    if (record.pPane->GetID() == nID) return record.pPane;
  }
  return nullptr;
}

void CTKPDockingPaneManager::ClosePane(CTKPDockingPane* pPane) {
  if (pPane == nullptr) return;
  const LRESULT answer = m_pSite != nullptr
                             ? m_pSite->SendMessage(TKP_DOCKINGPANE_NOTIFY, TKP_DPN_CLOSEPANE,
                                                    reinterpret_cast<LPARAM>(static_cast<CTKPDockingPaneBase*>(pPane)))
                             : 0;
  if (answer == -1) return;
  if (CTKPDockingPaneBase* container = pPane->GetContainer()) container->RemovePane(pPane);
}

void CTKPDockingPaneManager::ClosePaneByUser(CTKPDockingPane* pPane) {
  if (pPane == nullptr || (pPane->GetOptions() & tkpPaneNoCloseable) != 0) return;
  if (NotifyOwner(tkpPaneActionClosing, pPane) != 0) return;
  // Closing may leave its container empty and gone from the layout: the pane is held meanwhile.
  pPane->InternalAddRef();
  ClosePane(pPane);
  // The site may still keep it open: only a pane that really closed is reported closed.
  if (pPane->IsClosed()) NotifyOwner(tkpPaneActionClosed, pPane);
  pPane->InternalRelease();
}

void CTKPDockingPaneManager::ShowPane(CTKPDockingPane* pPane, BOOL bSetFocus) {
  if (pPane == nullptr || m_pLayout == nullptr) return;
  CTKPDockingPaneBase* container = pPane->GetContainer();
  if (container != nullptr && container->GetType() == dock::kTabbedContainer) {
    static_cast<CTKPDockingPaneTabbedContainer*>(container)->SelectPane(pPane, FALSE);
    CTKPDockingPaneBase* above = container->GetContainer();
    if (above != nullptr && above->GetType() == dock::kAutoHidePanel) {
      auto* panel = static_cast<CTKPDockingPaneAutoHidePanel*>(above);
      CTKPDockingPaneAutoHideWnd* shown = panel->GetSlidingWindow();
      if (shown == nullptr || static_cast<CTKPDockingPaneBase*>(shown->GetContainer()) != container) {
        panel->CloseSlidingWindow(FALSE);
        panel->ShowSlidingWindow(pPane, bSetFocus);
      }
    }
    for (CTKPDockingPaneBase* p = above; p != nullptr; p = p->GetContainer()) {
      if (p->GetType() == dock::kMiniFrame) static_cast<CTKPDockingPaneMiniWnd*>(p)->ShowExpanded();
    }
  }
  if (pPane->IsClosed()) {
    const CTKPDockingPaneLayout::PaneRecord* record = m_pLayout->FindPaneRecord(pPane);
    CTKPDockingPaneBase* holder = record != nullptr ? record->pLastHolder : nullptr;
    if (holder != nullptr && holder->GetContainer() != nullptr) {
      m_bAttaching = TRUE;
      AttachPane(pPane, holder);
      m_bAttaching = FALSE;
    } else {
      // Closed before it was ever laid out (or its place is gone): shown is shown, so it docks at the left.
      DockPane(pPane, tkpPaneDockLeft, nullptr);
    }
  }
  if (m_bLaidOut) pPane->Show(TRUE);
  if (bSetFocus) pPane->SetFocus();
}

CTKPDockingPaneBase* CTKPDockingPaneManager::TakeOut(CTKPDockingPaneBase* pPane) {
  CTKPDockingPaneBase* parent = pPane->GetContainer();
  if (parent == nullptr) return pPane;
  // A container stays where it is, empty, and its panes move into a clone: the place they go back to.
  if (pPane->GetType() != dock::kPane) {
    if (CTKPDockingPaneBase* clone = pPane->Clone(m_pLayout, nullptr, 0)) return clone;
  }
  parent->RemovePane(pPane);
  return pPane;
}

CTKPDockingPaneBase* CTKPDockingPaneManager::Moving(CTKPDockingPaneBase* pPane) {
  if (pPane->GetType() == dock::kSplitterContainer) {
    std::vector<CTKPDockingPaneBase*> tabbed;
    pPane->FindPane(dock::kTabbedContainer, &tabbed);
    if (tabbed.size() == 1) return tabbed.front();
  }
  return pPane;
}

BOOL CTKPDockingPaneManager::CanMove(const CTKPDockingPaneBase* pPane) const {
  const int type = pPane->GetType();
  if (type != dock::kPane && type != dock::kTabbedContainer && type != dock::kSplitterContainer) return FALSE;
  // The client area never moves: the arrangement around it could not be saved again.
  const CTKPDockingPaneBase* client = GetClientPane();
  return pPane != GetTopPane() && (client == nullptr || !pPane->ContainsPane(client));
}

CTKPDockingPaneBase* CTKPDockingPaneManager::Detach(CTKPDockingPaneBase* pPane) {
  pPane = Moving(pPane);
  if (pPane->GetType() != dock::kPane) return TakeOut(pPane);
  // A plain pane is docked in a tabbed container of its own, made before the pane leaves its place.
  auto* tabbed =
      static_cast<CTKPDockingPaneTabbedContainer*>(CreatePaneObject(dock::kTabbedContainer, m_pLayout));
  if (tabbed == nullptr) return nullptr;
  pPane = TakeOut(pPane);
  tabbed->m_nDockingCX = pPane->m_nDockingCX;
  tabbed->m_nDockingCY = pPane->m_nDockingCY;
  tabbed->Init(static_cast<CTKPDockingPane*>(pPane), m_pSite);
  return tabbed;
}

void CTKPDockingPaneManager::DockPane(CTKPDockingPaneBase* pPane, int nDirection, CTKPDockingPaneBase* pNeighbour) {
  if (pPane == nullptr || m_pLayout == nullptr || m_pLayout->GetTopPane() == nullptr || nDirection < 0 ||
      nDirection > 3 || pPane == pNeighbour) {
    return;
  }
  if (pNeighbour != nullptr && pNeighbour->GetType() == dock::kPane &&
      (pNeighbour->GetContainer() == nullptr || pNeighbour->IsHidden())) {
    pNeighbour = nullptr;
  }
  // The client area stays where it is, and nothing goes beside itself or into itself.
  CTKPDockingPaneBase* moving = Moving(pPane);
  if (!CanMove(moving) || (pNeighbour != nullptr && moving->ContainsPane(pNeighbour))) return;
  // Every object the docking may need is asked for before anything moves.
  if (!m_pLayout->CanMakeObjects({dock::kTabbedContainer, dock::kSplitterContainer})) return;
  const BOOL horizontal = nDirection == tkpPaneDockLeft || nDirection == tkpPaneDockRight;
  const BOOL after = nDirection == tkpPaneDockRight || nDirection == tkpPaneDockBottom;
  CTKPDockingPaneBase* wrapped = Detach(pPane);
  if (wrapped == nullptr) return;
  if (pNeighbour != nullptr && pNeighbour->GetContainer() != nullptr &&
      pNeighbour->GetContainer()->GetType() == dock::kTabbedContainer) {
    pNeighbour = pNeighbour->GetContainer();
  }
  CTKPDockingPaneBase* top = m_pLayout->GetTopPane();
  CTKPDockingPaneBase* parent = pNeighbour != nullptr ? pNeighbour->GetContainer() : nullptr;
  if (pNeighbour == nullptr || pNeighbour == top || parent == nullptr || parent->GetType() != dock::kSplitterContainer) {
    auto* splitter = static_cast<CTKPDockingPaneSplitterContainer*>(top);
    if (splitter->IsHorizontal() != horizontal) {
      auto* outer = static_cast<CTKPDockingPaneSplitterContainer*>(
          CreatePaneObject(dock::kSplitterContainer, m_pLayout));
      // A factory that answered a moment ago and refuses now: the group goes beside the rest rather than
      // nowhere.
      if (outer != nullptr) {
        outer->Init(top, horizontal, m_pSite);
        m_pLayout->SetTopPane(outer);
        splitter = outer;
      }
    }
    splitter->AddPane(wrapped, nullptr, after);
  } else {
    auto* splitter = static_cast<CTKPDockingPaneSplitterContainer*>(parent);
    auto* inner = splitter->IsHorizontal() == horizontal
                      ? nullptr
                      : static_cast<CTKPDockingPaneSplitterContainer*>(
                            CreatePaneObject(dock::kSplitterContainer, m_pLayout));
    if (inner == nullptr) {
      splitter->AddPane(wrapped, pNeighbour, after);
    } else {
      splitter->ReplacePane(pNeighbour, inner);
      // The new splitter lies where its neighbour lay: in a floating frame, that frame is its site.
      inner->Init(pNeighbour, horizontal, splitter->GetDockingSite());
      inner->AddPane(wrapped, pNeighbour, after);
    }
  }
  DelayLayout();
}

void CTKPDockingPaneManager::HidePane(CTKPDockingPaneBase* pPane) {
  if (pPane == nullptr || m_pLayout == nullptr) return;
  // A panel holds groups: a floating frame, a panel or the client area is no pane to hide.
  const int type = pPane->GetType();
  if (type != dock::kPane && type != dock::kTabbedContainer && type != dock::kSplitterContainer) return;
  if (m_bHideGroupOnButtonClick && pPane->GetType() == dock::kPane && pPane->GetContainer() != nullptr) {
    pPane = pPane->GetContainer();
  }
  if (pPane->IsHidden()) {
    CTKPDockingPaneBase* panel = pPane->GetType() == dock::kPane ? pPane->GetContainer() : pPane;
    panel = panel != nullptr ? panel->GetContainer() : nullptr;
    if (panel != nullptr && panel->GetType() == dock::kAutoHidePanel) {
      static_cast<CTKPDockingPaneAutoHidePanel*>(panel)->CloseSlidingWindow(FALSE);
    }
    return;
  }
  if (pPane->GetType() == dock::kPane && pPane->GetContainer() == nullptr) return;
  // The panel of the side and the group the pane may need are asked for before anything moves.
  if (!m_pLayout->CanMakeObjects({dock::kAutoHidePanel, dock::kTabbedContainer})) return;
  m_pLayout->HidePane(pPane);
  DelayLayout();
}

BOOL CTKPDockingPaneManager::ToggleOne(CTKPDockingPane* pPane, CTKPDockingPaneBase* pHolder) {
  const bool docked = !dockplace::IsFloating(pPane) && !pPane->IsHidden();
  if (docked && (pPane->GetOptions() & tkpPaneNoFloatable) != 0) return FALSE;
  // A holder that is no longer part of the arrangement (its frame ended, its panel emptied) is no place
  // to go back to.
  if (pHolder != nullptr && pHolder->GetContainer() == nullptr) pHolder = nullptr;
  const int asking = docked ? tkpPaneActionFloating : tkpPaneActionDocking;
  const auto holder = static_cast<DWORD>(reinterpret_cast<UINT_PTR>(pHolder));
  if (NotifyOwner(asking, pPane, holder, 0) != 0) return FALSE;
  const std::vector<const CTKPDockingPaneBase*> before = dockplace::Containers(pPane);
  if (pHolder != nullptr) {
    m_bAttaching = TRUE;
    AttachPane(pPane, pHolder);
    m_bAttaching = FALSE;
  } else if (dockplace::IsFloating(pPane)) {
    // Floating and never docked: floating it anew would leave it where it is, so it docks at the left.
    DockPane(pPane, tkpPaneDockLeft, nullptr);
  } else {
    // Docked, or hidden without a docked place of its own: it floats where it shows now.
    const CRect rc =
        pPane->GetContainer() != nullptr ? pPane->GetContainer()->GetWindowRect() : pPane->GetWindowRect();
    FloatPane(pPane, rc);
  }
  // A move the manager refused (no object from the factory; no floating window, which docks the pane
  // back at the left) is not told as done.
  const bool moved = dockplace::Containers(pPane) != before;
  if (!moved || (docked && !dockplace::IsFloating(pPane))) return FALSE;
  NotifyOwner(docked ? tkpPaneActionFloated : tkpPaneActionDocked, pPane);
  return TRUE;
}

void CTKPDockingPaneManager::ToggleDocking(CTKPDockingPaneBase* pPane) {
  if (pPane == nullptr || m_pLayout == nullptr) return;
  // A group's panes move one by one: the objects any of them may need are asked for first.
  if (!m_pLayout->CanMakeObjects({dock::kMiniFrame, dock::kTabbedContainer, dock::kSplitterContainer})) return;
  const bool toFloat = !dockplace::IsFloating(pPane) && !pPane->IsHidden();
  auto holderOf = [this, toFloat](CTKPDockingPaneBase* pane) -> CTKPDockingPaneBase* {
    const CTKPDockingPaneLayout::PaneRecord* record = m_pLayout->FindPaneRecord(static_cast<CTKPDockingPane*>(pane));
    if (record == nullptr) return nullptr;
    return toFloat ? record->pFloatingHolder : record->pDockingHolder;
  };
  if (pPane->GetType() == dock::kPane) {
    ToggleOne(static_cast<CTKPDockingPane*>(pPane), holderOf(pPane));
    return;
  }
  if (pPane->GetType() != dock::kTabbedContainer && pPane->GetType() != dock::kSplitterContainer) return;
  std::vector<CTKPDockingPaneBase*> panes;
  pPane->FindPane(dock::kPane, &panes);
  UINT focusId = 0, selectedId = 0;
  for (CTKPDockingPaneBase* pane : panes) {
    auto* plain = static_cast<CTKPDockingPane*>(pane);
    if (plain->IsFocus()) focusId = plain->GetID();
    if (plain->IsSelected()) selectedId = plain->GetID();
  }
  // A pane without a place of its own goes where the pane before it went just now, so a group that was
  // never floated floats together in the first pane's frame.
  CTKPDockingPaneBase* previous = nullptr;
  for (CTKPDockingPaneBase* pane : panes) {
    auto* plain = static_cast<CTKPDockingPane*>(pane);
    CTKPDockingPaneBase* holder = holderOf(pane);
    if (holder == nullptr && previous != nullptr) holder = holderOf(previous);
    previous = pane;
    if (ToggleOne(plain, holder)) continue;
    if (focusId == plain->GetID()) focusId = 0;
    if (selectedId == plain->GetID()) selectedId = 0;
  }
  ShowPane(FindPane(focusId != 0 ? focusId : selectedId), TRUE);
}

void CTKPDockingPaneManager::FloatPane(CTKPDockingPaneBase* pPane, CRect rc) {
  if (pPane == nullptr || m_pLayout == nullptr || m_pSite == nullptr || m_pSite->GetSafeHwnd() == nullptr) return;
  if (!CanMove(pPane)) return;
  if (!m_pLayout->CanMakeObjects({dock::kMiniFrame, dock::kTabbedContainer, dock::kSplitterContainer})) return;
  auto* frame = static_cast<CTKPDockingPaneMiniWnd*>(CreatePaneObject(dock::kMiniFrame, m_pLayout));
  if (frame == nullptr) return;
  CTKPDockingPaneBase* content = TakeOut(pPane);
  if (!frame->Create(content, rc)) {
    // No window: the pane docks back at the left rather than getting lost.
    DockPane(content, tkpPaneDockLeft, nullptr);
    return;
  }
  SaveHolders();
  DelayLayout();
}

void CTKPDockingPaneManager::AttachPane(CTKPDockingPaneBase* pPane, CTKPDockingPaneBase* pContainer) {
  if (pPane == nullptr || pContainer == nullptr || m_pLayout == nullptr) return;
  if (pContainer->GetType() == dock::kPane) pContainer = pContainer->GetContainer();
  if (pContainer == nullptr || pContainer->GetType() != dock::kTabbedContainer || pContainer == pPane) return;
  auto* tabbed = static_cast<CTKPDockingPaneTabbedContainer*>(pContainer);
  std::vector<CTKPDockingPaneBase*> panes;
  if (pPane->GetType() == dock::kPane) {
    panes.push_back(pPane);
  } else {
    pPane->FindPane(dock::kPane, &panes);
  }
  for (CTKPDockingPaneBase* pane : panes) {
    if (CTKPDockingPaneBase* parent = pane->GetContainer()) parent->RemovePane(pane);
    tabbed->AddPane(static_cast<CTKPDockingPane*>(pane));
  }
  SaveHolders();
  DelayLayout();
}

int CTKPDockingPaneManager::GetPaneDirection(const CTKPDockingPaneBase* pPane) const {
  return m_pLayout != nullptr ? m_pLayout->GetPaneDirection(pPane) : 0;
}

CRect CTKPDockingPaneManager::CalcDockingRect(CTKPDockingPaneBase* pPane, int nDirection,
                                              CTKPDockingPaneBase* pNeighbour) {
  if (pPane == nullptr || m_pLayout == nullptr || m_pLayout->GetTopPane() == nullptr || nDirection < 0 ||
      nDirection > 3) {
    return CRect();
  }
  if (pNeighbour == nullptr) pNeighbour = m_pLayout->GetTopPane();
  if (pNeighbour->GetContainer() != nullptr && pNeighbour->GetContainer()->GetType() == dock::kTabbedContainer) {
    pNeighbour = pNeighbour->GetContainer();
  }
  // Right to left, the screen's left is the layout's right.
  if (IsLayoutRTL() && nDirection < 2) nDirection ^= 1;
  const BOOL horizontal = nDirection < 2;
  CTKPDockingPaneBase* parent = pNeighbour->GetContainer();
  if (parent != nullptr && parent->GetType() == dock::kSplitterContainer &&
      static_cast<CTKPDockingPaneSplitterContainer*>(parent)->IsHorizontal() == horizontal) {
    return static_cast<CTKPDockingPaneSplitterContainer*>(parent)->CalcDockingRect(pPane, nDirection, pNeighbour);
  }
  const bool after = nDirection == tkpPaneDockRight || nDirection == tkpPaneDockBottom;
  std::vector<CTKPDockingPaneBase*> row = {pNeighbour};
  row.insert(after ? row.end() : row.begin(), pPane);
  CRect share = CTKPDockingPaneSplitterContainer::CalcShare(row, pPane, horizontal, pNeighbour->GetPaneWindowRect());
  // The neighbour's rectangle is in its own site's coordinates: a floating frame's group is not the
  // main frame's.
  CWnd* site = pNeighbour->GetDockingSite() != nullptr ? pNeighbour->GetDockingSite() : m_pSite;
  if (site != nullptr && site->GetSafeHwnd() != nullptr) {
    ::MapWindowPoints(site->GetSafeHwnd(), nullptr, reinterpret_cast<LPPOINT>(&share), 2);
  }
  return share;
}

CTKPImageManagerIcon* CTKPDockingPaneManager::GetIcon(UINT nIconID, int nWidth) const {
  return m_pImageManager->GetImage(nIconID, nWidth);
}

// ---- themes, notifications, layout -------------------------------------------------------------------

void CTKPDockingPaneManager::SetTheme(int nTheme) {
  CTKPDockingPanePaintManager* old = m_pPaintManager;
  m_pPaintManager = TKPCreateDockingPaneTheme(nTheme);
  m_pPaintManager->SetThemeID(nTheme);
  m_pPaintManager->RefreshMetrics();
  // The groups there are now follow the new theme's tab options: they hear of its changes, and no longer
  // of the old one's.
  CTKPTabPaintManager* oldTabs = old != nullptr ? old->GetTabPaintManager() : nullptr;
  CTKPTabPaintManager* newTabs = m_pPaintManager->GetTabPaintManager();
  if (m_pLayout != nullptr) {
    for (CTKPDockingPaneBase* object : m_pLayout->GetObjects()) {
      if (object->GetType() != dock::kTabbedContainer) continue;
      auto* group = static_cast<CTKPDockingPaneTabbedContainer*>(object);
      if (oldTabs != nullptr) oldTabs->RemoveObserver(group);
      if (newTabs != nullptr) newTabs->AddObserver(group);
    }
  }
  if (old != nullptr) old->InternalRelease();
  RecalcFrames();
  if (nTheme == 9) m_nGuideStyle = 1;
}

void CTKPDockingPaneManager::SetThemedFloatingFrames(BOOL bThemed) {
  m_bThemedFloatingFrames = bThemed;
  RecalcFrames();
}

void CTKPDockingPaneManager::RecalcFrames() {
  if (m_hWnd == nullptr || m_pLayout == nullptr) return;
  for (CTKPDockingPaneBase* object : m_pLayout->GetObjects()) {
    if (object->GetType() == dock::kMiniFrame) static_cast<CTKPDockingPaneMiniWnd*>(object)->RefreshFrame();
  }
  for (const CTKPDockingPaneLayout::PaneRecord& record : m_pLayout->GetPaneList()) {
    CTKPDockingPaneBase* container = record.pPane->GetContainer();
    CWnd* site = container != nullptr ? container->GetDockingSite() : nullptr;
    if (CFrameWnd* frame = site != nullptr ? site->AsFrameWnd() : nullptr) frame->DelayRecalcLayout();
  }
}

BOOL CTKPDockingPaneManager::IsLayoutRTL() const {
  return m_pSite != nullptr && m_pSite->GetSafeHwnd() != nullptr && (m_pSite->GetExStyle() & WS_EX_LAYOUTRTL) != 0;
}

int CTKPDockingPaneManager::NotifyOwner(int nAction, CTKPDockingPaneBase* pPane, DWORD dwArg1, DWORD dwArg2) {
  TKP_DOCKINGPANE_ACTION action{nAction, 0, pPane, dwArg1, dwArg2};
  if (m_pSite == nullptr || m_pSite->GetSafeHwnd() == nullptr) return 0;
  m_pSite->SendMessage(TKP_DOCKINGPANE_NOTIFY, TKP_DPN_ACTION, reinterpret_cast<LPARAM>(&action));
  return action.result;
}

void CTKPDockingPaneManager::DelayLayout() const {
  if (m_pSite != nullptr && m_pSite->GetSafeHwnd() != nullptr) m_pSite->DelayRecalcLayout();
}

void CTKPDockingPaneManager::SaveHolders() {
  if (m_pLayout == nullptr) return;
  for (const CTKPDockingPaneLayout::PaneRecord& entry : m_pLayout->GetPaneList()) {
    CTKPDockingPaneBase* container = entry.pPane->GetContainer();
    if (container == nullptr) continue;
    CTKPDockingPaneBase* above = container->GetContainer();
    if (above != nullptr && above->GetType() == dock::kAutoHidePanel) continue;
    CTKPDockingPaneLayout::PaneRecord* record = m_pLayout->FindPaneRecord(entry.pPane);
    bool floating = false;
    CTKPDockingPaneBase* root = container;
    for (CTKPDockingPaneBase* p = container; p != nullptr; p = p->GetContainer()) {
      floating = floating || p->GetType() == dock::kMiniFrame;
      root = p;
    }
    // A group on its way (not yet in the docked tree nor in a floating frame) is no place to go back to.
    if (!floating && root != m_pLayout->GetTopPane()) continue;
    (floating ? record->pFloatingHolder : record->pDockingHolder) = container;
    record->pLastHolder = container;
  }
}

LRESULT CTKPDockingPaneManager::OnSizeParent(WPARAM, LPARAM lParam) {
  auto* params = reinterpret_cast<AFX_SIZEPARENTPARAMS*>(lParam);
  if (m_pLayout == nullptr || m_pLayout->GetTopPane() == nullptr || params == nullptr) return 0;
  m_pLayout->OnSizeParent(m_pSite, CRect(params->rect), params);
  SaveHolders();
  m_bLaidOut = TRUE;
  return 0;
}

LRESULT CTKPDockingPaneManager::OnIdleUpdateCmdUI(WPARAM wParam, LPARAM lParam) {
  if (m_pLayout == nullptr) return 0;
  // A container may let go of its pane while it updates: walk a copy.
  const std::vector<CTKPDockingPaneLayout::PaneRecord> panes = m_pLayout->GetPaneList();
  for (const CTKPDockingPaneLayout::PaneRecord& record : panes) {
    if (CTKPDockingPaneBase* container = record.pPane->GetContainer()) container->OnIdleUpdate();
  }
  // Floating frames are no children of the site: the idle update reaches them only from here.
  std::vector<HWND> frames;
  for (CTKPDockingPaneBase* object : m_pLayout->GetObjects()) {
    if (object->GetType() == dock::kMiniFrame && object->GetPaneHwnd() != nullptr) frames.push_back(object->GetPaneHwnd());
  }
  for (HWND hWnd : frames) {
    if (::IsWindow(hWnd)) ::SendMessageW(hWnd, WM_IDLEUPDATECMDUI, wParam, lParam);
  }
  return 0;
}

void CTKPDockingPaneManager::OnSysColorChange() {
  RefreshToolkitColors();
  RecalcFrames();
}

void CTKPDockingPaneManager::OnSettingChange(UINT, LPCTSTR) {
  if (m_pPaintManager != nullptr) m_pPaintManager->RefreshMetrics();
  RecalcFrames();
}

void CTKPDockingPaneManager::FilterToolTipMessage(CWnd* pWnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (m_pToolTipContext != nullptr) m_pToolTipContext->FilterToolTipMessage(pWnd, message, wParam, lParam);
}
