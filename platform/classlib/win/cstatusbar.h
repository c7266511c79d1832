// CStatusBar: the frame's status bar, a control bar over the common status window. Its panes are
// numbered from 0, each with a command id (ID_SEPARATOR for none), a style and a width for its text;
// the last pane ends where the widths do, and stretch panes share what is left of the bar.
//
// SetPaneText is one message to the bar (SB_SETTEXT), which the bar's own window thread carries out,
// so a worker thread may set a pane's text. The other members change the bar's panes and belong to
// the window's thread.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <vector>

#include "platform/classlib/cstring.h"
#include "platform/classlib/win/ccontrolbar.h"

// Pane styles: the low word goes to the status window with the text (SBT_ drawing types).
constexpr UINT SBPS_NORMAL = 0x0000;
constexpr UINT SBPS_NOBORDERS = SBT_NOBORDERS;
constexpr UINT SBPS_POPOUT = SBT_POPOUT;
constexpr UINT SBPS_OWNERDRAW = SBT_OWNERDRAW;
constexpr UINT SBPS_DISABLED = 0x04000000;  // the text is kept but not shown
constexpr UINT SBPS_STRETCH = 0x08000000;   // takes a share of the free width

class CStatusBar : public CControlBar {
  DECLARE_DYNAMIC(CStatusBar)

 public:
  CStatusBar();

  // dwStyle holds window styles and CBRS_ bar styles; dwCtrlStyle the status window's (SBARS_SIZEGRIP).
  virtual BOOL Create(CWnd* pParentWnd, DWORD dwStyle = WS_CHILD | WS_VISIBLE | CBRS_BOTTOM,
                      UINT nID = AFX_IDW_STATUS_BAR);
  virtual BOOL CreateEx(CWnd* pParentWnd, DWORD dwCtrlStyle = 0, DWORD dwStyle = WS_CHILD | WS_VISIBLE | CBRS_BOTTOM,
                        UINT nID = AFX_IDW_STATUS_BAR);
  using CWnd::CreateEx;

  // One pane per id, its text the id's string resource (none for ID_SEPARATOR) and its width that
  // text's. A separator first in the bar stretches and has no border. FALSE when the bar has no window.
  BOOL SetIndicators(const UINT* lpIDArray, int nIDCount);

  // ---- panes: an index outside the panes is ignored (answers -1, 0, empty or FALSE) ---------------
  int GetCount() const { return static_cast<int>(m_panes.size()); }
  int CommandToIndex(UINT nIDFind) const;
  UINT GetItemID(int nIndex) const;
  void GetItemRect(int nIndex, LPRECT lpRect) const;
  void GetPaneInfo(int nIndex, UINT& nID, UINT& nStyle, int& cxWidth) const;
  void SetPaneInfo(int nIndex, UINT nID, UINT nStyle, int cxWidth);
  UINT GetPaneStyle(int nIndex) const;
  void SetPaneStyle(int nIndex, UINT nStyle);
  CString GetPaneText(int nIndex) const;
  void GetPaneText(int nIndex, CString& rString) const { rString = GetPaneText(nIndex); }
  // Without bUpdate the text is only kept, and shown by the next UpdateAllPanes(..., TRUE).
  BOOL SetPaneText(int nIndex, LPCTSTR lpszNewText, BOOL bUpdate = TRUE);
  // bUpdateRects: the parts' edges from the panes' widths; bUpdateText: the kept texts shown.
  void UpdateAllPanes(BOOL bUpdateRects, BOOL bUpdateText);

  CSize CalcFixedLayout(BOOL bStretch, BOOL bHorz) override;
  // Each pane with a command id asks its update handler (CN_UPDATE_COMMAND_UI) for its text and state.
  void OnUpdateCmdUI(CCmdTarget* pTarget, BOOL bDisableIfNoHandler) override;
  // Owner-drawn panes (SBPS_OWNERDRAW): itemID is the pane's index.
  virtual void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct);
  BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;

 protected:
  struct Pane {
    UINT nID = 0;
    UINT nStyle = SBPS_NORMAL;
    int cxText = 0;
    CString strText;
    bool pending = false;  // kept but not shown yet
  };
  std::vector<Pane> m_panes;

  bool IsPane(int nIndex) const { return nIndex >= 0 && nIndex < GetCount(); }
  // The width of a text in the bar's font.
  int TextWidth(LPCTSTR lpszText) const;

  // SB_SETTEXT, however sent: the pane keeps the text and the window shows it in the pane's style.
  afx_msg LRESULT OnSetPaneText(WPARAM wParam, LPARAM lParam);
  // The window's text is the text of the pane with id 0.
  afx_msg LRESULT OnSetText(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnGetText(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnGetTextLength(WPARAM wParam, LPARAM lParam);
  afx_msg void OnSize(UINT nType, int cx, int cy);
  DECLARE_MESSAGE_MAP()
};
