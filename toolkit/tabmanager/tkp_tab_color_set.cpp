#include "toolkit/tabmanager/tkp_tab_color_set.h"

#include <vector>

#include "platform/classlib/win/cdc.h"
#include "toolkit/common/color_manager.h"
#include "toolkit/common/draw_helpers.h"
#include "toolkit/tabmanager/tab_layout.h"
#include "toolkit/tabmanager/tab_theme_states.h"
#include "toolkit/tabmanager/tkp_tab_manager.h"
#include "toolkit/tabmanager/tkp_tab_paint_manager.h"

namespace {

COLORREF Clr(int index) { return TKPColorManager()->GetColor(static_cast<UINT>(index)); }

// A COLORREF with its top byte set names no colour (the unset -1 and the like).
bool IsColor(COLORREF clr) { return (clr & 0xFF000000) == 0; }

void Set(CTKPColorValue& value, COLORREF clr) { value.SetStandardValue(clr); }

// The theme's tab and button parts.
constexpr int kTabPartItem = 1, kTabPartPane = 9;
constexpr int kToolbarPartButton = 1;

}  // namespace

// ---- the base

int CTKPTabColorSet::GetAppearanceId() const { return m_pPaintManager ? m_pPaintManager->GetAppearance() : 0; }
int CTKPTabColorSet::GetPosition() const { return m_pPaintManager ? m_pPaintManager->GetPosition() : 0; }

void CTKPTabColorSet::RefreshMetrics() {
  m_grcHeader.SetStandardValue(Clr(COLOR_BTNFACE), Clr(COLOR_BTNFACE));
  m_grcHeader2.CopyFrom(m_grcHeader);
  Set(m_clrFrameBorder, Clr(COLOR_BTNSHADOW));
  Set(m_clrFrameFace, Clr(COLOR_BTNFACE));
  Set(m_clrFrameLight, Clr(COLOR_BTNHIGHLIGHT));
  Set(m_clrSelectedFace, Clr(GetAppearanceId() == 7 ? COLOR_WINDOW : COLOR_BTNFACE));
  Set(m_clrNormalFace, Clr(COLOR_BTNFACE));
  Set(m_clrNormalText, Clr(COLOR_BTNTEXT));
  Set(m_clrInactiveText, Clr(COLOR_BTNTEXT));
  Set(m_clrSelectedText, Clr(COLOR_BTNTEXT));
  Set(m_clrHotText, RGB(0, 0, 128));
  Set(m_clrDisabledText, Clr(COLOR_GRAYTEXT));
  m_grcPressedFill.SetStandardValue(Clr(COLOR_WINDOW), Clr(COLOR_WINDOW));
  m_grcPressedBorder.SetStandardValue(Clr(COLOR_HIGHLIGHT), Clr(COLOR_HIGHLIGHT));
  Set(m_clrOutlineA[0], Clr(COLOR_BTNHIGHLIGHT));
  Set(m_clrOutlineA[1], Clr(COLOR_BTNSHADOW));
  Set(m_clrOutlineA[2], Clr(COLOR_3DDKSHADOW));
  Set(m_clrOutlineB[0], Clr(COLOR_BTNSHADOW));
  Set(m_clrOutlineB[1], Clr(COLOR_BTNSHADOW));
  Set(m_clrOutlineB[2], Clr(COLOR_BTNFACE));
  Set(m_clrOutlineFace, Clr(COLOR_BTNFACE));
  const COLORREF selected[6] = {Clr(COLOR_BTNTEXT), Clr(COLOR_BTNSHADOW), Clr(COLOR_BTNTEXT), kTKPNoColor,
                                kTKPNoColor, kTKPNoColor};
  for (int i = 0; i < 6; ++i) Set(m_clrSelectedOutline[i], selected[i]);
  const COLORREF normal[6] = {selected[0], selected[1], selected[2], Clr(COLOR_WINDOW), Clr(COLOR_BTNSHADOW),
                              kTKPNoColor};
  for (int i = 0; i < 6; ++i) Set(m_clrNormalOutline[i], normal[i]);
}

void CTKPTabColorSet::SetTextColor(CDC* pDC, CTKPTabManagerItem* pItem) {
  COLORREF clr = m_clrNormalText;
  if (!pItem->IsEnabled()) {
    clr = m_clrDisabledText;
  } else if (!pItem->GetTabManager()->IsActive()) {
    clr = m_clrInactiveText;
  } else if (pItem->IsSelected()) {
    clr = m_clrSelectedText;
  } else if (pItem->IsHot()) {
    clr = m_clrHotText;
  }
  pDC->SetTextColor(clr);
}

void CTKPTabColorSet::GradientFill(CDC* pDC, CRect rc, COLORREF crFrom, COLORREF crTo, int nPosition) {
  switch (nPosition) {
    case tktab::kLeft: TKPDrawHelpers()->GradientFill(pDC, rc, crFrom, crTo, TRUE); break;
    case tktab::kBottom: TKPDrawHelpers()->GradientFill(pDC, rc, crTo, crFrom, FALSE); break;
    case tktab::kRight: TKPDrawHelpers()->GradientFill(pDC, rc, crTo, crFrom, TRUE); break;
    default: TKPDrawHelpers()->GradientFill(pDC, rc, crFrom, crTo, FALSE); break;
  }
}

void CTKPTabColorSet::FillButtonRect(CDC* pDC, CRect rc, int nFillIndex, int nBorderIndex) {
  pDC->FillSolidRect(rc, Clr(nFillIndex));
  pDC->Draw3dRect(rc, Clr(nBorderIndex), Clr(nBorderIndex));
}

void CTKPTabColorSet::FillHeaderGradient(CDC* pDC, CRect rc, CTKPTabManager* pTabManager) {
  GradientFill(pDC, rc, m_grcHeader.clrLight, m_grcHeader.clrDark, pTabManager->GetPosition());
}

void CTKPTabColorSet::FillClient(CDC* pDC, CRect rc, CTKPTabManager* pTabManager) {
  CTKPTabManagerItem* pSelected = pTabManager->GetSelectedItem();
  pDC->FillSolidRect(rc, pSelected ? GetItemColor(pSelected) : static_cast<COLORREF>(m_clrSelectedFace));
}

COLORREF CTKPTabColorSet::GetItemColor(CTKPTabManagerItem* pItem) {
  if (m_pPaintManager && m_pPaintManager->ColorTabs) return pItem->GetColor();
  return pItem->IsSelected() ? m_clrSelectedFace : m_clrNormalFace;
}

COLORREF CTKPTabColorSet::FillSelectedTab(CDC* pDC, CRect rc, CTKPTabManagerItem* pItem) {
  const COLORREF clr = GetItemColor(pItem);
  pDC->FillSolidRect(rc, clr);
  return clr;
}

void CTKPTabColorSet::FillStateButton(CDC* pDC, CRect rc, CTKPTabManagerItem* pItem) {
  const int position = GetPosition();
  if (pItem->IsSelected()) {
    if (m_pPaintManager && m_pPaintManager->ColorTabs) {
      pDC->FillSolidRect(rc, GetItemColor(pItem));
    } else if (IsColor(m_grcPressedFill.clrLight) && IsColor(m_grcPressedFill.clrDark)) {
      GradientFill(pDC, rc, m_grcPressedFill.clrLight, m_grcPressedFill.clrDark, position);
    }
    pDC->Draw3dRect(rc, m_grcPressedBorder.clrLight, m_grcPressedBorder.clrDark);
    return;
  }
  if (tktab::IsHorizontal(position)) {
    pDC->Draw3dRect(rc.right - 2, rc.top + 2, 2, rc.Height() - 4, Clr(COLOR_BTNHIGHLIGHT), Clr(COLOR_BTNSHADOW));
  } else {
    pDC->Draw3dRect(rc.left + 2, rc.bottom - 2, rc.Width() - 4, 2, Clr(COLOR_BTNHIGHLIGHT), Clr(COLOR_BTNSHADOW));
  }
}

void CTKPTabColorSet::FillNavigateButtonDefault(CTKPTabManagerNavigateButton* pButton, CDC* pDC, CRect& rc) {
  if (pButton->IsEnabled() && pButton->IsPressed()) {
    pDC->Draw3dRect(rc, Clr(COLOR_BTNSHADOW), Clr(COLOR_BTNHIGHLIGHT));
    rc.OffsetRect(1, 1);
  } else if (pButton->IsEnabled() && pButton->IsHot()) {
    pDC->Draw3dRect(rc, Clr(COLOR_BTNHIGHLIGHT), Clr(COLOR_BTNSHADOW));
  }
  pDC->SetTextColor(Clr(COLOR_BTNTEXT));
}

void CTKPTabColorSetLuna::FillNavigateButton(CDC* pDC, CTKPTabManagerNavigateButton* pButton, CRect& rc) {
  const BOOL bLuna = m_bLunaColors;
  COLORREF glyph = Clr(COLOR_BTNTEXT);
  const COLORREF border = m_clrNavigateBorder;
  const BOOL bPressed = pButton->IsPressed(), bHot = pButton->IsHot();
  if (pButton->IsEnabled() && bPressed && bHot) {
    if (bLuna) {
      TKPDrawHelpers()->GradientFill(pDC, rc, RGB(254, 142, 75), RGB(255, 207, 139), FALSE);
      pDC->Draw3dRect(rc, border, border);
    } else {
      FillButtonRect(pDC, rc, 50, 33);
      glyph = Clr(47);
    }
  } else if (pButton->IsEnabled() && (bPressed || bHot)) {
    if (bLuna) {
      TKPDrawHelpers()->GradientFill(pDC, rc, RGB(255, 242, 200), RGB(255, 212, 151), FALSE);
      pDC->Draw3dRect(rc, border, border);
    } else {
      FillButtonRect(pDC, rc, 32, 31);
      glyph = Clr(45);
    }
  }
  pDC->SetTextColor(glyph);
}

COLORREF CTKPTabColorSet::FillGradientTab(CDC* pDC, CRect rc, CTKPTabManagerItem* pItem, COLORREF clrHotFace) {
  const COLORREF clr = pItem->IsHot() ? clrHotFace : GetItemColor(pItem);
  GradientFill(pDC, rc, CTKPColorManager::BlendColors(clr, RGB(255, 255, 255), 300), clr, GetPosition());
  return clr;
}

// ---- 1: the default set

void CTKPTabColorSetDefault::RefreshMetrics() {
  CTKPTabColorSet::RefreshMetrics();
  // Not colours: the selected state button is left unfilled and only framed, sunken.
  m_grcPressedFill.SetStandardValue(static_cast<COLORREF>(-2), static_cast<COLORREF>(-2));
  m_grcPressedBorder.SetStandardValue(Clr(COLOR_BTNSHADOW), Clr(COLOR_BTNHIGHLIGHT));
  for (int i = 0; i < 3; ++i) Set(m_clrSelectedOutline[i], Clr(COLOR_BTNTEXT));
  Set(m_clrSelectedOutline[3], Clr(COLOR_WINDOW));
  Set(m_clrSelectedOutline[4], Clr(COLOR_BTNSHADOW));
  Set(m_clrSelectedOutline[5], Clr(COLOR_BTNSHADOW));
  for (int i = 0; i < 6; ++i) Set(m_clrNormalOutline[i], m_clrSelectedOutline[i]);
}

void CTKPTabColorSetDefault::FillNavigateButton(CDC* pDC, CTKPTabManagerNavigateButton* pButton, CRect& rc) {
  FillNavigateButtonDefault(pButton, pDC, rc);
}

// ---- 2: the flat set

void CTKPTabColorSetFlat::RefreshMetrics() {
  CTKPTabColorSet::RefreshMetrics();
  const int appearance = GetAppearanceId();
  if (appearance == 7 || appearance == 4) return;
  m_grcHeader.SetSolidColor(Clr(48));
  if (appearance == 5) {
    Set(m_clrNormalText, Clr(49));
    Set(m_clrInactiveText, Clr(49));
  }
  m_grcHeader2.CopyFrom(m_grcHeader);
}

void CTKPTabColorSetFlat::FillNavigateButton(CDC* pDC, CTKPTabManagerNavigateButton* pButton, CRect& rc) {
  const int appearance = GetAppearanceId();
  if (appearance == 7 || appearance == 4) {
    FillNavigateButtonDefault(pButton, pDC, rc);
    return;
  }
  if (pButton->IsEnabled() && pButton->IsPressed()) {
    pDC->Draw3dRect(rc, Clr(COLOR_BTNTEXT), Clr(COLOR_BTNFACE));
  } else if (pButton->IsEnabled() && pButton->IsHot()) {
    pDC->Draw3dRect(rc, Clr(COLOR_BTNFACE), Clr(COLOR_BTNTEXT));
  }
  pDC->SetTextColor(Clr(49));
}

// ---- 4: the luna set

namespace {

struct LunaPalette {
  COLORREF frameBorder, outlineDark, outlineLight, pressedBorder, headerLight, headerDark, normalFace, hotFace,
      header2Light, header2Dark;
};

const LunaPalette* LunaPaletteOf(int theme) {
  static const LunaPalette kBlue = {RGB(59, 97, 156),   RGB(0, 53, 154),    RGB(117, 166, 241), RGB(0, 0, 128),
                                    RGB(196, 218, 250), RGB(252, 253, 254), RGB(162, 192, 246), RGB(255, 240, 201),
                                    RGB(158, 190, 245), RGB(196, 218, 250)};
  static const LunaPalette kOlive = {RGB(96, 128, 88),   RGB(96, 119, 107),  RGB(176, 194, 140), RGB(63, 93, 56),
                                     RGB(242, 241, 228), RGB(252, 254, 254), RGB(208, 222, 170), RGB(255, 240, 199),
                                     RGB(217, 217, 167), RGB(242, 241, 228)};
  static const LunaPalette kSilver = {RGB(124, 124, 148), RGB(118, 116, 146), RGB(186, 185, 206), RGB(75, 75, 111),
                                      RGB(243, 243, 247), RGB(252, 254, 254), RGB(217, 217, 230), RGB(255, 238, 194),
                                      RGB(215, 215, 229), RGB(243, 243, 247)};
  switch (theme) {
    case 1: return &kBlue;
    case 2: return &kOlive;
    case 3: return &kSilver;
    default: return nullptr;
  }
}

}  // namespace

void CTKPTabColorSetLuna::RefreshLunaMetrics() {
  m_grcHeader.SetStandardValue(Clr(COLOR_BTNFACE),
                               CTKPColorManager::BlendColors(Clr(COLOR_BTNFACE), Clr(COLOR_WINDOW), 205));
  m_grcPressedFill.SetSolidColor(Clr(36));
  m_grcPressedBorder.SetSolidColor(Clr(37));
  Set(m_clrHotFace, Clr(36));
  Set(m_clrHotText, Clr(COLOR_BTNTEXT));
  m_grcHeader2.CopyFrom(m_grcHeader);
  m_bLunaColors = FALSE;
  const LunaPalette* palette =
      (m_pPaintManager && m_pPaintManager->IsLunaColorsDisabled()) ? nullptr : LunaPaletteOf(TKPCurrentSystemTheme());
  if (palette) {
    Set(m_clrFrameBorder, palette->frameBorder);
    Set(m_clrOutlineB[1], palette->frameBorder);
    Set(m_clrOutlineA[2], palette->outlineDark);
    Set(m_clrOutlineB[0], palette->outlineDark);
    Set(m_clrOutlineFace, RGB(255, 255, 255));
    Set(m_clrOutlineA[1], palette->outlineLight);
    Set(m_clrOutlineB[2], palette->outlineLight);
    m_grcPressedFill.SetSolidColor(RGB(255, 192, 111));
    m_grcPressedBorder.SetSolidColor(palette->pressedBorder);
    m_grcHeader.SetStandardValue(palette->headerLight, palette->headerDark);
    Set(m_clrNormalFace, palette->normalFace);
    Set(m_clrSelectedFace, RGB(255, 194, 115));
    Set(m_clrHotFace, palette->hotFace);
    m_grcHeader2.SetStandardValue(palette->header2Light, palette->header2Dark);
    Set(m_clrNavigateBorder, palette->pressedBorder);
    m_bLunaColors = TRUE;
  } else {
    Set(m_clrSelectedFace, Clr(36));
  }
  for (int i = 0; i < 3; ++i) Set(m_clrSelectedOutline[i], m_clrFrameBorder);
  for (int i = 3; i < 6; ++i) Set(m_clrSelectedOutline[i], kTKPNoColor);
  for (int i = 0; i < 6; ++i) Set(m_clrNormalOutline[i], m_clrSelectedOutline[i]);
  if (GetAppearanceId() == 4) {
    m_grcHeader.SetSolidColor(Clr(COLOR_BTNFACE));
    m_grcHeader2.SetSolidColor(Clr(COLOR_BTNFACE));
  }
}

void CTKPTabColorSetLuna::RefreshMetrics() {
  CTKPTabColorSet::RefreshMetrics();
  RefreshLunaMetrics();
}

COLORREF CTKPTabColorSetLuna::FillSelectedTab(CDC* pDC, CRect rc, CTKPTabManagerItem* pItem) {
  return FillGradientTab(pDC, rc, pItem, m_clrHotFace);
}

// ---- 16: the light set

void CTKPTabColorSetLight::RefreshMetrics() {
  CTKPTabColorSet::RefreshMetrics();
  if (!m_pPaintManager || !m_pPaintManager->IsLunaColorsDisabled()) {
    RefreshLunaMetrics();
    m_bGradientTabs = FALSE;
    return;
  }
  Set(m_clrSelectedFace, RGB(255, 255, 255));
  m_bLunaColors = m_bGradientTabs = FALSE;
  Set(m_clrHotFace, Clr(36));
  Set(m_clrHotText, Clr(COLOR_BTNTEXT));
  const int theme = TKPCurrentSystemTheme();
  if (theme == 1 || theme == 2) {
    m_grcHeader.SetSolidColor(RGB(228, 226, 213));
    m_bGradientTabs = TRUE;
  } else if (theme == 3) {
    Set(m_clrNormalFace, RGB(245, 245, 248));
    m_grcHeader.SetSolidColor(RGB(238, 238, 238));
    m_bGradientTabs = TRUE;
  }
  Set(m_clrFrameBorder, Clr(57));
  Set(m_clrOutlineB[1], Clr(57));
}

COLORREF CTKPTabColorSetLight::FillSelectedTab(CDC* pDC, CRect rc, CTKPTabManagerItem* pItem) {
  if (m_bGradientTabs) return FillGradientTab(pDC, rc, pItem, m_clrHotFace);
  const COLORREF clr = pItem->IsHot() ? static_cast<COLORREF>(m_clrHotFace) : GetItemColor(pItem);
  pDC->FillSolidRect(rc, clr);
  return clr;
}

// ---- 8: the visual-style set

void CTKPTabColorSetThemed::RefreshMetrics() {
  CTKPTabColorSetDefault::RefreshMetrics();
  m_themeTab.OpenThemeData(nullptr, L"TAB");
  m_themeToolbar.OpenThemeData(nullptr, L"TOOLBAR");
  if (IsThemed()) {
    for (CTKPColorValue& value : m_clrOutlineA) Set(value, kTKPNoColor);
    Set(m_clrHotText, m_clrNormalText);
  }
}

BOOL CTKPTabColorSetThemed::IsThemed() const {
  return m_themeTab.GetHandle() != nullptr && CTKPVisualStyleTheme::IsAppThemed();
}

void CTKPTabColorSetThemed::FillNavigateButton(CDC* pDC, CTKPTabManagerNavigateButton* pButton, CRect& rc) {
  if (!IsThemed() || !m_themeToolbar.GetHandle()) {
    FillNavigateButtonDefault(pButton, pDC, rc);
    return;
  }
  const int state = tktab::ThemedNavigateButtonState(pButton->IsEnabled() != FALSE, pButton->IsPressed() != FALSE,
                                                    pButton->IsHot() != FALSE);
  if (state != 0) m_themeToolbar.DrawThemeBackground(*pDC, kToolbarPartButton, state, rc, nullptr);
  pDC->SetTextColor(Clr(COLOR_BTNTEXT));
}

void CTKPTabColorSetThemed::DrawTurnedTab(CDC* pDC, const CRect& rc, int nState, int nPosition) {
  const bool turned = !tktab::IsHorizontal(nPosition);
  const int cx = turned ? rc.Height() : rc.Width(), cy = turned ? rc.Width() : rc.Height();
  if (cx <= 0 || cy <= 0) return;
  BITMAPINFO bmi = {};
  bmi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  bmi.bmiHeader.biWidth = cx;
  bmi.bmiHeader.biHeight = -cy;
  bmi.bmiHeader.biPlanes = 1;
  bmi.bmiHeader.biBitCount = 32;
  void* pvUpright = nullptr;
  HBITMAP hUpright = ::CreateDIBSection(nullptr, &bmi, DIB_RGB_COLORS, &pvUpright, nullptr, 0);
  if (!hUpright) return;
  HDC hMem = ::CreateCompatibleDC(*pDC);
  HGDIOBJ hOld = ::SelectObject(hMem, hUpright);
  // The pixels under the tab first, so that the theme's rounded corners blend with them.
  ::StretchBlt(hMem, 0, 0, cx, cy, *pDC, rc.left, rc.top, rc.Width(), rc.Height(), SRCCOPY);
  const RECT upright = {0, 0, cx, cy};
  m_themeTab.DrawThemeBackground(hMem, kTabPartItem, nState, &upright, nullptr);
  ::GdiFlush();
  // The same pixels turned to the strip's side.
  BITMAPINFO out = bmi;
  out.bmiHeader.biWidth = rc.Width();
  out.bmiHeader.biHeight = -rc.Height();
  std::vector<DWORD> turnedPixels(static_cast<size_t>(rc.Width()) * static_cast<size_t>(rc.Height()));
  const DWORD* src = static_cast<const DWORD*>(pvUpright);
  for (int y = 0; y < rc.Height(); ++y) {
    for (int x = 0; x < rc.Width(); ++x) {
      int sx = x, sy = y;
      if (nPosition == tktab::kLeft) {
        sx = y;
        sy = x;
      } else if (nPosition == tktab::kRight) {
        sx = y;
        sy = cy - 1 - x;
      } else if (nPosition == tktab::kBottom) {
        sy = cy - 1 - y;
      }
      turnedPixels[static_cast<size_t>(y) * static_cast<size_t>(rc.Width()) + static_cast<size_t>(x)] =
          src[static_cast<size_t>(sy) * static_cast<size_t>(cx) + static_cast<size_t>(sx)];
    }
  }
  ::SetDIBitsToDevice(*pDC, rc.left, rc.top, rc.Width(), rc.Height(), 0, 0, 0, rc.Height(), turnedPixels.data(),
                      &out, DIB_RGB_COLORS);
  ::SelectObject(hMem, hOld);
  ::DeleteDC(hMem);
  ::DeleteObject(hUpright);
}

COLORREF CTKPTabColorSetThemed::FillSelectedTab(CDC* pDC, CRect rc, CTKPTabManagerItem* pItem) {
  if (!IsThemed()) return CTKPTabColorSetDefault::FillSelectedTab(pDC, rc, pItem);
  const int position = GetPosition();
  if (pItem->IsSelected()) {
    if (position == tktab::kTop) rc.bottom += 1;
    if (position == tktab::kLeft) rc.right += 1;
  }
  switch (position) {
    case tktab::kLeft: rc.InflateRect(1, 1, 0, 1); break;
    case tktab::kBottom: rc.InflateRect(1, 0, 1, 2); break;
    case tktab::kRight: rc.InflateRect(0, 1, 2, 1); break;
    default: rc.InflateRect(1, 1, 1, 0); break;
  }
  const int state = tktab::ThemedTabState(pItem->IsSelected() != FALSE, pItem->IsHot() != FALSE);
  if (position == tktab::kTop) {
    m_themeTab.DrawThemeBackground(*pDC, kTabPartItem, state, rc, nullptr);
  } else {
    DrawTurnedTab(pDC, rc, state, position);
  }
  return static_cast<COLORREF>(-1);
}

void CTKPTabColorSetThemed::FillStateButton(CDC* pDC, CRect rc, CTKPTabManagerItem* pItem) {
  const int state = tktab::ThemedStateButtonState(pItem->IsSelected() != FALSE, pItem->IsHot() != FALSE);
  if (state == 0 || !IsThemed() || !m_themeToolbar.GetHandle()) {
    CTKPTabColorSetDefault::FillStateButton(pDC, rc, pItem);
    return;
  }
  m_themeToolbar.DrawThemeBackground(*pDC, kToolbarPartButton, state, rc, nullptr);
}

void CTKPTabColorSetThemed::FillClient(CDC* pDC, CRect rc, CTKPTabManager* pTabManager) {
  if (!IsThemed()) {
    CTKPTabColorSetDefault::FillClient(pDC, rc, pTabManager);
    return;
  }
  const int position = pTabManager->GetPosition();
  if (position == tktab::kRight) rc.right += 1;
  if (position == tktab::kBottom) rc.bottom += 1;
  m_themeTab.DrawThemeBackground(*pDC, kTabPartPane, 0, rc, nullptr);
}

void CTKPTabColorSetThemed::FillHeader(CDC* pDC, CRect rc, CTKPTabManager* pTabManager) {
  if (!IsThemed()) return;
  switch (pTabManager->GetPosition()) {
    case tktab::kBottom: pDC->ExcludeClipRect(rc.left, rc.bottom - 2, rc.left + 1, rc.bottom - 1); break;
    case tktab::kRight: pDC->ExcludeClipRect(rc.right - 2, rc.top, rc.right - 1, rc.top + 1); break;
    default: pDC->ExcludeClipRect(rc.left, rc.top, rc.left + 1, rc.top + 1); break;
  }
}

CTKPTabColorSet* TKPCreateTabColorSet(int nId) {
  switch (nId) {
    case 2: return new CTKPTabColorSetFlat;
    case 4: return new CTKPTabColorSetLuna;
    case 8: return new CTKPTabColorSetThemed;
    case 16: return new CTKPTabColorSetLight;
    default: return new CTKPTabColorSetDefault;
  }
}
