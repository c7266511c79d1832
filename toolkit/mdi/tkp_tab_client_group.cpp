// The tab groups of the MDI tab client: strips laid out and drawn by the client, each holding its
// children in its client area.
#include "platform/classlib/win/cdc.h"
#include "toolkit/mdi/tkp_tab_client_wnd.h"
#include "toolkit/tabmanager/tab_capture_loop.h"
#include "toolkit/tabmanager/tab_navigation.h"
#include "toolkit/tabmanager/tkp_tab_paint_manager.h"

namespace {

constexpr UINT kChildIconMessage = 0x2860;  // asks an MDI child for the icon of its tab

}  // namespace

void TKPTransferTabItem(CTKPTabManagerItem* pItem, CTKPTabManager* pTo, int nIndex) {
  CTKPTabManager* pFrom = pItem->GetTabManager();
  CTKPTabPaintManager* pPaintManager = pTo->GetPaintManager();
  const COLORREF color = pItem->GetColorValue();
  const int nextColor = pPaintManager != nullptr ? pPaintManager->NextItemColor : 0;
  pItem->InternalAddRef();  // the reference the old strip lets go of is handed to the new one
  if (pFrom != nullptr) pFrom->DeleteItem(pItem->GetIndex());
  pTo->InsertItem(nIndex, pItem);
  pItem->SetColor(color);
  if (pPaintManager != nullptr) pPaintManager->NextItemColor = nextColor;
}

void CTKPTabClientGroup::Reposition() {
  if (!m_bLayingOut) m_pClient->RepositionGroup(this);
}

void CTKPTabClientGroup::SetSelectedItem(CTKPTabManagerItem* pItem) {
  // The client often selects while its layout is held back (the tabs' rectangles are then stale or
  // empty and cannot be scrolled to): the layout that follows does it.
  if (pItem != GetSelectedItem()) m_bShowSelected = TRUE;
  CTKPTabManager::SetSelectedItem(pItem);
}

void CTKPTabClientGroup::OnItemsChanged() {
  m_bShowSelected = TRUE;
  CTKPTabManager::OnItemsChanged();
}

CTKPTabPaintManager* CTKPTabClientGroup::GetPaintManager() const { return m_pClient->GetPaintManager(); }

void CTKPTabClientGroup::RedrawControl() {
  if (m_pClient->m_hWnd != nullptr) ::InvalidateRect(m_pClient->m_hWnd, m_rcGroup, FALSE);
}

BOOL CTKPTabClientGroup::DrawIcon(CDC* pDC, CPoint pt, CTKPTabManagerItem* pItem, BOOL bDraw, CSize& szIcon) {
  if (pItem == nullptr) return TRUE;
  auto hWnd = reinterpret_cast<HWND>(pItem->GetData());
  // The document's frame is asked first; then the window's own small icon, then its class's.
  auto hIcon = reinterpret_cast<HICON>(::SendMessageW(hWnd, kChildIconMessage, 0, 0));
  if (hIcon == nullptr) hIcon = reinterpret_cast<HICON>(::SendMessageW(hWnd, WM_GETICON, ICON_SMALL, 0));
  if (hIcon == nullptr) hIcon = reinterpret_cast<HICON>(::GetClassLongPtrW(hWnd, GCLP_HICONSM));
  if (hIcon == nullptr) hIcon = reinterpret_cast<HICON>(::GetClassLongPtrW(hWnd, GCLP_HICON));
  if (hIcon == nullptr) return FALSE;
  if (bDraw && pDC != nullptr) ::DrawIconEx(pDC->m_hDC, pt.x, pt.y, hIcon, szIcon.cx, szIcon.cy, 0, nullptr, DI_NORMAL);
  return TRUE;
}

void CTKPTabClientGroup::OnItemClick(CTKPTabManagerItem* pItem) {
  CTKPTabManager::OnItemClick(pItem);
  if (pItem != nullptr) m_pClient->ActivateChild(reinterpret_cast<HWND>(pItem->GetData()));
}

void CTKPTabClientGroup::ReOrder(HWND hWnd, CPoint pt, CTKPTabManagerItem* pItem) {
  if (!m_pClient->IsGroupingEnabled()) {
    CTKPTabManager::ReOrder(hWnd, pt, pItem);
    return;
  }
  // The tab is held for the drag: its document may close while the drag's pump runs. The group itself
  // is kept by the client while a press on its strip lasts (HoldForGesture).
  pItem->InternalAddRef();
  SetSelectedItem(pItem);
  tktab::ReorderPlaces places;
  TrackReorderPlaces(places);
  {
    CTKPTabCaptureLoop loop(hWnd);
    for (;;) {
      const CTKPTabCaptureLoop::Event event = loop.Next(pt);
      if (event == CTKPTabCaptureLoop::kEnded || event == CTKPTabCaptureLoop::kReleased) break;
      if (pItem->GetTabManager() != this || FindItem(reinterpret_cast<HWND>(pItem->GetData())) != pItem) break;
      if (event != CTKPTabCaptureLoop::kMoved || !GetHeaderRect().PtInRect(pt)) continue;
      TrackReorderPlaces(places);  // documents closed or opened meanwhile
      const int target = places.Target(pItem->GetIndex(), pt);
      if (target >= 0) {
        TKPTransferTabItem(pItem, this, target);
        SetSelectedItem(pItem);
      }
    }
  }
  PerformMouseMove(hWnd, pt);
  if (FindItem(reinterpret_cast<HWND>(pItem->GetData())) == pItem) OnItemClick(pItem);
  pItem->InternalRelease();
}

CRect CTKPTabClientGroup::PlaceOf(HWND hWndChild) const {
  CRect rc;
  ::GetWindowRect(hWndChild, rc);
  ::MapWindowPoints(nullptr, m_pClient->m_hWnd, reinterpret_cast<POINT*>(&rc), 2);
  return rc;
}

BOOL CTKPTabClientGroup::ChildrenInPlace() const {
  const CRect rcClient = GetClientRect();
  for (int i = 0; i < GetItemCount(); ++i) {
    auto hWnd = reinterpret_cast<HWND>(GetItem(i)->GetData());
    if (::IsWindow(hWnd) && PlaceOf(hWnd) != rcClient) return FALSE;
  }
  return TRUE;
}

CTKPTabManagerItem* CTKPTabClientGroup::FindItem(HWND hWndChild) const {
  for (int i = 0; i < GetItemCount(); ++i) {
    if (reinterpret_cast<HWND>(GetItem(i)->GetData()) == hWndChild) return GetItem(i);
  }
  return nullptr;
}

BOOL CTKPTabClientGroup::StripHolds(CPoint pt) const {
  if (GetHeaderRect().PtInRect(pt)) return TRUE;
  for (int id = tktab::kButtonBack; id <= tktab::kButtonClose; ++id) {
    const CTKPTabManagerNavigateButton* pButton = FindNavigateButton(id);
    if (pButton != nullptr && pButton->GetRect().PtInRect(pt)) return TRUE;
  }
  return FALSE;
}

void CTKPTabClientGroup::Layout(CDC* pDC) {
  CTKPTabPaintManager* pPaintManager = GetPaintManager();
  m_bLayingOut = TRUE;
  pPaintManager->RepositionTabControl(this, pDC, m_rcGroup);
  CTKPTabManagerItem* pSelected = GetSelectedItem();
  if (m_bShowSelected && pSelected != nullptr && !GetHeaderRect().IsRectEmpty()) {
    m_bShowSelected = FALSE;
    const int offset = GetScrollOffset();
    pPaintManager->EnsureVisible(this, pSelected);
    if (GetScrollOffset() != offset) pPaintManager->RepositionTabControl(this, pDC, m_rcGroup);
  }
  m_bLayingOut = FALSE;
  const CRect rcClient = GetClientRect();
  // Maximized children too: the MDI client would give them its whole area, over the strip.
  for (int i = 0; i < GetItemCount(); ++i) {
    auto hWnd = reinterpret_cast<HWND>(GetItem(i)->GetData());
    if (::IsWindow(hWnd) && PlaceOf(hWnd) != rcClient) {
      ::SetWindowPos(hWnd, nullptr, rcClient.left, rcClient.top, rcClient.Width(), rcClient.Height(),
                     SWP_NOZORDER | SWP_NOACTIVATE);
    }
  }
  if (CTKPTabManagerItem* pSelected = GetSelectedItem()) {
    ::SetWindowPos(reinterpret_cast<HWND>(pSelected->GetData()), HWND_TOP, 0, 0, 0, 0,
                   SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  }
}
