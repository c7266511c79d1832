#include "toolkit/controls/tk_caption_theme.h"

#include <algorithm>

#include "platform/classlib/win/cdc.h"
#include "toolkit/common/color_manager.h"
#include "toolkit/common/draw_helpers.h"
#include "toolkit/common/gdi_guards.h"
#include "toolkit/controls/tk_button.h"
#include "toolkit/controls/tk_caption.h"

IMPLEMENT_DYNCREATE(CTKCaptionThemeFactory, CTKThemeManagerStyleFactory)
IMPLEMENT_DYNCREATE(CTKCaptionButtonThemeFactory, CTKThemeManagerStyleFactory)

namespace {

template <class Theme, class Base>
CTKThemeManagerStyle* Numbered(int nTheme) {
  CTKThemeManagerStyle* pTheme = nullptr;
  if (nTheme == 1) {
    pTheme = new Theme;
  } else if (nTheme == 2) {
    pTheme = new Base;
  }
  return pTheme;
}

// The caption a caption button sits on, when it is a window.
CTKCaption* CaptionOf(CTKButton* pButton) {
  if (pButton == nullptr || !pButton->IsKindOf(RUNTIME_CLASS(CTKCaptionButton))) return nullptr;
  CTKCaption* pCaption = static_cast<CTKCaptionButton*>(pButton)->m_pCaption;
  return pCaption != nullptr && ::IsWindow(pCaption->m_hWnd) ? pCaption : nullptr;
}

BOOL IsSelected(UINT nState) { return (nState & ODS_SELECTED) != 0; }

// The caption's text on its text button, as the caption itself draws it.
void DrawCaptionButtonText(CDC* pDC, UINT nState, const CRect& rcItem, CTKButton* pButton, CTKButtonTheme* pTheme) {
  CTKCaption* pCaption = CaptionOf(pButton);
  if (pCaption == nullptr || !pCaption->m_bTextButton || pCaption->GetCaptionText().IsEmpty()) return;
  CTKPFontDC font(pDC, pTheme->GetThemeFont(pButton));
  pDC->SetTextColor(pTheme->GetTextColor(nState, pButton));
  CRect rc(rcItem);
  if (IsSelected(nState) && pTheme->m_bOffsetPressed) rc.OffsetRect(1, 1);
  pDC->DrawText(pCaption->GetCaptionText(), rc, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
}

// The flat and gradient buttons' text: grey when disabled, the caption's at rest, the hot text colour
// when hot or pressed.
COLORREF ActiveTextColor(UINT nState, CTKButton* pButton, COLORREF restText, COLORREF activeText) {
  if ((nState & ODS_DISABLED) != 0) return TKPColor(COLOR_GRAYTEXT);
  if (!pButton->IsHot() && !IsSelected(nState)) {
    CTKCaption* pCaption = CaptionOf(pButton);
    return pCaption != nullptr ? pCaption->m_crText : restText;
  }
  return activeText;
}

}  // namespace

CTKThemeManagerStyle* CTKCaptionThemeFactory::CreateTheme(int nTheme) {
  CTKThemeManagerStyle* pTheme = Numbered<CTKCaptionThemeFlat, CTKCaptionThemeGradient>(nTheme);
  if (pTheme == nullptr) pTheme = new CTKCaptionTheme;
  pTheme->m_nTheme = nTheme == 1 || nTheme == 2 ? nTheme : 0;
  return pTheme;
}

CTKThemeManagerStyle* CTKCaptionButtonThemeFactory::CreateTheme(int nTheme) {
  CTKThemeManagerStyle* pTheme = Numbered<CTKCaptionButtonThemeFlat, CTKCaptionButtonThemeGradient>(nTheme);
  if (pTheme == nullptr) pTheme = new CTKCaptionButtonTheme;
  pTheme->m_nTheme = nTheme == 1 || nTheme == 2 ? nTheme : 0;
  return pTheme;
}

// ---- caption themes ----

void CTKCaptionTheme::RefreshMetrics() {
  m_clrLight.SetStandardValue(TKPColor(COLOR_BTNSHADOW));
  m_clrDark.SetStandardValue(TKPColor(COLOR_BTNHIGHLIGHT));
}

void CTKCaptionTheme::DrawCaptionBackground(CDC* pDC, CTKCaption* pCaption, CRect rc) {
  pDC->SetBkMode(TRANSPARENT);
  pDC->FillSolidRect(rc, pCaption->m_crBorder);
  const DWORD style = pCaption->GetCaptionStyle();
  if ((style & (kTKCaptionRaised | kTKCaptionSunken)) != 0) {
    if ((style & kTKCaptionRaised) != 0) {
      pDC->Draw3dRect(rc, m_clrLight, m_clrDark);
      rc.DeflateRect(1, 1);
      pDC->Draw3dRect(rc, m_clrDark, m_clrLight);
    } else {
      pDC->Draw3dRect(rc, m_clrDark, m_clrLight);
    }
    if (pCaption->m_nBorderSize == 0) rc.DeflateRect(1, 1);
  }
  rc.DeflateRect(pCaption->m_nBorderSize, pCaption->m_nBorderSize);
  pDC->FillSolidRect(rc, pCaption->m_crBack);
}

void CTKCaptionTheme::DrawCaptionText(CDC* pDC, CTKCaption* pCaption) {
  if (pCaption->GetCaptionText().IsEmpty()) return;
  CTKPFontDC font(pDC, pCaption->GetFont());
  pDC->SetBkMode(TRANSPARENT);
  pDC->SetTextColor(pCaption->m_crText);
  CRect rc = pCaption->GetTextRect();
  pDC->DrawText(pCaption->GetCaptionText(), rc, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
}

void CTKCaptionTheme::DrawCaptionIcon(CDC* pDC, CTKCaption* pCaption, CRect rc) {
  HICON hIcon = pCaption->GetCaptionIcon();
  if (hIcon == nullptr) return;
  const CSize size = pCaption->GetIconSize();
  const int border = pCaption->m_nBorderSize;
  const int x = std::max(static_cast<int>(rc.right) - border - static_cast<int>(size.cx) - 2, border);
  const int y = (rc.Height() - size.cy) / 2;
  if (x + size.cx >= rc.right - border) return;
  ::DrawIconEx(pDC->GetSafeHdc(), x, y, hIcon, size.cx, size.cy, 0, nullptr, DI_NORMAL);
}

void CTKCaptionThemeFlat::DrawCaptionBackground(CDC* pDC, CTKCaption* pCaption, CRect rc) {
  pDC->SetBkMode(TRANSPARENT);
  pDC->FillSolidRect(rc, pCaption->m_crBorder);
  if (pCaption->m_bTextButton) {
    rc.DeflateRect(pCaption->m_nBorderSize, pCaption->m_nBorderSize);
    pDC->FillSolidRect(rc, pCaption->m_crBack);
  } else {
    pDC->Draw3dRect(rc, TKPColor(COLOR_BTNHIGHLIGHT), TKPColor(COLOR_BTNSHADOW));
  }
}

void CTKCaptionThemeGradient::DrawCaptionBackground(CDC* pDC, CTKCaption* pCaption, CRect rc) {
  pDC->SetBkMode(TRANSPARENT);
  if (!pCaption->m_bTextButton) {
    TKPDrawHelpers()->FillColorGradient(pDC, rc, TKPColorManager()->GetGradient(3), FALSE);
    pDC->FillSolidRect(rc.left, rc.bottom - 1, rc.Width(), 1, TKPColor(54));
  } else {
    TKPDrawHelpers()->FillColorGradient(pDC, rc, TKPColorManager()->GetGradient(0), FALSE);
    pDC->Draw3dRect(rc, TKPColor(54), TKPColor(54));
  }
}

// ---- caption button themes ----

void CTKCaptionButtonTheme::DrawButtonBackground(LPDRAWITEMSTRUCT lpDIS, CTKButton* pButton) {
  if (CTKCaption* pCaption = CaptionOf(pButton)) m_clrFace.SetCustomValue(pCaption->m_crBack);
  CTKButtonTheme::DrawButtonBackground(lpDIS, pButton);
}

COLORREF CTKCaptionButtonTheme::GetTextColor(UINT, CTKButton* pButton) {
  CTKCaption* pCaption = CaptionOf(pButton);
  return pCaption != nullptr ? pCaption->m_crText : static_cast<COLORREF>(m_clrText);
}

void CTKCaptionButtonTheme::DrawButtonText(CDC* pDC, UINT nState, const CRect& rcItem, CTKButton* pButton) {
  DrawCaptionButtonText(pDC, nState, rcItem, pButton, this);
}

CTKCaptionButtonThemeFlat::CTKCaptionButtonThemeFlat() : CTKButtonThemeFlat(FALSE) {
  m_bOffsetPressed = FALSE;
  m_bFadedNormalImage = FALSE;
  m_bShadowHotImage = FALSE;
}

void CTKCaptionButtonThemeFlat::DrawButtonBackground(LPDRAWITEMSTRUCT lpDIS, CTKButton* pButton) {
  CDC* pDC = CDC::FromHandle(lpDIS->hDC);
  const CRect rc(lpDIS->rcItem);
  const BOOL bSelected = IsSelected(lpDIS->itemState);
  if (!pButton->IsHot() && !bSelected) {
    if (CTKCaption* pCaption = CaptionOf(pButton)) m_clrFace.SetCustomValue(pCaption->m_crBack);
    pDC->FillSolidRect(rc, m_clrFace);
    if (m_bUseToolbarFace) pDC->Draw3dRect(rc, m_clrShadow, m_clrShadow);
    return;
  }
  pDC->FillSolidRect(rc, TKPColor(bSelected ? 33 : 31));
  pDC->Draw3dRect(rc, TKPColor(32), TKPColor(32));
}

COLORREF CTKCaptionButtonThemeFlat::GetTextColor(UINT nState, CTKButton* pButton) {
  return ActiveTextColor(nState, pButton, m_clrText, m_clrHotText);
}

void CTKCaptionButtonThemeFlat::DrawButtonText(CDC* pDC, UINT nState, const CRect& rcItem, CTKButton* pButton) {
  DrawCaptionButtonText(pDC, nState, rcItem, pButton, this);
}

void CTKCaptionButtonThemeGradient::DrawButtonBackground(LPDRAWITEMSTRUCT lpDIS, CTKButton* pButton) {
  CTKCaption* pCaption = CaptionOf(pButton);
  if (pCaption == nullptr) {
    CTKButtonThemeGradient::DrawButtonBackground(lpDIS, pButton);
    return;
  }
  CDC* pDC = CDC::FromHandle(lpDIS->hDC);
  const CRect rc(lpDIS->rcItem);
  const BOOL bSelected = IsSelected(lpDIS->itemState);
  if (bSelected || pButton->IsHot()) {
    TKPDrawHelpers()->FillColorGradient(pDC, rc, TKPColorManager()->GetGradient(bSelected ? 8 : 9), FALSE);
    const COLORREF frame = TKPColorManager()->GetLunaColor(32);
    pDC->Draw3dRect(rc, frame, frame);
    return;
  }
  // The caption's own gradient under the button, sampled at the button's corners.
  CRect caption;
  pCaption->GetClientRect(caption);
  CRect button;
  pButton->GetWindowRect(button);
  pCaption->ScreenToClient(button);
  COLORREF light = m_clrFace, dark = m_clrFace;
  CBitmap bitmap;
  if (!caption.IsRectEmpty() && bitmap.CreateCompatibleBitmap(pDC, caption.Width(), caption.Height())) {
    CTKPCompatibleDC sample(pDC, &bitmap);
    TKPDrawHelpers()->FillColorGradient(&sample, caption,
                                         TKPColorManager()->GetGradient(pCaption->m_bTextButton ? 0 : 3), FALSE);
    // The corners are read inside the bitmap: the bottom-right one is the button's last pixel.
    const auto clampX = [&](int x) { return std::clamp(x, 0, caption.Width() - 1); };
    const auto clampY = [&](int y) { return std::clamp(y, 0, caption.Height() - 1); };
    light = sample.GetPixel(clampX(button.left), clampY(button.top));
    dark = sample.GetPixel(clampX(button.right - 1), clampY(button.bottom - 1));
  }
  CTKPColorGradient gradient;
  gradient.SetStandardValue(light, dark, 0.5f);
  TKPDrawHelpers()->FillColorGradient(pDC, rc, gradient, FALSE);
}

COLORREF CTKCaptionButtonThemeGradient::GetTextColor(UINT nState, CTKButton* pButton) {
  return ActiveTextColor(nState, pButton, m_clrText, m_clrHotText);
}

void CTKCaptionButtonThemeGradient::DrawButtonText(CDC* pDC, UINT nState, const CRect& rcItem, CTKButton* pButton) {
  DrawCaptionButtonText(pDC, nState, rcItem, pButton, this);
}
