// CTKPDockBar: one edge of the frame where toolbars dock. Its bars sit in rows (columns on the left and
// right edges); each layout keeps a bar near where the user dropped it, pushes overlapping bars apart,
// shrinks bars that may hide controls when a row is too short and moves bars that still do not fit to
// a row of their own. It takes its strip in the frame's layout (WM_SIZEPARENT) and fills it through the
// paint manager; a right click opens the manager's toolbar menu.
#pragma once

#include <vector>

#include "platform/classlib/win/ccontrolbar.h"
#include "platform/classlib/win/layout.h"

class CTKPCommandBar;
class CTKPCommandBars;
class CTKPToolBar;

class CTKPDockBar : public CControlBar {
  DECLARE_DYNAMIC(CTKPDockBar)

 public:
  explicit CTKPDockBar(CTKPCommandBars* pCommandBars);

  // dwBarStyle: CBRS_ALIGN_ (and CBRS_BORDER_) style of the edge; FALSE when the window failed.
  BOOL Create(CWnd* pParentWnd, DWORD dwStyle, DWORD dwBarStyle, UINT nID);
  // 0 top, 1 bottom, 2 left, 3 right.
  int GetPosition() const;
  CTKPCommandBars* GetCommandBars() const { return m_pCommandBars; }

  // ---- the rows: bars in order, a null entry ends a row --------------------------------------------
  int GetCount() const { return static_cast<int>(m_arrBars.size()); }
  CTKPToolBar* GetAt(int nIndex) const;
  // The bar's index, skipping nExclude; -1 when absent.
  int FindBar(const CTKPCommandBar* pBar, int nExclude = -1) const;
  BOOL HasBar(const CTKPCommandBar* pBar) const { return FindBar(pBar) >= 0; }
  // Docks the bar at the rectangle (screen) into the row under its centre, or without one in a new
  // last row; its window becomes a child of this dock bar.
  void DockCommandBar(CTKPToolBar* pBar, LPCRECT pRect = nullptr);
  // FALSE when the bar is not here.
  BOOL RemoveCommandBar(CTKPCommandBar* pBar, int nIndex = -1);
  // The bar goes into the rows by the centre of rect (client coordinates); its index.
  int Insert(CTKPToolBar* pBar, CRect rect, CPoint ptCentre);
  // The shown bars of the row that holds nIndex, from left to right (top to bottom).
  void GetVisibleBarsInRow(int nIndex, std::vector<CTKPToolBar*>& bars) const;

  // The size of the rows at the length (width or height); with LM_COMMIT the bars are placed.
  CSize CalcDynamicLayout(int nLength, DWORD dwMode) override;
  // The bars get their own idle turn (they are descendants of the frame).
  void OnUpdateCmdUI(CCmdTarget*, BOOL) override {}

 protected:
  // The bar takes room: visible, and its window not hidden for a print preview.
  static bool IsShown(const CTKPToolBar* pBar);
  DWORD GetDockMode(BOOL bHorz, CTKPToolBar* pBar) const;
  // Lays out one row (and the rows its overflow makes) at the origin; the total thickness.
  int LayoutRow(std::vector<CTKPToolBar*>& row, int nOrigin, int nLength, BOOL bHorz, BOOL bCommit);
  // One pass over a row: its thickness, or 0 with *pNotFit the index (in row) of a bar that must go.
  int AdjustRow(std::vector<CTKPToolBar*>& row, int nOrigin, int nLength, BOOL bHorz, BOOL bCommit, int* pNotFit);
  void NormaliseStretched();

  afx_msg LRESULT OnSizeParent(WPARAM wParam, LPARAM lParam);
  afx_msg void OnPaint();
  afx_msg LRESULT OnPrint(WPARAM wParam, LPARAM lParam);
  afx_msg BOOL OnEraseBkgnd(CDC* pDC);
  afx_msg void OnRButtonDown(UINT nFlags, CPoint point);
  DECLARE_MESSAGE_MAP()

  CTKPCommandBars* m_pCommandBars;
  std::vector<CTKPToolBar*> m_arrBars{nullptr};  // not owned: the manager holds them
};
