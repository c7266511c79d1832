// The toolkit classes the frame uses, in real windows: the toolbar's buttons, their states and clicks; the
// window position and the shortcuts kept in the profile, with what a damaged profile holds left alone.
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <vector>

#include "platform/classlib/win/classlib_win.h"
#include "platform/harness/driver.h"
#include "res/resource.h"
#include "toolkit/commandbars/frame/frame_test_support.h"
#include "toolkit/commandbars/controls/tkp_control.h"
#include "toolkit/commandbars/bars/tkp_tool_bar.h"
#include "toolkit/commandbars/frame/tkp_command_bars.h"
#include "toolkit/commandbars/controls/tkp_controls.h"
#include "toolkit/commandbars/bars/tkp_menu_bar.h"
#include "toolkit/commandbars/frame/tkp_frame_wnd.h"
#include "toolkit/commandbars/state/tkp_shortcut_manager.h"
#include "toolkit/common/tk_window_pos.h"
#include "toolkit/controls/tk_button.h"

namespace {

class TestApp : public CWinApp {
 public:
  TestApp() : CWinApp(_T("Dorvane Toolkit Test")) {}
};
TestApp theApp;

const wchar_t kProfileKey[] = L"Software\\Dorvane Toolkit Stand-ins Test";

// A frame that counts the commands it gets and enables only Open.
class CountingFrame : public CTKPFrameWnd {
 public:
  std::vector<UINT> commands;
  CTKPCommandBars* Bars() {
    if (m_pCommandBars == nullptr) m_pCommandBars = tkptest::MakeCommandBars(this);
    return m_pCommandBars;
  }

 protected:
  BOOL OnCommand(WPARAM wParam, LPARAM lParam) override {
    if (lParam == 0) commands.push_back(LOWORD(wParam));
    return CTKPFrameWnd::OnCommand(wParam, lParam);
  }
  void OnOpen() {}
  void OnUpdateOpen(CCmdUI* ui) { ui->Enable(TRUE); }
  void OnUpdateOthers(CCmdUI* ui) { ui->Enable(FALSE); }
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CountingFrame, CTKPFrameWnd)
  ON_COMMAND(ID_OPEN_IMAGE, OnOpen)
  ON_UPDATE_COMMAND_UI(ID_OPEN_IMAGE, OnUpdateOpen)
  ON_UPDATE_COMMAND_UI(ID_RECOVER_SELECTED, OnUpdateOthers)
END_MESSAGE_MAP()

class ToolkitStandins : public testing::Test {
 protected:
  void SetUp() override {
    ::RegDeleteTreeW(HKEY_CURRENT_USER, kProfileKey);
    theApp.SetRegistryKey(_T("Dorvane Toolkit Stand-ins Test"));
  }
  void TearDown() override { ::RegDeleteTreeW(HKEY_CURRENT_USER, kProfileKey); }
};

TEST_F(ToolkitStandins, ToolbarShowsTheResourceButtonsWithStatesAndSendsClicks) {
  auto* frame = new CountingFrame;
  ASSERT_TRUE(frame->Create(nullptr, _T("Toolbar"), WS_OVERLAPPEDWINDOW | WS_VISIBLE, CRect(40, 40, 940, 400)));
  CTKPToolBar* bar = frame->Bars()->Add(_T("Standard"), tkpBarTop);
  ASSERT_NE(bar, nullptr);
  ASSERT_TRUE(bar->LoadToolBar(IDR_MAINFRAME));
  bar->ShowTextBelowIcons(TRUE);
  frame->RecalcLayout();
  // Seven commands, each beginning a group after the first; the captions are the second lines of their
  // strings.
  // (after them the toolbar's own expand button)
  ASSERT_EQ(bar->GetControlCount(), 8);
  EXPECT_EQ(bar->GetControl(7)->GetID(), TKP_ID_TOOLBAR_EXPAND);
  EXPECT_EQ(bar->GetControl(0)->GetID(), ID_OPEN_IMAGE);
  EXPECT_FALSE(bar->GetControl(0)->GetBeginGroup());
  EXPECT_TRUE(bar->GetControl(1)->GetBeginGroup());
  auto caption = [bar](int i) {
    CString text = bar->GetControl(i)->GetCaption();
    text.TrimLeft();
    return text;
  };
  EXPECT_STREQ(caption(0).GetString(), L"Open");
  EXPECT_STREQ(caption(3).GetString(), L"Load Snapshot");
  EXPECT_STREQ(caption(6).GetString(), L"Help");
  CRect client;
  bar->GetClientRect(client);
  EXPECT_GE(client.Height(), 32 + 13);  // the icons with their names below

  // The idle update asks the frame: Open enabled, Recover disabled, Help without a handler disabled.
  bar->OnUpdateCmdUI(frame, TRUE);
  EXPECT_TRUE(bar->GetControl(0)->GetEnabled());
  EXPECT_FALSE(bar->GetControl(1)->GetEnabled());
  EXPECT_FALSE(bar->GetControl(6)->GetEnabled());

  // A click on an enabled button sends its command; a disabled one sends nothing.
  const CRect open = bar->GetControl(0)->GetRect();
  harness::Click(bar->m_hWnd, POINT{open.left + open.Width() / 2, open.top + open.Height() / 2});
  const CRect recover = bar->GetControl(1)->GetRect();
  harness::Click(bar->m_hWnd, POINT{recover.left + recover.Width() / 2, recover.top + recover.Height() / 2});
  harness::PumpFor(200);
  EXPECT_EQ(frame->commands, std::vector<UINT>{ID_OPEN_IMAGE});
  frame->DestroyWindow();
}

TEST_F(ToolkitStandins, HiddenCommandsLeaveTheMenu) {
  auto* frame = new CountingFrame;
  ASSERT_TRUE(frame->Create(nullptr, _T("Menu"), WS_OVERLAPPEDWINDOW, CRect(40, 40, 400, 300)));
  const UINT hidden[] = {ID_EXIT};
  frame->Bars()->HideCommands(hidden, 1);
  // The menu bar takes the menu; its popups leave the hidden command out when they open.
  ASSERT_TRUE(frame->Bars()->SetMenu(_T("Menu Bar"), IDR_MAIN_MENU));
  EXPECT_EQ(::GetMenu(frame->m_hWnd), nullptr);
  CTKPControl* recovery = frame->Bars()->GetMenuBar()->GetControl(0);
  ASSERT_NE(recovery->GetCommandBar(), nullptr);
  CTKPControls* items = recovery->GetCommandBar()->GetControls();
  ASSERT_NE(items->FindControl(ID_EXIT), nullptr);
  EXPECT_TRUE(frame->Bars()->IsControlHidden(items->FindControl(ID_EXIT)));
  EXPECT_FALSE(frame->Bars()->IsControlHidden(items->FindControl(ID_OPEN_IMAGE)));
  frame->DestroyWindow();
}

TEST_F(ToolkitStandins, WindowPositionRoundTripAndDamagedValues) {
  CWnd window;
  ASSERT_TRUE(window.CreateEx(0, nullptr, _T("Placed"), WS_OVERLAPPEDWINDOW, 50, 60, 500, 400, nullptr, nullptr));
  theApp.WriteProfileString(_T("Settings"), _T("Window Position"), nullptr);
  CTKWindowPos pos;
  EXPECT_FALSE(pos.LoadWindowPos(&window));  // nothing stored
  ASSERT_TRUE(pos.SaveWindowPos(&window));
  BYTE* stored = nullptr;
  UINT size = 0;
  ASSERT_TRUE(theApp.GetProfileBinary(_T("Settings"), _T("Window Position"), &stored, &size));
  ASSERT_EQ(size, 48u);
  EXPECT_EQ(stored[4], 48);  // the stored length counts the whole value
  EXPECT_EQ(stored[12], SW_SHOWNORMAL);
  std::vector<BYTE> bytes(stored, stored + size);
  delete[] stored;
  window.MoveWindow(10, 10, 300, 200);
  CTKWindowPos again;
  ASSERT_TRUE(again.LoadWindowPos(&window));
  CRect r;
  window.GetWindowRect(r);
  EXPECT_EQ(r, CRect(50, 60, 550, 460));
  // A window closed while minimised comes back normal; a maximised one comes back maximised.
  window.ShowWindow(SW_MINIMIZE);
  ASSERT_TRUE(pos.SaveWindowPos(&window));
  window.ShowWindow(SW_RESTORE);
  ASSERT_TRUE(CTKWindowPos().LoadWindowPos(&window));
  EXPECT_FALSE(window.IsIconic());
  window.ShowWindow(SW_MAXIMIZE);
  ASSERT_TRUE(pos.SaveWindowPos(&window));
  window.ShowWindow(SW_RESTORE);
  ASSERT_TRUE(CTKWindowPos().LoadWindowPos(&window));
  EXPECT_TRUE(window.IsZoomed());
  window.ShowWindow(SW_RESTORE);
  // A value that says minimised or hidden, however it got there, opens the window normal.
  for (const BYTE show : {BYTE{SW_HIDE}, BYTE{SW_SHOWMINIMIZED}, BYTE{SW_MINIMIZE}, BYTE{SW_SHOWMINNOACTIVE}}) {
    std::vector<BYTE> minimised = bytes;
    minimised[12] = show;
    theApp.WriteProfileBinary(_T("Settings"), _T("Window Position"), minimised.data(), 48);
    CTKWindowPos loaded;
    ASSERT_TRUE(loaded.LoadWindowPos(&window));
    EXPECT_EQ(loaded.showCmd, static_cast<UINT>(SW_SHOWNORMAL)) << int{show};
    EXPECT_FALSE(window.IsIconic()) << int{show};
    EXPECT_TRUE(window.IsWindowVisible()) << int{show};
    window.ShowWindow(SW_RESTORE);
  }
  // A value shorter than the record is refused and the window left alone.
  window.MoveWindow(10, 10, 300, 200);
  theApp.WriteProfileBinary(_T("Settings"), _T("Window Position"), bytes.data(), 47);
  EXPECT_FALSE(CTKWindowPos().LoadWindowPos(&window));
  window.GetWindowRect(r);
  EXPECT_EQ(r, CRect(10, 10, 310, 210));
  // A window that does not exist is neither saved nor placed.
  CWnd none;
  EXPECT_FALSE(pos.SaveWindowPos(&none));
  EXPECT_FALSE(pos.LoadWindowPos(&none));
  window.DestroyWindow();
}

TEST_F(ToolkitStandins, WithoutAResourceTableNoShortcutsAreKept) {
  // The program has no accelerator table: its menus keep their own shortcut texts, and a table in the
  // profile is neither read nor written.
  CTKPShortcutManager keys;
  keys.SetAccelerators(IDR_MAINFRAME);
  EXPECT_EQ(keys.GetCount(), 0);
  ACCEL two[2] = {{FVIRTKEY | FCONTROL, 'O', ID_OPEN_IMAGE}, {FVIRTKEY, VK_F1, ID_HELP}};
  theApp.WriteProfileBinary(_T("CommandBars"), _T("Accelerators"), reinterpret_cast<LPBYTE>(two), sizeof two);
  keys.LoadShortcuts(_T("CommandBars"));
  EXPECT_EQ(keys.GetCount(), 0);
  CString text = _T("Ctrl+O");
  EXPECT_FALSE(keys.GetMenuShortcut(ID_OPEN_IMAGE, text));
  EXPECT_EQ(text, CString(_T("Ctrl+O")));
  theApp.WriteProfileString(_T("CommandBars"), _T("Accelerators"), nullptr);
  keys.SaveShortcuts(_T("CommandBars"));
  BYTE* data = nullptr;
  UINT size = 0;
  EXPECT_FALSE(theApp.GetProfileBinary(_T("CommandBars"), _T("Accelerators"), &data, &size));
  delete[] data;
}

}  // namespace
