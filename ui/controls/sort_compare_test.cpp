#include "ui/controls/sort_compare.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

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

TEST(SortCompare, DatesThatDoNotParseOrAreEqualCompareEqual) {
  EXPECT_EQ(CompareSortTexts(u"1", u"2", kSortDate, FakeDate), -1);
  EXPECT_EQ(CompareSortTexts(u"1", u"2", -kSortDate, FakeDate), 1);
  EXPECT_EQ(CompareSortTexts(u"2", u"2", kSortDate, FakeDate), 0);
  EXPECT_EQ(CompareSortTexts(u"never", u"2", kSortDate, FakeDate), 0);
  EXPECT_EQ(CompareSortTexts(u"2", u"never", -kSortDate, FakeDate), 0);
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
