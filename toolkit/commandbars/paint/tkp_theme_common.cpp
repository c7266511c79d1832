#include "toolkit/commandbars/paint/tkp_theme_common.h"

#include <algorithm>

#include "platform/classlib/win/cdc.h"
#include "toolkit/commandbars/bars/tkp_command_bar.h"
#include "toolkit/commandbars/controls/tkp_control.h"
#include "toolkit/commandbars/paint/tkp_paint_manager.h"
#include "toolkit/common/gdi_guards.h"
#include "toolkit/common/tkp_image_manager.h"

tkptheme::ControlState TKPThemeState(BOOL bEnabled, BOOL bSelected, BOOL bPressed, BOOL bChecked, BOOL bPopuped) {
  tkptheme::ControlState s;
  s.enabled = bEnabled != FALSE;
  s.selected = static_cast<int>(bSelected);
  s.pressed = static_cast<int>(bPressed);
  s.checked = bChecked != FALSE;
  s.popuped = bPopuped != FALSE;
  return s;
}

bool TKPIsVerticalBar(CTKPCommandBar* pBar) {
  return pBar != nullptr && (pBar->GetPosition() == tkpBarLeft || pBar->GetPosition() == tkpBarRight);
}

bool TKPHasDC(CDC* pDC) { return pDC != nullptr && pDC->GetSafeHdc() != nullptr; }

void TKPDrawStateIcon(CDC* pDC, CPoint pt, CSize sz, CTKPImageManagerIcon* pImage, const tkptheme::ControlState& s,
                      const TKPIconLook& look) {
  if (!TKPHasDC(pDC) || pImage == nullptr) return;
  if (!s.enabled) {
    if (!look.disabledImages && !pImage->IsAlpha()) {
      if (look.embossed) {
        pImage->DrawMono(pDC, CPoint(pt.x + 1, pt.y + 1), pImage->GetIcon(), look.light);
        pImage->DrawMono(pDC, pt, pImage->GetIcon(), look.dark);
      } else {
        pImage->DrawMono(pDC, pt, pImage->GetIcon(), look.silhouette);
      }
      return;
    }
    if (look.themedDisabled && !pImage->HasDisabledIcon()) pImage->CreateDisabledIcon(look.light, look.dark);
    pImage->Draw(pDC, pt, pImage->GetDisabledIcon(), sz);
    return;
  }
  if (s.popuped || s.checked) {
    pImage->Draw(pDC, pt, s.checked ? pImage->GetCheckedIcon() : pImage->GetIcon(), sz);
    return;
  }
  const bool selected = s.selected != 0;
  if (!selected && s.pressed == 0) {
    pImage->Draw(pDC, pt, look.faded ? pImage->GetFadedIcon() : pImage->GetIcon(), sz);
    return;
  }
  if ((selected && s.pressed != 0) || (!selected && s.pressed == 2)) {
    const int d = look.pressedOffset ? 1 : 0;
    pImage->Draw(pDC, CPoint(pt.x + d, pt.y + d), pImage->GetHotIcon(), sz);
    return;
  }
  if (look.raisedHot && !pImage->GetShadowIcon().IsEmpty()) {
    pImage->Draw(pDC, CPoint(pt.x + 1, pt.y + 1), pImage->GetShadowIcon(), sz);
    pImage->Draw(pDC, CPoint(pt.x - 1, pt.y - 1), pImage->GetHotIcon(), sz);
  } else {
    pImage->Draw(pDC, pt, pImage->GetHotIcon(), sz);
  }
}

CSize TKPBarIconSize(CTKPCommandBar* pBar) {
  const CSize size = pBar != nullptr ? pBar->GetIconSize() : CSize(16, 16);
  return size.cx > 0 && size.cy > 0 ? size : CSize(16, 16);
}

TKPMenuItemText TKPMeasureMenuItem(CTKPPaintManager* pPaint, CDC* pDC, CTKPControl* pControl) {
  TKPMenuItemText item;
  CTKPCommandBar* pBar = pControl->GetParent();
  item.caption = pControl->GetCaption();
  item.shortcut = pControl->GetShortcutText();
  item.icon = TKPBarIconSize(pBar);
  const int override = pPaint->m_nKeyboardCues;
  const BOOL barCues = pBar != nullptr ? pBar->IsKeyboardCuesVisible() : TRUE;
  const BOOL cues = override == 0 || override == 1 ? override : barCues;
  item.prefix = cues ? 0 : DT_NOPREFIX;
  CRect measure(0, 0, 0, 0);
  pDC->DrawText(item.caption, measure, DT_SINGLELINE | DT_CALCRECT | item.prefix);
  const int keys = item.shortcut.IsEmpty() ? 0 : pDC->GetTextExtent(item.shortcut).cx;
  // The caption and the shortcut keep a gap as wide as the arrow's room apart.
  item.width = measure.Width() + (keys > 0 ? keys + 12 : 0);
  return item;
}

bool TKPDrawMenuItemIcon(CTKPPaintManager* pPaint, CDC* pDC, CTKPControl* pControl, CRect box, CSize icon) {
  CTKPImageManagerIcon* pIcon = pControl->GetImage(icon.cx);
  if (pIcon == nullptr) return false;
  CSize sz = icon;
  if (pIcon->GetWidth() > 0) sz.cy = pIcon->GetHeight() * sz.cx / pIcon->GetWidth();
  const CPoint at(box.left + (box.Width() - sz.cx) / 2, box.top + (box.Height() - sz.cy) / 2);
  pPaint->DrawImage(pDC, at, sz, pIcon, pControl->GetSelected(), FALSE, pControl->GetEnabled(), pControl->GetChecked(),
                    FALSE, FALSE);
  return true;
}

CSize TKPDrawFloatingCaption(CTKPPaintManager* pPaint, CDC* pDC, CTKPCommandBar* pBar, BOOL bDraw, COLORREF clrStrip) {
  if (!TKPHasDC(pDC) || pBar == nullptr) return CSize();
  CRect client(0, 0, 0, 0);
  if (pBar->m_hWnd != nullptr) pBar->GetClientRect(client);
  CTKPFontDC font(pDC, pPaint->GetSmallCaptionFont());
  const int height = std::max<int>(15, pDC->GetTextExtent(CString(_T(" "))).cy);
  if (bDraw) {
    const CRect strip(3, 3, client.Width() - 3, height + 3);
    pDC->FillSolidRect(strip, clrStrip);
    // The caption buttons take the strip's right end.
    CRect text(5, 3, strip.right - 2 * strip.Height(), strip.bottom);
    pDC->SetTextColor(pPaint->GetPaintColor(COLOR_BTNHIGHLIGHT));
    pDC->SetBkMode(TRANSPARENT);
    pDC->DrawText(pBar->GetTitle(), text, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
  }
  return CSize(client.Width() - 6, height);
}

CTKPSavedDC::CTKPSavedDC(CDC* pDC) : m_pDC(pDC), m_nSaved(pDC->SaveDC()) {}
CTKPSavedDC::~CTKPSavedDC() { m_pDC->RestoreDC(m_nSaved); }
