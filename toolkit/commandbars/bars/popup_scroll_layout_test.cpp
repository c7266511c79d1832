// Over-long menus: which items show between the arrows scrolling down and up, separators between
// placed items, items hidden for other reasons skipped, no room at all, and the arrows' triangles.
#include "toolkit/commandbars/bars/popup_scroll_layout.h"

#include <gtest/gtest.h>

namespace {

std::vector<TKPScrollItem> Items(int count, int height = 20) {
  return std::vector<TKPScrollItem>(static_cast<size_t>(count), TKPScrollItem{true, height, 0});
}

TEST(PopupScrollLayout, FromTheTopOnlyTheDownArrowShowsAndItemsLeaveItsRoom) {
  // Item area 2..118: 116 pixels, 100 of them for items above the 16-pixel arrow.
  const TKPScrollLayout l = TKPScrollForwards(Items(10), 0, 2, 118);
  EXPECT_EQ(l.upArrowTop, -1);
  EXPECT_EQ(l.downArrowTop, 102);
  EXPECT_EQ(l.first, 0);
  EXPECT_EQ(l.last, 5);
  EXPECT_EQ(l.tops[0], 2);
  EXPECT_EQ(l.tops[4], 82);
  EXPECT_EQ(l.tops[5], -1);
}

TEST(PopupScrollLayout, FromTheSecondItemTheFirstComesBackInstead) {
  const TKPScrollLayout l = TKPScrollForwards(Items(10), 1, 2, 118);
  EXPECT_EQ(l.first, 0);
  EXPECT_EQ(l.upArrowTop, -1);
}

TEST(PopupScrollLayout, FurtherDownBothArrowsShowAndTheItemsStartBelowTheUpArrow) {
  const TKPScrollLayout l = TKPScrollForwards(Items(10), 3, 2, 118);
  EXPECT_EQ(l.upArrowTop, 2);
  EXPECT_EQ(l.downArrowTop, 102);
  EXPECT_EQ(l.tops[2], -1);
  EXPECT_EQ(l.tops[3], 18);
  EXPECT_EQ(l.last, 7);  // 18 + 4 x 20 = 98, a fifth would cross 102
}

TEST(PopupScrollLayout, TheLastItemMayTakeTheRoomOfTheArrowItMakesUnnecessary) {
  // Items 6..9 from 18: 18 + 80 = 98, then 98..118 for the last one with no arrow below.
  const TKPScrollLayout l = TKPScrollForwards(Items(10), 5, 2, 118);
  EXPECT_EQ(l.last, 10);
  EXPECT_EQ(l.downArrowTop, -1);
  EXPECT_EQ(l.tops[9], 98);
}

TEST(PopupScrollLayout, BackwardsFromTheEndTheLastItemSitsAtTheBottomBelowTheUpArrow) {
  const TKPScrollLayout l = TKPScrollBackwards(Items(10), 9, 2, 118);  // one short of the count
  EXPECT_EQ(l.last, 10);
  EXPECT_EQ(l.downArrowTop, -1);
  EXPECT_EQ(l.upArrowTop, 2);
  EXPECT_EQ(l.tops[9], 98);
  EXPECT_EQ(l.first, 5);  // 98, 78, 58, 38, 18: a sixth would reach above the arrow
  EXPECT_EQ(l.tops[5], 18);
  EXPECT_EQ(l.tops[4], -1);
}

TEST(PopupScrollLayout, BackwardsInTheMiddleBothArrowsShow) {
  const TKPScrollLayout l = TKPScrollBackwards(Items(10), 7, 2, 118);
  EXPECT_EQ(l.downArrowTop, 102);
  EXPECT_EQ(l.upArrowTop, 2);
  EXPECT_EQ(l.tops[6], 82);
  EXPECT_EQ(l.first, 3);
  EXPECT_EQ(l.tops[7], -1);
}

TEST(PopupScrollLayout, SeparatorsCountOnlyBetweenPlacedItemsAndUnshownItemsAreSkipped) {
  std::vector<TKPScrollItem> items = Items(6);
  items[1].gapAbove = 6;
  items[3].shown = false;
  items[4].gapAbove = 6;
  const TKPScrollLayout down = TKPScrollForwards(items, 0, 0, 1000);
  EXPECT_EQ(down.tops[1], 26);
  EXPECT_EQ(down.tops[3], -1);
  EXPECT_EQ(down.tops[4], 72);
  EXPECT_EQ(down.last, 6);
  EXPECT_EQ(down.downArrowTop, -1);
  // From item 4 down, its separator is not paid: nothing is placed above it.
  const TKPScrollLayout fromFour = TKPScrollForwards(items, 4, 0, 1000);
  EXPECT_EQ(fromFour.tops[4], 16);
  // Upwards, item 4's separator is paid once item 2 goes above it.
  const TKPScrollLayout up = TKPScrollBackwards(items, 6, 0, 1000);
  EXPECT_EQ(up.tops[5], 980);
  EXPECT_EQ(up.tops[4], 960);
  EXPECT_EQ(up.tops[2], 934);
}

TEST(PopupScrollLayout, WithoutRoomForOneItemOnlyTheArrowsShow) {
  const TKPScrollLayout l = TKPScrollForwards(Items(4), 2, 0, 40);
  EXPECT_EQ(l.upArrowTop, 0);
  EXPECT_EQ(l.downArrowTop, 24);
  EXPECT_EQ(l.last, 2);
  for (int top : l.tops) EXPECT_EQ(top, -1);
  const TKPScrollLayout back = TKPScrollBackwards(Items(4), 2, 0, 40);
  for (int top : back.tops) EXPECT_EQ(top, -1);
  EXPECT_EQ(back.first, 2);
}

TEST(PopupScrollLayout, IndicesOutsideTheItemsAreClamped) {
  EXPECT_EQ(TKPScrollForwards(Items(3), 99, 0, 100).first, 3);
  EXPECT_EQ(TKPScrollBackwards(Items(3), -5, 0, 100).last, 0);
  const TKPScrollLayout none = TKPScrollForwards({}, 0, 0, 100);
  EXPECT_EQ(none.downArrowTop, -1);
  EXPECT_TRUE(none.tops.empty());
}

TEST(PopupScrollLayout, ArrowTrianglesAreSevenWideFourHighAndCentred) {
  const auto down = TKPScrollArrowTriangle(CRect(0, 100, 101, 116), true);
  ASSERT_EQ(down.size(), 4u);
  EXPECT_EQ(down[0].y, 106);
  EXPECT_EQ(down[0].left, 47);
  EXPECT_EQ(down[0].right, 54);
  EXPECT_EQ(down[3].left, 50);
  EXPECT_EQ(down[3].right, 51);
  const auto up = TKPScrollArrowTriangle(CRect(0, 100, 101, 116), false);
  EXPECT_EQ(up[0].right - up[0].left, 1);
  EXPECT_EQ(up[3].right - up[3].left, 7);
}

}  // namespace
