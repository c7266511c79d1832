#include "toolkit/dockingpane/dock_drag_geometry.h"

#include <gtest/gtest.h>

namespace dock {
namespace {

const InkTest kAllInk = [](int, int, int) { return true; };

TEST(DragGeometry, FloatingRectangleMovesTheLeastToHoldThePoint) {
  const Box rc{100, 100, 300, 200};
  EXPECT_EQ(OffsetToContain(rc, 150, 150), rc);
  EXPECT_EQ(OffsetToContain(rc, 50, 150), (Box{50, 100, 250, 200}));
  EXPECT_EQ(OffsetToContain(rc, 350, 90), (Box{151, 90, 351, 190}));
  EXPECT_EQ(OffsetToContain(rc, 120, 260), (Box{100, 161, 300, 261}));
}

TEST(DragGeometry, InsideAContainerTheNearestEdgeWithinTwentyPixelsDocks) {
  const Box rc{0, 0, 400, 300};
  EXPECT_EQ(NearestDockSide(rc, 5, 150, true, true), 0);
  EXPECT_EQ(NearestDockSide(rc, 390, 150, true, true), 1);
  EXPECT_EQ(NearestDockSide(rc, 200, 3, true, true), 2);
  EXPECT_EQ(NearestDockSide(rc, 200, 290, true, true), 3);
  // In a corner the first of top, bottom, left, right that is strictly nearer wins.
  EXPECT_EQ(NearestDockSide(rc, 4, 4, true, true), 2);
  EXPECT_EQ(NearestDockSide(rc, 200, 150, true, true), -1);
  EXPECT_EQ(NearestDockSide(rc, 500, 150, true, true), -1);
}

TEST(DragGeometry, PanesThatMayNotFloatAlwaysFindTheNearestSideScaledByTheAspect) {
  const Box rc{0, 0, 400, 200};
  // 150 from the left is 75 after scaling by 200 / 400: nearer than 100 to the top and bottom.
  EXPECT_EQ(NearestDockSide(rc, 150, 100, true, false), 0);
  EXPECT_EQ(NearestDockSide(rc, 200, 60, true, false), 2);
  EXPECT_EQ(NearestDockSide(rc, 500, 100, true, false), -1);
}

TEST(DragGeometry, OutsideARectangleOnlyItsOuterTwentyPixelsDock) {
  const Box rc{100, 100, 500, 400};
  EXPECT_EQ(NearestDockSide(rc, 90, 200, false, true), 0);
  EXPECT_EQ(NearestDockSide(rc, 515, 200, false, true), 1);
  EXPECT_EQ(NearestDockSide(rc, 300, 85, false, true), 2);
  EXPECT_EQ(NearestDockSide(rc, 300, 419, false, true), 3);
  EXPECT_EQ(NearestDockSide(rc, 75, 200, false, true), -1);
  // Inside the rectangle the outer search finds nothing.
  EXPECT_EQ(NearestDockSide(rc, 105, 200, false, true), -1);
  EXPECT_EQ(NearestDockSide(Box{100, 100, 100, 400}, 100, 200, true, true), -1);
}

TEST(DragGeometry, GuidesStandCentredAndSixteenPixelsInsideTheFrame) {
  EXPECT_EQ(CentreGuideRect(Box{0, 0, 400, 300}, 0), (Box{154, 104, 247, 197}));
  EXPECT_EQ(CentreGuideRect(Box{0, 0, 400, 300}, 1), (Box{156, 106, 245, 195}));
  const std::vector<PlacedGuide> guides = OuterGuides(Box{100, 50, 900, 650}, 0, 15);
  ASSERT_EQ(guides.size(), 4u);
  EXPECT_EQ(guides[0].code, kGuideTop);
  EXPECT_EQ(guides[0].rect, (Box{479, 66, 522, 96}));
  EXPECT_EQ(guides[1].rect, (Box{116, 329, 146, 372}));
  EXPECT_EQ(guides[2].rect, (Box{479, 604, 522, 634}));
  EXPECT_EQ(guides[3].rect, (Box{854, 329, 884, 372}));
  // A side the site refuses has no guide.
  const std::vector<PlacedGuide> two = OuterGuides(Box{100, 50, 900, 650}, 1, kGuideLeft | kGuideBottom);
  ASSERT_EQ(two.size(), 2u);
  EXPECT_EQ(two[0].code, kGuideLeft);
  EXPECT_EQ(two[0].rect, (Box{116, 336, 148, 365}));
  EXPECT_EQ(two[1].rect, (Box{486, 602, 515, 634}));
}

TEST(DragGeometry, TheCrossIsHitTestedPartByPartInDrawingOrder) {
  const int cross = kGuideCross | kGuideLeft | kGuideRight | kGuideTop | kGuideBottom | kGuideCentre;
  EXPECT_EQ(HitTestGuide(cross, 0, 46, 5, kAllInk), kGuideTop);
  EXPECT_EQ(HitTestGuide(cross, 0, 5, 46, kAllInk), kGuideLeft);
  EXPECT_EQ(HitTestGuide(cross, 0, 46, 88, kAllInk), kGuideBottom);
  EXPECT_EQ(HitTestGuide(cross, 0, 88, 46, kAllInk), kGuideRight);
  EXPECT_EQ(HitTestGuide(cross, 0, 46, 46, kAllInk), kGuideCentre);
  // The top arrow's sprite reaches into the centre background: drawn first, it wins there.
  EXPECT_EQ(HitTestGuide(cross, 0, 46, 27, kAllInk), kGuideTop);
  EXPECT_EQ(HitTestGuide(cross, 0, 3, 3, kAllInk), 0);
  EXPECT_EQ(HitTestGuide(cross, 0, -1, 46, kAllInk), 0);
  EXPECT_EQ(HitTestGuide(cross, 0, 93, 46, kAllInk), 0);
  // Over the client area the cross has no centre part.
  EXPECT_EQ(HitTestGuide(cross & ~kGuideCentre, 0, 46, 46, kAllInk), 0);
  EXPECT_EQ(HitTestGuide(cross, 1, 44, 44, kAllInk), kGuideCentre);
  EXPECT_EQ(HitTestGuide(cross, 1, 44, 3, kAllInk), kGuideTop);
}

TEST(DragGeometry, OnlyInkedPixelsOfTheArtworkCount) {
  // Ink only in the left half of every source rectangle column range below x 100 of the strip.
  const InkTest leftInk = [](int bitmap, int x, int) { return bitmap == 0 && x % 43 < 20; };
  EXPECT_EQ(HitTestGuide(kGuideTop, 0, 10, 10, leftInk), kGuideTop);
  EXPECT_EQ(HitTestGuide(kGuideTop, 0, 30, 10, leftInk), 0);
  // Single guides of style 1 take their own sprites at the guide's origin.
  const InkTest stripOnly = [](int bitmap, int x, int y) { return bitmap == 0 && x >= 29 && x < 61 && y >= 32; };
  EXPECT_EQ(HitTestGuide(kGuideLeft, 1, 2, 2, stripOnly), kGuideLeft);
  EXPECT_EQ(HitTestGuide(kGuideRight, 1, 2, 2, stripOnly), 0);
}

TEST(DragGeometry, TheOutlineIsTheRunsOfInkRowByRow) {
  const InkTest diamond = [](int, int x, int y) { return (x + y) % 2 == 0; };
  std::vector<Box> runs = GuideOutline(kGuideTop, 0, kAllInk);
  ASSERT_EQ(runs.size(), 30u);
  EXPECT_EQ(runs.front(), (Box{0, 0, 43, 1}));
  runs = GuideOutline(kGuideTop, 0, diamond);
  EXPECT_EQ(runs.size(), 15u * 22u + 15u * 21u);  // rows of 43 pixels alternate 22 and 21 runs
  // The cross: its background and arrows, the corners left out.
  runs = GuideOutline(kGuideCross | 15, 0, kAllInk);
  for (const Box& run : runs) EXPECT_FALSE(run.Contains(2, 2));
  EXPECT_EQ(runs.front(), (Box{25, 0, 68, 1}));
}

TEST(DragGeometry, ArrowsDockIntoTheirHalf) {
  const Box rc{0, 0, 400, 300};
  EXPECT_EQ(DockHalf(rc, kGuideLeft), (Box{0, 0, 200, 300}));
  EXPECT_EQ(DockHalf(rc, kGuideRight), (Box{200, 0, 400, 300}));
  EXPECT_EQ(DockHalf(rc, kGuideTop), (Box{0, 0, 400, 150}));
  EXPECT_EQ(DockHalf(rc, kGuideBottom), (Box{0, 150, 400, 300}));
  EXPECT_EQ(DockHalf(rc, kGuideCentre), rc);
  EXPECT_EQ(PartDirection(kGuideBottom), 3);
  EXPECT_EQ(PartDirection(kGuideCentre), -1);
}

TEST(DockDragGeometry, TheClassicGuidesAreHitTestedOnTheBlueStripWhateverTheScheme) {
  EXPECT_EQ(GuideStripBitmap(0, 2, false), 9905);
  EXPECT_EQ(GuideStripBitmap(0, 3, false), 9906);
  EXPECT_EQ(GuideStripBitmap(0, 1, false), 9904);
  EXPECT_EQ(GuideStripBitmap(0, 0, false), 9904);
  for (int scheme : {0, 1, 2, 3}) EXPECT_EQ(GuideStripBitmap(0, scheme, true), 9904) << scheme;
  EXPECT_EQ(GuideStripBitmap(1, 2, false), 9910);
  EXPECT_EQ(GuideStripBitmap(1, 2, true), 9910);
}

}  // namespace
}  // namespace dock
