// The dock bar's rows: where a dropped bar goes, how a row's bars are pushed apart and squeezed.
#include "toolkit/commandbars/bars/dock_row_layout.h"

#include <gtest/gtest.h>

#include <map>
#include <vector>

namespace {

using tkpdock::RowBar;

// A bar of the given width wanted at left, row index index; by default it cannot shrink.
RowBar Bar(int index, int left, int width, int minLength = 1000) {
  RowBar bar;
  bar.rect = CRect(left, 0, left + width, 24);
  bar.mruOffset = left;
  bar.index = index;
  bar.minLength = minLength;
  return bar;
}

// index -> (left, right) after arranging.
std::map<int, std::pair<int, int>> Places(const std::vector<RowBar>& bars) {
  std::map<int, std::pair<int, int>> places;
  for (const RowBar& bar : bars) places[bar.index] = {bar.rect.left, bar.rect.right};
  return places;
}

TEST(DockRowArrange, OverlappingDropsLetTheEarlierBarKeepItsPlace) {
  // The earlier bar (index 0) lies left: the later one is pushed right of it.
  std::vector<RowBar> row = {Bar(0, 100, 200), Bar(1, 150, 100)};
  ASSERT_TRUE(tkpdock::ArrangeRow(row, 1000, nullptr));
  EXPECT_EQ(Places(row), (std::map<int, std::pair<int, int>>{{0, {100, 300}}, {1, {300, 400}}}));
  // The earlier bar lies right: the later one is pushed left of it.
  row = {Bar(1, 300, 200), Bar(0, 350, 100)};
  ASSERT_TRUE(tkpdock::ArrangeRow(row, 1000, nullptr));
  EXPECT_EQ(Places(row), (std::map<int, std::pair<int, int>>{{1, {150, 350}}, {0, {350, 450}}}));
}

TEST(DockRowArrange, BarsAtTheSamePlaceKeepTheirRowOrderWhateverTheInputOrder) {
  // Equal edges are equal to the sort: the stable order decides, and the lower index wins the place.
  std::vector<RowBar> row = {Bar(0, 50, 100), Bar(1, 50, 100), Bar(2, 50, 100)};
  ASSERT_TRUE(tkpdock::ArrangeRow(row, 1000, nullptr));
  EXPECT_EQ(Places(row),
            (std::map<int, std::pair<int, int>>{{0, {50, 150}}, {1, {150, 250}}, {2, {250, 350}}}));
}

TEST(DockRowArrange, BarsPastTheEndMoveBackAndNeverBeforeTheStart) {
  std::vector<RowBar> row = {Bar(0, 0, 100), Bar(1, 450, 100)};
  ASSERT_TRUE(tkpdock::ArrangeRow(row, 500, nullptr));
  EXPECT_EQ(Places(row), (std::map<int, std::pair<int, int>>{{0, {0, 100}}, {1, {400, 500}}}));
  // Pushed left by a bar that keeps its place near the start: it stops at 0 and the pass from the left
  // moves the other one on.
  row = {Bar(1, 20, 100), Bar(0, 60, 100)};
  ASSERT_TRUE(tkpdock::ArrangeRow(row, 500, nullptr));
  EXPECT_EQ(Places(row), (std::map<int, std::pair<int, int>>{{1, {0, 100}}, {0, {100, 200}}}));
  row = {Bar(0, -40, 100)};
  ASSERT_TRUE(tkpdock::ArrangeRow(row, 500, nullptr));
  EXPECT_EQ(Places(row), (std::map<int, std::pair<int, int>>{{0, {0, 100}}}));
}

TEST(DockRowArrange, ATooShortRowShrinksHideWrapBarsFirstThenReportsTheRightmost) {
  // Two bars of 300 that may shrink to 100 in a row of 450: both fit, the right one shrinks.
  std::vector<RowBar> row = {Bar(0, 0, 300, 100), Bar(1, 300, 300, 100)};
  ASSERT_TRUE(tkpdock::ArrangeRow(row, 450, nullptr));
  EXPECT_EQ(Places(row), (std::map<int, std::pair<int, int>>{{0, {0, 300}}, {1, {300, 450}}}));
  // In a row of 150 they cannot both stay: the rightmost bar is reported.
  row = {Bar(0, 0, 300, 100), Bar(1, 300, 300, 100)};
  int notFit = -1;
  EXPECT_FALSE(tkpdock::ArrangeRow(row, 150, &notFit));
  EXPECT_EQ(notFit, 1);
  // A bar that cannot shrink never shares a too short row.
  row = {Bar(0, 0, 100), Bar(1, 100, 100)};
  EXPECT_FALSE(tkpdock::ArrangeRow(row, 150, &notFit));
  EXPECT_EQ(notFit, 1);
}

TEST(DockRowArrange, ALoneBarThatDoesNotFitIsSqueezedIntoTheRow) {
  std::vector<RowBar> row = {Bar(0, 40, 700, 200)};
  int notFit = -1;
  ASSERT_TRUE(tkpdock::ArrangeRow(row, 500, &notFit));
  EXPECT_EQ(notFit, -1);
  EXPECT_EQ(Places(row), (std::map<int, std::pair<int, int>>{{0, {0, 500}}}));
}

// ---- the list of rows ------------------------------------------------------------------------------

struct Item {
  int far;
  bool stretched = false;
};

class DockRows : public testing::Test {
 protected:
  // Rows: a (0..30), then b and c (30..60).
  Item a{30}, b{60}, c{60}, d{0}, menu{20, true};
  std::vector<Item*> rows{nullptr, &a, nullptr, &b, &c, nullptr};
  tkpdock::FarEdgeFn<Item> far = [](Item* item) { return item->far; };
};

TEST_F(DockRows, ADropJoinsTheRowUnderItsCentre) {
  EXPECT_EQ(tkpdock::InsertIntoRows(rows, &d, 45, far), 3);
  EXPECT_EQ(rows, (std::vector<Item*>{nullptr, &a, nullptr, &d, &b, &c, nullptr}));
}

TEST_F(DockRows, ADropOnTheEdgeBetweenRowsOrAboveMakesANewRow) {
  EXPECT_EQ(tkpdock::InsertIntoRows(rows, &d, 30, far), 3);
  EXPECT_EQ(rows, (std::vector<Item*>{nullptr, &a, nullptr, &d, nullptr, &b, &c, nullptr}));
  std::vector<Item*> others{nullptr, &a, nullptr};
  EXPECT_EQ(tkpdock::InsertIntoRows(others, &d, -5, far), 1);
  EXPECT_EQ(others, (std::vector<Item*>{nullptr, &d, nullptr, &a, nullptr}));
}

TEST_F(DockRows, ADropBelowEveryRowOrIntoNoRowsAppendsARow) {
  EXPECT_EQ(tkpdock::InsertIntoRows(rows, &d, 70, far), 6);
  EXPECT_EQ(rows, (std::vector<Item*>{nullptr, &a, nullptr, &b, &c, nullptr, &d, nullptr}));
  std::vector<Item*> none;
  EXPECT_EQ(tkpdock::InsertIntoRows(none, &d, 5, far), 1);
  EXPECT_EQ(none, (std::vector<Item*>{nullptr, &d, nullptr}));
}

TEST_F(DockRows, RemovingTheOnlyBarOfARowRemovesTheRow) {
  tkpdock::RemoveFromRows(rows, 1);
  EXPECT_EQ(rows, (std::vector<Item*>{nullptr, &b, &c, nullptr}));
  tkpdock::RemoveFromRows(rows, 2);
  EXPECT_EQ(rows, (std::vector<Item*>{nullptr, &b, nullptr}));
  tkpdock::RemoveFromRows(rows, 1);
  EXPECT_EQ(rows, (std::vector<Item*>{nullptr}));
  tkpdock::RemoveFromRows(rows, 7);  // outside: nothing
  EXPECT_EQ(rows.size(), 1u);
}

TEST_F(DockRows, AStretchedBarIsKeptAloneInItsRow) {
  std::vector<Item*> shared{nullptr, &a, &menu, &b, nullptr};
  tkpdock::NormaliseRows<Item>(shared, [](Item* item) { return item->stretched; });
  EXPECT_EQ(shared, (std::vector<Item*>{nullptr, &a, nullptr, &menu, nullptr, &b, nullptr}));
  int first = 0, last = 0;
  tkpdock::RowBounds(rows, 4, &first, &last);
  EXPECT_EQ(first, 3);
  EXPECT_EQ(last, 5);
}

}  // namespace
