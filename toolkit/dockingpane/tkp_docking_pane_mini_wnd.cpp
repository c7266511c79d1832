#include "toolkit/dockingpane/tkp_docking_pane_mini_wnd.h"

#include <algorithm>

#include "toolkit/common/draw_helpers.h"
#include "toolkit/common/resource_manager.h"
#include "toolkit/dockingpane/tkp_docking_pane.h"
#include "toolkit/dockingpane/tkp_docking_pane_drag_context.h"
#include "toolkit/dockingpane/tkp_docking_pane_layout.h"
#include "toolkit/dockingpane/tkp_docking_pane_manager.h"
#include "toolkit/dockingpane/tkp_docking_pane_splitter.h"
#include "toolkit/dockingpane/tkp_docking_pane_tabbed.h"

namespace {

enum : UINT_PTR { kCollapsePoll = 1, kHoverCheck = 2345, kCollapseAnimation = 3 };
constexpr UINT kCollapsePollMs = 100;
constexpr UINT kCloseItemText = 61457;  // the text of the system menu's close item

}  // namespace

BEGIN_MESSAGE_MAP(CTKPDockingPaneMiniWnd, CMiniFrameWnd)
  ON_WM_CLOSE()
  ON_WM_NCLBUTTONDOWN()
  ON_WM_NCRBUTTONDOWN()
  ON_WM_NCLBUTTONDBLCLK()
  ON_WM_DESTROY()
  ON_WM_NCHITTEST()
  ON_WM_NCPAINT()
  ON_WM_NCCALCSIZE()
  ON_WM_NCMOUSEMOVE()
  ON_WM_TIMER()
  ON_MESSAGE(WM_IDLEUPDATECMDUI, OnIdleUpdateCmdUI)
  ON_WM_GETMINMAXINFO()
  ON_WM_SETFOCUS()
  ON_WM_NCACTIVATE()
END_MESSAGE_MAP()

BOOL CTKPDockingPaneMiniWnd::s_bShowCollapseButton = TRUE;

CTKPDockingPaneMiniWnd::CTKPDockingPaneMiniWnd(CTKPDockingPaneLayout* pLayout)
    : CTKPDockingPaneBase(dock::kMiniFrame, pLayout) {
  for (UINT id : {9901u, 9900u, 9909u}) m_arrCaptionButtons.push_back(new CTKPDockingPaneCaptionButton(id, this));
}

CTKPDockingPaneMiniWnd::~CTKPDockingPaneMiniWnd() {
  if (m_hWnd != nullptr) DestroyWindow();
}

int CTKPDockingPaneMiniWnd::CollapsedHeight() const {
  CTKPDockingPanePaintManager* paint = GetPaintManager();
  return (paint != nullptr ? paint->m_nTitleHeight : 13) + 8;
}

BOOL CTKPDockingPaneMiniWnd::IsThemed() const {
  CTKPDockingPaneManager* manager = GetDockingPaneManager();
  return manager != nullptr && manager->IsThemedFloatingFrames();
}

BOOL CTKPDockingPaneMiniWnd::CreateFrameWindow(CRect rc) {
  CTKPDockingPaneManager* manager = GetDockingPaneManager();
  CWnd* site = manager != nullptr ? manager->GetSite() : nullptr;
  if (site == nullptr || site->GetSafeHwnd() == nullptr) return FALSE;
  DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | MFS_BLOCKSYSMENU;
  if (manager->GetSyncActivation() > 0) style |= MFS_SYNCACTIVE;
  // A frame that would open where no monitor shows it is moved just inside the work area.
  const CRect work = CTKPDrawHelpers::GetWorkAreaFromRect(rc);
  CRect common;
  if (!common.IntersectRect(rc, work)) {
    if (rc.right <= work.left) rc.OffsetRect(work.left - rc.left, 0);
    if (rc.left >= work.right) rc.OffsetRect(work.right - rc.right, 0);
    if (rc.bottom <= work.top) rc.OffsetRect(0, work.top - rc.top);
    if (rc.top >= work.bottom) rc.OffsetRect(0, work.bottom - rc.bottom);
  }
  const DWORD exStyle = manager->IsLayoutRTL() ? WS_EX_LAYOUTRTL : 0;
  if (!CMiniFrameWnd::CreateEx(exStyle, nullptr, _T(""), style, rc, site)) return FALSE;
  if (CMenu* menu = GetSystemMenu(FALSE)) {
    menu->DeleteMenu(SC_MINIMIZE, MF_BYCOMMAND);
    menu->DeleteMenu(SC_MAXIMIZE, MF_BYCOMMAND);
    menu->DeleteMenu(SC_RESTORE, MF_BYCOMMAND);
    // The close item closes the frame's panes: it is named after that, when the resources say how.
    CString close;
    if (TKPResourceManager()->LoadString(&close, kCloseItemText) && !close.IsEmpty()) {
      menu->DeleteMenu(SC_CLOSE, MF_BYCOMMAND);
      menu->AppendMenu(MF_STRING, SC_CLOSE, close);
    }
  }
  m_bCloseEnabled = TRUE;
  m_rcWindow = rc;
  // The content lives in this window.
  m_pDockingSite = this;
  RefreshFrame();
  return TRUE;
}

void CTKPDockingPaneMiniWnd::CreateLoadedWindow() {
  // An empty frame gets its (hidden) window too: a pane floated back into it later shows there.
  if (m_hWnd != nullptr || m_pTopContainer == nullptr) return;
  const BOOL collapsed = m_bCollapsed;
  const int expandedHeight = m_nExpandedHeight;
  CRect rc = m_rcWindow;
  if (collapsed && expandedHeight > 0) rc.bottom = rc.top + expandedHeight;
  if (!CreateFrameWindow(rc)) return;
  m_pTopContainer->SetDockingSite(this);
  m_pTopContainer->OnParentContainerChanged(this);
  OnChildContainerChanged(m_pTopContainer);
  if (collapsed && IsThemed()) Collapse(TRUE);
}

void CTKPDockingPaneMiniWnd::Copy(CTKPDockingPaneMiniWnd* pFrom, CMapPtrToPtr* pMap) {
  m_pTopContainer = pFrom->m_pTopContainer != nullptr ? pFrom->m_pTopContainer->Clone(m_pLayout, pMap, 0) : nullptr;
  if (m_pTopContainer != nullptr) {
    m_pTopContainer->SetParentContainer(this);
    m_pTopContainer->SetDockingSite(this);
  }
  CRect rc = pFrom->m_rcWindow;
  if (pFrom->m_hWnd != nullptr) pFrom->CWnd::GetWindowRect(rc);
  m_rcWindow = rc;
  m_bCollapsed = pFrom->m_bCollapsed;
  m_nExpandedHeight = pFrom->m_nExpandedHeight;
  if (m_bCollapsed) m_rcWindow.bottom = m_rcWindow.top + CollapsedHeight();
  if (m_pLayout != nullptr && !m_pLayout->IsNotLive()) CreateLoadedWindow();
}

CTKPDockingPaneBase* CTKPDockingPaneMiniWnd::Clone(CTKPDockingPaneLayout* pLayout, CMapPtrToPtr* pMap, DWORD) {
  auto* clone = static_cast<CTKPDockingPaneMiniWnd*>(NewObject(pLayout, dock::kMiniFrame));
  if (clone == nullptr) return nullptr;
  RecordClone(pMap, this, clone);
  clone->Copy(this, pMap);
  return clone;
}

BOOL CTKPDockingPaneMiniWnd::Create(CTKPDockingPaneBase* pPane, CRect rc) {
  CTKPDockingPaneManager* manager = GetDockingPaneManager();
  if (manager == nullptr || pPane == nullptr) return FALSE;
  // The containers are made before the window, so that a refusal leaves nothing half built.
  auto* tabbed = pPane->GetType() == dock::kPane ? static_cast<CTKPDockingPaneTabbedContainer*>(
                                                       manager->CreatePaneObject(dock::kTabbedContainer, m_pLayout))
                                                 : nullptr;
  auto* splitter =
      static_cast<CTKPDockingPaneSplitterContainer*>(manager->CreatePaneObject(dock::kSplitterContainer, m_pLayout));
  if ((pPane->GetType() == dock::kPane && tabbed == nullptr) || splitter == nullptr || !CreateFrameWindow(rc)) {
    return FALSE;
  }
  CTKPDockingPaneBase* content = pPane;
  if (tabbed != nullptr) {
    tabbed->Init(static_cast<CTKPDockingPane*>(pPane), this);
    content = tabbed;
  }
  splitter->Init(content, TRUE, this);
  m_pTopContainer = splitter;
  splitter->SetParentContainer(this);
  content->OnParentContainerChanged(splitter);
  OnChildContainerChanged(splitter);
  RecalcLayout();
  return TRUE;
}

std::vector<CTKPDockingPaneBase*> CTKPDockingPaneMiniWnd::Groups() const {
  std::vector<CTKPDockingPaneBase*> groups;
  if (m_pTopContainer != nullptr) m_pTopContainer->FindPane(dock::kTabbedContainer, &groups);
  return groups;
}

void CTKPDockingPaneMiniWnd::RedrawPane() {
  if (m_hWnd != nullptr && IsThemed()) SendMessage(WM_NCPAINT);
}

void CTKPDockingPaneMiniWnd::OnChildContainerChanged(CTKPDockingPaneBase*) { OnPaneChanged(FALSE); }

void CTKPDockingPaneMiniWnd::OnPaneChanged(BOOL) {
  if (m_hWnd == nullptr || m_pTopContainer == nullptr) return;
  if (m_pTopContainer->IsEmpty()) {
    ShowWindow(SW_HIDE);
    if (m_bCollapsed) Collapse(FALSE);
    return;
  }
  const std::vector<CTKPDockingPaneBase*> groups = Groups();
  for (CTKPDockingPaneBase* group : groups) {
    static_cast<CTKPDockingPaneTabbedContainer*>(group)->SetCaptionVisible(groups.size() > 1);
  }
  CTKPDockingPaneManager* manager = GetDockingPaneManager();
  const CString title = groups.size() == 1 ? static_cast<CTKPDockingPaneTabbedContainer*>(groups.front())->GetTitle()
                        : manager != nullptr ? manager->GetFloatingFrameCaption()
                                             : CString();
  SetWindowText(title);
  if (groups.empty()) return;
  if (!IsWindowVisible()) ShowWindow(SW_SHOWNA);
  std::vector<CTKPDockingPaneBase*> panes;
  m_pTopContainer->FindPane(dock::kPane, &panes);
  const BOOL closable = std::any_of(panes.begin(), panes.end(), [](CTKPDockingPaneBase* p) {
    return (static_cast<CTKPDockingPane*>(p)->GetOptions() & tkpPaneNoCloseable) == 0;
  });
  if (!(closable && m_bCloseEnabled)) {
    if (CMenu* menu = GetSystemMenu(FALSE)) menu->EnableMenuItem(SC_CLOSE, MF_BYCOMMAND | (closable ? MF_ENABLED : MF_GRAYED));
    m_bCloseEnabled = closable;
  }
  // Moved onto its own rectangle: the layout runs again and the caption is drawn anew.
  CRect rc;
  CWnd::GetWindowRect(rc);
  SetWindowPos(nullptr, rc.left, rc.top, rc.Width(), rc.Height(), SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
  RecalcLayout();
  RedrawPane();
}

void CTKPDockingPaneMiniWnd::RemovePane(CTKPDockingPaneBase* pPane) {
  if (pPane != m_pTopContainer) return;
  pPane->SetParentContainer(nullptr);
  m_pTopContainer = nullptr;
  if (m_hWnd != nullptr) ShowWindow(SW_HIDE);
  if (m_bCollapsed) Collapse(FALSE);
}

void CTKPDockingPaneMiniWnd::RecalcLayout(BOOL) {
  m_nIdleFlags &= ~(idleLayout | idleNotify);
  if (m_hWnd == nullptr) return;
  if (m_pTopContainer != nullptr && !m_pTopContainer->IsEmpty()) {
    CRect client;
    GetClientRect(client);
    AFX_SIZEPARENTPARAMS params{};
    params.hDWP = ::BeginDeferWindowPos(8);
    params.rect = client;
    m_pTopContainer->OnSizeParent(this, client, &params);
    if (params.hDWP != nullptr) ::EndDeferWindowPos(params.hDWP);
    CWnd::GetWindowRect(m_rcWindow);
  } else {
    ShowWindow(SW_HIDE);
    if (m_bCollapsed) Collapse(FALSE);
  }
  if (CTKPDockingPaneManager* manager = GetDockingPaneManager()) manager->SaveHolders();
}

void CTKPDockingPaneMiniWnd::RefreshFrame() {
  if (m_hWnd == nullptr) return;
  if (IsThemed()) {
    ModifyStyle(WS_BORDER, 0);
  } else {
    ModifyStyle(0, WS_BORDER);
    if (m_bCollapsed) Collapse(FALSE);
  }
  SetWindowPos(nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
  // The caption may have changed height: a collapsed frame takes the height of its current step again.
  if (IsThemed() && m_bCollapsed) SetFrameHeight(StepHeight(), SWP_NOZORDER);
}

BOOL CTKPDockingPaneMiniWnd::IsCaptionButtonVisible(CTKPDockingPaneCaptionButton* pButton) {
  switch (pButton->GetID()) {
    case 9901:
      return m_bCloseEnabled;
    case 9900:
      pButton->m_dwState = m_bCollapsed ? 2 : 0;
      return s_bShowCollapseButton;
    case 9909: {
      const std::vector<CTKPDockingPaneBase*> groups = Groups();
      if (groups.size() != 1) return FALSE;
      CTKPDockingPane* pane = static_cast<CTKPDockingPaneTabbedContainer*>(groups.front())->GetSelected();
      return pane != nullptr && (pane->GetOptions() & tkpPaneHasMenuButton) != 0;
    }
    default:
      return TRUE;
  }
}

BOOL CTKPDockingPaneMiniWnd::ContainsPane(const CTKPDockingPaneBase* pPane) const {
  return pPane == this || (m_pTopContainer != nullptr && m_pTopContainer->ContainsPane(pPane));
}

void CTKPDockingPaneMiniWnd::FindPane(int nType, std::vector<CTKPDockingPaneBase*>* pList) {
  if (m_pTopContainer != nullptr) m_pTopContainer->FindPane(nType, pList);
}

void CTKPDockingPaneMiniWnd::SaveRecord(dock::ObjectRecord* pRecord) const {
  CTKPDockingPaneBase::SaveRecord(pRecord);
  CRect rc = m_rcWindow;
  if (m_hWnd != nullptr) CWnd::GetWindowRect(rc);
  pRecord->windowRect = rc;
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

// ---- closing and the caption -------------------------------------------------------------------------------

void CTKPDockingPaneMiniWnd::ClosePanes() {
  CTKPDockingPaneManager* manager = GetDockingPaneManager();
  if (manager == nullptr || m_pTopContainer == nullptr) return;
  std::vector<CTKPDockingPaneBase*> panes;
  m_pTopContainer->FindPane(dock::kPane, &panes);
  for (CTKPDockingPaneBase* pane : panes) manager->ClosePaneByUser(static_cast<CTKPDockingPane*>(pane));
}

void CTKPDockingPaneMiniWnd::OnClose() { ClosePanes(); }

BOOL CTKPDockingPaneMiniWnd::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
  // The tooltips see every message before the handlers do.
  if (CTKPDockingPaneManager* manager = GetDockingPaneManager()) manager->FilterToolTipMessage(this, message, wParam, lParam);
  return CMiniFrameWnd::OnWndMsg(message, wParam, lParam, pResult);
}

// The caption buttons lie in the non-client area: the point (client coordinates) is taken to the
// window's, and the tool's rectangle back to the client's.
INT_PTR CTKPDockingPaneMiniWnd::OnToolHitTest(CPoint point, TOOLINFO* pTI) const {
  CRect window;
  CWnd::GetWindowRect(window);
  POINT screen{point.x, point.y};
  ::ClientToScreen(m_hWnd, &screen);
  CTKPDockingPaneCaptionButton* button = ButtonAt(CPoint(screen.x - window.left, screen.y - window.top));
  if (button == nullptr) return -1;
  CRect rc = button->GetRect();
  rc.OffsetRect(window.TopLeft());
  ::ScreenToClient(m_hWnd, reinterpret_cast<POINT*>(&rc.left));
  ::ScreenToClient(m_hWnd, reinterpret_cast<POINT*>(&rc.right));
  return button->FillToolInfo(m_hWnd, rc, pTI);
}

CTKPDockingPaneCaptionButton* CTKPDockingPaneMiniWnd::ButtonAt(CPoint ptWindow) const {
  for (CTKPDockingPaneCaptionButton* button : m_arrCaptionButtons) {
    if (!button->GetRect().IsRectEmpty() && button->GetRect().PtInRect(ptWindow) && button->IsVisible()) return button;
  }
  return nullptr;
}

void CTKPDockingPaneMiniWnd::ShowMenu(CTKPDockingPaneCaptionButton* pButton) {
  const std::vector<CTKPDockingPaneBase*> groups = Groups();
  CTKPDockingPane* pane =
      groups.size() == 1 ? static_cast<CTKPDockingPaneTabbedContainer*>(groups.front())->GetSelected() : nullptr;
  CTKPDockingPaneManager* manager = GetDockingPaneManager();
  if (pane == nullptr || manager == nullptr || manager->GetSite() == nullptr) return;
  m_bActive = TRUE;
  pButton->m_bPressed = TRUE;
  RedrawPane();
  CRect window;
  CWnd::GetWindowRect(window);
  CRect rc = pButton->GetRect();
  rc.OffsetRect(window.TopLeft());
  TKP_DOCKINGPANE_MENU menu{pane, {rc.left, rc.bottom}, rc};
  manager->GetSite()->SendMessage(TKP_DOCKINGPANE_NOTIFY, TKP_DPN_CONTEXTMENU, reinterpret_cast<LPARAM>(&menu));
  pButton->m_bPressed = FALSE;
  RedrawPane();
}

void CTKPDockingPaneMiniWnd::OnNcLButtonDown(UINT nHitTest, CPoint point) {
  if (IsThemed()) {
    CRect window;
    CWnd::GetWindowRect(window);
    if (CTKPDockingPaneCaptionButton* button = ButtonAt(CPoint(point.x - window.left, point.y - window.top))) {
      if (button->GetID() == 9909) {
        ShowMenu(button);
      } else if (button->Click(this, CPoint(point.x - window.left, point.y - window.top), FALSE)) {
        if (button->GetID() == 9901) ClosePanes();
        if (button->GetID() == 9900) Collapse(!m_bCollapsed);
      }
      return;
    }
  }
  if (nHitTest == HTCAPTION) {
    if (CWnd* top = GetTopLevelParent()) top->SetActiveWindow();
    SetWindowPos(&CWnd::wndTop, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    CTKPDockingPaneManager* manager = GetDockingPaneManager();
    if (manager != nullptr && m_pTopContainer != nullptr) manager->GetDragContext()->Drag(m_pTopContainer, point);
    return;
  }
  CMiniFrameWnd::OnNcLButtonDown(nHitTest, point);
}

void CTKPDockingPaneMiniWnd::OnNcLButtonDblClk(UINT nHitTest, CPoint) {
  if (nHitTest != HTCAPTION) return;
  if (m_bCollapsed) {
    Collapse(FALSE);
    return;
  }
  CTKPDockingPaneManager* manager = GetDockingPaneManager();
  if (manager != nullptr && m_pTopContainer != nullptr) manager->ToggleDocking(m_pTopContainer);
}

void CTKPDockingPaneMiniWnd::OnNcRButtonDown(UINT nHitTest, CPoint point) {
  if (nHitTest == HTCAPTION) {
    CTKPDockingPane* pane = nullptr;
    const std::vector<CTKPDockingPaneBase*> groups = Groups();
    for (CTKPDockingPaneBase* group : groups) {
      auto* tabbed = static_cast<CTKPDockingPaneTabbedContainer*>(group);
      if (groups.size() == 1 || tabbed->IsActive()) {
        pane = tabbed->GetSelected();
        break;
      }
    }
    CTKPDockingPaneManager* manager = GetDockingPaneManager();
    if (pane != nullptr && manager != nullptr && manager->GetSite() != nullptr) {
      pane->SetFocus();
      TKP_DOCKINGPANE_MENU menu{pane, {point.x, point.y}, {0, 0, 0, 0}};
      if (manager->GetSite()->SendMessage(TKP_DOCKINGPANE_NOTIFY, TKP_DPN_CONTEXTMENU,
                                          reinterpret_cast<LPARAM>(&menu)) != 0) {
        return;
      }
    }
  }
  Default();
}

void CTKPDockingPaneMiniWnd::OnDestroy() {
  CWnd::GetWindowRect(m_rcWindow);
  CMiniFrameWnd::OnDestroy();
}

// ---- the themed frame ------------------------------------------------------------------------------------

LRESULT CTKPDockingPaneMiniWnd::OnNcHitTest(CPoint point) {
  const LRESULT hit = CMiniFrameWnd::OnNcHitTest(point);
  if (!IsThemed() || hit != HTNOWHERE) return hit;
  CTKPDockingPanePaintManager* paint = GetPaintManager();
  CRect window;
  CWnd::GetWindowRect(window);
  if (paint != nullptr && point.y - window.top < paint->m_nTitleHeight + 4) return HTCAPTION;
  return hit;
}

void CTKPDockingPaneMiniWnd::OnNcCalcSize(BOOL bCalcValidRects, NCCALCSIZE_PARAMS* lpncsp) {
  CTKPDockingPanePaintManager* paint = GetPaintManager();
  if (IsThemed() && paint != nullptr) {
    RECT& rc = lpncsp->rgrc[0];
    ::InflateRect(&rc, 1, 1);
    rc.top += paint->m_nTitleHeight + 2;
  }
  CMiniFrameWnd::OnNcCalcSize(bCalcValidRects, lpncsp);
}

void CTKPDockingPaneMiniWnd::OnNcPaint() {
  CTKPDockingPanePaintManager* paint = GetPaintManager();
  if (!IsThemed() || paint == nullptr) {
    Default();
    return;
  }
  CWindowDC dc(this);
  CRect window, client;
  CWnd::GetWindowRect(window);
  GetClientRect(client);
  ClientToScreen(client);
  client.OffsetRect(-window.left, -window.top);
  dc.ExcludeClipRect(client);
  window.OffsetRect(-window.left, -window.top);
  paint->DrawFloatingFrame(&dc, this, window);
}

void CTKPDockingPaneMiniWnd::OnNcMouseMove(UINT nHitTest, CPoint point) {
  if (IsThemed()) {
    CRect window;
    CWnd::GetWindowRect(window);
    bool changed = false;
    for (CTKPDockingPaneCaptionButton* button : m_arrCaptionButtons) {
      const BOOL hot = button->m_bHot;
      button->CheckForMouseOver(CPoint(point.x - window.left, point.y - window.top));
      changed = changed || hot != button->m_bHot;
    }
    if (changed) SetTimer(kHoverCheck, 100, nullptr);
    ShowExpanded();
  }
  CMiniFrameWnd::OnNcMouseMove(nHitTest, point);
}

LRESULT CTKPDockingPaneMiniWnd::OnIdleUpdateCmdUI(WPARAM, LPARAM) {
  HWND focus = ::GetFocus();
  const BOOL active = focus != nullptr && (focus == m_hWnd || ::IsChild(m_hWnd, focus));
  if (active != m_bActive) {
    m_bActive = active;
    RedrawPane();
  }
  if (m_nIdleFlags & idleLayout) RecalcLayout();
  return 0;
}

BOOL CTKPDockingPaneMiniWnd::OnNcActivate(BOOL bActive) {
  if (IsThemed()) {
    RedrawPane();
    return TRUE;
  }
  return CMiniFrameWnd::OnNcActivate(bActive);
}

void CTKPDockingPaneMiniWnd::OnGetMinMaxInfo(MINMAXINFO* lpMMI) {
  CMiniFrameWnd::OnGetMinMaxInfo(lpMMI);
  if (m_bCollapsed) {
    // Collapsed to its caption, the frame may be lower than the system's smallest caption window.
    lpMMI->ptMinTrackSize.y = std::min<LONG>(lpMMI->ptMinTrackSize.y, CollapsedHeight());
  }
  if (m_pTopContainer == nullptr || (m_bCollapsed && !m_bExpanded) || m_bSlideOut) return;
  MINMAXINFO content;
  m_pTopContainer->GetMinMaxInfo(&content);
  CRect window, client;
  CWnd::GetWindowRect(window);
  GetClientRect(client);
  const CSize overhead(window.Width() - client.Width(), window.Height() - client.Height());
  lpMMI->ptMinTrackSize.x = std::max<LONG>(lpMMI->ptMinTrackSize.x, content.ptMinTrackSize.x + overhead.cx);
  lpMMI->ptMinTrackSize.y = std::max<LONG>(lpMMI->ptMinTrackSize.y, content.ptMinTrackSize.y + overhead.cy);
  lpMMI->ptMaxTrackSize.x = std::min<LONG>(lpMMI->ptMaxTrackSize.x, content.ptMaxTrackSize.x + overhead.cx);
  lpMMI->ptMaxTrackSize.y = std::min<LONG>(lpMMI->ptMaxTrackSize.y, content.ptMaxTrackSize.y + overhead.cy);
}

void CTKPDockingPaneMiniWnd::OnSetFocus(CWnd* pOldWnd) {
  CMiniFrameWnd::OnSetFocus(pOldWnd);
  const std::vector<CTKPDockingPaneBase*> groups = Groups();
  if (groups.size() != 1) return;
  if (CTKPDockingPane* pane = static_cast<CTKPDockingPaneTabbedContainer*>(groups.front())->GetSelected()) {
    pane->SetFocus();
  }
}

// ---- collapsing -------------------------------------------------------------------------------------------

// The height of the collapse animation's current step, never below the caption.
int CTKPDockingPaneMiniWnd::StepHeight() const {
  return std::max(m_nStep * m_nExpandedHeight / std::max(1, m_nStepsCount), CollapsedHeight());
}

void CTKPDockingPaneMiniWnd::SetFrameHeight(int nHeight, UINT nFlags) {
  CRect rc;
  CWnd::GetWindowRect(rc);
  SetWindowPos(nullptr, 0, 0, rc.Width(), nHeight, SWP_NOMOVE | SWP_NOACTIVATE | nFlags);
}

void CTKPDockingPaneMiniWnd::Collapse(BOOL bCollapse) {
  if (m_hWnd == nullptr) return;
  if (bCollapse && !m_bCollapsed) {
    m_nStepsCount = m_nStep = 8;
    CRect rc;
    CWnd::GetWindowRect(rc);
    m_nExpandedHeight = rc.Height();
    m_bCollapsed = TRUE;
    m_bSlideOut = FALSE;
    m_bExpanded = TRUE;
    m_nDeactivationCount = 6;
    SetTimer(kCollapsePoll, kCollapsePollMs, nullptr);
  } else if (!bCollapse && m_bCollapsed) {
    if (m_nStep != m_nStepsCount) SetFrameHeight(m_nExpandedHeight, SWP_NOZORDER);
    m_bCollapsed = FALSE;
    m_bExpanded = FALSE;
    m_bSlideOut = FALSE;
    KillTimer(kCollapsePoll);
    KillTimer(kCollapseAnimation);
    RedrawPane();
  }
}

void CTKPDockingPaneMiniWnd::ShowExpanded() {
  if (!m_bCollapsed || m_nStep >= 1) return;
  m_bExpanded = TRUE;
  m_bSlideOut = FALSE;
  KillTimer(kCollapseAnimation);
  m_nStep = m_nStepsCount;
  SetFrameHeight(m_nExpandedHeight, 0);
  SetWindowPos(&CWnd::wndTop, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  m_nDeactivationCount = 8;
  SetTimer(kCollapsePoll, kCollapsePollMs, nullptr);
}

void CTKPDockingPaneMiniWnd::OnTimer(UINT_PTR nIDEvent) {
  if (nIDEvent == kHoverCheck) {
    POINT pt;
    ::GetCursorPos(&pt);
    if (::WindowFromPoint(pt) != m_hWnd) {
      PostMessage(WM_NCMOUSEMOVE, 0, 0);
      KillTimer(kHoverCheck);
    }
    return;
  }
  if (nIDEvent == kCollapsePoll) {
    POINT pt;
    ::GetCursorPos(&pt);
    CRect rc;
    CWnd::GetWindowRect(rc);
    HWND focus = ::GetFocus();
    if ((focus != nullptr && (focus == m_hWnd || ::IsChild(m_hWnd, focus))) || rc.PtInRect(pt) ||
        ::GetCapture() != nullptr || m_bSlideOut) {
      return;
    }
    if (--m_nDeactivationCount > 0) return;
    if (m_nStep == m_nStepsCount) m_nExpandedHeight = rc.Height();
    m_bSlideOut = TRUE;
    SetTimer(kCollapseAnimation, kTKPPaneAnimationIntervalMs, nullptr);
    KillTimer(kCollapsePoll);
    return;
  }
  if (nIDEvent == kCollapseAnimation && m_bSlideOut) {
    --m_nStep;
    if (m_nStep >= 0) {
      SetFrameHeight(StepHeight(), SWP_NOZORDER);
      return;
    }
    m_bSlideOut = FALSE;
    m_bExpanded = FALSE;
    KillTimer(kCollapseAnimation);
  }
}
