// The header's and list's arithmetic: shared widths, the stored column text, the sort a click picks,
// the cell under a point, auto-sized widths and the shaded header colours.
#include "toolkit/controls/tk_list_logic.h"

#include <gtest/gtest.h>

namespace tklist {
namespace {

TEST(ListLogic, WidthIsSharedOnlyAmongColumnsThatExist) {
  EXPECT_EQ(DistributedWidth(600, 3), 200);
  EXPECT_EQ(DistributedWidth(601, 3), 200);  // the remainder is left over
  EXPECT_EQ(DistributedWidth(600, 0), 0);    // no columns: nothing to divide by
  EXPECT_EQ(DistributedWidth(600, -2), 0);
  EXPECT_EQ(DistributedWidth(2, 3), 0);
  EXPECT_EQ(DistributedWidth(-30, 3), 0);
  // The header's width stands in for 0; the scroll bar is taken off.
  EXPECT_EQ(FittedTotal(0, 420, true, 16), 404);
  EXPECT_EQ(FittedTotal(300, 420, false, 16), 300);
}

TEST(ListLogic, ColumnInfoIsOneFieldPerColumnWithATrailingComma) {
  EXPECT_EQ(FormatColumnInfo({200, 100, 150}), u"200,100,150,");
  EXPECT_EQ(FormatColumnInfo({}), u"");
  const std::u16string stored = FormatColumnInfo({200, 0, 150});
  EXPECT_EQ(ColumnInfoField(stored, 0), 200);
  EXPECT_EQ(ColumnInfoField(stored, 1), 0);  // a hidden column stays hidden
  EXPECT_EQ(ColumnInfoField(stored, 2), 150);
  // Past the last comma, and before the first field, there is nothing.
  EXPECT_EQ(ColumnInfoField(stored, 3), std::nullopt);
  EXPECT_EQ(ColumnInfoField(stored, -1), std::nullopt);
  EXPECT_EQ(ColumnInfoField(u"", 0), std::nullopt);
  EXPECT_EQ(ColumnInfoField(u"80", 0), 80);
}

TEST(ListLogic, DamagedColumnInfoLeavesWidthsAlone) {
  const std::u16string damaged = u"12x,,-5, 40,99999999999999999999,65535,65536,";
  EXPECT_EQ(ColumnInfoField(damaged, 0), std::nullopt);
  EXPECT_EQ(ColumnInfoField(damaged, 1), std::nullopt);
  EXPECT_EQ(ColumnInfoField(damaged, 2), std::nullopt);
  EXPECT_EQ(ColumnInfoField(damaged, 3), 40);
  EXPECT_EQ(ColumnInfoField(damaged, 4), std::nullopt);
  EXPECT_EQ(ColumnInfoField(damaged, 5), 65535);
  EXPECT_EQ(ColumnInfoField(damaged, 6), std::nullopt);
}

TEST(ListLogic, LeftClicksTurnTheSortedColumnAndRightClicksTakeTheHeadersDirection) {
  SortState s;
  s = *SortAfterHeaderClick(s, 2, kLeftButton, true);
  EXPECT_EQ(s.column, 2);
  EXPECT_TRUE(s.ascending);
  s = *SortAfterHeaderClick(s, 2, kLeftButton, true);
  EXPECT_FALSE(s.ascending);
  s = *SortAfterHeaderClick(s, 0, kLeftButton, false);
  EXPECT_EQ(s.column, 0);
  EXPECT_TRUE(s.ascending);
  s = *SortAfterHeaderClick(s, 0, kRightButton, false);
  EXPECT_FALSE(s.ascending);
  s = *SortAfterHeaderClick(s, 1, kRightButton, false);
  EXPECT_EQ(s.column, 1);
  EXPECT_FALSE(s.ascending);
  EXPECT_FALSE(SortAfterHeaderClick(s, 1, 2, true).has_value());  // middle button
  EXPECT_FALSE(SortAfterHeaderClick(s, -1, kLeftButton, true).has_value());
}

TEST(ListLogic, CellColumnFollowsDisplayOrder) {
  const std::vector<int> widths{100, 50, 80};
  EXPECT_EQ(ColumnAtX(widths, {0, 1, 2}, 0, 10), 0);
  EXPECT_EQ(ColumnAtX(widths, {0, 1, 2}, 0, 120), 1);
  EXPECT_EQ(ColumnAtX(widths, {2, 0, 1}, 0, 10), 2);
  EXPECT_EQ(ColumnAtX(widths, {2, 0, 1}, 0, 90), 0);
  EXPECT_EQ(ColumnAtX(widths, {0, 1, 2}, -30, 195), 2);  // scrolled left by 30
  EXPECT_EQ(ColumnAtX(widths, {0, 1, 2}, 0, 231), -1);   // right of the last column
  EXPECT_EQ(ColumnAtX(widths, {0, 7, 1}, 0, 120), 1);    // an order entry without a column is skipped
}

TEST(ListLogic, AutoSizedWidthCoversTheHeadingAndItsArrowWithinTheLimits) {
  EXPECT_EQ(AutoSizeWidth(40, 50, false, 0, 1000), 62);
  EXPECT_EQ(AutoSizeWidth(40, 50, true, 0, 1000), 86);
  EXPECT_EQ(AutoSizeWidth(300, 50, true, 0, 1000), 300);
  EXPECT_EQ(AutoSizeWidth(10, 5, false, 30, 1000), 30);
  EXPECT_EQ(AutoSizeWidth(3000, 5, false, 30, 1024), 1024);
}

TEST(ListLogic, CopyKeepsTrackOfTheSourceRow) {
  EXPECT_EQ(CopiedRowSource(2, 0), 3);
  EXPECT_EQ(CopiedRowSource(0, 2), 0);
  EXPECT_EQ(CopiedRowSource(1, 1), -1);
  EXPECT_EQ(CopiedRowSource(-1, 1), -1);
  EXPECT_EQ(CopiedRowSource(1, -1), -1);
}

TEST(ListLogic, ShadedColoursLieBetweenFaceAndShadow) {
  const std::uint32_t face = 0xD8E9EC, shadow = 0x99A8AC;
  EXPECT_EQ(TowardShadow(face, shadow, 0), face);
  EXPECT_EQ(TowardShadow(face, shadow, 100), shadow);
  // Red: 0xEC - (0xEC - 0xAC) * 60 / 100 = 0xEC - 38 = 0xC6; green 0xC2; blue 0xB3 (37.8 truncated).
  EXPECT_EQ(TowardShadow(face, shadow, 60), 0xB3C2C6u);
  EXPECT_EQ(TowardShadow(0x000000, 0xFFFFFF, 40), 0x666666u);
}

}  // namespace
}  // namespace tklist
