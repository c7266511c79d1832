// Popup shadows: the strips' places, strips of neighbouring popups kept apart, and the layered pixels.
#include "toolkit/commandbars/bars/shadow_geometry.h"

#include <gtest/gtest.h>

namespace {

uint32_t Alpha(uint32_t pixel) { return pixel >> 24; }

TEST(ShadowGeometry, StripsLieRightOfAndBelowThePopupOffsetByTheirDepth) {
  const CRect popup(100, 50, 300, 250);
  EXPECT_EQ(TKPShadowStrip(true, popup, TKPShadowDepth(true)), CRect(104, 250, 304, 254));
  EXPECT_EQ(TKPShadowStrip(false, popup, TKPShadowDepth(true)), CRect(300, 54, 304, 250));
  EXPECT_EQ(TKPShadowStrip(false, popup, TKPShadowDepth(false)), CRect(300, 52, 302, 250));
}

TEST(ShadowGeometry, AStripMeetingAStripOfTheOtherDirectionIsShortenedAtThatEnd) {
  // A sub-menu opened beside a menu: its bottom strip runs into nothing, the menu's right strip runs
  // under the sub-menu's bottom strip when the sub-menu ends lower.
  const CRect menu(100, 50, 300, 250);
  const CRect sub(300, 60, 450, 200);
  std::vector<TKPShadowStripRef> strips = {{TKPShadowStrip(true, menu, 4), true},
                                           {TKPShadowStrip(false, menu, 4), false}};
  const CRect subBottom = TKPShortenShadowStrip(TKPShadowStrip(true, sub, 4), true, strips);
  EXPECT_EQ(subBottom, CRect(304, 200, 454, 204));  // starts right of the menu's strip
  const CRect overlapping(290, 240, 400, 244);
  EXPECT_EQ(TKPShortenShadowStrip(overlapping, true, strips), CRect(304, 240, 400, 244));
  const CRect endingInside(200, 240, 302, 244);
  EXPECT_EQ(TKPShortenShadowStrip(endingInside, true, strips), CRect(200, 240, 300, 244));
  // A vertical strip crossing the menu's bottom strip at its lower end loses that end.
  const CRect down(250, 100, 254, 252);
  EXPECT_EQ(TKPShortenShadowStrip(down, false, strips), CRect(250, 100, 254, 250));
  // Strips of the same direction are left alone.
  EXPECT_EQ(TKPShortenShadowStrip(CRect(0, 250, 500, 254), true, strips), CRect(0, 250, 500, 254));
}

TEST(ShadowGeometry, VerticalStripFadesInAtTheTopThenStepsOutwards) {
  const auto px = TKPShadowPixels(false, 4, 10, 0, 2);
  ASSERT_EQ(px.size(), 40u);
  EXPECT_EQ(Alpha(px[0]), 6u);            // i 1, j 1: 3 x 2 x 1 x 1
  EXPECT_EQ(Alpha(px[3 * 4 + 3]), 96u);   // i 4, j 4
  EXPECT_EQ(Alpha(px[2 * 4 + 1]), 36u);   // i 2, j 3
  EXPECT_EQ(Alpha(px[5 * 4 + 0]), 120u);  // the body: 60, 45, 30, 15 times the strength
  EXPECT_EQ(Alpha(px[5 * 4 + 1]), 90u);
  EXPECT_EQ(Alpha(px[9 * 4 + 3]), 30u);
  EXPECT_EQ(px[9 * 4 + 3] & 0xFFFFFFu, 0u);  // black stays black
}

TEST(ShadowGeometry, HorizontalStripFadesAtBothEndsAndStepsDownwards) {
  const auto px = TKPShadowPixels(true, 12, 4, 0, 1);
  ASSERT_EQ(px.size(), 48u);
  EXPECT_EQ(Alpha(px[0]), 3u);
  EXPECT_EQ(Alpha(px[3 * 12 + 3]), 48u);
  EXPECT_EQ(Alpha(px[11]), 3u);            // the right end's outermost pixel
  EXPECT_EQ(Alpha(px[3 * 12 + 8]), 48u);
  EXPECT_EQ(Alpha(px[0 * 12 + 5]), 60u);   // the body, by row from the popup's edge
  EXPECT_EQ(Alpha(px[3 * 12 + 6]), 15u);
}

TEST(ShadowGeometry, ColouredShadowsScaleTheBaseAndStayPremultiplied) {
  // Base 0x00402010: red 0x10, green 0x20, blue 0x40.
  const auto px = TKPShadowPixels(false, 4, 6, 0x00402010u, 1);
  const uint32_t body = px[5 * 4 + 1];  // factor 0.75, alpha 45
  EXPECT_EQ(Alpha(body), 45u);
  EXPECT_EQ((body >> 16) & 0xFF, 12u);  // red 16 x 0.75
  EXPECT_EQ((body >> 8) & 0xFF, 24u);
  EXPECT_EQ(body & 0xFF, 45u);          // blue 48 held at the alpha
  const auto white = TKPShadowPixels(false, 4, 6, 0x00FFFFFFu, 2);
  for (uint32_t p : white) EXPECT_LE(p & 0xFF, Alpha(p));
}

TEST(ShadowGeometry, EmptyStripsHaveNoPixels) {
  EXPECT_TRUE(TKPShadowPixels(true, 0, 4, 0, 1).empty());
  EXPECT_TRUE(TKPShadowPixels(false, 4, -1, 0, 1).empty());
}

}  // namespace
