// Popups beyond their menu layout, in real windows: a menu taller than the work area scrolls between
// its arrows (the mouse resting on an arrow, the keyboard's selection kept in view); a menu with a
// gripper torn off floats as a toolbar and comes back when dragged back; popups cast shadows beside
// their right and bottom edges that hide and go with them.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <deque>
#include <functional>
#include <vector>

#include "platform/classlib/win/classlib_win.h"
#include "platform/harness/driver.h"
#include "toolkit/commandbars/frame/frame_test_support.h"
#include "toolkit/commandbars/frame/modal_steps_test_support.h"
#include "toolkit/commandbars/bars/popup_scroll_layout.h"
#include "toolkit/commandbars/frame/tkp_command_bars.h"
#include "toolkit/commandbars/controls/tkp_control.h"
#include "toolkit/commandbars/controls/tkp_control_popup.h"
#include "toolkit/commandbars/controls/tkp_controls.h"
#include "toolkit/commandbars/frame/tkp_frame_wnd.h"
#include "toolkit/commandbars/paint/tkp_paint_manager.h"
#include "toolkit/commandbars/bars/tkp_popup_bar.h"
#include "toolkit/commandbars/bars/tkp_shadow_manager.h"
#include "toolkit/commandbars/bars/tkp_tool_bar.h"
#include "toolkit/common/draw_helpers.h"

namespace {

class TestApp : public CWinApp {
 public:
  TestApp() : CWinApp(_T("Dorvane Popup Scroll Test")) {}
};
TestApp theApp;

constexpr UINT kFirstCommand = 33000;
constexpr UINT kTearOffBarId = 59500;

// The frame handles the menus' commands, so that they show enabled.
class Frame : public CTKPFrameWnd {
 public:
  CTKPCommandBars* Bars() {
    if (m_pCommandBars == nullptr) m_pCommandBars = tkptest::MakeCommandBars(this);
    return m_pCommandBars;
  }
  // The custom toolbars the manager offered to the frame: caption, id, torn off.
  struct Offer {
    CString caption;
    UINT id;
    BOOL tearOff;
  };
  std::vector<Offer> customBars;
  BOOL refuseCustomBars = FALSE;  // the frame takes the offered toolbar away: none can be made

 protected:
  afx_msg void OnAnyCommand(UINT) {}
  afx_msg LRESULT OnCreateCommandBar(WPARAM, LPARAM lParam) {
    auto* create = reinterpret_cast<TKP_CREATE_COMMANDBAR*>(lParam);
    if (create->bCustomBar) customBars.push_back({CString(create->lpcstrCaption), create->nID, create->bTearOffBar});
    if (create->bCustomBar && refuseCustomBars) create->pCommandBar = nullptr;
    return 0;
  }
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(Frame, CTKPFrameWnd)
  ON_COMMAND_RANGE(kFirstCommand, kFirstCommand + 199, OnAnyCommand)
  ON_MESSAGE(TKP_WM_CREATE_COMMANDBAR, OnCreateCommandBar)
END_MESSAGE_MAP()

// The menus' scripts: a step that never happens ends the drag or menu loop that holds the capture.
void Script(std::deque<std::function<bool()>> steps) {
  tkpsteps::Script(std::move(steps), 50, 80, [] { ::PostMessageW(::GetCapture(), WM_KEYDOWN, VK_ESCAPE, 1); });
}

LPARAM ClientPoint(int x, int y) { return MAKELPARAM(static_cast<WORD>(x), static_cast<WORD>(y)); }

CPoint Centre(const CRect& rc) { return CPoint((rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2); }

// The mouse rests at a client point of the popup: the cursor goes there and the popup hears the move.
void RestAt(CTKPPopupBar* popup, CPoint client) {
  CPoint screen = client;
  popup->ClientToScreen(screen);
  ::SetCursorPos(screen.x, screen.y);
  popup->SendMessage(WM_MOUSEMOVE, 0, ClientPoint(client.x, client.y));
}

// Brightness (sum of channels) of a screen pixel.
int Brightness(int x, int y) {
  const std::vector<uint8_t> px = harness::ScreenPixels(x, y, 1, 1);
  return px.size() >= 3 ? px[0] + px[1] + px[2] : -1;
}

class PopupExtras : public ::testing::Test {
 protected:
  void SetUp() override {
    CTKPPaintManager::SetTheme(1);  // the flat theme, which draws popups' shadows itself
    frame = new Frame;
    ASSERT_TRUE(frame->Create(nullptr, _T("Popup extras"), WS_OVERLAPPEDWINDOW, CRect(40, 40, 640, 480)));
    frame->ShowWindow(SW_SHOW);
    frame->SetForegroundWindow();
    bars = frame->Bars();
    harness::PumpFor(50);
  }
  void TearDown() override {
    tkpsteps::StopScript();
    if (popup != nullptr) {
      if (popup->GetSafeHwnd() != nullptr) popup->SetTrackingMode(0);
      popup->InternalRelease();
    }
    frame->DestroyWindow();
  }

  CTKPPopupBar* MakeMenu(int items) {
    popup = CTKPPopupBar::CreatePopupBar(bars);
    for (int i = 0; i < items; ++i) {
      CString caption;
      caption.Format(_T("Command %d"), i + 1);
      popup->GetControls()->Add(tkpControlButton, static_cast<int>(kFirstCommand) + i)->SetCaption(caption);
    }
    return popup;
  }

  Frame* frame = nullptr;
  CTKPCommandBars* bars = nullptr;
  CTKPPopupBar* popup = nullptr;
};

// ---- scrolling -------------------------------------------------------------------------------------------

// Wine's monitors keep their work area when SPI_SETWORKAREA shrinks it, so the menu is made longer than
// the whole work area instead.
TEST_F(PopupExtras, AMenuLongerThanTheWorkAreaScrollsWhileTheMouseRestsOnAnArrow) {
  const CRect work = CTKPDrawHelpers::GetWorkAreaFromPoint(POINT{100, 100});
  const int count = work.Height() / 16 + 4;  // items are at least 16 pixels tall
  MakeMenu(count);
  ASSERT_TRUE(popup->Popup(100, work.top + 10, nullptr));
  CRect window;
  popup->GetWindowRect(window);
  ASSERT_TRUE(popup->IsScrolling());
  EXPECT_LE(window.bottom, work.bottom);
  EXPECT_TRUE(popup->GetScrollArrowRect(FALSE).IsRectEmpty());  // nothing above the first command
  const CRect down = popup->GetScrollArrowRect(TRUE);
  ASSERT_FALSE(down.IsRectEmpty());
  EXPECT_EQ(down.Height(), kTKPScrollArrowHeight);
  const int shown = popup->GetLastVisible();
  EXPECT_GT(shown, 3);
  EXPECT_LT(shown, count);
  EXPECT_TRUE(popup->GetControl(shown - 1)->IsVisible());
  EXPECT_NE(popup->GetControl(shown)->GetHideFlags() & tkpHideScroll, 0u);
  EXPECT_LE(popup->GetControl(shown - 1)->GetRect().bottom, down.top);
  harness::PumpFor(100);
  harness::CaptureThreadWindows("commandbars_popup_scroll");
  // The arrow's triangle is drawn in the button-text colour.
  CPoint tip(Centre(down).x, down.top + (down.Height() - 4) / 2);
  popup->ClientToScreen(tip);
  EXPECT_EQ(Brightness(tip.x, tip.y),
            GetRValue(::GetSysColor(COLOR_BTNTEXT)) + GetGValue(::GetSysColor(COLOR_BTNTEXT)) +
                GetBValue(::GetSysColor(COLOR_BTNTEXT)));

  // Resting on the bottom arrow brings one command in per tick; the top arrow shows from the first step.
  RestAt(popup, Centre(down));
  ASSERT_TRUE(harness::WaitUntil([&] { return popup->GetFirstVisible() > 0; }));
  EXPECT_FALSE(popup->GetScrollArrowRect(FALSE).IsRectEmpty());
  ASSERT_TRUE(harness::WaitUntil([&] { return popup->GetLastVisible() == count; }, 30000));
  EXPECT_TRUE(popup->GetScrollArrowRect(TRUE).IsRectEmpty());
  EXPECT_TRUE(popup->GetControl(count - 1)->IsVisible());
  EXPECT_NE(popup->GetControl(0)->GetHideFlags() & tkpHideScroll, 0u);
  EXPECT_LE(popup->GetControl(count - 1)->GetRect().bottom, window.Height());

  // The top arrow scrolls back up while the mouse rests on it.
  RestAt(popup, Centre(popup->GetScrollArrowRect(FALSE)));
  ASSERT_TRUE(harness::WaitUntil([&] { return popup->GetFirstVisible() == 0; }, 30000));
  EXPECT_TRUE(popup->GetScrollArrowRect(FALSE).IsRectEmpty());
  EXPECT_TRUE(popup->GetControl(0)->IsVisible());
  RestAt(popup, Centre(popup->GetControl(1)->GetRect()));

  // The keyboard's selection stays in view: Up from the first command wraps to the last.
  popup->SetSelected(0, TRUE);
  popup->OnHookKeyDown(VK_UP, 0);
  EXPECT_EQ(popup->GetSelected(), count - 1);
  EXPECT_TRUE(popup->GetControl(count - 1)->IsVisible());
  EXPECT_EQ(popup->GetLastVisible(), count);
  popup->OnHookKeyDown(VK_DOWN, 0);
  EXPECT_EQ(popup->GetSelected(), 0);
  EXPECT_TRUE(popup->GetControl(0)->IsVisible());
}

TEST_F(PopupExtras, AMenuThatFitsDoesNotScroll) {
  MakeMenu(4);
  ASSERT_TRUE(popup->Popup(100, 100, nullptr));
  EXPECT_FALSE(popup->IsScrolling());
  EXPECT_TRUE(popup->GetScrollArrowRect(TRUE).IsRectEmpty());
  for (int i = 0; i < 4; ++i) EXPECT_TRUE(popup->GetControl(i)->IsVisible());
}

// ---- tear-off ---------------------------------------------------------------------------------------------

TEST_F(PopupExtras, ATornOffMenuFloatsAsAToolbarAndDraggedBackTheMenuReturns) {
  MakeMenu(4);
  popup->SetTearOffPopup(_T("Commands"), kTearOffBarId, 400);
  ASSERT_TRUE(popup->Popup(100, 100, nullptr));
  const CRect gripper = popup->GetTearOffRect();
  ASSERT_FALSE(gripper.IsRectEmpty());
  EXPECT_LE(gripper.bottom, popup->GetControl(0)->GetRect().top);
  // The gripper lights while the mouse rests on it.
  RestAt(popup, Centre(gripper));
  EXPECT_TRUE(harness::WaitUntil([&] { return popup->IsTearOffHot() != FALSE; }));

  const CPoint grab = Centre(gripper);
  const HWND window = popup->GetSafeHwnd();
  CRect menuRect;
  popup->GetWindowRect(menuRect);
  const CPoint away(menuRect.right + 150, menuRect.top + 120);  // screen
  auto moveTo = [&](CPoint screen) {
    CPoint client = screen;
    ::ScreenToClient(window, client);
    ::PostMessageW(window, WM_MOUSEMOVE, MK_LBUTTON, ClientPoint(client.x, client.y));
  };
  auto tornBar = [&]() -> CTKPToolBar* { return bars->GetToolBar(kTearOffBarId); };
  bool sawFloating = false, sawBack = false;
  CRect floated;
  Script({[&] {
            moveTo(away);
            return true;
          },
          [&] {
            CTKPToolBar* bar = tornBar();
            if (bar == nullptr || !bar->IsVisible() || ::IsWindowVisible(window)) return false;
            sawFloating = true;
            CPoint back = grab;
            ::ClientToScreen(window, back);
            moveTo(back);
            return true;
          },
          [&] {
            // A torn-off toolbar hidden again leaves the manager.
            if (tornBar() != nullptr || !::IsWindowVisible(window)) return false;
            sawBack = true;
            moveTo(away);
            return true;
          },
          [&] {
            if (tornBar() == nullptr || !tornBar()->IsVisible()) return false;
            tornBar()->GetWindowRect(floated);
            ::PostMessageW(window, WM_LBUTTONUP, 0, ClientPoint(grab.x, grab.y));
            return true;
          }});
  popup->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, ClientPoint(grab.x, grab.y));
  EXPECT_TRUE(sawFloating);
  EXPECT_TRUE(sawBack);
  CTKPToolBar* bar = tornBar();
  ASSERT_NE(bar, nullptr);
  EXPECT_TRUE(bar->IsVisible());
  EXPECT_EQ(bar->GetPosition(), tkpBarFloating);
  EXPECT_EQ(bar->GetTitle(), CString(_T("Commands")));
  ASSERT_EQ(bar->GetControlCount() >= 4, true);
  EXPECT_NE(bar->GetControls()->FindControl(static_cast<int>(kFirstCommand) + 3), nullptr);
  EXPECT_EQ(floated.left, away.x - floated.Width() / 2);
  EXPECT_EQ(floated.top, away.y - 10);
  EXPECT_EQ(popup->GetSafeHwnd(), nullptr);  // the menus closed
  EXPECT_FALSE(popup->IsTrackingMode());
  // Each toolbar made by tearing off was offered to the frame as a custom, torn-off bar.
  ASSERT_EQ(frame->customBars.size(), 2u);
  for (const Frame::Offer& offer : frame->customBars) {
    EXPECT_EQ(offer.caption, CString(_T("Commands")));
    EXPECT_EQ(offer.id, kTearOffBarId);
    EXPECT_TRUE(offer.tearOff);
  }
  EXPECT_FALSE(bar->IsBuiltIn());
  harness::PumpFor(100);
  harness::CaptureThreadWindows("commandbars_tear_off");
}

// When no toolbar can be made, the menu hides only while the mouse is out: the drag's end brings it back.
TEST_F(PopupExtras, ATearOffWithoutAToolbarLeavesTheMenuShownWhenTheDragEnds) {
  frame->refuseCustomBars = TRUE;
  MakeMenu(3);
  popup->SetTearOffPopup(_T("Commands"), kTearOffBarId, 400);
  ASSERT_TRUE(popup->Popup(100, 100, nullptr));
  const CPoint grab = Centre(popup->GetTearOffRect());
  const HWND window = popup->GetSafeHwnd();
  CRect menuRect;
  popup->GetWindowRect(menuRect);
  CPoint away(menuRect.right + 150, menuRect.top + 120);
  ::ScreenToClient(window, away);
  bool sawHidden = false;
  Script({[&] {
            ::PostMessageW(window, WM_MOUSEMOVE, MK_LBUTTON, ClientPoint(away.x, away.y));
            return true;
          },
          [&] {
            if (frame->customBars.empty() || ::IsWindowVisible(window)) return false;
            sawHidden = true;
            ::PostMessageW(window, WM_LBUTTONUP, 0, ClientPoint(away.x, away.y));
            return true;
          }});
  popup->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, ClientPoint(grab.x, grab.y));
  EXPECT_TRUE(sawHidden);
  EXPECT_EQ(bars->GetToolBar(kTearOffBarId), nullptr);
  ASSERT_EQ(popup->GetSafeHwnd(), window);
  EXPECT_TRUE(popup->IsTrackingMode());
  EXPECT_TRUE(::IsWindowVisible(window));
  // Shown means painted: the first item's caption is drawn again in the menu.
  harness::PumpFor(50);
  const CRect item = popup->GetControl(0)->GetRect();
  const std::vector<COLORREF> pixels = harness::ClientPixels(window, item);
  EXPECT_GT(std::count_if(pixels.begin(), pixels.end(), [&](COLORREF c) { return c != pixels.front(); }), 0);
}

// A popup toolbar carries the gripper above its buttons; dragged out it floats with the same buttons.
TEST_F(PopupExtras, APopupToolbarTearsOffByItsGripper) {
  popup = CTKPPopupToolBar::CreatePopupToolBar(bars);
  for (int i = 0; i < 6; ++i) {
    CString caption;
    caption.Format(_T("T%d"), i + 1);
    popup->GetControls()->Add(tkpControlButton, static_cast<int>(kFirstCommand) + i)->SetCaption(caption);
  }
  popup->SetTearOffPopup(_T("Tools"), kTearOffBarId, 120);
  ASSERT_TRUE(popup->Popup(100, 100, nullptr));
  CRect client;
  popup->GetClientRect(client);
  const CRect gripper = popup->GetTearOffRect();
  ASSERT_FALSE(gripper.IsRectEmpty());
  EXPECT_EQ(gripper.Height(), 9);  // the flat theme's strip
  int right = 0;
  for (int i = 0; i < 6; ++i) {
    EXPECT_GE(popup->GetControl(i)->GetRect().top, gripper.bottom) << i;
    right = std::max<int>(right, popup->GetControl(i)->GetRect().right);
  }
  EXPECT_GE(gripper.right, right);  // across every button
  EXPECT_LE(gripper.right, client.right);
  harness::PumpFor(100);
  harness::CaptureThreadWindows("commandbars_tear_off_toolbar");

  const CPoint grab = Centre(gripper);
  const HWND window = popup->GetSafeHwnd();
  CRect rc;
  popup->GetWindowRect(rc);
  CPoint away(rc.right + 120, rc.top + 100);
  ::ScreenToClient(window, away);
  Script({[&] {
            ::PostMessageW(window, WM_MOUSEMOVE, MK_LBUTTON, ClientPoint(away.x, away.y));
            return true;
          },
          [&] {
            CTKPToolBar* bar = bars->GetToolBar(kTearOffBarId);
            if (bar == nullptr || !bar->IsVisible()) return false;
            ::PostMessageW(window, WM_LBUTTONUP, 0, ClientPoint(away.x, away.y));
            return true;
          }});
  popup->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, ClientPoint(grab.x, grab.y));
  CTKPToolBar* bar = bars->GetToolBar(kTearOffBarId);
  ASSERT_NE(bar, nullptr);
  EXPECT_EQ(bar->GetPosition(), tkpBarFloating);
  for (int i = 0; i < 6; ++i) EXPECT_NE(bar->GetControls()->FindControl(static_cast<int>(kFirstCommand) + i), nullptr);
  EXPECT_EQ(popup->GetSafeHwnd(), nullptr);
  harness::PumpFor(100);
  harness::CaptureThreadWindows("commandbars_tear_off_toolbar_floating");
}

TEST_F(PopupExtras, QuitDuringTheTearOffDragEndsItAndStaysInTheQueue) {
  MakeMenu(3);
  popup->SetTearOffPopup(_T("Commands"), kTearOffBarId, 400);
  ASSERT_TRUE(popup->Popup(100, 100, nullptr));
  const CPoint grab = Centre(popup->GetTearOffRect());
  Script({[&] {
    ::PostQuitMessage(7);
    return true;
  }});
  popup->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, ClientPoint(grab.x, grab.y));
  MSG msg;
  ASSERT_TRUE(::PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
  EXPECT_EQ(msg.wParam, 7u);
  EXPECT_EQ(bars->GetToolBar(kTearOffBarId), nullptr);  // never dragged out: nothing torn off
  EXPECT_EQ(::GetCapture(), nullptr);
}

// ---- shadows -------------------------------------------------------------------------------------------

TEST_F(PopupExtras, PopupsCastShadowsBesideTheirRightAndBottomEdgesThatGoWithThem) {
  CTKPShadowsManager* shadows = TKPShadowsManager();
  EXPECT_TRUE(shadows->IsLayered());  // the system offers UpdateLayeredWindow
  MakeMenu(6);
  ASSERT_TRUE(popup->Popup(200, 150, nullptr));
  harness::PumpFor(100);
  ASSERT_EQ(shadows->GetShadowCount(popup), 2);
  CRect rc;
  popup->GetWindowRect(rc);
  CTKPShadowWnd* right = shadows->GetShadow(popup, FALSE);
  CTKPShadowWnd* below = shadows->GetShadow(popup, TRUE);
  ASSERT_NE(right, nullptr);
  ASSERT_NE(below, nullptr);
  CRect rightRect, belowRect;
  right->GetWindowRect(rightRect);
  below->GetWindowRect(belowRect);
  EXPECT_EQ(rightRect, CRect(rc.right, rc.top + 4, rc.right + 4, rc.bottom));
  EXPECT_EQ(belowRect, CRect(rc.left + 4, rc.bottom, rc.right + 4, rc.bottom + 4));
  EXPECT_TRUE(right->IsWindowVisible());
  EXPECT_NE(right->GetExStyle() & WS_EX_LAYERED, 0u);
  // Clicks on a shadow reach the window below it.
  EXPECT_EQ(right->SendMessage(WM_NCHITTEST, 0, MAKELPARAM(rc.right + 1, rc.top + 20)), HTTRANSPARENT);

  // The pixels beside the edges are darker than the frame further out.
  const int midY = (rc.top + rc.bottom) / 2;
  const int midX = (rc.left + rc.right) / 2;
  const int shadeRight = Brightness(rc.right, midY);
  const int plainRight = Brightness(rc.right + 12, midY);
  const int shadeBelow = Brightness(midX, rc.bottom);
  const int plainBelow = Brightness(midX, rc.bottom + 12);
  EXPECT_LT(shadeRight, plainRight);
  EXPECT_LT(shadeBelow, plainBelow);
  harness::CaptureThreadWindows("commandbars_popup_shadow");

  // Hidden with the popup, gone with its window.
  popup->ShowWindow(SW_HIDE);
  EXPECT_FALSE(right->IsWindowVisible());
  EXPECT_FALSE(below->IsWindowVisible());
  popup->ShowWindow(SW_SHOWNA);
  EXPECT_TRUE(right->IsWindowVisible());
  popup->SetTrackingMode(0);
  EXPECT_EQ(shadows->GetShadowCount(popup), 0);
  EXPECT_EQ(shadows->GetShadowCount(), 0);
}

TEST_F(PopupExtras, AToolbarButtonWithItsPopupOpenCastsAShadowToo) {
  CTKPToolBar* toolbar = bars->Add(_T("Tools"), tkpBarTop);
  ASSERT_NE(toolbar, nullptr);
  auto* button = static_cast<CTKPControlPopup*>(toolbar->GetControls()->Add(tkpControlButtonPopup, kFirstCommand));
  ASSERT_NE(button, nullptr);
  button->SetCaption(CString(_T("Tools")));
  CTKPPopupBar* menu = MakeMenu(3);
  button->SetCommandBar(menu);
  bars->RecalcFrameLayout();
  harness::PumpFor(50);
  ASSERT_TRUE(toolbar->PopupControl(button->GetIndex()));
  ASSERT_NE(menu->GetSafeHwnd(), nullptr);
  // Two strips of the popup and two of the button, all owned by the popup.
  EXPECT_EQ(TKPShadowsManager()->GetShadowCount(menu), 4);
  toolbar->PopupControl(-1);
  menu->SetTrackingMode(0);
  EXPECT_EQ(TKPShadowsManager()->GetShadowCount(), 0);
}

TEST_F(PopupExtras, WithoutTheSystemsDropShadowAThemeWithoutShadowsCastsNone) {
  CTKPPaintManager::SetTheme(0);  // the default theme draws no shadows of its own
  BOOL old = FALSE;
  ::SystemParametersInfoW(SPI_GETDROPSHADOW, 0, &old, 0);
  ::SystemParametersInfoW(SPI_SETDROPSHADOW, 0, reinterpret_cast<void*>(static_cast<INT_PTR>(FALSE)), 0);
  MakeMenu(3);
  ASSERT_TRUE(popup->Popup(200, 150, nullptr));
  EXPECT_EQ(TKPShadowsManager()->GetShadowCount(popup), 0);
  popup->SetTrackingMode(0);
  // With the system's setting on it casts them.
  ::SystemParametersInfoW(SPI_SETDROPSHADOW, 0, reinterpret_cast<void*>(static_cast<INT_PTR>(TRUE)), 0);
  BOOL now = FALSE;
  ::SystemParametersInfoW(SPI_GETDROPSHADOW, 0, &now, 0);
  if (now) {
    ASSERT_TRUE(popup->Popup(200, 150, nullptr));
    EXPECT_EQ(TKPShadowsManager()->GetShadowCount(popup), 2);
    popup->SetTrackingMode(0);
  }
  ::SystemParametersInfoW(SPI_SETDROPSHADOW, 0, reinterpret_cast<void*>(static_cast<INT_PTR>(old)), 0);
  CTKPPaintManager::SetTheme(1);
}

}  // namespace
