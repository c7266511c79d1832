#include "ui/draw/effect_pattern.h"

#include <gtest/gtest.h>

#include <vector>

#include "ui/draw/colour_ops.h"

namespace draw {
namespace {

constexpr Colour kBegin = 0x0000FF, kMid = 0x00FF00, kEnd = 0xFF0000;
const std::vector<int> kRandomValues{0, 32767, 12345, 20000, 7, 30000, 16000};

std::vector<int> StoredIndices(const DibBuffer& pattern) {
  std::vector<int> indices;
  for (int y = 0; y < pattern.Height(); ++y) {
    for (int x = 0; x < pattern.Width(); ++x) indices.push_back(pattern.PixelIndex(x, y));
  }
  return indices;
}

TEST(PatternPalette, RampRunsFromEndThroughMidToBegin) {
  DibBuffer pattern;
  ASSERT_TRUE(pattern.Create(1, 1, 8));
  FillPatternPalette(pattern, kBegin, kMid, kEnd, 0);
  EXPECT_EQ(pattern.PaletteColour(0), kEnd);
  EXPECT_EQ(pattern.PaletteColour(127), MakeColour(0, 253, 1));  // (end + 127 mid) / 128
  EXPECT_EQ(pattern.PaletteColour(128), MakeColour(1, 253, 0));  // just past mid, toward begin
  EXPECT_EQ(pattern.PaletteColour(255), kBegin);
}

TEST(PatternPalette, ColoringBlendsEveryEntryTowardBegin) {
  DibBuffer pattern;
  ASSERT_TRUE(pattern.Create(1, 1, 8));
  FillPatternPalette(pattern, kBegin, kMid, kEnd, 100);
  EXPECT_EQ(pattern.PaletteColour(0), kBegin);
  EXPECT_EQ(pattern.PaletteColour(128), kBegin);
  FillPatternPalette(pattern, 0xFFFFFF, 0x000000, 0x000000, 50);
  EXPECT_EQ(pattern.PaletteColour(0), 0x7F7F7F);  // 255 × 50 / 100
  EXPECT_EQ(pattern.PaletteColour(255), 0xFFFFFF);
}

// Expected values from an independent model of the formulas (effect_pattern_model.py, which makes
// effect_pattern_cases.inc and whose test effect_pattern_model checks it): 12 × 6 pixels, granularity 20,
// the random values above in turn.
struct PatternCase {
  int kind;
  std::vector<int> stored;
};
const PatternCase kPatternCases[] = {
#include "effect_pattern_cases.inc"
};

TEST(EffectPattern, EveryPatternKindGivesItsExactIndices) {
  for (const PatternCase& c : kPatternCases) {
    DibBuffer pattern;
    ScriptedRandom random(kRandomValues);
    ASSERT_TRUE(RenderEffectPattern(pattern, 12, 6, c.kind, 20, 0, kBegin, kMid, kEnd, random)) << c.kind;
    EXPECT_EQ(StoredIndices(pattern), c.stored) << "kind " << c.kind;
  }
}

TEST(EffectPattern, ZeroGranularityNoiseIsZeroUnlessTheSourceGivesItsMaximum) {
  DibBuffer pattern;
  ScriptedRandom random({0, 32767, 32766});
  ASSERT_TRUE(RenderEffectPattern(pattern, 3, 1, kFillNoise, 0, 0, kBegin, kMid, kEnd, random));
  EXPECT_EQ(StoredIndices(pattern), (std::vector<int>{128, 129, 128}));
}

TEST(EffectPattern, ShadesAreOrientedWithBeginAtTopAndLeft) {
  DibBuffer pattern;
  ScriptedRandom random({0});
  ASSERT_TRUE(RenderEffectPattern(pattern, 4, 4, kFillHShade, 0, 0, kBegin, kMid, kEnd, random));
  PixelBuffer shown = pattern.ToPixels();
  EXPECT_EQ(pattern.PixelIndex(0, 3), 191);  // the top row on screen is the last stored row
  EXPECT_EQ(shown.At(0, 0), ColourToPixel(pattern.PaletteColour(191)));
  EXPECT_EQ(shown.At(0, 3), ColourToPixel(kEnd));  // bottom: entry 0, the end colour

  ASSERT_TRUE(RenderEffectPattern(pattern, 4, 4, kFillVShade, 0, 0, kBegin, kMid, kEnd, random));
  shown = pattern.ToPixels();
  EXPECT_EQ(shown.At(0, 2), ColourToPixel(kBegin));  // left column: entry 255
  EXPECT_EQ(pattern.PixelIndex(3, 0), 63);
}

TEST(EffectPattern, RidgeKindsDrawNothingBelowTheRidgeSize) {
  DibBuffer pattern;
  ScriptedRandom random(kRandomValues);
  for (int kind : {kFillHardBump, kFillMetal}) {
    EXPECT_FALSE(RenderEffectPattern(pattern, 5, 6, kind, 20, 0, kBegin, kMid, kEnd, random)) << kind;
    EXPECT_FALSE(RenderEffectPattern(pattern, 12, 1, kind, 20, 0, kBegin, kMid, kEnd, random)) << kind;
    EXPECT_FALSE(RenderEffectPattern(pattern, 0, 6, kind, 20, 0, kBegin, kMid, kEnd, random)) << kind;
    EXPECT_TRUE(RenderEffectPattern(pattern, 6, 2, kind, 20, 0, kBegin, kMid, kEnd, random)) << kind;
  }
  // Softer kinds still draw a single pixel.
  EXPECT_TRUE(RenderEffectPattern(pattern, 1, 1, kFillSoftBump, 20, 0, kBegin, kMid, kEnd, random));
}

TEST(EffectPattern, VeryLargeAreasAndExtremeArgumentsStayInBounds) {
  DibBuffer pattern;
  LcgRandom random(7);
  EXPECT_TRUE(RenderEffectPattern(pattern, 16384, 8, kFillMetal, 255, 300, kBegin, kMid, kEnd, random));
  EXPECT_TRUE(RenderEffectPattern(pattern, 3000, 7, kFillHardBump, -5, -1, kBegin, kMid, kEnd, random));
  EXPECT_FALSE(RenderEffectPattern(pattern, 16385, 3, kFillMetal, 0, 0, kBegin, kMid, kEnd, random));
}

TEST(EffectPattern, KindsOutsideThePatternsOnlySetThePalette) {
  DibBuffer pattern;
  ScriptedRandom random({32767});
  ASSERT_TRUE(RenderEffectPattern(pattern, 2, 2, kFillSolid, 0, 0, kBegin, kMid, kEnd, random));
  EXPECT_EQ(StoredIndices(pattern), (std::vector<int>{0, 0, 0, 0}));
  EXPECT_EQ(pattern.PaletteColour(255), kBegin);
}

}  // namespace
}  // namespace draw
