// The themes of the flat edit and the flat combo box: number 0 (3D frame), 1 (flat frame of the colour
// manager) and 2 (frame of the visual style's colour scheme), made by their factories. States: 2 hot,
// 3 pressed (focused or dropped down), anything else normal.
#pragma once

#include <windows.h>

#include "platform/classlib/crect.h"
#include "toolkit/controls/tk_theme_manager.h"

class CDC;
class CWnd;

namespace tkflat {
constexpr int kStateNormal = 0;
constexpr int kStateHot = 2;
constexpr int kStatePressed = 3;
inline bool IsActive(int state) { return state == kStateHot || state == kStatePressed; }
// Whether the cursor is over the window's rectangle.
bool CursorOver(HWND hWnd);
// One step of a flat control's hot tracking: true when its hot look changes and must be repainted.
inline bool StepHot(bool bInside, BOOL& bHotShown) {
  if (bInside == (bHotShown != FALSE)) return false;
  bHotShown = bInside ? TRUE : FALSE;
  return true;
}
}  // namespace tkflat

// ---- flat edit ----

class CTKFlatEditTheme : public CTKThemeManagerStyle {
 public:
  virtual void DrawBorders(CDC* pDC, CWnd* pEdit, const CRect& rc, int nState);
};
// Each theme is its number: one made by the caller, not by the factory, draws as its class says.
class CTKFlatEditThemeFlat : public CTKFlatEditTheme {
 public:
  CTKFlatEditThemeFlat() { m_nTheme = 1; }
};
class CTKFlatEditThemeGradient : public CTKFlatEditTheme {
 public:
  CTKFlatEditThemeGradient() { m_nTheme = 2; }
};

class CTKFlatEditThemeFactory : public CTKThemeManagerStyleFactory {
  DECLARE_DYNCREATE(CTKFlatEditThemeFactory)

 public:
  CTKThemeManagerStyle* CreateTheme(int nTheme) override;
};

// ---- flat combo box ----

class CTKFlatComboBoxTheme : public CTKThemeManagerStyle {
 public:
  void RefreshMetrics() override;
  virtual void DrawFlatComboBox(CDC* pDC, CWnd* pCombo, int nState);
  virtual void DrawArrow(CDC* pDC, const CRect& rc, int nState, CWnd* pCombo);
  virtual void DrawArrowBack(CDC* pDC, CRect& rc, int nState, CWnd* pCombo);

  int m_nArrowWidth = 15;
  CSize m_szBorder{1, 1};
  CSize m_szEdge{2, 2};
};
class CTKFlatComboBoxThemeFlat : public CTKFlatComboBoxTheme {
 public:
  CTKFlatComboBoxThemeFlat() { m_nTheme = 1; }
  void DrawArrowBack(CDC* pDC, CRect& rc, int nState, CWnd* pCombo) override;
};
class CTKFlatComboBoxThemeGradient : public CTKFlatComboBoxTheme {
 public:
  CTKFlatComboBoxThemeGradient() { m_nTheme = 2; }
  void DrawArrowBack(CDC* pDC, CRect& rc, int nState, CWnd* pCombo) override;
};

class CTKFlatComboBoxThemeFactory : public CTKThemeManagerStyleFactory {
  DECLARE_DYNCREATE(CTKFlatComboBoxThemeFactory)

 public:
  CTKThemeManagerStyle* CreateTheme(int nTheme) override;
};
