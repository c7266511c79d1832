#include "engine/listing/file_name_case.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace {

TEST(FileNameCase, MapsSmallLettersOfEachRangeToTheirCapitals) {
  struct Pair {
    char16_t small, capital;
  };
  const Pair pairs[] = {
      {u'a', u'A'},           {u'z', u'Z'},           {u'\u00E9', u'\u00C9'}, {u'\u00FE', u'\u00DE'},
      {u'\u00FF', u'\u0178'}, {u'\u0101', u'\u0100'}, {u'\u012F', u'\u012E'}, {u'\u0133', u'\u0132'},
      {u'\u013A', u'\u0139'}, {u'\u0148', u'\u0147'}, {u'\u014B', u'\u014A'}, {u'\u0177', u'\u0176'},
      {u'\u017E', u'\u017D'}, {u'\u03B1', u'\u0391'}, {u'\u03C2', u'\u03A3'}, {u'\u03C3', u'\u03A3'},
      {u'\u03AC', u'\u0386'}, {u'\u03AF', u'\u038A'}, {u'\u03CC', u'\u038C'}, {u'\u03CE', u'\u038F'},
      {u'\u0436', u'\u0416'}, {u'\u0451', u'\u0401'}, {u'\u0461', u'\u0460'}, {u'\u04BF', u'\u04BE'},
      {u'\u04C2', u'\u04C1'}, {u'\u04CF', u'\u04C0'}, {u'\u04FF', u'\u04FE'}, {u'\u0561', u'\u0531'},
      {u'\u0586', u'\u0556'}, {u'\uFF41', u'\uFF21'}, {u'\uFF5A', u'\uFF3A'},
  };
  for (const Pair& p : pairs) {
    EXPECT_EQ(file_name::UpperCaseChar(p.small), p.capital) << std::hex << uint32_t(p.small);
    EXPECT_EQ(file_name::UpperCaseChar(p.capital), p.capital) << std::hex << uint32_t(p.capital);
  }
}

TEST(FileNameCase, LeavesWhatHasNoOneUnitCapital) {
  for (char16_t c : {u'1', u'.', u'*', u'?', u'{', u'`', u'\u00DF', u'\u00B5', u'\u00F7', u'\u0131',
                     u'\u0138', u'\u0149', u'\u017F', u'\u4E2D', u'\uFFFF'}) {
    EXPECT_EQ(file_name::UpperCaseChar(c), c) << std::hex << uint32_t(c);
  }
}

TEST(FileNameCase, EveryUnitMapsOnceAndCapitalsStay) {
  for (uint32_t i = 0; i <= 0xFFFF; ++i) {
    const char16_t c = static_cast<char16_t>(i);
    const char16_t upper = file_name::UpperCaseChar(c);
    ASSERT_EQ(file_name::UpperCaseChar(upper), upper) << std::hex << i;
  }
  EXPECT_EQ(file_name::UpperCase(u"readme.txt \u00e9t\u00e9 \u0436"), u"README.TXT \u00C9T\u00C9 \u0416");
  EXPECT_EQ(file_name::UpperCase(u""), u"");
}

}  // namespace
