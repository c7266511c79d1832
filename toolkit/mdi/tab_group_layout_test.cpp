// Where the tab groups stand and how their sizes change, and which workspace command applies; seeded
// sequences of the tab client's calls on its groups and their strips, natively under the sanitizers.
#include "toolkit/mdi/tab_group_layout.h"

#include <gtest/gtest.h>

#include <random>

#include "toolkit/tabmanager/tab_layout.h"

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

// The tabs of one group, by their lengths.
struct GroupTabs : tktab::TabMeasurer {
  std::vector<int> lengths;
  int Count() const override { return static_cast<int>(lengths.size()); }
  bool IsVisible(int) const override { return true; }
  int Measure(int i) override { return lengths[static_cast<size_t>(i)]; }
};

// The tab client's calls on its groups (documents opened and closed, new groups, empty ones removed,
// splitters dragged, the client resized, the strips' layout and side changed), each strip laid out after
// every call: the groups follow each other with a splitter between them, every tab has its slot.
TEST(TabGroupLayout, RandomCallsKeepTheGroupsInARow) {
  for (unsigned seed = 1; seed <= 200; ++seed) {
    std::mt19937 random(seed);
    const auto pick = [&](int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); };
    std::vector<GroupTabs> groups(1);
    std::vector<double> sizes{0};
    CRect client(0, 0, 600, 400);
    const bool horizontal = pick(2) == 0;
    tktab::TabStripParams p;
    for (int step = 0; step < 60; ++step) {
      const int g = pick(static_cast<int>(groups.size()));
      std::vector<int>& tabs = groups[static_cast<size_t>(g)].lengths;
      std::vector<CRect> rects = GroupRects(client, sizes, 6, horizontal);
      switch (pick(7)) {
        case 0: tabs.push_back(pick(3) == 0 ? 0 : 10 + pick(300)); break;
        case 1: if (!tabs.empty()) tabs.erase(tabs.begin() + pick(static_cast<int>(tabs.size()))); break;
        case 2: {  // a new group after this one takes its last tab
          if (tabs.size() < 2) break;
          GroupTabs added;
          added.lengths.push_back(tabs.back());
          tabs.pop_back();
          SplitGroup(sizes, g, 6);
          groups.insert(groups.begin() + g + 1, added);
          break;
        }
        case 3:
          if (g + 1 < static_cast<int>(rects.size())) ShareSplitter(sizes, g, rects[g], rects[g + 1], CPoint(pick(700) - 50, pick(500) - 50), 6, horizontal);
          break;
        case 4: client = CRect(0, 0, pick(900), pick(700)); break;
        case 5: p.layout = pick(6), p.position = pick(4); break;
        default: if (groups.size() > 1 && tabs.empty()) RemoveGroup(sizes, g, 6), groups.erase(groups.begin() + g);
      }
      rects = GroupRects(client, sizes, 6, horizontal);
      ASSERT_EQ(rects.size(), groups.size()) << "seed " << seed << ", step " << step;
      for (size_t i = 0; i < rects.size(); ++i) {
        ASSERT_EQ(horizontal ? rects[i].top : rects[i].left, i == 0 ? 0 : (horizontal ? rects[i - 1].bottom : rects[i - 1].right) + 6);
        ASSERT_TRUE(rects[i].Width() >= 0 && rects[i].Height() >= 0) << "seed " << seed << ", step " << step;
        p.rect = rects[i];
        p.selected = static_cast<int>(groups[i].lengths.size()) - 1;
        tktab::TabStripState strip;
        tktab::LayoutTabStrip(p, groups[i], strip);
        ASSERT_EQ(strip.slots.size(), groups[i].lengths.size()) << "seed " << seed << ", step " << step;
      }
    }
  }
}

}  // namespace
}  // namespace tkmdi
