// CTKPFlatBorder<BASE>: a member window of a toolkit frame drawn with a flat one-pixel border in the
// toolkit's border colour (colour 52) instead of the system's edges, and the command bars' font.
#pragma once

#include <windows.h>

// The parts of the flat-border window procedure, shared by every window class that uses it.
namespace tkp_flat_border {
// After a successful creation: the current paint manager's regular font (or the default GUI font).
void OnCreated(HWND hWnd);
// After the default: the client rectangle one pixel in from every side.
void OnNcCalcSize(LPARAM lParam);
// After the default: the one-pixel frame around the whole window.
void OnNcPaint(HWND hWnd);
}  // namespace tkp_flat_border

template <class BASE>
class CTKPFlatBorder : public BASE {
 protected:
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
    const LRESULT result = BASE::WindowProc(message, wParam, lParam);
    switch (message) {
      case WM_CREATE:
        // A failed creation stays failed.
        if (result != -1) tkp_flat_border::OnCreated(this->m_hWnd);
        break;
      case WM_NCCALCSIZE:
        tkp_flat_border::OnNcCalcSize(lParam);
        break;
      case WM_NCPAINT:
        tkp_flat_border::OnNcPaint(this->m_hWnd);
        break;
      default:
        break;
    }
    return result;
  }
};
