#include "toolkit/common/profile_hex.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using namespace tkprofile;

TEST(ProfileHex, EachByteIsTwoLettersLowHalfFirst) {
  const std::uint8_t bytes[] = {0x12, 0x34};
  EXPECT_EQ(EncodeBinary(bytes, 2), u"CBED");
  EXPECT_EQ(EncodeBinary(nullptr, 0), u"");
  std::vector<std::uint8_t> back;
  ASSERT_TRUE(DecodeBinary(u"CBED", &back));
  EXPECT_EQ(back, (std::vector<std::uint8_t>{0x12, 0x34}));
}

TEST(ProfileHex, EveryByteValueComesBack) {
  std::vector<std::uint8_t> all(256);
  for (int i = 0; i < 256; ++i) all[i] = static_cast<std::uint8_t>(i);
  std::vector<std::uint8_t> back;
  ASSERT_TRUE(DecodeBinary(EncodeBinary(all.data(), all.size()), &back));
  EXPECT_EQ(back, all);
}

TEST(ProfileHex, EmptyOddAndForeignTexts) {
  std::vector<std::uint8_t> back{1, 2};
  EXPECT_FALSE(DecodeBinary(u"", &back));
  EXPECT_TRUE(back.empty());
  EXPECT_FALSE(DecodeBinary(u"C", &back));  // one letter makes no byte
  ASSERT_TRUE(DecodeBinary(u"CBEDP", &back));  // a final odd letter is ignored
  EXPECT_EQ(back.size(), 2u);
  EXPECT_FALSE(DecodeBinary(u"CBEQ", &back));  // Q is past the sixteen letters
  EXPECT_FALSE(DecodeBinary(u"cb", &back));
  EXPECT_TRUE(back.empty());
}

TEST(ProfileHex, FloatsAndDoublesComeBackBitForBit) {
  const float floats[] = {0.5f, -0.0f, 1e-40f, std::numeric_limits<float>::max(),
                          std::numeric_limits<float>::infinity()};
  for (float f : floats) {
    std::vector<std::uint8_t> bytes = FloatBytes(f);
    ASSERT_EQ(bytes.size(), 4u);
    std::vector<std::uint8_t> text;
    ASSERT_TRUE(DecodeBinary(EncodeBinary(bytes.data(), bytes.size()), &text));
    float back = 1.0f;
    ASSERT_TRUE(FloatFromBytes(text.data(), text.size(), &back));
    EXPECT_EQ(std::signbit(back), std::signbit(f));
    EXPECT_EQ(back, f);
  }
  EXPECT_EQ(FloatBytes(0.5f), (std::vector<std::uint8_t>{0x00, 0x00, 0x00, 0x3F}));
  const double doubles[] = {0.75, -1234.5678, 5e-324, std::numeric_limits<double>::lowest()};
  for (double d : doubles) {
    std::vector<std::uint8_t> bytes = DoubleBytes(d);
    ASSERT_EQ(bytes.size(), 8u);
    double back = 0;
    ASSERT_TRUE(DoubleFromBytes(bytes.data(), bytes.size(), &back));
    EXPECT_EQ(back, d);
  }
  double nan = std::nan("");
  double back = 0;
  std::vector<std::uint8_t> bytes = DoubleBytes(nan);
  ASSERT_TRUE(DoubleFromBytes(bytes.data(), 8, &back));
  EXPECT_TRUE(std::isnan(back));
}

TEST(ProfileHex, ReadingWantsExactlyTheStoredSize) {
  std::vector<std::uint8_t> bytes = DoubleBytes(2.0);
  float f = 0;
  double d = 0;
  EXPECT_FALSE(FloatFromBytes(bytes.data(), bytes.size(), &f));
  EXPECT_FALSE(DoubleFromBytes(bytes.data(), 4, &d));
  EXPECT_FALSE(DoubleFromBytes(nullptr, 8, &d));
}
