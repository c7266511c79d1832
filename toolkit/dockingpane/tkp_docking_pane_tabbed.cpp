#include "toolkit/dockingpane/tkp_docking_pane_tabbed.h"

#include <algorithm>

#include "toolkit/common/aux_data.h"
#include "toolkit/common/gdi_guards.h"
#include "toolkit/dockingpane/tkp_docking_pane.h"
#include "toolkit/dockingpane/tkp_docking_pane_layout.h"
#include "toolkit/dockingpane/tkp_docking_pane_manager.h"
#include "toolkit/dockingpane/tkp_docking_pane_paint_manager.h"

BEGIN_MESSAGE_MAP(CTKPDockingPaneTabbedContainer, CWnd)
  ON_WM_PAINT()
  ON_WM_ERASEBKGND()
  ON_WM_LBUTTONDOWN()
  ON_WM_RBUTTONDOWN()
END_MESSAGE_MAP()

CTKPDockingPaneTabbedContainer::CTKPDockingPaneTabbedContainer(CTKPDockingPaneLayout* pLayout)
    : CTKPDockingPaneBase(dock::kTabbedContainer, pLayout) {}

CTKPDockingPaneTabbedContainer::~CTKPDockingPaneTabbedContainer() {
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
  return TRUE;
}

void CTKPDockingPaneTabbedContainer::Init(CTKPDockingPane* pPane, CWnd* pSite) {
  m_pDockingSite = pSite;
  EnsureWindow();
  AddPane(pPane);
}

void CTKPDockingPaneTabbedContainer::AddPane(CTKPDockingPane* pPane, CTKPDockingPane* pBefore) {
  const bool wasEmpty = m_lstPanes.empty();
  auto it = std::find(m_lstPanes.begin(), m_lstPanes.end(), pBefore);
  m_lstPanes.insert(it, pPane);
  pPane->SetParentContainer(this);
  pPane->SetDockingSite(m_pDockingSite);
  SelectPane(pPane, FALSE);
  if (wasEmpty && m_pParentContainer != nullptr) m_pParentContainer->OnChildContainerChanged(this);
}

void CTKPDockingPaneTabbedContainer::SelectPane(CTKPDockingPane* pPane, BOOL bSetFocus, BOOL bDelayRecalc) {
  if (pPane != nullptr && std::find(m_lstPanes.begin(), m_lstPanes.end(), pPane) == m_lstPanes.end()) return;
  m_pSelectedPane = pPane;
  for (CTKPDockingPane* pane : m_lstPanes) {
    if (pane != pPane && pane->GetChild() != nullptr) ::ShowWindow(pane->GetChild(), SW_HIDE);
  }
  if (m_hWnd != nullptr && !m_rcWindow.IsRectEmpty()) {
    OnSizeParent(m_pDockingSite, m_rcWindow, nullptr);
    Invalidate(FALSE);
  }
  if (bDelayRecalc && m_pDockingSite != nullptr && m_pDockingSite->AsFrameWnd() != nullptr) {
    m_pDockingSite->AsFrameWnd()->DelayRecalcLayout();
  }
  if (bSetFocus && pPane != nullptr) pPane->SetFocus();
}

void CTKPDockingPaneTabbedContainer::MovePanesFrom(CTKPDockingPaneTabbedContainer* pFrom, DWORD dwSkipOptions) {
  m_nDockingCX = pFrom->m_nDockingCX;
  m_nDockingCY = pFrom->m_nDockingCY;
  CTKPDockingPane* selected = pFrom->GetSelected();
  const std::vector<CTKPDockingPane*> panes = pFrom->GetPanes();
  for (CTKPDockingPane* pane : panes) {
    if ((pane->GetOptions() & dwSkipOptions) != 0) continue;
    pFrom->RemovePane(pane);
    AddPane(pane);
  }
  if (std::find(m_lstPanes.begin(), m_lstPanes.end(), selected) != m_lstPanes.end()) SelectPane(selected, FALSE);
}

BOOL CTKPDockingPaneTabbedContainer::IsTabsVisible() const { return m_hWnd != nullptr && m_lstPanes.size() > 1; }

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

void CTKPDockingPaneTabbedContainer::GetMinMaxInfo(MINMAXINFO* pMinMaxInfo) const {
  CTKPDockingPaneBase::GetMinMaxInfo(pMinMaxInfo);
  for (const CTKPDockingPane* pane : m_lstPanes) {
    MINMAXINFO p;
    pane->GetMinMaxInfo(&p);
    pMinMaxInfo->ptMinTrackSize.x = std::max(pMinMaxInfo->ptMinTrackSize.x, p.ptMinTrackSize.x);
    pMinMaxInfo->ptMinTrackSize.y = std::max(pMinMaxInfo->ptMinTrackSize.y, p.ptMinTrackSize.y);
    pMinMaxInfo->ptMaxTrackSize.x = std::min(pMinMaxInfo->ptMaxTrackSize.x, p.ptMaxTrackSize.x);
    pMinMaxInfo->ptMaxTrackSize.y = std::min(pMinMaxInfo->ptMaxTrackSize.y, p.ptMaxTrackSize.y);
  }
}

CRect CTKPDockingPaneTabbedContainer::CaptionRect() const {
  CTKPDockingPanePaintManager* paint = GetPaintManager();
  const bool noCaption = m_pSelectedPane != nullptr && (m_pSelectedPane->GetOptions() & tkpPaneNoCaption) != 0;
  const int height = paint != nullptr && m_bCaptionVisible && !noCaption ? paint->GetCaptionHeight() : 0;
  return CRect(0, 0, m_rcWindow.Width(), std::min<int>(height, m_rcWindow.Height()));
}

CRect CTKPDockingPaneTabbedContainer::TabsRect() const {
  CTKPDockingPanePaintManager* paint = GetPaintManager();
  const int height = IsTabsVisible() && paint != nullptr ? paint->GetTabsHeight() : 0;
  const int top = std::max<int>(CaptionRect().bottom, m_rcWindow.Height() - height);
  return CRect(0, top, m_rcWindow.Width(), m_rcWindow.Height());
}

void CTKPDockingPaneTabbedContainer::OnSizeParent(CWnd* pParent, CRect rect, AFX_SIZEPARENTPARAMS* lpLayout) {
  m_pDockingSite = pParent;
  EnsureWindow();
  if (lpLayout != nullptr && lpLayout->hDWP == nullptr) return;  // only measuring
  m_rcWindow = rect;
  if (m_hWnd != nullptr) {
    AfxRepositionWindow(lpLayout, m_hWnd, rect);
    if (!IsWindowVisible()) ShowWindow(SW_SHOWNA);
  }
  CRect inner(0, CaptionRect().bottom, rect.Width(), TabsRect().top);
  LayoutTabs(TabsRect());
  inner.OffsetRect(rect.TopLeft());
  for (CTKPDockingPane* pane : m_lstPanes) {
    if (pane != m_pSelectedPane) continue;
    pane->OnSizeParent(pParent, inner, lpLayout);
    if (pane->GetChild() != nullptr && m_hWnd != nullptr) ::ShowWindow(pane->GetChild(), SW_SHOWNA);
  }
  if (m_hWnd != nullptr) Invalidate(FALSE);
}

void CTKPDockingPaneTabbedContainer::LayoutTabs(const CRect& rcTabs) {
  m_arrTabs.clear();
  if (!IsTabsVisible()) return;
  CClientDC dc(this);
  CTKPFontDC font(&dc, &TKPAuxData().fontBold);
  int x = rcTabs.left + 2;
  for (CTKPDockingPane* pane : m_lstPanes) {
    const CString caption = pane->GetTabCaption();
    SIZE extent{};
    ::GetTextExtentPoint32W(dc.GetSafeHdc(), caption, caption.GetLength(), &extent);
    const int width = std::max<int>(40, extent.cx + 16);
    m_arrTabs.push_back({pane, CRect(x, rcTabs.top + 1, x + width, rcTabs.bottom - 2)});
    x += width;
  }
}

void CTKPDockingPaneTabbedContainer::OnIdleUpdate() {
  const BOOL focus = (m_pSelectedPane != nullptr && m_pSelectedPane->IsFocus()) ||
                     (m_hWnd != nullptr && ::GetFocus() == m_hWnd);
  if (focus == m_bActive) return;
  m_bActive = focus;
  if (CTKPDockingPaneManager* manager = GetDockingPaneManager()) manager->OnActivatePane(focus, m_pSelectedPane);
  if (m_hWnd != nullptr) Invalidate(FALSE);
}

void CTKPDockingPaneTabbedContainer::OnPaneChanged(BOOL bRelayout) {
  if (m_hWnd != nullptr) Invalidate(FALSE);
  if (bRelayout && m_hWnd != nullptr && !m_rcWindow.IsRectEmpty()) OnSizeParent(m_pDockingSite, m_rcWindow, nullptr);
}

void CTKPDockingPaneTabbedContainer::OnParentContainerChanged(CTKPDockingPaneBase* pContainer) {
  m_pDockingSite = pContainer->GetDockingSite();
  if (m_hWnd != nullptr && m_pDockingSite != nullptr && ::GetParent(m_hWnd) != m_pDockingSite->GetSafeHwnd()) {
    ::SetParent(m_hWnd, m_pDockingSite->GetSafeHwnd());
  }
  EnsureWindow();
}

void CTKPDockingPaneTabbedContainer::RemovePane(CTKPDockingPaneBase* pPane) {
  auto it = std::find_if(m_lstPanes.begin(), m_lstPanes.end(),
                         [pPane](CTKPDockingPane* pane) { return static_cast<CTKPDockingPaneBase*>(pane) == pPane; });
  if (it == m_lstPanes.end()) return;
  CTKPDockingPane* pane = *it;
  m_lstPanes.erase(it);
  if (pane == m_pSelectedPane) {
    if (m_bActive) {
      m_bActive = FALSE;
      if (CTKPDockingPaneManager* manager = GetDockingPaneManager()) manager->OnActivatePane(FALSE, pane);
    }
    m_pSelectedPane = nullptr;
    SelectPane(m_lstPanes.empty() ? nullptr : m_lstPanes.front(), FALSE);
  }
  pane->SetParentContainer(nullptr);
  if (m_lstPanes.empty()) {
    if (m_hWnd != nullptr) ShowWindow(SW_HIDE);
    if (m_pParentContainer != nullptr) m_pParentContainer->OnChildContainerChanged(this);
  }
  if (m_pDockingSite != nullptr && m_pDockingSite->AsFrameWnd() != nullptr) m_pDockingSite->AsFrameWnd()->DelayRecalcLayout();
}

void CTKPDockingPaneTabbedContainer::ReleaseChildren() {
  std::vector<CTKPDockingPane*> panes;
  panes.swap(m_lstPanes);
  m_pSelectedPane = nullptr;
  m_arrTabs.clear();
  for (CTKPDockingPane* pane : panes) {
    if (pane->GetContainer() == this) pane->SetParentContainer(nullptr);
  }
}

BOOL CTKPDockingPaneTabbedContainer::IsHidden() const {
  return m_pParentContainer != nullptr && m_pParentContainer->GetType() == dock::kAutoHidePanel;
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
  m_pSelectedPane = selected != nullptr ? selected : (m_lstPanes.empty() ? nullptr : m_lstPanes.front());
}

void CTKPDockingPaneTabbedContainer::OnPaint() {
  CPaintDC dc(this);
  CTKPDockingPanePaintManager* paint = GetPaintManager();
  if (paint == nullptr) return;
  CRect client;
  GetClientRect(client);
  paint->FillPane(&dc, client);
  const CRect caption = CaptionRect();
  if (!caption.IsRectEmpty()) paint->DrawCaption(&dc, this, caption);
  if (IsTabsVisible()) paint->DrawTabs(&dc, this, TabsRect());
}

void CTKPDockingPaneTabbedContainer::OnLButtonDown(UINT, CPoint point) {
  for (const TabItem& tab : m_arrTabs) {
    if (tab.rect.PtInRect(point)) {
      SelectPane(tab.pane, TRUE);
      OnIdleUpdate();
      return;
    }
  }
  if (CaptionRect().PtInRect(point) && m_pSelectedPane != nullptr) {
    m_pSelectedPane->SetFocus();
    OnIdleUpdate();
  }
}

void CTKPDockingPaneTabbedContainer::OnRButtonDown(UINT, CPoint) {
  CTKPDockingPaneManager* manager = GetDockingPaneManager();
  if (manager != nullptr && manager->GetSite() != nullptr) {
    manager->GetSite()->SendMessage(TKP_DOCKINGPANE_NOTIFY, TKP_DPN_RCLICK,
                                    reinterpret_cast<LPARAM>(static_cast<CTKPDockingPaneBase*>(this)));
  }
}
