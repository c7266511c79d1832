#include "ui/draw/colour_ops.h"

#include <gtest/gtest.h>

namespace draw {
namespace {

TEST(ColourOps, PixelOrderSwapsRedAndBlue) {
  EXPECT_EQ(ColourToPixel(0x00112233), 0x00332211u);
  EXPECT_EQ(PixelToColour(0xFF332211), 0x00112233u);
}

TEST(ColourOps, GrayWeighsRedGreenBlue) {
  EXPECT_EQ(ToGray(0x0000FF), 0x4C4C4Cu);  // 0.299 × 255 = 76.2
  EXPECT_EQ(ToGray(0x00FF00), 0x959595u);  // 0.587 × 255 = 149.7
  EXPECT_EQ(ToGray(0xFF0000), 0x1D1D1Du);  // 0.114 × 255 = 29.1
  EXPECT_EQ(ToGray(0xFFFFFF), 0xFFFFFFu);
}

TEST(ColourOps, InvertDarkenLightenAndTheirRanges) {
  EXPECT_EQ(Invert(0x00FF8001), 0x00007FFEu);
  EXPECT_EQ(Darken(0x804020, 0.75), 0x603018u);
  EXPECT_EQ(Darken(0x804020, 0.0), 0u);
  EXPECT_EQ(Darken(0x804020, 1.0), 0x804020u);
  EXPECT_EQ(Darken(0x804020, -0.5), 0x804020u);
  EXPECT_EQ(Lighten(0x80F010, 0.25), 0xA0FF14u);  // 240 × 1.25 capped
  EXPECT_EQ(Lighten(0x80F010, 0.0), 0x80F010u);
  EXPECT_EQ(Lighten(0x80F010, 1.5), 0x80F010u);
  EXPECT_EQ(Lighten(0x808080, 1.0), 0xFFFFFFu);
}

TEST(ColourOps, MixWeighsBothColoursAndStaysInRange) {
  EXPECT_EQ(Mix(0xFF0000, 0.5, 0x0000FF, 0.5), 0x7F007Fu);
  EXPECT_EQ(Mix(0xFFFFFF, 1.0, 0xFFFFFF, 1.0), 0xFFFFFFu);
  EXPECT_EQ(Mix(0x102030, -1.0, 0, 0), 0u);
}

}  // namespace
}  // namespace draw
