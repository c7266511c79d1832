// The task panel's drag and drop: items travel by OLE drag and drop within the panel, to other panels and
// to other programs; groups are reordered by dragging their captions.
#include "platform/classlib/win/cdc.h"
#include "toolkit/taskpanel/tkp_task_panel.h"
#include "toolkit/taskpanel/tkp_task_panel_ole.h"
#include "toolkit/taskpanel/tkp_task_panel_paint_manager.h"
#include "toolkit/taskpanel/tkp_task_panel_transfer.h"
#include "toolkit/taskpanel/tp_drag.h"

namespace {

CLIPFORMAT ElementFormat() { return static_cast<CLIPFORMAT>(CTKPTaskPanel::GetClipboardFormat()); }

// A new element read from the data's record; null when there is none or it cannot be read.
CTKPTaskPanelItem* ReadElement(IDataObject* pData) {
  FORMATETC format{ElementFormat(), nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
  STGMEDIUM medium{};
  if (pData == nullptr || pData->GetData(&format, &medium) != S_OK) return nullptr;
  CTKPTaskPanelItem* pItem = medium.tymed == TYMED_HGLOBAL ? taskpanel::ElementFromBlock(medium.hGlobal) : nullptr;
  ::ReleaseStgMedium(&medium);
  return pItem;
}

}  // namespace

// ---- items ----

void CTKPTaskPanel::OnStartItemDrag(CTKPTaskPanelItem* pItem) {
  const int flags = pItem ? pItem->GetAllowDrag() : 0;
  if (flags == 0) return;
  ::ReleaseCapture();
  if (NotifyOwner(NotifyStartDrag, reinterpret_cast<LPARAM>(pItem)) == -1) return;
  CTKPTaskPanelDataSource data;
  data.CacheGlobalData(ElementFormat(), taskpanel::ElementRecordBlock(pItem));
  if (data.IsEmpty()) return;
  data.CacheGlobalData(CF_TEXT, taskpanel::ElementTextBlock(pItem));
  CTKPTaskPanelDropSource source;
  // Held for the drag: a drop's notification may take the item out of the panel meanwhile.
  pItem->InternalAddRef();
  m_pItemDragging = pItem;
  DWORD result = DROPEFFECT_NONE;
  const HRESULT hr = ::DoDragDrop(&data, &source, taskpanel::SourceEffects(flags), &result);
  const bool moved = hr == DRAGDROP_S_DROP && (result & DROPEFFECT_MOVE) && (flags & taskpanel::kDragMoveAny);
  if (moved && pItem->GetParentItems()) pItem->Remove();
  m_pItemDragging = nullptr;
  SetDropTarget(nullptr);
  pItem->InternalRelease();
}

CTKPTaskPanelItem* CTKPTaskPanel::DropPlaceAt(CPoint point) const {
  const CPoint content(point.x, point.y + GetScrollOffset());
  for (int i = 0; i < GetGroupCount(); ++i) {
    CTKPTaskPanelGroup* pGroup = GetAt(i);
    if (!pGroup->IsVisible()) continue;
    if (pGroup->IsCaptionVisible() && pGroup->GetCaptionRect().PtInRect(content)) {
      return pGroup->IsAllowDrop() ? pGroup : nullptr;
    }
    if (!pGroup->GetClientRect().PtInRect(content)) continue;
    // Only an item takes a drop in the body; the space between items takes none.
    CTKPTaskPanelGroupItem* pItem = pGroup->HitTest(content);
    if (pItem == nullptr || !pItem->IsAllowDrop()) return nullptr;
    const CRect rc = pItem->GetHitTestRect();
    if (m_pPaintManager->m_bDropAfter || point.y < (rc.top + rc.bottom) / 2) return pItem;
    // The lower half of an item stands for the place after it.
    CTKPTaskPanelItem* pNext = pGroup->GetNextVisibleItem(pItem->GetIndex(), 1);
    return pNext ? pNext : pGroup;
  }
  return nullptr;
}

void CTKPTaskPanel::SetDropTarget(CTKPTaskPanelItem* pTarget) {
  if (pTarget != m_pItemDragOver) {
    m_pItemDragOver = pTarget;
    if (m_hWnd) Invalidate(FALSE);
  }
  auto* pGroup = pTarget && pTarget->IsGroup() ? static_cast<CTKPTaskPanelGroup*>(pTarget) : nullptr;
  if (pGroup == nullptr || pGroup->IsExpanded()) {
    StopHoverExpand();
    return;
  }
  // Started once per group held under the drag: a drag that keeps reporting would otherwise restart it for ever.
  if (m_bHoverExpandTimer || m_hWnd == nullptr) return;
  UINT hover = 0;
  if (!::SystemParametersInfoW(SPI_GETMOUSEHOVERTIME, 0, &hover, 0)) hover = 500;
  m_pTimers->Start(m_hWnd, kTaskPanelHoverExpandTimer, hover);
  m_bHoverExpandTimer = TRUE;
}

void CTKPTaskPanel::StopHoverExpand() {
  if (!m_bHoverExpandTimer) return;
  if (m_hWnd) m_pTimers->Stop(m_hWnd, kTaskPanelHoverExpandTimer);
  m_bHoverExpandTimer = FALSE;
}

DWORD CTKPTaskPanel::OnDragOver(IDataObject* pDataObject, DWORD dwKeyState, CPoint point) {
  const bool fromHere = m_pItemDragging != nullptr;
  CTKPTaskPanelItem* pTarget = nullptr;
  taskpanel::DropRights rights;
  const bool readable = HasGlobalFormat(pDataObject, ElementFormat()) && (fromHere || HasGlobalFormat(pDataObject, CF_TEXT));
  if (readable) {
    pTarget = DropPlaceAt(point);
    const CTKPTaskPanelGroup* pOver = pTarget ? pTarget->GetItemGroup() : nullptr;
    const bool otherGroup = fromHere && pOver != m_pItemDragging->GetItemGroup();
    rights = taskpanel::AllowedDrop(fromHere, fromHere ? m_pItemDragging->GetAllowDrag() : 0, otherGroup);
    if (!rights.Any()) pTarget = nullptr;
  }
  SetDropTarget(pTarget);
  return taskpanel::DropEffectFor(pTarget != nullptr, rights, (dwKeyState & MK_CONTROL) != 0);
}

BOOL CTKPTaskPanel::OnDrop(IDataObject* pDataObject, DWORD dropEffect, CPoint) {
  CTKPTaskPanelItem* pTarget = m_pItemDragOver;
  SetDropTarget(nullptr);
  if (pTarget == nullptr) return FALSE;
  if (dropEffect != DROPEFFECT_COPY && dropEffect != DROPEFFECT_MOVE) return TRUE;
  CTKPTaskPanelItem* pNew = ReadElement(pDataObject);
  if (pNew == nullptr) return FALSE;
  if (pNew->IsGroup()) {  // only items go into groups
    pNew->InternalRelease();
    return FALSE;
  }
  if (pTarget->IsGroup()) {
    static_cast<CTKPTaskPanelGroup*>(pTarget)->GetItems()->Add(pNew);
  } else {
    pTarget->GetParentItems()->InsertAt(taskpanel::DropIndex(pTarget->GetIndex(), m_pPaintManager->m_bDropAfter), pNew);
  }
  if (pNew->IsAcceptFocus()) SetFocusedItem(pNew);
  NotifyOwner(NotifyItemDrop, reinterpret_cast<LPARAM>(pNew));
  return TRUE;
}

void CTKPTaskPanel::DrawDropMarker(CDC* pDC) {
  CTKPTaskPanelItem* pTarget = m_pItemDragOver;
  if (pTarget == nullptr || pTarget->GetItemGroup() == nullptr) return;
  const int scroll = GetScrollOffset();
  if (!pTarget->IsGroup()) {
    CRect rc = pTarget->GetHitTestRect();
    rc.OffsetRect(0, scroll);
    m_pPaintManager->DrawDragArrow(pDC, rc, m_pPaintManager->m_bDropAfter);
    return;
  }
  // A group takes the item at its end: under its last item, or under its caption.
  auto* pGroup = static_cast<CTKPTaskPanelGroup*>(pTarget);
  CTKPTaskPanelGroupItem* pLast = pGroup->IsExpanded() ? pGroup->GetNextVisibleItem(pGroup->GetItemCount(), -1) : nullptr;
  CRect rc = pLast ? pLast->GetHitTestRect() : CRect();
  if (rc.IsRectEmpty()) {
    rc = pGroup->GetCaptionRect();
    rc.OffsetRect(0, -scroll);
  }
  rc.OffsetRect(0, scroll);
  m_pPaintManager->DrawDragArrow(pDC, rc, TRUE);
}

// ---- groups ----

void CTKPTaskPanel::OnStartGroupDrag(CTKPTaskPanelGroup* pGroup) {
  if (pGroup == nullptr || pGroup->GetAllowDrag() == 0) return;
  ::SetCursor(::LoadCursorW(nullptr, IDC_SIZENS));
  pGroup->InternalAddRef();
  m_pItemDragging = pGroup;
  Invalidate(FALSE);
  // Follows the mouse from caption to caption until the button goes up, Escape or the capture goes.
  while (::GetCapture() == m_hWnd) {
    MSG msg;
    if (!::GetMessageW(&msg, nullptr, 0, 0)) {
      ::PostQuitMessage(static_cast<int>(msg.wParam));
      break;
    }
    if (msg.message == WM_MOUSEMOVE && msg.hwnd == m_hWnd) {
      BOOL bOnCaption = FALSE;
      CTKPTaskPanelItem* pHit = HitTest(CPoint(static_cast<short>(LOWORD(msg.lParam)), static_cast<short>(HIWORD(msg.lParam))), &bOnCaption);
      if (bOnCaption && pHit && pHit != pGroup && m_pItemDragging == pGroup) m_pGroups->Move(pGroup, pHit->GetIndex());
      continue;
    }
    if (msg.message == WM_LBUTTONUP || (msg.message == WM_KEYDOWN && msg.wParam == VK_ESCAPE)) break;
    ::TranslateMessage(&msg);
    ::DispatchMessageW(&msg);
  }
  ::SetCursor(::LoadCursorW(nullptr, IDC_ARROW));
  m_pItemDragging = nullptr;
  if (::GetCapture() == m_hWnd) ::ReleaseCapture();
  Invalidate(FALSE);
  pGroup->InternalRelease();
}
