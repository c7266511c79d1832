// CTKPDockingPaneAutoHidePanel: the groups auto-hidden on one side of the frame, shown as rows of tabs
// in a thin strip along that side. Pointing at a tab (or clicking it) slides the group out of the side
// in a CTKPDockingPaneAutoHideWnd over the docked panes; the window slides back in when the mouse has
// stayed away from it and from the panel for a while and the focus is not in it. Its inner edge can be
// dragged to change its width (height).
#pragma once

#include <functional>
#include <memory>

#include "platform/classlib/win/cminiframewnd.h"
#include "toolkit/dockingpane/tkp_docking_pane_base.h"
#include "toolkit/dockingpane/tkp_docking_pane_drop_target.h"
#include "toolkit/tabmanager/tkp_tab_manager.h"

class CTKPDockingPane;
class CTKPDockingPaneAutoHidePanel;
class CTKPDockingPaneAutoHideWnd;
class CTKPDockingPaneTabbedContainer;

// One row of tabs: one per pane of a group.
class CTKPDockingPaneAutoHideTabs : public CTKPTabManager {
 public:
  explicit CTKPDockingPaneAutoHideTabs(CTKPDockingPaneAutoHidePanel* pPanel) : m_pPanel(pPanel) {}
  void Reposition() override {}
  CTKPTabPaintManager* GetPaintManager() const override;
  void RedrawControl() override;
  BOOL DrawIcon(CDC* pDC, CPoint pt, CTKPTabManagerItem* pItem, BOOL bDraw, CSize& szIcon) override;
  int GetPosition() const override;
  BOOL IsNavigateButtonVisible(const CTKPTabManagerNavigateButton*) const override { return FALSE; }

  CRect m_rcRow;

 private:
  CTKPDockingPaneAutoHidePanel* m_pPanel;
};

// Where the sliding window's timers and the cursor come from; tests put a clock of their own here.
struct TKPAutoHideClock {
  std::function<void(HWND hWnd, UINT_PTR nID, UINT nElapse)> setTimer;
  std::function<void(HWND hWnd, UINT_PTR nID)> killTimer;
  std::function<POINT()> cursorPos;
};
void TKPSetAutoHideClock(const TKPAutoHideClock* pClock);

class CTKPDockingPaneAutoHidePanel : public CWnd, public CTKPDockingPaneBase {
 public:
  explicit CTKPDockingPaneAutoHidePanel(CTKPDockingPaneLayout* pLayout);
  ~CTKPDockingPaneAutoHidePanel() override;

  int GetDirection() const { return m_nDirection; }
  void SetDirection(int nDirection) { m_nDirection = nDirection; }
  const std::vector<CTKPDockingPaneBase*>& GetContainers() const { return m_lstContainers; }
  const std::vector<CTKPDockingPaneAutoHideTabs*>& GetTabRows() const { return m_lstTabs; }
  CTKPDockingPaneAutoHideWnd* GetSlidingWindow() const { return m_pActiveWnd; }
  CTKPDockingPaneDropTarget* GetDropTarget() const { return m_pDropTarget.get(); }

  // Cuts the panel's strip from rect on its side (the layout calls it for sides 0 to 3).
  virtual void Reposition(CWnd* pSite, CRect& rect, AFX_SIZEPARENTPARAMS* lpLayout);
  virtual void AddContainer(CTKPDockingPaneBase* pContainer);
  // A loaded panel of a live layout: its groups take the site and make their (hidden) windows.
  void AttachLoadedContainers(CWnd* pSite);
  virtual BOOL Create(CWnd* pParent);
  void ShowSlidingWindow(CTKPDockingPane* pPane, BOOL bSetFocus);
  void CloseSlidingWindow(BOOL bImmediate);
  // The pane of the tab under the client point, or null.
  CTKPDockingPane* HitTestPane(CPoint pt) const;
  // The sliding window is closing: it no longer is the one shown.
  void ForgetSlidingWindow(CTKPDockingPaneAutoHideWnd* pWnd);
  // The sliding window's end.
  void OnSlidingWindowEnded(CTKPDockingPaneAutoHideWnd* pWnd);

  void OnChildContainerChanged(CTKPDockingPaneBase* pContainer) override;
  void OnPaneChanged(BOOL bRelayout) override;
  void RemovePane(CTKPDockingPaneBase* pPane) override;
  BOOL ContainsPane(const CTKPDockingPaneBase* pPane) const override;
  void FindPane(int nType, std::vector<CTKPDockingPaneBase*>* pList) override;
  BOOL IsEmpty() const override;
  HWND GetPaneHwnd() const override { return m_hWnd; }
  void ReleaseChildren() override;
  // A panel of the same side with clones of its groups (without a map, of those that are not empty).
  CTKPDockingPaneBase* Clone(CTKPDockingPaneLayout* pLayout, CMapPtrToPtr* pMap, DWORD dwSkipOptions = 0) override;
  void SaveRecord(dock::ObjectRecord* pRecord) const override;
  void LoadRecord(const dock::ObjectRecord& record, const std::vector<CTKPDockingPaneBase*>& objects) override;

 protected:
  afx_msg void OnPaint();
  afx_msg BOOL OnEraseBkgnd(CDC*) { return TRUE; }
  afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
  afx_msg void OnRButtonDown(UINT nFlags, CPoint point);
  afx_msg void OnMouseMove(UINT nFlags, CPoint point);
  afx_msg LRESULT OnMouseHover(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnMouseLeave(WPARAM wParam, LPARAM lParam);
  DECLARE_MESSAGE_MAP()

 private:
  CRect GradientRect(const CRect& client) const;
  void RebuildTabs(CDC* pDC, CRect rcStrip);
  // Ends every sliding window of the panel still alive (one may still be closing).
  void DestroySlidingWindows();
  void DeleteTabs();
  int Thickness() const;

  CTKPDockingPaneAutoHideWnd* m_pActiveWnd = nullptr;
  std::vector<CTKPDockingPaneAutoHideWnd*> m_lstWindows;  // alive, shown or closing
  int m_nDirection = 0;
  std::vector<CTKPDockingPaneBase*> m_lstContainers;
  std::vector<CTKPDockingPaneAutoHideTabs*> m_lstTabs;
  CRect m_rcStrip;
  std::unique_ptr<CTKPDockingPaneDropTarget> m_pDropTarget;
};

class CTKPDockingPaneAutoHideWnd : public CMiniFrameWnd {
 public:
  // Creates the window over the frame, starts sliding it out and shows it.
  CTKPDockingPaneAutoHideWnd(CTKPDockingPaneAutoHidePanel* pPanel, CTKPDockingPaneTabbedContainer* pContainer);

  void RecalcLayout(BOOL bNotify = TRUE) override;
  void Close();
  void GetMinMaxInfo(MINMAXINFO* pMinMaxInfo, BOOL bWithEdge) const;
  CTKPDockingPaneTabbedContainer* GetContainer() const { return m_pContainer; }
  int GetStep() const { return m_nStep; }
  int GetStepsCount() const { return m_nStepsCount; }
  BOOL IsClosing() const { return m_bClosing; }
  CRect GetFinalRect() const { return m_rcFinal; }
  // The container's window is no longer shown here (the panel closes the window without animation).
  void ReleaseContainer();
  void CloseLater();

 protected:
  void PostNcDestroy() override;
  afx_msg void OnPaint();
  afx_msg void OnTimer(UINT_PTR nIDEvent);
  afx_msg void OnClose();
  afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
  afx_msg void OnMouseMove(UINT nFlags, CPoint point);
  afx_msg BOOL OnEraseBkgnd(CDC*) { return TRUE; }
  DECLARE_MESSAGE_MAP()

 private:
  void ApplyStep();
  void StartTimer(UINT_PTR nID, UINT nElapse);
  void StopTimer(UINT_PTR nID);
  POINT CursorPos() const;
  void Poll();
  CRect DockedArea() const;
  BOOL CanResize() const;
  CRect EdgeStrip() const;
  void ApplyEdge(const CRect& strip);

  CTKPDockingPaneTabbedContainer* m_pContainer;
  CTKPDockingPaneAutoHidePanel* m_pPanel;
  int m_nDirection;
  BOOL m_bHoriz;
  int m_nStep = 0;
  int m_nStepsCount = 1;
  BOOL m_bClosing = FALSE;
  CRect m_rcFinal;
  int m_nDeactivationCount = 0;
  BOOL m_bTracking = FALSE;
};
