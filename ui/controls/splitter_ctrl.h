// SplitterCtrl: a static control that owns two panes and the five-pixel bar between them, side by side
// (a vertical bar) or one above the other (a horizontal bar). The bar is dragged as a ghost outline,
// Esc cancels a drag and gives the focus back, resizing keeps the left pane's width or the bottom
// pane's height (the other pane keeping a usable share of a smaller window), and the position is kept in
// the application profile. A drag whose mouse capture is taken away ends as Esc ends it.
#pragma once

#include "platform/classlib/win/classlib_win.h"

class SplitterCtrl : public CStatic {
  DECLARE_DYNAMIC(SplitterCtrl)

 public:
  static constexpr DWORD kVertical = 0x1;    // pane 1 left, pane 2 right
  static constexpr DWORD kHorizontal = 0x2;  // pane 1 top, pane 2 bottom
  static constexpr int kStartLeftWidth = 200;

  SplitterCtrl() = default;

  // Creates the splitter, moves both panes under it and lays them out. The vertical layout starts with
  // the left pane's stored width (200 when none is stored), the horizontal one with the stored bottom
  // height (twice nSize2 when none is stored).
  BOOL Create(DWORD dwStyle, CWnd* pParentWnd, CWnd* pPane1, CWnd* pPane2, UINT nID, const RECT& rect, int nSize1,
              int nSize2);
  // Vertical layout: the second pane takes the whole area, and back.
  void HideFirstPane();
  void ShowFirstPane();

  // The kept pane's own size (the one stored), which a small window may show smaller.
  int GetLeftPaneWidth() const { return m_leftWidth; }
  int GetBottomPaneHeight() const { return m_bottomHeight; }
  // True while the bar is being dragged.
  bool IsTracking() const { return m_tracking; }

  // Esc during a drag cancels it.
  BOOL PreTranslateMessage(MSG* pMsg) override;

  // What the panes notify and they do not take back themselves goes on to the window that holds the
  // splitter, as if the panes were its own children (a list's header clicks and row clicks).
  BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;

 protected:
  afx_msg void OnSize(UINT nType, int cx, int cy);
  afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
  afx_msg void OnMouseMove(UINT nFlags, CPoint point);
  afx_msg void OnLButtonUp(UINT nFlags, CPoint point);
  afx_msg BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message);
  // Another window took the capture, or the system cancels modes (a message box, a window switch): the
  // drag ends as Esc ends it.
  afx_msg void OnCaptureChanged(CWnd* pWnd);
  afx_msg void OnCancelMode();
  afx_msg void OnDestroy();
  DECLARE_MESSAGE_MAP()

 private:
  // Places the bar of the layout at a position (x or y) and moves the panes beside it.
  void PlaceBar(int position);
  // The same, and the left pane's width or the bottom pane's height follows.
  void MoveBar(int position);
  void Relayout();
  int ClampedDragPosition(CPoint point) const;
  // Inverts the ghost bar at a position on the parent's window DC; twice erases it.
  void DrawGhost(int position);
  void ShowSizingCursor();
  // Erases the ghost and ends the drag with the bar where it was; the focus goes back unless another
  // window took it meanwhile.
  void CancelDrag();

  CWnd* m_left = nullptr;
  CWnd* m_right = nullptr;
  CWnd* m_top = nullptr;
  CWnd* m_bottom = nullptr;
  int m_size1 = 0, m_size2 = 0;
  int m_barWidth = 5;
  UINT m_id = 0;
  int m_leftWidth = 0;
  int m_bottomHeight = 0;
  CRect m_leftRect, m_rightRect, m_topRect, m_bottomRect;
  CRect m_hitVertical, m_hitHorizontal;
  CRect m_ghostRect;  // the splitter's window rectangle when the drag began
  bool m_vertical = false, m_horizontal = false;
  bool m_dragging = false, m_tracking = false;
  bool m_firstHidden = false;
  bool m_fullDrag = false;  // false: the bar is dragged as a ghost; true: the panes follow the mouse
  int m_dragStart = 0;
  int m_lastPosition = 0;
  HWND m_focusBefore = nullptr;
};
