// CMDIFrameWnd and CMDIChildWnd: a frame whose first pane is the system's MDI client window, and the
// document frames that live in it. The MDI frame routes commands to its active child first; children
// are created and destroyed through the client (WM_MDICREATE, WM_MDIDESTROY), so that a window that
// subclasses the client (a tab client) sees every child come, go and become active.
#pragma once

#include "platform/classlib/win/cframewnd.h"

class CMDIChildWnd;

// The id of the first child in the client's window menu.
constexpr UINT AFX_IDM_FIRST_MDICHILD = 0xFF00;

class CMDIFrameWnd : public CFrameWnd {
  DECLARE_DYNCREATE(CMDIFrameWnd)

 public:
  CMDIFrameWnd() = default;

  HWND m_hWndMDIClient = nullptr;

  // The MDI client window (id AFX_IDW_PANE_FIRST); pWindowMenu: the menu that lists the children.
  virtual BOOL CreateClient(LPCREATESTRUCT lpCreateStruct, CMenu* pWindowMenu);
  // The active child (null when there is none or it has no object); *pbMaximized whether it is
  // maximised.
  CMDIChildWnd* MDIGetActive(BOOL* pbMaximized = nullptr) const;
  void MDIActivate(CWnd* pWndActivate);
  void MDINext();
  void MDIPrev();
  void MDICascade();
  void MDITile(int nType = MDITILE_VERTICAL);
  void MDIIconArrange();
  void MDIMaximize(CWnd* pWnd);
  void MDIRestore(CWnd* pWnd);
  // Answers the frame menu that was set before.
  CMenu* MDISetMenu(CMenu* pFrameMenu, CMenu* pWindowMenu);

  // The active child, else this frame.
  CFrameWnd* GetActiveFrame() override;
  // The active child first (its view, document, itself, the application), then this frame's route.
  BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;
  // The client's keys for the children (Ctrl+F4, Ctrl+F6), then the frame's accelerators.
  BOOL PreTranslateMessage(MSG* pMsg) override;
  // Unhandled messages go to the system's frame procedure (window menu, focus to the client).
  LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

 protected:
  BOOL OnCreateClient(LPCREATESTRUCT lpcs, CCreateContext* pContext) override;
};

class CMDIChildWnd : public CFrameWnd {
  DECLARE_DYNCREATE(CMDIChildWnd)

 public:
  CMDIChildWnd() = default;

  // A child of pParentWnd's client (the main window when null); pContext as for a frame.
  virtual BOOL Create(LPCTSTR lpszClassName, LPCTSTR lpszWindowName,
                      DWORD dwStyle = WS_CHILD | WS_VISIBLE | WS_OVERLAPPEDWINDOW, const RECT& rect = rectDefault,
                      CMDIFrameWnd* pParentWnd = nullptr, CCreateContext* pContext = nullptr);
  BOOL LoadFrame(UINT nIDResource, DWORD dwDefaultStyle = WS_CHILD | WS_VISIBLE | WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE,
                 CWnd* pParentWnd = nullptr, CCreateContext* pContext = nullptr) override;
  CMDIFrameWnd* GetMDIFrame() const;
  void MDIDestroy();
  void MDIActivate();
  void MDIMaximize();
  void MDIRestore();

  // Through the client (WM_MDIDESTROY).
  BOOL DestroyWindow() override;
  // Shown and made the active child.
  void ActivateFrame(int nCmdShow = -1) override;
  LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

 protected:
  afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
  afx_msg void OnSize(UINT nType, int cx, int cy);
  afx_msg void OnSetFocus(CWnd* pOldWnd);
  afx_msg LRESULT OnMDIActivateMessage(WPARAM wParam, LPARAM lParam);
  DECLARE_MESSAGE_MAP()
};
