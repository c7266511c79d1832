// CTKPDockingPaneMiniWnd: the small top-level frame in which panes float. It holds a splitter container
// (usually with one group inside), titles itself after its content, closes its panes from its caption,
// drags its content by the caption and docks it back on a caption double-click. With the manager's
// themed floating frames it draws its own caption with buttons (close, collapse, menu) and can collapse
// to its caption while the mouse is away.
//
// The layout owns this object: the window's end never deletes it, and the layout's deletion ends the
// window.
#pragma once

#include "platform/classlib/win/cminiframewnd.h"
#include "toolkit/dockingpane/tkp_docking_pane_base.h"

class CTKPDockingPaneMiniWnd : public CMiniFrameWnd, public CTKPDockingPaneBase {
 public:
  explicit CTKPDockingPaneMiniWnd(CTKPDockingPaneLayout* pLayout);
  ~CTKPDockingPaneMiniWnd() override;

  // The frame's window at rc (screen), holding the pane (a plain pane gets a group of its own).
  BOOL Create(CTKPDockingPaneBase* pPane, CRect rc);
  BOOL CreateFrameWindow(CRect rc);
  // A frame read from a saved layout gets its window at its saved place (nothing when it is empty).
  void CreateLoadedWindow();
  // pFrom's content cloned (with the map, when given) at pFrom's place, collapsed or not as pFrom; a
  // collapsed copy stands at its caption's height. In a live layout the copy gets its window.
  virtual void Copy(CTKPDockingPaneMiniWnd* pFrom, CMapPtrToPtr* pMap);
  CTKPDockingPaneBase* GetTopPane() const { return m_pTopContainer; }
  BOOL IsActive() const { return m_bActive; }
  BOOL IsCollapsed() const { return m_bCollapsed; }
  BOOL IsClosable() const { return m_bCloseEnabled; }
  const std::vector<CTKPDockingPaneCaptionButton*>& GetCaptionButtons() const { return m_arrCaptionButtons; }
  // Themed frames: the frame style follows the manager's setting.
  void RefreshFrame();
  void RecalcLayout(BOOL bNotify = TRUE) override;
  // Collapsed mode of themed frames: toggled by the collapse button; a collapsed frame shows itself at
  // full height while the mouse is over it.
  void Collapse(BOOL bCollapse);
  void ShowExpanded();
  // Process-wide: themed frames show their collapse button (on by default).
  static void SetShowCollapseButton(BOOL bShow) { s_bShowCollapseButton = bShow; }
  static BOOL IsShowCollapseButton() { return s_bShowCollapseButton; }
  INT_PTR OnToolHitTest(CPoint point, TOOLINFO* pTI) const override;
  // The clock and timers of the collapse animation; tests drive them (OnTimer) themselves.
  void OnTimerTick(UINT_PTR nIDEvent) { OnTimer(nIDEvent); }

  void RedrawPane() override;
  void OnChildContainerChanged(CTKPDockingPaneBase* pContainer) override;
  void OnPaneChanged(BOOL bRelayout) override;
  void RemovePane(CTKPDockingPaneBase* pPane) override;
  BOOL IsCaptionButtonVisible(CTKPDockingPaneCaptionButton* pButton) override;
  BOOL ContainsPane(const CTKPDockingPaneBase* pPane) const override;
  void FindPane(int nType, std::vector<CTKPDockingPaneBase*>* pList) override;
  HWND GetPaneHwnd() const override { return m_hWnd; }
  void ReleaseChildren() override { m_pTopContainer = nullptr; }
  CTKPDockingPaneBase* Clone(CTKPDockingPaneLayout* pLayout, CMapPtrToPtr* pMap, DWORD dwSkipOptions = 0) override;
  void SaveRecord(dock::ObjectRecord* pRecord) const override;
  void LoadRecord(const dock::ObjectRecord& record, const std::vector<CTKPDockingPaneBase*>& objects) override;

 protected:
  void PostNcDestroy() override {}
  BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;
  afx_msg void OnClose();
  afx_msg void OnNcLButtonDown(UINT nHitTest, CPoint point);
  afx_msg void OnNcRButtonDown(UINT nHitTest, CPoint point);
  afx_msg void OnNcLButtonDblClk(UINT nHitTest, CPoint point);
  afx_msg void OnDestroy();
  afx_msg LRESULT OnNcHitTest(CPoint point);
  afx_msg void OnNcPaint();
  afx_msg void OnNcCalcSize(BOOL bCalcValidRects, NCCALCSIZE_PARAMS* lpncsp);
  afx_msg void OnNcMouseMove(UINT nHitTest, CPoint point);
  afx_msg void OnTimer(UINT_PTR nIDEvent);
  afx_msg LRESULT OnIdleUpdateCmdUI(WPARAM wParam, LPARAM lParam);
  afx_msg void OnGetMinMaxInfo(MINMAXINFO* lpMMI);
  afx_msg void OnSetFocus(CWnd* pOldWnd);
  afx_msg BOOL OnNcActivate(BOOL bActive);
  DECLARE_MESSAGE_MAP()

 private:
  BOOL IsThemed() const;
  // A frame collapsed to its caption.
  int CollapsedHeight() const;
  std::vector<CTKPDockingPaneBase*> Groups() const;
  void ClosePanes();
  CTKPDockingPaneCaptionButton* ButtonAt(CPoint ptWindow) const;
  void ShowMenu(CTKPDockingPaneCaptionButton* pButton);
  void SetFrameHeight(int nHeight, UINT nFlags);
  int StepHeight() const;

  static BOOL s_bShowCollapseButton;

  CTKPDockingPaneBase* m_pTopContainer = nullptr;
  BOOL m_bCloseEnabled = FALSE;
  int m_nExpandedHeight = 0;
  int m_nStepsCount = 8;
  int m_nStep = 0;
  int m_nDeactivationCount = 0;
  BOOL m_bCollapsed = FALSE;
  BOOL m_bExpanded = FALSE;
  BOOL m_bSlideOut = FALSE;
  BOOL m_bActive = FALSE;
};
