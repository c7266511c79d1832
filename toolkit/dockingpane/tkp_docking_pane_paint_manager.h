// CTKPDockingPanePaintManager: draws the docking panes' captions, tabs and splitters and holds the metrics
// the containers lay themselves out by. The base draws no caption; CTKPDockingPaneDefaultTheme is the
// smallest complete theme, and the one the manager falls back to.
#pragma once

#include "platform/classlib/win/classlib_win.h"

class CTKPDockingPaneTabbedContainer;

class CTKPDockingPanePaintManager : public CCmdTarget {
 public:
  CTKPDockingPanePaintManager() = default;

  // Re-reads fonts and the caption and tab heights from the system.
  virtual void RefreshMetrics();
  virtual void DrawCaption(CDC* pDC, CTKPDockingPaneTabbedContainer* pPane, CRect rcCaption) = 0;
  virtual void DrawTabs(CDC* pDC, CTKPDockingPaneTabbedContainer* pPane, CRect rcTabs);
  virtual void DrawSplitter(CDC* pDC, CRect rc, BOOL bHorizontalBar);
  virtual void FillPane(CDC* pDC, CRect rc);

  int GetCaptionHeight() const { return m_bShowCaption ? m_nTitleHeight + 3 : 0; }
  int GetTabsHeight() const { return m_nTabsHeight; }
  int GetThemeID() const { return m_nThemeID; }
  void SetThemeID(int nTheme) { m_nThemeID = nTheme; }

  int m_nSplitterSize = 4;
  BOOL m_bShowCaption = TRUE;
  int m_nTitleHeight = 18;
  int m_nTitleHeightOffset = 5;
  int m_nTabsHeight = 24;

 protected:
  int m_nThemeID = 0;
};

// Flat captions in the face colour with the title in the small caption font; the active pane's caption
// in the highlight colour.
class CTKPDockingPaneDefaultTheme : public CTKPDockingPanePaintManager {
 public:
  void DrawCaption(CDC* pDC, CTKPDockingPaneTabbedContainer* pPane, CRect rcCaption) override;
};
