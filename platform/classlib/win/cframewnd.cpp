// CFrameWnd: creation from resources, its views and documents, command routing, closing and its end.
#include "platform/classlib/win/cframewnd.h"

#include <dde.h>

#include "platform/classlib/resource_win32.h"
#include "platform/classlib/win/ccontrolbar.h"
#include "platform/classlib/win/cdocument.h"
#include "platform/classlib/win/cview.h"
#include "platform/classlib/win/cwinapp.h"
#include "platform/classlib/win/threadstate.h"

IMPLEMENT_DYNCREATE(CFrameWnd, CWnd)

BEGIN_MESSAGE_MAP(CFrameWnd, CWnd)
  ON_WM_CREATE()
  ON_WM_CLOSE()
  ON_WM_DESTROY()
  ON_WM_NCDESTROY()
  ON_WM_SIZE()
  ON_WM_SETFOCUS()
  ON_WM_ACTIVATE()
  ON_WM_ENABLE()
  ON_WM_SHOWWINDOW()
  ON_WM_INITMENUPOPUP()
  ON_MESSAGE(WM_MENUSELECT, OnMenuSelect)
  ON_MESSAGE(WM_IDLEUPDATECMDUI, OnIdleUpdateCmdUI)
  ON_MESSAGE(WM_SETMESSAGESTRING, OnSetMessageString)
  ON_MESSAGE(WM_POPMESSAGESTRING, OnPopMessageString)
  ON_MESSAGE(WM_DDE_INITIATE, OnDDEInitiate)
  ON_MESSAGE(WM_DDE_EXECUTE, OnDDEExecute)
  ON_MESSAGE(WM_DDE_TERMINATE, OnDDETerminate)
  ON_UPDATE_COMMAND_UI(ID_INDICATOR_CAPS, OnUpdateKeyIndicator)
  ON_UPDATE_COMMAND_UI(ID_INDICATOR_NUM, OnUpdateKeyIndicator)
  ON_UPDATE_COMMAND_UI(ID_INDICATOR_SCRL, OnUpdateKeyIndicator)
END_MESSAGE_MAP()

const RECT CFrameWnd::rectDefault = {CW_USEDEFAULT, CW_USEDEFAULT, 0, 0};

CFrameWnd::~CFrameWnd() {
  // Bars that outlive the frame (their windows went with it) forget it.
  for (CControlBar* pBar : m_listControlBars) pBar->m_pDockSite = nullptr;
}

// ---- creation -------------------------------------------------------------------------------------

BOOL CFrameWnd::PreCreateWindow(CREATESTRUCT& cs) {
  if (cs.lpszClass == nullptr) cs.lpszClass = CView::FrameOrViewClassName();
  if ((cs.style & FWS_ADDTOTITLE) != 0) cs.style |= FWS_PREFIXTITLE;
  return CWnd::PreCreateWindow(cs);
}

BOOL CFrameWnd::Create(LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle, const RECT& rect,
                       CWnd* pParentWnd, LPCTSTR lpszMenuName, DWORD dwExStyle, CCreateContext* pContext) {
  HMENU hMenu = nullptr;
  if (lpszMenuName != nullptr) {
    hMenu = ::LoadMenuW(AfxGetResourceHandle(), lpszMenuName);
    if (hMenu == nullptr) return FALSE;
  }
  if (lpszWindowName != nullptr) m_strTitle = lpszWindowName;
  // The default place is left to the system (it has no meaning for a child).
  const bool systemPlace = rect.left == CW_USEDEFAULT;
  int x = systemPlace ? CW_USEDEFAULT : rect.left;
  int y = systemPlace ? CW_USEDEFAULT : rect.top;
  int cx = systemPlace ? CW_USEDEFAULT : rect.right - rect.left;
  int cy = systemPlace ? CW_USEDEFAULT : rect.bottom - rect.top;
  if (systemPlace && (dwStyle & WS_CHILD) != 0) x = y = cx = cy = 0;
  if (!CreateEx(dwExStyle, lpszClassName, lpszWindowName, dwStyle, x, y, cx, cy,
                pParentWnd != nullptr ? pParentWnd->m_hWnd : nullptr, hMenu, pContext)) {
    // The object may be gone (PostNcDestroy). A window that was made took its menu with it.
    if (hMenu != nullptr && ::IsMenu(hMenu)) ::DestroyMenu(hMenu);
    return FALSE;
  }
  return TRUE;
}

HICON CFrameWnd::BeginLoadFrame(UINT nIDResource) {
  m_nIDHelp = nIDResource;
  CString strings;
  strings.LoadString(nIDResource);
  int feed = strings.Find(_T('\n'));
  m_strTitle = feed < 0 ? strings : strings.Left(feed);
  return ::LoadIconW(AfxGetResourceHandle(), MAKEINTRESOURCEW(nIDResource));
}

void CFrameWnd::EndLoadFrame(UINT nIDResource, CCreateContext* pContext) {
  m_hAccelTable = ::LoadAcceleratorsW(AfxGetResourceHandle(), MAKEINTRESOURCEW(nIDResource));
  if (pContext == nullptr) SendMessageToDescendants(WM_INITIALUPDATE, 0, 0, TRUE, TRUE);
}

BOOL CFrameWnd::LoadFrame(UINT nIDResource, DWORD dwDefaultStyle, CWnd* pParentWnd, CCreateContext* pContext) {
  HICON hIcon = BeginLoadFrame(nIDResource);
  LPCTSTR lpszResource = MAKEINTRESOURCEW(nIDResource);
  LPCTSTR lpszMenu =
      ::FindResourceW(AfxGetResourceHandle(), lpszResource, MAKEINTRESOURCEW(4) /* RT_MENU */) != nullptr
          ? lpszResource
          : nullptr;
  if (!Create(CView::FrameOrViewClassName(hIcon), m_strTitle, dwDefaultStyle, rectDefault, pParentWnd, lpszMenu, 0,
              pContext)) {
    return FALSE;  // the frame has deleted itself
  }
  EndLoadFrame(nIDResource, pContext);
  return TRUE;
}

int CFrameWnd::OnCreate(LPCREATESTRUCT lpCreateStruct) {
  return OnCreateHelper(lpCreateStruct, static_cast<CCreateContext*>(lpCreateStruct->lpCreateParams));
}

int CFrameWnd::OnCreateHelper(LPCREATESTRUCT lpCreateStruct, CCreateContext* pContext) {
  if (CWnd::OnCreate(lpCreateStruct) == -1) return -1;
  if (!OnCreateClient(lpCreateStruct, pContext)) return -1;
  // The status bar comes later (the derived frame's creation): the idle prompt is shown when it exists.
  PostMessage(WM_SETMESSAGESTRING, AFX_IDS_IDLEMESSAGE);
  RecalcLayout();
  return 0;
}

BOOL CFrameWnd::OnCreateClient(LPCREATESTRUCT, CCreateContext* pContext) {
  if (pContext == nullptr || pContext->m_pNewViewClass == nullptr) return TRUE;
  return CreateView(pContext, AFX_IDW_PANE_FIRST) != nullptr;
}

// ---- views and documents --------------------------------------------------------------------------

CWnd* CFrameWnd::CreateView(CCreateContext* pContext, UINT nID) { return CreateView(this, pContext, nID); }

CWnd* CFrameWnd::CreateView(CWnd* pParentWnd, CCreateContext* pContext, UINT nID) {
  if (pParentWnd == nullptr || pContext == nullptr || pContext->m_pNewViewClass == nullptr) return nullptr;
  if (!pContext->m_pNewViewClass->IsDerivedFrom(RUNTIME_CLASS(CWnd))) return nullptr;
  auto* pView = static_cast<CWnd*>(pContext->m_pNewViewClass->CreateObject());
  if (pView == nullptr) return nullptr;
  // A view that fails has deleted itself with its window (PostNcDestroy).
  if (!pView->Create(nullptr, nullptr, AFX_WS_DEFAULT_VIEW, RECT{0, 0, 0, 0}, pParentWnd, nID, pContext)) {
    return nullptr;
  }
  return pView;
}

void CFrameWnd::SetActiveView(CView* pViewNew, BOOL bNotify) {
  CView* pViewOld = m_pViewActive;
  if (pViewNew == pViewOld) return;
  m_pViewActive = nullptr;  // none while the old one hears of the change
  if (bNotify && pViewOld != nullptr) pViewOld->OnActivateView(FALSE, pViewNew, pViewOld);
  m_pViewActive = pViewNew;
  if (bNotify && pViewNew != nullptr) pViewNew->OnActivateView(TRUE, pViewNew, pViewOld);
}

CDocument* CFrameWnd::GetActiveDocument() {
  CView* pView = GetActiveView();
  return pView != nullptr ? pView->GetDocument() : nullptr;
}

CFrameWnd* CFrameWnd::GetActiveFrame() { return this; }

void CFrameWnd::InitialUpdateFrame(CDocument*, BOOL bMakeVisible) {
  CView* pView = GetActiveView();
  if (pView == nullptr) {
    CWnd* pPane = GetDescendantWindow(AFX_IDW_PANE_FIRST, TRUE);
    if (pPane != nullptr && pPane->IsKindOf(RUNTIME_CLASS(CView))) {
      pView = static_cast<CView*>(pPane);
      SetActiveView(pView, FALSE);
    }
  }
  SendMessageToDescendants(WM_INITIALUPDATE, 0, 0, TRUE, TRUE);
  if (bMakeVisible) {
    // The main window shows itself the first time as the program was started (minimised, ...).
    int nCmdShow = -1;
    CWinApp* pApp = AfxGetApp();
    CWinThread* pThread = AfxGetThread();
    if (pApp != nullptr && pThread == pApp && pApp->m_pMainWnd == this && pApp->m_nCmdShow != -1) {
      nCmdShow = pApp->m_nCmdShow;
      pApp->m_nCmdShow = -1;
    }
    ActivateFrame(nCmdShow);
    if (pView != nullptr) pView->OnActivateView(TRUE, pView, pView);
  }
  OnUpdateFrameTitle(TRUE);
}

void CFrameWnd::ActivateFrame(int nCmdShow) {
  if (nCmdShow == -1) nCmdShow = !IsWindowVisible() ? SW_SHOWNORMAL : IsIconic() ? SW_RESTORE : SW_SHOW;
  ShowWindow(nCmdShow);
  if (nCmdShow != SW_HIDE && nCmdShow != SW_MINIMIZE && nCmdShow != SW_SHOWMINNOACTIVE &&
      (GetStyle() & WS_CHILD) == 0) {
    BringWindowToTop();
  }
}

void CFrameWnd::OnUpdateFrameMenu(HMENU hMenuAlt) {
  if (hMenuAlt != nullptr) ::SetMenu(m_hWnd, hMenuAlt);
}

void CFrameWnd::OnUpdateFrameTitle(BOOL bAddToTitle) {
  if ((GetStyle() & FWS_ADDTOTITLE) == 0) return;
  CString title = m_strTitle;
  CDocument* pDoc = GetActiveDocument();
  if (bAddToTitle && pDoc != nullptr && !pDoc->GetTitle().IsEmpty()) {
    const CString& docTitle = pDoc->GetTitle();
    if (m_strTitle.IsEmpty()) {
      title = docTitle;
    } else if ((GetStyle() & FWS_PREFIXTITLE) != 0) {
      title = docTitle + _T(" - ") + m_strTitle;
    } else {
      title = m_strTitle + _T(" - ") + docTitle;
    }
  }
  CString current;
  GetWindowText(current);
  if (current != title) SetWindowText(title);  // the same text again would make the caption flicker
}

// ---- commands -------------------------------------------------------------------------------------

BOOL CFrameWnd::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) {
  CPushRoutingFrame push(this);
  CView* pView = GetActiveView();
  if (pView != nullptr && pView->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo)) return TRUE;
  if (CWnd::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo)) return TRUE;
  CWinApp* pApp = AfxGetApp();
  return pApp != nullptr && pApp->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}

BOOL CFrameWnd::PreTranslateMessage(MSG* pMsg) {
  if (pMsg->message < WM_KEYFIRST || pMsg->message > WM_KEYLAST || m_hAccelTable == nullptr) return FALSE;
  // Only keys of the frame's own windows, and not while a modal box has disabled it.
  if (pMsg->hwnd != m_hWnd && !::IsChild(m_hWnd, pMsg->hwnd)) return FALSE;
  if (!IsWindowEnabled()) return FALSE;
  return ::TranslateAcceleratorW(m_hWnd, m_hAccelTable, pMsg);
}

void CFrameWnd::OnSetPreviewMode(BOOL, CPrintPreviewState*) {}

// ---- closing and the end --------------------------------------------------------------------------

void CFrameWnd::OnClose() {
  HWND hWnd = m_hWnd;
  CDocument* pDoc = GetActiveDocument();
  if (pDoc != nullptr && !pDoc->CanCloseFrame(this)) return;
  CWinApp* pApp = AfxGetApp();
  if (pApp != nullptr && pApp->m_pMainWnd == this) {
    // The main window: every document is offered for saving, then closed (which ends this frame).
    if (!pApp->SaveAllModified()) return;
    pApp->CloseAllDocuments(FALSE);
    if (!::IsWindow(hWnd)) return;
  } else if (pDoc != nullptr && pDoc->m_bAutoDelete && pDoc->CountOtherFrames(this) == 0) {
    pDoc->OnCloseDocument();  // its last frame: the document closes and takes the frame with it
    if (!::IsWindow(hWnd)) return;
  }
  DestroyWindow();
}

void CFrameWnd::OnDestroy() {
  SetActiveView(nullptr, FALSE);
  CWnd::OnDestroy();
}

void CFrameWnd::OnNcDestroy() {
  // The main window's end is the end of its thread's loop.
  CWinThread* pThread = AfxGetThread();
  if (pThread != nullptr && pThread->m_pMainWnd == this) {
    pThread->m_pMainWnd = nullptr;
    AfxPostQuitMessage(0);
  }
  if (pThread != nullptr && pThread->m_pActiveWnd == this) pThread->m_pActiveWnd = nullptr;
  CWnd::OnNcDestroy();
}

void CFrameWnd::PostNcDestroy() {
  if (IsSelfDeletable()) delete this;
}
