#include "toolkit/tabmanager/tkp_tab_paint_manager.h"

#include <algorithm>
#include <string_view>

#include "platform/classlib/win/cdc.h"
#include "toolkit/common/color_manager.h"
#include "toolkit/common/draw_helpers.h"
#include "toolkit/common/text_mnemonics.h"
#include "toolkit/tabmanager/tab_ellipsis.h"
#include "toolkit/tabmanager/tab_layout.h"
#include "toolkit/tabmanager/tkp_tab_appearance.h"
#include "toolkit/tabmanager/tkp_tab_color_set.h"
#include "toolkit/tabmanager/tkp_tab_manager.h"

namespace {

static_assert(sizeof(wchar_t) == sizeof(char16_t), "UTF-16 text");

std::u16string_view View(const CString& text) {
  return std::u16string_view(reinterpret_cast<const char16_t*>(static_cast<LPCTSTR>(text)),
                             static_cast<size_t>(text.GetLength()));
}

CString FromView(const std::u16string& text) { return CString::FromUtf16(text); }

// Text widths in the DC's current font.
class DCTextWidth : public tktab::TextWidthMeasurer {
 public:
  explicit DCTextWidth(CDC* pDC) : m_pDC(pDC) {}
  int Width(std::u16string_view text) override {
    SIZE size = {0, 0};
    ::GetTextExtentPoint32W(*m_pDC, reinterpret_cast<LPCWSTR>(text.data()), static_cast<int>(text.size()), &size);
    return size.cx;
  }

 private:
  CDC* m_pDC;
};

// The tabs of a tab manager measured by its paint manager's appearance.
class ItemMeasurer : public tktab::TabMeasurer {
 public:
  ItemMeasurer(CTKPTabManager* pTabManager, CTKPTabAppearance* pAppearance, CDC* pDC)
      : m_pTabManager(pTabManager), m_pAppearance(pAppearance), m_pDC(pDC) {}
  int Count() const override { return m_pTabManager->GetItemCount(); }
  bool IsVisible(int index) const override { return m_pTabManager->GetItem(index)->IsVisible() != FALSE; }
  int Measure(int index) override { return m_pAppearance->GetItemLength(m_pDC, m_pTabManager->GetItem(index)); }

 private:
  CTKPTabManager* m_pTabManager;
  CTKPTabAppearance* m_pAppearance;
  CDC* m_pDC;
};

// The caption shortened at its end, with "...", to fit `length` pixels.
CString EndEllipsis(CDC* pDC, const CString& text, int length) {
  DCTextWidth measure(pDC);
  return FromView(tktab::EndEllipsis(View(text), length, measure));
}

}  // namespace

CTKPTabPaintManager::CTKPTabPaintManager() {
  SetAppearance(0);
  RefreshMetrics();
}

CTKPTabPaintManager::~CTKPTabPaintManager() {
  for (CTKPTabManager* pTabManager : m_arrObservers) {
    auto& observed = pTabManager->m_arrObserved;
    observed.erase(std::remove(observed.begin(), observed.end(), this), observed.end());
  }
  delete m_pColorSet;
  delete m_pAppearance;
}

// ---- options

CTKPTabAppearance* CTKPTabPaintManager::SetAppearance(int nAppearance) {
  AppearanceId = (nAppearance >= 0 && nAppearance <= 9) ? nAppearance : 0;
  return SetAppearanceObject(TKPCreateTabAppearance(AppearanceId));
}

CTKPTabAppearance* CTKPTabPaintManager::SetAppearanceObject(CTKPTabAppearance* pAppearance) {
  if (pAppearance) {
    delete m_pAppearance;
    m_pAppearance = pAppearance;
    pAppearance->SetPaintManager(this);
    pAppearance->RefreshMetrics();
    SetColor(pAppearance->GetDefaultColorSet());
  }
  OnPropertyChanged();
  return m_pAppearance;
}

CTKPTabColorSet* CTKPTabPaintManager::SetColor(int nColorSet) {
  ColorSetId = nColorSet;
  return SetColorObject(TKPCreateTabColorSet(nColorSet));
}

CTKPTabColorSet* CTKPTabPaintManager::SetColorObject(CTKPTabColorSet* pColorSet) {
  if (pColorSet) {
    delete m_pColorSet;
    m_pColorSet = pColorSet;
    pColorSet->SetPaintManager(this);
    pColorSet->RefreshMetrics();
  }
  OnPropertyChanged();
  return m_pColorSet;
}

void CTKPTabPaintManager::SetPosition(int nPosition) {
  Position = nPosition;
  OnPropertyChanged();
}

void CTKPTabPaintManager::SetLayout(int nLayout) {
  Layout = nLayout;
  OnPropertyChanged();
}

BOOL CTKPTabPaintManager::IsLunaColorsDisabled() const {
  return DisableLunaColors || TKPColorManager()->IsLunaColorsDisabled();
}

void CTKPTabPaintManager::AddObserver(CTKPTabManager* pTabManager) {
  if (!pTabManager || std::find(m_arrObservers.begin(), m_arrObservers.end(), pTabManager) != m_arrObservers.end()) {
    return;
  }
  m_arrObservers.push_back(pTabManager);
  pTabManager->m_arrObserved.push_back(this);
}

void CTKPTabPaintManager::RemoveObserver(CTKPTabManager* pTabManager) {
  m_arrObservers.erase(std::remove(m_arrObservers.begin(), m_arrObservers.end(), pTabManager), m_arrObservers.end());
  auto& observed = pTabManager->m_arrObserved;
  observed.erase(std::remove(observed.begin(), observed.end(), this), observed.end());
}

void CTKPTabPaintManager::OnPropertyChanged() {
  // A tab manager may leave the list while it re-lays out.
  const std::vector<CTKPTabManager*> observers = m_arrObservers;
  for (CTKPTabManager* pTabManager : observers) {
    if (std::find(m_arrObservers.begin(), m_arrObservers.end(), pTabManager) != m_arrObservers.end()) {
      pTabManager->OnMetricsChanged();
    }
  }
}

// ---- fonts

void CTKPTabPaintManager::SetFontIndirect(const LOGFONT* pLogFont, BOOL bUseSystemFont) {
  UseSystemFont = bUseSystemFont;
  if (!pLogFont) return;
  for (CFont* pFont : {&m_fntNormal, &m_fntBold, &m_fntVertical, &m_fntVerticalBold}) pFont->DeleteObject();
  LOGFONT lf = *pLogFont;
  lf.lfWeight = BoldNormal ? FW_BOLD : FW_NORMAL;
  m_fntNormal.CreateFontIndirect(&lf);
  lf.lfWeight = FW_BOLD;
  m_fntBold.CreateFontIndirect(&lf);
  const CString face = CTKPDrawHelpers::GetDefaultFontName(TRUE);
  ::lstrcpynW(lf.lfFaceName, face, LF_FACESIZE);
  lf.lfOrientation = 900;
  lf.lfEscapement = 2700;
  if (lf.lfHeight >= -10 && lf.lfHeight <= -1) lf.lfHeight = -11;
  lf.lfWeight = BoldNormal ? FW_BOLD : FW_NORMAL;
  m_fntVertical.CreateFontIndirect(&lf);
  lf.lfWeight = FW_BOLD;
  m_fntVerticalBold.CreateFontIndirect(&lf);
}

void CTKPTabPaintManager::RefreshMetrics() {
  RefreshToolkitColors();
  if (UseSystemFont) {
    LOGFONT lf = {};
    if (::SystemParametersInfoW(SPI_GETICONTITLELOGFONT, sizeof lf, &lf, 0)) SetFontIndirect(&lf, TRUE);
  }
  if (m_pColorSet) m_pColorSet->RefreshMetrics();
  if (m_pAppearance) m_pAppearance->RefreshMetrics();
}

CFont* CTKPTabPaintManager::GetItemFont(const CTKPTabManagerItem* pItem, BOOL bVertical) {
  CTKPTabManager* pTabManager = pItem->GetTabManager();
  const BOOL bBold = BoldSelected && pItem->IsSelected() && pTabManager && pTabManager->IsActive();
  if (bVertical) return bBold ? &m_fntVerticalBold : &m_fntVertical;
  return bBold ? &m_fntBold : &m_fntNormal;
}

BOOL CTKPTabPaintManager::IsVerticalText(const CTKPTabManager* pTabManager) const {
  const bool vertical = !tktab::IsHorizontal(pTabManager->GetPosition());
  return (vertical != (pTabManager->GetLayout() == tktab::kRotated)) ? TRUE : FALSE;
}

// ---- layout

void CTKPTabPaintManager::AdjustClientRect(CTKPTabManager* pTabManager, CRect& rcClient) {
  if (pTabManager->IsClientFrameShown()) tktab::DeflateRectByPosition(rcClient, 2, 1, 2, 2, Position);
  if (pTabManager->GetItemCount() > 0) m_pAppearance->AdjustClientRect(pTabManager, rcClient);
}

void CTKPTabPaintManager::RepositionTabControl(CTKPTabManager* pTabManager, CDC* pDC, CRect rcClient) {
  pTabManager->m_rcHeader.SetRectEmpty();
  pTabManager->m_rcControl = pTabManager->m_rcClient = rcClient;
  pTabManager->m_rows.assign(1, tktab::RowRange{0, pTabManager->GetItemCount() - 1});
  for (CTKPTabManagerItem* pItem : pTabManager->m_arrItems) pItem->m_nRow = 0;
  m_pAppearance->RepositionTabControl(pTabManager, pDC, rcClient);
  AdjustClientRect(pTabManager, pTabManager->m_rcClient);
}

void CTKPTabPaintManager::LayoutStrip(CTKPTabManager* pTabManager, CDC* pDC, CRect rc) {
  if (pTabManager->IsClientFrameShown()) tktab::DeflateRectByPosition(rc, 2, 1, 2, 2, Position);
  tktab::DeflateRectByPosition(rc, ClientMargin, Position);

  tktab::TabStripParams params;
  params.position = Position;
  params.layout = Layout;
  params.rect = rc;
  params.headerMargin = m_pAppearance->GetHeaderMargin();
  params.buttonHeight = m_pAppearance->GetButtonHeight(pTabManager);
  params.rowSpacing = m_pAppearance->GetRowSpacing();
  params.fillRows = FillRows != FALSE;
  params.keepRowOrder = KeepRowOrder != FALSE;
  params.selected = pTabManager->m_pSelected ? pTabManager->m_pSelected->GetIndex() : -1;

  tktab::TabStripState state;
  state.scrollOffset = pTabManager->m_nScrollOffset;
  for (size_t i = 0; i < state.buttons.size(); ++i) {
    CTKPTabManagerNavigateButton* pButton = pTabManager->m_arrNavigateButtons[i];
    state.buttons[i] = tktab::MakeButton(pButton->m_nId, pButton->m_nShowMode);
    state.buttons[i].wanted = pTabManager->IsNavigateButtonVisible(pButton) != FALSE;
  }
  ItemMeasurer measurer(pTabManager, m_pAppearance, pDC);
  tktab::LayoutTabStrip(params, measurer, state);

  pTabManager->m_nScrollOffset = state.scrollOffset;
  pTabManager->m_rcHeader = state.header;
  if (!state.rows.empty()) pTabManager->m_rows = state.rows;
  for (size_t i = 0; i < state.slots.size() && i < pTabManager->m_arrItems.size(); ++i) {
    CTKPTabManagerItem* pItem = pTabManager->m_arrItems[i];
    pItem->m_nLength = state.slots[i].length;
    pItem->m_nFullLength = state.slots[i].fullLength;
    pItem->m_nRow = state.slots[i].row;
    pItem->m_rcItem = state.slots[i].rect;
  }
  for (size_t i = 0; i < state.buttons.size(); ++i) {
    CTKPTabManagerNavigateButton* pButton = pTabManager->m_arrNavigateButtons[i];
    pButton->m_rcButton = state.buttons[i].rect;
    pButton->m_bEnabled = state.buttons[i].enabled;
  }
}

void CTKPTabPaintManager::EnsureVisible(CTKPTabManager* pTabManager, CTKPTabManagerItem* pItem) {
  const int offset = tktab::ScrollToShow(pTabManager->m_rcHeader, pItem->m_rcItem, m_pAppearance->GetHeaderMargin().left,
                                         Position, pTabManager->m_nScrollOffset);
  pTabManager->SetScrollOffset(offset);
}

// ---- measuring and drawing one tab

int CTKPTabPaintManager::MeasureCaption(CDC* pDC, const CString& strCaption, CFont* pFont) {
  HGDIOBJ hOld = ::SelectObject(*pDC, pFont->GetSafeHandle());
  CRect rc(0, 0, 0, 0);
  pDC->DrawText(strCaption, rc, DT_CALCRECT | DT_NOCLIP | DT_SINGLELINE | (NoPrefix ? DT_NOPREFIX : 0));
  ::SelectObject(*pDC, hOld);
  return rc.Width();
}

int CTKPTabPaintManager::IconExtent(CDC* pDC, CTKPTabManagerItem* pItem, BOOL bVertical) {
  if (!ShowIcons) return 0;
  CSize size = ImageSize;
  if (!pItem->GetTabManager()->DrawIcon(pDC, CPoint(0, 0), pItem, FALSE, size)) return 0;
  return bVertical ? ImageSize.cy : ImageSize.cx;
}

int CTKPTabPaintManager::DrawSingleButton(CDC* pDC, CTKPTabManagerItem* pItem, CRect rc, BOOL bDraw) {
  CTKPTabManager* pTabManager = pItem->GetTabManager();
  const BOOL bVertical = IsVerticalText(pTabManager);
  if (bDraw) {
    DrawItemContent(pDC, pItem, rc, bVertical);
    return 0;
  }
  // Measured in the font the caption is drawn in: the turned font has a face and a least height of its own.
  CFont* pFont = GetItemFont(pItem, bVertical);
  int length = 0;
  if (Layout == tktab::kFixedSize) {
    CSize button;
    pTabManager->GetItemMetrics(&button, nullptr, nullptr);
    length = button.cx;
  } else if (Layout == tktab::kIconTabs && !pItem->IsSelected()) {
    length = (bVertical ? ImageSize.cy : ImageSize.cx) + 8;
  } else if (Layout == tktab::kIconTabs) {
    int widest = 0;
    for (int i = 0; i < pTabManager->GetItemCount(); ++i) {
      widest = std::max(widest, MeasureCaption(pDC, pTabManager->GetItem(i)->GetCaption(), pFont));
    }
    length = widest + IconExtent(pDC, pItem, bVertical) + 12;
  } else {
    length = MeasureCaption(pDC, pItem->GetCaption(), pFont) + IconExtent(pDC, pItem, bVertical) + 12;
  }
  length += ButtonMargin.left + ButtonMargin.right;
  CSize minimum, maximum;
  pTabManager->GetItemMetrics(nullptr, &minimum, &maximum);
  if (minimum.cx > 0 && minimum.cx > length) length = minimum.cx;
  if (maximum.cx > 0 && maximum.cx < length) length = maximum.cx;
  return length;
}

void CTKPTabPaintManager::DrawItemContent(CDC* pDC, CTKPTabManagerItem* pItem, CRect rc, BOOL bVertical) {
  CTKPTabManager* pTabManager = pItem->GetTabManager();
  m_pColorSet->SetTextColor(pDC, pItem);
  HGDIOBJ hOldFont = ::SelectObject(*pDC, GetItemFont(pItem, bVertical)->GetSafeHandle());
  const int nOldMode = pDC->SetBkMode(TRANSPARENT);
  const BOOL bShowCaption = Layout != tktab::kIconTabs || pItem->IsSelected();
  const CRect rcTab = rc;

  // A stretched tab of a filled row keeps its content centred.
  const bool horizontalStrip = tktab::IsHorizontal(Position);
  if (pItem->GetLength() > pItem->GetFullLength() && Layout != tktab::kRotated) {
    const int d = (pItem->GetLength() - pItem->GetFullLength()) / 2;
    if (horizontalStrip) {
      rc.DeflateRect(d, 0, d, 0);
    } else {
      rc.DeflateRect(0, d, 0, d);
    }
  }
  tktab::DeflateRectByPosition(rc, 0, ButtonMargin.top, 0, ButtonMargin.bottom, Position);
  CSize szIcon = ImageSize;
  const BOOL bIcon = ShowIcons && pTabManager->DrawIcon(pDC, CPoint(0, 0), pItem, FALSE, szIcon);
  const CString caption = pItem->GetCaption();
  if (!bVertical) {
    rc.left += 6 + ButtonMargin.left;
    if (bIcon) {
      if (szIcon.cx < rc.Width()) {
        pTabManager->DrawIcon(pDC, CPoint(rc.left - 1, rc.top + (rc.Height() - szIcon.cy) / 2), pItem, TRUE, szIcon);
      }
      rc.left += szIcon.cx + 2;
    }
    if (bShowCaption && !rc.IsRectEmpty()) {
      rc.right -= 2 + ButtonMargin.right;
      const UINT prefix = NoPrefix ? DT_NOPREFIX : 0;
      if (MiddleEllipsis) {
        DrawTextWithEllipsis(pDC, caption, rc, DT_VCENTER | DT_SINGLELINE | prefix);
      } else {
        pDC->DrawText(caption, rc, DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS | prefix);
      }
    }
  } else {
    rc.top += 6 + ButtonMargin.left;
    if (bIcon) {
      if (szIcon.cy < rc.Height()) {
        pTabManager->DrawIcon(pDC, CPoint(rc.left + (rc.Width() - szIcon.cx) / 2, rc.top - 1), pItem, TRUE, szIcon);
      }
      rc.top += szIcon.cy + 2;
    }
    rc.bottom -= 2 + ButtonMargin.right;
    if (bShowCaption && rc.Height() >= 8) DrawVerticalCaption(pDC, NoPrefix ? caption : StripMnemonics(caption), rc);
  }
  if (pItem->IsSelected() && pTabManager->HasFocus()) DrawFocusRect(pDC, pItem, rcTab);
  pDC->SetBkMode(nOldMode);
  ::SelectObject(*pDC, hOldFont);
}

void CTKPTabPaintManager::DrawVerticalCaption(CDC* pDC, const CString& caption, CRect rc) {
  CString text;
  if (MiddleEllipsis) {
    DCTextWidth measure(pDC);
    const tktab::EllipsisResult cut = tktab::MiddleEllipsis(View(caption), rc.Height(), measure);
    text = cut.kind == tktab::EllipsisKind::kMiddle ? FromView(cut.text) : EndEllipsis(pDC, caption, rc.Height());
  } else {
    text = EndEllipsis(pDC, caption, rc.Height());
  }
  TEXTMETRIC tm = {};
  pDC->GetTextMetrics(&tm);
  // The turned font writes downwards with the tops of its letters to the right of the start point.
  const int x = rc.left + (rc.Width() + tm.tmHeight) / 2;
  pDC->ExtTextOut(x, rc.top, ETO_CLIPPED, rc, text, nullptr);
}

void CTKPTabPaintManager::DrawFocusRect(CDC* pDC, CTKPTabManagerItem* /*pItem*/, CRect rc) {
  if (!ShowFocusRect) return;
  rc.DeflateRect(3, 3);
  pDC->SetTextColor(RGB(0, 0, 0));
  pDC->SetBkColor(RGB(255, 255, 255));
  pDC->DrawFocusRect(rc);
}

void CTKPTabPaintManager::DrawTextWithEllipsis(CDC* pDC, const CString& strText, CRect rc, UINT nFormat) {
  if (strText.Find(_T('\\')) >= 0) {
    CString path = strText;
    pDC->DrawText(path, rc, nFormat | DT_PATH_ELLIPSIS);
    return;
  }
  // Measured and cut without the mnemonic marks, then drawn as it is.
  const CString text = (nFormat & DT_NOPREFIX) ? strText : StripMnemonics(strText);
  DCTextWidth measure(pDC);
  const tktab::EllipsisResult cut = tktab::MiddleEllipsis(View(text), rc.Width(), measure);
  pDC->DrawText(cut.kind == tktab::EllipsisKind::kFits ? text : FromView(cut.text), rc, nFormat | DT_NOPREFIX);
}

// ---- drawing the strip

void CTKPTabPaintManager::DrawTabControl(CTKPTabManager* pTabManager, CDC* pDC, CRect rcControl) {
  m_pAppearance->DrawTabControl(pTabManager, pDC, rcControl);
}

void CTKPTabPaintManager::DrawStrip(CTKPTabManager* pTabManager, CDC* pDC, CRect rc) {
  if (pTabManager->IsClientFrameShown()) {
    pDC->Draw3dRect(rc, m_pColorSet->m_clrFrameBorder, m_pColorSet->m_clrFrameBorder);
    rc.DeflateRect(1, 1);
    pDC->Draw3dRect(rc, m_pColorSet->m_clrFrameFace, m_pColorSet->m_clrFrameFace);
    tktab::DeflateRectByPosition(rc, 1, 0, 1, 1, Position);
  }
  if (FillBackground) pDC->FillSolidRect(rc, m_pColorSet->m_clrFrameFace);
  tktab::DeflateRectByPosition(rc, ClientMargin, Position);
  pDC->SetBkMode(TRANSPARENT);
  CRect header = FillBackground ? m_pAppearance->FillTabControl(pTabManager, pDC, rc)
                                : m_pAppearance->GetHeaderRect(rc, pTabManager);
  for (CTKPTabManagerNavigateButton* pButton : pTabManager->m_arrNavigateButtons) {
    const CRect& rcButton = pButton->m_rcButton;
    if (rcButton.IsRectEmpty()) continue;
    if (tktab::IsHorizontal(Position)) {
      header.right = std::min(header.right, rcButton.left);
    } else {
      header.bottom = std::min(header.bottom, rcButton.top);
    }
  }
  const int nSaved = pDC->SaveDC();
  pDC->IntersectClipRect(header);
  m_pColorSet->FillHeader(pDC, header, pTabManager);
  for (int row = pTabManager->GetRowCount() - 1; row >= 0; --row) DrawRow(pTabManager, pDC, row);
  pDC->RestoreDC(nSaved);
  for (CTKPTabManagerNavigateButton* pButton : pTabManager->m_arrNavigateButtons) pButton->Draw(pDC);
}

void CTKPTabPaintManager::DrawRow(CTKPTabManager* pTabManager, CDC* pDC, int nRow) {
  const tktab::RowRange range = pTabManager->m_rows[static_cast<size_t>(nRow)];
  std::vector<CTKPTabManagerItem*> items;
  for (int i = std::max(0, range.first); i <= range.last && i < pTabManager->GetItemCount(); ++i) {
    CTKPTabManagerItem* pItem = pTabManager->GetItem(i);
    if (pItem->GetRow() != nRow) break;
    items.push_back(pItem);
  }
  CTKPTabManagerItem* pSelected = nullptr;
  auto draw = [&](CTKPTabManagerItem* pItem) {
    if (pItem->IsSelected()) {
      pSelected = pItem;
      return;
    }
    if (pItem->IsVisible() && !pItem->GetRect().IsRectEmpty() && pDC->RectVisible(pItem->GetRect())) {
      m_pAppearance->DrawSingleButton(pDC, pItem);
    }
  };
  if (m_pAppearance->IsDrawInOrder()) {
    size_t split = 0;
    while (split < items.size() && !items[split]->IsSelected()) ++split;
    for (size_t i = 0; i < split; ++i) draw(items[i]);
    for (size_t i = items.size(); i > split; --i) draw(items[i - 1]);
  } else {
    for (size_t i = items.size(); i > 0; --i) draw(items[i - 1]);
  }
  if (pSelected && pSelected->IsVisible() && !pSelected->GetRect().IsRectEmpty()) {
    m_pAppearance->DrawSingleButton(pDC, pSelected);
  }
}
