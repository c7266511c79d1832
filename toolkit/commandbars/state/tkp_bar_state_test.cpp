// The saved toolbar layout in real windows: a toolbar hidden, floated or docked on another edge comes
// back so in a new frame, the status bar too, and a damaged layout leaves the frame's own.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <utility>
#include <vector>

#include "platform/classlib/win/cframewnd.h"
#include "platform/classlib/win/cstatusbar.h"
#include "platform/classlib/win/cwinapp.h"
#include "platform/harness/driver.h"
#include "toolkit/commandbars/frame/frame_test_support.h"
#include "toolkit/commandbars/state/bar_layout_state.h"
#include "toolkit/commandbars/frame/tkp_command_bars.h"
#include "toolkit/commandbars/bars/tkp_dock_bar.h"
#include "toolkit/commandbars/controls/tkp_controls.h"
#include "toolkit/commandbars/frame/tkp_frame_wnd.h"
#include "toolkit/commandbars/bars/tkp_tool_bar.h"

namespace {

class TestApp : public CWinApp {
 public:
  TestApp() : CWinApp(_T("Dorvane Bar State Test")) {}
};
TestApp theApp;

const wchar_t kProfileKey[] = L"Software\\Dorvane Bar State Test";
const TCHAR kSection[] = _T("CommandBars");
constexpr UINT kFirstBar = 201, kSecondBar = 202;  // as LoadToolBar would name them
constexpr UINT kWideIdBar = 0x12345;                // a program may give a bar any id
constexpr UINT kTornBar = 0xE801;

// A toolbar whose memory, once it is deleted, is spoiled rather than freed: a call on it afterwards
// fails at once.
class SpoiledWhenDeleted : public CTKPToolBar {
 public:
  static void operator delete(void* p, std::size_t size) { std::memset(p, 0xDD, size); }
};
const UINT kIndicators[] = {ID_SEPARATOR, ID_INDICATOR_CAPS};
const UINT kButtons[] = {100, 101, 0, 102};

// A frame with a status bar, the manager and two toolbars on the top edge.
class StateFrame : public CTKPFrameWnd {
 public:
  CStatusBar status;
  CTKPToolBar* supply = nullptr;  // the toolbar the site gives AddCustomBar
  CTKPCommandBars* Bars() const { return m_pCommandBars; }
  CTKPToolBar* Bar(int n) const { return m_pCommandBars->GetToolBar(n == 0 ? kFirstBar : n == 1 ? kSecondBar : kWideIdBar); }

 protected:
  afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct) {
    if (CTKPFrameWnd::OnCreate(lpCreateStruct) == -1) return -1;
    if (!status.Create(this) || !status.SetIndicators(kIndicators, 2)) return -1;
    m_pCommandBars = tkptest::MakeCommandBars(this);
    for (UINT id : {kFirstBar, kSecondBar, kWideIdBar}) {
      CTKPToolBar* bar = m_pCommandBars->Add(id == kFirstBar ? _T("First") : id == kSecondBar ? _T("Second") : _T("Third"), tkpBarTop);
      if (bar == nullptr || !bar->SetButtons(kButtons, 4)) return -1;
      bar->SetBarID(id);
    }
    return 0;
  }
  afx_msg LRESULT OnCreateCommandBar(WPARAM, LPARAM lParam) {
    auto* create = reinterpret_cast<TKP_CREATE_COMMANDBAR*>(lParam);
    if (supply != nullptr) create->pCommandBar = std::exchange(supply, nullptr);
    return 0;
  }
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(StateFrame, CTKPFrameWnd)
  ON_WM_CREATE()
  ON_MESSAGE(TKP_WM_CREATE_COMMANDBAR, OnCreateCommandBar)
END_MESSAGE_MAP()

class BarState : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    ::RegDeleteTreeW(HKEY_CURRENT_USER, kProfileKey);
    theApp.SetRegistryKey(_T("Dorvane Bar State Test"));
  }
  void TearDown() override {
    for (StateFrame* frame : m_frames) frame->DestroyWindow();
    ::RegDeleteTreeW(HKEY_CURRENT_USER, kProfileKey);
  }
  // A new frame, as at the program's start, with its saved state read.
  StateFrame* Start() {
    auto* frame = new StateFrame;
    EXPECT_TRUE(frame->Create(nullptr, _T("Bar State"), WS_OVERLAPPEDWINDOW, CRect(40, 40, 700, 500)));
    m_frames.push_back(frame);
    frame->ShowWindow(SW_SHOW);
    frame->Bars()->LoadBarState(kSection);
    frame->RecalcLayout();
    harness::PumpMessages();
    return frame;
  }
  // The program ends: the state is saved and the window goes.
  void Stop(StateFrame* frame) {
    frame->Bars()->SaveBarState(kSection);
    m_frames.erase(std::find(m_frames.begin(), m_frames.end(), frame));
    frame->DestroyWindow();
  }
  std::vector<StateFrame*> m_frames;
};

TEST_F(BarState, AHiddenToolbarAndStatusBarStayHidden) {
  StateFrame* frame = Start();
  frame->Bar(1)->SetVisible(FALSE);
  frame->ShowControlBar(&frame->status, FALSE, FALSE);
  Stop(frame);
  EXPECT_EQ(theApp.GetProfileInt(kSection, _T("StatusBar"), 1), 0u);
  frame = Start();
  EXPECT_TRUE(frame->Bar(0)->IsVisible());
  EXPECT_FALSE(frame->Bar(1)->IsVisible());
  EXPECT_FALSE(::IsWindowVisible(frame->Bar(1)->m_hWnd));
  EXPECT_FALSE(frame->status.IsWindowVisible());
  // Shown again: the value goes.
  frame->Bar(1)->SetVisible(TRUE);
  frame->ShowControlBar(&frame->status, TRUE, FALSE);
  Stop(frame);
  EXPECT_EQ(theApp.GetProfileInt(kSection, _T("StatusBar"), 7), 7u);
  frame = Start();
  EXPECT_TRUE(frame->Bar(1)->IsVisible());
  EXPECT_TRUE(frame->status.IsWindowVisible());
}

TEST_F(BarState, AFloatingToolbarFloatsWhereItWasLeft) {
  StateFrame* frame = Start();
  ASSERT_TRUE(frame->Bars()->FloatCommandBar(frame->Bar(1)));
  frame->Bar(1)->SetWindowPos(nullptr, 300, 260, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  Stop(frame);
  frame = Start();
  CTKPToolBar* bar = frame->Bar(1);
  EXPECT_EQ(bar->GetPosition(), tkpBarFloating);
  EXPECT_EQ(bar->GetDockBar(), nullptr);
  RECT rect{};
  bar->GetWindowRect(&rect);
  EXPECT_EQ(rect.left, 300);
  EXPECT_EQ(rect.top, 260);
  EXPECT_TRUE(::IsWindowVisible(bar->m_hWnd));
}

TEST_F(BarState, DockedRowsComeBackInTheirOrder) {
  StateFrame* frame = Start();
  // The second bar moves to the left edge, the first stays on top.
  ASSERT_TRUE(frame->Bars()->DockCommandBar(frame->Bar(1), tkpBarLeft));
  Stop(frame);
  frame = Start();
  EXPECT_EQ(frame->Bar(0)->GetDockBar(), frame->Bars()->GetDockBar(tkpBarTop));
  EXPECT_EQ(frame->Bar(1)->GetDockBar(), frame->Bars()->GetDockBar(tkpBarLeft));
  EXPECT_EQ(frame->Bar(1)->GetPosition(), tkpBarLeft);
  EXPECT_EQ(::GetParent(frame->Bar(1)->m_hWnd), frame->Bars()->GetDockBar(tkpBarLeft)->m_hWnd);
  EXPECT_FALSE(frame->Bars()->GetDockBar(tkpBarTop)->HasBar(frame->Bar(1)));
}

TEST_F(BarState, ADamagedLayoutLeavesTheFramesOwn) {
  StateFrame* frame = Start();
  frame->Bar(1)->SetVisible(FALSE);
  Stop(frame);
  theApp.WriteProfileInt(_T("CommandBars-DockBar0"), _T("Bars"), -3);
  frame = Start();
  EXPECT_TRUE(frame->Bar(1)->IsVisible());
  EXPECT_EQ(frame->Bar(1)->GetDockBar(), frame->Bars()->GetDockBar(tkpBarTop));
}

// A bar whose id does not fit in 16 bits is saved and read like any other: the whole layout comes back.
TEST_F(BarState, ABarWithAnIdAbove16BitsKeepsTheLayout) {
  StateFrame* frame = Start();
  frame->Bar(2)->SetVisible(FALSE);
  ASSERT_TRUE(frame->Bars()->FloatCommandBar(frame->Bar(1)));
  Stop(frame);
  frame = Start();
  EXPECT_FALSE(frame->Bar(2)->IsVisible());
  EXPECT_EQ(frame->Bar(1)->GetPosition(), tkpBarFloating);
}

// A floating tear-off bar stored hidden: hiding it closes it, and the manager lets it go only after its
// record is applied.
TEST_F(BarState, AHiddenTearOffBarIsClosedByItsRecord) {
  StateFrame* frame = Start();
  frame->supply = new SpoiledWhenDeleted;
  CTKPToolBar* torn = frame->Bars()->AddCustomBar(_T("Torn"), kTornBar, TRUE);
  ASSERT_NE(torn, nullptr);
  frame->Bars()->SaveBarState(kSection);
  ASSERT_EQ(theApp.GetProfileInt(_T("CommandBars-Bar3"), _T("BarID"), 0), kTornBar);
  theApp.WriteProfileInt(_T("CommandBars-Bar3"), _T("Visible"), 0);
  frame->Bars()->LoadBarState(kSection);
  EXPECT_EQ(frame->Bars()->GetToolBar(kTornBar), nullptr);
  EXPECT_EQ(frame->Bars()->GetCount(), 3);
}

// The monitors the layout sees, as a test gives them: the primary (the screen Xvfb has), and one on its
// left or its right.
class Monitors {
 public:
  enum Side { kNone, kLeft, kRight };
  explicit Monitors(Side side) {
    const int cx = ::GetSystemMetrics(SM_CXSCREEN), cy = ::GetSystemMetrics(SM_CYSCREEN);
    tkpstate::Screen screen{cx, cy, ::GetSystemMetrics(SM_CXICON), ::GetSystemMetrics(SM_CYICON), {}};
    screen.monitors.push_back({{0, 0, cx, cy}, {0, 0, cx, cy}});
    if (side == kLeft) screen.monitors.push_back({{-1280, 0, 0, 1024}, {-1280, 0, 0, 1024}});
    if (side == kRight) screen.monitors.push_back({{cx, 0, cx + 1280, 1024}, {cx, 0, cx + 1280, 1024}});
    tkpstate::ScreenSource() = [screen] { return screen; };
  }
  ~Monitors() { tkpstate::ScreenSource() = nullptr; }
};

CPoint FloatingCorner(CTKPToolBar* bar) {
  RECT rect{};
  bar->GetWindowRect(&rect);
  return CPoint(rect.left, rect.top);
}

// A bar floated on a monitor that is still there comes back where it was; one on a monitor that is gone
// comes back on the primary, where it can be reached.
TEST_F(BarState, AFloatingBarComesBackOnAMonitorThatIsThere) {
  const int cx = ::GetSystemMetrics(SM_CXSCREEN);
  for (const auto side : {Monitors::kRight, Monitors::kLeft}) {
    const int x = side == Monitors::kRight ? cx + 300 : -700;
    SCOPED_TRACE(x);
    StateFrame* frame = nullptr;
    {
      Monitors both(side);
      frame = Start();
      ASSERT_TRUE(frame->Bars()->FloatCommandBar(frame->Bar(1)));
      frame->Bar(1)->SetWindowPos(nullptr, x, 200, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
      Stop(frame);
      frame = Start();
      EXPECT_EQ(FloatingCorner(frame->Bar(1)), CPoint(x, 200));
      Stop(frame);
    }
    Monitors primary(Monitors::kNone);
    frame = Start();
    const CPoint corner = FloatingCorner(frame->Bar(1));
    EXPECT_EQ(corner, CPoint(side == Monitors::kRight ? cx - ::GetSystemMetrics(SM_CXICON) : 0, 200));
    EXPECT_TRUE(::IsWindowVisible(frame->Bar(1)->m_hWnd));
    Stop(frame);
  }
}

}  // namespace
