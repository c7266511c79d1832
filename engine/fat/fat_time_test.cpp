#include "engine/fat/fat_time.h"

#include <gtest/gtest.h>

namespace {

uint16_t FatDate(uint32_t year, uint32_t month, uint32_t day) {
  return static_cast<uint16_t>((year - 1980) << 9 | month << 5 | day);
}

TEST(FatTimeTest, FatDatesShowTwoDigitDayAndMonthAndEndWithABlank) {
  const struct {
    uint16_t word;
    const char16_t* shown;
  } cases[] = {
      {FatDate(2020, 9, 13), u"13-09-2020 "},
      {FatDate(1980, 1, 1), u"01-01-1980 "},
      {FatDate(1999, 12, 31), u"31-12-1999 "},
      // Fields that name no real date are shown as stored; the word 0, a date never set, as nothing.
      {0x0000, u""},
      {0x0001, u"01-00-1980 "},
      {FatDate(2001, 2, 30), u"30-02-2001 "},
      {0xFFFF, u"31-15-2107 "},
  };
  for (const auto& c : cases) {
    std::u16string out = u"old";
    FormatFatDate(c.word, out);
    EXPECT_EQ(out, c.shown) << c.word;
  }
}

TEST(FatTimeTest, FileTimesShowWithoutLeadingZerosAndTimesNeverSetOrNotConvertedShowNothing) {
  const struct {
    uint64_t time;
    const char16_t* shown;
  } cases[] = {
      {(1600000000ull + 11644473600ull) * 10000000ull, u"13-9-2020 12:26:40"},
      {(1600000000ull + 11644473600ull) * 10000000ull + 9999999, u"13-9-2020 12:26:40"},  // parts of a second
      {0, u""},                     // never set
      {1, u"1-1-1601 0:0:0"},
      {0x7FFFFFFFFFFFFFFFull, u"14-9-30828 2:48:5"},  // the last time Windows converts
      {0x8000000000000000ull, u""},                   // beyond: nothing, not what a failed conversion left
      {0xFFFFFFFFFFFFFFFFull, u""},
  };
  for (const auto& c : cases) {
    std::u16string out = u"old";
    FormatFileTime(static_cast<uint32_t>(c.time), static_cast<uint32_t>(c.time >> 32), out);
    EXPECT_EQ(out, c.shown) << c.time;
  }
}

}  // namespace
