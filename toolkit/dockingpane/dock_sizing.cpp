#include "toolkit/dockingpane/dock_sizing.h"

#include <algorithm>

namespace dock {
namespace {

int Clamp32(int64_t value) {
  return static_cast<int>(std::clamp<int64_t>(value, INT32_MIN + 1, INT32_MAX));
}

// Fixes children whose proportional share falls outside their track sizes, until a pass fixes none.
void FixOutOfRange(const std::vector<SizeItem>& items, SizeResult* r) {
  bool fixedOne = true;
  while (fixedOne) {
    fixedOne = false;
    for (size_t i = 0; i < items.size() && r->total != 0; ++i) {
      const int length = r->lengths[i];
      if (length < 0) continue;
      const int64_t share = r->available * length / r->total;
      int fixed;
      if (share < items[i].minimum) {
        fixed = items[i].minimum;
      } else if (share > items[i].maximum) {
        fixed = items[i].maximum;
      } else {
        continue;
      }
      r->available -= fixed;
      r->total -= length;
      if (r->available < 0) {
        // Even the minimums do not fit: the child fixed last gives up the shortfall.
        r->lengths[i] = -Clamp32(std::max<int64_t>(0, fixed + r->available));
        r->available = 0;
        return;
      }
      r->lengths[i] = -fixed;
      fixedOne = true;
      break;  // restart from the first child
    }
  }
}

}  // namespace

SizeResult AdjustPanesLength(const std::vector<SizeItem>& items, int extent, int splitter) {
  SizeResult r;
  r.lengths.resize(items.size());
  for (size_t i = 0; i < items.size(); ++i) {
    const SizeItem& item = items[i];
    const int minimum = std::max(0, item.minimum);
    int length = std::min(std::max(0, item.preferred), item.maximum);
    length = std::max(length, minimum);  // the minimum wins over the maximum
    if (item.clientHolder && r.clientIndex < 0) {
      r.clientIndex = static_cast<int>(i);
      length = 0;
    }
    r.lengths[i] = length;
    r.total += length;
  }
  const int64_t gaps = items.empty() ? 0 : static_cast<int64_t>(items.size() - 1) * splitter;
  r.available = static_cast<int64_t>(extent) - gaps;
  if (r.clientIndex >= 0 && r.total < r.available) {
    r.clientPreferred = Clamp32(r.available - r.total);
    r.lengths[static_cast<size_t>(r.clientIndex)] = r.clientPreferred;
    r.total = r.available;
  }
  if (r.available < 1) return r;
  FixOutOfRange(items, &r);
  return r;
}

std::vector<Span> PlaceLengths(const SizeResult& sizes, int start, int extent, int splitter) {
  std::vector<Span> spans(sizes.lengths.size());
  int64_t available = std::max<int64_t>(0, sizes.available);
  int64_t total = sizes.total;
  int64_t pos = start;
  const int64_t end = static_cast<int64_t>(start) + std::max(0, extent);
  for (size_t i = 0; i < spans.size(); ++i) {
    const int length = sizes.lengths[i];
    int64_t size;
    if (length >= 0) {
      size = total > 0 ? available * length / total : 0;
      available = std::max<int64_t>(0, available - size);
      total -= length;
    } else {
      size = -static_cast<int64_t>(length);
    }
    const bool last = i + 1 == spans.size();
    const int64_t childEnd = last ? end : std::min(end, pos + size);
    spans[i].begin = static_cast<int>(std::min(pos, end));
    spans[i].end = static_cast<int>(std::max<int64_t>(spans[i].begin, childEnd));
    pos = childEnd + splitter;
  }
  return spans;
}

SplitterLimits ComputeSplitterLimits(const SplitterNeighbours& n, int splitter, int gap) {
  const int64_t begin = n.unionBegin;
  const int64_t end = n.unionEnd;
  int64_t nearBound = begin + std::max(n.firstMin, gap);
  int64_t farBound = end - std::max<int64_t>(static_cast<int64_t>(n.secondMin) + splitter, gap);
  const int64_t length = end - begin;
  if (length > n.firstMax) farBound = std::min(farBound, begin + n.firstMax);
  if (length > n.secondMax) nearBound = std::max(nearBound, end - n.secondMax - splitter);
  SplitterLimits limits;
  limits.nearBound = Clamp32(nearBound);
  limits.farBound = Clamp32(farBound);
  return limits;
}

bool ApplySplitterPosition(int position, int unionBegin, int unionEnd, int splitter, bool mirrored, int* firstSize,
                           int* secondSize) {
  const int64_t length = static_cast<int64_t>(unionEnd) - unionBegin;
  if (length <= 0) return false;
  const double fraction = std::clamp(static_cast<double>(static_cast<int64_t>(position) - unionBegin) /
                                         static_cast<double>(length), 0.0, 1.0);
  const int64_t total = static_cast<int64_t>(std::max(0, *firstSize)) + std::max(0, *secondSize) + splitter;
  int64_t first = static_cast<int64_t>(static_cast<double>(total) * fraction);
  if (mirrored) first = total - first - splitter;
  first = std::clamp<int64_t>(first, 0, std::max<int64_t>(0, total - splitter));
  *firstSize = Clamp32(first);
  *secondSize = Clamp32(std::max<int64_t>(0, total - first - splitter));
  return true;
}

}  // namespace dock
