#include "platform/seams/file_selection.h"

#include <gtest/gtest.h>

namespace {

using seams::SelectionPaths;
using Paths = std::vector<std::u16string>;

std::u16string Buffer(std::u16string text) {
  for (char16_t& c : text) {
    if (c == u'|') c = 0;
  }
  return text;
}

TEST(FileSelection, OneFileIsTheBufferItself) {
  EXPECT_EQ(SelectionPaths(Buffer(u"C:\\Images\\disk.vhd||"), true), Paths{u"C:\\Images\\disk.vhd"});
  EXPECT_EQ(SelectionPaths(Buffer(u"C:\\disk.vhd|"), false), Paths{u"C:\\disk.vhd"});
  EXPECT_EQ(SelectionPaths(Buffer(u"||"), true), Paths{});
  EXPECT_EQ(SelectionPaths(u"", false), Paths{});
}

TEST(FileSelection, ExplorerStyleSeparatesByZeros) {
  EXPECT_EQ(SelectionPaths(Buffer(u"C:\\Images|a disk.vhd|b.vhdx||junk|"), true),
            (Paths{u"C:\\Images\\a disk.vhd", u"C:\\Images\\b.vhdx"}));
  // A folder that already ends in a separator gets none added.
  EXPECT_EQ(SelectionPaths(Buffer(u"C:\\|a.vhd|b.vhd||"), true), (Paths{u"C:\\a.vhd", u"C:\\b.vhd"}));
  EXPECT_EQ(SelectionPaths(Buffer(u"Z:/tmp/|a.vhd|b.vhd||"), true), (Paths{u"Z:/tmp/a.vhd", u"Z:/tmp/b.vhd"}));
  // Without the closing zeros the buffer's end closes it.
  EXPECT_EQ(SelectionPaths(Buffer(u"D:\\x|one|two"), true), (Paths{u"D:\\x\\one", u"D:\\x\\two"}));
}

TEST(FileSelection, OldStyleSeparatesByBlanks) {
  EXPECT_EQ(SelectionPaths(Buffer(u"C:\\IMAGES A.VHD B.VHD|C.VHD|"), false),
            (Paths{u"C:\\IMAGES\\A.VHD", u"C:\\IMAGES\\B.VHD"}));
  EXPECT_EQ(SelectionPaths(Buffer(u"C:\\ A.VHD  B.VHD|"), false), (Paths{u"C:\\A.VHD", u"C:\\B.VHD"}));
}

}  // namespace
