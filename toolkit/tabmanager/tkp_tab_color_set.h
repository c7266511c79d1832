// The colour sets of the tab strips: the strip background, the tab faces, the client area, the navigate
// buttons and the caption colours. Built by the paint manager's SetColor from the ids 1 (default),
// 2 (flat), 4 (luna), 8 (visual style) and 16 (light).
#pragma once

#include <windows.h>

#include "platform/classlib/crect.h"
#include "toolkit/common/color_gradient.h"
#include "toolkit/common/visual_style_theme.h"

class CDC;
class CTKPTabManager;
class CTKPTabManagerItem;
class CTKPTabManagerNavigateButton;
class CTKPTabPaintManager;

class CTKPTabColorSet {
 public:
  CTKPTabColorSet() = default;
  virtual ~CTKPTabColorSet() = default;
  CTKPTabColorSet(const CTKPTabColorSet&) = delete;
  CTKPTabColorSet& operator=(const CTKPTabColorSet&) = delete;

  virtual void RefreshMetrics();
  virtual void SetTextColor(CDC* pDC, CTKPTabManagerItem* pItem);
  virtual void FillHeaderGradient(CDC* pDC, CRect rc, CTKPTabManager* pTabManager);
  virtual void FillClient(CDC* pDC, CRect rc, CTKPTabManager* pTabManager);
  virtual void FillStateButton(CDC* pDC, CRect rc, CTKPTabManagerItem* pItem);
  // Fills the tab and gives the colour it used (-1 when a visual style drew it).
  virtual COLORREF FillSelectedTab(CDC* pDC, CRect rc, CTKPTabManagerItem* pItem);
  virtual void FillHeader(CDC* /*pDC*/, CRect /*rc*/, CTKPTabManager* /*pTabManager*/) {}
  // Frames the button by its state and sets the glyph colour as the DC's text colour.
  virtual void FillNavigateButton(CDC* pDC, CTKPTabManagerNavigateButton* pButton, CRect& rc) = 0;
  virtual COLORREF GetItemColor(CTKPTabManagerItem* pItem);
  virtual BOOL IsThemed() const { return FALSE; }

  // From crFrom at the strip's outer edge to crTo towards the client.
  static void GradientFill(CDC* pDC, CRect rc, COLORREF crFrom, COLORREF crTo, int nPosition);
  static void FillButtonRect(CDC* pDC, CRect rc, int nFillIndex, int nBorderIndex);

  void SetPaintManager(CTKPTabPaintManager* pPaintManager) { m_pPaintManager = pPaintManager; }
  CTKPTabPaintManager* GetPaintManager() const { return m_pPaintManager; }

  CTKPColorGradient m_grcHeader;
  CTKPColorGradient m_grcHeader2;
  CTKPColorValue m_clrFrameBorder;
  CTKPColorValue m_clrFrameFace;
  CTKPColorValue m_clrFrameLight;
  CTKPColorValue m_clrSelectedFace;
  CTKPColorValue m_clrNormalFace;
  CTKPColorValue m_clrNormalText;
  CTKPColorValue m_clrInactiveText;
  CTKPColorValue m_clrSelectedText;
  CTKPColorValue m_clrHotText;
  CTKPColorValue m_clrDisabledText;
  CTKPColorGradient m_grcPressedFill;
  CTKPColorGradient m_grcPressedBorder;
  CTKPColorValue m_clrOutlineA[3];  // light, shadow, dark shadow of the classic tabs
  CTKPColorValue m_clrOutlineB[3];
  CTKPColorValue m_clrOutlineFace;
  CTKPColorValue m_clrSelectedOutline[6];
  CTKPColorValue m_clrNormalOutline[6];

 protected:
  // The default rule: sunken when pressed, raised when hot, the glyph in the button text colour.
  void FillNavigateButtonDefault(CTKPTabManagerNavigateButton* pButton, CDC* pDC, CRect& rc);
  // The luna tab: a gradient from a light tint of the tab's colour; the hot tab takes the hot face.
  COLORREF FillGradientTab(CDC* pDC, CRect rc, CTKPTabManagerItem* pItem, COLORREF clrHotFace);
  int GetAppearanceId() const;
  int GetPosition() const;

  CTKPTabPaintManager* m_pPaintManager = nullptr;
};

class CTKPTabColorSetDefault : public CTKPTabColorSet {
 public:
  void RefreshMetrics() override;
  void FillNavigateButton(CDC* pDC, CTKPTabManagerNavigateButton* pButton, CRect& rc) override;
};

class CTKPTabColorSetFlat : public CTKPTabColorSet {
 public:
  void RefreshMetrics() override;
  void FillNavigateButton(CDC* pDC, CTKPTabManagerNavigateButton* pButton, CRect& rc) override;
};

class CTKPTabColorSetLuna : public CTKPTabColorSet {
 public:
  void RefreshMetrics() override;
  void FillNavigateButton(CDC* pDC, CTKPTabManagerNavigateButton* pButton, CRect& rc) override;
  COLORREF FillSelectedTab(CDC* pDC, CRect rc, CTKPTabManagerItem* pItem) override;

  CTKPColorValue m_clrHotFace;
  CTKPColorValue m_clrNavigateBorder;
  BOOL m_bLunaColors = FALSE;

 protected:
  // Set 4's colours (set 16 takes them too while luna colours are allowed).
  void RefreshLunaMetrics();
};

class CTKPTabColorSetThemed : public CTKPTabColorSetDefault {
 public:
  void RefreshMetrics() override;
  void FillNavigateButton(CDC* pDC, CTKPTabManagerNavigateButton* pButton, CRect& rc) override;
  COLORREF FillSelectedTab(CDC* pDC, CRect rc, CTKPTabManagerItem* pItem) override;
  // The state-button tabs as the visual style's toolbar buttons: the selected one checked.
  void FillStateButton(CDC* pDC, CRect rc, CTKPTabManagerItem* pItem) override;
  void FillClient(CDC* pDC, CRect rc, CTKPTabManager* pTabManager) override;
  void FillHeader(CDC* pDC, CRect rc, CTKPTabManager* pTabManager) override;
  BOOL IsThemed() const override;

 private:
  // The theme's tab drawn upright into a bitmap, then turned to the strip's side.
  void DrawTurnedTab(CDC* pDC, const CRect& rc, int nState, int nPosition);

  CTKPVisualStyleTheme m_themeTab;
  CTKPVisualStyleTheme m_themeToolbar;
};

class CTKPTabColorSetLight : public CTKPTabColorSetLuna {
 public:
  void RefreshMetrics() override;
  COLORREF FillSelectedTab(CDC* pDC, CRect rc, CTKPTabManagerItem* pItem) override;

  BOOL m_bGradientTabs = FALSE;
};

// The colour set of an id; an id other than 2, 4, 8 and 16 gives the default set.
CTKPTabColorSet* TKPCreateTabColorSet(int nId);
