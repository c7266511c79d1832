#include "ui/controls/splitter_ctrl.h"

#include <algorithm>

#include "ui/controls/splitter_layout.h"

IMPLEMENT_DYNAMIC(SplitterCtrl, CStatic)

BEGIN_MESSAGE_MAP(SplitterCtrl, CStatic)
  ON_WM_SIZE()
  ON_WM_LBUTTONDOWN()
  ON_WM_MOUSEMOVE()
  ON_WM_LBUTTONUP()
  ON_WM_SETCURSOR()
  ON_WM_CAPTURECHANGED()
  ON_WM_CANCELMODE()
  ON_WM_DESTROY()
END_MESSAGE_MAP()

namespace {

void MovePane(CWnd* pane, const CRect& rect) {
  if (pane != nullptr && pane->GetSafeHwnd() != nullptr) pane->MoveWindow(rect, TRUE);
}

int ProfileInt(LPCTSTR section, LPCTSTR value, int fallback) {
  CWinApp* app = AfxGetApp();
  return app != nullptr ? static_cast<int>(app->GetProfileInt(section, value, fallback)) : fallback;
}

}  // namespace

BOOL SplitterCtrl::Create(DWORD dwStyle, CWnd* pParentWnd, CWnd* pPane1, CWnd* pPane2, UINT nID, const RECT& rect,
                          int nSize1, int nSize2) {
  // The panes draw themselves: the splitter paints only the bar between them.
  if (!CStatic::Create(_T(""), dwStyle | SS_NOTIFY | WS_CLIPCHILDREN, rect, pParentWnd, nID)) return FALSE;
  m_id = nID;
  m_size1 = nSize1;
  m_size2 = nSize2;
  m_vertical = (dwStyle & kVertical) != 0;
  m_horizontal = !m_vertical && (dwStyle & kHorizontal) != 0;
  for (CWnd* pane : {pPane1, pPane2}) {
    if (pane != nullptr) pane->SetParent(this);
  }
  CRect client;
  GetClientRect(client);
  if (m_vertical) {
    m_left = pPane1;
    m_right = pPane2;
    // The stored position is read back so that the user's split survives a restart; in a window too
    // small for it the panes share the room, and it comes back whole in a window large enough.
    m_leftWidth = std::clamp(ProfileInt(splitter::VerticalSection(m_id), splitter::kVerticalValue, kStartLeftWidth), 0,
                             splitter::kLargestKeptPane);
  } else if (m_horizontal) {
    m_top = pPane1;
    m_bottom = pPane2;
    m_bottomHeight = std::clamp(ProfileInt(splitter::HorizontalSection(m_id), splitter::kHorizontalValue, 2 * m_size2),
                                0, splitter::kLargestKeptPane);
  }
  Relayout();
  return TRUE;
}

void SplitterCtrl::PlaceBar(int position) {
  CRect client;
  GetClientRect(client);
  if (m_vertical) {
    splitter::Placement p = splitter::PlaceVertical(client, position);
    m_hitVertical = p.hit;
    m_leftRect = p.first;
    m_rightRect = p.second;
  } else {
    splitter::Placement p = splitter::PlaceHorizontal(client, position);
    m_hitHorizontal = p.hit;
    m_topRect = p.first;
    m_bottomRect = p.second;
  }
  MovePane(m_vertical ? m_left : m_top, m_vertical ? m_leftRect : m_topRect);
  MovePane(m_vertical ? m_right : m_bottom, m_vertical ? m_rightRect : m_bottomRect);
}

void SplitterCtrl::MoveBar(int position) {
  PlaceBar(position);
  if (m_vertical) {
    m_leftWidth = m_leftRect.Width();
  } else {
    m_bottomHeight = m_bottomRect.Height();
  }
}

void SplitterCtrl::Relayout() {
  CRect client;
  GetClientRect(client);
  // The kept pane's own size stays as it is: only a drag changes it.
  if (m_vertical) {
    if (m_firstHidden) {
      MovePane(m_right, client);
    } else {
      const int shown = splitter::ShownKeptPane(m_leftWidth, client.Width());
      PlaceBar(splitter::ClampBar(client.left + splitter::kHalfBar + shown, client.left, client.right));
    }
  } else if (m_horizontal) {
    const int shown = splitter::ShownKeptPane(m_bottomHeight, client.Height());
    PlaceBar(splitter::ClampBar(client.bottom - splitter::kHalfBar - shown, client.top, client.bottom));
  }
}

void SplitterCtrl::OnSize(UINT nType, int cx, int cy) {
  CStatic::OnSize(nType, cx, cy);
  Relayout();
}

void SplitterCtrl::HideFirstPane() {
  if (!m_vertical || m_firstHidden || m_right == nullptr) return;
  m_firstHidden = true;
  m_hitVertical.SetRectEmpty();
  if (m_left != nullptr) m_left->ShowWindow(SW_HIDE);
  Relayout();
}

void SplitterCtrl::ShowFirstPane() {
  if (!m_vertical || !m_firstHidden) return;
  m_firstHidden = false;
  Relayout();
  if (m_left != nullptr) m_left->ShowWindow(SW_SHOW);
}

int SplitterCtrl::ClampedDragPosition(CPoint point) const {
  CRect client;
  GetClientRect(client);
  return m_vertical ? splitter::ClampBar(point.x, client.left, client.right)
                    : splitter::ClampBar(point.y, client.top, client.bottom);
}

void SplitterCtrl::OnLButtonDown(UINT nFlags, CPoint point) {
  bool onVertical = m_vertical && m_hitVertical.PtInRect(point);
  bool onHorizontal = m_horizontal && m_hitHorizontal.PtInRect(point);
  if (!onVertical && !onHorizontal) {
    CStatic::OnLButtonDown(nFlags, point);
    return;
  }
  GetWindowRect(m_ghostRect);
  m_dragStart = onVertical ? point.x : point.y;
  m_lastPosition = onVertical ? m_hitVertical.CenterPoint().x : m_hitHorizontal.CenterPoint().y;
  m_tracking = m_dragging = true;
  if (!m_fullDrag) DrawGhost(m_lastPosition);
  SetCapture();
  CWnd* previous = SetFocus();
  m_focusBefore = previous != nullptr ? previous->GetSafeHwnd() : nullptr;
  ShowSizingCursor();
}

void SplitterCtrl::OnMouseMove(UINT nFlags, CPoint point) {
  if ((m_vertical && m_hitVertical.PtInRect(point)) || (m_horizontal && m_hitHorizontal.PtInRect(point))) {
    ShowSizingCursor();
  }
  if (!m_tracking) {
    CStatic::OnMouseMove(nFlags, point);
    return;
  }
  int position = ClampedDragPosition(point);
  if (m_fullDrag) {
    MoveBar(position);
  } else if (position != m_lastPosition) {
    DrawGhost(m_lastPosition);
    DrawGhost(position);
  }
  m_lastPosition = position;
}

void SplitterCtrl::OnLButtonUp(UINT nFlags, CPoint point) {
  if (!m_tracking || !m_dragging) {
    CStatic::OnLButtonUp(nFlags, point);
    return;
  }
  int position = ClampedDragPosition(point);
  if (!m_fullDrag) DrawGhost(m_lastPosition);
  m_tracking = false;
  MoveBar(position);
  m_dragging = false;
  ::ReleaseCapture();  // the capture change that follows finds no drag
}

BOOL SplitterCtrl::OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message) {
  CPoint point;
  ::GetCursorPos(point);
  ScreenToClient(point);
  if (m_tracking || (m_vertical && m_hitVertical.PtInRect(point)) ||
      (m_horizontal && m_hitHorizontal.PtInRect(point))) {
    ShowSizingCursor();
    return TRUE;
  }
  return CStatic::OnSetCursor(pWnd, nHitTest, message);
}

BOOL SplitterCtrl::OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
  if (CStatic::OnNotify(wParam, lParam, pResult)) return TRUE;
  HWND parent = ::GetParent(m_hWnd);
  if (parent == nullptr) return FALSE;
  *pResult = ::SendMessageW(parent, WM_NOTIFY, wParam, lParam);
  return TRUE;
}

BOOL SplitterCtrl::PreTranslateMessage(MSG* pMsg) {
  if (pMsg->message == WM_KEYDOWN && pMsg->wParam == VK_ESCAPE && m_tracking) {
    CancelDrag();
    return TRUE;
  }
  return CStatic::PreTranslateMessage(pMsg);
}

void SplitterCtrl::CancelDrag() {
  if (!m_tracking) return;
  // Cleared first: releasing the capture reports a capture change back to this window.
  m_tracking = m_dragging = false;
  if (!m_fullDrag) DrawGhost(m_lastPosition);
  // Only our own capture is released: one that another window took stays with it.
  if (::GetCapture() == m_hWnd) ::ReleaseCapture();
  if (::GetFocus() == m_hWnd && m_focusBefore != nullptr && ::IsWindow(m_focusBefore)) ::SetFocus(m_focusBefore);
}

void SplitterCtrl::OnCaptureChanged(CWnd* pWnd) {
  if (pWnd != this) CancelDrag();
  CStatic::OnCaptureChanged(pWnd);
}

void SplitterCtrl::OnCancelMode() {
  CancelDrag();
  CStatic::OnCancelMode();
}

void SplitterCtrl::DrawGhost(int position) {
  CWnd* parent = GetParent();
  if (parent == nullptr) return;
  // The splitter's client area in the coordinates of the parent's window DC.
  CRect parentWindow, area;
  parent->GetWindowRect(parentWindow);
  GetClientRect(area);
  ClientToScreen(area);
  area.OffsetRect(-parentWindow.left, -parentWindow.top);
  CRect bar = m_vertical ? CRect(area.left + position - splitter::kHalfBar, area.top,
                                 area.left + position - splitter::kHalfBar + m_barWidth, area.bottom)
                         : CRect(area.left, area.top + position - splitter::kHalfBar, area.right,
                                 area.top + position - splitter::kHalfBar + m_barWidth);
  CWindowDC dc(parent);
  CBrush brush;
  if (dc.GetSafeHdc() == nullptr || !brush.CreateSolidBrush(::GetSysColor(COLOR_BTNFACE))) return;
  CBrush* old = dc.SelectObject(&brush);
  dc.PatBlt(bar.left, bar.top, bar.Width(), bar.Height(), PATINVERT);
  dc.SelectObject(old);
}

void SplitterCtrl::ShowSizingCursor() {
  ::SetCursor(::LoadCursorW(nullptr, m_vertical ? IDC_SIZEWE : IDC_SIZENS));
}

void SplitterCtrl::OnDestroy() {
  CStatic::OnDestroy();
  CWinApp* app = AfxGetApp();
  if (app == nullptr) return;
  // The kept pane's own size, not the share a small window gave it: a larger window at the next start
  // shows the split as the user left it.
  if (!m_leftRect.IsRectEmpty()) {
    app->WriteProfileInt(splitter::VerticalSection(m_id), splitter::kVerticalValue, m_leftWidth);
  }
  if (!m_bottomRect.IsRectEmpty()) {
    app->WriteProfileInt(splitter::HorizontalSection(m_id), splitter::kHorizontalValue, m_bottomHeight);
  }
}
