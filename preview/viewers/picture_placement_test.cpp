#include "preview/viewers/picture_placement.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace preview {
namespace {

void ExpectPlacement(const Placement& p, int x, int y, int width, int height) {
  EXPECT_EQ(p.x, x);
  EXPECT_EQ(p.y, y);
  EXPECT_EQ(p.width, width);
  EXPECT_EQ(p.height, height);
}

// Client, picture, and where it goes: fitted within 10 pixels of every side, proportions kept, centred,
// never enlarged.
TEST(FitPicture, WhollyInsideInProportionAndCentred) {
  const struct {
    int clientWidth, clientHeight;
    uint32_t width, height;
    int x, y, w, h;
  } cases[] = {
      {600, 330, 400, 200, 100, 65, 400, 200},   // fits as it is
      {600, 330, 800, 400, 10, 20, 580, 290},    // 2:1, shrunk by the width
      {600, 330, 1200, 1600, 183, 10, 233, 310}, // a phone photo, by the height: 1200 * 310 / 1600
      {600, 330, 37, 23, 281, 153, 37, 23},      // small: its own size
      {100, 100, 4000, 4000, 10, 10, 80, 80},
      {600, 330, 1, 32767, 299, 10, 1, 310},     // thinner than a pixel: one
      {600, 330, 32767, 1, 10, 164, 580, 1},
      {15, 15, 300, 200, 7, 7, 1, 1},            // no room inside the margins
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.width << " x " << c.height);
    const Placement p = FitPicture(c.clientWidth, c.clientHeight, c.width, c.height);
    ExpectPlacement(p, c.x, c.y, c.w, c.h);
  }
  ExpectPlacement(FitPicture(600, 330, 0, 10), 0, 0, 0, 0);
  ExpectPlacement(FitPicture(600, 330, 10, 0), 0, 0, 0, 0);
}

// Over many shapes and panes: inside the margins (when there is room), the shape kept to within the rounding
// of one pixel, and one side touching the margins unless the picture is smaller.
TEST(FitPicture, EveryShapeKeepsItsProportions) {
  for (int cw : {120, 333, 640}) {
    for (int ch : {90, 250, 480}) {
      for (uint32_t w : {1u, 7u, 300u, 1200u, 4000u}) {
        for (uint32_t h : {1u, 9u, 200u, 1600u, 3000u}) {
          const Placement p = FitPicture(cw, ch, w, h);
          EXPECT_GE(p.x, kPictureMargin);
          EXPECT_GE(p.y, kPictureMargin);
          EXPECT_LE(p.x + p.width, cw - kPictureMargin);
          EXPECT_LE(p.y + p.height, ch - kPictureMargin);
          const double scaleX = static_cast<double>(p.width) / w, scaleY = static_cast<double>(p.height) / h;
          EXPECT_NEAR(scaleX, scaleY, 1.0 / std::min(w, h) + 1.0 / std::max(1, std::min(p.width, p.height)));
          EXPECT_LE(std::max(scaleX, scaleY), 1.0 + 0.5 / std::min(w, h));
        }
      }
    }
  }
}

TEST(FitThumbnail, TheViewsWorkedNumbers) {
  ExpectPlacement(FitThumbnail(640, 480), 0, 0, 160, 120);   // exactly 4:3
  ExpectPlacement(FitThumbnail(1000, 250), 0, 40, 160, 40);  // a wide strip
  ExpectPlacement(FitThumbnail(300, 600), 50, 0, 60, 120);   // a tall band
  ExpectPlacement(FitThumbnail(100, 100), 20, 0, 120, 120);
  ExpectPlacement(FitThumbnail(32767, 1), 0, 60, 160, 0);    // thinner than a pixel
  ExpectPlacement(FitThumbnail(0, 5), 0, 0, 0, 0);
}

TEST(HimetricToPixels, RoundsToTheNearestPixel) {
  EXPECT_EQ(HimetricToPixels(2540, 96), 96);
  EXPECT_EQ(HimetricToPixels(846, 96), 32);  // 31.98
  EXPECT_EQ(HimetricToPixels(13, 96), 0);    // 0.49
  EXPECT_EQ(HimetricToPixels(14, 96), 1);    // 0.53
  EXPECT_EQ(HimetricToPixels(2000000000, 1200), 944881890);  // no 32-bit overflow on the way
}

}  // namespace
}  // namespace preview
