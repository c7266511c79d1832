// What every command bar does in customize mode: a press on a control selects and drags it, a right press
// opens the customize dialog's context menu for it, and a control dragged over the bar shows where it
// would land and is inserted there when dropped.
#include <vector>

#include "platform/classlib/win/cdc.h"
#include "toolkit/commandbars/bars/tkp_bar_controls.h"
#include "toolkit/commandbars/bars/tkp_command_bar.h"
#include "toolkit/commandbars/frame/tkp_command_bars.h"
#include "toolkit/commandbars/controls/tkp_control.h"
#include "toolkit/commandbars/controls/tkp_control_popup.h"
#include "toolkit/commandbars/controls/tkp_controls.h"
#include "toolkit/commandbars/customize/tkp_customize_drop_source.h"
#include "toolkit/commandbars/customize/tkp_customize_logic.h"
#include "toolkit/commandbars/customize/tkp_customize_sheet.h"
#include "toolkit/commandbars/bars/tkp_tool_bar.h"
#include "toolkit/common/color_manager.h"
#include "toolkit/common/resource_manager.h"
#include "res/toolkit_resource.h"

namespace {

bool IsVerticalBar(const CTKPCommandBar* bar) {
  const int position = bar->GetPosition();
  return position == tkpBarLeft || position == tkpBarRight || bar->GetType() == tkpBarTypePopup;
}

std::vector<tkpcust::DropItem> DropItems(const CTKPCommandBar* bar) {
  std::vector<tkpcust::DropItem> items;
  for (int i = 0; i < bar->GetControlCount(); ++i) {
    const CTKPControl* control = bar->GetControl(i);
    tkpcust::DropItem item;
    item.rect = control->GetRect();
    item.visible = control->IsVisible() != FALSE;
    item.fixed = (control->GetFlags() & tkpFlagNoMovable) != 0;
    item.beginGroup = control->GetBeginGroup() != FALSE;
    item.wrap = control->GetWrap() != FALSE;
    items.push_back(item);
  }
  return items;
}

int IndexOn(const CTKPCommandBar* bar, const CTKPControl* control) {
  for (int i = 0; i < bar->GetControlCount(); ++i) {
    if (bar->GetControl(i) == control) return i;
  }
  return -1;
}

// A control that customizing may take: visible and not fixed.
CTKPControl* CustomizableControl(CTKPCommandBar* bar, CTKPControl* control) {
  if (control == nullptr || !bar->IsCustomizable() || !control->IsVisible()) return nullptr;
  return (control->GetFlags() & tkpFlagNoMovable) != 0 ? nullptr : control;
}

}  // namespace

int CTKPCommandBar::OnCustomizeDragEnter(CTKPControl* pDragged, CPoint pt) {
  m_rcMarker.SetRectEmpty();
  return OnCustomizeDragOver(pDragged, pt, tkpcust::kDragMove);
}

void CTKPCommandBar::OnCustomizeDragLeave() {
  if (m_rcMarker.IsRectEmpty()) return;
  m_rcMarker.SetRectEmpty();
  Invalidate();
}

int CTKPCommandBar::OnCustomizeDragOver(CTKPControl* pDragged, CPoint pt, int nEffect) {
  if (!IsCustomizable() || (GetStyle() & WS_VISIBLE) == 0) return tkpcust::kDragNone;
  CRect client;
  GetClientRect(client);
  const bool vertical = IsVerticalBar(this);
  const tkpcust::DropPlace place = tkpcust::FindDropPlace(DropItems(this), pt, vertical, client,
                                                          IndexOn(this, pDragged));
  const int over = HitTestControl(pt);
  if (over >= 0 && GetParentCommandBar() == nullptr && over != m_nPopuped) {
    if (CTKPCommandBars* bars = GetCommandBars()) bars->ClosePopups();
  }
  // The control under the pointer opens its popup first, so that a control that may only go into menus
  // still reaches a menu through its title.
  if (CTKPControl* control = GetControl(over)) control->OnCustomizeDragOver(pDragged, pt);
  if (pDragged != nullptr && !pDragged->IsCustomizeDragOverAvail(this, pt, nEffect)) {
    OnCustomizeDragLeave();
    return tkpcust::kDragNone;
  }
  if (place.marker != m_rcMarker) {
    m_rcMarker = place.marker;
    m_bVerticalMarker = !vertical;
    Invalidate();
  }
  return nEffect;
}

void CTKPCommandBar::OnCustomizeDrop(CTKPControl* pDragged, int& nResult, CPoint ptDrop, CPoint ptDrag) {
  int effect = nResult;
  if (pDragged != nullptr && !pDragged->IsCustomizeDragOverAvail(this, ptDrop, effect)) {
    nResult = tkpcust::kDragNone;
    return;
  }
  CRect client;
  GetClientRect(client);
  const std::vector<tkpcust::DropItem> items = DropItems(this);
  const int dragged = IndexOn(this, pDragged);
  const tkpcust::DropPlace place = tkpcust::FindDropPlace(items, ptDrop, IsVerticalBar(this), client, dragged);
  CTKPCommandBars* bars = GetCommandBars();
  if (place.onDragged) {
    pDragged->SetBeginGroup(tkpcust::GroupAfterDropOntoSelf(ptDrop - ptDrag, !place.before, dragged == 0,
                                                            pDragged->GetBeginGroup() != FALSE));
    nResult = tkpcust::kDragCancel;  // it stays where it is: nothing to take away
  } else {
    // Only this bar's own popup closes: a popup the control was dropped into stays open and shows it.
    PopupControl(-1);
    SetSelected(-1);
    const tkpcust::Insertion ins = tkpcust::InsertionFor(items, place, pDragged->GetBeginGroup() != FALSE);
    if (ins.clearGroupOfNext) GetControl(place.index)->SetBeginGroup(FALSE);
    const int before = ins.index >= GetControlCount() ? -1 : ins.index;
    CTKPControl* added = GetControls()->AddClone(pDragged, before, TRUE);
    if (added != nullptr) {
      added->SetBeginGroup(ins.beginGroup);
      added->SetVisible(TRUE);
      if (bars != nullptr) bars->SetDragControl(added);
    }
  }
  OnRecalcLayout();
  m_rcMarker.SetRectEmpty();
  Invalidate();
}

// ---- controls under a dragged control ------------------------------------------------------------------

void CTKPControl::OnCustomizeDragOver(CTKPControl*, CPoint) {
  if (m_pParent == nullptr) return;
  m_pParent->PopupControl(-1);
  m_pParent->SetSelected(-1);
}

void CTKPControlPopup::OnCustomizeDragOver(CTKPControl* pDragged, CPoint) {
  if (m_pParent == nullptr || m_pCommandBar == nullptr || !m_pCommandBar->IsCustomizable()) return;
  auto* dragged = pDragged != nullptr && pDragged->IsKindOf(RUNTIME_CLASS(CTKPControlPopup))
                      ? static_cast<CTKPControlPopup*>(pDragged)
                      : nullptr;
  // A popup never opens to take itself, or a popup that holds it.
  if (dragged != nullptr && IsContainingPopup(dragged)) {
    m_pParent->PopupControl(-1);
    m_pParent->SetSelected(-1);
    return;
  }
  m_pParent->PopupControl(m_nIndex, FALSE);
}

namespace {

// Alt+press outside customize mode: the control is dragged as in customize mode, which lasts as long
// as the drag.
BOOL AltDrag(CTKPCommandBar* bar, CTKPControl* control, CPoint screen) {
  CTKPCommandBars* bars = bar->GetCommandBars();
  CTKPToolBar* toolbar = dynamic_cast<CTKPToolBar*>(bar);
  if (toolbar == nullptr || bars == nullptr || !TKPIsKeyDown(VK_MENU) || !bars->IsCustomizeAvail() ||
      !bars->GetOptions()->bAltDragCustomization || CustomizableControl(bar, control) == nullptr) {
    return FALSE;
  }
  bars->SetCustomizeMode(TRUE);
  bars->ClosePopups();
  bar->SetSelected(-1);
  tkp_bar::AddRef(control);
  CTKPCustomizeDropSource source(bars, bar);
  const int result = source.DoDragDrop(control, FALSE, &screen);
  CTKPCustomizeDropSource::FinishDrag(bars, control, result, source.IsMove());
  tkp_bar::Release(control);
  bars->SetCustomizeMode(FALSE);
  bars->RecalcFrameLayout(FALSE);
  bars->ClosePopups();
  return TRUE;
}

}  // namespace

BOOL CTKPCommandBar::OnCustomizeMessage(UINT message, WPARAM, LPARAM lParam) {
  if (!IsCustomizeMode()) {
    const CPoint point(static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam)));
    CTKPControl* hit = GetControl(HitTestControl(point));
    CPoint screen = point;
    ClientToScreen(screen);
    return hit != nullptr && AltDrag(this, hit, screen);
  }
  if (message == WM_SETCURSOR) {
    // Over the side edge of a resizable control, the size cursor.
    POINT cursor{};
    ::GetCursorPos(&cursor);
    ::ScreenToClient(m_hWnd, &cursor);
    const CPoint point(cursor.x, cursor.y);
    CTKPControl* hit = GetControl(HitTestControl(point));
    if (hit == nullptr || !hit->IsCustomizeResizeAllow() || !hit->IsCustomizeResizeEdge(point)) return FALSE;
    HCURSOR size = TKPResourceManager()->LoadCursor(IDC_TK_CUSTOMIZE_RESIZE);
    if (size == nullptr) return FALSE;
    ::SetCursor(size);
    return TRUE;
  }
  if (message != WM_LBUTTONDOWN && message != WM_RBUTTONDOWN && message != WM_RBUTTONUP &&
      message != WM_LBUTTONDBLCLK) {
    return FALSE;
  }
  CTKPCommandBars* bars = GetCommandBars();
  const CPoint point(static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam)));
  CTKPControl* hit = GetControl(HitTestControl(point));
  if (bars == nullptr || hit == nullptr) return FALSE;  // the bar's own handling (its gripper, its menu)
  CTKPControl* control = CustomizableControl(this, hit);
  if (control == nullptr || (message != WM_LBUTTONDOWN && message != WM_RBUTTONDOWN)) return TRUE;
  // A second press on the selected control's side edge resizes it.
  if (message == WM_LBUTTONDOWN && control == bars->GetDragControl() && control->IsCustomizeResizeAllow() &&
      control->CustomizeStartResize(point)) {
    return TRUE;
  }
  auto* popup = control->IsKindOf(RUNTIME_CLASS(CTKPControlPopup)) ? static_cast<CTKPControlPopup*>(control) : nullptr;
  const BOOL wasOpen = popup != nullptr && popup->IsPopupOpen();
  const BOOL inMenu = m_barType == tkpBarTypePopup;
  if (!inMenu) {
    bars->ClosePopups();
  } else if (!wasOpen) {
    PopupControl(-1);  // only the menu's open sub-menu goes: the menu stays for its other items
  }
  SetSelected(-1);
  bars->SetDragControl(control);
  CPoint screen = point;
  ClientToScreen(screen);
  if (message == WM_RBUTTONDOWN) {
    TKPCustomizeContextMenu(bars, screen);
    return TRUE;
  }
  // A press opens a closed popup, so that its items can be customized as well; on a bar a press on an
  // open one only closes it. The drag goes on in every case.
  if (popup != nullptr && !wasOpen && popup->GetEnabled() &&
      popup->GetCommandBar() != nullptr && popup->GetCommandBar()->IsCustomizable()) {
    PopupControl(popup->GetIndex(), FALSE);
  }
  UpdateWindow();
  tkp_bar::AddRef(control);  // the drop may take it off this bar
  CTKPCustomizeDropSource source(bars, this);
  const int result = source.DoDragDrop(control, FALSE, &screen);
  CTKPCustomizeDropSource::FinishDrag(bars, control, result, source.IsMove());
  tkp_bar::Release(control);
  return TRUE;
}

void CTKPCommandBar::DrawCustomizeMarker(CDC* pDC) const {
  if (m_rcMarker.IsRectEmpty()) return;
  // An I-beam inverted in the face colour: a one-pixel cap at each end joined by a two-pixel stem.
  const CRect& rc = m_rcMarker;
  HBRUSH brush = ::CreateSolidBrush(TKPColorManager()->GetColor(COLOR_BTNFACE));
  HDC dc = pDC->GetSafeHdc();
  const HGDIOBJ old = ::SelectObject(dc, brush);
  if (m_bVerticalMarker) {
    const int x = rc.left + rc.Width() / 2 - 1;
    ::PatBlt(dc, rc.left, rc.top, rc.Width(), 1, PATINVERT);
    ::PatBlt(dc, rc.left, rc.bottom - 1, rc.Width(), 1, PATINVERT);
    ::PatBlt(dc, x, rc.top + 1, 2, rc.Height() - 2, PATINVERT);
  } else {
    const int y = rc.top + rc.Height() / 2 - 1;
    ::PatBlt(dc, rc.left, rc.top, 1, rc.Height(), PATINVERT);
    ::PatBlt(dc, rc.right - 1, rc.top, 1, rc.Height(), PATINVERT);
    ::PatBlt(dc, rc.left + 1, y, rc.Width() - 2, 2, PATINVERT);
  }
  ::SelectObject(dc, old);
  ::DeleteObject(brush);
}
