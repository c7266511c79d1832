// BannerTheme: the frame's command-bar theme: the soft gradient with the product banner (bitmap 183,
// white transparent) drawn near the right end of the bar.
#pragma once

#include "toolkit/commandbars/tkp_theme_gradient.h"
#include "ui/skin/skin_bitmap.h"

class BannerTheme : public CTKPSoftGradientTheme {
 public:
  BannerTheme();
  void FillCommandBar(CDC* pDC, CTKPCommandBar* pBar) override;

  // Where the banner lies: this far left of the bar's right edge, and this far down.
  static constexpr int kFromRight = 280;
  static constexpr int kTop = 20;

 private:
  skin::SkinBitmap m_banner;
};
