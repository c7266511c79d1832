#include "ui/skin/key_color_runs.h"

#include <algorithm>

namespace skin {
namespace {

uint8_t Channel(uint32_t value, int shift) { return static_cast<uint8_t>((value >> shift) & 0xFF); }

void Widen(Rect& bounds, const Rect& rect) {
  bounds.left = std::min(bounds.left, rect.left);
  bounds.top = std::min(bounds.top, rect.top);
  bounds.right = std::max(bounds.right, rect.right);
  bounds.bottom = std::max(bounds.bottom, rect.bottom);
}

class BlockCollector {
 public:
  void Add(const Rect& rect) {
    if (blocks_.empty() || blocks_.back().rects.size() == kRectanglesPerBlock) blocks_.emplace_back();
    RectBlock& block = blocks_.back();
    block.rects.push_back(rect);
    Widen(block.bounds, rect);
  }
  std::vector<RectBlock> Take() { return std::move(blocks_); }

 private:
  std::vector<RectBlock> blocks_;
};

}  // namespace

KeyColorBox MakeKeyColorBox(uint32_t key) {
  KeyColorBox box{};
  key &= 0xFFFFFF;
  for (int c = 0; c < 3; ++c) {
    const int value = Channel(key, 8 * c);  // red, green, blue
    int low = std::max(value - kKeyTolerance, 0);
    int high = std::min(value + kKeyTolerance, 255);
    if (key == 0) {
      low = 0;
      high = 16;
    } else if (key == 0xFFFFFF) {
      low = 239;
      high = 255;
    }
    box.low[c] = static_cast<uint8_t>(low);
    box.high[c] = static_cast<uint8_t>(high);
  }
  return box;
}

bool MatchesKey(const KeyColorBox& box, uint32_t pixel) {
  const uint8_t channels[3] = {Channel(pixel, 16), Channel(pixel, 8), Channel(pixel, 0)};  // red, green, blue
  for (int c = 0; c < 3; ++c) {
    if (channels[c] < box.low[c] || channels[c] > box.high[c]) return false;
  }
  return true;
}

std::vector<RectBlock> CollectKeyRuns(const PixelView& image, uint32_t key, bool collectOutside) {
  BlockCollector collector;
  if (image.pixels == nullptr || image.width <= 0 || image.height <= 0 || image.stride < size_t(image.width)) {
    return collector.Take();
  }
  const KeyColorBox box = MakeKeyColorBox(key);
  for (int y = 0; y < image.height; ++y) {
    const uint32_t* row = image.pixels + static_cast<size_t>(y) * image.stride;
    int x = 0;
    while (x < image.width) {
      // Skip what is not collected, then take the run that is.
      while (x < image.width && MatchesKey(box, row[x]) == collectOutside) ++x;
      const int start = x;
      while (x < image.width && MatchesKey(box, row[x]) != collectOutside) ++x;
      if (x > start) collector.Add(Rect{start, y, x, y + 1});
    }
  }
  return collector.Take();
}

}  // namespace skin
