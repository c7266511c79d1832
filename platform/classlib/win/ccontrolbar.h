// CControlBar: the base of the bars a frame lays out along its edges (the status bar here). A bar
// keeps its bar style (CBRS_) apart from its window style, takes its strip of the frame in the frame's
// layout (WM_SIZEPARENT, from the size CalcDynamicLayout asks for), draws the edges its style names
// and its gripper in its non-client area, can be shown or hidden at the next layout (DelayShow), and
// sets its items' states from their update handlers when the thread goes idle.
#pragma once

#include "platform/classlib/crect.h"
#include "platform/classlib/win/cwnd.h"
#include "platform/classlib/win/layout.h"
#include "platform/classlib/win/stdids.h"

// Bar styles, kept in m_dwStyle (not in the window's style, whose low word belongs to the control).
constexpr DWORD CBRS_ALIGN_LEFT = 0x1000;
constexpr DWORD CBRS_ALIGN_TOP = 0x2000;
constexpr DWORD CBRS_ALIGN_RIGHT = 0x4000;
constexpr DWORD CBRS_ALIGN_BOTTOM = 0x8000;
constexpr DWORD CBRS_ALIGN_ANY = 0xF000;
constexpr DWORD CBRS_BORDER_LEFT = 0x0100;
constexpr DWORD CBRS_BORDER_TOP = 0x0200;
constexpr DWORD CBRS_BORDER_RIGHT = 0x0400;
constexpr DWORD CBRS_BORDER_BOTTOM = 0x0800;
constexpr DWORD CBRS_BORDER_ANY = 0x0F00;
constexpr DWORD CBRS_TOOLTIPS = 0x0010;
constexpr DWORD CBRS_FLYBY = 0x0020;
constexpr DWORD CBRS_FLOAT_MULTI = 0x0040;
constexpr DWORD CBRS_BORDER_3D = 0x0080;
constexpr DWORD CBRS_HIDE_INPLACE = 0x0008;
constexpr DWORD CBRS_SIZE_DYNAMIC = 0x0004;
constexpr DWORD CBRS_SIZE_FIXED = 0x0002;
constexpr DWORD CBRS_FLOATING = 0x0001;
constexpr DWORD CBRS_GRIPPER = 0x00400000;
constexpr DWORD CBRS_ORIENT_HORZ = CBRS_ALIGN_TOP | CBRS_ALIGN_BOTTOM;
constexpr DWORD CBRS_ORIENT_VERT = CBRS_ALIGN_LEFT | CBRS_ALIGN_RIGHT;
constexpr DWORD CBRS_ALL = 0x0040FFFF;
constexpr DWORD CBRS_NOALIGN = 0x00000000;
constexpr DWORD CBRS_LEFT = CBRS_ALIGN_LEFT | CBRS_BORDER_RIGHT;
constexpr DWORD CBRS_TOP = CBRS_ALIGN_TOP | CBRS_BORDER_BOTTOM;
constexpr DWORD CBRS_RIGHT = CBRS_ALIGN_RIGHT | CBRS_BORDER_LEFT;
constexpr DWORD CBRS_BOTTOM = CBRS_ALIGN_BOTTOM | CBRS_BORDER_TOP;

// The id of an item that is no command (a separator, the status bar's message pane).
constexpr UINT ID_SEPARATOR = 0;

class CFrameWnd;

class CControlBar : public CWnd {
  DECLARE_DYNAMIC(CControlBar)

 public:
  CControlBar() = default;

  DWORD GetBarStyle() const { return m_dwStyle; }
  // The edges of a new style are drawn at once (the non-client area is recalculated).
  virtual void SetBarStyle(DWORD dwStyle);
  void SetBorders(int cxLeft = 0, int cyTop = 0, int cxRight = 0, int cyBottom = 0);
  void SetBorders(LPCRECT lpRect) { SetBorders(lpRect->left, lpRect->top, lpRect->right, lpRect->bottom); }
  CRect GetBorders() const { return CRect(m_cxLeftBorder, m_cyTopBorder, m_cxRightBorder, m_cyBottomBorder); }

  // The size the bar wants: bStretch, as long as its side (32767); bHorz, lying along a top or bottom
  // edge. The base asks for its edges, gripper and borders.
  virtual CSize CalcFixedLayout(BOOL bStretch, BOOL bHorz);
  // The size in the frame's layout (LM_ modes); the base asks CalcFixedLayout.
  virtual CSize CalcDynamicLayout(int nLength, DWORD dwMode);
  // rect, the bar's window rectangle at (0, 0), less the edges, the gripper and the borders.
  virtual void CalcInsideRect(CRect& rect, BOOL bHorz) const;
  // The same inside rectangle in client coordinates.
  CRect GetInsideRect() const;
  // Sets the bar's items' states through their commands' update handlers in pTarget (the frame).
  virtual void OnUpdateCmdUI(CCmdTarget* pTarget, BOOL bDisableIfNoHandler) = 0;

  // Shown or hidden at the frame's next layout (or idle turn).
  void DelayShow(BOOL bShow);
  // Visible, counting a show or hide that is pending.
  BOOL IsVisible() const;
  // Lying along a top or bottom edge (or not along a side).
  BOOL IsHorzBar() const { return (m_dwStyle & CBRS_ORIENT_VERT) == 0; }
  // Paints the edges and the gripper (WM_NCPAINT).
  void EraseNonClient();

  enum StateFlags { delayHide = 1, delayShow = 2 };
  DWORD m_dwStyle = 0;
  UINT m_nStateFlags = 0;
  int m_cxLeftBorder = 0;
  int m_cxRightBorder = 0;
  int m_cyTopBorder = 0;
  int m_cyBottomBorder = 0;
  // The frame the bar belongs to (the nearest frame above it), which lists it among its bars.
  CFrameWnd* m_pDockSite = nullptr;
  // The object is deleted with its window.
  BOOL m_bAutoDelete = FALSE;

 protected:
  void PostNcDestroy() override;
  // The thickness of the non-client frame on each side: the CBRS_BORDER_ edges and the gripper.
  CRect CalcEdges(BOOL bHorz) const;
  // Carries out a pending show or hide; answers whether the bar is (now) visible.
  BOOL ApplyDelayedShow();

  afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
  afx_msg void OnDestroy();
  afx_msg void OnNcCalcSize(BOOL bCalcValidRects, NCCALCSIZE_PARAMS* lpncsp);
  afx_msg void OnNcPaint();
  afx_msg void OnWindowPosChanging(WINDOWPOS* lpWndPos);
  // The frame's layout: the bar takes its strip of the rectangle (moved there when committed).
  afx_msg LRESULT OnSizeParent(WPARAM wParam, LPARAM lParam);
  // The idle turn: a pending show or hide, then, while the bar (and its frame) are visible, its items'
  // states from its owner (its parent unless set).
  afx_msg LRESULT OnIdleUpdateCmdUI(WPARAM wParam, LPARAM lParam);
  DECLARE_MESSAGE_MAP()
};
