#include "ui/controls/hls_color.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace ui {
namespace {

int ChannelDistance(uint32_t a, uint32_t b) {
  int most = 0;
  for (int shift = 0; shift < 24; shift += 8) {
    most = std::max(most, std::abs(static_cast<int>((a >> shift) & 0xFF) - static_cast<int>((b >> shift) & 0xFF)));
  }
  return most;
}

TEST(HlsColor, RoundTripsWithinRounding) {
  for (uint32_t colour : {0x000000u, 0xFFFFFFu, 0x0000FFu, 0x00FF00u, 0xFF0000u, 0xC0C0C0u, 0x6A240Au, 0xD77800u}) {
    EXPECT_LE(ChannelDistance(FromHls(ToHls(colour)), colour), 3) << std::hex << colour;
  }
  Hls red = ToHls(0x0000FF);
  EXPECT_EQ(red.hue, 0);
  EXPECT_EQ(red.lightness, 128);
  EXPECT_EQ(red.saturation, 255);
}

TEST(HlsColor, ChangesMoveTowardWhiteOrScaleDown) {
  // Grey has no saturation to change; lightness +50 % of the way to 255.
  EXPECT_EQ(AdjustHls(0x808080, 50, -50), 0xBFBFBFu);  // 128 + 127 / 2
  EXPECT_EQ(AdjustHls(0x808080, -50, 0), 0x404040u);
  EXPECT_EQ(AdjustHls(0x808080, 100, 0), 0xFFFFFFu);
  EXPECT_EQ(AdjustHls(0x808080, -100, 0), 0x000000u);
  // A strong highlight blue becomes a pale tint of the same hue.
  uint32_t pale = AdjustHls(0xD77800, 70, -57);
  Hls hls = ToHls(pale);
  EXPECT_GT(hls.lightness, 200);
  EXPECT_NEAR(hls.hue, ToHls(0xD77800).hue, 2);
}

}  // namespace
}  // namespace ui
