#include "toolkit/taskpanel/tkp_task_panel_theme_support.h"

#include <algorithm>

#include "platform/classlib/win/cdc.h"
#include "toolkit/common/color_manager.h"
#include "toolkit/common/gdi_guards.h"
#include "toolkit/taskpanel/tkp_task_panel.h"
#include "toolkit/taskpanel/tkp_task_panel_paint_manager.h"

namespace taskpanel::themes {

COLORREF Sys(int nIndex) { return TKPColor(static_cast<UINT>(nIndex)); }

COLORREF Color(const CTKPColorValue& value) { return static_cast<COLORREF>(static_cast<tkcolor::Color>(value)); }

int Scheme() { return TKPColorManager()->GetCurrentSystemTheme(); }

int TextHeight(CFont* pFont) {
  HDC hDC = ::GetDC(nullptr);
  HGDIOBJ hOld = ::SelectObject(hDC, pFont->GetSafeHandle());
  SIZE size{0, 0};
  ::GetTextExtentPoint32W(hDC, L" ", 1, &size);
  ::SelectObject(hDC, hOld);
  ::ReleaseDC(nullptr, hDC);
  return size.cy;
}

void DrawCaptionText(CTKPTaskPanelPaintManager* pPaint, CDC* pDC, CTKPTaskPanelGroup* pGroup, const CRect& rc,
                     COLORREF clrText) {
  CTKPFontDC font(pDC, &pPaint->m_fntCaption);
  pDC->SetTextColor(clrText);
  pDC->SetBkMode(TRANSPARENT);
  CRect rcText = rc;
  pDC->DrawText(pGroup->GetCaption(), rcText, pPaint->m_nCaptionTextFormat);
  CTKPTaskPanel* pPanel = pGroup->GetTaskPanel();
  if (!pGroup->IsItemFocused() || pPanel == nullptr || !pPanel->IsDrawFocusRect()) return;
  CRect rcFocus = rc;
  pDC->DrawText(pGroup->GetCaption(), rcFocus, (pPaint->m_nCaptionTextFormat | DT_CALCRECT) & ~DT_END_ELLIPSIS);
  rcFocus.right = std::min(rcFocus.right, rc.right);
  if (pPaint->m_nCaptionTextFormat & DT_VCENTER) rcFocus.OffsetRect(0, (rc.Height() - rcFocus.Height()) / 2);
  rcFocus.InflateRect(2, 1);
  pPaint->DrawFocusRect(pDC, rcFocus);
}

}  // namespace taskpanel::themes
