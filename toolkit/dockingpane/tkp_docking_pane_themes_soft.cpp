// The soft, soft-tab and soft-gradient themes and the tab colour sets they give their tab strips.
#include "toolkit/common/color_manager.h"
#include "toolkit/common/draw_helpers.h"
#include "toolkit/dockingpane/tkp_docking_pane_themes.h"
#include "toolkit/tabmanager/tkp_tab_appearance.h"
#include "toolkit/tabmanager/tkp_tab_manager.h"
#include "toolkit/tabmanager/tkp_tab_paint_manager.h"

namespace {

// Gives the tab paint manager the appearance (-1: keeps its own) and a soft colour set of the class T.
template <class T>
void SetSoftTabs(CTKPTabPaintManager* tabs, CTKPDockingPanePaintManager* owner, int appearance, BOOL noFill,
                 BOOL fillSelected) {
  if (tabs == nullptr) return;
  if (appearance >= 0) tabs->SetAppearance(appearance);
  tabs->SetColorObject(new T(owner, noFill, fillSelected));
}


}  // namespace

// ---- tab colour sets --------------------------------------------------------------------------------

void CTKPDockingPaneTabColorSet::RefreshMetrics() {
  CTKPTabColorSetLuna::RefreshMetrics();
  const COLORREF white = RGB(255, 255, 255);
  if (m_bFillSelected) m_clrSelectedFace.SetStandardValue(white);
  const COLORREF face = ::GetSysColor(COLOR_BTNFACE);
  m_grcHeader.SetStandardValue(face, CTKPColorManager::BlendColors(face, ::GetSysColor(COLOR_WINDOW), 205));
  m_bLunaColors = FALSE;
  switch (TKPColorManager()->GetCurrentSystemTheme()) {
    case 1:
    case 2:
      m_grcHeader.SetStandardValue(RGB(229, 229, 215), RGB(244, 241, 231));
      m_clrFrameFace.SetStandardValue(white);
      m_bLunaColors = TRUE;
      break;
    case 3:
      m_grcHeader.SetStandardValue(RGB(215, 215, 229), RGB(243, 243, 247));
      m_clrFrameFace.SetStandardValue(white);
      m_clrNormalFace.SetStandardValue(RGB(242, 242, 247));
      m_clrFrameBorder.SetStandardValue(RGB(145, 155, 156));
      m_clrNavigateBorder.SetStandardValue(RGB(145, 155, 156));
      m_clrHotFace.SetStandardValue(RGB(190, 190, 216));
      m_bLunaColors = TRUE;
      break;
    default:
      break;
  }
  m_grcHeader2.CopyFrom(m_grcHeader);
}

void CTKPDockingPaneTabColorSet::FillHeaderGradient(CDC* pDC, CRect rc, CTKPTabManager* pTabManager) {
  // Across the whole frame, so that the strip lines up with the splitters beside it.
  CWnd* wnd = dynamic_cast<CWnd*>(pTabManager);
  if (m_pOwner == nullptr || wnd == nullptr) {
    CTKPTabColorSetLuna::FillHeaderGradient(pDC, rc, pTabManager);
    return;
  }
  m_pOwner->FillFramePartRect(pDC, rc, wnd, m_grcHeader);
}

COLORREF CTKPDockingPaneTabColorSet::FillSelectedTab(CDC* pDC, CRect rc, CTKPTabManagerItem* pItem) {
  if (m_bNoFill && !(m_bFillSelected && pItem->IsSelected())) {
    // An unfilled tab shows the strip's header through it, whatever the appearance drew before.
    if (pItem->GetTabManager() != nullptr) FillHeaderGradient(pDC, rc, pItem->GetTabManager());
    return GetItemColor(pItem);
  }
  if (m_bLunaColors) return CTKPTabColorSetLuna::FillSelectedTab(pDC, rc, pItem);
  return CTKPTabColorSet::FillSelectedTab(pDC, rc, pItem);
}

void CTKPDockingPanePanelColorSet::RefreshMetrics() {
  CTKPDockingPaneTabColorSet::RefreshMetrics();
  m_bLunaColors = FALSE;
  const int scheme = TKPColorManager()->GetCurrentSystemTheme();
  if (scheme < 1 || scheme > 3) return;
  const COLORREF text = RGB(113, 111, 100);
  m_clrNormalText.SetStandardValue(text);
  if (!m_bFillSelected) m_clrInactiveText.SetStandardValue(text);
}

// ---- soft -------------------------------------------------------------------------------------------

CTKPDockingPaneSoftTheme::CTKPDockingPaneSoftTheme() {
  m_rcCaptionMargin = CRect(0, 0, 0, 0);
  m_bGradientCaption = TRUE;
  m_nSplitterStyle = 4;
  m_nColorScheme = 0;
  SetSoftTabs<CTKPDockingPaneTabColorSet>(m_pTabPaintManager, this, 2, FALSE, TRUE);
  SetSoftTabs<CTKPDockingPaneTabColorSet>(m_pPanelPaintManager, this, 2, FALSE, FALSE);
  if (m_pPanelPaintManager != nullptr) m_pPanelPaintManager->SetLayout(0);
}

void CTKPDockingPaneSoftTheme::RefreshMetrics() {
  CTKPDockingPaneFlatTheme::RefreshMetrics();
  m_clrCaptionText.SetStandardValue(GetColor(COLOR_INACTIVECAPTIONTEXT));
  const COLORREF black = RGB(0, 0, 0);
  switch (TKPColorManager()->GetCurrentSystemTheme()) {
    case 1:
    case 2:
      m_grcSplitter.SetStandardValue(RGB(229, 229, 215), RGB(244, 241, 231));
      m_grcCaption.SetStandardValue(RGB(216, 215, 198), RGB(238, 239, 229));
      m_clrCaptionText.SetStandardValue(black);
      break;
    case 3:
      m_grcSplitter.SetStandardValue(RGB(215, 215, 229), RGB(243, 243, 247));
      m_grcCaption.SetStandardValue(RGB(224, 224, 235), RGB(242, 242, 246));
      m_grcCaptionActive.SetStandardValue(RGB(160, 158, 186), RGB(224, 225, 235));
      m_clrCaptionText.SetStandardValue(black);
      break;
    default:
      break;
  }
}

CTKPDockingPaneSoftTabTheme::CTKPDockingPaneSoftTabTheme() {
  SetSoftTabs<CTKPDockingPaneTabColorSet>(m_pTabPaintManager, this, 2, FALSE, TRUE);
  SetSoftTabs<CTKPDockingPaneTabColorSet>(m_pPanelPaintManager, this, 2, FALSE, TRUE);
}

// ---- soft gradient ----------------------------------------------------------------------------------

CTKPDockingPaneSoftGradientTheme::CTKPDockingPaneSoftGradientTheme() {
  // Both strips keep appearance id 9 but draw with an object of their own: appearance 2's framed tabs,
  // rounded (not framed), the pane tabs outlining only the selected one.
  for (CTKPTabPaintManager* tabs : {m_pTabPaintManager, m_pPanelPaintManager}) {
    if (tabs == nullptr) continue;
    tabs->SetAppearance(9);
    tabs->SetAppearanceObject(TKPCreateFramedTabAppearance(FALSE, tabs == m_pTabPaintManager));
  }
  SetSoftTabs<CTKPDockingPaneTabColorSet>(m_pTabPaintManager, this, -1, TRUE, TRUE);
  SetSoftTabs<CTKPDockingPanePanelColorSet>(m_pPanelPaintManager, this, -1, TRUE, FALSE);
}

void CTKPDockingPaneSoftGradientTheme::RefreshMetrics() {
  CTKPDockingPaneSoftTheme::RefreshMetrics();
  m_grcCaption.SetSolidColor(GetColor(COLOR_INACTIVECAPTION));
  m_grcCaptionActive.SetSolidColor(GetColor(COLOR_ACTIVECAPTION));
  m_clrFrame = GetColor(COLOR_BTNSHADOW);
  const int scheme = TKPColorManager()->GetCurrentSystemTheme();
  switch (scheme) {
    case 1:
      m_grcCaption.SetSolidColor(RGB(204, 199, 186));
      m_grcCaptionActive.SetStandardValue(RGB(59, 128, 237), RGB(49, 106, 197));
      break;
    case 2:
      m_grcCaption.SetSolidColor(RGB(204, 199, 186));
      m_grcCaptionActive.SetStandardValue(RGB(182, 195, 146), RGB(145, 160, 117));
      break;
    case 3:
      m_grcCaption.SetSolidColor(RGB(240, 240, 245));
      m_grcCaptionActive.SetStandardValue(RGB(211, 212, 221), RGB(166, 165, 191));
      m_clrFrame = RGB(145, 155, 156);
      break;
    default:
      break;
  }
  if (scheme >= 1 && scheme <= 3) m_clrCaptionText.SetCustomValue(RGB(0, 0, 0));
}

COLORREF CTKPDockingPaneSoftGradientTheme::FillCaptionPart(CDC* pDC, CRect rc, BOOL bActive, BOOL bVertical) {
  TKPDrawHelpers()->FillColorGradient(pDC, rc, bActive ? m_grcCaptionActive : m_grcCaption, !bVertical);
  // An outline open on the side away from the pane's start.
  if (!bVertical) {
    pDC->FillSolidRect(rc.left, rc.top, 1, rc.Height(), m_clrFrame);
    pDC->FillSolidRect(rc.left, rc.top, rc.Width() - 1, 1, m_clrFrame);
    pDC->FillSolidRect(rc.right - 1, rc.top, 1, rc.Height() - 1, m_clrFrame);
  } else {
    pDC->FillSolidRect(rc.left, rc.bottom - 1, rc.Width(), 1, m_clrFrame);
    pDC->FillSolidRect(rc.left, rc.top, 1, rc.Height() - 1, m_clrFrame);
    pDC->FillSolidRect(rc.left, rc.top, rc.Width(), 1, m_clrFrame);
  }
  return static_cast<COLORREF>(bActive ? m_clrCaptionTextActive : m_clrCaptionText);
}
