#include "toolkit/commandbars/frame/tkp_flat_border.h"

#include "toolkit/commandbars/paint/tkp_paint_manager.h"
#include "toolkit/common/color_manager.h"

namespace tkp_flat_border {

namespace {
constexpr int kBorderColor = 52;
}  // namespace

void OnCreated(HWND hWnd) {
  CTKPPaintManager* paint = CTKPPaintManager::GetCurrentOrDefault();
  CFont* font = paint != nullptr ? paint->GetRegularFont(nullptr) : nullptr;
  HGDIOBJ handle = font != nullptr && font->m_hObject != nullptr ? font->m_hObject : ::GetStockObject(DEFAULT_GUI_FONT);
  ::SendMessageW(hWnd, WM_SETFONT, reinterpret_cast<WPARAM>(handle), TRUE);
}

void OnNcCalcSize(LPARAM lParam) {
  // Both forms of the message start with the rectangle that becomes the client area.
  auto* rect = reinterpret_cast<RECT*>(lParam);
  if (rect != nullptr) ::InflateRect(rect, -1, -1);
}

void OnNcPaint(HWND hWnd) {
  HDC dc = ::GetWindowDC(hWnd);
  if (dc == nullptr) return;
  RECT window;
  ::GetWindowRect(hWnd, &window);
  ::OffsetRect(&window, -window.left, -window.top);
  HBRUSH brush = ::CreateSolidBrush(TKPColorManager()->GetColor(kBorderColor));
  ::FrameRect(dc, &window, brush);
  ::DeleteObject(brush);
  ::ReleaseDC(hWnd, dc);
}

}  // namespace tkp_flat_border
