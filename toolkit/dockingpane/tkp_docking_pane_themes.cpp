// The grippered base, the flat, gradient and large-caption themes, and the theme factory.
#include "toolkit/dockingpane/tkp_docking_pane_themes.h"


#include "toolkit/common/color_manager.h"
#include "toolkit/common/draw_helpers.h"
#include "toolkit/common/gdi_guards.h"
#include "toolkit/dockingpane/tkp_docking_pane.h"
#include "toolkit/dockingpane/tkp_docking_pane_mini_wnd.h"
#include "toolkit/dockingpane/tkp_docking_pane_tabbed.h"
#include "toolkit/tabmanager/tkp_tab_paint_manager.h"

using dockthemes::Deflate;

CTKPDockingPanePaintManager* TKPCreateDockingPaneTheme(int nTheme) {
  switch (nTheme) {
    case 1: return new CTKPDockingPaneFlatTheme();
    case 2: return new CTKPDockingPaneGradientTheme();
    case 3: return new CTKPDockingPaneExplorerTheme();
    case 5: return new CTKPDockingPaneLinedTheme();
    case 6: return new CTKPDockingPaneSoftTheme();
    case 7: return new CTKPDockingPaneLargeCaptionTheme();
    case 8: return new CTKPDockingPaneNativeTheme();
    case 9: return new CTKPDockingPaneSoftGradientTheme();
    default: return new CTKPDockingPaneDefaultTheme();
  }
}

// ---- grippered --------------------------------------------------------------------------------------

void CTKPDockingPaneGripperedTheme::DrawCaption(CDC* pDC, CTKPDockingPaneTabbedContainer* pPane, CRect rc) {
  const BOOL vertical = pPane->IsCaptionVertical();
  const int length = vertical ? rc.Width() : rc.Height();
  CRect band = rc;
  Deflate(band, 0, m_rcCaptionMargin.top, 0, length - m_rcCaptionMargin.top - m_nTitleHeight - 1, vertical);
  pDC->FillSolidRect(band, static_cast<COLORREF>(m_clrSplitter));
  DrawCaptionPart(pDC, pPane->GetCaptionButtons(), band, pPane->GetTitle(),
                  m_bHighlightActiveCaption && pPane->IsActive(), vertical);
}

void CTKPDockingPaneGripperedTheme::DrawCaptionPart(CDC* pDC, const std::vector<CTKPDockingPaneCaptionButton*>& buttons,
                                                    CRect rc, const CString& strTitle, BOOL /*bActive*/,
                                                    BOOL bVertical) {
  Deflate(rc, 0, 0, 2, 0, bVertical);
  DrawCaptionButtons(pDC, buttons, rc, GetColor(COLOR_BTNTEXT), 14, 2, bVertical);
  Deflate(rc, 4, 1, 2, 0, bVertical);
  int start = bVertical ? rc.top : rc.left;
  if (!strTitle.IsEmpty()) {
    pDC->SetBkMode(TRANSPARENT);
    pDC->SetTextColor(GetColor(COLOR_BTNTEXT));
    start += DrawCaptionText(pDC, strTitle, rc, bVertical, TRUE) + 4;
  }
  const int end = bVertical ? rc.bottom : rc.right;
  if (end - start < 4) return;
  const int centre = bVertical ? (rc.left + rc.right) / 2 : (rc.top + rc.bottom) / 2;
  for (int at : {centre - 3, centre + 1}) {
    const CRect line = bVertical ? CRect(at, start, at + 3, end) : CRect(start, at, end, at + 3);
    pDC->Draw3dRect(line, GetColor(COLOR_BTNHIGHLIGHT), GetColor(COLOR_BTNSHADOW));
  }
}

void CTKPDockingPaneGripperedTheme::DrawCaptionButton(CDC* pDC, CTKPDockingPaneCaptionButton* pButton,
                                                      COLORREF clrGlyph) {
  const CRect rc = pButton->GetRect();
  if (rc.IsRectEmpty()) return;
  if (pButton->m_bPressed) {
    pDC->Draw3dRect(rc, GetColor(COLOR_BTNTEXT), GetColor(COLOR_BTNHIGHLIGHT));
  } else if (pButton->m_bHot) {
    pDC->Draw3dRect(rc, GetColor(COLOR_BTNHIGHLIGHT), GetColor(COLOR_BTNTEXT));
  }
  const int shift = pButton->m_bPressed ? 1 : 0;
  const CPoint centre = rc.CenterPoint();
  DrawCaptionButtonGlyph(pDC, pButton, centre.x + shift, centre.y + shift, clrGlyph);
}

void CTKPDockingPaneGripperedTheme::DrawTitle(CDC* pDC, const CString& strTitle, CRect rc, COLORREF clr,
                                             BOOL bVertical) {
  pDC->SetBkMode(TRANSPARENT);
  pDC->SetTextColor(clr);
  DrawCaptionText(pDC, strTitle, rc, bVertical, FALSE);
}

// ---- flat -------------------------------------------------------------------------------------------

CTKPDockingPaneFlatTheme::CTKPDockingPaneFlatTheme() {
  m_bBoldCaption = FALSE;
  if (m_pTabPaintManager != nullptr) m_pTabPaintManager->SetAppearance(5);
  if (m_pPanelPaintManager != nullptr) m_pPanelPaintManager->SetAppearance(6);
}

void CTKPDockingPaneFlatTheme::RefreshMetrics() {
  CTKPDockingPanePaintManager::RefreshMetrics();
  m_grcCaption.SetStandardValue(GetColor(COLOR_INACTIVECAPTION), ::GetSysColor(COLOR_GRADIENTINACTIVECAPTION));
  m_grcCaptionActive.SetStandardValue(GetColor(COLOR_ACTIVECAPTION), GetColor(COLOR_GRADIENTACTIVECAPTION));
  m_clrCaptionText.SetStandardValue(GetColor(COLOR_BTNTEXT));
  m_clrCaptionTextActive.SetStandardValue(GetColor(COLOR_CAPTIONTEXT));
  // Systems of version 4.0 have no caption gradients.
  CTKPOSVersion version;
  if (version.IsWin95() || version.IsWinNT4()) {
    m_grcCaption.SetSolidColor(GetColor(COLOR_INACTIVECAPTION));
    m_grcCaptionActive.SetSolidColor(GetColor(COLOR_ACTIVECAPTION));
  }
}

COLORREF CTKPDockingPaneFlatTheme::FillCaptionPart(CDC* pDC, CRect rc, BOOL bActive, BOOL bVertical) {
  if (m_bGradientCaption) {
    TKPDrawHelpers()->FillColorGradient(pDC, rc, bActive ? m_grcCaptionActive : m_grcCaption, !bVertical);
    return GetColor(bActive ? COLOR_CAPTIONTEXT : COLOR_BTNTEXT);
  }
  if (bActive) {
    pDC->FillSolidRect(rc, static_cast<COLORREF>(m_grcCaptionActive.clrLight));
    return GetColor(COLOR_CAPTIONTEXT);
  }
  // A one-pixel outline without its corners.
  const COLORREF outline = GetColor(52);
  pDC->FillSolidRect(rc.left + 1, rc.top, rc.Width() - 2, 1, outline);
  pDC->FillSolidRect(rc.left + 1, rc.bottom - 1, rc.Width() - 2, 1, outline);
  pDC->FillSolidRect(rc.left, rc.top + 1, 1, rc.Height() - 2, outline);
  pDC->FillSolidRect(rc.right - 1, rc.top + 1, 1, rc.Height() - 2, outline);
  return GetColor(COLOR_BTNTEXT);
}

void CTKPDockingPaneFlatTheme::DrawCaptionPart(CDC* pDC, const std::vector<CTKPDockingPaneCaptionButton*>& buttons,
                                               CRect rc, const CString& strTitle, BOOL bActive, BOOL bVertical) {
  const COLORREF glyph = FillCaptionPart(pDC, rc, bActive, bVertical);
  Deflate(rc, 0, 0, 2, 0, bVertical);
  DrawCaptionButtons(pDC, buttons, rc, glyph, 14, 2, bVertical);
  Deflate(rc, 4, 1, 0, 0, bVertical);
  DrawTitle(pDC, strTitle, rc, static_cast<COLORREF>(bActive ? m_clrCaptionTextActive : m_clrCaptionText), bVertical);
}

// ---- gradient ---------------------------------------------------------------------------------------

namespace {

// The colours the gradient theme takes in each visual-style scheme (blue, olive, silver).
struct GradientScheme {
  COLORREF captionLight, captionDark;
  float factor;
  COLORREF splitter;
  COLORREF colors[13];
};

constexpr int kSchemeIndexes[13] = {38, 39, 40, 41, 43, 31, 32, 37, 50, 33, 36, 30, 47};

const GradientScheme kGradientSchemes[3] = {
    {RGB(221, 236, 254), RGB(129, 169, 226), 0.75f, RGB(216, 231, 252),
     {RGB(39, 65, 118), RGB(106, 140, 203), RGB(109, 150, 208), RGB(246, 246, 246), RGB(0, 45, 150),
      RGB(255, 238, 194), RGB(0, 0, 128), RGB(0, 0, 128), RGB(0, 0, 128), RGB(254, 128, 62), RGB(255, 192, 111),
      RGB(158, 190, 245), RGB(0, 0, 0)}},
    {RGB(244, 247, 222), RGB(183, 198, 145), 0.3f, RGB(226, 231, 191),
     {RGB(81, 94, 51), RGB(96, 128, 88), RGB(159, 174, 122), RGB(244, 244, 238), RGB(117, 141, 94),
      RGB(255, 238, 194), RGB(63, 93, 56), RGB(63, 93, 56), RGB(63, 93, 56), RGB(254, 128, 62), RGB(255, 192, 111),
      RGB(217, 217, 167), RGB(0, 0, 0)}},
    {RGB(249, 249, 255), RGB(156, 155, 183), 0.75f, RGB(223, 223, 234),
     {RGB(84, 84, 117), RGB(110, 109, 143), RGB(168, 167, 190), RGB(253, 250, 255), RGB(124, 124, 148),
      RGB(255, 238, 194), RGB(75, 75, 111), RGB(75, 75, 111), RGB(75, 75, 111), RGB(254, 128, 62), RGB(255, 192, 111),
      RGB(215, 215, 229), RGB(0, 0, 0)}},
};

// Leaves the four corner pixels of rc out of the DC's clip.
void ExcludeCorners(CDC* pDC, const CRect& rc) {
  pDC->ExcludeClipRect(rc.left, rc.top, rc.left + 1, rc.top + 1);
  pDC->ExcludeClipRect(rc.right - 1, rc.top, rc.right, rc.top + 1);
  pDC->ExcludeClipRect(rc.left, rc.bottom - 1, rc.left + 1, rc.bottom);
  pDC->ExcludeClipRect(rc.right - 1, rc.bottom - 1, rc.right, rc.bottom);
}

}  // namespace

CTKPDockingPaneGradientTheme::CTKPDockingPaneGradientTheme() {
  m_bBoldCaption = TRUE;
  m_nTitleHeightOffset = 7;
  for (CTKPTabPaintManager* tabs : {m_pTabPaintManager, m_pPanelPaintManager}) {
    if (tabs == nullptr) continue;
    tabs->SetAppearance(2);
    tabs->SetColor(4);
    tabs->HotTracking = TRUE;
  }
}

void CTKPDockingPaneGradientTheme::RefreshMetrics() {
  CTKPDockingPaneFlatTheme::RefreshMetrics();
  m_grcCaption.SetStandardValue(TKPColorManager()->BlendColors(GetColor(COLOR_BTNFACE), GetColor(COLOR_WINDOW), 205),
                                GetColor(COLOR_BTNFACE));
  m_clrCaptionText.SetStandardValue(GetColor(COLOR_BTNTEXT));
  m_grcCaptionActive.SetSolidColor(GetColor(36));
  m_clrCaptionTextActive.SetStandardValue(GetColor(COLOR_BTNTEXT));
  m_bLunaColors = FALSE;
  const int scheme = GetColorScheme();
  if (scheme >= 1 && scheme <= 3) ApplyScheme(scheme);
  if (m_bLunaColors) {
    m_grcCaptionActive.SetStandardValue(RGB(255, 213, 140), RGB(255, 166, 76), 0.5f);
    m_grcSplitter.CopyFrom(TKPColorManager()->GetGradient(1));
  }
}

void CTKPDockingPaneGradientTheme::ApplyScheme(int nScheme) {
  const GradientScheme& s = kGradientSchemes[nScheme - 1];
  m_grcCaption.SetStandardValue(s.captionLight, s.captionDark, s.factor);
  m_clrSplitter.SetStandardValue(s.splitter);
  m_clrSplitterGripper.SetStandardValue(GetColor(38));
  SetColors(13, kSchemeIndexes, s.colors);
  m_bLunaColors = TRUE;
}

void CTKPDockingPaneGradientTheme::DrawCaption(CDC* pDC, CTKPDockingPaneTabbedContainer* pPane, CRect rc) {
  const BOOL vertical = pPane->IsCaptionVertical();
  const BOOL active = m_bHighlightActiveCaption && pPane->IsActive();
  CRect band = vertical ? CRect(rc.left, rc.top, rc.left + m_nTitleHeight + 3, rc.bottom)
                        : CRect(rc.left, rc.top, rc.right, rc.top + m_nTitleHeight + 3);
  const int saved = pDC->SaveDC();
  if (m_bRoundedCaption) {
    CRect inner = band;
    Deflate(inner, 0, 1, 0, 0, vertical);
    pDC->FillSolidRect(band, static_cast<COLORREF>(m_clrSplitter));
    band = inner;
    ExcludeCorners(pDC, band);
  }
  TKPDrawHelpers()->FillColorGradient(pDC, band, active ? m_grcCaptionActive : m_grcCaption, vertical);
  pDC->RestoreDC(saved);
  if (!m_bRoundedCaption) {
    const COLORREF edge = GetColor(54);
    pDC->FillSolidRect(band.left, band.top, 1, band.Height(), edge);
    pDC->FillSolidRect(band.left, band.top, band.Width(), 1, edge);
    pDC->FillSolidRect(band.right - 1, band.top, 1, band.Height(), edge);
  }
  DrawCaptionPart(pDC, pPane->GetCaptionButtons(), band, pPane->GetTitle(), active, vertical);
}

void CTKPDockingPaneGradientTheme::DrawCaptionPart(CDC* pDC, const std::vector<CTKPDockingPaneCaptionButton*>& buttons,
                                                   CRect rc, const CString& strTitle, BOOL bActive, BOOL bVertical) {
  const COLORREF text = static_cast<COLORREF>(bActive ? m_clrCaptionTextActive : m_clrCaptionText);
  Deflate(rc, 0, 0, 4, 0, bVertical);
  DrawCaptionButtons(pDC, buttons, rc, text, 16, 0, bVertical);
  if (m_bCaptionGripper && (bVertical ? rc.Height() : rc.Width()) > 7) {
    if (!bVertical) {
      for (int y = 5; y < rc.Height() - 3; y += 4) {
        pDC->FillSolidRect(rc.left + 6, rc.top + y + 1, 2, 2, GetColor(COLOR_BTNHIGHLIGHT));
        pDC->FillSolidRect(rc.left + 5, rc.top + y, 2, 2, GetColor(38));
      }
      rc.left += 8;
    } else {
      for (int x = 4; x < rc.Width() - 5; x += 4) {
        pDC->FillSolidRect(rc.left + x + 1, rc.top + 6, 2, 2, GetColor(COLOR_BTNHIGHLIGHT));
        pDC->FillSolidRect(rc.left + x, rc.top + 5, 2, 2, GetColor(38));
      }
      rc.top += 8;
    }
  }
  Deflate(rc, 6, 1, 2, 0, bVertical);
  DrawTitle(pDC, strTitle, rc, text, bVertical);
}

COLORREF CTKPDockingPaneGradientTheme::FillCaptionButton(CDC* pDC, CTKPDockingPaneCaptionButton* pButton,
                                                         COLORREF clrGlyph) {
  const CRect rc = pButton->GetRect();
  // Pressed is tested after hot: a pressed button under the mouse looks pressed.
  const BOOL pressed = pButton->m_bPressed;
  if (!pressed && !pButton->m_bHot) return clrGlyph;
  if (m_bLunaColors) {
    if (pressed) {
      TKPDrawHelpers()->GradientFill(pDC, rc, RGB(254, 142, 75), RGB(255, 207, 139), FALSE);
    } else {
      TKPDrawHelpers()->GradientFill(pDC, rc, RGB(255, 242, 200), RGB(255, 212, 151), FALSE);
    }
    pDC->Draw3dRect(rc, GetColor(32), GetColor(32));
    return RGB(0, 0, 0);
  }
  Rectangle(pDC, rc, pressed ? 33 : 31, 32);
  return GetColor(pressed ? 47 : 45);
}

void CTKPDockingPaneGradientTheme::DrawCaptionButton(CDC* pDC, CTKPDockingPaneCaptionButton* pButton,
                                                     COLORREF clrGlyph) {
  const CRect rc = pButton->GetRect();
  if (rc.IsRectEmpty()) return;
  const COLORREF glyph = FillCaptionButton(pDC, pButton, clrGlyph);
  const CPoint centre = rc.CenterPoint();
  DrawCaptionButtonGlyph(pDC, pButton, centre.x, centre.y, glyph);
}

void CTKPDockingPaneGradientTheme::DrawFloatingFrame(CDC* pDC, CTKPDockingPaneMiniWnd* pFrame, CRect rc) {
  const int saved = pDC->SaveDC();
  ExcludeCorners(pDC, rc);
  for (int i = 0; i < 3; ++i) {
    pDC->Draw3dRect(rc, GetColor(43), GetColor(43));
    rc.DeflateRect(1, 1);
  }
  pDC->RestoreDC(saved);
  const BOOL active = m_bHighlightActiveCaption && pFrame->IsActive();
  CRect band(rc.left, rc.top, rc.right, rc.top + m_nTitleHeight + 3);
  CTKPBufferDC buffer(pDC->GetSafeHdc(), band);
  TKPDrawHelpers()->FillColorGradient(&buffer, band, active ? m_grcCaptionActive : m_grcCaption, FALSE);
  const COLORREF dark = static_cast<COLORREF>(m_grcCaption.clrDark);
  buffer.SetPixel(band.left, band.top, dark);
  buffer.SetPixel(band.right - 1, band.top, dark);
  CString title;
  pFrame->GetWindowText(title);
  DrawCaptionPart(&buffer, pFrame->GetCaptionButtons(), band, title, active, FALSE);
}

// ---- large caption ----------------------------------------------------------------------------------

CTKPDockingPaneLargeCaptionTheme::CTKPDockingPaneLargeCaptionTheme() {
  m_nTitleHeightOffset = 3;
  m_bCaptionGripper = FALSE;
  m_bRoundedCaption = FALSE;
}

void CTKPDockingPaneLargeCaptionTheme::RefreshMetrics() {
  CTKPDockingPaneGradientTheme::RefreshMetrics();
  if (m_bUseSystemFont) {
    LOGFONT lf{};
    ::SystemParametersInfoW(SPI_GETICONTITLELOGFONT, sizeof(lf), &lf, 0);
    lstrcpynW(lf.lfFaceName, L"Arial", LF_FACESIZE);
    lf.lfWeight = FW_BOLD;
    lf.lfHeight = 20;
    SetCaptionFont(&lf, FALSE);
  }
  if (m_bLunaColors) {
    m_grcCaption.CopyFrom(TKPColorManager()->GetGradient(0));
    m_clrCaptionText.SetStandardValue(RGB(255, 255, 255));
  } else {
    m_grcCaption.SetStandardValue(TKPColorManager()->BlendColors(GetColor(COLOR_BTNSHADOW), GetColor(COLOR_WINDOW), 205),
                                  GetColor(COLOR_BTNSHADOW));
  }
}
