#include "engine/scan/hex_byte_pairs.h"

#include <gtest/gtest.h>

namespace {

TEST(HexBytePairs, SwapsTheTwoBytesOfAFourDigitText) {
  EXPECT_EQ(SwapHexBytePairs("4d5a"), "5a4d");
  EXPECT_EQ(SwapHexBytePairs("D0CF"), "CFD0");
  EXPECT_EQ(SwapHexBytePairs("12345678"), "3412");  // only the first four count
  EXPECT_EQ(SwapHexBytePairs("abc"), "");
  EXPECT_EQ(SwapHexBytePairs(""), "");
}

}  // namespace
