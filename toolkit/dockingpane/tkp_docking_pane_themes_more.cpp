// The explorer, lined and native themes: the two that draw through the visual style fall back to the
// grippered or flat drawing, operation by operation, when the style's class cannot be opened.
#include <algorithm>

#include "toolkit/common/draw_helpers.h"
#include "toolkit/common/gdi_guards.h"
#include "toolkit/dockingpane/tkp_docking_pane.h"
#include "toolkit/dockingpane/tkp_docking_pane_mini_wnd.h"
#include "toolkit/dockingpane/tkp_docking_pane_tabbed.h"
#include "toolkit/dockingpane/tkp_docking_pane_themes.h"
#include "toolkit/tabmanager/tkp_tab_color_set.h"
#include "toolkit/tabmanager/tkp_tab_paint_manager.h"

using dockthemes::Deflate;

// ---- explorer ---------------------------------------------------------------------------------------

CTKPDockingPaneExplorerTheme::CTKPDockingPaneExplorerTheme() {
  m_nTitleHeightOffset = 7;
  m_bGradientCaption = TRUE;
  for (CTKPTabPaintManager* tabs : {m_pTabPaintManager, m_pPanelPaintManager}) {
    if (tabs == nullptr) continue;
    tabs->SetAppearance(0);
    tabs->SetColor(8);
  }
}

void CTKPDockingPaneExplorerTheme::RefreshMetrics() {
  CTKPDockingPaneFlatTheme::RefreshMetrics();
  m_themeWindow.OpenThemeData(nullptr, L"WINDOW");
  m_themeExplorerBar.OpenThemeData(nullptr, L"EXPLORERBAR");
}

void CTKPDockingPaneExplorerTheme::DrawCaption(CDC* pDC, CTKPDockingPaneTabbedContainer* pPane, CRect rc) {
  if (m_themeWindow.GetHandle() == nullptr) {
    CTKPDockingPaneGripperedTheme::DrawCaption(pDC, pPane, rc);
    return;
  }
  const BOOL vertical = pPane->IsCaptionVertical();
  const BOOL active = m_bHighlightActiveCaption && pPane->IsActive();
  const CRect band = vertical ? CRect(rc.left, rc.top, rc.left + m_nTitleHeight + 1, rc.bottom)
                              : CRect(rc.left, rc.top, rc.right, rc.top + m_nTitleHeight + 1);
  m_themeWindow.DrawThemeBackground(pDC->GetSafeHdc(), 2, active ? 1 : 2, band, nullptr);
  DrawCaptionPart(pDC, pPane->GetCaptionButtons(), band, pPane->GetTitle(), active, vertical);
}

void CTKPDockingPaneExplorerTheme::DrawCaptionPart(CDC* pDC, const std::vector<CTKPDockingPaneCaptionButton*>& buttons,
                                                   CRect rc, const CString& strTitle, BOOL bActive, BOOL bVertical) {
  if (m_themeWindow.GetHandle() == nullptr) {
    CTKPDockingPaneFlatTheme::DrawCaptionPart(pDC, buttons, rc, strTitle, bActive, bVertical);
    return;
  }
  const COLORREF glyph = GetColor(bActive ? COLOR_CAPTIONTEXT : COLOR_INACTIVECAPTIONTEXT);
  DrawCaptionButtons(pDC, buttons, rc, glyph, 16, 3, bVertical);
  Deflate(rc, 4, 1, 0, 0, bVertical);
  DrawTitle(pDC, strTitle, rc, glyph, bVertical);
}

void CTKPDockingPaneExplorerTheme::DrawCaptionButton(CDC* pDC, CTKPDockingPaneCaptionButton* pButton,
                                                     COLORREF clrGlyph) {
  const int id = pButton->GetID();
  if (m_themeExplorerBar.GetHandle() == nullptr || (id != 9901 && id != 9900)) {
    CTKPDockingPaneGripperedTheme::DrawCaptionButton(pDC, pButton, clrGlyph);
    return;
  }
  const CRect rc = pButton->GetRect();
  if (rc.IsRectEmpty()) return;
  int state = pButton->m_bPressed ? 3 : pButton->m_bHot ? 2 : 1;
  if (id == 9901 && state == 1 && m_bHighlightActiveCaption) {
    // The close button of the active caption stands out as if hot.
    auto* pane = dynamic_cast<CTKPDockingPaneTabbedContainer*>(pButton->GetOwner());
    if (pane != nullptr && pane->IsActive()) state = 2;
  }
  if (id == 9900 && (pButton->m_dwState & 2) == 0) state += 3;
  m_themeExplorerBar.DrawThemeBackground(pDC->GetSafeHdc(), id == 9901 ? 2 : 3, state, rc, nullptr);
}

void CTKPDockingPaneExplorerTheme::DrawFloatingFrame(CDC* pDC, CTKPDockingPaneMiniWnd* pFrame, CRect rc) {
  if (m_themeWindow.GetHandle() == nullptr) {
    CTKPDockingPaneDefaultTheme::DrawFloatingFrame(pDC, pFrame, rc);
    return;
  }
  const BOOL active = m_bHighlightActiveCaption && pFrame->IsActive();
  const int state = active ? 1 : 2;
  const HDC dc = pDC->GetSafeHdc();
  const int border = 3, caption = m_nTitleHeight + 3;
  const CRect left(rc.left, rc.top + caption, rc.left + border, rc.bottom);
  const CRect right(rc.right - border, rc.top + caption, rc.right, rc.bottom);
  const CRect bottom(rc.left, rc.bottom - border, rc.right, rc.bottom);
  const CRect band(rc.left, rc.top, rc.right, rc.top + caption);
  m_themeWindow.DrawThemeBackground(dc, 10, state, left, nullptr);
  m_themeWindow.DrawThemeBackground(dc, 11, state, right, nullptr);
  m_themeWindow.DrawThemeBackground(dc, 12, state, bottom, nullptr);
  m_themeWindow.DrawThemeBackground(dc, 2, state, band, nullptr);
  CString title;
  pFrame->GetWindowText(title);
  CRect part = band;
  part.DeflateRect(3, 3, 3, 3);
  DrawCaptionPart(pDC, pFrame->GetCaptionButtons(), part, title, active, FALSE);
}

// ---- lined ------------------------------------------------------------------------------------------

CTKPDockingPaneLinedTheme::CTKPDockingPaneLinedTheme() {
  m_nTitleHeightOffset = 2;
  if (m_pTabPaintManager != nullptr) {
    m_pTabPaintManager->SetAppearance(8);
    m_pTabPaintManager->SetPosition(0);
  }
  if (m_pPanelPaintManager != nullptr) m_pPanelPaintManager->SetAppearance(6);
}

void CTKPDockingPaneLinedTheme::DrawPane(CDC* pDC, CTKPDockingPaneTabbedContainer* pPane, CRect rc) {
  const CRect whole = rc;
  pDC->FillSolidRect(rc, GetColor(m_bHighlightActiveCaption && pPane->IsActive() ? 31 : 30));
  const BOOL caption = pPane->IsCaptionVisible() && m_bShowCaption;
  if (caption) {
    pDC->FillSolidRect(rc.left, rc.top, rc.Width(), 1, static_cast<COLORREF>(m_clrSplitter));
    pDC->SetBkMode(TRANSPARENT);
    DrawCaption(pDC, pPane, rc);
  }
  AdjustCaptionRect(pPane, rc);
  const BOOL tabs = pPane->IsTabsVisible() && m_pTabPaintManager != nullptr;
  if (tabs) {
    m_pTabPaintManager->DrawTabControl(pPane, pDC, rc);
  } else if (m_pTabPaintManager == nullptr || m_pTabPaintManager->ClientBorderStyle != 2) {
    CRect frame = rc;
    frame.InflateRect(1, 1);
    const COLORREF clr = m_pTabPaintManager != nullptr && m_pTabPaintManager->GetColorSet() != nullptr
                             ? static_cast<COLORREF>(m_pTabPaintManager->GetColorSet()->m_clrFrameBorder)
                             : GetColor(COLOR_BTNSHADOW);
    pDC->Draw3dRect(frame, clr, clr);
  }
  const int top = whole.top + (caption ? 1 : 0);
  Pixel(pDC, whole.left, top, 51);
  Pixel(pDC, whole.right - 1, top, 51);
  Pixel(pDC, whole.left, whole.bottom - 1, 51);
  Pixel(pDC, whole.right - 1, whole.bottom - 1, 51);
}

void CTKPDockingPaneLinedTheme::AdjustCaptionRect(CTKPDockingPaneTabbedContainer* pPane, CRect& rc) {
  CTKPDockingPanePaintManager::AdjustCaptionRect(pPane, rc);
  const BOOL vertical = pPane->IsCaptionVertical();
  Deflate(rc, 3, 0, 3, 3, vertical);
  if (!pPane->IsCaptionVisible() || !m_bShowCaption) rc.top += 3;
  if (!pPane->IsTabsVisible() && (m_pTabPaintManager == nullptr || m_pTabPaintManager->ClientBorderStyle != 2)) {
    rc.DeflateRect(1, 1);
  }
  if (rc.right < rc.left) rc.right = rc.left;
  if (rc.bottom < rc.top) rc.bottom = rc.top;
}

void CTKPDockingPaneLinedTheme::DrawLinedBand(CDC* pDC, const std::vector<CTKPDockingPaneCaptionButton*>& buttons,
                                              CRect band, const CString& strTitle, BOOL bActive, BOOL bVertical) {
  DrawCaptionButtons(pDC, buttons, band, GetColor(COLOR_BTNTEXT), 16, 0, bVertical);
  Deflate(band, 4, 1, 2, 0, bVertical);
  pDC->SetBkMode(TRANSPARENT);
  pDC->SetTextColor(GetColor(COLOR_BTNTEXT));
  const int start = (bVertical ? band.top : band.left) + DrawCaptionText(pDC, strTitle, band, bVertical, TRUE) + 10;
  const int end = bVertical ? band.bottom : band.right;
  if (end <= start) return;
  const int centre = bVertical ? (band.left + band.right) / 2 : (band.top + band.bottom) / 2;
  const COLORREF clr = GetColor(bActive ? COLOR_BTNTEXT : 38);
  for (int d : {-3, -1, 1, 3}) {
    if (bVertical) {
      pDC->FillSolidRect(centre + d, start, 1, end - start, clr);
    } else {
      pDC->FillSolidRect(start, centre + d, end - start, 1, clr);
    }
  }
}

void CTKPDockingPaneLinedTheme::DrawCaption(CDC* pDC, CTKPDockingPaneTabbedContainer* pPane, CRect rc) {
  const BOOL vertical = pPane->IsCaptionVertical();
  const int length = vertical ? rc.Width() : rc.Height();
  Deflate(rc, 0, 2, 1, length - 3 - m_nTitleHeight, vertical);
  DrawLinedBand(pDC, pPane->GetCaptionButtons(), rc, pPane->GetTitle(),
                m_bHighlightActiveCaption && pPane->IsActive(), vertical);
}

void CTKPDockingPaneLinedTheme::DrawCaptionButton(CDC* pDC, CTKPDockingPaneCaptionButton* pButton, COLORREF clrGlyph) {
  const CRect rc = pButton->GetRect();
  if (rc.IsRectEmpty()) return;
  COLORREF glyph = clrGlyph;
  if (pButton->m_bPressed) {
    Rectangle(pDC, rc, 33, 32);
    glyph = GetColor(47);
  } else if (pButton->m_bHot) {
    Rectangle(pDC, rc, 31, 32);
    glyph = GetColor(45);
  }
  const CPoint centre = rc.CenterPoint();
  DrawCaptionButtonGlyph(pDC, pButton, centre.x, centre.y, glyph);
}

void CTKPDockingPaneLinedTheme::DrawFloatingFrame(CDC* pDC, CTKPDockingPaneMiniWnd* pFrame, CRect rc) {
  const BOOL active = m_bHighlightActiveCaption && pFrame->IsActive();
  const COLORREF fill = GetColor(active ? 31 : 30);
  pDC->Draw3dRect(rc, fill, fill);
  rc.DeflateRect(1, 1);
  pDC->Draw3dRect(rc, GetColor(COLOR_BTNHIGHLIGHT), GetColor(COLOR_BTNSHADOW));
  rc.DeflateRect(1, 1);
  pDC->Draw3dRect(rc, fill, fill);
  rc.DeflateRect(1, 1);
  CRect band(rc.left, rc.top, rc.right, rc.top + m_nTitleHeight + 3);
  CTKPBufferDC buffer(pDC->GetSafeHdc(), band);
  buffer.FillSolidRect(band, fill);
  CString title;
  pFrame->GetWindowText(title);
  band.DeflateRect(1, 2, 1, 1);
  DrawLinedBand(&buffer, pFrame->GetCaptionButtons(), band, title, active, FALSE);
}

// ---- native -----------------------------------------------------------------------------------------

CTKPDockingPaneNativeTheme::CTKPDockingPaneNativeTheme() {
  m_bBoldCaption = FALSE;
  m_nTitleHeightOffset = 9;
  m_rcCaptionMargin = CRect(0, 0, 0, 0);
}

void CTKPDockingPaneNativeTheme::RefreshMetrics() {
  CTKPDockingPanePaintManager::RefreshMetrics();
  m_themeRebar.OpenThemeData(nullptr, L"REBAR");
  m_themeToolbar.OpenThemeData(nullptr, L"TOOLBAR");
  const BOOL themed = m_themeRebar.GetHandle() != nullptr;
  if (m_pTabPaintManager != nullptr) {
    m_pTabPaintManager->SetAppearance(themed ? 0 : 5);
    if (themed) m_pTabPaintManager->SetColor(8);
    m_pTabPaintManager->HotTracking = themed;
  }
  if (m_pPanelPaintManager != nullptr) {
    m_pPanelPaintManager->SetAppearance(themed ? 0 : 6);
    if (themed) m_pPanelPaintManager->SetColor(8);
    m_pPanelPaintManager->HotTracking = themed;
  }
}

void CTKPDockingPaneNativeTheme::DrawCaption(CDC* pDC, CTKPDockingPaneTabbedContainer* pPane, CRect rc) {
  m_pCaptionWnd = pPane;
  CTKPDockingPaneGripperedTheme::DrawCaption(pDC, pPane, rc);
  m_pCaptionWnd = nullptr;
}

void CTKPDockingPaneNativeTheme::DrawCaptionPart(CDC* pDC, const std::vector<CTKPDockingPaneCaptionButton*>& buttons,
                                                 CRect rc, const CString& strTitle, BOOL bActive, BOOL bVertical) {
  if (m_themeRebar.GetHandle() == nullptr) {
    CTKPDockingPaneGripperedTheme::DrawCaptionPart(pDC, buttons, rc, strTitle, bActive, bVertical);
    return;
  }
  // The rebar's background laid over the whole frame, so that the caption continues it.
  CWnd* frame = m_pCaptionWnd != nullptr ? m_pCaptionWnd->GetParentFrame() : nullptr;
  if (frame != nullptr) {
    CRect client;
    frame->GetClientRect(client);
    frame->ClientToScreen(client);
    m_pCaptionWnd->ScreenToClient(client);
    m_themeRebar.DrawThemeBackground(pDC->GetSafeHdc(), 0, 0, client, rc);
  } else {
    m_themeRebar.DrawThemeBackground(pDC->GetSafeHdc(), 0, 0, rc, nullptr);
  }
  DrawCaptionButtons(pDC, buttons, rc, GetColor(COLOR_BTNTEXT), 16, 2, bVertical);
  Deflate(rc, 4, 1, 0, 0, bVertical);
  DrawTitle(pDC, strTitle, rc, GetColor(COLOR_BTNTEXT), bVertical);
}

void CTKPDockingPaneNativeTheme::DrawCaptionButton(CDC* pDC, CTKPDockingPaneCaptionButton* pButton, COLORREF clrGlyph) {
  if (m_themeToolbar.GetHandle() == nullptr) {
    CTKPDockingPaneGripperedTheme::DrawCaptionButton(pDC, pButton, clrGlyph);
    return;
  }
  const CRect rc = pButton->GetRect();
  if (rc.IsRectEmpty()) return;
  if (pButton->m_bPressed || pButton->m_bHot) {
    m_themeToolbar.DrawThemeBackground(pDC->GetSafeHdc(), 1, pButton->m_bPressed ? 3 : 2, rc, nullptr);
  }
  const CPoint centre = rc.CenterPoint();
  DrawCaptionButtonGlyph(pDC, pButton, centre.x, centre.y, clrGlyph);
}
