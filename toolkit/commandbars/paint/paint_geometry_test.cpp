// The shapes behind the paint manager's check marks, glyphs and buttons, and its font and fade numbers.
#include "toolkit/commandbars/paint/paint_geometry.h"

#include <gtest/gtest.h>

namespace {

using tkppaint::Triangle3;

TEST(PaintGeometry, CheckMarkStrokesAreCentredAndMirroredForRightToLeft) {
  const auto mark = tkppaint::CheckMark(CRect(0, 0, 20, 16), false);  // centre (10, 8)
  EXPECT_EQ(mark[0][0], CPoint(6, 7));
  EXPECT_EQ(mark[0][1], CPoint(8, 9));
  EXPECT_EQ(mark[0][2], CPoint(13, 4));
  EXPECT_EQ(mark[1][0], CPoint(6, 8));  // the second stroke one pixel lower
  const auto rtl = tkppaint::CheckMark(CRect(0, 0, 20, 16), true);
  EXPECT_EQ(rtl[0][0], CPoint(6, 5));
  EXPECT_EQ(rtl[0][1], CPoint(10, 9));
  EXPECT_EQ(rtl[1][2], CPoint(13, 7));
}

TEST(PaintGeometry, DropDownGlyphKeepsAHalfWidthOfTwoInNarrowRectangles) {
  const Triangle3 narrow = tkppaint::DropDownGlyph(CRect(0, 0, 6, 10));
  EXPECT_EQ(narrow[0], CPoint(1, 4));
  EXPECT_EQ(narrow[1], CPoint(5, 4));
  EXPECT_EQ(narrow[2], CPoint(3, 6));
  const Triangle3 wide = tkppaint::DropDownGlyph(CRect(10, 0, 30, 20));  // half 6
  EXPECT_EQ(wide[0], CPoint(14, 7));
  EXPECT_EQ(wide[2], CPoint(20, 13));
}

TEST(PaintGeometry, ArrowsOfDropDownPartsCaptionsAndExpandButtons) {
  const Triangle3 arrow = tkppaint::SmallArrow(40, 10);
  EXPECT_EQ(arrow[0], CPoint(31, 9));
  EXPECT_EQ(arrow[1], CPoint(35, 9));
  EXPECT_EQ(arrow[2], CPoint(33, 11));
  EXPECT_EQ(tkppaint::CaptionTriangle(50, 8, false)[2], CPoint(50, 9));
  EXPECT_EQ(tkppaint::CaptionTriangle(50, 8, true)[0], CPoint(52, 6));
  const CRect button(100, 2, 111, 24);
  EXPECT_EQ(tkppaint::ToolbarExpandArrow(button, false)[2], CPoint(105, 19));
  EXPECT_EQ(tkppaint::ToolbarExpandArrow(button, true)[0], CPoint(106, 5));
  const auto chevrons = tkppaint::ToolbarExpandChevrons(button, false);
  ASSERT_EQ(chevrons.size(), 4u);
  EXPECT_EQ(chevrons[3][1], CPoint(109, 8));
  const auto down = tkppaint::ToolbarExpandChevrons(button, true);
  EXPECT_EQ(down[2][0], CPoint(103, 8));
  const auto popup = tkppaint::PopupExpandChevrons(CRect(0, 100, 40, 112));
  EXPECT_EQ(popup[3][2], CPoint(23, 106));
  EXPECT_EQ(tkppaint::OptionsArrow(CRect(0, 0, 10, 10))[0], CPoint(2, 3));
}

TEST(PaintGeometry, SizeGripLinesEndAtTheRightEdge) {
  const tkppaint::GripperLines lines = tkppaint::StatusBarGripper(100, 20);
  ASSERT_EQ(lines.shadow.size(), 6u);
  ASSERT_EQ(lines.light.size(), 3u);
  EXPECT_EQ(lines.shadow[0][0], CPoint(97, 18));
  EXPECT_EQ(lines.shadow[0][1], CPoint(99, 16));
  EXPECT_EQ(lines.shadow[5][0], CPoint(88, 18));
  EXPECT_EQ(lines.light[2][1], CPoint(99, 6));
}

TEST(PaintGeometry, MenuFontHeightIsAtLeastElevenPixels) {
  EXPECT_EQ(tkppaint::MenuFontHeight(-9), -11);
  EXPECT_EQ(tkppaint::MenuFontHeight(-10), -11);
  EXPECT_EQ(tkppaint::MenuFontHeight(-13), -13);
  EXPECT_EQ(tkppaint::MenuFontHeight(12), 12);
}

TEST(PaintGeometry, MdiButtonGlyphsKeepTheirSizeAtEveryResolution) {
  for (int dpi : {96, 120, 144, 192}) EXPECT_NEAR(tkppaint::MdiGlyphFontHeight(dpi), -11, 1) << dpi << " dpi";
  EXPECT_EQ(tkppaint::MdiGlyphFontHeight(96), -11);
  EXPECT_EQ(tkppaint::MdiGlyphFontHeight(0), -11);  // a device without a resolution
}

TEST(PaintGeometry, FadeBlendsColourChannelsAndLeavesTheFourthByte) {
  const std::uint8_t fresh[8] = {255, 0, 100, 7, 10, 20, 30, 40};
  const std::uint8_t old[8] = {0, 255, 100, 9, 10, 20, 30, 50};
  std::uint8_t out[8] = {1, 1, 1, 77, 1, 1, 1, 88};
  tkppaint::BlendPixels(fresh, old, out, 2, 128);
  EXPECT_EQ(out[0], 127);
  EXPECT_EQ(out[1], 126);
  EXPECT_EQ(out[2], 99);
  EXPECT_EQ(out[3], 77);
  EXPECT_EQ(out[7], 88);
}

TEST(PaintGeometry, AnimationFramesGrowToTheWholeRectangleAndNoStepsDrawNothing) {
  EXPECT_EQ(tkppaint::UnfoldSource(CSize(100, 50), 5, 10), CRect(50, 25, 100, 50));
  EXPECT_EQ(tkppaint::UnfoldSource(CSize(100, 50), 10, 10), CRect(0, 0, 100, 50));
  EXPECT_EQ(tkppaint::SlideSource(CSize(100, 50), 2, 10), CRect(0, 40, 100, 50));
  EXPECT_TRUE(tkppaint::SlideSource(CSize(100, 50), 1, 0).IsRectNull());
}

}  // namespace
