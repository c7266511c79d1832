// The toolbar layout: where rows break, what a floating bar's width becomes, how rows are placed.
#include "toolkit/commandbars/bars/toolbar_layout.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

typedef std::vector<TKPLayoutRecord> Records;

// n buttons of w x h; groups start at the given indexes.
Records Buttons(int n, int w = 23, int h = 22, std::vector<int> groups = {}) {
  Records records(n);
  for (TKPLayoutRecord& r : records) r.size = CSize(w, h);
  for (int g : groups) records[g].beginGroup = true;
  return records;
}

std::vector<int> RowStarts(const Records& records) {
  std::vector<int> starts;
  for (size_t i = 0; i < records.size(); ++i) {
    if (records[i].wrap) starts.push_back(static_cast<int>(i));
  }
  return starts;
}

TEST(ToolbarWrap, AnOverflowingRowBreaksAtTheLastGroupThatStartedInIt) {
  // 23, 46, 69, then the group at 3 adds 6: 98; control 4 reaches 121 > 100.
  Records records = Buttons(6, 23, 22, {3});
  EXPECT_EQ(tkplayout::Wrap(records, 100, 0), 2);
  EXPECT_EQ(RowStarts(records), std::vector<int>({3}));
}

TEST(ToolbarWrap, WithoutAGroupStartTheRowBreaksAtTheControlThatOverflows) {
  Records records = Buttons(6);
  bool wrapped = false;
  EXPECT_EQ(tkplayout::Wrap(records, 50, 0, &wrapped), 3);
  EXPECT_TRUE(wrapped);
  EXPECT_EQ(RowStarts(records), std::vector<int>({2, 4}));
}

TEST(ToolbarWrap, AGroupStartAtTheRowsOwnStartIsNoPlaceToBreak) {
  // Row 2 starts at group 2; the overflow at 4 finds no later group start in that row.
  Records records = Buttons(6, 23, 22, {2});
  EXPECT_EQ(tkplayout::Wrap(records, 50, 0), 3);
  EXPECT_EQ(RowStarts(records), std::vector<int>({2, 4}));
}

TEST(ToolbarWrap, ExactFitStaysOnOneRowAndWidthZeroGivesOneControlPerRow) {
  Records records = Buttons(4);
  EXPECT_EQ(tkplayout::Wrap(records, 92, 0), 1);
  EXPECT_TRUE(RowStarts(records).empty());
  EXPECT_EQ(tkplayout::Wrap(records, 0, 0), 4);
}

TEST(ToolbarWrap, NoWrapHidesEverythingFromTheFirstControlThatDoesNotFit) {
  Records records = Buttons(5);
  bool wrapped = false;
  EXPECT_EQ(tkplayout::Wrap(records, 60, kTKPLayoutNoWrap, &wrapped), 1);
  EXPECT_TRUE(wrapped);
  for (int i = 0; i < 5; ++i) EXPECT_EQ(records[i].hidden, i >= 2) << i;
  EXPECT_TRUE(RowStarts(records).empty());
}

TEST(ToolbarWrap, PopupToolbarsStartARowAtEveryGroup) {
  Records records = Buttons(5, 23, 22, {2, 3});
  EXPECT_EQ(tkplayout::Wrap(records, 32767, kTKPLayoutPopupWrap), 3);
  EXPECT_EQ(RowStarts(records), std::vector<int>({2, 3}));
}

TEST(ToolbarWrap, InvisibleControlsTakeNoRoomAndVerticalBarsMeasureHeights) {
  Records records = Buttons(4, 40, 10);
  records[1].visible = false;
  EXPECT_EQ(tkplayout::Wrap(records, 80, 0), 2);
  EXPECT_EQ(RowStarts(records), std::vector<int>({3}));
  EXPECT_EQ(tkplayout::Wrap(records, 30, kTKPLayoutVertDock), 1);
}

TEST(ToolbarCalcSize, RowsStackWithSeparatorsAndControlsAreCentredInTheirRow) {
  Records records = Buttons(4, 20, 20, {2});
  records[1].size = CSize(30, 30);
  records[3].wrap = true;
  records[3].beginGroup = true;
  records[2].beginGroup = true;
  const CSize extent = tkplayout::CalcSize(records, CSize(6, 8), false);
  EXPECT_EQ(records[0].rect, CRect(0, 5, 20, 25));  // centred in the 30-pixel row
  EXPECT_EQ(records[1].rect, CRect(20, 0, 50, 30));
  EXPECT_EQ(records[2].rect, CRect(56, 5, 76, 25));  // the separator's width before the group
  EXPECT_EQ(records[3].rect, CRect(0, 38, 20, 58));  // row height plus the separator's height
  EXPECT_EQ(extent, CSize(76, 58));
  EXPECT_EQ(records[0].rowRect, CRect(0, 0, 76, 30));
  EXPECT_EQ(records[3].rowRect, CRect(0, 38, 76, 58));
}

TEST(ToolbarCalcSize, VerticalColumnsGrowToTheLeft) {
  Records records = Buttons(3, 20, 20);
  records[2].wrap = true;
  const CSize extent = tkplayout::CalcSize(records, CSize(6, 6), true);
  EXPECT_EQ(extent, CSize(40, 40));
  EXPECT_EQ(records[0].rect, CRect(20, 0, 40, 20));
  EXPECT_EQ(records[1].rect, CRect(20, 20, 40, 40));
  EXPECT_EQ(records[2].rect, CRect(0, 0, 20, 20));
}

TEST(ToolbarFloating, ABarKeepsItsRowCountAtTheNarrowestWidth) {
  // At 100 pixels four of six 23-pixel buttons fit: two rows. Three per row also gives two rows.
  Records records = Buttons(6);
  const CSize size = tkplayout::FitFloating(records, 100, CSize(6, 6), 0);
  EXPECT_EQ(size, CSize(69, 44));
  EXPECT_EQ(RowStarts(records), std::vector<int>({3}));
}

TEST(ToolbarFloating, AGivenHeightFindsTheNarrowestWidthThatFitsIt) {
  Records records = Buttons(6);
  const CSize size = tkplayout::FitFloating(records, 44, CSize(6, 6), kTKPLayoutLengthIsHeight);
  EXPECT_EQ(size, CSize(69, 44));
  const CSize tall = tkplayout::FitFloating(records, 1000, CSize(6, 6), kTKPLayoutLengthIsHeight);
  EXPECT_EQ(tall, CSize(23, 132));
}

TEST(ToolbarFloating, ALengthBelowTheNarrowestControlStillLaysOut) {
  Records records = Buttons(3, 40, 20);
  EXPECT_EQ(tkplayout::FitFloating(records, 10, CSize(6, 6), 0), CSize(40, 60));
}

TEST(ToolbarDynamicSize, DockedRowsGetTheBordersAndTheBarStretchesToItsLength) {
  Records records = Buttons(3);
  TKPLayoutRequest request;
  request.length = 300;
  request.mode = kTKPLayoutHorzDock | kTKPLayoutHorizontal | kTKPLayoutStretch | kTKPLayoutCommit;
  request.borders = CRect(2, 2, 2, 2);
  request.separator = CSize(6, 6);
  EXPECT_EQ(tkplayout::CalcDynamicSize(records, request), CSize(300, 26));
  EXPECT_EQ(records[0].rect, CRect(2, 2, 25, 24));
  EXPECT_EQ(records[2].rowRect, CRect(2, 2, 298, 24));
}

TEST(ToolbarDynamicSize, AnEmptyBarIsOneEmptyButtonWideAtLeastItsMinimum) {
  Records records = Buttons(2);
  for (TKPLayoutRecord& r : records) r.visible = false;
  TKPLayoutRequest request;
  request.mode = kTKPLayoutHorzDock;
  request.borders = CRect(2, 3, 2, 3);
  EXPECT_EQ(tkplayout::CalcDynamicSize(records, request), CSize(27, 28));
  request.minLength = 100;
  EXPECT_EQ(tkplayout::CalcDynamicSize(records, request), CSize(100, 28));
  request.mode = kTKPLayoutVertDock;
  EXPECT_EQ(tkplayout::CalcDynamicSize(records, request), CSize(27, 100));
}

TEST(ToolbarDynamicSize, FarEndControlsPackRightAndStretchedOnesShareTheRest) {
  Records records = Buttons(3, 20, 20);
  records[1].stretch = true;
  records[2].farEnd = true;
  TKPLayoutRequest request;
  request.length = 100;
  request.mode = kTKPLayoutHorzDock | kTKPLayoutStretch | kTKPLayoutCommit;
  request.separator = CSize(6, 6);
  tkplayout::CalcDynamicSize(records, request);
  EXPECT_EQ(records[2].rect, CRect(80, 0, 100, 20));
  EXPECT_EQ(records[0].rect, CRect(0, 0, 20, 20));
  EXPECT_EQ(records[1].rect, CRect(20, 0, 80, 20));
}

TEST(ToolbarDynamicSize, APopupToolbarThatWouldBeTallIsMadeSquarish) {
  // Nine single-control groups: a column nine high unless the shape is searched.
  Records records = Buttons(9, 20, 20, {1, 2, 3, 4, 5, 6, 7, 8});
  TKPLayoutRequest request;
  request.mode = kTKPLayoutPopupWrap | kTKPLayoutCommit;
  request.separator = CSize(6, 6);
  const CSize size = tkplayout::CalcDynamicSize(records, request);
  EXPECT_LT(size.cy, 3 * size.cx);
  EXPECT_GT(size.cx, 20);
  // A bar with a remembered width keeps its column.
  request.mruWidth = 20;
  const CSize column = tkplayout::CalcDynamicSize(records, request);
  EXPECT_EQ(column.cx, 20);
}

}  // namespace
