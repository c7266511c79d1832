// The task panel's mouse, keyboard and scroll bar.
#include <cstdlib>

#include "toolkit/common/draw_helpers.h"
#include "toolkit/common/tkp_mouse_manager.h"
#include "toolkit/taskpanel/tkp_task_panel.h"
#include "toolkit/taskpanel/tp_drag.h"

namespace {
constexpr int kLineScroll = 6;
constexpr int kWheelScroll = 10;
}  // namespace

// ---- mouse ----

void CTKPTaskPanel::OnMouseMove(UINT nFlags, CPoint point) {
  CWnd::OnMouseMove(nFlags, point);
  if (TKPMouseManager()->IsMouseHeld()) return;  // a menu or a drag loop holds the mouse
  CTKPTaskPanelItem* pHit = HitTest(point);
  const bool hot = pHit && pHit->IsAcceptFocus() && CTKPDrawHelpers::IsTopParentActive(m_hWnd) &&
                   (m_pItemPressed == nullptr || m_pItemPressed == pHit);
  SetHotItem(hot ? pHit : nullptr);
  // A pressed element pulled away from where it was pressed is dragged.
  if (m_pItemPressed && (nFlags & MK_LBUTTON) &&
      taskpanel::IsDragDistance(point.x - m_ptPressed.x, point.y - m_ptPressed.y)) {
    CTKPTaskPanelItem* pPressed = m_pItemPressed;
    if (pPressed->IsGroup()) {
      OnStartGroupDrag(static_cast<CTKPTaskPanelGroup*>(pPressed));
    } else {
      OnStartItemDrag(pPressed);
    }
    return;
  }
  // The scroll buttons light up under the mouse.
  CTKPTaskPanelScrollButton* pUnder = ScrollButtonAt(point);
  for (CTKPTaskPanelScrollButton* pButton : {&m_scrollUp, &m_scrollDown}) {
    const BOOL bHot = pButton == pUnder;
    if (pButton->bHot == bHot) continue;
    pButton->bHot = bHot;
    if (bHot && !m_bTrackingLeave) {
      TRACKMOUSEEVENT tme{sizeof tme, TME_LEAVE, m_hWnd, 0};
      m_bTrackingLeave = ::TrackMouseEvent(&tme);
    }
    Invalidate(FALSE);
  }
}

void CTKPTaskPanel::OnMouseLeave() {
  m_bTrackingLeave = FALSE;
  SetHotItem(nullptr);
  if (m_scrollUp.bHot || m_scrollDown.bHot) {
    m_scrollUp.bHot = m_scrollDown.bHot = FALSE;
    Invalidate(FALSE);
  }
}

BOOL CTKPTaskPanel::OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message) {
  if (m_pItemHot && nHitTest == HTCLIENT && m_hHandCursor) {
    ::SetCursor(m_hHandCursor);
    return TRUE;
  }
  return CWnd::OnSetCursor(pWnd, nHitTest, message);
}

void CTKPTaskPanel::OnPress(CPoint point) {
  CTKPTaskPanelItem* pHit = HitTest(point);
  if (pHit == nullptr || !pHit->IsAcceptFocus()) {
    // Only the panel: no element of it takes the focus from a click on nothing.
    if (m_bAcceptFocus) FocusPanel();
    return;
  }
  SetFocusedItem(pHit, FALSE);
  // The element under the pressed button is the hot one, whatever the last move said.
  SetHotItem(pHit);
  m_pItemPressed = pHit;
  m_ptPressed = point;
  SetCapture();
  Invalidate(FALSE);
}

void CTKPTaskPanel::OnLButtonDown(UINT, CPoint point) {
  OnPress(point);
  PressScrollButton(point);
}

void CTKPTaskPanel::PressScrollButton(CPoint point) {
  CTKPTaskPanelScrollButton* pButton = ScrollButtonAt(point);
  if (pButton && pButton->bEnabled) RunScrollButtonLoop(*pButton);
}

void CTKPTaskPanel::RunScrollButtonLoop(CTKPTaskPanelScrollButton& button) {
  const int rows = button.bScrollUp ? -1 : 1;
  button.bPressed = TRUE;
  SetCapture();
  if (button.pGroupScroll) button.pGroupScroll->Scroll(rows);
  Invalidate(FALSE);
  m_pTimers->Start(m_hWnd, kTaskPanelScrollTimer, 500);
  bool first = true;
  // Scrolls a row at each tick until the button is released, Esc is pressed or the capture goes.
  while (::GetCapture() == m_hWnd) {
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, WM_PAINT, WM_PAINT, PM_REMOVE)) ::DispatchMessageW(&msg);
    if (!::GetMessageW(&msg, nullptr, 0, 0)) {
      ::PostQuitMessage(static_cast<int>(msg.wParam));
      break;
    }
    if (msg.message == WM_TIMER && msg.hwnd == m_hWnd && msg.wParam == kTaskPanelScrollTimer) {
      if (button.pGroupScroll) button.pGroupScroll->Scroll(rows);  // the group may have gone meanwhile
      if (first) m_pTimers->Start(m_hWnd, kTaskPanelScrollTimer, 50);
      first = false;
      continue;
    }
    if (msg.message == WM_LBUTTONUP || (msg.message == WM_KEYDOWN && msg.wParam == VK_ESCAPE)) break;
    if (msg.message == WM_MOUSEMOVE) continue;
    ::TranslateMessage(&msg);
    ::DispatchMessageW(&msg);
  }
  m_pTimers->Stop(m_hWnd, kTaskPanelScrollTimer);
  button.bPressed = FALSE;
  if (::GetCapture() == m_hWnd) ::ReleaseCapture();
  Invalidate(FALSE);
}

void CTKPTaskPanel::OnLButtonUp(UINT nFlags, CPoint point) {
  CWnd::OnLButtonUp(nFlags, point);
  CTKPTaskPanelItem* pPressed = m_pItemPressed;
  if (pPressed == nullptr) return;
  m_pItemPressed = nullptr;  // before the capture goes, which would clear it
  ::ReleaseCapture();
  Invalidate(FALSE);
  if (pPressed == m_pItemHot && pPressed == HitTest(point)) ActivateItem(pPressed);
}

void CTKPTaskPanel::OnLButtonDblClk(UINT, CPoint point) {
  // The second press of a double click presses like the first, on a scroll button too.
  OnPress(point);
  PressScrollButton(point);
  if (m_pItemPressed && m_pItemPressed == m_pItemHot && !m_pItemPressed->IsGroup()) {
    NotifyOwner(NotifyItemDoubleClick, reinterpret_cast<LPARAM>(m_pItemPressed));
  }
}

void CTKPTaskPanel::OnRButtonDown(UINT nFlags, CPoint point) {
  CWnd::OnRButtonDown(nFlags, point);
  CTKPTaskPanelItem* pHit = HitTest(point);
  if (pHit == nullptr || !pHit->IsAcceptFocus()) return;
  SetFocusedItem(pHit, FALSE);
  NotifyOwner(NotifyItemRightClick, reinterpret_cast<LPARAM>(pHit));
}

void CTKPTaskPanel::OnCaptureChanged(CWnd*) {
  if (m_pItemPressed == nullptr) return;
  m_pItemPressed = nullptr;
  Invalidate(FALSE);
}

void CTKPTaskPanel::ActivateItem(CTKPTaskPanelItem* pItem) {
  if (pItem->IsGroup()) {
    auto* pGroup = static_cast<CTKPTaskPanelGroup*>(pItem);
    if (pGroup->IsExpandable()) ExpandGroup(pGroup, !pGroup->IsExpanded());
  } else if (pItem->GetType() == taskpanel::kTypeLink) {
    OnClick(static_cast<CTKPTaskPanelGroupItem*>(pItem));
  }
}

// ---- keyboard ----

UINT CTKPTaskPanel::OnGetDlgCode() { return DLGC_WANTARROWS | DLGC_WANTTAB | DLGC_WANTCHARS; }

void CTKPTaskPanel::TabOutOfPanel(BOOL bPrevious) {
  HWND hParent = ::GetParent(m_hWnd);
  if (hParent == nullptr) return;
  HWND hNext = ::GetNextDlgTabItem(hParent, m_hWnd, bPrevious);
  if (hNext && hNext != m_hWnd) ::SetFocus(hNext);
}

void CTKPTaskPanel::OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags) {
  CTKPDrawHelpers::KeyToLayout(m_hWnd, nChar);
  const BOOL bShift = ::GetKeyState(VK_SHIFT) < 0;
  CTKPTaskPanelItem* pFocused = m_pItemFocused;
  switch (nChar) {
    case VK_TAB: {
      CTKPTaskPanelItem* pNext = GetNextItem(pFocused, bShift ? -1 : 1, TRUE, FALSE);
      if (pNext) {
        SetFocusedItem(pNext, TRUE);
      } else {
        TabOutOfPanel(bShift);
      }
      return;
    }
    case VK_RETURN:
    case VK_SPACE:
      if (pFocused && pFocused->IsAcceptFocus()) ActivateItem(pFocused);
      return;
    case VK_HOME:
    case VK_END:
      if (pFocused && pFocused->GetParentItems()) {
        CTKPTaskPanelItems* pItems = pFocused->GetParentItems();
        CTKPTaskPanelItem* pEnd = nChar == VK_HOME ? pItems->GetFirstVisibleItem() : pItems->GetLastVisibleItem();
        if (pEnd && pEnd->IsAcceptFocus()) SetFocusedItem(pEnd, TRUE);
      }
      return;
    case VK_LEFT:
    case VK_UP:
    case VK_RIGHT:
    case VK_DOWN: {
      const int direction = nChar == VK_LEFT || nChar == VK_UP ? -1 : 1;
      if (!IsExplorerBehaviour() && ::GetKeyState(VK_CONTROL) < 0) {
        SwitchActiveGroup(direction);
        return;
      }
      CTKPTaskPanelItem* pNext = GetNextItem(pFocused, direction, FALSE, nChar == VK_UP || nChar == VK_DOWN);
      if (pNext) SetFocusedItem(pNext, TRUE);
      return;
    }
    default:
      CWnd::OnKeyDown(nChar, nRepCnt, nFlags);
  }
}

BOOL CTKPTaskPanel::SwitchActiveGroup(int nDirection) {
  const int nActive = m_pActiveGroup ? m_pGroups->Find(m_pActiveGroup) : (nDirection > 0 ? -1 : GetGroupCount());
  CTKPTaskPanelGroup* pNext = GetNextVisibleGroup(nActive, nDirection);
  if (pNext == nullptr || !pNext->IsAcceptFocus()) return FALSE;
  ExpandGroup(pNext, TRUE);
  SetFocusedItem(pNext, FALSE);
  return TRUE;
}

void CTKPTaskPanel::OnSetFocus(CWnd* pOldWnd) {
  CWnd::OnSetFocus(pOldWnd);
  HWND hParent = ::GetParent(m_hWnd);
  if (!m_bSettingFocus && pOldWnd && hParent) {
    // Coming by Tab from the control before the panel (Shift+Tab: after it) enters at its first
    // (last) element.
    const BOOL bShift = ::GetKeyState(VK_SHIFT) < 0;
    if (::GetNextDlgTabItem(hParent, m_hWnd, !bShift) == pOldWnd->m_hWnd) {
      if (CTKPTaskPanelItem* pFirst = GetNextItem(nullptr, bShift ? -1 : 1, TRUE, FALSE)) SetFocusedItem(pFirst, TRUE);
    }
  }
  Invalidate(FALSE);
}

void CTKPTaskPanel::OnKillFocus(CWnd* pNewWnd) {
  CWnd::OnKillFocus(pNewWnd);
  m_bDrawFocusRect = FALSE;
  Invalidate(FALSE);
}

// ---- scrolling ----

void CTKPTaskPanel::OnVScroll(UINT nSBCode, UINT, CScrollBar*) {
  CRect rc;
  GetClientRect(rc);
  const int limit = taskpanel::ScrollLimit(m_nClientHeight, rc.Height());
  int pos = GetScrollOffset();
  switch (nSBCode) {
    case SB_LINEUP: pos -= kLineScroll; break;
    case SB_LINEDOWN: pos += kLineScroll; break;
    case SB_PAGEUP: pos -= rc.Height(); break;
    case SB_PAGEDOWN: pos += rc.Height(); break;
    case SB_THUMBPOSITION:
    case SB_THUMBTRACK: {
      SCROLLINFO si{};
      si.cbSize = sizeof si;
      si.fMask = SIF_TRACKPOS;
      ::GetScrollInfo(m_hWnd, SB_VERT, &si);
      pos = si.nTrackPos;
      break;
    }
    case SB_TOP: pos = 0; break;
    case SB_BOTTOM: pos = limit; break;
    default: return;
  }
  SetScrollPosition(pos);
}

BOOL CTKPTaskPanel::OnMouseWheel(UINT, short zDelta, CPoint) {
  auto* pActive = static_cast<CTKPTaskPanelGroup*>(m_pActiveGroup);
  if (!m_bScrollVisible && pActive && !IsExplorerBehaviour()) {
    // Without a scroll bar the wheel scrolls the open group, up to three rows at a time.
    const BOOL bUp = zDelta > 0;
    for (int i = 0; i < 3 && pActive->CanScroll(bUp); ++i) pActive->Scroll(bUp ? -1 : 1);
    return TRUE;
  }
  if (!m_bScrollVisible) return FALSE;
  SetScrollPosition(GetScrollOffset() + (zDelta < 0 ? kWheelScroll : -kWheelScroll));
  return TRUE;
}
