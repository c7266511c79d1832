// CTKPTabClientWnd: the MDI client of a frame shown as tabs, one tab per MDI child. Attach subclasses the
// frame's MDI client. With grouping on, the client is split into tab groups (side by side or stacked)
// separated by splitters that the user drags; the workspace commands 9420 to 9423 move the active
// document's tab to the previous or next group or into a new group. A tab dragged within its strip changes
// places; let go anywhere, its document comes forward.
// The groups are drawn by the client itself: each is a tab strip whose children stand in its client
// area, the selected one on top.
#pragma once

#include <windows.h>

#include <vector>

#include "platform/classlib/crect.h"
#include "platform/classlib/win/cmdiframewnd.h"
#include "platform/classlib/win/cwnd.h"
#include "toolkit/mdi/tab_group_layout.h"
#include "toolkit/tabmanager/tkp_tab_manager.h"

class CCmdUI;
class CDC;
class CTKPTabClientWnd;
class CTKPTabPaintManager;

// One tab group: a tab manager with its part of the client and the splitter after it.
class CTKPTabClientGroup : public CTKPTabManager {
 public:
  explicit CTKPTabClientGroup(CTKPTabClientWnd* pClient) : m_pClient(pClient) {}

  void Reposition() override;
  // A new selection or a changed set of tabs is brought into view at the next layout.
  void SetSelectedItem(CTKPTabManagerItem* pItem) override;
  void OnItemsChanged() override;
  CTKPTabPaintManager* GetPaintManager() const override;
  void RedrawControl() override;
  BOOL DrawIcon(CDC* pDC, CPoint pt, CTKPTabManagerItem* pItem, BOOL bDraw, CSize& szIcon) override;
  // A click on a tab activates its document.
  void OnItemClick(CTKPTabManagerItem* pItem) override;
  // Within the strip the tab changes places; released anywhere, its document comes forward.
  void ReOrder(HWND hWnd, CPoint pt, CTKPTabManagerItem* pItem) override;

  CTKPTabManagerItem* FindItem(HWND hWndChild) const;
  // Whether a press at pt belongs to the strip: its tabs or its navigate buttons.
  BOOL StripHolds(CPoint pt) const;
  // The next layout scrolls the selected tab into view. Layouts that change nothing (the user's own
  // scrolling, idle updates) leave the scroll offset alone.
  void ShowSelectedAfterLayout() { m_bShowSelected = TRUE; }
  // Lays the strip out in the group's rectangle and puts the children in its client area.
  void Layout(CDC* pDC);
  // Whether every child lies in the client area (a child maximized by itself does not).
  BOOL ChildrenInPlace() const;
  // While a press on the strip runs its own loop (a dragged tab, a held button), the group is not
  // deleted, even when its last document closes meanwhile: the loop still runs on it.
  void BeginGesture() { ++m_nGestures; }
  void EndGesture() { --m_nGestures; }
  BOOL InGesture() const { return m_nGestures > 0; }

  CRect m_rcGroup;     // the whole group: strip and children
  CRect m_rcSplitter;  // the splitter after it (empty for the last group)
  double m_dSize = 0;  // its share along the split

 private:
  // A child's window rectangle in the client's coordinates.
  CRect PlaceOf(HWND hWndChild) const;

  CTKPTabClientWnd* m_pClient;
  BOOL m_bShowSelected = TRUE;
  BOOL m_bLayingOut = FALSE;
  int m_nGestures = 0;
};

class CTKPTabClientWnd : public CWnd {
 public:
  CTKPTabClientWnd();
  ~CTKPTabClientWnd() override;

  // Subclasses the frame's MDI client and shows its children as tabs; bEnableGroups allows several tab
  // groups (children then lose their captions and borders). FALSE when the frame has no MDI client or
  // the client is attached already.
  BOOL Attach(CMDIFrameWnd* pFrame, BOOL bEnableGroups = FALSE);
  // Gives the MDI client back to the system.
  void Detach();

  // Rebuilds the tabs from the MDI children: new children get a tab in the active group, gone ones lose
  // theirs, captions follow the windows' texts and the active child's tab is selected.
  virtual void UpdateContents();
  void Refresh(BOOL bRecalcLayout = TRUE);
  BOOL IsWorkspaceCommandEnabled(UINT nID) const;
  // Runs a workspace command on the active document's tab; FALSE when it does not apply.
  BOOL ExecuteWorkspaceCommand(UINT nID);

  CMDIFrameWnd* GetMDIFrame() const { return m_pMDIFrame; }
  CTKPTabPaintManager* GetPaintManager() const { return m_pPaintManager; }
  BOOL IsGroupingEnabled() const { return m_bGrouping; }
  BOOL IsHorizontal() const { return m_bHorizontal; }
  int GetSplitterWidth() const { return m_nSplitterWidth; }
  void SetOutlineTracking(BOOL bOutline) { m_bOutlineTracking = bOutline; }
  // While every document closes at once, a closed tab brings no neighbour forward and activations do
  // not repaint the client.
  void SetClosing(BOOL bClosing) { m_bClosing = bClosing; }
  int GetGroupCount() const { return static_cast<int>(m_arrGroups.size()); }
  CTKPTabClientGroup* GetGroup(int nIndex) const;
  int FindGroup(const CTKPTabManager* pGroup) const;
  // The tab of an MDI child and, when asked, the index of its group; null when it has none.
  CTKPTabManagerItem* FindItem(HWND hWndChild, int* pnGroup = nullptr) const;
  // Every tab of every group.
  int GetItemCount() const;

  // Lays the groups out in the client and their children in the groups.
  void RecalcLayout();
  void RepositionGroup(CTKPTabClientGroup* pGroup);
  // Whether every child lies in its group's client area.
  BOOL ChildrenInPlace() const;
  void ActivateChild(HWND hWndChild);

 protected:
  // Draws the one group when grouping is off.
  virtual void DrawSingleWorkspace(CDC* pDC, CRect rc);
  // The frame whose layout Refresh recalculates.
  virtual CFrameWnd* GetRecalcFrame() { return m_pMDIFrame; }

  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
  afx_msg void OnWorkspaceCommand(UINT nID);
  afx_msg void OnUpdateWorkspaceCommand(CCmdUI* pCmdUI);
  DECLARE_MESSAGE_MAP()

 private:
  LRESULT OnMDICreate();
  LRESULT OnMDIDestroy(HWND hWndChild);
  LRESULT OnMDIActivate();
  void OnPaint();
  LRESULT OnNcCalcSize(WPARAM wParam, LPARAM lParam);
  void OnNcPaint();
  void OnLButtonDown(CPoint pt);
  BOOL OnSetCursor();
  void TrackSplitter(int nGroup, CPoint pt);
  void DrawSplitter(CDC* pDC, const CRect& rc) const;
  int SplitterAt(CPoint pt) const;
  tkmdi::WorkspaceState WorkspaceNow() const;
  void MoveToGroup(CTKPTabManagerItem* pItem, int nFrom, int nTo);
  void NewGroup(CTKPTabManagerItem* pItem, int nFrom, BOOL bHorizontal);
  void RemoveEmptyGroups();
  void StripChildFrame(HWND hWndChild) const;
  void StoreSizes(BOOL bHorizontal);
  std::vector<double> GroupSizes() const;
  void SetGroupSizes(const std::vector<double>& sizes);

  CMDIFrameWnd* m_pMDIFrame = nullptr;
  CTKPTabPaintManager* m_pPaintManager = nullptr;
  std::vector<CTKPTabClientGroup*> m_arrGroups;  // never empty: the first is the single workspace
  int m_nActiveGroup = 0;
  BOOL m_bRefreshing = FALSE;
  BOOL m_bHorizontal = FALSE;
  HCURSOR m_hCursorHorz = nullptr;  // stacked groups: the splitter moves up and down
  HCURSOR m_hCursorVert = nullptr;  // side by side: left and right
  BOOL m_bGrouping = FALSE;
  int m_nSplitterWidth = 6;
  BOOL m_bOutlineTracking = FALSE;
  BOOL m_bClosing = FALSE;
  BOOL m_bDirty = FALSE;
  int m_nLockUpdate = 0;  // contents are not rebuilt while a tab moves
};

// Hands a tab from one tab manager to another (or to another place in the same one), keeping its colour
// and the window it stands for.
void TKPTransferTabItem(CTKPTabManagerItem* pItem, CTKPTabManager* pTo, int nIndex);
