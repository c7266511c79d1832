#include "toolkit/dockingpane/tkp_docking_pane_paint_manager.h"

#include <algorithm>

#include "toolkit/common/aux_data.h"
#include "toolkit/common/gdi_guards.h"
#include "toolkit/dockingpane/tkp_docking_pane.h"
#include "toolkit/dockingpane/tkp_docking_pane_tabbed.h"

namespace {

int TextHeight(CFont* pFont) {
  HDC dc = ::GetDC(nullptr);
  HGDIOBJ old = ::SelectObject(dc, pFont->GetSafeHandle());
  TEXTMETRICW tm{};
  ::GetTextMetricsW(dc, &tm);
  ::SelectObject(dc, old);
  ::ReleaseDC(nullptr, dc);
  return tm.tmHeight;
}

void Text(CDC* pDC, CFont* pFont, const CString& text, CRect rc, COLORREF colour, UINT format) {
  CTKPFontDC font(pDC, pFont);
  pDC->SetBkMode(TRANSPARENT);
  pDC->SetTextColor(colour);
  pDC->DrawText(text, rc, format | DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
}

}  // namespace

void CTKPDockingPanePaintManager::RefreshMetrics() {
  m_nTitleHeight = std::max(13, TextHeight(&TKPAuxData().fontSmCaption)) + m_nTitleHeightOffset;
  m_nTabsHeight = std::max(24, TextHeight(&TKPAuxData().font) + 10);
}

void CTKPDockingPanePaintManager::FillPane(CDC* pDC, CRect rc) { pDC->FillSolidRect(rc, ::GetSysColor(COLOR_BTNFACE)); }

void CTKPDockingPanePaintManager::DrawSplitter(CDC* pDC, CRect rc, BOOL) {
  pDC->FillSolidRect(rc, ::GetSysColor(COLOR_BTNFACE));
}

// One tab per pane along the bottom, the selected one raised in the window colour.
void CTKPDockingPanePaintManager::DrawTabs(CDC* pDC, CTKPDockingPaneTabbedContainer* pPane, CRect rcTabs) {
  pDC->FillSolidRect(rcTabs, ::GetSysColor(COLOR_BTNFACE));
  pDC->FillSolidRect(rcTabs.left, rcTabs.top, rcTabs.Width(), 1, ::GetSysColor(COLOR_BTNSHADOW));
  for (const CTKPDockingPaneTabbedContainer::TabItem& tab : pPane->GetTabs()) {
    CRect r = tab.rect;
    const bool selected = tab.pane == pPane->GetSelected();
    if (selected) {
      r.top -= 1;
      pDC->FillSolidRect(r, ::GetSysColor(COLOR_WINDOW));
      pDC->FillSolidRect(r.left, r.bottom - 1, r.Width(), 1, ::GetSysColor(COLOR_BTNSHADOW));
      pDC->FillSolidRect(r.left, r.top, 1, r.Height(), ::GetSysColor(COLOR_BTNSHADOW));
      pDC->FillSolidRect(r.right - 1, r.top, 1, r.Height(), ::GetSysColor(COLOR_BTNSHADOW));
    }
    Text(pDC, selected ? &TKPAuxData().fontBold : &TKPAuxData().font, tab.pane->GetTabCaption(), r,
         ::GetSysColor(selected ? COLOR_WINDOWTEXT : COLOR_GRAYTEXT), DT_CENTER);
  }
}

void CTKPDockingPaneDefaultTheme::DrawCaption(CDC* pDC, CTKPDockingPaneTabbedContainer* pPane, CRect rcCaption) {
  const bool active = pPane->IsActive() != FALSE;
  CRect band = rcCaption;
  band.DeflateRect(0, 2, 0, 1);
  pDC->FillSolidRect(rcCaption, ::GetSysColor(COLOR_BTNFACE));
  pDC->FillSolidRect(band, ::GetSysColor(active ? COLOR_HIGHLIGHT : COLOR_BTNFACE));
  if (!active) pDC->Draw3dRect(band, ::GetSysColor(COLOR_BTNSHADOW), ::GetSysColor(COLOR_BTNSHADOW));
  CRect text = band;
  text.DeflateRect(6, 0, 4, 0);
  if (CTKPDockingPane* pane = pPane->GetSelected()) {
    Text(pDC, &TKPAuxData().fontSmCaption, pane->GetTitle(), text,
         ::GetSysColor(active ? COLOR_HIGHLIGHTTEXT : COLOR_BTNTEXT), DT_LEFT);
  }
}
