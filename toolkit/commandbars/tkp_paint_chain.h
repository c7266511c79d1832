// How the command bars hold and call a paint manager, written once: a reference-counted theme is held
// by reference, a plain one owned and deleted; a theme refreshes its metrics and fills a bar through
// whichever of its operations it has.
#pragma once

#include <type_traits>

#include "platform/classlib/win/ccmdtarget.h"
#include "toolkit/commandbars/tkp_paint_manager.h"

class CDC;
class CTKPCommandBar;

namespace tkp_paint {

template <class T>
void Hold(T* p) {
  if constexpr (std::is_base_of_v<CCmdTarget, T>) {
    if (p != nullptr) p->InternalAddRef();
  }
}

template <class T>
void Drop(T* p) {
  if (p == nullptr) return;
  if constexpr (std::is_base_of_v<CCmdTarget, T>) {
    p->InternalRelease();
  } else {
    delete p;
  }
}

template <class T>
auto RefreshMetrics(T* p, int) -> decltype(p->RefreshMetrics(), void()) {
  p->RefreshMetrics();
}
template <class T>
void RefreshMetrics(T*, long) {}

template <class T>
auto FillCommandBar(T* p, CDC* pDC, CTKPCommandBar* pBar, int) -> decltype(p->FillCommandBar(pDC, pBar), void()) {
  p->FillCommandBar(pDC, pBar);
}
template <class T>
void FillCommandBar(T* p, CDC* pDC, CTKPCommandBar* pBar, long) {
  p->FillCommandBarEntry(pDC, pBar);
}

// The process's current theme, made (theme 0) on first use.
inline CTKPPaintManager* Current() {
  if (CTKPPaintManager::GetCurrent() == nullptr) CTKPPaintManager::SetTheme(0);
  return CTKPPaintManager::GetCurrent();
}

}  // namespace tkp_paint
