#include "ui/controls/progress_math.h"

#include <algorithm>
#include <array>
#include <cstdlib>

#include "ui/draw/colour_ops.h"

namespace progress {
namespace {

std::array<int, 3> Channels(Colour c) { return {draw::RedOf(c), draw::GreenOf(c), draw::BlueOf(c)}; }

bool InRange(int lower, int upper, int position) {
  return position >= std::min(lower, upper) && position <= std::max(lower, upper);
}

}  // namespace

Span EqualPart(int left, int right, int index, int count) {
  if (count <= 0) return {left, right};
  int64_t width = static_cast<int64_t>(right) - left;
  Span part;
  part.left = left + static_cast<int>(index * width / count);
  part.right = index + 1 >= count ? right : left + static_cast<int>((index + 1) * width / count);
  return part;
}

int BarLength(int lower, int upper, int position, int length) {
  if (upper == lower || !InRange(lower, upper, position)) return 0;
  return static_cast<int>((static_cast<double>(position) - lower) * length /
                          (static_cast<double>(upper) - lower));
}

int Percent(int lower, int upper, int position) {
  if (upper == lower) return 0;
  return static_cast<int>((static_cast<double>(position) - lower) * 100.0 / (static_cast<double>(upper) - lower));
}

CString DialogPercentText(int lower, int upper, int position) {
  int percent = Percent(lower, upper, position);
  if (percent != 100) percent %= 100;
  CString text;
  text.Format(_T("%d%c"), percent, _T('%'));
  return text;
}

int Share(int lower, int upper, int position, int length) {
  if (upper <= lower) return 0;
  int64_t share = (static_cast<int64_t>(position) - lower) * length / (static_cast<int64_t>(upper) - lower);
  return static_cast<int>(std::clamp<int64_t>(share, INT32_MIN, INT32_MAX));
}

int StepCount(Colour from, Colour to, int width, bool lowColour) {
  if (lowColour) return 1;
  std::array<int, 3> a = Channels(from), b = Channels(to);
  int largest = 0;
  for (size_t i = 0; i < 3; ++i) largest = std::max(largest, std::abs(b[i] - a[i]));
  return std::max(1, std::min(largest, width));
}

Colour StepColour(Colour from, Colour to, int index, int steps) {
  std::array<int, 3> a = Channels(from), b = Channels(to), step{};
  for (size_t i = 0; i < 3; ++i) step[i] = std::clamp(a[i] + index * (b[i] - a[i]) / std::max(steps, 1), 0, 255);
  return draw::MakeColour(static_cast<unsigned>(step[0]), static_cast<unsigned>(step[1]),
                          static_cast<unsigned>(step[2]));
}

std::vector<Band> SegmentBands(Span segment, int doneRight, Colour from, Colour to, bool lowColour) {
  std::vector<Band> bands;
  int steps = StepCount(from, to, segment.right - segment.left, lowColour);
  for (int i = 0; i < steps; ++i) {
    Span step = EqualPart(segment.left, segment.right, i, steps);
    if (step.left >= doneRight) break;
    step.right = std::min(step.right, doneRight);
    if (step.right > step.left) bands.push_back({step, StepColour(from, to, i, steps)});
  }
  return bands;
}

std::vector<Span> DoneSegments(int colourCount, Span inner, int doneRight) {
  std::vector<Span> segments;
  int count = colourCount - 1;
  for (int i = 0; i < count; ++i) {
    Span segment = EqualPart(inner.left, inner.right, i, count);
    if (segment.left >= doneRight) break;
    segments.push_back(segment);
  }
  return segments;
}

std::vector<Band> GradientBands(const std::vector<Colour>& colours, Span inner, int doneRight, bool lowColour) {
  if (colours.empty() || doneRight <= inner.left) return {};
  if (colours.size() == 1) return {{{inner.left, std::min(doneRight, inner.right)}, colours[0]}};
  std::vector<Band> bands;
  std::vector<Span> segments = DoneSegments(static_cast<int>(colours.size()), inner, doneRight);
  for (size_t i = 0; i < segments.size(); ++i) {
    std::vector<Band> part = SegmentBands(segments[i], doneRight, colours[i], colours[i + 1], lowColour);
    bands.insert(bands.end(), part.begin(), part.end());
  }
  return bands;
}

CString BarText(const CString& format, int value) {
  CString text;
  int length = format.GetLength();
  for (int i = 0; i < length; ++i) {
    TCHAR c = format[i];
    if (c != '%') {
      text += c;
      continue;
    }
    if (i + 1 < length && format[i + 1] == '%') {
      text += c;
      ++i;
      continue;
    }
    // An integer conversion: flags, then at most three width digits, then d, i or u.
    int end = i + 1;
    while (end < length && CString(_T("-+ 0#")).Find(format[end]) >= 0) ++end;
    int digits = 0;
    while (end < length && digits < 3 && format[end] >= '0' && format[end] <= '9') ++end, ++digits;
    if (end < length && (format[end] == 'd' || format[end] == 'i' || format[end] == 'u')) {
      CString piece;
      piece.Format(format.Mid(i, end - i + 1), value);
      text += piece;
      i = end;
    } else {
      text += c;
    }
  }
  return text;
}

}  // namespace progress
