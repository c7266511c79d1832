#include "ui/draw/fills.h"

#include <gtest/gtest.h>

#include <vector>

#include "ui/draw/colour_ops.h"

namespace draw {
namespace fills_test {

constexpr Colour kBegin = 0x0000FF, kMid = 0x00FF00, kEnd = 0xFF0000;
constexpr uint32_t kBackground = 0x00123456;

std::vector<Colour> Row(const PixelBuffer& b, int y, int from, int to) {
  std::vector<Colour> colours;
  for (int x = from; x < to; ++x) colours.push_back(PixelToColour(b.At(x, y)));
  return colours;
}

std::vector<Colour> Column(const PixelBuffer& b, int x, int from, int to) {
  std::vector<Colour> colours;
  for (int y = from; y < to; ++y) colours.push_back(PixelToColour(b.At(x, y)));
  return colours;
}

// Fills (2, 1)–(12, 11) of a 14 × 12 buffer.
PixelBuffer Filled(int kind) {
  PixelBuffer b(14, 12, kBackground);
  DibBuffer pattern;
  ScriptedRandom random({0});
  FillArea(b, kind, {2, 1, 12, 11}, kBegin, kMid, kEnd, 0, 0, pattern, random);
  return b;
}

// 10 pixels are narrower than the 64 bands: only bands 6, 12, 19, ... reach a pixel, and the colours still
// step in sixty-fourths (never quite the end colour).
const std::vector<Colour> kNarrow{0x1700E7, 0x2F00CF, 0x4B00B3, 0x63009B, 0x7B0083,
                                  0x970067, 0xAF004F, 0xCB0033, 0xE3001B, 0xFB0003};
const std::vector<Colour> kCentreSplit{0x2F00CF, 0x63009B, 0x970067, 0xCB0033, 0xFB0003,
                                       0xCF002F, 0x9B0063, 0x670097, 0x3300CB, 0x0300FB};
const std::vector<Colour> kThreeColour{0x002FCF, 0x00639B, 0x009767, 0x00CB33, 0x00FB03,
                                       0x2FCF00, 0x639B00, 0x976700, 0xCB3300, 0xFB0300};

TEST(LinearGradient, NarrowAreasPaintOnlyBandsOfPositiveWidth) {
  auto bands = LinearGradientBands({0, 0, 10, 3}, kBegin, kEnd, true);
  ASSERT_EQ(bands.size(), 10u);
  EXPECT_EQ(bands[0], (GradientBand{{0, 0, 1, 3}, 0x1700E7}));
  EXPECT_EQ(bands[9], (GradientBand{{9, 0, 10, 3}, 0xFB0003}));
  EXPECT_TRUE(LinearGradientBands({5, 0, 5, 3}, kBegin, kEnd, true).empty());
  EXPECT_TRUE(LinearGradientBands({5, 0, 2, 3}, kBegin, kEnd, true).empty());
  EXPECT_EQ(LinearGradientBands({0, 0, 128, 1}, kBegin, kEnd, true).size(), 64u);
  EXPECT_EQ(LinearGradientBands({0, 0, 128, 1}, kBegin, kEnd, true)[0].colour, kBegin);
}

TEST(FillArea, GradientKindsGiveExactPixels) {
  EXPECT_EQ(Row(Filled(kFillHGradient), 5, 2, 12), kNarrow);
  EXPECT_EQ(Column(Filled(kFillVGradient), 7, 1, 11), kNarrow);
  EXPECT_EQ(Row(Filled(kFillHCGradient), 1, 2, 12), kCentreSplit);
  EXPECT_EQ(Column(Filled(kFillVCGradient), 2, 1, 11), kCentreSplit);
  EXPECT_EQ(Row(Filled(kFill3HGradient), 10, 2, 12), kThreeColour);
  EXPECT_EQ(Column(Filled(kFill3VGradient), 11, 1, 11), kThreeColour);
}

TEST(FillArea, SolidAndKindsOutsideTheTableFillWithBegin) {
  for (int kind : {0, 16, -1, 1000}) {
    PixelBuffer b = Filled(kind);
    EXPECT_EQ(Row(b, 1, 2, 12), std::vector<Colour>(10, kBegin)) << kind;
    EXPECT_EQ(Row(b, 10, 2, 12), std::vector<Colour>(10, kBegin)) << kind;
    EXPECT_EQ(b.At(1, 1), kBackground) << kind;
    EXPECT_EQ(b.At(12, 10), kBackground) << kind;
    EXPECT_EQ(b.At(2, 0), kBackground) << kind;
    EXPECT_EQ(b.At(2, 11), kBackground) << kind;
  }
}

TEST(FillArea, PatternKindsAreDrawnAtTheRectangleAsTheyShowOnScreen) {
  // hshade, granularity 0, no noise: stored row y holds (y × 255) / 10; the top row shows the last one.
  PixelBuffer b(14, 12, kBackground);
  DibBuffer pattern;
  ScriptedRandom random({0});
  FillArea(b, kFillHShade, {2, 1, 12, 11}, kBegin, kMid, kEnd, 0, 0, pattern, random);
  EXPECT_EQ(PixelToColour(b.At(2, 1)), pattern.PaletteColour(229));
  EXPECT_EQ(PixelToColour(b.At(11, 10)), kEnd);
  EXPECT_EQ(b.At(1, 1), kBackground);
  EXPECT_EQ(b.At(12, 10), kBackground);
  EXPECT_EQ(b.At(2, 11), kBackground);
}

TEST(FillArea, EveryKindStaysInsideItsRectangleAndTheBuffer) {
  for (int kind = -1; kind <= kFillKindCount; ++kind) {
    PixelBuffer b(10, 10, kBackground);
    DibBuffer pattern;
    LcgRandom random(3);
    FillArea(b, kind, {-4, 6, 8, 14}, kBegin, kMid, kEnd, 40, 30, pattern, random);
    for (int y = 0; y < 10; ++y) {
      for (int x = 0; x < 10; ++x) {
        bool inside = x < 8 && y >= 6;
        if (inside) {
          EXPECT_EQ(AlphaOf(b.At(x, y)), 0) << kind;
        } else {
          EXPECT_EQ(b.At(x, y), kBackground) << kind << " " << x << "," << y;
        }
      }
    }
  }
}

TEST(FillArea, RidgeKindsLeaveATinyAreaUntouched) {
  for (int kind : {kFillHardBump, kFillMetal}) {
    PixelBuffer b(10, 10, kBackground);
    DibBuffer pattern;
    LcgRandom random;
    FillArea(b, kind, {0, 0, 5, 10}, kBegin, kMid, kEnd, 10, 0, pattern, random);
    EXPECT_EQ(b.Pixels(), std::vector<uint32_t>(100, kBackground)) << kind;
  }
}

}  // namespace
}  // namespace draw
