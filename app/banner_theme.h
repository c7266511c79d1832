// BannerTheme: the frame's command-bar theme: the soft gradient theme with the product banner (bitmap 183,
// white transparent) drawn on the dock bar near its right end, beside the toolbar.
#pragma once

#include "toolkit/commandbars/paint/tkp_theme_gradient.h"
#include "ui/skin/skin_bitmap.h"

class BannerTheme : public CTKPSoftGradientTheme {
 public:
  BannerTheme();
  void FillDockBar(CDC* pDC, CTKPDockBar* pDockBar) override;
  // A toolbar with text below its icons keeps the dock bar tall enough for the whole banner.
  CRect GetCommandBarBorders(CTKPCommandBar* pBar) override;

  // Where the banner lies: this far left of the dock bar's right edge, and this far down; its height.
  static constexpr int kFromRight = 280;
  static constexpr int kTop = 20;
  static constexpr int kHeight = 51;

 private:
  skin::SkinBitmap m_banner;
};
