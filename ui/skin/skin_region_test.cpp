// The region cut from real bitmaps, compared pixel by pixel with the key colour.
#include <gtest/gtest.h>

#include <vector>

#include "platform/classlib/win/cdc.h"
#include "ui/skin/skin_bitmap.h"
#include "ui/skin/skin_region.h"

namespace skin {
namespace {

constexpr COLORREF kGrey = RGB(128, 128, 128);

// A 32-bit bitmap of the given pixels (colours 0x00BBGGRR), top row first.
HBITMAP MakeBitmap(int width, int height, const std::vector<COLORREF>& colours) {
  BITMAPINFO header{};
  header.bmiHeader.biSize = sizeof header.bmiHeader;
  header.bmiHeader.biWidth = width;
  header.bmiHeader.biHeight = -height;
  header.bmiHeader.biPlanes = 1;
  header.bmiHeader.biBitCount = 32;
  void* bits = nullptr;
  HBITMAP bitmap = ::CreateDIBSection(nullptr, &header, DIB_RGB_COLORS, &bits, nullptr, 0);
  auto* pixels = static_cast<uint32_t*>(bits);
  for (size_t i = 0; i < colours.size(); ++i) {
    const COLORREF c = colours[i];
    pixels[i] = (uint32_t(GetRValue(c)) << 16) | (uint32_t(GetGValue(c)) << 8) | GetBValue(c);
  }
  return bitmap;
}

int RegionKind(HRGN region, RECT* box) { return ::GetRgnBox(region, box); }

void ExpectRegionIsNonKey(HRGN region, int width, int height, const std::vector<COLORREF>& colours) {
  int wrong = 0;
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      const bool key = colours[static_cast<size_t>(y) * width + x] == kSkinKeyColour;
      if (::PtInRegion(region, x, y) == key) ++wrong;
    }
  }
  EXPECT_EQ(wrong, 0);
}

TEST(SkinRegion, AllKeyIsEmptyAndNoKeyIsTheWholeRectangle) {
  std::vector<COLORREF> key(40 * 30, kSkinKeyColour), plain(40 * 30, kGrey);
  HBITMAP allKey = MakeBitmap(40, 30, key), noKey = MakeBitmap(40, 30, plain);
  for (BOOL outside : {FALSE, TRUE}) {
    RECT box;
    HRGN empty = CreateRegionFromBitmap(allKey, kSkinKeyColour, outside);
    ASSERT_NE(empty, nullptr);
    EXPECT_EQ(RegionKind(empty, &box), NULLREGION);
    HRGN full = CreateRegionFromBitmap(noKey, kSkinKeyColour, outside);
    ASSERT_NE(full, nullptr);
    EXPECT_EQ(RegionKind(full, &box), SIMPLEREGION);
    EXPECT_EQ(box.left, 0);
    EXPECT_EQ(box.top, 0);
    EXPECT_EQ(box.right, 40);
    EXPECT_EQ(box.bottom, 30);
    ::DeleteObject(empty);
    ::DeleteObject(full);
  }
  ::DeleteObject(allKey);
  ::DeleteObject(noKey);
  EXPECT_EQ(CreateRegionFromBitmap(nullptr, kSkinKeyColour, FALSE), nullptr);
}

TEST(SkinRegion, MoreThan3000RunsGiveTheSameRegionInBothModes) {
  // A checkerboard with a few near-key shades: 3,600 runs of key.
  const int width = 120, height = 60;
  std::vector<COLORREF> board(width * height, kGrey);
  for (int y = 0; y < height; ++y) {
    for (int x = y % 2; x < width; x += 2) board[static_cast<size_t>(y) * width + x] = kSkinKeyColour;
  }
  std::vector<COLORREF> shaded = board;
  shaded[2] = RGB(17, 238, 17);  // within the tolerance: still key
  shaded[4] = RGB(0, 237, 0);    // just outside
  HBITMAP bitmap = MakeBitmap(width, height, board);
  HBITMAP nearKey = MakeBitmap(width, height, shaded);
  for (BOOL outside : {FALSE, TRUE}) {
    HRGN region = CreateRegionFromBitmap(bitmap, kSkinKeyColour, outside);
    ASSERT_NE(region, nullptr);
    ExpectRegionIsNonKey(region, width, height, board);
    ::DeleteObject(region);
    HRGN tolerant = CreateRegionFromBitmap(nearKey, kSkinKeyColour, outside);
    EXPECT_FALSE(::PtInRegion(tolerant, 2, 0));
    EXPECT_TRUE(::PtInRegion(tolerant, 4, 0));
    ::DeleteObject(tolerant);
  }
  ::DeleteObject(bitmap);
  ::DeleteObject(nearKey);
}

TEST(SkinBitmap, DrawsEverythingButTheTransparentColour) {
  // Left half white (transparent), right half navy, on a red target.
  const int width = 8, height = 4;
  std::vector<COLORREF> colours(width * height);
  for (int i = 0; i < width * height; ++i) colours[i] = (i % width) < 4 ? RGB(255, 255, 255) : RGB(20, 42, 82);
  SkinBitmap bitmap;
  ASSERT_TRUE(bitmap.Attach(MakeBitmap(width, height, colours)));
  EXPECT_EQ(bitmap.GetWidth(), width);
  EXPECT_EQ(bitmap.GetHeight(), height);

  HDC screen = ::GetDC(nullptr);
  HDC target = ::CreateCompatibleDC(screen);
  HBITMAP surface = ::CreateCompatibleBitmap(screen, 20, 10);
  HGDIOBJ old = ::SelectObject(target, surface);
  RECT all{0, 0, 20, 10};
  HBRUSH red = ::CreateSolidBrush(RGB(255, 0, 0));
  ::FillRect(target, &all, red);
  ::SetTextColor(target, RGB(1, 2, 3));
  bitmap.DrawTransparent(CDC::FromHandle(target), 5, 3, RGB(255, 255, 255));
  EXPECT_EQ(::GetPixel(target, 5, 3), RGB(255, 0, 0));    // transparent: the target shows
  EXPECT_EQ(::GetPixel(target, 8, 6), RGB(255, 0, 0));
  EXPECT_EQ(::GetPixel(target, 9, 3), RGB(20, 42, 82));   // the bitmap
  EXPECT_EQ(::GetPixel(target, 12, 6), RGB(20, 42, 82));
  EXPECT_EQ(::GetPixel(target, 13, 3), RGB(255, 0, 0));   // beyond it
  EXPECT_EQ(::GetTextColor(target), RGB(1, 2, 3));        // put back
  ::SelectObject(target, old);
  ::DeleteObject(surface);
  ::DeleteObject(red);
  ::DeleteDC(target);
  ::ReleaseDC(nullptr, screen);
}

}  // namespace
}  // namespace skin
