// A frame's bars as the manager keeps them: the expanded-menus state ends with tracking.
#include <windows.h>

#include <gtest/gtest.h>

#include "platform/classlib/win/classlib_win.h"
#include "platform/harness/driver.h"
#include "res/resource.h"
#include "toolkit/commandbars/frame_test_support.h"
#include "toolkit/commandbars/tkp_command_bars.h"
#include "toolkit/commandbars/tkp_controls.h"
#include "toolkit/commandbars/tkp_frame_wnd.h"
#include "toolkit/commandbars/tkp_popup_bar.h"
#include "toolkit/commandbars/tkp_tool_bar.h"
#include "toolkit/common/tkp_mouse_manager.h"

namespace {

class TestApp : public CWinApp {
 public:
  TestApp() : CWinApp(_T("Dorvane Bar Behaviour Test")) {}
};
TestApp theApp;

class BarsFrame : public CTKPFrameWnd {
 public:
  CTKPCommandBars* Bars() {
    if (m_pCommandBars == nullptr) m_pCommandBars = tkptest::MakeCommandBars(this);
    return m_pCommandBars;
  }
};

class BarBehaviour : public testing::Test {
 protected:
  void SetUp() override {
    frame = new BarsFrame;
    ASSERT_TRUE(frame->Create(nullptr, _T("Bars"), WS_OVERLAPPEDWINDOW | WS_VISIBLE, CRect(0, 0, 600, 300)));
    bar = frame->Bars()->Add(_T("Tools"), tkpBarTop);
    ASSERT_NE(bar, nullptr);
    const UINT ids[] = {ID_FIND_FILES, ID_SETTINGS};
    bar->SetButtons(ids, 2);
    frame->RecalcLayout();
    harness::PumpMessages();
  }
  void TearDown() override {
    frame->DestroyWindow();
    harness::PumpMessages();
  }
  BarsFrame* frame = nullptr;
  CTKPToolBar* bar = nullptr;
};

TEST_F(BarBehaviour, LeavingTrackingWithNothingTrackedForgetsThatMenusWereExpanded) {
  bar->SetTrackingMode(1, FALSE, FALSE);
  TKPPopupsExpandedWhileTracking() = TRUE;  // a popup expanded its hidden commands meanwhile
  bar->SetTrackingMode(0, FALSE, FALSE);
  EXPECT_FALSE(TKPMouseManager()->IsTracked());
  EXPECT_FALSE(TKPPopupsExpandedWhileTracking());
}

}  // namespace
