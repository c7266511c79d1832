// Where the tab groups stand and how their sizes change, and which workspace command applies.
#include "toolkit/mdi/tab_group_layout.h"

#include <gtest/gtest.h>

namespace tkmdi {
namespace {

TEST(TabGroupLayout, GroupsShareTheRoomLeftAfterTheSplittersAndTheLastReachesTheEdge) {
  const CRect client(0, 0, 606, 400);
  // No sizes yet: equal shares.
  std::vector<CRect> rects = GroupRects(client, {0, 0}, 6, false);
  ASSERT_EQ(rects.size(), 2u);
  EXPECT_EQ(rects[0], CRect(0, 0, 300, 400));
  EXPECT_EQ(rects[1], CRect(306, 0, 606, 400));
  EXPECT_EQ(SplitterAfter(rects[0], 6, false), CRect(300, 0, 306, 400));
  // Stacked groups in proportion; sizes that no longer add up to the room are scaled to it.
  rects = GroupRects(CRect(10, 20, 310, 426), {100, 300}, 6, true);
  EXPECT_EQ(rects[0], CRect(10, 20, 310, 120));
  EXPECT_EQ(rects[1], CRect(10, 126, 310, 426));
  rects = GroupRects(CRect(0, 0, 212, 50), {50, 50, 100}, 6, false);
  EXPECT_EQ(rects[0], CRect(0, 0, 50, 50));
  EXPECT_EQ(rects[1], CRect(56, 0, 106, 50));
  EXPECT_EQ(rects[2], CRect(112, 0, 212, 50));
  // A client too small for the splitters leaves empty groups, never inverted ones.
  rects = GroupRects(CRect(0, 0, 4, 50), {1, 1, 1}, 6, false);
  for (const CRect& rc : rects) EXPECT_GE(rc.Width(), 0);
  EXPECT_TRUE(GroupRects(client, {}, 6, false).empty());
}

TEST(TabGroupLayout, ANewGroupHalvesItsSourceAfterASplitterAndARemovedOneGivesItsRoomBack) {
  std::vector<double> sizes{406};
  SplitGroup(sizes, 0, 6);
  EXPECT_EQ(sizes, (std::vector<double>{200, 200}));
  SplitGroup(sizes, 1, 6);
  EXPECT_EQ(sizes, (std::vector<double>{200, 97, 97}));
  SplitGroup(sizes, 5, 6);  // no such group
  EXPECT_EQ(sizes.size(), 3u);
  RemoveGroup(sizes, 1, 6);
  EXPECT_EQ(sizes, (std::vector<double>{303, 97}));
  RemoveGroup(sizes, 0, 6);  // the first gives its room to the one after it
  EXPECT_EQ(sizes, (std::vector<double>{406}));
  // A group too small to split gives nothing away below zero.
  sizes = {4};
  SplitGroup(sizes, 0, 6);
  EXPECT_EQ(sizes, (std::vector<double>{0, 0}));
}

TEST(TabGroupLayout, ADraggedSplitterSharesTheTwoGroupsRoomAroundThePointer) {
  std::vector<double> sizes{100, 200, 300};
  const CRect first(106, 0, 306, 50);
  const CRect second(312, 0, 612, 50);
  ShareSplitter(sizes, 1, first, second, CPoint(403, 10), 6, false);
  EXPECT_EQ(sizes, (std::vector<double>{100, 294, 206}));
  ShareSplitter(sizes, 1, first, second, CPoint(-50, 10), 6, false);  // kept inside the two groups
  EXPECT_EQ(sizes, (std::vector<double>{100, 0, 500}));
  ShareSplitter(sizes, 1, first, second, CPoint(9999, 10), 6, false);
  EXPECT_EQ(sizes, (std::vector<double>{100, 500, 0}));
  sizes = {50, 50};
  ShareSplitter(sizes, 0, CRect(0, 0, 10, 50), CRect(0, 56, 10, 106), CPoint(5, 23), 6, true);
  EXPECT_EQ(sizes, (std::vector<double>{20, 80}));
  ShareSplitter(sizes, 1, CRect(), CRect(), CPoint(), 6, true);  // no group after the last
  EXPECT_EQ(sizes, (std::vector<double>{20, 80}));
}

TEST(WorkspaceCommands, ApplyByTheActiveTabsGroupAndTheOrientation) {
  WorkspaceState one{true, 0, 1, 2, false};
  EXPECT_FALSE(IsWorkspaceCommandEnabled(kCmdPrevGroup, one));
  EXPECT_FALSE(IsWorkspaceCommandEnabled(kCmdNextGroup, one));
  EXPECT_TRUE(IsWorkspaceCommandEnabled(kCmdNewHorzGroup, one));
  EXPECT_TRUE(IsWorkspaceCommandEnabled(kCmdNewVertGroup, one));
  one.tabsInGroup = 1;
  EXPECT_FALSE(IsWorkspaceCommandEnabled(kCmdNewHorzGroup, one));
  EXPECT_FALSE(IsWorkspaceCommandEnabled(kCmdNewVertGroup, one));
  // Two stacked groups: only a further horizontal group, and the move to the other group.
  const WorkspaceState stacked{true, 0, 2, 3, true};
  EXPECT_TRUE(IsWorkspaceCommandEnabled(kCmdNewHorzGroup, stacked));
  EXPECT_FALSE(IsWorkspaceCommandEnabled(kCmdNewVertGroup, stacked));
  EXPECT_FALSE(IsWorkspaceCommandEnabled(kCmdPrevGroup, stacked));
  EXPECT_TRUE(IsWorkspaceCommandEnabled(kCmdNextGroup, stacked));
  const WorkspaceState last{true, 2, 3, 1, false};
  EXPECT_TRUE(IsWorkspaceCommandEnabled(kCmdPrevGroup, last));
  EXPECT_FALSE(IsWorkspaceCommandEnabled(kCmdNextGroup, last));
  // Any other id applies once there is an active tab; nothing applies without grouping or a tab.
  EXPECT_TRUE(IsWorkspaceCommandEnabled(35000, last));
  EXPECT_FALSE(IsWorkspaceCommandEnabled(35000, WorkspaceState{false, 0, 1, 2, false}));
  EXPECT_FALSE(IsWorkspaceCommandEnabled(kCmdNewHorzGroup, WorkspaceState{true, -1, 1, 2, false}));
  EXPECT_FALSE(IsWorkspaceCommandEnabled(kCmdNextGroup, WorkspaceState{true, 3, 2, 2, false}));
}

}  // namespace
}  // namespace tkmdi
