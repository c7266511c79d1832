#include "toolkit/tabmanager/tab_layout.h"

#include <gtest/gtest.h>

#include <numeric>
#include <random>

namespace tktab {
namespace {

// Tabs of fixed lengths; a length below 0 is a hidden tab.
class FixedTabs : public TabMeasurer {
 public:
  explicit FixedTabs(std::vector<int> lengths) : lengths_(std::move(lengths)) {}
  int Count() const override { return static_cast<int>(lengths_.size()); }
  bool IsVisible(int i) const override { return lengths_[static_cast<size_t>(i)] >= 0; }
  int Measure(int i) override { return lengths_[static_cast<size_t>(i)]; }

 private:
  std::vector<int> lengths_;
};

TabStripParams Strip(int position, int layout, CRect rect = CRect(0, 0, 300, 200)) {
  TabStripParams p;
  p.position = position;
  p.layout = layout;
  p.rect = rect;
  p.headerMargin = CRect(2, 3, 6, 0);
  p.buttonHeight = 20;
  return p;
}

std::vector<int> Lengths(const TabStripState& s) {
  std::vector<int> out;
  for (const TabSlot& slot : s.slots) out.push_back(slot.length);
  return out;
}

TEST(TabMargins, EachPositionTurnsTheMarginTowardsItsStrip) {
  const CRect base(100, 100, 200, 200);
  struct Case { int position; CRect expected; } cases[] = {
      {kTop, CRect(99, 98, 203, 204)}, {kLeft, CRect(98, 99, 204, 203)},
      {kBottom, CRect(99, 96, 203, 202)}, {kRight, CRect(96, 99, 202, 203)}, {5, base}};
  for (const Case& c : cases) {
    CRect r = base;
    InflateRectByPosition(r, 1, 2, 3, 4, c.position);
    EXPECT_EQ(r, c.expected) << "position " << c.position;
    DeflateRectByPosition(r, 1, 2, 3, 4, c.position);
    EXPECT_EQ(r, base);
  }
}

TEST(TabCompression, LongestTabsGiveWayFirst) {
  std::vector<int> a{100, 80, 60};
  CompressLengths(a, 200);
  EXPECT_EQ(a, (std::vector<int>{70, 70, 60}));
  std::vector<int> b{50, 50, 50};
  CompressLengths(b, 100);
  EXPECT_EQ(b, (std::vector<int>{33, 33, 33}));
  std::vector<int> one{150};
  CompressLengths(one, 90);
  EXPECT_EQ(one, std::vector<int>{90});
  std::vector<int> fits{40, 60};
  CompressLengths(fits, 100);
  EXPECT_EQ(fits, (std::vector<int>{40, 60}));
  // Order is kept: the shortened tabs are found wherever they stand.
  std::vector<int> mixed{60, 100, 80};
  CompressLengths(mixed, 200);
  EXPECT_EQ(mixed, (std::vector<int>{60, 70, 70}));
}

TEST(TabSingleRow, TopStripStandsTabsAfterTheMarginAndItsDepthIsRowPlusMargins) {
  FixedTabs tabs({50, 70, -1, 40});
  TabStripState s;
  LayoutTabStrip(Strip(kTop, kSizeToFit), tabs, s);
  EXPECT_EQ(s.header.Height(), 20 + 3);
  EXPECT_EQ(s.slots[0].rect, CRect(2, 3, 52, 23));
  EXPECT_EQ(s.slots[1].rect, CRect(52, 3, 122, 23));
  EXPECT_EQ(s.slots[2].rect.Width(), 0);  // hidden
  EXPECT_EQ(s.slots[3].rect, CRect(122, 3, 162, 23));
  // Everything fits: no arrows, and the close button is not wanted.
  for (const NavButton& b : s.buttons) EXPECT_TRUE(b.rect.IsRectEmpty());
}

TEST(TabSingleRow, OtherSidesTurnTheRow) {
  FixedTabs tabs({50, 70});
  TabStripState bottom, left, right;
  LayoutTabStrip(Strip(kBottom, kSizeToFit), tabs, bottom);
  EXPECT_EQ(bottom.header, CRect(0, 177, 299, 200));  // ends where the (hidden) buttons begin
  EXPECT_EQ(bottom.slots[1].rect, CRect(52, 177, 122, 197));
  LayoutTabStrip(Strip(kLeft, kSizeToFit), tabs, left);
  EXPECT_EQ(left.slots[0].rect, CRect(3, 2, 23, 52));
  LayoutTabStrip(Strip(kRight, kSizeToFit), tabs, right);
  EXPECT_EQ(right.slots[1].rect, CRect(277, 52, 297, 122));
}

TEST(TabSingleRow, CompressedLayoutFitsTheRowAndShowsNoArrows) {
  FixedTabs tabs({200, 160, 120});
  TabStripState s;
  LayoutTabStrip(Strip(kTop, kCompressed), tabs, s);
  const std::vector<int> lengths = Lengths(s);
  // All three end equally long: the row length (300 - 2 - 6) divided by three.
  EXPECT_EQ(lengths, (std::vector<int>{97, 97, 97}));
  EXPECT_EQ(s.slots[0].fullLength, 200);
  EXPECT_EQ(s.slots[2].rect.right, 2 + 291);
  EXPECT_TRUE(s.buttons[kButtonForward].rect.IsRectEmpty());
}

TEST(TabSingleRow, ArrowsShowWhenTabsOverflowAndScrollingStopsAtTheLastTab) {
  FixedTabs tabs({100, 100, 100, 100});
  TabStripState s;
  const TabStripParams p = Strip(kTop, kSizeToFit);
  LayoutTabStrip(p, tabs, s);
  const NavButton& back = s.buttons[kButtonBack];
  const NavButton& forward = s.buttons[kButtonForward];
  EXPECT_EQ(forward.rect, CRect(285, 3, 299, 18));  // at the header's end, less one pixel
  EXPECT_EQ(back.rect, CRect(271, 3, 285, 18));
  EXPECT_FALSE(back.enabled);
  EXPECT_TRUE(forward.enabled);
  EXPECT_EQ(s.header.right, 271);
  // Scrolled too far: the offset comes back so that the last tab ends where the arrows begin.
  s.scrollOffset = -1000;
  LayoutTabStrip(p, tabs, s);
  EXPECT_EQ(s.scrollOffset, 264 - 400);
  EXPECT_EQ(s.slots[3].rect.right, 2 + 264);
  EXPECT_TRUE(back.enabled);
  EXPECT_FALSE(forward.enabled);
}

TEST(TabSingleRow, CloseButtonTakesItsPlaceOutermostWhileWanted) {
  FixedTabs tabs({100, 100});
  TabStripState s;
  s.buttons[kButtonClose].showMode = kShowWhenNeeded;
  s.buttons[kButtonClose].wanted = true;
  LayoutTabStrip(Strip(kTop, kSizeToFit), tabs, s);
  EXPECT_EQ(s.buttons[kButtonClose].rect, CRect(285, 3, 299, 18));
  EXPECT_TRUE(s.buttons[kButtonBack].rect.IsRectEmpty());
  s.buttons[kButtonClose].wanted = false;
  LayoutTabStrip(Strip(kTop, kSizeToFit), tabs, s);
  EXPECT_TRUE(s.buttons[kButtonClose].rect.IsRectEmpty());
}

TEST(TabSingleRow, RotatedTabsStandOnTheClientEdge) {
  FixedTabs tabs({50, 70});
  TabStripState s;
  LayoutTabStrip(Strip(kTop, kRotated), tabs, s);
  EXPECT_EQ(s.header.Height(), 70 + 3);
  EXPECT_EQ(s.slots[0].rect, CRect(2, 73 - 50, 22, 73));
  EXPECT_EQ(s.slots[1].rect, CRect(22, 3, 42, 73));
  EXPECT_EQ(s.ItemsLength(kRotated, 20), 40);
}

TEST(TabMultiRow, ThreeRowsOverlapByTheSpacing) {
  FixedTabs tabs({100, 100, 100, 100, 100, 100});
  TabStripState s;
  TabStripParams p = Strip(kTop, kMultiRow, CRect(0, 0, 220, 300));
  p.headerMargin = CRect(2, 0, 6, 0);
  LayoutTabStrip(p, tabs, s);
  ASSERT_EQ(s.rows.size(), 3u);
  EXPECT_EQ(s.header.Height(), 56);
  // Row 0 lies next to the client, the others farther out.
  EXPECT_EQ(s.slots[0].rect.top, 36);
  EXPECT_EQ(s.slots[2].rect.top, 18);
  EXPECT_EQ(s.slots[4].rect.top, 0);
  EXPECT_EQ(s.scrollOffset, 0);
}

TEST(TabMultiRow, FilledRowsEndFlush) {
  FixedTabs tabs({30, 30, 30, 30, 100});
  TabStripState s;
  TabStripParams p = Strip(kTop, kMultiRow, CRect(0, 0, 128, 200));  // row length 120
  p.keepRowOrder = true;
  LayoutTabStrip(p, tabs, s);
  ASSERT_EQ(s.rows.size(), 2u);
  EXPECT_EQ(s.rows[0].first, 0);
  EXPECT_EQ(s.rows[0].last, 3);
  EXPECT_EQ(s.slots[3].rect.right, 122);
  EXPECT_EQ(s.slots[4].rect, CRect(2, 3, 122, 23));
  EXPECT_EQ(s.slots[4].fullLength, 100);
}

TEST(TabMultiRow, TheSelectedRowMovesNextToTheClientUnlessOrderIsKept) {
  FixedTabs tabs({100, 100, 100});
  TabStripParams p = Strip(kBottom, kMultiRow, CRect(0, 0, 108, 300));
  p.selected = 2;
  TabStripState s;
  LayoutTabStrip(p, tabs, s);
  EXPECT_EQ(s.slots[2].row, 0);
  EXPECT_EQ(s.slots[0].row, 2);
  EXPECT_EQ(s.rows[0].first, 2);
  EXPECT_EQ(s.slots[2].rect.top, s.header.top);  // bottom strip: row 0 highest
  p.keepRowOrder = true;
  LayoutTabStrip(p, tabs, s);
  EXPECT_EQ(s.slots[2].row, 2);
}

TEST(TabMultiRow, BalancingWithoutFillFillsEachRowToTheLength) {
  EXPECT_EQ(BalanceRows({50, 50, 50, 50, 50}, 3, 120, false), (std::vector<int>{0, 0, 1, 1, 2}));
  EXPECT_EQ(BalanceRows({50, 50, 50, 50, 50}, 3, 120, true), (std::vector<int>{0, 1, 1, 2, 2}));
  // A tab longer than a row cannot be balanced into the last row: the plain breaking stands.
  EXPECT_EQ(BalanceRows({30, 200}, 2, 120, true), (std::vector<int>{0, 1}));
}

// The search without remembering failures, as a reference: exponential, so only for short strips.
bool ReferenceFill(const std::vector<int>& L, int rows, int rowLength, bool fill, int r, int first,
                   std::vector<int>& rowOf) {
  const int n = static_cast<int>(L.size());
  int remaining = 0;
  for (int i = first; i < n; ++i) remaining += L[i];
  const int target = fill ? std::min(rowLength, remaining / (rows - r)) : rowLength;
  if (r == rows - 1) {
    if (remaining > target) return false;
    for (int i = first; i < n; ++i) rowOf[i] = r;
    return true;
  }
  int sum = 0;
  for (int i = first; i < n; ++i) {
    if (sum > 0 && L[i] > 0 && sum + L[i] > target) {
      if (ReferenceFill(L, rows, rowLength, fill, r + 1, i, rowOf)) return true;
      if (sum + L[i] > rowLength) return false;
    }
    sum += L[i];
    rowOf[i] = r;
  }
  return false;
}

TEST(TabMultiRow, RememberedFailuresGiveTheSameRowsAsTheFullSearch) {
  std::mt19937 random(7);
  for (int round = 0; round < 400; ++round) {
    std::vector<int> lengths(3 + random() % 12);
    for (int& l : lengths) l = 10 + static_cast<int>(random() % 90);
    const int rowLength = 100 + static_cast<int>(random() % 150);
    const std::vector<int> broken = BreakRows(lengths, rowLength);
    const int rows = broken.back() + 1;
    if (rows < 2) continue;
    std::vector<int> expected(lengths.size());
    if (!ReferenceFill(lengths, rows, rowLength, true, 0, 0, expected)) expected = broken;
    EXPECT_EQ(BalanceRows(lengths, rows, rowLength, true), expected) << "round " << round;
  }
}

TEST(TabMultiRow, ManyTabsBalanceQuickly) {
  // Lengths that make a search without memory try every break place of every row.
  std::vector<int> lengths(400, 37);
  for (size_t i = 0; i < lengths.size(); i += 3) lengths[i] = 59;
  const int count = BreakRows(lengths, 300).back() + 1;
  const std::vector<int> rows = BalanceRows(lengths, count, 300, true);
  ASSERT_EQ(rows.size(), lengths.size());
  EXPECT_EQ(rows.front(), 0);
  EXPECT_EQ(rows.back(), count - 1);
  std::vector<int> sums(static_cast<size_t>(count), 0);
  for (size_t i = 0; i < rows.size(); ++i) {
    if (i > 0) {
      EXPECT_LE(rows[i] - rows[i - 1], 1);
    }
    sums[static_cast<size_t>(rows[i])] += lengths[i];
  }
  for (int sum : sums) EXPECT_LE(sum, 300);
  // A row per tab, as many rows as a 2 MiB stack could never have held one call each.
  const std::vector<int> alone = BalanceRows(std::vector<int>(25000, 60), 25000, 100, true);
  EXPECT_EQ(alone[0], 0);
  EXPECT_EQ(alone[24999], 24999);
}

TEST(TabScroll, ATabIsBroughtIntoViewFromEitherSide) {
  const CRect header(0, 0, 200, 23);
  EXPECT_EQ(ScrollToShow(header, CRect(-50, 3, 10, 23), 2, kTop, -60), -60 + 50 + 2);
  EXPECT_EQ(ScrollToShow(header, CRect(180, 3, 240, 23), 2, kTop, 0), -40);
  EXPECT_EQ(ScrollToShow(header, CRect(20, 3, 40, 23), 2, kTop, -5), -5);
  EXPECT_EQ(ScrollToShow(CRect(0, 0, 23, 100), CRect(3, 90, 23, 130), 2, kLeft, 0), -30);
  EXPECT_EQ(ScrollToShow(CRect(), CRect(3, 90, 23, 130), 2, kLeft, -7), -7);
}

}  // namespace
}  // namespace tktab
