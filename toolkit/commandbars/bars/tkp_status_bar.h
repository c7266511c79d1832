// CTKPStatusBar: the toolkit's status bar over the common status window, drawn by the command bars'
// paint manager. Its panes are objects (CTKPStatusBarPane) that may carry a child window placed over
// the pane (CTKPStatusBarPaneWnd, or any window). It lays out, updates and takes the frame's status
// text as the class library's control bars do.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <memory>
#include <vector>

#include "platform/classlib/cstring.h"
#include "platform/classlib/win/ccontrolbar.h"
#include "platform/classlib/win/cgdiobject.h"

class CDC;
class CTKPCommandBars;
class CTKPImageManagerIcon;
class CTKPPaintManager;
class CTKPStatusBar;

// Pane styles: the low word goes to the status window with the text.
constexpr UINT TKP_SBPS_NOBORDERS = 0x0100;
constexpr UINT TKP_SBPS_POPOUT = 0x0200;
constexpr UINT TKP_SBPS_DISABLED = 0x04000000;
constexpr UINT TKP_SBPS_STRETCH = 0x08000000;

class CTKPStatusBarPane {
 public:
  UINT GetID() const { return m_nID; }
  int GetIndex() const { return m_nIndex; }
  int GetWidth() const { return m_cxText; }
  UINT GetStyle() const { return m_nStyle; }
  const CString& GetText() const { return m_strText; }
  BOOL IsVisible() const { return m_bVisible; }
  HWND GetChild() const { return m_hWndPane; }
  UINT GetIconId() const { return m_nIconId; }
  // (COLORREF)-1: the paint manager's status text colour; no background fill.
  COLORREF GetTextColor() const { return m_clrText; }
  COLORREF GetBackgroundColor() const { return m_clrBackground; }
  // 0 left, 1 centred, 2 right.
  int GetTextAlignment() const { return m_nAlignment; }
  // While the pane is drawn: its icon from the bar's image manager (else null) and the bar's font.
  CTKPImageManagerIcon* GetImage() const { return m_pImage; }
  HFONT GetFont() const { return m_hFont; }

 private:
  friend class CTKPStatusBar;
  UINT m_nID = 0;
  int m_cxText = 0;
  UINT m_nStyle = 0;
  UINT m_nFlags = 0;  // 1: the text is set but not shown yet
  CString m_strText;
  HWND m_hWndPane = nullptr;
  int m_nIndex = 0;
  int m_nPart = -1;  // among the visible panes
  BOOL m_bVisible = TRUE;
  UINT m_nIconId = 0;
  COLORREF m_clrText = static_cast<COLORREF>(-1);
  COLORREF m_clrBackground = static_cast<COLORREF>(-1);
  int m_nAlignment = 0;
  CTKPImageManagerIcon* m_pImage = nullptr;
  HFONT m_hFont = nullptr;
};

// A window placed over a pane, filled with the bar's face; derived classes draw their content.
class CTKPStatusBarPaneWnd : public CWnd {
  DECLARE_DYNCREATE(CTKPStatusBarPaneWnd)

 public:
  CTKPStatusBarPaneWnd() = default;
  virtual BOOL Create(LPCTSTR lpszText, CWnd* pParentWnd, DWORD dwStyle = WS_CHILD | WS_VISIBLE,
                      UINT nID = 0xFFFF);
  const CString& GetPaneText() const { return m_strText; }

 protected:
  // The pane's content in the client rectangle: its text, left-aligned and centred vertically.
  virtual void OnDraw(CDC* pDC, CRect rcClient);
  afx_msg void OnPaint();
  afx_msg BOOL OnEraseBkgnd(CDC* pDC);
  afx_msg void OnEnable(BOOL bEnable);
  DECLARE_MESSAGE_MAP()

  CString m_strText;
};

class CTKPStatusBar : public CControlBar {
  DECLARE_DYNAMIC(CTKPStatusBar)

 public:
  CTKPStatusBar();
  ~CTKPStatusBar() override;

  // dwStyle: window styles and CBRS_ bar styles; dwCtrlStyle: the status window's (SBARS_SIZEGRIP).
  virtual BOOL Create(CWnd* pParentWnd, DWORD dwStyle = WS_CHILD | WS_VISIBLE | CBRS_BOTTOM,
                      UINT nID = AFX_IDW_STATUS_BAR);
  virtual BOOL CreateEx(CWnd* pParentWnd, DWORD dwCtrlStyle = 0, DWORD dwStyle = WS_CHILD | WS_VISIBLE | CBRS_BOTTOM,
                        UINT nID = AFX_IDW_STATUS_BAR);
  using CWnd::CreateEx;

  // ---- panes ----------------------------------------------------------------------------------------
  // One pane per id; its text is the id's string and its width that text's (a first separator stretches
  // and has no border). FALSE without a window.
  BOOL SetIndicators(const UINT* lpIDArray, int nIDCount);
  // A pane of the id at the index (at the end for -1), its text and width from the id's string.
  CTKPStatusBarPane* AddIndicator(UINT nID, int nIndex = -1);
  BOOL RemoveIndicator(UINT nID);
  CTKPStatusBarPane* GetPane(int nIndex) const;
  int GetPaneCount() const { return static_cast<int>(m_panes.size()); }
  int GetVisiblePaneCount() const;
  int CommandToIndex(UINT nID) const;
  void GetItemRect(int nIndex, LPRECT lpRect) const;
  BOOL SetPaneText(int nIndex, LPCTSTR lpszNewText, BOOL bUpdate = TRUE);
  CString GetPaneText(int nIndex) const;
  void SetPaneWidth(int nIndex, int cxText);
  void SetPaneStyle(int nIndex, UINT nStyle);
  void SetPaneVisible(int nIndex, BOOL bVisible);
  // The pane's icon (a command id of the image manager; 0 none), text colour, background colour and
  // alignment ((COLORREF)-1: the defaults).
  void SetPaneIcon(int nIndex, UINT nIconId);
  void SetPaneTextColor(int nIndex, COLORREF clr);
  void SetPaneBackgroundColor(int nIndex, COLORREF clr);
  void SetPaneTextAlignment(int nIndex, int nAlignment);
  // A window over the pane (null: none); the bar places it, it stays the caller's.
  void SetPaneWindow(int nIndex, CWnd* pWnd);
  void UpdateAllPanes(BOOL bUpdateRects, BOOL bUpdateText);
  void PositionPaneWindows();

  void SetCommandBars(CTKPCommandBars* pCommandBars) { m_pCommandBars = pCommandBars; }
  // FALSE: the status window paints itself.
  void SetDrawThemed(BOOL bDrawThemed);
  CTKPPaintManager* GetPaintManager() const;

  void CalcInsideRect(CRect& rect, BOOL bHorz) const override;
  CSize CalcFixedLayout(BOOL bStretch, BOOL bHorz) override;
  void OnUpdateCmdUI(CCmdTarget* pTarget, BOOL bDisableIfNoHandler) override;

 protected:
  // One pane's text in its rectangle, and the size grip.
  virtual void DrawPaneEntry(CDC* pDC, int nIndex, CRect rcItem);
  virtual void DrawStretchGripper(CDC* pDC, CRect rcClient);
  int TextWidth(LPCTSTR lpszText) const;
  // One of a pane's drawing values set, the bar repainted.
  template <typename T>
  void SetPaneValue(int nIndex, T CTKPStatusBarPane::*field, T value) {
    if (CTKPStatusBarPane* pPane = GetPane(nIndex)) pPane->*field = value;
    Invalidate(FALSE);
  }
  int BorderBetweenParts() const;
  BOOL HasSizeGrip() const;

  afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
  afx_msg LRESULT OnNcHitTest(CPoint point);
  afx_msg void OnNcCalcSize(BOOL bCalcValidRects, NCCALCSIZE_PARAMS* lpncsp);
  afx_msg void OnNcPaint();
  afx_msg void OnSize(UINT nType, int cx, int cy);
  afx_msg void OnWindowPosChanging(WINDOWPOS* lpWndPos);
  afx_msg LRESULT OnSetText(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnGetText(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnGetTextLength(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnSetMinHeight(WPARAM wParam, LPARAM lParam);
  afx_msg BOOL OnEraseBkgnd(CDC* pDC);
  afx_msg void OnPaint();
  DECLARE_MESSAGE_MAP()

  std::vector<std::unique_ptr<CTKPStatusBarPane>> m_panes;
  int m_nMinHeight = 0;
  CFont m_font;
  CTKPCommandBars* m_pCommandBars = nullptr;
  BOOL m_bDrawThemed = TRUE;
};
