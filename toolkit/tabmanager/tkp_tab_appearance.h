// The appearances of the tab strips: how deep the strip is, which margins surround the tabs, how one tab
// is outlined and how the client area is framed. Built by the paint manager's SetAppearance from the ids
// 0 to 9.
#pragma once

#include <windows.h>

#include "platform/classlib/crect.h"

class CDC;
class CTKPTabColorSet;
class CTKPTabManager;
class CTKPTabManagerItem;
class CTKPTabPaintManager;

class CTKPTabAppearance {
 public:
  CTKPTabAppearance() = default;
  virtual ~CTKPTabAppearance() = default;
  CTKPTabAppearance(const CTKPTabAppearance&) = delete;
  CTKPTabAppearance& operator=(const CTKPTabAppearance&) = delete;

  virtual void RefreshMetrics();
  virtual CRect GetHeaderRect(CRect rc, CTKPTabManager* pTabManager);
  virtual CRect GetClientRect(CRect rc, CTKPTabManager* pTabManager);
  virtual CRect GetHeaderMargin() const { return m_rcHeaderMargin; }
  virtual CRect GetControlMargin() const;
  virtual int GetItemLength(CDC* pDC, CTKPTabManagerItem* pItem);
  virtual int GetButtonHeight(CTKPTabManager* pTabManager);
  virtual void DrawTabControl(CTKPTabManager* pTabManager, CDC* pDC, CRect rcControl);
  virtual CRect FillTabControl(CTKPTabManager* pTabManager, CDC* pDC, CRect rcControl);
  virtual void RepositionTabControl(CTKPTabManager* pTabManager, CDC* pDC, CRect rcClient);
  virtual void AdjustClientRect(CTKPTabManager* pTabManager, CRect& rcClient);
  virtual void DrawSingleButton(CDC* pDC, CTKPTabManagerItem* pItem) = 0;
  virtual void DrawEdge(CDC* pDC, CRect& rc, int nSide);
  virtual int GetSupportedColorSets() const = 0;
  virtual int GetDefaultColorSet() const = 0;

  // The colours of the client frame's light and dark sides (-1: this appearance paints no frame).
  virtual COLORREF FrameLightColor() const;
  virtual COLORREF FrameDarkColor() const;

  static void DrawPolyline(CDC* pDC, COLORREF clr, const POINT* pts, int nCount);
  static void DrawEdgeLine(CDC* pDC, CRect rc, int nSide, COLORREF clrLight, COLORREF clrDark);
  static void DrawLine(CDC* pDC, COLORREF clr, int x1, int y1, int x2, int y2);
  // Paints the polygon with the colour set's tab fill through a region; returns the fill colour.
  COLORREF FillPolygonTab(CDC* pDC, CTKPTabManagerItem* pItem, const POINT* pts, int nCount, int nPosition);

  void SetPaintManager(CTKPTabPaintManager* pPaintManager) { m_pPaintManager = pPaintManager; }
  CTKPTabPaintManager* GetPaintManager() const { return m_pPaintManager; }
  int GetRowHeight() const { return m_nRowHeight; }
  int GetRowSpacing() const { return m_nRowSpacing; }
  BOOL IsDrawInOrder() const { return m_bDrawInOrder; }

 protected:
  CTKPTabColorSet* ColorSet() const;
  int Position() const;
  // Lets the paint manager draw the tab's icon, caption and focus rectangle.
  void DrawContent(CDC* pDC, CTKPTabManagerItem* pItem, CRect rc);
  // The classic appearances (0, 1) add a shadow inside their client frame.
  virtual BOOL IsClassic() const { return FALSE; }
  // For layouts of their own (the stacked bars).
  static void PlaceItem(CTKPTabManagerItem* pItem, const CRect& rc, int nLength, int nFullLength, int nRow);
  static void HideNavigateButtons(CTKPTabManager* pTabManager);

  CRect m_rcHeaderMargin;
  int m_nRowSpacing = -2;
  int m_nRowHeight = 0;
  CTKPTabPaintManager* m_pPaintManager = nullptr;
  BOOL m_bDrawInOrder = FALSE;
};

// The appearance of an id; an id outside 0-9 gives appearance 0.
CTKPTabAppearance* TKPCreateTabAppearance(int nId);
// Appearance 2's framed tabs with its two flags: every tab framed, or (framed off) rounded outlines, for
// the selected tab only when bSelectedOnly is set (the others then get a separator).
CTKPTabAppearance* TKPCreateFramedTabAppearance(BOOL bFramed, BOOL bSelectedOnly);
