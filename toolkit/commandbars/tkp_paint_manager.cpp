#include "toolkit/commandbars/tkp_paint_manager.h"

#include "platform/classlib/win/cdc.h"
#include "toolkit/commandbars/tkp_command_bar.h"

namespace {

CTKPPaintManager* g_theme = nullptr;

void VerticalGradient(CDC* dc, const CRect& r, COLORREF top, COLORREF bottom) {
  TRIVERTEX v[2] = {};
  v[0].x = r.left;
  v[0].y = r.top;
  v[0].Red = static_cast<COLOR16>(GetRValue(top) << 8);
  v[0].Green = static_cast<COLOR16>(GetGValue(top) << 8);
  v[0].Blue = static_cast<COLOR16>(GetBValue(top) << 8);
  v[1].x = r.right;
  v[1].y = r.bottom;
  v[1].Red = static_cast<COLOR16>(GetRValue(bottom) << 8);
  v[1].Green = static_cast<COLOR16>(GetGValue(bottom) << 8);
  v[1].Blue = static_cast<COLOR16>(GetBValue(bottom) << 8);
  GRADIENT_RECT mesh{0, 1};
  dc->GradientFill(v, 2, &mesh, 1, GRADIENT_FILL_RECT_V);
}

void FrameRect(CDC* dc, const CRect& r, COLORREF colour) {
  dc->FillSolidRect(r.left, r.top, r.Width(), 1, colour);
  dc->FillSolidRect(r.left, r.bottom - 1, r.Width(), 1, colour);
  dc->FillSolidRect(r.left, r.top, 1, r.Height(), colour);
  dc->FillSolidRect(r.right - 1, r.top, 1, r.Height(), colour);
}

}  // namespace

void CTKPPaintManager::FillCommandBarEntry(CDC* pDC, CTKPCommandBar* pBar) {
  CRect r;
  pBar->GetClientRect(r);
  pDC->FillSolidRect(r, ::GetSysColor(COLOR_BTNFACE));
}

void CTKPPaintManager::DrawHotButton(CDC* pDC, const CRect& rect, BOOL bPressed) {
  pDC->FillSolidRect(rect, ::GetSysColor(bPressed ? COLOR_BTNSHADOW : COLOR_BTNHIGHLIGHT));
  FrameRect(pDC, rect, ::GetSysColor(COLOR_HIGHLIGHT));
}

COLORREF CTKPPaintManager::GetTextColor(BOOL bEnabled) const {
  return bEnabled ? RGB(0x1E, 0x2A, 0x3C) : RGB(0x9A, 0xA2, 0xAE);
}

void CTKPPaintManager::SetTheme(int nTheme) {
  (void)nTheme;  // the soft gradient is the one built-in theme so far
  SetCustomTheme(new CTKPSoftGradientTheme);
}

void CTKPPaintManager::SetCustomTheme(CTKPPaintManager* pTheme) {
  if (pTheme == g_theme) return;
  delete g_theme;
  g_theme = pTheme;
}

CTKPPaintManager* CTKPPaintManager::GetCurrent() { return g_theme; }

void CTKPPaintManager::Done() { SetCustomTheme(nullptr); }

void CTKPSoftGradientTheme::FillCommandBarEntry(CDC* pDC, CTKPCommandBar* pBar) {
  CRect r;
  pBar->GetClientRect(r);
  VerticalGradient(pDC, r, RGB(0xFB, 0xFC, 0xFE), RGB(0xDC, 0xE4, 0xEF));
  pDC->FillSolidRect(r.left, r.bottom - 1, r.Width(), 1, RGB(0xB4, 0xC0, 0xD0));
}

void CTKPSoftGradientTheme::DrawHotButton(CDC* pDC, const CRect& rect, BOOL bPressed) {
  if (bPressed) {
    VerticalGradient(pDC, rect, RGB(0xF8, 0xC8, 0x80), RGB(0xFC, 0xE4, 0xB8));
  } else {
    VerticalGradient(pDC, rect, RGB(0xFF, 0xF4, 0xD8), RGB(0xFF, 0xDC, 0x98));
  }
  FrameRect(pDC, rect, RGB(0xD8, 0xA0, 0x48));
}
