// The themed button's theme objects: CTKButtonTheme (number 0, the 3D button and its flat and semi-flat
// forms), CTKButtonThemeFlat (1, flat faces from the colour manager) and CTKButtonThemeGradient (2, the
// flat theme with gradient faces), made by CTKButtonThemeFactory.
#pragma once

#include <windows.h>

#include "platform/classlib/crect.h"
#include "toolkit/common/color_gradient.h"
#include "toolkit/common/visual_style_theme.h"
#include "toolkit/controls/tk_theme_manager.h"

class CDC;
class CFont;
class CTKButton;

class CTKButtonTheme : public CTKThemeManagerStyle {
 public:
  CTKButtonTheme() = default;

  void RefreshMetrics() override;
  virtual BOOL CanHotTrack(CTKButton* pButton);
  virtual BOOL UseVisualStyle(CTKButton* pButton);
  // Every step of the drawing may be replaced by a derived theme.
  virtual BOOL GetShowImages() const { return m_bShowImages; }
  virtual void SetShowImages(BOOL bShow) { m_bShowImages = bShow; }
  virtual CFont* GetThemeFont(CTKButton* pButton) const;
  virtual void SetThemeFont(CFont* pFont) { m_pFont = pFont; }
  virtual void SetColors(COLORREF face, COLORREF light, COLORREF shadow, COLORREF text);
  virtual void SetColorFace(COLORREF c) { m_clrFace.SetCustomValue(c); }
  virtual COLORREF GetColorFace() const { return m_clrFace; }
  virtual void SetColorLight(COLORREF c) { m_clrLight.SetCustomValue(c); }
  virtual void SetColorShadow(COLORREF c) { m_clrShadow.SetCustomValue(c); }
  virtual void SetColorText(COLORREF c) { m_clrText.SetCustomValue(c); }

  // A box of cx x cy at the border gap (centred across with the image above), centred down the client area.
  virtual CPoint CalcImagePosition(int cx, int cy, CTKButton* pButton);
  virtual CPoint CalcTextPosition(UINT nState, const CRect& rcItem, CSize szText, CTKButton* pButton);
  virtual CPoint CalcIconPosition(UINT nState, const CRect& rcItem, CTKButton* pButton);
  virtual COLORREF GetTextColor(UINT nState, CTKButton* pButton);
  virtual void DrawButtonText(CDC* pDC, UINT nState, const CRect& rcItem, CTKButton* pButton);
  virtual void DrawButtonIcon(CDC* pDC, UINT nState, const CRect& rcItem, CTKButton* pButton);
  virtual void DrawItem(LPDRAWITEMSTRUCT lpDIS, CTKButton* pButton);
  virtual BOOL DrawVisualStyleBackground(LPDRAWITEMSTRUCT lpDIS, CTKButton* pButton);
  virtual void DrawButtonBackground(LPDRAWITEMSTRUCT lpDIS, CTKButton* pButton);
  virtual void DrawFocusRect(CDC* pDC, UINT nState, const CRect& rcItem, CTKButton* pButton);

  BOOL m_bShowImages = TRUE;
  BOOL m_bOffsetPressed = TRUE;
  CFont* m_pFont = nullptr;
  CTKPColorValue m_clrFace, m_clrText, m_clrDisabledText, m_clrLight, m_clrShadow, m_clrHighlight, m_clrDarkShadow;
  CTKPVisualStyleTheme m_themeButton;
};

class CTKButtonThemeFlat : public CTKButtonTheme {
 public:
  explicit CTKButtonThemeFlat(BOOL bUseToolbarFace = FALSE) : m_bUseToolbarFace(bUseToolbarFace) {}

  void RefreshMetrics() override;
  BOOL CanHotTrack(CTKButton*) override { return TRUE; }
  COLORREF GetTextColor(UINT nState, CTKButton* pButton) override;
  void DrawButtonIcon(CDC* pDC, UINT nState, const CRect& rcItem, CTKButton* pButton) override;
  void DrawButtonBackground(LPDRAWITEMSTRUCT lpDIS, CTKButton* pButton) override;
  void DrawFocusRect(CDC* pDC, UINT nState, const CRect& rcItem, CTKButton* pButton) override;

  virtual void SetUseToolbarFace(BOOL b) {
    m_bUseToolbarFace = b;
    RefreshMetrics();
  }
  virtual void SetPressedFaceColor(COLORREF c) { m_clrPressedFace.SetCustomValue(c); }
  virtual void SetHotFaceColor(COLORREF c) { m_clrHotFace.SetCustomValue(c); }
  virtual void SetPressedTextColor(COLORREF c) { m_clrPressedText.SetCustomValue(c); }
  virtual void SetHotTextColor(COLORREF c) { m_clrHotText.SetCustomValue(c); }

  BOOL m_bUseToolbarFace;
  BOOL m_bFadedNormalImage = TRUE;
  BOOL m_bShadowHotImage = TRUE;
  CTKPColorValue m_clrPressedFace, m_clrHotFace, m_clrPressedText, m_clrHotText;

 protected:
  // Fills the face of a hot or pressed button; the gradient theme uses the colour manager's gradients.
  virtual void FillActiveFace(CDC* pDC, const CRect& rc, BOOL bPressed);
};

class CTKButtonThemeGradient : public CTKButtonThemeFlat {
 public:
  explicit CTKButtonThemeGradient(BOOL bUseToolbarFace = FALSE);
  void RefreshMetrics() override;
  void DrawButtonIcon(CDC* pDC, UINT nState, const CRect& rcItem, CTKButton* pButton) override;

 protected:
  void FillActiveFace(CDC* pDC, const CRect& rc, BOOL bPressed) override;
};

class CTKButtonThemeFactory : public CTKThemeManagerStyleFactory {
  DECLARE_DYNCREATE(CTKButtonThemeFactory)

 public:
  CTKThemeManagerStyle* CreateTheme(int nTheme) override;
};
