#include "toolkit/controls/tk_button_theme.h"

#include "platform/classlib/win/cdc.h"
#include "toolkit/common/color_manager.h"
#include "toolkit/common/draw_helpers.h"
#include "toolkit/common/gdi_guards.h"
#include "toolkit/controls/tk_button.h"

IMPLEMENT_DYNCREATE(CTKButtonThemeFactory, CTKThemeManagerStyleFactory)

CTKThemeManagerStyle* CTKButtonThemeFactory::CreateTheme(int nTheme) {
  CTKThemeManagerStyle* pTheme = nullptr;
  switch (nTheme) {
    case 1: pTheme = new CTKButtonThemeFlat(FALSE); break;
    case 2: pTheme = new CTKButtonThemeGradient(FALSE); break;
    default: pTheme = new CTKButtonTheme; break;
  }
  pTheme->m_nTheme = nTheme;
  return pTheme;
}

namespace {

BOOL IsPressed(UINT nState) { return (nState & ODS_SELECTED) != 0; }

}  // namespace

// ---- theme 0 ----

void CTKButtonTheme::RefreshMetrics() {
  m_clrFace.SetStandardValue(TKPColor(COLOR_BTNFACE));
  m_clrText.SetStandardValue(TKPColor(COLOR_BTNTEXT));
  m_clrDisabledText.SetStandardValue(TKPColor(COLOR_GRAYTEXT));
  m_clrLight.SetStandardValue(TKPColor(COLOR_BTNFACE));
  m_clrShadow.SetStandardValue(TKPColor(COLOR_BTNSHADOW));
  m_clrHighlight.SetStandardValue(TKPColor(COLOR_BTNHIGHLIGHT));
  m_clrDarkShadow.SetStandardValue(TKPColor(COLOR_3DDKSHADOW));
}

BOOL CTKButtonTheme::CanHotTrack(CTKButton* pButton) {
  return UseVisualStyle(pButton) || (pButton->GetTKStyle() & (tkbutton::kStyleFlat | tkbutton::kStyleSemiFlat)) != 0;
}

BOOL CTKButtonTheme::UseVisualStyle(CTKButton* pButton) {
  if ((pButton->GetTKStyle() & tkbutton::kStyleVisualStyle) == 0) return FALSE;
  if (m_themeButton.GetHandle() == nullptr) m_themeButton.OpenThemeData(pButton->m_hWnd, L"BUTTON");
  return CTKPVisualStyleTheme::IsAppThemeReady() && m_themeButton.GetHandle() != nullptr;
}

CFont* CTKButtonTheme::GetThemeFont(CTKButton* pButton) const {
  return m_pFont != nullptr ? m_pFont : pButton->GetFont();
}

void CTKButtonTheme::SetColors(COLORREF face, COLORREF light, COLORREF shadow, COLORREF text) {
  SetColorFace(face);
  SetColorLight(light);
  SetColorShadow(shadow);
  SetColorText(text);
}

CPoint CTKButtonTheme::CalcImagePosition(int cx, int cy, CTKButton* pButton) {
  const tkbutton::Point pt = pButton->GetLayout(CTKPClientRect(pButton)).ImagePosition(cx, cy);
  return CPoint(pt.x, pt.y);
}

CPoint CTKButtonTheme::CalcTextPosition(UINT, const CRect& rcItem, CSize szText, CTKButton* pButton) {
  if (pButton->HasCustomPositions()) return pButton->GetTextPosition();
  const tkbutton::Point pt = pButton->GetLayout(rcItem).TextPosition({szText.cx, szText.cy});
  return CPoint(pt.x, pt.y);
}

CPoint CTKButtonTheme::CalcIconPosition(UINT, const CRect& rcItem, CTKButton* pButton) {
  if (pButton->HasCustomPositions()) return pButton->GetImagePosition();
  tkbutton::Layout layout = pButton->GetLayout(rcItem);
  CSize szText(0, 0);
  if (layout.hasText) {
    CString text;
    pButton->GetButtonText(text, TRUE);
    CClientDC dc(pButton);
    CFont* pOld = dc.SelectObject(GetThemeFont(pButton));
    szText = dc.GetTextExtent(text);
    dc.SelectObject(pOld);
  }
  const tkbutton::Point pt = layout.IconPosition({szText.cx, szText.cy});
  return CPoint(pt.x, pt.y);
}

COLORREF CTKButtonTheme::GetTextColor(UINT nState, CTKButton*) {
  return (nState & ODS_DISABLED) != 0 ? m_clrDisabledText : m_clrText;
}

void CTKButtonTheme::DrawButtonText(CDC* pDC, UINT nState, const CRect& rcItem, CTKButton* pButton) {
  CString text;
  pButton->GetWindowText(text);
  if (text.IsEmpty()) return;
  CString shown;
  pButton->GetButtonText(shown, TRUE);
  CFont* pOld = pDC->SelectObject(GetThemeFont(pButton));
  const CSize size = pDC->GetTextExtent(shown);
  CPoint pt = CalcTextPosition(nState, rcItem, size, pButton);
  if (IsPressed(nState) && m_bOffsetPressed) pt.Offset(1, 1);
  pDC->SetTextColor(GetTextColor(nState, pButton));
  ::DrawStateW(pDC->GetSafeHdc(), nullptr, nullptr, reinterpret_cast<LPARAM>(static_cast<LPCWSTR>(text)),
               static_cast<WPARAM>(text.GetLength()), pt.x, pt.y, size.cx, size.cy, DST_PREFIXTEXT);
  pDC->SelectObject(pOld);
}

void CTKButtonTheme::DrawButtonIcon(CDC* pDC, UINT nState, const CRect& rcItem, CTKButton* pButton) {
  CTKPImageManagerIcon* pIcon = pButton->GetIcon();
  if (!m_bShowImages || pIcon == nullptr) return;
  CPoint pt = CalcIconPosition(nState, rcItem, pButton);
  const BOOL bMoved = IsPressed(nState) && m_bOffsetPressed;
  if (bMoved) pt.Offset(1, 1);
  const CSize size = pButton->GetImageSize();
  if ((nState & ODS_DISABLED) != 0)
    pIcon->Draw(pDC, pt, pIcon->GetDisabledIcon(), size);
  else if (pButton->IsHot() || bMoved)
    pIcon->Draw(pDC, pt, pIcon->GetHotIcon(), size);
  else
    pIcon->Draw(pDC, pt, pIcon->GetIcon(), size);
}

void CTKButtonTheme::DrawItem(LPDRAWITEMSTRUCT lpDIS, CTKButton* pButton) {
  CDC* pDC = CDC::FromHandle(lpDIS->hDC);
  const CRect rc(lpDIS->rcItem);
  if (!DrawVisualStyleBackground(lpDIS, pButton)) DrawButtonBackground(lpDIS, pButton);
  const int nOldMode = pDC->SetBkMode(TRANSPARENT);
  DrawButtonText(pDC, lpDIS->itemState, rc, pButton);
  DrawButtonIcon(pDC, lpDIS->itemState, rc, pButton);
  if ((pButton->GetTKStyle() & tkbutton::kStyleFocusRect) != 0 && (lpDIS->itemState & ODS_FOCUS) != 0)
    DrawFocusRect(pDC, lpDIS->itemState, rc, pButton);
  pDC->SetBkMode(nOldMode);
}

BOOL CTKButtonTheme::DrawVisualStyleBackground(LPDRAWITEMSTRUCT lpDIS, CTKButton* pButton) {
  if (!UseVisualStyle(pButton)) return FALSE;
  // The push button part (1): normal 1, hot 2, pressed 3, disabled 4, defaulted 5.
  int nState = 1;
  if (pButton->IsHot())
    nState = 2;
  else if ((lpDIS->itemState & ODS_FOCUS) != 0)
    nState = 5;
  if ((lpDIS->itemState & ODS_SELECTED) != 0) nState = 3;
  if ((lpDIS->itemState & ODS_DISABLED) != 0) nState = 4;
  m_themeButton.DrawThemeBackground(lpDIS->hDC, 1, nState, &lpDIS->rcItem, nullptr);
  return TRUE;
}

void CTKButtonTheme::DrawButtonBackground(LPDRAWITEMSTRUCT lpDIS, CTKButton* pButton) {
  CDC* pDC = CDC::FromHandle(lpDIS->hDC);
  CRect rc(lpDIS->rcItem);
  const BOOL bPressed = IsPressed(lpDIS->itemState);
  const DWORD dwStyle = pButton->GetTKStyle();
  pDC->FillSolidRect(rc, m_clrFace);
  if ((dwStyle & tkbutton::kStyleDitherPressed) != 0 && bPressed) CTKPDrawHelpers::FillCheckerPattern(pDC, rc);
  if ((dwStyle & tkbutton::kStyleFlat) != 0) {
    if (bPressed)
      pDC->Draw3dRect(rc, m_clrShadow, m_clrHighlight);
    else if (pButton->IsHot())
      pDC->Draw3dRect(rc, m_clrHighlight, m_clrShadow);
  } else if ((dwStyle & tkbutton::kStyleSemiFlat) != 0) {
    if (bPressed)
      pDC->Draw3dRect(rc, m_clrShadow, m_clrHighlight);
    else
      pDC->Draw3dRect(rc, m_clrHighlight, m_clrShadow);
  } else if (bPressed) {
    pDC->Draw3dRect(rc, m_clrDarkShadow, m_clrHighlight);
    rc.DeflateRect(1, 1);
    pDC->Draw3dRect(rc, m_clrShadow, m_clrLight);
  } else {
    pDC->Draw3dRect(rc, m_clrHighlight, m_clrDarkShadow);
    rc.DeflateRect(1, 1);
    pDC->Draw3dRect(rc, m_clrLight, m_clrShadow);
  }
}

void CTKButtonTheme::DrawFocusRect(CDC* pDC, UINT nState, const CRect& rcItem, CTKButton* pButton) {
  CRect rc(rcItem);
  const int inset = UseVisualStyle(pButton) ? 4 : 2;
  rc.DeflateRect(inset, inset);
  const COLORREF old = pDC->SetTextColor(GetTextColor(nState, pButton));
  pDC->DrawFocusRect(rc);
  pDC->SetTextColor(old);
}

// ---- theme 1 ----

void CTKButtonThemeFlat::RefreshMetrics() {
  CTKButtonTheme::RefreshMetrics();
  m_clrFace.SetStandardValue(TKPColor(m_bUseToolbarFace ? 30 : COLOR_BTNFACE));
  m_clrPressedFace.SetStandardValue(TKPColor(33));
  m_clrHotFace.SetStandardValue(TKPColor(31));
  m_clrShadow.SetStandardValue(TKPColor(COLOR_BTNSHADOW));
  m_clrLight.SetStandardValue(TKPColor(32));
  m_clrText.SetStandardValue(TKPColor(46));
  m_clrHotText.SetStandardValue(TKPColor(45));
  m_clrPressedText.SetStandardValue(TKPColor(47));
}

COLORREF CTKButtonThemeFlat::GetTextColor(UINT nState, CTKButton* pButton) {
  if ((nState & ODS_DISABLED) != 0) return TKPColor(COLOR_GRAYTEXT);
  if (pButton->IsHot()) return m_clrHotText;
  if (IsPressed(nState)) return m_clrPressedText;
  return m_clrText;
}

void CTKButtonThemeFlat::DrawButtonIcon(CDC* pDC, UINT nState, const CRect& rcItem, CTKButton* pButton) {
  CTKPImageManagerIcon* pIcon = pButton->GetIcon();
  if (!m_bShowImages || pIcon == nullptr) return;
  const CPoint pt = CalcIconPosition(nState, rcItem, pButton);
  const CSize size = pButton->GetImageSize();
  if ((nState & ODS_DISABLED) != 0) {
    pIcon->Draw(pDC, pt, pIcon->GetDisabledIcon(), size);
  } else if (pButton->IsHot()) {
    if (m_bShadowHotImage) {
      pIcon->Draw(pDC, CPoint(pt.x + 1, pt.y + 1), pIcon->GetShadowIcon(), size);
      pIcon->Draw(pDC, CPoint(pt.x - 1, pt.y - 1), pIcon->GetHotIcon(), size);
    } else {
      pIcon->Draw(pDC, pt, pIcon->GetHotIcon(), size);
    }
  } else if (IsPressed(nState)) {
    pIcon->Draw(pDC, pt, pIcon->GetHotIcon(), size);
  } else {
    pIcon->Draw(pDC, pt, m_bFadedNormalImage ? pIcon->GetFadedIcon() : pIcon->GetIcon(), size);
  }
}

void CTKButtonThemeFlat::FillActiveFace(CDC* pDC, const CRect& rc, BOOL bPressed) {
  pDC->FillSolidRect(rc, bPressed ? m_clrPressedFace : m_clrHotFace);
}

void CTKButtonThemeFlat::DrawButtonBackground(LPDRAWITEMSTRUCT lpDIS, CTKButton* pButton) {
  CDC* pDC = CDC::FromHandle(lpDIS->hDC);
  const CRect rc(lpDIS->rcItem);
  const BOOL bPressed = IsPressed(lpDIS->itemState);
  if (!bPressed && !pButton->IsHot()) {
    pDC->FillSolidRect(rc, m_clrFace);
    if (m_bUseToolbarFace) pDC->Draw3dRect(rc, m_clrShadow, m_clrShadow);
    return;
  }
  FillActiveFace(pDC, rc, bPressed);
  pDC->Draw3dRect(rc, m_clrLight, m_clrLight);
}

void CTKButtonThemeFlat::DrawFocusRect(CDC* pDC, UINT nState, const CRect& rcItem, CTKButton* pButton) {
  const BOOL bIdle = !pButton->IsHot() && !IsPressed(nState);
  if (!m_bUseToolbarFace || !bIdle || (pButton->GetTKStyle() & tkbutton::kStyleVisualStyle) != 0) {
    CTKButtonTheme::DrawFocusRect(pDC, nState, rcItem, pButton);
    return;
  }
  CRect rc(rcItem);
  pDC->Draw3dRect(rc, TKPColor(13), TKPColor(13));
  rc.DeflateRect(1, 1);
  pDC->Draw3dRect(rc, TKPColor(13), TKPColor(13));
}

// ---- theme 2 ----

CTKButtonThemeGradient::CTKButtonThemeGradient(BOOL bUseToolbarFace) : CTKButtonThemeFlat(bUseToolbarFace) {
  m_bOffsetPressed = FALSE;
  m_bFadedNormalImage = FALSE;
  m_bShadowHotImage = FALSE;
}

void CTKButtonThemeGradient::RefreshMetrics() {
  CTKButtonThemeFlat::RefreshMetrics();
  m_clrFace.SetStandardValue(TKPColor(COLOR_BTNFACE));
  if (TKPColorManager()->GetCurrentSystemTheme() != 0) {
    m_clrHotFace.SetStandardValue(0xC2EEFF);
    m_clrPressedFace.SetStandardValue(0x3E80FE);
    m_clrText.SetStandardValue(0);
    m_clrHotText.SetStandardValue(0);
    m_clrPressedText.SetStandardValue(0);
  }
  // Face, shadow and frame of the three colour schemes (the silver frame's dark teal is as the scheme
  // table gives it).
  switch (TKPColorManager()->GetCurrentSystemTheme()) {
    case 1:
      m_clrFace.SetStandardValue(0xF0C7A9);
      m_clrShadow.SetStandardValue(0xB99D7F);
      m_clrLight.SetStandardValue(0x800000);
      break;
    case 2:
      m_clrFace.SetStandardValue(0x9FD4C5);
      m_clrShadow.SetStandardValue(0x7FB9A4);
      m_clrLight.SetStandardValue(0x385D3F);
      break;
    case 3:
      m_clrFace.SetStandardValue(0xD3C0C0);
      m_clrShadow.SetStandardValue(0xB2ACA5);
      m_clrLight.SetStandardValue(0x0B4B4B);
      break;
    default:
      break;
  }
  if (!m_bUseToolbarFace) m_clrFace.SetStandardValue(TKPColor(COLOR_BTNFACE));
}

void CTKButtonThemeGradient::FillActiveFace(CDC* pDC, const CRect& rc, BOOL bPressed) {
  TKPDrawHelpers()->FillColorGradient(pDC, rc, TKPColorManager()->GetGradient(bPressed ? 8 : 9), FALSE);
}

void CTKButtonThemeGradient::DrawButtonIcon(CDC* pDC, UINT nState, const CRect& rcItem, CTKButton* pButton) {
  CTKPImageManagerIcon* pIcon = pButton->GetIcon();
  if (!m_bShowImages || pIcon == nullptr) return;
  const CPoint pt = CalcIconPosition(nState, rcItem, pButton);
  const CSize size = pButton->GetImageSize();
  if ((nState & ODS_DISABLED) != 0)
    pIcon->Draw(pDC, pt, pIcon->GetDisabledIcon(), size);
  else if (IsPressed(nState))
    pIcon->Draw(pDC, pt, pIcon->GetHotIcon(), size);
  else
    pIcon->Draw(pDC, pt, pIcon->GetIcon(), size);
}
