#include "app/dialogs/skinned_labels.h"

#include <windows.h>

#include "platform/classlib/win/cwnd.h"

namespace app {

void SkinnedLabels::Attach(CWnd& dialog) {
  for (HWND child = ::GetWindow(dialog.GetSafeHwnd(), GW_CHILD); child != nullptr;
       child = ::GetWindow(child, GW_HWNDNEXT)) {
    wchar_t kind[16] = {};
    ::GetClassNameW(child, kind, 16);
    if (::lstrcmpiW(kind, L"Static") != 0 || CWnd::FromHandlePermanent(child) != nullptr) continue;
    auto label = std::make_unique<skin::CTransparentStatic>();
    if (label->SubclassWindow(child)) m_labels.push_back(std::move(label));
  }
}

}  // namespace app
