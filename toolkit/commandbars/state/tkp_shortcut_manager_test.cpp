// The shortcut manager in real windows: shortcut texts from the keyboard's key names, the shortcut a
// menu shows, stored tables checked before they replace ours, translation switched off and on.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "platform/classlib/win/cframewnd.h"
#include "platform/classlib/win/cwinapp.h"
#include "platform/harness/driver.h"
#include "toolkit/commandbars/frame/frame_test_support.h"
#include "toolkit/commandbars/frame/tkp_command_bars.h"
#include "toolkit/commandbars/frame/tkp_frame_wnd.h"
#include "toolkit/commandbars/state/tkp_shortcut_manager.h"

namespace {

class TestApp : public CWinApp {
 public:
  TestApp() : CWinApp(_T("Dorvane Shortcut Test")) {}
};
TestApp theApp;

const wchar_t kProfileKey[] = L"Software\\Dorvane Shortcut Test";
const TCHAR kSection[] = _T("CommandBars");
constexpr UINT kShortcuts = 910;  // tkp_shortcut_manager_test.rc

// A frame whose manager took the shortcuts of the resource.
class ShortcutFrame : public CTKPFrameWnd {
 public:
  CTKPCommandBars* Bars() const { return m_pCommandBars; }
  // As the program starts: the stored shortcuts are read once the resource's are taken.
  bool loadStored = false;

 protected:
  afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct) {
    if (CTKPFrameWnd::OnCreate(lpCreateStruct) == -1) return -1;
    m_pCommandBars = tkptest::MakeCommandBars(this, false);
    m_pCommandBars->GetShortcutManager()->SetAccelerators(kShortcuts);
    if (loadStored) m_pCommandBars->GetShortcutManager()->LoadShortcuts(kSection);
    return 0;
  }
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(ShortcutFrame, CTKPFrameWnd)
  ON_WM_CREATE()
END_MESSAGE_MAP()

class Shortcuts : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    ::RegDeleteTreeW(HKEY_CURRENT_USER, kProfileKey);
    theApp.SetRegistryKey(_T("Dorvane Shortcut Test"));
  }
  void TearDown() override {
    for (ShortcutFrame* frame : m_frames) frame->DestroyWindow();
    ::RegDeleteTreeW(HKEY_CURRENT_USER, kProfileKey);
  }
  ShortcutFrame* Start() {
    auto* frame = new ShortcutFrame;
    EXPECT_TRUE(frame->Create(nullptr, _T("Shortcuts"), WS_OVERLAPPEDWINDOW, CRect(40, 40, 500, 400)));
    m_frames.push_back(frame);
    harness::PumpMessages();
    return frame;
  }
  // The program ends: the shortcuts are saved and the window goes.
  void Stop(ShortcutFrame* frame) {
    frame->Bars()->GetShortcutManager()->SaveShortcuts(kSection);
    m_frames.erase(std::find(m_frames.begin(), m_frames.end(), frame));
    frame->DestroyWindow();
  }
  std::vector<ShortcutFrame*> m_frames;
};

CString Text(CTKPShortcutManager* shortcuts, BYTE flags, WORD key) {
  const ACCEL accel{flags, key, 1};
  return shortcuts->Format(&accel, nullptr);
}

TEST_F(Shortcuts, ShortcutTextsUseTheKeyNames) {
  ShortcutFrame* frame = Start();
  CTKPShortcutManager* shortcuts = frame->Bars()->GetShortcutManager();
  EXPECT_EQ(Text(shortcuts, FVIRTKEY | FCONTROL | FSHIFT, VK_F5), CString(_T("Ctrl+Shift+F5")));
  EXPECT_EQ(Text(shortcuts, FALT, 'x'), CString(_T("Alt+x")));
  EXPECT_EQ(Text(shortcuts, FVIRTKEY, VK_DELETE), CString(_T("Del")));
  // The keyboard driver's names first: read with one capital.
  shortcuts->m_bUseSystemKeyNameText = TRUE;
  const CString space = Text(shortcuts, FVIRTKEY, VK_SPACE);
  shortcuts->m_bUseSystemKeyNameText = FALSE;
  ASSERT_GT(space.GetLength(), 1);
  EXPECT_EQ(space, space.Left(1) + CString(space.Mid(1)).MakeLower()) << space.GetString();
  EXPECT_TRUE(::IsCharUpperW(space[0])) << space.GetString();

  CString text;
  EXPECT_TRUE(shortcuts->FindDefaultAccelerator(101, text));
  EXPECT_EQ(text, CString(_T("F5")));  // no modifier is preferred
  text = _T("Ctrl+F5");                 // already one of its shortcuts: kept
  EXPECT_TRUE(shortcuts->FindDefaultAccelerator(101, text));
  EXPECT_EQ(text, CString(_T("Ctrl+F5")));
  text = _T("F9");
  EXPECT_FALSE(shortcuts->FindDefaultAccelerator(555, text));
  EXPECT_TRUE(text.IsEmpty());
  EXPECT_FALSE(shortcuts->IsAccelAllowed(ACCEL{FVIRTKEY, VK_ESCAPE, 1}));
  shortcuts->m_bAllowEscapeShortcut = TRUE;
  EXPECT_TRUE(shortcuts->IsAccelAllowed(ACCEL{FVIRTKEY, VK_ESCAPE, 1}));
}

TEST_F(Shortcuts, MenusKeepTheirTabTextsWithoutATable) {
  CTKPShortcutManager none;
  CString text = _T("Ctrl+Q");
  EXPECT_FALSE(none.GetMenuShortcut(101, text));
  EXPECT_EQ(text, CString(_T("Ctrl+Q")));
  ShortcutFrame* frame = Start();
  CTKPShortcutManager* shortcuts = frame->Bars()->GetShortcutManager();
  EXPECT_TRUE(shortcuts->GetMenuShortcut(101, text));
  EXPECT_EQ(text, CString(_T("F5")));
  text = _T("Ctrl+Q");
  EXPECT_TRUE(shortcuts->GetMenuShortcut(777, text));  // a table, but nothing for the command
  EXPECT_TRUE(text.IsEmpty());
  shortcuts->m_bShowMenuShortcutsFromAccelerators = FALSE;
  text = _T("Ctrl+Q");
  EXPECT_FALSE(shortcuts->GetMenuShortcut(101, text));
  EXPECT_EQ(text, CString(_T("Ctrl+Q")));
}

TEST_F(Shortcuts, TranslationWaitsForEveryEnable) {
  ShortcutFrame* frame = Start();
  CTKPShortcutManager* shortcuts = frame->Bars()->GetShortcutManager();
  MSG key{frame->m_hWnd, WM_KEYDOWN, VK_F5, 0x003F0001, 0, {}};
  shortcuts->DisableShortcuts(TRUE);
  shortcuts->DisableShortcuts(TRUE);
  shortcuts->DisableShortcuts(FALSE);
  EXPECT_FALSE(shortcuts->TranslateAccelerator(frame->m_hWnd, &key));
  shortcuts->DisableShortcuts(FALSE);
  EXPECT_TRUE(shortcuts->TranslateAccelerator(frame->m_hWnd, &key));
}

TEST_F(Shortcuts, StoredShortcutsReplaceOursOnlyWhenSound) {
  ShortcutFrame* frame = Start();
  CTKPShortcutManager* shortcuts = frame->Bars()->GetShortcutManager();
  ASSERT_EQ(shortcuts->GetCount(), 4);
  const auto store = [](std::vector<BYTE> bytes) {
    theApp.WriteProfileBinary(kSection, _T("Accelerators"), bytes.data(), static_cast<UINT>(bytes.size()));
  };
  store({FVIRTKEY, 0, VK_F2, 0, 100, 0, 1});             // cut inside a record
  shortcuts->LoadShortcuts(kSection);
  EXPECT_EQ(shortcuts->GetCount(), 4);
  store({0x40, 0, VK_F2, 0, 100, 0});                    // a flag no table has
  shortcuts->LoadShortcuts(kSection);
  EXPECT_EQ(shortcuts->GetCount(), 4);
  store({FVIRTKEY | FCONTROL, 0, 'O', 0, 101, 0});       // one sound record
  shortcuts->LoadShortcuts(kSection);
  EXPECT_EQ(shortcuts->GetCount(), 1);
  CString text;
  EXPECT_TRUE(shortcuts->FindDefaultAccelerator(101, text));
  EXPECT_EQ(text, CString(_T("Ctrl+O")));
  // Saved and read back by the next run; reset brings the resource's table back.
  Stop(frame);
  frame = Start();
  shortcuts = frame->Bars()->GetShortcutManager();
  shortcuts->LoadShortcuts(kSection);
  EXPECT_EQ(shortcuts->GetCount(), 1);
  shortcuts->Reset();
  EXPECT_EQ(shortcuts->GetCount(), 4);
}

TEST_F(Shortcuts, TheLastShortcutCanBeRemoved) {
  ShortcutFrame* frame = Start();
  CTKPShortcutManager* shortcuts = frame->Bars()->GetShortcutManager();
  EXPECT_FALSE(shortcuts->SetAccelerators(nullptr, 1));
  EXPECT_FALSE(shortcuts->SetAccelerators(nullptr, -1));
  EXPECT_EQ(shortcuts->GetCount(), 4);
  EXPECT_TRUE(shortcuts->SetAccelerators(nullptr, 0));
  EXPECT_EQ(shortcuts->GetCount(), 0);
  MSG key{frame->m_hWnd, WM_KEYDOWN, VK_F5, 0x003F0001, 0, {}};
  EXPECT_FALSE(shortcuts->TranslateAccelerator(frame->m_hWnd, &key));
  // Menus show no shortcut now, not the texts their captions carried.
  CString text = _T("Ctrl+Q");
  EXPECT_TRUE(shortcuts->GetMenuShortcut(101, text));
  EXPECT_TRUE(text.IsEmpty());
  // The emptied table is saved as such and stays empty in the next run.
  Stop(frame);
  frame = Start();
  shortcuts = frame->Bars()->GetShortcutManager();
  ASSERT_EQ(shortcuts->GetCount(), 4);
  shortcuts->LoadShortcuts(kSection);
  EXPECT_EQ(shortcuts->GetCount(), 0);
  // A damaged stored table does not empty ours; without a stored value ours stays too.
  shortcuts->Reset();
  const BYTE cut[] = {FVIRTKEY, 0, VK_F2};
  theApp.WriteProfileBinary(kSection, _T("Accelerators"), const_cast<BYTE*>(cut), sizeof cut);
  shortcuts->LoadShortcuts(kSection);
  EXPECT_EQ(shortcuts->GetCount(), 4);
  theApp.WriteProfileString(kSection, _T("Accelerators"), nullptr);
  shortcuts->LoadShortcuts(kSection);
  EXPECT_EQ(shortcuts->GetCount(), 4);
}

// A table of thousands of shortcuts, as the user made it, is saved and comes back whole in the next run.
TEST_F(Shortcuts, ATableOfThousandsOfShortcutsComesBack) {
  ShortcutFrame* frame = Start();
  std::vector<ACCEL> many;
  for (WORD command = 1; many.size() < 5000; ++command) {
    many.push_back(ACCEL{static_cast<BYTE>(FVIRTKEY | (command % 2 ? FCONTROL : FALT)), static_cast<WORD>(0x30 + command % 40), command});
  }
  ASSERT_TRUE(frame->Bars()->GetShortcutManager()->SetAccelerators(many.data(), static_cast<int>(many.size())));
  Stop(frame);
  frame = Start();
  frame->Bars()->GetShortcutManager()->LoadShortcuts(kSection);
  EXPECT_EQ(frame->Bars()->GetShortcutManager()->GetCount(), 5000);
}

// The program's frame is loaded from its resource, which gives it an accelerator table of its own beside
// the manager's. With every shortcut removed, no key of that table gives its command after a restart, as
// the menus show none; a stored table of other keys is the only one translated.
TEST_F(Shortcuts, RemovedShortcutsStayRemovedInAFrameLoadedWithItsOwnTable) {
  const auto loadFrame = [this] {
    auto* frame = new ShortcutFrame;
    frame->loadStored = true;
    EXPECT_TRUE(frame->LoadFrame(kShortcuts, WS_OVERLAPPEDWINDOW));
    m_frames.push_back(frame);
    return frame;
  };
  const auto translated = [](ShortcutFrame* frame, UINT key, bool control) {
    BYTE keys[256] = {};
    if (control) keys[VK_CONTROL] = 0x80;
    ::SetKeyboardState(keys);
    MSG msg{frame->m_hWnd, WM_KEYDOWN, key, 0x00010001, 0, {}};
    const BOOL done = frame->PreTranslateMessage(&msg);
    keys[VK_CONTROL] = 0;
    ::SetKeyboardState(keys);
    return done != FALSE;
  };
  ShortcutFrame* frame = Start();
  frame->Bars()->GetShortcutManager()->SetAccelerators(nullptr, 0);
  Stop(frame);
  frame = loadFrame();
  EXPECT_EQ(frame->Bars()->GetShortcutManager()->GetCount(), 0);
  EXPECT_FALSE(translated(frame, VK_F5, false));
  CString text = _T("F5");
  EXPECT_TRUE(frame->Bars()->GetShortcutManager()->GetMenuShortcut(101, text));
  EXPECT_TRUE(text.IsEmpty());
  frame->DestroyWindow();
  m_frames.pop_back();

  const ACCEL open{FVIRTKEY | FCONTROL, 'O', 101};
  theApp.WriteProfileBinary(kSection, _T("Accelerators"), reinterpret_cast<LPBYTE>(const_cast<ACCEL*>(&open)), sizeof open);
  frame = loadFrame();
  EXPECT_TRUE(translated(frame, 'O', true));
  EXPECT_FALSE(translated(frame, VK_F5, false));
}

}  // namespace
