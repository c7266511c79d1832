#include "toolkit/common/gradient_math.h"

#include <algorithm>

tkcolor::Color GradientBandColor(tkcolor::Color from, tkcolor::Color to, int pos, int start, int length) {
  length = std::max(length, 1);
  return tkcolor::BlendFraction(from, to, 1.0 - static_cast<double>(pos - start) / length);
}

bool ClipGradient(const CRect& rect, tkcolor::Color from, tkcolor::Color to, bool horizontal, const CRect& clip,
                  TKGradientPart* part) {
  CRect r = rect;
  // Across the axis the rectangle is simply cut; along it the colours follow the cut.
  LONG& acrossStart = horizontal ? r.top : r.left;
  LONG& acrossEnd = horizontal ? r.bottom : r.right;
  acrossStart = std::max(acrossStart, horizontal ? clip.top : clip.left);
  acrossEnd = std::min(acrossEnd, horizontal ? clip.bottom : clip.right);
  LONG& start = horizontal ? r.left : r.top;
  LONG& end = horizontal ? r.right : r.bottom;
  const LONG clipStart = horizontal ? clip.left : clip.top;
  const LONG clipEnd = horizontal ? clip.right : clip.bottom;
  const LONG fullStart = start, fullEnd = end, length = end - start;
  if (length <= 0 || acrossEnd <= acrossStart || clipStart >= fullEnd || clipEnd <= fullStart) return false;
  auto colourAt = [&](LONG cut) {
    return tkcolor::BlendFraction(from, to, static_cast<double>(fullEnd - cut) / length);
  };
  part->from = from;
  part->to = to;
  if (clipStart > fullStart) {
    start = clipStart;
    part->from = colourAt(clipStart);
  }
  if (clipEnd < fullEnd) {
    end = clipEnd;
    part->to = colourAt(clipEnd);
  }
  part->rect = r;
  return true;
}

std::vector<TKGradientPart> SplitGradient(const CRect& rect, tkcolor::Color light, tkcolor::Color dark,
                                          float factor, bool horizontal) {
  if (factor == 0.5f) return {{rect, light, dark}};
  const tkcolor::Color middle = tkcolor::BlendFraction(light, dark, factor);
  CRect first = rect, second = rect;
  if (horizontal) {
    first.right = rect.right - (rect.right - rect.left) / 2;
    second.left = first.right;
  } else {
    first.bottom = rect.bottom - (rect.bottom - rect.top) / 2;
    second.top = first.bottom;
  }
  return {{first, light, middle}, {second, middle, dark}};
}
