#include "app/results/regroup_rows.h"

#include <gtest/gtest.h>

namespace results {
namespace {

std::vector<std::u16string> Names(const std::vector<RowNameType>& rows, const std::vector<size_t>& order) {
  std::vector<std::u16string> names;
  for (size_t i : order) names.push_back(rows[i].name);
  return names;
}

TEST(RegroupRows, FoldersStayOnTopInSortedOrderWithParentFirst) {
  // As a sort by size left them: files and folders mixed, "Parent..." somewhere in the middle.
  const std::vector<RowNameType> rows = {{u"b.txt", u"Text Document"},  {u"Zeta", u"Folder"},
                                         {u"Parent...", u""},          {u"a.bin", u"BIN File"},
                                         {u"Old", u"Deleted Folder"},  {u"Alpha", u"FOLDER"},
                                         {u"gone.doc", u"Deleted File"}};
  EXPECT_EQ(Names(rows, RegroupOrder(rows)),
            (std::vector<std::u16string>{u"Parent...", u"Zeta", u"Old", u"Alpha", u"b.txt", u"a.bin", u"gone.doc"}));
}

TEST(RegroupRows, ListsWithoutFoldersOrParentKeepTheirOrder) {
  const std::vector<RowNameType> rows = {{u"c", u"File"}, {u"a", u"File"}, {u"b", u"File"}};
  EXPECT_EQ(RegroupOrder(rows), (std::vector<size_t>{0, 1, 2}));
  EXPECT_TRUE(RegroupOrder({}).empty());
  // A type that only contains the word is not a folder.
  const std::vector<RowNameType> near = {{u"x", u"Folder shortcut"}, {u"y", u"Folder"}};
  EXPECT_EQ(RegroupOrder(near), (std::vector<size_t>{1, 0}));
}

TEST(SortColumns, TypesByColumnAndNoneFromTheSixthColumnOn) {
  EXPECT_EQ(ColumnSortType(0), 2);
  EXPECT_EQ(ColumnSortType(1), 2);
  EXPECT_EQ(ColumnSortType(2), 1);
  EXPECT_EQ(ColumnSortType(3), 3);
  EXPECT_EQ(ColumnSortType(4), 3);
  EXPECT_EQ(ColumnSortType(5), 1);
  EXPECT_EQ(ColumnSortType(6), 0);
  EXPECT_EQ(ColumnSortType(-1), 0);
}

TEST(SortColumns, SameColumnTurnsTheDirectionAnotherStartsAscending) {
  SortOrder order;  // column 1, ascending at start
  order = NextSortOrder(order, 0, true);
  EXPECT_EQ(order.column, 0);
  EXPECT_TRUE(order.ascending);
  order = NextSortOrder(order, 0, true);
  EXPECT_FALSE(order.ascending);
  order = NextSortOrder(order, 0, true);
  EXPECT_TRUE(order.ascending);
  order = NextSortOrder(order, 2, true);
  EXPECT_EQ(order.column, 2);
  EXPECT_TRUE(order.ascending);
  // The first click on the start column turns it.
  EXPECT_FALSE(NextSortOrder(SortOrder{}, 1, true).ascending);
}

}  // namespace
}  // namespace results
