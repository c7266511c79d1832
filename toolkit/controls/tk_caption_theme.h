// The caption bar's themes (CTKCaptionTheme 0: raised or sunken frames, CTKCaptionThemeFlat 1,
// CTKCaptionThemeGradient 2) and the themes of its button, which take their face and text from the
// caption they sit on (CTKCaptionButtonTheme, ...Flat, ...Gradient on the themed button's three themes).
#pragma once

#include <windows.h>

#include "platform/classlib/crect.h"
#include "toolkit/common/color_gradient.h"
#include "toolkit/controls/tk_button_theme.h"
#include "toolkit/controls/tk_theme_manager.h"

class CDC;
class CTKCaption;

class CTKCaptionTheme : public CTKThemeManagerStyle {
 public:
  void RefreshMetrics() override;
  virtual void DrawCaptionBackground(CDC* pDC, CTKCaption* pCaption, CRect rc);
  virtual void DrawCaptionText(CDC* pDC, CTKCaption* pCaption);
  virtual void DrawCaptionIcon(CDC* pDC, CTKCaption* pCaption, CRect rc);

  CTKPColorValue m_clrLight, m_clrDark;
};

class CTKCaptionThemeFlat : public CTKCaptionTheme {
 public:
  void DrawCaptionBackground(CDC* pDC, CTKCaption* pCaption, CRect rc) override;
};

class CTKCaptionThemeGradient : public CTKCaptionTheme {
 public:
  void DrawCaptionBackground(CDC* pDC, CTKCaption* pCaption, CRect rc) override;
};

class CTKCaptionThemeFactory : public CTKThemeManagerStyleFactory {
  DECLARE_DYNCREATE(CTKCaptionThemeFactory)

 public:
  CTKThemeManagerStyle* CreateTheme(int nTheme) override;
};

class CTKCaptionButtonTheme : public CTKButtonTheme {
 public:
  CTKCaptionButtonTheme() { m_bOffsetPressed = FALSE; }
  void DrawButtonBackground(LPDRAWITEMSTRUCT lpDIS, CTKButton* pButton) override;
  COLORREF GetTextColor(UINT nState, CTKButton* pButton) override;
  void DrawButtonText(CDC* pDC, UINT nState, const CRect& rcItem, CTKButton* pButton) override;
};

class CTKCaptionButtonThemeFlat : public CTKButtonThemeFlat {
 public:
  CTKCaptionButtonThemeFlat();
  void DrawButtonBackground(LPDRAWITEMSTRUCT lpDIS, CTKButton* pButton) override;
  COLORREF GetTextColor(UINT nState, CTKButton* pButton) override;
  void DrawButtonText(CDC* pDC, UINT nState, const CRect& rcItem, CTKButton* pButton) override;
};

class CTKCaptionButtonThemeGradient : public CTKButtonThemeGradient {
 public:
  CTKCaptionButtonThemeGradient() = default;
  void DrawButtonBackground(LPDRAWITEMSTRUCT lpDIS, CTKButton* pButton) override;
  COLORREF GetTextColor(UINT nState, CTKButton* pButton) override;
  void DrawButtonText(CDC* pDC, UINT nState, const CRect& rcItem, CTKButton* pButton) override;
};

class CTKCaptionButtonThemeFactory : public CTKThemeManagerStyleFactory {
  DECLARE_DYNCREATE(CTKCaptionButtonThemeFactory)

 public:
  CTKThemeManagerStyle* CreateTheme(int nTheme) override;
};
