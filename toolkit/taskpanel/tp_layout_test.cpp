// Items laid out in a group through a fake measurer, groups stacked and animated, scrolling, and the
// keyboard's way through groups and items.
#include "toolkit/taskpanel/tp_layout.h"

#include <gtest/gtest.h>

#include <limits>

#include "toolkit/taskpanel/tp_navigation.h"

namespace taskpanel {
namespace {

// Every item is `height` pixels high and takes the whole room offered, less 4 on the right.
class FakeMeasurer : public ItemMeasurer {
 public:
  explicit FakeMeasurer(std::vector<int> heights) : heights_(std::move(heights)) {}
  CRect PlaceItem(int index, const CRect& available) override {
    offered.push_back(available);
    return CRect(available.left, available.top, available.right - 4, available.top + heights_.at(index));
  }
  std::vector<CRect> offered;

 private:
  std::vector<int> heights_;
};

GroupLayoutInput Input(int left, int right) {
  GroupLayoutInput in;
  in.left = left;
  in.right = right;
  in.outerMargins = CRect(0, 0, 0, 0);
  in.innerMargins = CRect(11, 8, 11, 8);
  return in;
}

TEST(TaskPanelLayout, ListGivesEachVisibleItemTheFullWidthOneUnderTheOther) {
  std::vector<LayoutItem> items(4);
  items[1].visible = false;
  items[2].bottomMargin = 5;
  FakeMeasurer measurer({16, 99, 20, 30});
  const GroupLayoutResult r = LayoutGroupItems(Input(12, 212), items, measurer);
  EXPECT_EQ(items[0].rect, CRect(23, 8, 197, 24));
  EXPECT_TRUE(items[1].rect.IsRectNull());
  EXPECT_EQ(items[2].rect, CRect(23, 24, 197, 44));
  EXPECT_EQ(items[3].rect, CRect(23, 49, 197, 79));  // after the bottom margin of 5
  EXPECT_EQ(r.bodyHeight, 79 + 8);
  EXPECT_EQ(r.itemsPerRow, 1);
  ASSERT_EQ(measurer.offered.size(), 3u);
  EXPECT_EQ(measurer.offered[0].right, 201);
}

TEST(TaskPanelLayout, AGroupWithoutVisibleItemsIsItsInnerMarginsHigh) {
  std::vector<LayoutItem> items(2);
  items[0].visible = items[1].visible = false;
  FakeMeasurer measurer({10, 10});
  EXPECT_EQ(LayoutGroupItems(Input(0, 200), items, measurer).bodyHeight, 16);
  std::vector<LayoutItem> none;
  EXPECT_EQ(LayoutGroupItems(Input(0, 200), none, measurer).bodyHeight, 16);
}

TEST(TaskPanelLayout, OuterMarginsNarrowTheGroup) {
  GroupLayoutInput in = Input(0, 200);
  in.outerMargins = CRect(5, 7, 9, 3);
  std::vector<LayoutItem> items(1);
  FakeMeasurer measurer({10});
  LayoutGroupItems(in, items, measurer);
  EXPECT_EQ(measurer.offered[0].left, 16);
  EXPECT_EQ(measurer.offered[0].right, 180);
}

TEST(TaskPanelLayout, IconGridFillsCellsRowByRowAndKeepsOneColumnWhenNarrow) {
  GroupLayoutInput in = Input(0, 22 + 3 * 28 + 10);  // room for three cells of 16 + 6 + 6
  in.layout = kLayoutImage;
  in.imagePadding = CRect(6, 6, 6, 6);
  std::vector<LayoutItem> items(5);
  items[3].visible = false;
  FakeMeasurer measurer({0, 0, 0, 0, 0});
  GroupLayoutResult r = LayoutGroupItems(in, items, measurer);
  EXPECT_EQ(r.itemsPerRow, 3);
  EXPECT_EQ(items[0].rect, CRect(11, 8, 39, 36));
  EXPECT_EQ(items[2].rect, CRect(67, 8, 95, 36));
  EXPECT_EQ(items[4].rect, CRect(11, 36, 39, 64));  // the hidden item takes no cell
  EXPECT_EQ(r.bodyHeight, 64 + 8);
  // Each visible item is placed in its cell.
  EXPECT_EQ(measurer.offered, (std::vector<CRect>{items[0].rect, items[1].rect, items[2].rect, items[4].rect}));

  in.right = 30;  // narrower than one cell
  r = LayoutGroupItems(in, items, measurer);
  EXPECT_EQ(r.itemsPerRow, 1);
  EXPECT_EQ(items[1].rect, CRect(11, 36, 39, 64));
}

TEST(TaskPanelLayout, ColumnsStepAcrossAndRowsTakeTheTallestItem) {
  GroupLayoutInput in = Input(0, 22 + 250);
  in.multiColumn = true;
  in.columnWidth = 100;
  std::vector<LayoutItem> items(3);
  items[0].bottomMargin = 2;
  FakeMeasurer measurer({10, 30, 12});
  const GroupLayoutResult r = LayoutGroupItems(in, items, measurer);
  EXPECT_EQ(r.itemsPerRow, 2);
  EXPECT_EQ(items[0].rect, CRect(11, 8, 107, 18));
  EXPECT_EQ(items[1].rect, CRect(111, 8, 207, 38));
  EXPECT_EQ(items[2].rect, CRect(11, 38, 107, 50));
  EXPECT_EQ(r.bodyHeight, 50 + 8);
}

TEST(TaskPanelLayout, MarginsTakeTheThemeOnlyWhereTheyHoldTheDefault) {
  const CRect own(kDefaultSide, 0, 3, kDefaultSide);
  EXPECT_EQ(ResolveMargins(own, CRect(12, 12, 12, 12)), CRect(12, 0, 3, 12));
  EXPECT_EQ(ResolveMargins(DefaultMargins(), CRect(1, 2, 3, 4)), CRect(1, 2, 3, 4));
}

GroupGeometry Group(int caption, int body, bool expanded) {
  GroupGeometry g;
  g.captionHeight = caption;
  g.bodyHeight = body;
  g.expanded = expanded;
  g.outerMargins = CRect(0, 0, 0, 0);
  return g;
}

TEST(TaskPanelStack, GroupsStackWithSpacingAndCollapsedOnesShowTheirCaption) {
  GroupGeometry a = Group(25, 60, true), b = Group(25, 40, false), hidden = Group(25, 10, true), c = Group(25, 30, true);
  hidden.visible = false;
  c.outerMargins = CRect(2, 3, 4, 5);
  std::vector<GroupGeometry*> groups{&a, &hidden, &b, &c};
  const StackInput in{CRect(0, 0, 240, 300), CRect(12, 12, 12, 12), 15, false};
  const int height = StackGroups(groups, in);
  EXPECT_EQ(a.target, CRect(12, 12, 228, 97));
  EXPECT_EQ(b.target, CRect(12, 112, 228, 137));
  EXPECT_EQ(c.target, CRect(14, 155, 224, 210));
  EXPECT_EQ(height, 210 + 5 + 12);
  EXPECT_EQ(a.current, a.target);
  EXPECT_EQ(hidden.current, hidden.target);
}

TEST(TaskPanelStack, AnAnimatedCollapseReachesItsTargetByTheTenthStep) {
  GroupGeometry g = Group(25, 200, true);
  std::vector<GroupGeometry*> groups{&g};
  StackInput in{CRect(0, 0, 200, 400), CRect(0, 0, 0, 0), 15, true};
  StackGroups(groups, in);
  EXPECT_EQ(g.current.Height(), 225);
  g.expanded = false;
  StackGroups(groups, in);
  EXPECT_EQ(g.current.Height(), 225);  // the timer moves it
  EXPECT_EQ(g.target.Height(), 25);
  std::vector<int> heights;
  for (int step = 10; step >= 1; --step) {
    EXPECT_TRUE(StepTowardTarget(g, step));
    heights.push_back(g.current.Height());
  }
  EXPECT_EQ(heights.front(), 205);  // 200 / 10 moved at the first step
  EXPECT_EQ(heights.back(), 25);
  EXPECT_FALSE(StepTowardTarget(g, 10));  // nothing left: the timer stops
  EXPECT_TRUE(IsSettled(g));
}

TEST(TaskPanelStack, SmallDistancesStillMoveAPixelAndStepZeroSnaps) {
  GroupGeometry g;
  g.target = CRect(0, 0, 10, 3);
  g.current = CRect(0, 0, 10, 0);
  StepTowardTarget(g, 10);
  EXPECT_EQ(g.current.bottom, 1);
  g.current.bottom = 90;
  StepTowardTarget(g, 0);
  EXPECT_EQ(g.current, g.target);
}

TEST(TaskPanelStack, TheOpenGroupOfAToolboxFillsWhatTheCaptionsLeave) {
  GroupGeometry a = Group(25, 300, true), b = Group(25, 50, false), fixed = Group(25, 40, true), hidden = Group(25, 9, true);
  hidden.visible = false;
  b.outerMargins = CRect(0, 2, 0, 3);
  std::vector<GroupGeometry*> groups{&a, &b, &fixed, &hidden};
  const StackInput in{CRect(0, 0, 200, 400), CRect(12, 12, 12, 12), 15, false};
  // 400 - 24 margins - 3 captions (75) - b's outer margins (5) - fixed's body (40) - 2 gaps (30)
  EXPECT_EQ(FillBodyHeight(groups, &a, in, 50), 226);
  EXPECT_EQ(FillBodyHeight(groups, &a, StackInput{CRect(0, 0, 200, 100), in.panelMargins, 15, false}, 50), 50);
}

TEST(TaskPanelStack, SpareHeightGoesToAutomaticItemsByWeightAndPushesTheRestDown) {
  std::vector<LayoutItem> items(4);
  items[0].rect = CRect(0, 0, 10, 10);
  items[1].rect = CRect(0, 10, 10, 30);
  items[1].spareWeight = 1;
  items[2].rect = CRect(0, 30, 10, 40);
  items[2].spareWeight = 2;
  items[3].rect = CRect(0, 40, 10, 50);
  ShareSpareHeight(items, 31);
  EXPECT_EQ(items[0].rect, CRect(0, 0, 10, 10));
  EXPECT_EQ(items[1].rect, CRect(0, 10, 10, 40));  // 1 x 31 / 3 = 10
  EXPECT_EQ(items[2].rect, CRect(0, 40, 10, 71));  // the last takes the remaining 21
  EXPECT_EQ(items[3].rect, CRect(0, 71, 10, 81));
  ShareSpareHeight(items, -5);  // nothing to share
  EXPECT_EQ(items[3].rect, CRect(0, 71, 10, 81));
}

// Weights are stored item heights, any size up to the largest int: the shares stay whole, in proportion,
// and add up to the spare height.
TEST(TaskPanelStack, HugeWeightsShareTheSpareHeightWithoutOverflow) {
  const int big = std::numeric_limits<int>::max();
  struct Case {
    std::vector<int> weights;
    int spare;
    std::vector<int> shares;
  };
  for (const Case& c : {Case{{big, big}, 100, {50, 50}}, Case{{big, 1, big}, 1000, {499, 0, 501}},
                        Case{{big / 2, big / 2, big / 2, big / 2}, 7, {1, 2, 2, 2}}, Case{{big}, big, {big}},
                        Case{{1, big}, big, {0, big}}}) {
    std::vector<LayoutItem> items(c.weights.size());
    for (size_t i = 0; i < items.size(); ++i) {
      items[i].rect = CRect(0, 0, 10, 0);
      items[i].spareWeight = c.weights[i];
    }
    ShareSpareHeight(items, c.spare);
    long long total = 0;
    for (size_t i = 0; i < items.size(); ++i) {
      EXPECT_EQ(items[i].rect.Height(), c.shares[i]) << c.spare << " item " << i;
      EXPECT_GE(items[i].rect.top, 0);
      total += items[i].rect.Height();
    }
    EXPECT_EQ(total, c.spare);
  }
}

TEST(TaskPanelScroll, TheFirstVisibleItemStartsARowAndStaysInRange) {
  EXPECT_EQ(SnapFirstVisible(7, 3, 10), 6);
  EXPECT_EQ(SnapFirstVisible(12, 3, 10), 9);
  EXPECT_EQ(SnapFirstVisible(-4, 3, 10), 0);
  EXPECT_EQ(SnapFirstVisible(5, 0, 10), 5);
  EXPECT_EQ(SnapFirstVisible(5, 1, 0), 0);
}

TEST(TaskPanelScroll, PositionsStayWithinTheLimitAndBringRectanglesIntoView) {
  EXPECT_EQ(ScrollLimit(500, 200), 300);
  EXPECT_EQ(ScrollLimit(100, 200), 0);
  EXPECT_EQ(ClampScroll(-6, 300), 0);
  EXPECT_EQ(ClampScroll(310, 300), 300);
  EXPECT_EQ(ScrollToShow(0, 250, 280, 200), 80);    // below: its bottom comes to the view's bottom
  EXPECT_EQ(ScrollToShow(0, 250, 500, 200), 250);   // taller than the view: its top shows
  EXPECT_EQ(ScrollToShow(100, 40, 60, 200), 40);    // above
  EXPECT_EQ(ScrollToShow(100, 120, 150, 200), 100);  // already in view
}

// Two groups of links and a text, the second collapsed, a hidden third, and a disabled fourth caption.
std::vector<NavGroup> Panel() {
  std::vector<NavGroup> g(4);
  g[0].items = {{true, true}, {true, false}, {true, true}};
  g[1].expanded = false;
  g[1].items = {{true, true}};
  g[2].visible = false;
  g[2].items = {{true, true}};
  g[3].acceptFocus = false;
  g[3].items = {{true, true}, {false, true}, {true, true}};
  return g;
}

TEST(TaskPanelNavigation, TabWalksGroupsAndTheirLinksSkippingTextsAndCollapsedGroups) {
  const auto g = Panel();
  NavPos pos;
  std::vector<NavPos> seen;
  for (int i = 0; i < 6; ++i) {
    pos = NextFocus(g, pos, +1, true, false);
    seen.push_back(pos);
  }
  const std::vector<NavPos> expected{{0, -1}, {0, 0}, {1, -1}, {3, 0}, {}, {0, -1}};
  EXPECT_EQ(seen, expected);  // after the end nothing, and from nothing the first group again
}

TEST(TaskPanelNavigation, ArrowsStepThroughItemsAndBackToTheGroup) {
  const auto g = Panel();
  EXPECT_EQ(NextFocus(g, {0, 0}, +1, false, false), (NavPos{0, 2}));
  EXPECT_EQ(NextFocus(g, {0, 2}, +1, false, false), (NavPos{1, -1}));
  EXPECT_EQ(NextFocus(g, {1, -1}, +1, false, false), (NavPos{3, 0}));  // the collapsed group's link is skipped
  EXPECT_EQ(NextFocus(g, {3, 0}, +1, false, false), (NavPos{3, 2}));   // the hidden item too
  EXPECT_EQ(NextFocus(g, {0, 2}, -1, false, false), (NavPos{0, 0}));
  EXPECT_EQ(NextFocus(g, {0, 0}, -1, false, false), (NavPos{0, -1}));
  EXPECT_EQ(NextFocus(g, {0, -1}, -1, false, false), (NavPos{}));
  EXPECT_EQ(NextFocus(g, {}, -1, false, false), (NavPos{3, 2}));
  EXPECT_EQ(NextFocus(g, {3, 2}, -1, true, false), (NavPos{1, -1}));  // Shift+Tab: its group refuses focus
}

TEST(TaskPanelNavigation, VerticalArrowsStepARowOfColumns) {
  std::vector<NavGroup> g(1);
  g[0].itemsPerRow = 3;
  g[0].items.assign(7, NavItem{true, true});
  EXPECT_EQ(NextFocus(g, {0, 1}, +1, false, true), (NavPos{0, 4}));
  EXPECT_EQ(NextFocus(g, {0, 5}, +1, false, true), (NavPos{}));
  EXPECT_EQ(NextFocus(g, {0, 4}, -1, false, true), (NavPos{0, 1}));
  EXPECT_EQ(NextFocus(g, {0, 1}, -1, false, true), (NavPos{0, -1}));
  EXPECT_EQ(NextFocus(g, {5, 0}, +1, false, false), (NavPos{0, -1}));  // a stale position starts afresh
}

}  // namespace
}  // namespace taskpanel
