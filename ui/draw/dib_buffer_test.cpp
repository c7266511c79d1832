#include "ui/draw/dib_buffer.h"

#include <gtest/gtest.h>

namespace draw {
namespace {

uint32_t U32(const uint8_t* p) { return p[0] | p[1] << 8 | p[2] << 16 | static_cast<uint32_t>(p[3]) << 24; }

TEST(DibBuffer, HeaderPaletteAndStrideFollowTheBitCount) {
  DibBuffer dib;
  const uint8_t* h = dib.Create(5, 3, 8);
  ASSERT_NE(h, nullptr);
  EXPECT_EQ(U32(h), 40u);
  EXPECT_EQ(U32(h + 4), 5u);
  EXPECT_EQ(U32(h + 8), 3u);
  EXPECT_EQ(h[12] | h[13] << 8, 1);
  EXPECT_EQ(h[14] | h[15] << 8, 8);
  EXPECT_EQ(U32(h + 16), 0u);
  EXPECT_EQ(U32(h + 20), 24u);  // stride 8 × 3 rows
  EXPECT_EQ(dib.Stride(), 8);
  EXPECT_EQ(dib.BufferSize(), 40u + 256 * 4 + 24);
  EXPECT_EQ(dib.GetBits(), h + 40 + 1024);
  ASSERT_NE(dib.Create(33, 1, 1), nullptr);
  EXPECT_EQ(dib.PaletteCount(), 2);
  EXPECT_EQ(dib.Stride(), 8);
  ASSERT_NE(dib.Create(3, 1, 4), nullptr);
  EXPECT_EQ(dib.PaletteCount(), 16);
  ASSERT_NE(dib.Create(3, 1, 24), nullptr);
  EXPECT_EQ(dib.PaletteCount(), 0);
  EXPECT_EQ(dib.Stride(), 12);
}

TEST(DibBuffer, RefusesSizesAndBitCountsItCannotHold) {
  DibBuffer dib;
  EXPECT_EQ(dib.Create(0, 3, 8), nullptr);
  EXPECT_EQ(dib.Create(3, -1, 8), nullptr);
  EXPECT_EQ(dib.Create(3, 3, 7), nullptr);
  EXPECT_EQ(dib.Create(PixelBuffer::kMaxSide + 1, 1, 8), nullptr);
  EXPECT_EQ(dib.Create(PixelBuffer::kMaxSide, PixelBuffer::kMaxSide, 8), nullptr);  // too large an area
  EXPECT_FALSE(dib.Valid());
  EXPECT_EQ(dib.GetBits(), nullptr);
  dib.Clear(5);
  dib.SetPixelIndex(0, 0, 1);
  dib.SetPaletteEntry(0, 1, 2, 3);
  dib.BlendPalette(0xFFFFFF, 50);
  EXPECT_EQ(dib.PaletteColour(0), 0u);
}

TEST(DibBuffer, PaletteEntriesAndBlending) {
  DibBuffer dib;
  ASSERT_NE(dib.Create(1, 1, 8), nullptr);
  dib.SetPaletteEntry(300, 10, 20, 30);  // taken as a byte: entry 44
  EXPECT_EQ(dib.PaletteColour(44), 0x1E140Au);
  dib.BlendPalette(0xFFFFFF, 50);
  EXPECT_EQ(dib.PaletteColour(44), 0x8E8984u);  // (30 + 255) / 2, (20 + 255) / 2, (10 + 255) / 2
  EXPECT_EQ(dib.PaletteColour(0), 0x7F7F7Fu);
  dib.BlendPalette(0x0000FF, 250);  // capped at 100
  EXPECT_EQ(dib.PaletteColour(44), 0x0000FFu);
  ASSERT_NE(dib.Create(1, 1, 1), nullptr);
  dib.SetPaletteEntry(2, 1, 1, 1);  // past the two entries
  EXPECT_EQ(dib.PaletteColour(1), 0u);
}

TEST(DibBuffer, PixelsAreStoredBottomUpAndClippedToTheImage) {
  DibBuffer dib;
  ASSERT_NE(dib.Create(3, 2, 8), nullptr);
  dib.SetPaletteEntry(1, 255, 0, 0);
  dib.SetPaletteEntry(2, 0, 0, 255);
  dib.Clear(2);
  dib.SetPixelIndex(0, 0, 1);  // first stored row: the bottom on screen
  dib.SetPixelIndex(3, 0, 1);
  dib.SetPixelIndex(-1, 0, 1);
  dib.SetPixelIndex(0, 2, 1);
  PixelBuffer shown = dib.ToPixels();
  EXPECT_EQ(shown.At(0, 1), 0x00FF0000u);
  EXPECT_EQ(shown.At(0, 0), 0x000000FFu);
  EXPECT_EQ(shown.At(2, 1), 0x000000FFu);
}

}  // namespace
}  // namespace draw
