// The flat theme: highlights as a frame over a fill, a coloured icon column in menus, short line grippers.
#include "toolkit/commandbars/paint/tkp_theme_flat.h"

#include <algorithm>

#include "platform/classlib/win/cdc.h"
#include "toolkit/commandbars/bars/tkp_command_bar.h"
#include "toolkit/commandbars/frame/tkp_command_bars.h"
#include "toolkit/commandbars/frame/tkp_command_bars_options.h"
#include "toolkit/commandbars/controls/tkp_control.h"
#include "toolkit/common/gdi_guards.h"
#include "toolkit/common/tkp_image_manager.h"

IMPLEMENT_DYNAMIC(CTKPFlatTheme, CTKPPaintManager)

CTKPFlatTheme::CTKPFlatTheme() {
  m_bUseFadedIcons = TRUE;
  m_bUseDisabledIcons = TRUE;
  m_bIconsWithShadow = TRUE;
  m_bThemedDisabledIcons = TRUE;
}

// ---- highlights ------------------------------------------------------------------------------------

void CTKPFlatTheme::DrawRectangle(CDC* pDC, CRect rc, BOOL bSelected, BOOL bPressed, BOOL bEnabled, BOOL bChecked,
                                  BOOL bPopuped, BOOL /*bBarControl*/, int barPosition) {
  const tkptheme::BorderFill look =
      tkptheme::FlatHighlight(TKPThemeState(bEnabled, bSelected, bPressed, bChecked, bPopuped), barPosition);
  if (look.border != -1 || look.fill != -1) Rectangle(pDC, rc, look.border, look.fill);
}

void CTKPFlatTheme::DrawControlEntry(CDC* pDC, CRect rc, BOOL bEnabled, BOOL bSelected, BOOL bPressed,
                                     BOOL bChecked, BOOL bPopuped, int barPosition) {
  if (!TKPHasDC(pDC)) return;
  DrawRectangle(pDC, rc, bSelected, bPressed, bEnabled, bChecked, bPopuped, TRUE, barPosition);
  const tkptheme::ControlState s = TKPThemeState(bEnabled, bSelected, bPressed, bChecked, bPopuped);
  pDC->SetTextColor(GetPaintColor(tkptheme::FlatEntryText(s, barPosition)));
  pDC->SetBkMode(TRANSPARENT);
}

void CTKPFlatTheme::FillIconColumn(CDC* pDC, int x, int y, int cx, int cy, BOOL bExpanded) {
  if (TKPHasDC(pDC)) pDC->FillSolidRect(x, y, cx, cy, GetPaintColor(bExpanded ? 42 : 30));
}

// ---- icons -------------------------------------------------------------------------------------------

void CTKPFlatTheme::DrawImage(CDC* pDC, CPoint pt, CSize sz, CTKPImageManagerIcon* pImage, BOOL bSelected,
                              BOOL bPressed, BOOL bEnabled, BOOL bChecked, BOOL bPopuped, BOOL /*bToolBarImage*/) {
  TKPIconLook look;
  look.faded = m_bUseFadedIcons;
  look.disabledImages = m_bUseDisabledIcons;
  look.raisedHot = m_bIconsWithShadow;
  look.themedDisabled = m_bThemedDisabledIcons;
  look.silhouette = GetPaintColor(40);
  look.light = m_clrDisabledIcon.clrLight;
  look.dark = m_clrDisabledIcon.clrDark;
  TKPDrawStateIcon(pDC, pt, sz, pImage, TKPThemeState(bEnabled, bSelected, bPressed, bChecked, bPopuped), look);
}

// ---- bars ----------------------------------------------------------------------------------------------

int CTKPFlatTheme::PopupIconColumnWidth(CTKPCommandBar* pBar) {
  const int column = std::max<int>(TKPBarIconSize(pBar).cx + 4, GetRowHeight() + 4);
  return column * TKPPopupColumns(pBar) + 1;
}

void CTKPFlatTheme::FillPopupGap(CDC* pDC, CTKPCommandBar* pBar, int nColor) {
  // The control that opened the popup is the one its parent bar has popped up.
  CTKPCommandBar* pOpenerBar = pBar->GetParentCommandBar();
  if (pBar->m_hWnd == nullptr || pOpenerBar == nullptr || pOpenerBar->m_hWnd == nullptr) return;
  CTKPControl* pOpener = pOpenerBar->GetControl(pOpenerBar->GetPopuped());
  if (pOpener == nullptr) return;
  CRect opener = pOpener->GetRect();
  pOpenerBar->ClientToScreen(opener);
  CRect window;
  pBar->GetWindowRect(window);
  CRect gap;
  if (!gap.IntersectRect(window, opener)) return;
  pBar->ScreenToClient(gap);
  if (gap.Width() > 1) gap.DeflateRect(1, 0);
  if (gap.Height() > 1) gap.DeflateRect(0, 1);
  pDC->FillSolidRect(gap, GetPaintColor(nColor));
}

void CTKPFlatTheme::FillCommandBar(CDC* pDC, CTKPCommandBar* pBar) {
  if (!TKPHasDC(pDC) || pBar == nullptr) return;
  CRect rc;
  pBar->GetClientRect(rc);
  const int position = pBar->GetPosition();
  const int type = pBar->GetType();
  if (position == tkpBarFloating) {
    CTKPPenDC pen(pDC->GetSafeHdc(), GetPaintColor(43));
    CTKPBrushDC brush(pDC->GetSafeHdc(), GetPaintColor(type == tkpBarTypeMenuBar ? 15 : 30));
    pDC->Rectangle(rc);
    rc.DeflateRect(1, 1);
    pDC->Rectangle(rc);
    rc.InflateRect(1, 1);
    const COLORREF corner = GetPaintColor(43);
    pDC->SetPixel(2, 2, corner);
    pDC->SetPixel(rc.right - 2, 2, corner);
    pDC->SetPixel(2, rc.bottom - 2, corner);
    pDC->SetPixel(rc.right - 2, rc.bottom - 2, corner);
  } else if (position == tkpBarPopup) {
    Rectangle(pDC, rc, 43, 41);
    if (type == tkpBarTypePopup) FillIconColumn(pDC, 1, 2, PopupIconColumnWidth(pBar), rc.Height() - 4, FALSE);
    FillPopupGap(pDC, pBar, 30);
  } else if (type == tkpBarTypeMenuBar) {
    pDC->FillSolidRect(rc, GetPaintColor(15));
  } else {
    Rectangle(pDC, rc, 15, 30);
    const COLORREF corner = GetPaintColor(15);
    pDC->SetPixel(1, 1, corner);
    pDC->SetPixel(rc.right - 2, 1, corner);
    pDC->SetPixel(1, rc.bottom - 2, corner);
    pDC->SetPixel(rc.right - 2, rc.bottom - 2, corner);
  }
}

CSize CTKPFlatTheme::DrawCommandBarGripper(CDC* pDC, CTKPCommandBar* pBar, BOOL bDraw) {
  if (pBar == nullptr) return CSize();
  if (pBar->IsDialogBar()) return DrawDialogBarGripper(pDC, pBar, bDraw);
  CRect client;
  pBar->GetClientRect(client);
  switch (pBar->GetPosition()) {
    case tkpBarFloating:
      return TKPDrawFloatingCaption(this, pDC, pBar, bDraw, GetPaintColor(16));
    case tkpBarTop:
    case tkpBarBottom:
      if (bDraw && TKPHasDC(pDC) && client.Height() > 10) {
        for (int y = 5; y < client.Height() - 5; y += 2) Line(pDC, 3, y, 6, y, 38);
      }
      return CSize(6, 0);
    case tkpBarLeft:
    case tkpBarRight:
      if (bDraw && TKPHasDC(pDC)) {
        for (int x = 5; x < client.Width() - 5; x += 2) Line(pDC, x, 3, x, 6, 38);
      }
      return CSize(0, 8);
    default:
      return CSize();
  }
}

CSize CTKPFlatTheme::DrawDialogBarGripper(CDC* pDC, CTKPCommandBar* /*pBar*/, BOOL bDraw) {
  const CSize size(6, std::max<int>(22, GetRowHeight() + 4));
  if (bDraw && TKPHasDC(pDC)) {
    for (int y = 6; y < size.cy - 2; y += 2) Line(pDC, 3, y, 6, y, 38);
  }
  return size;
}

bool CTKPFlatTheme::SeparatorLine(CTKPCommandBar* pBar, CTKPControl* pControl, CPoint& from, CPoint& to) {
  if (pControl == nullptr || pBar == nullptr) return false;
  const CRect rc = pControl->GetRect();
  if (pBar->GetType() == tkpBarTypePopup) {
    CRect client;
    pBar->GetClientRect(client);
    from = CPoint(PopupIconColumnWidth(pBar) + 9, rc.top - 2);
    to = CPoint(client.right, rc.top - 2);
    return true;
  }
  // A control that starts a new row gets its line across the bar above it, clear of the row's ends.
  const CRect row = pControl->GetRowRect();
  const bool wrap = pControl->GetWrap() != FALSE;
  if (TKPIsVerticalBar(pBar)) {
    from = wrap ? CPoint(rc.left - 4, row.top + 2) : CPoint(rc.left, rc.top - 4);
    to = wrap ? CPoint(rc.left - 4, row.bottom - 2) : CPoint(rc.right, rc.top - 4);
  } else {
    from = wrap ? CPoint(row.left + 2, rc.top - 4) : CPoint(rc.left - 4, rc.top);
    to = wrap ? CPoint(row.right - 2, rc.top - 4) : CPoint(rc.left - 4, rc.bottom);
  }
  return true;
}

CSize CTKPFlatTheme::DrawCommandBarSeparator(CDC* pDC, CTKPCommandBar* pBar, CTKPControl* pControl, BOOL bDraw) {
  const bool popup = pBar != nullptr && pBar->GetType() == tkpBarTypePopup;
  if (!bDraw) return popup ? CSize(3, 3) : CSize(6, 6);
  CPoint from, to;
  if (TKPHasDC(pDC) && SeparatorLine(pBar, pControl, from, to)) Line(pDC, from.x, from.y, to.x, to.y, 39);
  return CSize();
}

void CTKPFlatTheme::AdjustControlRect(CRect& rc, CTKPControl* pControl, BOOL bVert) {
  if (pControl == nullptr) return;
  CTKPCommandBar* pBar = pControl->GetParent();
  if (pBar != nullptr && pBar->GetType() == tkpBarTypePopup) {
    rc.InflateRect(1, 0);
  } else if (pControl->GetType() != tkpControlComboBox) {
    if (bVert) {
      rc.DeflateRect(1, 0);
    } else {
      rc.DeflateRect(0, 1);
    }
  }
}

void CTKPFlatTheme::DrawStatusBarPaneBorder(CDC* pDC, CRect rc, BOOL /*bGripperPane*/) { Draw3dRect(pDC, rc, 16, 16); }

CSize CTKPFlatTheme::DrawTearOffGripper(CDC* pDC, CRect rc, BOOL bSelected, BOOL bDraw) {
  if (!bDraw || !TKPHasDC(pDC)) return CSize(0, 9);
  CRect strip(rc.left + 1, rc.top + 1, rc.right + 1, rc.bottom + 1);
  pDC->FillSolidRect(strip, GetPaintColor(41));
  strip.DeflateRect(1, 1);
  const int length = std::min<int>(32, strip.Width());
  const int x = strip.left + (strip.Width() - length) / 2;
  if (bSelected) {
    Rectangle(pDC, strip, 32, 31);
    for (int y : {4, 6}) Line(pDC, x, rc.top + y, x + length, rc.top + y, 45);
  } else {
    pDC->FillSolidRect(strip, GetPaintColor(30));
    for (int y : {3, 5, 7}) Line(pDC, x, rc.top + y, x + length, rc.top + y, 38);
  }
  return CSize(0, 9);
}

// ---- menu items ----------------------------------------------------------------------------------------

CSize CTKPFlatTheme::DrawControlPopupParent(CDC* pDC, CTKPControl* pControl, BOOL bDraw) {
  return DrawMenuItem(pDC, pControl, bDraw);
}

CSize CTKPFlatTheme::DrawMenuItem(CDC* pDC, CTKPControl* pControl, BOOL bDraw) {
  if (pControl == nullptr || !TKPHasDC(pDC)) return CSize();
  CTKPCommandBar* pBar = pControl->GetParent();
  CTKPFontDC font(pDC, GetRegularFont(pBar, pControl->GetDefaultItem()));
  const TKPMenuItemText item = TKPMeasureMenuItem(this, pDC, pControl);
  const CSize icon = item.icon;
  const int column = std::max<int>(icon.cx + 4, GetRowHeight() + 4);
  const int columns = TKPPopupColumns(pBar);
  const int full = column * columns;
  const CSize size(item.width + full + 40, std::max<int>(icon.cy + 6, GetRowHeight()));
  if (!bDraw) return size;

  const CRect rc = pControl->GetRect();
  const BOOL enabled = pControl->GetEnabled(), checked = pControl->GetChecked();
  const int selected = pControl->GetSelected();
  const int type = pControl->GetType();
  // An item hidden by usage is drawn only while its popup shows the hidden items.
  if (pControl->IsHiddenByUsage()) {
    FillIconColumn(pDC, 1, rc.top, full + 1, rc.Height(), TRUE);
  }
  if (type == tkpControlLabel) {
    pDC->FillSolidRect(CRect(rc.left + full + 3, rc.top, rc.right, rc.bottom), GetPaintColor(56));
  } else {
    DrawRectangle(pDC, rc, selected, FALSE, enabled, FALSE, FALSE, FALSE, tkpBarPopup);
  }
  // Two columns: the check mark in the first, the icon beside it in the second.
  const CRect box(rc.left + full - column, rc.top, rc.left + full, rc.bottom);
  const CRect checkBox(rc.left, rc.top, rc.left + column, rc.bottom);
  if (checked) DrawRectangle(pDC, box, selected, FALSE, enabled, checked, FALSE, FALSE, tkpBarPopup);
  const bool drewIcon = TKPDrawMenuItemIcon(this, pDC, pControl, box, icon);
  if (checked && (columns == 2 || !drewIcon)) {
    DrawCheckMark(pDC, checkBox, selected != 0 ? RGB(0, 0, 0) : GetPaintColor(40),
                  pBar != nullptr && pBar->IsLayoutRTL());
  }
  const COLORREF text = GetPaintColor(tkptheme::FlatMenuItemText(TKPThemeState(enabled, selected, 0, checked, 0)));
  pDC->SetTextColor(text);
  pDC->SetBkMode(TRANSPARENT);
  const int y = (rc.top + rc.bottom) / 2;
  if (type == tkpControlPopup || type == tkpControlButtonPopup || type == tkpControlSplitButtonPopup) {
    COLORREF arrow = text;
    if (type == tkpControlSplitButtonPopup && enabled) {
      const BOOL popuped = pBar != nullptr && pBar->GetPopuped() == pControl->GetIndex();
      if (selected != 0 && popuped) {
        Rectangle(pDC, CRect(rc.right - 20, rc.top, rc.right, rc.bottom), 32, 33);
        arrow = GetPaintColor(47);
      }
      Line(pDC, rc.right - 20, rc.top + 1, rc.right - 20, rc.bottom - 1, selected != 0 ? 32 : 16);
    }
    const int x = rc.right - 11;
    Triangle(pDC, CPoint(x, y - 3), CPoint(x + 3, y), CPoint(x, y + 3), arrow);
  }
  CRect rcText(rc.left + full + 8, rc.top, rc.right, rc.bottom);
  pDC->DrawText(item.caption, rcText, DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS | item.prefix);
  if (!item.shortcut.IsEmpty()) {
    CRect rcKeys(rc.left, rc.top, rc.right - 19, rc.bottom);
    pDC->DrawText(item.shortcut, rcKeys, DT_RIGHT | DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
  }
  return size;
}

// ---- edits, combo boxes and the customize list -------------------------------------------------------

// The edit and combo-box controls lay out and draw their label, box and button themselves.
CSize CTKPFlatTheme::DrawControlComboBox(CDC* pDC, CTKPControl* pControl, BOOL bDraw) {
  return DrawField(pDC, pControl, bDraw);
}

CSize CTKPFlatTheme::DrawControlEdit(CDC* pDC, CTKPControl* pControl, BOOL bDraw) {
  return DrawField(pDC, pControl, bDraw);
}

CSize CTKPFlatTheme::DrawField(CDC* pDC, CTKPControl* pControl, BOOL bDraw) {
  CTKPCommandBar* pBar = pControl != nullptr ? pControl->GetParent() : nullptr;
  const int column = pBar != nullptr && pBar->GetType() == tkpBarTypePopup ? PopupIconColumnWidth(pBar) : 0;
  TKPFieldLayout f;
  if (!TKPLayoutField(this, pDC, pControl, column, f)) return CSize();
  if (!bDraw) return f.size;
  // The label.
  if (f.popup) {
    if (f.selected) {
      DrawRectangle(pDC, pControl->GetRect(), f.selection != 0 ? f.selection : TRUE, FALSE, f.enabled, FALSE, FALSE,
                    FALSE, tkpBarPopup);
    }
    pDC->SetTextColor(GetPaintColor(!f.enabled ? 35 : f.selected ? 45 : 44));
  } else {
    pDC->SetTextColor(GetPaintColor(f.enabled ? 46 : 60));
  }
  TKPDrawFieldLabel(this, pDC, pControl, f);
  // The box.
  CRect box = f.box;
  if (!f.enabled) {
    box.left += 1;
    Rectangle(pDC, box, f.selection == 2 ? 32 : 40, COLOR_BTNFACE);
  } else {
    CRect inner = box;
    inner.DeflateRect(1, 1);
    pDC->FillSolidRect(inner, GetPaintColor(COLOR_WINDOW));
    if (f.selected) {
      Rectangle(pDC, box, 32, COLOR_WINDOW);
    } else if (f.popup) {
      Rectangle(pDC, box, 53, -1);
    }
  }
  if (!f.combo) return f.size;
  // The drop-down button.
  if (f.selected) {
    Rectangle(pDC, f.button, 32, f.dropped ? 33 : 31);
  } else if (f.popup) {
    // On a menu the button keeps its face even while the box is greyed, so the field still reads as a list.
    Rectangle(pDC, f.button, COLOR_WINDOW, 53);
  }
  const int glyph = !f.enabled ? 40 : f.dropped ? 47 : f.selected ? 45 : 46;
  DrawDropDownGlyph(pDC, f.button, GetPaintColor(glyph));
  return f.size;
}

CSize CTKPFlatTheme::DrawListBoxControl(CDC* pDC, CTKPControl* pControl, CRect rc, BOOL bSelected, BOOL bDraw,
                                        CTKPCommandBars* pCommandBars) {
  TKPListEntryLook look;
  look.text = 44;
  look.selectedText = 45;
  look.boxBorder = COLOR_BTNFACE;
  look.selectedBoxBorder = 32;
  look.boxFill = COLOR_WINDOW;
  look.glyph = 46;
  look.selectedGlyph = 45;
  look.divider = COLOR_BTNSHADOW;
  return TKPDrawListEntry(this, pDC, pControl, rc, bSelected, bDraw, pCommandBars, look,
                          [](CTKPPaintManager* pPaint, CDC* dc, CRect entry, int column) {
                            dc->FillSolidRect(entry, pPaint->GetPaintColor(41));
                            static_cast<CTKPFlatTheme*>(pPaint)->FillIconColumn(dc, 0, entry.top, column + 1,
                                                                                 entry.Height(), FALSE);
                          });
}
