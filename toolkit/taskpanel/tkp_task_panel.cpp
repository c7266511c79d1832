#include "toolkit/taskpanel/tkp_task_panel.h"

#include <algorithm>
#include <climits>

#include "platform/classlib/win/cdc.h"
#include "res/toolkit_resource.h"
#include "toolkit/common/gdi_guards.h"
#include "toolkit/common/resource_manager.h"
#include "toolkit/common/tkp_image_manager.h"
#include "toolkit/common/tkp_mouse_manager.h"
#include "toolkit/common/tkp_tooltip_context.h"
#include "toolkit/taskpanel/tkp_task_panel_edit.h"
#include "toolkit/taskpanel/tkp_task_panel_ole.h"
#include "toolkit/taskpanel/tkp_task_panel_paint_manager.h"
#include "toolkit/taskpanel/tkp_task_panel_themes.h"

IMPLEMENT_DYNCREATE(CTKPTaskPanel, CWnd)

BEGIN_MESSAGE_MAP(CTKPTaskPanel, CWnd)
  ON_WM_ERASEBKGND()
  ON_WM_PAINT()
  ON_WM_SIZE()
  ON_WM_VSCROLL()
  ON_WM_MOUSEMOVE()
  ON_WM_SETCURSOR()
  ON_WM_LBUTTONUP()
  ON_WM_TIMER()
  ON_WM_SYSCOLORCHANGE()
  ON_WM_SETTINGCHANGE()
  ON_WM_RBUTTONDOWN()
  ON_WM_SETFOCUS()
  ON_WM_KILLFOCUS()
  ON_WM_KEYDOWN()
  ON_WM_LBUTTONDOWN()
  ON_WM_LBUTTONDBLCLK()
  ON_WM_MOUSEWHEEL()
  ON_WM_GETDLGCODE()
  ON_WM_CAPTURECHANGED()
  ON_WM_MOUSELEAVE()
  ON_MESSAGE(WM_PRINT, OnPrint)
  ON_WM_DESTROY()
END_MESSAGE_MAP()

namespace {
constexpr UINT kAnimationPeriod = 30;
constexpr int kFirstAnimationStep = 10;
}  // namespace

CTKPTaskPanel::CTKPTaskPanel()
    : m_pGroups(new CTKPTaskPanelGroups(this, this)),
      m_pImageManager(new CTKPImageManager()),
      m_pToolTipContext(new CTKPToolTipContext()) {
  // A thread whose COM was set up otherwise keeps it; only our own set-up is undone.
  m_bOleInitialized = SUCCEEDED(::OleInitialize(nullptr));
  m_pDropTarget = std::make_unique<CTKPTaskPanelDropTarget>(this);
  SetTheme(2);
  SetAnimation(0);
  m_hHandCursor = ::LoadCursorW(nullptr, IDC_HAND);
  if (m_hHandCursor == nullptr) m_hHandCursor = TKPResourceManager()->LoadCursor(IDC_TK_HAND);
}

CTKPTaskPanel::~CTKPTaskPanel() {
  ReleaseReference(m_pActiveGroup);
  ReleaseReference(m_pItemHot);
  ReleaseReference(m_pItemFocused);
  m_pGroups->RemoveAll(FALSE);
  m_pGroups->InternalRelease();
  m_pGroups = nullptr;
  if (m_pImageManager) m_pImageManager->InternalRelease();
  delete m_pPaintManager;
  if (m_hWnd) DestroyWindow();
  m_pToolTipContext->InternalRelease();
  m_pRenameEdit.reset();
  m_pDropTarget.reset();
  if (m_bOleInitialized) ::OleUninitialize();
}

BOOL CTKPTaskPanel::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID) {
  LPCTSTR lpszClass = AfxRegisterWndClass(CS_DBLCLKS, ::LoadCursorW(nullptr, IDC_ARROW));
  if (!CWnd::Create(lpszClass, nullptr, dwStyle | WS_CHILD | WS_TABSTOP, rect, pParentWnd, nID)) return FALSE;
  m_pDropTarget->Register(m_hWnd);
  Reposition(FALSE);
  return TRUE;
}

BOOL CTKPTaskPanel::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
  // The tooltips see every message before the handlers do.
  if (m_pToolTipContext) m_pToolTipContext->FilterToolTipMessage(this, message, wParam, lParam);
  if (message == WM_GETOBJECT && static_cast<LONG>(lParam) == OBJID_CLIENT) {
    const LRESULT result = LresultFromObject(__uuidof(IAccessible), wParam, static_cast<IAccessible*>(this));
    if (result > 0) {
      *pResult = result;
      return TRUE;
    }
  }
  return CWnd::OnWndMsg(message, wParam, lParam, pResult);
}

INT_PTR CTKPTaskPanel::OnToolHitTest(CPoint point, TOOLINFO* pTI) const {
  const INT_PTR nHit = CWnd::OnToolHitTest(point, pTI);
  if (nHit != -1) return nHit;
  if (TKPMouseManager()->IsMouseHeld() || m_pItemHot == nullptr || m_pItemHot->GetTooltip().IsEmpty()) return -1;
  const INT_PTR nID = static_cast<INT_PTR>(m_pItemHot->GetID());
  CTKPToolTipContext::FillInToolInfo(pTI, m_hWnd, m_pItemHot->GetHitTestRect(), nID, m_pItemHot->GetTooltip(),
                                     m_pItemHot->GetCaption());
  return nID;
}

// ---- groups and settings ----

CTKPTaskPanelGroup* CTKPTaskPanel::AddGroup(UINT nID, int nIconIndex) {
  auto* pGroup = new CTKPTaskPanelGroup();
  pGroup->SetID(nID);
  pGroup->SetIconIndex(nIconIndex);
  m_pGroups->Add(pGroup);
  return pGroup;
}

int CTKPTaskPanel::GetGroupCount() const { return m_pGroups->GetCount(); }

CTKPTaskPanelGroup* CTKPTaskPanel::GetAt(int nIndex) const {
  return static_cast<CTKPTaskPanelGroup*>(m_pGroups->GetAt(nIndex));
}

CTKPTaskPanelGroup* CTKPTaskPanel::GetNextVisibleGroup(int nIndex, int nDirection) const {
  return GetAt(m_pGroups->GetNextVisibleIndex(nIndex, nDirection));
}

void CTKPTaskPanel::SetTheme(int nTheme) {
  delete m_pPaintManager;
  m_pPaintManager = CreateTaskPanelTheme(nTheme);
  m_nTheme = nTheme;
  m_pPaintManager->RefreshMetrics();
  Reposition(TRUE);
}

CTKPImageManager* CTKPTaskPanel::GetImageManager() const {
  return m_pImageManager ? m_pImageManager : TKPImageManager();
}

void CTKPTaskPanel::SetAnimation(int nMode) {
  m_nAnimationMode = nMode;
  if (nMode == 0) {
    m_bAnimate = TRUE;
  } else if (nMode == 1) {
    m_bAnimate = FALSE;
  } else {
    BOOL bMenuAnimation = FALSE;
    ::SystemParametersInfoW(SPI_GETMENUANIMATION, 0, &bMenuAnimation, 0);
    m_bAnimate = bMenuAnimation;
  }
}

void CTKPTaskPanel::SetLockRedraw(BOOL bLock) {
  m_nLockRedraw += bLock ? 1 : -1;
  if (m_nLockRedraw < 0) m_nLockRedraw = 0;
  if (!bLock && m_nLockRedraw == 0) Reposition(TRUE);
}

BOOL CTKPTaskPanel::IsGroupExpanded(const CTKPTaskPanelGroup* pGroup) const {
  if (IsExplorerBehaviour()) return pGroup->m_geo.expanded;
  // One open group at a time; a group that cannot be closed stays as it is.
  return pGroup == m_pActiveGroup || (pGroup->m_geo.expanded && !pGroup->IsExpandable());
}

void CTKPTaskPanel::SetBehaviour(int nBehaviour) {
  m_nBehaviour = nBehaviour >= kExplorer && nBehaviour <= kList ? nBehaviour : kExplorer;
  Reposition(FALSE);
}

int CTKPTaskPanel::GetItemLayout() const {
  if (m_nItemLayout != 0) return m_nItemLayout;
  return m_nBehaviour == kToolbox ? taskpanel::kLayoutImageAboveCaption : taskpanel::kLayoutImageWithCaption;
}

// ---- layout and animation ----

void CTKPTaskPanel::Reposition(BOOL bAnimate) {
  if (m_hWnd == nullptr || m_nLockRedraw > 0 || m_pGroups == nullptr) return;
  CRect rc;
  GetClientRect(rc);
  const CRect margins = m_pPaintManager->GetControlMargins(this);
  const CRect rcItems(rc.left + margins.left, rc.top, rc.right - margins.right, rc.bottom);
  std::vector<taskpanel::GroupGeometry*> geometry;
  {
    CClientDC dc(this);
    for (int i = 0; i < GetGroupCount(); ++i) {
      CTKPTaskPanelGroup* pGroup = GetAt(i);
      pGroup->m_geo.visible = pGroup->IsVisible() != FALSE;
      pGroup->m_geo.expanded = IsGroupExpanded(pGroup) != FALSE;
      if (pGroup->m_geo.visible) pGroup->OnCalcClientHeight(&dc, rcItems);
      geometry.push_back(&pGroup->m_geo);
    }
  }
  const bool animate = bAnimate && m_bAnimate;
  const taskpanel::StackInput in{rc, margins, m_pPaintManager->GetGroupSpacing(this), animate};
  for (int i = 0; i < GetGroupCount(); ++i) {
    CTKPTaskPanelGroup* pGroup = GetAt(i);
    if (IsExplorerBehaviour()) {
      pGroup->m_nFirstVisible = 0;
    } else if (pGroup->m_geo.visible && (pGroup == m_pActiveGroup || pGroup->m_geo.expanding)) {
      // The open group takes the height the captions leave; its items scroll inside it.
      const CRect inner = m_pPaintManager->GetGroupInnerMargins(pGroup);
      const int minimum = inner.top + std::max(32, static_cast<int>(pGroup->GetIconSize().cy + inner.bottom)) + 2;
      const int fill = taskpanel::FillBodyHeight(geometry, &pGroup->m_geo, in, minimum);
      if (fill > pGroup->m_geo.bodyHeight && pGroup->GetItemLayout() != taskpanel::kLayoutImage) {
        pGroup->ShareSpareHeight(fill - pGroup->m_geo.bodyHeight);
      }
      pGroup->m_geo.bodyHeight = fill;
    }
  }
  m_nClientHeight = taskpanel::StackGroups(geometry, in);
  if (!IsExplorerBehaviour()) {
    if (auto* pActive = static_cast<CTKPTaskPanelGroup*>(m_pActiveGroup)) {
      pActive->FillBodyFromTop();
      if (CTKPTaskPanelGroupItem* pShown = ItemToShow(pActive)) pActive->EnsureVisible(pShown);
    }
  }
  RepositionScrollButtons();
  m_nAnimationStep = kFirstAnimationStep;
  const bool moving = std::any_of(geometry.begin(), geometry.end(),
                                  [](const taskpanel::GroupGeometry* g) { return g->visible && g->current != g->target; });
  if (moving) {
    StartAnimationTimer();
  } else {
    StopAnimationTimer();
  }
  UpdateScrollBar();
  // Groups that are where they belong settle now (their controls show); moving ones hide theirs.
  for (int i = 0; i < GetGroupCount(); ++i) {
    CTKPTaskPanelGroup* pGroup = GetAt(i);
    if (pGroup->m_geo.current == pGroup->m_geo.target) {
      pGroup->OnAnimate(0);
    } else {
      for (int j = 0; j < pGroup->GetItemCount(); ++j) pGroup->GetAt(j)->PlaceControlWindow();
    }
  }
  Invalidate(FALSE);
}

// The item the open group keeps in view: with select-on-focus the first selected one, else the focused one.
CTKPTaskPanelGroupItem* CTKPTaskPanel::ItemToShow(CTKPTaskPanelGroup* pActive) const {
  if (m_bSelectItemOnFocus) {
    for (int i = 0; i < pActive->GetItemCount(); ++i) {
      if (pActive->GetAt(i)->IsItemSelected()) return pActive->GetAt(i);
    }
    return nullptr;
  }
  if (m_pItemFocused == nullptr || m_pItemFocused->GetItemGroup() != pActive || m_pItemFocused->IsGroup()) return nullptr;
  return static_cast<CTKPTaskPanelGroupItem*>(m_pItemFocused);
}

void CTKPTaskPanel::AnimateGroups(int nStep) {
  for (int i = 0; i < GetGroupCount(); ++i) GetAt(i)->OnAnimate(nStep);
}

void CTKPTaskPanel::OnGroupScrolled() {
  AnimateGroups(0);
  RepositionScrollButtons();
  if (m_hWnd) Invalidate(FALSE);
}

void CTKPTaskPanel::RepositionScrollButtons() {
  for (CTKPTaskPanelScrollButton* pButton : {&m_scrollUp, &m_scrollDown}) {
    pButton->rcButton.SetRectEmpty();
    pButton->pGroupScroll = pButton->pGroupCaption = nullptr;
    pButton->bEnabled = FALSE;
  }
  auto* pActive = static_cast<CTKPTaskPanelGroup*>(m_pActiveGroup);
  if (IsExplorerBehaviour() || pActive == nullptr || !pActive->IsVisible()) return;
  const BOOL bInCaption = m_pPaintManager->m_bCaptionScrollButton;
  if (bInCaption) {
    // Squares as high as a caption: the up one in the open group's caption, the down one in the next
    // group's, or at the bottom of the panel when no group follows.
    CRect client;
    GetClientRect(client);
    const CRect margins = m_pPaintManager->GetControlMargins(this);
    auto square = [&](CTKPTaskPanelGroup* pGroup) {
      const CRect caption = pGroup->GetTargetCaptionRect();
      const int right = client.right - margins.right - m_pPaintManager->GetGroupOuterMargins(pGroup).right;
      return CRect(right - caption.Height(), caption.top, right, caption.bottom);
    };
    m_scrollUp.rcButton = square(pActive);
    m_scrollUp.pGroupCaption = pActive;
    CTKPTaskPanelGroup* pNext = GetNextVisibleGroup(m_pGroups->Find(pActive), 1);
    if (pNext) {
      m_scrollDown.rcButton = square(pNext);
      m_scrollDown.pGroupCaption = pNext;
    } else {
      const int bottom = std::max(static_cast<int>(client.bottom), m_nClientHeight) - margins.bottom;
      m_scrollDown.rcButton = CRect(m_scrollUp.rcButton.left, bottom - m_scrollUp.rcButton.Height(),
                                    m_scrollUp.rcButton.right, bottom);
      m_scrollDown.pGroupCaption = pActive;
    }
  } else {
    // Two small squares at the top and bottom right of the open group's body.
    CRect body = pActive->GetTargetClientRect();
    body.DeflateRect(4, 4);
    m_scrollUp.rcButton = CRect(body.right - 16, body.top, body.right, body.top + 16);
    m_scrollDown.rcButton = CRect(body.right - 16, body.bottom - 16, body.right, body.bottom);
    m_scrollUp.pGroupCaption = m_scrollDown.pGroupCaption = pActive;
  }
  for (CTKPTaskPanelScrollButton* pButton : {&m_scrollUp, &m_scrollDown}) {
    pButton->pGroupScroll = pActive;
    pButton->bInCaption = bInCaption;
    pButton->bEnabled = pActive->CanScroll(pButton->bScrollUp);
  }
}

int CTKPTaskPanel::GetCaptionButtonLeft(const CTKPTaskPanelGroup* pGroup) const {
  int left = INT_MAX;
  for (const CTKPTaskPanelScrollButton* pButton : {&m_scrollUp, &m_scrollDown}) {
    if (pButton->bInCaption && pButton->pGroupCaption == pGroup && pButton->IsVisible()) {
      left = std::min(left, static_cast<int>(pButton->rcButton.left));
    }
  }
  return left;
}

long CTKPTaskPanel::GetAccessibleChildId(const CTKPTaskPanelItem* pItem) const {
  long id = 0;
  for (int i = 0; i < GetGroupCount(); ++i) {
    const CTKPTaskPanelGroup* pGroup = GetAt(i);
    ++id;
    if (pGroup == pItem) return id;
    for (int j = 0; j < pGroup->GetItemCount(); ++j) {
      ++id;
      if (pGroup->GetAt(j) == pItem) return id;
    }
  }
  return 0;
}

CTKPTaskPanelScrollButton* CTKPTaskPanel::ScrollButtonAt(CPoint pt) {
  pt.y += GetScrollOffset();
  for (CTKPTaskPanelScrollButton* pButton : {&m_scrollUp, &m_scrollDown}) {
    if (pButton->IsVisible() && pButton->rcButton.PtInRect(pt)) return pButton;
  }
  return nullptr;
}

void CTKPTaskPanel::StartAnimationTimer() {
  if (m_nAnimateTimer != 0 || m_hWnd == nullptr) return;
  m_pTimers->Start(m_hWnd, kTaskPanelAnimationTimer, kAnimationPeriod);
  m_nAnimateTimer = kTaskPanelAnimationTimer;
}

void CTKPTaskPanel::StopAnimationTimer() {
  if (m_nAnimateTimer == 0) return;
  if (m_hWnd) m_pTimers->Stop(m_hWnd, m_nAnimateTimer);
  m_nAnimateTimer = 0;
}

void CTKPTaskPanel::OnTimer(UINT_PTR nIDEvent) {
  if (nIDEvent == kTaskPanelHoverExpandTimer) {
    // The group held under a drag opens, if it is still a closed group.
    StopHoverExpand();
    auto* pGroup = m_pItemDragOver && m_pItemDragOver->IsGroup() ? static_cast<CTKPTaskPanelGroup*>(m_pItemDragOver) : nullptr;
    if (pGroup && !pGroup->IsExpanded()) pGroup->SetExpanded(TRUE);
    return;
  }
  if (nIDEvent != kTaskPanelAnimationTimer) {
    CWnd::OnTimer(nIDEvent);
    return;
  }
  BOOL bMoved = FALSE;
  for (int i = 0; i < GetGroupCount(); ++i) {
    CTKPTaskPanelGroup* pGroup = GetAt(i);
    if (pGroup->m_geo.visible && pGroup->m_geo.current != pGroup->m_geo.target) {
      bMoved |= pGroup->OnAnimate(m_nAnimationStep);
    }
  }
  // Step 1 covers the whole remaining distance, so every animation ends by the tenth tick.
  if (m_nAnimationStep > 1) --m_nAnimationStep;
  Invalidate(FALSE);
  if (!bMoved) StopAnimationTimer();
  // The groups moved under an open rename edit: the panel takes the focus back, which ends the rename.
  if (CTKPTaskPanelEditItem* pEdit = GetRenameEdit(); pEdit && ::GetFocus() == pEdit->m_hWnd) SetFocus();
}

void CTKPTaskPanel::UpdateScrollBar() {
  if (m_bUpdatingScrollBar || m_hWnd == nullptr) return;
  m_bUpdatingScrollBar = TRUE;
  CRect rc;
  GetClientRect(rc);
  m_nOldClientHeight = m_nClientHeight;
  const BOOL bShow = rc.Height() < m_nClientHeight;
  SCROLLINFO si{};
  si.cbSize = sizeof si;
  si.fMask = SIF_RANGE | SIF_PAGE;
  ::GetScrollInfo(m_hWnd, SB_VERT, &si);
  const int nMax = bShow ? m_nClientHeight - 1 : 0;
  const UINT nPage = bShow ? static_cast<UINT>(rc.Height()) : 0;
  // The system shows the bar while the range exceeds the page and hides it otherwise.
  if (si.nMin != 0 || si.nMax != nMax || si.nPage != nPage || bShow != m_bScrollVisible) {
    si.nMin = 0;
    si.nMax = nMax;
    si.nPage = nPage;
    m_bScrollVisible = bShow;
    SetScrollInfo(SB_VERT, &si, TRUE);
    AnimateGroups(0);
  }
  if (bShow) ::EnableScrollBar(m_hWnd, SB_VERT, ESB_ENABLE_BOTH);
  m_bUpdatingScrollBar = FALSE;
}

int CTKPTaskPanel::GetScrollOffset() const {
  return m_bScrollVisible && m_hWnd ? ::GetScrollPos(m_hWnd, SB_VERT) : 0;
}

void CTKPTaskPanel::SetScrollPosition(int nPos) {
  CRect rc;
  GetClientRect(rc);
  nPos = taskpanel::ClampScroll(nPos, taskpanel::ScrollLimit(m_nClientHeight, rc.Height()));
  if (nPos == GetScrollOffset()) return;
  SetScrollPos(SB_VERT, nPos, TRUE);
  AnimateGroups(0);
  Invalidate(FALSE);
}

void CTKPTaskPanel::ScrollRectIntoView(const CRect& rcContent) {
  if (!m_bScrollVisible) return;
  CRect rc;
  GetClientRect(rc);
  SetScrollPosition(taskpanel::ScrollToShow(GetScrollOffset(), rcContent.top, rcContent.bottom, rc.Height()));
}

void CTKPTaskPanel::EnsureVisible(CTKPTaskPanelItem* pItem) {
  if (pItem == nullptr || m_hWnd == nullptr || !pItem->IsVisible()) return;
  if (pItem->IsGroup()) {
    ScrollRectIntoView(static_cast<CTKPTaskPanelGroup*>(pItem)->GetTargetCaptionRect());
    return;
  }
  CTKPTaskPanelGroup* pGroup = pItem->GetItemGroup();
  if (pGroup == nullptr) return;
  if (!pGroup->IsExpanded()) pGroup->SetExpanded(TRUE);
  if (!IsExplorerBehaviour()) {
    ScrollRectIntoView(pGroup->GetTargetRect());
    pGroup->EnsureVisible(pItem);
    return;
  }
  CRect rc = static_cast<CTKPTaskPanelGroupItem*>(pItem)->GetItemRect();
  rc.OffsetRect(0, pGroup->GetTargetClientRect().top);
  ScrollRectIntoView(rc);
}

void CTKPTaskPanel::ExpandGroup(CTKPTaskPanelGroup* pGroup, BOOL bExpand) {
  if (pGroup == nullptr) return;
  if (IsExplorerBehaviour()) {
    TKPTASKPANELGROUPEXPANDING expanding{pGroup, bExpand};
    if (NotifyOwner(NotifyGroupExpanding, reinterpret_cast<LPARAM>(&expanding)) == -1) return;
    pGroup->m_geo.expanded = bExpand != FALSE;
    pGroup->m_geo.expanding = true;
    Reposition(TRUE);
    return;
  }
  // One group is open at a time: opening one closes the other; closing alone does nothing.
  if (bExpand && pGroup != m_pActiveGroup) {
    TKPTASKPANELGROUPEXPANDING expanding{pGroup, TRUE};
    if (NotifyOwner(NotifyGroupExpanding, reinterpret_cast<LPARAM>(&expanding)) == -1) return;
    if (auto* pOld = static_cast<CTKPTaskPanelGroup*>(m_pActiveGroup)) {
      if (pOld->IsExpandable()) {
        pOld->m_geo.expanded = false;
        pOld->m_geo.expanding = true;
      }
    }
    KeepReference(m_pActiveGroup, pGroup);
    pGroup->m_geo.expanded = true;
    pGroup->m_geo.expanding = true;
  }
  Reposition(TRUE);
}

// ---- hit testing, focus and the hot item ----

CTKPTaskPanelGroup* CTKPTaskPanel::HitTest(CPoint pt, BOOL* pbOnCaption) const {
  if (pbOnCaption) *pbOnCaption = FALSE;
  if (const_cast<CTKPTaskPanel*>(this)->ScrollButtonAt(pt)) return nullptr;
  pt.y += GetScrollOffset();
  for (int i = 0; i < GetGroupCount(); ++i) {
    CTKPTaskPanelGroup* pGroup = GetAt(i);
    if (!pGroup->IsVisible()) continue;
    if (pGroup->GetClientRect().PtInRect(pt)) return pGroup;
    if (pGroup->IsCaptionVisible() && pGroup->GetCaptionRect().PtInRect(pt)) {
      if (pbOnCaption) *pbOnCaption = TRUE;
      return pGroup;
    }
  }
  return nullptr;
}

CTKPTaskPanelItem* CTKPTaskPanel::HitTest(CPoint pt) const {
  BOOL bOnCaption = FALSE;
  CTKPTaskPanelGroup* pGroup = HitTest(pt, &bOnCaption);
  if (pGroup == nullptr || bOnCaption) return pGroup;
  return pGroup->HitTest(CPoint(pt.x, pt.y + GetScrollOffset()));
}

BOOL CTKPTaskPanel::IsDrawFocusRect() const { return m_bDrawFocusRect && m_hWnd && ::GetFocus() == m_hWnd; }

void CTKPTaskPanel::KeepReference(CTKPTaskPanelItem*& pField, CTKPTaskPanelItem* pItem) {
  if (pItem) pItem->InternalAddRef();
  if (pField) pField->InternalRelease();
  pField = pItem;
}

void CTKPTaskPanel::ReleaseReference(CTKPTaskPanelItem*& pItem) { KeepReference(pItem, nullptr); }

void CTKPTaskPanel::FocusPanel() {
  // The panel's own SetFocus is no Tab into it: WM_SETFOCUS must not focus its first element.
  m_bSettingFocus = TRUE;
  SetFocus();
  m_bSettingFocus = FALSE;
}

void CTKPTaskPanel::SetFocusedItem(CTKPTaskPanelItem* pItem, BOOL bByKeyboard) {
  if (bByKeyboard) m_bDrawFocusRect = m_bAcceptFocus;
  if (m_hWnd && m_bAcceptFocus && ::GetFocus() != m_hWnd) FocusPanel();
  MoveFocusedItem(pItem);
}

void CTKPTaskPanel::FocusLoadedSelection() {
  CTKPTaskPanelGroupItem* selected = nullptr;
  for (int g = 0; g < GetGroupCount(); ++g) {
    CTKPTaskPanelGroup* pGroup = GetAt(g);
    for (int i = 0; pGroup != nullptr && i < pGroup->GetItemCount(); ++i) {
      if (pGroup->GetAt(i)->TakeLoadedSelection()) selected = pGroup->GetAt(i);
    }
  }
  if (selected != nullptr && m_bSingleSelection) MoveFocusedItem(selected);
}

void CTKPTaskPanel::MoveFocusedItem(CTKPTaskPanelItem* pItem) {
  if (m_pItemFocused == pItem) {
    if (m_hWnd) Invalidate(FALSE);
    return;
  }
  if (m_bSelectItemOnFocus && !m_bSingleSelection && pItem && pItem->GetType() == taskpanel::kTypeLink) {
    if (CTKPTaskPanelGroup* pGroup = pItem->GetItemGroup()) pGroup->SelectItem(pItem);
  }
  KeepReference(m_pItemFocused, pItem);
  if (m_hWnd == nullptr) return;
  EnsureVisible(pItem);
  Invalidate(FALSE);
  NotifyOwner(NotifyFocusChanged, 0);
  if (const long nChild = GetAccessibleChildId(pItem)) {
    CTKPAccessible::AccessibleNotifyWinEvent(EVENT_OBJECT_FOCUS, m_hWnd, OBJID_CLIENT, nChild);
  }
}

void CTKPTaskPanel::SetHotItem(CTKPTaskPanelItem* pItem) {
  if (m_pItemHot == pItem) return;
  KeepReference(m_pItemHot, pItem);
  if (m_hWnd == nullptr) return;
  if (pItem && !m_bTrackingLeave) {
    TRACKMOUSEEVENT tme{sizeof tme, TME_LEAVE, m_hWnd, 0};
    m_bTrackingLeave = ::TrackMouseEvent(&tme);
  }
  Invalidate(FALSE);
}

void CTKPTaskPanel::OnItemRemoved(CTKPTaskPanelItem* pItem) {
  if (pItem == nullptr) return;
  // A group takes its items with it: nothing may keep pointing at them either.
  if (pItem->IsGroup()) {
    auto* pGroup = static_cast<CTKPTaskPanelGroup*>(pItem);
    for (int i = 0; i < pGroup->GetItemCount(); ++i) OnItemRemoved(pGroup->GetAt(i));
  }
  if (m_pItemHot == pItem) ReleaseReference(m_pItemHot);
  if (m_pItemFocused == pItem) ReleaseReference(m_pItemFocused);
  if (m_pItemPressed == pItem) {
    m_pItemPressed = nullptr;
    if (m_hWnd && ::GetCapture() == m_hWnd) ::ReleaseCapture();
  }
  if (m_pItemDragging == pItem) m_pItemDragging = nullptr;
  if (m_pItemDragOver == pItem) SetDropTarget(nullptr);
  if (m_pActiveGroup == pItem) ReleaseReference(m_pActiveGroup);
  for (CTKPTaskPanelScrollButton* pButton : {&m_scrollUp, &m_scrollDown}) {
    if (pButton->pGroupScroll == pItem || pButton->pGroupCaption == pItem) {
      pButton->pGroupScroll = pButton->pGroupCaption = nullptr;
      pButton->rcButton.SetRectEmpty();
    }
  }
}

// ---- keyboard navigation ----

std::vector<taskpanel::NavGroup> CTKPTaskPanel::NavigationPicture() const {
  std::vector<taskpanel::NavGroup> groups;
  for (int i = 0; i < GetGroupCount(); ++i) {
    const CTKPTaskPanelGroup* pGroup = GetAt(i);
    taskpanel::NavGroup g;
    g.visible = pGroup->IsVisible() != FALSE;
    g.acceptFocus = pGroup->IsAcceptFocus() != FALSE;
    g.expanded = pGroup->IsExpanded() != FALSE;
    g.itemsPerRow = pGroup->GetItemsPerRow();
    for (int j = 0; j < pGroup->GetItemCount(); ++j) {
      const CTKPTaskPanelGroupItem* pItem = pGroup->GetAt(j);
      g.items.push_back({pItem->IsVisible() != FALSE, pItem->IsAcceptFocus() != FALSE});
    }
    groups.push_back(std::move(g));
  }
  return groups;
}

taskpanel::NavPos CTKPTaskPanel::NavigationPosition(const CTKPTaskPanelItem* pItem) const {
  if (pItem == nullptr) return {};
  if (pItem->IsGroup()) return {m_pGroups->Find(pItem), -1};
  const CTKPTaskPanelGroup* pGroup = pItem->GetItemGroup();
  const int group = pGroup ? m_pGroups->Find(pGroup) : -1;
  return group < 0 ? taskpanel::NavPos{} : taskpanel::NavPos{group, pItem->GetIndex()};
}

CTKPTaskPanelItem* CTKPTaskPanel::ElementAt(taskpanel::NavPos pos) const {
  CTKPTaskPanelGroup* pGroup = GetAt(pos.group);
  if (pGroup == nullptr || pos.item < 0) return pGroup;
  return pGroup->GetAt(pos.item);
}

CTKPTaskPanelItem* CTKPTaskPanel::GetNextItem(CTKPTaskPanelItem* pItem, int nDirection, BOOL bTab, BOOL bVertical) const {
  return ElementAt(
      taskpanel::NextFocus(NavigationPicture(), NavigationPosition(pItem), nDirection, bTab != FALSE, bVertical != FALSE));
}

// ---- owner notifications and painting ----

LRESULT CTKPTaskPanel::NotifyOwner(WPARAM wParam, LPARAM lParam) {
  if (m_hWnd == nullptr) return 0;
  CWnd* pOwner = GetOwner();
  return pOwner && pOwner->m_hWnd ? ::SendMessageW(pOwner->m_hWnd, TKPWM_TASKPANEL_NOTIFY, wParam, lParam) : 0;
}

void CTKPTaskPanel::OnClick(CTKPTaskPanelGroupItem* pItem) {
  NotifyOwner(NotifyItemClick, reinterpret_cast<LPARAM>(pItem));
}

void CTKPTaskPanel::OnDraw(CDC* pDC) {
  m_pPaintManager->FillTaskPanel(pDC, this);
  for (int i = 0; i < GetGroupCount(); ++i) GetAt(i)->OnPaint(pDC);
  m_pPaintManager->DrawScrollButton(pDC, &m_scrollUp);
  m_pPaintManager->DrawScrollButton(pDC, &m_scrollDown);
  DrawDropMarker(pDC);
}

BOOL CTKPTaskPanel::OnEraseBkgnd(CDC*) { return TRUE; }

void CTKPTaskPanel::OnPaint() {
  CPaintDC dc(this);
  CRect rc;
  GetClientRect(rc);
  CTKPBufferDC buffer(dc.GetSafeHdc(), rc);
  buffer.SetWindowOrg(0, GetScrollOffset());
  OnDraw(&buffer);
  buffer.SetWindowOrg(0, 0);  // the buffer is copied out in client coordinates
}

LRESULT CTKPTaskPanel::OnPrint(WPARAM wParam, LPARAM lParam) {
  CDC* pDC = CDC::FromHandle(reinterpret_cast<HDC>(wParam));
  if (pDC == nullptr) return 0;
  const int saved = pDC->SaveDC();
  pDC->OffsetWindowOrg(0, GetScrollOffset());
  OnDraw(pDC);
  pDC->RestoreDC(saved);
  if ((lParam & PRF_CHILDREN) == 0) return 0;
  for (HWND hChild = ::GetWindow(m_hWnd, GW_CHILD); hChild; hChild = ::GetWindow(hChild, GW_HWNDNEXT)) {
    if (!::IsWindowVisible(hChild)) continue;
    CRect rcChild;
    ::GetWindowRect(hChild, rcChild);
    ScreenToClient(rcChild);
    POINT old;
    ::OffsetViewportOrgEx(pDC->GetSafeHdc(), rcChild.left, rcChild.top, &old);
    ::SendMessageW(hChild, WM_PRINT, wParam, lParam | PRF_NONCLIENT | PRF_CLIENT);
    ::SetViewportOrgEx(pDC->GetSafeHdc(), old.x, old.y, nullptr);
  }
  return 0;
}

void CTKPTaskPanel::OnSize(UINT nType, int cx, int cy) {
  CWnd::OnSize(nType, cx, cy);
  Reposition(IsExplorerBehaviour());
}

void CTKPTaskPanel::OnSysColorChange() {
  CWnd::OnSysColorChange();
  m_pPaintManager->RefreshMetrics();
  Reposition(TRUE);
}

void CTKPTaskPanel::OnSettingChange(UINT uFlags, LPCTSTR lpszSection) {
  CWnd::OnSettingChange(uFlags, lpszSection);
  if (m_nAnimationMode == 2) SetAnimation(2);
  m_pPaintManager->RefreshMetrics();
  Reposition(TRUE);
}

void CTKPTaskPanel::OnDestroy() {
  // A rename still open when the panel goes ends without a word: nobody is left to hear of it.
  if (m_pRenameEdit) m_pRenameEdit->Cancel();
  StopHoverExpand();
  m_pDropTarget->Revoke();
  CWnd::OnDestroy();
}
