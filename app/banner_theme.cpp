#include "app/banner_theme.h"

#include <algorithm>

#include "platform/classlib/win/cdc.h"
#include "res/resource.h"
#include "toolkit/commandbars/bars/tkp_command_bar.h"
#include "toolkit/commandbars/bars/tkp_dock_bar.h"

BannerTheme::BannerTheme() { m_banner.LoadBitmap(IDB_BANNER); }

void BannerTheme::FillDockBar(CDC* pDC, CTKPDockBar* pDockBar) {
  if (pDC == nullptr || pDC->GetSafeHdc() == nullptr) return;
  CTKPSoftGradientTheme::FillDockBar(pDC, pDockBar);
  if (m_banner.m_hObject == nullptr || pDockBar == nullptr) return;
  CRect window;
  pDockBar->GetWindowRect(window);
  m_banner.DrawTransparent(pDC, window.Width() - kFromRight, kTop, RGB(0xFF, 0xFF, 0xFF));
}

CRect BannerTheme::GetCommandBarBorders(CTKPCommandBar* pBar) {
  CRect borders = CTKPSoftGradientTheme::GetCommandBarBorders(pBar);
  if (pBar == nullptr || pBar->GetType() != tkpBarTypeNormal || !pBar->IsTextBelowIcons()) return borders;
  // The controls stand an icon, a caption line and their margins tall; the rest lies below them.
  const int controls = pBar->GetIconSize().cy + (GetRowHeight() - 6) + 8;
  borders.bottom = std::max<int>(borders.bottom, kTop + kHeight - borders.top - controls);
  return borders;
}
