#include "toolkit/dockingpane/tkp_docking_pane_auto_hide.h"

#include <algorithm>

#include "res/toolkit_resource.h"
#include "toolkit/common/draw_helpers.h"
#include "toolkit/common/gdi_guards.h"
#include "toolkit/common/resource_manager.h"
#include "toolkit/common/splitter_tracker.h"
#include "toolkit/common/tkp_image_manager.h"
#include "toolkit/common/tracker_math.h"
#include "toolkit/dockingpane/dock_live_drag.h"
#include "toolkit/dockingpane/tkp_docking_pane.h"
#include "toolkit/dockingpane/tkp_docking_pane_layout.h"
#include "toolkit/dockingpane/tkp_docking_pane_manager.h"
#include "toolkit/dockingpane/tkp_docking_pane_tabbed.h"
#include "toolkit/tabmanager/tkp_tab_appearance.h"
#include "toolkit/tabmanager/tkp_tab_color_set.h"
#include "toolkit/tabmanager/tkp_tab_paint_manager.h"

namespace {

enum : UINT_PTR { kPoll = 1, kSlideOut = 2, kSlideIn = 3, kCloseNow = 4 };
constexpr UINT kPollMs = 100;
constexpr UINT kAnimationDurationMs = 128;
constexpr int kPolls = 6;  // polls away from the window before it slides in
constexpr int kEdge = 4;   // the draggable inner edge

const TKPAutoHideClock* g_clock = nullptr;

CTKPDockingPaneManager* ManagerOf(const CTKPDockingPaneBase* p) { return p->GetDockingPaneManager(); }

// The part of rc `depth` pixels deep along its side (0 left, 1 right, 2 top, 3 bottom).
CRect CutToSide(CRect rc, int side, int depth) {
  switch (side) {
    case 0:
      rc.right = rc.left + depth;
      break;
    case 1:
      rc.left = rc.right - depth;
      break;
    case 2:
      rc.bottom = rc.top + depth;
      break;
    default:
      rc.top = rc.bottom - depth;
      break;
  }
  return rc;
}

// The side across from it.
int Opposite(int side) { return side ^ 1; }

}  // namespace

void TKPSetAutoHideClock(const TKPAutoHideClock* pClock) { g_clock = pClock; }

// ---- a row of tabs ------------------------------------------------------------------------------------

CTKPTabPaintManager* CTKPDockingPaneAutoHideTabs::GetPaintManager() const {
  CTKPDockingPanePaintManager* paint = m_pPanel->CTKPDockingPaneBase::GetPaintManager();
  return paint != nullptr ? paint->GetPanelPaintManager() : nullptr;
}

void CTKPDockingPaneAutoHideTabs::RedrawControl() {
  if (m_pPanel->GetSafeHwnd() != nullptr) m_pPanel->Invalidate(FALSE);
}

BOOL CTKPDockingPaneAutoHideTabs::DrawIcon(CDC* pDC, CPoint pt, CTKPTabManagerItem* pItem, BOOL bDraw, CSize& szIcon) {
  return TKPDrawPaneTabIcon(GetPaintManager(), pDC, pt, pItem, bDraw, szIcon);
}

int CTKPDockingPaneAutoHideTabs::GetPosition() const {
  static const int kBySide[] = {3, 1, 2, 0};
  const int side = m_pPanel->GetDirection();
  return side >= 0 && side < 4 ? kBySide[side] : 0;
}

// ---- the panel -------------------------------------------------------------------------------------------

BEGIN_MESSAGE_MAP(CTKPDockingPaneAutoHidePanel, CWnd)
  ON_WM_PAINT()
  ON_WM_ERASEBKGND()
  ON_WM_LBUTTONDOWN()
  ON_WM_RBUTTONDOWN()
  ON_WM_MOUSEMOVE()
  ON_MESSAGE(WM_MOUSEHOVER, OnMouseHover)
  ON_MESSAGE(WM_MOUSELEAVE, OnMouseLeave)
END_MESSAGE_MAP()

CTKPDockingPaneAutoHidePanel::CTKPDockingPaneAutoHidePanel(CTKPDockingPaneLayout* pLayout)
    : CTKPDockingPaneBase(dock::kAutoHidePanel, pLayout) {
  // An OLE drag held over a tab slides its group out.
  m_pDropTarget = std::make_unique<CTKPDockingPaneDropTarget>([this](POINT pt) {
    CTKPDockingPanePaintManager* paint = CTKPDockingPaneBase::GetPaintManager();
    CTKPTabPaintManager* tabs = paint != nullptr ? paint->GetPanelPaintManager() : nullptr;
    CTKPDockingPane* pane = HitTestPane(CPoint(pt.x, pt.y));
    if (tabs == nullptr || !tabs->SelectOnDragOver || pane == nullptr) return;
    if (m_pActiveWnd != nullptr && m_pActiveWnd->GetContainer() != nullptr &&
        m_pActiveWnd->GetContainer()->GetSelected() == pane) {
      return;
    }
    CloseSlidingWindow(FALSE);
    ShowSlidingWindow(pane, FALSE);
  });
}

CTKPDockingPaneAutoHidePanel::~CTKPDockingPaneAutoHidePanel() {
  m_pDropTarget.reset();
  DestroySlidingWindows();
  DeleteTabs();
  if (m_hWnd != nullptr) DestroyWindow();
}

void CTKPDockingPaneAutoHidePanel::DeleteTabs() {
  for (CTKPDockingPaneAutoHideTabs* row : m_lstTabs) delete row;
  m_lstTabs.clear();
}

BOOL CTKPDockingPaneAutoHidePanel::Create(CWnd* pParent) {
  LPCTSTR cls = AfxRegisterWndClass(0, ::LoadCursorW(nullptr, IDC_ARROW));
  if (!CreateEx(0, cls, _T(""), WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN, 0, 0, 0, 0,
                pParent->GetSafeHwnd(), nullptr)) {
    return FALSE;
  }
  m_pDropTarget->Register(m_hWnd);
  return TRUE;
}

int CTKPDockingPaneAutoHidePanel::Thickness() const {
  CTKPDockingPanePaintManager* paint = CTKPDockingPaneBase::GetPaintManager();
  CTKPTabPaintManager* tabs = paint != nullptr ? paint->GetPanelPaintManager() : nullptr;
  if (tabs == nullptr || tabs->GetAppearanceObject() == nullptr) return 24;
  CTKPDockingPaneAutoHideTabs probe(const_cast<CTKPDockingPaneAutoHidePanel*>(this));
  const CRect margin = tabs->GetAppearanceObject()->GetHeaderMargin();
  return tabs->GetAppearanceObject()->GetButtonHeight(&probe) + margin.top + margin.bottom;
}

void CTKPDockingPaneAutoHidePanel::Reposition(CWnd* pSite, CRect& rect, AFX_SIZEPARENTPARAMS* lpLayout) {
  m_pDockingSite = pSite;
  if (IsEmpty()) {
    if (m_hWnd != nullptr) DestroyWindow();
    return;
  }
  if (m_hWnd == nullptr && (pSite == nullptr || !Create(pSite))) return;
  CloseSlidingWindow(FALSE);
  const int thickness = Thickness();
  const CRect strip = CutToSide(rect, m_nDirection, thickness);
  const bool vertical = m_nDirection < 2;
  rect = CutToSide(rect, Opposite(m_nDirection), (vertical ? rect.Width() : rect.Height()) - thickness);
  m_rcStrip = strip;
  {
    CClientDC dc(this);
    RebuildTabs(&dc, CRect(0, 0, strip.Width(), strip.Height()));
  }
  if (lpLayout != nullptr && lpLayout->hDWP != nullptr) {
    AfxRepositionWindow(lpLayout, m_hWnd, strip);
    Invalidate(FALSE);
  }
}

void CTKPDockingPaneAutoHidePanel::RebuildTabs(CDC* pDC, CRect rcStrip) {
  DeleteTabs();
  CTKPDockingPanePaintManager* paint = CTKPDockingPaneBase::GetPaintManager();
  CTKPTabPaintManager* tabs = paint != nullptr ? paint->GetPanelPaintManager() : nullptr;
  if (tabs == nullptr) return;
  const bool vertical = m_nDirection < 2;
  int pos = 0;
  // Left and right rows start below the top panel's strip, so that the corners do not overlap.
  if (vertical && m_pLayout != nullptr) {
    CTKPDockingPaneBase* top = m_pLayout->GetPanel(2);
    if (top != nullptr && !top->IsEmpty()) pos = Thickness();
  }
  for (CTKPDockingPaneBase* container : m_lstContainers) {
    if (container->IsEmpty() || container->GetType() != dock::kTabbedContainer) continue;
    auto* group = static_cast<CTKPDockingPaneTabbedContainer*>(container);
    auto* row = new CTKPDockingPaneAutoHideTabs(this);
    for (CTKPDockingPane* pane : group->GetPanes()) {
      CTKPTabManagerItem* item = row->InsertItem(row->GetItemCount(), pane->GetTabCaption());
      if (item == nullptr) continue;
      item->SetData(reinterpret_cast<DWORD_PTR>(pane));
      item->SetColor(pane->GetItemColor());
      item->SetTooltip(pane->GetTitle());
      // The group's selected pane is the row's selected tab: with icon tabs it is the one that shows its
      // caption.
      if (pane == group->GetSelected()) row->SetSelectedItem(item);
    }
    CRect rc = rcStrip;
    if (vertical) {
      rc.top += pos;
    } else {
      rc.left += pos;
    }
    // One tab paint manager serves the panels of all four sides: the strip lies along this panel's.
    tabs->Position = row->GetPosition();
    tabs->RepositionTabControl(row, pDC, rc);
    const int length = row->GetItemsLength();
    row->m_rcRow = vertical ? CRect(rc.left, rc.top, rc.right, rc.top + length)
                            : CRect(rc.left, rc.top, rc.left + length, rc.bottom);
    const CRect margin = tabs->GetAppearanceObject() != nullptr ? tabs->GetAppearanceObject()->GetHeaderMargin() : CRect();
    pos += length + 8 + (vertical ? margin.top + margin.bottom : margin.left + margin.right);
    m_lstTabs.push_back(row);
  }
}

void CTKPDockingPaneAutoHidePanel::AddContainer(CTKPDockingPaneBase* pContainer) {
  m_lstContainers.push_back(pContainer);
  HWND containerWnd = pContainer->GetPaneHwnd();
  const bool hadFocus = containerWnd != nullptr && (::GetFocus() == containerWnd || ::IsChild(containerWnd, ::GetFocus()));
  pContainer->SetParentContainer(this);
  pContainer->SetDockingSite(m_pDockingSite);
  if (m_pDockingSite != nullptr && m_pDockingSite->AsFrameWnd() != nullptr) m_pDockingSite->AsFrameWnd()->DelayRecalcLayout();
  pContainer->OnParentContainerChanged(this);
  if (containerWnd != nullptr) ::ShowWindow(containerWnd, SW_HIDE);
  if (hadFocus && m_pDockingSite != nullptr) m_pDockingSite->SetFocus();
  if (m_hWnd != nullptr) Invalidate(FALSE);
}

void CTKPDockingPaneAutoHidePanel::AttachLoadedContainers(CWnd* pSite) {
  m_pDockingSite = pSite;
  for (CTKPDockingPaneBase* container : m_lstContainers) {
    container->SetDockingSite(pSite);
    container->OnParentContainerChanged(this);
  }
}

void CTKPDockingPaneAutoHidePanel::OnChildContainerChanged(CTKPDockingPaneBase*) {
  CTKPDockingPaneManager* manager = ManagerOf(this);
  if (m_pActiveWnd != nullptr && manager != nullptr) {
    if (manager->IsCloseInactiveWindow()) {
      CloseSlidingWindow(manager->IsAttaching());
    } else {
      // The window stays out: the frame and the window lay the changed group out where it is.
      if (m_pDockingSite != nullptr && m_pDockingSite->AsFrameWnd() != nullptr) m_pDockingSite->AsFrameWnd()->RecalcLayout();
      if (m_pActiveWnd != nullptr) m_pActiveWnd->RecalcLayout();
    }
  }
  OnPaneChanged(FALSE);
}

void CTKPDockingPaneAutoHidePanel::OnPaneChanged(BOOL) {
  if (m_hWnd == nullptr) return;
  CClientDC dc(this);
  CRect client;
  GetClientRect(client);
  RebuildTabs(&dc, client);
  Invalidate(FALSE);
}

void CTKPDockingPaneAutoHidePanel::RemovePane(CTKPDockingPaneBase* pPane) {
  auto it = std::find(m_lstContainers.begin(), m_lstContainers.end(), pPane);
  if (it == m_lstContainers.end()) return;
  if (m_pActiveWnd != nullptr && static_cast<CTKPDockingPaneBase*>(m_pActiveWnd->GetContainer()) == pPane) {
    // The group leaves while it is slid out: its window goes back to the frame at once.
    m_pActiveWnd->ReleaseContainer();
    m_pActiveWnd->CloseLater();
    m_pActiveWnd = nullptr;
  }
  m_lstContainers.erase(it);
  if (m_hWnd != nullptr) Invalidate(FALSE);
  if (m_pDockingSite != nullptr && m_pDockingSite->AsFrameWnd() != nullptr) m_pDockingSite->AsFrameWnd()->DelayRecalcLayout();
  if (m_lstContainers.empty() && m_hWnd != nullptr) DestroyWindow();
  pPane->SetParentContainer(nullptr);
}

BOOL CTKPDockingPaneAutoHidePanel::IsEmpty() const {
  return std::all_of(m_lstContainers.begin(), m_lstContainers.end(),
                     [](const CTKPDockingPaneBase* c) { return c->IsEmpty(); });
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

void CTKPDockingPaneAutoHidePanel::DestroySlidingWindows() {
  // A window still closing would otherwise reach this panel after it is gone.
  const std::vector<CTKPDockingPaneAutoHideWnd*> windows = m_lstWindows;
  for (CTKPDockingPaneAutoHideWnd* wnd : windows) {
    wnd->ReleaseContainer();
    wnd->DestroyWindow();
  }
  m_lstWindows.clear();
  m_pActiveWnd = nullptr;
}

void CTKPDockingPaneAutoHidePanel::ReleaseChildren() {
  DestroySlidingWindows();
  m_lstContainers.clear();
  DeleteTabs();
}

CTKPDockingPaneBase* CTKPDockingPaneAutoHidePanel::Clone(CTKPDockingPaneLayout* pLayout, CMapPtrToPtr* pMap,
                                                         DWORD dwSkipOptions) {
  auto* clone = static_cast<CTKPDockingPaneAutoHidePanel*>(NewObject(pLayout, dock::kAutoHidePanel));
  if (clone == nullptr) return nullptr;
  clone->m_nDirection = m_nDirection;
  CTKPDockingPaneManager* manager = ManagerOf(this);
  clone->m_pDockingSite = manager != nullptr ? manager->GetSite() : nullptr;
  const std::vector<CTKPDockingPaneBase*> containers = m_lstContainers;
  for (CTKPDockingPaneBase* container : containers) {
    if (pMap == nullptr && container->IsEmpty()) continue;
    if (CTKPDockingPaneBase* copy = container->Clone(pLayout, pMap, dwSkipOptions)) clone->AddContainer(copy);
  }
  RecordClone(pMap, this, clone);
  return clone;
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

CTKPDockingPane* CTKPDockingPaneAutoHidePanel::HitTestPane(CPoint pt) const {
  for (CTKPDockingPaneAutoHideTabs* row : m_lstTabs) {
    if (CTKPTabManagerItem* item = row->HitTest(pt)) return reinterpret_cast<CTKPDockingPane*>(item->GetData());
  }
  return nullptr;
}

void CTKPDockingPaneAutoHidePanel::ForgetSlidingWindow(CTKPDockingPaneAutoHideWnd* pWnd) {
  if (m_pActiveWnd == pWnd) m_pActiveWnd = nullptr;
}

void CTKPDockingPaneAutoHidePanel::OnSlidingWindowEnded(CTKPDockingPaneAutoHideWnd* pWnd) {
  ForgetSlidingWindow(pWnd);
  m_lstWindows.erase(std::remove(m_lstWindows.begin(), m_lstWindows.end(), pWnd), m_lstWindows.end());
}

void CTKPDockingPaneAutoHidePanel::ShowSlidingWindow(CTKPDockingPane* pPane, BOOL bSetFocus) {
  CTKPDockingPaneManager* manager = ManagerOf(this);
  if (pPane == nullptr || manager == nullptr || manager->NotifyOwner(tkpPaneActionExpanding, pPane) != 0) return;
  CTKPDockingPaneBase* container = pPane->GetContainer();
  if (container == nullptr || container->GetType() != dock::kTabbedContainer) return;
  auto* group = static_cast<CTKPDockingPaneTabbedContainer*>(container);
  auto* wnd = new CTKPDockingPaneAutoHideWnd(this, group);
  if (wnd->GetSafeHwnd() == nullptr) {
    // No window: nothing ends it later, so it goes now.
    delete wnd;
    return;
  }
  m_lstWindows.push_back(wnd);
  group->SelectPane(pPane, bSetFocus, FALSE);
  Invalidate(FALSE);
  if (m_pDockingSite != nullptr && m_pDockingSite->AsFrameWnd() != nullptr) m_pDockingSite->AsFrameWnd()->RecalcLayout();
  m_pActiveWnd = wnd->GetSafeHwnd() != nullptr ? wnd : nullptr;
}

void CTKPDockingPaneAutoHidePanel::CloseSlidingWindow(BOOL bImmediate) {
  CTKPDockingPaneManager* manager = ManagerOf(this);
  if (m_pActiveWnd == nullptr || manager == nullptr || !manager->IsCloseInactiveWindow()) return;
  if (CTKPDockingPaneTabbedContainer* group = m_pActiveWnd->GetContainer()) {
    if (manager->NotifyOwner(tkpPaneActionCollapsing, group->GetSelected()) != 0) return;
    manager->NotifyOwner(tkpPaneActionCollapsed, group->GetSelected());
  }
  if (bImmediate) {
    m_pActiveWnd->ReleaseContainer();
    m_pActiveWnd->CloseLater();
  } else {
    m_pActiveWnd->Close();
  }
  m_pActiveWnd = nullptr;
}

// The panels' gradient is as wide as half the screen at least, so that the thin strips show its light
// end; on the right it runs over the whole frame, so that it continues across from the left panel.
CRect CTKPDockingPaneAutoHidePanel::GradientRect(const CRect& client) const {
  CRect rc = client;
  if (m_nDirection == 1 && GetParent() != nullptr) {
    CRect parent;
    GetParent()->GetWindowRect(parent);
    ScreenToClient(parent);
    rc.left = parent.left;
    rc.right = parent.right;
  }
  rc.right = std::max<LONG>(rc.right, rc.left + ::GetSystemMetrics(SM_CXFULLSCREEN) / 2);
  return rc;
}

void CTKPDockingPaneAutoHidePanel::OnPaint() {
  CPaintDC paint(this);
  CRect client;
  GetClientRect(client);
  if (client.IsRectEmpty()) return;
  CTKPBufferDC dc(paint.GetSafeHdc(), client);
  CTKPDockingPanePaintManager* manager = CTKPDockingPaneBase::GetPaintManager();
  CTKPTabPaintManager* tabs = manager != nullptr ? manager->GetPanelPaintManager() : nullptr;
  COLORREF light = ::GetSysColor(COLOR_BTNFACE), dark = light;
  if (tabs != nullptr && tabs->GetColorSet() != nullptr) {
    // A custom colour left unset (-1), or for the dark end also -2, gives way to the standard one.
    auto pick = [](const CTKPColorValue& value, bool dark) {
      const tkcolor::Color custom = value.GetCustomColor();
      const bool standard = custom == kTKPNoColor || (dark && custom == kTKPNoColor - 1);
      return static_cast<COLORREF>(standard ? value.GetStandardColor() : custom);
    };
    light = pick(tabs->GetColorSet()->m_grcHeader.clrLight, false);
    dark = pick(tabs->GetColorSet()->m_grcHeader.clrDark, true);
  }
  if (light == dark) {
    dc.FillSolidRect(client, light);
  } else {
    TKPDrawHelpers()->GradientFill(&dc, GradientRect(client), light, dark, TRUE);
  }
  if (tabs == nullptr) return;
  for (CTKPDockingPaneAutoHideTabs* row : m_lstTabs) {
    tabs->Position = row->GetPosition();
    tabs->DrawTabControl(row, &dc, row->m_rcRow);
  }
}

void CTKPDockingPaneAutoHidePanel::OnMouseMove(UINT, CPoint point) {
  for (CTKPDockingPaneAutoHideTabs* row : m_lstTabs) row->PerformMouseMove(m_hWnd, point);
  if (HitTestPane(point) != nullptr) {
    TRACKMOUSEEVENT tme{sizeof(tme), TME_HOVER | TME_LEAVE, m_hWnd, HOVER_DEFAULT};
    ::TrackMouseEvent(&tme);
  }
}

LRESULT CTKPDockingPaneAutoHidePanel::OnMouseHover(WPARAM, LPARAM lParam) {
  const CPoint point(static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam)));
  CTKPDockingPane* pane = HitTestPane(point);
  if (pane == nullptr || !CTKPDrawHelpers::IsTopParentActive(m_hWnd)) return 0;
  if (m_pActiveWnd != nullptr && m_pActiveWnd->GetContainer() != nullptr &&
      m_pActiveWnd->GetContainer()->GetSelected() == pane) {
    return 0;
  }
  CloseSlidingWindow(FALSE);
  ShowSlidingWindow(pane, FALSE);
  return 0;
}

LRESULT CTKPDockingPaneAutoHidePanel::OnMouseLeave(WPARAM, LPARAM) {
  for (CTKPDockingPaneAutoHideTabs* row : m_lstTabs) row->PerformMouseMove(m_hWnd, CPoint(-1, -1));
  return 0;
}

void CTKPDockingPaneAutoHidePanel::OnLButtonDown(UINT, CPoint point) {
  CTKPDockingPane* pane = HitTestPane(point);
  if (pane == nullptr) return;
  if (m_pActiveWnd != nullptr && m_pActiveWnd->GetContainer() != nullptr &&
      m_pActiveWnd->GetContainer()->GetSelected() == pane) {
    pane->SetFocus();
    return;
  }
  CloseSlidingWindow(FALSE);
  ShowSlidingWindow(pane, TRUE);
}

void CTKPDockingPaneAutoHidePanel::OnRButtonDown(UINT, CPoint point) {
  CTKPDockingPane* pane = HitTestPane(point);
  CTKPDockingPaneManager* manager = ManagerOf(this);
  if (pane == nullptr || manager == nullptr || manager->GetSite() == nullptr) return;
  manager->GetSite()->SendMessage(TKP_DOCKINGPANE_NOTIFY, TKP_DPN_RCLICK,
                                  reinterpret_cast<LPARAM>(static_cast<CTKPDockingPaneBase*>(pane)));
}

// ---- the sliding window -------------------------------------------------------------------------------------

BEGIN_MESSAGE_MAP(CTKPDockingPaneAutoHideWnd, CMiniFrameWnd)
  ON_WM_PAINT()
  ON_WM_TIMER()
  ON_WM_CLOSE()
  ON_WM_LBUTTONDOWN()
  ON_WM_MOUSEMOVE()
  ON_WM_ERASEBKGND()
END_MESSAGE_MAP()

CTKPDockingPaneAutoHideWnd::CTKPDockingPaneAutoHideWnd(CTKPDockingPaneAutoHidePanel* pPanel,
                                                       CTKPDockingPaneTabbedContainer* pContainer)
    : m_pContainer(pContainer), m_pPanel(pPanel), m_nDirection(pPanel->GetDirection()) {
  m_bHoriz = m_nDirection == 2 || m_nDirection == 3;
  CTKPDockingPaneManager* manager = pPanel->GetDockingPaneManager();
  CFrameWnd* site = manager != nullptr ? manager->GetSite() : nullptr;
  if (site == nullptr || site->GetSafeHwnd() == nullptr) return;
  const CRect docked = DockedArea();
  MINMAXINFO mmi;
  GetMinMaxInfo(&mmi, TRUE);
  CTKPDockingPane* pane = pContainer->GetSelected();
  const int preferred = pane == nullptr ? 0 : (m_bHoriz ? pane->m_nDockingCY : pane->m_nDockingCX);
  int depth = std::min<int>(preferred + kEdge, m_bHoriz ? mmi.ptMaxTrackSize.y : mmi.ptMaxTrackSize.x);
  depth = std::max<int>(depth, m_bHoriz ? mmi.ptMinTrackSize.y : mmi.ptMinTrackSize.x);
  // Never past the docked area: a size kept from a larger frame, or a minimum larger than the frame,
  // would reach over the opposite panel or out of the frame.
  depth = std::clamp<int>(depth, 0, std::max<int>(0, m_bHoriz ? docked.Height() : docked.Width()));
  const BOOL rtl = manager->IsLayoutRTL();
  CRect rc = CutToSide(docked, rtl && m_nDirection < 2 ? Opposite(m_nDirection) : m_nDirection, depth);
  site->ScreenToClient(rc);
  m_rcFinal = rc;
  HCURSOR cursor = ::LoadCursorW(nullptr, IDC_ARROW);
  if (CanResize()) {
    if (HCURSOR own = TKPResourceManager()->LoadCursor(m_bHoriz ? IDC_TK_SPLIT_VERT : IDC_TK_SPLIT_HORZ)) cursor = own;
  }
  site->SendMessage(WM_SETREDRAW, FALSE);
  LPCTSTR cls = AfxRegisterWndClass(0, cursor);
  const DWORD exStyle = site->GetExStyle() & WS_EX_LAYOUTRTL;
  CMiniFrameWnd::CreateEx(exStyle, cls, _T(""), WS_CHILD | WS_CLIPSIBLINGS | WS_CLIPCHILDREN, m_rcFinal, site);
  site->SendMessage(WM_SETREDRAW, TRUE);
  if (m_hWnd == nullptr) return;
  const UINT length = static_cast<UINT>(m_bHoriz ? m_rcFinal.Height() : m_rcFinal.Width());
  const double speed = manager->GetAnimationSpeed();
  m_nStepsCount = speed <= 0 ? static_cast<int>(kAnimationDurationMs / kTKPPaneAnimationIntervalMs)
                             : static_cast<int>(length / speed);
  m_nStepsCount = std::max(1, m_nStepsCount);
  m_nStep = 0;
  m_bClosing = FALSE;
  if (m_nStepsCount > 1) StartTimer(kSlideOut, kTKPPaneAnimationIntervalMs);
  ApplyStep();
  ShowWindow(SW_SHOWNA);
  StartTimer(kPoll, kPollMs);
  m_nDeactivationCount = kPolls;
}

CRect CTKPDockingPaneAutoHideWnd::DockedArea() const {
  CTKPDockingPaneManager* manager = m_pPanel->GetDockingPaneManager();
  CTKPDockingPaneBase* top = manager != nullptr ? manager->GetTopPane() : nullptr;
  return top != nullptr ? top->GetWindowRect() : CRect();
}

void CTKPDockingPaneAutoHideWnd::GetMinMaxInfo(MINMAXINFO* pMinMaxInfo, BOOL bWithEdge) const {
  *pMinMaxInfo = MINMAXINFO{};
  pMinMaxInfo->ptMaxTrackSize = {dock::kMaxTrack, dock::kMaxTrack};
  if (m_pContainer != nullptr && m_pContainer->GetSelected() != nullptr) {
    m_pContainer->GetSelected()->GetMinMaxInfo(pMinMaxInfo);
    CTKPDockingPanePaintManager* paint = m_pContainer->GetDockingPaintManager();
    if (paint != nullptr) {
      CRect rc(0, 0, 1000, 1000);
      paint->AdjustCaptionRect(m_pContainer, rc);
      pMinMaxInfo->ptMinTrackSize.x += 1000 - rc.Width();
      pMinMaxInfo->ptMinTrackSize.y += 1000 - rc.Height();
      pMinMaxInfo->ptMaxTrackSize.x = std::min<LONG>(dock::kMaxTrack, pMinMaxInfo->ptMaxTrackSize.x + 1000 - rc.Width());
      pMinMaxInfo->ptMaxTrackSize.y =
          std::min<LONG>(dock::kMaxTrack, pMinMaxInfo->ptMaxTrackSize.y + 1000 - rc.Height());
    }
  }
  if (!bWithEdge) return;
  LONG& minimum = m_bHoriz ? pMinMaxInfo->ptMinTrackSize.y : pMinMaxInfo->ptMinTrackSize.x;
  LONG& maximum = m_bHoriz ? pMinMaxInfo->ptMaxTrackSize.y : pMinMaxInfo->ptMaxTrackSize.x;
  minimum += kEdge;
  maximum = std::min<LONG>(dock::kMaxTrack, maximum + kEdge);
}

BOOL CTKPDockingPaneAutoHideWnd::CanResize() const {
  CTKPDockingPaneManager* manager = m_pPanel->GetDockingPaneManager();
  if (manager == nullptr || manager->IsSplittersLocked()) return FALSE;
  MINMAXINFO mmi;
  GetMinMaxInfo(&mmi, TRUE);
  const CRect docked = DockedArea();
  const int room = (m_bHoriz ? docked.Height() : docked.Width()) - manager->GetSplitterGap() - kEdge;
  return room > (m_bHoriz ? mmi.ptMinTrackSize.y : mmi.ptMinTrackSize.x);
}

void CTKPDockingPaneAutoHideWnd::StartTimer(UINT_PTR nID, UINT nElapse) {
  if (g_clock != nullptr && g_clock->setTimer) {
    g_clock->setTimer(m_hWnd, nID, nElapse);
  } else {
    SetTimer(nID, nElapse, nullptr);
  }
}

void CTKPDockingPaneAutoHideWnd::StopTimer(UINT_PTR nID) {
  if (g_clock != nullptr && g_clock->killTimer) {
    g_clock->killTimer(m_hWnd, nID);
  } else {
    KillTimer(nID);
  }
}

POINT CTKPDockingPaneAutoHideWnd::CursorPos() const {
  if (g_clock != nullptr && g_clock->cursorPos) return g_clock->cursorPos();
  POINT pt{};
  ::GetCursorPos(&pt);
  return pt;
}

void CTKPDockingPaneAutoHideWnd::ApplyStep() {
  const int depth = m_bHoriz ? m_rcFinal.Height() : m_rcFinal.Width();
  const CRect rc = CutToSide(m_rcFinal, m_nDirection, depth * (m_nStep + 1) / m_nStepsCount);
  SetWindowPos(&CWnd::wndTop, rc.left, rc.top, rc.Width(), rc.Height(), SWP_SHOWWINDOW | SWP_NOACTIVATE);
  RecalcLayout();
  Invalidate(FALSE);
}

void CTKPDockingPaneAutoHideWnd::RecalcLayout(BOOL) {
  m_nIdleFlags &= ~(idleLayout | idleNotify);
  if (m_pContainer == nullptr || m_pContainer->GetSafeHwnd() == nullptr || m_hWnd == nullptr) return;
  CRect client;
  GetClientRect(client);
  // The 4-pixel edge towards the client area stays free for dragging.
  client = CutToSide(client, m_nDirection, std::max(0, (m_bHoriz ? client.Height() : client.Width()) - kEdge));
  AFX_SIZEPARENTPARAMS params{};
  params.hDWP = ::BeginDeferWindowPos(8);
  params.rect = client;
  m_pContainer->OnSizeParent(this, client, &params);
  if (params.hDWP != nullptr) ::EndDeferWindowPos(params.hDWP);
  m_pContainer->ShowWindow(SW_SHOWNA);
}

void CTKPDockingPaneAutoHideWnd::ReleaseContainer() {
  if (m_pContainer == nullptr) return;
  CTKPDockingPaneManager* manager = m_pPanel->GetDockingPaneManager();
  if (m_pContainer->GetSafeHwnd() != nullptr && m_hWnd != nullptr && ::IsChild(m_hWnd, m_pContainer->GetSafeHwnd())) {
    m_pContainer->ShowWindow(SW_HIDE);
  }
  if (manager != nullptr) m_pContainer->SetDockingSite(manager->GetSite());
  m_pContainer = nullptr;
}

void CTKPDockingPaneAutoHideWnd::CloseLater() {
  if (m_hWnd == nullptr) return;
  ShowWindow(SW_HIDE);
  StartTimer(kCloseNow, 50);
}

void CTKPDockingPaneAutoHideWnd::Close() {
  if (m_hWnd == nullptr) return;
  ShowWindow(SW_HIDE);
  ReleaseContainer();
  m_pPanel->ForgetSlidingWindow(this);
  PostMessage(WM_CLOSE);
}

void CTKPDockingPaneAutoHideWnd::OnClose() {
  StopTimer(kPoll);
  StopTimer(kSlideOut);
  StopTimer(kSlideIn);
  StopTimer(kCloseNow);
  DestroyWindow();
}

// The window deletes itself with its end; the panel no longer points at it.
void CTKPDockingPaneAutoHideWnd::PostNcDestroy() {
  m_pPanel->OnSlidingWindowEnded(this);
  delete this;
}

void CTKPDockingPaneAutoHideWnd::Poll() {
  if (m_bTracking) return;
  CTKPDockingPaneManager* manager = m_pPanel->GetDockingPaneManager();
  const POINT pt = CursorPos();
  CRect window, panel;
  GetWindowRect(window);
  if (m_pPanel->GetSafeHwnd() != nullptr) m_pPanel->CWnd::GetWindowRect(panel);
  const BOOL active = m_pContainer != nullptr && m_pContainer->IsActive();
  if (!active && !window.PtInRect(pt) && !panel.PtInRect(pt)) {
    if (!m_bClosing && m_nDeactivationCount > 0) --m_nDeactivationCount;
    if (m_nDeactivationCount > 0 || m_bClosing) return;
    if (manager != nullptr && manager->IsCloseInactiveWindow()) {
      CTKPDockingPane* pane = m_pContainer != nullptr ? m_pContainer->GetSelected() : nullptr;
      if (manager->NotifyOwner(tkpPaneActionCollapsing, pane) != 0) {
        m_nDeactivationCount = kPolls;
        return;
      }
      m_bClosing = TRUE;
      StartTimer(kSlideIn, kTKPPaneAnimationIntervalMs);
    }
    return;
  }
  m_nDeactivationCount = kPolls;
  if (m_bClosing) {
    // Back over the window while it slides in: it slides out again.
    m_bClosing = FALSE;
    StopTimer(kSlideIn);
    StartTimer(kSlideOut, kTKPPaneAnimationIntervalMs);
  }
}

void CTKPDockingPaneAutoHideWnd::OnTimer(UINT_PTR nIDEvent) {
  CTKPDockingPaneManager* manager = m_pPanel->GetDockingPaneManager();
  CTKPDockingPane* pane = m_pContainer != nullptr ? m_pContainer->GetSelected() : nullptr;
  switch (nIDEvent) {
    case kPoll:
      Poll();
      return;
    case kSlideOut:
      if (m_bClosing) return;
      if (++m_nStep < m_nStepsCount) {
        ApplyStep();
        return;
      }
      m_nStep = m_nStepsCount - 1;
      StopTimer(kSlideOut);
      if (manager != nullptr) manager->NotifyOwner(tkpPaneActionExpanded, pane);
      return;
    case kSlideIn:
      if (!m_bClosing) return;
      if (--m_nStep >= 0) {
        ApplyStep();
        return;
      }
      m_bClosing = FALSE;
      StopTimer(kSlideIn);
      if (manager != nullptr) manager->NotifyOwner(tkpPaneActionCollapsed, pane);
      Close();
      return;
    case kCloseNow:
      StopTimer(kCloseNow);
      Close();
      return;
    default:
      return;
  }
}

void CTKPDockingPaneAutoHideWnd::OnMouseMove(UINT, CPoint) {
  if (m_bClosing) Poll();
}

void CTKPDockingPaneAutoHideWnd::OnPaint() {
  CPaintDC dc(this);
  CRect rc;
  GetClientRect(rc);
  CTKPDockingPanePaintManager* paint = m_pPanel->CTKPDockingPaneBase::GetPaintManager();
  auto colour = [paint](int index) { return paint != nullptr ? paint->GetColor(index) : ::GetSysColor(index); };
  dc.FillSolidRect(rc, colour(51));
  switch (m_nDirection) {
    case 0:
      dc.FillSolidRect(rc.right - 1, rc.top, 1, rc.Height(), colour(COLOR_BTNTEXT));
      dc.FillSolidRect(rc.right - 2, rc.top, 1, rc.Height(), colour(COLOR_BTNSHADOW));
      break;
    case 1:
      dc.FillSolidRect(rc.left + 1, rc.top, 1, rc.Height(), colour(COLOR_BTNHIGHLIGHT));
      break;
    case 2:
      dc.FillSolidRect(rc.left, rc.bottom - 1, rc.Width(), 1, colour(COLOR_BTNTEXT));
      dc.FillSolidRect(rc.left, rc.bottom - 2, rc.Width(), 1, colour(COLOR_BTNSHADOW));
      break;
    default:
      dc.FillSolidRect(rc.left, rc.top + 1, rc.Width(), 1, colour(COLOR_BTNHIGHLIGHT));
      break;
  }
}

CRect CTKPDockingPaneAutoHideWnd::EdgeStrip() const {
  CRect rc;
  GetWindowRect(rc);
  return CutToSide(rc, Opposite(m_nDirection), kEdge);
}

void CTKPDockingPaneAutoHideWnd::OnLButtonDown(UINT, CPoint point) {
  CTKPDockingPaneManager* manager = m_pPanel->GetDockingPaneManager();
  if (manager == nullptr || !CanResize()) return;
  CFrameWnd* site = manager->GetSite();
  MINMAXINFO mmi;
  GetMinMaxInfo(&mmi, TRUE);
  const int gap = manager->GetSplitterGap() + kEdge;
  CRect limits = DockedArea();
  const int minimum = std::max<int>(m_bHoriz ? mmi.ptMinTrackSize.y : mmi.ptMinTrackSize.x, gap);
  const int maximum = m_bHoriz ? mmi.ptMaxTrackSize.y : mmi.ptMaxTrackSize.x;
  switch (m_nDirection) {
    case 0:
      limits.left += minimum;
      limits.right = std::min<int>(limits.right - gap, DockedArea().left + maximum);
      break;
    case 1:
      limits.right -= minimum;
      limits.left = std::max<int>(limits.left + gap, DockedArea().right - maximum);
      break;
    case 2:
      limits.top += minimum;
      limits.bottom = std::min<int>(limits.bottom - gap, DockedArea().top + maximum);
      break;
    default:
      limits.bottom -= minimum;
      limits.top = std::max<int>(limits.top + gap, DockedArea().bottom - maximum);
      break;
  }
  CRect strip = EdgeStrip();
  CPoint screen = point;
  ClientToScreen(screen);
  m_bTracking = TRUE;
  if (manager->IsSplitterTrackerUsed()) {
    CTKPSplitterTracker tracker(TRUE);
    const BOOL accepted = tracker.Track(site->GetSafeHwnd(), limits, strip, screen, !m_bHoriz);
    m_bTracking = FALSE;
    if (accepted && m_hWnd != nullptr) ApplyEdge(strip);
    return;
  }
  // Live: the window follows the pointer, the way the splitters' live drag does.
  const int offset = m_bHoriz ? strip.top - screen.y : strip.left - screen.x;
  HWND self = m_hWnd;
  TKPDockTrackLive(m_hWnd, [&](POINT at) {
    if (::IsWindow(self) && MoveTracker(&strip, limits, CPoint(at.x, at.y), offset, !m_bHoriz)) ApplyEdge(strip);
  });
  if (::IsWindow(self)) m_bTracking = FALSE;
}

// The window from the docked area's outer edge to the far side of the edge strip; the selected pane
// keeps that size (less the edge) to reopen with.
void CTKPDockingPaneAutoHideWnd::ApplyEdge(const CRect& strip) {
  CTKPDockingPaneManager* manager = m_pPanel->GetDockingPaneManager();
  CFrameWnd* site = manager != nullptr ? manager->GetSite() : nullptr;
  if (site == nullptr) return;
  CRect rc = DockedArea();
  switch (m_nDirection) {
    case 0:
      rc.right = strip.right;
      break;
    case 1:
      rc.left = strip.left;
      break;
    case 2:
      rc.bottom = strip.bottom;
      break;
    default:
      rc.top = strip.top;
      break;
  }
  if (m_pContainer != nullptr && m_pContainer->GetSelected() != nullptr) {
    CTKPDockingPane* pane = m_pContainer->GetSelected();
    if (m_bHoriz) {
      pane->m_nDockingCY = rc.Height() - kEdge;
    } else {
      pane->m_nDockingCX = rc.Width() - kEdge;
    }
  }
  site->ScreenToClient(rc);
  m_rcFinal = rc;
  MoveWindow(rc, TRUE);
  RecalcLayout();
}
