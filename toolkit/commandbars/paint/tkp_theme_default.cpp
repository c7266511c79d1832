// The classic theme: system colours, raised and sunken one-pixel frames, a dithered checked button and
// embossed disabled items. A selected menu item is filled with the highlight colour under its highlight
// text, so that the text stays readable.
#include "toolkit/commandbars/paint/tkp_theme_default.h"

#include <algorithm>

#include "platform/classlib/win/cdc.h"
#include "toolkit/commandbars/bars/tkp_command_bar.h"
#include "toolkit/commandbars/controls/tkp_control.h"
#include "toolkit/common/gdi_guards.h"
#include "toolkit/common/tkp_image_manager.h"

IMPLEMENT_DYNAMIC(CTKPDefaultTheme, CTKPPaintManager)

// ---- highlights ------------------------------------------------------------------------------------------

void CTKPDefaultTheme::FillDither(CDC* pDC, CRect rc) {
  const WORD rows[8] = {0x55, 0xAA, 0x55, 0xAA, 0x55, 0xAA, 0x55, 0xAA};
  HBITMAP pattern = ::CreateBitmap(8, 8, 1, 1, rows);
  if (pattern == nullptr) {
    pDC->FillSolidRect(rc, GetPaintColor(COLOR_BTNHIGHLIGHT));
    return;
  }
  HBRUSH brush = ::CreatePatternBrush(pattern);
  // A one-bit pattern takes the text colour for its 0 bits and the background colour for its 1 bits.
  const COLORREF oldText = pDC->SetTextColor(GetPaintColor(COLOR_BTNFACE));
  const COLORREF oldBack = pDC->SetBkColor(GetPaintColor(COLOR_BTNHIGHLIGHT));
  ::FillRect(pDC->GetSafeHdc(), rc, brush);
  pDC->SetTextColor(oldText);
  pDC->SetBkColor(oldBack);
  ::DeleteObject(brush);
  ::DeleteObject(pattern);
}

void CTKPDefaultTheme::DrawRectangle(CDC* pDC, CRect rc, BOOL bSelected, BOOL bPressed, BOOL bEnabled,
                                     BOOL bChecked, BOOL bPopuped, BOOL /*bBarControl*/, int /*barPosition*/) {
  if (!TKPHasDC(pDC)) return;
  switch (tkptheme::ClassicShade(TKPThemeState(bEnabled, bSelected, bPressed, bChecked, bPopuped))) {
    case tkptheme::Shade::kDither:
      FillDither(pDC, rc);
      DrawSunken(pDC, rc);
      break;
    case tkptheme::Shade::kRaised:
      DrawRaised(pDC, rc);
      break;
    case tkptheme::Shade::kSunken:
      DrawSunken(pDC, rc);
      break;
    case tkptheme::Shade::kNone:
      break;
  }
}

void CTKPDefaultTheme::DrawControlEntry(CDC* pDC, CRect rc, BOOL bEnabled, BOOL bSelected, BOOL bPressed,
                                        BOOL bChecked, BOOL bPopuped, int barPosition) {
  if (!TKPHasDC(pDC)) return;
  DrawRectangle(pDC, rc, bSelected, bPressed, bEnabled, bChecked, bPopuped, TRUE, barPosition);
  const tkptheme::ControlState s = TKPThemeState(bEnabled, bSelected, bPressed, bChecked, bPopuped);
  pDC->SetTextColor(GetPaintColor(tkptheme::ClassicEntryText(s, barPosition, m_nPopupTextColor)));
  pDC->SetBkMode(TRANSPARENT);
}

void CTKPDefaultTheme::DrawSplitButtonFrame(CDC* pDC, CTKPControl* pControl, CRect rc) {
  if (!TKPHasDC(pDC) || pControl == nullptr) return;
  CTKPCommandBar* pBar = pControl->GetParent();
  const int position = pBar != nullptr ? pBar->GetPosition() : tkpBarTop;
  const BOOL popuped = pBar != nullptr && pBar->GetPopuped() == pControl->GetIndex();
  const BOOL selected = pControl->GetSelected() != 0;
  const BOOL pressed = pControl->GetPressed();
  const BOOL enabled = pControl->GetEnabled();
  DrawControlEntry(pDC, CRect(rc.left, rc.top, rc.right - 12, rc.bottom), enabled, selected || popuped, pressed,
                   pControl->GetChecked(), FALSE, position);
  const COLORREF text = pDC->GetTextColor();
  if ((selected || pressed || popuped) && enabled) {
    DrawControlEntry(pDC, CRect(rc.right - 12, rc.top, rc.right, rc.bottom), TRUE, TRUE, popuped, FALSE, FALSE,
                     position);
  }
  DrawSmallArrow(pDC, rc.right, (rc.top + rc.bottom) / 2, text);
}

// ---- icons -----------------------------------------------------------------------------------------------

void CTKPDefaultTheme::DrawImage(CDC* pDC, CPoint pt, CSize sz, CTKPImageManagerIcon* pImage, BOOL bSelected,
                                 BOOL bPressed, BOOL bEnabled, BOOL bChecked, BOOL bPopuped, BOOL /*bToolBarImage*/) {
  TKPIconLook look;
  look.faded = m_bUseFadedIcons;
  look.disabledImages = m_bUseDisabledIcons;
  look.raisedHot = m_bIconsWithShadow;
  look.themedDisabled = m_bThemedDisabledIcons;
  look.pressedOffset = TRUE;
  look.embossed = TRUE;
  look.light = GetPaintColor(COLOR_BTNHIGHLIGHT);
  look.dark = GetPaintColor(COLOR_BTNSHADOW);
  TKPDrawStateIcon(pDC, pt, sz, pImage, TKPThemeState(bEnabled, bSelected, bPressed, bChecked, bPopuped), look);
}

// ---- bars ------------------------------------------------------------------------------------------------

void CTKPDefaultTheme::FillCommandBar(CDC* pDC, CTKPCommandBar* pBar) {
  if (!TKPHasDC(pDC) || pBar == nullptr) return;
  CRect rc;
  pBar->GetClientRect(rc);
  pDC->FillSolidRect(rc, GetPaintColor(COLOR_BTNFACE));
  if (pBar->GetPosition() == tkpBarFloating || pBar->GetPosition() == tkpBarPopup) {
    Draw3dRect(pDC, rc, COLOR_BTNFACE, COLOR_3DDKSHADOW);
    rc.DeflateRect(1, 1);
  }
  DrawRaised(pDC, rc);
}

CSize CTKPDefaultTheme::DrawCommandBarGripper(CDC* pDC, CTKPCommandBar* pBar, BOOL bDraw) {
  if (pBar == nullptr) return CSize();
  if (pBar->IsDialogBar()) return DrawDialogBarGripper(pDC, pBar, bDraw);
  CRect client;
  pBar->GetClientRect(client);
  const bool draw = bDraw && TKPHasDC(pDC);
  switch (pBar->GetPosition()) {
    case tkpBarFloating:
      return TKPDrawFloatingCaption(this, pDC, pBar, bDraw, GetPaintColor(COLOR_ACTIVECAPTION));
    case tkpBarTop:
    case tkpBarBottom:
      if (draw) DrawRaised(pDC, CRect(3, 3, 6, client.Height() - 3));
      return CSize(6, 0);
    case tkpBarLeft:
    case tkpBarRight:
      if (draw) DrawRaised(pDC, CRect(3, 3, client.Width() - 3, 6));
      return CSize(0, 8);
    default:
      return CSize();
  }
}

CSize CTKPDefaultTheme::DrawDialogBarGripper(CDC* pDC, CTKPCommandBar* /*pBar*/, BOOL bDraw) {
  const CSize size(6, std::max<int>(22, GetRowHeight() + 4));
  if (bDraw && TKPHasDC(pDC)) DrawRaised(pDC, CRect(3, 3, 6, size.cy));
  return size;
}

CSize CTKPDefaultTheme::DrawCommandBarSeparator(CDC* pDC, CTKPCommandBar* pBar, CTKPControl* pControl, BOOL bDraw) {
  const bool popup = pBar != nullptr && pBar->GetType() == tkpBarTypePopup;
  if (!bDraw) return popup ? CSize(8, 8) : CSize(6, 6);
  if (!TKPHasDC(pDC) || pBar == nullptr || pControl == nullptr) return CSize();
  const CRect rc = pControl->GetRect();
  CRect client;
  pBar->GetClientRect(client);
  CRect line;
  if (popup) {
    line = CRect(client.left + 14, rc.top - 5, client.right - 14, rc.top - 3);
  } else if (pControl->GetWrap() && !TKPIsVerticalBar(pBar)) {
    line = CRect(client.left + 2, rc.top - 4, client.right - 2, rc.top - 2);
  } else if (TKPIsVerticalBar(pBar)) {
    line = pControl->GetWrap() ? CRect(rc.left - 4, client.top + 2, rc.left - 2, client.bottom - 2)
                               : CRect(rc.left, rc.top - 4, rc.right, rc.top - 2);
  } else {
    line = CRect(rc.left - 4, rc.top, rc.left - 2, rc.bottom);
  }
  DrawSunken(pDC, line);
  return CSize();
}

void CTKPDefaultTheme::AdjustControlRect(CRect& rc, CTKPControl* pControl, BOOL bVert) {
  if (pControl == nullptr || pControl->GetType() == tkpControlComboBox) return;
  CTKPCommandBar* pBar = pControl->GetParent();
  if (pBar != nullptr && pBar->GetType() == tkpBarTypePopup) {
    rc.DeflateRect(1, 0);
  } else if (bVert) {
    rc.InflateRect(0, 1);
  } else {
    rc.InflateRect(1, 0);
  }
}

CRect CTKPDefaultTheme::GetCommandBarBorders(CTKPCommandBar* pBar) {
  return pBar != nullptr && pBar->GetType() == tkpBarTypePopup ? CRect(3, 3, 3, 3) : CRect(2, 2, 2, 2);
}

CSize CTKPDefaultTheme::DrawTearOffGripper(CDC* pDC, CRect rc, BOOL bSelected, BOOL bDraw) {
  if (bDraw && TKPHasDC(pDC)) {
    pDC->FillSolidRect(CRect(rc.left, rc.top, rc.right, rc.bottom - 1),
                       GetPaintColor(bSelected ? COLOR_ACTIVECAPTION : COLOR_INACTIVECAPTION));
  }
  return CSize(0, 8);
}

CSize CTKPDefaultTheme::DrawSpecialControl(CDC* pDC, int nKind, CTKPControl* pControl, CTKPCommandBar* pBar,
                                           BOOL bDraw, CSize szParam) {
  if (bDraw && TKPHasDC(pDC) && pControl != nullptr &&
      (nKind == tkpSpecialFloatingClose || nKind == tkpSpecialFloatingOptions)) {
    const BOOL popuped = pBar != nullptr && pBar->GetPopuped() == pControl->GetIndex();
    if (pControl->GetSelected() != 0 || pControl->GetPressed() != 0 ||
        (nKind == tkpSpecialFloatingOptions && popuped)) {
      pDC->FillSolidRect(pControl->GetRect(), GetPaintColor(COLOR_BTNFACE));
    }
  }
  return CTKPPaintManager::DrawSpecialControl(pDC, nKind, pControl, pBar, bDraw, szParam);
}

// ---- menu items ------------------------------------------------------------------------------------------

void CTKPDefaultTheme::DrawControlText3D(CDC* pDC, const CString& strText, CRect rc, UINT nFormat,
                                         CTKPControl* pControl, BOOL bSelected, BOOL bPressed) {
  if (!TKPHasDC(pDC)) return;
  if (pControl == nullptr) {
    pDC->DrawText(strText, rc, nFormat | DT_CALCRECT | DT_SINGLELINE | DT_VCENTER);
    return;
  }
  const UINT format = nFormat | DT_SINGLELINE | DT_VCENTER;
  // Only a disabled caption is embossed: over an enabled one the light copy blurs the text.
  if (!bSelected && !bPressed && !pControl->GetEnabled()) {
    const COLORREF text = pDC->GetTextColor();
    CRect light = rc;
    light.OffsetRect(1, 1);
    pDC->SetTextColor(GetPaintColor(COLOR_BTNHIGHLIGHT));
    pDC->DrawText(strText, light, format);
    pDC->SetTextColor(text);
  }
  pDC->DrawText(strText, rc, format);
}

CSize CTKPDefaultTheme::DrawControlPopupParent(CDC* pDC, CTKPControl* pControl, BOOL bDraw) {
  if (pControl == nullptr || !TKPHasDC(pDC)) return CSize();
  CTKPCommandBar* pBar = pControl->GetParent();
  CTKPFontDC font(pDC, GetRegularFont(pBar, pControl->GetDefaultItem()));
  const TKPMenuItemText item = TKPMeasureMenuItem(this, pDC, pControl);
  const CSize icon = item.icon;
  const int column = std::max<int>(icon.cx + 4, GetRowHeight());
  const int columns = TKPPopupColumns(pBar);
  const int full = column * columns;
  const CSize size(item.width + full + 40, std::max<int>(icon.cy + 4, GetRowHeight()));
  if (!bDraw) return size;

  const CRect rc = pControl->GetRect();
  const BOOL enabled = pControl->GetEnabled(), checked = pControl->GetChecked();
  const int selected = pControl->GetSelected();
  const int type = pControl->GetType();
  // An item hidden by usage is drawn only while its popup shows the hidden items.
  if (pControl->IsHiddenByUsage()) {
    pDC->FillSolidRect(rc, GetPaintColor(COLOR_3DLIGHT));
  }
  // The selected item is filled so that its highlight text reads on the highlight colour.
  if (selected != 0) pDC->FillSolidRect(rc, GetPaintColor(COLOR_HIGHLIGHT));
  const COLORREF text = GetPaintColor(
      tkptheme::ClassicMenuItemText(TKPThemeState(enabled, selected, 0, checked, 0), m_nPopupTextColor));
  pDC->SetTextColor(text);
  pDC->SetBkMode(TRANSPARENT);
  // Two columns: the check mark in the first, the icon beside it in the second.
  const CRect box(rc.left + full - column, rc.top, rc.left + full, rc.bottom);
  if (checked && selected == 0) DrawRectangle(pDC, box, FALSE, FALSE, enabled, checked, FALSE, FALSE, tkpBarPopup);
  const bool drewIcon = TKPDrawMenuItemIcon(this, pDC, pControl, box, icon);
  if (checked && (columns == 2 || !drewIcon)) {
    DrawCheckMark(pDC, CRect(rc.left, rc.top, rc.left + column, rc.bottom), text, pBar != nullptr && pBar->IsLayoutRTL());
  }
  const int y = (rc.top + rc.bottom) / 2;
  if (type == tkpControlPopup || type == tkpControlButtonPopup || type == tkpControlSplitButtonPopup) {
    const BOOL popuped = pBar != nullptr && pBar->GetPopuped() == pControl->GetIndex();
    if (type == tkpControlSplitButtonPopup) {
      const CRect split(rc.right - 20, rc.top, rc.right, rc.bottom);
      if (popuped && enabled) DrawRectangle(pDC, split, TRUE, FALSE, TRUE, FALSE, FALSE, FALSE, tkpBarPopup);
      DrawRaised(pDC, CRect(rc.right - 20, rc.top + 1, rc.right - 18, rc.bottom - 1));
    }
    const int x = rc.right - 11;
    Triangle(pDC, CPoint(x, y - 3), CPoint(x + 3, y), CPoint(x, y + 3), text);
  }
  DrawControlText3D(pDC, item.caption, CRect(rc.left + full + 8, rc.top, rc.right, rc.bottom),
                    item.prefix | DT_END_ELLIPSIS, pControl, selected, FALSE);
  if (!item.shortcut.IsEmpty()) {
    DrawControlText3D(pDC, item.shortcut, CRect(rc.left, rc.top, rc.right - 19, rc.bottom), DT_RIGHT | DT_NOPREFIX,
                      pControl, selected, FALSE);
  }
  return size;
}

// ---- edits, combo boxes and the customize list ----------------------------------------------------------

CSize CTKPDefaultTheme::DrawControlComboBox(CDC* pDC, CTKPControl* pControl, BOOL bDraw) {
  return DrawField(pDC, pControl, bDraw);
}

CSize CTKPDefaultTheme::DrawControlEdit(CDC* pDC, CTKPControl* pControl, BOOL bDraw) {
  return DrawField(pDC, pControl, bDraw);
}

CSize CTKPDefaultTheme::DrawField(CDC* pDC, CTKPControl* pControl, BOOL bDraw) {
  CTKPCommandBar* pBar = pControl != nullptr ? pControl->GetParent() : nullptr;
  const CSize icon = TKPBarIconSize(pBar);
  const int column = std::max<int>(icon.cx + 4, GetRowHeight());
  TKPFieldLayout f;
  if (!TKPLayoutField(this, pDC, pControl, column, f)) return CSize();
  if (!bDraw) return f.size;
  if (f.showLabel && f.label.Width() > 0) {
    CTKPFontDC font(pDC, GetRegularFont(pBar));
    pDC->SetTextColor(GetPaintColor(f.enabled ? COLOR_BTNTEXT : COLOR_GRAYTEXT));
    pDC->SetBkMode(TRANSPARENT);
    DrawControlText3D(pDC, pControl->GetCaption(), f.label, TKPCaptionPrefix(this, pBar), pControl, FALSE, FALSE);
  }
  pDC->FillSolidRect(f.box, GetPaintColor(f.enabled ? COLOR_WINDOW : COLOR_BTNFACE));
  const int state = !f.enabled ? kFrameDisabled : f.dropped ? kFramePressed : kFrameEnabled;
  DrawButtonFrame(pDC, f.box, f.selected, state);
  if (f.combo) DrawComboDropDown(pDC, f.button, f.enabled, f.selected, f.dropped);
  return f.size;
}

void CTKPDefaultTheme::DrawButtonFrame(CDC* pDC, CRect rc, BOOL bSelected, int nState) {
  if (!TKPHasDC(pDC)) return;
  if (!bSelected) {
    rc.DeflateRect(1, 1);
    const int frame = nState == kFramePressed ? COLOR_BTNSHADOW : COLOR_BTNHIGHLIGHT;
    Draw3dRect(pDC, rc, frame, frame);
    return;
  }
  if (nState == kFrameDisabled) {
    Draw3dRect(pDC, rc, COLOR_BTNFACE, COLOR_BTNFACE);
  } else {
    DrawSunken(pDC, rc);
  }
  rc.DeflateRect(1, 1);
  Draw3dRect(pDC, rc, COLOR_BTNFACE, COLOR_BTNFACE);
}

void CTKPDefaultTheme::DrawComboDropDown(CDC* pDC, CRect rc, BOOL bEnabled, BOOL bSelected, BOOL bDropped) {
  if (!TKPHasDC(pDC)) return;
  rc.DeflateRect(1, 2, 2, 2);
  if (bEnabled) pDC->FillSolidRect(rc, GetPaintColor(COLOR_BTNFACE));
  const CRect column(rc.left - 1, rc.top, rc.left, rc.bottom);
  if (bEnabled && bDropped) {
    pDC->FillSolidRect(column, GetPaintColor(COLOR_BTNFACE));
    DrawSunken(pDC, rc);
    rc.OffsetRect(1, 1);  // the pressed button's glyph moves with it
  } else if (bEnabled && bSelected) {
    pDC->FillSolidRect(column, GetPaintColor(COLOR_BTNFACE));
    DrawRaised(pDC, rc);
  } else {
    Draw3dRect(pDC, rc, COLOR_BTNHIGHLIGHT, COLOR_BTNHIGHLIGHT);
  }
  DrawDropDownGlyph(pDC, rc, GetPaintColor(COLOR_BTNTEXT));
}

CSize CTKPDefaultTheme::DrawListBoxControl(CDC* pDC, CTKPControl* pControl, CRect rc, BOOL bSelected, BOOL bDraw,
                                           CTKPCommandBars* pCommandBars) {
  TKPListEntryLook look;
  look.text = look.selectedText = COLOR_BTNTEXT;
  look.boxBorder = look.selectedBoxBorder = COLOR_HIGHLIGHT;
  look.boxFill = COLOR_BTNFACE;
  look.glyph = look.selectedGlyph = COLOR_BTNTEXT;
  look.divider = COLOR_BTNSHADOW;
  return TKPDrawListEntry(this, pDC, pControl, rc, bSelected, bDraw, pCommandBars, look,
                          [](CTKPPaintManager* pPaint, CDC* dc, CRect entry, int) {
                            dc->FillSolidRect(entry, pPaint->GetPaintColor(COLOR_BTNFACE));
                          });
}
