// The drawing every theme shares: primitives over the colour table, captions with mnemonics, a control
// on a toolbar, split buttons, the toolkit's own small buttons, status-bar borders and grip, base fills
// and the popup animations.
#include <algorithm>

#include "platform/classlib/win/cdc.h"
#include "platform/classlib/win/cwnd.h"
#include "toolkit/commandbars/paint/paint_geometry.h"
#include "toolkit/commandbars/bars/tkp_command_bar.h"
#include "toolkit/commandbars/controls/tkp_control.h"
#include "toolkit/commandbars/controls/tkp_controls.h"
#include "toolkit/commandbars/bars/tkp_dock_bar.h"
#include "toolkit/commandbars/paint/tkp_paint_manager.h"
#include "toolkit/commandbars/bars/tkp_status_bar.h"
#include "toolkit/common/draw_helpers.h"
#include "toolkit/common/gdi_guards.h"
#include "toolkit/common/text_mnemonics.h"
#include "toolkit/common/tkp_image_manager.h"

namespace {

bool IsVerticalPosition(int position) { return position == tkpBarLeft || position == tkpBarRight; }

void PolylineOf(CDC* pDC, const tkppaint::Polyline3& line) {
  const POINT points[3] = {{line[0].x, line[0].y}, {line[1].x, line[1].y}, {line[2].x, line[2].y}};
  pDC->Polyline(points, 3);
}

bool HasDC(CDC* pDC) { return pDC != nullptr && pDC->GetSafeHdc() != nullptr; }

}  // namespace

// ---- primitives ----------------------------------------------------------------------------------

void CTKPPaintManager::Triangle(CDC* pDC, CPoint pt0, CPoint pt1, CPoint pt2, COLORREF clr) {
  if (HasDC(pDC)) CTKPDrawHelpers::Triangle(pDC, pt0, pt1, pt2, clr);
}

void CTKPPaintManager::Rectangle(CDC* pDC, CRect rc, int nBorder, int nFill) {
  if (!HasDC(pDC)) return;
  if (nFill != -1) pDC->FillSolidRect(rc, GetPaintColor(nFill));
  if (nBorder != nFill && nBorder != -1) pDC->Draw3dRect(rc, GetPaintColor(nBorder), GetPaintColor(nBorder));
}

void CTKPPaintManager::Draw3dRect(CDC* pDC, CRect rc, int nTopLeft, int nBottomRight) {
  if (HasDC(pDC)) pDC->Draw3dRect(rc, GetPaintColor(nTopLeft), GetPaintColor(nBottomRight));
}

void CTKPPaintManager::Line(CDC* pDC, int x0, int y0, int x1, int y1) {
  if (!HasDC(pDC)) return;
  pDC->MoveTo(x0, y0);
  pDC->LineTo(x1, y1);
}

void CTKPPaintManager::Line(CDC* pDC, int x0, int y0, int x1, int y1, int nPen) {
  if (!HasDC(pDC)) return;
  CTKPPenDC pen(pDC->GetSafeHdc(), GetPaintColor(nPen));
  Line(pDC, x0, y0, x1, y1);
}

void CTKPPaintManager::ExcludeCorners(CDC* pDC, CRect rc) {
  if (!HasDC(pDC)) return;
  pDC->ExcludeClipRect(rc.left, rc.top, rc.left + 1, rc.top + 1);
  pDC->ExcludeClipRect(rc.right - 1, rc.top, rc.right, rc.top + 1);
  pDC->ExcludeClipRect(rc.left, rc.bottom - 1, rc.left + 1, rc.bottom);
  pDC->ExcludeClipRect(rc.right - 1, rc.bottom - 1, rc.right, rc.bottom);
}

void CTKPPaintManager::GradientFill(CDC* pDC, CRect rc, COLORREF clrFrom, COLORREF clrTo, BOOL bHorz, CRect rcClip) {
  if (HasDC(pDC)) TKPDrawHelpers()->GradientFillClipped(pDC, rc, clrFrom, clrTo, bHorz, rcClip);
}

void CTKPPaintManager::DrawCheckMark(CDC* pDC, CRect rc, COLORREF clr, BOOL bLayoutRTL) {
  if (!HasDC(pDC)) return;
  CTKPPenDC pen(pDC->GetSafeHdc(), clr);
  const int passes = m_bThickCheckMark ? 2 : 1;
  for (int pass = 0; pass < passes; ++pass) {
    CRect at = rc;
    at.OffsetRect(0, pass);
    for (const tkppaint::Polyline3& stroke : tkppaint::CheckMark(at, bLayoutRTL != FALSE)) PolylineOf(pDC, stroke);
  }
}

void CTKPPaintManager::DrawDropDownGlyph(CDC* pDC, CRect rc, COLORREF clr) {
  const tkppaint::Triangle3 t = tkppaint::DropDownGlyph(rc);
  Triangle(pDC, t[0], t[1], t[2], clr);
}

void CTKPPaintManager::DrawSmallArrow(CDC* pDC, int right, int y, COLORREF clr) {
  const tkppaint::Triangle3 t = tkppaint::SmallArrow(right, y);
  Triangle(pDC, t[0], t[1], t[2], clr);
}

// ---- captions ------------------------------------------------------------------------------------

BOOL CTKPPaintManager::ShowsKeyboardCues(BOOL bCallerWants) const {
  return m_nKeyboardCues == 0 || m_nKeyboardCues == 1 ? m_nKeyboardCues : bCallerWants;
}

CSize CTKPPaintManager::DrawTextEx(CDC* pDC, CString strText, CRect rcText, BOOL bDraw, BOOL bVert, BOOL bCentered,
                                   BOOL bTriangle, BOOL bEmbossed, BOOL bShowKeyboardCues) {
  if (!HasDC(pDC)) return CSize();
  const BOOL cues = ShowsKeyboardCues(bShowKeyboardCues);
  const CString stripped = StripMnemonics(strText);
  const CSize extent = pDC->GetTextExtent(stripped.IsEmpty() ? CString(_T(" ")) : stripped);
  if (!bDraw) {
    CSize size(extent.cx + (bTriangle ? 10 : 0), extent.cy);
    return bVert ? CSize(size.cy, size.cx) : size;
  }
  const COLORREF text = pDC->GetTextColor();
  // Embossed text first lays its highlight one pixel right and down.
  auto emboss = [&](CRect rc, UINT format) {
    rc.OffsetRect(1, 1);
    pDC->SetTextColor(GetPaintColor(COLOR_BTNHIGHLIGHT));
    pDC->DrawText(stripped, rc, format);
    pDC->SetTextColor(text);
  };
  if (!bVert) {
    const int width = stripped.IsEmpty() ? 0 : extent.cx;
    if (bCentered) rcText.left += (rcText.Width() - (width + (bTriangle ? 5 : 0))) / 2;
    if (bEmbossed) emboss(rcText, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
    if (cues) {
      pDC->DrawText(strText, rcText, DT_SINGLELINE | DT_VCENTER);
    } else {
      pDC->DrawText(stripped, rcText, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
    }
    if (bTriangle) {
      const tkppaint::Triangle3 t =
          tkppaint::CaptionTriangle(rcText.left + width + 5, (rcText.top + rcText.bottom) / 2, false);
      Triangle(pDC, t[0], t[1], t[2], text);
    }
    return CSize();
  }
  // Vertical text runs down the bar; the font turns it, so its origin is its top-right corner.
  const int across = rcText.left + (rcText.Width() + extent.cy) / 2;
  int top = rcText.top;
  if (bCentered) top += (rcText.Height() - (extent.cx + (bTriangle ? 5 : 0))) / 2;
  CRect rcVert(across, top, across + extent.cy, top + extent.cx);
  if (bEmbossed) emboss(rcVert, DT_SINGLELINE | DT_NOPREFIX | DT_NOCLIP);
  pDC->DrawText(stripped, rcVert, DT_SINGLELINE | DT_NOPREFIX | DT_NOCLIP);
  if (bTriangle) {
    const tkppaint::Triangle3 t = tkppaint::CaptionTriangle(rcText.CenterPoint().x, top + extent.cx + 4, true);
    Triangle(pDC, t[0], t[1], t[2], text);
  }
  return CSize();
}

CSize CTKPPaintManager::DrawControlText(CDC* pDC, CTKPControl* pControl, CRect rcText, BOOL bDraw, BOOL bVert,
                                        BOOL bTriangle, CSize szIcon, BOOL bImage, CSize szButton) {
  CTKPCommandBar* pBar = pControl->GetParent();
  const BOOL cues = pBar != nullptr ? pBar->IsKeyboardCuesVisible() : TRUE;
  const CString caption = pControl->GetCaption();
  if (!bVert) {
    // Beside an image the caption starts behind it: the image's 3-pixel margins on both sides.
    const int offset = bImage ? szIcon.cx + kIconTextOffset : 4;
    rcText.left += offset;
    const CSize text = DrawTextEx(pDC, caption, rcText, FALSE, FALSE, FALSE, bTriangle);
    if (bDraw) DrawTextEx(pDC, caption, rcText, TRUE, FALSE, FALSE, bTriangle, FALSE, cues);
    return CSize(offset + text.cx + 3, std::max<int>(szButton.cy, text.cy + 6));
  }
  const int offset = bImage ? szIcon.cy + kIconTextOffset : 4;
  rcText.top += offset;
  const CSize text = DrawTextEx(pDC, caption, rcText, FALSE, TRUE, FALSE, bTriangle);
  if (bDraw) DrawTextEx(pDC, caption, rcText, TRUE, TRUE, FALSE, bTriangle, FALSE, cues);
  return CSize(std::max<int>(szButton.cx, text.cx + 6), offset + text.cy + 3);
}

// ---- controls ------------------------------------------------------------------------------------

CSize CTKPPaintManager::DrawControl(CDC* pDC, CTKPControl* pControl, BOOL bDraw) {
  if (pControl == nullptr) return CSize();
  if (pControl->GetType() == tkpControlEdit) return DrawControlEdit(pDC, pControl, bDraw);
  if (pControl->GetType() == tkpControlComboBox) return DrawControlComboBox(pDC, pControl, bDraw);
  CTKPCommandBar* pBar = pControl->GetParent();
  if (pBar != nullptr && pBar->GetType() == tkpBarTypePopup) return DrawControlPopupParent(pDC, pControl, bDraw);
  return DrawControlToolBarParent(pDC, pControl, bDraw);
}

void CTKPPaintManager::DrawControlEntry(CDC* pDC, CTKPControl* pControl) {
  if (!HasDC(pDC) || pControl == nullptr) return;
  CTKPCommandBar* pBar = pControl->GetParent();
  const BOOL popuped = pBar != nullptr && pBar->GetPopuped() == pControl->GetIndex() &&
                       pControl->GetType() >= tkpControlPopup && pControl->GetType() <= tkpControlSplitButtonPopup;
  // Selection and press keep their kind (1 by the mouse, 2 by the keyboard): the themes tell them apart.
  DrawControlEntry(pDC, pControl->GetRect(), pControl->GetEnabled(), pControl->GetSelected(),
                   pControl->GetPressed(), pControl->GetChecked(), popuped,
                   pBar != nullptr ? pBar->GetPosition() : tkpBarTop);
}

void CTKPPaintManager::DrawSplitButtonFrame(CDC* pDC, CTKPControl* pControl, CRect rc) {
  if (!HasDC(pDC) || pControl == nullptr) return;
  CTKPCommandBar* pBar = pControl->GetParent();
  const int position = pBar != nullptr ? pBar->GetPosition() : tkpBarTop;
  const BOOL popuped = pBar != nullptr && pBar->GetPopuped() == pControl->GetIndex();
  const BOOL selected = pControl->GetSelected() != 0, pressed = pControl->GetPressed() != 0;
  CRect button = rc;
  if (!popuped) button.right -= kSplitDropDownWidth;
  DrawControlEntry(pDC, button, pControl->GetEnabled(), selected, pressed, pControl->GetChecked(), popuped, position);
  if ((selected || pressed) && pControl->GetEnabled() && !popuped) {
    DrawControlEntry(pDC, CRect(rc.right - 12, rc.top, rc.right, rc.bottom), TRUE, TRUE, FALSE, FALSE, FALSE,
                     position);
  }
  DrawSmallArrow(pDC, rc.right, (rc.top + rc.bottom) / 2, pDC->GetTextColor());
}

CSize CTKPPaintManager::DrawControlToolBarParent(CDC* pDC, CTKPControl* pControl, BOOL bDraw) {
  CTKPCommandBar* pBar = pControl->GetParent();
  CTKPFontDC font(pDC, GetRegularFont(pBar, pControl->GetDefaultItem()));
  const CRect rc = bDraw ? pControl->GetRect() : CRect();
  const int type = pControl->GetType();
  const bool vertical = pBar != nullptr && IsVerticalPosition(pBar->GetPosition());
  CSize szIcon = pBar != nullptr ? pBar->GetIconSize() : CSize(16, 16);
  if (szIcon.cx <= 0 || szIcon.cy <= 0) szIcon = CSize(16, 16);
  const CSize szButton = pBar != nullptr ? pBar->GetButtonSize() : CSize(szIcon.cx + 7, szIcon.cy + 7);
  CTKPImageManagerIcon* pIcon = pControl->GetImage(szIcon.cx);
  if (pIcon != nullptr && pIcon->GetWidth() > 0) szIcon.cy = pIcon->GetHeight() * szIcon.cx / pIcon->GetWidth();
  const BOOL caption = pControl->IsCaptionVisible();
  const BOOL cues = pBar != nullptr ? pBar->IsKeyboardCuesVisible() : TRUE;

  if (bDraw) {
    if (type == tkpControlSplitButtonPopup) {
      DrawSplitButtonFrame(pDC, pControl, rc);
    } else {
      DrawControlEntry(pDC, pControl);
    }
  }
  auto drawIcon = [&](CPoint pt) {
    const BOOL popuped = pBar != nullptr && pBar->GetPopuped() == pControl->GetIndex();
    DrawImage(pDC, pt, szIcon, pIcon, pControl->GetSelected(), pControl->GetPressed(),
              pControl->GetEnabled(), pControl->GetChecked(), popuped, TRUE);
  };

  const int dropDown = type == tkpControlSplitButtonPopup ? kSplitDropDownWidth : 0;
  if (pBar != nullptr && pBar->IsTextBelowIcons() && pIcon != nullptr) {
    const CString text = pControl->GetCaption();  // below its icon a caption always shows
    const CSize szText = DrawTextEx(pDC, text, CRect(), FALSE, FALSE, FALSE, FALSE);
    if (bDraw) {
      const int width = rc.Width() - dropDown;
      drawIcon(CPoint(rc.left + (width - szIcon.cx) / 2, rc.top + 4));
      const CRect rcText(rc.left, rc.top + 4 + szIcon.cy, rc.left + width, rc.bottom);
      if (!text.IsEmpty()) DrawTextEx(pDC, text, rcText, TRUE, FALSE, TRUE, FALSE, FALSE, cues);
    }
    return CSize(std::max<int>(szText.cx, szIcon.cx + 10) + dropDown, szIcon.cy + szText.cy + kTextBelowGap);
  }

  if (bDraw && pIcon != nullptr) {
    CPoint pt(rc.left + 3, rc.top + (rc.Height() - szIcon.cy) / 2);
    if (vertical) {
      pt = CPoint(rc.left + (rc.Width() - szIcon.cx) / 2, rc.top + 4);
      if (type == tkpControlSplitButtonPopup || (type == tkpControlPopup && !caption)) pt.x = rc.left + 3;
    }
    drawIcon(pt);
  }

  switch (type) {
    case tkpControlButton:
    case tkpControlButtonPopup:
    case tkpControlLabel:
    case tkpControlSplitButtonPopup: {
      CRect rcText = rc;
      rcText.right -= dropDown;
      CSize size = !caption ? (pIcon != nullptr ? szButton : CSize(23, 23))
                            : DrawControlText(pDC, pControl, rcText, bDraw, vertical, FALSE, szIcon, pIcon != nullptr,
                                              szButton);
      size.cx += dropDown;
      return size;
    }
    case tkpControlPopup:
      if (pIcon == nullptr) {
        // Every popup without an icon, a menu bar's title too, says by its arrow that it opens a menu.
        if (bDraw) DrawTextEx(pDC, pControl->GetCaption(), rc, TRUE, vertical, TRUE, TRUE, FALSE, cues);
        const CSize text = DrawTextEx(pDC, pControl->GetCaption(), rc, FALSE, vertical, TRUE, TRUE);
        return CSize(text.cx + 6, text.cy + 6);
      }
      if (!caption) {
        if (bDraw && HasDC(pDC)) DrawSmallArrow(pDC, rc.right, (rc.top + rc.bottom) / 2, pDC->GetTextColor());
        return CSize(szButton.cx + 7, szButton.cy);
      }
      return DrawControlText(pDC, pControl, rc, bDraw, vertical, TRUE, szIcon, TRUE, szButton);
    default:
      return CSize();
  }
}

// ---- the toolkit's own buttons -------------------------------------------------------------------

CSize CTKPPaintManager::DrawSpecialControl(CDC* pDC, int nKind, CTKPControl* pControl, CTKPCommandBar* pBar,
                                           BOOL bDraw, CSize szParam) {
  if (pControl == nullptr) return CSize();
  if (nKind == tkpSpecialToolbarExpand) return DrawToolbarSpecial(pDC, nKind, pControl, pBar, bDraw, szParam);
  if (!bDraw) return nKind == tkpSpecialPopupExpand ? CSize(0, 12) : CSize();
  DrawControlEntry(pDC, pControl);
  if (!HasDC(pDC)) return CSize();
  const CRect rc = pControl->GetRect();
  const BOOL quiet = pControl->GetSelected() == 0 && pControl->GetPressed() == 0;
  switch (nKind) {
    case tkpSpecialPopupExpand:
      for (const tkppaint::Polyline3& stroke : tkppaint::PopupExpandChevrons(rc)) PolylineOf(pDC, stroke);
      break;
    case tkpSpecialFloatingClose: {
      CFont marlett;
      marlett.CreatePointFont(::MulDiv(80, 96, pDC->GetDeviceCaps(LOGPIXELSX)), _T("Marlett"), pDC);
      CTKPFontDC font(pDC, &marlett);
      if (quiet) pDC->SetTextColor(GetPaintColor(COLOR_BTNHIGHLIGHT));
      CRect text = rc;
      pDC->DrawText(CString(_T("r")), text, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
      break;
    }
    case tkpSpecialFloatingOptions: {
      const BOOL popuped = pBar != nullptr && pBar->GetPopuped() == pControl->GetIndex();
      const COLORREF clr = pControl->GetSelected() == 0 && !popuped ? GetPaintColor(COLOR_BTNHIGHLIGHT) : pDC->GetTextColor();
      const tkppaint::Triangle3 t = tkppaint::OptionsArrow(rc);
      Triangle(pDC, t[0], t[1], t[2], clr);
      break;
    }
    default:
      break;
  }
  return CSize();
}

CSize CTKPPaintManager::DrawToolbarSpecial(CDC* pDC, int /*nKind*/, CTKPControl* pControl, CTKPCommandBar* pBar,
                                           BOOL bDraw, CSize szParam) {
  const bool vertical = pBar == nullptr || IsVerticalPosition(pBar->GetPosition()) ||
                        pBar->GetPosition() == tkpBarPopup;
  if (!bDraw) {
    pControl->SetRect(vertical ? CRect(2, szParam.cy - 13, szParam.cx - 2, szParam.cy - 2)
                               : CRect(szParam.cx - 13, 2, szParam.cx - 2, szParam.cy - 2));
    return CSize();
  }
  DrawControlEntry(pDC, pControl);
  if (!HasDC(pDC)) return CSize();
  const CRect rc = pControl->GetRect();
  const COLORREF text = pDC->GetTextColor();
  const tkppaint::Triangle3 t = tkppaint::ToolbarExpandArrow(rc, vertical);
  Triangle(pDC, t[0], t[1], t[2], text);
  bool hidden = false;
  CTKPControls* pControls = pBar != nullptr ? pBar->GetControls() : nullptr;
  for (int i = 0; pControls != nullptr && i < pControls->GetCount(); ++i) {
    hidden = hidden || (pControls->GetAt(i)->GetHideFlags() & tkpHideWrap) != 0;
  }
  if (hidden) {
    CTKPPenDC pen(pDC->GetSafeHdc(), text);
    for (const tkppaint::Polyline3& stroke : tkppaint::ToolbarExpandChevrons(rc, vertical)) PolylineOf(pDC, stroke);
  }
  return CSize();
}

// ---- status bar and base fills --------------------------------------------------------------------

void CTKPPaintManager::DrawStatusBarPaneBorder(CDC* pDC, CRect rc, BOOL /*bGripperPane*/) {
  Draw3dRect(pDC, rc, COLOR_BTNSHADOW, COLOR_BTNHIGHLIGHT);
}

void CTKPPaintManager::DrawStatusBarGripper(CDC* pDC, CRect rcClient) {
  if (!HasDC(pDC)) return;
  const tkppaint::GripperLines lines = tkppaint::StatusBarGripper(rcClient.Width(), rcClient.Height());
  for (const auto& line : lines.shadow) Line(pDC, line[0].x, line[0].y, line[1].x, line[1].y, COLOR_BTNSHADOW);
  for (const auto& line : lines.light) Line(pDC, line[0].x, line[0].y, line[1].x, line[1].y, COLOR_BTNHIGHLIGHT);
}

namespace {

void FillClient(CDC* pDC, CWnd* pWnd, COLORREF clr) {
  if (!HasDC(pDC) || pWnd == nullptr) return;
  CRect rc;
  pWnd->GetClientRect(rc);
  pDC->FillSolidRect(rc, clr);
}

}  // namespace

void CTKPPaintManager::FillDockBar(CDC* pDC, CTKPDockBar* pDockBar) {
  FillClient(pDC, pDockBar, GetPaintColor(COLOR_BTNFACE));
}

void CTKPPaintManager::FillStatusBar(CDC* pDC, CWnd* pStatusBar) {
  FillClient(pDC, pStatusBar, GetPaintColor(COLOR_BTNFACE));
}

// ---- the status-bar pane ---------------------------------------------------------------------------------

void CTKPPaintManager::DrawStatusBarPane(CDC* pDC, CRect rc, CTKPStatusBarPane* pPane) {
  if (!HasDC(pDC) || pPane == nullptr) return;
  const UINT style = pPane->GetStyle();
  const BOOL enabled = (style & TKP_SBPS_DISABLED) == 0;
  const COLORREF none = static_cast<COLORREF>(-1);
  if (pPane->GetBackgroundColor() != none) {
    CRect fill = rc;
    if ((style & TKP_SBPS_NOBORDERS) == 0) fill.DeflateRect(1, 1);
    pDC->FillSolidRect(fill, pPane->GetBackgroundColor());
  }
  const HGDIOBJ oldFont = pPane->GetFont() != nullptr ? ::SelectObject(pDC->GetSafeHdc(), pPane->GetFont()) : nullptr;
  rc.DeflateRect(2, 1);
  const CString& text = pPane->GetText();
  CTKPImageManagerIcon* pIcon = pPane->GetImage();
  const int textWidth = text.IsEmpty() ? 0 : pDC->GetTextExtent(text).cx;
  const int content = textWidth + (pIcon != nullptr ? pIcon->GetWidth() + (text.IsEmpty() ? 0 : 2) : 0);
  if (rc.Width() > content) {
    if (pPane->GetTextAlignment() == 2) {
      rc.left = rc.right - content;
    } else if (pPane->GetTextAlignment() == 1) {
      rc.left += (rc.Width() - content) / 2;
    }
  }
  if (pIcon != nullptr) {
    const CSize size(pIcon->GetWidth(), pIcon->GetHeight());
    if (size.cy <= rc.Height()) {
      pIcon->Draw(pDC, CPoint(rc.left, rc.top + (rc.Height() - size.cy) / 2),
                  enabled ? pIcon->GetIcon() : pIcon->GetDisabledIcon(), size);
    }
    rc.left += size.cx + 2;
  }
  if (!text.IsEmpty()) {
    COLORREF clr = m_clrStatusTextColor;
    if (!enabled) {
      clr = GetPaintColor(COLOR_GRAYTEXT);
    } else if (pPane->GetTextColor() != none) {
      clr = pPane->GetTextColor();
    }
    pDC->SetTextColor(clr);
    pDC->SetBkMode(TRANSPARENT);
    pDC->DrawText(text, rc, DT_SINGLELINE | DT_VCENTER | DT_EXPANDTABS | DT_NOPREFIX);
  }
  if (oldFont != nullptr) ::SelectObject(pDC->GetSafeHdc(), oldFont);
}
