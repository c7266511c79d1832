// Tooltips: tools over a rectangle and over a whole window, their texts, hit testing, removal, and
// the tip's settings.
#include <windows.h>
#include <commctrl.h>
#include <gtest/gtest.h>

#include "platform/classlib/win/controls_test_support.h"

namespace {

using cltest::TextOf;

class ToolTipTest : public cltest::ControlHost {
 protected:
  void SetUp() override {
    ControlHost::SetUp();
    ASSERT_TRUE(button.Create(_T("Next"), WS_VISIBLE | BS_PUSHBUTTON, RECT{10, 10, 95, 45}, &host, 159));
    ASSERT_TRUE(tip.Create(&host));
  }
  CButton button;
  CToolTipCtrl tip;
};

TEST_F(ToolTipTest, ToolsCarryTheirTextsAndRectangles) {
  ASSERT_TRUE(tip.AddTool(&button, _T("Next"), nullptr, 1));  // the button's client area
  ASSERT_TRUE(tip.AddTool(&host, _T("Corner"), CRect(200, 200, 220, 220), 2));
  EXPECT_EQ(tip.GetToolCount(), 2);
  CString text;
  tip.GetText(text, &button, 1);
  EXPECT_EQ(TextOf(text), L"Next");
  tip.UpdateTipText(_T("Go on"), &button, 1);
  tip.GetText(text, &button, 1);
  EXPECT_EQ(TextOf(text), L"Go on");

  TOOLINFO info{};
  ASSERT_TRUE(tip.GetToolInfo(info, &button, 1));
  EXPECT_EQ(CRect(info.rect), CRect(0, 0, 85, 35));
  EXPECT_EQ(info.uFlags & TTF_IDISHWND, 0u);
  ASSERT_TRUE(tip.HitTest(&host, CPoint(210, 205), &info));
  EXPECT_EQ(info.uId, 2u);
  EXPECT_FALSE(tip.HitTest(&host, CPoint(5, 300), &info));
  tip.SetToolRect(&host, 2, CRect(0, 290, 20, 310));
  EXPECT_TRUE(tip.HitTest(&host, CPoint(5, 300), &info));

  tip.DelTool(&button, 1);
  EXPECT_EQ(tip.GetToolCount(), 1);
}

TEST_F(ToolTipTest, AToolWithoutIdIsItsWholeWindowHeldByTheParent) {
  ASSERT_TRUE(tip.AddTool(&button, _T("Button")));
  TOOLINFO info{};
  ASSERT_TRUE(tip.GetToolInfo(info, &button));
  EXPECT_NE(info.uFlags & TTF_IDISHWND, 0u);
  EXPECT_EQ(info.hwnd, host.m_hWnd);
  EXPECT_EQ(info.uId, reinterpret_cast<UINT_PTR>(button.m_hWnd));
  CString text;
  tip.GetText(text, &button);
  EXPECT_EQ(TextOf(text), L"Button");
}

TEST_F(ToolTipTest, TheTipsSettingsAreKeptByTheWindow) {
  tip.SetMaxTipWidth(400);
  EXPECT_EQ(tip.GetMaxTipWidth(), 400);
  tip.SetDelayTime(TTDT_INITIAL, 50);
  EXPECT_EQ(tip.GetDelayTime(TTDT_INITIAL), 50);
  tip.SetTipBkColor(RGB(1, 2, 3));
  EXPECT_EQ(tip.GetTipBkColor(), RGB(1, 2, 3));
  tip.SetTipTextColor(RGB(4, 5, 6));
  EXPECT_EQ(tip.GetTipTextColor(), RGB(4, 5, 6));
  RECT margin{1, 2, 3, 4};
  tip.SetMargin(&margin);
  RECT back{};
  tip.GetMargin(&back);
  EXPECT_EQ(CRect(back), CRect(margin));
  tip.Activate(FALSE);
  tip.Activate(TRUE);
  EXPECT_NE(tip.GetExStyle() & WS_EX_TOPMOST, 0u);
  EXPECT_NE(tip.GetStyle() & TTS_ALWAYSTIP, 0u);
}

}  // namespace
