// CControlBar: the base of the bars a frame lays out along its edges (the status bar here). This is
// the part of the class the status bar stands on: the bar style, the borders, the size a bar asks
// for (CalcFixedLayout) and the idle update of its items. The frame layout (WM_SIZEPARENT), docking,
// floating and the delayed show and hide are the frame part's to add.
#pragma once

#include "platform/classlib/crect.h"
#include "platform/classlib/win/cwnd.h"

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

// Window ids of a frame's bars, and the id of an item that is no command.
constexpr UINT AFX_IDW_STATUS_BAR = 0xE801;
constexpr UINT ID_SEPARATOR = 0;

class CControlBar : public CWnd {
  DECLARE_DYNAMIC(CControlBar)

 public:
  CControlBar() = default;

  DWORD GetBarStyle() const { return m_dwStyle; }
  virtual void SetBarStyle(DWORD dwStyle) { m_dwStyle = dwStyle & CBRS_ALL; }
  void SetBorders(int cxLeft = 0, int cyTop = 0, int cxRight = 0, int cyBottom = 0);
  void SetBorders(LPCRECT lpRect) { SetBorders(lpRect->left, lpRect->top, lpRect->right, lpRect->bottom); }
  CRect GetBorders() const { return CRect(m_cxLeftBorder, m_cyTopBorder, m_cxRightBorder, m_cyBottomBorder); }

  // The size the bar wants: bStretch, as long as its side (32767) ; bHorz, lying along a top or bottom
  // edge. The base asks for its borders only.
  virtual CSize CalcFixedLayout(BOOL bStretch, BOOL bHorz);
  // The rectangle inside the borders.
  virtual void CalcInsideRect(CRect& rect, BOOL bHorz) const;
  // Sets the bar's items' states through their commands' update handlers in pTarget (the frame).
  virtual void OnUpdateCmdUI(CCmdTarget* pTarget, BOOL bDisableIfNoHandler) = 0;

  DWORD m_dwStyle = 0;
  int m_cxLeftBorder = 0;
  int m_cxRightBorder = 0;
  int m_cyTopBorder = 0;
  int m_cyBottomBorder = 0;

 protected:
  // The idle update: a visible bar updates its items from its owner (its parent unless set).
  afx_msg LRESULT OnIdleUpdateCmdUI(WPARAM wParam, LPARAM lParam);
  DECLARE_MESSAGE_MAP()
};
