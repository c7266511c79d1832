#include "app/logic/file_size_choice.h"

#include <gtest/gtest.h>

namespace app {
namespace {

TEST(FileSizeChoice, TheListRunsFromOneToTwentyMegabytes) {
  EXPECT_EQ(FileSizeItemText(1), u"1 MB");
  EXPECT_EQ(FileSizeItemText(20), u"20 MB");
  EXPECT_EQ(FileSizeItemText(0), u"0 MB");
}

TEST(FileSizeChoice, TheStoredSizeIsShownAndTwoMegabytesWhileNoneIsStored) {
  EXPECT_EQ(InitialFileSizeIndex(0), 1);
  EXPECT_EQ(InitialFileSizeIndex(1), 0);
  EXPECT_EQ(InitialFileSizeIndex(7), 6);
  EXPECT_EQ(InitialFileSizeIndex(20), 19);
  EXPECT_EQ(InitialFileSizeIndex(4000000000u), 19);
}

TEST(FileSizeChoice, AnItemGivesItsSizeAndNoItemKeepsTheStoredOne) {
  EXPECT_EQ(FileSizeOfIndex(0, 5), 1u);
  EXPECT_EQ(FileSizeOfIndex(19, 5), 20u);
  EXPECT_EQ(FileSizeOfIndex(-1, 5), 5u);
  EXPECT_EQ(FileSizeOfIndex(20, 5), 5u);
  // Opening and closing without a change keeps the size.
  EXPECT_EQ(FileSizeOfIndex(InitialFileSizeIndex(9), 9), 9u);
}

}  // namespace
}  // namespace app
