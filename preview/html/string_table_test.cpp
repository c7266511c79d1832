#include "preview/html/string_table.h"

#include <gtest/gtest.h>

#include <string>

namespace htmlview {
namespace {

std::u16string Cell(const StringTable& t, int row, int cell) { return t.GetCell(row, cell); }

TEST(StringTableTest, RowsAndCellsGrowAndInvalidNumbersChangeNothing) {
  StringTable t;
  EXPECT_EQ(t.AddRow(), 1);
  EXPECT_EQ(t.AddCell(0, u"x"), 1);
  EXPECT_EQ(Cell(t, 0, 0), u"x");
  EXPECT_EQ(t.AddRow(), 2);
  EXPECT_EQ(t.AddCell(5, u"y"), 0);
  EXPECT_EQ(t.AddCell(-1, u"y"), 0);
  EXPECT_EQ(t.AddCell(0, nullptr), 0);
  EXPECT_EQ(t.GetRow(0).Count(), 1);
  EXPECT_EQ(t.GetRow(1).Count(), 0);
  EXPECT_EQ(t.GetRow(-1).Count(), 0);
  EXPECT_EQ(Cell(t, 7, 3), u"");
  int length = 9;
  EXPECT_EQ(std::u16string(t.GetRow(0).Get(4, &length)), u"");
  EXPECT_EQ(length, 0);
}

TEST(StringTableTest, LengthCopiesExactlyThatManyCharacters) {
  StringList list;
  EXPECT_EQ(list.Add(u"abcdef", 3), 1);
  int length = 0;
  EXPECT_EQ(std::u16string(list.Get(0, &length)), u"abc");
  EXPECT_EQ(length, 3);
  EXPECT_EQ(list.Set(1, u"z"), 0);
  list.Clear();
  EXPECT_EQ(list.Count(), 0);
}

TEST(StringTableTest, SetCellReplacesOneCellAndRemoveRowMovesLaterRowsDown) {
  StringTable t;
  t.AddRow();
  for (const char16_t* v : {u"1", u"2", u"3"}) t.AddCell(0, v);
  EXPECT_EQ(t.SetCell(0, 2, u"300"), 1);
  EXPECT_EQ(Cell(t, 0, 2), u"300");
  EXPECT_EQ(t.SetCell(0, 3, u"x"), 0);
  EXPECT_EQ(t.SetCell(4, 0, u"x"), 0);

  StringTable abc;
  for (const char16_t* v : {u"a", u"b", u"c"}) abc.AddCell(abc.AddRow() - 1, v);
  EXPECT_EQ(abc.RemoveRow(0), 1);
  EXPECT_EQ(abc.RemoveRow(2), 0);
  ASSERT_EQ(abc.RowCount(), 2);
  EXPECT_EQ(Cell(abc, 0, 0), u"b");
  EXPECT_EQ(Cell(abc, 1, 0), u"c");
  abc.Clear();
  EXPECT_EQ(abc.RowCount(), 0);
}

}  // namespace
}  // namespace htmlview
