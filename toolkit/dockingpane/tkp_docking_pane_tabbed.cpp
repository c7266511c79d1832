#include "toolkit/dockingpane/tkp_docking_pane_tabbed.h"

#include <algorithm>

#include "toolkit/common/gdi_guards.h"
#include "toolkit/common/tkp_image_manager.h"
#include "toolkit/dockingpane/tkp_docking_pane.h"
#include "toolkit/dockingpane/tkp_docking_pane_drag_context.h"
#include "toolkit/dockingpane/tkp_docking_pane_layout.h"
#include "toolkit/dockingpane/tkp_docking_pane_manager.h"
#include "toolkit/dockingpane/tkp_docking_pane_paint_manager.h"
#include "toolkit/dockingpane/tkp_docking_pane_splitter.h"
#include "toolkit/tabmanager/tkp_tab_paint_manager.h"

BEGIN_MESSAGE_MAP(CTKPDockingPaneTabbedContainer, CWnd)
  ON_WM_PAINT()
  ON_WM_ERASEBKGND()
  ON_WM_LBUTTONDOWN()
  ON_WM_RBUTTONDOWN()
  ON_WM_MOUSEMOVE()
  ON_WM_LBUTTONUP()
  ON_WM_CAPTURECHANGED()
  ON_WM_LBUTTONDBLCLK()
  ON_MESSAGE(WM_MOUSELEAVE, OnMouseLeave)
  ON_MESSAGE(WM_HELPHITTEST, OnHelpHitTest)
END_MESSAGE_MAP()

CTKPDockingPaneTabbedContainer::CTKPDockingPaneTabbedContainer(CTKPDockingPaneLayout* pLayout)
    : CTKPDockingPaneBase(dock::kTabbedContainer, pLayout) {
  for (UINT id : {TKP_IDC_DOCKING_CLOSE, TKP_IDC_DOCKING_MAXIMIZE, TKP_IDC_DOCKING_RESTORE, TKP_IDC_DOCKING_AUTOHIDE,
                  TKP_IDC_DOCKING_MENU}) {
    m_arrCaptionButtons.push_back(new CTKPDockingPaneCaptionButton(id, this));
  }
  if (CTKPTabPaintManager* paint = GetPaintManager()) paint->AddObserver(this);
  // An OLE drag held over a tab opens that tab's pane.
  m_pDropTarget = std::make_unique<CTKPDockingPaneDropTarget>([this](POINT pt) {
    CTKPTabPaintManager* paint = GetPaintManager();
    if (paint == nullptr || !paint->SelectOnDragOver || !IsTabsVisible()) return;
    CTKPTabManagerItem* item = HitTest(CPoint(pt.x, pt.y));
    if (CTKPDockingPane* pane = item != nullptr ? GetPaneByTab(item->GetIndex()) : nullptr) SelectPane(pane, FALSE, FALSE);
  });
}

CTKPDockingPaneTabbedContainer::~CTKPDockingPaneTabbedContainer() {
  m_pDropTarget.reset();
  // The panes' windows belong to the application: they go back to the manager before this window goes.
  ReleaseChildren();
  if (m_hWnd != nullptr) DestroyWindow();
}

BOOL CTKPDockingPaneTabbedContainer::EnsureWindow() {
  if (m_hWnd != nullptr) return TRUE;
  if (m_pLayout == nullptr || m_pLayout->IsNotLive() || m_pDockingSite == nullptr ||
      m_pDockingSite->GetSafeHwnd() == nullptr) {
    return FALSE;
  }
  LPCTSTR cls = AfxRegisterWndClass(CS_DBLCLKS, ::LoadCursorW(nullptr, IDC_ARROW));
  if (!CreateEx(0, cls, _T(""), WS_CHILD | WS_CLIPCHILDREN | WS_CLIPSIBLINGS, 0, 0, 0, 0,
                m_pDockingSite->GetSafeHwnd(), nullptr)) {
    return FALSE;
  }
  for (CTKPDockingPane* pane : m_lstPanes) {
    if (pane->GetChild() != nullptr) ::SetParent(pane->GetChild(), m_hWnd);
  }
  m_pDropTarget->Register(m_hWnd);
  UpdateTabs();  // a loaded group has its panes before its window
  return TRUE;
}

void CTKPDockingPaneTabbedContainer::NotifySite(WPARAM wParam, LPARAM lParam) const {
  CTKPDockingPaneManager* manager = GetDockingPaneManager();
  if (manager != nullptr && manager->GetSite() != nullptr && manager->GetSite()->GetSafeHwnd() != nullptr) {
    manager->GetSite()->SendMessage(TKP_DOCKINGPANE_NOTIFY, wParam, lParam);
  }
}

void CTKPDockingPaneTabbedContainer::Init(CTKPDockingPane* pPane, CWnd* pSite) {
  m_pDockingSite = pSite;
  m_nDockingCX = pPane->m_nDockingCX;
  m_nDockingCY = pPane->m_nDockingCY;
  EnsureWindow();
  AddPane(pPane);
}

void CTKPDockingPaneTabbedContainer::AddPane(CTKPDockingPane* pPane, BOOL bSelect) {
  EnsureWindow();
  m_lstPanes.push_back(pPane);
  pPane->SetParentContainer(this);
  pPane->SetDockingSite(m_pDockingSite);
  SelectPane(pPane, bSelect);
  UpdateTabs();
  // The parent follows every change: a floating frame's title and close state, a panel's tabs.
  if (m_pParentContainer != nullptr) m_pParentContainer->OnChildContainerChanged(this);
}

void CTKPDockingPaneTabbedContainer::SelectPane(CTKPDockingPane* pPane, BOOL bSetFocus, BOOL bDelayRecalc) {
  if (pPane != nullptr && std::find(m_lstPanes.begin(), m_lstPanes.end(), pPane) == m_lstPanes.end()) return;
  if (pPane != m_pSelectedPane) {
    m_pSelectedPane = pPane;
    for (CTKPDockingPane* pane : m_lstPanes) {
      if (pane != pPane && pane->GetChild() != nullptr) ::ShowWindow(pane->GetChild(), SW_HIDE);
    }
    if (bDelayRecalc) {
      if (m_pDockingSite != nullptr && m_pDockingSite->AsFrameWnd() != nullptr) {
        m_pDockingSite->AsFrameWnd()->DelayRecalcLayout();
      }
      if (m_hWnd != nullptr && !m_rcWindow.IsRectEmpty()) OnPaneChanged(TRUE);
    } else {
      OnPaneChanged(TRUE);
    }
  }
  if (bSetFocus && pPane != nullptr) {
    CTKPDockingPaneManager* manager = GetDockingPaneManager();
    if (m_bActive && manager != nullptr) manager->OnActivatePane(TRUE, pPane);
    pPane->SetFocus();
  }
}

void CTKPDockingPaneTabbedContainer::Copy(CTKPDockingPaneTabbedContainer* pFrom, CMapPtrToPtr* pMap,
                                          DWORD dwSkipOptions) {
  m_bActive = FALSE;
  m_pSelectedPane = nullptr;
  m_pDragPane = nullptr;
  m_bCaptionVisible = TRUE;
  m_nUpdating = 0;
  CTKPDockingPaneManager* manager = GetDockingPaneManager();
  SetDockingSite(manager != nullptr ? manager->GetSite() : nullptr);
  m_nDockingCX = pFrom->m_nDockingCX;
  m_nDockingCY = pFrom->m_nDockingCY;
  m_rcWindow = pFrom->m_rcWindow;
  CTKPDockingPane* fromSelected = pFrom->GetSelected();
  CTKPDockingPane* selected = nullptr;
  const std::vector<CTKPDockingPane*> panes = pFrom->GetPanes();
  for (CTKPDockingPane* pane : panes) {
    CTKPDockingPane* added = pane;
    if (pMap != nullptr) {
      added = static_cast<CTKPDockingPane*>(pane->Clone(m_pLayout, pMap, dwSkipOptions));
      if (added == nullptr) continue;
    } else {
      if ((pane->GetOptions() & dwSkipOptions) != 0) continue;
      pFrom->RemovePane(pane);
    }
    AddPane(added);
    if (pane == fromSelected) selected = added;
  }
  if (selected != nullptr) SelectPane(selected, FALSE, TRUE);
}

CTKPDockingPaneBase* CTKPDockingPaneTabbedContainer::Clone(CTKPDockingPaneLayout* pLayout, CMapPtrToPtr* pMap,
                                                           DWORD dwSkipOptions) {
  auto* clone = static_cast<CTKPDockingPaneTabbedContainer*>(NewObject(pLayout, dock::kTabbedContainer));
  if (clone == nullptr) return nullptr;
  RecordClone(pMap, this, clone);
  clone->Copy(this, pMap, dwSkipOptions);
  return clone;
}

BOOL CTKPDockingPaneTabbedContainer::IsCaptionVertical() const {
  CTKPDockingPaneManager* manager = GetDockingPaneManager();
  switch (manager != nullptr ? manager->GetCaptionDirection() : 0) {
    case 1:
      return TRUE;
    case 2: {
      const int side = manager->GetPaneDirection(this);
      return side == 2 || side == 3;
    }
    case 3:
      return m_rcWindow.Width() > m_rcWindow.Height();
    default:
      return FALSE;
  }
}

BOOL CTKPDockingPaneTabbedContainer::IsTabsVisible() const {
  if (m_hWnd == nullptr) return FALSE;
  // Slid out of an auto-hide panel, the panel's tabs stand for the group's.
  if (m_pParentContainer != nullptr && m_pParentContainer->GetType() == dock::kAutoHidePanel) return FALSE;
  if (m_lstPanes.size() > 1) return TRUE;
  CTKPDockingPanePaintManager* paint = GetDockingPaintManager();
  return paint != nullptr && paint->m_bShowTabsForSinglePane;
}

BOOL CTKPDockingPaneTabbedContainer::IsCaptionVisible() const {
  return m_bCaptionVisible && m_pSelectedPane != nullptr && (m_pSelectedPane->GetOptions() & tkpPaneNoCaption) == 0;
}

void CTKPDockingPaneTabbedContainer::SetCaptionVisible(BOOL bVisible) {
  m_bCaptionVisible = bVisible;
  if (m_pDockingSite != nullptr && m_pDockingSite->AsFrameWnd() != nullptr) m_pDockingSite->AsFrameWnd()->DelayRecalcLayout();
}

CString CTKPDockingPaneTabbedContainer::GetTitle() const {
  return m_pSelectedPane != nullptr ? m_pSelectedPane->GetTitle() : CString();
}

void CTKPDockingPaneTabbedContainer::Activate() {
  if (m_pSelectedPane != nullptr) {
    m_pSelectedPane->SetFocus();
  } else if (m_hWnd != nullptr) {
    SetFocus();
  }
  for (CTKPDockingPane* pane : m_lstPanes) pane->OnIdleUpdate();
  OnIdleUpdate();
}

CTKPDockingPane* CTKPDockingPaneTabbedContainer::GetPaneByTab(int nIndex) const {
  CTKPTabManagerItem* item = GetItem(nIndex);
  return item != nullptr ? reinterpret_cast<CTKPDockingPane*>(item->GetData()) : nullptr;
}

void CTKPDockingPaneTabbedContainer::SwapPanes(CTKPDockingPane* pFirst, CTKPDockingPane* pSecond) {
  auto a = std::find(m_lstPanes.begin(), m_lstPanes.end(), pFirst);
  auto b = std::find(m_lstPanes.begin(), m_lstPanes.end(), pSecond);
  if (a != m_lstPanes.end() && b != m_lstPanes.end()) std::iter_swap(a, b);
}

// ---- tabs ----------------------------------------------------------------------------------------------

void CTKPDockingPaneTabbedContainer::UpdateTabs() {
  if (m_hWnd == nullptr) return;
  ++m_nUpdating;
  DeleteAllItems();
  for (CTKPDockingPane* pane : m_lstPanes) {
    CTKPTabManagerItem* item = InsertItem(GetItemCount(), pane->GetTabCaption());
    if (item == nullptr) continue;
    item->SetData(reinterpret_cast<DWORD_PTR>(pane));
    item->SetColor(pane->GetItemColor());
    item->SetTooltip(pane->GetTitle());
    if (pane == m_pSelectedPane) SetSelectedItem(item);
  }
  --m_nUpdating;
  for (CTKPDockingPaneCaptionButton* button : m_arrCaptionButtons) button->m_bHot = FALSE;
}

void CTKPDockingPaneTabbedContainer::Reposition() {
  if (m_nUpdating != 0) return;
  if (CTKPDockingPaneManager* manager = GetDockingPaneManager()) manager->RecalcFrames();
}

CTKPTabPaintManager* CTKPDockingPaneTabbedContainer::GetPaintManager() const {
  CTKPDockingPanePaintManager* paint = GetDockingPaintManager();
  return paint != nullptr ? paint->GetTabPaintManager() : nullptr;
}

void CTKPDockingPaneTabbedContainer::RedrawControl() {
  if (m_nUpdating == 0 && m_hWnd != nullptr) Invalidate(FALSE);
}

BOOL TKPDrawPaneTabIcon(CTKPTabPaintManager* pPaint, CDC* pDC, CPoint pt, CTKPTabManagerItem* pItem, BOOL bDraw,
                        CSize& szIcon) {
  if (pItem == nullptr) return TRUE;
  if (pPaint == nullptr || !pPaint->ShowIcons) return FALSE;
  auto* pane = reinterpret_cast<CTKPDockingPane*>(pItem->GetData());
  CTKPImageManagerIcon* icon = pane != nullptr ? pane->GetIcon(szIcon.cx) : nullptr;
  if (icon == nullptr) return FALSE;
  if (!bDraw) return TRUE;
  CTKPImageManagerIconHandle& image = !pItem->IsEnabled() ? icon->GetDisabledIcon()
                                            : pItem->IsSelected() ? icon->GetCheckedIcon()
                                            : pItem->IsHot()      ? icon->GetHotIcon()
                                                                  : icon->GetIcon();
  icon->Draw(pDC, pt, image, szIcon);
  return TRUE;
}

BOOL CTKPDockingPaneTabbedContainer::DrawIcon(CDC* pDC, CPoint pt, CTKPTabManagerItem* pItem, BOOL bDraw,
                                              CSize& szIcon) {
  return TKPDrawPaneTabIcon(GetPaintManager(), pDC, pt, pItem, bDraw, szIcon);
}

// ---- layout ---------------------------------------------------------------------------------------------

CRect CTKPDockingPaneTabbedContainer::ClientArea() {
  CRect rc(0, 0, m_rcWindow.Width(), m_rcWindow.Height());
  if (CTKPDockingPanePaintManager* paint = GetDockingPaintManager()) paint->AdjustClientRect(this, rc, TRUE);
  return rc;
}

void CTKPDockingPaneTabbedContainer::OnSizeParent(CWnd* pParent, CRect rect, AFX_SIZEPARENTPARAMS* lpLayout) {
  SetDockingSite(pParent);
  EnsureWindow();
  if (lpLayout != nullptr && lpLayout->hDWP == nullptr) return;  // only measuring
  m_rcWindow = rect;
  if (m_hWnd != nullptr) {
    AfxRepositionWindow(lpLayout, m_hWnd, rect);
    ::SetWindowPos(m_hWnd, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    if (!IsWindowVisible() && !IsHidden()) ShowWindow(SW_SHOWNA);
    Invalidate(FALSE);
  }
  UpdateTabs();
  if (CTKPDockingPaneCaptionButton* pin = FindCaptionButton(TKP_IDC_DOCKING_AUTOHIDE)) {
    bool floating = false;
    for (CTKPDockingPaneBase* p = m_pParentContainer; p != nullptr; p = p->GetContainer()) {
      floating = floating || p->GetType() == dock::kMiniFrame;
    }
    pin->m_dwState = IsHidden() ? 3 : floating ? 0 : 1;
  }
  CRect inner = ClientArea();
  inner.OffsetRect(rect.TopLeft());
  for (CTKPDockingPane* pane : m_lstPanes) {
    if (pane->GetChild() != nullptr && m_hWnd != nullptr) {
      ::ShowWindow(pane->GetChild(), pane == m_pSelectedPane ? SW_SHOWNA : SW_HIDE);
    }
    pane->OnSizeParent(pParent, inner, lpLayout);
  }
}

void CTKPDockingPaneTabbedContainer::OnPaneChanged(BOOL bRelayout) {
  if (m_hWnd == nullptr || m_bInPaneChanged) return;
  m_bInPaneChanged = TRUE;
  UpdateTabs();
  if (bRelayout && !m_rcWindow.IsRectEmpty()) {
    CRect inner = ClientArea();
    inner.OffsetRect(m_rcWindow.TopLeft());
    for (CTKPDockingPane* pane : m_lstPanes) {
      if (pane->GetChild() != nullptr) ::ShowWindow(pane->GetChild(), pane == m_pSelectedPane ? SW_SHOWNA : SW_HIDE);
      pane->OnSizeParent(m_pDockingSite, inner, nullptr);
    }
  }
  Invalidate(FALSE);
  if (m_pParentContainer != nullptr) m_pParentContainer->OnPaneChanged(bRelayout);
  m_bInPaneChanged = FALSE;
}

void CTKPDockingPaneTabbedContainer::SetDockingSite(CWnd* pSite) {
  m_pDockingSite = pSite;
  if (m_hWnd != nullptr && pSite != nullptr && pSite->GetSafeHwnd() != nullptr &&
      ::GetParent(m_hWnd) != pSite->GetSafeHwnd()) {
    ::SetParent(m_hWnd, pSite->GetSafeHwnd());
  }
  for (CTKPDockingPane* pane : m_lstPanes) pane->SetDockingSite(pSite);
}

void CTKPDockingPaneTabbedContainer::OnParentContainerChanged(CTKPDockingPaneBase* pContainer) {
  SetDockingSite(pContainer->GetDockingSite());
  m_bCaptionVisible = TRUE;
  EnsureWindow();
  if (m_hWnd != nullptr && pContainer->GetType() == dock::kAutoHidePanel) ShowWindow(SW_HIDE);
}

void CTKPDockingPaneTabbedContainer::GetMinMaxInfo(MINMAXINFO* pMinMaxInfo) const {
  CTKPDockingPaneBase::GetMinMaxInfo(pMinMaxInfo);
  if (m_lstPanes.empty()) return;
  bool collapsed = false;
  const CTKPDockingPaneBase* parent = m_pParentContainer;
  if (parent != nullptr && parent->GetType() == dock::kSplitterContainer) {
    for (const CTKPDockingPaneBase* child : static_cast<const CTKPDockingPaneSplitterContainer*>(parent)->GetChildren()) {
      if (child != this && child->GetType() == dock::kTabbedContainer && !child->IsEmpty() &&
          static_cast<const CTKPDockingPaneTabbedContainer*>(child)->IsMaximized()) {
        collapsed = true;
      }
    }
  }
  if (collapsed) {
    // Another group of the row is maximized: this one gives up its length.
    if (static_cast<const CTKPDockingPaneSplitterContainer*>(parent)->IsHorizontal()) {
      pMinMaxInfo->ptMaxTrackSize.x = 0;
    } else {
      pMinMaxInfo->ptMaxTrackSize.y = 0;
    }
  } else {
    for (const CTKPDockingPane* pane : m_lstPanes) {
      MINMAXINFO p;
      pane->GetMinMaxInfo(&p);
      pMinMaxInfo->ptMinTrackSize.x = std::max(pMinMaxInfo->ptMinTrackSize.x, p.ptMinTrackSize.x);
      pMinMaxInfo->ptMinTrackSize.y = std::max(pMinMaxInfo->ptMinTrackSize.y, p.ptMinTrackSize.y);
      pMinMaxInfo->ptMaxTrackSize.x = std::min(pMinMaxInfo->ptMaxTrackSize.x, p.ptMaxTrackSize.x);
      pMinMaxInfo->ptMaxTrackSize.y = std::min(pMinMaxInfo->ptMaxTrackSize.y, p.ptMaxTrackSize.y);
    }
  }
  // The caption and the tabs come on top of the panes' sizes.
  CTKPDockingPanePaintManager* paint = GetDockingPaintManager();
  if (paint == nullptr) return;
  CRect rc(0, 0, 1000, 1000);
  paint->AdjustClientRect(const_cast<CTKPDockingPaneTabbedContainer*>(this), rc, FALSE);
  const LONG dx = 1000 - rc.Width(), dy = 1000 - rc.Height();
  pMinMaxInfo->ptMinTrackSize.x += dx;
  pMinMaxInfo->ptMinTrackSize.y += dy;
  // Also a collapsed group: it keeps room for its caption.
  pMinMaxInfo->ptMaxTrackSize.x = std::min<LONG>(dock::kMaxTrack, pMinMaxInfo->ptMaxTrackSize.x + dx);
  pMinMaxInfo->ptMaxTrackSize.y = std::min<LONG>(dock::kMaxTrack, pMinMaxInfo->ptMaxTrackSize.y + dy);
}

void CTKPDockingPaneTabbedContainer::Maximize() {
  CTKPDockingPaneBase* parent = m_pParentContainer;
  if (parent == nullptr || parent->GetType() != dock::kSplitterContainer) return;
  for (CTKPDockingPaneBase* child : static_cast<CTKPDockingPaneSplitterContainer*>(parent)->GetChildren()) {
    if (child->GetType() == dock::kTabbedContainer) {
      static_cast<CTKPDockingPaneTabbedContainer*>(child)->m_bMaximized = child == this;
    }
  }
  if (m_pDockingSite != nullptr && m_pDockingSite->AsFrameWnd() != nullptr) m_pDockingSite->AsFrameWnd()->RecalcLayout();
}

void CTKPDockingPaneTabbedContainer::Restore() {
  m_bMaximized = FALSE;
  if (m_pDockingSite != nullptr && m_pDockingSite->AsFrameWnd() != nullptr) m_pDockingSite->AsFrameWnd()->RecalcLayout();
}

void CTKPDockingPaneTabbedContainer::OnIdleUpdate() {
  if (m_hWnd == nullptr) return;
  HWND focus = ::GetFocus();
  BOOL active = focus != nullptr && (focus == m_hWnd || ::IsChild(m_hWnd, focus));
  if (!active && focus != nullptr) {
    // A drop-down list that belongs to a pane's combo box still counts as inside.
    HWND owner = ::GetWindow(focus, GW_OWNER);
    if (owner == nullptr) owner = ::GetParent(focus);
    active = owner != nullptr && (owner == m_hWnd || ::IsChild(m_hWnd, owner));
  }
  CTKPDockingPaneManager* manager = GetDockingPaneManager();
  if (active != m_bActive) {
    m_bActive = active;
    if (manager != nullptr) manager->OnActivatePane(active, m_pSelectedPane);
    Invalidate(FALSE);
  } else if (active && manager != nullptr && manager->GetActivePane() != m_pSelectedPane) {
    manager->OnActivatePane(TRUE, m_pSelectedPane);
  }
  if (m_pSelectedPane != nullptr && m_pSelectedPane->GetChild() != nullptr) {
    ::SendMessageW(m_pSelectedPane->GetChild(), WM_IDLEUPDATECMDUI, 0, 0);
  }
}

void CTKPDockingPaneTabbedContainer::RemovePane(CTKPDockingPaneBase* pPane) {
  auto it = std::find_if(m_lstPanes.begin(), m_lstPanes.end(),
                         [pPane](CTKPDockingPane* pane) { return static_cast<CTKPDockingPaneBase*>(pane) == pPane; });
  if (it == m_lstPanes.end()) return;
  CTKPDockingPane* pane = *it;
  m_lstPanes.erase(it);
  if (m_pDragPane == pane) EndTabDrag();
  if (m_pDockingSite != nullptr && m_pDockingSite->AsFrameWnd() != nullptr) m_pDockingSite->AsFrameWnd()->DelayRecalcLayout();
  UpdateTabs();
  if (pane == m_pSelectedPane) {
    if (m_bActive) {
      m_bActive = FALSE;
      if (CTKPDockingPaneManager* manager = GetDockingPaneManager()) manager->OnActivatePane(FALSE, pane);
    }
    m_pSelectedPane = nullptr;
  }
  pane->SetParentContainer(nullptr);
  if (m_lstPanes.empty()) {
    // An empty group takes no room: maximized, it would leave its row-mates collapsed with no button to
    // restore them.
    m_bMaximized = FALSE;
    if (m_pParentContainer != nullptr) m_pParentContainer->OnChildContainerChanged(this);
    // An empty group has nothing to show; adding a pane makes its window again.
    if (m_hWnd != nullptr) DestroyWindow();
    return;
  }
  if (m_pSelectedPane == nullptr) SelectPane(m_lstPanes.back(), TRUE, TRUE);
  if (m_pParentContainer != nullptr) m_pParentContainer->OnChildContainerChanged(this);
}

void CTKPDockingPaneTabbedContainer::ReleaseChildren() {
  std::vector<CTKPDockingPane*> panes;
  panes.swap(m_lstPanes);
  m_pSelectedPane = nullptr;
  m_pDragPane = nullptr;
  m_bMaximized = FALSE;
  ++m_nUpdating;
  DeleteAllItems();
  --m_nUpdating;
  for (CTKPDockingPane* pane : panes) {
    if (pane->GetContainer() == this) pane->SetParentContainer(nullptr);
  }
}

BOOL CTKPDockingPaneTabbedContainer::IsHidden() const {
  return m_pParentContainer != nullptr && m_pParentContainer->GetType() == dock::kAutoHidePanel;
}

BOOL CTKPDockingPaneTabbedContainer::ContainsPane(const CTKPDockingPaneBase* pPane) const {
  return pPane == this || std::any_of(m_lstPanes.begin(), m_lstPanes.end(), [pPane](const CTKPDockingPane* pane) {
           return static_cast<const CTKPDockingPaneBase*>(pane) == pPane;
         });
}

void CTKPDockingPaneTabbedContainer::FindPane(int nType, std::vector<CTKPDockingPaneBase*>* pList) {
  if (nType == dock::kTabbedContainer) pList->push_back(this);
  if (nType != dock::kPane) return;
  for (CTKPDockingPane* pane : m_lstPanes) pList->push_back(pane);
}

void CTKPDockingPaneTabbedContainer::SaveRecord(dock::ObjectRecord* pRecord) const {
  CTKPDockingPaneBase::SaveRecord(pRecord);
  for (const CTKPDockingPane* pane : m_lstPanes) pRecord->children.push_back(pane->m_nIndex);
  pRecord->selected = m_pSelectedPane != nullptr ? m_pSelectedPane->m_nIndex : 0;
}

void CTKPDockingPaneTabbedContainer::LoadRecord(const dock::ObjectRecord& record,
                                                const std::vector<CTKPDockingPaneBase*>& objects) {
  CTKPDockingPaneBase::LoadRecord(record, objects);
  CTKPDockingPane* selected = nullptr;
  for (int index : record.children) {
    auto* pane = static_cast<CTKPDockingPane*>(objects[static_cast<size_t>(index) - 1]);
    m_lstPanes.push_back(pane);
    pane->SetParentContainer(this);
    if (index == record.selected) selected = pane;
  }
  // Each pane is selected as it is added: without a saved selection of its own, the last one stays.
  m_pSelectedPane = selected != nullptr ? selected : (m_lstPanes.empty() ? nullptr : m_lstPanes.back());
}

// ---- caption buttons -----------------------------------------------------------------------------------

BOOL CTKPDockingPaneTabbedContainer::IsCaptionButtonVisible(CTKPDockingPaneCaptionButton* pButton) {
  const DWORD options = m_pSelectedPane != nullptr ? m_pSelectedPane->GetOptions() : 0;
  CTKPDockingPaneManager* manager = GetDockingPaneManager();
  auto canMaximize = [this, manager]() {
    if (manager == nullptr || !manager->IsMaximizeButtonShown() || m_pParentContainer == nullptr ||
        m_pParentContainer->GetType() != dock::kSplitterContainer) {
      return false;
    }
    int groups = 0;
    for (const CTKPDockingPaneBase* child :
         static_cast<CTKPDockingPaneSplitterContainer*>(m_pParentContainer)->GetChildren()) {
      if (child->GetType() == dock::kTabbedContainer && !child->IsEmpty()) ++groups;
    }
    return groups > 1;
  };
  switch (pButton->GetID()) {
    case TKP_IDC_DOCKING_CLOSE:
      return m_pSelectedPane != nullptr && (options & tkpPaneNoCloseable) == 0;
    case TKP_IDC_DOCKING_AUTOHIDE:
      return m_pSelectedPane != nullptr && (options & tkpPaneNoHideable) == 0 && (pButton->m_dwState & 1) != 0;
    case TKP_IDC_DOCKING_MAXIMIZE:
      return canMaximize() && !m_bMaximized;
    case TKP_IDC_DOCKING_RESTORE:
      return canMaximize() && m_bMaximized;
    case TKP_IDC_DOCKING_MENU:
      return m_pSelectedPane != nullptr && (options & tkpPaneHasMenuButton) != 0;
    default:
      return TRUE;
  }
}

void CTKPDockingPaneTabbedContainer::OnCaptionButtonClick(CTKPDockingPaneCaptionButton* pButton) {
  CTKPDockingPaneManager* manager = GetDockingPaneManager();
  if (manager == nullptr) return;
  switch (pButton->GetID()) {
    case TKP_IDC_DOCKING_AUTOHIDE: {
      if (m_pSelectedPane == nullptr) return;
      if (IsHidden()) {
        manager->ToggleDocking(manager->IsHideGroupOnButtonClick() ? static_cast<CTKPDockingPaneBase*>(this)
                                                                   : m_pSelectedPane);
        return;
      }
      CTKPDockingPane* pane = m_pSelectedPane;
      if (manager->NotifyOwner(tkpPaneActionPinning, pane) != 0) return;
      const int side = manager->GetPaneDirection(this);
      for (CTKPDockingPane* p : m_lstPanes) {
        if (side < 2) {
          p->m_nDockingCX = m_rcWindow.Width();
        } else {
          p->m_nDockingCY = m_rcWindow.Height();
        }
      }
      manager->HidePane(pane);
      // The manager refuses silently (no panel from the factory): only a pane that went is told pinned.
      if (pane->IsHidden()) manager->NotifyOwner(tkpPaneActionPinned, pane);
      return;
    }
    case TKP_IDC_DOCKING_CLOSE: {
      std::vector<CTKPDockingPane*> panes;
      if (manager->IsCloseGroupOnButtonClick()) {
        panes.assign(m_lstPanes.rbegin(), m_lstPanes.rend());
      } else if (m_pSelectedPane != nullptr) {
        panes.push_back(m_pSelectedPane);
      }
      for (CTKPDockingPane* pane : panes) manager->ClosePaneByUser(pane);
      return;
    }
    case TKP_IDC_DOCKING_MAXIMIZE:
      Maximize();
      return;
    case TKP_IDC_DOCKING_RESTORE:
      Restore();
      return;
    case TKP_IDC_DOCKING_MENU: {
      if (m_pSelectedPane == nullptr) return;
      pButton->m_bPressed = TRUE;
      Invalidate(FALSE);
      UpdateWindow();
      CRect rc = pButton->GetRect();
      ClientToScreen(rc);
      TKP_DOCKINGPANE_MENU menu{m_pSelectedPane, {rc.left, rc.bottom}, rc};
      NotifySite(TKP_DPN_CONTEXTMENU, reinterpret_cast<LPARAM>(&menu));
      pButton->m_bPressed = FALSE;
      if (m_hWnd != nullptr) Invalidate(FALSE);
      return;
    }
    default:
      return;
  }
}

CTKPDockingPaneCaptionButton* CTKPDockingPaneTabbedContainer::ButtonAt(CPoint pt) const {
  for (CTKPDockingPaneCaptionButton* button : m_arrCaptionButtons) {
    if (!button->GetRect().IsRectEmpty() && button->GetRect().PtInRect(pt) && button->IsVisible()) return button;
  }
  return nullptr;
}

// ---- mouse ------------------------------------------------------------------------------------------------

int CTKPDockingPaneTabbedContainer::HitTestCaption(CPoint pt) {
  CRect client;
  CWnd::GetClientRect(client);
  if (IsCaptionVisible()) {
    CRect below = client;
    if (CTKPDockingPanePaintManager* paint = GetDockingPaintManager()) paint->AdjustCaptionRect(this, below);
    if (client.PtInRect(pt) && !below.PtInRect(pt)) return -2;
  }
  if (!IsTabsVisible()) return -1;
  CTKPTabManagerItem* item = HitTest(pt);
  return item != nullptr ? item->GetIndex() : -1;
}

BOOL CTKPDockingPaneTabbedContainer::IsCaptionOrTabsHit(CRect& rc, CPoint pt) {
  CTKPDockingPanePaintManager* paint = GetDockingPaintManager();
  if (paint == nullptr) return FALSE;
  if (!m_bCaptionVisible) {
    // The single group of a floating frame shows its caption as the frame's: the whole frame counts.
    CRect site = m_pDockingSite != nullptr ? CRect() : rc;
    if (m_pDockingSite != nullptr) m_pDockingSite->GetWindowRect(site);
    if (site.PtInRect(pt)) return TRUE;
  } else if (IsCaptionVisible()) {
    // (A group whose selected pane has no caption has no caption strip: only its tabs count.)
    const int caption = paint->m_nTitleHeight + 3;
    CRect band = rc;
    if (IsCaptionVertical()) {
      band.right = band.left + caption;
      rc.left = band.right;
    } else {
      band.bottom = band.top + caption;
      rc.top = band.bottom;
    }
    if (band.PtInRect(pt)) return TRUE;
  }
  if (IsTabsVisible()) {
    CRect strip = rc;
    strip.top = std::max<int>(strip.top, strip.bottom - paint->GetTabsHeight());
    rc.bottom = strip.top;
    if (strip.PtInRect(pt)) return TRUE;
  }
  return FALSE;
}

void CTKPDockingPaneTabbedContainer::OnCaptionLButtonDown(CPoint ptScreen) {
  Activate();
  if (::GetKeyState(VK_LBUTTON) >= 0) return;
  if (CTKPDockingPaneManager* manager = GetDockingPaneManager()) manager->GetDragContext()->Drag(this, ptScreen);
}

void CTKPDockingPaneTabbedContainer::OnLButtonDown(UINT, CPoint point) {
  if (CTKPDockingPaneCaptionButton* button = ButtonAt(point)) {
    Activate();
    if (m_pSelectedPane != nullptr && button->GetID() == TKP_IDC_DOCKING_MENU) {
      OnCaptionButtonClick(button);
    } else if (button->Click(this, point)) {
      OnCaptionButtonClick(button);
    }
    return;
  }
  if (IsTabsVisible() && PerformClick(m_hWnd, point, TRUE)) return;
  const int hit = HitTestCaption(point);
  if (hit == -2) {
    CPoint screen = point;
    ClientToScreen(screen);
    if (!IsHidden()) {
      OnCaptionLButtonDown(screen);
    } else {
      Activate();
    }
    return;
  }
  if (hit == -1) {
    Activate();
    return;
  }
  m_dragPlaces = tktab::ReorderPlaces();
  m_pDragPane = GetPaneByTab(hit);
  TrackDragPlaces();
  SelectPane(m_pDragPane, TRUE, FALSE);
  OnIdleUpdate();
  SetCapture();
  Invalidate(FALSE);
}

int CTKPDockingPaneTabbedContainer::TrackDragPlaces() {
  std::vector<const void*> panes;
  std::vector<CRect> rects;
  int dragged = -1;
  for (int i = 0; i < GetItemCount(); ++i) {
    panes.push_back(GetPaneByTab(i));
    rects.push_back(GetItem(i)->GetRect());
    if (panes.back() == m_pDragPane) dragged = i;
  }
  m_dragPlaces.Track(panes, rects);
  return dragged;
}

void CTKPDockingPaneTabbedContainer::EndTabDrag() {
  m_pDragPane = nullptr;
  m_dragPlaces = tktab::ReorderPlaces();
  if (m_hWnd != nullptr && ::GetCapture() == m_hWnd) ::ReleaseCapture();
}

void CTKPDockingPaneTabbedContainer::OnMouseMove(UINT, CPoint point) {
  if (IsTabsVisible()) PerformMouseMove(m_hWnd, point);
  if (m_pDragPane == nullptr) {
    for (CTKPDockingPaneCaptionButton* button : m_arrCaptionButtons) button->CheckForMouseOver(point);
    return;
  }
  const int dragged = TrackDragPlaces();  // panes closed or added meanwhile
  if (m_dragPlaces.Holds(point)) {
    CTKPDockingPane* other = GetPaneByTab(m_dragPlaces.Target(dragged, point));
    if (other != nullptr && other != m_pDragPane) {
      SwapPanes(m_pDragPane, other);
      OnPaneChanged(TRUE);
    }
    return;
  }
  // Out of the strip: the pane leaves the group and is dragged alone, unless the site refuses.
  CTKPDockingPaneManager* manager = GetDockingPaneManager();
  if (manager == nullptr || manager->NotifyOwner(tkpPaneActionDetaching, m_pDragPane) != 0) return;
  CTKPDockingPane* pane = m_pDragPane;
  EndTabDrag();
  CPoint screen = point;
  ClientToScreen(screen);
  manager->GetDragContext()->Drag(pane, screen);
}

void CTKPDockingPaneTabbedContainer::OnLButtonUp(UINT, CPoint) { EndTabDrag(); }

void CTKPDockingPaneTabbedContainer::OnCaptureChanged(CWnd*) {
  m_pDragPane = nullptr;
  m_dragPlaces = tktab::ReorderPlaces();
}

// 0x20000 and the help id of the pane under the point (its id when it has none).
LRESULT CTKPDockingPaneTabbedContainer::OnHelpHitTest(WPARAM, LPARAM lParam) {
  const CPoint pt(static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam)));
  const int hit = HitTestCaption(pt);
  CTKPDockingPane* pane = hit >= 0 ? GetPaneByTab(hit) : m_pSelectedPane;
  if (pane == nullptr) return 0;
  return 0x20000 + (pane->m_nHelpId != 0 ? pane->m_nHelpId : pane->GetID());
}

LRESULT CTKPDockingPaneTabbedContainer::OnMouseLeave(WPARAM, LPARAM) {
  OnMouseMove(0, CPoint(-1, -1));
  return 0;
}

void CTKPDockingPaneTabbedContainer::OnLButtonDblClk(UINT, CPoint point) {
  if (ButtonAt(point) != nullptr) return;
  if (IsTabsVisible() && FindNavigateButton(0) != nullptr) {
    for (int id = 0; id < 3; ++id) {
      CTKPTabManagerNavigateButton* nav = FindNavigateButton(id);
      if (nav != nullptr && nav->GetRect().PtInRect(point)) return;
    }
  }
  CTKPDockingPaneManager* manager = GetDockingPaneManager();
  if (manager == nullptr) return;
  const int hit = HitTestCaption(point);
  if (hit >= 0) {
    if (CTKPDockingPane* pane = GetPaneByTab(hit)) manager->ToggleDocking(pane);
  } else if (hit == -2) {
    if (IsHidden() && m_pSelectedPane != nullptr && (m_pSelectedPane->GetOptions() & tkpPaneNoHideable) != 0) return;
    manager->ToggleDocking(this);
  }
}

void CTKPDockingPaneTabbedContainer::OnRButtonDown(UINT, CPoint point) {
  const int hit = HitTestCaption(point);
  if (hit >= 0) {
    SelectPane(GetPaneByTab(hit), TRUE, TRUE);
    if (m_pDockingSite != nullptr && m_pDockingSite->AsFrameWnd() != nullptr) m_pDockingSite->AsFrameWnd()->RecalcLayout();
  }
  Activate();
  NotifySite(TKP_DPN_RCLICK, reinterpret_cast<LPARAM>(static_cast<CTKPDockingPaneBase*>(this)));
}

BOOL CTKPDockingPaneTabbedContainer::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
  // The tooltips see every message before the handlers do.
  if (CTKPDockingPaneManager* manager = GetDockingPaneManager()) manager->FilterToolTipMessage(this, message, wParam, lParam);
  return CWnd::OnWndMsg(message, wParam, lParam, pResult);
}

INT_PTR CTKPDockingPaneTabbedContainer::OnToolHitTest(CPoint point, TOOLINFO* pTI) const {
  if (CTKPDockingPaneCaptionButton* button = ButtonAt(point)) return button->FillToolInfo(m_hWnd, button->GetRect(), pTI);
  if (!IsTabsVisible()) return -1;
  CTKPTabManagerItem* item = HitTest(point);
  return item != nullptr ? FillToolTipInfo(m_hWnd, item, pTI) : -1;
}

void CTKPDockingPaneTabbedContainer::OnPaint() {
  CPaintDC paint(this);
  CTKPDockingPanePaintManager* manager = GetDockingPaintManager();
  CRect client;
  CWnd::GetClientRect(client);
  if (manager == nullptr || client.IsRectEmpty()) return;
  CTKPBufferDC dc(paint.GetSafeHdc(), client);
  manager->DrawPane(&dc, this, client);
}
