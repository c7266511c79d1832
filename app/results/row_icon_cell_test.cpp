#include "app/results/row_icon_cell.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace results {
namespace {

IconPixels Icon(int size, uint32_t colour, bool transparent) {
  IconPixels icon;
  icon.width = icon.height = size;
  icon.colour.assign(static_cast<size_t>(size) * size, colour);
  icon.transparent.assign(static_cast<size_t>(size) * size, transparent);
  return icon;
}

size_t At(int x, int y) { return static_cast<size_t>(y) * kRowIconCell + x; }

TEST(RowIconCell, AMaskedIconSitsInTheMiddleOpaqueWhereItsMaskSaysSo) {
  IconPixels icon = Icon(16, 0x00123456, false);
  icon.transparent[0] = true;  // its top-left corner shows the row
  const IconPixels cell = CentreInCell(icon);
  ASSERT_EQ(cell.colour.size(), 400u);
  EXPECT_EQ(std::count(cell.transparent.begin(), cell.transparent.end(), false), 255);
  EXPECT_EQ(std::count(cell.colour.begin(), cell.colour.end(), 0xFF123456u), 255);  // the rest clear (0)
  EXPECT_TRUE(cell.transparent[At(2, 2)]);
  EXPECT_EQ(cell.colour[At(3, 2)], 0xFF123456u);
  EXPECT_EQ(cell.colour[At(17, 17)], 0xFF123456u);
  EXPECT_TRUE(cell.transparent[At(18, 17)]);
}

TEST(RowIconCell, AnAlphaIconKeepsItsPixelsAndItsSoftEdges) {
  IconPixels icon = Icon(16, 0xFF0000FF, true);  // the mask of alpha icons may say anything
  icon.colour[0] = 0x01FFFFFF;
  icon.colour[1] = 0x00FFFFFF;  // clear, whatever its colour
  const IconPixels cell = CentreInCell(icon);
  EXPECT_EQ(cell.colour[At(2, 2)], 0x01FFFFFFu);
  EXPECT_FALSE(cell.transparent[At(2, 2)]);
  EXPECT_EQ(cell.colour[At(3, 2)], 0u);
  EXPECT_TRUE(cell.transparent[At(3, 2)]);
  EXPECT_EQ(cell.colour[At(4, 2)], 0xFF0000FFu);
}

TEST(RowIconCell, LargerIconsKeepTheirMiddleAndBadOnesLeaveTheCellClear) {
  IconPixels big = Icon(24, 0x00FF0000, false);
  big.colour[2 * 24 + 2] = 0x0000FF00;  // lands on the cell's corner
  const IconPixels cell = CentreInCell(big);
  EXPECT_EQ(cell.colour[At(0, 0)], 0xFF00FF00u);
  EXPECT_EQ(std::count(cell.transparent.begin(), cell.transparent.end(), true), 0);

  IconPixels shortOne = Icon(16, 0x00FF0000, false);
  shortOne.colour.resize(100);
  for (const IconPixels& bad : {shortOne, IconPixels{}, Icon(-3, 0, false)}) {
    const IconPixels clear = CentreInCell(bad);
    EXPECT_EQ(std::count(clear.transparent.begin(), clear.transparent.end(), true), 400);
  }
}

}  // namespace
}  // namespace results
