#include "app/logic/thumbnail_order.h"

namespace applogic {
namespace {

bool IsDigit(char16_t c) { return c >= u'0' && c <= u'9'; }

// The digit run of s from at: its end, and its value's digits without leading zeros.
size_t DigitRun(const std::u16string& s, size_t at, size_t& significant) {
  size_t end = at;
  while (end < s.size() && IsDigit(s[end])) ++end;
  size_t first = at;
  while (first + 1 < end && s[first] == u'0') ++first;
  significant = first;
  return end;
}

// -1, 0 or 1 by value and then by run length; the runs may be of any length (no overflow).
int CompareRuns(const std::u16string& a, size_t ia, size_t& ea, const std::u16string& b, size_t ib, size_t& eb) {
  size_t sa = 0, sb = 0;
  ea = DigitRun(a, ia, sa);
  eb = DigitRun(b, ib, sb);
  const size_t la = ea - sa, lb = eb - sb;
  if (la != lb) return la < lb ? -1 : 1;
  for (size_t k = 0; k < la; ++k)
    if (a[sa + k] != b[sb + k]) return a[sa + k] < b[sb + k] ? -1 : 1;
  if (ea - ia != eb - ib) return ea - ia < eb - ib ? -1 : 1;
  return 0;
}

}  // namespace

bool ThumbnailNameLess(const std::u16string& a, const std::u16string& b) {
  size_t i = 0, j = 0;
  while (i < a.size() && j < b.size()) {
    if (IsDigit(a[i]) && IsDigit(b[j])) {
      size_t ea = 0, eb = 0;
      const int order = CompareRuns(a, i, ea, b, j, eb);
      if (order != 0) return order < 0;
      i = ea;
      j = eb;
      continue;
    }
    if (a[i] != b[j]) return a[i] < b[j];
    ++i;
    ++j;
  }
  if (i < a.size() || j < b.size()) return j < b.size();
  return a < b;
}

}  // namespace applogic
