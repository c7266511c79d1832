// TKPTrackPopupMenu: the system menu when no command-bar host is there (a choice made with the
// keyboard comes back), and the themed path through a host of the test's own.
#include <gtest/gtest.h>

#include <vector>

#include "platform/classlib/win/classlib_win.h"
#include "platform/harness/driver.h"
#include "res/toolkit_resource.h"
#include "toolkit/common/tkp_image_manager.h"
#include "toolkit/common/tkp_popup_menu.h"

namespace {

std::vector<WPARAM> g_keys;

// Runs inside the menu's own loop: types the keys into the open menu.
void CALLBACK TypeIntoMenu(HWND hwnd, UINT, UINT_PTR id, DWORD) {
  HWND menu = ::FindWindowW(L"#32768", nullptr);
  if (menu == nullptr) return;
  ::KillTimer(hwnd, id);
  for (WPARAM key : g_keys) {
    ::PostMessageW(menu, WM_KEYDOWN, key, 0);
    ::PostMessageW(menu, WM_KEYUP, key, 0xC0000000);
  }
}

struct Owner {
  Owner() {
    window = ::CreateWindowExW(0, L"STATIC", L"owner", WS_POPUP | WS_VISIBLE, 100, 100, 200, 100, nullptr, nullptr,
                               nullptr, nullptr);
    menu = ::CreatePopupMenu();
    ::AppendMenuW(menu, MF_STRING, 101, L"One");
    ::AppendMenuW(menu, MF_STRING, 102, L"Two");
    ::AppendMenuW(menu, MF_STRING, 103, L"Three");
  }
  ~Owner() {
    ::DestroyMenu(menu);
    ::DestroyWindow(window);
  }
  HWND window;
  HMENU menu;
};

TEST(PopupMenu, FallsBackToTheSystemMenuAndReturnsTheChoice) {
  TKPSetPopupMenuHost(nullptr);
  Owner owner;
  ::SetForegroundWindow(owner.window);
  g_keys = {VK_DOWN, VK_DOWN, VK_RETURN};
  ::SetTimer(owner.window, 1, 100, TypeIntoMenu);
  const UINT chosen = TKPTrackPopupMenu(owner.menu, TPM_RETURNCMD | TPM_LEFTALIGN, 120, 120, owner.window);
  EXPECT_EQ(chosen, 102u);
  g_keys = {VK_ESCAPE};
  ::SetTimer(owner.window, 1, 100, TypeIntoMenu);
  EXPECT_EQ(TKPTrackPopupMenu(owner.menu, TPM_RETURNCMD, 120, 120, owner.window), 0u);
}

// A host of the test's own that records what the tracker does.
struct Record {
  int themesSet = 0, released = 0, initMenus = 0;
  UINT flags = 0;
  bool initBeforeTrack = false;
  bool hadPasteIcon = false;
};
Record g_record;

class FakeBar : public ITKPPopupBar {
 public:
  explicit FakeBar(bool loads) : m_loads(loads) {}
  ~FakeBar() override { delete m_images; }
  void SetImageManager(CTKPImageManager* images) override {
    delete m_images;
    m_images = images;
  }
  BOOL LoadMenu(HMENU, BOOL) override { return m_loads; }
  UINT Track(UINT flags, int, int, HWND) override {
    g_record.flags = flags;
    g_record.initBeforeTrack = g_record.initMenus > 0;
    g_record.hadPasteIcon = m_images != nullptr && m_images->GetImage(ID_EDIT_PASTE, 16) != nullptr;
    return 103;
  }
  void Release() override {
    ++g_record.released;
    delete this;
  }

 private:
  bool m_loads;
  CTKPImageManager* m_images = nullptr;
};

class FakeHost : public ITKPPopupMenuHost {
 public:
  bool themeWorks = true, loads = true;
  bool installed = false;
  BOOL HasPaintManager() override { return installed; }
  void SetDefaultTheme() override {
    ++g_record.themesSet;
    installed = themeWorks;
  }
  ITKPPopupBar* CreatePopupBar() override { return new FakeBar(loads); }
};

WNDPROC g_oldProc = nullptr;
LRESULT CALLBACK CountInitMenu(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_INITMENUPOPUP) ++g_record.initMenus;
  return ::CallWindowProcW(g_oldProc, hwnd, msg, wp, lp);
}

TEST(PopupMenu, ThemedPathUpdatesItemsAndReleasesTheBar) {
  FakeHost host;
  TKPSetPopupMenuHost(&host);
  Owner owner;
  g_oldProc = reinterpret_cast<WNDPROC>(
      ::SetWindowLongPtrW(owner.window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(CountInitMenu)));
  g_record = Record();
  EXPECT_EQ(TKPTrackPopupMenu(owner.menu, TPM_RETURNCMD, 0, 0, owner.window, IDR_TK_EDIT_TOOLBAR), 103u);
  EXPECT_EQ(g_record.themesSet, 1);
  EXPECT_TRUE(g_record.initBeforeTrack);
  EXPECT_EQ(g_record.flags, static_cast<UINT>(TPM_RETURNCMD | TPM_NONOTIFY));
  EXPECT_TRUE(g_record.hadPasteIcon);
  EXPECT_EQ(g_record.released, 1);

  host.loads = false;  // a menu the bar cannot load: 0, and the bar is still released
  EXPECT_EQ(TKPTrackPopupMenu(owner.menu, TPM_RETURNCMD, 0, 0, owner.window), 0u);
  EXPECT_EQ(g_record.released, 2);
  EXPECT_EQ(g_record.themesSet, 1);  // the theme stays installed

  FakeHost broken;
  broken.themeWorks = false;  // no theme can be installed: the system menu
  TKPSetPopupMenuHost(&broken);
  g_keys = {VK_DOWN, VK_RETURN};
  ::SetTimer(owner.window, 1, 100, TypeIntoMenu);
  EXPECT_EQ(TKPTrackPopupMenu(owner.menu, TPM_RETURNCMD, 120, 120, owner.window), 101u);
  EXPECT_EQ(g_record.released, 2);
  TKPSetPopupMenuHost(nullptr);
  ::SetWindowLongPtrW(owner.window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(g_oldProc));
}

}  // namespace
