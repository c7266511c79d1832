#include "toolkit/dockingpane/tkp_docking_pane_paint_manager.h"

#include <algorithm>
#include <new>

#include "toolkit/common/color_manager.h"
#include "toolkit/common/draw_helpers.h"
#include "toolkit/common/gdi_guards.h"
#include "toolkit/common/nonclient_metrics.h"
#include "toolkit/dockingpane/tkp_docking_pane.h"
#include "toolkit/dockingpane/tkp_docking_pane_mini_wnd.h"
#include "toolkit/dockingpane/tkp_docking_pane_tabbed.h"
#include "toolkit/tabmanager/tkp_tab_paint_manager.h"

using dockthemes::Deflate;

namespace {

// The height of " " in the font, measured on the screen.
int TextHeight(CFont* pFont) {
  HDC dc = ::GetDC(nullptr);
  HGDIOBJ old = ::SelectObject(dc, pFont->GetSafeHandle() != nullptr ? pFont->GetSafeHandle()
                                                                     : ::GetStockObject(DEFAULT_GUI_FONT));
  SIZE size{};
  ::GetTextExtentPoint32W(dc, L" ", 1, &size);
  ::SelectObject(dc, old);
  ::ReleaseDC(nullptr, dc);
  return size.cy;
}

}  // namespace

CTKPDockingPanePaintManager::CTKPDockingPanePaintManager() {
  // A tab paint manager that could not be made stays null: every use below checks for it.
  m_pTabPaintManager = new (std::nothrow) CTKPTabPaintManager();
  m_pPanelPaintManager = new (std::nothrow) CTKPTabPaintManager();
  if (m_pTabPaintManager != nullptr) {
    m_pTabPaintManager->SetLayout(1);
    m_pTabPaintManager->SetPosition(2);
    m_pTabPaintManager->ClientBorderStyle = 1;
    m_pTabPaintManager->BoldSelected = FALSE;
    m_pTabPaintManager->ToolTipMode = 1;
  }
  if (m_pPanelPaintManager != nullptr) {
    m_pPanelPaintManager->SetLayout(3);
    m_pPanelPaintManager->ClientBorderStyle = 2;
    m_pPanelPaintManager->BoldSelected = FALSE;
    m_pPanelPaintManager->FillBackground = FALSE;
  }
}

CTKPDockingPanePaintManager::~CTKPDockingPanePaintManager() {
  if (m_pTabPaintManager != nullptr) m_pTabPaintManager->InternalRelease();
  if (m_pPanelPaintManager != nullptr) m_pPanelPaintManager->InternalRelease();
}

COLORREF CTKPDockingPanePaintManager::GetColor(int nIndex) const {
  if (nIndex > 61) return static_cast<COLORREF>(nIndex);
  return nIndex < 0 ? 0 : m_arrColor[nIndex];
}

void CTKPDockingPanePaintManager::SetColors(int nCount, const int* pIndexes, const COLORREF* pColors) {
  for (int i = 0; i < nCount; ++i) {
    if (pIndexes[i] >= 0 && pIndexes[i] <= 61) m_arrColor[pIndexes[i]] = pColors[i];
  }
}

int CTKPDockingPanePaintManager::GetColorScheme() const {
  if (m_nColorScheme == 5) {
    return TKPColorManager()->IsLunaColorsDisabled() ? 0 : TKPColorManager()->GetCurrentSystemTheme();
  }
  if (m_nColorScheme == 4) return TKPColorManager()->GetSystemTheme();
  return m_nColorScheme;
}

void CTKPDockingPanePaintManager::RefreshMetrics() {
  RefreshToolkitColors();
  for (int i = 0; i <= 61; ++i) m_arrColor[i] = TKPColorManager()->GetColor(static_cast<UINT>(i));
  m_clrSplitterGripper.SetStandardValue(GetColor(16));
  m_clrSplitter.SetStandardValue(GetColor(15));
  m_grcSplitter.SetStandardValue(::GetSysColor(COLOR_BTNFACE),
                                 TKPColorManager()->BlendColors(::GetSysColor(COLOR_BTNFACE), ::GetSysColor(COLOR_WINDOW), 205));
  if (m_bUseSystemFont) {
    CTKPNonClientMetrics metrics;
    LOGFONT lf = metrics.lfSmCaptionFont;
    if (!m_bBoldCaption) lf.lfWeight = FW_NORMAL;
    SetCaptionFont(&lf, TRUE);
  }
  if (m_pTabPaintManager != nullptr) m_pTabPaintManager->RefreshMetrics();
  if (m_pPanelPaintManager != nullptr) m_pPanelPaintManager->RefreshMetrics();
  if (m_pTabPaintManager != nullptr) m_nTabsHeight = std::max(24, TextHeight(&m_pTabPaintManager->m_fntNormal) + 10);
}

void CTKPDockingPanePaintManager::SetCaptionFont(const LOGFONT* pLogFont, BOOL bUseSystemFont) {
  m_bUseSystemFont = bUseSystemFont;
  if (pLogFont == nullptr) return;
  LOGFONT lf = *pLogFont;
  if (m_bUseTahoma && lf.lfCharSet <= 2 && bUseSystemFont && CTKPDrawHelpers::FontExists(_T("Tahoma"))) {
    lstrcpyW(lf.lfFaceName, L"Tahoma");
  }
  m_fntTitle.DeleteObject();
  m_fntTitle.CreateFontIndirect(&lf);
  lf.lfOrientation = 900;
  lf.lfEscapement = 2700;
  if (lf.lfHeight >= -10 && lf.lfHeight <= -1) lf.lfHeight = -11;
  lstrcpynW(lf.lfFaceName, CTKPDrawHelpers::GetDefaultFontName(m_bUseTahoma), LF_FACESIZE);
  m_fntTitleVertical.DeleteObject();
  m_fntTitleVertical.CreateFontIndirect(&lf);
  m_nTitleHeight = std::max(13, TextHeight(&m_fntTitle)) + m_nTitleHeightOffset;
}

void CTKPDockingPanePaintManager::Line(CDC* pDC, int x0, int y0, int x1, int y1, int nColor) {
  CTKPPenDC pen(pDC->GetSafeHdc(), GetColor(nColor));
  pDC->MoveTo(x0, y0);
  pDC->LineTo(x1, y1);
}

void CTKPDockingPanePaintManager::Rectangle(CDC* pDC, CRect rc, int nFill, int nFrame) {
  pDC->FillSolidRect(rc, GetColor(nFill));
  pDC->Draw3dRect(rc, GetColor(nFrame), GetColor(nFrame));
}

void CTKPDockingPanePaintManager::Pixel(CDC* pDC, int x, int y, int nColor) { pDC->SetPixel(x, y, GetColor(nColor)); }

void CTKPDockingPanePaintManager::DrawPane(CDC* pDC, CTKPDockingPaneTabbedContainer* pPane, CRect rc) {
  pDC->FillSolidRect(rc, GetColor(COLOR_BTNFACE));
  if (pPane->IsCaptionVisible() && m_bShowCaption) {
    pDC->SetBkMode(TRANSPARENT);
    DrawCaption(pDC, pPane, rc);
  }
  AdjustCaptionRect(pPane, rc);
  if (pPane->IsTabsVisible() && m_pTabPaintManager != nullptr) m_pTabPaintManager->DrawTabControl(pPane, pDC, rc);
}

void CTKPDockingPanePaintManager::AdjustCaptionRect(CTKPDockingPaneTabbedContainer* pPane, CRect& rc) {
  if (!pPane->IsCaptionVisible() || !m_bShowCaption) return;
  const int room = m_rcCaptionMargin.top + m_rcCaptionMargin.bottom + m_nTitleHeight;
  if (pPane->IsCaptionVertical()) {
    rc.left = std::min<int>(rc.right, rc.left + room);
  } else {
    rc.top = std::min<int>(rc.bottom, rc.top + room);
  }
}

void CTKPDockingPanePaintManager::AdjustClientRect(CTKPDockingPaneTabbedContainer* pPane, CRect& rc, BOOL bApply) {
  AdjustCaptionRect(pPane, rc);
  if (!pPane->IsTabsVisible() || m_pTabPaintManager == nullptr) return;
  if (bApply && pPane->GetSafeHwnd() != nullptr) {
    CClientDC dc(pPane);
    m_pTabPaintManager->RepositionTabControl(pPane, &dc, rc);
  }
  m_pTabPaintManager->AdjustClientRect(pPane, rc);
}

void CTKPDockingPanePaintManager::DrawCaptionButtons(CDC* pDC, const std::vector<CTKPDockingPaneCaptionButton*>& buttons,
                                                     CRect& rc, COLORREF clrGlyph, int nSize, int nGap,
                                                     BOOL bVertical) {
  CRect slot = bVertical ? CRect(CPoint((rc.left + rc.right) / 2 - nSize / 2, rc.bottom - nSize), CSize(nSize, nSize))
                         : CRect(CPoint(rc.right - nSize, (rc.top + rc.bottom) / 2 - nSize / 2), CSize(nSize, nSize));
  bool any = false;
  for (CTKPDockingPaneCaptionButton* button : buttons) {
    if (!button->IsVisible()) {
      button->SetRect(CRect());
      continue;
    }
    any = true;
    button->SetRect(slot);
    DrawCaptionButton(pDC, button, clrGlyph);
    if (bVertical) {
      slot.OffsetRect(0, -(nSize + nGap));
    } else {
      slot.OffsetRect(-(nSize + nGap), 0);
    }
  }
  if (!any) return;
  // The title stops short of the buttons.
  if (bVertical) {
    rc.bottom = slot.bottom;
  } else {
    rc.right = slot.right;
  }
}

int CTKPDockingPanePaintManager::DrawCaptionText(CDC* pDC, const CString& strText, CRect rc, BOOL bVertical,
                                                 BOOL bMeasure) {
  if (strText.IsEmpty()) return 0;
  if (!bVertical) {
    CTKPFontDC font(pDC, &m_fntTitle);
    pDC->DrawText(strText, rc, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
    if (!bMeasure) return 0;
    CRect measured;
    pDC->DrawText(strText, measured, DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
    return measured.Width();
  }
  CTKPFontDC font(pDC, &m_fntTitleVertical);
  CRect measured;
  pDC->DrawText(strText, measured, DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
  if (rc.Height() > rc.Width()) {
    const int across = measured.Height();
    rc.left = (rc.left + rc.right) / 2 + across / 2;
  }
  CRect box(rc.left, rc.top, rc.left + rc.Height(), rc.top + rc.Width());
  pDC->DrawText(strText, box, DT_SINGLELINE | DT_NOPREFIX | DT_NOCLIP | DT_END_ELLIPSIS);
  return measured.Width();
}

void CTKPDockingPanePaintManager::DrawCaptionButtonGlyph(CDC* pDC, CTKPDockingPaneCaptionButton* pButton, int x, int y,
                                                         COLORREF clr) {
  CTKPPenDC pen(pDC->GetSafeHdc(), clr);
  auto line = [pDC](int x0, int y0, int x1, int y1) {
    pDC->MoveTo(x0, y0);
    pDC->LineTo(x1, y1);
  };
  switch (pButton->GetID()) {
    case 9901:  // close: an X two pixels thick
      line(x - 4, y - 3, x + 3, y + 4);
      line(x - 4, y + 3, x + 3, y - 4);
      line(x - 3, y - 3, x + 4, y + 4);
      line(x - 3, y + 3, x + 4, y - 4);
      break;
    case 9900:  // the pin: upright while docked, lying while the group is auto-hidden
      if ((pButton->m_dwState & 2) == 0) {
        line(x - 3, y + 1, x + 4, y + 1);
        line(x, y + 1, x, y + 5);
        line(x - 2, y + 1, x - 2, y - 4);
        line(x - 2, y - 4, x + 2, y - 4);
        line(x + 2, y - 4, x + 2, y + 1);
        line(x + 1, y + 1, x + 1, y - 4);
      } else {
        line(x - 4, y, x - 1, y);
        line(x - 1, y - 3, x - 1, y + 4);
        line(x - 1, y + 2, x + 3, y + 2);
        line(x + 3, y + 2, x + 3, y - 2);
        line(x + 3, y - 2, x - 1, y - 2);
        line(x - 1, y + 1, x + 3, y + 1);
      }
      break;
    case 9907:  // maximize
      pDC->FillSolidRect(x - 5, y - 5, 9, 2, clr);
      pDC->Draw3dRect(x - 5, y - 5, 9, 9, clr, clr);
      break;
    case 9908:  // restore
      pDC->FillSolidRect(x - 4, y - 2, 6, 2, clr);
      pDC->Draw3dRect(x - 4, y - 2, 6, 6, clr, clr);
      pDC->FillSolidRect(x - 2, y - 5, 6, 2, clr);
      pDC->SetPixel(x - 2, y - 3, clr);
      pDC->FillSolidRect(x + 3, y - 3, 1, 4, clr);
      pDC->SetPixel(x + 2, y, clr);
      break;
    case 9909: {  // menu: a small triangle pointing down
      const POINT pts[] = {{x - 4, y - 1}, {x - 1, y + 2}, {x, y + 2}, {x + 3, y - 1}};
      CTKPBrushDC brush(pDC->GetSafeHdc(), clr);
      pDC->Polygon(pts, 4);
      break;
    }
    default:
      break;
  }
}

void CTKPDockingPanePaintManager::FillFramePartRect(CDC* pDC, CRect rc, CWnd* pWnd, const CTKPColorGradient& gradient) {
  CWnd* frame = pWnd != nullptr ? pWnd->GetTopLevelParent() : nullptr;
  CRect window;
  if (frame != nullptr) {
    frame->GetWindowRect(window);
    pWnd->ScreenToClient(window);
  }
  const int width = std::max<int>(window.Width(), ::GetSystemMetrics(SM_CXFULLSCREEN) / 2);
  const COLORREF light = static_cast<COLORREF>(gradient.clrLight), dark = static_cast<COLORREF>(gradient.clrDark);
  const COLORREF from = CTKPDrawHelpers::BlendColors(light, dark, static_cast<double>(rc.left - window.left) / width);
  const COLORREF to = CTKPDrawHelpers::BlendColors(light, dark, static_cast<double>(rc.right - window.left) / width);
  TKPDrawHelpers()->GradientFill(pDC, rc, from, to, TRUE);
}

void CTKPDockingPanePaintManager::DrawSplitter(CDC* pDC, CRect rc, BOOL bHorizontalBar, CWnd* pWnd) {
  const COLORREF face = static_cast<COLORREF>(m_clrSplitter);
  const COLORREF gripper = static_cast<COLORREF>(m_clrSplitterGripper);
  // A line across the bar at `at` pixels from its start edge.
  auto across = [&](int at, COLORREF clr) {
    if (bHorizontalBar) {
      pDC->FillSolidRect(rc.left, rc.top + at, rc.Width(), 1, clr);
    } else {
      pDC->FillSolidRect(rc.left + at, rc.top, 1, rc.Height(), clr);
    }
  };
  const int thickness = bHorizontalBar ? rc.Height() : rc.Width();
  if (m_nSplitterStyle & 1) {
    pDC->FillSolidRect(rc, face);
    across(0, GetColor(COLOR_BTNHIGHLIGHT));
    across(thickness - 2, GetColor(52));
    across(thickness - 1, GetColor(COLOR_BTNTEXT));
  } else if (m_nSplitterStyle & 2) {
    pDC->FillSolidRect(rc, face);
    const int band = std::max(0, m_nSplitterSize / 2 - 1);
    for (int i = 1; i <= band; ++i) across(i, GetColor(COLOR_WINDOW));
    across(0, GetColor(COLOR_3DDKSHADOW));
    across(thickness - 1, GetColor(COLOR_3DDKSHADOW));
  } else if ((m_nSplitterStyle & 4) && pWnd != nullptr) {
    FillFramePartRect(pDC, rc, pWnd, m_grcSplitter);
  } else {
    pDC->FillSolidRect(rc, face);
  }
  const CPoint centre = rc.CenterPoint();
  if (m_nSplitterStyle & 0x100) {
    for (int offset : {2, 4}) {
      if (bHorizontalBar) {
        pDC->FillSolidRect(centre.x, rc.top + offset, 11, 1, gripper);
      } else {
        pDC->FillSolidRect(rc.left + offset, centre.y, 1, 11, gripper);
      }
    }
  }
  if (m_nSplitterStyle & 0x200) {
    const int length = bHorizontalBar ? rc.Width() : rc.Height();
    const int half = std::min(32, length / 2 - 10);
    for (int d = -half; d <= half; d += 4) {
      const int x = bHorizontalBar ? centre.x + d : centre.x;
      const int y = bHorizontalBar ? centre.y : centre.y + d;
      pDC->FillSolidRect(x, y, 2, 2, GetColor(COLOR_BTNHIGHLIGHT));
      pDC->FillSolidRect(x - 1, y - 1, 2, 2, gripper);
    }
  }
}

// ---- the default theme ---------------------------------------------------------------------------------

void CTKPDockingPaneDefaultTheme::DrawCaption(CDC* pDC, CTKPDockingPaneTabbedContainer* pPane, CRect rc) {
  const BOOL vertical = pPane->IsCaptionVertical();
  CRect band = rc;
  const int length = vertical ? rc.Width() : rc.Height();
  Deflate(band, 0, 2, 0, length - m_nTitleHeight - 1 - 2, vertical);
  CRect under = band;
  Deflate(under, 0, 0, 0, -2, vertical);
  pDC->FillSolidRect(under, GetColor(COLOR_BTNFACE));
  DrawCaptionPart(pDC, pPane->GetCaptionButtons(), band, pPane->GetTitle(),
                  m_bHighlightActiveCaption && pPane->IsActive(), vertical);
}

void CTKPDockingPaneDefaultTheme::DrawCaptionPart(CDC* pDC, const std::vector<CTKPDockingPaneCaptionButton*>& buttons,
                                                  CRect rc, const CString& strTitle, BOOL bActive, BOOL bVertical) {
  pDC->FillSolidRect(rc, GetColor(bActive ? COLOR_ACTIVECAPTION : COLOR_INACTIVECAPTION));
  Deflate(rc, 0, 0, 2, 0, bVertical);
  DrawCaptionButtons(pDC, buttons, rc, GetColor(COLOR_BTNTEXT), 12, 2, bVertical);
  pDC->SetBkMode(TRANSPARENT);
  pDC->SetTextColor(GetColor(bActive ? COLOR_CAPTIONTEXT : COLOR_INACTIVECAPTIONTEXT));
  Deflate(rc, 4, 1, 0, 0, bVertical);
  DrawCaptionText(pDC, strTitle, rc, bVertical, FALSE);
}

void CTKPDockingPaneDefaultTheme::DrawCaptionButton(CDC* pDC, CTKPDockingPaneCaptionButton* pButton, COLORREF clrGlyph) {
  CRect rc = pButton->GetRect();
  if (rc.IsRectEmpty()) return;
  if (pButton->GetID() == 9901) {
    pDC->DrawFrameControl(rc, DFC_CAPTION, DFCS_CAPTIONCLOSE | (pButton->m_bPressed ? DFCS_PUSHED : 0));
    return;
  }
  pDC->DrawFrameControl(rc, DFC_BUTTON, DFCS_BUTTONPUSH | DFCS_ADJUSTRECT | (pButton->m_bPressed ? DFCS_PUSHED : 0));
  const int shift = pButton->m_bPressed ? 1 : 0;
  const CPoint centre = pButton->GetRect().CenterPoint();
  DrawCaptionButtonGlyph(pDC, pButton, centre.x + shift, centre.y + shift, clrGlyph);
}

void CTKPDockingPaneDefaultTheme::DrawFloatingFrame(CDC* pDC, CTKPDockingPaneMiniWnd* pFrame, CRect rc) {
  pDC->Draw3dRect(rc, GetColor(COLOR_BTNFACE), RGB(0, 0, 0));
  rc.DeflateRect(1, 1);
  pDC->Draw3dRect(rc, GetColor(COLOR_BTNHIGHLIGHT), GetColor(COLOR_BTNSHADOW));
  rc.DeflateRect(1, 1);
  pDC->Draw3dRect(rc, GetColor(COLOR_BTNFACE), GetColor(COLOR_BTNFACE));
  rc.DeflateRect(1, 1);
  CRect band(rc.left, rc.top, rc.right, rc.top + m_nTitleHeight + 3);
  {
    CTKPBufferDC buffer(pDC->GetSafeHdc(), band);
    buffer.FillSolidRect(band, GetColor(COLOR_BTNFACE));
    CRect part = band;
    part.DeflateRect(1, 2, 1, 2);
    CString title;
    pFrame->GetWindowText(title);
    DrawCaptionPart(&buffer, pFrame->GetCaptionButtons(), part, title,
                    m_bHighlightActiveCaption && pFrame->IsActive(), FALSE);
  }
}
