#include "app/banner_theme.h"

#include "platform/classlib/win/cdc.h"
#include "res/resource.h"
#include "toolkit/commandbars/tkp_command_bar.h"

BannerTheme::BannerTheme() { m_banner.LoadBitmap(IDB_BANNER); }

void BannerTheme::FillCommandBar(CDC* pDC, CTKPCommandBar* pBar) {
  CTKPSoftGradientTheme::FillCommandBar(pDC, pBar);
  if (m_banner.m_hObject == nullptr) return;
  CRect r;
  pBar->GetClientRect(r);
  m_banner.DrawTransparent(pDC, r.Width() - kFromRight, kTop, RGB(0xFF, 0xFF, 0xFF));
}
