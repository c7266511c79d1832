// Customizing in a test frame that handles the customize command: the dialog's four pages on the live
// bars, a command dragged from the commands page onto a toolbar, controls moved and copied between bars,
// dropped back onto themselves and dragged off, a new toolbar named, renamed, saved and made again in a new
// frame; commandbars_customize.png shows the dialog open over the frame with a control selected.
#include <windows.h>

#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/classlib/win/classlib_win.h"
#include "platform/harness/driver.h"
#include "platform/harness/scripted_seams.h"
#include "res/resource.h"
#include "res/toolkit_resource.h"
#include "toolkit/commandbars/frame/frame_test_support.h"
#include "toolkit/commandbars/frame/modal_steps_test_support.h"
#include "toolkit/commandbars/frame/tkp_command_bars.h"
#include "toolkit/commandbars/controls/tkp_control.h"
#include "toolkit/commandbars/controls/tkp_control_edit.h"
#include "toolkit/commandbars/controls/tkp_control_popup.h"
#include "toolkit/commandbars/controls/tkp_control_toolbars_list.h"
#include "toolkit/commandbars/bars/tkp_popup_bar.h"
#include "toolkit/commandbars/controls/tkp_controls.h"
#include "toolkit/commandbars/customize/tkp_customize_logic.h"
#include "toolkit/commandbars/customize/tkp_customize_sheet.h"
#include "toolkit/commandbars/paint/tkp_paint_manager.h"
#include "toolkit/commandbars/frame/tkp_frame_wnd.h"
#include "toolkit/commandbars/state/tkp_shortcut_manager.h"
#include "toolkit/commandbars/bars/tkp_tool_bar.h"
#include "toolkit/common/tkp_image_manager.h"
#include "toolkit/common/tkp_mouse_manager.h"

namespace {

class TestApp : public CWinApp {
 public:
  TestApp() : CWinApp(_T("Dorvane Customize Test")) {}
};
TestApp theApp;

// A frame with command bars that never customizes, as the program's.
class PlainFrame : public CTKPFrameWnd {
 public:
  CTKPCommandBars* Bars() {
    if (m_pCommandBars == nullptr) m_pCommandBars = tkptest::MakeCommandBars(this);
    return m_pCommandBars;
  }
};

// The test frame: it handles the customize command.
class CustomizeFrame : public PlainFrame {
 public:
  CTKPCustomizeSheet* sheet = nullptr;
  CTKPToolBar* standard = nullptr;
  void CloseSheet() {
    if (sheet == nullptr) return;
    if (::IsWindow(sheet->m_hWnd)) sheet->DestroyWindow();
    delete sheet;
    sheet = nullptr;
  }

 protected:
  // The customize dialog, modeless so that the test can drive it; its categories are the Standard
  // toolbar's commands and a few more.
  afx_msg void OnCustomize() {
    if (sheet != nullptr) return;
    sheet = new CTKPCustomizeSheet(Bars());
    CTKPControls* builtIn = standard->GetControls()->Duplicate();
    sheet->AddCategory(_T("Standard"), builtIn);
    builtIn->InternalRelease();
    CTKPControls* more = builtIn->Duplicate();
    more->Add(tkpControlButton, ID_APP_ABOUT)->SetCaption(CString(_T("&About")));
    sheet->AddCategory(TKPCustomizeText(IDS_TK_ALL_COMMANDS), more);
    more->InternalRelease();
    sheet->Create(this);
  }
  afx_msg void OnDestroy() {
    CloseSheet();
    CTKPFrameWnd::OnDestroy();
  }
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CustomizeFrame, PlainFrame)
  ON_COMMAND(TKP_ID_CUSTOMIZE, OnCustomize)
  ON_WM_DESTROY()
END_MESSAGE_MAP()

// Modal loops (the drag, the new-toolbar dialog) run the steps queued here one message at a time.
using tkpsteps::g_steps;
using tkpsteps::Probe;

void Step(std::function<void()> step) {
  g_steps.push_back([step] {
    step();
    ::PostMessageW(Probe(), WM_APP, 0, 0);
  });
}

// A modal loop shows its window once it first goes idle: a step that waits for something tries again
// from a timer (a posted message would keep the loop busy), a bounded number of times.
std::function<void()> WaitingStep(const std::function<bool()>& ready, const std::function<void()>& step, int tries) {
  return [ready, step, tries] {
    if (!ready() && tries > 0) {
      g_steps.push_front(WaitingStep(ready, step, tries - 1));
      ::SetTimer(Probe(), 1, 20, nullptr);
      return;
    }
    step();
    ::PostMessageW(Probe(), WM_APP, 0, 0);
  };
}

void StepWhen(const std::function<bool()>& ready, const std::function<void()>& step) {
  g_steps.push_back(WaitingStep(ready, step, 100));
}

void StepWithDialog(const std::wstring& title, const std::function<void(HWND)>& step) {
  StepWhen([title] { return harness::FindThreadWindow(title) != nullptr; },
           [title, step] {
             if (HWND dlg = harness::FindThreadWindow(title)) step(dlg);
           });
}

LPARAM ClientPoint(HWND hWnd, CPoint screen) {
  POINT local{screen.x, screen.y};
  ::ScreenToClient(hWnd, &local);
  return MAKELPARAM(static_cast<short>(local.x), static_cast<short>(local.y));
}

// Presses the window at the screen point, moves through points worked out as the drag goes (keys: MK_
// flags besides the left button) and lets go at the last.
void DragVia(HWND hWnd, CPoint from, const std::vector<std::function<CPoint()>>& path, WPARAM keys = 0) {
  auto end = std::make_shared<CPoint>(from);
  for (const std::function<CPoint()>& where : path) {
    Step([hWnd, where, keys, end] {
      *end = where();
      ::PostMessageW(hWnd, WM_MOUSEMOVE, MK_LBUTTON | keys, ClientPoint(hWnd, *end));
    });
  }
  Step([hWnd, end, keys] { ::PostMessageW(hWnd, WM_LBUTTONUP, keys, ClientPoint(hWnd, *end)); });
  ::PostMessageW(Probe(), WM_APP, 0, 0);
  ::SendMessageW(hWnd, WM_LBUTTONDOWN, MK_LBUTTON, ClientPoint(hWnd, from));
  g_steps.clear();
  harness::PumpMessages();
}

void Drag(HWND hWnd, CPoint from, const std::vector<CPoint>& path, WPARAM keys = 0) {
  std::vector<std::function<CPoint()>> fixed;
  for (CPoint pt : path) fixed.push_back([pt] { return pt; });
  DragVia(hWnd, from, fixed, keys);
}

CPoint ScreenCentre(CTKPCommandBar* bar, CTKPControl* control) {
  CRect rc = control->GetRect();
  bar->ClientToScreen(rc);
  return rc.CenterPoint();
}

// The bar's last control that the user placed (not its expand button).
CTKPControl* LastControl(CTKPCommandBar* bar) {
  for (int i = bar->GetControlCount() - 1; i >= 0; --i) {
    CTKPControl* control = bar->GetControl(i);
    if (control->IsVisible() && !control->IsTemporary()) return control;
  }
  return nullptr;
}

// Screen point just right of the bar's last control.
CPoint AfterLast(CTKPCommandBar* bar) {
  CRect rc = LastControl(bar)->GetRect();
  bar->ClientToScreen(rc);
  return CPoint(rc.right - 2, rc.CenterPoint().y);
}

std::vector<int> Ids(CTKPCommandBar* bar) {
  std::vector<int> ids;
  for (int i = 0; i < bar->GetControlCount(); ++i) {
    CTKPControl* control = bar->GetControl(i);
    if (control->IsVisible() && !control->IsTemporary()) ids.push_back(control->GetID());
  }
  return ids;
}

// The controls a copy of the bar's collection keeps (not the temporary ones, such as its expand button).
int Lasting(CTKPCommandBar* bar) {
  int n = 0;
  for (int i = 0; i < bar->GetControlCount(); ++i) n += bar->GetControl(i)->IsTemporary() ? 0 : 1;
  return n;
}

int Count(const std::vector<int>& ids, int id) {
  int n = 0;
  for (int v : ids) n += v == id ? 1 : 0;
  return n;
}

// The user picks category n on the commands page.
void ChooseCategory(CTKPCustomizeCommandsPage& page, int n) {
  HWND categories = harness::Control(page.m_hWnd, IDC_TK_COMMANDS_CATEGORIES);
  ::SendMessageW(categories, LB_SETCURSEL, static_cast<WPARAM>(n), 0);
  page.SendMessage(WM_COMMAND, MAKEWPARAM(IDC_TK_COMMANDS_CATEGORIES, LBN_SELCHANGE), reinterpret_cast<LPARAM>(categories));
}

class Customize : public testing::Test {
 protected:
  void SetUp() override {
    theApp.SetRegistryKey(_T("Dorvane Customize Test"));
    Open();
  }
  void Open() {
    frame = new CustomizeFrame;
    ASSERT_TRUE(frame->Create(nullptr, _T("Customize"), WS_OVERLAPPEDWINDOW | WS_VISIBLE, CRect(0, 0, 900, 600)));
    frame->SetForegroundWindow();
    frame->standard = frame->Bars()->Add(_T("Standard"), tkpBarTop);
    ASSERT_NE(frame->standard, nullptr);
    ASSERT_TRUE(frame->standard->LoadToolBar(IDR_MAINFRAME));
    tools = frame->Bars()->Add(_T("Tools"), tkpBarTop);
    const UINT ids[] = {ID_FIND_FILES, 0, ID_SETTINGS};
    tools->SetButtons(ids, 3);
    frame->Bars()->GetShortcutManager()->SetAccelerators(IDR_MAINFRAME);
    frame->RecalcLayout();
    harness::PumpMessages();
  }
  void OpenSheet() {
    frame->SendMessage(WM_COMMAND, TKP_ID_CUSTOMIZE);
    ASSERT_NE(frame->sheet, nullptr);
    frame->sheet->SetWindowPos(nullptr, 430, 230, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    frame->RecalcLayout();
    harness::PumpMessages();
  }
  void TearDown() override {
    if (frame != nullptr && ::IsWindow(frame->m_hWnd)) frame->DestroyWindow();
    harness::PumpMessages();
  }
  CTKPCommandBars* Bars() { return frame->Bars(); }
  // A "More" drop-down button at the end of Tools whose menu holds Find Files and Settings.
  CTKPControlPopup* AddMoreMenu() {
    auto* more = static_cast<CTKPControlPopup*>(tools->GetControls()->Add(tkpControlButtonPopup, ID_APP_ABOUT));
    more->SetCaption(CString(_T("More")));
    CTKPPopupBar* menu = CTKPPopupBar::CreatePopupBar(Bars());
    menu->GetControls()->Add(tkpControlButton, ID_FIND_FILES)->SetCaption(CString(_T("&Find Files")));
    menu->GetControls()->Add(tkpControlButton, ID_SETTINGS)->SetCaption(CString(_T("&Settings")));
    more->SetCommandBar(menu);
    menu->InternalRelease();
    frame->RecalcLayout();
    return more;
  }

  CustomizeFrame* frame = nullptr;
  CTKPToolBar* tools = nullptr;
};

TEST_F(Customize, TheDialogOpensCustomizeModeAndItsPagesWorkOnTheLiveBars) {
  EXPECT_TRUE(Bars()->IsCustomizeAvail());
  OpenSheet();
  CTKPCustomizeSheet* sheet = frame->sheet;
  EXPECT_TRUE(Bars()->IsCustomizeMode());
  EXPECT_EQ(harness::Text(sheet->m_hWnd), L"Customize");
  EXPECT_EQ(sheet->GetPageCount(), 4);

  // Toolbars: one line per toolbar, checked while shown; a built-in one resets, a custom one renames.
  CTKPCustomizeToolbarsPage& toolbars = sheet->GetToolbarsPage();
  HWND list = toolbars.GetList().m_hWnd;
  EXPECT_EQ(harness::Items(list), (std::vector<std::wstring>{L"Standard", L"Tools"}));
  EXPECT_TRUE(toolbars.GetList().GetCheck(0));
  toolbars.GetList().SetCurSel(0);
  toolbars.OnSelChange();
  EXPECT_TRUE(::IsWindowEnabled(harness::Control(toolbars.m_hWnd, IDC_TK_TOOLBARS_RESET)));
  EXPECT_FALSE(::IsWindowEnabled(harness::Control(toolbars.m_hWnd, IDC_TK_TOOLBARS_RENAME)));
  EXPECT_FALSE(::IsWindowEnabled(harness::Control(toolbars.m_hWnd, IDC_TK_TOOLBARS_DELETE)));
  // A click on the check box hides the toolbar; a toolbar that may not be closed stays checked.
  CRect line;
  toolbars.GetList().GetItemRect(1, line);
  toolbars.GetList().SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(6, line.CenterPoint().y));
  toolbars.GetList().SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(6, line.CenterPoint().y));
  EXPECT_FALSE(tools->IsVisible());
  EXPECT_FALSE(toolbars.GetList().GetCheck(1));
  toolbars.GetList().SendMessage(WM_KEYDOWN, VK_SPACE, 0);
  EXPECT_TRUE(tools->IsVisible());
  tools->m_bCloseable = FALSE;
  toolbars.GetList().SendMessage(WM_KEYDOWN, VK_SPACE, 0);
  EXPECT_TRUE(tools->IsVisible());
  EXPECT_TRUE(toolbars.GetList().GetCheck(1));
  tools->m_bCloseable = TRUE;

  // Commands: the categories the frame gave, the commands of the chosen one.
  sheet->SetActivePage(1);
  harness::PumpMessages();
  CTKPCustomizeCommandsPage& commands = sheet->GetCommandsPage();
  EXPECT_EQ(harness::Items(harness::Control(commands.m_hWnd, IDC_TK_COMMANDS_CATEGORIES)),
            (std::vector<std::wstring>{L"Standard", L"All Commands"}));
  EXPECT_EQ(commands.GetCommandList().GetCount(), Lasting(frame->standard));

  // Keyboard: Ctrl+K given to the selected command shows in its list and in the shortcut table.
  sheet->SetActivePage(2);
  harness::PumpMessages();
  CTKPCustomizeKeyboardPage& keyboard = sheet->GetKeyboardPage();
  EXPECT_GT(keyboard.GetCommandList().GetCount(), 0);
  EXPECT_FALSE(::IsWindowEnabled(harness::Control(keyboard.m_hWnd, IDC_TK_KEYS_ASSIGN)));
  keyboard.SetCapturedKey(FVIRTKEY | FCONTROL, 'K');
  EXPECT_EQ(harness::Text(harness::Control(keyboard.m_hWnd, IDC_TK_KEYS_NEW)), L"Ctrl+K");
  EXPECT_TRUE(::IsWindowEnabled(harness::Control(keyboard.m_hWnd, IDC_TK_KEYS_ASSIGN)));
  keyboard.OnAssign();
  keyboard.SetCapturedKey(FVIRTKEY | FCONTROL, 'J');
  keyboard.OnAssign();
  const std::vector<std::wstring> keys = harness::Items(keyboard.GetKeyList().m_hWnd);
  EXPECT_NE(std::find(keys.begin(), keys.end(), L"Ctrl+K"), keys.end());
  keyboard.GetKeyList().SetCurSel(static_cast<int>(std::find(keys.begin(), keys.end(), L"Ctrl+K") - keys.begin()));
  keyboard.OnKeysChange();
  EXPECT_TRUE(::IsWindowEnabled(harness::Control(keyboard.m_hWnd, IDC_TK_KEYS_REMOVE)));
  keyboard.OnRemove();
  const std::vector<std::wstring> left = harness::Items(keyboard.GetKeyList().m_hWnd);
  EXPECT_EQ(std::find(left.begin(), left.end(), L"Ctrl+K"), left.end());
  EXPECT_NE(std::find(left.begin(), left.end(), L"Ctrl+J"), left.end());
  // A plain Escape typed into the field is no shortcut unless the manager allows it.
  HWND field = harness::Control(keyboard.m_hWnd, IDC_TK_KEYS_NEW);
  keyboard.SetCapturedKey(FVIRTKEY | FCONTROL, 'K');
  ::SendMessageW(field, WM_KEYDOWN, VK_ESCAPE, 0x00010001);
  EXPECT_EQ(harness::Text(field), L"Ctrl+K");
  Bars()->GetShortcutManager()->m_bAllowEscapeShortcut = TRUE;
  ::SendMessageW(field, WM_KEYDOWN, VK_ESCAPE, 0x00010001);
  EXPECT_NE(harness::Text(field), L"Ctrl+K");
  EXPECT_FALSE(harness::Text(field).empty());
  Bars()->GetShortcutManager()->m_bAllowEscapeShortcut = FALSE;

  // Options: each box writes its option at once; the shortcut tips follow the tips.
  sheet->SetActivePage(3);
  harness::PumpMessages();
  HWND options = sheet->GetOptionsPage().m_hWnd;
  EXPECT_EQ(harness::Items(harness::Control(options, IDC_TK_MENU_ANIMATION)).size(), 6u);
  EXPECT_TRUE(::IsWindowEnabled(harness::Control(options, IDC_TK_TOOLTIP_SHORTCUTS)));
  harness::ClickCentre(harness::Control(options, IDC_TK_TOOLTIPS));
  harness::PumpMessages();
  EXPECT_FALSE(Bars()->GetOptions()->bToolBarScreenTips);
  EXPECT_FALSE(::IsWindowEnabled(harness::Control(options, IDC_TK_TOOLTIP_SHORTCUTS)));

  frame->CloseSheet();
  EXPECT_FALSE(Bars()->IsCustomizeMode());
}

// The commands list draws each entry as the theme draws that control: an edit with its box, a combo box
// with its arrow, a split button with its divider, at the theme's entry height, selected or not. The
// oracle is the theme's own drawing of the same entry into a bitmap.
TEST_F(Customize, TheCommandsListDrawsItsEntriesAsEachThemeDoes) {
  const int kept = CTKPPaintManager::GetCurrentOrDefault()->GetCurrentTheme();
  for (int theme : {tkpThemeDefault, tkpThemeFlat, tkpThemeGradient, tkpThemeNative, tkpThemeSoftGradient}) {
    SCOPED_TRACE(theme);
    CTKPPaintManager::SetTheme(theme);
    OpenSheet();
    frame->sheet->SetActivePage(1);
    harness::PumpMessages();
    CTKPCustomizeCommandsPage& page = frame->sheet->GetCommandsPage();
    CTKPControls* fields = frame->sheet->GetCategories()[1].pControls;
    fields->Add(tkpControlEdit, ID_FIND_FILES, CString(), 0)->SetCaption(CString(_T("Find")));
    fields->Add(tkpControlComboBox, ID_SETTINGS, CString(), 1)->SetCaption(CString(_T("Settings")));
    fields->Add(tkpControlSplitButtonPopup, ID_HELP, CString(), 2)->SetCaption(CString(_T("Help")));
    // Captions from the commands' prompts, which keep the spaces around their "\n".
    fields->Add(tkpControlButton, ID_LOAD_SNAPSHOT, CString(), 3);
    fields->Add(tkpControlButton, ID_HELP, CString(), 4);
    ChooseCategory(page, 1);
    CTKPCustomizeCommandList& list = page.GetCommandList();
    list.SetCurSel(0);
    list.UpdateWindow();
    harness::PumpMessages();

    CTKPPaintManager* paint = Bars()->GetPaintManager();
    CRect client;
    list.GetClientRect(client);
    CClientDC listDC(&list);
    CDC expected;
    expected.CreateCompatibleDC(&listDC);
    CBitmap bitmap;
    bitmap.CreateCompatibleBitmap(&listDC, client.Width(), client.Height());
    CBitmap* old = expected.SelectObject(&bitmap);
    for (int line = 0; line < 3; ++line) {
      CTKPControl* control = fields->GetAt(line);
      CRect item;
      list.GetItemRect(line, item);
      EXPECT_EQ(item.Height(), paint->DrawListBoxControl(&expected, control, item, FALSE, FALSE, Bars()).cy);
      paint->DrawListBoxControl(&expected, control, item, line == 0, TRUE, Bars());
      const std::vector<COLORREF> shown = harness::ClientPixels(list.m_hWnd, item);
      int same = 0;
      for (int y = item.top; y < item.bottom; ++y) {
        for (int x = item.left; x < item.right; ++x) {
          same += shown[(y - item.top) * item.Width() + (x - item.left)] == expected.GetPixel(x, y) ? 1 : 0;
        }
      }
      EXPECT_GE(same * 100, static_cast<int>(shown.size()) * 99) << "entry " << line;
    }
    // The fields' small boxes stand at the right of the entries, apart from the background.
    CRect edit;
    list.GetItemRect(1, edit);
    const int y = edit.CenterPoint().y;
    EXPECT_NE(harness::ClientPixel(list.m_hWnd, edit.right - 56, y), harness::ClientPixel(list.m_hWnd, edit.right - 60, y));
    expected.SelectObject(old);
    if (theme == tkpThemeFlat) harness::CaptureWindow(page.m_hWnd, "customize_commands_list");
    frame->CloseSheet();
    harness::PumpMessages();
  }
  CTKPPaintManager::SetTheme(kept);
}

TEST_F(Customize, ACommandDraggedFromTheCommandsPageLandsOnAToolbar) {
  OpenSheet();
  frame->sheet->SetActivePage(1);
  harness::PumpMessages();
  CTKPCustomizeCommandList& list = frame->sheet->GetCommandsPage().GetCommandList();
  CRect first;
  list.GetItemRect(0, first);
  list.ClientToScreen(first);
  const int id = frame->standard->GetControl(0)->GetID();
  const int before = tools->GetControlCount();
  Drag(list.m_hWnd, first.CenterPoint(), {CPoint(first.CenterPoint().x + 3, first.CenterPoint().y), AfterLast(tools)});
  ASSERT_EQ(tools->GetControlCount(), before + 1);
  EXPECT_EQ(Ids(tools).back(), id);
  EXPECT_EQ(Bars()->GetDragControl(), LastControl(tools));
  // The command stays in the list and on Standard.
  EXPECT_EQ(list.GetCount(), Lasting(frame->standard));
  EXPECT_EQ(Count(Ids(frame->standard), id), 1);
  // Let go off every bar: nothing happens.
  Drag(list.m_hWnd, first.CenterPoint(), {CPoint(first.CenterPoint().x + 3, first.CenterPoint().y + 3)});
  EXPECT_EQ(tools->GetControlCount(), before + 1);
}

TEST_F(Customize, ControlsMoveAndCopyBetweenBarsAndStayWhenDroppedOnThemselves) {
  OpenSheet();
  CTKPToolBar* standard = frame->standard;
  CTKPControl* find = standard->GetControl(standard->FindControl(0, ID_FIND_FILES, tkpControlButton));
  const int standardBefore = static_cast<int>(Ids(standard).size());
  // Moved: it leaves Standard and lands after Tools' last button.
  Drag(standard->m_hWnd, ScreenCentre(standard, standard->GetControl(0)), {AfterLast(tools)});
  const int moved = ID_OPEN_IMAGE;
  EXPECT_EQ(Count(Ids(standard), moved), 0);
  EXPECT_EQ(Count(Ids(tools), moved), 1);
  EXPECT_EQ(static_cast<int>(Ids(standard).size()), standardBefore - 1);
  EXPECT_EQ(Ids(tools).back(), moved);

  // With Ctrl held it is copied: both keep one.
  Drag(standard->m_hWnd, ScreenCentre(standard, find), {AfterLast(tools)}, MK_CONTROL);
  EXPECT_EQ(Count(Ids(standard), ID_FIND_FILES), 1);
  EXPECT_EQ(Count(Ids(tools), ID_FIND_FILES), 2);

  // Dropped back onto itself 3 pixels away: nothing changes and nothing is taken away.
  const std::vector<int> toolsIds = Ids(tools);
  CTKPControl* last = LastControl(tools);
  last->SetBeginGroup(FALSE);
  const CPoint centre = ScreenCentre(tools, last);
  Drag(tools->m_hWnd, centre, {CPoint(centre.x + 3, centre.y)});
  EXPECT_EQ(Ids(tools), toolsIds);
  EXPECT_FALSE(last->GetBeginGroup());
  // 10 pixels to its right it begins a group, still in its place.
  Drag(tools->m_hWnd, centre, {CPoint(centre.x + 10, centre.y)});
  EXPECT_EQ(Ids(tools), toolsIds);
  EXPECT_TRUE(LastControl(tools)->GetBeginGroup());

  // Escape cancels; dragged off every bar the control is deleted.
  CRect client;
  frame->GetClientRect(client);
  frame->ClientToScreen(client);
  const CPoint nowhere(client.left + 200, client.bottom - 60);
  last = LastControl(tools);
  Drag(tools->m_hWnd, ScreenCentre(tools, last), {nowhere});
  EXPECT_EQ(Ids(tools).size(), toolsIds.size() - 1);
  EXPECT_EQ(Bars()->GetDragControl(), nullptr);
}

// Held over a popup button, a dragged control opens the button's popup and lands inside it; the popup stays
// open and shows it. The popup button dragged over itself opens nothing.
TEST_F(Customize, AControlDraggedOverAPopupButtonOpensThePopupAndLandsInside) {
  CTKPControlPopup* more = AddMoreMenu();
  CTKPPopupBar* menu = static_cast<CTKPPopupBar*>(more->GetCommandBar());
  OpenSheet();
  CTKPToolBar* standard = frame->standard;
  const CPoint over = ScreenCentre(tools, more);
  // Below the popup's last item, once the popup shows.
  auto intoMenu = [menu](int dx) {
    return [menu, dx] {
      CRect rc(0, 0, 0, 0);
      if (menu->GetSafeHwnd() != nullptr) menu->GetWindowRect(rc);
      return CPoint(rc.CenterPoint().x + dx, rc.bottom - 5);
    };
  };
  bool openedDuringDrag = false;
  DragVia(standard->m_hWnd, ScreenCentre(standard, standard->GetControl(0)),
          {[over] { return over; }, [over, &openedDuringDrag, menu] {
             openedDuringDrag = menu->GetSafeHwnd() != nullptr && menu->IsWindowVisible();
             return CPoint(over.x + 1, over.y);
           },
           intoMenu(0), intoMenu(1), intoMenu(2)});
  EXPECT_TRUE(openedDuringDrag);
  EXPECT_EQ(Ids(menu), (std::vector<int>{ID_FIND_FILES, ID_SETTINGS, ID_OPEN_IMAGE}));
  EXPECT_EQ(Count(Ids(standard), ID_OPEN_IMAGE), 0);  // moved, not copied
  ASSERT_NE(menu->GetSafeHwnd(), nullptr);
  EXPECT_TRUE(menu->IsTrackingMode());
  EXPECT_EQ(Bars()->GetDragControl(), menu->GetControl(2));
  harness::PumpFor(100);
  harness::CaptureThreadWindows("commandbars_customize_drop_into_popup");

  Bars()->ClosePopups();
  DragVia(tools->m_hWnd, over, {[over] { return CPoint(over.x + 2, over.y); }});
  EXPECT_EQ(menu->GetSafeHwnd(), nullptr);
  EXPECT_EQ(Ids(menu).size(), 3u);
}

// A control dragged off its bar leaves its separator to the next control; when the first control goes,
// the new first control shows none.
TEST_F(Customize, AControlTakenOffItsBarLeavesItsSeparatorBehind) {
  tools->GetControls()->Add(tkpControlButton, ID_HELP);
  frame->RecalcLayout();
  OpenSheet();
  CTKPControl* settings = tools->GetControl(tools->FindControl(0, ID_SETTINGS, tkpControlButton));
  ASSERT_TRUE(settings->GetBeginGroup());
  CRect client;
  frame->GetClientRect(client);
  frame->ClientToScreen(client);
  const CPoint nowhere(client.left + 200, client.bottom - 60);
  Drag(tools->m_hWnd, ScreenCentre(tools, settings), {nowhere});
  ASSERT_EQ(Ids(tools), (std::vector<int>{ID_FIND_FILES, ID_HELP}));
  CTKPControl* help = tools->GetControl(1);
  EXPECT_TRUE(help->GetBeginGroup());
  Drag(tools->m_hWnd, ScreenCentre(tools, tools->GetControl(0)), {nowhere});
  ASSERT_EQ(Ids(tools), (std::vector<int>{ID_HELP}));
  EXPECT_FALSE(tools->GetControl(0)->GetBeginGroup());
}

// A control that may only go into menus (the toolbars list) cannot land on a toolbar, but held over a
// toolbar's popup button it opens the button's menu and lands in it.
TEST_F(Customize, AMenuOnlyControlReachesAMenuThroughItsButton) {
  auto* more = static_cast<CTKPControlPopup*>(tools->GetControls()->Add(tkpControlButtonPopup, ID_APP_ABOUT));
  more->SetCaption(CString(_T("More")));
  CTKPPopupBar* menu = CTKPPopupBar::CreatePopupBar(Bars());
  menu->GetControls()->Add(tkpControlButton, ID_FIND_FILES)->SetCaption(CString(_T("&Find Files")));
  more->SetCommandBar(menu);
  menu->InternalRelease();
  frame->RecalcLayout();
  OpenSheet();
  frame->sheet->SetActivePage(1);
  harness::PumpMessages();
  CTKPCustomizeCommandsPage& page = frame->sheet->GetCommandsPage();
  CTKPControls* all = frame->sheet->GetCategories()[1].pControls;
  all->Add(new CTKPControlToolbars, TKP_ID_TOOLBARLIST, CString(), 0)->SetCaption(CString(_T("Toolbars")));
  ChooseCategory(page, 1);
  CTKPCustomizeCommandList& list = page.GetCommandList();
  CRect first;
  list.GetItemRect(0, first);
  list.ClientToScreen(first);
  const int toolsBefore = tools->GetControlCount();
  const CPoint over = ScreenCentre(tools, more);
  bool openedDuringDrag = false;
  auto intoMenu = [menu](int dx) {
    return [menu, dx] {
      CRect rc(0, 0, 0, 0);
      if (menu->GetSafeHwnd() != nullptr) menu->GetWindowRect(rc);
      return CPoint(rc.CenterPoint().x + dx, rc.bottom - 5);
    };
  };
  DragVia(list.m_hWnd, first.CenterPoint(),
          {[first] { return CPoint(first.CenterPoint().x + 3, first.CenterPoint().y); }, [over] { return over; },
           [over, &openedDuringDrag, menu] {
             openedDuringDrag = menu->GetSafeHwnd() != nullptr && menu->IsWindowVisible();
             return CPoint(over.x + 1, over.y);
           },
           intoMenu(0), intoMenu(1), intoMenu(2)});
  EXPECT_TRUE(openedDuringDrag);
  EXPECT_EQ(Ids(menu), (std::vector<int>{ID_FIND_FILES, TKP_ID_TOOLBARLIST}));
  EXPECT_EQ(tools->GetControlCount(), toolsBefore);
  Bars()->ClosePopups();
}

TEST_F(Customize, APressOpensAPopupsMenuWhichStaysForItsItemsUntilTheButtonIsPressedAgain) {
  auto* more = static_cast<CTKPControlPopup*>(tools->GetControls()->Add(tkpControlButtonPopup, ID_APP_ABOUT));
  more->SetCaption(CString(_T("More")));
  CTKPPopupBar* menu = CTKPPopupBar::CreatePopupBar(Bars());
  menu->GetControls()->Add(tkpControlButton, ID_FIND_FILES)->SetCaption(CString(_T("&Find Files")));
  auto* sub = static_cast<CTKPControlPopup*>(menu->GetControls()->Add(tkpControlPopup, 0));
  sub->SetCaption(CString(_T("&Views")));
  CTKPPopupBar* views = CTKPPopupBar::CreatePopupBar(Bars());
  views->GetControls()->Add(tkpControlButton, ID_SETTINGS)->SetCaption(CString(_T("&Settings")));
  sub->SetCommandBar(views);
  views->InternalRelease();
  more->SetCommandBar(menu);
  menu->InternalRelease();
  frame->RecalcLayout();
  OpenSheet();
  const CPoint over = ScreenCentre(tools, more);
  // Pressed and let go where it was pressed: the menu shows, so that its items can be customized too.
  Drag(tools->m_hWnd, over, {});
  ASSERT_NE(menu->GetSafeHwnd(), nullptr);
  EXPECT_TRUE(menu->IsWindowVisible());
  EXPECT_TRUE(more->IsPopupOpen());
  EXPECT_EQ(Bars()->GetDragControl(), more);
  // A press on an item of the open menu selects it for customizing; the menu stays.
  CTKPControl* find = menu->GetControl(0);
  Drag(menu->m_hWnd, ScreenCentre(menu, find), {});
  EXPECT_EQ(Bars()->GetDragControl(), find);
  ASSERT_NE(menu->GetSafeHwnd(), nullptr);
  EXPECT_TRUE(menu->IsWindowVisible());
  EXPECT_TRUE(more->IsPopupOpen());
  // A sub-menu item opens its sub-menu beside the menu.
  Drag(menu->m_hWnd, ScreenCentre(menu, sub), {});
  EXPECT_EQ(Bars()->GetDragControl(), sub);
  EXPECT_TRUE(sub->IsPopupOpen());
  EXPECT_TRUE(views->GetSafeHwnd() != nullptr && views->IsWindowVisible());
  EXPECT_TRUE(menu->GetSafeHwnd() != nullptr && menu->IsWindowVisible());
  harness::PumpFor(100);
  harness::CaptureThreadWindows("commandbars_customize_menu_open");
  Drag(tools->m_hWnd, over, {});
  EXPECT_FALSE(more->IsPopupOpen());
  EXPECT_TRUE(menu->GetSafeHwnd() == nullptr || !menu->IsWindowVisible());
  EXPECT_EQ(Bars()->GetDragControl(), more);
}

// A menu opened before the drag began takes drops like one the drag opens: its own items move inside it,
// and a command from the commands page lands in it.
TEST_F(Customize, AMenuOpenBeforeTheDragTakesItsOwnItemsAndNewCommands) {
  CTKPControlPopup* more = AddMoreMenu();
  CTKPPopupBar* menu = static_cast<CTKPPopupBar*>(more->GetCommandBar());
  OpenSheet();
  Drag(tools->m_hWnd, ScreenCentre(tools, more), {});
  ASSERT_NE(menu->GetSafeHwnd(), nullptr);
  ASSERT_TRUE(menu->IsWindowVisible());
  auto belowLast = [menu](int dx) {
    return [menu, dx] {
      CRect rc(0, 0, 0, 0);
      if (menu->GetSafeHwnd() != nullptr) menu->GetWindowRect(rc);
      return CPoint(rc.CenterPoint().x + dx, rc.bottom - 5);
    };
  };
  const CPoint find = ScreenCentre(menu, menu->GetControl(0));
  DragVia(menu->m_hWnd, find, {[find] { return CPoint(find.x, find.y + 4); }, belowLast(0), belowLast(1)});
  EXPECT_EQ(Ids(menu), (std::vector<int>{ID_SETTINGS, ID_FIND_FILES}));
  ASSERT_NE(menu->GetSafeHwnd(), nullptr);
  EXPECT_TRUE(menu->IsWindowVisible());

  frame->sheet->SetActivePage(1);
  harness::PumpMessages();
  ASSERT_NE(menu->GetSafeHwnd(), nullptr);
  CTKPCustomizeCommandList& list = frame->sheet->GetCommandsPage().GetCommandList();
  CRect first;
  list.GetItemRect(0, first);
  list.ClientToScreen(first);
  const int id = frame->standard->GetControl(0)->GetID();
  DragVia(list.m_hWnd, first.CenterPoint(),
          {[first] { return CPoint(first.CenterPoint().x + 3, first.CenterPoint().y); }, belowLast(0), belowLast(1)});
  EXPECT_EQ(Ids(menu), (std::vector<int>{ID_SETTINGS, ID_FIND_FILES, id}));
  Bars()->ClosePopups();
}

TEST_F(Customize, AnAltPressDragsAControlWithoutTheDialog) {
  CTKPToolBar* standard = frame->standard;
  BYTE keys[256];
  ::GetKeyboardState(keys);
  keys[VK_MENU] = 0x80;
  ::SetKeyboardState(keys);
  Drag(standard->m_hWnd, ScreenCentre(standard, standard->GetControl(0)), {AfterLast(tools)});
  keys[VK_MENU] = 0;
  ::SetKeyboardState(keys);
  EXPECT_EQ(Count(Ids(standard), ID_OPEN_IMAGE), 0);
  EXPECT_EQ(Ids(tools).back(), ID_OPEN_IMAGE);
  EXPECT_FALSE(Bars()->IsCustomizeMode());
  // Without Alt a press is an ordinary click: nothing moves.
  const std::vector<int> before = Ids(standard);
  Drag(standard->m_hWnd, ScreenCentre(standard, standard->GetControl(0)), {AfterLast(tools)});
  EXPECT_EQ(Ids(standard), before);
}

TEST_F(Customize, ContextMenuCommandsChangeTheSelectedControl) {
  OpenSheet();
  CTKPControl* control = tools->GetControl(tools->FindControl(0, ID_SETTINGS, tkpControlButton));
  Bars()->SetDragControl(control);
  CTKPCustomizeSheet* sheet = frame->sheet;
  EXPECT_TRUE(control->GetBeginGroup());
  EXPECT_TRUE(sheet->ExecuteControlCommand(ID_TK_CUSTOMIZE_BEGIN_GROUP));
  EXPECT_FALSE(control->GetBeginGroup());
  EXPECT_TRUE(sheet->ExecuteControlCommand(ID_TK_CUSTOMIZE_TEXT_ONLY));
  EXPECT_EQ(control->GetStyle(), 1);
  CCmdUI state;
  state.m_nID = ID_TK_CUSTOMIZE_RESET;
  EXPECT_TRUE(sheet->OnCmdMsg(ID_TK_CUSTOMIZE_RESET, CN_UPDATE_COMMAND_UI, &state, nullptr));
  EXPECT_TRUE(sheet->ExecuteControlCommand(ID_TK_CUSTOMIZE_RESET));
  EXPECT_EQ(control->GetStyle(), 0);
  EXPECT_TRUE(sheet->ExecuteControlCommand(ID_TK_CUSTOMIZE_DELETE));
  EXPECT_EQ(Count(Ids(tools), ID_SETTINGS), 0);
  EXPECT_EQ(Bars()->GetDragControl(), nullptr);
  EXPECT_FALSE(sheet->ExecuteControlCommand(ID_TK_CUSTOMIZE_TEXT_ONLY));  // nothing selected

  // A button's image copied and pasted onto another button becomes that one's own image.
  CTKPControl* open = frame->standard->GetControl(0);
  CTKPControl* find = tools->GetControl(tools->FindControl(0, ID_FIND_FILES, tkpControlButton));
  Bars()->SetDragControl(open);
  EXPECT_TRUE(sheet->ExecuteControlCommand(ID_TK_CUSTOMIZE_COPY_IMAGE));
  EXPECT_TRUE(::IsClipboardFormatAvailable(CF_BITMAP));
  Bars()->SetDragControl(find);
  CCmdUI paste;
  paste.m_nID = ID_TK_CUSTOMIZE_PASTE_IMAGE;
  EXPECT_TRUE(sheet->OnCmdMsg(ID_TK_CUSTOMIZE_PASTE_IMAGE, CN_UPDATE_COMMAND_UI, &paste, nullptr));
  EXPECT_TRUE(sheet->ExecuteControlCommand(ID_TK_CUSTOMIZE_PASTE_IMAGE));
  EXPECT_NE(find->GetCustomIconId(), 0);
  EXPECT_NE(find->GetImage(16), nullptr);
  EXPECT_TRUE(sheet->ExecuteControlCommand(ID_TK_CUSTOMIZE_RESET_IMAGE));
  EXPECT_EQ(find->GetCustomIconId(), 0);
}

TEST_F(Customize, ARightClickSelectsTheControlAndOpensTheContextMenu) {
  OpenSheet();
  CTKPControl* settings = tools->GetControl(tools->FindControl(0, ID_SETTINGS, tkpControlButton));
  bool shown = false;
  CTKPCommandBars* bars = Bars();
  CTKPCustomizeSheet* sheet = frame->sheet;
  CString field;
  // The name field shows the caption; a new text there becomes the control's own caption.
  StepWhen([] { return TKPMouseManager()->IsTracked() != FALSE; },
           [&shown, &field, bars, sheet] {
             shown = TKPMouseManager()->IsTracked() != FALSE;
             CTKPPopupBar* popup = sheet->GetContextPopup();
             CTKPControl* name = popup != nullptr ? popup->GetControls()->FindControl(ID_TK_CUSTOMIZE_NAME) : nullptr;
             if (CTKPControlEdit* edit = dynamic_cast<CTKPControlEdit*>(name)) {
               field = edit->GetEditText();
               edit->SetEditText(CString(_T("Options")));
             }
             bars->ClosePopups();
           });
  ::PostMessageW(Probe(), WM_APP, 0, 0);
  const CPoint centre = ScreenCentre(tools, settings);
  tools->SendMessage(WM_RBUTTONDOWN, MK_RBUTTON, ClientPoint(tools->m_hWnd, centre));
  g_steps.clear();
  harness::PumpMessages();
  EXPECT_TRUE(shown);
  EXPECT_EQ(field, CString(_T("Setting")));
  EXPECT_EQ(settings->GetCustomCaption(), CString(_T("Options")));
  EXPECT_EQ(settings->GetCaption(), CString(_T("Options")));
  EXPECT_EQ(Bars()->GetDragControl(), settings);
  EXPECT_FALSE(TKPMouseManager()->IsTracked());
  // Closing the dialog ends customize mode and clears the selection.
  frame->CloseSheet();
  EXPECT_EQ(Bars()->GetDragControl(), nullptr);
}

TEST_F(Customize, ANewToolbarIsNamedRenamedSavedAndMadeAgain) {
  harness::ScopedSeams seams;
  OpenSheet();
  CTKPCustomizeToolbarsPage& page = frame->sheet->GetToolbarsPage();
  std::wstring offered;
  // New: "Custom 1" is offered; a blank name is refused with its message, then "Mine" is taken.
  StepWithDialog(L"New Toolbar", [&offered](HWND dlg) {
    offered = harness::Text(harness::Control(dlg, IDC_TK_NEW_TOOLBAR_NAME));
    ::SetWindowTextW(harness::Control(dlg, IDC_TK_NEW_TOOLBAR_NAME), L"");
    harness::PostCommand(dlg, IDOK);
  });
  StepWithDialog(L"New Toolbar", [](HWND dlg) {
    ::SetWindowTextW(harness::Control(dlg, IDC_TK_NEW_TOOLBAR_NAME), L"Tools");  // taken
    harness::PostCommand(dlg, IDOK);
  });
  StepWithDialog(L"New Toolbar", [](HWND dlg) {
    ::SetWindowTextW(harness::Control(dlg, IDC_TK_NEW_TOOLBAR_NAME), L"Mine");
    harness::PostCommand(dlg, IDOK);
  });
  seams.boxes.Answer(IDOK);
  seams.boxes.Answer(IDOK);
  ::PostMessageW(Probe(), WM_APP, 0, 0);
  page.OnNew();
  g_steps.clear();
  EXPECT_EQ(offered, L"Custom 1");
  ASSERT_EQ(seams.boxes.Log().size(), 2u);
  EXPECT_EQ(seams.boxes.Log()[0].text, u"The toolbar name cannot be blank. Type a name.");
  EXPECT_EQ(seams.boxes.Log()[1].text, u"A toolbar named 'Tools' already exists. Type another name.");
  ASSERT_EQ(Bars()->GetCount(), 3);
  CTKPToolBar* mine = static_cast<CTKPToolBar*>(Bars()->GetAt(2));
  EXPECT_EQ(mine->GetTitle(), CString(_T("Mine")));
  EXPECT_EQ(mine->GetBarID(), tkpcust::kFirstCustomToolbarId);
  EXPECT_FALSE(mine->IsBuiltIn());
  EXPECT_EQ(harness::Items(page.GetList().m_hWnd), (std::vector<std::wstring>{L"Standard", L"Tools", L"Mine"}));
  // A custom toolbar renames and deletes, but does not reset.
  EXPECT_EQ(page.GetList().GetCurSel(), 2);
  EXPECT_TRUE(::IsWindowEnabled(harness::Control(page.m_hWnd, IDC_TK_TOOLBARS_RENAME)));
  EXPECT_FALSE(::IsWindowEnabled(harness::Control(page.m_hWnd, IDC_TK_TOOLBARS_RESET)));

  // A command dragged onto the empty new toolbar.
  frame->RecalcLayout();
  harness::PumpMessages();
  CRect empty;
  mine->GetWindowRect(empty);
  Drag(frame->standard->m_hWnd, ScreenCentre(frame->standard, frame->standard->GetControl(0)),
       {CPoint(empty.left + 10, empty.CenterPoint().y)}, MK_CONTROL);
  EXPECT_EQ(Ids(mine), (std::vector<int>{ID_OPEN_IMAGE}));

  // Rename: the dialog says so and offers the title.
  std::wstring caption;
  StepWithDialog(L"Rename Toolbar", [&offered, &caption](HWND dlg) {
    caption = harness::Text(dlg);
    offered = harness::Text(harness::Control(dlg, IDC_TK_NEW_TOOLBAR_NAME));
    ::SetWindowTextW(harness::Control(dlg, IDC_TK_NEW_TOOLBAR_NAME), L"Renamed");
    harness::PostCommand(dlg, IDOK);
  });
  ::PostMessageW(Probe(), WM_APP, 0, 0);
  page.OnRename();
  g_steps.clear();
  EXPECT_EQ(caption, L"Rename Toolbar");
  EXPECT_EQ(offered, L"Mine");
  EXPECT_EQ(mine->GetTitle(), CString(_T("Renamed")));
  EXPECT_EQ(harness::Items(page.GetList().m_hWnd)[2], L"Renamed");

  // Saved with the bars' state, and made again in a new frame with its command.
  Bars()->SaveBarState(_T("CustomizeTest"));
  frame->DestroyWindow();
  harness::PumpMessages();
  Open();
  Bars()->LoadBarState(_T("CustomizeTest"));
  ASSERT_EQ(Bars()->GetCount(), 3);
  CTKPToolBar* again = static_cast<CTKPToolBar*>(Bars()->GetAt(2));
  EXPECT_EQ(again->GetTitle(), CString(_T("Renamed")));
  EXPECT_EQ(again->GetBarID(), tkpcust::kFirstCustomToolbarId);
  EXPECT_FALSE(again->IsBuiltIn());
  EXPECT_EQ(Ids(again), (std::vector<int>{ID_OPEN_IMAGE}));
  // Loading twice makes no second copy.
  Bars()->LoadBarState(_T("CustomizeTest"));
  EXPECT_EQ(Bars()->GetCount(), 3);

  // Deleted after its question is answered with OK (Cancel keeps it).
  OpenSheet();
  CTKPCustomizeToolbarsPage& toolbars = frame->sheet->GetToolbarsPage();
  toolbars.GetList().SetCurSel(2);
  toolbars.OnSelChange();
  seams.boxes.Answer(IDCANCEL);
  toolbars.OnDelete();
  EXPECT_EQ(Bars()->GetCount(), 3);
  seams.boxes.Answer(IDOK);
  toolbars.OnDelete();
  EXPECT_EQ(Bars()->GetCount(), 2);
  EXPECT_EQ(seams.boxes.Log().back().text, u"Are you sure you want to delete the 'Renamed' toolbar?");
  EXPECT_EQ(harness::Items(toolbars.GetList().m_hWnd), (std::vector<std::wstring>{L"Standard", L"Tools"}));
}

// ---- button images: the editor, the predefined pictures; the expand menu's Add or Remove Buttons ----------

// How many of the image's 16 x 16 pixels differ from the white it is drawn on; -1 without an image.
int InkedPixels(CTKPImageManagerIcon* icon) {
  if (icon == nullptr) return -1;
  HDC screen = ::GetDC(nullptr);
  HDC memory = ::CreateCompatibleDC(screen);
  HBITMAP bitmap = ::CreateCompatibleBitmap(screen, 16, 16);
  ::ReleaseDC(nullptr, screen);
  HGDIOBJ old = ::SelectObject(memory, bitmap);
  CDC* dc = CDC::FromHandle(memory);
  dc->FillSolidRect(0, 0, 16, 16, RGB(255, 255, 255));
  icon->Draw(dc, CPoint(0, 0), icon->GetIcon(), CSize(16, 16));
  int inked = 0;
  for (int y = 0; y < 16; ++y) {
    for (int x = 0; x < 16; ++x) inked += ::GetPixel(memory, x, y) != RGB(255, 255, 255) ? 1 : 0;
  }
  ::SelectObject(memory, old);
  ::DeleteObject(bitmap);
  ::DeleteDC(memory);
  return inked;
}

// Whether the sheet enables a menu command for the selected control.
BOOL Enabled(CTKPCustomizeSheet* sheet, UINT id) {
  struct State : CCmdUI {
    BOOL enabled = FALSE;
    void Enable(BOOL bOn) override { enabled = bOn; }
  } state;
  state.m_nID = id;
  sheet->OnCmdMsg(id, CN_UPDATE_COMMAND_UI, &state, nullptr);
  return state.enabled;
}

TEST_F(Customize, TheButtonEditorEditsTheSelectedButtonsImageIntoItsOwnIcon) {
  OpenSheet();
  CTKPCustomizeSheet* sheet = frame->sheet;
  CTKPControl* open = frame->standard->GetControl(0);
  // A button without any image, and a label, offer neither the editor nor the pictures.
  CTKPControl* bare = tools->GetControls()->Add(tkpControlButton, 40001);
  Bars()->SetDragControl(bare);
  EXPECT_FALSE(Enabled(sheet, ID_TK_CUSTOMIZE_EDIT_IMAGE));
  EXPECT_FALSE(Enabled(sheet, ID_TK_CUSTOMIZE_CHANGE_IMAGE));
  Bars()->SetDragControl(tools->GetControls()->Add(tkpControlLabel, ID_FIND_FILES));
  EXPECT_FALSE(Enabled(sheet, ID_TK_CUSTOMIZE_EDIT_IMAGE));
  Bars()->SetDragControl(open);
  EXPECT_TRUE(Enabled(sheet, ID_TK_CUSTOMIZE_EDIT_IMAGE));
  EXPECT_TRUE(Enabled(sheet, ID_TK_CUSTOMIZE_CHANGE_IMAGE));
  const int inked = InkedPixels(open->GetImage(16));
  ASSERT_GT(inked, 20);

  // Cancel keeps the image; Clear and OK make an empty picture the button's own icon.
  std::wstring shown;
  StepWithDialog(L"Button Editor", [](HWND dlg) { harness::PostCommand(dlg, IDCANCEL); });
  ::PostMessageW(Probe(), WM_APP, 0, 0);
  EXPECT_FALSE(sheet->ExecuteControlCommand(ID_TK_CUSTOMIZE_EDIT_IMAGE));
  g_steps.clear();
  EXPECT_EQ(open->GetCustomIconId(), 0);
  StepWithDialog(L"Button Editor", [](HWND dlg) {
    harness::PostCommand(dlg, ID_TK_EDITOR_CLEAR);
    harness::PostCommand(dlg, IDOK);
  });
  ::PostMessageW(Probe(), WM_APP, 0, 0);
  EXPECT_TRUE(sheet->ExecuteControlCommand(ID_TK_CUSTOMIZE_EDIT_IMAGE));
  g_steps.clear();
  ASSERT_NE(open->GetCustomIconId(), 0);
  EXPECT_EQ(static_cast<UINT>(open->GetCustomIconId()), open->GetImageManager()->GetLastCustomId());
  EXPECT_EQ(InkedPixels(open->GetImage(16)), 0);
  // Reset Button Image brings the command's own image back.
  EXPECT_TRUE(sheet->ExecuteControlCommand(ID_TK_CUSTOMIZE_RESET_IMAGE));
  EXPECT_EQ(InkedPixels(open->GetImage(16)), inked);
}

TEST_F(Customize, APictureChosenFromTheGridBecomesTheSelectedButtonsImage) {
  OpenSheet();
  CTKPCustomizeSheet* sheet = frame->sheet;
  CTKPToolBar* standard = frame->standard;
  CTKPControl* open = standard->GetControl(0);
  int count = 0;
  CTKPImageManager* pictures = sheet->GetPredefinedImages(&count);
  ASSERT_NE(pictures, nullptr);
  ASSERT_EQ(count, 25);
  CTKPPopupBar* grid = nullptr;
  int emptyBefore = -1, pickers = 0, width = 0;
  CPoint target;
  bool secondRowBelow = false;
  // The menu opens on a right click; its "Change Button Image" opens the grid, filled as it opens.
  StepWhen([] { return TKPMouseManager()->IsTracked() != FALSE; }, [sheet, &grid, &emptyBefore] {
    CTKPPopupBar* menu = sheet->GetContextPopup();
    CTKPControl* change = menu != nullptr ? menu->GetControls()->FindControl(ID_TK_CUSTOMIZE_CHANGE_IMAGE) : nullptr;
    if (change == nullptr || !change->GetEnabled()) return;
    emptyBefore = change->GetCommandBar()->GetControlCount();
    menu->SetSelected(change->GetIndex(), TRUE);
    menu->PopupControl(change->GetIndex(), TRUE);
    grid = static_cast<CTKPPopupBar*>(change->GetCommandBar());
  });
  StepWhen([&grid] { return grid != nullptr && ::IsWindowVisible(grid->m_hWnd); }, [&, this] {
    if (grid == nullptr || grid->GetControlCount() < 6) return;
    CRect rc;
    grid->GetWindowRect(rc);
    width = rc.Width();
    pickers = grid->GetControlCount();
    secondRowBelow = grid->GetControl(5)->GetRect().top == grid->GetControl(0)->GetRect().bottom;
    EXPECT_FALSE(harness::CaptureThreadWindows("commandbars_change_image").empty());
    // The pointer comes to picture 3, the third cell of the first row (the menus' mouse hook reads where
    // the pointer really is).
    target = grid->GetControl(2)->GetRect().CenterPoint();
    CPoint screen = target;
    grid->ClientToScreen(screen);
    ::SetCursorPos(screen.x - 3, screen.y);
    ::SetCursorPos(screen.x, screen.y);
  });
  StepWhen([&grid] { return grid != nullptr && grid->GetSelected() == 2; }, [&grid, &target] {
    if (grid == nullptr) return;
    grid->PostMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(target.x, target.y));
    grid->PostMessage(WM_LBUTTONUP, 0, MAKELPARAM(target.x, target.y));
  });
  // Whatever happened, the menu ends.
  CTKPCommandBars* bars = Bars();
  Step([bars] { bars->ClosePopups(); });
  ::PostMessageW(Probe(), WM_APP, 0, 0);
  const CPoint centre = ScreenCentre(standard, open);
  standard->SendMessage(WM_RBUTTONDOWN, MK_RBUTTON, ClientPoint(standard->m_hWnd, centre));
  g_steps.clear();
  harness::PumpMessages();
  // 25 pictures in five columns of 23 pixels between 3-pixel margins, made as the grid first opened.
  EXPECT_EQ(emptyBefore, 0);
  EXPECT_EQ(pickers, 25);
  EXPECT_EQ(width, 23 * 5 + 6);
  EXPECT_TRUE(secondRowBelow);
  EXPECT_FALSE(TKPMouseManager()->IsTracked());
  ASSERT_NE(open->GetCustomIconId(), 0);
  EXPECT_EQ(InkedPixels(open->GetImage(16)), InkedPixels(pictures->GetImage(3, 16)));
  EXPECT_NE(InkedPixels(open->GetImage(16)), InkedPixels(pictures->GetImage(2, 16)));
}

// The popup entry captioned with the bar's title in the expand menu's Add or Remove Buttons list.
CTKPControl* AddOrRemoveEntry(CTKPCommandBars* bars, CTKPToolBar* bar, CTKPPopupBar* popup) {
  bars->AddAddOrRemovePopups(bar, popup);
  for (int i = 0; i < popup->GetControlCount(); ++i) {
    if (popup->GetControl(i)->GetCaption() == bar->GetTitle()) return popup->GetControl(i);
  }
  return nullptr;
}

// A real click on a control of an open popup, with the pointer moved there first (the menus' mouse hook
// reads where the pointer really is).
void ClickInPopup(CTKPCommandBar* popup, CTKPControl* control) {
  const CPoint at = control->GetRect().CenterPoint();
  CPoint screen = at;
  popup->ClientToScreen(screen);
  ::SetCursorPos(screen.x - 3, screen.y);
  ::SetCursorPos(screen.x, screen.y);
  harness::WaitUntil([popup, control] { return popup->GetSelected() == control->GetIndex(); }, 2000);
  popup->PostMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(at.x, at.y));
  popup->PostMessage(WM_LBUTTONUP, 0, MAKELPARAM(at.x, at.y));
  harness::PumpMessages();
}

TEST_F(Customize, AddOrRemoveButtonsShowsAndHidesAButtonWhereCustomizingIsAvailable) {
  // The bar's expand button opens its menu; "Add or Remove Buttons" lists the row's bars.
  CTKPControl* expand = tools->GetExpandButton();
  ASSERT_TRUE(expand->IsVisible());
  const CPoint press = expand->GetRect().CenterPoint();
  tools->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(press.x, press.y));
  CTKPCommandBar* menu = expand->GetCommandBar();
  ASSERT_NE(menu, nullptr);
  CTKPControl* addRemove = menu->GetControl(menu->GetControlCount() - 1);
  ASSERT_EQ(addRemove->GetCaption(), CString(_T("&Add or Remove Buttons")));
  menu->PopupControl(addRemove->GetIndex(), TRUE);
  CTKPCommandBar* rowBars = addRemove->GetCommandBar();
  CTKPControl* entry = nullptr;
  for (int i = 0; i < rowBars->GetControlCount(); ++i) {
    if (rowBars->GetControl(i)->GetCaption() == tools->GetTitle()) entry = rowBars->GetControl(i);
  }
  ASSERT_NE(entry, nullptr);
  EXPECT_TRUE(entry->GetEnabled());
  rowBars->PopupControl(entry->GetIndex(), TRUE);
  CTKPCommandBar* list = entry->GetCommandBar();
  ASSERT_NE(list, nullptr);
  harness::PumpMessages();

  // One checked line per button, captioned as the button.
  std::vector<int> listed;
  for (int i = 0; i < list->GetControlCount(); ++i) {
    listed.push_back(list->GetControl(i)->GetID());
    EXPECT_TRUE(list->GetControl(i)->GetChecked());
  }
  EXPECT_EQ(listed, (std::vector<int>{ID_FIND_FILES, ID_SETTINGS}));
  EXPECT_EQ(list->GetControl(0)->GetCaption(), tools->GetControl(0)->GetCaption());
  // Unchecked by a click, the button leaves the bar and the list stays open; clicked again, it comes back.
  CTKPControl* find = list->GetControl(0);
  ClickInPopup(list, find);
  EXPECT_FALSE(find->GetChecked());
  EXPECT_EQ(Ids(tools), (std::vector<int>{ID_SETTINGS}));
  EXPECT_TRUE((tools->GetControl(0)->GetHideFlags() & tkpHideCustomize) != 0);
  EXPECT_TRUE(list->IsTrackingMode());
  ClickInPopup(list, find);
  EXPECT_TRUE(find->GetChecked());
  EXPECT_EQ(Ids(tools), (std::vector<int>{ID_FIND_FILES, ID_SETTINGS}));
  Bars()->ClosePopups();
  harness::PumpMessages();
}

TEST_F(Customize, AddOrRemoveButtonsOffersAButtonTakenOffTheBarUncheckedAndEndsWithReset) {
  tools->GetControls()->CreateOriginalControls();
  tools->GetControls()->Remove(tools->GetControl(tools->FindControl(0, ID_FIND_FILES, tkpControlButton)));
  EXPECT_EQ(Ids(tools), (std::vector<int>{ID_SETTINGS}));
  CTKPPopupBar* popup = CTKPPopupBar::CreatePopupBar(Bars());
  CTKPControl* entry = AddOrRemoveEntry(Bars(), tools, popup);
  ASSERT_NE(entry, nullptr);
  CTKPCommandBar* list = entry->GetCommandBar();
  ASSERT_NE(list, nullptr);
  ASSERT_EQ(list->GetControlCount(), 3);
  // The button is back on the bar in its first place, hidden by the user, and listed unchecked.
  EXPECT_EQ(tools->GetControl(0)->GetID(), ID_FIND_FILES);
  EXPECT_EQ(tools->GetControl(0)->GetHideFlags(), static_cast<DWORD>(tkpHideCustomize));
  EXPECT_EQ(list->GetControl(0)->GetID(), ID_FIND_FILES);
  EXPECT_FALSE(list->GetControl(0)->GetChecked());
  EXPECT_TRUE(list->GetControl(1)->GetChecked());
  EXPECT_EQ(list->GetControl(2)->GetCaption(), CString(_T("Reset")));
  EXPECT_TRUE(list->GetControl(2)->GetBeginGroup());
  // Checked, it shows again, and the bars count as changed so that the choice is saved.
  Bars()->GetOptions()->bDirtyState = FALSE;
  list->GetControl(0)->OnExecute();
  EXPECT_EQ(Ids(tools), (std::vector<int>{ID_FIND_FILES, ID_SETTINGS}));
  EXPECT_TRUE(Bars()->GetOptions()->bDirtyState);
  popup->InternalRelease();
}

TEST(CustomizeUnavailable, AddOrRemoveButtonsIsDisabledWithoutAList) {
  auto* plain = new PlainFrame;
  ASSERT_TRUE(plain->Create(nullptr, _T("Plain"), WS_OVERLAPPEDWINDOW | WS_VISIBLE, CRect(0, 0, 600, 300)));
  CTKPToolBar* bar = plain->Bars()->Add(_T("Standard"), tkpBarTop);
  ASSERT_TRUE(bar->LoadToolBar(IDR_MAINFRAME));
  EXPECT_FALSE(plain->Bars()->IsCustomizeAvail());
  CTKPPopupBar* popup = CTKPPopupBar::CreatePopupBar(plain->Bars());
  CTKPControl* entry = AddOrRemoveEntry(plain->Bars(), bar, popup);
  ASSERT_NE(entry, nullptr);
  EXPECT_FALSE(entry->GetEnabled());
  EXPECT_EQ(entry->GetCommandBar(), nullptr);
  EXPECT_EQ(popup->GetControls()->FindControl(TKP_ID_CUSTOMIZE), nullptr);
  popup->InternalRelease();
  plain->DestroyWindow();
  harness::PumpMessages();
}

TEST_F(Customize, Screenshot) {
  OpenSheet();
  frame->sheet->SetActivePage(1);
  CTKPControl* selected = tools->GetControl(0);
  Bars()->SetDragControl(selected);
  // The insertion mark of a drag in progress, between Standard's first two buttons.
  CTKPToolBar* standard = frame->standard;
  CRect second = standard->GetControl(2)->GetRect();
  standard->OnCustomizeDragEnter(selected, CPoint(second.left + 4, second.CenterPoint().y));
  frame->RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
  frame->sheet->RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
  harness::PumpFor(300);
  EXPECT_FALSE(harness::CaptureThreadWindows("commandbars_customize").empty());
  // The insertion mark: a dark upright line at the second button's left edge, most of the row high.
  const CRect mark(second.left - 3, second.top, second.left + 4, second.bottom);
  EXPECT_GE(harness::CountPixels(standard->m_hWnd, mark, RGB(0, 0, 0), 64), second.Height() / 2)
      << "no insertion mark at the second button";
  // The control the drag started from is framed in dark lines while customizing.
  const CRect frameOf = selected->GetRect();
  EXPECT_GE(harness::CountPixels(tools->m_hWnd, CRect(frameOf.left, frameOf.top, frameOf.right, frameOf.top + 2),
                                 RGB(0, 0, 0), 64),
            frameOf.Width() / 2)
      << "the selected control has no frame";
  standard->OnCustomizeDragLeave();
}

}  // namespace
