#include "ui/draw/image_effects.h"

#include <gtest/gtest.h>

#include "ui/draw/colour_ops.h"

namespace draw {
namespace {

PixelBuffer Image(std::initializer_list<uint32_t> pixels) {
  PixelBuffer b(static_cast<int>(pixels.size()), 1);
  std::copy(pixels.begin(), pixels.end(), b.Pixels().begin());
  return b;
}

TEST(ImageEffect, EffectsRunInOrderAndKeepAlpha) {
  PixelBuffer b = Image({0x00804020, 0x7F804020});
  EXPECT_TRUE(ApplyImageEffect(b, kEffectDarken, false, 0, 0));
  EXPECT_EQ(b.At(0, 0), 0x00603018u);
  EXPECT_EQ(b.At(1, 0), 0x7F603018u);

  b = Image({0x000000FF});  // blue in pixel order
  EXPECT_FALSE(ApplyImageEffect(b, kEffectGray, false, 0, 0));
  EXPECT_EQ(b.At(0, 0), 0x001D1D1Du);  // weighed as blue, not as red

  b = Image({0x00808080});
  ApplyImageEffect(b, kEffectGray | kEffectDarken | kEffectLighten, false, 0, 0);
  EXPECT_EQ(b.At(0, 0), 0x00787878u);  // 128 × 0.75 = 96, × 1.25 = 120

  b = Image({0x00123456});
  ApplyImageEffect(b, kEffectMono | kEffectInvert, false, 0, 0x0000FF);  // mono red, then inverted
  EXPECT_EQ(b.At(0, 0), 0x0000FFFFu);
}

TEST(ImageEffect, MaskColourPixelsSkipTheEffectsButNotTheInversion) {
  // The mask recipe: opaque pixels end black, masked pixels white.
  PixelBuffer b = Image({0x00FF00FF, 0x00123456, 0x01FF00FF});
  EXPECT_TRUE(ApplyImageEffect(b, kEffectMask, true, 0xFF00FF, 0xFFFFFF));
  EXPECT_EQ(b.At(0, 0), 0x00FFFFFFu);
  EXPECT_EQ(b.At(1, 0), 0x00000000u);
  EXPECT_EQ(b.At(2, 0), 0x01000000u);  // with alpha it is not the mask colour

  b = Image({0x00FF00FF, 0x00123456});
  ApplyImageEffect(b, kEffectDarken, true, 0xFF00FF, 0);
  EXPECT_EQ(b.At(0, 0), 0u);
  EXPECT_EQ(b.At(1, 0), Darken(0x123456, 0.75));
}

TEST(ImageEffect, AnyAlphaTakesTheBlendPath) {
  PixelBuffer b(4, 4, 0x00FFFFFF);
  EXPECT_FALSE(HasAlpha(b));
  EXPECT_FALSE(ApplyImageEffect(b, 0, false, 0, 0));
  b.At(3, 3) = 0x01FFFFFF;
  EXPECT_TRUE(HasAlpha(b));
  EXPECT_TRUE(ApplyImageEffect(b, 0, false, 0, 0));
}

TEST(AlphaBlend, MixesBySourceAlphaAndClearsAlpha) {
  PixelBuffer dest = Image({0x000000FF, 0x000000FF, 0x000000FF, 0x40404040});
  PixelBuffer source = Image({0xFFFF0000, 0x00FF0000, 0x80FF0000});
  AlphaBlendPixels(dest, source);
  EXPECT_EQ(dest.At(0, 0), 0x00FF0000u);
  EXPECT_EQ(dest.At(1, 0), 0x000000FFu);
  EXPECT_EQ(dest.At(2, 0), 0x0080007Fu);  // 255 × 128/255, 255 × 127/255
  EXPECT_EQ(dest.At(3, 0), 0x40404040u);  // past the source: untouched
}

TEST(RasterOps, AndThenOrPaintsThroughAMask) {
  PixelBuffer dest = Image({0x00336699, 0x00336699});
  AndPixels(dest, Image({0x00000000, 0x00FFFFFF}));
  OrPixels(dest, Image({0x00ABCDEF, 0x00000000}));
  EXPECT_EQ(dest.At(0, 0), 0x00ABCDEFu);
  EXPECT_EQ(dest.At(1, 0), 0x00336699u);
}

TEST(TileBlit, CoversTheAreaAndClipsTheLastTiles) {
  PixelBuffer tile(2, 2);
  tile.At(0, 0) = 1, tile.At(1, 0) = 2, tile.At(0, 1) = 3, tile.At(1, 1) = 4;
  PixelBuffer dest(6, 4, 9);
  TileBlit(dest, 1, 0, 5, 3, tile, 0, 0, 2, 2);
  const std::vector<uint32_t> expected{9, 1, 2, 1, 2, 1,  //
                                       9, 3, 4, 3, 4, 3,  //
                                       9, 1, 2, 1, 2, 1,  //
                                       9, 9, 9, 9, 9, 9};
  EXPECT_EQ(dest.Pixels(), expected);
  EXPECT_EQ(TileRects(0, 0, 5, 3, 2, 2).size(), 6u);
  EXPECT_EQ(TileRects(0, 0, 5, 3, 2, 2).back(), (DrawRect{4, 2, 5, 3}));
  EXPECT_TRUE(TileRects(0, 0, 5, 3, 0, 2).empty());
  EXPECT_TRUE(TileRects(0, 0, -5, 3, 2, 2).empty());
  TileBlit(dest, 4, 2, 100000, 100000, tile, 0, 0, 1, 1);  // clipped to the buffer, not listed in full
  EXPECT_EQ(dest.At(5, 3), 1u);
}

TEST(Resize, StretchPicksNearestPixelsAndCropPadsWithZero) {
  PixelBuffer b = Image({1, 2});
  EXPECT_EQ(StretchPixels(b, 4, 2).Pixels(), (std::vector<uint32_t>{1, 1, 2, 2, 1, 1, 2, 2}));
  EXPECT_EQ(StretchPixels(b, 1, 1).Pixels(), (std::vector<uint32_t>{1}));
  EXPECT_TRUE(StretchPixels(b, 0, 1).Empty());
  EXPECT_TRUE(StretchPixels(PixelBuffer(), 3, 1).Empty());
  EXPECT_EQ(CropPixels(b, 3, 2).Pixels(), (std::vector<uint32_t>{1, 2, 0, 0, 0, 0}));
}

TEST(StripCell, PicksColumnAndRowAndRefusesIndicesPastTheLastCell) {
  DrawRect cell;
  ASSERT_TRUE(StripCellRect(64, 32, 16, 16, 5, &cell));  // 4 columns, 2 rows
  EXPECT_EQ(cell, (DrawRect{16, 16, 32, 32}));
  ASSERT_TRUE(StripCellRect(70, 16, 16, 16, 3, &cell));  // a partial column is not a cell
  EXPECT_EQ(cell, (DrawRect{48, 0, 64, 16}));
  EXPECT_FALSE(StripCellRect(64, 32, 16, 16, 8, &cell));
  EXPECT_FALSE(StripCellRect(70, 16, 16, 16, 4, &cell));
  EXPECT_FALSE(StripCellRect(64, 32, 16, 16, -1, &cell));
  EXPECT_FALSE(StripCellRect(64, 32, 0, 16, 0, &cell));
  EXPECT_FALSE(StripCellRect(15, 32, 16, 16, 0, &cell));  // no whole column
  EXPECT_FALSE(StripCellRect(0, 0, 16, 16, 0, &cell));
}

}  // namespace
}  // namespace draw
