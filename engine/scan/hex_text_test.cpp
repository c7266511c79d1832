#include "engine/scan/hex_text.h"

#include <gtest/gtest.h>

namespace {

TEST(HexText, BytesToHexText) {
  const uint8_t bytes[] = {0xD0, 0xCF, 0x00, 0x0A, 0xFF};
  EXPECT_EQ(BytesToHexText(bytes, 2), "d0cf");
  EXPECT_EQ(BytesToHexText(bytes, 5), "d0cf000aff");
  EXPECT_EQ(BytesToHexText(bytes, 0), "");
  EXPECT_EQ(BytesToHexText(bytes, -3), "");
  EXPECT_EQ(BytesToUpperHexText(bytes, 5), "D0CF000AFF");
}

TEST(HexText, HexTextToBytes) {
  struct Case {
    const char* text;
    bool ok;
    std::vector<uint8_t> bytes;
  };
  const Case cases[] = {
      {"D0CF11E0", true, {0xD0, 0xCF, 0x11, 0xE0}},
      {"d0cF", true, {0xD0, 0xCF}},
      {"", true, {}},
      {"ABC", false, {}},   // odd length
      {"0G", false, {}},    // not a digit
      {"0 1A", false, {}},  // no spaces
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    std::vector<uint8_t> bytes{1, 2, 3};
    EXPECT_EQ(HexTextToBytes(c.text, &bytes), c.ok);
    EXPECT_EQ(bytes, c.bytes);
  }
}

}  // namespace
