// The MDI frame and its children.
#include "platform/classlib/win/cmdiframewnd.h"

#include "platform/classlib/resource_win32.h"
#include "platform/classlib/win/cmenu.h"
#include "platform/classlib/win/cview.h"
#include "platform/classlib/win/cwinapp.h"
#include "platform/classlib/win/threadstate.h"

IMPLEMENT_DYNCREATE(CMDIFrameWnd, CFrameWnd)
IMPLEMENT_DYNCREATE(CMDIChildWnd, CFrameWnd)

// ---- the frame ------------------------------------------------------------------------------------

BOOL CMDIFrameWnd::OnCreateClient(LPCREATESTRUCT lpcs, CCreateContext*) { return CreateClient(lpcs, nullptr); }

BOOL CMDIFrameWnd::CreateClient(LPCREATESTRUCT, CMenu* pWindowMenu) {
  CLIENTCREATESTRUCT client{};
  client.hWindowMenu = pWindowMenu != nullptr ? pWindowMenu->m_hMenu : nullptr;
  client.idFirstChild = AFX_IDM_FIRST_MDICHILD;
  // MDIS_ALLCHILDSTYLES: children keep the styles they are created with (a tab client strips captions).
  const DWORD style = WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS | WS_HSCROLL | WS_VSCROLL |
                      MDIS_ALLCHILDSTYLES;
  m_hWndMDIClient = ::CreateWindowExW(WS_EX_CLIENTEDGE, L"MDICLIENT", nullptr, style, 0, 0, 0, 0, m_hWnd,
                                      reinterpret_cast<HMENU>(static_cast<UINT_PTR>(AFX_IDW_PANE_FIRST)),
                                      AfxGetInstanceHandle(), &client);
  return m_hWndMDIClient != nullptr;
}

CMDIChildWnd* CMDIFrameWnd::MDIGetActive(BOOL* pbMaximized) const {
  BOOL maximized = FALSE;
  HWND hWnd = m_hWndMDIClient != nullptr
                  ? reinterpret_cast<HWND>(
                        ::SendMessageW(m_hWndMDIClient, WM_MDIGETACTIVE, 0, reinterpret_cast<LPARAM>(&maximized)))
                  : nullptr;
  if (pbMaximized != nullptr) *pbMaximized = hWnd != nullptr && maximized;
  CWnd* pWnd = hWnd != nullptr ? CWnd::FromHandlePermanent(hWnd) : nullptr;
  return pWnd != nullptr && pWnd->IsKindOf(RUNTIME_CLASS(CMDIChildWnd)) ? static_cast<CMDIChildWnd*>(pWnd) : nullptr;
}

void CMDIFrameWnd::MDIActivate(CWnd* pWndActivate) {
  if (pWndActivate != nullptr) {
    ::SendMessageW(m_hWndMDIClient, WM_MDIACTIVATE, reinterpret_cast<WPARAM>(pWndActivate->m_hWnd), 0);
  }
}
void CMDIFrameWnd::MDINext() { ::SendMessageW(m_hWndMDIClient, WM_MDINEXT, 0, FALSE); }
void CMDIFrameWnd::MDIPrev() { ::SendMessageW(m_hWndMDIClient, WM_MDINEXT, 0, TRUE); }
void CMDIFrameWnd::MDICascade() { ::SendMessageW(m_hWndMDIClient, WM_MDICASCADE, 0, 0); }
void CMDIFrameWnd::MDITile(int nType) { ::SendMessageW(m_hWndMDIClient, WM_MDITILE, static_cast<WPARAM>(nType), 0); }
void CMDIFrameWnd::MDIIconArrange() { ::SendMessageW(m_hWndMDIClient, WM_MDIICONARRANGE, 0, 0); }
void CMDIFrameWnd::MDIMaximize(CWnd* pWnd) {
  if (pWnd != nullptr) ::SendMessageW(m_hWndMDIClient, WM_MDIMAXIMIZE, reinterpret_cast<WPARAM>(pWnd->m_hWnd), 0);
}
void CMDIFrameWnd::MDIRestore(CWnd* pWnd) {
  if (pWnd != nullptr) ::SendMessageW(m_hWndMDIClient, WM_MDIRESTORE, reinterpret_cast<WPARAM>(pWnd->m_hWnd), 0);
}

CMenu* CMDIFrameWnd::MDISetMenu(CMenu* pFrameMenu, CMenu* pWindowMenu) {
  auto hMenu = reinterpret_cast<HMENU>(::SendMessageW(
      m_hWndMDIClient, WM_MDISETMENU, reinterpret_cast<WPARAM>(pFrameMenu != nullptr ? pFrameMenu->m_hMenu : nullptr),
      reinterpret_cast<LPARAM>(pWindowMenu != nullptr ? pWindowMenu->m_hMenu : nullptr)));
  return hMenu != nullptr ? CMenu::FromHandle(hMenu) : nullptr;
}

CFrameWnd* CMDIFrameWnd::GetActiveFrame() {
  CMDIChildWnd* pChild = MDIGetActive();
  return pChild != nullptr ? static_cast<CFrameWnd*>(pChild) : this;
}

BOOL CMDIFrameWnd::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) {
  if (CMDIChildWnd* pChild = MDIGetActive()) {
    CPushRoutingFrame push(this);
    if (pChild->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo)) return TRUE;
  }
  // An MDI client that one of our window objects subclassed (a tab client) has commands of its own.
  if (CWnd* pClient = m_hWndMDIClient != nullptr ? CWnd::FromHandlePermanent(m_hWndMDIClient) : nullptr) {
    if (pClient != this && pClient->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo)) return TRUE;
  }
  return CFrameWnd::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}

BOOL CMDIFrameWnd::PreTranslateMessage(MSG* pMsg) {
  if (pMsg->message >= WM_KEYFIRST && pMsg->message <= WM_KEYLAST && m_hWndMDIClient != nullptr &&
      (pMsg->hwnd == m_hWnd || ::IsChild(m_hWnd, pMsg->hwnd)) && ::TranslateMDISysAccel(m_hWndMDIClient, pMsg)) {
    return TRUE;
  }
  return CFrameWnd::PreTranslateMessage(pMsg);
}

LRESULT CMDIFrameWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  return ::DefFrameProcW(m_hWnd, m_hWndMDIClient, message, wParam, lParam);
}

// ---- the children ---------------------------------------------------------------------------------

BEGIN_MESSAGE_MAP(CMDIChildWnd, CFrameWnd)
  ON_WM_CREATE()
  ON_WM_SIZE()
  ON_WM_SETFOCUS()
  ON_MESSAGE(WM_MDIACTIVATE, OnMDIActivateMessage)
END_MESSAGE_MAP()

namespace {
CMDIFrameWnd* MainMDIFrame() {
  CWnd* pMainWnd = AfxGetMainWnd();
  return pMainWnd != nullptr && pMainWnd->IsKindOf(RUNTIME_CLASS(CMDIFrameWnd)) ? static_cast<CMDIFrameWnd*>(pMainWnd)
                                                                                : nullptr;
}
}  // namespace

BOOL CMDIChildWnd::Create(LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle, const RECT& rect,
                          CMDIFrameWnd* pParentWnd, CCreateContext* pContext) {
  if (pParentWnd == nullptr) pParentWnd = MainMDIFrame();
  if (pParentWnd == nullptr || pParentWnd->m_hWndMDIClient == nullptr || m_hWnd != nullptr) return FALSE;
  if (lpszWindowName != nullptr) m_strTitle = lpszWindowName;
  CREATESTRUCT cs{};
  cs.lpszClass = lpszClassName;
  cs.lpszName = lpszWindowName;
  cs.style = dwStyle | WS_CHILD;
  const bool systemPlace = rect.left == CW_USEDEFAULT;
  cs.x = systemPlace ? CW_USEDEFAULT : rect.left;
  cs.y = systemPlace ? CW_USEDEFAULT : rect.top;
  cs.cx = systemPlace ? CW_USEDEFAULT : rect.right - rect.left;
  cs.cy = systemPlace ? CW_USEDEFAULT : rect.bottom - rect.top;
  cs.hwndParent = pParentWnd->m_hWndMDIClient;
  cs.hInstance = AfxGetInstanceHandle();
  cs.lpCreateParams = pContext;
  if (!PreCreateWindow(cs)) {
    PostNcDestroy();
    return FALSE;
  }
  MDICREATESTRUCTW create{};
  create.szClass = cs.lpszClass;
  create.szTitle = cs.lpszName;
  create.hOwner = cs.hInstance;
  create.x = cs.x;
  create.y = cs.y;
  create.cx = cs.cx;
  create.cy = cs.cy;
  create.style = cs.style;
  create.lParam = reinterpret_cast<LPARAM>(pContext);
  AfxHookWindowCreate(this);
  auto hWnd = reinterpret_cast<HWND>(
      ::SendMessageW(pParentWnd->m_hWndMDIClient, WM_MDICREATE, 0, reinterpret_cast<LPARAM>(&create)));
  if (!AfxUnhookWindowCreate()) {
    PostNcDestroy();  // the window never reached the object
    return FALSE;
  }
  return hWnd != nullptr;
}

BOOL CMDIChildWnd::LoadFrame(UINT nIDResource, DWORD dwDefaultStyle, CWnd* pParentWnd, CCreateContext* pContext) {
  HICON hIcon = BeginLoadFrame(nIDResource);
  CMDIFrameWnd* pFrame = pParentWnd != nullptr && pParentWnd->IsKindOf(RUNTIME_CLASS(CMDIFrameWnd))
                             ? static_cast<CMDIFrameWnd*>(pParentWnd)
                             : nullptr;
  if (!Create(CView::FrameOrViewClassName(hIcon), m_strTitle, dwDefaultStyle, rectDefault, pFrame, pContext)) {
    return FALSE;  // the frame has deleted itself
  }
  EndLoadFrame(nIDResource, pContext);
  return TRUE;
}

int CMDIChildWnd::OnCreate(LPCREATESTRUCT lpCreateStruct) {
  // A child made by the client carries the client's record, which carries the creation context.
  auto* create = static_cast<MDICREATESTRUCTW*>(lpCreateStruct->lpCreateParams);
  auto* pContext = create != nullptr ? reinterpret_cast<CCreateContext*>(create->lParam) : nullptr;
  return OnCreateHelper(lpCreateStruct, pContext);
}

CMDIFrameWnd* CMDIChildWnd::GetMDIFrame() const {
  HWND hWndClient = ::GetParent(m_hWnd);
  CWnd* pFrame = hWndClient != nullptr ? CWnd::FromHandlePermanent(::GetParent(hWndClient)) : nullptr;
  return pFrame != nullptr && pFrame->IsKindOf(RUNTIME_CLASS(CMDIFrameWnd)) ? static_cast<CMDIFrameWnd*>(pFrame)
                                                                             : nullptr;
}

void CMDIChildWnd::MDIDestroy() {
  ::SendMessageW(::GetParent(m_hWnd), WM_MDIDESTROY, reinterpret_cast<WPARAM>(m_hWnd), 0);
}
void CMDIChildWnd::MDIActivate() {
  ::SendMessageW(::GetParent(m_hWnd), WM_MDIACTIVATE, reinterpret_cast<WPARAM>(m_hWnd), 0);
}
void CMDIChildWnd::MDIMaximize() {
  ::SendMessageW(::GetParent(m_hWnd), WM_MDIMAXIMIZE, reinterpret_cast<WPARAM>(m_hWnd), 0);
}
void CMDIChildWnd::MDIRestore() {
  ::SendMessageW(::GetParent(m_hWnd), WM_MDIRESTORE, reinterpret_cast<WPARAM>(m_hWnd), 0);
}

BOOL CMDIChildWnd::DestroyWindow() {
  if (m_hWnd == nullptr) return FALSE;
  // A child that is not (or no longer) in a client goes the plain way.
  if (GetMDIFrame() == nullptr) return CFrameWnd::DestroyWindow();
  MDIDestroy();
  return TRUE;
}

void CMDIChildWnd::ActivateFrame(int nCmdShow) {
  if (nCmdShow == -1) nCmdShow = IsIconic() ? SW_RESTORE : SW_SHOW;
  ShowWindow(nCmdShow);
  if (nCmdShow != SW_HIDE) MDIActivate();
}

LRESULT CMDIChildWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  return ::DefMDIChildProcW(m_hWnd, message, wParam, lParam);
}

void CMDIChildWnd::OnSize(UINT nType, int cx, int cy) {
  Default();  // the client's maximise and restore bookkeeping
  CFrameWnd::OnSize(nType, cx, cy);
}

void CMDIChildWnd::OnSetFocus(CWnd*) {
  Default();  // activates the child within the client
  if (CView* pView = GetActiveView()) {
    if (pView->m_hWnd != nullptr) ::SetFocus(pView->m_hWnd);
  }
}

LRESULT CMDIChildWnd::OnMDIActivateMessage(WPARAM wParam, LPARAM lParam) {
  LRESULT result = Default();
  CView* pView = GetActiveView();
  if (pView != nullptr) {
    if (reinterpret_cast<HWND>(lParam) == m_hWnd) {
      pView->OnActivateView(TRUE, pView, pView);
    } else if (reinterpret_cast<HWND>(wParam) == m_hWnd) {
      pView->OnActivateView(FALSE, pView, pView);
    }
  }
  return result;
}
