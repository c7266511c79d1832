// The gradient themes: shaded dock bars, rounded toolbar bodies with a shadow line, dotted grippers,
// amber gradient highlights and the colour sets of the blue, olive and silver schemes.
#include "toolkit/commandbars/paint/tkp_theme_gradient.h"

#include <commctrl.h>

#include <algorithm>
#include <initializer_list>
#include <utility>

#include "platform/classlib/win/cdc.h"
#include "platform/classlib/win/cwinapp.h"
#include "toolkit/commandbars/bars/tkp_command_bar.h"
#include "toolkit/commandbars/paint/theme_rules.h"
#include "toolkit/commandbars/controls/tkp_control.h"
#include "toolkit/commandbars/controls/tkp_controls.h"
#include "toolkit/commandbars/bars/tkp_dock_bar.h"
#include "toolkit/common/color_manager.h"
#include "toolkit/common/draw_helpers.h"
#include "toolkit/common/gdi_guards.h"

IMPLEMENT_DYNAMIC(CTKPGradientTheme, CTKPFlatTheme)
IMPLEMENT_DYNAMIC(CTKPSoftGradientTheme, CTKPGradientTheme)

namespace {

struct Gradient {
  COLORREF light, dark;
  float factor;
};

// One colour scheme's values of the gradient theme.
struct Scheme {
  Gradient dock, bar, popuped, expand, expandedColumn, glyph;
  COLORREF baseLight, baseDark, shadowLine, caption, paneBorder, tearOff, popupShadow;
  std::initializer_list<std::pair<int, COLORREF>> colors;
};

const Scheme& SchemeOf(int nScheme) {
  static const Scheme kBlue = {
      {RGB(158, 190, 245), RGB(196, 218, 250), 0.5f}, {RGB(221, 236, 254), RGB(129, 169, 226), 0.75f},
      {RGB(227, 239, 255), RGB(147, 181, 231), 0.5f}, {RGB(117, 166, 241), RGB(0, 53, 145), 0.75f},
      {RGB(203, 221, 246), RGB(121, 161, 220), 0.5f}, {RGB(227, 239, 254), RGB(129, 169, 226), 0.5f},
      RGB(233, 236, 242), RGB(97, 122, 172), RGB(59, 97, 156), RGB(42, 102, 201), RGB(211, 211, 211),
      RGB(169, 199, 240), RGB(22, 30, 54),
      {{51, RGB(216, 231, 252)}, {52, RGB(158, 190, 245)}, {53, RGB(203, 225, 252)}, {12, RGB(144, 153, 174)},
       {56, RGB(189, 211, 247)}, {30, RGB(196, 219, 249)}, {31, RGB(255, 238, 194)}, {33, RGB(254, 128, 62)},
       {36, RGB(255, 192, 111)}, {32, RGB(0, 0, 128)}, {37, RGB(0, 0, 128)}, {50, RGB(0, 0, 128)},
       {38, RGB(39, 65, 118)}, {39, RGB(106, 140, 203)}, {40, RGB(109, 150, 208)}, {41, RGB(246, 246, 246)},
       {43, RGB(0, 45, 150)}, {47, RGB(0, 0, 0)}}};
  static const Scheme kOlive = {
      {RGB(217, 217, 167), RGB(242, 241, 228), 0.5f}, {RGB(244, 247, 222), RGB(183, 198, 145), 0.3f},
      {RGB(236, 240, 213), RGB(194, 206, 159), 0.5f}, {RGB(176, 194, 140), RGB(96, 119, 107), 0.3f},
      {RGB(230, 230, 209), RGB(164, 180, 120), 0.3f}, {RGB(236, 240, 213), RGB(184, 198, 147), 0.5f},
      RGB(243, 244, 240), RGB(131, 144, 113), RGB(96, 128, 88), RGB(116, 134, 94), RGB(211, 211, 211),
      RGB(197, 212, 159), RGB(31, 34, 25),
      {{51, RGB(226, 231, 191)}, {52, RGB(171, 192, 138)}, {53, RGB(216, 227, 182)}, {12, RGB(151, 160, 123)},
       {56, RGB(222, 227, 189)}, {30, RGB(209, 222, 173)}, {31, RGB(255, 238, 194)}, {33, RGB(254, 128, 62)},
       {36, RGB(255, 192, 111)}, {32, RGB(63, 93, 56)}, {37, RGB(63, 93, 56)}, {50, RGB(63, 93, 56)},
       {38, RGB(81, 94, 51)}, {39, RGB(96, 128, 88)}, {40, RGB(159, 174, 122)}, {41, RGB(244, 244, 238)},
       {43, RGB(117, 141, 94)}, {47, RGB(0, 0, 0)}}};
  static const Scheme kSilver = {
      {RGB(215, 215, 229), RGB(243, 243, 247), 0.5f}, {RGB(249, 249, 255), RGB(156, 155, 183), 0.75f},
      {RGB(233, 231, 241), RGB(186, 185, 205), 0.5f}, {RGB(179, 178, 200), RGB(118, 116, 146), 0.75f},
      {RGB(215, 215, 226), RGB(133, 131, 162), 0.5f}, {RGB(232, 232, 241), RGB(176, 174, 197), 0.5f},
      RGB(247, 245, 249), RGB(122, 121, 153), RGB(124, 124, 148), RGB(122, 121, 153), RGB(236, 234, 218),
      RGB(192, 192, 211), RGB(36, 32, 41),
      {{51, RGB(223, 223, 234)}, {52, RGB(177, 176, 195)}, {53, RGB(214, 211, 231)}, {12, RGB(155, 154, 179)},
       {56, RGB(214, 215, 231)}, {30, RGB(219, 218, 228)}, {31, RGB(255, 238, 194)}, {33, RGB(254, 128, 62)},
       {36, RGB(255, 192, 111)}, {32, RGB(75, 75, 111)}, {37, RGB(75, 75, 111)}, {50, RGB(75, 75, 111)},
       {38, RGB(84, 84, 117)}, {39, RGB(110, 109, 143)}, {40, RGB(168, 167, 190)}, {41, RGB(253, 250, 255)},
       {43, RGB(124, 124, 148)}, {47, RGB(0, 0, 0)}}};
  return nScheme == 2 ? kOlive : nScheme == 3 ? kSilver : kBlue;
}

void Set(CTKPColorGradient& target, const Gradient& g) { target.SetStandardValue(g.light, g.dark, g.factor); }

COLORREF Blend(COLORREF c1, COLORREF c2, int p) { return CTKPColorManager::BlendColors(c1, c2, p); }

// The first visible control of a bar, or null.
CTKPControl* FirstVisibleControl(CTKPCommandBar* pBar) {
  for (int i = 0; i < pBar->GetControlCount(); ++i) {
    CTKPControl* pControl = pBar->GetControl(i);
    if (pControl != nullptr && pControl->IsVisible()) return pControl;
  }
  return nullptr;
}

bool HidesControls(CTKPCommandBar* pBar) {
  for (int i = 0; pBar != nullptr && i < pBar->GetControlCount(); ++i) {
    CTKPControl* pControl = pBar->GetControl(i);
    if (pControl != nullptr && (pControl->GetHideFlags() & tkpHideWrap) != 0) return true;
  }
  return false;
}

}  // namespace

CTKPGradientTheme::CTKPGradientTheme() {
  m_bUseFadedIcons = FALSE;
  m_bIconsWithShadow = FALSE;
  m_grcChecked.SetStandardValue(RGB(255, 213, 140), RGB(255, 173, 85));
  m_grcPressed.SetStandardValue(RGB(254, 142, 75), RGB(255, 207, 139));
  m_grcHot.SetStandardValue(RGB(255, 242, 200), RGB(255, 212, 151));
}

CTKPGradientTheme::~CTKPGradientTheme() {
  if (m_hGlyphs != nullptr) ImageList_Destroy(m_hGlyphs);
}

CTKPSoftGradientTheme::CTKPSoftGradientTheme() {
  m_nColorSchemeMode = 0;
  m_bSoft = TRUE;
}

// ---- colours -------------------------------------------------------------------------------------------

void CTKPGradientTheme::RefreshMetrics() {
  CTKPFlatTheme::RefreshMetrics();
  m_themeStatus.OpenThemeData(AfxGetMainWnd() != nullptr ? AfxGetMainWnd()->m_hWnd : nullptr, L"STATUS");
  auto c = [this](int n) { return GetPaintColor(n); };
  m_grcExpandedColumn.SetStandardValue(Blend(c(5), c(42), 550), c(42));
  m_grcToolBar.SetStandardValue(Blend(c(15), c(5), 205), c(15));
  m_grcDock.SetStandardValue(c(15), Blend(c(15), c(5), 205));
  m_grcPopuped.SetStandardValue(c(41), Blend(c(5), c(15), 550));
  m_grcGlyph.CopyFrom(m_grcPopuped);
  m_grcExpandButton.SetStandardValue(Blend(c(51), c(16), 51), c(16));
  m_clrTearOff.SetStandardValue(c(30));
  m_clrShadowLine.SetStandardValue(c(30));
  m_clrCaption.SetStandardValue(c(16));
  m_clrPaneBorder.SetStandardValue(Blend(c(15), c(5), 70));
  m_bSchemeColors = FALSE;
  const int scheme = GetCurrentSystemTheme();
  if (scheme >= 1 && scheme <= 3) ApplyScheme(scheme);
  if (m_bSchemeColors) {
    const int indexes[] = {35, 58, 60};
    const COLORREF grey[] = {RGB(141, 141, 141), RGB(141, 141, 141), RGB(141, 141, 141)};
    SetColors(3, indexes, grey);
  }
  BuildGlyphImageList();
}

void CTKPGradientTheme::BuildGlyphImageList() {
  if (m_hGlyphs != nullptr) ImageList_Destroy(m_hGlyphs);
  m_hGlyphs = ImageList_Create(tkptheme::kGlyphSize, tkptheme::kGlyphSize, ILC_COLOR24 | ILC_MASK, 1, 0);
  if (m_hGlyphs == nullptr) return;
  const auto pixels = tkptheme::GlyphPixels(m_grcGlyph.clrLight, m_grcGlyph.clrDark);
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = tkptheme::kGlyphSize;
  info.bmiHeader.biHeight = -tkptheme::kGlyphSize;  // top-down rows
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 24;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HBITMAP bitmap = ::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (bitmap == nullptr || bits == nullptr) {
    if (bitmap != nullptr) ::DeleteObject(bitmap);
    return;
  }
  // Rows of 16 pixels x 3 bytes are already DWORD-aligned; a DIB stores blue, green, red.
  auto* out = static_cast<BYTE*>(bits);
  for (const std::uint32_t pixel : pixels) {
    *out++ = GetBValue(pixel);
    *out++ = GetGValue(pixel);
    *out++ = GetRValue(pixel);
  }
  ImageList_AddMasked(m_hGlyphs, bitmap, tkptheme::kGlyphMask);
  ::DeleteObject(bitmap);
}

void CTKPGradientTheme::ApplyScheme(int nScheme) {
  const Scheme& s = SchemeOf(nScheme);
  Set(m_grcDock, s.dock);
  Set(m_grcToolBar, s.bar);
  Set(m_grcPopuped, s.popuped);
  Set(m_grcExpandButton, s.expand);
  Set(m_grcExpandedColumn, s.expandedColumn);
  Set(m_grcGlyph, s.glyph);
  m_clrDisabledIcon.SetStandardValue(s.baseLight, s.baseDark);
  m_clrShadowLine.SetStandardValue(s.shadowLine);
  m_clrCaption.SetStandardValue(s.caption);
  m_clrPaneBorder.SetStandardValue(s.paneBorder);
  m_clrTearOff.SetStandardValue(s.tearOff);
  m_clrShadowFactor = s.popupShadow;
  for (const auto& entry : s.colors) SetColors(1, &entry.first, &entry.second);
  m_bSchemeColors = TRUE;
}

void CTKPSoftGradientTheme::RefreshMetrics() {
  CTKPGradientTheme::RefreshMetrics();
  auto c = [this](int n) { return GetPaintColor(n); };
  m_grcExpandButton.SetStandardValue(Blend(c(5), c(15), 550), c(16));
  const int scheme = TKPColorManager()->GetCurrentSystemTheme();
  if (scheme >= 1 && scheme <= 3) ApplySoftScheme(scheme);
  BuildGlyphImageList();
}

void CTKPSoftGradientTheme::ApplySoftScheme(int scheme) {
  if (scheme == 3) {
    m_grcToolBar.SetStandardValue(RGB(243, 244, 250), RGB(153, 151, 181), 0.75f);
    m_grcExpandButton.SetStandardValue(RGB(179, 178, 200), RGB(118, 116, 146), 0.75f);
    m_grcDock.SetStandardValue(RGB(215, 215, 229), RGB(243, 243, 247));
    m_grcExpandedColumn.SetStandardValue(RGB(215, 215, 226), RGB(133, 131, 162));
    m_grcGlyph.SetStandardValue(RGB(232, 232, 241), RGB(176, 174, 197));
    m_clrShadowLine.SetStandardValue(RGB(124, 124, 148));
    m_clrDisabledIcon.SetStandardValue(RGB(247, 245, 249), RGB(122, 121, 153));
    const int indexes[] = {30, 35, 60, 38, 39, 31, 32, 37, 50, 33, 36, 47};
    const COLORREF colors[] = {RGB(219, 218, 228), RGB(141, 141, 141), RGB(141, 141, 141), RGB(84, 84, 117),
                               RGB(110, 109, 143), RGB(255, 238, 194), RGB(75, 75, 111),  RGB(75, 75, 111),
                               RGB(75, 75, 111),   RGB(254, 128, 62),  RGB(255, 192, 111), RGB(0, 0, 0)};
    SetColors(12, indexes, colors);
    m_clrTearOff.SetStandardValue(RGB(192, 192, 211));
    m_clrCaption.SetStandardValue(RGB(122, 121, 153));
  } else {
    m_grcToolBar.SetStandardValue(RGB(250, 249, 245), RGB(192, 192, 168), 0.75f);
    m_grcExpandButton.SetStandardValue(RGB(238, 237, 234), scheme == 1 ? RGB(152, 152, 126) : RGB(176, 172, 158),
                                       0.75f);
    m_grcDock.SetStandardValue(RGB(229, 229, 215), RGB(244, 241, 231));
    m_grcExpandedColumn.SetSolidColor(RGB(204, 199, 186));
    m_grcGlyph.CopyFrom(m_grcToolBar);
    m_clrShadowLine.SetStandardValue(RGB(163, 163, 124));
    if (scheme == 1) {
      m_clrDisabledIcon.SetStandardValue(RGB(247, 245, 249), RGB(122, 121, 153));
    } else {
      m_clrDisabledIcon.SetStandardValue(RGB(236, 233, 216), RGB(172, 168, 153));
      const int indexes[] = {31, 36, 33, 47};
      const COLORREF colors[] = {RGB(182, 198, 141), RGB(182, 198, 141), RGB(147, 160, 112), RGB(255, 255, 255)};
      SetColors(4, indexes, colors);
    }
  }
  // Only the colours follow the system's scheme: the highlights stay those of colour-scheme mode 0.
}

// ---- backgrounds -----------------------------------------------------------------------------------------

void CTKPGradientTheme::FillDockGradient(CDC* pDC, CRect rcArea, CRect rcClip) {
  // Neighbouring dock bars and the bars on them share one gradient half a screen wide.
  rcArea.right = std::max<int>(rcArea.right, rcArea.left + ::GetSystemMetrics(SM_CXFULLSCREEN) / 2);
  TKPDrawHelpers()->FillColorGradient(pDC, rcArea, m_grcDock, TRUE, rcClip);
}

void CTKPGradientTheme::FillDockFace(CDC* pDC, DWORD dwDockStyle, CRect rcArea, CRect rcClip) {
  // The right dock bar takes the gradient's dark end; the others share the gradient.
  if ((dwDockStyle & (CBRS_ALIGN_RIGHT | CBRS_BORDER_LEFT)) != 0) {
    pDC->FillSolidRect(rcClip, m_grcDock.clrDark);
    return;
  }
  FillDockGradient(pDC, rcArea, rcClip);
}

void CTKPGradientTheme::FillDockBar(CDC* pDC, CTKPDockBar* pDockBar) {
  if (!TKPHasDC(pDC) || pDockBar == nullptr) return;
  CRect rc;
  pDockBar->GetClientRect(rc);
  FillDockFace(pDC, pDockBar->GetBarStyle(), rc, rc);
}

void CTKPGradientTheme::FillIconColumn(CDC* pDC, int x, int y, int cx, int cy, BOOL bExpanded) {
  if (!TKPHasDC(pDC)) return;
  const CRect rc(x, y, x + cx, y + cy);
  TKPDrawHelpers()->FillColorGradient(pDC, rc, bExpanded ? m_grcExpandedColumn : m_grcToolBar, TRUE);
}

BOOL CTKPGradientTheme::HasBorderFlags(CTKPCommandBar* pBar) {
  return pBar != nullptr && pBar->GetType() != tkpBarTypeMenuBar && (pBar->GetBarStyle() & 0xF) != 0;
}

void CTKPGradientTheme::FillDockedBody(CDC* pDC, CTKPCommandBar* pBar, CRect rc) {
  const bool vertical = TKPIsVerticalBar(pBar);
  pDC->FillSolidRect(rc, GetPaintColor(15));
  CWnd* pParent = pBar->GetParent();
  if (pParent != nullptr && pParent->m_hWnd != nullptr) {
    CRect parent;
    pParent->GetClientRect(parent);
    pParent->ClientToScreen(parent);
    pBar->ScreenToClient(parent);
    // Around its rounded body the bar shows what its dock bar shows there.
    const auto* pDock = dynamic_cast<const CTKPDockBar*>(pParent);
    FillDockFace(pDC, pDock != nullptr ? pDock->GetBarStyle() : 0, parent, rc);
  }
  CTKPSavedDC saved(pDC);
  CRect body;
  if (vertical) {
    pDC->ExcludeClipRect(rc.left, rc.top, rc.right, rc.top + 3);
    body = CRect(rc.left + 1, rc.top + 3, rc.right - 1, rc.bottom);
  } else {
    pDC->ExcludeClipRect(rc.left, rc.top, rc.left + 3, rc.bottom);
    body = CRect(rc.left + 3, rc.top + 1, rc.right, rc.bottom - 1);
  }
  ExcludeCorners(pDC, body);
  // The gradient spans the first row of controls; rows below it take its dark end.
  CRect shade = body;
  if (CTKPControl* pFirst = FirstVisibleControl(pBar)) {
    if (vertical) {
      shade.right = std::min<int>(body.right, pFirst->GetRect().right + 1);
    } else {
      shade.bottom = std::min<int>(body.bottom, pFirst->GetRect().bottom + 1);
    }
  }
  pDC->FillSolidRect(body, m_grcToolBar.clrDark);
  TKPDrawHelpers()->FillColorGradient(pDC, shade, m_grcToolBar, vertical ? TRUE : FALSE);
  if (vertical) {
    pDC->FillSolidRect(body.right - 1, rc.top + 5, 1, rc.Height() - 7, m_clrShadowLine);
  } else {
    pDC->FillSolidRect(rc.left + 5, body.bottom - 1, rc.Width() - 7, 1, m_clrShadowLine);
  }
}

void CTKPGradientTheme::FillCommandBar(CDC* pDC, CTKPCommandBar* pBar) {
  if (!TKPHasDC(pDC) || pBar == nullptr) return;
  CRect rc;
  pBar->GetClientRect(rc);
  const int position = pBar->GetPosition();
  const COLORREF frame = GetPaintColor(43);
  auto corners = [&](CRect r) {
    pDC->SetPixel(r.left + 2, r.top + 2, frame);
    pDC->SetPixel(r.right - 3, r.top + 2, frame);
    pDC->SetPixel(r.left + 2, r.bottom - 3, frame);
    pDC->SetPixel(r.right - 3, r.bottom - 3, frame);
  };
  if (pBar->GetType() == tkpBarTypeMenuBar) {
    FillDockGradient(pDC, rc, rc);
    if (position == tkpBarFloating) {
      pDC->Draw3dRect(rc, frame, frame);
      pDC->Draw3dRect(CRect(rc.left + 1, rc.top + 1, rc.right - 1, rc.bottom - 1), frame, frame);
      corners(rc);
    }
    return;
  }
  if (position == tkpBarTop || position == tkpBarBottom || position == tkpBarLeft || position == tkpBarRight) {
    FillDockedBody(pDC, pBar, rc);
  } else if (position == tkpBarFloating && HasBorderFlags(pBar)) {
    pDC->FillSolidRect(rc, GetPaintColor(30));
    pDC->Draw3dRect(rc, frame, frame);
    pDC->Draw3dRect(CRect(rc.left + 1, rc.top + 1, rc.right - 1, rc.bottom - 1), frame, frame);
    for (int i = 0; i < pBar->GetControlCount(); ++i) {
      CTKPControl* pControl = pBar->GetControl(i);
      if (pControl == nullptr || !pControl->IsVisible()) continue;
      const CRect row = pControl->GetRect();
      TKPDrawHelpers()->FillColorGradient(pDC, CRect(2, row.top, rc.right - 2, row.bottom), m_grcToolBar, FALSE);
    }
    corners(rc);
  } else if (position == tkpBarPopup) {
    Rectangle(pDC, rc, 43, 41);
    if (pBar->GetType() == tkpBarTypePopup) {
      FillIconColumn(pDC, 1, 2, PopupIconColumnWidth(pBar), rc.Height() - 4, FALSE);
    }
    FillPopupGap(pDC, pBar, 41);
  } else {
    CTKPFlatTheme::FillCommandBar(pDC, pBar);
  }
}

// ---- highlights ------------------------------------------------------------------------------------------

void CTKPGradientTheme::DrawRectangle(CDC* pDC, CRect rc, BOOL bSelected, BOOL bPressed, BOOL bEnabled,
                                      BOOL bChecked, BOOL bPopuped, BOOL bBarControl, int barPosition) {
  if (!TKPHasDC(pDC)) return;
  const tkptheme::GradientHighlight look =
      tkptheme::GradientBarHighlight(TKPThemeState(bEnabled, bSelected, bPressed, bChecked, bPopuped));
  const bool gradients = bBarControl && m_bSchemeColors && barPosition != tkpBarPopup;
  if (look.kind == tkptheme::GradientKind::kPopuped || (gradients && look.kind != tkptheme::GradientKind::kFlat)) {
    const CTKPColorGradient* pFill = &m_grcPopuped;
    if (look.kind == tkptheme::GradientKind::kHot) pFill = &m_grcHot;
    if (look.kind == tkptheme::GradientKind::kPressed) pFill = &m_grcPressed;
    if (look.kind == tkptheme::GradientKind::kChecked) pFill = &m_grcChecked;
    const BOOL horizontal = look.kind != tkptheme::GradientKind::kPopuped &&
                            (barPosition == tkpBarLeft || barPosition == tkpBarRight);
    TKPDrawHelpers()->FillColorGradient(pDC, rc, *pFill, horizontal);
    const COLORREF border = GetPaintColor(look.border);
    pDC->Draw3dRect(rc, border, border);
    return;
  }
  CTKPFlatTheme::DrawRectangle(pDC, rc, bSelected, bPressed, bEnabled, bChecked, bPopuped, bBarControl, barPosition);
}

// ---- grippers, separators and borders ---------------------------------------------------------------------

void CTKPGradientTheme::DrawGripDot(CDC* pDC, int x, int y) {
  pDC->FillSolidRect(x + 1, y + 1, 2, 2, GetPaintColor(20));
  pDC->FillSolidRect(x, y, 2, 2, GetPaintColor(38));
}

CSize CTKPGradientTheme::DrawCommandBarGripper(CDC* pDC, CTKPCommandBar* pBar, BOOL bDraw) {
  if (pBar == nullptr) return CSize();
  if (pBar->IsDialogBar()) return DrawDialogBarGripper(pDC, pBar, bDraw);
  CRect client;
  pBar->GetClientRect(client);
  const bool draw = bDraw && TKPHasDC(pDC);
  switch (pBar->GetPosition()) {
    case tkpBarFloating:
      return TKPDrawFloatingCaption(this, pDC, pBar, draw, m_clrCaption);
    case tkpBarTop:
    case tkpBarBottom:
      if (draw && client.Height() >= 6) {
        for (int y = 8; y - 3 < client.Height() - 8; y += 4) DrawGripDot(pDC, 5, y - 3);
      }
      return CSize(6, 0);
    case tkpBarLeft:
    case tkpBarRight:
      if (draw && client.Width() >= 6) {
        for (int x = 8; x - 3 < client.Width() - 8; x += 4) DrawGripDot(pDC, x - 3, 5);
      }
      return CSize(0, 9);
    default:
      return CSize();
  }
}

CSize CTKPGradientTheme::DrawDialogBarGripper(CDC* pDC, CTKPCommandBar* pBar, BOOL bDraw) {
  const CSize size(8, std::max<int>(25, GetRowHeight() + 6));
  if (!bDraw || !TKPHasDC(pDC) || pBar == nullptr) return size;
  CRect rc;
  pBar->GetClientRect(rc);
  rc.DeflateRect(3, 3);
  rc.bottom = rc.top + size.cy;
  TKPDrawHelpers()->FillColorGradient(pDC, rc, m_grcToolBar, FALSE);
  for (int y = rc.top + 4; y < rc.top + rc.Height() - 5; y += 4) DrawGripDot(pDC, 5, y);
  return size;
}

CSize CTKPGradientTheme::DrawCommandBarSeparator(CDC* pDC, CTKPCommandBar* pBar, CTKPControl* pControl, BOOL bDraw) {
  const int position = pBar != nullptr ? pBar->GetPosition() : tkpBarTop;
  const bool docked = position <= tkpBarRight && pBar != nullptr && pBar->GetType() != tkpBarTypePopup;
  if (!docked) {
    if (!bDraw && position == tkpBarFloating) return CSize(6, 0);
    return CTKPFlatTheme::DrawCommandBarSeparator(pDC, pBar, pControl, bDraw);
  }
  if (!bDraw) return CSize(6, 6);
  CPoint from, to;
  if (!TKPHasDC(pDC) || !SeparatorLine(pBar, pControl, from, to)) return CSize();
  Line(pDC, from.x, from.y, to.x, to.y, 39);
  // The light edge beside the line; the soft look keeps only the line between controls of one row.
  if (!(m_bSoft && !pControl->GetWrap())) {
    const CSize step = from.x == to.x ? CSize(1, 0) : CSize(0, 1);
    Line(pDC, from.x + step.cx, from.y + step.cy, to.x + step.cx, to.y + step.cy, 20);
  }
  return CSize();
}

CRect CTKPGradientTheme::GetCommandBarBorders(CTKPCommandBar* pBar) {
  const int position = pBar != nullptr ? pBar->GetPosition() : tkpBarNone;
  if (position == tkpBarTop || position == tkpBarBottom) return CRect(4, 2, 2, 2);
  return CRect(2, 2, 2, 2);
}

CSize CTKPGradientTheme::DrawTearOffGripper(CDC* pDC, CRect rc, BOOL bSelected, BOOL bDraw) {
  if (!bDraw || !TKPHasDC(pDC)) return CSize(0, 9);
  CRect strip(rc.left + 1, rc.top + 1, rc.right + 1, rc.bottom + 1);
  pDC->FillSolidRect(strip, GetPaintColor(41));
  strip.DeflateRect(1, 1);
  if (bSelected) {
    Rectangle(pDC, strip, 32, 31);
  } else {
    pDC->FillSolidRect(strip, m_clrTearOff);
  }
  const int length = std::min<int>(64, strip.Width());
  const int start = strip.left + (strip.Width() - length) / 2;
  for (int x = start + 3; x < start + length; x += 4) DrawGripDot(pDC, x - 3, rc.top + 4);
  return CSize(0, 9);
}

void CTKPGradientTheme::DrawStatusBarPaneBorder(CDC* pDC, CRect rc, BOOL /*bGripperPane*/) {
  if (TKPHasDC(pDC)) pDC->Draw3dRect(rc, m_clrPaneBorder, m_clrPaneBorder);
}

void CTKPGradientTheme::DrawStatusBarGripper(CDC* pDC, CRect rcClient) {
  if (!TKPHasDC(pDC)) return;
  if (m_themeStatus.GetHandle() != nullptr && CTKPVisualStyleTheme::IsAppThemed()) {
    const CRect grip(rcClient.right - 18, rcClient.top, rcClient.right, rcClient.bottom);
    if (SUCCEEDED(m_themeStatus.DrawThemeBackground(pDC->GetSafeHdc(), 3, 0, grip, nullptr))) return;
  }
  // Three groups of three shadow lines, each group followed by a light line, 5 pixels apart.
  const int w = rcClient.right, h = rcClient.bottom;
  for (int group = 0; group < 3; ++group) {
    const int base = 3 + 5 * group;
    for (int i = 0; i < 3; ++i) Line(pDC, w - base - i, h - 1, w - 1, h - base - i - 1, 16);
    Line(pDC, w - base - 3, h - 1, w - 1, h - base - 4, 20);
  }
}

// ---- the expand button ---------------------------------------------------------------------------------

CSize CTKPGradientTheme::DrawSpecialControl(CDC* pDC, int nKind, CTKPControl* pControl, CTKPCommandBar* pBar,
                                            BOOL bDraw, CSize szParam) {
  if (nKind == tkpSpecialPopupExpand && !bDraw) return CSize(0, 18);
  if (nKind == tkpSpecialPopupExpand && m_hGlyphs != nullptr && pControl != nullptr && TKPHasDC(pDC)) {
    // The expand button of a personalized menu shows the glyph, centred.
    DrawControlEntry(pDC, pControl);
    const CRect rc = pControl->GetRect();
    ImageList_Draw(m_hGlyphs, 0, pDC->GetSafeHdc(), (rc.left + rc.right - tkptheme::kGlyphSize) / 2,
                   (rc.top + rc.bottom - tkptheme::kGlyphSize) / 2, ILD_TRANSPARENT);
    return CSize();
  }
  if (nKind != tkpSpecialToolbarExpand || pControl == nullptr) {
    return CTKPFlatTheme::DrawSpecialControl(pDC, nKind, pControl, pBar, bDraw, szParam);
  }
  const bool across = pBar == nullptr || TKPIsVerticalBar(pBar) || pBar->GetPosition() == tkpBarPopup;
  if (!bDraw) {
    pControl->SetRect(across ? CRect(2, szParam.cy - 12, szParam.cx - 2, szParam.cy - 2)
                             : CRect(szParam.cx - 12, 2, szParam.cx - 2, szParam.cy - 2));
    return CSize();
  }
  if (!TKPHasDC(pDC)) return CSize();
  const CRect rc = pControl->GetRect();
  const BOOL popuped = pBar != nullptr && pBar->GetPopuped() == pControl->GetIndex();
  const BOOL selected = pControl->GetSelected() != 0;
  {
    CTKPSavedDC saved(pDC);
    ExcludeCorners(pDC, rc);
    CTKPColorGradient fill = m_grcExpandButton;
    if (popuped) {
      if (m_bSchemeColors) fill.SetStandardValue(RGB(254, 142, 75), RGB(255, 207, 139));
      else fill.SetSolidColor(GetPaintColor(36));
    } else if (selected) {
      if (m_bSchemeColors) fill.SetStandardValue(RGB(255, 242, 200), RGB(255, 212, 151));
      else fill.SetSolidColor(GetPaintColor(31));
    }
    TKPDrawHelpers()->FillColorGradient(pDC, rc, fill, across ? TRUE : FALSE);
  }
  const bool hidden = HidesControls(pBar);
  // The marks twice: a light copy one pixel right and down, then the mark itself.
  for (int pass = 0; pass < 2; ++pass) {
    const int d = pass == 0 ? 1 : 0;
    const COLORREF clr = GetPaintColor(pass == 0 ? 20 : (selected ? 45 : 46));
    const int l = rc.left + d, t = rc.top + d, r = rc.right + d, b = rc.bottom + d;
    CTKPPenDC pen(pDC->GetSafeHdc(), clr);
    if (!across) {
      const int x = (l + r) / 2;
      Line(pDC, x - 2, b - 10, x + 3, b - 10);
      Triangle(pDC, CPoint(x - 2, b - 7), CPoint(x + 2, b - 7), CPoint(x, b - 5), clr);
      if (hidden) {
        Triangle(pDC, CPoint(l + 3, t + 5), CPoint(l + 4, t + 6), CPoint(l + 3, t + 7), clr);
        Triangle(pDC, CPoint(l + 7, t + 5), CPoint(l + 8, t + 6), CPoint(l + 7, t + 7), clr);
      }
    } else {
      const int y = (t + b) / 2;
      Line(pDC, r - 10, y - 2, r - 10, y + 3);
      Triangle(pDC, CPoint(r - 5, y), CPoint(r - 7, y - 2), CPoint(r - 7, y + 2), clr);
      if (hidden) {
        Triangle(pDC, CPoint(l + 5, t + 3), CPoint(l + 6, t + 4), CPoint(l + 7, t + 3), clr);
        Triangle(pDC, CPoint(l + 5, t + 7), CPoint(l + 6, t + 8), CPoint(l + 7, t + 7), clr);
      }
    }
  }
  return CSize();
}
