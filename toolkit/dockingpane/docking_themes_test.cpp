// The docking panes' themes under Wine: the class and tab strips each id builds, the docking test frame
// drawn in every theme (the gallery docking_themes.png) and a caption and tab pixel read back per theme.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <typeinfo>
#include <vector>

#include <windows.h>

#include "platform/classlib/win/classlib_win.h"
#include "platform/harness/driver.h"
#include "platform/harness/png_writer.h"
#include "toolkit/common/color_manager.h"
#include "toolkit/dockingpane/docking_test_frame.h"
#include "toolkit/dockingpane/tkp_docking_pane_themes.h"
#include "toolkit/tabmanager/tkp_tab_appearance.h"
#include "toolkit/tabmanager/tkp_tab_color_set.h"
#include "toolkit/tabmanager/tkp_tab_manager.h"
#include "toolkit/tabmanager/tkp_tab_paint_manager.h"

namespace {

using namespace docktest;

class DockingThemesTest : public DockingFrameTest {
 protected:
  CTKPDockingPaneManager& Manager() { return frame->manager; }
  CTKPDockingPanePaintManager* Paint() { return Manager().GetPaintManager(); }
  CWnd* Container(UINT id) {
    return dynamic_cast<CWnd*>(Manager().FindPane(id)->GetContainer());
  }
  // The pixel as the container window shows it, in its client coordinates.
  COLORREF PixelOf(UINT id, int x, int y) {
    CWnd* wnd = Container(id);
    wnd->RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    HDC dc = ::GetDC(wnd->GetSafeHwnd());
    const COLORREF clr = ::GetPixel(dc, x, y);
    ::ReleaseDC(wnd->GetSafeHwnd(), dc);
    return clr;
  }
  void ShowTheme(int id) {
    Manager().SetTheme(id);
    Relayout();
    // Folders is the active pane: its caption shows the active look.
    ::SetFocus(Manager().FindPane(kFolders)->GetChild());
    Manager().SendMessage(WM_IDLEUPDATECMDUI, TRUE);
    frame->RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN | RDW_FRAME);
    harness::PumpFor(50);
  }
};

TEST_F(DockingThemesTest, EachIdBuildsItsThemeAndTabStrips) {
  struct Expect {
    int id;
    int paneAppearance, panelAppearance;
    int paneColor;  // -1: a colour set of the theme's own
  };
  const Expect expects[] = {{1, 5, 6, 2}, {2, 2, 2, 4}, {3, 0, 0, 8}, {5, 8, 6, 1}, {6, 2, 2, -1},
                            {7, 2, 2, 4}, {9, 9, 9, -1}, {4, 0, 0, 1}, {12, 0, 0, 1}};
  for (const Expect& e : expects) {
    Manager().SetTheme(e.id);
    CTKPDockingPanePaintManager* pm = Paint();
    ASSERT_NE(pm, nullptr);
    EXPECT_EQ(pm->GetThemeID(), e.id);
    EXPECT_EQ(pm->GetTabPaintManager()->GetAppearance(), e.paneAppearance) << e.id;
    EXPECT_EQ(pm->GetPanelPaintManager()->GetAppearance(), e.panelAppearance) << e.id;
    auto* own = dynamic_cast<CTKPDockingPaneTabColorSet*>(pm->GetTabPaintManager()->GetColorSet());
    EXPECT_EQ(own != nullptr, e.paneColor == -1) << e.id;
    if (e.paneColor != -1) {
      EXPECT_EQ(pm->GetTabPaintManager()->GetColor(), e.paneColor) << e.id;
    }
  }
  Manager().SetTheme(7);
  EXPECT_NE(dynamic_cast<CTKPDockingPaneLargeCaptionTheme*>(Paint()), nullptr);
  const int large = Paint()->m_nTitleHeight;
  Manager().SetTheme(2);
  EXPECT_NE(dynamic_cast<CTKPDockingPaneGradientTheme*>(Paint()), nullptr);
  EXPECT_GT(large, Paint()->m_nTitleHeight);
  EXPECT_TRUE(Paint()->GetTabPaintManager()->HotTracking);
  Manager().SetTheme(8);
  EXPECT_NE(dynamic_cast<CTKPDockingPaneNativeTheme*>(Paint()), nullptr);
  Manager().SetTheme(-1);
  EXPECT_EQ(typeid(*Paint()), typeid(CTKPDockingPaneDefaultTheme));

  // The soft themes' strips: selected pane tabs filled, the soft-gradient panel tabs left unfilled.
  Manager().SetTheme(6);
  auto* pane6 = dynamic_cast<CTKPDockingPaneTabColorSet*>(Paint()->GetTabPaintManager()->GetColorSet());
  ASSERT_NE(pane6, nullptr);
  EXPECT_TRUE(pane6->m_bFillSelected);
  EXPECT_FALSE(pane6->m_bNoFill);
  EXPECT_EQ(Paint()->m_nSplitterStyle, 4);
  Manager().SetTheme(9);
  auto* panel9 = dynamic_cast<CTKPDockingPanePanelColorSet*>(Paint()->GetPanelPaintManager()->GetColorSet());
  ASSERT_NE(panel9, nullptr);
  EXPECT_TRUE(panel9->m_bNoFill);
  EXPECT_FALSE(panel9->m_bFillSelected);
  EXPECT_EQ(Manager().GetDockingGuideStyle(), 1);
}

// The soft-gradient theme's tabs are its own: appearance 2's rounded tabs with the header margins
// (2, 2, 4, 0), the pane tabs outlining only the selected tab and parting the others with a line. Its
// tab colour sets' header runs from the face to a blend of 20.5 % face and window.
// A group there before a theme changes hears of the new theme's tab options and has its frame laid out
// again (it stayed with the old theme's tab paint manager, and a changed option moved nothing).
TEST_F(DockingThemesTest, GroupsThereBeforeAThemeFollowTheNewThemesTabOptions) {
  ShowTheme(2);
  ShowTheme(5);
  frame->SendMessage(WM_IDLEUPDATECMDUI, TRUE);  // what was waiting is laid out
  harness::PumpMessages();
  const int before = frame->layouts;
  Paint()->GetTabPaintManager()->SetLayout(tktab::kFixedSize);
  frame->SendMessage(WM_IDLEUPDATECMDUI, TRUE);
  harness::PumpMessages();
  EXPECT_GT(frame->layouts, before);
}

TEST_F(DockingThemesTest, TheSoftGradientTabsHaveTheirOwnLookAndMargins) {
  TKPColorManager()->Table().SetForcedScheme(kTKPSchemeNone);
  TKPColorManager()->RefreshColors();
  ShowTheme(9);
  for (CTKPTabPaintManager* tabs : {Paint()->GetTabPaintManager(), Paint()->GetPanelPaintManager()}) {
    ASSERT_NE(tabs->GetAppearanceObject(), nullptr);
    EXPECT_EQ(tabs->GetAppearance(), 9);
    EXPECT_EQ(tabs->GetAppearanceObject()->GetHeaderMargin(), CRect(2, 2, 4, 0));
  }
  auto* tabs = dynamic_cast<CTKPTabManager*>(Manager().FindPane(kOutput)->GetContainer());
  ASSERT_NE(tabs, nullptr);
  const CRect first = tabs->GetItem(0)->GetRect();
  EXPECT_EQ(first.left - tabs->GetHeaderRect().left, 2);
  const CRect selected = tabs->GetSelectedItem()->GetRect();
  EXPECT_EQ(PixelOf(kOutput, selected.left + 3, (selected.top + selected.bottom) / 2), RGB(255, 255, 255));
  const COLORREF face = ::GetSysColor(COLOR_BTNFACE);
  for (CTKPTabPaintManager* strip : {Paint()->GetTabPaintManager(), Paint()->GetPanelPaintManager()}) {
    EXPECT_EQ(static_cast<COLORREF>(strip->GetColorSet()->m_grcHeader.clrLight), face);
    EXPECT_EQ(static_cast<COLORREF>(strip->GetColorSet()->m_grcHeader.clrDark),
              CTKPColorManager::BlendColors(face, ::GetSysColor(COLOR_WINDOW), 205));
  }
  // The event log selected: the output tab before it is parted from it by a line at its end.
  Manager().ShowPane(Manager().FindPane(kLog));
  Relayout();
  const CRect output = tabs->GetItem(0)->GetRect();
  ASSERT_NE(tabs->GetSelectedItem(), tabs->GetItem(0));
  const COLORREF border = static_cast<COLORREF>(Paint()->GetTabPaintManager()->GetColorSet()->m_clrFrameBorder);
  for (int y = output.top + 4; y < output.bottom - 4; ++y) {
    EXPECT_EQ(PixelOf(kOutput, output.right, y), border) << "the parting line, row " << y;
  }
  TKPColorManager()->Table().SetForcedScheme(kTKPSchemeAuto);
  TKPColorManager()->RefreshColors();
}

TEST_F(DockingThemesTest, GalleryOfEveryThemeWithItsCaptionAndTabColours) {
  constexpr int kW = 620, kH = 330;
  frame->SetWindowPos(nullptr, 0, 0, kW, kH, SWP_NOZORDER);
  std::vector<uint8_t> gallery(static_cast<size_t>(3 * kW) * 3 * kH * 4, 0xFF);
  const wchar_t* names[] = {L"", L"1 flat", L"2 gradient", L"3 explorer", L"4 default", L"5 lined", L"6 soft",
                            L"7 large caption", L"8 native", L"9 soft gradient"};
  int searchHeight[10] = {};
  for (int id = 1; id <= 9; ++id) {
    frame->SetWindowText((std::wstring(L"Docking theme ") + names[id]).c_str());
    ShowTheme(id);
    CTKPDockingPanePaintManager* pm = Paint();
    const std::string where = "theme " + std::to_string(id);
    // The caption of the active pane, right of its title and left of its buttons, near its top edge.
    CRect client;
    Container(kFolders)->GetClientRect(client);
    const COLORREF caption = PixelOf(kFolders, client.right - 60, 4);
    switch (id) {
      case 1: EXPECT_EQ(caption, ::GetSysColor(COLOR_ACTIVECAPTION)) << where; break;
      case 2:
      case 7: EXPECT_EQ(caption, pm->GetColor(36)) << where; break;
      case 4: EXPECT_EQ(caption, ::GetSysColor(COLOR_ACTIVECAPTION)) << where; break;
      case 5: EXPECT_EQ(caption, pm->GetColor(31)) << where; break;
      case 9: EXPECT_EQ(caption, ::GetSysColor(COLOR_ACTIVECAPTION)) << where; break;
      case 3:
      case 8:
        // Drawn by the visual style when one is on; else the grippered band in the splitter colour.
        if (!CTKPVisualStyleTheme::IsAppThemed()) {
          EXPECT_EQ(caption, static_cast<COLORREF>(pm->m_clrSplitter)) << where;
        }
        break;
      default: break;
    }
    // The selected tab of the bottom group takes its colour set's selected face.
    auto* tabs = dynamic_cast<CTKPTabManager*>(Manager().FindPane(kOutput)->GetContainer());
    ASSERT_NE(tabs, nullptr);
    ASSERT_NE(tabs->GetSelectedItem(), nullptr);
    const CRect tab = tabs->GetSelectedItem()->GetRect();
    const COLORREF face = PixelOf(kOutput, tab.left + 3, (tab.top + tab.bottom) / 2);
    if (id == 6 || id == 9) {
      EXPECT_EQ(face, RGB(255, 255, 255)) << where;
    }
    // The soft-gradient strip leaves the other tabs unfilled: they show the header, never an empty buffer.
    if (id == 9) {
      const CRect other = tabs->GetItem(1)->GetRect();
      EXPECT_NE(PixelOf(kOutput, other.left + 3, (other.top + other.bottom) / 2), RGB(0, 0, 0)) << where;
    }
    searchHeight[id] = Place(kSearch).Height();
    CRect window;
    frame->GetWindowRect(window);
    const std::vector<uint8_t> shot = harness::ScreenPixels(window.left, window.top, kW, kH);
    ASSERT_EQ(shot.size(), static_cast<size_t>(kW) * kH * 4);
    const int col = (id - 1) % 3, row = (id - 1) / 3;
    for (int y = 0; y < kH; ++y) {
      std::copy_n(shot.begin() + static_cast<size_t>(y) * kW * 4, kW * 4,
                  gallery.begin() + ((static_cast<size_t>(row) * kH + y) * 3 * kW + col * kW) * 4);
    }
  }
  EXPECT_TRUE(harness::WritePng(harness::ScreenshotPath("docking_themes"), 3 * kW, 3 * kH, gallery));
  // The stacked-bar tabs of the bottom group ask for no more room than the other strips: the Search pane
  // keeps its height in the lined theme.
  EXPECT_GT(searchHeight[5], searchHeight[1] * 3 / 4);
}

}  // namespace

namespace {

TEST_F(DockingThemesTest, APressedButtonUnderTheMouseLooksPressedInTheGradientTheme) {
  ShowTheme(2);
  auto* theme = dynamic_cast<CTKPDockingPaneGradientTheme*>(Paint());
  ASSERT_NE(theme, nullptr);
  auto* container = dynamic_cast<CTKPDockingPaneTabbedContainer*>(Manager().FindPane(kFolders)->GetContainer());
  ASSERT_NE(container, nullptr);
  CTKPDockingPaneCaptionButton* close = nullptr;
  for (CTKPDockingPaneCaptionButton* button : container->GetCaptionButtons()) {
    if (button->GetID() == 9901) close = button;
  }
  ASSERT_NE(close, nullptr);
  PixelOf(kFolders, 0, 0);  // lays the buttons out
  const CRect rc = close->GetRect();
  ASSERT_FALSE(rc.IsRectEmpty());
  close->m_bHot = TRUE;
  const COLORREF hot = PixelOf(kFolders, rc.left + 1, rc.top + 1);
  close->m_bPressed = TRUE;
  const COLORREF pressed = PixelOf(kFolders, rc.left + 1, rc.top + 1);
  const COLORREF edge = PixelOf(kFolders, rc.left, rc.top + 3);
  close->m_bHot = close->m_bPressed = FALSE;
  EXPECT_NE(hot, pressed);
  if (!theme->m_bLunaColors) {
    EXPECT_EQ(hot, theme->GetColor(31));
    EXPECT_EQ(pressed, theme->GetColor(33));
  }
  EXPECT_EQ(edge, theme->GetColor(32));  // framed in colour 32
}

}  // namespace
