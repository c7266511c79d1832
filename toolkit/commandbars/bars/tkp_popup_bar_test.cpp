// Popup bars on real windows: the program's two context menus tracked through TrackPopupMenu and
// chosen by keyboard and by mouse (their commands come back, nothing is sent), sub-menus, Escape and
// WM_QUIT, the expand button of a personalized menu, the toolbars list of the toolbar menu, and a popup
// toolbar. Each menu is driven from a thread timer that runs inside the menu's own loop.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <deque>
#include <functional>
#include <vector>

#include "platform/classlib/win/classlib_win.h"
#include "platform/harness/driver.h"
#include "res/resource.h"
#include "toolkit/commandbars/frame/modal_steps_test_support.h"
#include "toolkit/commandbars/frame/tkp_command_bars.h"
#include "toolkit/commandbars/controls/tkp_control.h"
#include "toolkit/commandbars/controls/tkp_control_popup.h"
#include "toolkit/commandbars/controls/tkp_control_toolbars_list.h"
#include "toolkit/commandbars/controls/tkp_controls.h"
#include "toolkit/commandbars/bars/tkp_popup_bar.h"
#include "toolkit/commandbars/state/tkp_shortcut_manager.h"
#include "toolkit/common/tkp_image_manager.h"
#include "toolkit/common/tkp_mouse_manager.h"
#include "toolkit/common/tkp_popup_menu.h"

namespace {

class TestApp : public CWinApp {
 public:
  TestApp() : CWinApp(_T("Dorvane Popup Bar Test")) {}
};
TestApp theApp;

// The owner of the menus: it hears which popups open and which commands arrive.
class OwnerFrame : public CFrameWnd {
 public:
  std::vector<CTKPPopupBar*> opened;
  std::vector<UINT> commands;
  std::vector<UINT> specialKeys;  // the keys a tracking bar told of (10330)
  CTKPCommandBars* bars = nullptr;

  CTKPPopupBar* Last() const { return opened.empty() ? nullptr : opened.back(); }

 protected:
  afx_msg LRESULT OnPopupOpens(WPARAM, LPARAM lParam) {
    opened.push_back(reinterpret_cast<CTKPPopupBar*>(lParam));
    return 0;
  }
  afx_msg void OnAnyCommand(UINT nID) { commands.push_back(nID); }
  afx_msg LRESULT OnSpecialKey(WPARAM wParam, LPARAM) {
    specialKeys.push_back(reinterpret_cast<const TKP_KEYRECORD*>(wParam)->nChar);
    return 0;
  }
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(OwnerFrame, CFrameWnd)
  ON_MESSAGE(TKP_WM_INITCOMMANDSPOPUP, OnPopupOpens)
  ON_MESSAGE(TKP_WM_SPECIALKEY, OnSpecialKey)
  ON_COMMAND_RANGE(32768, 59999, OnAnyCommand)
END_MESSAGE_MAP()

// The menu's scripts: a step that never happens ends the menu loop.
void Script(std::deque<std::function<bool()>> steps) {
  tkpsteps::Script(std::move(steps), 60, 60, [] { TKPMouseManager()->SendTrackLost(); });
}

void PostKey(HWND window, UINT key) {
  ::PostMessageW(window, WM_KEYDOWN, key, 1);
  ::PostMessageW(window, WM_KEYUP, key, static_cast<LPARAM>(0xC0000001));
}

// The centre of a control in its popup's client coordinates.
LPARAM CentreOf(const CTKPControl* control) {
  const CRect rc = control->GetRect();
  return MAKELPARAM((rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2);
}

void PostClick(CTKPCommandBar* bar, const CTKPControl* control) {
  const HWND window = bar->GetSafeHwnd();
  ::PostMessageW(window, WM_MOUSEMOVE, 0, CentreOf(control));
  ::PostMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, CentreOf(control));
  ::PostMessageW(window, WM_LBUTTONUP, 0, CentreOf(control));
}

CTKPControl* ByCaption(CTKPCommandBar* bar, const TCHAR* caption) {
  for (int i = 0; bar != nullptr && i < bar->GetControlCount(); ++i) {
    if (bar->GetControl(i)->GetCaption() == CString(caption)) return bar->GetControl(i);
  }
  return nullptr;
}

class PopupBars : public ::testing::Test {
 protected:
  void SetUp() override {
    frame = new OwnerFrame;
    ASSERT_TRUE(frame->Create(nullptr, _T("Popup owner"), WS_OVERLAPPEDWINDOW, CRect(60, 60, 460, 360)));
    frame->ShowWindow(SW_SHOW);
    frame->SetForegroundWindow();
    frame->SetFocus();
    harness::PumpFor(50);
  }
  void TearDown() override {
    tkpsteps::StopScript();
    frame->DestroyWindow();
  }

  // Menu resource nId's popup tracked as the program's pages track it.
  UINT Track(UINT nId, CPoint at = CPoint(120, 120)) {
    CMenu menu;
    EXPECT_TRUE(menu.LoadMenu(nId));
    return CTKPCommandBars::TrackPopupMenu(menu.GetSubMenu(0), TPM_NONOTIFY | TPM_RETURNCMD, at.x, at.y, frame);
  }

  OwnerFrame* frame = nullptr;
};

TEST_F(PopupBars, ListMenuByKeyboardThroughItsViewSubMenuReturnsTheCommand) {
  const HWND focus = frame->GetSafeHwnd();
  CTKPPopupBar* view = nullptr;
  Script({[&] {
            // Recover Selected, View, then into View: its first item is selected at once.
            if (frame->Last() == nullptr) return false;
            EXPECT_EQ(frame->Last()->GetControlCount(), 6);
            for (UINT key : {VK_DOWN, VK_DOWN, VK_RIGHT}) PostKey(focus, key);
            return true;
          },
          [&] {
            if (frame->opened.size() < 2) return false;
            view = frame->Last();
            EXPECT_EQ(view->GetControl(view->GetSelected())->GetID(), ID_VIEW_ICONS);
            // The sub-menu opens beside its item (the theme may trim the item's edge a little).
            CRect item = ByCaption(frame->opened[0], _T("&View"))->GetRect();
            frame->opened[0]->ClientToScreen(item);
            CRect subRect;
            view->GetWindowRect(subRect);
            EXPECT_NEAR(subRect.left, item.right, 2);
            EXPECT_NEAR(subRect.top, item.top, 2);
            harness::CaptureThreadWindows("commandbars_popup");
            for (UINT key : {VK_DOWN, VK_RETURN}) PostKey(focus, key);
            return true;
          }});
  EXPECT_EQ(Track(IDR_LIST_CONTEXT_MENU), static_cast<UINT>(ID_VIEW_LIST));
  EXPECT_TRUE(frame->commands.empty());  // returned, not sent
  EXPECT_EQ(frame->opened.size(), 2u);
  EXPECT_FALSE(TKPMouseManager()->IsTracked());
}

// A menu tracked right-aligned ends at the point; without the flag it starts there.
TEST_F(PopupBars, ARightAlignedMenuEndsAtThePoint) {
  for (const UINT align : {UINT{TPM_RIGHTALIGN}, UINT{0}}) {
    frame->opened.clear();
    CRect placed;
    Script({[&] {
      CTKPPopupBar* popup = frame->Last();
      if (popup == nullptr || !popup->IsTrackingMode()) return false;
      popup->GetWindowRect(placed);
      PostKey(frame->GetSafeHwnd(), VK_ESCAPE);
      return true;
    }});
    CMenu menu;
    ASSERT_TRUE(menu.LoadMenu(IDR_TREE_CONTEXT_MENU));
    CTKPCommandBars::TrackPopupMenu(menu.GetSubMenu(0), TPM_NONOTIFY | TPM_RETURNCMD | align, 300, 150, frame);
    ASSERT_FALSE(placed.IsRectEmpty());
    EXPECT_EQ(align != 0 ? placed.right : placed.left, 300) << "align " << align;
    EXPECT_EQ(placed.top, 150);
  }
}

TEST_F(PopupBars, TreeMenuByMouseReturnsTheClickedCommand) {
  Script({[&] {
    CTKPPopupBar* popup = frame->Last();
    if (popup == nullptr) return false;
    CTKPControl* properties = ByCaption(popup, _T("&Properties..."));
    EXPECT_NE(properties, nullptr);
    if (properties != nullptr) PostClick(popup, properties);
    return true;
  }});
  EXPECT_EQ(Track(IDR_TREE_CONTEXT_MENU), static_cast<UINT>(ID_ITEM_PROPERTIES));
  EXPECT_TRUE(frame->commands.empty());
}

TEST_F(PopupBars, MouseRestingOnASubMenuItemOpensItAndAClickThereChooses) {
  Script({[&] {
            CTKPPopupBar* popup = frame->Last();
            if (popup == nullptr) return false;
            CTKPControl* view = ByCaption(popup, _T("&View"));
            EXPECT_NE(view, nullptr);
            EXPECT_EQ(view->GetType(), tkpControlPopup);
            // The pointer itself goes there: a popup whose pointer is elsewhere soon loses its selection.
            CPoint screen = view->GetRect().CenterPoint();
            popup->ClientToScreen(screen);
            ::SetCursorPos(screen.x, screen.y);
            ::PostMessageW(popup->GetSafeHwnd(), WM_MOUSEMOVE, 0, CentreOf(view));
            return true;
          },
          [&] {
            if (frame->opened.size() < 2) return false;  // the hover period passes first
            CTKPControl* details = ByCaption(frame->Last(), _T("&Details"));
            EXPECT_NE(details, nullptr);
            if (details != nullptr) PostClick(frame->Last(), details);
            return true;
          }});
  EXPECT_EQ(Track(IDR_TREE_CONTEXT_MENU), static_cast<UINT>(ID_VIEW_DETAILS));
}

TEST_F(PopupBars, EscapeReturnsNothingAndWithoutReturnCommandTheCommandIsSent) {
  const HWND focus = frame->GetSafeHwnd();
  Script({[&] {
    if (frame->Last() == nullptr) return false;
    PostKey(focus, VK_ESCAPE);
    return true;
  }});
  EXPECT_EQ(Track(IDR_LIST_CONTEXT_MENU), 0u);

  frame->opened.clear();
  Script({[&] {
    if (frame->Last() == nullptr) return false;
    PostKey(focus, 'R');  // "&Recover Selected..." by its letter
    return true;
  }});
  CMenu menu;
  ASSERT_TRUE(menu.LoadMenu(IDR_LIST_CONTEXT_MENU));
  EXPECT_EQ(CTKPCommandBars::TrackPopupMenu(menu.GetSubMenu(0), TPM_NONOTIFY, 120, 120, frame), 1u);
  EXPECT_EQ(frame->commands, std::vector<UINT>({ID_RECOVER_SELECTED}));
}

TEST_F(PopupBars, QuitWhileAMenuIsOpenEndsItAndStaysInTheQueue) {
  Script({[&] {
    if (frame->Last() == nullptr) return false;
    ::PostQuitMessage(7);
    return true;
  }});
  EXPECT_EQ(Track(IDR_LIST_CONTEXT_MENU), 0u);
  EXPECT_FALSE(TKPMouseManager()->IsTracked());
  MSG msg{};
  ASSERT_TRUE(::PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
  EXPECT_EQ(msg.wParam, 7u);
}

TEST(PopupBarPlacement, AContextMenuNearTheScreensCornerStaysOnTheScreen) {
  RECT work{};
  ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  CTKPPopupBar* popup = CTKPPopupBar::CreatePopupBar(nullptr);
  popup->GetControls()->Add(tkpControlButton, ID_VIEW_LIST)->SetCaption(CString(_T("&List")));
  popup->GetControls()->Add(tkpControlButton, ID_VIEW_DETAILS)->SetCaption(CString(_T("&Details")));
  ASSERT_TRUE(popup->Popup(work.right - 4, work.bottom - 8, nullptr));
  CRect rc;
  popup->GetWindowRect(rc);
  EXPECT_EQ(rc.right, work.right);           // pushed left to end at the edge
  EXPECT_EQ(rc.bottom, work.bottom - 8);     // opened upwards from the point
  EXPECT_GE(rc.Width(), 22);
  popup->SetTrackingMode(0);
  EXPECT_EQ(popup->GetSafeHwnd(), nullptr);  // the window goes, the bar stays
  popup->InternalRelease();
}

TEST(PopupBarPlacement, WithoutAManagerThePopupTakesItsImagesRightToLeftLayout) {
  for (const BOOL rtl : {FALSE, TRUE}) {
    CTKPPopupBar* popup = CTKPPopupBar::CreatePopupBar(nullptr);
    auto* images = new CTKPImageManager;
    images->SetRightToLeft(rtl);
    popup->SetImageManager(images);
    popup->GetControls()->Add(tkpControlButton, ID_VIEW_LIST)->SetCaption(CString(_T("&List")));
    ASSERT_TRUE(popup->Popup(200, 200, nullptr));
    EXPECT_EQ((popup->GetExStyle() & WS_EX_LAYOUTRTL) != 0, rtl != FALSE);
    popup->SetTrackingMode(0);
    popup->InternalRelease();
  }
}

// ---- personalized menus and the manager --------------------------------------------------------------

// A bar that stands for a toolbar of the manager.
class FakeToolBar : public CTKPCommandBar {
 public:
  FakeToolBar() {
    m_barType = tkpBarTypeNormal;
    m_barPosition = tkpBarFloating;
    m_bCloseable = TRUE;
  }
  void SetVisible(BOOL bVisible) override { m_bVisible = bVisible; }
  BOOL IsVisible() const override { return m_bVisible; }
};

class ManagedPopups : public PopupBars {
 protected:
  void SetUp() override {
    PopupBars::SetUp();
    bars = static_cast<CTKPCommandBars*>(RUNTIME_CLASS(CTKPCommandBars)->CreateObject());
    bars->SetSite(frame);
    frame->bars = bars;
  }
  void TearDown() override {
    PopupBars::TearDown();
    bars->InternalRelease();
  }
  CTKPCommandBars* bars = nullptr;
};

TEST_F(ManagedPopups, RarelyUsedCommandsHideBehindTheExpandButtonUntilItIsClicked) {
  const UINT hidden[] = {ID_FIND_FILES, ID_SETTINGS};
  bars->HideCommands(hidden, 2);
  bars->GetOptions()->bAlwaysShowFullMenus = FALSE;
  CTKPPopupBar* popup = CTKPPopupBar::CreatePopupBar(bars);
  CMenu menu;
  ASSERT_TRUE(menu.LoadMenu(IDR_LIST_CONTEXT_MENU));
  ASSERT_TRUE(popup->LoadMenu(menu.GetSubMenu(0)));
  int shownBefore = 0, shownAfter = 0;
  CRect before, after;
  Script({[&] {
            if (!popup->IsTrackingMode()) return false;
            EXPECT_TRUE(popup->HasHiddenCommands());
            EXPECT_NE(popup->GetControls()->FindControl(ID_FIND_FILES)->GetHideFlags() & tkpHideExpand, 0u);
            shownBefore = popup->GetControls()->GetVisibleCount();
            popup->GetWindowRect(before);
            CTKPControl* expand = popup->GetControls()->FindControl(TKP_ID_POPUP_EXPAND);
            EXPECT_NE(expand, nullptr);
            // A menu's tip is its expand button's; its commands show none.
            TOOLINFO ti{};
            ti.cbSize = TTTOOLINFOW_V1_SIZE;
            const CTKPControl* command = popup->GetControl(0);
            EXPECT_EQ(popup->OnToolHitTest(command->GetRect().CenterPoint(), &ti), -1);
            if (expand != nullptr) {
              EXPECT_EQ(popup->OnToolHitTest(expand->GetRect().CenterPoint(), &ti), INT_PTR{TKP_ID_POPUP_EXPAND});
              delete[] ti.lpszText;
            }
            if (expand != nullptr) PostClick(popup, expand);
            return true;
          },
          [&] {
            if (!popup->IsExpanded()) return false;
            shownAfter = popup->GetControls()->GetVisibleCount();
            popup->GetWindowRect(after);
            PostKey(frame->GetSafeHwnd(), VK_ESCAPE);
            return true;
          }});
  CTKPCommandBars::TrackPopupBar(popup, TPM_RETURNCMD, 100, 100, frame);
  EXPECT_EQ(shownBefore, 5);  // four commands and the expand button
  EXPECT_EQ(shownAfter, 6);   // all six commands
  EXPECT_GT(after.Height(), before.Height());
  // Using a hidden command shows it from then on.
  bars->SetCommandUsed(ID_FIND_FILES);
  EXPECT_FALSE(bars->IsControlHidden(static_cast<UINT>(ID_FIND_FILES)));
  popup->InternalRelease();
}

// A command chosen from a sub-menu counts as used, and so does the menu item that opened the sub-menu:
// both show from then on in personalized menus.
TEST_F(ManagedPopups, ACommandChosenInASubMenuMarksItsMenuUsedToo) {
  constexpr UINT kTools = 40100;  // a command the frame handles, so that its item is enabled
  const UINT hidden[] = {kTools, ID_FIND_FILES, ID_SETTINGS};
  bars->HideCommands(hidden, 3);
  bars->GetOptions()->bAlwaysShowFullMenus = FALSE;
  CTKPPopupBar* popup = CTKPPopupBar::CreatePopupBar(bars);
  CTKPControl* tools = popup->GetControls()->Add(tkpControlPopup, kTools);
  tools->SetCaption(CString(_T("&Tools")));
  CTKPCommandBar* sub = tools->GetCommandBar();
  ASSERT_NE(sub, nullptr);
  sub->GetControls()->Add(tkpControlButton, ID_FIND_FILES)->SetCaption(CString(_T("&Find Files")));
  const HWND focus = frame->GetSafeHwnd();
  Script({[&] {
            if (!popup->IsTrackingMode()) return false;
            for (UINT key : {VK_DOWN, VK_RIGHT}) PostKey(focus, key);
            return true;
          },
          [&] {
            if (!sub->IsTrackingMode() || sub->GetSelected() < 0) return false;
            PostKey(focus, VK_RETURN);
            return true;
          }});
  CTKPCommandBars::TrackPopupBar(popup, 0, 120, 120, frame);
  EXPECT_EQ(frame->commands, (std::vector<UINT>{ID_FIND_FILES}));
  EXPECT_FALSE(bars->IsControlHidden(ID_FIND_FILES));
  EXPECT_FALSE(bars->IsControlHidden(kTools));
  EXPECT_TRUE(bars->IsControlHidden(ID_SETTINGS));
  popup->InternalRelease();
}

TEST_F(ManagedPopups, DownOnTheLastShownItemExpandsTheMenu) {
  const UINT hidden[] = {ID_ITEM_PROPERTIES};
  bars->HideCommands(hidden, 1);
  bars->GetOptions()->bAlwaysShowFullMenus = FALSE;
  CTKPPopupBar* popup = CTKPPopupBar::CreatePopupBar(bars);
  CMenu menu;
  ASSERT_TRUE(menu.LoadMenu(IDR_TREE_CONTEXT_MENU));
  ASSERT_TRUE(popup->LoadMenu(menu.GetSubMenu(0)));
  BOOL expandedEarly = TRUE;
  Script({[&] {
            if (!popup->IsTrackingMode()) return false;
            // Up from nothing reaches the last shown command.
            PostKey(frame->GetSafeHwnd(), VK_UP);
            return true;
          },
          [&] {
            expandedEarly = popup->IsExpanded();
            PostKey(frame->GetSafeHwnd(), VK_DOWN);
            return true;
          },
          [&] {
            if (!popup->IsExpanded()) return false;
            PostKey(frame->GetSafeHwnd(), VK_ESCAPE);
            return true;
          }});
  CTKPCommandBars::TrackPopupBar(popup, TPM_RETURNCMD, 100, 100, frame);
  EXPECT_FALSE(expandedEarly);
  EXPECT_TRUE(popup->IsExpanded());
  popup->InternalRelease();
}

TEST_F(ManagedPopups, TheToolbarMenuListsTheToolbarsAndItsItemShowsOrHidesOne) {
  FakeToolBar* standard = new FakeToolBar;
  standard->SetTitle(_T("Standard"));
  bars->AddBar(standard);
  FakeToolBar* noMenu = new FakeToolBar;
  noMenu->SetTitle(_T("Hidden from the menu"));
  noMenu->m_bContextMenuPresent = FALSE;
  bars->AddBar(noMenu);
  std::vector<std::wstring> captions;
  BOOL checked = FALSE;
  Script({[&] {
    CTKPPopupBar* popup = frame->Last();
    if (popup == nullptr) return false;
    for (int i = 0; i < popup->GetControlCount(); ++i) {
      CTKPControl* control = popup->GetControl(i);
      if (control->IsVisible()) captions.push_back(std::wstring(control->GetCaption().GetString()));
    }
    CTKPControl* item = ByCaption(popup, _T("Standard"));
    EXPECT_NE(item, nullptr);
    if (item != nullptr) {
      checked = item->GetChecked();
      EXPECT_TRUE(item->IsKindOf(RUNTIME_CLASS(CTKPControlToolbarItem)));
      EXPECT_EQ(static_cast<CTKPControlToolbarItem*>(item)->GetToolbarIndex(), 0);
      PostClick(popup, item);
    }
    return true;
  }});
  bars->ContextMenu(nullptr, CPoint(150, 150));
  // The frame handles the customize command, so the menu offers it below the toolbars.
  EXPECT_EQ(captions, std::vector<std::wstring>({L"Standard", L"&Customize..."}));
  EXPECT_TRUE(checked);
  EXPECT_FALSE(standard->IsVisible());
  EXPECT_FALSE(TKPMouseManager()->IsTracked());
}

TEST_F(ManagedPopups, APopupToolBarWrapsItsButtonsIntoABlock) {
  CTKPPopupToolBar* popup = CTKPPopupToolBar::CreatePopupToolBar(bars);
  for (int i = 0; i < 8; ++i) popup->GetControls()->Add(tkpControlButton, ID_VIEW_LIST + (i % 2));
  popup->SetMRUWidth(80);  // the width the bar was given before
  ASSERT_TRUE(popup->Popup(100, 100, nullptr));
  CRect rc;
  popup->GetWindowRect(rc);
  const CRect first = popup->GetControl(0)->GetRect();
  const CRect last = popup->GetControl(7)->GetRect();
  EXPECT_GT(last.top, first.top);           // more than one row
  EXPECT_LT(rc.Width(), 8 * first.Width());  // not one long row
  popup->SetTrackingMode(0);
  popup->InternalRelease();
}

TEST_F(ManagedPopups, MenuItemsShowTheShortcutsOfTheAcceleratorTable) {
  const auto shortcutsOf = [&](CTKPPopupBar* popup) {
    EXPECT_TRUE(popup->Popup(100, 100, nullptr));
    std::vector<CString> texts;
    for (int i = 0; i < popup->GetControlCount(); ++i) texts.push_back(popup->GetControl(i)->GetShortcutText());
    popup->SetTrackingMode(0);
    return texts;
  };
  const auto menuOf = [&] {
    CTKPPopupBar* popup = CTKPPopupBar::CreatePopupBar(bars);
    popup->GetControls()->Add(tkpControlButton, ID_VIEW_LIST)->SetCaption(_T("&List\tCtrl+L"));
    popup->GetControls()->Add(tkpControlButton, ID_SETTINGS)->SetCaption(_T("&Settings\tCtrl+T"));
    return popup;
  };
  // No table anywhere: the captions' own tab texts.
  CTKPPopupBar* popup = menuOf();
  EXPECT_EQ(shortcutsOf(popup), std::vector<CString>({_T("Ctrl+L"), _T("Ctrl+T")}));
  popup->InternalRelease();

  ACCEL keys[] = {{FVIRTKEY | FCONTROL | FSHIFT, 'V', ID_VIEW_LIST}, {FVIRTKEY, VK_F7, ID_FIND_FILES}};
  ASSERT_TRUE(bars->GetShortcutManager()->SetAccelerators(keys, 2));
  popup = menuOf();
  EXPECT_EQ(shortcutsOf(popup), std::vector<CString>({_T("Ctrl+Shift+V"), CString()}));
  // Switched off, the menus keep what their captions carried.
  bars->GetShortcutManager()->m_bShowMenuShortcutsFromAccelerators = FALSE;
  CTKPPopupBar* plain = menuOf();
  EXPECT_EQ(shortcutsOf(plain), std::vector<CString>({_T("Ctrl+L"), _T("Ctrl+T")}));
  plain->InternalRelease();
  popup->InternalRelease();
}

// ---- the controls of a popup -------------------------------------------------------------------------

TEST_F(PopupBars, ALabelIsNeitherSelectedNorReachedByTheKeyboard) {
  CTKPPopupBar* popup = CTKPPopupBar::CreatePopupBar(nullptr);
  popup->GetControls()->Add(tkpControlButton, ID_VIEW_LIST)->SetCaption(CString(_T("&List")));
  CTKPControl* label = popup->GetControls()->Add(tkpControlLabel, 0);
  label->SetCaption(CString(_T("Shown as")));
  popup->GetControls()->Add(tkpControlButton, ID_VIEW_DETAILS)->SetCaption(CString(_T("&Details")));
  int afterTwoDowns = -1;
  int labelSelected = -1;
  Script({[&] {
            if (!popup->IsTrackingMode()) return false;
            EXPECT_TRUE(label->IsKindOf(RUNTIME_CLASS(CTKPControlLabel)));
            for (UINT key : {VK_DOWN, VK_DOWN}) PostKey(frame->GetSafeHwnd(), key);
            return true;
          },
          [&] {
            afterTwoDowns = popup->GetSelected();
            ::PostMessageW(popup->GetSafeHwnd(), WM_MOUSEMOVE, 0, CentreOf(label));
            return true;
          },
          [&] {
            labelSelected = label->GetSelected();  // under the pointer, yet never lit
            for (UINT key : {VK_DOWN, VK_RETURN}) PostKey(frame->GetSafeHwnd(), key);
            return true;
          }});
  EXPECT_EQ(CTKPCommandBars::TrackPopupBar(popup, TPM_RETURNCMD, 100, 100, frame), static_cast<UINT>(ID_VIEW_DETAILS));
  EXPECT_EQ(afterTwoDowns, 2);
  EXPECT_EQ(labelSelected, 0);
  popup->InternalRelease();
}

TEST_F(PopupBars, ASplitButtonInAMenuRunsOnItsMainPartAndOpensOnItsArrow) {
  CTKPPopupBar* popup = CTKPPopupBar::CreatePopupBar(nullptr);
  CTKPControl* split = popup->GetControls()->Add(tkpControlSplitButtonPopup, 0);
  split->SetID(ID_VIEW_LIST);
  split->SetCaption(CString(_T("&List")));
  CTKPCommandBar* inner = split->GetCommandBar();
  ASSERT_NE(inner, nullptr);
  inner->GetControls()->Add(tkpControlButton, ID_VIEW_DETAILS)->SetCaption(CString(_T("&Details")));
  BOOL openedOnArrow = FALSE;
  Script({[&] {
            if (!popup->IsTrackingMode()) return false;
            const CRect rc = split->GetRect();
            const LPARAM arrow = MAKELPARAM(rc.right - 5, rc.CenterPoint().y);
            ::PostMessageW(popup->GetSafeHwnd(), WM_LBUTTONDOWN, MK_LBUTTON, arrow);
            return true;
          },
          [&] {
            if (!inner->IsTrackingMode()) return false;
            openedOnArrow = TRUE;
            const CRect rc = split->GetRect();
            const LPARAM main = MAKELPARAM(rc.left + 10, rc.CenterPoint().y);
            ::PostMessageW(popup->GetSafeHwnd(), WM_LBUTTONDOWN, MK_LBUTTON, main);
            ::PostMessageW(popup->GetSafeHwnd(), WM_LBUTTONUP, 0, main);
            return true;
          }});
  EXPECT_EQ(CTKPCommandBars::TrackPopupBar(popup, TPM_RETURNCMD, 100, 100, frame), static_cast<UINT>(ID_VIEW_LIST));
  EXPECT_TRUE(openedOnArrow);
  EXPECT_FALSE(inner->IsTrackingMode());
  popup->InternalRelease();
}

TEST_F(ManagedPopups, RestingOnTheExpandButtonExpandsTheMenu) {
  const UINT hidden[] = {ID_ITEM_PROPERTIES};
  bars->HideCommands(hidden, 1);
  bars->GetOptions()->bAlwaysShowFullMenus = FALSE;
  CTKPPopupBar* popup = CTKPPopupBar::CreatePopupBar(bars);
  CMenu menu;
  ASSERT_TRUE(menu.LoadMenu(IDR_TREE_CONTEXT_MENU));
  ASSERT_TRUE(popup->LoadMenu(menu.GetSubMenu(0)));
  Script({[&] {
            if (!popup->IsTrackingMode()) return false;
            CTKPControl* expand = popup->GetControls()->FindControl(TKP_ID_POPUP_EXPAND);
            EXPECT_NE(expand, nullptr);
            if (expand == nullptr) return true;
            CPoint screen = expand->GetRect().CenterPoint();
            popup->ClientToScreen(screen);
            ::SetCursorPos(screen.x, screen.y);
            ::PostMessageW(popup->GetSafeHwnd(), WM_MOUSEMOVE, 0, CentreOf(expand));
            return true;
          },
          [&] {
            if (!popup->IsExpanded()) return false;  // after the rest of 900 ms
            PostKey(frame->GetSafeHwnd(), VK_ESCAPE);
            return true;
          }});
  CTKPCommandBars::TrackPopupBar(popup, TPM_RETURNCMD, 100, 100, frame);
  EXPECT_TRUE(popup->IsExpanded());
  popup->InternalRelease();
}

// A key typed while the menu's own loop runs passes the thread's keyboard hook once: a key the popup gives
// on to a field of its own is told to the site once, not once more by the loop.
TEST_F(ManagedPopups, AKeyTheTrackingBarPassesOnIsHandledOnce) {
  CTKPPopupBar* popup = CTKPPopupBar::CreatePopupBar(bars);
  popup->GetControls()->Add(tkpControlButton, ID_FIND_FILES)->SetCaption(CString(_T("&Find Files")));
  HWND field = nullptr;
  Script({[&] {
            if (!popup->IsTrackingMode()) return false;
            // A field inside the popup takes the focus, so the popup leaves typed keys to it.
            field = ::CreateWindowExW(0, L"EDIT", L"", WS_CHILD | WS_VISIBLE, 2, 2, 60, 18, popup->GetSafeHwnd(),
                                      nullptr, nullptr, nullptr);
            ::SetFocus(field);
            INPUT keys[2] = {};
            keys[0].type = keys[1].type = INPUT_KEYBOARD;
            keys[0].ki.wVk = keys[1].ki.wVk = 'K';
            keys[1].ki.dwFlags = KEYEVENTF_KEYUP;
            EXPECT_EQ(::SendInput(2, keys, sizeof(INPUT)), 2u);
            return true;
          },
          [&] { return std::count(frame->specialKeys.begin(), frame->specialKeys.end(), UINT{'K'}) > 0; },
          [&] {
            TKPMouseManager()->SendTrackLost();
            return true;
          }});
  CTKPCommandBars::TrackPopupBar(popup, TPM_RETURNCMD, 100, 100, frame);
  EXPECT_EQ(std::count(frame->specialKeys.begin(), frame->specialKeys.end(), UINT{'K'}), 1);
  EXPECT_NE(field, nullptr);
  popup->InternalRelease();
}

TEST_F(PopupBars, TheToolkitControlsMenusArePopupBarsOnceTheCommandBarsArePresent) {
  CMenu menu;
  ASSERT_TRUE(menu.LoadMenu(IDR_TREE_CONTEXT_MENU));
  Script({[&] {
    if (frame->Last() == nullptr) return false;
    for (UINT key : {VK_DOWN, VK_RETURN}) PostKey(frame->GetSafeHwnd(), key);
    return true;
  }});
  const UINT chosen = TKPTrackPopupMenu(menu.GetSubMenu(0)->GetSafeHmenu(), TPM_RETURNCMD, 120, 120, frame->GetSafeHwnd());
  EXPECT_EQ(chosen, static_cast<UINT>(ID_RECOVER_SELECTED));
  EXPECT_EQ(frame->opened.size(), 1u);
  EXPECT_TRUE(frame->commands.empty());
}

// ---- the popup's active look follows its frame ---------------------------------------------------------

// WM_FLOATSTATUS as sent on this thread: to which window, with which bits.
struct FloatStatus {
  HWND window;
  WPARAM bits;
};
std::vector<FloatStatus> g_floatStatus;

LRESULT CALLBACK RecordFloatStatus(int code, WPARAM wParam, LPARAM lParam) {
  const auto* sent = reinterpret_cast<const CWPSTRUCT*>(lParam);
  if (code == HC_ACTION && sent->message == WM_FLOATSTATUS) g_floatStatus.push_back({sent->hwnd, sent->wParam});
  return ::CallNextHookEx(nullptr, code, wParam, lParam);
}

// A window that says it stands for its frame's active state when asked.
LRESULT CALLBACK SyncActiveWindow(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_FLOATSTATUS) return (wParam & FS_SYNCACTIVE) != 0;
  return ::DefWindowProcW(hWnd, message, wParam, lParam);
}

// Opens a popup of the manager at the foreground window `foreground`; the float-status messages that
// this sent to the foreground window and to the popup itself.
void OpenWithForeground(CTKPCommandBars* bars, HWND foreground, std::vector<WPARAM>& asked, std::vector<WPARAM>& told) {
  ::SetForegroundWindow(foreground);
  harness::PumpMessages();
  ASSERT_EQ(::GetForegroundWindow(), foreground);
  CTKPPopupBar* popup = CTKPPopupBar::CreatePopupBar(bars);
  popup->GetControls()->Add(tkpControlButton, ID_VIEW_LIST)->SetCaption(CString(_T("&List")));
  g_floatStatus.clear();
  HHOOK hook = ::SetWindowsHookExW(WH_CALLWNDPROC, RecordFloatStatus, nullptr, ::GetCurrentThreadId());
  const BOOL shown = popup->Popup(200, 200, nullptr);
  const HWND window = popup->GetSafeHwnd();
  ::UnhookWindowsHookEx(hook);
  popup->SetTrackingMode(0);
  popup->InternalRelease();
  ASSERT_TRUE(shown);
  for (const FloatStatus& status : g_floatStatus) {
    if (status.window == foreground) asked.push_back(status.bits);
    if (status.window == window) told.push_back(status.bits);
  }
}

TEST_F(ManagedPopups, APopupAsksOnlyItsFramesOwnActivePopupWhetherTheFrameIsActive) {
  WNDCLASSW cls{};
  cls.lpfnWndProc = SyncActiveWindow;
  cls.hInstance = ::GetModuleHandleW(nullptr);
  cls.lpszClassName = L"DorvaneSyncActive";
  ::RegisterClassW(&cls);

  // Another top-level window in front: it is not asked, and the popup looks inactive.
  HWND stranger = ::CreateWindowExW(0, cls.lpszClassName, L"Stranger", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 500, 100, 200,
                                    120, nullptr, nullptr, cls.hInstance, nullptr);
  ASSERT_NE(stranger, nullptr);
  std::vector<WPARAM> asked, told;
  OpenWithForeground(bars, stranger, asked, told);
  EXPECT_TRUE(asked.empty());
  EXPECT_EQ(told, std::vector<WPARAM>{FS_DEACTIVATE});
  ::DestroyWindow(stranger);

  // The frame's own popup window in front is asked, and answering yes keeps the popup active.
  HWND owned = ::CreateWindowExW(0, cls.lpszClassName, L"Owned", WS_POPUP | WS_CAPTION | WS_VISIBLE, 500, 100, 200, 120,
                                 frame->GetSafeHwnd(), nullptr, cls.hInstance, nullptr);
  ASSERT_NE(owned, nullptr);
  asked.clear();
  told.clear();
  OpenWithForeground(bars, owned, asked, told);
  EXPECT_EQ(asked, std::vector<WPARAM>{FS_SYNCACTIVE});
  EXPECT_EQ(told, std::vector<WPARAM>{FS_ACTIVATE});
  ::DestroyWindow(owned);
}

}  // namespace
