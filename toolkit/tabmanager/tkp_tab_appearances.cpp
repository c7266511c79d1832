// The ten tab shapes.
#include <algorithm>
#include <vector>

#include "platform/classlib/win/cdc.h"
#include "toolkit/common/color_manager.h"
#include "toolkit/tabmanager/tab_layout.h"
#include "toolkit/tabmanager/tkp_tab_appearance.h"
#include "toolkit/tabmanager/tkp_tab_color_set.h"
#include "toolkit/tabmanager/tkp_tab_manager.h"
#include "toolkit/tabmanager/tkp_tab_paint_manager.h"

namespace {

// A tab seen as if it stood on a top strip: u runs along the strip from the tab's start, v across it
// from the strip's outer edge towards the client. Each shape is drawn once in these terms.
class TabFrame {
 public:
  TabFrame(const CRect& rc, int position) : m_rc(rc), m_position(position) {}
  int W() const { return tktab::IsHorizontal(m_position) ? m_rc.Width() : m_rc.Height(); }
  int H() const { return tktab::IsHorizontal(m_position) ? m_rc.Height() : m_rc.Width(); }
  // The pixels [u1, u2) x [v1, v2).
  CRect Px(int u1, int v1, int u2, int v2) const {
    switch (m_position) {
      case tktab::kBottom: return CRect(m_rc.left + u1, m_rc.bottom - v2, m_rc.left + u2, m_rc.bottom - v1);
      case tktab::kLeft: return CRect(m_rc.left + v1, m_rc.top + u1, m_rc.left + v2, m_rc.top + u2);
      case tktab::kRight: return CRect(m_rc.right - v2, m_rc.top + u1, m_rc.right - v1, m_rc.top + u2);
      default: return CRect(m_rc.left + u1, m_rc.top + v1, m_rc.left + u2, m_rc.top + v2);
    }
  }
  // The pixel (u, v).
  POINT Pt(int u, int v) const {
    const CRect px = Px(u, v, u + 1, v + 1);
    return POINT{px.left, px.top};
  }

 private:
  CRect m_rc;
  int m_position;
};

void Fill(CDC* pDC, const CRect& rc, COLORREF clr) {
  if (clr != kTKPNoColor && !rc.IsRectEmpty()) pDC->FillSolidRect(rc, clr);
}

// ---- 0 and 1: the classic tab

class CTKPTabAppearanceClassic : public CTKPTabAppearance {
 public:
  explicit CTKPTabAppearanceClassic(BOOL bOutlineAll) : m_bOutlineAll(bOutlineAll) {
    m_rcHeaderMargin = CRect(2, 3, 6, 0);
  }
  CRect GetControlMargin() const override {
    CRect margin = CTKPTabAppearance::GetControlMargin();
    if (ColorSet()->IsThemed() && m_pPaintManager->ClientBorderStyle == 0) {
      margin.right += 2;
      if (Position() == tktab::kTop || Position() == tktab::kLeft) margin.bottom += 2;
    }
    return margin;
  }
  void DrawSingleButton(CDC* pDC, CTKPTabManagerItem* pItem) override {
    if (m_bOutlineAll || pItem->IsSelected() || pItem->IsHot()) DrawOutline(pDC, pItem);
    DrawContent(pDC, pItem, pItem->GetRect());
  }
  int GetSupportedColorSets() const override { return 1 | 4 | 8; }
  int GetDefaultColorSet() const override { return 1; }
  COLORREF FrameLightColor() const override { return ColorSet()->m_clrOutlineA[0]; }
  COLORREF FrameDarkColor() const override { return ColorSet()->m_clrOutlineA[2]; }

 protected:
  BOOL IsClassic() const override { return TRUE; }

 private:
  void DrawOutline(CDC* pDC, CTKPTabManagerItem* pItem) {
    const int position = Position();
    CRect rc = pItem->GetRect();
    const BOOL bSelected = pItem->IsSelected();
    if (bSelected) tktab::InflateRectByPosition(rc, 2, 2, 2, 0, position);
    const TabFrame f(rc, position);
    const int w = f.W(), h = f.H();
    CTKPTabColorSet* pColors = ColorSet();
    const COLORREF light = pColors->m_clrOutlineA[0], shadow = pColors->m_clrOutlineA[1],
                   dark = pColors->m_clrOutlineA[2];
    // The selected tab of the row next to the client joins the client area.
    const bool join = bSelected && pItem->GetRow() == 0;
    pColors->FillSelectedTab(pDC, f.Px(1, 1, w - 1, join ? h : h - 1), pItem);
    const bool outerDark = position == tktab::kBottom || position == tktab::kRight;
    Fill(pDC, f.Px(0, 2, 1, h), light);
    Fill(pDC, f.Px(1, 1, 2, 2), light);
    Fill(pDC, f.Px(2, 0, w - 2, 1), outerDark ? dark : light);
    if (outerDark) Fill(pDC, f.Px(2, 1, w - 2, 2), shadow);
    Fill(pDC, f.Px(w - 2, 1, w - 1, 2), dark);
    Fill(pDC, f.Px(w - 1, 2, w, h - (join ? 0 : 1)), dark);
    Fill(pDC, f.Px(w - 2, 2, w - 1, h - (join ? 0 : 1)), shadow);
  }

  BOOL m_bOutlineAll;
};

// ---- 6 and 2: flat framed tabs

class CTKPTabAppearanceFlat : public CTKPTabAppearance {
 public:
  CTKPTabAppearanceFlat() { m_rcHeaderMargin = CRect(2, 2, 4, 0); }
  void DrawSingleButton(CDC* pDC, CTKPTabManagerItem* pItem) override {
    CRect rc = pItem->GetRect();
    tktab::InflateRectByPosition(rc, 0, 0, 1, pItem->IsSelected() ? 1 : 0, Position());
    ColorSet()->FillSelectedTab(pDC, rc, pItem);
    pDC->Draw3dRect(rc, ColorSet()->m_clrFrameBorder, ColorSet()->m_clrFrameBorder);
    DrawContent(pDC, pItem, pItem->GetRect());
  }
  int GetSupportedColorSets() const override { return 1 | 2 | 4; }
  int GetDefaultColorSet() const override { return 2; }
};

class CTKPTabAppearanceFramed : public CTKPTabAppearanceFlat {
 public:
  CTKPTabAppearanceFramed(BOOL bFramed = TRUE, BOOL bSelectedOnly = FALSE)
      : m_bFramed(bFramed), m_bSelectedOnly(bSelectedOnly) {}
  void DrawSingleButton(CDC* pDC, CTKPTabManagerItem* pItem) override {
    const int position = Position();
    CTKPTabColorSet* pColors = ColorSet();
    const COLORREF border = pColors->m_clrFrameBorder;
    const BOOL bSelected = pItem->IsSelected();
    CRect rc = pItem->GetRect();
    CRect clip = rc;
    tktab::InflateRectByPosition(clip, 0, 0, 1, 1, position);
    const int nSaved = pDC->SaveDC();
    pDC->IntersectClipRect(clip);
    if (!m_bSelectedOnly || bSelected) pColors->FillSelectedTab(pDC, rc, pItem);
    if (m_bFramed) {
      CRect frame = rc;
      tktab::InflateRectByPosition(frame, 0, 0, 1, bSelected ? 1 : 0, position);
      pDC->Draw3dRect(frame, border, border);
      // The two outer corners are rounded off by one pixel each.
      const TabFrame f(frame, position);
      Fill(pDC, f.Px(0, 0, 1, 1), pColors->m_grcHeader.clrLight);
      Fill(pDC, f.Px(f.W() - 1, 0, f.W(), 1), pColors->m_grcHeader.clrLight);
    } else if (m_bSelectedOnly && !bSelected) {
      const TabFrame f(rc, position);
      if (pItem->GetIndex() < pItem->GetTabManager()->GetItemCount() - 1) Fill(pDC, f.Px(f.W(), 3, f.W() + 1, f.H() - 3), border);
    } else {
      if (!bSelected && m_pPaintManager->ClientBorderStyle != 2) {
        DrawEdgeLine(pDC, rc, (position + 2) % 4, border, border);
      }
      CRect round = rc;
      tktab::InflateRectByPosition(round, 0, 0, 0, 2, position);
      HPEN hPen = ::CreatePen(PS_SOLID, 1, border);
      HGDIOBJ hOldPen = ::SelectObject(*pDC, hPen);
      HGDIOBJ hOldBrush = ::SelectObject(*pDC, ::GetStockObject(NULL_BRUSH));
      pDC->RoundRect(round, CPoint(6, 6));
      ::SelectObject(*pDC, hOldBrush);
      ::SelectObject(*pDC, hOldPen);
      ::DeleteObject(hPen);
    }
    pDC->RestoreDC(nSaved);
    DrawContent(pDC, pItem, rc);
  }
  int GetDefaultColorSet() const override { return 1; }

 private:
  BOOL m_bFramed;
  BOOL m_bSelectedOnly;
};

// ---- 3 and 9: tabs outlined by connected segments

class CTKPTabAppearanceSegments : public CTKPTabAppearance {
 public:
  explicit CTKPTabAppearanceSegments(BOOL bCurved) : m_bCurved(bCurved) {
    m_rcHeaderMargin = CRect(2, 3, 6, 0);
    m_bDrawInOrder = bCurved;
  }
  CRect GetHeaderMargin() const override {
    CRect margin = m_rcHeaderMargin;
    margin.left += m_bCurved ? m_nRowHeight / 2 : m_nRowHeight;
    return margin;
  }
  // Each tab ends with room for the start edge of the tab after it, which leans over its lower part.
  int GetItemLength(CDC* pDC, CTKPTabManagerItem* pItem) override {
    const int h = GetButtonHeight(pItem->GetTabManager());
    return CTKPTabAppearance::GetItemLength(pDC, pItem) + (m_bCurved ? h / 4 : h / 2);
  }
  void DrawSingleButton(CDC* pDC, CTKPTabManagerItem* pItem) override {
    const TabFrame f(pItem->GetRect(), Position());
    const int w = f.W(), h = f.H();
    std::vector<POINT> outline = m_bCurved ? CurvedOutline(f, w, h) : SlantedOutline(f, w, h);
    const COLORREF fill = FillPolygonTab(pDC, pItem, outline.data(), static_cast<int>(outline.size()), Position());
    CTKPTabColorSet* pColors = ColorSet();
    // The polyline helper steps from point to point.
    std::vector<POINT> steps(outline.size());
    steps[0] = outline[0];
    for (size_t i = 1; i < outline.size(); ++i) {
      steps[i] = POINT{outline[i].x - outline[i - 1].x, outline[i].y - outline[i - 1].y};
    }
    DrawPolyline(pDC, pColors->m_clrOutlineB[1], steps.data(), static_cast<int>(steps.size()));
    if (pItem->IsSelected() && pItem->GetRow() == 0 && fill != kTKPNoColor) {
      Fill(pDC, f.Px(m_bCurved ? 1 - h / 2 : 2 - h, h - 1, w - 1, h), fill);
    }
    DrawContent(pDC, pItem, pItem->GetRect());
  }
  int GetSupportedColorSets() const override { return 1 | 4 | 16; }
  int GetDefaultColorSet() const override { return 4; }
  COLORREF FrameLightColor() const override { return ColorSet()->m_clrOutlineB[1]; }
  COLORREF FrameDarkColor() const override { return ColorSet()->m_clrOutlineB[1]; }

 private:
  // The start edge slants over the whole depth; the end edge stands upright with a cut corner.
  static std::vector<POINT> SlantedOutline(const TabFrame& f, int w, int h) {
    return {f.Pt(1 - h, h), f.Pt(-2, 3), f.Pt(0, 1), f.Pt(2, 0), f.Pt(w - 3, 0), f.Pt(w - 1, 2), f.Pt(w - 1, h)};
  }
  // The start edge bends from the client side up to the top in a curve.
  static std::vector<POINT> CurvedOutline(const TabFrame& f, int w, int h) {
    std::vector<POINT> pts;
    const int reach = h / 2;
    for (int v = h; v > 0; v -= 2) pts.push_back(f.Pt(-(reach * v * v) / (h * h), v));
    pts.push_back(f.Pt(1, 0));
    pts.push_back(f.Pt(w - 3, 0));
    pts.push_back(f.Pt(w - 1, 2));
    pts.push_back(f.Pt(w - 1, h));
    return pts;
  }

  BOOL m_bCurved;
  int m_nReserved = 0;
};

// ---- 4: state buttons

class CTKPTabAppearanceStateButtons : public CTKPTabAppearance {
 public:
  CTKPTabAppearanceStateButtons() {
    m_rcHeaderMargin = CRect(2, 2, 4, 2);
    m_nRowSpacing = 0;
  }
  void DrawSingleButton(CDC* pDC, CTKPTabManagerItem* pItem) override {
    ColorSet()->FillStateButton(pDC, pItem->GetRect(), pItem);
    DrawContent(pDC, pItem, pItem->GetRect());
  }
  CRect FillTabControl(CTKPTabManager* pTabManager, CDC* /*pDC*/, CRect rc) override {
    return GetHeaderRect(rc, pTabManager);
  }
  int GetSupportedColorSets() const override { return 1 | 2 | 4 | 8 | 16; }
  int GetDefaultColorSet() const override { return 2; }
};

// ---- 5: the selected tab raised, separators between the others

class CTKPTabAppearanceFlatSelected : public CTKPTabAppearance {
 public:
  CTKPTabAppearanceFlatSelected() { m_rcHeaderMargin = CRect(4, 2, 4, 0); }
  void DrawSingleButton(CDC* pDC, CTKPTabManagerItem* pItem) override {
    CTKPTabColorSet* pColors = ColorSet();
    CRect rc = pItem->GetRect();
    if (pItem->IsSelected()) {
      pColors->FillSelectedTab(pDC, rc, pItem);
      tktab::InflateRectByPosition(rc, 0, 0, 0, 1, Position());
      pDC->Draw3dRect(rc, pColors->m_clrFrameLight, pColors->m_clrSelectedText);
    } else if (tktab::IsHorizontal(Position())) {
      Fill(pDC, CRect(rc.right - 1, rc.top + 2, rc.right, rc.bottom - 2), pColors->m_clrFrameBorder);
    } else {
      Fill(pDC, CRect(rc.left + 2, rc.bottom - 1, rc.right - 2, rc.bottom), pColors->m_clrFrameBorder);
    }
    DrawContent(pDC, pItem, pItem->GetRect());
  }
  int GetSupportedColorSets() const override { return 1 | 2 | 4; }
  int GetDefaultColorSet() const override { return 2; }
  COLORREF FrameLightColor() const override { return ColorSet()->m_clrFrameLight; }
  COLORREF FrameDarkColor() const override { return ColorSet()->m_clrSelectedText; }
};

// ---- 7: trapezoids

class CTKPTabAppearanceTrapezoid : public CTKPTabAppearance {
 public:
  CTKPTabAppearanceTrapezoid() { m_rcHeaderMargin = CRect(2, 3, 2, 0); }
  // The first and last tabs' slanted sides stand in the margins.
  CRect GetHeaderMargin() const override {
    CRect margin = m_rcHeaderMargin;
    margin.left += m_nRowHeight / 2;
    margin.right += m_nRowHeight / 2;
    return margin;
  }
  // Each slanted side takes half the tab's depth: half of it inside the tab's rect, half over its
  // neighbour's, so that the caption keeps the full length at mid-height.
  void DrawSingleButton(CDC* pDC, CTKPTabManagerItem* pItem) override {
    const int position = Position();
    const CRect rc = pItem->GetRect();
    const TabFrame f(rc, position);
    const int w = f.W(), h = f.H();
    const int d = (h - 1) / 2, s = d / 2;
    const POINT face[4] = {f.Pt(-s, h), f.Pt(d - s, 0), f.Pt(w - 1 - d + s, 0), f.Pt(w - 1 + s, h)};
    const COLORREF fill = FillPolygonTab(pDC, pItem, face, 4, position);
    const CTKPColorValue* o = pItem->IsSelected() ? ColorSet()->m_clrSelectedOutline : ColorSet()->m_clrNormalOutline;
    Line(pDC, o[0], f.Pt(-s, h - 1), f.Pt(d - s, 0));
    Line(pDC, o[4], f.Pt(1 - s, h - 1), f.Pt(d - s + 1, 0));
    Line(pDC, o[2], f.Pt(d - s, 0), f.Pt(w - 1 - d + s, 0));
    Line(pDC, o[3], f.Pt(d - s + 1, 1), f.Pt(w - 1 - d + s, 1));
    Line(pDC, o[1], f.Pt(w - 1 - d + s, 0), f.Pt(w - 1 + s, h - 1));
    Line(pDC, o[5], f.Pt(w - 2 - d + s, 0), f.Pt(w - 2 + s, h - 1));
    if (pItem->IsSelected() && pItem->GetRow() == 0 && fill != kTKPNoColor) {
      Fill(pDC, f.Px(1 - s, h - 1, w - 1 + s, h), fill);
    }
    DrawContent(pDC, pItem, rc);
  }
  int GetSupportedColorSets() const override { return 1 | 2 | 4; }
  int GetDefaultColorSet() const override { return 2; }

 private:
  static void Line(CDC* pDC, COLORREF clr, POINT a, POINT b) { DrawLine(pDC, clr, a.x, a.y, b.x, b.y); }
};

// ---- 8: full-width bars stacked above and below the client area

class CTKPTabAppearanceBars : public CTKPTabAppearance {
 public:
  void RepositionTabControl(CTKPTabManager* pTabManager, CDC* pDC, CRect rc) override {
    tktab::DeflateRectByPosition(rc, m_pPaintManager->ClientMargin, Position());
    const int inset = Inset();
    const int rowHeight = GetButtonHeight(pTabManager);
    const std::vector<int> tops = BarTops(pTabManager, rc, rowHeight);
    for (int i = 0; i < pTabManager->GetItemCount(); ++i) {
      CTKPTabManagerItem* pItem = pTabManager->GetItem(i);
      if (!pItem->IsVisible()) {
        PlaceItem(pItem, CRect(rc.left + inset, tops[i], rc.right - inset, tops[i]), 0, 0, 0);
        continue;
      }
      const CRect bar(rc.left + inset, tops[i], rc.right - inset, tops[i] + rowHeight);
      PlaceItem(pItem, bar, bar.Width() - 7, GetItemLength(pDC, pItem), 0);
    }
    HideNavigateButtons(pTabManager);
  }
  // Worked out from the rectangle itself, as a layout there would place the bars: containers measure their
  // client area on spare rectangles before laying the bars out.
  void AdjustClientRect(CTKPTabManager* pTabManager, CRect& rc) override {
    tktab::DeflateRectByPosition(rc, m_pPaintManager->ClientMargin, Position());
    const int rowHeight = GetButtonHeight(pTabManager);
    const std::vector<int> tops = BarTops(pTabManager, rc, rowHeight);
    CTKPTabManagerItem* pSelected = pTabManager->GetSelectedItem();
    int top = rc.top, bottom = rc.bottom;
    bool below = false;
    for (int i = 0; i < pTabManager->GetItemCount(); ++i) {
      CTKPTabManagerItem* pItem = pTabManager->GetItem(i);
      if (!pItem->IsVisible()) continue;
      if (below) {
        bottom = tops[i];
        break;
      }
      if (!pSelected || pItem == pSelected) top = tops[i] + rowHeight;
      if (pItem == pSelected) below = true;
    }
    rc = CRect(rc.left + Inset(), top, rc.right - Inset(), std::max(top, bottom));
  }
  void DrawTabControl(CTKPTabManager* pTabManager, CDC* pDC, CRect rc) override {
    CTKPTabColorSet* pColors = ColorSet();
    pDC->FillSolidRect(rc, pColors->m_clrFrameFace);
    const int nSaved = pDC->SaveDC();
    pDC->IntersectClipRect(rc);
    if (m_pPaintManager->ClientBorderStyle == 2) {
      if (pTabManager->GetItemCount() > 0) Fill(pDC, CRect(rc.left, rc.top, rc.right, rc.top + 1), pColors->m_clrFrameBorder);
    } else {
      pDC->Draw3dRect(rc, pColors->m_clrFrameBorder, pColors->m_clrFrameBorder);
    }
    for (int i = pTabManager->GetItemCount() - 1; i >= 0; --i) {
      CTKPTabManagerItem* pItem = pTabManager->GetItem(i);
      if (pItem->IsVisible() && !pItem->GetRect().IsRectEmpty() && pDC->RectVisible(pItem->GetRect())) {
        DrawSingleButton(pDC, pItem);
      }
    }
    pDC->RestoreDC(nSaved);
  }
  CRect FillTabControl(CTKPTabManager* /*pTabManager*/, CDC* /*pDC*/, CRect rc) override { return rc; }
  void DrawSingleButton(CDC* pDC, CTKPTabManagerItem* pItem) override {
    CTKPTabColorSet* pColors = ColorSet();
    const CRect rc = pItem->GetRect();
    pColors->FillSelectedTab(pDC, rc, pItem);
    pDC->Draw3dRect(rc, pColors->m_clrFrameLight, pColors->m_clrFrameBorder);
    const COLORREF grip = TKPColorManager()->GetColor(38);
    for (int y = rc.top + 4; y < rc.bottom - 3; y += 2) pDC->FillSolidRect(rc.right - 7, y, 3, 1, grip);
    DrawContent(pDC, pItem, CRect(rc.left, rc.top, rc.right - 7, rc.bottom));
  }
  int GetSupportedColorSets() const override { return 1 | 4; }
  int GetDefaultColorSet() const override { return 1; }
  COLORREF FrameLightColor() const override { return kTKPNoColor; }
  COLORREF FrameDarkColor() const override { return kTKPNoColor; }

 private:
  int Inset() const { return m_pPaintManager->ClientBorderStyle == 2 ? 0 : 1; }
  // The top of every tab's bar in rc (a hidden tab: where the next bar starts). The bars stack from the top
  // down to the selected one; those after it sit at the bottom, at least one row below it.
  std::vector<int> BarTops(CTKPTabManager* pTabManager, const CRect& rc, int rowHeight) const {
    std::vector<int> tops(static_cast<size_t>(pTabManager->GetItemCount()));
    CTKPTabManagerItem* pSelected = pTabManager->GetSelectedItem();
    int y = rc.top + Inset();
    bool afterSelected = false;
    for (int i = 0; i < pTabManager->GetItemCount(); ++i) {
      CTKPTabManagerItem* pItem = pTabManager->GetItem(i);
      if (pItem->IsVisible() && afterSelected) {
        int remaining = 0;
        for (int j = i; j < pTabManager->GetItemCount(); ++j) remaining += pTabManager->GetItem(j)->IsVisible() ? 1 : 0;
        y = std::min(std::max(y + rowHeight, static_cast<int>(rc.bottom) - remaining * rowHeight),
                     static_cast<int>(rc.bottom) - 1);
        afterSelected = false;
      }
      tops[static_cast<size_t>(i)] = y;
      if (!pItem->IsVisible()) continue;
      y += rowHeight;
      if (pItem == pSelected) afterSelected = true;
    }
    return tops;
  }
};

}  // namespace

CTKPTabAppearance* TKPCreateFramedTabAppearance(BOOL bFramed, BOOL bSelectedOnly) {
  return new CTKPTabAppearanceFramed(bFramed, bSelectedOnly);
}

CTKPTabAppearance* TKPCreateTabAppearance(int nId) {
  switch (nId) {
    case 1: return new CTKPTabAppearanceClassic(FALSE);
    case 2: return new CTKPTabAppearanceFramed;
    case 3: return new CTKPTabAppearanceSegments(FALSE);
    case 4: return new CTKPTabAppearanceStateButtons;
    case 5: return new CTKPTabAppearanceFlatSelected;
    case 6: return new CTKPTabAppearanceFlat;
    case 7: return new CTKPTabAppearanceTrapezoid;
    case 8: return new CTKPTabAppearanceBars;
    case 9: return new CTKPTabAppearanceSegments(TRUE);
    default: return new CTKPTabAppearanceClassic(TRUE);
  }
}
