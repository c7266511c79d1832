#include "toolkit/tabmanager/tkp_tab_manager.h"

#include <algorithm>

#include "platform/classlib/win/cwnd.h"
#include "toolkit/common/draw_helpers.h"
#include "toolkit/common/tkp_tooltip_context.h"
#include "toolkit/tabmanager/tab_capture_loop.h"
#include "toolkit/tabmanager/tab_navigation.h"
#include "toolkit/tabmanager/tkp_tab_appearance.h"
#include "toolkit/tabmanager/tkp_tab_paint_manager.h"

COLORREF TKPResolveTabColor(COLORREF color) {
  static const COLORREF kColors[8] = {RGB(138, 168, 228), RGB(255, 219, 117), RGB(189, 205, 159),
                                      RGB(240, 158, 159), RGB(186, 166, 225), RGB(154, 191, 180),
                                      RGB(247, 182, 131), RGB(216, 171, 192)};
  if (color >= kTKPTabColorFirst && color < kTKPTabColorFirst + 8) return kColors[color - kTKPTabColorFirst];
  return color;
}

// ---- CTKPTabManagerItem

void CTKPTabManagerItem::SetCaption(LPCTSTR lpszCaption) {
  const CString caption(lpszCaption);
  if (caption == m_strCaption) return;
  m_strCaption = caption;
  if (m_pTabManager) m_pTabManager->Reposition();
}

CString CTKPTabManagerItem::GetCaption() const {
  return m_pTabManager ? m_pTabManager->GetItemCaption(this) : m_strCaption;
}

void CTKPTabManagerItem::SetColor(COLORREF color) {
  m_clrItem = color;
  if (m_pTabManager) m_pTabManager->RedrawControl();
}

COLORREF CTKPTabManagerItem::GetColor() const {
  return m_pTabManager ? m_pTabManager->GetItemColor(this) : TKPResolveTabColor(m_clrItem);
}

CString CTKPTabManagerItem::GetTooltip() const {
  return m_pTabManager ? m_pTabManager->GetItemTooltip(this) : m_strToolTip;
}

void CTKPTabManagerItem::Remove() {
  if (m_pTabManager) m_pTabManager->DeleteItem(m_nIndex);
}

void CTKPTabManagerItem::SetEnabled(BOOL bEnabled) {
  m_bEnabled = bEnabled;
  if (m_pTabManager) m_pTabManager->Reposition();
}

void CTKPTabManagerItem::SetVisible(BOOL bVisible) {
  m_bVisible = bVisible;
  if (m_pTabManager) m_pTabManager->Reposition();
}

BOOL CTKPTabManagerItem::IsSelected() const { return m_pTabManager && m_pTabManager->GetSelectedItem() == this; }
BOOL CTKPTabManagerItem::IsHot() const { return m_pTabManager && m_pTabManager->GetHotItem() == this; }

// ---- CTKPTabManager

CTKPTabManager::CTKPTabManager() {
  m_arrNavigateButtons.push_back(new CTKPTabManagerNavigateButtonBack(this));
  m_arrNavigateButtons.push_back(new CTKPTabManagerNavigateButtonForward(this));
  m_arrNavigateButtons.push_back(new CTKPTabManagerNavigateButtonClose(this));
}

CTKPTabManager::~CTKPTabManager() {
  // A paint manager that outlives this tab manager must not call it any more.
  for (CTKPTabPaintManager* pPaintManager : std::vector<CTKPTabPaintManager*>(m_arrObserved)) {
    pPaintManager->RemoveObserver(this);
  }
  m_pSelected = m_pHighlighted = nullptr;
  for (CTKPTabManagerItem* pItem : m_arrItems) {
    pItem->m_pTabManager = nullptr;
    pItem->InternalRelease();
  }
  m_arrItems.clear();
  for (CTKPTabManagerNavigateButton* pButton : m_arrNavigateButtons) delete pButton;
}

void CTKPTabManager::OnItemsChanged() {
  for (size_t i = 0; i < m_arrItems.size(); ++i) m_arrItems[i]->m_nIndex = static_cast<int>(i);
  Reposition();
}

void CTKPTabManager::SetSelectedItem(CTKPTabManagerItem* pItem) {
  if (pItem == m_pSelected) return;
  m_pSelected = pItem;
  Reposition();
  if (pItem && GetPaintManager()) GetPaintManager()->EnsureVisible(this, pItem);
}

void CTKPTabManager::ClickItem(CTKPTabManagerItem* pItem) {
  if (pItem) OnItemClick(pItem);
}

void CTKPTabManager::GetItemMetrics(CSize* pButton, CSize* pMinimum, CSize* pMaximum) const {
  if (pButton) *pButton = m_szButton;
  if (pMinimum) *pMinimum = m_szMinimum;
  if (pMaximum) *pMaximum = m_szMaximum;
}

void CTKPTabManager::SetItemMetrics(CSize szButton, CSize szMinimum, CSize szMaximum) {
  m_szButton = szButton;
  m_szMinimum = szMinimum;
  m_szMaximum = szMaximum;
  Reposition();
}

BOOL CTKPTabManager::IsClientFrameShown() const {
  return GetPaintManager() ? GetPaintManager()->ShowClientFrame : FALSE;
}

int CTKPTabManager::GetPosition() const { return GetPaintManager() ? GetPaintManager()->GetPosition() : 0; }
int CTKPTabManager::GetLayout() const { return GetPaintManager() ? GetPaintManager()->GetLayout() : 0; }

void CTKPTabManager::OnScroll(BOOL bForward) {
  SetScrollOffset(bForward ? m_nScrollOffset - m_nScrollStep : m_nScrollOffset + m_nScrollStep);
}

BOOL CTKPTabManager::IsNavigateButtonVisible(const CTKPTabManagerNavigateButton* pButton) const {
  if (pButton->GetId() != tktab::kButtonClose) return TRUE;
  return m_pSelected && m_pSelected->IsClosable();
}

CTKPTabManagerItem* CTKPTabManager::InsertItem(int nIndex, CTKPTabManagerItem* pItem) {
  if (!pItem) pItem = new CTKPTabManagerItem;
  pItem->m_pTabManager = this;
  if (nIndex < 0 || nIndex > GetItemCount()) nIndex = GetItemCount();
  m_arrItems.insert(m_arrItems.begin() + nIndex, pItem);
  CTKPTabPaintManager* pPaintManager = GetPaintManager();
  if (pPaintManager) {
    pItem->m_clrItem = kTKPTabColorFirst + static_cast<COLORREF>(pPaintManager->NextItemColor % 8);
    pPaintManager->NextItemColor = (pPaintManager->NextItemColor + 1) % 8;
  } else {
    pItem->m_clrItem = kTKPTabColorFirst;
  }
  OnItemsChanged();
  return pItem;
}

CTKPTabManagerItem* CTKPTabManager::InsertItem(int nIndex, LPCTSTR lpszCaption) {
  auto* pItem = new CTKPTabManagerItem;
  pItem->m_strCaption = lpszCaption;
  return InsertItem(nIndex, pItem);
}

BOOL CTKPTabManager::DeleteItem(int nIndex) {
  if (nIndex < 0 || nIndex >= GetItemCount()) return FALSE;
  CTKPTabManagerItem* pItem = m_arrItems[static_cast<size_t>(nIndex)];
  const bool wasSelected = pItem == m_pSelected;
  // Nothing may point at the tab once it is released.
  if (wasSelected) m_pSelected = nullptr;
  if (pItem == m_pHighlighted) m_pHighlighted = nullptr;
  m_arrItems.erase(m_arrItems.begin() + nIndex);
  pItem->m_pTabManager = nullptr;
  pItem->InternalRelease();
  // The layout that the new selection runs reads the indexes.
  for (size_t i = 0; i < m_arrItems.size(); ++i) m_arrItems[i]->m_nIndex = static_cast<int>(i);
  if (wasSelected) SetCurSel(tktab::SelectionAfterRemoval(nIndex, GetItemCount()));
  OnItemsChanged();
  return TRUE;
}

void CTKPTabManager::DeleteAllItems() {
  m_pSelected = m_pHighlighted = nullptr;
  std::vector<CTKPTabManagerItem*> items;
  items.swap(m_arrItems);
  for (CTKPTabManagerItem* pItem : items) {
    pItem->m_pTabManager = nullptr;
    pItem->InternalRelease();
  }
  OnItemsChanged();
}

void CTKPTabManager::SetCurSel(int nIndex) {
  if (m_arrItems.empty()) {
    SetSelectedItem(nullptr);
    return;
  }
  SetSelectedItem(m_arrItems[static_cast<size_t>(std::clamp(nIndex, 0, GetItemCount() - 1))]);
}

CTKPTabManagerItem* CTKPTabManager::GetItem(int nIndex) const {
  if (nIndex < 0 || nIndex >= GetItemCount()) return nullptr;
  return m_arrItems[static_cast<size_t>(nIndex)];
}

std::vector<bool> CTKPTabManager::ReachableItems() const {
  std::vector<bool> reachable;
  for (const CTKPTabManagerItem* pItem : m_arrItems) reachable.push_back(pItem->m_bEnabled && pItem->m_bVisible);
  return reachable;
}

CTKPTabManagerItem* CTKPTabManager::HitTest(CPoint pt) const {
  std::vector<tktab::HitTab> tabs;
  for (const CTKPTabManagerItem* pItem : m_arrItems) {
    tabs.push_back({pItem->m_rcItem, pItem->m_bEnabled && pItem->m_bVisible});
  }
  return GetItem(tktab::HitTestTabs(tabs, m_rcControl, m_rcHeader, pt));
}

CTKPTabManagerItem* CTKPTabManager::FindNextItem(int nStart, int nStep) const {
  return GetItem(tktab::FindNextItem(ReachableItems(), nStart, nStep));
}

CTKPTabManagerNavigateButton* CTKPTabManager::FindNavigateButton(int nId) const {
  for (CTKPTabManagerNavigateButton* pButton : m_arrNavigateButtons) {
    if (pButton->GetId() == nId) return pButton;
  }
  return nullptr;
}

int CTKPTabManager::GetItemsLength() const {
  if (GetLayout() == tktab::kRotated) {
    CTKPTabPaintManager* pPaintManager = GetPaintManager();
    const int nRow = pPaintManager ? pPaintManager->GetAppearanceObject()->GetRowHeight() : 0;
    return nRow * GetItemCount();
  }
  int total = 0;
  for (const CTKPTabManagerItem* pItem : m_arrItems) total += pItem->m_nLength;
  return total;
}

void CTKPTabManager::SetScrollOffset(int nOffset) {
  nOffset = std::min(nOffset, 0);
  if (nOffset == m_nScrollOffset) return;
  m_nScrollOffset = nOffset;
  Reposition();
}

BOOL CTKPTabManager::PerformClick(HWND hWnd, CPoint pt, BOOL bButtonsOnly) {
  for (CTKPTabManagerNavigateButton* pButton : m_arrNavigateButtons) {
    if (pButton->GetRect().PtInRect(pt)) {
      pButton->PerformClick(hWnd, pt);
      return TRUE;
    }
  }
  if (bButtonsOnly) return FALSE;
  CTKPTabManagerItem* pItem = HitTest(pt);
  if (!pItem) return FALSE;
  if (IsAllowReorder()) {
    ReOrder(hWnd, pt, pItem);
  } else {
    OnItemClick(pItem);
  }
  return TRUE;
}

void CTKPTabManager::PerformMouseMove(HWND hWnd, CPoint pt) {
  if (!CTKPDrawHelpers::IsTopParentActive(hWnd) || IsMouseTrackingLocked()) return;
  CTKPTabPaintManager* pPaintManager = GetPaintManager();
  if (pPaintManager && pPaintManager->HotTracking) {
    CTKPTabManagerItem* pHot = HitTest(pt);
    if (pHot != m_pHighlighted) {
      m_pHighlighted = pHot;
      RedrawControl();
      if (pHot) {
        TRACKMOUSEEVENT tme = {sizeof(TRACKMOUSEEVENT), TME_LEAVE, hWnd, 0};
        ::_TrackMouseEvent(&tme);
      }
    }
  }
  for (CTKPTabManagerNavigateButton* pButton : m_arrNavigateButtons) pButton->OnMouseMove(hWnd, pt);
}

INT_PTR CTKPTabManager::FillToolTipInfo(HWND hWnd, CTKPTabManagerItem* pItem, TOOLINFO* pToolInfo) const {
  CTKPTabPaintManager* pPaintManager = GetPaintManager();
  if (!pItem || !pPaintManager || pPaintManager->ToolTipMode == 0) return -1;
  if (pPaintManager->ToolTipMode == 2 && pItem->m_nLength >= pItem->m_nFullLength) return -1;
  const CString strTip = GetItemTooltip(pItem);
  if (strTip.IsEmpty()) return -1;
  CTKPToolTipContext::FillInToolInfo(pToolInfo, hWnd, pItem->m_rcItem, pItem->m_nIndex, strTip, pItem->GetCaption(),
                                     strTip);
  return pItem->m_nIndex;
}

BOOL CTKPTabManager::OnKeyDown(HWND hWnd, UINT nChar) {
  const bool rtl = (::GetWindowLongW(hWnd, GWL_EXSTYLE) & WS_EX_LAYOUTRTL) != 0;
  const int selected = m_pSelected ? m_pSelected->m_nIndex : -1;
  const tktab::KeyMove move = tktab::KeyTarget(nChar, GetPosition(), rtl, ReachableItems(), selected);
  if (move.handled) ClickItem(GetItem(move.target));
  return move.handled ? TRUE : FALSE;
}

void CTKPTabManager::TrackReorderPlaces(tktab::ReorderPlaces& places) const {
  std::vector<const void*> tabs;
  std::vector<CRect> rects;
  for (const CTKPTabManagerItem* p : m_arrItems) {
    tabs.push_back(p);
    rects.push_back(p->m_rcItem);
  }
  places.Track(tabs, rects);
}

void CTKPTabManager::ReOrder(HWND hWnd, CPoint pt, CTKPTabManagerItem* pItem) {
  // The tab is held for the drag: the loop's pump may remove it (its document closed), or the tab
  // selected before it, which is then not given back.
  pItem->InternalAddRef();
  const auto holds = [this](const CTKPTabManagerItem* p) {
    return p != nullptr && std::find(m_arrItems.begin(), m_arrItems.end(), p) != m_arrItems.end();
  };
  CTKPTabManagerItem* pSelected = m_pSelected;
  m_pSelected = pItem;
  CTKPTabPaintManager* pPaintManager = GetPaintManager();
  if (pPaintManager && pPaintManager->HotTracking) m_pHighlighted = pItem;
  Reposition();

  tktab::ReorderPlaces places;
  TrackReorderPlaces(places);
  {
    CTKPTabCaptureLoop loop(hWnd);
    for (;;) {
      const CTKPTabCaptureLoop::Event event = loop.Next(pt);
      if (event == CTKPTabCaptureLoop::kReleased || event == CTKPTabCaptureLoop::kEnded || !holds(pItem)) break;
      if (event != CTKPTabCaptureLoop::kMoved) continue;
      TrackReorderPlaces(places);  // tabs closed or opened meanwhile
      const int target = places.Target(pItem->m_nIndex, pt);
      if (target >= 0) {
        std::swap(m_arrItems[static_cast<size_t>(pItem->m_nIndex)], m_arrItems[static_cast<size_t>(target)]);
        OnItemsChanged();
      }
    }
  }
  PerformMouseMove(hWnd, pt);
  if (holds(pItem)) {
    m_pSelected = holds(pSelected) ? pSelected : nullptr;
    OnItemClick(pItem);
  }
  pItem->InternalRelease();
}
