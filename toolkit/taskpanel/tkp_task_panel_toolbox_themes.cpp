// Task panel looks 7 to 12: captions as push buttons (toolbox) and the shortcut-bar (list view) looks.
#include <algorithm>

#include "platform/classlib/win/cdc.h"
#include "toolkit/common/color_manager.h"
#include "toolkit/common/draw_helpers.h"
#include "toolkit/common/gdi_guards.h"
#include "toolkit/taskpanel/tkp_task_panel.h"
#include "toolkit/taskpanel/tkp_task_panel_theme_support.h"
#include "toolkit/taskpanel/tkp_task_panel_themes.h"

using taskpanel::themes::Color;
using taskpanel::themes::Scheme;
using taskpanel::themes::Sys;

namespace {

// A gradient from top to bottom (or left to right) over the rectangle.
void Gradient(CDC* pDC, const CRect& rc, const CTKPColorGradient& g, BOOL bHorizontal = FALSE) {
  TKPDrawHelpers()->GradientFill(pDC, rc, Color(g.clrLight), Color(g.clrDark), bHorizontal);
}

// The panel's height as painted: the client area or the content, whichever is taller.
CRect PanelRect(CTKPTaskPanel* pPanel) {
  const CTKPClientRect client(pPanel);
  return CRect(0, 0, client.Width(), std::max(client.Height() + pPanel->GetScrollOffset(), pPanel->GetClientHeight()));
}

void SetAllClientColors(CTKPTaskPanelGroupColors& g, COLORREF clr) {
  g.clrClientText.SetStandardValue(clr);
  g.clrClientLink.SetStandardValue(clr);
  g.clrClientLinkHot.SetStandardValue(clr);
}

}  // namespace

// ---- 7: toolbox ----

CTKPTaskPanelToolboxTheme::CTKPTaskPanelToolboxTheme() {
  m_rcGroupInnerMargins = CRect(0, 4, 0, 2);
  m_bBoldCaption = FALSE;
  m_nColorMode = 0;
  m_rcControlMargins = CRect(2, 2, 2, 2);
  m_nGroupSpacing = 1;
  m_bInvertDragMarker = TRUE;
  m_bClassicScrollButtons = TRUE;
  m_rcLinkMargins = CRect(2, 2, 0, 2);
  m_nCaptionTextFormat = DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS;
  m_bFrameActiveGroup = FALSE;
}

void CTKPTaskPanelToolboxTheme::RefreshMetrics() {
  CTKPTaskPanelListTheme::RefreshMetrics();
  // The whole caption is the button: no expand button in it.
  m_nCaptionButtonStyle = 0;
  const COLORREF face = Sys(COLOR_BTNFACE);
  m_grcBackground.SetSolidColor(face);
  m_groupNormal.clrHead.SetSolidColor(face);
  m_groupNormal.clrClient.SetSolidColor(face);
  m_groupNormal.clrClientBorder.SetStandardValue(face);
  m_groupNormal.clrHeadTextNormal.SetStandardValue(Sys(COLOR_BTNTEXT));
  m_groupNormal.clrHeadTextHot.SetStandardValue(Sys(COLOR_BTNTEXT));
  m_groupNormal.clrClientLink.SetStandardValue(Sys(COLOR_BTNTEXT));
  m_groupNormal.clrClientLinkHot.SetStandardValue(Sys(COLOR_HIGHLIGHT));
  m_groupSpecial = m_groupNormal;
  // A button's text with room for its frames above and below.
  m_nCaptionHeight = taskpanel::themes::TextHeight(&m_fntCaption) + 8;
  m_grcButtonBorder.SetSolidColor(Sys(COLOR_BTNSHADOW));
}

int CTKPTaskPanelToolboxTheme::DrawGroupCaption(CDC* pDC, CTKPTaskPanelGroup* pGroup, BOOL bDraw) {
  if (!pGroup->IsCaptionVisible()) return 0;
  const CRect rc = pGroup->GetCaptionRect();
  if (!bDraw || rc.IsRectEmpty()) return m_nCaptionHeight;
  CRect rcText = DrawGroupCaptionBackground(pDC, pGroup, rc);
  rcText.DeflateRect(3, 0);
  CTKPTaskPanelGroupColors* pColors = GetGroupColors(pGroup);
  taskpanel::themes::DrawCaptionText(this, pDC, pGroup, rcText,
                                     pGroup->GetEnabled() ? Color(pColors->clrHeadTextNormal) : Sys(COLOR_GRAYTEXT));
  return m_nCaptionHeight;
}

CRect CTKPTaskPanelToolboxTheme::DrawGroupCaptionBackground(CDC* pDC, CTKPTaskPanelGroup* pGroup, CRect rc) {
  const COLORREF fill = Color(GetGroupColors(pGroup)->clrHead.clrDark);
  pDC->FillSolidRect(rc, fill);
  CRect rcText = rc;
  if (pGroup->IsItemHot() && pGroup->IsItemPressed()) {
    pDC->Draw3dRect(rc, Sys(COLOR_3DDKSHADOW), Sys(COLOR_BTNHIGHLIGHT));
    CRect inner = rc;
    inner.DeflateRect(1, 1);
    pDC->Draw3dRect(inner, Sys(COLOR_BTNSHADOW), fill);
    rcText.OffsetRect(1, 1);
  } else {
    pDC->Draw3dRect(rc, Sys(COLOR_BTNHIGHLIGHT), Sys(COLOR_BTNSHADOW));
  }
  return rcText;
}

// ---- 8: toolbox with gradients ----

CTKPTaskPanelToolboxGradientTheme::CTKPTaskPanelToolboxGradientTheme() {
  m_nColorMode = 1;
  m_bBoldCaption = TRUE;
  m_bInvertDragMarker = FALSE;
  m_bClassicScrollButtons = FALSE;
}

void CTKPTaskPanelToolboxGradientTheme::RefreshMetrics() {
  CTKPTaskPanelToolboxTheme::RefreshMetrics();
  struct Colors {
    COLORREF background[2], caption[2];
  };
  static const Colors kSchemes[3] = {
      {{RGB(222, 220, 203), RGB(196, 193, 176)}, {RGB(243, 241, 230), RGB(228, 225, 208)}},
      {{RGB(223, 228, 209), RGB(222, 227, 206)}, {RGB(243, 241, 230), RGB(228, 225, 208)}},
      {{RGB(233, 232, 237), RGB(223, 224, 227)}, {RGB(234, 233, 238), RGB(215, 213, 218)}},
  };
  const int scheme = Scheme();
  Colors c{};
  if (scheme >= 1 && scheme <= 3) {
    c = kSchemes[scheme - 1];
  } else {
    // Without a scheme: the face shading towards its shadow, captions lighter than the face.
    auto pct = [](int a, int b, int p) { return CTKPColorManager::BlendColors(Sys(a), Sys(b), p); };
    c = {{Sys(COLOR_BTNFACE), pct(COLOR_BTNFACE, COLOR_BTNSHADOW, 80)},
         {pct(COLOR_BTNFACE, COLOR_WINDOW, 50), Sys(COLOR_BTNFACE)}};
  }
  m_grcBackground.SetStandardValue(c.background[0], c.background[1]);
  m_groupNormal.clrHead.SetStandardValue(c.caption[0], c.caption[1]);
  if (scheme == 2) {
    m_clrButtonHot.SetStandardValue(RGB(182, 198, 141));
    m_clrButtonPressed.SetStandardValue(RGB(147, 160, 112));
    m_clrButtonSelected.SetStandardValue(RGB(194, 207, 158));
  } else if (scheme == 3) {
    m_clrButtonHot.SetStandardValue(RGB(255, 238, 194));
    m_clrButtonPressed.SetStandardValue(RGB(254, 128, 50));
    m_clrButtonSelected.SetStandardValue(RGB(255, 192, 111));
    m_grcButtonBorder.SetSolidColor(RGB(75, 75, 111));
  }
  m_groupSpecial = m_groupNormal;
}

void CTKPTaskPanelToolboxGradientTheme::FillTaskPanel(CDC* pDC, CTKPTaskPanel* pPanel) {
  Gradient(pDC, PanelRect(pPanel), m_grcBackground, TRUE);
}

void CTKPTaskPanelToolboxGradientTheme::DrawGroupClientFace(CDC* pDC, CTKPTaskPanelGroup* pGroup, CRect rc) {
  // The body shows the panel's own left-to-right shading, so that it does not stand out as a block.
  CTKPTaskPanel* pPanel = pGroup->GetTaskPanel();
  const CRect across = pPanel ? CRect(0, rc.top, CTKPClientRect(pPanel).Width(), rc.bottom) : rc;
  TKPDrawHelpers()->GradientFillClipped(pDC, across, Color(m_grcBackground.clrLight),
                                        Color(m_grcBackground.clrDark), TRUE, rc);
  pGroup->OnDrawHeaderImage(pDC, rc);
  DrawGroupClientItems(pDC, pGroup, rc);
}

CRect CTKPTaskPanelToolboxGradientTheme::DrawGroupCaptionBackground(CDC* pDC, CTKPTaskPanelGroup* pGroup, CRect rc) {
  const CTKPColorGradient& head = GetGroupColors(pGroup)->clrHead;
  if (pGroup->IsItemFocused()) {
    const BOOL bHot = pGroup->IsItemHot(), bPressed = pGroup->IsItemPressed();
    const CTKPColorValue& fill = bHot && bPressed ? m_clrButtonPressed : bHot ? m_clrButtonHot : m_clrButtonSelected;
    pDC->FillSolidRect(rc, Color(fill));
    const COLORREF border = Color(m_grcButtonBorder.clrLight);
    pDC->Draw3dRect(rc, border, border);
  } else {
    Gradient(pDC, CRect(rc.left, rc.top, rc.right, rc.bottom - 2), head);
    pDC->FillSolidRect(rc.left, rc.bottom - 1, rc.Width(), 1, Color(head.clrLight));
  }
  // The plus/minus box.
  const int centre = (rc.top + rc.bottom) / 2;
  const CRect box(rc.left + 6, centre - 6, rc.left + 15, centre + 3);
  CRect outside = box;
  outside.InflateRect(1, 1);
  pDC->FillSolidRect(outside, Color(head.clrLight));
  pDC->FillSolidRect(box, Sys(COLOR_BTNFACE));
  pDC->FillSolidRect(box.left + 1, box.top + 1, box.Width() - 2, 1, RGB(255, 255, 255));
  pDC->Draw3dRect(box, Sys(COLOR_BTNSHADOW), Sys(COLOR_BTNSHADOW));
  pDC->FillSolidRect(box.left + 2, box.top + 4, 5, 1, RGB(0, 0, 0));
  if (!pGroup->IsExpanded()) pDC->FillSolidRect(box.left + 4, box.top + 2, 1, 5, RGB(0, 0, 0));
  return CRect(rc.left + 19, rc.top, rc.right, rc.bottom - 2);
}

// ---- 9 and 10: list view ----

CTKPTaskPanelListViewTheme::CTKPTaskPanelListViewTheme() {
  m_rcGroupInnerMargins = CRect(8, 6, 8, 6);
  m_rcControlMargins = CRect(0, 0, 0, 0);
  m_bEmbossedDisabledText = TRUE;
  m_nGroupSpacing = 0;
  m_nColorMode = 0;
  m_bInvertDragMarker = FALSE;
  m_bClassicScrollButtons = FALSE;
}

void CTKPTaskPanelListViewTheme::ApplyListViewColors(COLORREF clrBackground, COLORREF clrFurther) {
  // The groups keep the toolbox's colours; only the panel behind them and the further colour change.
  m_grcBackground.SetSolidColor(clrBackground);
  m_groupNormal.clrClientLinkSelected.SetStandardValue(clrFurther);
  m_nCaptionHeight = std::max(m_nCaptionHeight, 20);
  m_clrButtonHot.SetStandardValue(Sys(COLOR_BTNSHADOW));
  m_grcButtonBorder.SetStandardValue(Sys(COLOR_BTNTEXT), Sys(COLOR_BTNHIGHLIGHT));
}

void CTKPTaskPanelListViewTheme::RefreshMetrics() {
  CTKPTaskPanelToolboxTheme::RefreshMetrics();
  ApplyListViewColors(Sys(COLOR_BTNSHADOW), Sys(COLOR_WINDOW));
}

CTKPTaskPanelListViewColorTheme::CTKPTaskPanelListViewColorTheme() {
  m_nColorMode = 1;
  m_bEmbossedDisabledText = FALSE;
}

void CTKPTaskPanelListViewColorTheme::RefreshMetrics() {
  CTKPTaskPanelToolboxTheme::RefreshMetrics();
  ApplyListViewColors(Sys(30), Sys(45));
}

// ---- 11 and 12: list view with gradients ----

CTKPTaskPanelListViewGradientTheme::CTKPTaskPanelListViewGradientTheme() { m_nColorMode = 2; }

void CTKPTaskPanelListViewGradientTheme::RefreshMetrics() {
  CTKPTaskPanelListViewColorTheme::RefreshMetrics();
  static const COLORREF kBackground[3] = {RGB(216, 231, 252), RGB(226, 231, 191), RGB(223, 223, 234)};
  const int scheme = Scheme();
  if (scheme >= 1 && scheme <= 3) {
    m_grcBackground.SetSolidColor(kBackground[scheme - 1]);
    m_groupNormal.clrClient.SetSolidColor(kBackground[scheme - 1]);
    m_groupNormal.clrClientBorder.SetStandardValue(kBackground[scheme - 1]);
    m_groupSpecial = m_groupNormal;
    m_grcItemPressed.SetStandardValue(RGB(232, 127, 8), RGB(247, 218, 124));
    m_grcItemHot.SetStandardValue(RGB(255, 255, 220), RGB(247, 192, 91));
  } else {
    // Without a scheme the captions light up in the toolkit's own hot and pressed colours.
    m_grcItemPressed.SetSolidColor(Sys(33));
    m_grcItemHot.SetSolidColor(Sys(31));
  }
}

const CTKPColorGradient* CTKPTaskPanelListViewGradientTheme::GetHotOrPressedGradient(const CTKPTaskPanelGroup* pGroup) const {
  if (pGroup->IsItemPressed()) return &m_grcItemPressed;
  return pGroup->IsItemHot() ? &m_grcItemHot : nullptr;
}

CRect CTKPTaskPanelListViewGradientTheme::DrawGroupCaptionBackground(CDC* pDC, CTKPTaskPanelGroup* pGroup, CRect rc) {
  if (const CTKPColorGradient* pLit = GetHotOrPressedGradient(pGroup)) {
    Gradient(pDC, rc, *pLit);
  } else {
    const CTKPColorGradient& g = TKPColorManager()->GetGradient(1);
    TKPDrawHelpers()->GradientFill(pDC, rc, Color(g.clrDark), Color(g.clrLight), FALSE);
  }
  pDC->Draw3dRect(rc, Sys(COLOR_BTNHIGHLIGHT), Sys(54));
  return rc;
}

void CTKPTaskPanelListViewShortcutTheme::RefreshMetrics() {
  CTKPTaskPanelListViewGradientTheme::RefreshMetrics();
  // The items stand on the toolkit's first gradient, which runs into dark shades: white reads on all of it.
  m_groupNormal.clrClientLinkSelected.SetStandardValue(Sys(COLOR_WINDOW));
  SetAllClientColors(m_groupNormal, Sys(COLOR_WINDOW));
  m_groupSpecial = m_groupNormal;
}

void CTKPTaskPanelListViewShortcutTheme::FillTaskPanel(CDC* pDC, CTKPTaskPanel* pPanel) {
  Gradient(pDC, PanelRect(pPanel), TKPColorManager()->GetGradient(0));
}

void CTKPTaskPanelListViewShortcutTheme::DrawGroupClientFace(CDC* pDC, CTKPTaskPanelGroup* pGroup, CRect rc) {
  Gradient(pDC, rc, TKPColorManager()->GetGradient(0));
  pDC->FillSolidRect(rc.left, rc.top, rc.Width(), 1, Sys(54));
  pGroup->OnDrawHeaderImage(pDC, rc);
  DrawGroupClientItems(pDC, pGroup, rc);
}

CRect CTKPTaskPanelListViewShortcutTheme::DrawGroupCaptionBackground(CDC* pDC, CTKPTaskPanelGroup* pGroup, CRect rc) {
  const CTKPColorGradient* pLit = GetHotOrPressedGradient(pGroup);
  Gradient(pDC, rc, pLit ? *pLit : TKPColorManager()->GetGradient(3));
  // Every caption below another has a separator line above it.
  CTKPTaskPanel* pPanel = pGroup->GetTaskPanel();
  if (pPanel && pPanel->GetGroups()->GetFirstVisibleItem() != pGroup) {
    pDC->FillSolidRect(rc.left, rc.top, rc.Width(), 1, Sys(54));
  }
  return rc;
}
