// CMiniFrameWnd: a small frame, as a pop-up owned by its parent (a tool window with a small caption:
// floating panes and bars) or as a child window (a panel that slides over the frame). Its MFS_ styles:
// MFS_SYNCACTIVE, it looks active while its frame is and keeps the frame looking active while it is;
// MFS_BLOCKSYSMENU, no system menu; MFS_THICKFRAME, sizing borders (MFS_4THICKFRAME without the
// corners); MFS_MOVEFRAME, its borders move it instead of sizing it.
#pragma once

#include "platform/classlib/win/cframewnd.h"

constexpr DWORD MFS_SYNCACTIVE = 0x00000100;
constexpr DWORD MFS_4THICKFRAME = 0x00000200;
constexpr DWORD MFS_THICKFRAME = 0x00000400;
constexpr DWORD MFS_MOVEFRAME = 0x00000800;
constexpr DWORD MFS_BLOCKSYSMENU = 0x00001000;

class CMiniFrameWnd : public CFrameWnd {
  DECLARE_DYNCREATE(CMiniFrameWnd)

 public:
  CMiniFrameWnd() = default;

  // A pop-up (owned by pParentWnd) unless dwStyle has WS_CHILD; nID is a child's id.
  virtual BOOL Create(LPCTSTR lpClassName, LPCTSTR lpWindowName, DWORD dwStyle, const RECT& rect,
                      CWnd* pParentWnd = nullptr, UINT nID = 0);
  virtual BOOL CreateEx(DWORD dwExStyle, LPCTSTR lpClassName, LPCTSTR lpWindowName, DWORD dwStyle,
                        const RECT& rect, CWnd* pParentWnd = nullptr, UINT nID = 0);

  BOOL PreCreateWindow(CREATESTRUCT& cs) override;

 protected:
  BOOL IsSyncActive() const { return (GetStyle() & MFS_SYNCACTIVE) != 0; }
  // Whether the frame that owns this one, or one of that frame's windows, is the active window.
  BOOL IsOwnerActive() const;

  afx_msg LRESULT OnFloatStatus(WPARAM wParam, LPARAM lParam);
  afx_msg BOOL OnNcActivate(BOOL bActive);
  afx_msg void OnActivate(UINT nState, CWnd* pWndOther, BOOL bMinimized);
  afx_msg LRESULT OnNcHitTest(CPoint point);
  afx_msg void OnNcLButtonDown(UINT nHitTest, CPoint point);
  afx_msg void OnSysCommand(UINT nID, LPARAM lParam);
  afx_msg void OnContextMenu(CWnd* pWnd, CPoint pos);
  DECLARE_MESSAGE_MAP()

  BOOL m_bHiddenByFrame = FALSE;
};
