// DrawManager and the moves of pixels through real bitmaps and device contexts: every routine draws into a
// memory DC holding a 32-bit DIB section, and the section's own bits are compared with what the portable
// routines give for the same input.
#include "ui/draw/draw_manager.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "ui/draw/colour_ops.h"
#include "ui/draw/effect_pattern.h"
#include "ui/draw/fills.h"
#include "ui/draw/gdi_pixels.h"
#include "ui/draw/image_effects.h"
#include "ui/draw/soft_shadow.h"

namespace draw {
namespace {

constexpr COLORREF kBegin = RGB(38, 88, 158), kMid = RGB(152, 188, 230), kEnd = RGB(250, 236, 190);
constexpr uint32_t kGround = 0x00506070;

// A memory DC drawing into a 32-bit DIB section whose pixels the test reads directly.
class Canvas {
 public:
  Canvas(int width, int height, uint32_t fill = kGround)
      : width_(width), height_(height), section_(CreateSection32(width, height, &bits_)) {
    EXPECT_TRUE(section_ && dc_.Select(section_.Bitmap()));
    for (int i = 0; i < width * height; ++i) bits_[i] = fill;
  }
  HDC Dc() const { return dc_.Get(); }
  uint32_t At(int x, int y) const {
    GdiFlush();
    return bits_[y * width_ + x] & 0xFFFFFF;
  }
  PixelBuffer Pixels() const {
    GdiFlush();
    PixelBuffer b(width_, height_);
    for (int i = 0; i < width_ * height_; ++i) b.Pixels()[i] = bits_[i] & 0xFFFFFF;
    return b;
  }

 private:
  int width_, height_;
  uint32_t* bits_ = nullptr;
  GdiObject section_;
  MemoryDc dc_;
};

TEST(GdiPixels, BitmapsAndDcsRoundTripEveryByte) {
  PixelBuffer original(5, 3);
  for (int i = 0; i < 15; ++i) original.Pixels()[i] = 0x01000000u * (i * 17) + 0x010203u * i;
  GdiObject section(CreateSectionFrom(original));
  ASSERT_TRUE(section);
  EXPECT_EQ(ReadBitmap(section.Bitmap()).Pixels(), original.Pixels());  // alpha kept

  Canvas canvas(8, 8);
  ASSERT_TRUE(WriteDc(canvas.Dc(), 2, 4, original));
  EXPECT_EQ(canvas.At(2, 4), original.At(0, 0) & 0xFFFFFF);
  EXPECT_EQ(canvas.At(6, 6), original.At(4, 2) & 0xFFFFFF);
  EXPECT_EQ(canvas.At(1, 4), kGround);
  PixelBuffer back = ReadDc(canvas.Dc(), 2, 4, 5, 3);
  ASSERT_FALSE(back.Empty());
  EXPECT_EQ(back.At(3, 1) & 0xFFFFFF, original.At(3, 1) & 0xFFFFFF);
  EXPECT_TRUE(ReadBitmap(nullptr).Empty());
  EXPECT_TRUE(ReadDc(nullptr, 0, 0, 2, 2).Empty());
}

TEST(DibImage, DrawShowsThePatternAsItsPixelsSay) {
  DibImage dib;
  ASSERT_TRUE(dib.Create(6, 4, 8));
  for (int i = 0; i < 256; ++i) dib.SetPaletteEntry(i, static_cast<uint8_t>(i), 0, static_cast<uint8_t>(255 - i));
  for (int y = 0; y < 4; ++y) {
    for (int x = 0; x < 6; ++x) dib.SetPixelIndex(x, y, static_cast<uint8_t>(40 * y + x));
  }
  Canvas canvas(10, 10);
  dib.Draw(canvas.Dc(), 3, 2);
  PixelBuffer expected(10, 10, kGround);
  CopyPixels(expected, 3, 2, dib.ToPixels(), 0, 0, 6, 4);
  EXPECT_EQ(canvas.Pixels().Pixels(), expected.Pixels());
  dib.SetPixelIndex(0, 3, 0);  // a second draw copies the changed bytes again
  dib.Draw(canvas.Dc(), 3, 2);
  EXPECT_EQ(canvas.At(3, 2), 0x0000FFu);  // entry 0: blue
}

TEST(DrawManager, FillAreaPaintsEveryKindAsThePixelRoutinesDo) {
  for (int kind = -1; kind <= kFillKindCount; ++kind) {
    ScriptedRandom gdiRandom({0, 32767, 12345, 20000, 7, 30000, 16000});
    ScriptedRandom pixelRandom({0, 32767, 12345, 20000, 7, 30000, 16000});
    DrawManager manager(&gdiRandom);
    Canvas canvas(40, 30);
    RECT area{3, 2, 37, 27};
    manager.FillArea(canvas.Dc(), kind, area, kBegin, kMid, kEnd, 12, 20);
    PixelBuffer expected(40, 30, kGround);
    DibBuffer pattern;
    draw::FillArea(expected, kind, {3, 2, 37, 27}, kBegin, kMid, kEnd, 12, 20, pattern, pixelRandom);
    EXPECT_EQ(canvas.Pixels().Pixels(), expected.Pixels()) << "kind " << kind;
  }
}

// The model's indices (effect_pattern_model.py) for a 12 × 6 pattern of granularity 20 fed these values.
struct PatternCase {
  int kind;
  std::vector<int> stored;
};
const PatternCase kModelCases[] = {
#include "effect_pattern_cases.inc"
};

TEST(DrawManager, HardBumpOnScreenShowsTheModelsColours) {
  const PatternCase* hard = nullptr;
  for (const PatternCase& c : kModelCases) {
    if (c.kind == kFillHardBump) hard = &c;
  }
  ASSERT_NE(hard, nullptr);
  ScriptedRandom random({0, 32767, 12345, 20000, 7, 30000, 16000});
  DrawManager manager(&random);
  Canvas canvas(12, 6);
  manager.FillArea(canvas.Dc(), kFillHardBump, RECT{0, 0, 12, 6}, kBegin, kMid, kEnd, 20, 0);
  DibBuffer palette;
  ASSERT_TRUE(palette.Create(1, 1, 8));
  FillPatternPalette(palette, kBegin, kMid, kEnd, 0);
  for (int y = 0; y < 6; ++y) {
    for (int x = 0; x < 12; ++x) {
      const int index = hard->stored[static_cast<size_t>(y * 12 + x)];
      // Stored rows run from the bottom of the area up.
      EXPECT_EQ(canvas.At(x, 5 - y), ColourToPixel(palette.PaletteColour(index)) & 0xFFFFFF)
          << "x " << x << " stored row " << y;
    }
  }
}

TEST(DrawManager, FillLinearGradientAndTinyRidgeAreas) {
  DrawManager manager;
  Canvas canvas(20, 4);
  manager.FillLinearGradient(canvas.Dc(), RECT{0, 0, 10, 4}, RGB(0, 0, 0), RGB(255, 255, 255), true);
  EXPECT_EQ(canvas.At(0, 0), 0x171717u);  // band 6 of 64
  EXPECT_EQ(canvas.At(9, 3), 0xFBFBFBu);
  EXPECT_EQ(canvas.At(10, 0), kGround);
  manager.FillArea(canvas.Dc(), kFillHardBump, RECT{12, 0, 17, 4}, kBegin, kMid, kEnd, 0, 0);
  manager.FillArea(canvas.Dc(), kFillMetal, RECT{12, 0, 20, 1}, kBegin, kMid, kEnd, 0, 0);
  for (int x = 12; x < 20; ++x) EXPECT_EQ(canvas.At(x, 0), kGround);
}

TEST(DrawManager, TileBlitRepeatsTheSourceTile) {
  Canvas source(4, 4, 0);
  PixelBuffer tile(2, 2);
  tile.Pixels() = {0x111111, 0x222222, 0x333333, 0x444444};
  ASSERT_TRUE(WriteDc(source.Dc(), 1, 1, tile));
  Canvas canvas(6, 5);
  DrawManager().TileBlit(canvas.Dc(), 1, 1, 5, 3, source.Dc(), 1, 1, 2, 2);
  PixelBuffer expected(6, 5, kGround);
  TileBlit(expected, 1, 1, 5, 3, tile, 0, 0, 2, 2);
  EXPECT_EQ(canvas.Pixels().Pixels(), expected.Pixels());
}

TEST(DrawManager, MakeEffectBitmapAppliesEffectsAndNotesAlpha) {
  PixelBuffer pixels(3, 2, 0x00808080);
  pixels.At(2, 1) = 0x00FF00FF;
  GdiObject bitmap(CreateSectionFrom(pixels));
  DrawManager manager;
  GdiObject made(manager.MakeEffectBitmap(bitmap.Bitmap(), 2, 2, kEffectDarken, true, RGB(255, 0, 255), 0));
  ASSERT_TRUE(made);
  EXPECT_EQ(DrawManager::BitmapSize(made.Bitmap()).cx, 2);
  EXPECT_EQ(ReadBitmap(made.Bitmap()).At(0, 0), 0x00606060u);
  EXPECT_FALSE(manager.ImageHasAlpha());
  pixels.At(0, 0) = 0x80808080;
  GdiObject withAlpha(CreateSectionFrom(pixels));
  GdiObject made2(manager.MakeEffectBitmap(withAlpha.Bitmap(), 3, 2, 0, false, 0, 0));
  EXPECT_TRUE(manager.ImageHasAlpha());
  EXPECT_EQ(manager.MakeEffectBitmap(nullptr, 3, 2, 0, false, 0, 0), nullptr);
}

TEST(DrawManager, BitmapWithMaskColourLeavesTheBackgroundAndAlphaBlends) {
  PixelBuffer pixels(4, 4, 0x00FF00FF);  // magenta ground
  pixels.At(1, 1) = 0x000000FF;          // one blue pixel
  GdiObject bitmap(CreateSectionFrom(pixels));
  DrawManager manager;
  Canvas canvas(12, 12);
  manager.DrawBitmapImage(canvas.Dc(), 2, 2, 8, 8, bitmap.Bitmap(), true, RGB(255, 0, 255), 0, false, 0, 0, 0, 0, 0);
  EXPECT_FALSE(manager.ImageHasAlpha());
  EXPECT_EQ(canvas.At(2, 2), kGround);   // masked
  EXPECT_EQ(canvas.At(4, 4), 0x0000FFu);  // stretched twice: (1, 1) covers (4..5, 4..5)
  EXPECT_EQ(canvas.At(5, 5), 0x0000FFu);
  EXPECT_EQ(canvas.At(6, 6), kGround);

  PixelBuffer translucent(2, 2, 0x80FF0000);
  GdiObject alphaBitmap(CreateSectionFrom(translucent));
  Canvas blend(4, 4, 0x000000FF);
  manager.DrawBitmapImage(blend.Dc(), 0, 0, 2, 2, alphaBitmap.Bitmap(), true, RGB(0, 0, 255), 0, false, 0, 0, 0, 0, 0);
  EXPECT_TRUE(manager.ImageHasAlpha());
  EXPECT_EQ(blend.At(0, 0), 0x80007Fu);  // blended, the mask not used
  EXPECT_EQ(blend.At(2, 2), 0x0000FFu);
}

TEST(DrawManager, ShadowsDarkenBesideTheImageOrMoveIt) {
  PixelBuffer pixels(4, 4, 0x00FFFFFF);
  GdiObject bitmap(CreateSectionFrom(pixels));
  DrawManager manager;
  Canvas sharp(12, 12, 0x00C8C8C8);
  manager.DrawBitmapImage(sharp.Dc(), 0, 0, 4, 4, bitmap.Bitmap(), false, 0, kEffectShadow, true, 2, 2, 0, 0,
                          RGB(128, 128, 128));
  EXPECT_EQ(sharp.At(0, 0), 0xFFFFFFu);
  EXPECT_EQ(sharp.At(5, 5), 0x646464u);  // 200 × 128 / 255
  EXPECT_EQ(sharp.At(7, 7), 0xC8C8C8u);

  Canvas moved(12, 12, 0x00C8C8C8);
  manager.DrawBitmapImage(moved.Dc(), 0, 0, 4, 4, bitmap.Bitmap(), false, 0, 0, true, 3, 3, 0, 0, 0);
  EXPECT_EQ(moved.At(0, 0), 0xC8C8C8u);
  EXPECT_EQ(moved.At(3, 3), 0xFFFFFFu);

  // A black mask blurred by depth 4 (taken as 5): the mask shrinks to 3 × 3 in the middle and fades out.
  Canvas soft(16, 16, 0x00C8C8C8);
  PixelBuffer black(8, 8, 0);
  GdiObject mask(CreateSectionFrom(black));
  manager.DrawSoftShadow(soft.Dc(), 4, 4, 8, 8, mask.Bitmap(), true, 4, 4);
  PixelBuffer expected(8, 8, 0x00C8C8C8);
  ApplySoftShadow(expected, PlaceShadowMask(black, 8, 8, true, 4, 4), true, 4, 4);
  PixelBuffer drawn = ReadDc(soft.Dc(), 4, 4, 8, 8);
  for (uint32_t& p : drawn.Pixels()) p &= 0xFFFFFF;
  EXPECT_EQ(drawn.Pixels(), expected.Pixels());
  EXPECT_EQ(soft.At(7, 7), 0x808080u);  // 200 × 16 / 25
  EXPECT_EQ(soft.At(3, 3), 0xC8C8C8u);
}

TEST(DrawManager, StripCellsAndIndicesPastTheLastCell) {
  PixelBuffer strip(6, 2);
  for (int x = 0; x < 6; ++x) {
    for (int y = 0; y < 2; ++y) strip.At(x, y) = x < 2 ? 0x0000FF : x < 4 ? 0x00FF00 : 0xFF0000;
  }
  GdiObject bitmap(CreateSectionFrom(strip));
  DrawManager manager;
  Canvas canvas(4, 4);
  manager.DrawStripImage(canvas.Dc(), 1, 1, 2, 2, bitmap.Bitmap(), 1, 2, 2, false, 0, 0, false, 0, 0, 0, 0, 0);
  EXPECT_EQ(canvas.At(1, 1), 0x00FF00u);
  EXPECT_EQ(canvas.At(2, 2), 0x00FF00u);
  manager.DrawStripImage(canvas.Dc(), 0, 0, 2, 2, bitmap.Bitmap(), 3, 2, 2, false, 0, 0, false, 0, 0, 0, 0, 0);
  EXPECT_EQ(canvas.At(0, 0), kGround);
}

HICON MakeIcon(int size, uint32_t colour) {
  PixelBuffer colourPixels(size, size, colour);
  PixelBuffer maskPixels(size, size, 0);  // black: opaque
  maskPixels.At(0, 0) = 0x00FFFFFF;       // one transparent corner
  colourPixels.At(0, 0) = 0;
  GdiObject c(CreateSectionFrom(colourPixels)), m(CreateSectionFrom(maskPixels));
  ICONINFO info{TRUE, static_cast<DWORD>(size / 2), static_cast<DWORD>(size / 2), m.Bitmap(), c.Bitmap()};
  return CreateIconIndirect(&info);
}

TEST(DrawManager, IconsDrawThroughTheirMaskAndScale) {
  HICON icon = MakeIcon(8, 0x000000FF);
  ASSERT_NE(icon, nullptr);
  EXPECT_EQ(DrawManager::IconSize(icon).cx, 8);
  EXPECT_EQ(DrawManager::IconSize(nullptr).cx, 0);
  HICON big = DrawManager::ScaleIcon(icon, 16, 16);
  ASSERT_NE(big, nullptr);
  EXPECT_EQ(DrawManager::IconSize(big).cy, 16);
  DestroyIcon(big);

  DrawManager manager;
  Canvas canvas(20, 20);
  manager.DrawIconImage(canvas.Dc(), 2, 2, 8, 8, icon, 0, false, 0, 0, 0, 0, 0);
  EXPECT_EQ(canvas.At(2, 2), kGround);   // the transparent corner
  EXPECT_EQ(canvas.At(5, 5), 0x0000FFu);
  manager.DrawIconImage(canvas.Dc(), 10, 2, 8, 8, icon, kEffectMono, false, 0, 0, 0, 0, RGB(0, 255, 0));
  EXPECT_EQ(canvas.At(14, 5), 0x00FF00u);  // mono: drawn in the shadow colour
  EXPECT_EQ(canvas.At(10, 2), kGround);
  manager.DrawIconImage(canvas.Dc(), 2, 10, 4, 4, icon, 0, false, 0, 0, 0, 0, 0);  // scaled down
  EXPECT_EQ(canvas.At(4, 12), 0x0000FFu);
  DestroyIcon(icon);
}

TEST(DrawManager, AlphaBlendBlitMixesBySourceAlpha) {
  Canvas canvas(4, 1, 0x000000FF);
  PixelBuffer top(2, 1);
  top.Pixels() = {0xFFFF0000, 0x00FF0000};
  GdiObject section(CreateSectionFrom(top));
  MemoryDc topDc;
  ASSERT_TRUE(topDc.Select(section.Bitmap()));
  DrawManager().AlphaBlendBlit(canvas.Dc(), 1, 0, 2, 1, topDc.Get(), 0, 0);
  EXPECT_EQ(canvas.At(0, 0), 0x0000FFu);
  EXPECT_EQ(canvas.At(1, 0), 0xFF0000u);
  EXPECT_EQ(canvas.At(2, 0), 0x0000FFu);
}

TEST(DrawManager, FramesAndStyledLinesDrawTheirEdgesInTheirColours) {
  DrawManager manager;
  Canvas canvas(30, 30, 0);
  manager.DrawFrame(canvas.Dc(), RECT{2, 2, 20, 20}, RGB(255, 0, 0), RGB(0, 0, 255), kFrameSolid, 1);
  EXPECT_EQ(canvas.At(2, 10), 0xFF0000u);   // left: first colour
  EXPECT_EQ(canvas.At(10, 2), 0xFF0000u);   // top
  EXPECT_EQ(canvas.At(20, 10), 0x0000FFu);  // right: second colour
  EXPECT_EQ(canvas.At(10, 20), 0x0000FFu);  // bottom
  EXPECT_EQ(canvas.At(10, 10), 0u);
  manager.DrawFrame(canvas.Dc(), RECT{2, 2, 20, 20}, RGB(0, 255, 0), RGB(0, 255, 0), kFrameDouble, 1);
  EXPECT_EQ(canvas.At(4, 10), 0x00FF00u);   // the inner frame, two widths in
  manager.DrawStyledLine(canvas.Dc(), 0, 25, 30, 25, RGB(255, 255, 0), kFrameDouble, 1);
  EXPECT_EQ(canvas.At(15, 25), 0xFFFF00u);
  EXPECT_EQ(canvas.At(15, 27), 0xFFFF00u);
  EXPECT_EQ(canvas.At(15, 26), 0u);
  manager.DrawStyledLine(canvas.Dc(), 0, 28, 30, 28, RGB(255, 255, 255), kFrameNone, 1);
  EXPECT_EQ(canvas.At(15, 28), 0u);
}

}  // namespace
}  // namespace draw
