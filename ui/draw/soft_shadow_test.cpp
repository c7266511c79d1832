#include "ui/draw/soft_shadow.h"

#include <gtest/gtest.h>

namespace draw {
namespace {

TEST(SoftShadow, EvenDepthsBecomeOdd) {
  EXPECT_EQ(OddDepth(4), 5);
  EXPECT_EQ(OddDepth(5), 5);
  EXPECT_EQ(OddDepth(0), 1);
  EXPECT_EQ(OddDepth(-8), 1);
  EXPECT_EQ(OddDepth(100000), kMaxBlurDepth);
  EXPECT_EQ(ShadowMaskPlacement(20, 10, true, 4, 2), (DrawRect{2, 1, 2 + 15, 1 + 7}));
  EXPECT_EQ(ShadowMaskPlacement(20, 10, false, 4, 2), (DrawRect{0, 0, 20, 10}));
}

TEST(SoftShadow, TheMaskIsInsetByHalfTheDepthsForABlur) {
  PixelBuffer mask(2, 2, 0);
  PixelBuffer sharp = PlaceShadowMask(mask, 3, 3, false, 3, 3);
  EXPECT_EQ(sharp.Pixels(), (std::vector<uint32_t>{0, 0, 0xFFFFFF, 0, 0, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF}));
  PixelBuffer blurred = PlaceShadowMask(mask, 5, 4, true, 2, 1);  // depths 3 × 1: 2 × 3 at (1, 0)
  EXPECT_EQ(blurred.At(0, 0), 0xFFFFFFu);
  EXPECT_EQ(blurred.At(1, 0), 0u);
  EXPECT_EQ(blurred.At(2, 2), 0u);
  EXPECT_EQ(blurred.At(2, 3), 0xFFFFFFu);
  EXPECT_EQ(blurred.At(3, 0), 0xFFFFFFu);
  EXPECT_EQ(PlaceShadowMask(mask, 2, 2, true, 9, 9).Pixels(), std::vector<uint32_t>(4, 0xFFFFFF));
}

TEST(SoftShadow, BoxSumAddsEveryWindow) {
  // 3 × 4 matrix, 2 × 3 windows.
  std::vector<double> m{1, 2, 3, 4,  //
                        5, 6, 7, 8,  //
                        9, 10, 11, 12};
  EXPECT_EQ(BoxSum(m, 3, 4, 2, 3), (std::vector<double>{24, 30, 48, 54}));
  EXPECT_EQ(BoxSum(m, 3, 4, 1, 1), m);
  EXPECT_TRUE(BoxSum(m, 3, 4, 4, 1).empty());
  EXPECT_TRUE(BoxSum(m, 3, 5, 1, 1).empty());
}

TEST(SoftShadow, BlurredFactorsFadeFromTheMaskToWhite) {
  PixelBuffer mask(5, 1, 0x00FFFFFF);
  mask.At(2, 0) = 0;  // one black pixel
  std::vector<double> f = BlurShadowMask(mask, 2, 1);  // depth 3 × 1
  ASSERT_EQ(f.size(), 5u);
  EXPECT_DOUBLE_EQ(f[0], 1.0);
  EXPECT_DOUBLE_EQ(f[1], 2.0 / 3);
  EXPECT_DOUBLE_EQ(f[2], 2.0 / 3);
  EXPECT_DOUBLE_EQ(f[3], 2.0 / 3);
  EXPECT_DOUBLE_EQ(f[4], 1.0);
}

TEST(SoftShadow, DarkensUnderTheMaskAndLeavesWhiteAreasAlone) {
  PixelBuffer mask(3, 1, 0x00FFFFFF);
  mask.At(1, 0) = 0x00808080;
  PixelBuffer dest(3, 1, 0x00C8C8C8);
  ApplySoftShadow(dest, mask, false, 0, 0);
  EXPECT_EQ(dest.At(0, 0), 0x00C8C8C8u);
  EXPECT_EQ(dest.At(1, 0), 0x00646464u);  // 200 × 128/255 = 100.39

  PixelBuffer blurred(3, 1, 0x00C8C8C8);
  ApplySoftShadow(blurred, mask, true, 3, 1);
  EXPECT_EQ(blurred.At(0, 0), 0x00A6A6A6u);  // 200 × (255 + 255 + 128) / 765 = 166.8
  EXPECT_EQ(blurred.At(1, 0), 0x00A6A6A6u);
  PixelBuffer wrongSize(2, 1, 7);
  ApplySoftShadow(wrongSize, mask, true, 3, 1);
  EXPECT_EQ(wrongSize.At(0, 0), 7u);
}

}  // namespace
}  // namespace draw
