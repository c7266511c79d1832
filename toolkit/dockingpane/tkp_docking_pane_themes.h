// The selectable looks of the docking panes, each a paint manager of its own built by
// TKPCreateDockingPaneTheme from the manager's theme id (1 to 9; any other id gives the default theme).
#pragma once

#include "toolkit/common/visual_style_theme.h"
#include "toolkit/dockingpane/tkp_docking_pane_paint_manager.h"
#include "toolkit/tabmanager/tkp_tab_color_set.h"

// A new paint manager for the theme id (its metrics not yet refreshed).
CTKPDockingPanePaintManager* TKPCreateDockingPaneTheme(int nTheme);

// Captions in the face colour with an etched grip after the title.
class CTKPDockingPaneGripperedTheme : public CTKPDockingPaneDefaultTheme {
 public:
  void DrawCaption(CDC* pDC, CTKPDockingPaneTabbedContainer* pPane, CRect rc) override;
  void DrawCaptionButton(CDC* pDC, CTKPDockingPaneCaptionButton* pButton, COLORREF clrGlyph) override;
  void DrawCaptionPart(CDC* pDC, const std::vector<CTKPDockingPaneCaptionButton*>& buttons, CRect rc,
                       const CString& strTitle, BOOL bActive, BOOL bVertical) override;

 protected:
  // The title in the colour, transparent over the caption's fill.
  void DrawTitle(CDC* pDC, const CString& strTitle, CRect rc, COLORREF clr, BOOL bVertical);
};

// Id 1: flat captions, a solid active one or a gradient.
class CTKPDockingPaneFlatTheme : public CTKPDockingPaneGripperedTheme {
 public:
  CTKPDockingPaneFlatTheme();
  void RefreshMetrics() override;
  void DrawCaptionPart(CDC* pDC, const std::vector<CTKPDockingPaneCaptionButton*>& buttons, CRect rc,
                       const CString& strTitle, BOOL bActive, BOOL bVertical) override;
  // Fills the caption band; returns the colour of the button glyphs.
  virtual COLORREF FillCaptionPart(CDC* pDC, CRect rc, BOOL bActive, BOOL bVertical);

  BOOL m_bGradientCaption = FALSE;
  CTKPColorGradient m_grcCaption;
  CTKPColorGradient m_grcCaptionActive;
  CTKPColorValue m_clrCaptionText;
  CTKPColorValue m_clrCaptionTextActive;
};

// Id 2, the program's look: gradient captions and splitters in the visual style's colour scheme.
class CTKPDockingPaneGradientTheme : public CTKPDockingPaneFlatTheme {
 public:
  CTKPDockingPaneGradientTheme();
  void RefreshMetrics() override;
  void DrawCaption(CDC* pDC, CTKPDockingPaneTabbedContainer* pPane, CRect rc) override;
  void DrawCaptionPart(CDC* pDC, const std::vector<CTKPDockingPaneCaptionButton*>& buttons, CRect rc,
                       const CString& strTitle, BOOL bActive, BOOL bVertical) override;
  void DrawCaptionButton(CDC* pDC, CTKPDockingPaneCaptionButton* pButton, COLORREF clrGlyph) override;
  void DrawFloatingFrame(CDC* pDC, CTKPDockingPaneMiniWnd* pFrame, CRect rc) override;
  // Fills a hot or pressed button; returns the glyph colour.
  virtual COLORREF FillCaptionButton(CDC* pDC, CTKPDockingPaneCaptionButton* pButton, COLORREF clrGlyph);

  BOOL m_bLunaColors = FALSE;
  BOOL m_bCaptionGripper = TRUE;
  BOOL m_bRoundedCaption = TRUE;

 private:
  void ApplyScheme(int nScheme);
};

// Id 7: the gradient look with large bold captions.
class CTKPDockingPaneLargeCaptionTheme : public CTKPDockingPaneGradientTheme {
 public:
  CTKPDockingPaneLargeCaptionTheme();
  void RefreshMetrics() override;
};

// Id 3: the visual style's small window captions and explorer-bar buttons.
class CTKPDockingPaneExplorerTheme : public CTKPDockingPaneFlatTheme {
 public:
  CTKPDockingPaneExplorerTheme();
  void RefreshMetrics() override;
  void DrawCaption(CDC* pDC, CTKPDockingPaneTabbedContainer* pPane, CRect rc) override;
  void DrawCaptionPart(CDC* pDC, const std::vector<CTKPDockingPaneCaptionButton*>& buttons, CRect rc,
                       const CString& strTitle, BOOL bActive, BOOL bVertical) override;
  void DrawCaptionButton(CDC* pDC, CTKPDockingPaneCaptionButton* pButton, COLORREF clrGlyph) override;
  void DrawFloatingFrame(CDC* pDC, CTKPDockingPaneMiniWnd* pFrame, CRect rc) override;

 private:
  CTKPVisualStyleTheme m_themeWindow;
  CTKPVisualStyleTheme m_themeExplorerBar;
};

// Id 5: panes in light fills with lined grips.
class CTKPDockingPaneLinedTheme : public CTKPDockingPaneFlatTheme {
 public:
  CTKPDockingPaneLinedTheme();
  void RefreshMetrics() override { CTKPDockingPanePaintManager::RefreshMetrics(); }
  void DrawPane(CDC* pDC, CTKPDockingPaneTabbedContainer* pPane, CRect rc) override;
  void AdjustCaptionRect(CTKPDockingPaneTabbedContainer* pPane, CRect& rc) override;
  void DrawCaption(CDC* pDC, CTKPDockingPaneTabbedContainer* pPane, CRect rc) override;
  void DrawCaptionButton(CDC* pDC, CTKPDockingPaneCaptionButton* pButton, COLORREF clrGlyph) override;
  void DrawFloatingFrame(CDC* pDC, CTKPDockingPaneMiniWnd* pFrame, CRect rc) override;

 private:
  // The title and four grip lines after it.
  void DrawLinedBand(CDC* pDC, const std::vector<CTKPDockingPaneCaptionButton*>& buttons, CRect band,
                     const CString& strTitle, BOOL bActive, BOOL bVertical);
};

// Id 6: soft gradients, splitters running across the frame, tabs in colour sets of their own.
class CTKPDockingPaneSoftTheme : public CTKPDockingPaneFlatTheme {
 public:
  CTKPDockingPaneSoftTheme();
  void RefreshMetrics() override;
};

// The soft look with the tabs of both strips filled only when selected.
class CTKPDockingPaneSoftTabTheme : public CTKPDockingPaneSoftTheme {
 public:
  CTKPDockingPaneSoftTabTheme();
};

// Id 9: soft, with outlined gradient captions.
class CTKPDockingPaneSoftGradientTheme : public CTKPDockingPaneSoftTabTheme {
 public:
  CTKPDockingPaneSoftGradientTheme();
  void RefreshMetrics() override;
  COLORREF FillCaptionPart(CDC* pDC, CRect rc, BOOL bActive, BOOL bVertical) override;

  COLORREF m_clrFrame = 0;
};

// Id 8: captions that continue the frame's rebar, toolbar-style buttons.
class CTKPDockingPaneNativeTheme : public CTKPDockingPaneGripperedTheme {
 public:
  CTKPDockingPaneNativeTheme();
  void RefreshMetrics() override;
  void DrawCaption(CDC* pDC, CTKPDockingPaneTabbedContainer* pPane, CRect rc) override;
  void DrawCaptionPart(CDC* pDC, const std::vector<CTKPDockingPaneCaptionButton*>& buttons, CRect rc,
                       const CString& strTitle, BOOL bActive, BOOL bVertical) override;
  void DrawCaptionButton(CDC* pDC, CTKPDockingPaneCaptionButton* pButton, COLORREF clrGlyph) override;

 private:
  CTKPVisualStyleTheme m_themeRebar;
  CTKPVisualStyleTheme m_themeToolbar;
  CWnd* m_pCaptionWnd = nullptr;  // the container being drawn, for the rebar's coordinates
};

// The tab colours of the soft themes: the header continues the splitters' gradient across the frame.
class CTKPDockingPaneTabColorSet : public CTKPTabColorSetLuna {
 public:
  CTKPDockingPaneTabColorSet(CTKPDockingPanePaintManager* pOwner, BOOL bNoFill, BOOL bFillSelected)
      : m_pOwner(pOwner), m_bNoFill(bNoFill), m_bFillSelected(bFillSelected) {}
  void RefreshMetrics() override;
  void FillHeaderGradient(CDC* pDC, CRect rc, CTKPTabManager* pTabManager) override;
  COLORREF FillSelectedTab(CDC* pDC, CRect rc, CTKPTabManagerItem* pItem) override;

  CTKPDockingPanePaintManager* m_pOwner;
  BOOL m_bNoFill;
  BOOL m_bFillSelected;
};

// The soft-gradient theme's auto-hide tabs: darker text, never the luna fill.
class CTKPDockingPanePanelColorSet : public CTKPDockingPaneTabColorSet {
 public:
  using CTKPDockingPaneTabColorSet::CTKPDockingPaneTabColorSet;
  void RefreshMetrics() override;
};
