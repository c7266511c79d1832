// CWnd's ownership of its window: the handle map, creation, subclassing and the window's end.
#include "platform/classlib/win/cwnd.h"

#include "platform/classlib/win/cwinapp.h"
#include "platform/classlib/win/threadstate.h"

IMPLEMENT_DYNCREATE(CWnd, CCmdTarget)
IMPLEMENT_DYNAMIC(CScrollBar, CWnd)

BEGIN_MESSAGE_MAP(CWnd, CCmdTarget)
END_MESSAGE_MAP()

const CWnd CWnd::wndTop(HWND_TOP);
const CWnd CWnd::wndBottom(HWND_BOTTOM);
const CWnd CWnd::wndTopMost(HWND_TOPMOST);
const CWnd CWnd::wndNoTopMost(HWND_NOTOPMOST);

CWnd::~CWnd() {
  if (m_hWnd == nullptr || FromHandlePermanent(m_hWnd) != this) return;
  // The object goes before its window. A window of this thread goes with it; one of another thread
  // gets its own procedure back, so that no message reaches the dead object.
  if (::GetWindowThreadProcessId(m_hWnd, nullptr) == ::GetCurrentThreadId()) {
    ::DestroyWindow(m_hWnd);
  }
  if (m_hWnd != nullptr) UnsubclassWindow();
}

// ---- the handle map -------------------------------------------------------------------------------

CWnd* CWnd::FromHandle(HWND hWnd) { return CWndHandleMap::FromHandle(hWnd); }
CWnd* CWnd::FromHandlePermanent(HWND hWnd) { return CWndHandleMap::FromHandlePermanent(hWnd); }
void CWnd::DeleteTempMap() { AfxDeleteTempMaps(); }
BOOL CWnd::Attach(HWND hWndNew) { return CWndHandleMap::Attach(this, &CWnd::m_hWnd, hWndNew); }
HWND CWnd::Detach() { return CWndHandleMap::Detach(this, &CWnd::m_hWnd); }

CWnd* CWnd::NewTemporary(HWND hWnd) { return AfxNewTemporaryWrapper(&CWnd::m_hWnd, hWnd); }
void CWnd::DeleteTemporary(CWnd* pWnd) { AfxDeleteTemporaryWrapper(pWnd, &CWnd::m_hWnd); }

CScrollBar* CScrollBar::FromHandle(HWND hWnd) {
  CWnd* pWnd = CWnd::FromHandlePermanent(hWnd);
  if (pWnd != nullptr && pWnd->IsKindOf(RUNTIME_CLASS(CScrollBar))) return static_cast<CScrollBar*>(pWnd);
  return CHandleMap<CScrollBar, HWND>::FromHandle(hWnd);
}

CScrollBar* CScrollBar::NewTemporary(HWND hWnd) {
  return AfxNewTemporaryWrapper<CScrollBar, HWND>(&CScrollBar::m_hWnd, hWnd);
}
void CScrollBar::DeleteTemporary(CScrollBar* pBar) {
  AfxDeleteTemporaryWrapper<CScrollBar, HWND>(pBar, &CScrollBar::m_hWnd);
}

// ---- taking a window over -------------------------------------------------------------------------

// The object becomes the window's owner, sees it in PreSubclassWindow, then receives its messages.
// FALSE (and nothing changed) when the window has an owner already or PreSubclassWindow threw.
BOOL AfxTakeOverWindowChecked(CWnd* pWnd, HWND hWnd);

void AfxTakeOverWindow(CWnd* pWnd, HWND hWnd) {
  auto previous = reinterpret_cast<WNDPROC>(
      ::SetWindowLongPtrW(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&AfxWndProc)));
  if (previous != &AfxWndProc) pWnd->m_pfnSuper = previous;
}

BOOL AfxTakeOverWindowChecked(CWnd* pWnd, HWND hWnd) {
  if (!pWnd->Attach(hWnd)) return FALSE;
  try {
    pWnd->PreSubclassWindow();
  } catch (CException* e) {
    e->Delete();
    pWnd->Detach();
    return FALSE;
  } catch (...) {
    pWnd->Detach();
    return FALSE;
  }
  AfxTakeOverWindow(pWnd, hWnd);
  return TRUE;
}

BOOL CWnd::SubclassWindow(HWND hWnd) {
  if (hWnd == nullptr || !::IsWindow(hWnd) || m_hWnd != nullptr) return FALSE;
  return AfxTakeOverWindowChecked(this, hWnd);
}

BOOL CWnd::SubclassDlgItem(UINT nID, CWnd* pParent) {
  if (pParent == nullptr) return FALSE;
  return SubclassWindow(::GetDlgItem(pParent->m_hWnd, static_cast<int>(nID)));
}

HWND CWnd::UnsubclassWindow() {
  if (m_hWnd == nullptr) return nullptr;
  // Only when ours is the window's procedure now: a later subclass keeps calling through ours.
  if (reinterpret_cast<WNDPROC>(::GetWindowLongPtrW(m_hWnd, GWLP_WNDPROC)) == &AfxWndProc) {
    WNDPROC previous = m_pfnSuper != nullptr ? m_pfnSuper : &::DefWindowProcW;
    ::SetWindowLongPtrW(m_hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previous));
  }
  m_pfnSuper = nullptr;
  return Detach();
}

void CWnd::PreSubclassWindow() {}

// ---- creation -------------------------------------------------------------------------------------

BOOL CWnd::Create(LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle, const RECT& rect,
                  CWnd* pParentWnd, UINT nID, CCreateContext* pContext) {
  return CreateEx(0, lpszClassName, lpszWindowName, dwStyle | WS_CHILD, rect, pParentWnd, nID, pContext);
}

BOOL CWnd::CreateEx(DWORD dwExStyle, LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle,
                    const RECT& rect, CWnd* pParentWnd, UINT nID, LPVOID lpParam) {
  return CreateEx(dwExStyle, lpszClassName, lpszWindowName, dwStyle, rect.left, rect.top,
                  rect.right - rect.left, rect.bottom - rect.top,
                  pParentWnd != nullptr ? pParentWnd->m_hWnd : nullptr,
                  reinterpret_cast<HMENU>(static_cast<UINT_PTR>(nID)), lpParam);
}

BOOL CWnd::CreateEx(DWORD dwExStyle, LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle, int x,
                    int y, int nWidth, int nHeight, HWND hWndParent, HMENU nIDorHMenu, LPVOID lpParam) {
  CREATESTRUCT cs{};
  cs.dwExStyle = dwExStyle;
  cs.lpszClass = lpszClassName;
  cs.lpszName = lpszWindowName;
  cs.style = dwStyle;
  cs.x = x;
  cs.y = y;
  cs.cx = nWidth;
  cs.cy = nHeight;
  cs.hwndParent = hWndParent;
  cs.hMenu = nIDorHMenu;
  cs.hInstance = AfxGetInstanceHandle();
  cs.lpCreateParams = lpParam;
  if (m_hWnd != nullptr) return FALSE;  // one window per object
  // On failure PostNcDestroy runs as for any window's end: an object that deletes itself is gone.
  if (!PreCreateWindow(cs)) {
    PostNcDestroy();
    return FALSE;
  }
  AfxHookWindowCreate(this);
  HWND hWnd = ::CreateWindowExW(cs.dwExStyle, cs.lpszClass, cs.lpszName, cs.style, cs.x, cs.y, cs.cx, cs.cy,
                                cs.hwndParent, cs.hMenu, cs.hInstance, cs.lpCreateParams);
  if (!AfxUnhookWindowCreate()) {
    PostNcDestroy();  // the window never reached the object
    return FALSE;
  }
  // A window that failed in WM_NCCREATE or WM_CREATE has already ended (FinishNcDestroy).
  return hWnd != nullptr;
}

BOOL CWnd::PreCreateWindow(CREATESTRUCT& cs) {
  if (cs.lpszClass == nullptr) cs.lpszClass = DefaultClassName();
  return TRUE;
}

LPCTSTR CWnd::DefaultClassName() {
  static LPCTSTR name = AfxRegisterWndClass(CS_DBLCLKS, ::LoadCursorW(nullptr, IDC_ARROW));
  return name;
}

// ---- the end --------------------------------------------------------------------------------------

BOOL CWnd::DestroyWindow() {
  if (m_hWnd == nullptr) return FALSE;
  HWND hWnd = m_hWnd;
  bool permanent = FromHandlePermanent(hWnd) == this;
  BOOL result = ::DestroyWindow(hWnd);
  // A temporary wrapper gets no WM_NCDESTROY of its own: it forgets the handle here.
  if (!permanent && m_hWnd == hWnd) m_hWnd = nullptr;
  return result;
}

void CWnd::PostNcDestroy() {}

void CWnd::FinishNcDestroy() {
  UnsubclassWindow();
  PostNcDestroy();
}
