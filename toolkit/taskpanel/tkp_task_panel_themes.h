// The task panel's looks 1 to 12, each a paint manager that changes the base's defaults, colours and some
// drawing; CreateTaskPanelTheme makes the one of a number. Windows build only.
#pragma once

#include "toolkit/taskpanel/tkp_task_panel_paint_manager.h"

// Theme n (0 to 12; any other number gives the explorer look, 2), refreshed by the caller.
CTKPTaskPanelPaintManager* CreateTaskPanelTheme(int nTheme);

// 1: large captions on a soft gradient, no expand buttons.
class CTKPTaskPanelLargeCaptionTheme : public CTKPTaskPanelPaintManager {
 public:
  CTKPTaskPanelLargeCaptionTheme();
  void RefreshMetrics() override;
};

// 2: the explorer look (the panel's default).
class CTKPTaskPanelExplorerTheme : public CTKPTaskPanelPaintManager {
 public:
  CTKPTaskPanelExplorerTheme();
  void RefreshMetrics() override;
  BOOL m_bExplorerLook = FALSE;  // the explorer colours were applied
};

// 3: captions as text over the background, the open group framed.
class CTKPTaskPanelListTheme : public CTKPTaskPanelPaintManager {
 public:
  CTKPTaskPanelListTheme();
  void RefreshMetrics() override;
  void FillTaskPanel(CDC* pDC, CTKPTaskPanel* pPanel) override;
  int DrawGroupCaption(CDC* pDC, CTKPTaskPanelGroup* pGroup, BOOL bDraw) override;
  void DrawGroupClientFace(CDC* pDC, CTKPTaskPanelGroup* pGroup, CRect rc) override;

  BOOL m_bFrameActiveGroup = TRUE;   // a rounded frame round the open group
  BOOL m_bCaptionUnderline = FALSE;  // captions underlined instead of inset
};

// 6: the list look in the explorer's colours.
class CTKPTaskPanelListExplorerTheme : public CTKPTaskPanelListTheme {
 public:
  CTKPTaskPanelListExplorerTheme();
  void RefreshMetrics() override;
  BOOL m_bExplorerLook = FALSE;
};

// 4: flat, underlined captions.
class CTKPTaskPanelFlatTheme : public CTKPTaskPanelListTheme {
 public:
  CTKPTaskPanelFlatTheme();
  void RefreshMetrics() override;
};

// 5: flat in the visual style's colours.
class CTKPTaskPanelFlatLunaTheme : public CTKPTaskPanelFlatTheme {
 public:
  CTKPTaskPanelFlatLunaTheme();
  void RefreshMetrics() override;
};

// 7: captions as push buttons.
class CTKPTaskPanelToolboxTheme : public CTKPTaskPanelListTheme {
 public:
  CTKPTaskPanelToolboxTheme();
  void RefreshMetrics() override;
  int DrawGroupCaption(CDC* pDC, CTKPTaskPanelGroup* pGroup, BOOL bDraw) override;
  // Paints the caption's background; returns where its text goes.
  virtual CRect DrawGroupCaptionBackground(CDC* pDC, CTKPTaskPanelGroup* pGroup, CRect rc);
};

// 8: gradient captions with a plus/minus box.
class CTKPTaskPanelToolboxGradientTheme : public CTKPTaskPanelToolboxTheme {
 public:
  CTKPTaskPanelToolboxGradientTheme();
  void RefreshMetrics() override;
  void FillTaskPanel(CDC* pDC, CTKPTaskPanel* pPanel) override;
  void DrawGroupClientFace(CDC* pDC, CTKPTaskPanelGroup* pGroup, CRect rc) override;
  CRect DrawGroupCaptionBackground(CDC* pDC, CTKPTaskPanelGroup* pGroup, CRect rc) override;
};

// 9: a shortcut bar: items on a dark background.
class CTKPTaskPanelListViewTheme : public CTKPTaskPanelToolboxTheme {
 public:
  CTKPTaskPanelListViewTheme();
  void RefreshMetrics() override;

 protected:
  // The list-view colours over the given background and item colour.
  void ApplyListViewColors(COLORREF clrBackground, COLORREF clrFurther);
};

// 10: the shortcut bar in toolkit colours.
class CTKPTaskPanelListViewColorTheme : public CTKPTaskPanelListViewTheme {
 public:
  CTKPTaskPanelListViewColorTheme();
  void RefreshMetrics() override;
};

// 11: the shortcut bar with gradient captions.
class CTKPTaskPanelListViewGradientTheme : public CTKPTaskPanelListViewColorTheme {
 public:
  CTKPTaskPanelListViewGradientTheme();
  void RefreshMetrics() override;
  CRect DrawGroupCaptionBackground(CDC* pDC, CTKPTaskPanelGroup* pGroup, CRect rc) override;

  CTKPColorGradient m_grcItemHot;
  CTKPColorGradient m_grcItemPressed;

 protected:
  // The pressed or hot caption's gradient; null for a caption in neither state.
  const CTKPColorGradient* GetHotOrPressedGradient(const CTKPTaskPanelGroup* pGroup) const;
};

// 12: the shortcut bar on the toolkit's gradients.
class CTKPTaskPanelListViewShortcutTheme : public CTKPTaskPanelListViewGradientTheme {
 public:
  CTKPTaskPanelListViewShortcutTheme() = default;
  void RefreshMetrics() override;
  void FillTaskPanel(CDC* pDC, CTKPTaskPanel* pPanel) override;
  void DrawGroupClientFace(CDC* pDC, CTKPTaskPanelGroup* pGroup, CRect rc) override;
  CRect DrawGroupCaptionBackground(CDC* pDC, CTKPTaskPanelGroup* pGroup, CRect rc) override;
};
