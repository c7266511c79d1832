// CTKPGradientTheme (theme 2) and CTKPSoftGradientTheme (theme 4): dock bars shaded across the screen,
// toolbars with a gradient body, rounded corners and a shadow line, amber gradient highlights, and colours
// that follow the system's visual-style scheme (blue, olive or silver). Theme 4 changes only colours.
#pragma once

#include "toolkit/commandbars/paint/tkp_theme_flat.h"
#include "toolkit/common/visual_style_theme.h"

class CTKPGradientTheme : public CTKPFlatTheme {
  DECLARE_DYNAMIC(CTKPGradientTheme)

 public:
  CTKPGradientTheme();
  ~CTKPGradientTheme() override;

  void RefreshMetrics() override;
  void FillDockBar(CDC* pDC, CTKPDockBar* pDockBar) override;
  void FillIconColumn(CDC* pDC, int x, int y, int cx, int cy, BOOL bExpanded) override;
  void DrawRectangle(CDC* pDC, CRect rc, BOOL bSelected, BOOL bPressed, BOOL bEnabled, BOOL bChecked,
                     BOOL bPopuped, BOOL bBarControl, int barPosition) override;
  void FillCommandBar(CDC* pDC, CTKPCommandBar* pBar) override;
  CSize DrawCommandBarGripper(CDC* pDC, CTKPCommandBar* pBar, BOOL bDraw) override;
  CSize DrawDialogBarGripper(CDC* pDC, CTKPCommandBar* pBar, BOOL bDraw) override;
  CSize DrawCommandBarSeparator(CDC* pDC, CTKPCommandBar* pBar, CTKPControl* pControl, BOOL bDraw) override;
  CRect GetCommandBarBorders(CTKPCommandBar* pBar) override;
  CSize DrawTearOffGripper(CDC* pDC, CRect rc, BOOL bSelected, BOOL bDraw) override;
  void DrawStatusBarPaneBorder(CDC* pDC, CRect rc, BOOL bGripperPane) override;
  void DrawStatusBarGripper(CDC* pDC, CRect rcClient) override;
  CSize DrawSpecialControl(CDC* pDC, int nKind, CTKPControl* pControl, CTKPCommandBar* pBar, BOOL bDraw,
                           CSize szParam) override;
  int BaseTheme() const override { return tkpThemeGradient; }

  // A bar other than a menu bar with any of the four border flags.
  virtual BOOL HasBorderFlags(CTKPCommandBar* pBar);

  BOOL AreSchemeColorsActive() const { return m_bSchemeColors; }
  // The 16 x 16 expand glyph in the glyph gradient's colours, made by each metric refresh.
  HIMAGELIST GetGlyphImageList() const { return m_hGlyphs; }

  CTKPColorGradient m_grcDock;
  CTKPColorGradient m_grcToolBar;
  CTKPColorGradient m_grcExpandButton;
  CTKPColorGradient m_grcGlyph;
  CTKPColorGradient m_grcExpandedColumn;
  CTKPColorGradient m_grcPopuped;
  CTKPColorValue m_clrShadowLine;
  CTKPColorValue m_clrCaption;
  CTKPColorValue m_clrPaneBorder;
  CTKPColorValue m_clrTearOff;
  CTKPColorGradient m_grcChecked;
  CTKPColorGradient m_grcPressed;
  CTKPColorGradient m_grcHot;

 protected:
  // The dock gradient across rcArea widened to half the screen, clipped to rcClip.
  void FillDockGradient(CDC* pDC, CRect rcArea, CRect rcClip);
  // The face of a dock bar of the style over rcArea (its client area), clipped to rcClip.
  void FillDockFace(CDC* pDC, DWORD dwDockStyle, CRect rcArea, CRect rcClip);
  // A docked toolbar's rounded body with its gradient and shadow line.
  void FillDockedBody(CDC* pDC, CTKPCommandBar* pBar, CRect rc);
  // Applies one colour scheme's values (1 blue, 2 olive, 3 silver) over the defaults.
  void ApplyScheme(int nScheme);
  // The two-colour grip dots of grippers and tear-off strips.
  void DrawGripDot(CDC* pDC, int x, int y);
  // A fresh glyph image list from the glyph gradient.
  void BuildGlyphImageList();

  BOOL m_bSchemeColors = FALSE;
  BOOL m_bSoft = FALSE;
  CTKPVisualStyleTheme m_themeStatus;
  HIMAGELIST m_hGlyphs = nullptr;
};

class CTKPSoftGradientTheme : public CTKPGradientTheme {
  DECLARE_DYNAMIC(CTKPSoftGradientTheme)

 public:
  CTKPSoftGradientTheme();
  void RefreshMetrics() override;
  int BaseTheme() const override { return tkpThemeSoftGradient; }

 private:
  // The soft colours of the colour manager's scheme (1 blue, 2 olive, 3 silver).
  void ApplySoftScheme(int scheme);
};
