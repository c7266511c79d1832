// The portable half of cutting a window region from a skin bitmap: which pixels match the key colour
// (a tolerance box per channel), the row runs of matching or non-matching pixels, and the runs gathered
// into blocks of at most 3,000 rectangles, each with its bounding rectangle, ready to become regions.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace skin {

constexpr int kKeyTolerance = 17;
constexpr size_t kRectanglesPerBlock = 3000;

// Inclusive low and high bounds of red, green and blue.
struct KeyColorBox {
  uint8_t low[3];
  uint8_t high[3];
};

// The box of a key colour (0x00BBGGRR): each channel ± 17 within 0..255; black gives 0..16 and white
// 239..255 in every channel.
KeyColorBox MakeKeyColorBox(uint32_t key);
// pixel: a 32-bit DIB pixel, 0xXXRRGGBB.
bool MatchesKey(const KeyColorBox& box, uint32_t pixel);

struct Rect {
  int32_t left, top, right, bottom;
  bool operator==(const Rect& other) const {
    return left == other.left && top == other.top && right == other.right && bottom == other.bottom;
  }
};

struct RectBlock {
  std::vector<Rect> rects;
  Rect bounds{0x7FFFFFFF, 0x7FFFFFFF, 0, 0};
};

// The 32-bit pixels of an image, top row first; stride counts pixels per row (at least width).
struct PixelView {
  const uint32_t* pixels = nullptr;
  int width = 0;
  int height = 0;
  size_t stride = 0;
};

// Each maximal run of pixels that match (collectOutside false) or do not match (true) the key, scanned
// from the top row down and left to right, as a one-pixel-high rectangle; blocks of at most 3,000.
std::vector<RectBlock> CollectKeyRuns(const PixelView& image, uint32_t key, bool collectOutside);

}  // namespace skin
