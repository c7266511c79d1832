// Loading the common-control window classes and creating their controls.
#include "platform/classlib/win/controlsupport.h"

#include <atomic>

void AfxInitCommonControls(DWORD dwClasses) {
  // The classes registered so far: each is asked for once.
  static std::atomic<DWORD> registered{0};
  if ((registered.load() & dwClasses) == dwClasses) return;
  INITCOMMONCONTROLSEX init{sizeof(INITCOMMONCONTROLSEX), dwClasses};
  if (::InitCommonControlsEx(&init)) registered.fetch_or(dwClasses);
}

BOOL AfxCreateControl(CWnd* pWnd, DWORD dwClasses, LPCTSTR lpszClassName, DWORD dwExStyle, DWORD dwStyle,
                      const RECT& rect, CWnd* pParentWnd, UINT nID) {
  AfxInitCommonControls(dwClasses);
  return pWnd->CreateEx(dwExStyle, lpszClassName, nullptr, dwStyle | WS_CHILD, rect, pParentWnd, nID);
}
