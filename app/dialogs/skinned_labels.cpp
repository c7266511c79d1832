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

COLORREF SkinBitmapPixel(UINT bitmapId, int x, int y) {
  HBITMAP bitmap = ::LoadBitmapW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(bitmapId));
  if (bitmap == nullptr) return ::GetSysColor(COLOR_BTNFACE);
  HDC memory = ::CreateCompatibleDC(nullptr);
  HGDIOBJ old = ::SelectObject(memory, bitmap);
  COLORREF colour = ::GetPixel(memory, x, y);
  ::SelectObject(memory, old);
  ::DeleteDC(memory);
  ::DeleteObject(bitmap);
  return colour == CLR_INVALID ? ::GetSysColor(COLOR_BTNFACE) : colour;
}

}  // namespace app
