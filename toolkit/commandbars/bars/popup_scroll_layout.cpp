#include "toolkit/commandbars/bars/popup_scroll_layout.h"

#include <algorithm>

namespace {

int Count(const std::vector<TKPScrollItem>& items) { return static_cast<int>(items.size()); }

bool AnyShown(const std::vector<TKPScrollItem>& items, int from, int to) {
  for (int i = std::max(from, 0); i < std::min(to, Count(items)); ++i) {
    if (items[i].shown) return true;
  }
  return false;
}

}  // namespace

TKPScrollLayout TKPScrollForwards(const std::vector<TKPScrollItem>& items, int first, int top, int bottom) {
  const int count = Count(items);
  TKPScrollLayout out;
  out.tops.assign(items.size(), -1);
  first = std::clamp(first == 1 ? 0 : first, 0, count);
  out.first = first;
  out.last = first;
  int y = top;
  if (first != 0) {
    out.upArrowTop = y;
    y += kTKPScrollArrowHeight;
  }
  bool placedAny = false;
  for (int i = first; i < count; ++i) {
    if (!items[i].shown) continue;
    const int gap = placedAny ? items[i].gapAbove : 0;
    const int end = y + gap + items[i].height;
    // The last item may take the room of the arrow it makes unnecessary.
    const int limit = AnyShown(items, i + 1, count) ? bottom - kTKPScrollArrowHeight : bottom;
    if (end > limit) break;
    out.tops[i] = y + gap;
    y = end;
    out.last = i + 1;
    placedAny = true;
  }
  if (AnyShown(items, out.last, count)) out.downArrowTop = bottom - kTKPScrollArrowHeight;
  return out;
}

TKPScrollLayout TKPScrollBackwards(const std::vector<TKPScrollItem>& items, int last, int top, int bottom) {
  const int count = Count(items);
  TKPScrollLayout out;
  out.tops.assign(items.size(), -1);
  last = std::clamp(last == count - 1 ? count : last, 0, count);
  out.first = last;
  out.last = last;
  int y = bottom;
  if (last != count) {
    out.downArrowTop = bottom - kTKPScrollArrowHeight;
    y -= kTKPScrollArrowHeight;
  }
  int gapBelow = 0;  // the separator above the item placed last, paid once another goes above it
  bool placedAny = false;
  for (int i = last - 1; i >= 0; --i) {
    if (!items[i].shown) continue;
    const int itemTop = y - (placedAny ? gapBelow : 0) - items[i].height;
    const int limit = AnyShown(items, 0, i) ? top + kTKPScrollArrowHeight : top;
    if (itemTop < limit) break;
    out.tops[i] = itemTop;
    y = itemTop;
    gapBelow = items[i].gapAbove;
    out.first = i;
    placedAny = true;
  }
  if (AnyShown(items, 0, out.first)) out.upArrowTop = top;
  return out;
}

std::vector<TKPTriangleRow> TKPScrollArrowTriangle(const CRect& arrow, bool down) {
  constexpr int kWidth = 7;
  constexpr int kHeight = 4;
  const int left = arrow.left + (arrow.Width() - kWidth) / 2;
  const int top = arrow.top + (arrow.Height() - kHeight) / 2;
  std::vector<TKPTriangleRow> rows;
  for (int row = 0; row < kHeight; ++row) {
    const int inset = down ? row : kHeight - 1 - row;
    rows.push_back({top + row, left + inset, left + kWidth - inset});
  }
  return rows;
}
