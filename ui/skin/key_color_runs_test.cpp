#include "ui/skin/key_color_runs.h"

#include <gtest/gtest.h>

#include <set>
#include <utility>

namespace skin {
namespace {

constexpr uint32_t kGreenKey = 0x00FF00;  // as a colour and as a pixel alike
constexpr uint32_t kGrey = 0x808080;

struct Image {
  int width, height;
  std::vector<uint32_t> pixels;
  Image(int w, int h, uint32_t fill) : width(w), height(h), pixels(static_cast<size_t>(w) * h, fill) {}
  uint32_t& at(int x, int y) { return pixels[static_cast<size_t>(y) * width + x]; }
  PixelView view() const { return PixelView{pixels.data(), width, height, static_cast<size_t>(width)}; }
};

std::vector<Rect> All(const std::vector<RectBlock>& blocks) {
  std::vector<Rect> rects;
  for (const RectBlock& block : blocks) rects.insert(rects.end(), block.rects.begin(), block.rects.end());
  return rects;
}

// DIB pixels are 0xRRGGBB.
uint32_t Pixel(int red, int green, int blue) { return uint32_t(red) << 16 | uint32_t(green) << 8 | uint32_t(blue); }

TEST(KeyColorRuns, ToleranceEdgesOfTheGreenKey) {
  const KeyColorBox box = MakeKeyColorBox(kGreenKey);
  EXPECT_TRUE(MatchesKey(box, Pixel(0, 238, 0)));
  EXPECT_TRUE(MatchesKey(box, Pixel(17, 255, 17)));
  EXPECT_FALSE(MatchesKey(box, Pixel(0, 237, 0)));
  EXPECT_FALSE(MatchesKey(box, Pixel(18, 255, 0)));
  EXPECT_FALSE(MatchesKey(box, Pixel(0, 255, 18)));
  EXPECT_TRUE(MatchesKey(box, 0xFF00FF00));  // the unused high byte does not count
}

TEST(KeyColorRuns, BlackAndWhiteKeysHaveTheirOwnBoxes) {
  const KeyColorBox black = MakeKeyColorBox(0);
  EXPECT_TRUE(MatchesKey(black, Pixel(16, 16, 16)));
  EXPECT_FALSE(MatchesKey(black, Pixel(17, 0, 0)));
  const KeyColorBox white = MakeKeyColorBox(0xFFFFFF);
  EXPECT_TRUE(MatchesKey(white, Pixel(239, 239, 239)));
  EXPECT_FALSE(MatchesKey(white, Pixel(238, 255, 255)));
  // A key of a colour channel: red 0x0000FF as a colour is red 255.
  EXPECT_TRUE(MatchesKey(MakeKeyColorBox(0x0000FF), Pixel(250, 10, 0)));
}

TEST(KeyColorRuns, AllKeyOrNoKey) {
  Image key(7, 3, kGreenKey);
  // Key runs: one full row each; with collect outside nothing.
  EXPECT_EQ(All(CollectKeyRuns(key.view(), kGreenKey, false)),
            (std::vector<Rect>{{0, 0, 7, 1}, {0, 1, 7, 2}, {0, 2, 7, 3}}));
  EXPECT_TRUE(CollectKeyRuns(key.view(), kGreenKey, true).empty());
  Image plain(7, 3, kGrey);
  EXPECT_TRUE(CollectKeyRuns(plain.view(), kGreenKey, false).empty());
  std::vector<RectBlock> outside = CollectKeyRuns(plain.view(), kGreenKey, true);
  ASSERT_EQ(outside.size(), 1u);
  EXPECT_EQ(outside[0].bounds, (Rect{0, 0, 7, 3}));
}

TEST(KeyColorRuns, RunsAreMaximalAndRowsScannedTopDown) {
  Image image(6, 2, kGrey);
  image.at(0, 0) = kGreenKey;
  image.at(1, 0) = kGreenKey;
  image.at(4, 0) = kGreenKey;
  image.at(5, 1) = kGreenKey;
  EXPECT_EQ(All(CollectKeyRuns(image.view(), kGreenKey, false)),
            (std::vector<Rect>{{0, 0, 2, 1}, {4, 0, 5, 1}, {5, 1, 6, 2}}));
  EXPECT_EQ(All(CollectKeyRuns(image.view(), kGreenKey, true)),
            (std::vector<Rect>{{2, 0, 4, 1}, {5, 0, 6, 1}, {0, 1, 5, 2}}));
}

TEST(KeyColorRuns, StrideSkipsPaddingAndBadViewsGiveNothing) {
  std::vector<uint32_t> pixels = {kGrey, kGreenKey, kGreenKey, kGrey, kGreenKey, kGreenKey};
  PixelView view{pixels.data(), 2, 2, 3};
  EXPECT_EQ(All(CollectKeyRuns(view, kGreenKey, true)), (std::vector<Rect>{{0, 0, 1, 1}, {0, 1, 1, 2}}));
  view.stride = 1;
  EXPECT_TRUE(CollectKeyRuns(view, kGreenKey, true).empty());
  EXPECT_TRUE(CollectKeyRuns(PixelView{}, kGreenKey, true).empty());
}

TEST(KeyColorRuns, MoreThan3000RunsComeInBlocksThatCoverEveryRun) {
  // A checkerboard of 120 x 60: 60 runs of key per row, 3,600 runs in all.
  Image board(120, 60, kGrey);
  for (int y = 0; y < board.height; ++y) {
    for (int x = (y % 2); x < board.width; x += 2) board.at(x, y) = kGreenKey;
  }
  std::vector<RectBlock> blocks = CollectKeyRuns(board.view(), kGreenKey, false);
  ASSERT_EQ(blocks.size(), 2u);
  EXPECT_EQ(blocks[0].rects.size(), 3000u);
  EXPECT_EQ(blocks[1].rects.size(), 600u);
  // The first block ends in row 49 (50 rows × 60 runs), the second holds rows 50 to 59.
  EXPECT_EQ(blocks[0].bounds, (Rect{0, 0, 120, 50}));
  EXPECT_EQ(blocks[1].bounds, (Rect{0, 50, 120, 60}));
  std::set<std::pair<int, int>> covered;
  for (const Rect& r : All(blocks)) {
    EXPECT_EQ(r.bottom, r.top + 1);
    for (int x = r.left; x < r.right; ++x) covered.insert({x, r.top});
  }
  EXPECT_EQ(covered.size(), 3600u);
  for (const auto& [x, y] : covered) EXPECT_EQ(board.at(x, y), kGreenKey);
}

}  // namespace
}  // namespace skin
