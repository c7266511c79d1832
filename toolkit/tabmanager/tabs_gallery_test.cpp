// Every tab appearance in every colour set, each strip with a selected, a hot, a normal and a disabled
// tab: screenshots/tabs_gallery.png. The strips are laid out and drawn into a backing bitmap that the
// gallery window shows.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "platform/classlib/win/classlib_win.h"
#include "platform/harness/driver.h"
#include "toolkit/common/color_manager.h"
#include "toolkit/tabmanager/tab_strip_test_support.h"
#include "toolkit/tabmanager/tkp_tab_appearance.h"
#include "toolkit/tabmanager/tkp_tab_manager.h"
#include "toolkit/tabmanager/tkp_tab_paint_manager.h"

namespace {

// The stacked bars need room for the client area between their bars: their row is taller.
constexpr int kLabelW = 84, kCellW = 232, kCellH = 76, kBarsH = 106, kColW = 236, kGap = 8, kTop = 28;
constexpr int kWidth = kLabelW + 5 * kColW, kHeight = kTop + 9 * (kCellH + kGap) + kBarsH + kGap;

// A strip drawn straight into a DC, without a window of its own; with an icon, every tab shows it.
class CellStrip : public CTKPTabManager {
 public:
  explicit CellStrip(CTKPTabPaintManager* pPaintManager, HICON hIcon = nullptr)
      : m_pPaintManager(pPaintManager), m_hIcon(hIcon) {}
  void Reposition() override {}
  CTKPTabPaintManager* GetPaintManager() const override { return m_pPaintManager; }
  void RedrawControl() override {}
  BOOL DrawIcon(CDC* pDC, CPoint pt, CTKPTabManagerItem* pItem, BOOL bDraw, CSize& szIcon) override {
    if (!m_hIcon) return FALSE;
    if (bDraw && pItem) ::DrawIconEx(*pDC, pt.x, pt.y, m_hIcon, szIcon.cx, szIcon.cy, 0, nullptr, DI_NORMAL);
    return TRUE;
  }
  BOOL HasFocus() const override { return m_bFocus; }
  using CTKPTabManager::SetHotItem;
  BOOL m_bFocus = FALSE;

 private:
  CTKPTabPaintManager* m_pPaintManager;
  HICON m_hIcon;
};

class Gallery : public CWnd {
 public:
  Gallery(int cx, int cy) : m_canvas(cx, cy), m_cx(cx), m_cy(cy) {}
  tabtest::Canvas m_canvas;
  int m_cx, m_cy;

 protected:
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (message == WM_PAINT) {
      PAINTSTRUCT ps;
      HDC hDC = ::BeginPaint(m_hWnd, &ps);
      ::BitBlt(hDC, 0, 0, m_cx, m_cy, m_canvas.DC(), 0, 0, SRCCOPY);
      ::EndPaint(m_hWnd, &ps);
      return 0;
    }
    return CWnd::WindowProc(message, wParam, lParam);
  }
};

void Label(HDC hDC, const CRect& rc, LPCWSTR text, UINT format) {
  ::SetBkMode(hDC, TRANSPARENT);
  ::SetTextColor(hDC, RGB(0x14, 0x2A, 0x52));
  HGDIOBJ old = ::SelectObject(hDC, ::GetStockObject(DEFAULT_GUI_FONT));
  CRect r = rc;
  ::DrawTextW(hDC, text, -1, r, format | DT_SINGLELINE | DT_NOPREFIX);
  ::SelectObject(hDC, old);
}

// Lays out and draws one strip in the cell; checks that every tab stands whole inside it.
void DrawCell(HDC hDC, const CRect& cell, int appearance, int colorSet) {
  auto* pPaintManager = new CTKPTabPaintManager;
  pPaintManager->SetAppearance(appearance);
  pPaintManager->SetColor(colorSet);
  pPaintManager->HotTracking = TRUE;
  {
    CellStrip strip(pPaintManager);
    for (LPCTSTR caption : {_T("Disk"), _T("Files"), _T("Found"), _T("Old")}) strip.InsertItem(-1, caption);
    strip.GetItem(3)->SetEnabled(FALSE);
    strip.SetCurSel(1);
    strip.SetHotItem(strip.GetItem(0));
    CDC* pDC = CDC::FromHandle(hDC);
    pPaintManager->RepositionTabControl(&strip, pDC, cell);
    pPaintManager->DrawTabControl(&strip, pDC, cell);
    const std::string where = "appearance " + std::to_string(appearance) + ", colour set " + std::to_string(colorSet);
    for (int i = 0; i < strip.GetItemCount(); ++i) {
      const CRect rc = strip.GetItem(i)->GetRect();
      EXPECT_TRUE((rc & cell) == rc) << where << ", tab " << i;
      if (appearance != 8) {
        EXPECT_GE(strip.GetItem(i)->GetLength(), strip.GetItem(i)->GetFullLength()) << where;
      }
    }
    EXPECT_FALSE(strip.GetClientRect().IsRectEmpty()) << where;
    EXPECT_TRUE(strip.FindNavigateButton(1)->GetRect().IsRectEmpty()) << where;
    Label(hDC, strip.GetClientRect(), L"Files", DT_CENTER | DT_VCENTER);
  }
  pPaintManager->InternalRelease();
}

TEST(TabsGallery, EveryAppearanceInEveryColourSet) {
  // The luna palettes show as on a system with the blue visual style.
  TKPColorManager()->Table().SetForcedScheme(kTKPSchemeBlue);
  TKPColorManager()->RefreshColors();
  Gallery gallery(kWidth, kHeight);
  CRect frame(0, 0, kWidth, kHeight);
  ::AdjustWindowRectEx(frame, WS_OVERLAPPED | WS_CAPTION, FALSE, 0);
  ASSERT_TRUE(gallery.CreateEx(0, nullptr, _T("Tab appearances and colour sets"), WS_OVERLAPPED | WS_CAPTION | WS_VISIBLE,
                               0, 0, frame.Width(), frame.Height(), nullptr, nullptr));
  HDC canvas = gallery.m_canvas.DC();
  const int colorSets[5] = {1, 2, 4, 8, 16};
  const LPCWSTR setNames[5] = {L"1  Default", L"2  Flat", L"4  Luna (blue scheme)", L"8  Visual style", L"16  Light"};
  const LPCWSTR appearanceNames[10] = {L"0  Classic", L"1  Classic, hot", L"2  Framed",    L"3  Segments",
                                       L"4  Buttons", L"5  Flat",         L"6  Flat frame", L"7  Trapezoids",
                                       L"8  Bars",    L"9  Curves"};
  for (int c = 0; c < 5; ++c) {
    Label(canvas, CRect(kLabelW + c * kColW, 0, kLabelW + c * kColW + kCellW, kTop), setNames[c], DT_CENTER | DT_VCENTER);
  }
  int y = kTop;
  for (int a = 0; a < 10; ++a) {
    const int height = a == 8 ? kBarsH : kCellH;
    Label(canvas, CRect(6, y, kLabelW, y + height), appearanceNames[a], DT_LEFT | DT_VCENTER);
    for (int c = 0; c < 5; ++c) {
      DrawCell(canvas, CRect(kLabelW + c * kColW, y, kLabelW + c * kColW + kCellW, y + height), a, colorSets[c]);
    }
    y += height + kGap;
  }
  gallery.Invalidate();
  gallery.UpdateWindow();
  harness::PumpFor(100);
  EXPECT_FALSE(harness::CaptureWindow(gallery.m_hWnd, "tabs_gallery").empty());
  gallery.DestroyWindow();
  TKPColorManager()->Table().SetForcedScheme(kTKPSchemeAuto);
  TKPColorManager()->RefreshColors();
}

// One strip of the layouts gallery: its options, its tabs and what to check.
struct LayoutCase {
  LPCWSTR title;
  int appearance;
  int colorSet;
  int position;
  int layout;
  std::vector<LPCTSTR> captions;
  int selected;
  std::function<void(CTKPTabPaintManager*, CellStrip&)> setUp;
};

TEST(TabsGallery, PositionsAndLayouts) {
  constexpr int kW = 300, kH = 190, kCol = 312, kRow = 226, kHead = 22;
  constexpr int kGalleryW = 4 * kCol + 8, kGalleryH = 4 * kRow + 8;
  HICON hIcon = static_cast<HICON>(::LoadImageW(nullptr, MAKEINTRESOURCEW(32516), IMAGE_ICON, 16, 16, LR_SHARED));
  const std::vector<LPCTSTR> four = {_T("Partitions"), _T("Files"), _T("Deleted"), _T("Lost folders")};
  const std::vector<LPCTSTR> many = {_T("Partition 1"), _T("Partition 2"), _T("Partition 3"), _T("Partition 4"),
                                     _T("Deleted files"), _T("Lost folders"), _T("Carved"), _T("Snapshot")};
  const std::vector<LayoutCase> cases = {
      {L"Top, classic", 0, 1, 0, 0, four, 1, nullptr},
      {L"Left, framed, luna", 2, 4, 1, 0, four, 1, nullptr},
      {L"Bottom, classic, visual style", 0, 8, 2, 0, four, 2, nullptr},
      {L"Right, flat frame, light", 6, 16, 3, 0, four, 0, nullptr},
      {L"Compressed", 2, 2, 0, 1, many, 4, nullptr},
      {L"Multi-row, rows filled", 0, 1, 0, 4, many, 2, nullptr},
      {L"Rotated", 6, 2, 0, 5, four, 1, nullptr},
      {L"Icon tabs", 5, 2, 0, 3, four, 2, nullptr},
      {L"Scrolled, close button", 1, 4, 0, 0, many, 3,
       [](CTKPTabPaintManager*, CellStrip& strip) {
         strip.FindNavigateButton(2)->SetShowMode(1);
         strip.SetScrollOffset(-60);
       }},
      {L"Middle ellipsis, 90 px at most", 6, 1, 0, 0,
       {_T("C:\\Recovered\\Pictures\\Holiday"), _T("Quarterly report 2026.xlsx"), _T("Notes")}, 1,
       [](CTKPTabPaintManager* pm, CellStrip& strip) {
         pm->MiddleEllipsis = TRUE;
         strip.SetItemMetrics(CSize(70, 18), CSize(0, 0), CSize(90, 0));
       }},
      {L"Colour tabs, segments", 3, 4, 0, 0, four, 1,
       [](CTKPTabPaintManager* pm, CellStrip&) { pm->ColorTabs = TRUE; }},
      {L"Left, multi-row, icons", 6, 1, 1, 4, many, 5, nullptr},
      {L"Client frame and margins", 6, 4, 0, 0, four, 1,
       [](CTKPTabPaintManager* pm, CellStrip&) {
         pm->ShowClientFrame = TRUE;
         pm->ClientMargin = CRect(4, 4, 4, 4);
         pm->ButtonMargin = CRect(2, 1, 2, 1);
       }},
      {L"Border: the line along the strip", 0, 1, 2, 0, four, 1,
       [](CTKPTabPaintManager* pm, CellStrip&) { pm->ClientBorderStyle = 1; }},
      {L"Border: none", 5, 2, 0, 0, four, 1,
       [](CTKPTabPaintManager* pm, CellStrip&) { pm->ClientBorderStyle = 2; }},
      {L"Bold selected, focused, hot", 2, 1, 0, 0, four, 1,
       [](CTKPTabPaintManager* pm, CellStrip& strip) {
         pm->BoldSelected = TRUE;
         pm->HotTracking = TRUE;
         strip.m_bFocus = TRUE;
         strip.SetHotItem(strip.GetItem(2));
       }},
  };
  Gallery gallery(kGalleryW, kGalleryH);
  CRect frame(0, 0, kGalleryW, kGalleryH);
  ::AdjustWindowRectEx(frame, WS_OVERLAPPED | WS_CAPTION, FALSE, 0);
  ASSERT_TRUE(gallery.CreateEx(0, nullptr, _T("Tab positions and layouts"), WS_OVERLAPPED | WS_CAPTION | WS_VISIBLE, 0, 0,
                               frame.Width(), frame.Height(), nullptr, nullptr));
  for (size_t i = 0; i < cases.size(); ++i) {
    const LayoutCase& c = cases[i];
    const int x = 8 + static_cast<int>(i % 4) * kCol, y = static_cast<int>(i / 4) * kRow;
    Label(gallery.m_canvas.DC(), CRect(x, y, x + kW, y + kHead), c.title, DT_LEFT | DT_VCENTER);
    const CRect cell(x, y + kHead, x + kW, y + kHead + kH);
    auto* pPaintManager = new CTKPTabPaintManager;
    pPaintManager->SetAppearance(c.appearance);
    pPaintManager->SetColor(c.colorSet);
    pPaintManager->SetPosition(c.position);
    pPaintManager->SetLayout(c.layout);
    {
      const bool icons = c.layout == 3 || i == 11;
      CellStrip strip(pPaintManager, icons ? hIcon : nullptr);
      for (LPCTSTR caption : c.captions) strip.InsertItem(-1, caption)->SetTooltip(caption);
      strip.SetCurSel(c.selected);
      if (c.setUp) c.setUp(pPaintManager, strip);
      CDC* pDC = CDC::FromHandle(gallery.m_canvas.DC());
      pPaintManager->RepositionTabControl(&strip, pDC, cell);
      pPaintManager->DrawTabControl(&strip, pDC, cell);
      Label(gallery.m_canvas.DC(), strip.GetClientRect(), strip.GetSelectedItem()->GetCaption(), DT_CENTER | DT_VCENTER);
      for (int t = 0; t < strip.GetItemCount(); ++t) {
        const CRect rc = strip.GetItem(t)->GetRect();
        if (c.layout != 0) {
          EXPECT_TRUE((rc & cell) == rc) << i << " tab " << t;
        }
      }
      if (c.layout == 4) {
        EXPECT_GT(strip.GetRowCount(), 1) << i;
      }
      if (c.layout == 1) {
        EXPECT_LE(strip.GetItemsLength(), cell.Width()) << i;
      }
      if (i == 8) {
        EXPECT_FALSE(strip.FindNavigateButton(0)->GetRect().IsRectEmpty());
        EXPECT_FALSE(strip.FindNavigateButton(2)->GetRect().IsRectEmpty());
      }
    }
    pPaintManager->InternalRelease();
  }
  gallery.Invalidate();
  gallery.UpdateWindow();
  harness::PumpFor(100);
  EXPECT_FALSE(harness::CaptureWindow(gallery.m_hWnd, "tabs_layouts").empty());
  gallery.DestroyWindow();
}

}  // namespace
