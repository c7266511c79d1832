#include "toolkit/controls/tk_flat_themes.h"

#include <algorithm>

#include "platform/classlib/win/cdc.h"
#include "platform/classlib/win/cwnd.h"
#include "toolkit/common/aux_data.h"
#include "toolkit/common/color_manager.h"
#include "toolkit/common/draw_helpers.h"
#include "toolkit/controls/tk_flat_combo.h"

IMPLEMENT_DYNCREATE(CTKFlatEditThemeFactory, CTKThemeManagerStyleFactory)
IMPLEMENT_DYNCREATE(CTKFlatComboBoxThemeFactory, CTKThemeManagerStyleFactory)

namespace {

// The frame of a hot or pressed flat control in theme 0, 1 or 2.
void DrawActiveFrame(CDC* pDC, const CRect& rc, int nTheme) {
  if (nTheme == 1) {
    pDC->Draw3dRect(rc, TKPColor(32), TKPColor(32));
  } else if (nTheme == 2) {
    const COLORREF c = TKPColorManager()->GetLunaColor(32);
    pDC->Draw3dRect(rc, c, c);
  } else {
    pDC->Draw3dRect(rc, TKPColor(COLOR_BTNSHADOW), TKPColor(COLOR_BTNHIGHLIGHT));
  }
}

template <class Theme0, class Theme1, class Theme2>
CTKThemeManagerStyle* MakeTheme(int nTheme) {
  if (nTheme == 1) return new Theme1;
  if (nTheme == 2) return new Theme2;
  return new Theme0;
}

}  // namespace

bool tkflat::CursorOver(HWND hWnd) {
  POINT cursor{};
  RECT r{};
  return ::GetCursorPos(&cursor) && ::GetWindowRect(hWnd, &r) && ::PtInRect(&r, cursor);
}

CTKThemeManagerStyle* CTKFlatEditThemeFactory::CreateTheme(int nTheme) {
  return MakeTheme<CTKFlatEditTheme, CTKFlatEditThemeFlat, CTKFlatEditThemeGradient>(nTheme);
}

CTKThemeManagerStyle* CTKFlatComboBoxThemeFactory::CreateTheme(int nTheme) {
  return MakeTheme<CTKFlatComboBoxTheme, CTKFlatComboBoxThemeFlat, CTKFlatComboBoxThemeGradient>(nTheme);
}

void CTKFlatEditTheme::DrawBorders(CDC* pDC, CWnd* pEdit, const CRect& rc, int nState) {
  if (!pEdit->IsWindowEnabled()) {
    pDC->FillSolidRect(rc, TKPColor(51));
    pDC->Draw3dRect(rc, TKPColor(52), TKPColor(52));
    return;
  }
  pDC->FillSolidRect(rc, TKPColor(COLOR_WINDOW));
  if (tkflat::IsActive(nState)) DrawActiveFrame(pDC, rc, m_nTheme);
}

void CTKFlatComboBoxTheme::RefreshMetrics() {
  m_szBorder = CSize(::GetSystemMetrics(SM_CXBORDER), ::GetSystemMetrics(SM_CYBORDER));
  m_szEdge = CSize(::GetSystemMetrics(SM_CXEDGE), ::GetSystemMetrics(SM_CYEDGE));
  TEXTMETRICW tm{};
  HDC hDC = ::GetDC(nullptr);
  HGDIOBJ hOld = ::SelectObject(hDC, TKPAuxData().font.GetSafeHandle());
  ::GetTextMetricsW(hDC, &tm);
  ::SelectObject(hDC, hOld);
  ::ReleaseDC(nullptr, hDC);
  m_nArrowWidth = std::max(15, 2 * static_cast<int>(tm.tmAveCharWidth) + 4);
}

void CTKFlatComboBoxTheme::DrawFlatComboBox(CDC* pDC, CWnd* pCombo, int nState) {
  CRect outer;
  pCombo->GetClientRect(outer);
  CRect r(outer);
  if (m_nTheme == 0)
    r.DeflateRect(m_szEdge.cx, m_szEdge.cy);
  else
    r.DeflateRect(m_szBorder.cx, m_szBorder.cy);
  const bool bEnabled = pCombo->IsWindowEnabled() != FALSE;
  CRect e(r);
  e.DeflateRect(m_szBorder.cx, m_szBorder.cy);
  e.right -= m_nArrowWidth + (bEnabled && tkflat::IsActive(nState) ? 1 : 0);
  // The text area is the combo box's own painting, enabled or not: only the ring around it is filled. A box
  // without an edit (a drop-down list) shows its background colour there; filling its item area would wipe
  // its text.
  COLORREF clrRing = TKPColor(51);
  if (bEnabled) {
    const bool bNoEdit = pCombo->SendMessage(CB_GETEDITSEL) == CB_ERR;
    clrRing = bNoEdit && pCombo->IsKindOf(RUNTIME_CLASS(CTKFlatComboBox))
                  ? static_cast<CTKFlatComboBox*>(pCombo)->GetBackColor()
                  : TKPColor(COLOR_WINDOW);
  }
  const int nSaved = pDC->SaveDC();
  pDC->ExcludeClipRect(e);
  pDC->FillSolidRect(r, clrRing);
  pDC->RestoreDC(nSaved);
  if (!bEnabled)
    pDC->Draw3dRect(outer, TKPColor(52), TKPColor(52));
  else if (m_nTheme == 1)
    pDC->Draw3dRect(outer, tkflat::IsActive(nState) ? TKPColor(32) : TKPColor(51), tkflat::IsActive(nState) ? TKPColor(32) : TKPColor(51));
  else if (tkflat::IsActive(nState))
    DrawActiveFrame(pDC, outer, m_nTheme);
  DrawArrow(pDC, r, nState, pCombo);
}

void CTKFlatComboBoxTheme::DrawArrow(CDC* pDC, const CRect& rc, int nState, CWnd* pCombo) {
  CRect a(rc);
  DrawArrowBack(pDC, a, nState, pCombo);
  const COLORREF c = TKPColor(pCombo->IsWindowEnabled() ? COLOR_WINDOWTEXT : COLOR_BTNSHADOW);
  int x = (a.left + a.right - 4) / 2, y = (a.top + a.bottom - 2) / 2;
  if (m_nTheme == 0 && nState == tkflat::kStatePressed) {
    ++x;
    ++y;
  }
  for (int row = 0; row < 3; ++row)
    for (int col = row; col < 5 - row; ++col) pDC->SetPixel(x + col, y + row, c);
}

void CTKFlatComboBoxTheme::DrawArrowBack(CDC* pDC, CRect& rc, int nState, CWnd*) {
  rc.left = rc.right - m_nArrowWidth + 4;
  if (tkflat::IsActive(nState)) {
    if (nState == tkflat::kStateHot)
      pDC->Draw3dRect(rc, TKPColor(COLOR_BTNHIGHLIGHT), TKPColor(COLOR_BTNSHADOW));
    else
      pDC->Draw3dRect(rc, TKPColor(COLOR_BTNSHADOW), TKPColor(COLOR_BTNHIGHLIGHT));
    CRect out(rc);
    out.InflateRect(1, 1);
    pDC->Draw3dRect(out, TKPColor(COLOR_BTNFACE), TKPColor(COLOR_BTNFACE));
    CRect in(rc);
    in.DeflateRect(2, 2);
    pDC->FillSolidRect(in, TKPColor(COLOR_BTNFACE));
    return;
  }
  CRect in(rc);
  in.DeflateRect(1, 1);
  pDC->FillSolidRect(in, TKPColor(COLOR_BTNFACE));
}

void CTKFlatComboBoxThemeFlat::DrawArrowBack(CDC* pDC, CRect& rc, int nState, CWnd*) {
  rc.left = rc.right - m_nArrowWidth + 2;
  if (tkflat::IsActive(nState)) {
    pDC->FillSolidRect(rc, TKPColor(nState == tkflat::kStateHot ? 31 : 33));
    pDC->FillSolidRect(rc.left - 1, rc.top, 1, rc.Height(), TKPColor(32));
    return;
  }
  CRect in(rc);
  in.DeflateRect(1, 1);
  pDC->FillSolidRect(in, TKPColor(COLOR_BTNFACE));
}

void CTKFlatComboBoxThemeGradient::DrawArrowBack(CDC* pDC, CRect& rc, int nState, CWnd* pCombo) {
  rc.left = rc.right - m_nArrowWidth + 2;
  if (tkflat::IsActive(nState)) {
    const int gradient = nState == tkflat::kStateHot ? 9 : 8;
    TKPDrawHelpers()->FillColorGradient(pDC, rc, TKPColorManager()->GetGradient(gradient), FALSE);
    pDC->FillSolidRect(rc.left - 1, rc.top, 1, rc.Height(), TKPColorManager()->GetLunaColor(32));
    return;
  }
  if (!pCombo->IsWindowEnabled()) return;
  CRect in(rc);
  in.DeflateRect(1, 1);
  TKPDrawHelpers()->FillColorGradient(pDC, in, TKPColorManager()->GetGradient(6), FALSE);
}
