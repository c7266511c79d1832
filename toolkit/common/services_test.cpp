// The toolkit's services under Wine: settings through the registry and a profile file under the
// program's key, the toolkit's resources through the resource manager and its switch, the colour
// manager on the real system, the auxiliary data, the GDI guards and the splitter tracker.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "platform/classlib/win/classlib_win.h"
#include "platform/harness/driver.h"
#include "platform/harness/seam_test.h"
#include "res/resource.h"
#include "toolkit/common/aux_data.h"
#include "toolkit/common/color_manager.h"
#include "toolkit/common/draw_helpers.h"
#include "toolkit/common/gdi_guards.h"
#include "toolkit/common/nonclient_metrics.h"
#include "toolkit/common/registry_manager.h"
#include "toolkit/common/resource_manager.h"
#include "toolkit/common/splitter_tracker.h"
#include "toolkit/common/visual_style_theme.h"

namespace {

const wchar_t kProgramKey[] = L"Local AppWizard-Generated Applications";
const wchar_t kProfile[] = L"ToolkitServicesTest";

class TestApp : public CWinApp {
 public:
  TestApp() : CWinApp(kProfile) {}
};
TestApp theApp;

std::wstring AppKeyPath() { return std::wstring(L"Software\\") + kProgramKey + L"\\" + kProfile; }

class Registry : public testing::Test {
 protected:
  void SetUp() override {
    theApp.SetRegistryKey(kProgramKey);
    ::RegDeleteTreeW(HKEY_CURRENT_USER, AppKeyPath().c_str());
  }
  void TearDown() override {
    ::RegDeleteTreeW(HKEY_CURRENT_USER, AppKeyPath().c_str());
    CTKRegistryManager::SetINIFileName(nullptr);
  }
  DWORD ValueType(const wchar_t* section, const wchar_t* entry) {
    DWORD type = 0;
    std::wstring path = AppKeyPath() + L"\\" + section;
    if (::RegGetValueW(HKEY_CURRENT_USER, path.c_str(), entry, RRF_RT_ANY, &type, nullptr, nullptr) != ERROR_SUCCESS)
      return REG_NONE;
    return type;
  }
};

TEST_F(Registry, StringsAndBinaryBlocksComeBackFromTheProgramsKey) {
  CTKRegistryManager registry;
  EXPECT_EQ(registry.WriteProfileString(L"Settings", L"Window Position", L"10, 20, 300, 400"), TRUE);
  EXPECT_EQ(registry.GetProfileString(L"Settings", L"Window Position"), CString(L"10, 20, 300, 400"));
  EXPECT_EQ(ValueType(L"Settings", L"Window Position"), static_cast<DWORD>(REG_SZ));
  const BYTE widths[] = {0x12, 0x34, 0x00, 0xFF};
  EXPECT_EQ(registry.WriteProfileBinary(L"Settings", L"Column Info", widths, sizeof widths), TRUE);
  EXPECT_EQ(ValueType(L"Settings", L"Column Info"), static_cast<DWORD>(REG_BINARY));
  BYTE* data = nullptr;
  UINT size = 0;
  ASSERT_TRUE(registry.GetProfileBinary(L"Settings", L"Column Info", &data, &size));
  ASSERT_EQ(size, sizeof widths);
  EXPECT_EQ(std::memcmp(data, widths, size), 0);
  delete[] data;
  // A null value deletes one entry, a null entry the whole section.
  EXPECT_EQ(registry.WriteProfileString(L"Settings", L"Window Position", nullptr), TRUE);
  EXPECT_EQ(registry.GetProfileString(L"Settings", L"Window Position", L"none"), CString(L"none"));
  EXPECT_TRUE(registry.GetProfileBinary(L"Settings", L"Column Info", &data, &size));
  delete[] data;
  EXPECT_EQ(registry.WriteProfileString(L"Settings", nullptr, nullptr), TRUE);
  EXPECT_FALSE(registry.GetProfileBinary(L"Settings", L"Column Info", &data, &size));
  EXPECT_EQ(data, nullptr);
  EXPECT_EQ(size, 0u);
}

TEST_F(Registry, FloatsAndDoublesLoadAgainFromTheRegistryAndTheProfileFile) {
  CTKRegistryManager registry;
  ASSERT_EQ(registry.WriteProfileFloat(L"Options", L"Factor", 0.75f), TRUE);
  ASSERT_EQ(registry.WriteProfileDouble(L"Options", L"Exponent", -1234.5678), TRUE);
  EXPECT_EQ(ValueType(L"Options", L"Factor"), static_cast<DWORD>(REG_BINARY));
  float f = 0;
  double d = 0;
  ASSERT_TRUE(registry.GetProfileFloat(L"Options", L"Factor", &f));
  ASSERT_TRUE(registry.GetProfileDouble(L"Options", L"Exponent", &d));
  EXPECT_EQ(f, 0.75f);
  EXPECT_EQ(d, -1234.5678);
  EXPECT_FALSE(registry.GetProfileFloat(L"Options", L"Exponent", &f));  // eight bytes are not a float
  EXPECT_FALSE(registry.GetProfileDouble(L"Options", L"Missing", &d));
  EXPECT_EQ(d, -1234.5678);

  wchar_t folder[MAX_PATH];
  ::GetTempPathW(MAX_PATH, folder);
  std::wstring ini = std::wstring(folder) + L"toolkit_services_test.ini";
  ::DeleteFileW(ini.c_str());
  CTKRegistryManager::SetINIFileName(ini.c_str());
  ASSERT_EQ(registry.WriteProfileDouble(L"Options", L"Exponent", 0.5), TRUE);
  ASSERT_TRUE(registry.GetProfileDouble(L"Options", L"Exponent", &d));
  EXPECT_EQ(d, 0.5);
  ::DeleteFileW(ini.c_str());
}

TEST_F(Registry, TheProfileFileHoldsTextAndLettersForBytes) {
  wchar_t folder[MAX_PATH];
  ::GetTempPathW(MAX_PATH, folder);
  std::wstring ini = std::wstring(folder) + L"toolkit_profile_test.ini";
  ::DeleteFileW(ini.c_str());
  CTKRegistryManager::SetINIFileName(ini.c_str());
  CTKRegistryManager registry;
  const BYTE bytes[] = {0x12, 0x34};
  EXPECT_EQ(registry.WriteProfileBinary(L"Settings", L"Column Info", bytes, 2), TRUE);
  EXPECT_EQ(registry.WriteProfileString(L"Settings", L"Name", L"Fish & Chips"), TRUE);
  wchar_t raw[64] = {};
  ::GetPrivateProfileStringW(L"Settings", L"Column Info", L"", raw, 64, ini.c_str());
  EXPECT_STREQ(raw, L"CBED");
  EXPECT_EQ(registry.GetProfileString(L"Settings", L"Name"), CString(L"Fish & Chips"));
  BYTE* data = nullptr;
  UINT size = 0;
  ASSERT_TRUE(registry.GetProfileBinary(L"Settings", L"Column Info", &data, &size));
  ASSERT_EQ(size, 2u);
  EXPECT_EQ(data[0], 0x12);
  EXPECT_EQ(data[1], 0x34);
  delete[] data;
  ::WritePrivateProfileStringW(L"Settings", L"Broken", L"CBxy", ini.c_str());
  EXPECT_FALSE(registry.GetProfileBinary(L"Settings", L"Broken", &data, &size));
  EXPECT_EQ(registry.GetProfileString(L"Settings", L"Missing", L"default"), CString(L"default"));
  // Nothing went to the registry.
  HKEY key = nullptr;
  EXPECT_NE(::RegOpenKeyExW(HKEY_CURRENT_USER, AppKeyPath().c_str(), 0, KEY_READ, &key), ERROR_SUCCESS);
  ::DeleteFileW(ini.c_str());
}

TEST_F(Registry, WithoutTheApplicationsKeyWritesFailAndReadsGiveTheDefault) {
  theApp.m_pszRegistryKey = nullptr;
  CTKRegistryManager registry;
  EXPECT_EQ(registry.WriteProfileString(L"Settings", L"Entry", L"value"), FALSE);
  const BYTE byte = 1;
  EXPECT_EQ(registry.WriteProfileBinary(L"Settings", L"Entry", &byte, 1), FALSE);
  EXPECT_EQ(registry.GetProfileString(L"Settings", L"Entry", L"default"), CString(L"default"));
  EXPECT_EQ(registry.GetAppRegistryKey(), nullptr);
}

// ---- resources ------------------------------------------------------------------------------------

class Resources : public harness::SeamTest {
 protected:
  void TearDown() override {
    TKPSetResourceModule(nullptr);
    harness::SeamTest::TearDown();
  }
};

void ExpectToolkitResources() {
  CTKPResourceManager* resources = TKPResourceManager();
  CString text;
  ASSERT_TRUE(resources->LoadString(&text, IDS_TK_PUSH_PIN_TIP));
  EXPECT_EQ(text, CString(L"Click push pin to keep open"));
  ASSERT_TRUE(resources->LoadString(&text, IDS_TK_LINK_ERROR_FIRST + 5));
  EXPECT_EQ(text, CString(L"The .exe file is invalid (non-Win32\u00AE .exe or error in .exe image)."));
  ASSERT_TRUE(resources->LoadString(&text, IDS_TK_LINK_ERROR_FIRST + 13));
  EXPECT_EQ(text, CString(L"An unknown error number %d occured."));

  CMenu menu;
  ASSERT_TRUE(resources->LoadMenu(&menu, IDR_TK_MENUS));
  HMENU edit = ::GetSubMenu(menu.m_hMenu, 1);
  HMENU header = ::GetSubMenu(menu.m_hMenu, 2);
  ASSERT_TRUE(edit && header);
  EXPECT_EQ(::GetMenuItemCount(edit), 8);
  EXPECT_EQ(::GetMenuItemID(edit, 0), static_cast<UINT>(ID_EDIT_UNDO));
  EXPECT_EQ(::GetMenuItemID(edit, 7), static_cast<UINT>(ID_EDIT_SELECT_ALL));
  EXPECT_EQ(::GetMenuItemID(header, 1), static_cast<UINT>(ID_TK_SORT_DESCENDING));
  EXPECT_EQ(::GetMenuItemID(::GetSubMenu(header, 3), 2), static_cast<UINT>(ID_TK_ALIGN_RIGHT));

  CTKPToolBarResource toolbar;
  ASSERT_TRUE(resources->LoadToolBar(&toolbar, IDR_TK_HEADER_TOOLBAR));
  EXPECT_EQ(toolbar.m_data.items, (std::vector<unsigned>{9158, 9159, 0, 9160, 9161, 9162}));
  EXPECT_EQ(toolbar.m_data.width, 16);
  BITMAP strip{};
  toolbar.m_bitmap.GetBitmap(&strip);
  EXPECT_EQ(strip.bmWidth, 16 * static_cast<int>(toolbar.m_data.ImageIds().size()));
  EXPECT_EQ(strip.bmHeight, 15);
  ASSERT_TRUE(resources->LoadToolBar(&toolbar, IDR_TK_EDIT_TOOLBAR));
  EXPECT_EQ(toolbar.m_data.ImageIds().size(), 5u);

  CBitmap caption;
  ASSERT_TRUE(resources->LoadBitmap(&caption, IDB_TK_CAPTION_BUTTONS));
  EXPECT_EQ(CTKPTransparentBitmap(static_cast<HBITMAP>(caption.GetSafeHandle())).GetTransparentColor(),
            RGB(255, 0, 255));
  for (UINT cursor : {9008u, 9009u, 9011u, 9970u, 9971u, 9973u}) EXPECT_NE(resources->LoadCursor(cursor), nullptr);
  EXPECT_EQ(resources->LoadCursor(9999), nullptr);
  EXPECT_NE(resources->LoadDialogTemplate(IDD_ABOUT), nullptr);
}

TEST_F(Resources, TheManagerFindsTheToolkitsResourcesInTheProgram) { ExpectToolkitResources(); }

TEST_F(Resources, TheSwitchLoadsFromTheToolkitsModuleAndPutsTheOldHandleBack) {
  HMODULE self = ::GetModuleHandleW(nullptr);
  HMODULE other = ::GetModuleHandleW(L"kernel32.dll");
  AfxSetResourceHandle(other);  // the class library looks elsewhere; the toolkit's module has them
  TKPSetResourceModule(self);
  {
    CTKPResourceSwitch in;
    EXPECT_EQ(AfxGetResourceHandle(), self);
  }
  EXPECT_EQ(AfxGetResourceHandle(), other);
  ExpectToolkitResources();
  EXPECT_EQ(AfxGetResourceHandle(), other);
  AfxSetResourceHandle(nullptr);
  TKPSetResourceModule(nullptr);
  CTKPResourceSwitch none;  // no module: nothing changes
  EXPECT_EQ(AfxGetResourceHandle(), self);
}

TEST_F(Resources, TheSwitchLendsTheCompanionToAnApplicationWithoutAnInstanceHandle) {
  HMODULE self = ::GetModuleHandleW(nullptr);
  HMODULE companion = ::GetModuleHandleW(L"user32.dll");
  const HINSTANCE own = theApp.m_hInstance;
  theApp.m_hInstance = nullptr;
  TKPSetResourceModule(self, companion);
  {
    CTKPResourceSwitch in;
    EXPECT_EQ(AfxGetInstanceHandle(), companion);
  }
  EXPECT_EQ(theApp.m_hInstance, nullptr);
  EXPECT_EQ(AfxGetInstanceHandle(), self);
  theApp.m_hInstance = self;  // an application with its own keeps it
  {
    CTKPResourceSwitch in;
    EXPECT_EQ(AfxGetInstanceHandle(), self);
  }
  theApp.m_hInstance = own;
}

TEST_F(Resources, ShowMessageBoxShowsTheStringAndGivesTheAnswer) {
  seams.boxes.Answer(seams::kYes);
  EXPECT_EQ(TKPResourceManager()->ShowMessageBox(IDS_TK_LINK_ERROR_FIRST + 1, MB_YESNO), seams::kYes);
  ASSERT_EQ(seams.boxes.Log().size(), 1u);
  EXPECT_EQ(seams.boxes.Log()[0].text, u"The specified file was not found.");
}

// ---- colours, themes, auxiliary data ------------------------------------------------------------

TEST(ColorManager, TheRealSystemsColoursFillTheTable) {
  CTKPColorManager* colours = TKPColorManager();
  colours->RefreshColors();
  for (int i = 1; i <= 27; ++i) {
    if (i == COLOR_3DLIGHT) continue;  // the lighter face replaces it
    EXPECT_EQ(colours->GetColor(i), ::GetSysColor(i)) << i;
  }
  EXPECT_EQ(colours->GetColor(62), 62u);
  EXPECT_EQ(colours->GetColor(61), 0u);
  EXPECT_EQ(colours->GetGradient(7).clrLight, 0x8CD5FFu);
  EXPECT_EQ(CTKPColorManager::BlendColors(0x0000FF, 0, 100), 0x00001Au);
}

TEST(ColorManager, WithoutTheThemeLibraryThereIsNoSchemeAndNothingIsDrawn) {
  TKPSetThemeLibraryMissingForTesting(true);
  EXPECT_FALSE(CTKPVisualStyleTheme::IsAppThemeReady());
  EXPECT_EQ(TKPDetectSystemTheme(), 0);
  CTKPVisualStyleTheme theme;
  theme.OpenThemeData(nullptr, L"TREEVIEW");
  EXPECT_EQ(theme.GetHandle(), nullptr);
  RECT r{0, 0, 10, 10};
  EXPECT_EQ(theme.DrawThemeBackground(nullptr, 1, 1, &r, nullptr), E_FAIL);
  COLORREF c = 0;
  EXPECT_EQ(theme.GetThemeColor(0, 0, 3801, &c), E_FAIL);
  wchar_t name[MAX_PATH];
  EXPECT_EQ(CTKPVisualStyleTheme::GetCurrentThemeName(name, MAX_PATH, nullptr, 0, nullptr, 0), E_FAIL);
  TKPColorManager()->RefreshColors();
  EXPECT_EQ(TKPColorManager()->GetSystemTheme(), 0);
  TKPSetThemeLibraryMissingForTesting(false);
}

DWORD g_fakeNow = 0;
DWORD FakeNow() { return g_fakeNow; }

TEST(ColorManager, RefreshingWaitsHalfASecondOnceTheMainWindowExists) {
  g_fakeNow = 1000000;
  TKPSetColorRefreshClockForTesting(&FakeNow);
  CTKPColorManager* colours = TKPColorManager();
  colours->Table().SetOverrideColor(COLOR_WINDOW, kTKPNoColor);
  CWnd main;
  ASSERT_TRUE(main.CreateEx(0, AfxRegisterWndClass(0), L"main", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr));
  theApp.m_pMainWnd = &main;
  RefreshToolkitColors();  // stamps the time
  colours->Table().SetSysColorCallback([](int) -> tkcolor::Color { return 0x123456; });
  g_fakeNow += 500;
  RefreshToolkitColors();  // within 500 ms: nothing
  EXPECT_EQ(colours->GetColor(COLOR_WINDOW), ::GetSysColor(COLOR_WINDOW));
  g_fakeNow += 1;
  RefreshToolkitColors();
  EXPECT_EQ(colours->GetColor(COLOR_WINDOW), 0x123456u);
  TKPSetColorRefreshClockForTesting(nullptr);
  colours->Table().SetSysColorCallback(nullptr);
  colours->RefreshColors();
  theApp.m_pMainWnd = nullptr;
  main.DestroyWindow();
}

TEST(AuxData, FontsCursorsMetricsAndVersionsAreFilled) {
  CTKPAuxData& aux = TKPAuxData();
  EXPECT_NE(aux.font.GetSafeHandle(), nullptr);
  EXPECT_NE(aux.fontSmCaption.GetSafeHandle(), nullptr);
  LOGFONTW bold{}, vertical{}, marlett{};
  aux.fontBold.GetLogFont(&bold);
  aux.fontVert.GetLogFont(&vertical);
  aux.fontMarlett.GetLogFont(&marlett);
  EXPECT_EQ(bold.lfWeight, FW_BOLD);
  EXPECT_EQ(vertical.lfEscapement, 2700);
  EXPECT_STREQ(marlett.lfFaceName, L"Marlett");
  // Each cursor is the image its name says (cursor resources load as one shared handle per id).
  const auto resource = [](UINT id) { return ::LoadCursorW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(id)); };
  EXPECT_EQ(aux.hcurDragCopy, resource(IDC_TK_DRAG_COPY));
  EXPECT_EQ(aux.hcurDragNone, resource(IDC_TK_DRAG_NONE));
  EXPECT_EQ(aux.hcurDragMove, resource(IDC_TK_DRAG_MOVE));
  EXPECT_EQ(aux.hcurSplitHorz, resource(IDC_TK_SPLIT_HORZ));
  EXPECT_EQ(aux.hcurSplitVert, resource(IDC_TK_SPLIT_VERT));
  EXPECT_NE(aux.hcurDragMove, nullptr);
  EXPECT_NE(aux.hcurHand, nullptr);
  EXPECT_NE(aux.hcurMove, nullptr);
  EXPECT_EQ(aux.cxSize, 18);
  EXPECT_EQ(aux.cxSmIcon, ::GetSystemMetrics(SM_CXSMICON));
  EXPECT_EQ(aux.clrBtnFace, TKPColorManager()->GetColor(COLOR_BTNFACE));
  EXPECT_EQ(aux.clrToolkit[11], TKPColorManager()->GetColor(41));
  EXPECT_GE(HIWORD(aux.GetComCtlVersion()), 5u);
  CTKPNonClientMetrics metrics;
  EXPECT_TRUE(metrics.IsValid());
  EXPECT_FALSE(aux.bWin95 || aux.bWin98 || aux.bWinNT4);
}

// ---- guards and the tracker ----------------------------------------------------------------------

TEST(GdiGuards, EachGuardPutsBackWhatItReplaced) {
  CDC dc;
  ASSERT_TRUE(dc.CreateCompatibleDC(nullptr));
  HGDIOBJ font = ::GetCurrentObject(dc, OBJ_FONT), pen = ::GetCurrentObject(dc, OBJ_PEN),
          brush = ::GetCurrentObject(dc, OBJ_BRUSH);
  {
    CTKPFontDC fontDC(&dc, &TKPAuxData().fontBold);
    CTKPPenDC penDC(dc, RGB(1, 2, 3));
    CTKPBrushDC brushDC(dc, RGB(4, 5, 6));
    EXPECT_EQ(::GetCurrentObject(dc, OBJ_FONT), TKPAuxData().fontBold.GetSafeHandle());
    EXPECT_EQ(penDC.GetColor(), RGB(1, 2, 3));
    penDC.SetColor(RGB(7, 8, 9));
    EXPECT_EQ(penDC.GetColor(), RGB(7, 8, 9));
    fontDC.SetFont(&TKPAuxData().font);
  }
  EXPECT_EQ(::GetCurrentObject(dc, OBJ_FONT), font);
  EXPECT_EQ(::GetCurrentObject(dc, OBJ_PEN), pen);
  EXPECT_EQ(::GetCurrentObject(dc, OBJ_BRUSH), brush);
}

TEST(GdiGuards, MemoryDCsCopyThemselvesOutWhenTheyEnd) {
  CDC screen;
  screen.Attach(::GetDC(nullptr));
  CBitmap target;
  ASSERT_TRUE(target.CreateCompatibleBitmap(&screen, 40, 20));
  CTKPCompatibleDC dc(&screen, &target);
  dc.FillSolidRect(0, 0, 40, 20, RGB(0, 0, 255));
  {
    CTKPColorGradient green(RGB(0, 255, 0));
    CTKMemDC mem(&dc, CRect(10, 0, 20, 20), green);
    EXPECT_TRUE(mem.IsValid());
  }
  EXPECT_EQ(dc.GetPixel(15, 10), RGB(0, 255, 0));
  EXPECT_EQ(dc.GetPixel(5, 10), RGB(0, 0, 255));
  {
    CTKMemDC unfilled(&dc, CRect(20, 0, 30, 20));  // no gradient: the bitmap is left as it was made
    unfilled.FillSolidRect(0, 0, 10, 20, RGB(255, 0, 0));
  }
  EXPECT_EQ(dc.GetPixel(25, 10), RGB(255, 0, 0));
  {
    CTKPBufferDC buffer(dc, CRect(30, 5, 40, 15));
    buffer.FillSolidRect(0, 0, 40, 20, RGB(255, 255, 0));
  }
  EXPECT_EQ(dc.GetPixel(35, 10), RGB(255, 255, 0));
  EXPECT_EQ(dc.GetPixel(35, 2), RGB(0, 0, 255));  // only the rectangle is copied
  ::ReleaseDC(nullptr, screen.Detach());
}

TEST(GdiGuards, WindowRectanglesOfAMissingWindowAreEmpty) {
  EXPECT_TRUE(CTKPWindowRect(static_cast<HWND>(nullptr)).IsRectEmpty());
  EXPECT_TRUE(CTKPClientRect(reinterpret_cast<HWND>(0x1234)).IsRectEmpty());
  EXPECT_EQ(CTKPTransparentBitmap(nullptr).GetTransparentColor(), static_cast<COLORREF>(-1));
  EXPECT_EQ(CTKPTransparentBitmap(nullptr).ConvertToIcon(), nullptr);
}

TEST(DrawHelpers, FontsWorkAreasLayoutKeysAndTheActiveTopWindow) {
  EXPECT_FALSE(CTKPDrawHelpers::FontExists(L"No Such Face Anywhere"));
  EXPECT_FALSE(CTKPDrawHelpers::FontExists(nullptr));
  LOGFONTW gui{};
  ::GetObjectW(::GetStockObject(DEFAULT_GUI_FONT), sizeof gui, &gui);
  EXPECT_TRUE(CTKPDrawHelpers::FontExists(gui.lfFaceName));
  EXPECT_FALSE(CTKPDrawHelpers::GetDefaultFontName(TRUE).IsEmpty());
  RECT work{};
  ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  EXPECT_EQ(CTKPDrawHelpers::GetWorkAreaFromPoint(POINT{5, 5}), CRect(work));
  const CRect somewhere(10, 10, 50, 50);
  EXPECT_EQ(CTKPDrawHelpers::GetWorkAreaFromRect(static_cast<LPCRECT>(somewhere)), CRect(work));

  CWnd ltr, rtl;
  LPCTSTR cls = AfxRegisterWndClass(0);
  ASSERT_TRUE(ltr.CreateEx(0, cls, L"ltr", WS_POPUP | WS_VISIBLE, 0, 0, 50, 50, nullptr, nullptr));
  ASSERT_TRUE(rtl.CreateEx(WS_EX_LAYOUTRTL, cls, L"rtl", WS_POPUP, 0, 0, 50, 50, nullptr, nullptr));
  UINT key = VK_LEFT;
  CTKPDrawHelpers::KeyToLayout(ltr.GetSafeHwnd(), key);
  EXPECT_EQ(key, static_cast<UINT>(VK_LEFT));
  CTKPDrawHelpers::KeyToLayout(rtl.GetSafeHwnd(), key);
  EXPECT_EQ(key, static_cast<UINT>(VK_RIGHT));
  key = VK_UP;
  CTKPDrawHelpers::KeyToLayout(rtl.GetSafeHwnd(), key);
  EXPECT_EQ(key, static_cast<UINT>(VK_UP));
  EXPECT_EQ(CTKPDrawHelpers::GetWorkAreaFromWindow(ltr.GetSafeHwnd()), CRect(work));

  ::SetForegroundWindow(ltr.GetSafeHwnd());
  harness::PumpMessages();
  if (::GetForegroundWindow() == ltr.GetSafeHwnd()) {
    EXPECT_TRUE(CTKPDrawHelpers::IsTopParentActive(ltr.GetSafeHwnd()));
    EXPECT_FALSE(CTKPDrawHelpers::IsTopParentActive(rtl.GetSafeHwnd()));
  }
  EXPECT_FALSE(CTKPDrawHelpers::IsTopParentActive(nullptr));
  rtl.DestroyWindow();
  ltr.DestroyWindow();
}

class TrackerTest : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(window.CreateEx(0, AfxRegisterWndClass(0), L"tracker", WS_POPUP | WS_VISIBLE, 0, 0, 400, 300, nullptr,
                                nullptr));
    harness::PumpMessages();
  }
  void TearDown() override { window.DestroyWindow(); }
  void Post(UINT message, WPARAM w, int x, int y) { window.PostMessage(message, w, MAKELPARAM(x, y)); }
  CWnd window;
};

TEST_F(TrackerTest, AVerticalTrackerStopsAtTheBottomAndIsKeptOnRelease) {
  Post(WM_MOUSEMOVE, MK_LBUTTON, 50, 120);
  Post(WM_MOUSEMOVE, MK_LBUTTON, 50, 900);
  Post(WM_LBUTTONUP, 0, 50, 900);
  CRect tracker(0, 100, 400, 104);
  CTKPSplitterTracker splitter;
  EXPECT_TRUE(splitter.Track(window.GetSafeHwnd(), CRect(0, 20, 400, 250), tracker, CPoint(50, 100), FALSE));
  EXPECT_EQ(tracker, CRect(0, 250, 400, 254));
  EXPECT_EQ(::GetCapture(), nullptr);
}

TEST_F(TrackerTest, EscapeCancelsWithTheTrackerWhereItWasLastDrawn) {
  Post(WM_MOUSEMOVE, MK_LBUTTON, 80, 10);
  window.PostMessage(WM_KEYDOWN, VK_ESCAPE, 0);
  CRect tracker(60, 0, 64, 300);
  CTKPSplitterTracker splitter(TRUE);
  EXPECT_FALSE(splitter.Track(window.GetSafeHwnd(), CRect(20, 0, 380, 300), tracker, CPoint(60, 10), TRUE));
  EXPECT_EQ(tracker, CRect(80, 0, 84, 300));
}

}  // namespace
