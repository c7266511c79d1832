// Loading the common-control window classes.
#include "platform/classlib/win/controlsupport.h"

#include <atomic>

void AfxInitCommonControls(DWORD dwClasses) {
  // The classes registered so far: each is asked for once.
  static std::atomic<DWORD> registered{0};
  if ((registered.load() & dwClasses) == dwClasses) return;
  INITCOMMONCONTROLSEX init{sizeof(INITCOMMONCONTROLSEX), dwClasses};
  if (::InitCommonControlsEx(&init)) registered.fetch_or(dwClasses);
}
