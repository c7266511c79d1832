#include "preview/viewers/picture_placement.h"

#include <gtest/gtest.h>

namespace preview {
namespace {

void ExpectPlacement(const Placement& p, int x, int y, int width, int height) {
  EXPECT_EQ(p.x, x);
  EXPECT_EQ(p.y, y);
  EXPECT_EQ(p.width, width);
  EXPECT_EQ(p.height, height);
}

TEST(PlaceImageStrip, TheViewsWorkedNumbers) {
  ExpectPlacement(PlaceImageStrip(600, 400, 200), 200, 35, 200, 150);  // wide: not to scale
  ExpectPlacement(PlaceImageStrip(600, 300, 600), 200, -40, 200, 300);  // tall: the top is clipped
  ExpectPlacement(PlaceImageStrip(600, 50, 50), 200, 10, 200, 200);     // square
  // A pane narrower than the strip puts it partly left of the pane.
  ExpectPlacement(PlaceImageStrip(100, 4, 3), -50, 22, 200, 175);
}

TEST(PlaceImageStrip, ExtremeShapesStayInRangeAndEmptyPicturesGiveNothing) {
  const Placement thin = PlaceImageStrip(600, 1, 32767);
  EXPECT_EQ(thin.height, 3276800);
  EXPECT_EQ(PlaceImageStrip(600, 32767, 1).height, 100);
  EXPECT_EQ(PlaceImageStrip(600, 1, 0xFFFFFFFFu).height, 100000100);
  ExpectPlacement(PlaceImageStrip(600, 0, 10), 0, 0, 0, 0);
  ExpectPlacement(PlaceImageStrip(600, 10, 0), 0, 0, 0, 0);
}

TEST(PictureViewBox, MarginsAndANarrowPaneClampedToZero) {
  ExpectPlacement(PictureViewBox(0, 0, 800, 500), 200, 10, 400, 480);
  ExpectPlacement(PictureViewBox(0, 0, 300, 15), 200, 10, 0, 0);
  ExpectPlacement(PictureViewBox(5, 7, 401, 21), 205, 17, 1, 1);
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
