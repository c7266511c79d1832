// CTKPDockingPanePaintManager: draws everything of the docking panes that is not a tab: pane
// backgrounds, captions and their buttons, the frame of a floating frame and the splitters. It owns the
// two tab paint managers of the containers (the groups' tabs and the auto-hide panels' tabs) and holds
// the fonts and metrics the containers lay themselves out by. The base draws no caption;
// CTKPDockingPaneDefaultTheme is the smallest complete theme.
#pragma once

#include <vector>

#include "platform/classlib/win/classlib_win.h"
#include "toolkit/common/color_gradient.h"

namespace dockthemes {
// Deflates by (left, top, right, bottom) of a horizontal caption; a vertical caption turns them.
inline void Deflate(CRect& rc, int l, int t, int r, int b, BOOL bVertical) {
  if (bVertical) {
    rc.DeflateRect(t, l, b, r);
  } else {
    rc.DeflateRect(l, t, r, b);
  }
}
}  // namespace dockthemes

class CTKPDockingPaneBase;
class CTKPDockingPaneCaptionButton;
class CTKPDockingPaneMiniWnd;
class CTKPDockingPaneTabbedContainer;
class CTKPTabPaintManager;

class CTKPDockingPanePaintManager : public CCmdTarget {
 public:
  CTKPDockingPanePaintManager();
  ~CTKPDockingPanePaintManager() override;

  // A tabbed container's whole window: background, caption, tabs.
  virtual void DrawPane(CDC* pDC, CTKPDockingPaneTabbedContainer* pPane, CRect rc);
  virtual void DrawCaption(CDC* pDC, CTKPDockingPaneTabbedContainer* pPane, CRect rc) = 0;
  // Lays the visible buttons out from the caption's far end and draws them; rc loses the room taken.
  virtual void DrawCaptionButtons(CDC* pDC, const std::vector<CTKPDockingPaneCaptionButton*>& buttons, CRect& rc,
                                  COLORREF clrGlyph, int nSize, int nGap, BOOL bVertical);
  virtual void DrawCaptionButton(CDC* /*pDC*/, CTKPDockingPaneCaptionButton* /*pButton*/, COLORREF /*clrGlyph*/) {}
  virtual void RefreshMetrics();
  // The container's client area inside rc: caption room, and tab room when it shows tabs (with bApply,
  // the tab strip is laid out too).
  virtual void AdjustClientRect(CTKPDockingPaneTabbedContainer* pPane, CRect& rc, BOOL bApply);
  virtual void AdjustCaptionRect(CTKPDockingPaneTabbedContainer* pPane, CRect& rc);
  virtual void DrawFloatingFrame(CDC* /*pDC*/, CTKPDockingPaneMiniWnd* /*pFrame*/, CRect /*rc*/) {}
  // rc is the splitter's client rectangle; pWnd the splitter window.
  virtual void DrawSplitter(CDC* pDC, CRect rc, BOOL bHorizontalBar, CWnd* pWnd = nullptr);

  // An index above 61 is a colour itself; else the manager's copy of the toolkit's colour table.
  COLORREF GetColor(int nIndex) const;
  void SetColors(int nCount, const int* pIndexes, const COLORREF* pColors);
  int GetColorScheme() const;
  // A null font only records bUseSystemFont.
  void SetCaptionFont(const LOGFONT* pLogFont, BOOL bUseSystemFont);
  void Line(CDC* pDC, int x0, int y0, int x1, int y1, int nColor);
  void Rectangle(CDC* pDC, CRect rc, int nFill, int nFrame);
  void Pixel(CDC* pDC, int x, int y, int nColor);
  // Draws the text (ellipsis at the end); with bMeasure returns its width.
  int DrawCaptionText(CDC* pDC, const CString& strText, CRect rc, BOOL bVertical, BOOL bMeasure);
  // A horizontal gradient that runs on across the whole frame of pWnd, so that neighbouring pieces line up.
  void FillFramePartRect(CDC* pDC, CRect rc, CWnd* pWnd, const CTKPColorGradient& gradient);
  // The glyph of a caption button, centred at (x, y).
  void DrawCaptionButtonGlyph(CDC* pDC, CTKPDockingPaneCaptionButton* pButton, int x, int y, COLORREF clr);

  CTKPTabPaintManager* GetTabPaintManager() const { return m_pTabPaintManager; }
  CTKPTabPaintManager* GetPanelPaintManager() const { return m_pPanelPaintManager; }
  // The height a visible caption takes, and the tab strip's.
  int GetCaptionHeight() const { return m_bShowCaption ? m_rcCaptionMargin.top + m_rcCaptionMargin.bottom + m_nTitleHeight : 0; }
  int GetTabsHeight() const { return m_nTabsHeight; }
  int GetThemeID() const { return m_nThemeID; }
  void SetThemeID(int nTheme) { m_nThemeID = nTheme; }

  BOOL m_bBoldCaption = TRUE;
  BOOL m_bHighlightActiveCaption = TRUE;
  int m_nSplitterSize = 4;
  BOOL m_bShowCaption = TRUE;
  BOOL m_bShowTabsForSinglePane = FALSE;
  CTKPColorValue m_clrSplitterGripper;
  CTKPColorValue m_clrSplitter;
  CTKPColorGradient m_grcSplitter;
  // 1 raised lines, 2 etched, 4 a gradient across the frame; 0x100 a cross mark, 0x200 gripper dots.
  int m_nSplitterStyle = 0;
  int m_nTitleHeight = 18;
  int m_nTitleHeightOffset = 5;
  int m_nTabsHeight = 24;
  CFont m_fntTitle;
  CFont m_fntTitleVertical;
  BOOL m_bUseTahoma = FALSE;
  BOOL m_bUseSystemFont = TRUE;
  CString m_strFontFace = _T("Tahoma");  // kept with the manager for callers that pick a caption face
  CRect m_rcCaptionMargin = CRect(0, 2, 0, 1);
  int m_nColorScheme = 5;

 protected:
  CTKPTabPaintManager* m_pTabPaintManager = nullptr;
  CTKPTabPaintManager* m_pPanelPaintManager = nullptr;
  COLORREF m_arrColor[62] = {};
  int m_nThemeID = 0;
};

// Captions in the system's caption colours with push-button caption buttons.
class CTKPDockingPaneDefaultTheme : public CTKPDockingPanePaintManager {
 public:
  void DrawCaption(CDC* pDC, CTKPDockingPaneTabbedContainer* pPane, CRect rc) override;
  void DrawCaptionButton(CDC* pDC, CTKPDockingPaneCaptionButton* pButton, COLORREF clrGlyph) override;
  void DrawFloatingFrame(CDC* pDC, CTKPDockingPaneMiniWnd* pFrame, CRect rc) override;
  // Fills the caption band, draws its buttons and the title.
  virtual void DrawCaptionPart(CDC* pDC, const std::vector<CTKPDockingPaneCaptionButton*>& buttons, CRect rc,
                               const CString& strTitle, BOOL bActive, BOOL bVertical);
};
