#include "toolkit/taskpanel/tkp_task_panel_paint_manager.h"

#include <commctrl.h>

#include <algorithm>
#include <vector>

#include "platform/classlib/win/cdc.h"
#include "platform/os/library_win32.h"
#include "toolkit/common/color_manager.h"
#include "toolkit/common/draw_helpers.h"
#include "toolkit/common/gdi_guards.h"
#include "toolkit/common/resource_manager.h"
#include "toolkit/common/tkp_image_manager.h"
#include "toolkit/common/visual_style_theme.h"
#include "toolkit/taskpanel/tkp_task_panel.h"
#include "toolkit/taskpanel/tkp_task_panel_theme_support.h"
#include "toolkit/taskpanel/tp_color.h"

using taskpanel::themes::Color;
using taskpanel::themes::Sys;

namespace {

// The toolkit's expand pictures for ordinary and special groups.
constexpr UINT kExpandBitmap = 9197;
constexpr UINT kExpandBitmapSpecial = 9198;
// Pictures larger than this are not recoloured (they are not the toolkit's).
constexpr int kMaxExpandPicture = 64;
constexpr int kButtonWidth = 23;
constexpr int kTriangleButtonWidth = 19;
constexpr int kNarrowestCaptionWithButton = 26;
constexpr int kTextAfterIcon = 7;

void FillGroupColors(CTKPTaskPanelGroupColors& c, COLORREF head, COLORREF border, COLORREF headText) {
  c.dHeadGradientFactor = 0.0;
  c.clrHead.SetStandardValue(head, head);
  c.clrClient.SetSolidColor(Sys(COLOR_WINDOW));
  c.clrClientBorder.SetStandardValue(border);
  c.clrHeadTextNormal.SetStandardValue(headText);
  c.clrHeadTextHot.SetStandardValue(headText);
  c.clrClientText.SetStandardValue(Sys(COLOR_BTNTEXT));
  c.clrClientLink.SetStandardValue(Sys(COLOR_BTNTEXT));
  c.clrClientLinkHot.SetStandardValue(Sys(COLOR_HIGHLIGHT));
  c.clrClientLinkSelected.SetStandardValue(Sys(COLOR_BTNTEXT));
}

// The text measured in the item's font; " " stands for an empty caption.
CRect MeasureText(CDC* pDC, const CString& text, CRect rc, UINT nFormat) {
  rc.bottom = rc.top + 0x7FFF;
  CString measured = text.IsEmpty() ? CString(_T(" ")) : text;
  pDC->DrawText(measured, rc, nFormat | DT_CALCRECT);
  return rc;
}

}  // namespace

CTKPTaskPanelPaintManager::CTKPTaskPanelPaintManager() {
  m_hMsimg32 = os::LoadProgramOrSystemLibrary(L"msimg32.dll");
  if (m_hMsimg32) {
    m_pfnAlphaBlend = reinterpret_cast<AlphaBlendFn>(reinterpret_cast<void*>(::GetProcAddress(m_hMsimg32, "AlphaBlend")));
  }
}

CTKPTaskPanelPaintManager::~CTKPTaskPanelPaintManager() {
  FreeExplorerPictures();
  if (m_hMsimg32) ::FreeLibrary(m_hMsimg32);
}

void CTKPTaskPanelPaintManager::FreeExplorerPictures() {
  for (HBITMAP& h : m_hExplorerBitmaps) {
    if (h) ::DeleteObject(h);
    h = nullptr;
  }
  if (m_hExpandIcon) ::DestroyIcon(m_hExpandIcon);
  if (m_hExpandIconSpecial) ::DestroyIcon(m_hExpandIconSpecial);
  m_hExpandIcon = m_hExpandIconSpecial = nullptr;
}

void CTKPTaskPanelPaintManager::SetItemFont(const LOGFONT* pLogFont, BOOL bUseSystemFont) {
  m_bUseSystemItemFont = bUseSystemFont;
  if (pLogFont == nullptr) return;
  const struct {
    CFont* font;
    LONG weight;
    BYTE underline;
  } variants[] = {{&m_fntItem, FW_NORMAL, FALSE},
                  {&m_fntItemUnderline, FW_NORMAL, TRUE},
                  {&m_fntItemBold, FW_BOLD, FALSE},
                  {&m_fntItemBoldUnderline, FW_BOLD, TRUE}};
  for (const auto& v : variants) {
    LOGFONT lf = *pLogFont;
    lf.lfWeight = v.weight;
    lf.lfUnderline = v.underline;
    v.font->DeleteObject();
    v.font->CreateFontIndirect(&lf);
  }
}

void CTKPTaskPanelPaintManager::SetCaptionFont(const LOGFONT* pLogFont, BOOL bUseSystemFont) {
  m_bUseSystemCaptionFont = bUseSystemFont;
  if (pLogFont == nullptr) return;
  m_fntCaption.DeleteObject();
  m_fntCaption.CreateFontIndirect(pLogFont);
  HDC hDC = ::GetDC(nullptr);
  HGDIOBJ hOld = ::SelectObject(hDC, m_fntCaption.GetSafeHandle());
  SIZE size{0, 0};
  ::GetTextExtentPoint32W(hDC, L" ", 1, &size);
  ::SelectObject(hDC, hOld);
  ::ReleaseDC(nullptr, hDC);
  m_nCaptionHeight = std::max(25, static_cast<int>(size.cy));
}

void CTKPTaskPanelPaintManager::RefreshMetrics() {
  RefreshToolkitColors();
  LOGFONT lf{};
  ::SystemParametersInfoW(SPI_GETICONTITLELOGFONT, sizeof lf, &lf, 0);
  if (m_bUseSystemItemFont) SetItemFont(&lf, TRUE);
  if (m_bUseSystemCaptionFont) {
    lf.lfWeight = m_bBoldCaption ? FW_BOLD : FW_NORMAL;
    lf.lfUnderline = FALSE;
    SetCaptionFont(&lf, TRUE);
  }
  FillGroupColors(m_groupNormal, Sys(COLOR_BTNFACE), Sys(COLOR_BTNFACE), Sys(COLOR_BTNTEXT));
  FillGroupColors(m_groupSpecial, Sys(COLOR_ACTIVECAPTION), Sys(COLOR_ACTIVECAPTION), Sys(COLOR_CAPTIONTEXT));
  m_grcBackground.SetStandardValue(Sys(COLOR_WINDOW), Sys(COLOR_WINDOW));
  m_bRoundLeftCorner = m_bRoundRightCorner = FALSE;
  m_nCaptionButtonStyle = 2;
  if (m_nColorMode != 0) {
    m_clrButtonHot.SetStandardValue(Sys(31));
    m_clrButtonSelected.SetStandardValue(Sys(36));
    m_clrButtonPressed.SetStandardValue(Sys(33));
    m_grcButtonBorder.SetSolidColor(Sys(32));
    const int scheme = TKPColorManager()->GetCurrentSystemTheme();
    if (m_nColorMode == 2 && scheme != 0) {
      m_clrButtonHot.SetStandardValue(RGB(255, 238, 194));
      m_clrButtonPressed.SetStandardValue(RGB(254, 128, 62));
      m_clrButtonSelected.SetStandardValue(RGB(255, 192, 111));
      m_grcButtonBorder.SetSolidColor(scheme == 2 ? RGB(63, 93, 56) : scheme == 3 ? RGB(75, 75, 111) : RGB(0, 0, 128));
    }
  } else {
    m_clrButtonHot.SetStandardValue(Sys(COLOR_BTNFACE));
    m_grcButtonBorder.SetStandardValue(RGB(128, 128, 128), RGB(198, 198, 198));
  }
}

CTKPTaskPanelGroupColors* CTKPTaskPanelPaintManager::GetGroupColors(const CTKPTaskPanelGroup* pGroup) {
  return pGroup && pGroup->IsSpecialGroup() ? &m_groupSpecial : &m_groupNormal;
}

// ---- metrics ----

CRect CTKPTaskPanelPaintManager::GetItemIconPadding(const CTKPTaskPanelItem* pItem) const {
  return taskpanel::ResolveMargins(pItem ? pItem->GetIconPadding() : taskpanel::DefaultMargins(), m_rcItemIconPadding);
}

CRect CTKPTaskPanelPaintManager::GetGroupOuterMargins(const CTKPTaskPanelGroup* pGroup) const {
  return taskpanel::ResolveMargins(pGroup->GetOuterMargins(), m_rcGroupOuterMargins);
}

CRect CTKPTaskPanelPaintManager::GetGroupInnerMargins(const CTKPTaskPanelGroup* pGroup) const {
  return taskpanel::ResolveMargins(pGroup->GetInnerMargins(), m_rcGroupInnerMargins);
}

CRect CTKPTaskPanelPaintManager::GetItemOuterMargins(const CTKPTaskPanelGroupItem* pItem) const {
  const CRect& theme = pItem->GetType() == taskpanel::kTypeLink ? m_rcLinkMargins : m_rcItemMargins;
  return taskpanel::ResolveMargins(pItem->GetMargins(), theme);
}

CRect CTKPTaskPanelPaintManager::GetControlMargins(const CTKPTaskPanel* pPanel) const {
  return taskpanel::ResolveMargins(pPanel->GetMargins(), m_rcControlMargins);
}

int CTKPTaskPanelPaintManager::GetGroupSpacing(const CTKPTaskPanel* pPanel) const {
  return pPanel->GetGroupSpacing() != taskpanel::kDefaultSide ? pPanel->GetGroupSpacing() : m_nGroupSpacing;
}

CFont* CTKPTaskPanelPaintManager::GetItemFont(const CTKPTaskPanelGroupItem* pItem) {
  const bool hotLink = pItem->GetType() == taskpanel::kTypeLink && pItem->IsItemHot();
  if (hotLink) return pItem->IsBold() ? &m_fntItemBoldUnderline : &m_fntItemUnderline;
  return pItem->IsBold() ? &m_fntItemBold : &m_fntItem;
}

CPoint CTKPTaskPanelPaintManager::GetItemIconOffset(const CTKPTaskPanelGroupItem* pItem) const {
  return m_nColorMode == 0 && pItem->IsItemSelected() ? CPoint(1, 1) : CPoint(0, 0);
}

// ---- the panel and the groups ----

void CTKPTaskPanelPaintManager::FillTaskPanel(CDC* pDC, CTKPTaskPanel* pPanel) {
  const CTKPClientRect client(pPanel);
  // Content coordinates: the whole scrolled height is painted.
  CRect rc(0, 0, client.Width(), std::max(client.Height() + pPanel->GetScrollOffset(), pPanel->GetClientHeight()));
  TKPDrawHelpers()->GradientFill(pDC, rc, Color(m_grcBackground.clrLight), Color(m_grcBackground.clrDark), FALSE);
}

int CTKPTaskPanelPaintManager::DrawGroupCaption(CDC* pDC, CTKPTaskPanelGroup* pGroup, BOOL bDraw) {
  if (!pGroup->IsCaptionVisible()) return 0;
  if (!bDraw) return m_nCaptionHeight;
  const CRect rc = pGroup->GetCaptionRect();
  if (rc.IsRectEmpty()) return m_nCaptionHeight;
  CTKPTaskPanelGroupColors* pColors = GetGroupColors(pGroup);
  const int saved = pDC->SaveDC();
  if (m_bRoundLeftCorner) {
    pDC->ExcludeClipRect(rc.left, rc.top, rc.left + 2, rc.top + 1);
    pDC->ExcludeClipRect(rc.left, rc.top + 1, rc.left + 1, rc.top + 2);
  }
  if (m_bRoundRightCorner) {
    pDC->ExcludeClipRect(rc.right - 2, rc.top, rc.right, rc.top + 1);
    pDC->ExcludeClipRect(rc.right - 1, rc.top + 1, rc.right, rc.top + 2);
  }
  pDC->FillSolidRect(rc, Color(pColors->clrHead.clrLight));
  CRect rcGradient = rc;
  rcGradient.left += static_cast<int>(rc.Width() * pColors->dHeadGradientFactor);
  TKPDrawHelpers()->GradientFill(pDC, rcGradient, Color(pColors->clrHead.clrLight), Color(pColors->clrHead.clrDark),
                                 TRUE);
  CTKPTaskPanel* pPanel = pGroup->GetTaskPanel();
  if (pGroup->IsItemFocused() && pPanel && pPanel->IsDrawFocusRect()) {
    CRect rcFocus = rc;
    rcFocus.DeflateRect(2, 2);
    DrawFocusRect(pDC, rcFocus);
  }
  CTKPFontDC font(pDC, &m_fntCaption);
  CRect rcText = rc;
  if (CTKPImageManagerIcon* pIcon = pPanel ? pGroup->GetImage(pPanel->GetGroupIconSize().cx) : nullptr) {
    const CSize sz = pPanel->GetGroupIconSize();
    if (sz.cx < rc.Width()) {
      pIcon->Draw(pDC, CPoint(rc.left, rc.top + (rc.Height() - sz.cy) / 2), pIcon->GetIcon(), sz);
      rcText.left += sz.cx;
    }
  }
  rcText = DrawCaptionButton(pDC, pGroup, rcText);
  rcText.left += 13;
  rcText.top += 2;
  COLORREF clrText = Color(pGroup->IsItemHot() ? pColors->clrHeadTextHot : pColors->clrHeadTextNormal);
  if (!pGroup->GetEnabled()) clrText = Sys(COLOR_GRAYTEXT);
  pDC->SetTextColor(clrText);
  pDC->SetBkMode(TRANSPARENT);
  pDC->DrawText(pGroup->GetCaption(), rcText, m_nCaptionTextFormat);
  pDC->RestoreDC(saved);
  return m_nCaptionHeight;
}

int CTKPTaskPanelPaintManager::GetCaptionButtonWidth(const CTKPTaskPanelGroup* pGroup, const CRect& rc) const {
  if (!pGroup->IsExpandable() || rc.Width() < kNarrowestCaptionWithButton) return 0;
  return m_nCaptionButtonStyle == 3 ? kTriangleButtonWidth : m_nCaptionButtonStyle == 0 ? 0 : kButtonWidth;
}

CRect CTKPTaskPanelPaintManager::DrawCaptionButton(CDC* pDC, CTKPTaskPanelGroup* pGroup, CRect rc) {
  if (!pGroup->IsExpandable() || rc.Width() < kNarrowestCaptionWithButton || m_nCaptionButtonStyle == 0) return rc;
  CTKPTaskPanelGroupColors* pColors = GetGroupColors(pGroup);
  const int centre = (rc.top + rc.bottom) / 2;
  const BOOL bExpanded = pGroup->IsExpanded();
  if (m_nCaptionButtonStyle == 1) {
    DrawExplorerButton(pDC, pGroup, rc);
    rc.right -= kButtonWidth;
  } else if (m_nCaptionButtonStyle == 2) {
    const CRect rcButton(rc.right - kButtonWidth, centre - 8, rc.right - 6, centre + 8);
    if (pGroup->IsItemHot()) pDC->Draw3dRect(rcButton, Sys(COLOR_BTNHIGHLIGHT), Sys(COLOR_BTNSHADOW));
    const COLORREF clr = Color(pGroup->IsItemHot() ? pColors->clrHeadTextHot : pColors->clrHeadTextNormal);
    DrawChevron(pDC, (rcButton.left + rcButton.right) / 2, centre + 1, clr, bExpanded);
    rc.right = rcButton.left;
  } else {
    const int x = rc.right - kTriangleButtonWidth + 5;
    const COLORREF clr = Color(pColors->clrClientLink);
    if (bExpanded) {
      CTKPDrawHelpers::Triangle(pDC, CPoint(x, centre + 2), CPoint(x + 8, centre + 2), CPoint(x + 4, centre - 2), clr);
    } else {
      CTKPDrawHelpers::Triangle(pDC, CPoint(x, centre - 2), CPoint(x + 8, centre - 2), CPoint(x + 4, centre + 2), clr);
    }
    rc.right -= kTriangleButtonWidth;
  }
  return rc;
}

void CTKPTaskPanelPaintManager::DrawChevron(CDC* pDC, int x, int y, COLORREF clr, BOOL bUp) {
  // One chevron: a stroke of three rows down one side and up the other, drawn twice one row apart.
  static const POINT kUp[3] = {{-3, -2}, {0, -5}, {4, -1}};
  static const POINT kDown[3] = {{-3, -5}, {0, -2}, {4, -6}};
  const POINT* shape = bUp ? kUp : kDown;
  CTKPPenDC pen(pDC->GetSafeHdc(), clr);
  for (int pair : {0, 4}) {
    for (int row : {0, 1}) {
      const int dy = pair + row;
      pDC->MoveTo(x + shape[0].x, y + shape[0].y + dy);
      pDC->LineTo(x + shape[1].x, y + shape[1].y + dy);
      pDC->LineTo(x + shape[2].x, y + shape[2].y + dy);
    }
  }
}

void CTKPTaskPanelPaintManager::DrawExplorerButton(CDC* pDC, CTKPTaskPanelGroup* pGroup, const CRect& rc) {
  const int centre = (rc.top + rc.bottom) / 2;
  const CPoint pt(rc.right - kButtonWidth, std::max(centre - 10, static_cast<int>(rc.top)));
  const bool special = pGroup->IsSpecialGroup() != FALSE;
  if (m_bExplorerBitmaps) {
    const int index = (special ? 4 : 0) + (pGroup->IsExpanded() ? 0 : 2) + (pGroup->IsItemHot() ? 1 : 0);
    AlphaBlendBitmap(pDC, m_hExplorerBitmaps[index], pt);
    return;
  }
  // A picture that could not be made leaves only the chevron.
  if (HICON hIcon = special ? m_hExpandIconSpecial : m_hExpandIcon) {
    pDC->DrawState(pt, CSize(19, 19), hIcon, DSS_NORMAL, static_cast<CBrush*>(nullptr));
  }
  CTKPTaskPanelGroupColors* pColors = GetGroupColors(pGroup);
  DrawChevron(pDC, pt.x + 9, pt.y + 10, Color(pGroup->IsItemHot() ? pColors->clrHeadTextHot : pColors->clrHeadTextNormal),
              pGroup->IsExpanded());
}

BOOL CTKPTaskPanelPaintManager::AlphaBlendBitmap(CDC* pDC, HBITMAP hBitmap, CPoint pt) {
  BITMAP bm{};
  if (hBitmap == nullptr || !::GetObjectW(hBitmap, sizeof bm, &bm)) return FALSE;
  HDC hMem = ::CreateCompatibleDC(pDC->GetSafeHdc());
  HGDIOBJ hOld = ::SelectObject(hMem, hBitmap);
  const BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
  // Without AlphaBlend the picture is still shown, copied as it is.
  const BOOL ok = m_pfnAlphaBlend ? m_pfnAlphaBlend(pDC->GetSafeHdc(), pt.x, pt.y, bm.bmWidth, bm.bmHeight, hMem, 0, 0,
                                                    bm.bmWidth, bm.bmHeight, blend)
                                  : ::BitBlt(pDC->GetSafeHdc(), pt.x, pt.y, bm.bmWidth, bm.bmHeight, hMem, 0, 0, SRCCOPY);
  ::SelectObject(hMem, hOld);
  ::DeleteDC(hMem);
  return ok;
}

void CTKPTaskPanelPaintManager::DrawGroupClient(CDC* pDC, CTKPTaskPanelGroup* pGroup) {
  const CRect rc = pGroup->GetClientRect();
  if (rc.Width() <= 0 || rc.Height() <= 0) return;
  // The body is drawn off screen; an opening or closing body shows its lower part, faded. Only what
  // shows is drawn: the body's rows from full - visible on, within the part of the window being painted.
  const int visible = rc.Height();
  const int full = std::max(visible, pGroup->GetBodyHeight());
  CRect clip;
  pDC->GetClipBox(clip);
  CRect shown;
  if (!shown.IntersectRect(rc, clip)) return;
  CDC mem;
  CBitmap bitmap;
  if (!mem.CreateCompatibleDC(pDC) || !bitmap.CreateCompatibleBitmap(pDC, shown.Width(), shown.Height())) return;
  CBitmap* pOld = mem.SelectObject(&bitmap);
  mem.SetWindowOrg(shown.left, shown.top - rc.top + full - visible);
  DrawGroupClientFace(&mem, pGroup, CRect(rc.left, 0, rc.right, full));
  mem.SetWindowOrg(0, 0);
  const int alpha = taskpanel::FadeAlpha(visible, full);
  if (pGroup->IsExpanding() && m_pfnAlphaBlend && alpha < 255) {
    const BLENDFUNCTION blend{AC_SRC_OVER, 0, static_cast<BYTE>(alpha), 0};
    m_pfnAlphaBlend(pDC->GetSafeHdc(), shown.left, shown.top, shown.Width(), shown.Height(), mem.GetSafeHdc(), 0, 0,
                    shown.Width(), shown.Height(), blend);
  } else {
    pDC->BitBlt(shown.left, shown.top, shown.Width(), shown.Height(), &mem, 0, 0, SRCCOPY);
  }
  mem.SelectObject(pOld);
}

void CTKPTaskPanelPaintManager::DrawGroupClientFace(CDC* pDC, CTKPTaskPanelGroup* pGroup, CRect rc) {
  CTKPTaskPanelGroupColors* pColors = GetGroupColors(pGroup);
  // A group without a caption shows its body in the border colour, which stands in for the caption.
  const CTKPColorValue& fill = pGroup->IsCaptionVisible() ? pColors->clrClient.clrDark : pColors->clrClientBorder;
  pDC->FillSolidRect(rc, Color(fill));
  pGroup->OnDrawHeaderImage(pDC, rc);
  const COLORREF border = Color(pColors->clrClientBorder);
  pDC->FillSolidRect(rc.left, rc.top, 1, rc.Height(), border);
  pDC->FillSolidRect(rc.left, rc.bottom - 1, rc.Width(), 1, border);
  if (m_bClientTopBorder) {
    pDC->FillSolidRect(rc.left, rc.top, rc.Width(), 1, border);
  } else {
    pDC->FillSolidRect(rc.right - 1, rc.top, 1, rc.Height(), border);
  }
  DrawGroupClientItems(pDC, pGroup, rc);
}

void CTKPTaskPanelPaintManager::DrawGroupClientItems(CDC* pDC, CTKPTaskPanelGroup* pGroup, CRect) {
  const bool settled = taskpanel::IsSettled(pGroup->Geometry());
  // Items scrolled away above the body are not drawn; the rest move up by the group's scroll offset.
  const CPoint origin = pDC->OffsetWindowOrg(0, pGroup->GetItemScrollOffset());
  for (int i = pGroup->GetFirstVisibleItemIndex(); i < pGroup->GetItemCount(); ++i) {
    CTKPTaskPanelGroupItem* pItem = pGroup->GetAt(i);
    if (!pItem->IsVisible()) continue;
    if (pItem->GetType() == taskpanel::kTypeControl) {
      // The window draws itself once the group has settled; until then its picture stands in.
      CBitmap* pPreview = pItem->GetPreview();
      if (!settled && pPreview) {
        const CRect rc = pItem->GetItemRect();
        pDC->DrawState(rc.TopLeft(), rc.Size(), pPreview, DSS_NORMAL, static_cast<CBrush*>(nullptr));
      }
      continue;
    }
    pItem->OnDrawItem(pDC, pItem->GetItemRect());
  }
  pDC->SetWindowOrg(origin);
}

void CTKPTaskPanelPaintManager::DrawScrollButton(CDC* pDC, const CTKPTaskPanelScrollButton* pButton) {
  if (pButton == nullptr || !pButton->IsVisible()) return;
  const CRect rc = pButton->rcButton;
  if (m_nColorMode == 0 || m_bClassicScrollButtons) {
    pDC->FillSolidRect(rc, Sys(COLOR_BTNFACE));
    if (pButton->bPressed) {
      pDC->Draw3dRect(rc, Sys(COLOR_BTNSHADOW), Sys(COLOR_BTNHIGHLIGHT));
    } else {
      pDC->Draw3dRect(rc, Sys(COLOR_BTNHIGHLIGHT), Sys(COLOR_BTNSHADOW));
    }
  } else {
    const COLORREF fill = pButton->bPressed ? Color(m_clrButtonPressed)
                          : pButton->bHot   ? Color(m_clrButtonHot)
                                            : Color(GetGroupColors(pButton->pGroupCaption)->clrClient.clrDark);
    pDC->FillSolidRect(rc, fill);
    const COLORREF border = Color(m_grcButtonBorder.clrLight);
    pDC->Draw3dRect(rc, border, border);
  }
  // A triangle nine pixels wide in the middle, pointing the way the items move.
  const CPoint c = rc.CenterPoint();
  const int sign = pButton->bScrollUp ? 1 : -1;
  auto triangle = [&](CPoint at, COLORREF clr) {
    CTKPDrawHelpers::Triangle(pDC, CPoint(at.x - 5, at.y + sign), CPoint(at.x - 1, at.y - 3 * sign),
                              CPoint(at.x + 3, at.y + sign), clr);
  };
  if (pButton->bEnabled) {
    triangle(CPoint(c.x + 1, c.y), RGB(0, 0, 0));
  } else {
    triangle(CPoint(c.x + 2, c.y + 1), Sys(COLOR_BTNHIGHLIGHT));
    triangle(CPoint(c.x + 1, c.y), Sys(COLOR_BTNSHADOW));
  }
}

// ---- items ----

CRect CTKPTaskPanelPaintManager::DrawGroupItem(CDC* pDC, CTKPTaskPanelGroupItem* pItem, CRect rc, BOOL bDraw) {
  CTKPTaskPanelGroup* pGroup = pItem->GetItemGroup();
  if (pGroup == nullptr) return rc;
  CTKPFontDC font(pDC, GetItemFont(pItem));
  const int layout = pGroup->GetItemLayout();
  const CSize icon = pGroup->GetIconSize();
  const bool hasIcon = pItem->GetType() != taskpanel::kTypeControl && pItem->GetImage(icon.cx) != nullptr;
  const CRect padding = GetItemIconPadding(pItem);
  CTKPTaskPanel* pPanel = pItem->GetTaskPanel();
  const bool focus = pItem->IsItemFocused() && pPanel && pPanel->IsDrawFocusRect();

  if (layout == taskpanel::kLayoutImage) {
    if (!bDraw) {
      const CSize size(icon.cx + padding.left + padding.right, icon.cy + padding.top + padding.bottom);
      return CRect(CPoint(rc.left + (rc.Width() - size.cx) / 2, rc.top), size);
    }
    // Drawing is given the item's grid cell: the frame fills it and the icon sits inside its margins.
    DrawGroupItemFrame(pDC, pItem, rc);
    const CPoint pt = rc.TopLeft() + CPoint(m_rcImageMargins.left, m_rcImageMargins.top) + GetItemIconOffset(pItem);
    if (hasIcon) DrawItemImage(pDC, pItem, pt, icon);
    if (focus) DrawFocusRect(pDC, rc);
    return rc;
  }

  if (layout == taskpanel::kLayoutImageAboveCaption) {
    const UINT nFormat = (m_nItemTextFormat | DT_CENTER) & ~DT_VCENTER;
    const int iconHeight = hasIcon ? icon.cy + 3 : 0;
    CRect rcText(rc.left, rc.top + iconHeight, rc.right, rc.bottom);
    const CRect calc = MeasureText(pDC, pItem->GetCaption(), rcText, nFormat);
    if (!bDraw) {
      int width = std::max(calc.Width(), hasIcon ? static_cast<int>(icon.cx) + 4 : 0);
      if (pItem->GetType() == taskpanel::kTypeControl) width = rc.Width();
      width = std::min(width, rc.Width());
      const int left = rc.left + (rc.Width() - width) / 2;
      pItem->SetTextRect(calc, nFormat);
      return CRect(left, rc.top, left + width, rc.top + calc.Height() + iconHeight);
    }
    const CPoint ptIcon(rc.left + (rc.Width() - icon.cx) / 2, rc.top);
    if (hasIcon) {
      DrawGroupItemFrame(pDC, pItem, CRect(ptIcon.x - 2, ptIcon.y - 2, ptIcon.x + icon.cx + 2, ptIcon.y + icon.cy + 2));
      DrawItemImage(pDC, pItem, ptIcon + GetItemIconOffset(pItem), icon);
    }
    DrawItemCaption(pDC, pItem, CRect(rc.left, rc.top + iconHeight, rc.right, rc.bottom), nFormat);
    if (focus) DrawFocusRect(pDC, rc);
    return rc;
  }

  // The icon at the left, the text beside it.
  const UINT nFormat = m_nItemTextFormat & ~(DT_CENTER | DT_VCENTER);
  CRect rcText = rc;
  if (hasIcon) rcText.left += padding.left + icon.cx + padding.right + kTextAfterIcon;
  const CRect calc = MeasureText(pDC, pItem->GetCaption(), rcText, nFormat);
  const int iconHeight = hasIcon ? icon.cy + padding.top + padding.bottom : 0;
  if (!bDraw) {
    pItem->SetTextRect(calc, nFormat);
    return CRect(rc.left, rc.top, std::min(rc.right, calc.right), rc.top + std::max(calc.Height(), iconHeight));
  }
  DrawGroupItemFrame(pDC, pItem, rc);
  if (hasIcon) {
    const CPoint pt(rc.left + padding.left, rc.top + padding.top + std::max(0, (rc.Height() - iconHeight) / 2));
    DrawItemImage(pDC, pItem, pt + GetItemIconOffset(pItem), icon);
  }
  // A single line stands level with the middle of its icon.
  rcText.top = rc.top + std::max(0, (rc.Height() - calc.Height()) / 2);
  rcText.bottom = rc.bottom;
  DrawItemCaption(pDC, pItem, rcText, nFormat);
  if (focus) DrawFocusRect(pDC, rc);
  return rc;
}

void CTKPTaskPanelPaintManager::DrawGroupItemFrame(CDC* pDC, CTKPTaskPanelGroupItem* pItem, CRect rc) {
  const BOOL bHot = pItem->IsItemHot(), bPressed = pItem->IsItemPressed(), bSelected = pItem->IsItemSelected();
  CTKPTaskPanel* pPanel = pItem->GetTaskPanel();
  // With text hot-tracking (the explorer look) only the underline shows the hot link.
  const bool frames = pPanel == nullptr || pPanel->GetHotTrackStyle() != CTKPTaskPanel::kHotTrackText;
  if (m_nColorMode != 0) {
    const COLORREF border = Color(m_grcButtonBorder.clrLight);
    // A pressed item the mouse has left is not lit at all: releasing there does nothing.
    const bool pressedOff = bPressed && !bHot;
    if (frames && bHot) {
      pDC->FillSolidRect(rc, Color(bPressed ? m_clrButtonPressed : m_clrButtonHot));
      pDC->Draw3dRect(rc, border, border);
    } else if (bSelected && !pressedOff) {
      pDC->FillSolidRect(rc, Color(m_clrButtonSelected));
      pDC->Draw3dRect(rc, border, border);
    }
    return;
  }
  if (bSelected) pDC->FillSolidRect(rc, Color(m_clrButtonHot));
  if (frames && (bHot || bPressed)) {
    const COLORREF dark = Color(m_grcButtonBorder.clrLight), light = Color(m_grcButtonBorder.clrDark);
    if (bPressed) {
      pDC->Draw3dRect(rc, dark, light);
    } else {
      pDC->Draw3dRect(rc, light, dark);
    }
  }
}

void CTKPTaskPanelPaintManager::DrawItemCaption(CDC* pDC, CTKPTaskPanelGroupItem* pItem, CRect rc, UINT nFormat) {
  CTKPTaskPanelGroupColors* pColors = GetGroupColors(pItem->GetItemGroup());
  COLORREF clr = Color(pColors->clrClientText);
  if (pItem->GetType() == taskpanel::kTypeLink) {
    clr = Color(pItem->IsItemHot() ? pColors->clrClientLinkHot : pColors->clrClientLink);
  }
  pDC->SetBkMode(TRANSPARENT);
  if (!pItem->GetEnabled()) {
    if (m_bEmbossedDisabledText) {
      CRect rcShadow = rc;
      rcShadow.OffsetRect(1, 1);
      pDC->SetTextColor(Sys(COLOR_BTNHIGHLIGHT));
      pDC->DrawText(pItem->GetCaption(), rcShadow, nFormat);
      clr = Sys(COLOR_BTNSHADOW);
    } else {
      clr = Sys(COLOR_GRAYTEXT);
    }
  }
  pDC->SetTextColor(clr);
  pDC->DrawText(pItem->GetCaption(), rc, nFormat);
}

void CTKPTaskPanelPaintManager::DrawItemImage(CDC* pDC, CTKPTaskPanelGroupItem* pItem, CPoint pt, CSize szIcon) {
  CTKPImageManagerIcon* pIcon = pItem->GetImage(szIcon.cx);
  if (pIcon == nullptr) return;
  CTKPImageManagerIconHandle& handle =
      !pItem->GetEnabled() ? pIcon->GetDisabledIcon() : pItem->IsItemHot() ? pIcon->GetHotIcon() : pIcon->GetIcon();
  pIcon->Draw(pDC, pt, handle, szIcon);
}

void CTKPTaskPanelPaintManager::DrawFocusRect(CDC* pDC, CRect rc) {
  pDC->SetTextColor(RGB(0, 0, 0));
  pDC->SetBkColor(RGB(255, 255, 255));
  pDC->DrawFocusRect(rc);
}

void CTKPTaskPanelPaintManager::DrawDragArrow(CDC* pDC, CRect rc, BOOL bAfter) {
  const int y = bAfter ? rc.bottom : rc.top;
  if (m_bInvertDragMarker) {
    pDC->PatBlt(rc.left, y - 1, rc.Width(), 2, DSTINVERT);
    return;
  }
  // A line with a small wedge at each end pointing inwards.
  const COLORREF clr = RGB(0, 0, 0);
  pDC->FillSolidRect(rc.left, y - 1, rc.Width(), 2, clr);
  for (int i = 0; i < 4; ++i) {
    pDC->FillSolidRect(rc.left + i, y - 4 + i, 1, 8 - 2 * i, clr);
    pDC->FillSolidRect(rc.right - 1 - i, y - 4 + i, 1, 8 - 2 * i, clr);
  }
}

// ---- the visual style's expand pictures ----

void CTKPTaskPanelPaintManager::LoadExplorerBitmaps() {
  m_bExplorerBitmaps = FALSE;
  const int scheme = TKPColorManager()->GetCurrentSystemTheme();
  if (scheme != 0) {
    WCHAR path[MAX_PATH] = {};
    std::wstring folder;
    if (SUCCEEDED(CTKPVisualStyleTheme::GetCurrentThemeName(path, MAX_PATH, nullptr, 0, nullptr, 0))) {
      std::wstring name(path);
      std::wstring lower(name);
      for (auto& ch : lower) ch = static_cast<wchar_t>(::towlower(ch));
      if (lower.find(L"luna.msstyles") != std::wstring::npos) folder = name.substr(0, name.find_last_of(L'\\') + 1);
    }
    if (folder.empty()) {
      WCHAR windows[MAX_PATH] = {};
      const UINT n = ::GetWindowsDirectoryW(windows, MAX_PATH);
      if (n > 0 && n < MAX_PATH) folder = std::wstring(windows) + L"\\Resources\\Themes\\Luna\\";
    }
    const wchar_t* colour = scheme == 2 ? L"Homestead" : scheme == 3 ? L"Metallic" : L"NormalColor";
    const std::wstring library = folder + L"shell\\" + colour + L"\\shellstyle.dll";
    if (HMODULE hLib = folder.empty() ? nullptr : ::LoadLibraryExW(library.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE)) {
      FreeExplorerPictures();
      m_bExplorerBitmaps = TRUE;
      for (int i = 0; i < 8; ++i) {
        m_hExplorerBitmaps[i] = static_cast<HBITMAP>(
            ::LoadImageW(hLib, MAKEINTRESOURCEW(100 + i), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
        DIBSECTION ds{};
        if (m_hExplorerBitmaps[i] == nullptr || !::GetObjectW(m_hExplorerBitmaps[i], sizeof ds, &ds)) {
          m_bExplorerBitmaps = FALSE;
          continue;
        }
        if (m_bExplorerBitmaps && ds.dsBm.bmBitsPixel == 32 && ds.dsBm.bmBits) {
          taskpanel::PremultiplyAlpha(static_cast<std::uint8_t*>(ds.dsBm.bmBits),
                                      static_cast<size_t>(ds.dsBm.bmWidth) * std::abs(ds.dsBm.bmHeight));
        }
      }
      ::FreeLibrary(hLib);
    }
  }
  if (!m_bExplorerBitmaps) {
    FreeExplorerPictures();
    m_hExpandIconSpecial = MakeExpandIcon(kExpandBitmapSpecial, Color(m_groupSpecial.clrHeadTextHot));
    m_hExpandIcon = MakeExpandIcon(kExpandBitmap, Color(m_groupNormal.clrHeadTextHot));
  }
}

HICON CTKPTaskPanelPaintManager::MakeExpandIcon(UINT nIDBitmap, COLORREF clr) {
  CBitmap bitmap;
  if (!TKPResourceManager()->LoadBitmap(&bitmap, nIDBitmap)) return nullptr;
  BITMAP bm{};
  if (!::GetObjectW(static_cast<HBITMAP>(bitmap.GetSafeHandle()), sizeof bm, &bm) || bm.bmWidth <= 0 ||
      bm.bmHeight <= 0 || bm.bmWidth > kMaxExpandPicture || bm.bmHeight > kMaxExpandPicture) {
    return nullptr;
  }
  const int cx = bm.bmWidth, cy = bm.bmHeight;
  BITMAPINFO bi{};
  bi.bmiHeader.biSize = sizeof bi.bmiHeader;
  bi.bmiHeader.biWidth = cx;
  bi.bmiHeader.biHeight = -cy;
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 32;
  bi.bmiHeader.biCompression = BI_RGB;
  std::vector<DWORD> pixels(static_cast<size_t>(cx) * cy);
  HDC hDC = ::GetDC(nullptr);
  const int rows = ::GetDIBits(hDC, static_cast<HBITMAP>(bitmap.GetSafeHandle()), 0, cy, pixels.data(), &bi, DIB_RGB_COLORS);
  HICON hIcon = nullptr;
  if (rows == cy) {
    // DIB pixels are 0x00RRGGBB; the arithmetic works on 0x00BBGGRR.
    auto swap = [](DWORD p) { return static_cast<DWORD>(((p & 0xFF) << 16) | (p & 0xFF00) | ((p >> 16) & 0xFF)); };
    const DWORD background = swap(pixels[0]);
    for (DWORD& p : pixels) p = swap(taskpanel::RecolorExpandPixel(swap(p), background, clr));
    HBITMAP hRecoloured = ::CreateCompatibleBitmap(hDC, cx, cy);
    if (hRecoloured && ::SetDIBits(hDC, hRecoloured, 0, cy, pixels.data(), &bi, DIB_RGB_COLORS) == cy) {
      HIMAGELIST hList = ImageList_Create(cx, cy, ILC_COLOR24 | ILC_MASK, 1, 0);
      if (hList) {
        if (ImageList_AddMasked(hList, hRecoloured, taskpanel::kExpandMask) >= 0) {
          hIcon = ImageList_GetIcon(hList, 0, ILD_NORMAL);
        }
        ImageList_Destroy(hList);
      }
    }
    if (hRecoloured) ::DeleteObject(hRecoloured);
  }
  ::ReleaseDC(nullptr, hDC);
  return hIcon;
}
