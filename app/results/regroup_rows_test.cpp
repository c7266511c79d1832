#include "app/results/regroup_rows.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "ui/controls/sort_compare.h"

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
                                         {u"Parent...", u"", true},    {u"a.bin", u"BIN File"},
                                         {u"Old", u"Deleted Folder"},  {u"Alpha", u"FOLDER"},
                                         {u"gone.doc", u"Deleted File"}};
  EXPECT_EQ(Names(rows, RegroupOrder(rows)),
            (std::vector<std::u16string>{u"Parent...", u"Zeta", u"Old", u"Alpha", u"b.txt", u"a.bin", u"gone.doc"}));
}

// Only the lister's "Parent..." row goes first: a file of that name (or beginning so) stays among the files.
TEST(RegroupRows, AFileNamedParentStaysAFile) {
  const std::vector<RowNameType> rows = {{u"b.txt", u"Text Document"}, {u"Parent...", u"File"},
                                         {u"Parent... notes.txt", u"Text Document"}, {u"Zeta", u"Folder"}};
  EXPECT_EQ(Names(rows, RegroupOrder(rows)),
            (std::vector<std::u16string>{u"Zeta", u"b.txt", u"Parent...", u"Parent... notes.txt"}));
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

TEST(SortColumns, TheHeadersMenuChoiceHoldsOverTheClickRule) {
  const SortOrder none{-1, true};
  // Plain clicks: the header shows what the page showed.
  SortOrder order = SortForColumnClick(SortOrder{}, none, none, 1);
  EXPECT_EQ(order.column, 1);
  EXPECT_FALSE(order.ascending);  // the start column turns
  order = SortForColumnClick(order, order, order, 1);
  EXPECT_TRUE(order.ascending);
  // "Sort Descending" on another column: the header's arrow moved there first.
  order = SortForColumnClick(order, order, SortOrder{3, false}, 3);
  EXPECT_EQ(order.column, 3);
  EXPECT_FALSE(order.ascending);
  // "Sort Ascending" on the start column before any sort: no turn.
  order = SortForColumnClick(SortOrder{}, none, SortOrder{1, true}, 1);
  EXPECT_TRUE(order.ascending);
  // "Sort Ascending" on the column sorted descending.
  order = SortForColumnClick(SortOrder{2, false}, SortOrder{2, false}, SortOrder{2, true}, 2);
  EXPECT_TRUE(order.ascending);
}

// The results list's columns sorted as the page sorts them: each by its column's comparison type.
std::vector<std::u16string> SortedBy(std::vector<std::vector<std::u16string>> rows, int column, bool ascending) {
  const int type = ColumnSortType(column);
  std::stable_sort(rows.begin(), rows.end(), [&](const auto& a, const auto& b) {
    return ui::CompareSortTexts(a[static_cast<size_t>(column)], b[static_cast<size_t>(column)],
                                ascending ? type : -type, nullptr) < 0;
  });
  std::vector<std::u16string> names;
  for (const auto& row : rows) names.push_back(row[0]);
  return names;
}

TEST(SortColumns, RowsSortByTheirColumnsType) {
  const std::vector<std::vector<std::u16string>> rows = {{u"b.txt", u"Text Document", u"9 KB", u"", u"", u"12"},
                                                         {u"A.doc", u"Word Document", u"10 KB", u"", u"", u"3"},
                                                         {u"c.bin", u"BIN File", u"100 KB", u"", u"", u"100"}};
  // Names and types as text, ignoring case; sizes and ids as numbers, not as text.
  EXPECT_EQ(SortedBy(rows, 0, true), (std::vector<std::u16string>{u"A.doc", u"b.txt", u"c.bin"}));
  EXPECT_EQ(SortedBy(rows, 1, true), (std::vector<std::u16string>{u"c.bin", u"b.txt", u"A.doc"}));
  EXPECT_EQ(SortedBy(rows, 2, true), (std::vector<std::u16string>{u"b.txt", u"A.doc", u"c.bin"}));
  EXPECT_EQ(SortedBy(rows, 2, false), (std::vector<std::u16string>{u"c.bin", u"A.doc", u"b.txt"}));
  EXPECT_EQ(SortedBy(rows, 5, true), (std::vector<std::u16string>{u"A.doc", u"b.txt", u"c.bin"}));
}

}  // namespace
}  // namespace results
