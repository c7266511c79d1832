// The header control's themes: CTKHeaderTheme (number 0: visual styles, hot items and sort arrows),
// CTKHeaderThemeFlat (1: a flat face with thin dividers) and CTKHeaderThemeShaded (2: shaded lines along
// the bottom and a height that follows the font), made by CTKHeaderCtrlThemeFactory.
#pragma once

#include <windows.h>

#include <commctrl.h>

#include "toolkit/common/color_gradient.h"
#include "toolkit/common/visual_style_theme.h"
#include "toolkit/controls/tk_theme_manager.h"

class CDC;
class CTKHeaderCtrl;

// Draw-style bits of a header theme.
enum : int {
  kTKHeaderVisualStyle = 0x1,  // the system's visual style for items
  kTKHeaderHotItems = 0x2,     // hot items and the visual-style background
  kTKHeaderSortArrow = 0x4,    // the sort arrow beside the sorted column's text
};

class CTKHeaderTheme : public CTKThemeManagerStyle {
 public:
  CTKHeaderTheme();

  void RefreshMetrics() override;
  virtual void DrawHeader(CDC* pDC, CTKHeaderCtrl* pHeader);
  virtual BOOL UseVisualStyle(CTKHeaderCtrl* pHeader);
  virtual BOOL SetDrawStyle(int nStyle, CTKHeaderCtrl* pHeader);
  virtual int GetDrawStyle() const { return m_nDrawStyle; }
  virtual BOOL Layout(HDLAYOUT* pLayout, CTKHeaderCtrl* pHeader);
  virtual void CleanUp(CTKHeaderCtrl* pHeader);
  virtual BOOL SetBitmap(int nColumn, UINT nIDBitmap, BOOL bRemove, COLORREF crMask, CTKHeaderCtrl* pHeader);
  virtual void DrawBackground(LPDRAWITEMSTRUCT lpDIS);
  virtual BOOL DrawVisualStyleBackground(LPDRAWITEMSTRUCT lpDIS);
  virtual void DrawDivider(LPDRAWITEMSTRUCT lpDIS);
  virtual BOOL DrawVisualStyleItem(LPDRAWITEMSTRUCT lpDIS);
  virtual void DrawSortArrow(LPDRAWITEMSTRUCT lpDIS, BOOL bAscending);
  virtual void DrawItemText(LPDRAWITEMSTRUCT lpDIS, CTKHeaderCtrl* pHeader);
  virtual void DrawItemBitmap(LPDRAWITEMSTRUCT lpDIS, CRect& rcText, CTKHeaderCtrl* pHeader);
  virtual void DrawArrow(CDC* pDC, const POINT pts[3], BOOL bAscending);

  int m_nSortArrowGap = 10;
  int m_nDrawStyle = kTKHeaderVisualStyle | kTKHeaderHotItems | kTKHeaderSortArrow;
  BOOL m_bUseVisualStyle = FALSE;
  int m_nTextMargin = 6;
  int m_nTextTop = 0;  // 0: centred
  int m_nArrowWidth = 8;
  int m_nArrowHeight = 7;
  CTKPColorValue m_clrText, m_clrFace, m_clrShadow, m_clrDarkShadow, m_clrHighlight;
  CTKPVisualStyleTheme m_themeHeader;

 protected:
  // The header whose items are being drawn (DrawHeader's), for the per-item steps.
  CTKHeaderCtrl* m_pDrawing = nullptr;
};

class CTKHeaderThemeFlat : public CTKHeaderTheme {
 public:
  CTKHeaderThemeFlat() { m_nDrawStyle = kTKHeaderSortArrow; }
  void DrawBackground(LPDRAWITEMSTRUCT lpDIS) override;
  void DrawDivider(LPDRAWITEMSTRUCT lpDIS) override;

 protected:
  // The dividers' bottom end is this far above the item's bottom.
  int m_nDividerInset = 2;
};

class CTKHeaderThemeShaded : public CTKHeaderThemeFlat {
 public:
  CTKHeaderThemeShaded() {
    m_nTextTop = 2;
    m_nDividerInset = 4;
  }
  BOOL Layout(HDLAYOUT* pLayout, CTKHeaderCtrl* pHeader) override;
  void DrawBackground(LPDRAWITEMSTRUCT lpDIS) override;
};

class CTKHeaderCtrlThemeFactory : public CTKThemeManagerStyleFactory {
  DECLARE_DYNCREATE(CTKHeaderCtrlThemeFactory)

 public:
  CTKThemeManagerStyle* CreateTheme(int nTheme) override;
};
