// The task panel's looks in real windows: each number makes its own look (odd numbers the explorer
// one); the explorer look's colours by scheme and, without one, blended from the system's, its caption
// gradient starting where the scheme says; the galleries task_panel_themes.png (blue scheme) and
// task_panel_themes_classic.png (no scheme), every look side by side.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <typeinfo>
#include <vector>

#include "platform/classlib/win/classlib_win.h"
#include "platform/harness/driver.h"
#include "res/resource.h"
#include "toolkit/common/color_manager.h"
#include "toolkit/common/tkp_image_manager.h"
#include "toolkit/taskpanel/task_panel_checks.h"
#include "toolkit/taskpanel/tkp_task_panel.h"
#include "toolkit/taskpanel/tkp_task_panel_themes.h"
#include "toolkit/taskpanel/tp_color.h"

namespace {

class TestApp : public CWinApp {
 public:
  TestApp() : CWinApp(_T("TaskPanelThemesTest")) {}
};
TestApp theApp;

COLORREF Color(const CTKPColorValue& v) { return static_cast<COLORREF>(static_cast<tkcolor::Color>(v)); }

// Forces the colour manager's scheme for a test and puts the detected one back after.
class ForcedScheme {
 public:
  explicit ForcedScheme(int scheme) { Set(scheme); }
  ~ForcedScheme() { Set(kTKPSchemeAuto); }
  static void Set(int scheme) {
    TKPColorManager()->Table().SetForcedScheme(scheme);
    TKPColorManager()->RefreshColors();
  }
};

const char* const kThemeNames[13] = {"0 Plain",     "1 Large captions", "2 Explorer",       "3 List",
                                     "4 Flat",      "5 Flat in scheme colours",  "6 List explorer",  "7 Toolbox",
                                     "8 Toolbox gradient", "9 List view", "10 List view colour",
                                     "11 List view gradient", "12 List view shortcut"};

// One panel of recovery tasks, as the program would fill it.
void Fill(CTKPTaskPanel& panel, CTKPTaskPanelGroupItem** ppHot = nullptr) {
  panel.SetLockRedraw(TRUE);
  panel.GetImageManager()->SetIconsFromToolBar(IDR_MAINFRAME);
  CTKPTaskPanelGroup* tasks = panel.AddGroup(1);
  tasks->SetCaption(_T("Recovery Tasks"));
  tasks->SetSpecialGroup(TRUE);
  tasks->AddLinkItem(ID_OPEN_IMAGE, ID_OPEN_IMAGE)->SetCaption(_T("Open a disk image"));
  CTKPTaskPanelGroupItem* recover = tasks->AddLinkItem(ID_RECOVER_SELECTED, ID_RECOVER_SELECTED);
  recover->SetCaption(_T("Recover the selected files"));
  CTKPTaskPanelGroup* scan = panel.AddGroup(2);
  scan->SetCaption(_T("Scan Options"));
  scan->AddTextItem(_T("1,204 files found"));
  scan->AddLinkItem(ID_FIND_FILES, ID_FIND_FILES)->SetCaption(_T("Find files by name"));
  CTKPTaskPanelGroup* places = panel.AddGroup(3);
  places->SetCaption(_T("Other Places"));
  places->AddLinkItem(ID_LOAD_SNAPSHOT, ID_LOAD_SNAPSHOT)->SetCaption(_T("Load a scan snapshot"));
  places->SetExpanded(FALSE);
  panel.SetAnimation(1);
  panel.SetLockRedraw(FALSE);
  if (ppHot) *ppHot = recover;
}

class TaskPanelThemes : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(host.CreateEx(0, AfxRegisterWndClass(0, ::LoadCursorW(nullptr, IDC_ARROW),
                                                     reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1)),
                              _T("Task panel looks"), WS_OVERLAPPED | WS_CAPTION | WS_VISIBLE | WS_CLIPCHILDREN, 10, 10,
                              300, 420, nullptr, nullptr));
    ::SetCursorPos(2, 2);
  }
  void TearDown() override { host.DestroyWindow(); }

  CWnd host;
};

TEST_F(TaskPanelThemes, EachNumberMakesItsOwnLookAndOthersTheExplorerOne) {
  CTKPTaskPanel panel;
  const std::vector<const std::type_info*> expected = {
      &typeid(CTKPTaskPanelPaintManager),          &typeid(CTKPTaskPanelLargeCaptionTheme),
      &typeid(CTKPTaskPanelExplorerTheme),         &typeid(CTKPTaskPanelListTheme),
      &typeid(CTKPTaskPanelFlatTheme),             &typeid(CTKPTaskPanelFlatLunaTheme),
      &typeid(CTKPTaskPanelListExplorerTheme),     &typeid(CTKPTaskPanelToolboxTheme),
      &typeid(CTKPTaskPanelToolboxGradientTheme),  &typeid(CTKPTaskPanelListViewTheme),
      &typeid(CTKPTaskPanelListViewColorTheme),    &typeid(CTKPTaskPanelListViewGradientTheme),
      &typeid(CTKPTaskPanelListViewShortcutTheme)};
  EXPECT_EQ(typeid(*panel.GetPaintManager()), typeid(CTKPTaskPanelExplorerTheme));  // the panel starts with 2
  for (int n = 0; n < 13; ++n) {
    panel.SetTheme(n);
    EXPECT_EQ(typeid(*panel.GetPaintManager()), *expected[n]) << n;
    EXPECT_EQ(panel.GetCurrentTheme(), n);
  }
  for (int n : {13, -1, 1000}) {
    panel.SetTheme(n);
    EXPECT_EQ(typeid(*panel.GetPaintManager()), typeid(CTKPTaskPanelExplorerTheme)) << n;
    EXPECT_EQ(panel.GetCurrentTheme(), n);
  }
  // A few of the looks' own defaults.
  panel.SetTheme(1);
  EXPECT_EQ(panel.GetPaintManager()->GetControlMargins(&panel), CRect(8, 8, 0, 8));
  EXPECT_EQ(panel.GetPaintManager()->m_nCaptionButtonStyle, 0);
  panel.SetTheme(7);
  EXPECT_EQ(panel.GetPaintManager()->GetGroupSpacing(&panel), 1);
  EXPECT_TRUE(panel.GetPaintManager()->m_bInvertDragMarker);
  panel.SetTheme(9);
  EXPECT_EQ(panel.GetPaintManager()->GetControlMargins(&panel), CRect(0, 0, 0, 0));
  EXPECT_GE(panel.GetPaintManager()->GetCaptionHeight(), 20);
}

TEST_F(TaskPanelThemes, TheExplorerLookTakesTheSchemesColoursOrBlendsTheSystems) {
  CTKPTaskPanel panel;
  {
    ForcedScheme olive(kTKPSchemeOlive);
    panel.SetTheme(2);
    auto* paint = static_cast<CTKPTaskPanelExplorerTheme*>(panel.GetPaintManager());
    EXPECT_TRUE(paint->m_bExplorerLook);
    EXPECT_EQ(Color(paint->m_grcBackground.clrLight), RGB(204, 217, 173));
    EXPECT_EQ(Color(paint->m_groupNormal.clrHeadTextNormal), RGB(86, 102, 45));
    EXPECT_EQ(paint->m_groupNormal.dHeadGradientFactor, 0.0);
    EXPECT_EQ(Color(paint->m_clrButtonHot), RGB(255, 238, 194));
    EXPECT_EQ(Color(paint->m_grcButtonBorder.clrLight), RGB(63, 93, 56));
  }
  {
    ForcedScheme blue(kTKPSchemeBlue);
    panel.SetTheme(2);
    EXPECT_EQ(panel.GetPaintManager()->m_groupNormal.dHeadGradientFactor, 0.5);
    EXPECT_EQ(Color(panel.GetPaintManager()->m_groupSpecial.clrClient.clrDark), RGB(239, 243, 255));
  }
  ForcedScheme none(kTKPSchemeNone);
  panel.SetTheme(2);
  auto* paint = static_cast<CTKPTaskPanelExplorerTheme*>(panel.GetPaintManager());
  EXPECT_TRUE(paint->m_bExplorerLook);
  EXPECT_EQ(paint->m_nCaptionButtonStyle, 1);
  EXPECT_EQ(Color(paint->m_grcBackground.clrLight),
            taskpanel::Blend255(::GetSysColor(COLOR_INACTIVECAPTION), ::GetSysColor(COLOR_WINDOW), 128));
  EXPECT_EQ(Color(paint->m_groupSpecial.clrHeadTextHot),
            taskpanel::Blend255(::GetSysColor(COLOR_BTNHIGHLIGHT), ::GetSysColor(COLOR_HIGHLIGHT), 128));
  // Without the visual style's look and without a scheme: the plain base look.
  paint->m_bUseVisualStyle = FALSE;
  paint->RefreshMetrics();
  EXPECT_FALSE(paint->m_bExplorerLook);
  EXPECT_EQ(paint->m_nCaptionButtonStyle, 2);
  EXPECT_EQ(Color(paint->m_grcBackground.clrLight), ::GetSysColor(COLOR_WINDOW));
}

// The caption of an ordinary group: under blue its left half is the light colour alone; under olive and
// without a scheme the gradient already darkens it there.
TEST_F(TaskPanelThemes, TheCaptionGradientStartsWhereTheSchemeSays) {
  for (int scheme : {kTKPSchemeBlue, kTKPSchemeOlive, kTKPSchemeNone}) {
    ForcedScheme forced(scheme);
    CTKPTaskPanel panel;
    panel.SetTheme(2);
    ASSERT_TRUE(panel.Create(WS_VISIBLE, CRect(0, 0, 280, 380), &host, 100));
    Fill(panel);
    panel.RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    CTKPTaskPanelGroup* scan = panel.GetAt(1);
    const CRect caption = scan->GetCaptionRect();
    CClientDC dc(&panel);
    const COLORREF quarter = dc.GetPixel(caption.left + caption.Width() / 4, caption.top + 3);
    const COLORREF light = Color(panel.GetPaintManager()->m_groupNormal.clrHead.clrLight);
    if (scheme == kTKPSchemeBlue) {
      EXPECT_EQ(quarter, light);
    } else {
      EXPECT_NE(quarter, light);
    }
    panel.DestroyWindow();
  }
}

// A group's colours as one list, to compare records.
std::vector<COLORREF> Record(const CTKPTaskPanelGroupColors& g) {
  return {Color(g.clrHead.clrLight),     Color(g.clrHead.clrDark),      Color(g.clrClient.clrDark),
          Color(g.clrClientBorder),      Color(g.clrHeadTextNormal),    Color(g.clrHeadTextHot),
          Color(g.clrClientText),        Color(g.clrClientLink),        Color(g.clrClientLinkHot),
          Color(g.clrClientLinkSelected)};
}

TEST_F(TaskPanelThemes, LooksChangeOnlyTheColoursTheyOwn) {
  ForcedScheme blue(kTKPSchemeBlue);
  CTKPTaskPanel panel;
  panel.SetTheme(0);
  std::vector<COLORREF> special = Record(panel.GetPaintManager()->m_groupSpecial);
  // Large captions recolour the ordinary groups; the special ones keep the plain look but for the border.
  panel.SetTheme(1);
  CTKPTaskPanelPaintManager* paint = panel.GetPaintManager();
  EXPECT_EQ(Color(paint->m_groupNormal.clrHead.clrLight), RGB(196, 219, 249));
  EXPECT_EQ(Color(paint->m_groupNormal.clrClient.clrDark), RGB(221, 236, 254));
  special[3] = ::GetSysColor(COLOR_WINDOW);
  EXPECT_EQ(Record(paint->m_groupSpecial), special);
  EXPECT_EQ(Color(paint->m_groupNormal.clrClientBorder), ::GetSysColor(COLOR_WINDOW));
  // The list views keep the toolbox's groups; the background and the further colour are their own.
  panel.SetTheme(7);
  const std::vector<COLORREF> normal = Record(panel.GetPaintManager()->m_groupNormal);
  special = Record(panel.GetPaintManager()->m_groupSpecial);
  const struct {
    int theme;
    COLORREF background, further;
  } listViews[] = {{9, ::GetSysColor(COLOR_BTNSHADOW), ::GetSysColor(COLOR_WINDOW)},
                   {10, TKPColorManager()->GetColor(30), TKPColorManager()->GetColor(45)}};
  for (const auto& look : listViews) {
    panel.SetTheme(look.theme);
    paint = panel.GetPaintManager();
    EXPECT_EQ(Color(paint->m_grcBackground.clrDark), look.background) << look.theme;
    std::vector<COLORREF> expected = normal;
    expected.back() = look.further;
    EXPECT_EQ(Record(paint->m_groupNormal), expected) << look.theme;
    EXPECT_EQ(Record(paint->m_groupSpecial), special) << look.theme;
  }
  // Without a scheme the explorer look's ordinary caption gradient starts at the left edge.
  ForcedScheme none(kTKPSchemeNone);
  panel.SetTheme(2);
  EXPECT_EQ(panel.GetPaintManager()->m_groupNormal.dHeadGradientFactor, 0.0);
}

// What each look draws: the first group's caption text in its caption colour, and the link "Recover the
// selected files" in the hot link colour (or the link colour when the cursor's leaving took its hotness).
void CheckDrawn(CTKPTaskPanel& panel, const char* look) {
  CTKPTaskPanelGroup* tasks = panel.GetAt(0);
  taskpanel_checks::ExpectCaptionText(panel, tasks, look);
  ASSERT_NE(tasks, nullptr);
  CTKPTaskPanelGroupItem* recover = tasks->GetAt(1);
  CTKPTaskPanelGroupColors* colours = panel.GetPaintManager()->GetGroupColors(tasks);
  const bool hot = panel.GetHotItem() == recover;
  taskpanel_checks::ExpectItemText(panel, tasks, recover, Color(hot ? colours->clrClientLinkHot : colours->clrClientLink),
                                   std::string(look) + (hot ? ", the hot link" : ", the link"));
}

// Every look side by side, each with its number and name above it, one link hot.
void Gallery(CWnd& host, const char* name) {
  constexpr int kColumns = 5, kWidth = 184, kHeight = 290, kLabel = 18, kGap = 8;
  host.SetWindowPos(nullptr, 0, 0, kColumns * (kWidth + kGap) + kGap + 8, 3 * (kHeight + kLabel + kGap) + kGap + 30,
                    SWP_NOMOVE | SWP_NOZORDER);
  std::vector<std::unique_ptr<CTKPTaskPanel>> panels;
  std::vector<HWND> labels;
  for (int n = 0; n < 13; ++n) {
    const int x = kGap + (n % kColumns) * (kWidth + kGap), y = kGap + (n / kColumns) * (kHeight + kLabel + kGap);
    const std::string text = kThemeNames[n];
    HWND label = ::CreateWindowExW(0, L"STATIC", std::wstring(text.begin(), text.end()).c_str(), WS_CHILD | WS_VISIBLE,
                                   x, y, kWidth, kLabel, host.m_hWnd, nullptr, nullptr, nullptr);
    ::SendMessageW(label, WM_SETFONT, reinterpret_cast<WPARAM>(::GetStockObject(DEFAULT_GUI_FONT)), FALSE);
    labels.push_back(label);
    auto panel = std::make_unique<CTKPTaskPanel>();
    panel->SetTheme(n);
    ASSERT_TRUE(panel->Create(WS_VISIBLE | WS_BORDER, CRect(x, y + kLabel, x + kWidth, y + kLabel + kHeight), &host,
                              static_cast<UINT>(100 + n)));
    CTKPTaskPanelGroupItem* hot = nullptr;
    Fill(*panel, &hot);
    panel->SetHotItem(hot);
    panels.push_back(std::move(panel));
  }
  harness::PumpMessages();
  host.RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
  harness::PumpMessages();
  EXPECT_FALSE(harness::CaptureWindow(host.m_hWnd, name).empty());
  for (int n = 0; n < 13; ++n) CheckDrawn(*panels[n], kThemeNames[n]);
  for (auto& panel : panels) panel->DestroyWindow();
  for (HWND label : labels) ::DestroyWindow(label);
}

TEST_F(TaskPanelThemes, GalleryInTheBlueScheme) {
  ForcedScheme blue(kTKPSchemeBlue);
  Gallery(host, "task_panel_themes");
}

TEST_F(TaskPanelThemes, GalleryWithoutAScheme) {
  ForcedScheme none(kTKPSchemeNone);
  Gallery(host, "task_panel_themes_classic");
}

}  // namespace
