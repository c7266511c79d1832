#include "toolkit/tabmanager/tkp_tab_appearance.h"

#include <algorithm>

#include "platform/classlib/win/cdc.h"
#include "platform/classlib/win/cgdiobject.h"
#include "toolkit/tabmanager/tab_layout.h"
#include "toolkit/tabmanager/tkp_tab_color_set.h"
#include "toolkit/tabmanager/tkp_tab_manager.h"
#include "toolkit/tabmanager/tkp_tab_paint_manager.h"

CTKPTabColorSet* CTKPTabAppearance::ColorSet() const { return m_pPaintManager->GetColorSet(); }
int CTKPTabAppearance::Position() const { return m_pPaintManager->GetPosition(); }

void CTKPTabAppearance::RefreshMetrics() {
  HDC hScreen = ::GetDC(nullptr);
  HGDIOBJ hOld = ::SelectObject(hScreen, m_pPaintManager->m_fntNormal.GetSafeHandle());
  SIZE size = {0, 0};
  ::GetTextExtentPoint32W(hScreen, L" ", 1, &size);
  ::SelectObject(hScreen, hOld);
  ::ReleaseDC(nullptr, hScreen);
  m_nRowHeight = std::max(18, static_cast<int>(size.cy) + 3);
}

CRect CTKPTabAppearance::GetHeaderRect(CRect rc, CTKPTabManager* pTabManager) {
  tktab::TabStripParams params;
  params.layout = m_pPaintManager->GetLayout();
  params.headerMargin = GetHeaderMargin();
  params.buttonHeight = GetButtonHeight(pTabManager);
  params.rowSpacing = m_nRowSpacing;
  int longest = 0;
  for (int i = 0; i < pTabManager->GetItemCount(); ++i) longest = std::max(longest, pTabManager->GetItem(i)->GetLength());
  const int rows = std::max(1, pTabManager->GetRowCount());
  return tktab::HeaderRectAt(rc, Position(), tktab::HeaderDepth(params, rows, longest));
}

CRect CTKPTabAppearance::GetClientRect(CRect rc, CTKPTabManager* pTabManager) {
  return tktab::ClientRectOutside(rc, GetHeaderRect(rc, pTabManager), Position());
}

CRect CTKPTabAppearance::GetControlMargin() const { return m_pPaintManager->ControlMargin; }

int CTKPTabAppearance::GetItemLength(CDC* pDC, CTKPTabManagerItem* pItem) {
  return m_pPaintManager->DrawSingleButton(pDC, pItem, CRect(), FALSE);
}

int CTKPTabAppearance::GetButtonHeight(CTKPTabManager* pTabManager) {
  const CRect& margin = m_pPaintManager->ButtonMargin;
  CSize minimum;
  pTabManager->GetItemMetrics(nullptr, &minimum, nullptr);
  int height = std::max(static_cast<int>(m_nRowHeight + margin.top + margin.bottom), static_cast<int>(minimum.cy));
  if (m_pPaintManager->ShowIcons) {
    CSize size = m_pPaintManager->ImageSize;
    pTabManager->DrawIcon(nullptr, CPoint(0, 0), nullptr, FALSE, size);
    height = std::max(height, static_cast<int>(std::max(size.cx, size.cy) + margin.top + margin.bottom + 4));
  }
  return height;
}

void CTKPTabAppearance::DrawTabControl(CTKPTabManager* pTabManager, CDC* pDC, CRect rcControl) {
  m_pPaintManager->DrawStrip(pTabManager, pDC, rcControl);
}

void CTKPTabAppearance::RepositionTabControl(CTKPTabManager* pTabManager, CDC* pDC, CRect rcClient) {
  m_pPaintManager->LayoutStrip(pTabManager, pDC, rcClient);
}

void CTKPTabAppearance::AdjustClientRect(CTKPTabManager* pTabManager, CRect& rcClient) {
  const int position = Position();
  tktab::DeflateRectByPosition(rcClient, m_pPaintManager->ClientMargin, position);
  rcClient = GetClientRect(rcClient, pTabManager);
  tktab::DeflateRectByPosition(rcClient, GetControlMargin(), position);
  if (m_pPaintManager->ClientBorderStyle == 0) {
    rcClient.DeflateRect(2, 2);
  } else if (m_pPaintManager->ClientBorderStyle == 1) {
    tktab::DeflateRectByPosition(rcClient, 0, 2, 0, 0, position);
  }
}

COLORREF CTKPTabAppearance::FrameLightColor() const { return ColorSet()->m_clrFrameBorder; }
COLORREF CTKPTabAppearance::FrameDarkColor() const { return ColorSet()->m_clrFrameBorder; }

CRect CTKPTabAppearance::FillTabControl(CTKPTabManager* pTabManager, CDC* pDC, CRect rcControl) {
  const int position = Position();
  const CRect header = GetHeaderRect(rcControl, pTabManager);
  CRect fill = header;
  if (IsClassic()) tktab::InflateRectByPosition(fill, 0, 0, 0, 1, position);
  ColorSet()->FillHeaderGradient(pDC, fill, pTabManager);
  const CRect client = GetClientRect(rcControl, pTabManager);
  const COLORREF light = FrameLightColor(), dark = FrameDarkColor();
  const COLORREF shadow = ColorSet()->m_clrOutlineA[1];
  switch (m_pPaintManager->ClientBorderStyle) {
    case 0:
      ColorSet()->FillClient(pDC, client, pTabManager);
      pDC->Draw3dRect(client, light, dark);
      if (IsClassic()) {
        DrawLine(pDC, shadow, client.left + 1, client.bottom - 2, client.right - 1, client.bottom - 2);
        DrawLine(pDC, shadow, client.right - 2, client.top + 1, client.right - 2, client.bottom - 1);
      }
      break;
    case 1:
      DrawEdgeLine(pDC, client, position, light, dark);
      if (IsClassic() && (position == tktab::kBottom || position == tktab::kRight)) {
        CRect inner = client;
        tktab::DeflateRectByPosition(inner, 0, 1, 0, 0, position);
        DrawEdgeLine(pDC, inner, position, light, shadow);
      }
      break;
    default: break;
  }
  return header;
}

void CTKPTabAppearance::DrawEdge(CDC* pDC, CRect& rc, int nSide) {
  CTKPTabColorSet* pColors = ColorSet();
  if (m_pPaintManager->ShowClientFrame) {
    switch (nSide) {
      case 0:
        pDC->Draw3dRect(rc.left + 1, rc.top, rc.Width() - 2, rc.Height() - 1, ::GetSysColor(COLOR_BTNFACE),
                        ::GetSysColor(COLOR_BTNFACE));
        pDC->Draw3dRect(rc, pColors->m_clrFrameBorder, pColors->m_clrFrameBorder);
        break;
      case 1: rc.top -= 1; break;
      default:
        pDC->FillSolidRect(rc, pColors->m_clrFrameFace);
        if (nSide == 2) {
          pDC->FillSolidRect(rc.right - 1, rc.top, 1, rc.Height(), pColors->m_clrFrameBorder);
        } else {
          pDC->FillSolidRect(rc.left, rc.bottom - 1, rc.Width(), 1, pColors->m_clrFrameBorder);
        }
        break;
    }
    return;
  }
  if (nSide == 1) {
    rc.InflateRect(2, 2);
  } else if (nSide >= 2) {
    pDC->FillSolidRect(rc, pColors->m_grcHeader.clrLight);
  }
}

void CTKPTabAppearance::DrawContent(CDC* pDC, CTKPTabManagerItem* pItem, CRect rc) {
  m_pPaintManager->DrawSingleButton(pDC, pItem, rc, TRUE);
}

void CTKPTabAppearance::DrawPolyline(CDC* pDC, COLORREF clr, const POINT* pts, int nCount) {
  if (clr == kTKPNoColor || nCount < 1) return;
  HPEN hPen = ::CreatePen(PS_SOLID, 1, clr);
  HGDIOBJ hOld = ::SelectObject(*pDC, hPen);
  POINT pt = pts[0];
  pDC->MoveTo(pt.x, pt.y);
  for (int i = 1; i < nCount; ++i) {
    pt.x += pts[i].x;
    pt.y += pts[i].y;
    pDC->LineTo(pt.x, pt.y);
  }
  ::SelectObject(*pDC, hOld);
  ::DeleteObject(hPen);
}

void CTKPTabAppearance::DrawEdgeLine(CDC* pDC, CRect rc, int nSide, COLORREF clrLight, COLORREF clrDark) {
  const COLORREF clr = (nSide == 0 || nSide == 1) ? clrLight : clrDark;
  if (clr == kTKPNoColor) return;
  switch (nSide) {
    case 0: pDC->FillSolidRect(rc.left, rc.top, rc.Width(), 1, clr); break;
    case 1: pDC->FillSolidRect(rc.left, rc.top, 1, rc.Height(), clr); break;
    case 2: pDC->FillSolidRect(rc.left, rc.bottom - 1, rc.Width(), 1, clr); break;
    case 3: pDC->FillSolidRect(rc.right - 1, rc.top, 1, rc.Height(), clr); break;
    default: break;
  }
}

void CTKPTabAppearance::DrawLine(CDC* pDC, COLORREF clr, int x1, int y1, int x2, int y2) {
  if (clr == kTKPNoColor) return;
  HPEN hPen = ::CreatePen(PS_SOLID, 1, clr);
  HGDIOBJ hOld = ::SelectObject(*pDC, hPen);
  pDC->MoveTo(x1, y1);
  pDC->LineTo(x2, y2);
  ::SelectObject(*pDC, hOld);
  ::DeleteObject(hPen);
}

COLORREF CTKPTabAppearance::FillPolygonTab(CDC* pDC, CTKPTabManagerItem* pItem, const POINT* pts, int nCount,
                                           int /*nPosition*/) {
  CRect box(pts[0].x, pts[0].y, pts[0].x, pts[0].y);
  for (int i = 1; i < nCount; ++i) {
    box.left = std::min(box.left, pts[i].x);
    box.top = std::min(box.top, pts[i].y);
    box.right = std::max(box.right, pts[i].x);
    box.bottom = std::max(box.bottom, pts[i].y);
  }
  box.right += 1;
  box.bottom += 1;
  if (box.IsRectEmpty()) return kTKPNoColor;
  CDC mem;
  CBitmap bitmap;
  if (!mem.CreateCompatibleDC(pDC) || !bitmap.CreateCompatibleBitmap(pDC, box.Width(), box.Height())) {
    return kTKPNoColor;
  }
  CBitmap* pOld = mem.SelectObject(&bitmap);
  const COLORREF clr = ColorSet()->FillSelectedTab(&mem, CRect(0, 0, box.Width(), box.Height()), pItem);
  HRGN hRegion = ::CreatePolygonRgn(pts, nCount, WINDING);
  const int nSaved = pDC->SaveDC();
  ::ExtSelectClipRgn(*pDC, hRegion, RGN_AND);
  pDC->BitBlt(box.left, box.top, box.Width(), box.Height(), &mem, 0, 0, SRCCOPY);
  pDC->RestoreDC(nSaved);
  ::DeleteObject(hRegion);
  mem.SelectObject(pOld);
  return clr;
}

void CTKPTabAppearance::PlaceItem(CTKPTabManagerItem* pItem, const CRect& rc, int nLength, int nFullLength,
                                  int nRow) {
  pItem->m_rcItem = rc;
  pItem->m_nLength = nLength;
  pItem->m_nFullLength = nFullLength;
  pItem->m_nRow = nRow;
}

void CTKPTabAppearance::HideNavigateButtons(CTKPTabManager* pTabManager) {
  for (CTKPTabManagerNavigateButton* pButton : pTabManager->m_arrNavigateButtons) pButton->m_rcButton.SetRectEmpty();
}
