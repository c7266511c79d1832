// The OEM code pages of short names against the C library's own tables of them (iconv, towlower).
#include "engine/fat/oem_code_page.h"

#include <gtest/gtest.h>
#include <iconv.h>

#include <clocale>
#include <cwctype>
#include <string>
#include <utility>

#include "platform/os/os.h"

namespace {

// The character iconv gives for bytes in the code page it names, or 0 when it gives none or more than one.
char16_t IconvCharacter(iconv_t cd, std::string bytes) {
  char out[8] = {};
  char *from = &bytes[0], *to = out;
  size_t inLeft = bytes.size(), outLeft = sizeof out;
  iconv(cd, nullptr, nullptr, nullptr, nullptr);
  const bool done = iconv(cd, &from, &inLeft, &to, &outLeft) != static_cast<size_t>(-1) && outLeft == sizeof out - 2;
  return done ? static_cast<char16_t>(static_cast<uint8_t>(out[0]) | static_cast<uint8_t>(out[1]) << 8) : 0;
}

// What the OS layer reads bytes as in codePage: the character, or 0 when it says they stand for none.
char16_t LayerCharacter(const std::string& bytes, uint32_t codePage) {
  std::u16string text;
  return os::DecodeCodePage(bytes, codePage, &text) && text.size() == 1 ? text[0] : 0;
}

class OemCodePageTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_NE(std::setlocale(LC_CTYPE, "C.UTF-8"), nullptr); }
  void TearDown() override { std::setlocale(LC_CTYPE, "C"); }

  // Checks one character of the code page against iconv (or, where given, the character Windows reads there),
  // and its small letter against towlower.
  void Check(iconv_t cd, const std::string& bytes, uint32_t codePage, char16_t windows = 0) {
    const char16_t c = LayerCharacter(bytes, codePage);
    const char16_t expected = windows != 0 ? windows : IconvCharacter(cd, bytes);
    std::string hex;
    for (char b : bytes) hex += std::to_string(static_cast<uint8_t>(b)) + " ";
    EXPECT_EQ(c, expected) << codePage << " bytes " << hex;
    if (c != 0) {
      EXPECT_EQ(OemSmallLetter(c), static_cast<char16_t>(std::towlower(c))) << codePage << " bytes " << hex;
    }
  }
};

TEST_F(OemCodePageTest, EveryByteOfTheCodePagesOfOneByteIsItsCharacterAndCapitalsBecomeSmallLetters) {
  for (const auto& [page, name] : {std::pair<uint32_t, const char*>{437, "CP437"}, {850, "CP850"}, {852, "CP852"},
                                   {737, "CP737"}, {857, "CP857"}, {866, "CP866"}}) {
    iconv_t cd = iconv_open("UTF-16LE", name);
    ASSERT_NE(cd, reinterpret_cast<iconv_t>(-1)) << name;
    for (uint32_t byte = 0x20; byte <= 0xFF; ++byte) {
      Check(cd, std::string(1, static_cast<char>(byte)), page);
      if (page == 437 || page == 850) {
        EXPECT_EQ(os::OemCharacter(static_cast<uint8_t>(byte), page), LayerCharacter(std::string(1, char(byte)), page));
      }
    }
    iconv_close(cd);
  }
  // Readers of before read a code page without a table of its own as 850.
  EXPECT_EQ(os::OemCharacter(0x9D, 1252), os::OemCharacter(0x9D, 850));
  EXPECT_EQ(os::OemCharacter(0x8E, 866), u'\u00C4');
}

TEST_F(OemCodePageTest, EveryCharacterOfCodePage932OfOneByteOrTwoIsItsCharacter) {
  iconv_t cd = iconv_open("UTF-16LE", "CP932");
  ASSERT_NE(cd, reinterpret_cast<iconv_t>(-1));
  uint32_t pairs = 0;
  for (uint32_t first = 0x20; first <= 0xFF; ++first) {
    const auto lead = static_cast<uint8_t>(first);
    EXPECT_EQ(os::IsLeadByte(lead, 932), (first >= 0x81 && first <= 0x9F) || (first >= 0xE0 && first <= 0xFC)) << first;
    if (!os::IsLeadByte(lead, 932)) {
      // Windows reads five single bytes that iconv refuses: 0x80 as U+0080, 0xA0 and 0xFD-0xFF as private ones.
      const char16_t windows = first == 0x80   ? 0x0080
                               : first == 0xA0 ? 0xF8F0
                               : first >= 0xFD ? static_cast<char16_t>(0xF8F1 + (first - 0xFD))
                                               : 0;
      Check(cd, std::string(1, static_cast<char>(first)), 932, windows);
      continue;
    }
    for (uint32_t second = 0x40; second <= 0xFC; ++second) {
      Check(cd, std::string{static_cast<char>(first), static_cast<char>(second)}, 932);
      pairs += LayerCharacter(std::string{static_cast<char>(first), static_cast<char>(second)}, 932) != 0;
    }
  }
  iconv_close(cd);
  EXPECT_GT(pairs, 7000u);
  EXPECT_FALSE(os::IsLeadByte(0x81, 866));
}

}  // namespace
