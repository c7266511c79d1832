#include "toolkit/tabmanager/tab_ellipsis.h"

#include <algorithm>

namespace tktab {

namespace {

constexpr std::u16string_view kDots = u"...";

bool IsHighSurrogate(char16_t c) { return c >= 0xD800 && c <= 0xDBFF; }
bool IsLowSurrogate(char16_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

// The first `count` units, one fewer when the last would be the first half of a pair.
std::u16string_view Head(std::u16string_view text, size_t count) {
  count = std::min(count, text.size());
  if (count > 0 && IsHighSurrogate(text[count - 1])) --count;
  return text.substr(0, count);
}

// The last `count` units, one fewer when the first would be the second half of a pair.
std::u16string_view Tail(std::u16string_view text, size_t count) {
  count = std::min(count, text.size());
  size_t start = text.size() - count;
  if (count > 0 && IsLowSurrogate(text[start])) ++start;
  return text.substr(start);
}

struct Cut {
  std::u16string_view head, tail;
};

Cut CutAt(std::u16string_view text, int n) {
  const size_t tail = static_cast<size_t>(n / 2);
  return {Head(text, static_cast<size_t>(n) - tail), Tail(text, tail)};
}

// The largest n in [low, high] for which fits(n) holds, fits(low) assumed; fits holds up to some n and
// not after it (the cut's widths grow with n).
template <typename Fits>
int LargestFitting(int low, int high, Fits fits) {
  while (low < high) {
    const int middle = low + (high - low + 1) / 2;
    if (fits(middle)) {
      low = middle;
    } else {
      high = middle - 1;
    }
  }
  return low;
}

}  // namespace

EllipsisResult MiddleEllipsis(std::u16string_view text, int width, TextWidthMeasurer& measurer) {
  EllipsisResult result;
  if (text.find(u'\\') != std::u16string_view::npos) {
    result.kind = measurer.Width(text) <= width ? EllipsisKind::kFits : EllipsisKind::kPath;
    result.text = std::u16string(text);
    return result;
  }
  const int textWidth = measurer.Width(text);
  if (textWidth <= width) {
    result.text = std::u16string(text);
    return result;
  }
  result.kind = EllipsisKind::kMiddle;
  const int dotsWidth = measurer.Width(kDots);
  if (width <= dotsWidth || textWidth <= 0) {
    result.text = std::u16string(kDots);
    return result;
  }
  const int space = width - dotsWidth;
  const int length = static_cast<int>(text.size());
  auto widthAt = [&](int n) {
    const Cut cut = CutAt(text, n);
    return measurer.Width(cut.head) + measurer.Width(cut.tail);
  };
  const int n = LargestFitting(0, length - 1, [&](int k) { return widthAt(k) <= space; });
  const Cut cut = CutAt(text, n);
  result.text = std::u16string(cut.head) + std::u16string(kDots) + std::u16string(cut.tail);
  return result;
}

std::u16string EndEllipsis(std::u16string_view text, int width, TextWidthMeasurer& measurer) {
  if (measurer.Width(text) <= width) return std::u16string(text);
  const auto cutTo = [&](int n) { return std::u16string(Head(text, static_cast<size_t>(n))) + std::u16string(kDots); };
  const int length = static_cast<int>(text.size());
  return cutTo(LargestFitting(0, length - 1, [&](int n) { return measurer.Width(cutTo(n)) <= width; }));
}

}  // namespace tktab
