#include "toolkit/tabmanager/tab_navigation.h"

#include <gtest/gtest.h>

#include "toolkit/tabmanager/tab_layout.h"

namespace tktab {
namespace {

TEST(TabKeys, HomeEndAndArrowsSkipTabsThatCannotBeReached) {
  const std::vector<bool> reachable{false, true, false, true, true, false};
  EXPECT_EQ(KeyTarget(kKeyHome, kTop, false, reachable, 3).target, 1);
  EXPECT_EQ(KeyTarget(kKeyEnd, kTop, false, reachable, 3).target, 4);
  EXPECT_EQ(KeyTarget(kKeyLeft, kTop, false, reachable, 3).target, 1);
  EXPECT_EQ(KeyTarget(kKeyRight, kBottom, false, reachable, 3).target, 4);
  EXPECT_EQ(KeyTarget(kKeyRight, kTop, false, reachable, 4).target, -1);
  EXPECT_TRUE(KeyTarget(kKeyRight, kTop, false, reachable, 4).handled);
  EXPECT_EQ(KeyTarget(kKeyLeft, kTop, false, reachable, 1).target, -1);
}

TEST(TabKeys, ArrowsFollowTheStripAndRightToLeftSwapsThem) {
  const std::vector<bool> reachable(4, true);
  EXPECT_EQ(KeyTarget(kKeyDown, kTop, false, reachable, 1).target, -1);
  EXPECT_TRUE(KeyTarget(kKeyDown, kTop, false, reachable, 1).handled);
  EXPECT_EQ(KeyTarget(kKeyDown, kLeft, false, reachable, 1).target, 2);
  EXPECT_EQ(KeyTarget(kKeyUp, kRight, false, reachable, 1).target, 0);
  EXPECT_EQ(KeyTarget(kKeyLeft, kLeft, false, reachable, 1).target, -1);
  EXPECT_EQ(KeyTarget(kKeyRight, kTop, true, reachable, 2).target, 1);
  EXPECT_EQ(KeyTarget(kKeyLeft, kTop, true, reachable, 2).target, 3);
  EXPECT_FALSE(KeyTarget(0x41, kTop, false, reachable, 2).handled);
  EXPECT_FALSE(KeyTarget(kKeyHome, kTop, false, {}, -1).handled);
}

TEST(TabSelection, ARemovedTabsPlaceGoesToItsNeighbour) {
  EXPECT_EQ(SelectionAfterRemoval(1, 3), 1);
  EXPECT_EQ(SelectionAfterRemoval(3, 3), 2);  // the last one was removed
  EXPECT_EQ(SelectionAfterRemoval(0, 0), -1);
}

TEST(TabHitTest, OnlyReachableTabsInsideTheHeaderAreHit) {
  const std::vector<HitTab> tabs{{CRect(0, 0, 50, 20), true}, {CRect(50, 0, 100, 20), false},
                                 {CRect(100, 0, 150, 20), true}};
  const CRect control(0, 0, 300, 200);
  EXPECT_EQ(HitTestTabs(tabs, control, CRect(0, 0, 120, 23), CPoint(10, 5)), 0);
  EXPECT_EQ(HitTestTabs(tabs, control, CRect(0, 0, 120, 23), CPoint(60, 5)), -1);
  EXPECT_EQ(HitTestTabs(tabs, control, CRect(0, 0, 120, 23), CPoint(130, 5)), -1);  // behind the buttons
  EXPECT_EQ(HitTestTabs(tabs, control, CRect(), CPoint(130, 5)), 2);
  EXPECT_EQ(HitTestTabs(tabs, control, CRect(), CPoint(-1, 5)), -1);
}

TEST(TabReorder, TheFirstOtherStartPlaceUnderThePointWins) {
  const std::vector<CRect> rects{CRect(0, 0, 50, 20), CRect(50, 0, 100, 20), CRect(100, 0, 150, 20)};
  EXPECT_EQ(ReorderTarget(rects, 0, CPoint(60, 5)), 1);
  EXPECT_EQ(ReorderTarget(rects, 1, CPoint(60, 5)), -1);
  EXPECT_EQ(ReorderTarget(rects, 0, CPoint(200, 5)), -1);
}

TEST(TabRepeat, AStepIsDueOnlyAfterMoreThanTheInterval) {
  RepeatPace pace(1000);
  EXPECT_FALSE(pace.Due(1020));
  EXPECT_EQ(pace.WaitTime(1020), 1u);
  EXPECT_TRUE(pace.Due(1021));
  EXPECT_EQ(pace.WaitTime(1021), 21u);
  EXPECT_FALSE(pace.Due(1041));
  EXPECT_TRUE(pace.Due(1100));
  // The tick count wraps after 49 days.
  RepeatPace wrapped(0xFFFFFFF0u);
  EXPECT_TRUE(wrapped.Due(0x10u));
}

}  // namespace
}  // namespace tktab
