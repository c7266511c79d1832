// CTKPNativeTheme (theme 3): bars, buttons, grippers and the status bar in the system's visual styles
// wherever a themed part exists; wherever the visual-style class cannot be opened (styles off, the theme
// library missing, old common controls) it draws exactly as the classic theme it derives from.
#pragma once

#include "toolkit/commandbars/paint/tkp_theme_default.h"
#include "toolkit/common/visual_style_theme.h"

class CTKPNativeTheme : public CTKPDefaultTheme {
  DECLARE_DYNAMIC(CTKPNativeTheme)

 public:
  CTKPNativeTheme();

  void RefreshMetrics() override;
  void DrawRectangle(CDC* pDC, CRect rc, BOOL bSelected, BOOL bPressed, BOOL bEnabled, BOOL bChecked,
                     BOOL bPopuped, BOOL bBarControl, int barPosition) override;
  void DrawSplitButtonFrame(CDC* pDC, CTKPControl* pControl, CRect rc) override;
  void FillCommandBar(CDC* pDC, CTKPCommandBar* pBar) override;
  void FillDockBar(CDC* pDC, CTKPDockBar* pDockBar) override;
  void FillStatusBar(CDC* pDC, CWnd* pStatusBar) override;
  void DrawStatusBarPaneBorder(CDC* pDC, CRect rc, BOOL bGripperPane) override;
  void DrawStatusBarGripper(CDC* pDC, CRect rcClient) override;
  CSize DrawCommandBarGripper(CDC* pDC, CTKPCommandBar* pBar, BOOL bDraw) override;
  CSize DrawDialogBarGripper(CDC* pDC, CTKPCommandBar* pBar, BOOL bDraw) override;
  void AdjustControlRect(CRect& rc, CTKPControl* pControl, BOOL bVert) override;
  void DrawButtonFrame(CDC* pDC, CRect rc, BOOL bSelected, int nState) override;
  void DrawComboDropDown(CDC* pDC, CRect rc, BOOL bEnabled, BOOL bSelected, BOOL bDropped) override;
  int BaseTheme() const override { return tkpThemeNative; }

  // True while the class is open and the application is themed.
  static BOOL IsThemed(const CTKPVisualStyleTheme& theme);
  BOOL IsToolbarThemed() const { return IsThemed(m_themeToolbar); }
  BOOL IsRebarThemed() const { return IsThemed(m_themeRebar); }

 protected:
  // The rebar background of the reference window, mapped into pWnd's client area.
  void FillRebarBackground(CDC* pDC, CWnd* pWnd, CWnd* pReference);

  CTKPVisualStyleTheme m_themeRebar;
  CTKPVisualStyleTheme m_themeToolbar;
  CTKPVisualStyleTheme m_themeComboBox;
  CTKPVisualStyleTheme m_themeStatus;
  COLORREF m_clrEdgeShadow = 0;
  BOOL m_bFlatMenus = TRUE;
};
