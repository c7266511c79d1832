// The OEM code pages of short names against the C library's own tables of them (iconv, towlower).
#include "engine/fat/oem_code_page.h"

#include <gtest/gtest.h>
#include <iconv.h>

#include <clocale>
#include <cwctype>
#include <utility>

namespace {

// The character iconv gives for byte in the code page it names, or 0 when it gives none.
char16_t IconvCharacter(const char* codePage, uint8_t byte) {
  iconv_t cd = iconv_open("UTF-16LE", codePage);
  if (cd == reinterpret_cast<iconv_t>(-1)) return 0;
  char in[1] = {static_cast<char>(byte)}, out[4] = {};
  char *from = in, *to = out;
  size_t inLeft = 1, outLeft = sizeof out;
  const bool done = iconv(cd, &from, &inLeft, &to, &outLeft) != static_cast<size_t>(-1) && outLeft == 2;
  iconv_close(cd);
  return done ? static_cast<char16_t>(static_cast<uint8_t>(out[0]) | static_cast<uint8_t>(out[1]) << 8) : 0;
}

TEST(OemCodePageTest, EveryByteIsItsCodePagesCharacterAndCapitalsBecomeTheCLibrarysSmallLetters) {
  ASSERT_NE(std::setlocale(LC_CTYPE, "C.UTF-8"), nullptr);
  for (const auto& [page, name] : {std::pair<uint32_t, const char*>{437, "CP437"}, {850, "CP850"}}) {
    for (uint32_t byte = 0x20; byte <= 0xFF; ++byte) {
      const char16_t c = os::OemCharacter(static_cast<uint8_t>(byte), page);
      EXPECT_EQ(c, IconvCharacter(name, static_cast<uint8_t>(byte))) << name << " byte " << byte;
      EXPECT_EQ(OemSmallLetter(c), static_cast<char16_t>(std::towlower(c))) << name << " byte " << byte;
    }
  }
  std::setlocale(LC_CTYPE, "C");
  // A code page without a table of its own reads as 850.
  EXPECT_EQ(os::OemCharacter(0x9D, 1252), os::OemCharacter(0x9D, 850));
}

}  // namespace
