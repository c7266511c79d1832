#include "ui/controls/status_colors.h"

#include <gtest/gtest.h>

namespace ui {
namespace {

TEST(StatusColors, BackgroundByColumn) {
  EXPECT_EQ(StatusCellColors(0, u"").background, 0xB2F3F5u);
  EXPECT_EQ(StatusCellColors(1, u"").background, 0xF3E9F8u);
  EXPECT_EQ(StatusCellColors(2, u"").background, 0xE2F2DCu);
  EXPECT_EQ(StatusCellColors(3, u"").background, 0xF3E9F8u);
  EXPECT_EQ(StatusCellColors(5, u"").background, 0xE2F2DCu);
  EXPECT_FALSE(StatusCellColors(6, u"").hasBackground);
  EXPECT_FALSE(StatusCellColors(2, u"").hasText);
}

TEST(StatusColors, TextByTheLeadingWord) {
  EXPECT_EQ(StatusCellColors(2, u"Pending").text, 0u);
  EXPECT_TRUE(StatusCellColors(2, u"Pending").hasText);
  EXPECT_EQ(StatusCellColors(2, u"Done with errors").text, 0xFF0000u);
  EXPECT_EQ(StatusCellColors(2, u"Failed").text, 0x0000FFu);
  CellColors progress = StatusCellColors(4, u"Progress 40%");
  EXPECT_EQ(progress.text, 0x00FF00u);
  EXPECT_EQ(progress.background, 0u);
  EXPECT_FALSE(StatusCellColors(2, u"In Progress").hasText);
  EXPECT_EQ(StatusCellColors(2, u"In Progress").background, 0xE2F2DCu);
  EXPECT_FALSE(StatusCellColors(2, u"done").hasText);
}

}  // namespace
}  // namespace ui
