#include "ui/controls/sort_compare.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "platform/os/os.h"

namespace ui {
namespace {

std::vector<std::u16string> Sorted(std::vector<std::u16string> texts, int parameter,
                                   DateParser parseDate = nullptr) {
  std::stable_sort(texts.begin(), texts.end(), [&](const std::u16string& a, const std::u16string& b) {
    return CompareSortTexts(a, b, parameter, parseDate) < 0;
  });
  return texts;
}

TEST(SortCompare, IntegersCountOnlyTheDigits) {
  using V = std::vector<std::u16string>;
  EXPECT_EQ(Sorted({u"10 MB", u"9 MB", u"100 KB"}, kSortInteger), (V{u"9 MB", u"10 MB", u"100 KB"}));
  EXPECT_EQ(Sorted({u"10 MB", u"9 MB", u"100 KB"}, -kSortInteger), (V{u"100 KB", u"10 MB", u"9 MB"}));
  EXPECT_EQ(SortDigits(u"1,234,567 bytes"), 1234567u);
  EXPECT_EQ(SortDigits(u"KB"), 0u);
  EXPECT_EQ(CompareSortTexts(u"", u"0", kSortInteger, nullptr), 0);
}

TEST(SortCompare, SizesPastTwoAndFourGibSortByValue) {
  // 2 GiB, 4 GiB + 1 and 6 GiB: in 32 bits their differences would wrap and turn the order around.
  const std::u16string twoGib = u"2147483648", pastFour = u"4294967297", sixGib = u"6442450944";
  EXPECT_EQ(CompareSortTexts(twoGib, u"1", kSortInteger, nullptr), 1);
  EXPECT_EQ(CompareSortTexts(u"1", twoGib, kSortInteger, nullptr), -1);
  EXPECT_EQ(CompareSortTexts(pastFour, u"2", kSortInteger, nullptr), 1);
  EXPECT_EQ(CompareSortTexts(sixGib, twoGib, kSortInteger, nullptr), 1);
  EXPECT_EQ(CompareSortTexts(sixGib, sixGib, kSortInteger, nullptr), 0);
  EXPECT_EQ(CompareSortTexts(sixGib, twoGib, -kSortInteger, nullptr), -1);
  using V = std::vector<std::u16string>;
  EXPECT_EQ(Sorted({sixGib, u"512", pastFour, twoGib, u"2147483647"}, kSortInteger),
            (V{u"512", u"2147483647", twoGib, pastFour, sixGib}));
  // More digits than 64 bits hold: the largest value, still above every size.
  EXPECT_EQ(CompareSortTexts(u"99999999999999999999999", u"18446744073709551614", kSortInteger, nullptr), 1);
}

TEST(SortCompare, TextIgnoresCase) {
  EXPECT_EQ(CompareSortTexts(u"apple", u"BANANA", kSortText, nullptr), -1);
  EXPECT_EQ(CompareSortTexts(u"apple", u"BANANA", -kSortText, nullptr), 1);
  EXPECT_EQ(CompareSortTexts(u"Report.DOC", u"report.doc", kSortText, nullptr), 0);
}

bool FakeDate(const std::u16string& text, double* value) {
  if (text.empty() || text[0] < u'0' || text[0] > u'9') return false;
  *value = static_cast<double>(SortDigits(text));
  return true;
}

// An empty date column (a time never set, or out of any calendar) is no date: such rows stand together
// before the dates ascending and after them descending, and the dates keep their order around them.
TEST(SortCompare, TextsThatAreNoDateStandTogetherBeforeTheDates) {
  EXPECT_EQ(CompareSortTexts(u"1", u"2", kSortDate, FakeDate), -1);
  EXPECT_EQ(CompareSortTexts(u"1", u"2", -kSortDate, FakeDate), 1);
  EXPECT_EQ(CompareSortTexts(u"2", u"2", kSortDate, FakeDate), 0);
  EXPECT_EQ(CompareSortTexts(u"never", u"2", kSortDate, FakeDate), -1);
  EXPECT_EQ(CompareSortTexts(u"2", u"never", kSortDate, FakeDate), 1);
  EXPECT_EQ(CompareSortTexts(u"2", u"never", -kSortDate, FakeDate), -1);
  EXPECT_EQ(CompareSortTexts(u"never", u"", kSortDate, FakeDate), 0);
  EXPECT_EQ(CompareSortTexts(u"", u"", -kSortDate, FakeDate), 0);

  using V = std::vector<std::u16string>;
  const V shown = {u"1-1-2021 0:0:0", u"", u"5-9-2019 1:2:3", u"", u"13-9-2020 12:26:40", u"", u"2-3-2019 0:0:0"};
  EXPECT_EQ(Sorted(shown, kSortDate, ParseListDate),
            (V{u"", u"", u"", u"2-3-2019 0:0:0", u"5-9-2019 1:2:3", u"13-9-2020 12:26:40", u"1-1-2021 0:0:0"}));
  EXPECT_EQ(Sorted(shown, -kSortDate, ParseListDate),
            (V{u"1-1-2021 0:0:0", u"13-9-2020 12:26:40", u"5-9-2019 1:2:3", u"2-3-2019 0:0:0", u"", u"", u""}));
}

// The lists write dates day first: 10 Jan, 15 Feb, 2 Mar and 5 Sep sort in that order, times within a day.
TEST(SortCompare, TheListsOwnDatesSortByDayMonthYearAndTime) {
  const std::u16string fat[] = {u"10-01-2020 ", u"15-02-2020 ", u"02-03-2020 ", u"05-09-2020 ", u"01-01-2021 "};
  const std::u16string ntfs[] = {u"10-1-2020 9:5:7", u"10-1-2020 10:0:0", u"15-2-2020 0:0:0", u"2-3-2020 23:59:59",
                                 u"5-9-2020 1:2:3"};
  for (const auto* dates : {fat, ntfs}) {
    for (size_t i = 0; i + 1 < 5; ++i) {
      EXPECT_EQ(CompareSortTexts(dates[i], dates[i + 1], kSortDate, ParseListDate), -1) << os::ToUtf8(dates[i]);
      EXPECT_EQ(CompareSortTexts(dates[i], dates[i + 1], -kSortDate, ParseListDate), 1) << os::ToUtf8(dates[i]);
    }
  }
  // A FAT date that names no day sorts by its fields; an empty time (none could be read) and other texts do
  // not parse.
  EXPECT_EQ(CompareSortTexts(u"31-13-2019 ", u"01-01-2020 ", kSortDate, ParseListDate), -1);
  double value = 0;
  for (const char16_t* text : {u"", u"1/2/2020", u"1-2", u"1-2-2020 1:2", u"1-2-2020x", u"123-1-2020"}) {
    EXPECT_FALSE(ParseListDate(text, &value)) << os::ToUtf8(text);
  }
}

TEST(SortCompare, DecimalsAndUnknownTypes) {
  EXPECT_EQ(CompareSortTexts(u"2.5", u"10", kSortDecimal, nullptr), -1);
  EXPECT_EQ(CompareSortTexts(u"-1.5e3", u"-2", -kSortDecimal, nullptr), 1);
  EXPECT_EQ(CompareSortTexts(u"3.0", u"3", kSortDecimal, nullptr), 0);
  EXPECT_EQ(SortDecimal(u"abc"), 0.0);
  EXPECT_EQ(SortDecimal(u"  42.5 %"), 42.5);
  EXPECT_EQ(SortDecimal(u"1\u00E92"), 1.0);
  EXPECT_EQ(CompareSortTexts(u"1", u"2", 0, nullptr), 0);
  EXPECT_EQ(CompareSortTexts(u"1", u"2", 5, nullptr), 0);
  EXPECT_EQ(CompareSortTexts(u"1", u"2", -7, nullptr), 0);
}

}  // namespace
}  // namespace ui
