// The tooltip context in real windows: the owner's hit test feeds the tip, which shows after the delay and
// goes on a key press; tool records filled safely; a style change makes a new tip.
#include "toolkit/common/tkp_tooltip_context.h"

#include <gtest/gtest.h>

#include "platform/classlib/win/classlib_win.h"
#include "platform/harness/driver.h"
#include "toolkit/common/tkp_tooltip_wnd.h"

#include <vector>

namespace tooltip_context_test {

uint32_t g_now = 500000;

class ToolOwner : public CWnd {
 public:
  INT_PTR OnToolHitTest(CPoint point, TOOLINFO* pTI) const override {
    if (point.x < 0 || point.y < 0 || point.x >= 200 || point.y >= 100) return -1;
    const INT_PTR id = point.x < 100 ? 1 : 2;
    const CRect r(id == 1 ? 0 : 100, 0, id == 1 ? 100 : 200, 100);
    CTKPToolTipContext::FillInToolInfo(pTI, m_hWnd, r, id, id == 1 ? CString(_T("Open")) : CString(_T("Save")),
                                       _T("Title"), _T("Described"));
    return id;
  }
};

TEST(ToolTipContext, FillInToolInfoChecksTheRecordAndCopiesThePair) {
  CTKPToolTipContext::FillInToolInfo(nullptr, nullptr, CRect(), 1, _T("x"));  // nothing, no crash
  TOOLINFO small{};
  small.cbSize = 12;  // too small a record: left alone
  CTKPToolTipContext::FillInToolInfo(&small, nullptr, CRect(), 1, _T("x"));
  EXPECT_EQ(small.lpszText, nullptr);
  wchar_t* pair[2] = {nullptr, nullptr};
  TOOLINFO ti{};
  ti.cbSize = TTTOOLINFOW_V2_SIZE;
  ti.lParam = reinterpret_cast<LPARAM>(pair);
  CTKPToolTipContext::FillInToolInfo(&ti, nullptr, CRect(1, 2, 3, 4), 9, _T("Text"), _T("Title"), _T("Body"));
  EXPECT_EQ(ti.uId, 9u);
  EXPECT_STREQ(ti.lpszText, L"Text");
  EXPECT_STREQ(pair[CTKPToolTipContext::kTitle], L"Title");
  EXPECT_STREQ(pair[CTKPToolTipContext::kDescription], L"Body");
  delete[] ti.lpszText;
  delete[] pair[0];
  delete[] pair[1];
}

TEST(ToolTipContext, ATipFromTheHitTestShowsAfterTheDelayAndGoesOnAKey) {
  ToolOwner owner;
  ASSERT_TRUE(owner.CreateEx(0, _T("STATIC"), _T(""), WS_POPUP | WS_VISIBLE | SS_NOTIFY, 200, 200, 200, 100, nullptr,
                             nullptr));
  ::SetForegroundWindow(owner.m_hWnd);
  harness::PumpMessages();
  CTKPToolTipContext context;
  context.m_nStyle = 2;
  ::SetCursorPos(250, 250);
  context.FilterToolTipMessage(&owner, WM_MOUSEMOVE, 0, MAKELPARAM(50, 50));
  auto* tip = dynamic_cast<CTKPToolTipWnd*>(context.GetToolTip());
  ASSERT_NE(tip, nullptr);
  tip->SetClock([] { return g_now; });
  EXPECT_EQ(tip->GetToolCount(), 1);
  context.FilterToolTipMessage(&owner, WM_MOUSEMOVE, 0, MAKELPARAM(51, 50));  // same tool: relayed only
  EXPECT_EQ(tip->GetToolCount(), 1);
  g_now += 600;
  tip->SendMessage(WM_TIMER, 1);
  ASSERT_EQ(::GetForegroundWindow(), owner.m_hWnd);  // tips show only for the active window
  EXPECT_TRUE(tip->IsWindowVisible());
  ASSERT_NE(tip->GetShownTool(), nullptr);
  EXPECT_EQ(tip->GetShownTool()->id, 1u);
  ::SetCursorPos(350, 250);  // the other tool replaces the first
  context.FilterToolTipMessage(&owner, WM_MOUSEMOVE, 0, MAKELPARAM(150, 50));
  EXPECT_EQ(tip->GetToolCount(), 1);
  context.FilterToolTipMessage(&owner, WM_KEYDOWN, 'A', 0);
  EXPECT_FALSE(tip->IsWindowVisible());
  context.ModifyToolTipStyle(0, 0x1000);
  EXPECT_EQ(context.GetToolTip(), nullptr);  // made again with the new style on the next message
  context.m_nStyle = 0;
  context.FilterToolTipMessage(&owner, WM_MOUSEMOVE, 0, MAKELPARAM(50, 50));
  EXPECT_NE(dynamic_cast<CToolTipCtrl*>(context.GetToolTip()), nullptr);
  owner.DestroyWindow();
}


// A drawn tip that counts the activations and relays it is sent.
class CountingTip : public CTKPToolTipWnd {
 public:
  int activations = 0;
  int relays = 0;

 protected:
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (message == TTM_ACTIVATE) ++activations;
    if (message == TTM_RELAYEVENT) ++relays;
    return CTKPToolTipWnd::WindowProc(message, wParam, lParam);
  }
};

class CountingContext : public CTKPToolTipContext {
 public:
  CountingTip* tip = nullptr;
  CWnd* CreateToolTip(CWnd* pParent) override {
    tip = new CountingTip;
    tip->SetContext(this);
    if (!tip->Create(pParent, m_dwControlStyle, FALSE)) {
      delete tip;
      tip = nullptr;
    }
    return tip;
  }
};

class ContextOwner : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(owner.CreateEx(0, _T("STATIC"), _T(""), WS_POPUP | WS_VISIBLE | SS_NOTIFY, 200, 200, 200, 100, nullptr,
                               nullptr));
    ::SetForegroundWindow(owner.m_hWnd);
    harness::PumpMessages();
  }
  void TearDown() override { owner.DestroyWindow(); }
  void MoveTo(CTKPToolTipContext& context, int x, int y) {
    ::SetCursorPos(200 + x, 200 + y);
    context.FilterToolTipMessage(&owner, WM_MOUSEMOVE, 0, MAKELPARAM(x, y));
  }
  ToolOwner owner;
};

TEST_F(ContextOwner, AMissAfterAMissLeavesTheTipAlone) {
  CountingContext context;
  context.m_nStyle = 2;
  MoveTo(context, 50, 50);
  ASSERT_NE(context.tip, nullptr);
  MoveTo(context, 250, 50);  // off the tools: the tip is switched off once
  EXPECT_GE(context.tip->activations, 1);
  const int activations = context.tip->activations, relays = context.tip->relays;
  MoveTo(context, 260, 60);
  MoveTo(context, 270, 70);
  EXPECT_EQ(context.tip->activations, activations);
  EXPECT_EQ(context.tip->relays, relays);
  MoveTo(context, 50, 50);  // back on a tool: fed again
  EXPECT_GT(context.tip->relays, relays);
}

// The owner changes the context's colours and margin after the tip was made: the tip draws with them.
TEST_F(ContextOwner, TheDrawnTipReadsTheContextWhenItDraws) {
  CTKPToolTipContext context;
  context.m_nStyle = 2;
  MoveTo(context, 50, 50);
  auto* tip = dynamic_cast<CTKPToolTipWnd*>(context.GetToolTip());
  ASSERT_NE(tip, nullptr);
  tip->SetClock([] { return g_now; });
  const COLORREF green = RGB(0, 160, 0);
  context.m_clrBack = green;
  context.m_rcMargin = CRect(12, 12, 12, 12);
  g_now += 600;
  tip->SendMessage(WM_TIMER, 1);
  ASSERT_TRUE(tip->IsWindowVisible());
  tip->UpdateWindow();
  CRect client;
  tip->GetClientRect(client);
  // The 12-pixel margin inside the frame is all background.
  const CRect band(1, 1, client.right - 1, 13);
  EXPECT_EQ(harness::CountPixels(tip->m_hWnd, band, green, 8), band.Width() * band.Height());
  EXPECT_GE(client.Height(), 24 + 6 + 8);
}

}  // namespace tooltip_context_test
