// CFrameWnd: a frame window. It holds its views (the active one gets the commands first), lays out its
// children with the child-layout protocol (control bars along the edges through WM_SIZEPARENT, the
// first pane, id AFX_IDW_PANE_FIRST, in what they leave), keeps its control bars, shows status texts
// in its status bar, routes commands frame -> active view -> document -> application, and ends the
// application when it is the main window and goes.
//
// Frames are created with new and delete themselves when their window ends (PostNcDestroy).
#pragma once

#include <windows.h>

#include <vector>

#include "platform/classlib/cstring.h"
#include "platform/classlib/win/ccreatecontext.h"
#include "platform/classlib/win/cwnd.h"
#include "platform/classlib/win/messages.h"
#include "platform/classlib/win/self_deleting.h"

class CControlBar;
class CDocument;
class CView;
struct CPrintPreviewState;

// Frame styles, in the low word of a frame's window style.
constexpr DWORD FWS_ADDTOTITLE = 0x8000;   // the title shows the active document's title
constexpr DWORD FWS_PREFIXTITLE = 0x4000;  // the document's title first ("doc - app")
constexpr DWORD FWS_SNAPTOBARS = 0x2000;
// The style of views that a frame creates (CreateView).
constexpr DWORD AFX_WS_DEFAULT_VIEW = WS_CHILD | WS_VISIBLE | WS_BORDER;

class CFrameWnd : public CWnd {
  DECLARE_DYNCREATE(CFrameWnd)
  CLASSLIB_SELF_DELETING

 public:
  CFrameWnd() = default;
  ~CFrameWnd() override;

  // Where the system places a new top-level window.
  static const RECT rectDefault;

  // lpszMenuName: a menu resource (none when null). pContext: the first view to create and its
  // document (passed to WM_CREATE).
  virtual BOOL Create(LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle = WS_OVERLAPPEDWINDOW,
                      const RECT& rect = rectDefault, CWnd* pParentWnd = nullptr, LPCTSTR lpszMenuName = nullptr,
                      DWORD dwExStyle = 0, CCreateContext* pContext = nullptr);
  // The frame of the resources with id nIDResource: its title is the first line of that string, its
  // menu, icon and accelerators those resources when they exist.
  virtual BOOL LoadFrame(UINT nIDResource, DWORD dwDefaultStyle = WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE,
                         CWnd* pParentWnd = nullptr, CCreateContext* pContext = nullptr);
  CFrameWnd* AsFrameWnd() override { return this; }

  // ---- views and documents ------------------------------------------------------------------------
  // A view of pContext->m_pNewViewClass showing pContext->m_pCurrentDoc, a child of this frame with the
  // default view style, an empty rectangle and id nID; null when it could not be created.
  CWnd* CreateView(CCreateContext* pContext, UINT nID = AFX_IDW_PANE_FIRST);
  // The same for any parent window (a view that holds views of its own).
  static CWnd* CreateView(CWnd* pParentWnd, CCreateContext* pContext, UINT nID);
  CView* GetActiveView() const { return m_pViewActive; }
  // bNotify: the old and the new view hear of it (OnActivateView).
  void SetActiveView(CView* pViewNew, BOOL bNotify = TRUE);
  // The active view's document.
  virtual CDocument* GetActiveDocument();
  // The frame whose view is active: this one (an MDI frame answers its active child).
  virtual CFrameWnd* GetActiveFrame();
  // After the frame's document is ready: the first pane becomes the active view, every view gets its
  // initial update (WM_INITIALUPDATE), the title shows the document and, with bMakeVisible, the frame
  // is shown (the main window with the application's show state the first time).
  void InitialUpdateFrame(CDocument* pDoc, BOOL bMakeVisible);
  // nCmdShow -1: shown normally (restored when minimised) and brought to the top.
  virtual void ActivateFrame(int nCmdShow = -1);
  // With FWS_ADDTOTITLE: the frame's title and the active document's, as FWS_PREFIXTITLE orders them.
  virtual void OnUpdateFrameTitle(BOOL bAddToTitle);
  // Shows the menu hMenuAlt; NULL re-applies the active document's menu, which is the frame's own here
  // (documents bring no menus of their own): frames that switch menus per document override it.
  virtual void OnUpdateFrameMenu(HMENU hMenuAlt);
  void SetTitle(LPCTSTR lpszTitle) { m_strTitle = lpszTitle; }
  CString GetTitle() const { return m_strTitle; }

  // ---- layout -------------------------------------------------------------------------------------
  // The children in z-order get WM_SIZEPARENT (ids 0 to 0xFFFF), the first pane what they leave.
  virtual void RecalcLayout(BOOL bNotify = TRUE);
  // The layout runs at the next idle turn (or the next RecalcLayout) instead of now.
  void DelayRecalcLayout(BOOL bNotify = TRUE);
  // Work left for the idle turn (WM_IDLEUPDATECMDUI).
  enum { idleMenu = 1, idleTitle = 2, idleNotify = 4, idleLayout = 8 };
  UINT m_nIdleFlags = 0;
  // Room kept free around the first pane.
  CRect m_rectBorder;

  // ---- control bars -------------------------------------------------------------------------------
  // Bars created as children of the frame enter its list (CControlBar::OnCreate).
  void AddControlBar(CControlBar* pBar);
  void RemoveControlBar(CControlBar* pBar);
  CControlBar* GetControlBar(UINT nID) const;
  // bDelay: shown or hidden at the next layout (idle); else the layout runs now.
  void ShowControlBar(CControlBar* pBar, BOOL bShow, BOOL bDelay);

  // ---- status texts -------------------------------------------------------------------------------
  // The prompt of a command: its string up to the first line feed.
  virtual void GetMessageString(UINT nID, CString& rMessage) const;
  void SetMessageText(LPCTSTR lpszText);
  void SetMessageText(UINT nID);
  // The status bar (the descendant AFX_IDW_STATUS_BAR), or null.
  CWnd* GetMessageBar() const;

  // Print preview is not the program's; the toolkit frame hides its bars around it.
  virtual void OnSetPreviewMode(BOOL bPreview, CPrintPreviewState* pState);

  BOOL PreCreateWindow(CREATESTRUCT& cs) override;
  BOOL PreTranslateMessage(MSG* pMsg) override;
  // This frame (as routing frame), its active view (and that view's document), itself, the application.
  BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;
  void PostNcDestroy() override;

  HACCEL m_hAccelTable = nullptr;
  BOOL m_bHelpMode = FALSE;        // context-help mode (the program never enters it)
  BOOL m_bAutoMenuEnable = TRUE;   // menu items without an update or command handler are greyed
  UINT m_nIDHelp = 0;              // the resource id LoadFrame was given
  CString m_strTitle;

 protected:
  // Creates the first view when pContext names one; FALSE fails the frame's creation.
  virtual BOOL OnCreateClient(LPCREATESTRUCT lpcs, CCreateContext* pContext);
  int OnCreateHelper(LPCREATESTRUCT lpcs, CCreateContext* pContext);
  // LoadFrame's parts around the creation: the title (the string's first line) and the icon of the
  // resources before; the accelerators and, without a document to wait for, the views' first update
  // after.
  HICON BeginLoadFrame(UINT nIDResource);
  void EndLoadFrame(UINT nIDResource, CCreateContext* pContext);
  // Sends WM_FLOATSTATUS to the pop-ups this frame owns.
  void NotifyFloatingWindows(WPARAM dwFlags);
  // A pop-up of this frame that follows its activation (answers FS_SYNCACTIVE).
  BOOL IsSyncedFloat(HWND hWnd) const;

  CView* m_pViewActive = nullptr;
  BOOL m_bInRecalcLayout = FALSE;
  UINT m_nIDTracking = 0;
  UINT m_nIDLastMessage = 0;
  std::vector<CControlBar*> m_listControlBars;

  afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
  afx_msg void OnClose();
  afx_msg void OnDestroy();
  afx_msg void OnNcDestroy();
  afx_msg void OnSize(UINT nType, int cx, int cy);
  afx_msg void OnSetFocus(CWnd* pOldWnd);
  afx_msg void OnActivate(UINT nState, CWnd* pWndOther, BOOL bMinimized);
  afx_msg void OnEnable(BOOL bEnable);
  afx_msg void OnShowWindow(BOOL bShow, UINT nStatus);
  afx_msg void OnInitMenuPopup(CMenu* pPopupMenu, UINT nIndex, BOOL bSysMenu);
  afx_msg LRESULT OnMenuSelect(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnIdleUpdateCmdUI(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnSetMessageString(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnPopMessageString(WPARAM wParam, LPARAM lParam);
  afx_msg void OnUpdateKeyIndicator(CCmdUI* pCmdUI);
  // The shell's DDE conversation, answered by the main frame once shell open is enabled
  // (cwinapp_shell.cpp).
  afx_msg LRESULT OnDDEInitiate(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnDDEExecute(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnDDETerminate(WPARAM wParam, LPARAM lParam);
  DECLARE_MESSAGE_MAP()
};
