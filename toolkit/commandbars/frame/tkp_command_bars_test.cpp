// The command-bars manager on a real frame: the dock bars beside the status bar, keyboard tracking moving
// across bars, Alt and the keyboard cues, the frame's routing of the toolkit's notification, the frame's
// accelerators, the options in the registry, the tracking loop and WM_QUIT, and a creation that fails
// inside the creation handler.
#include <windows.h>

#include <gtest/gtest.h>

#include <vector>

#include "platform/classlib/win/classlib_win.h"
#include "platform/harness/driver.h"
#include "toolkit/commandbars/frame/frame_test_support.h"
#include "toolkit/commandbars/frame/tkp_command_bars.h"
#include "toolkit/commandbars/controls/tkp_control.h"
#include "toolkit/commandbars/controls/tkp_controls.h"
#include "toolkit/commandbars/bars/tkp_dock_bar.h"
#include "toolkit/commandbars/frame/tkp_flat_border.h"
#include "toolkit/commandbars/frame/tkp_frame_wnd.h"
#include "toolkit/commandbars/paint/tkp_paint_manager.h"
#include "toolkit/commandbars/state/tkp_shortcut_manager.h"
#include "toolkit/commandbars/bars/tkp_tool_bar.h"
#include "platform/classlib/cmemfile.h"
#include "toolkit/common/color_manager.h"
#include "toolkit/common/tkp_prop_exchange.h"
#include "toolkit/common/tkp_prop_values.h"
#include "toolkit/common/tkp_mouse_manager.h"

namespace {

class TestApp : public CWinApp {
 public:
  TestApp() : CWinApp(_T("Dorvane Command Bars Test")) {}
};
TestApp theApp;

const wchar_t kProfileKey[] = L"Software\\Dorvane Command Bars Test";
constexpr UINT kNotifyId = 4242;
constexpr UINT kFrameResource = 900;  // title and shortcuts (tkp_command_bars_test.rc)
constexpr UINT kNewCommand = 32800;   // Ctrl+N
constexpr UINT kFirstMenuCommand = 32801;
constexpr UINT kAltEnterCommand = 32806;  // Alt+Enter
constexpr UINT kAltHCommand = 32807;      // Alt+H, which the menu's Help also answers by its first letter
const UINT kIndicators[] = {ID_SEPARATOR, ID_INDICATOR_CAPS, ID_INDICATOR_NUM};

bool SystemHidesCues() { return false; }

// A frame with a status bar, the manager and its dock bars, and a notify handler for one control id.
class BarsFrame : public CTKPFrameWnd {
 public:
  CStatusBar status;
  int notified = 0;
  int newCommands = 0;
  std::vector<UINT> menuCommands;

  CTKPCommandBars* Bars() const { return m_pCommandBars; }
  BOOL Route(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
    return OnWndMsg(message, wParam, lParam, pResult);
  }

 protected:
  afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct) {
    if (CTKPFrameWnd::OnCreate(lpCreateStruct) == -1) return -1;
    if (!status.Create(this) || !status.SetIndicators(kIndicators, 3)) return -1;
    m_pCommandBars = tkptest::MakeCommandBars(this);
    m_pCommandBars->GetShortcutManager()->SetAccelerators(kFrameResource);
    return 0;
  }
  afx_msg void OnNew() { ++newCommands; }
  afx_msg void OnMenuCommand(UINT nID) { menuCommands.push_back(nID); }
  afx_msg void OnControlNotify(NMHDR* header, LRESULT* result) {
    ++notified;
    *result = header->code == 100 ? 7 : 0;
  }
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(BarsFrame, CTKPFrameWnd)
  ON_WM_CREATE()
  ON_NOTIFY(100, kNotifyId, OnControlNotify)
  ON_COMMAND(kNewCommand, OnNew)
  ON_COMMAND_RANGE(kFirstMenuCommand, kFirstMenuCommand + 4, OnMenuCommand)
  ON_COMMAND_RANGE(kAltEnterCommand, kAltHCommand, OnMenuCommand)
END_MESSAGE_MAP()

// A frame that offers the customize command.
class CustomizingFrame : public CFrameWnd {
 public:
  int customized = 0;

 protected:
  afx_msg void OnCustomize() { ++customized; }
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CustomizingFrame, CFrameWnd)
  ON_COMMAND(TKP_ID_CUSTOMIZE, OnCustomize)
END_MESSAGE_MAP()

// A frame whose creation handler fails in the middle of setting up its bars: docking without a site
// window throws.
class FailingFrame : public CTKPFrameWnd {
 protected:
  afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct) {
    if (CTKPFrameWnd::OnCreate(lpCreateStruct) == -1) return -1;
    m_pCommandBars = tkptest::MakeCommandBars(&m_noWindow);
    return 0;
  }
  DECLARE_MESSAGE_MAP()
  CWnd m_noWindow;
};

BEGIN_MESSAGE_MAP(FailingFrame, CTKPFrameWnd)
  ON_WM_CREATE()
END_MESSAGE_MAP()

// A toolbar whose controls come from a menu and lie in one row, as the menu bar's will.
class RowBar : public CTKPToolBar {
 public:
  static constexpr int kWidth = 76;
  static constexpr int kHeight = 24;
  explicit RowBar(int nType) {
    m_barType = nType;
    m_barPosition = tkpBarTop;
  }
  BOOL Create(CWnd* pParent) {
    return CWnd::Create(AfxRegisterWndClass(CS_DBLCLKS, ::LoadCursorW(nullptr, IDC_ARROW)), _T("Row"),
                        WS_CHILD | WS_VISIBLE, CRect(0, 0, 0, 0), pParent, 0);
  }
  BOOL IsVisible() const override { return m_bVisible && m_hWnd != nullptr; }
  CSize CalcDockingLayout(int, DWORD, int) override {
    int x = 2;
    for (int i = 0; i < GetControlCount(); ++i) {
      GetControl(i)->SetRect(CRect(x, 2, x + kWidth, 2 + kHeight));
      x += kWidth;
    }
    return CSize(x + 2, kHeight + 4);
  }
  CPoint Centre(int nIndex) const { return GetControl(nIndex)->GetRect().CenterPoint(); }
};

// The items of a small menu: two answer to S by their marks, Help only by its first letter.
RowBar* AddRowBar(CTKPCommandBars* bars, int nType) {
  auto* bar = new RowBar(nType);
  bar->SetCommandBars(bars);
  if (!bar->Create(bars->GetDockBar(tkpBarTop))) {
    bar->InternalRelease();
    return nullptr;
  }
  CMenu menu;
  menu.CreatePopupMenu();
  menu.AppendMenu(MF_STRING, kFirstMenuCommand, _T("&Open"));
  menu.AppendMenu(MF_STRING, kFirstMenuCommand + 1, _T("&Save"));
  menu.AppendMenu(MF_SEPARATOR);
  menu.AppendMenu(MF_STRING, kFirstMenuCommand + 2, _T("Sa&ve As"));
  menu.AppendMenu(MF_STRING, kFirstMenuCommand + 3, _T("&Settings"));
  menu.AppendMenu(MF_STRING, kFirstMenuCommand + 4, _T("Help"));
  bar->LoadMenu(&menu, TRUE);
  menu.DestroyMenu();
  bars->AddBar(bar);
  return bar;
}

CRect ChildRect(CWnd* parent, HWND child) {
  CRect r;
  ::GetWindowRect(child, r);
  ::MapWindowPoints(nullptr, parent->m_hWnd, reinterpret_cast<POINT*>(&r), 2);
  return r;
}

class CommandBars : public testing::Test {
 protected:
  void SetUp() override {
    ::RegDeleteTreeW(HKEY_CURRENT_USER, kProfileKey);
    theApp.SetRegistryKey(_T("Dorvane Command Bars Test"));
    frame = new BarsFrame;
    ASSERT_TRUE(frame->LoadFrame(kFrameResource, WS_OVERLAPPEDWINDOW));
    frame->SetWindowPos(nullptr, 60, 60, 640, 420, SWP_NOZORDER);
    frame->ShowWindow(SW_SHOW);
    frame->SetForegroundWindow();
    harness::PumpMessages();
  }
  void TearDown() override {
    if (frame != nullptr && ::IsWindow(frame->m_hWnd)) frame->DestroyWindow();
    ::RegDeleteTreeW(HKEY_CURRENT_USER, kProfileKey);
  }
  BarsFrame* frame = nullptr;
};

// The MDI frame loaded with its defaults opens as a main window: its default style once was the MDI
// child's, a child window without a parent, which the system refused.
TEST(TKPMDIFrame, LoadFrameWithItsDefaultsOpensAMainWindow) {
  auto* frame = new CTKPMDIFrameWnd;
  ASSERT_TRUE(frame->LoadFrame(kFrameResource));
  const DWORD style = static_cast<DWORD>(::GetWindowLongW(frame->m_hWnd, GWL_STYLE));
  EXPECT_EQ(style & WS_CHILD, 0u);
  EXPECT_EQ(style & WS_OVERLAPPEDWINDOW, static_cast<DWORD>(WS_OVERLAPPEDWINDOW));
  EXPECT_EQ(::GetParent(frame->m_hWnd), nullptr);
  EXPECT_NE(frame->m_hWndMDIClient, nullptr);
  frame->DestroyWindow();
  harness::PumpMessages();
}

TEST_F(CommandBars, EmptyBarsDockAlongTheEdgesBesideTheStatusBar) {
  CTKPCommandBars* bars = frame->Bars();
  CTKPToolBar* top = bars->Add(_T("Top"), tkpBarTop);
  CTKPToolBar* bottom = bars->Add(_T("Bottom"), tkpBarBottom);
  ASSERT_NE(top, nullptr);
  ASSERT_NE(bottom, nullptr);
  EXPECT_EQ(bars->GetCount(), 2);
  EXPECT_EQ(bars->GetAt(1), bottom);
  EXPECT_EQ(bars->GetAt(2), nullptr);
  EXPECT_EQ(bars->FindIndex(top), 0);
  frame->RecalcLayout();
  harness::PumpMessages();

  CRect client;
  frame->GetClientRect(client);
  const CRect status = ChildRect(frame, frame->status.m_hWnd);
  const CRect topDock = ChildRect(frame, bars->GetDockBar(tkpBarTop)->m_hWnd);
  const CRect bottomDock = ChildRect(frame, bars->GetDockBar(tkpBarBottom)->m_hWnd);
  const CRect topBar = ChildRect(bars->GetDockBar(tkpBarTop), top->m_hWnd);
  // The status bar lines the bottom; the bottom dock bar sits right above it, the top one at the top.
  EXPECT_EQ(status.bottom, client.bottom);
  EXPECT_EQ(bottomDock.bottom, status.top);
  EXPECT_GT(topBar.Height(), 0);
  EXPECT_EQ(bottomDock.Height(), topBar.Height());
  EXPECT_EQ(topDock.top, 0);
  EXPECT_EQ(topDock.Height(), topBar.Height());
  EXPECT_EQ(topDock.Width(), client.Width());
  // Each bar starts its dock bar's row; the empty side dock bars take no room.
  EXPECT_EQ(topBar.TopLeft(), CPoint(0, 0));
  EXPECT_EQ(ChildRect(frame, bars->GetDockBar(tkpBarLeft)->m_hWnd).Width(), 0);

  // A hidden bar gives its row back at the next layout.
  bottom->SetVisible(FALSE);
  frame->RecalcLayout();
  EXPECT_EQ(ChildRect(frame, bars->GetDockBar(tkpBarBottom)->m_hWnd).Height(), 0);
  bottom->SetVisible(TRUE);
  frame->RecalcLayout();
  harness::PumpMessages();
  EXPECT_FALSE(harness::CaptureWindow(frame->m_hWnd, "commandbars_frame").empty());

  // Removing a bar takes it out of the list and out of its dock bar.
  bars->Remove(bottom);
  EXPECT_EQ(bars->GetCount(), 1);
  frame->RecalcLayout();
  EXPECT_EQ(ChildRect(frame, bars->GetDockBar(tkpBarBottom)->m_hWnd).Height(), 0);
}

TEST_F(CommandBars, ADraggedPointDocksWithinTwentyPixelsAndStaysNearItsDockBar) {
  CTKPCommandBars* bars = frame->Bars();
  bars->Add(_T("Top"), tkpBarTop);
  frame->RecalcLayout();
  CTKPDockBar* top = bars->GetDockBar(tkpBarTop);
  CTKPDockBar* left = bars->GetDockBar(tkpBarLeft);
  CRect rc;
  top->GetWindowRect(rc);
  EXPECT_EQ(bars->CanDock(CPoint(rc.CenterPoint().x, rc.bottom + 19)), top);
  EXPECT_EQ(bars->CanDock(CPoint(rc.CenterPoint().x, rc.bottom + 20)), nullptr);
  // The empty left dock bar lies along the left edge under the top one: its corner is shared.
  CRect lr;
  left->GetWindowRect(lr);
  const CPoint corner(lr.left + 2, lr.top + 2);
  EXPECT_EQ(bars->CanDock(corner), top);
  EXPECT_EQ(bars->CanDock(corner, left), left);
  // Docking moves the bar and its position with it.
  CTKPToolBar* bar = static_cast<CTKPToolBar*>(bars->GetAt(0));
  EXPECT_TRUE(bars->DockCommandBar(bar, tkpBarBottom));
  EXPECT_EQ(bar->GetPosition(), tkpBarBottom);
  EXPECT_EQ(::GetParent(bar->m_hWnd), bars->GetDockBar(tkpBarBottom)->m_hWnd);
  frame->RecalcLayout();
  EXPECT_EQ(ChildRect(frame, top->m_hWnd).Height(), 0);
  // A frame that is not MDI has no document menu.
  EXPECT_EQ(bars->GetActiveDocTemplate(), 0u);
}

TEST_F(CommandBars, CtrlTabMovesKeyboardTrackingAcrossVisibleBars) {
  CTKPCommandBars* bars = frame->Bars();
  CTKPToolBar* first = bars->Add(_T("First"), tkpBarTop);
  CTKPToolBar* hidden = bars->Add(_T("Hidden"), tkpBarTop);
  CTKPToolBar* third = bars->Add(_T("Third"), tkpBarBottom);
  hidden->SetVisible(FALSE);
  frame->RecalcLayout();
  EXPECT_EQ(bars->GetNextVisible(0, +1), 2);
  EXPECT_EQ(bars->GetNextVisible(2, +1), 0);
  EXPECT_EQ(bars->GetNextVisible(-1, -1), 2);

  first->SetTrackingMode(1, FALSE, TRUE);
  EXPECT_TRUE(TKPMouseManager()->IsTracked());
  // Ctrl+Tab as the keyboard manager hands it to the tracking bar.
  BYTE keys[256] = {};
  ::GetKeyboardState(keys);
  keys[VK_CONTROL] = 0x80;
  ::SetKeyboardState(keys);
  EXPECT_EQ(first->OnHookKeyDown(VK_TAB, 0), 1);
  EXPECT_FALSE(first->IsTrackingMode());
  EXPECT_FALSE(hidden->IsTrackingMode());
  EXPECT_EQ(third->GetTrackingMode(), 1);
  // With Shift it goes back; the hidden bar is passed over both ways.
  keys[VK_SHIFT] = 0x80;
  ::SetKeyboardState(keys);
  EXPECT_EQ(third->OnHookKeyDown(VK_TAB, 0), 1);
  EXPECT_EQ(first->GetTrackingMode(), 1);
  EXPECT_FALSE(third->IsTrackingMode());
  keys[VK_CONTROL] = 0;
  keys[VK_SHIFT] = 0;
  ::SetKeyboardState(keys);
  // Esc ends the tracking and the mouse manager lets the bar go.
  EXPECT_EQ(first->OnHookKeyDown(VK_ESCAPE, 0), 1);
  EXPECT_FALSE(first->IsTrackingMode());
  EXPECT_FALSE(TKPMouseManager()->IsTracked());
}

TEST_F(CommandBars, BarMnemonicsReadTheMenuTexts) {
  RowBar* bar = AddRowBar(frame->Bars(), tkpBarTypeNormal);
  ASSERT_NE(bar, nullptr);
  ASSERT_EQ(bar->GetControlCount(), 5);
  EXPECT_TRUE(bar->GetControl(2)->GetBeginGroup());  // the separator before "Sa&ve As"
  BOOL ambiguous = TRUE;
  EXPECT_EQ(bar->FindAccel('O', &ambiguous), 0);
  EXPECT_FALSE(ambiguous);
  EXPECT_EQ(bar->FindAccel('v', &ambiguous), 2);
  EXPECT_FALSE(ambiguous);
  EXPECT_EQ(bar->FindAccel('S', &ambiguous), 1);
  EXPECT_TRUE(ambiguous);
  EXPECT_EQ(bar->FindAccel('h', &ambiguous), 4);  // a bar's own search allows the first letter
  EXPECT_EQ(bar->FindAccel('z', &ambiguous), -1);
  // From a selection the walk starts after it.
  bar->SetSelected(1, TRUE);
  EXPECT_EQ(bar->FindAccel('S', &ambiguous), 3);
  EXPECT_TRUE(ambiguous);
}

TEST_F(CommandBars, AltLetterSelectsAndRunsTheOneControlThatAnswers) {
  CTKPCommandBars* bars = frame->Bars();
  RowBar* bar = AddRowBar(bars, tkpBarTypeMenuBar);
  ASSERT_NE(bar, nullptr);
  frame->RecalcLayout();
  ASSERT_TRUE(harness::WaitUntil([&] { return ::GetActiveWindow() == frame->m_hWnd; }));
  // One answer: selected and run as by the keyboard; the tracking ends with the command.
  MSG altO{frame->m_hWnd, WM_SYSKEYDOWN, 'O', 0x20180001, 0, {}};
  EXPECT_TRUE(frame->PreTranslateMessage(&altO));
  harness::PumpMessages();
  EXPECT_EQ(frame->menuCommands, std::vector<UINT>{kFirstMenuCommand});
  EXPECT_FALSE(bar->IsTrackingMode());
  // Two answers: the first is selected by keyboard and nothing runs; the letter again moves on.
  MSG altS{frame->m_hWnd, WM_SYSKEYDOWN, 'S', 0x201F0001, 0, {}};
  EXPECT_TRUE(frame->PreTranslateMessage(&altS));
  EXPECT_EQ(bar->GetTrackingMode(), 1);
  EXPECT_EQ(bar->GetSelected(), 1);
  EXPECT_TRUE(bar->IsSelectedByKeyboard());
  EXPECT_EQ(bar->GetControl(1)->GetSelected(), 2);
  EXPECT_EQ(bar->OnHookKeyDown('S', 0), 1);
  EXPECT_EQ(bar->GetSelected(), 3);
  EXPECT_EQ(frame->menuCommands.size(), 1u);
  // On the menu bar a caption without a mark answers by its first letter in the frame-wide search.
  bar->EndTracking();
  MSG altH{frame->m_hWnd, WM_SYSKEYDOWN, 'H', 0x20230001, 0, {}};
  EXPECT_TRUE(frame->PreTranslateMessage(&altH));
  harness::PumpMessages();
  EXPECT_EQ(frame->menuCommands.back(), kFirstMenuCommand + 4);
  // With first letters turned off (bit 4), Help no longer answers and the key goes on to the system.
  bars->GetOptions()->keyboardCuesUse = TKP_CUES_USE_ALL_BARS | TKP_CUES_USE_AMPERSAND;
  EXPECT_FALSE(frame->PreTranslateMessage(&altH));
  // Frame-wide mnemonics off.
  bars->GetOptions()->keyboardCuesUse = TKP_CUES_USE_NONE;
  EXPECT_FALSE(frame->PreTranslateMessage(&altO));
  EXPECT_EQ(frame->menuCommands.size(), 2u);
}

// "KeyboardCuesUse" is a set of bits, and the value 2 alone turns the frame-wide search off: 2 together
// with other bits still searches.
TEST_F(CommandBars, OnlyTheValueTwoTurnsFrameWideMnemonicsOff) {
  CTKPCommandBars* bars = frame->Bars();
  RowBar* bar = AddRowBar(bars, tkpBarTypeMenuBar);
  ASSERT_NE(bar, nullptr);
  frame->RecalcLayout();
  for (int use = 0; use <= 7; ++use) {
    bars->GetOptions()->keyboardCuesUse = use;
    frame->menuCommands.clear();
    EXPECT_EQ(bars->OnFrameAccel('O') != FALSE, use != TKP_CUES_USE_NONE) << use;
    harness::PumpMessages();
    const std::vector<UINT> expected =
        use != TKP_CUES_USE_NONE ? std::vector<UINT>{kFirstMenuCommand} : std::vector<UINT>{};
    EXPECT_EQ(frame->menuCommands, expected) << use;
    bar->EndTracking();
  }
}

TEST_F(CommandBars, ArrowKeysReturnAndEscapeOnATrackingBar) {
  RowBar* bar = AddRowBar(frame->Bars(), tkpBarTypeNormal);
  ASSERT_NE(bar, nullptr);
  frame->RecalcLayout();
  bar->SetTrackingMode(1, TRUE, TRUE);  // the first control selected
  EXPECT_EQ(bar->GetSelected(), 0);
  EXPECT_EQ(bar->OnHookKeyDown(VK_RIGHT, 0), 1);
  EXPECT_EQ(bar->GetSelected(), 1);
  EXPECT_EQ(bar->OnHookKeyDown(VK_END, 0), 1);
  EXPECT_EQ(bar->GetSelected(), 4);
  EXPECT_EQ(bar->OnHookKeyDown(VK_RIGHT, 0), 1);  // wraps
  EXPECT_EQ(bar->GetSelected(), 0);
  EXPECT_EQ(bar->OnHookKeyDown(VK_LEFT, 0), 1);
  EXPECT_EQ(bar->GetSelected(), 4);
  EXPECT_EQ(bar->OnHookKeyDown(VK_HOME, 0), 1);
  EXPECT_EQ(bar->GetSelected(), 0);
  // Down on a control without a popup opens nothing and the key is not the bar's.
  EXPECT_EQ(bar->OnHookKeyDown(VK_DOWN, 0), 0);
  bar->SetSelected(3, TRUE);
  harness::PumpMessages();
  EXPECT_FALSE(harness::CaptureWindow(frame->m_hWnd, "commandbars_keyboard").empty());
  EXPECT_EQ(bar->OnHookKeyDown(VK_RETURN, 0), 1);
  harness::PumpMessages();
  EXPECT_EQ(frame->menuCommands, std::vector<UINT>{kFirstMenuCommand + 3});
  EXPECT_FALSE(bar->IsTrackingMode());
  bar->SetTrackingMode(1, TRUE, TRUE);
  EXPECT_EQ(bar->OnHookKeyDown(VK_ESCAPE, 0), 1);
  EXPECT_FALSE(bar->IsTrackingMode());
  EXPECT_EQ(bar->GetSelected(), -1);
}

TEST_F(CommandBars, TheMouseSelectsTheControlUnderIt) {
  RowBar* bar = AddRowBar(frame->Bars(), tkpBarTypeNormal);
  ASSERT_NE(bar, nullptr);
  frame->RecalcLayout();
  ASSERT_TRUE(harness::WaitUntil([&] { return ::GetActiveWindow() == frame->m_hWnd; }));
  const CPoint over = bar->Centre(2);
  bar->SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(over.x, over.y));
  EXPECT_EQ(bar->GetSelected(), 2);
  EXPECT_FALSE(bar->IsSelectedByKeyboard());
  EXPECT_EQ(bar->GetControl(2)->GetSelected(), 1);
  bar->SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(bar->Centre(4).x + RowBar::kWidth, over.y));
  EXPECT_EQ(bar->GetSelected(), -1);
  bar->SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(over.x, over.y));
  bar->SendMessage(WM_MOUSELEAVE);
  EXPECT_EQ(bar->GetSelected(), -1);
  EXPECT_EQ(bar->GetControl(2)->GetSelected(), 0);
}

TEST_F(CommandBars, FrameMessagesCloseTrackingAndPreviewHidesTheBars) {
  CTKPCommandBars* bars = frame->Bars();
  RowBar* row = AddRowBar(bars, tkpBarTypeNormal);
  CTKPToolBar* hidden = bars->Add(_T("Hidden"), tkpBarTop);
  hidden->SetVisible(FALSE);
  frame->RecalcLayout();
  // Leaving the application closes what is tracked.
  row->SetTrackingMode(1, TRUE, TRUE);
  frame->SendMessage(WM_ACTIVATEAPP, FALSE, 0);
  EXPECT_FALSE(row->IsTrackingMode());
  // A colour change refreshes colours and images and lays the frame out again.
  frame->SendMessage(WM_SYSCOLORCHANGE);
  EXPECT_EQ(ChildRect(frame, bars->GetDockBar(tkpBarTop)->m_hWnd).Height(), RowBar::kHeight + 4);
  // Print preview hides the visible bars; afterwards those come back and the hidden one stays hidden.
  frame->OnSetPreviewMode(TRUE, nullptr);
  frame->RecalcLayout();  // a layout during the preview leaves them hidden
  EXPECT_FALSE(row->IsWindowVisible());
  EXPECT_EQ(ChildRect(frame, bars->GetDockBar(tkpBarTop)->m_hWnd).Height(), 0);
  frame->OnSetPreviewMode(FALSE, nullptr);
  frame->RecalcLayout();
  EXPECT_TRUE(row->IsWindowVisible());
  EXPECT_FALSE(hidden->IsWindowVisible());
  EXPECT_EQ(ChildRect(frame, bars->GetDockBar(tkpBarTop)->m_hWnd).Height(), RowBar::kHeight + 4);
}

TEST_F(CommandBars, ContextHelpModeHitTestsControlsAsClientOrMenu) {
  RowBar* bar = AddRowBar(frame->Bars(), tkpBarTypeNormal);
  bar->GetControls()->Add(tkpControlPopup, 0);  // a popup without a command of its own
  frame->RecalcLayout();
  const auto screenAt = [&](int index) {
    CPoint point = bar->Centre(index);
    bar->ClientToScreen(point);
    return MAKELPARAM(point.x, point.y);
  };
  frame->m_bHelpMode = TRUE;
  EXPECT_EQ(bar->SendMessage(WM_NCHITTEST, 0, screenAt(1)), HTCLIENT);
  EXPECT_EQ(bar->SendMessage(WM_NCHITTEST, 0, screenAt(5)), HTMENU);
  EXPECT_EQ(bar->OnHookKeyDown(VK_RIGHT, 0), 2);  // keys are the help mode's
  frame->m_bHelpMode = FALSE;
  EXPECT_EQ(bar->SendMessage(WM_NCHITTEST, 0, screenAt(5)), HTCLIENT);
}

TEST_F(CommandBars, FlatBorderWindowsHaveOnePixelInTheBorderColour) {
  // An edit keeps the font it is given, so the creation's font can be read back.
  CTKPFlatBorder<CEdit> child;
  ASSERT_TRUE(child.Create(WS_CHILD | WS_VISIBLE | ES_MULTILINE, CRect(20, 80, 220, 180), frame, 77));
  CRect client;
  child.GetClientRect(client);
  EXPECT_EQ(client.Width(), 198);
  EXPECT_EQ(client.Height(), 98);
  EXPECT_EQ(reinterpret_cast<HGDIOBJ>(child.SendMessage(WM_GETFONT)),
            CTKPPaintManager::GetCurrentOrDefault()->GetRegularFont(nullptr)->m_hObject);
  child.RedrawWindow(nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
  HDC dc = ::GetWindowDC(child.m_hWnd);
  const COLORREF border = TKPColorManager()->GetColor(52);
  EXPECT_EQ(::GetPixel(dc, 0, 0), border);
  EXPECT_EQ(::GetPixel(dc, 199, 50), border);
  EXPECT_EQ(::GetPixel(dc, 100, 99), border);
  ::ReleaseDC(child.m_hWnd, dc);
  child.DestroyWindow();
}

TEST_F(CommandBars, AClickOnAControlRunsItsCommandOnce) {
  RowBar* bar = AddRowBar(frame->Bars(), tkpBarTypeNormal);
  frame->RecalcLayout();
  ASSERT_TRUE(harness::WaitUntil([&] { return ::GetActiveWindow() == frame->m_hWnd; }));
  const CPoint at = bar->Centre(3);
  harness::Click(bar->m_hWnd, POINT{at.x, at.y});
  harness::PumpFor(300);
  EXPECT_EQ(frame->menuCommands, std::vector<UINT>{kFirstMenuCommand + 3});
  EXPECT_EQ(::GetCapture(), nullptr);
}

TEST_F(CommandBars, TrackingEndsWhenTheKeyboardManagerGivesTheBarEscape) {
  CTKPToolBar* bar = frame->Bars()->Add(_T("Bar"), tkpBarTop);
  frame->RecalcLayout();
  bar->SetTrackingMode(1, FALSE, TRUE);
  EXPECT_TRUE(TKPKeyboardManager()->IsKeyboardHooked());
  // A real key press goes through the thread's keyboard hook to the tracking bar.
  ASSERT_TRUE(harness::WaitUntil([&] { return ::GetActiveWindow() == frame->m_hWnd; }));
  ::SetFocus(frame->m_hWnd);
  INPUT keys[2] = {};
  keys[0].type = keys[1].type = INPUT_KEYBOARD;
  keys[0].ki.wVk = keys[1].ki.wVk = VK_ESCAPE;
  keys[1].ki.dwFlags = KEYEVENTF_KEYUP;
  ASSERT_EQ(::SendInput(2, keys, sizeof(INPUT)), 2u);
  harness::WaitUntil([&] { return !bar->IsTrackingMode(); }, 2000);
  EXPECT_FALSE(bar->IsTrackingMode());
  EXPECT_FALSE(TKPKeyboardManager()->IsKeyboardHooked());
}

TEST_F(CommandBars, AltShowsTheKeyboardCuesWhileTheSystemHidesThem) {
  CTKPCommandBars* bars = frame->Bars();
  bars->Add(_T("Bar"), tkpBarTop);
  auto* saved = CTKPCommandBarsOptions::s_pfnSystemShowsCues;
  CTKPCommandBarsOptions::s_pfnSystemShowsCues = &SystemHidesCues;
  bars->GetOptions()->ShowKeyboardCues(tkpCuesSystem);
  CTKPCommandBarsOptions::s_pfnSystemShowsCues = saved;
  EXPECT_FALSE(bars->IsKeyboardCuesVisible());
  EXPECT_FALSE(bars->GetAt(0)->IsKeyboardCuesVisible());

  ASSERT_TRUE(harness::WaitUntil([&] { return ::GetActiveWindow() == frame->m_hWnd; }));
  MSG alt{frame->m_hWnd, WM_SYSKEYDOWN, VK_MENU, 0x20380001, 0, {}};
  EXPECT_FALSE(frame->PreTranslateMessage(&alt));  // Alt goes on to the system
  EXPECT_TRUE(bars->IsKeyboardCuesVisible());
  EXPECT_TRUE(bars->GetAt(0)->IsKeyboardCuesVisible());
  MSG up{frame->m_hWnd, WM_SYSKEYUP, VK_MENU, static_cast<LPARAM>(0xE0380001u), 0, {}};
  frame->PreTranslateMessage(&up);
  EXPECT_FALSE(bars->IsKeyboardCuesVisible());

  // While a bar is tracked the release is swallowed and the cues stay.
  frame->PreTranslateMessage(&alt);
  bars->GetAt(0)->SetTrackingMode(1, FALSE, TRUE);
  EXPECT_TRUE(frame->PreTranslateMessage(&up));
  EXPECT_TRUE(bars->IsKeyboardCuesVisible());
  // Leaving the tracking hides them again.
  bars->GetAt(0)->EndTracking();
  EXPECT_FALSE(bars->IsKeyboardCuesVisible());

  // Alt+letter with no bar control to answer is left to the system; a keypad digit never searches.
  MSG letter{frame->m_hWnd, WM_SYSKEYDOWN, 'Q', 0x20100001, 0, {}};
  EXPECT_FALSE(frame->PreTranslateMessage(&letter));
  EXPECT_FALSE(bars->OnFrameAccel(VK_NUMPAD1));

  // Always shown: Alt's release leaves them.
  bars->GetOptions()->ShowKeyboardCues(tkpCuesAlways);
  frame->PreTranslateMessage(&alt);
  frame->PreTranslateMessage(&up);
  EXPECT_TRUE(bars->IsKeyboardCuesVisible());
}

TEST_F(CommandBars, TheControlNotificationReachesNotifyHandlersOnly) {
  NMHDR header{nullptr, kNotifyId, 100};
  LRESULT result = -5;
  EXPECT_TRUE(frame->Route(TKP_WM_CONTROLNOTIFY, kNotifyId, reinterpret_cast<LPARAM>(&header), &result));
  EXPECT_EQ(result, 7);
  EXPECT_EQ(frame->notified, 1);
  // No handler for this id: not routed, the result left alone.
  NMHDR other{nullptr, kNotifyId + 1, 100};
  result = -5;
  EXPECT_FALSE(frame->Route(TKP_WM_CONTROLNOTIFY, kNotifyId + 1, reinterpret_cast<LPARAM>(&other), &result));
  EXPECT_EQ(result, -5);
  EXPECT_EQ(frame->notified, 1);
  // The close is swallowed only while the bars are customized.
  frame->Bars()->SetCustomizeMode(TRUE);
  frame->SendMessage(WM_CLOSE);
  EXPECT_TRUE(::IsWindow(frame->m_hWnd));
  frame->Bars()->SetCustomizeMode(FALSE);
}

TEST_F(CommandBars, CustomizingIsAvailableWhereTheSiteHandlesTheCommand) {
  // The test frame has no handler: customizing is not offered.
  EXPECT_FALSE(frame->Bars()->IsCustomizeAvail());
  auto* site = new CustomizingFrame;
  ASSERT_TRUE(site->Create(nullptr, _T("Customizing"), WS_OVERLAPPEDWINDOW, CRect(10, 10, 300, 200)));
  auto* bars = static_cast<CTKPCommandBars*>(RUNTIME_CLASS(CTKPCommandBars)->CreateObject());
  bars->SetSite(site);
  EXPECT_TRUE(bars->IsCustomizeAvail());
  EXPECT_EQ(site->customized, 0);  // only looked up, not run
  EXPECT_EQ(bars->GetSite(), site);
  bars->InternalRelease();
  site->DestroyWindow();
}

TEST_F(CommandBars, TheShortcutManagerAloneTranslatesAccelerators) {
  // The frame's own table went when the shortcut manager took the frame's accelerators.
  EXPECT_EQ(frame->m_hAccelTable, nullptr);
  EXPECT_EQ(frame->Bars()->GetShortcutManager()->GetCount(), 3);
  // Ctrl+N through the frame's pre-translation becomes the command, once.
  BYTE keys[256] = {};
  ::GetKeyboardState(keys);
  keys[VK_CONTROL] = 0x80;
  ::SetKeyboardState(keys);
  MSG press{frame->m_hWnd, WM_KEYDOWN, 'N', 0x00310001, 0, {}};
  EXPECT_TRUE(frame->PreTranslateMessage(&press));
  keys[VK_CONTROL] = 0;
  ::SetKeyboardState(keys);
  MSG plain{frame->m_hWnd, WM_KEYDOWN, 'N', 0x00310001, 0, {}};
  EXPECT_FALSE(frame->PreTranslateMessage(&plain));
  EXPECT_EQ(frame->newCommands, 1);
  // During a print preview the shortcuts rest; afterwards they work again.
  keys[VK_CONTROL] = 0x80;
  ::SetKeyboardState(keys);
  frame->OnSetPreviewMode(TRUE, nullptr);
  EXPECT_FALSE(frame->PreTranslateMessage(&press));
  frame->OnSetPreviewMode(FALSE, nullptr);
  EXPECT_TRUE(frame->PreTranslateMessage(&press));
  keys[VK_CONTROL] = 0;
  ::SetKeyboardState(keys);
  EXPECT_EQ(frame->newCommands, 2);
}

TEST_F(CommandBars, AltKeysThatNoMnemonicAnswersReachTheShortcuts) {
  CTKPCommandBars* bars = frame->Bars();
  RowBar* bar = AddRowBar(bars, tkpBarTypeMenuBar);
  ASSERT_NE(bar, nullptr);
  frame->RecalcLayout();
  ASSERT_TRUE(harness::WaitUntil([&] { return ::GetActiveWindow() == frame->m_hWnd; }));
  BYTE keys[256] = {};
  ::GetKeyboardState(keys);
  keys[VK_MENU] = 0x80;
  ::SetKeyboardState(keys);
  // No caption answers Enter: the shortcut runs.
  MSG altEnter{frame->m_hWnd, WM_SYSKEYDOWN, VK_RETURN, 0x201C0001, 0, {}};
  EXPECT_TRUE(frame->PreTranslateMessage(&altEnter));
  EXPECT_EQ(frame->menuCommands, std::vector<UINT>{kAltEnterCommand});
  EXPECT_FALSE(bar->IsTrackingMode());
  // A mnemonic answers first; with first letters turned off the same key is the user's shortcut.
  MSG altH{frame->m_hWnd, WM_SYSKEYDOWN, 'H', 0x20230001, 0, {}};
  EXPECT_TRUE(frame->PreTranslateMessage(&altH));
  harness::PumpMessages();
  EXPECT_EQ(frame->menuCommands.back(), kFirstMenuCommand + 4);
  bars->GetOptions()->keyboardCuesUse = TKP_CUES_USE_ALL_BARS | TKP_CUES_USE_AMPERSAND;
  EXPECT_TRUE(frame->PreTranslateMessage(&altH));
  EXPECT_EQ(frame->menuCommands.back(), kAltHCommand);
  // Shift held while Shift+Alt is kept from the mnemonics: the key still reaches the shortcuts.
  bars->GetOptions()->keyboardCuesUse = TKP_CUES_USE_ALL_BARS;
  bars->m_bIgnoreShiftMenuKey = TRUE;
  keys[VK_SHIFT] = 0x80;
  ::SetKeyboardState(keys);
  EXPECT_FALSE(frame->PreTranslateMessage(&altH));  // Shift+Alt+H is no shortcut
  keys[VK_SHIFT] = 0;
  keys[VK_MENU] = 0;
  ::SetKeyboardState(keys);
  EXPECT_EQ(frame->menuCommands.size(), 3u);
}

TEST_F(CommandBars, HiddenCommandsShowOnceUsedUntilTheUsageIsReset) {
  CTKPCommandBars* bars = frame->Bars();
  // The frame's own menu keeps its items: only the bars hide them.
  HMENU native = ::CreateMenu();
  HMENU file = ::CreatePopupMenu();
  ::AppendMenuW(file, MF_STRING, ID_FILE_PRINT, L"&Print");
  ::AppendMenuW(native, MF_POPUP, reinterpret_cast<UINT_PTR>(file), L"&File");
  ::SetMenu(frame->m_hWnd, native);
  const UINT ids[] = {ID_FILE_PRINT, ID_FILE_PRINT_PREVIEW};
  bars->HideCommands(ids, 2);
  EXPECT_NE(::GetMenuState(native, ID_FILE_PRINT, MF_BYCOMMAND), static_cast<UINT>(-1));
  ::SetMenu(frame->m_hWnd, nullptr);
  ::DestroyMenu(native);
  EXPECT_TRUE(bars->IsControlHidden(ID_FILE_PRINT));
  bars->SetCommandUsed(ID_FILE_PRINT);
  bars->SetCommandUsed(ID_FILE_NEW);  // not hidden: nothing to remember
  EXPECT_FALSE(bars->IsControlHidden(ID_FILE_PRINT));
  EXPECT_TRUE(bars->IsControlHidden(ID_FILE_PRINT_PREVIEW));
  EXPECT_EQ(bars->GetOptions()->m_mapUsedCommands.GetCount(), 1);
  bars->ResetUsageData();
  EXPECT_TRUE(bars->IsControlHidden(ID_FILE_PRINT));
}

// The frame turns full menus off before it loads the user's options: a profile that stores nothing keeps
// the frame's choice, and one the user turned full menus on in brings them back on.
TEST_F(CommandBars, LoadingTheOptionsKeepsTheFramesChoiceOfFullMenus) {
  ::RegDeleteTreeW(HKEY_CURRENT_USER, kProfileKey);
  auto* first = static_cast<CTKPCommandBars*>(RUNTIME_CLASS(CTKPCommandBars)->CreateObject());
  first->GetOptions()->bAlwaysShowFullMenus = FALSE;
  first->LoadOptions(_T("CommandBars"));  // nothing stored yet
  EXPECT_FALSE(first->GetOptions()->bAlwaysShowFullMenus);
  first->SaveOptions(_T("CommandBars"));
  first->InternalRelease();
  for (const BOOL chosen : {TRUE, FALSE}) {
    auto* user = static_cast<CTKPCommandBars*>(RUNTIME_CLASS(CTKPCommandBars)->CreateObject());
    user->GetOptions()->bAlwaysShowFullMenus = chosen;  // as the customize dialog leaves it
    user->SaveOptions(_T("CommandBars"));
    user->InternalRelease();
    auto* next = static_cast<CTKPCommandBars*>(RUNTIME_CLASS(CTKPCommandBars)->CreateObject());
    next->GetOptions()->bAlwaysShowFullMenus = FALSE;
    next->LoadOptions(_T("CommandBars"));
    EXPECT_EQ(next->GetOptions()->bAlwaysShowFullMenus, chosen);
    next->InternalRelease();
  }
  ::RegDeleteTreeW(HKEY_CURRENT_USER, kProfileKey);
}

TEST_F(CommandBars, UserOptionsRoundTripThroughTheProfile) {
  CTKPCommandBars* bars = frame->Bars();
  bars->GetOptions()->bAlwaysShowFullMenus = FALSE;
  bars->GetOptions()->nAnimationType = 2;
  bars->HideCommand(ID_FILE_PRINT);
  bars->SetCommandUsed(ID_FILE_PRINT);
  bars->SaveOptions(_T("CommandBars"));
  HKEY key = nullptr;
  ASSERT_EQ(::RegOpenKeyExW(HKEY_CURRENT_USER,
                            L"Software\\Dorvane Command Bars Test\\Dorvane Command Bars Test\\CommandBars-Options", 0,
                            KEY_READ, &key),
            ERROR_SUCCESS);
  ::RegCloseKey(key);

  auto* fresh = static_cast<CTKPCommandBars*>(RUNTIME_CLASS(CTKPCommandBars)->CreateObject());
  fresh->LoadOptions(_T("CommandBars"));
  EXPECT_FALSE(fresh->GetOptions()->bAlwaysShowFullMenus);
  EXPECT_EQ(fresh->GetOptions()->nAnimationType, 2);
  BOOL used = FALSE;
  EXPECT_TRUE(fresh->GetOptions()->m_mapUsedCommands.Lookup(ID_FILE_PRINT, used));
  // The user's options leave the hidden set out.
  EXPECT_EQ(fresh->GetOptions()->m_mapHiddenCommands.GetCount(), 0);
  fresh->InternalRelease();
}

TEST_F(CommandBars, TheIconOptionsAreThePaintManagersOwn) {
  // Stored from the flat theme's icon options, loaded into a classic theme's.
  auto* flat = static_cast<CTKPCommandBars*>(RUNTIME_CLASS(CTKPCommandBars)->CreateObject());
  flat->SetPaintManager(CTKPPaintManager::CreateTheme(tkpThemeFlat));
  flat->GetPaintManager()->m_bUseFadedIcons = FALSE;
  const std::vector<BYTE> bytes = TKPArchiveStore([flat](CArchive& ar) {
    CTKPPropExchangeArchive px(ar);
    flat->GetOptions()->DoPropExchange(&px);
  });
  flat->InternalRelease();

  auto* classic = static_cast<CTKPCommandBars*>(RUNTIME_CLASS(CTKPCommandBars)->CreateObject());
  classic->SetPaintManager(CTKPPaintManager::CreateTheme(tkpThemeDefault));
  CTKPPaintManager* paint = classic->GetPaintManager();
  ASSERT_FALSE(paint->m_bIconsWithShadow);
  ASSERT_FALSE(paint->m_bUseDisabledIcons);
  CMemFile file(const_cast<BYTE*>(bytes.data()), static_cast<UINT>(bytes.size()));
  CArchive ar(&file, CArchive::load);
  CTKPPropExchangeArchive px(ar);
  classic->GetOptions()->DoPropExchange(&px);
  EXPECT_TRUE(paint->m_bIconsWithShadow);
  EXPECT_TRUE(paint->m_bUseDisabledIcons);
  EXPECT_FALSE(paint->m_bUseFadedIcons);
  classic->InternalRelease();
}

TEST_F(CommandBars, TheTrackingLoopPutsQuitBackForTheOuterLoop) {
  CTKPToolBar* bar = frame->Bars()->Add(_T("Bar"), tkpBarTop);
  bar->SetTrackingMode(1, FALSE, TRUE);
  ::PostQuitMessage(9);
  EXPECT_FALSE(CTKPCommandBars::PumpTrackingLoop(bar));
  MSG quit{};
  ASSERT_TRUE(::PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
  EXPECT_EQ(quit.wParam, 9u);
  // A bar that is no longer tracking runs no loop.
  bar->EndTracking();
  EXPECT_TRUE(CTKPCommandBars::PumpTrackingLoop(bar));
}

TEST_F(CommandBars, ACreationHandlerThatThrowsFailsTheFrameCleanly) {
  auto* failing = new FailingFrame;
  // The exception stops at the window procedure: the frame is not created (and deletes itself).
  EXPECT_FALSE(failing->Create(nullptr, _T("Failing"), WS_OVERLAPPEDWINDOW, CRect(10, 10, 300, 200)));
  EXPECT_EQ(harness::FindThreadWindow(L"Failing"), nullptr);
}

}  // namespace
