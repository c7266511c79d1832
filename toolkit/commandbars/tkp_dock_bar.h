// CTKPDockBar: one edge of the frame where command bars dock. It takes its strip in the frame's layout
// (a control bar answering WM_SIZEPARENT) and puts its bars in it, one row (or column) each, stretched
// along the edge. Row sharing, wrapping and dragging bars between rows come with the rebar layout.
#pragma once

#include <vector>

#include "platform/classlib/win/ccontrolbar.h"

class CTKPCommandBar;
class CTKPCommandBars;

class CTKPDockBar : public CControlBar {
  DECLARE_DYNAMIC(CTKPDockBar)

 public:
  explicit CTKPDockBar(CTKPCommandBars* pCommandBars);

  // dwBarStyle: CBRS_ALIGN_ (and CBRS_BORDER_) style of the edge; FALSE when the window failed.
  BOOL Create(CWnd* pParentWnd, DWORD dwStyle, DWORD dwBarStyle, UINT nID);
  // 0 top, 1 bottom, 2 left, 3 right.
  int GetPosition() const;

  // The bar's window becomes a child of this dock bar, in a new row at the end.
  void DockCommandBar(CTKPCommandBar* pBar);
  // FALSE when the bar is not here.
  BOOL RemoveCommandBar(CTKPCommandBar* pBar);
  BOOL HasBar(const CTKPCommandBar* pBar) const;
  int GetDockedCount() const { return static_cast<int>(m_bars.size()); }

  CSize CalcFixedLayout(BOOL bStretch, BOOL bHorz) override;
  // A committed layout also places the bars (the dock bar may keep its size and get no WM_SIZE).
  CSize CalcDynamicLayout(int nLength, DWORD dwMode) override;
  // The bars get their own idle turn (they are descendants of the frame).
  void OnUpdateCmdUI(CCmdTarget*, BOOL) override {}

 protected:
  // The bar takes room: visible, and its window not hidden for a print preview.
  static bool IsShown(const CTKPCommandBar* pBar);
  // The size a docked bar asks for along this edge.
  CSize BarSize(CTKPCommandBar* pBar) const;
  void PlaceBars();
  afx_msg void OnSize(UINT nType, int cx, int cy);
  afx_msg BOOL OnEraseBkgnd(CDC* pDC);
  DECLARE_MESSAGE_MAP()

  CTKPCommandBars* m_pCommandBars;
  std::vector<CTKPCommandBar*> m_bars;  // not owned: the manager holds them
};
