#include "toolkit/controls/tk_header_theme.h"

#include <vector>

#include "platform/classlib/resource_win32.h"
#include "platform/classlib/win/cdc.h"
#include "toolkit/common/color_manager.h"
#include "toolkit/common/gdi_guards.h"
#include "toolkit/controls/tk_header_ctrl.h"
#include "toolkit/controls/tk_list_logic.h"

IMPLEMENT_DYNCREATE(CTKHeaderCtrlThemeFactory, CTKThemeManagerStyleFactory)

CTKThemeManagerStyle* CTKHeaderCtrlThemeFactory::CreateTheme(int nTheme) {
  CTKHeaderTheme* pTheme = nullptr;
  switch (nTheme) {
    case 1: pTheme = new CTKHeaderThemeFlat; break;
    case 2: pTheme = new CTKHeaderThemeShaded; break;
    default: pTheme = new CTKHeaderTheme; break;
  }
  pTheme->m_nTheme = nTheme == 1 || nTheme == 2 ? nTheme : 0;
  return pTheme;
}

namespace {

void VerticalLine(CDC* pDC, int x, int top, int bottom, COLORREF color) {
  CTKPPenDC pen(pDC->GetSafeHdc(), color);
  pDC->MoveTo(x, top);
  pDC->LineTo(x, bottom);
}

void HorizontalLine(CDC* pDC, int y, int left, int right, COLORREF color) {
  CTKPPenDC pen(pDC->GetSafeHdc(), color);
  pDC->MoveTo(left, y);
  pDC->LineTo(right, y);
}

BOOL IsPressed(LPDRAWITEMSTRUCT lpDIS) { return (lpDIS->itemState & ODS_SELECTED) != 0; }

// Below this distance (tkcolor::ColorDistance) a line on the face is hard to see.
constexpr double kMinArrowContrast = 40.0;

}  // namespace

CTKHeaderTheme::CTKHeaderTheme() = default;

void CTKHeaderTheme::RefreshMetrics() {
  m_clrText.SetStandardValue(TKPColor(COLOR_BTNTEXT));
  m_clrFace.SetStandardValue(TKPColor(COLOR_BTNFACE));
  m_clrShadow.SetStandardValue(TKPColor(COLOR_BTNSHADOW));
  m_clrDarkShadow.SetStandardValue(TKPColor(COLOR_3DDKSHADOW));
  m_clrHighlight.SetStandardValue(TKPColor(COLOR_BTNHIGHLIGHT));
}

BOOL CTKHeaderTheme::UseVisualStyle(CTKHeaderCtrl* pHeader) {
  if ((m_nDrawStyle & kTKHeaderVisualStyle) == 0 || pHeader == nullptr) return FALSE;
  if (m_themeHeader.GetHandle() == nullptr) m_themeHeader.OpenThemeData(pHeader->m_hWnd, L"HEADER");
  return CTKPVisualStyleTheme::IsAppThemeReady() && m_themeHeader.GetHandle() != nullptr;
}

BOOL CTKHeaderTheme::SetDrawStyle(int nStyle, CTKHeaderCtrl* pHeader) {
  m_nDrawStyle = nStyle;
  m_bUseVisualStyle = UseVisualStyle(pHeader) && (nStyle & kTKHeaderVisualStyle) != 0;
  return m_bUseVisualStyle;
}

BOOL CTKHeaderTheme::Layout(HDLAYOUT* pLayout, CTKHeaderCtrl* pHeader) {
  return static_cast<BOOL>(pHeader->DefWindowProc(HDM_LAYOUT, 0, reinterpret_cast<LPARAM>(pLayout)));
}

void CTKHeaderTheme::CleanUp(CTKHeaderCtrl* pHeader) { pHeader->DestroyColumnImages(); }

BOOL CTKHeaderTheme::SetBitmap(int nColumn, UINT nIDBitmap, BOOL bRemove, COLORREF crMask, CTKHeaderCtrl* pHeader) {
  if (pHeader->GetColumnImages(nColumn) != nullptr) {
    pHeader->SetColumnImages(nColumn, nullptr);
    if (pHeader->m_hWnd != nullptr) pHeader->Invalidate(FALSE);
  }
  if (bRemove) return FALSE;
  auto hBitmap = static_cast<HBITMAP>(
      ::LoadImageW(AfxGetResourceHandle(), MAKEINTRESOURCEW(nIDBitmap), IMAGE_BITMAP, 0, 0, LR_DEFAULTCOLOR));
  if (hBitmap == nullptr) return FALSE;
  BITMAP info{};
  ::GetObjectW(hBitmap, sizeof(info), &info);
  HIMAGELIST hImages = ::ImageList_Create(info.bmWidth, info.bmHeight, ILC_MASK | ILC_COLOR24, 1, 0);
  const bool added = hImages != nullptr && ::ImageList_AddMasked(hImages, hBitmap, crMask) >= 0;
  ::DeleteObject(hBitmap);
  if (!added) {
    if (hImages != nullptr) ::ImageList_Destroy(hImages);
    return FALSE;
  }
  pHeader->SetColumnImages(nColumn, hImages);
  if (pHeader->m_hWnd != nullptr) pHeader->Invalidate(FALSE);
  return TRUE;
}

void CTKHeaderTheme::DrawHeader(CDC* pDC, CTKHeaderCtrl* pHeader) {
  m_pDrawing = pHeader;
  const CTKPClientRect client(pHeader);
  DRAWITEMSTRUCT dis{};
  dis.CtlType = ODT_HEADER;
  dis.hwndItem = pHeader->m_hWnd;
  dis.hDC = pDC->GetSafeHdc();
  dis.rcItem = client;
  if (!m_bUseVisualStyle || !DrawVisualStyleBackground(&dis)) DrawBackground(&dis);

  CTKPFontDC font(pDC, pHeader->GetFont());
  pDC->SetBkColor(m_clrFace);
  pDC->SetTextColor(m_clrText);
  pDC->SetBkMode(TRANSPARENT);

  const int count = pHeader->GetItemCount();
  if (count <= 0) return;
  std::vector<int> order(static_cast<size_t>(count));
  if (!pHeader->GetOrderArray(order.data(), count)) {
    for (int i = 0; i < count; ++i) order[static_cast<size_t>(i)] = i;
  }
  HDHITTESTINFO hit{};
  const CTKPClientCursorPos cursor(pHeader);
  hit.pt = POINT{cursor.x, cursor.y};
  const int hotColumn = (m_nDrawStyle & kTKHeaderHotItems) != 0 ? pHeader->HitTest(&hit) : -1;
  int x = client.left;
  for (int column : order) {
    wchar_t text[256] = {};
    HDITEMW item{};
    item.mask = HDI_WIDTH | HDI_TEXT | HDI_FORMAT | HDI_LPARAM | HDI_IMAGE | HDI_ORDER;
    item.pszText = text;
    item.cchTextMax = 256;
    if (!pHeader->GetItem(column, &item)) continue;
    dis.itemID = static_cast<UINT>(column);
    dis.itemState = 0;
    if (column == hotColumn) dis.itemState = ODS_HOTLIGHT;
    if (pHeader->IsColumnPressed(column)) dis.itemState = ODS_SELECTED;
    dis.rcItem = CRect(x, client.top, x + item.cxy, client.bottom);
    dis.itemData = reinterpret_cast<ULONG_PTR>(&item);
    if (!m_bUseVisualStyle || !DrawVisualStyleItem(&dis)) DrawDivider(&dis);
    DrawItemText(&dis, pHeader);
    x += item.cxy;
  }
}

void CTKHeaderTheme::DrawBackground(LPDRAWITEMSTRUCT lpDIS) {
  CDC* pDC = CDC::FromHandle(lpDIS->hDC);
  CRect rc(lpDIS->rcItem);
  pDC->FillSolidRect(rc, m_clrFace);
  rc.right += 2;
  pDC->Draw3dRect(rc, m_clrHighlight, m_clrDarkShadow);
  rc.DeflateRect(1, 1);
  pDC->Draw3dRect(rc, m_clrFace, m_clrShadow);
}

BOOL CTKHeaderTheme::DrawVisualStyleBackground(LPDRAWITEMSTRUCT lpDIS) {
  if ((m_nDrawStyle & kTKHeaderHotItems) == 0) return FALSE;
  return SUCCEEDED(m_themeHeader.DrawThemeBackground(lpDIS->hDC, 0, 1, &lpDIS->rcItem, nullptr));
}

void CTKHeaderTheme::DrawDivider(LPDRAWITEMSTRUCT lpDIS) {
  CDC* pDC = CDC::FromHandle(lpDIS->hDC);
  const CRect rc(lpDIS->rcItem);
  if (!IsPressed(lpDIS)) {
    VerticalLine(pDC, rc.right - 2, 1, rc.bottom - 1, m_clrShadow);
    VerticalLine(pDC, rc.right - 1, 0, rc.bottom - 1, m_clrDarkShadow);
    VerticalLine(pDC, rc.right, 1, rc.bottom - 1, m_clrHighlight);
    return;
  }
  pDC->Draw3dRect(rc, m_clrShadow, m_clrShadow);
  VerticalLine(pDC, rc.right, 1, rc.bottom - 1, m_clrHighlight);
  HorizontalLine(pDC, rc.bottom - 2, rc.left + 1, rc.right - 1, m_clrFace);
}

BOOL CTKHeaderTheme::DrawVisualStyleItem(LPDRAWITEMSTRUCT lpDIS) {
  int nState = 1;
  if ((lpDIS->itemState & ODS_HOTLIGHT) != 0) nState = 2;
  if (IsPressed(lpDIS)) nState = 3;
  return SUCCEEDED(m_themeHeader.DrawThemeBackground(lpDIS->hDC, 1, nState, &lpDIS->rcItem, nullptr));
}

void CTKHeaderTheme::DrawItemText(LPDRAWITEMSTRUCT lpDIS, CTKHeaderCtrl* pHeader) {
  CDC* pDC = CDC::FromHandle(lpDIS->hDC);
  const auto* item = reinterpret_cast<const HDITEMW*>(lpDIS->itemData);
  const CRect rcItem(lpDIS->rcItem);
  CRect rcText(rcItem);
  rcText.DeflateRect(m_nTextMargin, 0);
  BOOL bAscending = TRUE;
  const bool bSorted = static_cast<int>(lpDIS->itemID) == pHeader->GetSortImage(&bAscending);
  if (bSorted) rcText.right -= 2 * m_nSortArrowGap + m_nArrowWidth;

  const CString text(item->pszText != nullptr ? item->pszText : L"");
  const CSize size = pDC->GetTextExtent(text);
  rcText.top = m_nTextTop < 1 ? rcItem.top + (rcItem.Height() - size.cy) / 2 : rcItem.top + m_nTextTop;
  rcText.bottom = rcText.top + size.cy;
  if (pHeader->GetColumnImages(static_cast<int>(lpDIS->itemID)) != nullptr) DrawItemBitmap(lpDIS, rcText, pHeader);

  CRect rcShown(rcText);
  switch (item->fmt & HDF_JUSTIFYMASK) {
    case HDF_RIGHT: rcShown.left = rcText.right - size.cx; break;
    case HDF_CENTER: rcShown.left = rcText.left + (rcText.Width() - size.cx) / 2; break;
    default: break;
  }
  rcShown.right = rcShown.left + size.cx;
  if (rcShown.left < rcText.left) rcShown.left = rcText.left;
  if (rcShown.right > rcText.right) rcShown.right = rcText.right;

  if ((m_nDrawStyle & kTKHeaderSortArrow) != 0 && bSorted) {
    DRAWITEMSTRUCT arrow = *lpDIS;
    arrow.rcItem = rcShown;
    DrawSortArrow(&arrow, bAscending);
  }
  if (rcShown.Width() <= 0) return;
  if (IsPressed(lpDIS)) rcShown.OffsetRect(1, 1);
  pDC->DrawText(text, rcShown, DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS);
}

void CTKHeaderTheme::DrawItemBitmap(LPDRAWITEMSTRUCT lpDIS, CRect& rcText, CTKHeaderCtrl* pHeader) {
  HIMAGELIST hImages = pHeader->GetColumnImages(static_cast<int>(lpDIS->itemID));
  int cx = 0, cy = 0;
  if (hImages == nullptr || !::ImageList_GetIconSize(hImages, &cx, &cy)) return;
  rcText.left += m_nTextMargin + cx;
  const CRect rcItem(lpDIS->rcItem);
  CPoint pt(rcItem.left + m_nTextMargin, rcItem.top + (rcItem.Height() - cy) / 2);
  if (IsPressed(lpDIS)) pt.Offset(1, 1);
  if (pt.x + cx > rcItem.right) return;
  ::ImageList_Draw(hImages, 0, lpDIS->hDC, pt.x, pt.y, ILD_TRANSPARENT);
}

void CTKHeaderTheme::DrawSortArrow(LPDRAWITEMSTRUCT lpDIS, BOOL bAscending) {
  // The record's rectangle is the text's; the item's own edges come from the header.
  CRect rcItem;
  if (m_pDrawing == nullptr || !m_pDrawing->GetItemRect(static_cast<int>(lpDIS->itemID), rcItem)) return;
  const int x = lpDIS->rcItem.right + m_nSortArrowGap;
  if (x < rcItem.left) return;
  int y = (rcItem.Height() - m_nArrowHeight) / 2 + rcItem.top - 1;
  int left = x;
  if (IsPressed(lpDIS)) {
    ++left;
    ++y;
  }
  const int a = bAscending ? y : y + m_nArrowHeight;
  const int b = bAscending ? y + m_nArrowHeight : y;
  const POINT pts[3] = {{left, b}, {left + m_nArrowWidth, b}, {left + m_nArrowWidth / 2, a}};
  DrawArrow(CDC::FromHandle(lpDIS->hDC), pts, bAscending);
}

void CTKHeaderTheme::DrawArrow(CDC* pDC, const POINT pts[3], BOOL bAscending) {
  const POINT& leftBase = pts[0];
  const POINT& rightBase = pts[1];
  const POINT& apex = pts[2];
  // On a face as light as the highlight (the light system schemes) the lit edges would vanish and the
  // arrow read as a slash: they are drawn dark there.
  const COLORREF lit = tkcolor::ColorDistance(m_clrHighlight, m_clrFace) < kMinArrowContrast
                           ? static_cast<COLORREF>(m_clrDarkShadow)
                           : static_cast<COLORREF>(m_clrHighlight);
  if (bAscending) {
    {
      CTKPPenDC pen(pDC->GetSafeHdc(), lit);
      pDC->MoveTo(apex);
      pDC->LineTo(rightBase);
      pDC->LineTo(leftBase);
    }
    CTKPPenDC pen(pDC->GetSafeHdc(), m_clrShadow);
    pDC->LineTo(apex);
    return;
  }
  {
    CTKPPenDC pen(pDC->GetSafeHdc(), m_clrShadow);
    pDC->MoveTo(apex);
    pDC->LineTo(leftBase);
    pDC->LineTo(rightBase);
  }
  CTKPPenDC pen(pDC->GetSafeHdc(), lit);
  pDC->MoveTo(apex);
  pDC->LineTo(rightBase);
}

// ---- theme 1 ----

void CTKHeaderThemeFlat::DrawBackground(LPDRAWITEMSTRUCT lpDIS) {
  CDC* pDC = CDC::FromHandle(lpDIS->hDC);
  CRect rc(lpDIS->rcItem);
  pDC->FillSolidRect(rc, m_clrFace);
  rc.right += 2;
  pDC->Draw3dRect(rc, m_clrHighlight, m_clrShadow);
}

void CTKHeaderThemeFlat::DrawDivider(LPDRAWITEMSTRUCT lpDIS) {
  CDC* pDC = CDC::FromHandle(lpDIS->hDC);
  const CRect rc(lpDIS->rcItem);
  VerticalLine(pDC, rc.right - 2, 2, rc.bottom - m_nDividerInset, m_clrShadow);
  VerticalLine(pDC, rc.right - 1, 2, rc.bottom - m_nDividerInset, m_clrHighlight);
}

// ---- theme 2 ----

BOOL CTKHeaderThemeShaded::Layout(HDLAYOUT* pLayout, CTKHeaderCtrl* pHeader) {
  if (pLayout == nullptr || pLayout->prc == nullptr || pLayout->pwpos == nullptr) return FALSE;
  CClientDC dc(pHeader);
  CTKPFontDC font(&dc, pHeader->GetFont());
  TEXTMETRICW tm{};
  dc.GetTextMetrics(&tm);
  const int height = tm.tmHeight + 10;
  RECT* prc = pLayout->prc;
  WINDOWPOS* pos = pLayout->pwpos;
  pos->hwnd = pHeader->m_hWnd;
  pos->hwndInsertAfter = nullptr;
  pos->x = prc->left;
  pos->y = prc->top;
  pos->cx = prc->right - prc->left;
  pos->cy = height;
  pos->flags = SWP_NOZORDER | SWP_NOACTIVATE;
  prc->top += height;
  return TRUE;
}

void CTKHeaderThemeShaded::DrawBackground(LPDRAWITEMSTRUCT lpDIS) {
  CDC* pDC = CDC::FromHandle(lpDIS->hDC);
  CRect rc(lpDIS->rcItem);
  pDC->FillSolidRect(rc, m_clrFace);
  rc.right += 2;
  pDC->Draw3dRect(rc, m_clrHighlight, tklist::TowardShadow(m_clrFace, m_clrShadow, 60));
  const CRect item(lpDIS->rcItem);
  HorizontalLine(pDC, item.bottom - 2, item.left, item.right, tklist::TowardShadow(m_clrFace, m_clrShadow, 40));
  HorizontalLine(pDC, item.bottom - 3, item.left, item.right, tklist::TowardShadow(m_clrFace, m_clrShadow, 25));
}
