// The visual-styles theme: every drawing step asks whether its class is themed and otherwise takes the
// classic theme's path, so that without visual styles it looks exactly like the classic theme.
#include "toolkit/commandbars/paint/tkp_theme_visual_style.h"

#include <algorithm>

#include <vssym32.h>

#include "platform/classlib/win/cdc.h"
#include "platform/classlib/win/cwinapp.h"
#include "toolkit/commandbars/bars/tkp_command_bar.h"
#include "toolkit/commandbars/controls/tkp_control.h"
#include "toolkit/commandbars/bars/tkp_dock_bar.h"

IMPLEMENT_DYNAMIC(CTKPNativeTheme, CTKPDefaultTheme)

CTKPNativeTheme::CTKPNativeTheme() {
  m_bUseFadedIcons = TRUE;
  m_bIconsWithShadow = FALSE;
  m_nPopupTextColor = COLOR_MENUTEXT;
}

BOOL CTKPNativeTheme::IsThemed(const CTKPVisualStyleTheme& theme) {
  return theme.GetHandle() != nullptr && CTKPVisualStyleTheme::IsAppThemed();
}

void CTKPNativeTheme::RefreshMetrics() {
  CTKPDefaultTheme::RefreshMetrics();
  HWND main = AfxGetMainWnd() != nullptr ? AfxGetMainWnd()->m_hWnd : nullptr;
  m_themeToolbar.OpenThemeData(main, L"TOOLBAR");
  m_themeRebar.OpenThemeData(main, L"REBAR");
  m_themeComboBox.OpenThemeData(main, L"COMBOBOX");
  m_themeStatus.OpenThemeData(main, L"STATUS");
  BOOL flat = TRUE;
  m_bFlatMenus = ::SystemParametersInfoW(SPI_GETFLATMENU, 0, &flat, 0) ? flat : FALSE;
  COLORREF clr = 0;
  m_clrEdgeShadow = IsRebarThemed() && SUCCEEDED(m_themeRebar.GetThemeColor(RP_BAND, 0, TMT_EDGESHADOWCOLOR, &clr))
                        ? clr
                        : GetPaintColor(COLOR_BTNSHADOW);
  if (IsToolbarThemed() && SUCCEEDED(m_themeToolbar.GetThemeColor(0, 0, TMT_TEXTCOLOR, &clr))) {
    const int index = COLOR_BTNTEXT;
    SetColors(1, &index, &clr);
  }
  if (IsRebarThemed() && SUCCEEDED(m_themeRebar.GetThemeColor(0, 0, TMT_FILLCOLORHINT, &clr))) {
    const int index = COLOR_BTNFACE;
    SetColors(1, &index, &clr);
  }
  if (IsThemed(m_themeStatus) && SUCCEEDED(m_themeStatus.GetThemeColor(SP_PANE, 0, TMT_TEXTCOLOR, &clr))) {
    m_clrStatusTextColor = clr;
  }
}

void CTKPNativeTheme::DrawRectangle(CDC* pDC, CRect rc, BOOL bSelected, BOOL bPressed, BOOL bEnabled, BOOL bChecked,
                                    BOOL bPopuped, BOOL bBarControl, int barPosition) {
  if (!IsToolbarThemed() || !TKPHasDC(pDC)) {
    CTKPDefaultTheme::DrawRectangle(pDC, rc, bSelected, bPressed, bEnabled, bChecked, bPopuped, bBarControl,
                                    barPosition);
    return;
  }
  const int state = tkptheme::VisualStyleButtonState(TKPThemeState(bEnabled, bSelected, bPressed, bChecked, bPopuped));
  m_themeToolbar.DrawThemeBackground(pDC->GetSafeHdc(), TP_BUTTON, state, rc, nullptr);
}

void CTKPNativeTheme::DrawSplitButtonFrame(CDC* pDC, CTKPControl* pControl, CRect rc) {
  if (!IsToolbarThemed() || !TKPHasDC(pDC) || pControl == nullptr) {
    CTKPDefaultTheme::DrawSplitButtonFrame(pDC, pControl, rc);
    return;
  }
  CTKPCommandBar* pBar = pControl->GetParent();
  const BOOL popuped = pBar != nullptr && pBar->GetPopuped() == pControl->GetIndex();
  const BOOL selected = pControl->GetSelected() != 0;
  int state = TS_NORMAL;
  if (!pControl->GetEnabled()) {
    state = TS_DISABLED;
  } else if (selected && pControl->GetPressed() != 0) {
    state = TS_PRESSED;
  } else if (pControl->GetChecked()) {
    state = TS_CHECKED;
  } else if (selected || popuped) {
    state = TS_HOT;
  }
  const CRect button(rc.left, rc.top, rc.right - 12, rc.bottom);
  const CRect dropDown(rc.right - 12, rc.top, rc.right, rc.bottom);
  m_themeToolbar.DrawThemeBackground(pDC->GetSafeHdc(), TP_SPLITBUTTON, state, button, nullptr);
  m_themeToolbar.DrawThemeBackground(pDC->GetSafeHdc(), TP_SPLITBUTTONDROPDOWN, popuped ? TS_PRESSED : state,
                                     dropDown, nullptr);
  pDC->SetTextColor(GetPaintColor(pControl->GetEnabled() ? COLOR_BTNTEXT : COLOR_GRAYTEXT));
  pDC->SetBkMode(TRANSPARENT);
}

void CTKPNativeTheme::FillRebarBackground(CDC* pDC, CWnd* pWnd, CWnd* pReference) {
  CRect client;
  pWnd->GetClientRect(client);
  if (!IsRebarThemed()) {
    pDC->FillSolidRect(client, GetPaintColor(COLOR_BTNFACE));
    return;
  }
  // Bars and dock bars at the top share one continuous rebar background.
  CRect reference;
  pReference->GetWindowRect(reference);
  pWnd->ScreenToClient(reference);
  m_themeRebar.DrawThemeBackground(pDC->GetSafeHdc(), 0, 0, reference, client);
}

void CTKPNativeTheme::FillCommandBar(CDC* pDC, CTKPCommandBar* pBar) {
  if (!IsRebarThemed() || !TKPHasDC(pDC) || pBar == nullptr) {
    CTKPDefaultTheme::FillCommandBar(pDC, pBar);
    return;
  }
  CRect rc;
  pBar->GetClientRect(rc);
  switch (pBar->GetPosition()) {
    case tkpBarPopup:
      if (m_bFlatMenus) {
        Rectangle(pDC, rc, COLOR_BTNSHADOW, COLOR_MENU);
      } else {
        pDC->FillSolidRect(rc, GetPaintColor(COLOR_MENU));
        Draw3dRect(pDC, rc, COLOR_BTNFACE, COLOR_3DDKSHADOW);
        rc.DeflateRect(1, 1);
        DrawRaised(pDC, rc);
      }
      return;
    case tkpBarFloating:
      pDC->FillSolidRect(rc, GetPaintColor(COLOR_BTNFACE));
      Draw3dRect(pDC, rc, COLOR_BTNFACE, COLOR_3DDKSHADOW);
      rc.DeflateRect(1, 1);
      DrawRaised(pDC, rc);
      return;
    case tkpBarTop:
      FillRebarBackground(pDC, pBar, pBar->GetParent() != nullptr ? pBar->GetParent() : pBar);
      break;
    default:
      pDC->FillSolidRect(rc, GetPaintColor(COLOR_BTNFACE));
      break;
  }
  pDC->Draw3dRect(rc, GetPaintColor(COLOR_BTNHIGHLIGHT), m_clrEdgeShadow);
}

void CTKPNativeTheme::FillDockBar(CDC* pDC, CTKPDockBar* pDockBar) {
  if (!TKPHasDC(pDC) || pDockBar == nullptr) return;
  if (pDockBar->GetPosition() == tkpBarTop) {
    FillRebarBackground(pDC, pDockBar, pDockBar);
  } else {
    CTKPDefaultTheme::FillDockBar(pDC, pDockBar);
  }
}

void CTKPNativeTheme::FillStatusBar(CDC* pDC, CWnd* pStatusBar) {
  if (!IsThemed(m_themeStatus) || !TKPHasDC(pDC) || pStatusBar == nullptr) {
    CTKPDefaultTheme::FillStatusBar(pDC, pStatusBar);
    return;
  }
  CRect rc;
  pStatusBar->GetClientRect(rc);
  m_themeStatus.DrawThemeBackground(pDC->GetSafeHdc(), 0, 0, rc, nullptr);
}

void CTKPNativeTheme::DrawStatusBarPaneBorder(CDC* pDC, CRect rc, BOOL bGripperPane) {
  if (!IsThemed(m_themeStatus) || !TKPHasDC(pDC)) {
    CTKPDefaultTheme::DrawStatusBarPaneBorder(pDC, rc, bGripperPane);
    return;
  }
  m_themeStatus.DrawThemeBackground(pDC->GetSafeHdc(), bGripperPane ? SP_GRIPPERPANE : SP_PANE, 0, rc, nullptr);
}

void CTKPNativeTheme::DrawStatusBarGripper(CDC* pDC, CRect rcClient) {
  if (!IsThemed(m_themeStatus) || !TKPHasDC(pDC)) {
    CTKPDefaultTheme::DrawStatusBarGripper(pDC, rcClient);
    return;
  }
  const CRect grip(rcClient.right - 18, rcClient.top, rcClient.right, rcClient.bottom);
  m_themeStatus.DrawThemeBackground(pDC->GetSafeHdc(), SP_GRIPPER, 0, grip, nullptr);
}

CSize CTKPNativeTheme::DrawCommandBarGripper(CDC* pDC, CTKPCommandBar* pBar, BOOL bDraw) {
  if (!IsRebarThemed() || pBar == nullptr) return CTKPDefaultTheme::DrawCommandBarGripper(pDC, pBar, bDraw);
  if (pBar->IsDialogBar()) return DrawDialogBarGripper(pDC, pBar, bDraw);
  CRect client;
  pBar->GetClientRect(client);
  const bool draw = bDraw && TKPHasDC(pDC);
  switch (pBar->GetPosition()) {
    case tkpBarTop:
    case tkpBarBottom: {
      const CRect grip(client.left + 2, client.top, client.left + 8, client.bottom);
      if (draw) m_themeRebar.DrawThemeBackground(pDC->GetSafeHdc(), RP_GRIPPER, 1, grip, nullptr);
      return CSize(8, 0);
    }
    case tkpBarLeft:
    case tkpBarRight: {
      const CRect grip(client.left, client.top + 2, client.right, client.top + 8);
      if (draw) m_themeRebar.DrawThemeBackground(pDC->GetSafeHdc(), RP_GRIPPERVERT, 1, grip, nullptr);
      return CSize(0, 8);
    }
    default:
      return CSize();
  }
}

CSize CTKPNativeTheme::DrawDialogBarGripper(CDC* pDC, CTKPCommandBar* pBar, BOOL bDraw) {
  if (!IsRebarThemed()) return CTKPDefaultTheme::DrawDialogBarGripper(pDC, pBar, bDraw);
  const CSize size(8, std::max<int>(22, GetRowHeight() + 4));
  if (bDraw && TKPHasDC(pDC)) {
    const CRect grip(2, 3, 8, size.cy);
    m_themeRebar.DrawThemeBackground(pDC->GetSafeHdc(), RP_GRIPPER, 1, grip, nullptr);
  }
  return size;
}

void CTKPNativeTheme::AdjustControlRect(CRect& rc, CTKPControl* pControl, BOOL bVert) {
  if (!IsRebarThemed()) {
    CTKPDefaultTheme::AdjustControlRect(rc, pControl, bVert);
    return;
  }
  CTKPCommandBar* pBar = pControl != nullptr ? pControl->GetParent() : nullptr;
  if (pBar != nullptr && pBar->GetType() == tkpBarTypePopup && pControl->GetType() != tkpControlComboBox) {
    rc.DeflateRect(3, 0);
    rc.InflateRect(0, 3);
  }
}

// ---- edit and combo-box frames ---------------------------------------------------------------------------

void CTKPNativeTheme::DrawButtonFrame(CDC* pDC, CRect rc, BOOL bSelected, int nState) {
  if (!IsThemed(m_themeComboBox) || !TKPHasDC(pDC)) {
    CTKPDefaultTheme::DrawButtonFrame(pDC, rc, bSelected, nState);
    return;
  }
  COLORREF clr = 0;
  if (FAILED(m_themeComboBox.GetThemeColor(CP_DROPDOWNBUTTON, bSelected ? 1 : 4, TMT_BORDERCOLOR, &clr))) {
    clr = GetPaintColor(COLOR_BTNSHADOW);
  }
  pDC->Draw3dRect(rc, clr, clr);
}

void CTKPNativeTheme::DrawComboDropDown(CDC* pDC, CRect rc, BOOL bEnabled, BOOL bSelected, BOOL bDropped) {
  if (!IsThemed(m_themeComboBox) || !TKPHasDC(pDC)) {
    CTKPDefaultTheme::DrawComboDropDown(pDC, rc, bEnabled, bSelected, bDropped);
    return;
  }
  const int state = !bEnabled ? CBXS_DISABLED : bDropped ? CBXS_PRESSED : bSelected ? CBXS_HOT : CBXS_NORMAL;
  const CRect part(rc.left - 2, rc.top + 1, rc.right - 1, rc.bottom - 1);
  m_themeComboBox.DrawThemeBackground(pDC->GetSafeHdc(), CP_DROPDOWNBUTTON, state, part, nullptr);
}
