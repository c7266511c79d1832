// The process's theme until the gradient themes are built: the look the main frame had, drawn through
// the paint manager's interface.
#include <algorithm>

#include "platform/classlib/win/cdc.h"
#include "toolkit/commandbars/tkp_command_bar.h"
#include "toolkit/commandbars/tkp_control.h"
#include "toolkit/commandbars/tkp_paint_manager.h"
#include "toolkit/common/draw_helpers.h"
#include "toolkit/common/gdi_guards.h"
#include "toolkit/common/tkp_image_manager.h"

IMPLEMENT_DYNAMIC(CTKPSoftGradientTheme, CTKPPaintManager)

namespace {

constexpr COLORREF kBarTop = RGB(0xFB, 0xFC, 0xFE);
constexpr COLORREF kBarBottom = RGB(0xDC, 0xE4, 0xEF);
constexpr COLORREF kBarEdge = RGB(0xB4, 0xC0, 0xD0);
constexpr COLORREF kHotTop = RGB(0xFF, 0xF4, 0xD8), kHotBottom = RGB(0xFF, 0xDC, 0x98);
constexpr COLORREF kPressedTop = RGB(0xF8, 0xC8, 0x80), kPressedBottom = RGB(0xFC, 0xE4, 0xB8);
constexpr COLORREF kHotFrame = RGB(0xD8, 0xA0, 0x48);
constexpr COLORREF kText = RGB(0x1E, 0x2A, 0x3C), kDisabledText = RGB(0x9A, 0xA2, 0xAE);

}  // namespace

void CTKPSoftGradientTheme::FillCommandBar(CDC* pDC, CTKPCommandBar* pBar) {
  CRect rc;
  pBar->GetClientRect(rc);
  TKPDrawHelpers()->GradientFill(pDC, rc, kBarTop, kBarBottom, FALSE);
  pDC->FillSolidRect(rc.left, rc.bottom - 1, rc.Width(), 1, kBarEdge);
}

void CTKPSoftGradientTheme::DrawRectangle(CDC* pDC, CRect rc, BOOL bSelected, BOOL bPressed, BOOL bEnabled,
                                          BOOL bChecked, BOOL bPopuped, BOOL /*bBarControl*/, int /*barPosition*/) {
  if (!bEnabled && !bSelected) return;
  if (bPressed || bPopuped || bChecked) {
    TKPDrawHelpers()->GradientFill(pDC, rc, kPressedTop, kPressedBottom, FALSE);
  } else if (bSelected) {
    TKPDrawHelpers()->GradientFill(pDC, rc, kHotTop, kHotBottom, FALSE);
  } else {
    return;
  }
  pDC->Draw3dRect(rc, kHotFrame, kHotFrame);
}

void CTKPSoftGradientTheme::DrawControlEntry(CDC* pDC, CRect rc, BOOL bEnabled, BOOL bSelected, BOOL bPressed,
                                             BOOL bChecked, BOOL bPopuped, int barPosition) {
  DrawRectangle(pDC, rc, bSelected, bPressed, bEnabled, bChecked, bPopuped, TRUE, barPosition);
  pDC->SetTextColor(bEnabled ? kText : kDisabledText);
  pDC->SetBkMode(TRANSPARENT);
}

CSize CTKPSoftGradientTheme::DrawControlPopupParent(CDC* pDC, CTKPControl* pControl, BOOL bDraw) {
  // A plain menu item: the check column, the caption, the shortcut at the right.
  CTKPFontDC font(pDC, GetRegularFont(pControl->GetParent(), pControl->GetDefaultItem()));
  const CSize text = DrawTextEx(pDC, pControl->GetCaption(), CRect(), FALSE, FALSE, FALSE, FALSE);
  const CSize shortcut = pDC->GetTextExtent(pControl->GetShortcutText());
  if (bDraw) {
    const CRect rc = pControl->GetRect();
    DrawControlEntry(pDC, rc, pControl->GetEnabled(), pControl->GetSelected() != 0, FALSE, FALSE, FALSE, tkpBarPopup);
    if (pControl->GetChecked()) DrawCheckMark(pDC, CRect(rc.left, rc.top, rc.left + 22, rc.bottom), pDC->GetTextColor());
    CRect rcText(rc.left + 26, rc.top, rc.right - 8, rc.bottom);
    DrawTextEx(pDC, pControl->GetCaption(), rcText, TRUE, FALSE, FALSE, FALSE);
    pDC->DrawText(pControl->GetShortcutText(), rcText, DT_SINGLELINE | DT_VCENTER | DT_RIGHT | DT_NOPREFIX);
  }
  return CSize(26 + text.cx + (shortcut.cx > 0 ? shortcut.cx + 20 : 0) + 8, std::max<int>(GetRowHeight(), text.cy + 6));
}

CSize CTKPSoftGradientTheme::DrawControlComboBox(CDC*, CTKPControl*, BOOL) { return CSize(); }
CSize CTKPSoftGradientTheme::DrawControlEdit(CDC*, CTKPControl*, BOOL) { return CSize(); }
CSize CTKPSoftGradientTheme::DrawListBoxControl(CDC*, CTKPControl*, CRect, BOOL, BOOL, CTKPCommandBars*) { return CSize(); }

CSize CTKPSoftGradientTheme::DrawCommandBarGripper(CDC*, CTKPCommandBar*, BOOL) { return CSize(); }

CSize CTKPSoftGradientTheme::DrawCommandBarSeparator(CDC* pDC, CTKPCommandBar* pBar, CTKPControl* pControl,
                                                     BOOL bDraw) {
  if (bDraw && pControl != nullptr) {
    const CRect rc = pControl->GetRect();
    const bool vertical = pBar != nullptr && (pBar->GetPosition() == tkpBarLeft || pBar->GetPosition() == tkpBarRight);
    if (vertical) {
      pDC->FillSolidRect(rc.left + 3, rc.top - 4, rc.Width() - 6, 1, kBarEdge);
    } else {
      pDC->FillSolidRect(rc.left - 4, rc.top + 3, 1, rc.Height() - 6, kBarEdge);
    }
  }
  return CSize(6, 6);
}

void CTKPSoftGradientTheme::AdjustControlRect(CRect&, CTKPControl*, BOOL) {}

CSize CTKPSoftGradientTheme::DrawTearOffGripper(CDC*, CRect, BOOL, BOOL) { return CSize(0, 9); }

void CTKPSoftGradientTheme::DrawImage(CDC* pDC, CPoint pt, CSize sz, CTKPImageManagerIcon* pImage, BOOL bSelected,
                                      BOOL /*bPressed*/, BOOL bEnabled, BOOL bChecked, BOOL /*bPopuped*/,
                                      BOOL /*bToolBarImage*/) {
  if (pImage == nullptr) return;
  if (!bEnabled) {
    pImage->Draw(pDC, pt, pImage->GetDisabledIcon(), sz);
  } else if (bChecked) {
    pImage->Draw(pDC, pt, pImage->GetCheckedIcon(), sz);
  } else {
    pImage->Draw(pDC, pt, bSelected ? pImage->GetHotIcon() : pImage->GetIcon(), sz);
  }
}

CSize CTKPSoftGradientTheme::DrawDialogBarGripper(CDC*, CTKPCommandBar*, BOOL) { return CSize(); }
