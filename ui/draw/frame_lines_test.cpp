#include "ui/draw/frame_lines.h"

#include <gtest/gtest.h>

namespace draw {
namespace {

TEST(FramePaths, EdgesRunInsideByHalfThePenWidth) {
  auto paths = FramePaths({10, 20, 50, 40}, kFrameSolid, 3);
  ASSERT_EQ(paths.size(), 2u);
  EXPECT_EQ(paths[0], (StyledPath{0, {{11, 39}, {11, 21}, {49, 21}}}));
  EXPECT_EQ(paths[1], (StyledPath{1, {{49, 21}, {49, 39}, {11, 39}}}));
}

TEST(FramePaths, DoubleAddsAnInnerFrameTwoWidthsIn) {
  auto paths = FramePaths({0, 0, 40, 30}, kFrameDouble, 2);
  ASSERT_EQ(paths.size(), 4u);
  EXPECT_EQ(paths[1], (StyledPath{0, {{5, 25}, {5, 5}, {35, 5}}}));
  EXPECT_EQ(paths[3], (StyledPath{1, {{35, 5}, {35, 25}, {5, 25}}}));
}

TEST(FramePaths, NoneOrNoWidthDrawsNothing) {
  EXPECT_TRUE(FramePaths({0, 0, 10, 10}, kFrameNone, 1).empty());
  EXPECT_TRUE(FramePaths({0, 0, 10, 10}, kFrameSolid, 0).empty());
  EXPECT_TRUE(StyledLinePaths(0, 0, 10, 0, kFrameNone, 1).empty());
  EXPECT_TRUE(StyledLinePaths(0, 0, 10, 0, kFrameDash, -1).empty());
}

TEST(StyledLine, DoubleMovesTheSecondLineAcrossItsDirection) {
  EXPECT_EQ(StyledLinePaths(0, 5, 20, 5, kFrameDouble, 2)[1], (StyledPath{0, {{0, 9}, {20, 9}}}));
  EXPECT_EQ(StyledLinePaths(5, 0, 5, 20, kFrameDouble, 2)[1], (StyledPath{0, {{9, 0}, {9, 20}}}));
  EXPECT_EQ(StyledLinePaths(0, 0, 20, 20, kFrameDouble, 1)[1], (StyledPath{0, {{2, 2}, {22, 22}}}));
  EXPECT_EQ(StyledLinePaths(0, 5, 20, 5, kFrameDot, 2).size(), 1u);
}

TEST(PenKind, DashedStylesMapToTheirPensAndEverythingElseIsSolid) {
  EXPECT_EQ(PenKindOf(kFrameDash), kPenDash);
  EXPECT_EQ(PenKindOf(kFrameDot), kPenDot);
  EXPECT_EQ(PenKindOf(kFrameDashDot), kPenDashDot);
  EXPECT_EQ(PenKindOf(kFrameDashDotDot), kPenDashDotDot);
  EXPECT_EQ(PenKindOf(kFrameSolid), kPenSolid);
  EXPECT_EQ(PenKindOf(kFrameDouble), kPenSolid);
  EXPECT_EQ(PenKindOf(99), kPenSolid);
}

}  // namespace
}  // namespace draw
