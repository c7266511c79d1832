#include "toolkit/commandbars/paint/tkp_theme_common.h"

#include <algorithm>

#include "platform/classlib/win/cdc.h"
#include "toolkit/commandbars/bars/tkp_command_bar.h"
#include "toolkit/commandbars/bars/tkp_popup_bar.h"
#include "toolkit/commandbars/frame/tkp_command_bars.h"
#include "toolkit/commandbars/frame/tkp_command_bars_options.h"
#include "toolkit/commandbars/controls/tkp_control.h"
#include "toolkit/commandbars/controls/tkp_control_combo_box.h"
#include "toolkit/commandbars/controls/tkp_control_edit.h"
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

int TKPPopupColumns(CTKPCommandBar* pBar) {
  const auto* popup = dynamic_cast<const CTKPPopupBar*>(pBar);
  return popup != nullptr && popup->IsDoubleGripper() ? 2 : 1;
}

UINT TKPCaptionPrefix(CTKPPaintManager* pPaint, CTKPCommandBar* pBar) {
  const int override = pPaint->m_nKeyboardCues;
  const BOOL barCues = pBar != nullptr ? pBar->IsKeyboardCuesVisible() : TRUE;
  const BOOL cues = override == 0 || override == 1 ? override : barCues;
  return cues ? 0 : DT_NOPREFIX;
}

TKPMenuItemText TKPMeasureMenuItem(CTKPPaintManager* pPaint, CDC* pDC, CTKPControl* pControl) {
  TKPMenuItemText item;
  CTKPCommandBar* pBar = pControl->GetParent();
  item.caption = pControl->GetCaption();
  item.shortcut = pControl->GetShortcutText();
  item.icon = TKPBarIconSize(pBar);
  item.prefix = TKPCaptionPrefix(pPaint, pBar);
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

bool TKPLayoutField(CTKPPaintManager* pPaint, CDC* pDC, CTKPControl* pControl, int nIconColumn, TKPFieldLayout& f) {
  if (pControl == nullptr || !TKPHasDC(pDC)) return false;
  auto* edit = tkp_field::KindOf<CTKPControlEdit>(pControl);
  auto* combo = tkp_field::KindOf<CTKPControlComboBox>(pControl);
  if (edit == nullptr && combo == nullptr) return false;
  CTKPCommandBar* pBar = pControl->GetParent();
  f.popup = pBar != nullptr && pBar->GetType() == tkpBarTypePopup;
  f.combo = combo != nullptr;
  f.enabled = pControl->GetEnabled();
  f.selection = pControl->GetSelected();
  f.dropped = combo != nullptr && combo->IsDroppedDown();
  f.selected = f.enabled && (f.selection != 0 || pControl->IsFocused() || f.dropped);
  f.showLabel = f.popup || pControl->IsCaptionVisible();
  CSize label;
  {
    CTKPFontDC font(pDC, pPaint->GetRegularFont(pBar));
    label = pPaint->DrawTextEx(pDC, pControl->GetCaption(), CRect(), FALSE, FALSE, FALSE, FALSE);
  }
  int blank = 0;
  {
    CTKPFontDC font(pDC, pPaint->GetIconTitleFont());
    blank = pDC->GetTextExtent(CString(_T(" "))).cy;
  }
  f.labelWidth = f.popup ? nIconColumn + 12 + label.cx : (f.showLabel ? label.cx + 5 : 0);
  const int button = combo != nullptr ? combo->GetButtonWidth() : 0;
  if (edit != nullptr) {
    edit->SetLabelWidth(f.labelWidth);
  } else {
    combo->SetLabelWidth(f.labelWidth, button);
  }
  const int width = edit != nullptr ? edit->GetWidth() : combo->GetWidth();
  f.size = CSize(f.labelWidth + width, std::max<int>(blank + 1, label.cy) + 7);
  const CRect rc = pControl->GetRect();
  f.label = CRect(rc.left + (f.popup ? nIconColumn + 7 : 2), rc.top, rc.left + f.labelWidth, rc.bottom);
  f.box = CRect(rc.left + f.labelWidth, rc.top + 1, rc.right, rc.bottom - 1);
  if (f.combo) f.button = CRect(f.box.right - button, f.box.top, f.box.right, f.box.bottom);
  return true;
}

void TKPDrawFieldLabel(CTKPPaintManager* pPaint, CDC* pDC, CTKPControl* pControl, const TKPFieldLayout& field) {
  if (!field.showLabel || field.label.Width() <= 0) return;
  CTKPFontDC font(pDC, pPaint->GetRegularFont(pControl->GetParent()));
  pDC->SetBkMode(TRANSPARENT);
  CRect label = field.label;
  pDC->DrawText(pControl->GetCaption(), label,
                DT_SINGLELINE | DT_VCENTER | TKPCaptionPrefix(pPaint, pControl->GetParent()));
}

CSize TKPDrawListEntry(CTKPPaintManager* pPaint, CDC* pDC, CTKPControl* pControl, CRect rc, BOOL bSelected,
                       BOOL bDraw, CTKPCommandBars* pCommandBars, const TKPListEntryLook& look,
                       TKPListEntryBackground background) {
  if (pControl == nullptr || !TKPHasDC(pDC)) return CSize();
  CSize icon(16, 16);
  if (pCommandBars != nullptr && pCommandBars->GetCommandBarsOptions() != nullptr) {
    const CSize options = pCommandBars->GetCommandBarsOptions()->szIcons;
    if (options.cx > 0 && options.cy > 0) icon = options;
  }
  const int row = pPaint->GetRowHeight();
  const int height = std::max<int>(icon.cy + 6, row);
  const int column = std::max<int>(icon.cx + 4, row + 4);
  if (!bDraw) return CSize(rc.Width(), height);
  background(pPaint, pDC, rc, column);
  if (bSelected) pPaint->DrawRectangle(pDC, rc, TRUE, FALSE, TRUE, FALSE, FALSE, FALSE, tkpBarPopup);
  if (CTKPImageManagerIcon* pIcon = pControl->GetImage(icon.cx)) {
    pPaint->DrawImage(pDC, CPoint(rc.left + (column - icon.cx) / 2, rc.top + (rc.Height() - icon.cy) / 2), icon,
                      pIcon, bSelected, FALSE, TRUE, FALSE, FALSE, FALSE);
  }
  const COLORREF text = pPaint->GetPaintColor(bSelected ? look.selectedText : look.text);
  pDC->SetTextColor(text);
  pDC->SetBkMode(TRANSPARENT);
  CTKPFontDC font(pDC, pPaint->GetRegularFont(nullptr));
  CRect rcText(rc.left + column + 8, rc.top, rc.right, rc.bottom);
  const int type = pControl->GetType();
  const bool field = type == tkpControlEdit || type == tkpControlComboBox;
  // The small box of a field keeps 60 pixels at the right.
  if (field) rcText.right -= 60;
  // A caption taken from a command's prompt keeps the spaces around its "\n" (" Load Snapshot"): the
  // entries' texts start in one column whatever spaces their captions carry.
  CString caption = pControl->GetCaption();
  caption.TrimLeft(_T(' '));
  caption.TrimRight(_T(' '));
  pDC->DrawText(caption, rcText, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
  const int y = (rc.top + rc.bottom) / 2;
  if (type == tkpControlPopup || type == tkpControlButtonPopup || type == tkpControlSplitButtonPopup) {
    pPaint->Triangle(pDC, CPoint(rc.right - 12, y - 3), CPoint(rc.right - 9, y), CPoint(rc.right - 12, y + 3), text);
    if (type == tkpControlSplitButtonPopup) {
      pPaint->Line(pDC, rc.right - 20, rc.top + 1, rc.right - 20, rc.bottom - 1, look.divider);
    }
  }
  if (field) {
    const CRect box(rc.right - 56, rc.top + 2, rc.right - 4, rc.bottom - 2);
    pPaint->Rectangle(pDC, box, bSelected ? look.selectedBoxBorder : look.boxBorder, look.boxFill);
    if (type == tkpControlComboBox) {
      pPaint->DrawDropDownGlyph(pDC, CRect(box.right - 12, box.top, box.right, box.bottom),
                                pPaint->GetPaintColor(bSelected ? look.selectedGlyph : look.glyph));
    }
  }
  return CSize(rc.Width(), height);
}

CTKPSavedDC::CTKPSavedDC(CDC* pDC) : m_pDC(pDC), m_nSaved(pDC->SaveDC()) {}
CTKPSavedDC::~CTKPSavedDC() { m_pDC->RestoreDC(m_nSaved); }
