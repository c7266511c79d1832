#include "toolkit/taskpanel/tkp_task_panel_edit.h"

#include "toolkit/taskpanel/tkp_task_panel.h"
#include "toolkit/taskpanel/tkp_task_panel_paint_manager.h"

CTKPTaskPanelEditItem::CTKPTaskPanelEditItem(CTKPTaskPanel* pPanel, CTKPTaskPanelItem* pItem)
    : m_pPanel(pPanel), m_pItem(pItem) {
  m_pItem->InternalAddRef();
}

CTKPTaskPanelEditItem::~CTKPTaskPanelEditItem() {
  Cancel();
  if (m_hWnd) DestroyWindow();
  m_pItem->InternalRelease();
}

BOOL CTKPTaskPanelEditItem::Open(const CRect& rc, CFont* pFont) {
  if (!Create(WS_CHILD | WS_VISIBLE | WS_BORDER | ES_AUTOHSCROLL, rc, m_pPanel, 0)) return FALSE;
  if (pFont) SetFont(pFont);
  SetWindowText(m_pItem->GetCaption());
  SetSel(0, -1);
  SetFocus();
  return TRUE;
}

void CTKPTaskPanelEditItem::Cancel() {
  m_bCancel = TRUE;
  m_bEnded = TRUE;
}

void CTKPTaskPanelEditItem::EndEdit(BOOL bCancel) {
  // Closing the window takes its focus away, which would end the edit a second time.
  if (m_bEnded) return;
  m_bEnded = TRUE;
  m_bCancel = bCancel;
  if (m_hWnd) PostMessage(WM_CLOSE);
  if (m_bCancel || m_hWnd == nullptr) return;
  CString text;
  GetWindowText(text);
  // An item that left the panel meanwhile is no longer the panel's to rename.
  if (!text.IsEmpty() && m_pItem->GetTaskPanel() == m_pPanel) m_pPanel->OnEndLabelEdit(m_pItem, text);
}

BOOL CTKPTaskPanelEditItem::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
  switch (message) {
    case WM_CHAR:
      if (wParam == VK_RETURN || wParam == VK_ESCAPE) {
        EndEdit(wParam == VK_ESCAPE);
        *pResult = 0;
        return TRUE;
      }
      break;
    case WM_KILLFOCUS: {
      const BOOL handled = CEdit::OnWndMsg(message, wParam, lParam, pResult);
      EndEdit(FALSE);
      return handled;
    }
    case WM_GETDLGCODE:
      *pResult = DLGC_WANTALLKEYS;
      return TRUE;
    default:
      break;
  }
  return CEdit::OnWndMsg(message, wParam, lParam, pResult);
}

// ---- the panel's side ----

CTKPTaskPanelEditItem* CTKPTaskPanel::GetRenameEdit() const {
  return m_pRenameEdit && m_pRenameEdit->m_hWnd && !m_pRenameEdit->IsEnded() ? m_pRenameEdit.get() : nullptr;
}

void CTKPTaskPanel::RenameItem(CTKPTaskPanelItem* pItem) {
  if (m_hWnd == nullptr || pItem == nullptr || pItem->GetTaskPanel() != this) return;
  // One rename at a time: an open one ends with what was typed.
  if (m_pRenameEdit) m_pRenameEdit->EndEdit(FALSE);
  m_pRenameEdit.reset();
  EnsureVisible(pItem);
  CRect rc = pItem->GetHitTestRect();
  CFont* pFont = &m_pPaintManager->m_fntCaption;
  if (!pItem->IsGroup()) {
    auto* pGroupItem = static_cast<CTKPTaskPanelGroupItem*>(pItem);
    pFont = m_pPaintManager->GetItemFont(pGroupItem);
    // Over the caption's text, as wide as the item.
    const CRect text = pGroupItem->GetTextRect();
    const int indent = static_cast<int>(text.left - pGroupItem->GetItemRect().left);
    if (!text.IsRectEmpty() && indent > 0) rc.left += indent;
    // As wide as the group's body allows, so that a longer name has room.
    if (CTKPTaskPanelGroup* pGroup = pGroupItem->GetItemGroup()) {
      const int right = pGroup->GetClientRect().right - m_pPaintManager->GetGroupInnerMargins(pGroup).right;
      if (right > rc.right) rc.right = right;
    }
  }
  if (rc.IsRectEmpty()) return;
  rc.InflateRect(0, 1);
  m_pRenameEdit = std::make_unique<CTKPTaskPanelEditItem>(this, pItem);
  if (!m_pRenameEdit->Open(rc, pFont)) m_pRenameEdit.reset();
}

void CTKPTaskPanel::OnEndLabelEdit(CTKPTaskPanelItem* pItem, LPCTSTR lpszText) {
  if (NotifyOwner(NotifyEndLabelEdit, reinterpret_cast<LPARAM>(lpszText)) == 0) pItem->SetCaption(lpszText);
}
