#include "toolkit/common/color_math.h"

#include <gtest/gtest.h>

using namespace tkcolor;

TEST(ColorMath, BlendPercentBelowAHundredIsAPercentageFromAHundredAPerMille) {
  EXPECT_EQ(BlendPercent(0xFFFFFF, 0x000000, 30), 0x4D4D4Du);  // 76.5 rounds up
  EXPECT_EQ(BlendPercent(0x0000C8, 0x000064, 50), 0x000096u);
  // 100 is 10 % of the first colour, not all of it.
  EXPECT_EQ(BlendPercent(0x0000FF, 0x000000, 100), 0x00001Au);
  EXPECT_EQ(BlendPercent(0x0000FF, 0x000000, 205), 0x000034u);  // 20.5 % of 255 = 52.3
  EXPECT_EQ(BlendPercent(0x123456, 0xABCDEF, 1000), 0x123456u);
  EXPECT_EQ(BlendPercent(0x123456, 0xABCDEF, 0), 0xABCDEFu);
}

TEST(ColorMath, FractionBlendsTruncateAndPercentBlendsClamp) {
  EXPECT_EQ(BlendFraction(0x0000FF, 0x000000, 0.5), 0x00007Fu);
  EXPECT_EQ(BlendFraction(0xFFFFFF, 0x000000, 1.0), 0xFFFFFFu);
  EXPECT_EQ(BlendFraction(0xFFFFFF, 0xFFFFFF, 1.5), 0xFFFFFFu);  // capped
  EXPECT_EQ(BlendIn(0x0000FF, 0x00FF00, 50), 0x007F7Fu);
  EXPECT_EQ(BlendIn(0x0000FF, 0x000000, 150), 0x000000u);  // floored, not negative
  EXPECT_EQ(Subtract(0x102030, 0x203010), 0x000020u);
  EXPECT_EQ(Scale(0x804020, 0.75), 0x603018u);
}

TEST(ColorMath, DistancesWeighGreenMostAndBlueLeast) {
  EXPECT_DOUBLE_EQ(ColorDistance(0x0000FF, 0), 195.0);
  EXPECT_DOUBLE_EQ(ColorDistance(0x00FF00, 0), 390.0);
  EXPECT_DOUBLE_EQ(ColorDistance(0xFF0000, 0), 65.0);
  EXPECT_NEAR(Brightness(0xFFFFFF), 440.85, 0.01);
  EXPECT_DOUBLE_EQ(ColorDistance(0x123456, 0x123456), 0.0);
}

TEST(ColorMath, DarkReferencesGetUpToTwiceTheThreshold) {
  EXPECT_DOUBLE_EQ(AdjustedThreshold(0x000000, 50), 100.0);
  EXPECT_NEAR(AdjustedThreshold(0xFFFFFF, 50), 50.0, 1e-5);  // bright: 220 and above count as 220
  EXPECT_DOUBLE_EQ(AdjustedThreshold(0x000000, 50.9), 100.0);  // the threshold is taken whole
  // Exactly at the threshold is not farther.
  EXPECT_FALSE(IsFartherThan(0, 0x0000FF, false, 195));
  EXPECT_TRUE(IsFartherThan(0, 0x0000FF, false, 194.9));
  EXPECT_FALSE(IsFartherThan(0, 0x0000FF, true, 100));  // 200 once adjusted for black
}

TEST(ColorMath, LimitToDistancePullsOntoTheSegmentAtTheThreshold) {
  const Color a = 0xD8E9EC, b = 0x202020;
  const Color c = LimitToDistance(a, b, 35);
  EXPECT_NEAR(ColorDistance(a, c), AdjustedThreshold(a, 35), 2.5);  // rounding to whole channels
  EXPECT_LT(ColorDistance(a, c), ColorDistance(a, b));
  // The same colour has no direction: it stays (no division by a zero distance).
  EXPECT_EQ(LimitToDistance(a, a, 35), a);
}

TEST(ColorMath, MoveToDistancePlacesTheColourAtTheThresholdOnItsCornersSide) {
  const Color face = 0xD8E9EC, near = 0xD0E0E4;
  const Color moved = MoveToDistance(face, near, 50);
  EXPECT_NEAR(ColorDistance(face, moved), AdjustedThreshold(face, 50), 2.5);
  EXPECT_LT(Brightness(moved), Brightness(face));  // a bright face: away toward black
  const Color dark = 0x101010, darker = 0x080808;
  const Color lifted = MoveToDistance(dark, darker, 50);
  EXPECT_GT(Brightness(lifted), Brightness(dark));  // a dark colour: toward white
  EXPECT_NEAR(ColorDistance(dark, lifted), AdjustedThreshold(dark, 50), 2.5);
}

TEST(ColorMath, MoveToDistanceGivesBlackWhenTheRayNeverComesClose) {
  // White reference, a pure blue ray from the black corner: no point is within reach.
  EXPECT_EQ(MoveToDistance(0xFFFFFF, 0xFF0000, 10), 0u);
}
