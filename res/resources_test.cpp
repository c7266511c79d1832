// The program's resources as the program loads them: sizes of the bitmaps its controls take for granted,
// icons and cursors at the sizes they are used, menus, strings, the toolbar, version information, and
// dialogs whose controls all stand on their skins.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/harness/driver.h"
#include "res/resource.h"

namespace {

HINSTANCE Self() { return ::GetModuleHandleW(nullptr); }

SIZE BitmapSize(int id) {
  HBITMAP bitmap = ::LoadBitmapW(Self(), MAKEINTRESOURCEW(id));
  SIZE size{0, 0};
  BITMAP info;
  if (bitmap && ::GetObjectW(bitmap, sizeof info, &info)) size = SIZE{info.bmWidth, info.bmHeight};
  if (bitmap) ::DeleteObject(bitmap);
  return size;
}

COLORREF BitmapPixel(int id, int x, int y) {
  HBITMAP bitmap = ::LoadBitmapW(Self(), MAKEINTRESOURCEW(id));
  HDC dc = ::CreateCompatibleDC(nullptr);
  HGDIOBJ old = ::SelectObject(dc, bitmap);
  COLORREF pixel = ::GetPixel(dc, x, y);
  ::SelectObject(dc, old);
  ::DeleteDC(dc);
  ::DeleteObject(bitmap);
  return pixel;
}

TEST(Resources, BitmapsHaveTheSizesTheirControlsExpect) {
  struct Case {
    int id;
    int width, height;  // 0: any
  };
  const Case cases[] = {
      {IDB_BANNER, 250, 51},
      {IDB_QUICK_SCAN, 173, 73}, {IDB_QUICK_SCAN_HOT, 173, 73},
      {IDB_EXTENSIVE_SCAN, 173, 73}, {IDB_EXTENSIVE_SCAN_HOT, 173, 73},
      {IDB_FILE_TRACE, 173, 73}, {IDB_FILE_TRACE_HOT, 173, 73},
      {IDB_NEXT, 85, 35}, {IDB_NEXT_HOT, 85, 35}, {IDB_BACK, 85, 35}, {IDB_BACK_HOT, 85, 35},
      {IDB_STOP, 85, 35}, {IDB_STOP_HOT, 85, 35},
      {IDB_HOME, 45, 45}, {IDB_HOME_HOT, 45, 45},
      {IDB_RECOVER, 105, 35}, {IDB_RECOVER_HOT, 105, 35},
      {IDB_TREE_STATE_IMAGES, 64, 16}, {IDB_LIST_STATE_IMAGES, 64, 20},
      {IDB_PANEL_PATTERN, 8, 8},
      {IDB_PAGE_BACKGROUND, 0, 0}, {IDB_RESULTS_LIST_BACKGROUND, 0, 0}, {IDR_MAINFRAME, 7 * 32, 32},
      // Header pieces share one height so that they line up.
      {IDB_HEADER_START, 0, 40}, {IDB_HEADER_RIGHT, 0, 40}, {IDB_HEADER_FILL, 0, 40},
      {IDB_HEADER_SCAN_DRIVE, 0, 40}, {IDB_HEADER_SCANNING, 0, 40}, {IDB_HEADER_RESULTS, 0, 40},
      {IDB_HEADER_SCAN_PARTITION, 0, 40}, {IDB_HEADER_FILE_SYSTEMS, 0, 40}, {IDB_HEADER_SCAN_RANGE, 0, 40},
      // The preview's placeholders stand in one place, one after another.
      {IDB_PREVIEW_CORRUPTED, 319, 125}, {IDB_PREVIEW_NO_VIEWER, 319, 125}, {IDB_PREVIEW_SELECT_FILE, 319, 125},
      {IDB_PREVIEW_LARGE_FILE, 319, 125}, {IDB_PREVIEW_IMAGE_NEEDED, 319, 125},
  };
  for (const Case& c : cases) {
    SIZE size = BitmapSize(c.id);
    EXPECT_GT(size.cx, 0) << c.id;
    if (c.width) {
      EXPECT_EQ(size.cx, c.width) << c.id;
    }
    if (c.height) {
      EXPECT_EQ(size.cy, c.height) << c.id;
    }
  }
}

TEST(Resources, SkinsMarkTheirOutsideWithTheKeyColour) {
  const int skins[] = {IDB_SKIN_SMALL_DIALOG, IDB_SKIN_SETTINGS, IDB_SKIN_FILE_FILTERS, IDB_SKIN_PROPERTIES,
                       IDB_SKIN_SAVING, IDB_SKIN_PROGRESS, IDB_SKIN_ABOUT};
  for (int id : skins) {
    SIZE size = BitmapSize(id);
    EXPECT_EQ(BitmapPixel(id, 0, 0), RGB(0, 255, 0)) << id;
    EXPECT_EQ(BitmapPixel(id, size.cx - 1, size.cy - 1), RGB(0, 255, 0)) << id;
    EXPECT_NE(BitmapPixel(id, size.cx / 2, size.cy / 2), RGB(0, 255, 0)) << id;
    EXPECT_NE(BitmapPixel(id, size.cx / 2, 0), RGB(0, 255, 0)) << id;
  }
  // The page background is the colour that page 0 paints to break its frame line.
  EXPECT_EQ(BitmapPixel(IDB_PAGE_BACKGROUND, 3, 3), RGB(251, 241, 206));
  // Nothing of the banner is white where it draws: white is its transparent colour.
  EXPECT_EQ(BitmapPixel(IDB_BANNER, 0, 0), RGB(255, 255, 255));
  EXPECT_EQ(BitmapPixel(IDB_TREE_STATE_IMAGES, 0, 0), RGB(255, 255, 255));
}

TEST(Resources, IconsAndCursorsLoadAtTheirSizes) {
  struct Case {
    int id;
    int size;
  };
  const Case cases[] = {
      {IDR_MAINFRAME, 16}, {IDR_MAINFRAME, 32}, {IDR_MAINFRAME, 48},
      {IDI_TREE_COMPUTER, 16}, {IDI_TREE_DEVICES, 16}, {IDI_TREE_FIXED_DISK, 16}, {IDI_TREE_REMOVABLE, 16},
      {IDI_TREE_CDROM, 16}, {IDI_TREE_FOLDER, 16}, {IDI_TREE_VIRTUAL_DISK, 16},
      {IDI_HEADER_CREATED, 48}, {IDI_HEADER_TYPE, 48}, {IDI_HEADER_NAME, 48}, {IDI_HEADER_SIZE, 48},
      {IDI_HEADER_PATH, 48}, {IDI_HEADER_MODIFIED, 48}, {IDI_HEADER_ID, 48},
      {IDI_TOOL_HELP, 32}, {IDI_TOOL_SETTINGS, 32}, {IDI_TOOL_SAVE_SNAPSHOT, 32}, {IDI_TOOL_LOAD_SNAPSHOT, 32},
      {IDI_TOOL_FIND, 32}, {IDI_TOOL_RECOVER, 32}, {IDI_TOOL_OPEN, 32},
      {IDI_SELECT_ALL_IN, 32}, {IDI_SELECT_ALL_OUT, 32}, {IDI_BROWSE, 16},
  };
  for (const Case& c : cases) {
    HANDLE icon = ::LoadImageW(Self(), MAKEINTRESOURCEW(c.id), IMAGE_ICON, c.size, c.size, 0);
    EXPECT_NE(icon, nullptr) << c.id << " at " << c.size;
    if (icon) ::DestroyIcon(static_cast<HICON>(icon));
  }
  const int cursors[] = {IDC_CHECK_BOX_CURSOR, IDC_EXPAND_CURSOR, IDC_HAND_CURSOR, IDC_PRESSED_HAND_CURSOR};
  for (int id : cursors) {
    HCURSOR cursor = ::LoadCursorW(Self(), MAKEINTRESOURCEW(id));
    ASSERT_NE(cursor, nullptr) << id;
    ICONINFO info{};
    ASSERT_TRUE(::GetIconInfo(cursor, &info));
    EXPECT_FALSE(info.fIcon);
    if (id == IDC_HAND_CURSOR) {
      EXPECT_EQ(info.xHotspot, 10u);
    }
    if (info.hbmMask) ::DeleteObject(info.hbmMask);
    if (info.hbmColor) ::DeleteObject(info.hbmColor);
  }
}

BOOL CALLBACK FirstName(HMODULE, LPCWSTR, LPWSTR name, LONG_PTR found) {
  *reinterpret_cast<LPCWSTR*>(found) = name;
  return FALSE;
}

TEST(Resources, TheApplicationIconIsTheFirstIcon) {
  LPCWSTR first = nullptr;
  ::EnumResourceNamesW(Self(), RT_GROUP_ICON, FirstName, reinterpret_cast<LONG_PTR>(&first));
  ASSERT_TRUE(IS_INTRESOURCE(first));
  EXPECT_EQ(reinterpret_cast<uintptr_t>(first), static_cast<uintptr_t>(IDR_MAINFRAME));
}

std::vector<std::wstring> MenuTexts(HMENU menu) {
  std::vector<std::wstring> texts;
  for (int i = 0; i < ::GetMenuItemCount(menu); ++i) {
    wchar_t text[64] = {};
    ::GetMenuStringW(menu, i, text, 64, MF_BYPOSITION);
    UINT id = ::GetMenuItemID(menu, i);
    texts.push_back(id == 0 ? L"-" : std::wstring(text) + (id == static_cast<UINT>(-1) ? L"" : L" " + std::to_wstring(id)));
  }
  return texts;
}

TEST(Resources, MenusHoldTheirCommands) {
  HMENU bar = ::LoadMenuW(Self(), MAKEINTRESOURCEW(IDR_MAIN_MENU));
  ASSERT_NE(bar, nullptr);
  EXPECT_EQ(MenuTexts(bar), (std::vector<std::wstring>{L"Recovery", L"View", L"Tools", L"Help"}));
  EXPECT_EQ(MenuTexts(::GetSubMenu(bar, 0)),
            (std::vector<std::wstring>{L"&Open 32818", L"&Recover Selected 32777", L"-", L"&Save Recovery Snapshot 32811",
                                       L"Load Recovery Snapshot 32781", L"-", L"E&xit 32809"}));
  EXPECT_EQ(MenuTexts(::GetSubMenu(bar, 1)), (std::vector<std::wstring>{L"Ico&ns 32782", L"&List 59410", L"&Details 59411"}));
  EXPECT_EQ(MenuTexts(::GetSubMenu(bar, 2)),
            (std::vector<std::wstring>{L"&Find Files 32785", L"File Fi&lters 32786", L"Se&ttings 32787",
                                       L"&Drive Information 32788"}));
  EXPECT_EQ(MenuTexts(::GetSubMenu(bar, 3)), (std::vector<std::wstring>{L"&Help 57670", L"&About Dorvane 57664"}));
  ::DestroyMenu(bar);

  HMENU list = ::LoadMenuW(Self(), MAKEINTRESOURCEW(IDR_LIST_CONTEXT_MENU));
  EXPECT_EQ(MenuTexts(::GetSubMenu(list, 0)),
            (std::vector<std::wstring>{L"&Recover Selected... 32777", L"&View", L"&Find Files... 32785", L"Re&name 32802",
                                       L"&Settings... 32787", L"&Properties... 32804"}));
  EXPECT_EQ(MenuTexts(::GetSubMenu(::GetSubMenu(list, 0), 1)),
            (std::vector<std::wstring>{L"Ico&ns      32782", L"&List 59410", L"&Details 59411"}));
  ::DestroyMenu(list);
  HMENU tree = ::LoadMenuW(Self(), MAKEINTRESOURCEW(IDR_TREE_CONTEXT_MENU));
  EXPECT_EQ(MenuTexts(::GetSubMenu(tree, 0)),
            (std::vector<std::wstring>{L"&Recover Selected... 32777", L"&View", L"&Find Files... 32785",
                                       L"&Settings... 32787", L"&Properties... 32804"}));
  ::DestroyMenu(tree);
}

std::wstring String(int id) {
  const wchar_t* text = nullptr;
  int length = ::LoadStringW(Self(), id, reinterpret_cast<LPWSTR>(&text), 0);
  return length > 0 ? std::wstring(text, static_cast<size_t>(length)) : std::wstring();
}

TEST(Resources, StringTable) {
  EXPECT_EQ(String(IDR_MAINFRAME), L"Dorvane\n\nQel\nVantor Files (*.vsnp)\n.vsnp\nVantor.Document\nVantor Document");
  EXPECT_EQ(String(ID_RECOVER_SELECTED), L"Recovery Selected \nRecover");
  EXPECT_EQ(String(ID_LOAD_SNAPSHOT), L"Load Snapshot \n Load Snapshot");
  EXPECT_EQ(String(ID_FIND_FILES), L"Find \nFind");
  EXPECT_EQ(String(ID_SETTINGS), L"Setting \nSetting");
  EXPECT_EQ(String(ID_SAVE_ALL), L"Save All \nSave All");
  EXPECT_EQ(String(ID_SAVE_SNAPSHOT), L"Save Snapshot \nSave Snapshot");
  EXPECT_EQ(String(ID_OPEN_IMAGE), L"Open \nOpen");
  EXPECT_EQ(String(ID_HELP), L"Help \n Help");
  EXPECT_EQ(String(IDS_PROGRESS_CAPTION), L"Progress...");
  EXPECT_FALSE(String(IDS_OLE_INIT_FAILED).empty());
}

TEST(Resources, ToolbarListsTheStandardCommands) {
  HRSRC found = ::FindResourceW(Self(), MAKEINTRESOURCEW(IDR_MAINFRAME), MAKEINTRESOURCEW(241));
  ASSERT_NE(found, nullptr);
  const auto* words = static_cast<const WORD*>(::LockResource(::LoadResource(Self(), found)));
  ASSERT_EQ(::SizeofResource(Self(), found), 8u + 2 * 13);
  EXPECT_EQ(words[0], 1);   // version
  EXPECT_EQ(words[1], 32);  // width
  EXPECT_EQ(words[2], 32);  // height
  ASSERT_EQ(words[3], 13);  // items, separators included
  const WORD expected[] = {ID_OPEN_IMAGE, 0, ID_RECOVER_SELECTED, 0, ID_SAVE_SNAPSHOT, 0, ID_LOAD_SNAPSHOT, 0,
                           ID_FIND_FILES, 0, ID_SETTINGS, 0, ID_HELP};
  for (int i = 0; i < 13; ++i) EXPECT_EQ(words[4 + i], expected[i]) << i;
  // The frame hands accelerator table 128 to the shortcut manager, but the program binds no keys.
  EXPECT_EQ(::FindResourceW(Self(), MAKEINTRESOURCEW(IDR_MAINFRAME), RT_ACCELERATOR), nullptr);
}

TEST(Resources, VersionInformationAndManifest) {
  wchar_t self[MAX_PATH];
  ::GetModuleFileNameW(nullptr, self, MAX_PATH);
  DWORD ignored = 0;
  DWORD size = ::GetFileVersionInfoSizeW(self, &ignored);
  ASSERT_GT(size, 0u);
  std::vector<uint8_t> block(size);
  ASSERT_TRUE(::GetFileVersionInfoW(self, 0, size, block.data()));
  wchar_t* product = nullptr;
  UINT length = 0;
  ASSERT_TRUE(::VerQueryValueW(block.data(), L"\\StringFileInfo\\040904b0\\ProductName",
                               reinterpret_cast<void**>(&product), &length));
  EXPECT_STREQ(product, L"Dorvane");
  EXPECT_NE(::FindResourceW(Self(), MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(24)), nullptr);
}

INT_PTR CALLBACK PlainProc(HWND, UINT message, WPARAM, LPARAM) { return message == WM_INITDIALOG; }

// Each skinned dialog, sized to its skin as it will be, keeps every visible control on the skin.
TEST(Resources, SkinnedDialogsFitTheirSkins) {
  struct Case {
    int dialog;
    int skin;
  };
  const Case cases[] = {
      {IDD_PARTITION_CHOICE, IDB_SKIN_SMALL_DIALOG}, {IDD_DRIVE_INFORMATION, IDB_SKIN_SMALL_DIALOG},
      {IDD_RECOVERY_SETTINGS, IDB_SKIN_SETTINGS}, {IDD_FILE_TYPES, IDB_SKIN_SETTINGS},
      {IDD_FILE_FILTERS, IDB_SKIN_FILE_FILTERS}, {IDD_PROPERTIES, IDB_SKIN_PROPERTIES},
      {IDD_SAVING, IDB_SKIN_SAVING}, {IDD_PROGRESS, IDB_SKIN_PROGRESS}, {IDD_ABOUT, IDB_SKIN_ABOUT},
  };
  for (const Case& c : cases) {
    HWND dialog = harness::OpenDialog(c.dialog, PlainProc);
    ASSERT_NE(dialog, nullptr) << c.dialog;
    SIZE skin = BitmapSize(c.skin);
    RECT client;
    ::GetClientRect(dialog, &client);
    // The template is laid out for its skin with the largest dialog units its font gives; a smaller
    // font leaves room below.
    EXPECT_LE(client.right, skin.cx) << c.dialog;
    EXPECT_LE(client.bottom, skin.cy) << c.dialog;
    const int margin = 6;  // clear of the rounded corners and the border
    for (HWND child = ::GetWindow(dialog, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
      if (!::IsWindowVisible(child)) continue;
      RECT rect;
      ::GetWindowRect(child, &rect);
      ::MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&rect), 2);
      EXPECT_GE(rect.left, margin) << c.dialog << " control " << ::GetDlgCtrlID(child);
      EXPECT_GE(rect.top, margin) << c.dialog << " control " << ::GetDlgCtrlID(child);
      EXPECT_LE(rect.right, skin.cx - margin) << c.dialog << " control " << ::GetDlgCtrlID(child);
      EXPECT_LE(rect.bottom, skin.cy - margin) << c.dialog << " control " << ::GetDlgCtrlID(child);
    }
    ::DestroyWindow(dialog);
  }
}

TEST(Resources, EveryDialogOpens) {
  const int dialogs[] = {IDD_ABOUT, IDD_DRIVE_INFORMATION, IDD_FIND_FILES, IDD_RECOVERY_SETTINGS, IDD_FILE_FILTERS,
                         IDD_PROPERTIES, IDD_SAVING, IDD_PROGRESS, IDD_FILE_TYPES, IDD_PARTITION_CHOICE,
                         IDD_SELECT_VHD_FILE};
  for (int id : dialogs) {
    HWND dialog = harness::OpenDialog(id, PlainProc);
    EXPECT_NE(dialog, nullptr) << id;
    if (dialog) ::DestroyWindow(dialog);
  }
  HWND progress = harness::OpenDialog(IDD_PROGRESS, PlainProc);
  EXPECT_FALSE(harness::StateOf(::GetDlgItem(progress, IDCANCEL)).enabled);
  EXPECT_EQ(harness::Text(::GetDlgItem(progress, IDC_PROGRESS_PERCENT)), L" 0 %");
  ::DestroyWindow(progress);
}

}  // namespace
