#include "toolkit/controls/tk_hyperlink_logic.h"

#include <gtest/gtest.h>

namespace {

TEST(HyperlinkLogic, TextSpanFollowsTheAlignment) {
  EXPECT_EQ(tk::LinkTextSpan(tk::LinkAlign::kLeft, 200, 80).left, 0);
  EXPECT_EQ(tk::LinkTextSpan(tk::LinkAlign::kLeft, 200, 80).right, 80);
  EXPECT_EQ(tk::LinkTextSpan(tk::LinkAlign::kCenter, 200, 80).left, 60);
  EXPECT_EQ(tk::LinkTextSpan(tk::LinkAlign::kCenter, 200, 80).right, 140);
  EXPECT_EQ(tk::LinkTextSpan(tk::LinkAlign::kRight, 200, 80).left, 120);
  EXPECT_EQ(tk::LinkTextSpan(tk::LinkAlign::kRight, 200, 80).right, 200);
}

TEST(HyperlinkLogic, HoverWinsOverVisitedWhichWinsOverTheLinkColour) {
  const tk::LinkColors c;
  EXPECT_EQ(tk::LinkTextColor(c, false, false), 0xFF0000u);
  EXPECT_EQ(tk::LinkTextColor(c, false, true), 0x800080u);
  EXPECT_EQ(tk::LinkTextColor(c, true, true), 0x0000FFu);
}

TEST(HyperlinkLogic, EachShellFailureHasItsMessageAndOthersTheNumberedOne) {
  EXPECT_EQ(tk::LinkErrorStringId(0), 9037u);
  EXPECT_EQ(tk::LinkErrorStringId(2), 9038u);
  EXPECT_EQ(tk::LinkErrorStringId(11), 9042u);
  EXPECT_EQ(tk::LinkErrorStringId(26), 9043u);
  EXPECT_EQ(tk::LinkErrorStringId(31), 9048u);
  EXPECT_EQ(tk::LinkErrorStringId(32), 9049u);
  for (intptr_t other : {1, 4, 33, -1, 1000}) EXPECT_EQ(tk::LinkErrorStringId(other), 9050u) << other;
}

}  // namespace
