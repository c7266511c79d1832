// Scrolling a popup menu taller than the work area: the controls shown between the arrow strips at its
// top and bottom, the arrows' timers while the mouse rests on them, and a scrolled-out selection
// brought into view.
#include <vector>

#include "platform/classlib/win/cdc.h"
#include "toolkit/commandbars/bars/popup_scroll_layout.h"
#include "toolkit/commandbars/controls/tkp_control.h"
#include "toolkit/commandbars/controls/tkp_control_popup.h"
#include "toolkit/commandbars/controls/tkp_controls.h"
#include "toolkit/commandbars/paint/tkp_paint_manager.h"
#include "toolkit/commandbars/bars/tkp_popup_bar.h"
#include "toolkit/common/color_manager.h"

namespace {

constexpr UINT kScrollPeriod = 80;

}  // namespace

void CTKPPopupBar::UpdateScrolling(const CRect& rcWindow) {
  if (!m_bScrolling) {
    StopScrolling();
    m_scrollDown.rc.SetRectEmpty();
    m_scrollUp.rc.SetRectEmpty();
    return;
  }
  m_nFirstVisible = 0;
  CSize size(rcWindow.Width(), rcWindow.Height());
  ScrollLayout(&size, FALSE, FALSE);
}

void CTKPPopupBar::ScrollLayout(CSize* pSize, BOOL bFromLast, BOOL bRedraw) {
  CRect client;
  if (pSize != nullptr) {
    client.SetRect(0, 0, pSize->cx, pSize->cy);
  } else if (m_hWnd != nullptr) {
    GetClientRect(client);
  }
  CTKPPaintManager* paint = GetPaintManager();
  const CRect borders = paint->GetCommandBarBorders(this);
  CClientDC dc(this);
  const int separator = paint->DrawCommandBarSeparator(&dc, this, nullptr, FALSE).cy;
  const int top = m_rcTearOff.IsRectEmpty() ? borders.top : m_rcTearOff.bottom;
  int bottom = client.bottom - borders.bottom;
  // The expand button keeps its place at the bottom.
  CTKPControl* expand = GetControls()->FindControl(TKP_ID_POPUP_EXPAND);
  if (expand != nullptr && expand->IsVisible()) {
    CRect rc = expand->GetRect();
    bottom -= rc.Height();
    expand->SetRect(CRect(rc.left, bottom, rc.right, bottom + rc.Height()));
  }

  std::vector<TKPScrollItem> items;
  for (int i = 0; i < GetControlCount(); ++i) {
    const CTKPControl* control = GetControl(i);
    TKPScrollItem item;
    item.shown = control != expand && (control->GetHideFlags() & ~static_cast<DWORD>(tkpHideScroll)) == 0;
    item.height = control->GetRect().Height();
    item.gapAbove = control->GetBeginGroup() ? separator : 0;
    items.push_back(item);
  }
  const TKPScrollLayout layout = bFromLast ? TKPScrollBackwards(items, m_nLastVisible, top, bottom)
                                           : TKPScrollForwards(items, m_nFirstVisible, top, bottom);
  for (int i = 0; i < GetControlCount(); ++i) {
    if (!items[static_cast<size_t>(i)].shown) continue;
    CTKPControl* control = GetControl(i);
    const int itemTop = layout.tops[static_cast<size_t>(i)];
    if (itemTop < 0) {
      control->SetHideFlags(control->GetHideFlags() | tkpHideScroll);
      continue;
    }
    const CRect rc = control->GetRect();
    control->SetRect(CRect(rc.left, itemTop, rc.right, itemTop + rc.Height()));
    control->SetHideFlags(control->GetHideFlags() & ~static_cast<DWORD>(tkpHideScroll));
  }
  m_nFirstVisible = layout.first;
  m_nLastVisible = layout.last;
  auto arrow = [&](int arrowTop) {
    return arrowTop < 0 ? CRect()
                        : CRect(borders.left, arrowTop, client.right - borders.right, arrowTop + kTKPScrollArrowHeight);
  };
  m_scrollUp.rc = arrow(layout.upArrowTop);
  m_scrollDown.rc = arrow(layout.downArrowTop);
  if (bRedraw && m_hWnd != nullptr) Invalidate(FALSE);
}

void CTKPPopupBar::StopScrolling() {
  for (ScrollButton* button : {&m_scrollDown, &m_scrollUp}) {
    if (button->nTimer != 0 && m_hWnd != nullptr) KillTimer(button->nID);
    button->nTimer = 0;
  }
}

void CTKPPopupBar::OnScrollMouseMove(CPoint point) {
  if (!m_bScrolling) return;
  for (ScrollButton* button : {&m_scrollDown, &m_scrollUp}) {
    const BOOL over = !button->rc.IsRectEmpty() && button->rc.PtInRect(point);
    if (over && button->nTimer == 0) {
      button->nTimer = SetTimer(button->nID, kScrollPeriod, nullptr);
      PopupControl(-1);
    } else if (!over && button->nTimer != 0) {
      KillTimer(button->nID);
      button->nTimer = 0;
    }
  }
}

BOOL CTKPPopupBar::OnScrollTimer(UINT_PTR nIDEvent) {
  ScrollButton* button = nIDEvent == TKP_TIMER_SCROLLDOWN ? &m_scrollDown
                         : nIDEvent == TKP_TIMER_SCROLLUP ? &m_scrollUp
                                                          : nullptr;
  if (button == nullptr) return FALSE;
  // A mouse that left the window sends no move here: the tick itself sees that it is gone.
  CPoint cursor;
  ::GetCursorPos(cursor);
  ScreenToClient(cursor);
  const BOOL over = m_bScrolling && !button->rc.IsRectEmpty() && button->rc.PtInRect(cursor);
  if (over && button == &m_scrollDown && m_nLastVisible < GetControlCount()) {
    ++m_nLastVisible;
    ScrollLayout(nullptr, TRUE, TRUE);
  } else if (over && button == &m_scrollUp && m_nFirstVisible > 0) {
    --m_nFirstVisible;
    ScrollLayout(nullptr, FALSE, TRUE);
  } else {
    KillTimer(button->nID);
    button->nTimer = 0;
  }
  return TRUE;
}

void CTKPPopupBar::ScrollSelectionIntoView(int nIndex) {
  const CTKPControl* control = GetControl(nIndex);
  if (!m_bScrolling || control == nullptr || (control->GetHideFlags() & tkpHideScroll) == 0) return;
  if (nIndex >= m_nLastVisible) {
    m_nLastVisible = nIndex + 1;
    ScrollLayout(nullptr, TRUE, TRUE);
  } else {
    m_nFirstVisible = nIndex;
    ScrollLayout(nullptr, FALSE, TRUE);
  }
}

void CTKPPopupBar::DrawScrollArrows(CDC* pDC) {
  if (!m_bScrolling) return;
  const COLORREF colour = TKPColorManager()->GetColor(COLOR_BTNTEXT);
  for (const ScrollButton* button : {&m_scrollDown, &m_scrollUp}) {
    if (button->rc.IsRectEmpty()) continue;
    for (const TKPTriangleRow& row : TKPScrollArrowTriangle(button->rc, button == &m_scrollDown)) {
      pDC->FillSolidRect(row.left, row.y, row.right - row.left, 1, colour);
    }
  }
}
