// Toolbars in a real frame: dragged off their row they float in a window of their own, a double click
// docks them back, two toolbars share a row and swap places, Escape ends a drag where the bar is, and
// a floating bar is resized by its edges; commandbars_toolbar.png shows one docked and one floating.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "platform/classlib/win/classlib_win.h"
#include "platform/classlib/win/cedit.h"
#include "platform/classlib/win/cminiframewnd.h"
#include "platform/classlib/win/layout.h"
#include "platform/harness/driver.h"
#include "res/resource.h"
#include "res/toolkit_resource.h"
#include "toolkit/commandbars/frame/frame_test_support.h"
#include "toolkit/commandbars/frame/modal_steps_test_support.h"
#include "toolkit/commandbars/frame/tkp_command_bars.h"
#include "platform/seams/seams.h"
#include "toolkit/commandbars/controls/tkp_control.h"
#include "toolkit/commandbars/controls/tkp_controls.h"
#include "toolkit/commandbars/bars/tkp_dock_bar.h"
#include "toolkit/commandbars/bars/tkp_dock_context.h"
#include "toolkit/commandbars/frame/tkp_frame_wnd.h"
#include "toolkit/commandbars/bars/tkp_popup_bar.h"
#include "toolkit/commandbars/bars/tkp_tool_bar.h"
#include "toolkit/commandbars/bars/tkp_tool_bar_expand.h"
#include "toolkit/common/tkp_mouse_manager.h"
#include "toolkit/common/tkp_tooltip_context.h"

namespace tkp_tool_bar_test {

class TestApp : public CWinApp {
 public:
  TestApp() : CWinApp(_T("Dorvane Toolbar Test")) {}
};
TestApp theApp;

class ToolbarFrame : public CTKPFrameWnd {
 public:
  CTKPPopupBar* menu = nullptr;  // the toolbar menu the manager last offered
  CTKPCommandBars* Bars() {
    if (m_pCommandBars == nullptr) m_pCommandBars = tkptest::MakeCommandBars(this);
    return m_pCommandBars;
  }

 protected:
  afx_msg LRESULT OnToolbarMenu(WPARAM, LPARAM lParam) {
    menu = reinterpret_cast<CTKPPopupBar*>(lParam);
    return 0;
  }
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(ToolbarFrame, CTKPFrameWnd)
  ON_MESSAGE(TKP_WM_TOOLBARCONTEXTMENU, OnToolbarMenu)
END_MESSAGE_MAP()

// The drag loop owns the mouse: the steps queued here run inside it, one message at a time, each
// posting the next mouse message to the bar where the bar then is.
using tkpsteps::g_steps;
using tkpsteps::Probe;

LPARAM ClientPoint(HWND hWnd, CPoint screen) {
  POINT local{screen.x, screen.y};
  ::ScreenToClient(hWnd, &local);
  return MAKELPARAM(static_cast<short>(local.x), static_cast<short>(local.y));
}

// Presses the bar at the screen point, moves along the path and lets go (or presses Escape).
void Drag(CTKPToolBar* bar, CPoint from, const std::vector<CPoint>& path, bool escape = false) {
  HWND hWnd = bar->m_hWnd;
  for (CPoint pt : path) {
    g_steps.push_back([hWnd, pt] {
      ::PostMessageW(hWnd, WM_MOUSEMOVE, MK_LBUTTON, ClientPoint(hWnd, pt));
      ::PostMessageW(Probe(), WM_APP, 0, 0);
    });
  }
  g_steps.push_back([hWnd, escape] {
    if (escape) {
      ::PostMessageW(hWnd, WM_KEYDOWN, VK_ESCAPE, 0);
    } else {
      ::PostMessageW(hWnd, WM_LBUTTONUP, 0, 0);
    }
  });
  ::PostMessageW(Probe(), WM_APP, 0, 0);
  ::SendMessageW(hWnd, WM_LBUTTONDOWN, MK_LBUTTON, ClientPoint(hWnd, from));
  g_steps.clear();
}

CRect WindowRect(CWnd* wnd) {
  CRect rc;
  wnd->GetWindowRect(rc);
  return rc;
}

// A point on the bar's gripper (no control lies there).
CPoint Gripper(CTKPToolBar* bar) {
  const CRect rc = WindowRect(bar);
  return CPoint(rc.left + 3, rc.top + rc.Height() / 2);
}

class ToolBars : public testing::Test {
 protected:
  void SetUp() override {
    frame = new ToolbarFrame;
    ASSERT_TRUE(frame->Create(nullptr, _T("Toolbars"), WS_OVERLAPPEDWINDOW | WS_VISIBLE, CRect(40, 40, 900, 520)));
    frame->SetForegroundWindow();
    standard = frame->Bars()->Add(_T("Standard"), tkpBarTop);
    ASSERT_NE(standard, nullptr);
    ASSERT_TRUE(standard->LoadToolBar(IDR_MAINFRAME));
    standard->ShowTextBelowIcons(TRUE);
    frame->RecalcLayout();
    harness::PumpMessages();
  }
  void TearDown() override {
    if (frame != nullptr && ::IsWindow(frame->m_hWnd)) frame->DestroyWindow();
  }
  CTKPDockBar* Top() const { return frame->Bars()->GetDockBar(tkpBarTop); }
  CPoint ClientCentre() const {
    CRect client;
    frame->GetClientRect(client);
    frame->ClientToScreen(client);
    return client.CenterPoint();
  }

  ToolbarFrame* frame = nullptr;
  CTKPToolBar* standard = nullptr;
};

TEST_F(ToolBars, DraggedOffItsRowTheToolbarFloatsAndADoubleClickDocksItBack) {
  EXPECT_EQ(standard->GetDockBar(), Top());
  EXPECT_EQ(::GetParent(standard->m_hWnd), Top()->m_hWnd);
  const int docked = WindowRect(Top()).Height();
  EXPECT_GT(docked, 0);

  // Down into the middle of the frame, far from every dock bar.
  const CPoint from = Gripper(standard);
  const CPoint centre = ClientCentre();
  Drag(standard, from, {CPoint(from.x + 5, from.y + 30), CPoint(centre.x - 100, centre.y)});
  harness::PumpMessages();
  EXPECT_EQ(standard->GetPosition(), tkpBarFloating);
  EXPECT_EQ(standard->GetDockBar(), nullptr);
  EXPECT_FALSE(Top()->HasBar(standard));
  EXPECT_NE(standard->GetStyle() & WS_POPUP, 0u);
  EXPECT_EQ(::GetWindow(standard->m_hWnd, GW_OWNER), frame->m_hWnd);
  // It floats where the mouse let go, and the top dock bar gave its room back.
  EXPECT_TRUE(WindowRect(standard).PtInRect(CPoint(centre.x - 100, centre.y)));
  frame->RecalcLayout();
  EXPECT_EQ(WindowRect(Top()).Height(), 0);
  // The floating bar shows its close button in the title row.
  CTKPControl* close = standard->GetCloseButton();
  EXPECT_TRUE(close->IsVisible());
  EXPECT_LT(close->GetRect().bottom, standard->GetControl(0)->GetRect().top + 1);

  // A double click on its title row docks it back at the top.
  const CRect floating = WindowRect(standard);
  standard->SendMessage(WM_LBUTTONDBLCLK, 0, MAKELPARAM(10, 8));
  harness::PumpMessages();
  EXPECT_EQ(standard->GetPosition(), tkpBarTop);
  EXPECT_EQ(standard->GetDockBar(), Top());
  EXPECT_EQ(::GetParent(standard->m_hWnd), Top()->m_hWnd);
  EXPECT_EQ(standard->GetStyle() & WS_POPUP, 0u);
  frame->RecalcLayout();
  EXPECT_EQ(WindowRect(Top()).Height(), docked);
  EXPECT_TRUE(frame->Bars()->GetOptions()->bDirtyState);
  // The place it floated at is kept for the next time it floats.
  EXPECT_EQ(standard->GetDockContext()->m_ptMRUFloatPos, floating.TopLeft());
  // A docked bar floats on a double click only with "DblClickFloat".
  const CPoint gripper = Gripper(standard);
  POINT local{gripper.x, gripper.y};
  ::ScreenToClient(standard->m_hWnd, &local);
  standard->SendMessage(WM_LBUTTONDBLCLK, 0, MAKELPARAM(local.x, local.y));
  EXPECT_EQ(standard->GetPosition(), tkpBarTop);
  frame->Bars()->GetOptions()->bDblClickFloat = TRUE;
  standard->SendMessage(WM_LBUTTONDBLCLK, 0, MAKELPARAM(local.x, local.y));
  EXPECT_EQ(standard->GetPosition(), tkpBarFloating);
  EXPECT_EQ(WindowRect(standard).TopLeft(), floating.TopLeft());
}

TEST_F(ToolBars, TwoToolbarsShareARowAndSwapPlacesWhenDragged) {
  CTKPToolBar* tools = frame->Bars()->Add(_T("Tools"), tkpBarTop);
  ASSERT_NE(tools, nullptr);
  const UINT ids[] = {ID_FIND_FILES, 0, ID_SETTINGS};
  tools->SetButtons(ids, 3);
  frame->RecalcLayout();
  harness::PumpMessages();
  // Each came in a row of its own.
  EXPECT_GE(WindowRect(tools).top, WindowRect(standard).bottom);
  const int twoRows = WindowRect(Top()).Height();

  // Tools dropped right of Standard, in its row.
  const CRect first = WindowRect(standard);
  CPoint from = Gripper(tools);
  Drag(tools, from, {CPoint(first.right + 40, first.top + 10)});
  frame->RecalcLayout();
  harness::PumpMessages();
  EXPECT_EQ(WindowRect(tools).top, WindowRect(standard).top);
  EXPECT_GE(WindowRect(tools).left, WindowRect(standard).right);
  EXPECT_LT(WindowRect(Top()).Height(), twoRows);
  EXPECT_EQ(Top()->GetCount(), 4);  // the leading entry, the two bars and the end of their row

  // Standard dragged past Tools: they swap places and keep sharing the row.
  const CRect second = WindowRect(tools);
  from = Gripper(standard);
  Drag(standard, from, {CPoint(from.x + 20, from.y), CPoint(second.right + 30, from.y)});
  frame->RecalcLayout();
  harness::PumpMessages();
  EXPECT_EQ(WindowRect(tools).top, WindowRect(standard).top);
  EXPECT_GE(WindowRect(standard).left, WindowRect(tools).right);
  EXPECT_EQ(standard->GetPosition(), tkpBarTop);

  // One docked, one floating: the picture of both.
  from = Gripper(tools);
  const CPoint centre = ClientCentre();
  Drag(tools, from, {CPoint(centre.x, centre.y + 60)});
  harness::PumpMessages();
  EXPECT_EQ(tools->GetPosition(), tkpBarFloating);
  EXPECT_EQ(::GetActiveWindow(), frame->m_hWnd);  // the frame stays active beside its floating bar
  frame->RecalcLayout();
  frame->UpdateWindow();
  tools->UpdateWindow();
  harness::PumpFor(100);
  EXPECT_FALSE(harness::CaptureThreadWindows("commandbars_toolbar").empty());
}

TEST_F(ToolBars, DraggedToTheLeftEdgeTheToolbarStandsInAColumn) {
  CRect client;
  frame->GetClientRect(client);
  frame->ClientToScreen(client);
  const CPoint from = Gripper(standard);
  Drag(standard, from, {CPoint(from.x + 5, from.y + 60), CPoint(client.left + 4, client.CenterPoint().y)});
  frame->RecalcLayout();
  harness::PumpMessages();
  CTKPDockBar* left = frame->Bars()->GetDockBar(tkpBarLeft);
  EXPECT_EQ(standard->GetPosition(), tkpBarLeft);
  EXPECT_EQ(standard->GetDockBar(), left);
  EXPECT_EQ(::GetParent(standard->m_hWnd), left->m_hWnd);
  const CRect bar = WindowRect(standard);
  EXPECT_GT(bar.Height(), bar.Width());
  EXPECT_EQ(WindowRect(left).Width(), bar.Width());
  EXPECT_EQ(WindowRect(Top()).Height(), 0);
  // Its buttons run down the column.
  EXPECT_GT(standard->GetControl(1)->GetRect().top, standard->GetControl(0)->GetRect().top);
  frame->UpdateWindow();
  EXPECT_FALSE(harness::CaptureWindow(frame->m_hWnd, "commandbars_toolbar_left").empty());
}

// The program asked to end while the toolbar is dragged: the drag ends and the quit stays for the loops outside.
TEST_F(ToolBars, AQuitDuringADragEndsItAndStaysQueued) {
  const CPoint from = Gripper(standard);
  const CPoint centre = ClientCentre();
  HWND hWnd = standard->m_hWnd;
  g_steps.push_back([hWnd, centre] {
    ::PostMessageW(hWnd, WM_MOUSEMOVE, MK_LBUTTON, ClientPoint(hWnd, CPoint(centre.x - 100, centre.y)));
    ::PostQuitMessage(9);
  });
  ::PostMessageW(Probe(), WM_APP, 0, 0);
  ::SendMessageW(hWnd, WM_LBUTTONDOWN, MK_LBUTTON, ClientPoint(hWnd, from));
  g_steps.clear();
  MSG msg;
  ASSERT_TRUE(::PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
  EXPECT_EQ(msg.wParam, 9u);
  EXPECT_EQ(::GetCapture(), nullptr);
}

TEST_F(ToolBars, EscapeEndsADragWhereTheBarIsAndAFloatingBarResizesByItsLeftEdge) {
  const CPoint from = Gripper(standard);
  const CPoint centre = ClientCentre();
  const CPoint there(centre.x - 150, centre.y);
  Drag(standard, from, {there}, true);
  EXPECT_EQ(standard->GetPosition(), tkpBarFloating);
  EXPECT_TRUE(WindowRect(standard).PtInRect(there));

  // Narrower by its left edge: the buttons wrap into more rows, the right edge stays.
  const CRect before = WindowRect(standard);
  EXPECT_EQ(standard->SendMessage(WM_NCHITTEST, 0, MAKELPARAM(before.left + 1, before.top + 20)), HTLEFT);
  EXPECT_EQ(standard->SendMessage(WM_NCHITTEST, 0, MAKELPARAM(before.left + 20, before.top + 1)), HTTOP);
  const CPoint edge(before.left + 1, before.CenterPoint().y);
  HWND hWnd = standard->m_hWnd;
  g_steps.push_back([hWnd, edge] {
    ::PostMessageW(hWnd, WM_MOUSEMOVE, MK_LBUTTON, ClientPoint(hWnd, CPoint(edge.x + 250, edge.y)));
    ::PostMessageW(Probe(), WM_APP, 0, 0);
  });
  g_steps.push_back([hWnd] { ::PostMessageW(hWnd, WM_LBUTTONUP, 0, 0); });
  ::PostMessageW(Probe(), WM_APP, 0, 0);
  standard->SendMessage(WM_NCLBUTTONDOWN, HTLEFT, MAKELPARAM(edge.x, edge.y));
  g_steps.clear();
  const CRect after = WindowRect(standard);
  EXPECT_LT(after.Width(), before.Width());
  EXPECT_GT(after.Height(), before.Height());
  EXPECT_EQ(after.right, before.right);
  EXPECT_EQ(standard->GetMRUWidth(), after.Width());

  // The close button hides the bar.
  standard->GetCloseButton()->OnExecute();
  EXPECT_FALSE(standard->IsVisible());
  EXPECT_FALSE(standard->IsWindowVisible());
}

TEST_F(ToolBars, ARightClickOnTheToolbarOrItsDockBarOpensTheToolbarMenuListingIt) {
  CRect dock;
  Top()->GetClientRect(dock);
  const CRect bar = WindowRect(standard);
  ASSERT_LT(bar.Width(), dock.Width() - 20);  // room beside the bar
  for (HWND target : {standard->m_hWnd, Top()->m_hWnd}) {
    std::vector<std::wstring> captions;
    frame->menu = nullptr;
    g_steps.push_back([&] {
      // Inside the menu's loop: what it lists, then it closes.
      CTKPPopupBar* menu = frame->menu;
      if (menu == nullptr) return;
      for (int i = 0; i < menu->GetControlCount(); ++i) {
        CTKPControl* control = menu->GetControl(i);
        if (control->IsVisible()) captions.push_back(std::wstring(control->GetCaption().GetString()));
      }
      menu->SetTrackingMode(0);
    });
    ::PostMessageW(Probe(), WM_APP, 0, 0);
    const LPARAM at = target == standard->m_hWnd ? MAKELPARAM(3, 10) : MAKELPARAM(dock.right - 5, 5);
    ::SendMessageW(target, WM_RBUTTONDOWN, MK_RBUTTON, at);
    g_steps.clear();
    EXPECT_NE(std::find(captions.begin(), captions.end(), L"Standard"), captions.end());
    EXPECT_FALSE(TKPMouseManager()->IsTracked());
  }
}

TEST(ToolBarAlone, ABarWithoutDockBarsTakesTheTopOfItsFrame) {
  auto* frame = new CFrameWnd;
  ASSERT_TRUE(frame->Create(nullptr, _T("Alone"), WS_OVERLAPPEDWINDOW | WS_VISIBLE, CRect(60, 60, 700, 400)));
  auto* bar = new CTKPToolBar;
  ASSERT_TRUE(bar->Create(frame, tkpBarTop));
  const UINT ids[] = {ID_OPEN_IMAGE, 0, ID_HELP};
  bar->SetButtons(ids, 3);
  frame->RecalcLayout();
  CRect rc = WindowRect(bar);
  frame->ScreenToClient(rc);
  EXPECT_EQ(rc.TopLeft(), CPoint(0, 0));
  EXPECT_GT(rc.Height(), 20);
  EXPECT_EQ(::GetParent(bar->m_hWnd), frame->m_hWnd);
  frame->DestroyWindow();
  bar->InternalRelease();
}

INT_PTR CALLBACK PlainDialog(HWND, UINT, WPARAM, LPARAM) { return FALSE; }

void PressShift(bool down) {
  BYTE keys[256];
  ::GetKeyboardState(keys);
  keys[VK_SHIFT] = down ? 0x80 : 0;
  ::SetKeyboardState(keys);
}

// A toolbar inside a dialog, after its name field in the tab order: the focus enters it at its first
// button, the arrows move along it, Tab hands the focus on to the next tab stop and Shift+Tab back to the
// field; a bar the focus left tracks no longer.
TEST(ToolBarInDialog, TheFocusEntersAtTheFirstButtonAndTabMovesOn) {
  HWND dialog = harness::OpenDialog(IDD_TK_NEW_TOOLBAR, PlainDialog);
  ASSERT_NE(dialog, nullptr);
  auto* bar = new CTKPToolBar;
  ASSERT_TRUE(bar->Create(CWnd::FromHandle(dialog), tkpBarTop));
  EXPECT_EQ(bar->GetDockContext(), nullptr);
  ASSERT_TRUE(bar->LoadToolBar(IDR_MAINFRAME));
  bar->ModifyStyle(0, WS_TABSTOP);
  // The dialog grows by the bar's height; the bar sits along its bottom.
  CRect window, client;
  ::GetWindowRect(dialog, window);
  ::GetClientRect(dialog, client);
  const CSize size = bar->CalcDockingLayout(client.Width() - 12, LM_COMMIT | LM_HORZDOCK | LM_HORZ);
  ::SetWindowPos(dialog, nullptr, 0, 0, window.Width(), window.Height() + size.cy + 6, SWP_NOMOVE | SWP_NOZORDER);
  HWND name = ::GetDlgItem(dialog, IDC_TK_NEW_TOOLBAR_NAME);
  ::SetWindowPos(bar->m_hWnd, name, 6, client.bottom + 2, size.cx, size.cy, SWP_NOACTIVATE | SWP_SHOWWINDOW);

  ::SetFocus(name);
  ::SetFocus(::GetNextDlgTabItem(dialog, name, FALSE));  // Tab, as the dialog moves it
  ASSERT_EQ(::GetFocus(), bar->m_hWnd);
  EXPECT_TRUE(bar->IsTrackingMode());
  EXPECT_EQ(bar->GetSelected(), 0);
  EXPECT_EQ(bar->OnHookKeyDown(VK_RIGHT, 0), 1);
  EXPECT_EQ(bar->GetSelected(), 1);
  harness::PumpFor(100);
  harness::CaptureWindow(dialog, "commandbars_toolbar_in_dialog");

  EXPECT_EQ(bar->OnHookKeyDown(VK_TAB, 0), 1);
  EXPECT_EQ(::GetFocus(), ::GetDlgItem(dialog, IDOK));
  EXPECT_FALSE(bar->IsTrackingMode());
  ::SetFocus(bar->m_hWnd);
  EXPECT_EQ(bar->GetSelected(), 0);
  PressShift(true);
  EXPECT_EQ(bar->OnHookKeyDown(VK_TAB, 0), 1);
  PressShift(false);
  EXPECT_EQ(::GetFocus(), name);
  EXPECT_FALSE(bar->IsTrackingMode());

  ::SetFocus(bar->m_hWnd);
  ASSERT_TRUE(bar->IsTrackingMode());
  ::SetFocus(::GetDlgItem(dialog, IDCANCEL));
  EXPECT_FALSE(bar->IsTrackingMode());
  EXPECT_FALSE(TKPMouseManager()->IsTracked());
  ::DestroyWindow(dialog);
  bar->InternalRelease();
}

// With the expand button shown only when needed, measuring a docked bar keeps room for it where the bar
// can be squeezed: at least the narrowest bar plus the button's 11 pixels, and nothing extra when all fits.
TEST_F(ToolBars, MeasuredWithoutTheAlwaysShownExpandButtonTheBarKeepsRoomForIt) {
  CTKPCommandBarsOptions* options = frame->Bars()->GetOptions();
  const DWORD docked = LM_HORZ | LM_HORZDOCK | TKP_LM_HIDEWRAP;
  options->bShowExpandButtonAlways = TRUE;
  const CSize narrowestWithButton = standard->CalcDockingLayout(0, docked);
  const CSize wholeWithButton = standard->CalcDockingLayout(32767, docked);
  options->bShowExpandButtonAlways = FALSE;
  EXPECT_EQ(standard->CalcDockingLayout(20, docked).cx, narrowestWithButton.cx);
  EXPECT_EQ(standard->CalcDockingLayout(32767, docked).cx, wholeWithButton.cx - 11);
  // Committed wide, nothing is hidden and the button stays hidden.
  standard->CalcDockingLayout(32767, docked | LM_COMMIT);
  EXPECT_FALSE(standard->GetExpandButton()->IsVisible());
}

// A click on a docked bar does not take the activation while the focus is in a panel (a mini frame) of
// the active frame.
TEST_F(ToolBars, ADockedBarLeavesTheFocusInAMiniFrameOfTheActiveFrame) {
  const LPARAM click = MAKELPARAM(HTCLIENT, WM_LBUTTONDOWN);
  EXPECT_NE(standard->SendMessage(WM_MOUSEACTIVATE, reinterpret_cast<WPARAM>(frame->m_hWnd), click), MA_NOACTIVATE);
  auto* panel = new CMiniFrameWnd;
  ASSERT_TRUE(panel->Create(nullptr, _T("Panel"), WS_CHILD | WS_VISIBLE, CRect(100, 100, 300, 250), frame));
  CEdit edit;
  ASSERT_TRUE(edit.Create(WS_CHILD | WS_VISIBLE, CRect(0, 0, 150, 20), panel, 1));
  frame->SetForegroundWindow();
  edit.SetFocus();
  harness::PumpMessages();
  ASSERT_EQ(::GetActiveWindow(), frame->m_hWnd);
  EXPECT_EQ(standard->SendMessage(WM_MOUSEACTIVATE, reinterpret_cast<WPARAM>(frame->m_hWnd), click), MA_NOACTIVATE);
  frame->SetFocus();
  EXPECT_NE(standard->SendMessage(WM_MOUSEACTIVATE, reinterpret_cast<WPARAM>(frame->m_hWnd), click), MA_NOACTIVATE);
  panel->DestroyWindow();
}

// In print preview the bar is hidden and counts as hidden, so the keyboard cannot reach it; afterwards
// it is back.
TEST_F(ToolBars, InPrintPreviewTheBarIsHiddenAndCountsAsHidden) {
  CTKPCommandBars* bars = frame->Bars();
  const int index = bars->FindIndex(standard);
  ASSERT_EQ(bars->GetNextVisible(-1, 1), index);
  frame->OnSetPreviewMode(TRUE, nullptr);
  EXPECT_FALSE(standard->IsWindowVisible());
  EXPECT_FALSE(standard->IsVisible());
  EXPECT_EQ(bars->GetNextVisible(-1, 1), -1);
  frame->OnSetPreviewMode(FALSE, nullptr);
  EXPECT_TRUE(standard->IsWindowVisible());
  EXPECT_TRUE(standard->IsVisible());
  EXPECT_EQ(bars->GetNextVisible(-1, 1), index);
}

BOOL CALLBACK FindShownTip(HWND hWnd, LPARAM lParam) {
  wchar_t cls[64] = {};
  ::GetClassNameW(hWnd, cls, 64);
  if (::lstrcmpiW(cls, TOOLTIPS_CLASSW) != 0 || !::IsWindowVisible(hWnd)) return TRUE;
  *reinterpret_cast<HWND*>(lParam) = hWnd;
  return FALSE;
}

// The visible system tooltip of this thread, or null.
HWND ShownThreadTip() {
  HWND found = nullptr;
  ::EnumThreadWindows(::GetCurrentThreadId(), FindShownTip, reinterpret_cast<LPARAM>(&found));
  return found;
}

// A bar without a manager (in a dialog) names its buttons with the window's own tooltips: the mouse resting
// on a button, through the loop's pre-translation, brings up a tip with the button's name.
TEST_F(ToolBars, ABarWithoutAManagerShowsItsOwnTips) {
  HWND dialog = harness::OpenDialog(IDD_TK_NEW_TOOLBAR, PlainDialog);
  ASSERT_NE(dialog, nullptr);
  auto* bar = new CTKPToolBar;
  ASSERT_TRUE(bar->Create(CWnd::FromHandle(dialog), tkpBarTop));
  EXPECT_TRUE(bar->IsToolTipsEnabled());
  ASSERT_TRUE(bar->LoadToolBar(IDR_MAINFRAME));
  const CSize size = bar->CalcDockingLayout(400, LM_COMMIT | LM_HORZDOCK | LM_HORZ);
  ::SetWindowPos(bar->m_hWnd, HWND_TOP, 6, 6, size.cx, size.cy, SWP_NOACTIVATE | SWP_SHOWWINDOW);
  ::SetForegroundWindow(dialog);
  harness::PumpMessages();
  CPoint on = bar->GetControl(0)->GetRect().CenterPoint();
  bar->ClientToScreen(on);
  ::SetCursorPos(on.x, on.y);
  MSG move{bar->m_hWnd, WM_MOUSEMOVE, 0, 0, ::GetTickCount(), {on.x, on.y}};
  CPoint local = bar->GetControl(0)->GetRect().CenterPoint();
  move.lParam = MAKELPARAM(local.x, local.y);
  CWnd::WalkPreTranslateTree(dialog, &move);
  ASSERT_TRUE(harness::WaitUntil([] { return ShownThreadTip() != nullptr; }, 5000));
  HWND tip = ShownThreadTip();
  wchar_t text[80] = {};
  TTTOOLINFOW current{};
  current.cbSize = TTTOOLINFOW_V1_SIZE;
  current.lpszText = text;
  ASSERT_TRUE(::SendMessageW(tip, TTM_GETCURRENTTOOLW, 0, reinterpret_cast<LPARAM>(&current)));
  CString shown(text);
  shown.TrimLeft();
  EXPECT_STREQ(shown.GetString(), L"Open");
  ::UpdateWindow(tip);
  CRect inside;
  ::GetClientRect(tip, inside);
  inside.DeflateRect(2, 2);
  EXPECT_GT(harness::CountPixels(tip, inside, ::GetSysColor(COLOR_INFOBK), 8), inside.Width() * inside.Height() / 2);
  EXPECT_GT(harness::CountPixels(tip, inside, ::GetSysColor(COLOR_INFOTEXT), 80), 10) << "no text on the tip";
  // A key puts it away.
  MSG key{bar->m_hWnd, WM_KEYDOWN, VK_SHIFT, 0, ::GetTickCount(), {on.x, on.y}};
  CWnd::WalkPreTranslateTree(dialog, &key);
  EXPECT_EQ(ShownThreadTip(), nullptr);
  ::DestroyWindow(dialog);
  bar->InternalRelease();
}

TEST_F(ToolBars, AButtonsTipIsItsNameAndWithAccelTipsItsShortcut) {
  CTKPControl* open = standard->GetControl(0);
  open->SetShortcutText(_T("Ctrl+O"));
  TOOLINFO ti{};
  ti.cbSize = TTTOOLINFOW_V1_SIZE;
  EXPECT_EQ(standard->OnToolHitTest(open->GetRect().CenterPoint(), &ti), static_cast<INT_PTR>(ID_OPEN_IMAGE));
  CString tip(ti.lpszText);
  tip.TrimLeft();
  EXPECT_STREQ(tip.GetString(), L"Open");
  delete[] ti.lpszText;
  frame->Bars()->GetOptions()->bToolBarAccelTips = TRUE;
  ti = TOOLINFO{};
  ti.cbSize = TTTOOLINFOW_V1_SIZE;
  standard->OnToolHitTest(open->GetRect().CenterPoint(), &ti);
  tip = ti.lpszText;
  tip.TrimLeft();
  EXPECT_STREQ(tip.GetString(), L"Open (Ctrl+O)");
  delete[] ti.lpszText;
  // Nothing between the buttons, and nothing with screen tips off.
  EXPECT_EQ(standard->OnToolHitTest(CPoint(2, 2), &ti), -1);
  frame->Bars()->GetOptions()->bToolBarScreenTips = FALSE;
  EXPECT_EQ(standard->OnToolHitTest(open->GetRect().CenterPoint(), &ti), -1);
}

TEST_F(ToolBars, ButtonsThatDoNotFitHideBehindTheExpandButtonWhichListsThem) {
  // A frame narrower than the bar: the last buttons are hidden, the bar keeps one row.
  frame->SetWindowPos(nullptr, 0, 0, 330, 300, SWP_NOMOVE | SWP_NOZORDER);
  frame->RecalcLayout();
  harness::PumpMessages();
  CTKPControl* help = standard->GetControl(6);
  EXPECT_NE(help->GetHideFlags() & tkpHideWrap, 0u);
  EXPECT_EQ(standard->GetControl(0)->GetHideFlags(), 0u);
  CTKPControl* expand = standard->GetExpandButton();
  ASSERT_TRUE(expand->IsVisible());
  EXPECT_TRUE(expand->IsKindOf(RUNTIME_CLASS(CTKPToolBarExpandButton)));
  EXPECT_LE(expand->GetRect().right, WindowRect(standard).Width());

  // Its popup holds the hidden buttons and, last, "Add or Remove Buttons" with the bar's entry, which
  // is disabled: this frame offers no customizing.
  const CRect rc = expand->GetRect();
  standard->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(rc.CenterPoint().x, rc.CenterPoint().y));
  CTKPCommandBar* popup = expand->GetCommandBar();
  ASSERT_NE(popup, nullptr);
  EXPECT_TRUE(popup->IsTrackingMode());
  std::vector<std::wstring> captions;
  for (int i = 0; i < popup->GetControlCount(); ++i) {
    CString caption = popup->GetControl(i)->GetCaption();
    caption.TrimLeft();
    captions.push_back(std::wstring(caption.GetString()));
  }
  ASSERT_GE(captions.size(), 2u);
  EXPECT_EQ(captions.back(), L"&Add or Remove Buttons");
  EXPECT_NE(std::find(captions.begin(), captions.end(), L"Help"), captions.end());
  EXPECT_EQ(std::find(captions.begin(), captions.end(), L"Open"), captions.end());
  CTKPCommandBar* list = popup->GetControl(popup->GetControlCount() - 1)->GetCommandBar();
  ASSERT_NE(list, nullptr);
  ASSERT_EQ(list->GetControlCount(), 1);
  EXPECT_STREQ(list->GetControl(0)->GetCaption().GetString(), L"Standard");
  EXPECT_FALSE(list->GetControl(0)->GetEnabled());
  frame->Bars()->ClosePopups();
  harness::PumpMessages();
  EXPECT_FALSE(popup->IsTrackingMode());
}

// A button that did not fit keeps its tip in the expand button's popup: the pointer resting on it there
// shows the tip, drawn on the tip's own background, while the bar behind the popup shows none.
TEST_F(ToolBars, AButtonInTheExpandButtonsPopupShowsItsTip) {
  frame->SetWindowPos(nullptr, 0, 0, 330, 300, SWP_NOMOVE | SWP_NOZORDER);
  frame->RecalcLayout();
  harness::PumpMessages();
  CTKPControl* expand = standard->GetExpandButton();
  ASSERT_TRUE(expand->IsVisible());
  const CPoint press = expand->GetRect().CenterPoint();
  standard->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(press.x, press.y));
  CTKPCommandBar* popup = expand->GetCommandBar();
  ASSERT_NE(popup, nullptr);
  ASSERT_TRUE(popup->IsTrackingMode());
  CTKPControl* help = nullptr;
  for (int i = 0; i < popup->GetControlCount(); ++i) {
    if (popup->GetControl(i)->GetID() == ID_HELP) help = popup->GetControl(i);
  }
  ASSERT_NE(help, nullptr);
  TOOLINFO ti{};
  ti.cbSize = TTTOOLINFOW_V1_SIZE;
  EXPECT_EQ(standard->OnToolHitTest(standard->GetControl(0)->GetRect().CenterPoint(), &ti), -1);

  CRect rc = help->GetRect();
  popup->ClientToScreen(rc);
  ::SetCursorPos(rc.CenterPoint().x, rc.CenterPoint().y);
  const CPoint local = help->GetRect().CenterPoint();
  popup->SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(local.x, local.y));
  CWnd* tip = frame->Bars()->GetToolTipContext()->GetToolTip();
  ASSERT_NE(tip, nullptr);
  ASSERT_TRUE(harness::WaitUntil([tip] { return tip->IsWindowVisible() != FALSE; }, 5000));
  TOOLINFO shown{};
  shown.cbSize = TTTOOLINFOW_V1_SIZE;
  ASSERT_TRUE(tip->SendMessage(TTM_GETCURRENTTOOLW, 0, reinterpret_cast<LPARAM>(&shown)));
  EXPECT_EQ(shown.hwnd, popup->m_hWnd);
  EXPECT_EQ(shown.uId, static_cast<UINT_PTR>(ID_HELP));
  CRect tipRect;
  tip->GetClientRect(tipRect);
  EXPECT_GT(harness::CountPixels(tip->m_hWnd, tipRect, ::GetSysColor(COLOR_INFOBK)), tipRect.Width() * tipRect.Height() / 3);
  frame->Bars()->ClosePopups();
  harness::PumpMessages();
}

// Records the owner of each message box and gives the answer queued.
class OwnerRecordingBoxes : public seams::MessageBoxSeam {
 public:
  int Show(const seams::MessageBoxRequest& request) override {
    owners.push_back(static_cast<HWND>(request.owner));
    texts.push_back(request.text);
    return answer;
  }
  std::vector<HWND> owners;
  std::vector<std::u16string> texts;
  int answer = IDOK;
};

// Resetting a customized toolbar asks first, in a box owned by the bar's frame even when the bar floats
// and the application names no main window; OK brings the removed button back, Cancel keeps the change.
TEST_F(ToolBars, ResettingAToolbarAsksInABoxOwnedByItsFrame) {
  ASSERT_EQ(AfxGetMainWnd(), nullptr);
  ASSERT_TRUE(frame->Bars()->FloatCommandBar(standard));
  const int count = standard->GetControlCount();
  ASSERT_GT(count, 1);
  const UINT removed = static_cast<UINT>(standard->GetControl(0)->GetID());
  standard->GetControls()->Remove(standard->GetControl(0));
  ASSERT_EQ(standard->GetControlCount(), count - 1);

  OwnerRecordingBoxes boxes;
  seams::MessageBoxSeam* previous = seams::InstallMessageBoxes(&boxes);
  boxes.answer = IDCANCEL;
  standard->ResetToolBar();
  EXPECT_EQ(standard->GetControlCount(), count - 1);
  boxes.answer = IDOK;
  standard->ResetToolBar();
  seams::InstallMessageBoxes(previous);

  ASSERT_EQ(boxes.owners.size(), 2u);
  EXPECT_EQ(boxes.owners[0], frame->m_hWnd);
  EXPECT_EQ(boxes.owners[1], frame->m_hWnd);
  EXPECT_EQ(boxes.texts[0], u"Are you sure you want to reset the changes made to the 'Standard' toolbar?");
  ASSERT_GT(standard->GetControlCount(), 0);
  EXPECT_EQ(static_cast<UINT>(standard->GetControl(0)->GetID()), removed);
}

}  // namespace tkp_tool_bar_test
