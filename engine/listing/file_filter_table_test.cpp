#include "engine/listing/file_filter_table.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

class FileFilterTableTest : public ::testing::Test {
 protected:
  void SetUp() override { FileFilterTable = FileFilterTableRecord{}; }
  void TearDown() override { FileFilterTable = FileFilterTableRecord{}; }
};

TEST_F(FileFilterTableTest, HoldsNinetyNineRowsOfNineteenUnits) {
  std::vector<std::u16string> patterns(kFileFilterRows, u"*.TXT");
  patterns.back() = std::u16string(19, u'x');
  ASSERT_TRUE(SetFileFilters(patterns));
  EXPECT_EQ(FileFilterTable.count, 99u);
  EXPECT_EQ(FileFilterRow(98), std::u16string(19, u'x'));
  EXPECT_EQ(FileFilterRow(99), u"");

  patterns.push_back(u"*.JPG");
  EXPECT_FALSE(SetFileFilters(patterns));
  EXPECT_FALSE(SetFileFilters({u"*.JPG", std::u16string(20, u'y')}));
  EXPECT_EQ(FileFilterTable.count, 99u);  // a refused table leaves the old one
  EXPECT_EQ(FileFilterRow(0), u"*.TXT");
}

TEST_F(FileFilterTableTest, RowsAreReadWithinTheTable) {
  // A row without its terminating zero, and a count beyond the table, as a careless writer could leave them.
  for (size_t i = 0; i < kFileFilterRowUnits; ++i) FileFilterTable.rows[0][i] = u'*';
  FileFilterTable.count = 5000;
  EXPECT_EQ(FileFilterRow(0), std::u16string(kFileFilterRowUnits, u'*'));
  EXPECT_EQ(FileFilterRow(98), u"");
  EXPECT_EQ(FileFilterRow(120), u"");
  EXPECT_TRUE(PassesFileFilters(u"anything.bin"));
}

TEST_F(FileFilterTableTest, NoRowsPassEverythingOtherwiseSomeRowMustMatch) {
  EXPECT_TRUE(PassesFileFilters(u"a.bin"));
  ASSERT_TRUE(SetFileFilters({u"*.txt", u"*.JPG"}));
  EXPECT_TRUE(PassesFileFilters(u"Notes.TXT"));
  EXPECT_TRUE(PassesFileFilters(u"photo.jpg"));
  EXPECT_FALSE(PassesFileFilters(u"a.bin"));
  // Upper case beyond ASCII on both sides.
  ASSERT_TRUE(SetFileFilters({u"\u00e4*"}));
  EXPECT_TRUE(PassesFileFilters(u"\u00c4rger.doc"));
}

}  // namespace
