#include "ui/controls/sort_compare.h"

#include <cstdlib>
#include <limits>

#include "platform/classlib/cstring.h"

namespace ui {
namespace {

template <class T>
int Order(const T& a, const T& b) {
  return a < b ? -1 : (b < a ? 1 : 0);
}

int CompareNoCase(const std::u16string& a, const std::u16string& b) {
  CString left(reinterpret_cast<LPCTSTR>(a.c_str()));
  int result = left.CompareNoCase(reinterpret_cast<LPCTSTR>(b.c_str()));
  return Order(result, 0);
}

// A text that is no date (an empty column: a time the volume never set, or one no calendar holds) stands
// before every date, and all such texts as one: were they equal to every date, the order would not be one, and
// a sort could leave 2021 above 2019.
int CompareDates(const std::u16string& a, const std::u16string& b, DateParser parseDate) {
  if (parseDate == nullptr) return 0;
  double first = 0;
  double second = 0;
  const bool firstIsDate = parseDate(a, &first);
  const bool secondIsDate = parseDate(b, &second);
  if (firstIsDate != secondIsDate) return firstIsDate ? 1 : -1;
  return firstIsDate ? Order(first, second) : 0;
}

// A run of 1 to digits decimal digits from at; false when there is none.
bool ReadField(const std::u16string& text, size_t& at, size_t digits, uint32_t* value) {
  const size_t first = at;
  *value = 0;
  while (at < text.size() && at - first < digits && text[at] >= u'0' && text[at] <= u'9') {
    *value = *value * 10 + static_cast<uint32_t>(text[at++] - u'0');
  }
  return at > first;
}

// Three fields separated by separator from at, of at most digits[i] digits each.
bool ReadFields(const std::u16string& text, size_t& at, char16_t separator, const size_t (&digits)[3],
                uint32_t (&fields)[3]) {
  for (size_t i = 0; i < 3; ++i) {
    if (i > 0 && (at >= text.size() || text[at++] != separator)) return false;
    if (!ReadField(text, at, digits[i], &fields[i])) return false;
  }
  return true;
}

}  // namespace

bool ParseListDate(const std::u16string& text, double* value) {
  uint32_t date[3] = {0, 0, 0}, time[3] = {0, 0, 0};
  size_t at = 0;
  if (!ReadFields(text, at, u'-', {2, 2, 5}, date)) return false;
  if (at < text.size() && text[at] == u' ') ++at;
  if (at < text.size() && !ReadFields(text, at, u':', {2, 2, 2}, time)) return false;
  while (at < text.size() && text[at] == u' ') ++at;
  if (at != text.size()) return false;
  // Year, then month, day, hour, minute and second two digits each: below 2^53, exact in a double.
  double key = date[2];
  for (uint32_t field : {date[1], date[0], time[0], time[1], time[2]}) key = key * 100 + field;
  *value = key;
  return true;
}

unsigned long long SortDigits(const std::u16string& text) {
  constexpr unsigned long long kMax = std::numeric_limits<unsigned long long>::max();
  unsigned long long value = 0;
  for (char16_t c : text) {
    if (c < u'0' || c > u'9') continue;
    unsigned digit = static_cast<unsigned>(c - u'0');
    if (value > (kMax - digit) / 10) return kMax;
    value = value * 10 + digit;
  }
  return value;
}

double SortDecimal(const std::u16string& text) {
  // The text as an 8-bit string of at most 255 bytes; a character outside ASCII ends the number there.
  std::string narrow;
  for (char16_t c : text) {
    if (narrow.size() == 255) break;
    narrow.push_back(c < 0x80 ? static_cast<char>(c) : '?');
  }
  return std::strtod(narrow.c_str(), nullptr);
}

int CompareSortTexts(const std::u16string& text1, const std::u16string& text2, int parameter,
                     DateParser parseDate) {
  const int sign = parameter < 0 ? -1 : 1;
  const int type = parameter < 0 ? -parameter : parameter;
  switch (type) {
    case kSortInteger:
      return Order(SortDigits(text1), SortDigits(text2)) * sign;
    case kSortText:
      return CompareNoCase(text1, text2) * sign;
    case kSortDate:
      return CompareDates(text1, text2, parseDate) * sign;
    case kSortDecimal:
      return Order(SortDecimal(text1), SortDecimal(text2)) * sign;
    default:
      return 0;
  }
}

}  // namespace ui
