// Task panel looks 1 to 6: large captions, the explorer look, the list and flat looks.
#include "toolkit/taskpanel/tkp_task_panel_themes.h"

#include <algorithm>

#include "platform/classlib/win/cdc.h"
#include "toolkit/common/color_manager.h"
#include "toolkit/common/draw_helpers.h"
#include "toolkit/common/gdi_guards.h"
#include "toolkit/taskpanel/tkp_task_panel.h"
#include "toolkit/taskpanel/tkp_task_panel_theme_support.h"
#include "toolkit/taskpanel/tp_color.h"

using taskpanel::themes::Color;
using taskpanel::themes::Scheme;
using taskpanel::themes::Sys;

CTKPTaskPanelPaintManager* CreateTaskPanelTheme(int nTheme) {
  switch (taskpanel::ThemeForNumber(nTheme)) {
    case 0: return new CTKPTaskPanelPaintManager();
    case 1: return new CTKPTaskPanelLargeCaptionTheme();
    case 3: return new CTKPTaskPanelListTheme();
    case 4: return new CTKPTaskPanelFlatTheme();
    case 5: return new CTKPTaskPanelFlatLunaTheme();
    case 6: return new CTKPTaskPanelListExplorerTheme();
    case 7: return new CTKPTaskPanelToolboxTheme();
    case 8: return new CTKPTaskPanelToolboxGradientTheme();
    case 9: return new CTKPTaskPanelListViewTheme();
    case 10: return new CTKPTaskPanelListViewColorTheme();
    case 11: return new CTKPTaskPanelListViewGradientTheme();
    case 12: return new CTKPTaskPanelListViewShortcutTheme();
    default: return new CTKPTaskPanelExplorerTheme();
  }
}

namespace {

COLORREF Blend(int a, int b, int k) { return taskpanel::Blend255(Sys(a), Sys(b), k); }
COLORREF BlendColor(COLORREF a, int b, int k) { return taskpanel::Blend255(a, Sys(b), k); }

// The explorer colours by scheme (blue, olive, silver) and, without a scheme, blended from the system's.
struct ExplorerColors {
  COLORREF background[2];
  COLORREF specialCaption[2];
  COLORREF specialText, specialTextHot, specialClient;
  COLORREF normalCaption[2];
  double normalStart;
  COLORREF normalText, normalTextHot, normalClient;
  COLORREF link, linkHot;
};

const ExplorerColors kExplorer[3] = {
    {{RGB(123, 162, 231), RGB(99, 117, 214)}, {RGB(0, 73, 181), RGB(41, 93, 206)}, RGB(255, 255, 255),
     RGB(66, 142, 255), RGB(239, 243, 255), {RGB(255, 255, 255), RGB(198, 211, 247)}, 0.5, RGB(33, 93, 198),
     RGB(66, 142, 255), RGB(214, 223, 247), RGB(33, 93, 198), RGB(66, 142, 255)},
    {{RGB(204, 217, 173), RGB(165, 189, 132)}, {RGB(119, 140, 64), RGB(150, 168, 103)}, RGB(255, 255, 255),
     RGB(224, 231, 184), RGB(246, 246, 236), {RGB(255, 252, 236), RGB(224, 231, 184)}, 0.0, RGB(86, 102, 45),
     RGB(114, 146, 29), RGB(246, 246, 236), RGB(86, 102, 45), RGB(114, 146, 29)},
    {{RGB(196, 200, 212), RGB(177, 179, 200)}, {RGB(119, 119, 146), RGB(180, 182, 199)}, RGB(255, 255, 255),
     RGB(230, 230, 230), RGB(240, 241, 245), {RGB(255, 255, 255), RGB(214, 215, 224)}, 0.0, RGB(63, 61, 61),
     RGB(126, 124, 124), RGB(240, 241, 245), RGB(63, 61, 61), RGB(126, 124, 124)},
};

ExplorerColors SystemExplorerColors() {
  ExplorerColors c{};
  c.background[0] = Blend(COLOR_INACTIVECAPTION, COLOR_WINDOW, 128);
  c.background[1] = Blend(COLOR_ACTIVECAPTION, COLOR_WINDOW, 192);
  c.specialCaption[0] = Sys(COLOR_ACTIVECAPTION);
  c.specialCaption[1] = Blend(COLOR_ACTIVECAPTION, COLOR_WINDOW, 92);
  c.specialText = Sys(COLOR_CAPTIONTEXT);
  c.specialTextHot = Blend(COLOR_BTNHIGHLIGHT, COLOR_HIGHLIGHT, 128);
  c.specialClient = Blend(COLOR_BTNFACE, COLOR_WINDOW, 24);
  c.normalCaption[0] = Sys(COLOR_WINDOW);
  c.normalCaption[1] = Blend(COLOR_INACTIVECAPTION, COLOR_WINDOW, 92);
  c.normalStart = 0.0;
  c.normalText = Blend(COLOR_HIGHLIGHT, COLOR_BTNTEXT, 192);
  c.normalTextHot = Blend(COLOR_HIGHLIGHT, COLOR_BTNTEXT, 240);
  c.normalClient = BlendColor(c.specialClient, COLOR_ACTIVECAPTION, 230);
  c.link = Sys(COLOR_BTNTEXT);
  c.linkHot = Sys(COLOR_HIGHLIGHT);
  return c;
}

ExplorerColors ExplorerColorsOf(int scheme) { return scheme >= 1 && scheme <= 3 ? kExplorer[scheme - 1] : SystemExplorerColors(); }

void SetLinks(CTKPTaskPanelGroupColors& g, COLORREF link, COLORREF hot) {
  g.clrClientLink.SetStandardValue(link);
  g.clrClientLinkHot.SetStandardValue(hot);
}

void SetCaptionText(CTKPTaskPanelGroupColors& g, COLORREF text, COLORREF hot) {
  g.clrHeadTextNormal.SetStandardValue(text);
  g.clrHeadTextHot.SetStandardValue(hot);
}

}  // namespace

// ---- 1: large captions ----

CTKPTaskPanelLargeCaptionTheme::CTKPTaskPanelLargeCaptionTheme() {
  m_nColorMode = 2;
  m_rcControlMargins = CRect(8, 8, 0, 8);
  m_nGroupSpacing = 15;
}

void CTKPTaskPanelLargeCaptionTheme::RefreshMetrics() {
  CTKPTaskPanelPaintManager::RefreshMetrics();
  m_nCaptionButtonStyle = 0;
  if (m_bUseSystemCaptionFont) {
    LOGFONT lf{};
    ::SystemParametersInfoW(SPI_GETICONTITLELOGFONT, sizeof lf, &lf, 0);
    lf.lfHeight = 18;
    lf.lfWeight = FW_BOLD;
    lf.lfUnderline = FALSE;
    if (CTKPDrawHelpers::FontExists(_T("Tahoma"))) ::lstrcpynW(lf.lfFaceName, L"Tahoma", LF_FACESIZE);
    SetCaptionFont(&lf, TRUE);
    m_nCaptionHeight = std::max(20, taskpanel::themes::TextHeight(&m_fntCaption));
  }
  struct Colors {
    COLORREF background[2], caption[2], text, client, link;
  };
  static const Colors kSchemes[3] = {
      {{RGB(221, 236, 254), RGB(74, 122, 201)}, {RGB(196, 219, 249), RGB(101, 143, 224)}, RGB(0, 45, 134),
       RGB(221, 236, 254), RGB(0, 61, 178)},
      {{RGB(243, 242, 231), RGB(190, 198, 152)}, {RGB(210, 223, 174), RGB(161, 176, 128)}, RGB(90, 107, 70),
       RGB(243, 242, 231), RGB(0, 61, 178)},
      {{RGB(238, 238, 244), RGB(177, 176, 195)}, {RGB(207, 207, 222), RGB(169, 168, 191)}, RGB(92, 91, 121),
       RGB(238, 238, 244), RGB(0, 61, 178)},
  };
  const int scheme = Scheme();
  Colors c{};
  if (scheme >= 1 && scheme <= 3) {
    c = kSchemes[scheme - 1];
  } else {
    auto pct = [](int p) { return CTKPColorManager::BlendColors(Sys(COLOR_BTNFACE), Sys(COLOR_WINDOW), p); };
    c = {{pct(50), Sys(COLOR_BTNFACE)}, {pct(39), pct(70)}, Sys(COLOR_BTNTEXT), pct(49), RGB(0, 0, 255)};
  }
  m_grcBackground.SetStandardValue(c.background[0], c.background[1]);
  m_groupNormal.clrHead.SetStandardValue(c.caption[0], c.caption[1]);
  SetCaptionText(m_groupNormal, c.text, c.text);
  m_groupNormal.clrClient.SetSolidColor(c.client);
  SetLinks(m_groupNormal, c.link, c.link);
  for (CTKPTaskPanelGroupColors* g : {&m_groupNormal, &m_groupSpecial}) g->clrClientBorder.SetStandardValue(Sys(COLOR_WINDOW));
}

// ---- 2: the explorer look ----

CTKPTaskPanelExplorerTheme::CTKPTaskPanelExplorerTheme() { m_nColorMode = 2; }

void CTKPTaskPanelExplorerTheme::RefreshMetrics() {
  CTKPTaskPanelPaintManager::RefreshMetrics();
  const int scheme = Scheme();
  m_bExplorerLook = m_bUseVisualStyle || scheme != 0;
  if (!m_bExplorerLook) return;
  m_nCaptionButtonStyle = 1;
  m_bRoundLeftCorner = m_bRoundRightCorner = TRUE;
  const ExplorerColors c = ExplorerColorsOf(scheme);
  m_grcBackground.SetStandardValue(c.background[0], c.background[1]);
  m_groupSpecial.clrHead.SetStandardValue(c.specialCaption[0], c.specialCaption[1]);
  SetCaptionText(m_groupSpecial, c.specialText, c.specialTextHot);
  m_groupSpecial.clrClient.SetSolidColor(c.specialClient);
  m_groupNormal.clrHead.SetStandardValue(c.normalCaption[0], c.normalCaption[1]);
  m_groupNormal.dHeadGradientFactor = c.normalStart;
  SetCaptionText(m_groupNormal, c.normalText, c.normalTextHot);
  m_groupNormal.clrClient.SetSolidColor(c.normalClient);
  for (CTKPTaskPanelGroupColors* g : {&m_groupNormal, &m_groupSpecial}) {
    g->clrClientBorder.SetStandardValue(Sys(COLOR_WINDOW));
    SetLinks(*g, c.link, c.linkHot);
  }
  LoadExplorerBitmaps();
}

// ---- 3: the list look ----

CTKPTaskPanelListTheme::CTKPTaskPanelListTheme() {
  m_nCaptionTextFormat = DT_WORDBREAK | DT_NOPREFIX;
  m_rcLinkMargins = CRect(0, 0, 3, 0);
}

void CTKPTaskPanelListTheme::RefreshMetrics() {
  CTKPTaskPanelPaintManager::RefreshMetrics();
  m_nCaptionButtonStyle = 3;
  m_grcBackground.SetSolidColor(Sys(1));
  m_groupNormal.clrClient.SetSolidColor(Sys(COLOR_WINDOW));
  m_groupNormal.clrClientBorder.SetStandardValue(Sys(COLOR_BTNTEXT));
  SetLinks(m_groupNormal, Sys(COLOR_BTNTEXT), Sys(COLOR_HIGHLIGHT));
  m_groupSpecial = m_groupNormal;
}

void CTKPTaskPanelListTheme::FillTaskPanel(CDC* pDC, CTKPTaskPanel* pPanel) {
  CTKPTaskPanelPaintManager::FillTaskPanel(pDC, pPanel);
  CTKPTaskPanelGroup* pActive = pPanel->GetActiveGroup();
  if (!m_bFrameActiveGroup || pActive == nullptr || !pActive->IsVisible()) return;
  CRect rc = pActive->GetCurrentRect();
  rc.InflateRect(1, 3, 1, 8);
  CTKPPenDC pen(pDC->GetSafeHdc(), Color(m_groupNormal.clrClientBorder));
  CTKPBrushDC brush(pDC->GetSafeHdc(), Color(m_groupNormal.clrClient.clrDark));
  pDC->RoundRect(rc, CPoint(10, 10));
}

int CTKPTaskPanelListTheme::DrawGroupCaption(CDC* pDC, CTKPTaskPanelGroup* pGroup, BOOL bDraw) {
  if (!pGroup->IsCaptionVisible()) return 0;
  const CRect rc = pGroup->GetCaptionRect();
  if (!bDraw || rc.IsRectEmpty()) return m_nCaptionHeight;
  CTKPTaskPanelGroupColors* pColors = GetGroupColors(pGroup);
  CRect rcText = DrawCaptionButton(pDC, pGroup, rc);
  if (m_bCaptionUnderline) {
    pDC->FillSolidRect(rc.left, rc.bottom - 1, rc.Width(), 1, Color(pColors->clrHead.clrLight));
  } else {
    rcText.DeflateRect(13, 5, 13, 0);
  }
  taskpanel::themes::DrawCaptionText(this, pDC, pGroup, rcText,
                                     pGroup->GetEnabled() ? Color(pColors->clrHeadTextNormal) : Sys(COLOR_GRAYTEXT));
  return m_nCaptionHeight;
}

void CTKPTaskPanelListTheme::DrawGroupClientFace(CDC* pDC, CTKPTaskPanelGroup* pGroup, CRect rc) {
  pDC->FillSolidRect(rc, Color(GetGroupColors(pGroup)->clrClient.clrDark));
  pGroup->OnDrawHeaderImage(pDC, rc);
  DrawGroupClientItems(pDC, pGroup, rc);
}

// ---- 6: the list look in the explorer's colours ----

CTKPTaskPanelListExplorerTheme::CTKPTaskPanelListExplorerTheme() { m_nColorMode = 2; }

void CTKPTaskPanelListExplorerTheme::RefreshMetrics() {
  CTKPTaskPanelListTheme::RefreshMetrics();
  const int scheme = Scheme();
  m_bExplorerLook = m_bUseVisualStyle || scheme != 0;
  if (!m_bExplorerLook) return;
  m_nCaptionButtonStyle = 1;
  const ExplorerColors c = ExplorerColorsOf(scheme);
  m_grcBackground.SetStandardValue(c.background[0], c.background[1]);
  m_groupNormal.clrClient.SetSolidColor(c.normalClient);
  SetLinks(m_groupNormal, scheme == 0 ? Sys(COLOR_BTNTEXT) : c.link, scheme == 0 ? Sys(COLOR_BTNTEXT) : c.linkHot);
  m_groupSpecial = m_groupNormal;
  LoadExplorerBitmaps();
}

// ---- 4 and 5: flat ----

CTKPTaskPanelFlatTheme::CTKPTaskPanelFlatTheme() {
  m_bCaptionUnderline = TRUE;
  m_nColorMode = 1;
  m_bFrameActiveGroup = FALSE;
}

void CTKPTaskPanelFlatTheme::RefreshMetrics() {
  CTKPTaskPanelListTheme::RefreshMetrics();
  m_nCaptionButtonStyle = 0;
  m_grcBackground.SetSolidColor(Sys(41));
  m_groupNormal.clrClient.SetSolidColor(Sys(41));
  m_groupNormal.clrHead.SetSolidColor(Sys(COLOR_BTNSHADOW));
  SetLinks(m_groupNormal, RGB(0, 0, 255), RGB(0, 0, 255));
  m_groupSpecial = m_groupNormal;
}

CTKPTaskPanelFlatLunaTheme::CTKPTaskPanelFlatLunaTheme() { m_nColorMode = 2; }

void CTKPTaskPanelFlatLunaTheme::RefreshMetrics() {
  CTKPTaskPanelFlatTheme::RefreshMetrics();
  static const COLORREF kBackground[3] = {RGB(221, 236, 254), RGB(243, 242, 231), RGB(238, 238, 244)};
  static const COLORREF kCaption[3] = {RGB(123, 164, 224), RGB(188, 187, 177), RGB(161, 160, 187)};
  const int scheme = Scheme();
  if (scheme < 1 || scheme > 3) return;
  m_grcBackground.SetSolidColor(kBackground[scheme - 1]);
  m_groupNormal.clrClient.SetSolidColor(kBackground[scheme - 1]);
  m_groupNormal.clrHead.SetSolidColor(kCaption[scheme - 1]);
  SetLinks(m_groupNormal, RGB(0, 0, 255), RGB(0, 0, 255));
  m_groupSpecial = m_groupNormal;
}
