#include "toolkit/mdi/tab_group_layout.h"

#include <algorithm>
#include <cmath>

namespace tkmdi {

bool IsWorkspaceCommandEnabled(unsigned id, const WorkspaceState& s) {
  if (!s.grouping || s.activeGroup < 0 || s.activeGroup >= s.groupCount) return false;
  switch (id) {
    case kCmdPrevGroup:
      return s.activeGroup > 0;
    case kCmdNextGroup:
      return s.activeGroup < s.groupCount - 1;
    case kCmdNewHorzGroup:
      return (s.groupCount == 1 || s.horizontal) && s.tabsInGroup > 1;
    case kCmdNewVertGroup:
      return (s.groupCount == 1 || !s.horizontal) && s.tabsInGroup > 1;
    default:
      return true;
  }
}

int ExtentAlong(const CRect& rc, bool horizontal) { return horizontal ? rc.Height() : rc.Width(); }

std::vector<CRect> GroupRects(const CRect& client, const std::vector<double>& sizes, int splitterWidth,
                              bool horizontal) {
  const int count = static_cast<int>(sizes.size());
  std::vector<CRect> rects;
  if (count == 0) return rects;
  const int origin = horizontal ? client.top : client.left;
  const int room = std::max(0, ExtentAlong(client, horizontal) - splitterWidth * (count - 1));
  double total = 0;
  for (double size : sizes) total += std::max(0.0, size);
  double before = 0;  // the sizes of the groups before this one
  int start = origin;
  for (int i = 0; i < count; ++i) {
    before += total > 0 ? std::max(0.0, sizes[static_cast<size_t>(i)]) : 1.0;
    const double share = total > 0 ? before / total : before / count;
    const int end = i == count - 1 ? origin + room + splitterWidth * i
                                   : origin + static_cast<int>(std::lround(share * room)) + splitterWidth * i;
    CRect rc = client;
    if (horizontal) {
      rc.top = start;
      rc.bottom = std::max(start, end);
    } else {
      rc.left = start;
      rc.right = std::max(start, end);
    }
    rects.push_back(rc);
    start = (horizontal ? rc.bottom : rc.right) + splitterWidth;
  }
  return rects;
}

CRect SplitterAfter(const CRect& group, int splitterWidth, bool horizontal) {
  CRect rc = group;
  if (horizontal) {
    rc.top = group.bottom;
    rc.bottom = group.bottom + splitterWidth;
  } else {
    rc.left = group.right;
    rc.right = group.right + splitterWidth;
  }
  return rc;
}

std::vector<double> SizesOf(const std::vector<CRect>& groups, bool horizontal) {
  std::vector<double> sizes;
  for (const CRect& rc : groups) sizes.push_back(ExtentAlong(rc, horizontal));
  return sizes;
}

void SplitGroup(std::vector<double>& sizes, int index, int splitterWidth) {
  if (index < 0 || index >= static_cast<int>(sizes.size())) return;
  const double current = sizes[static_cast<size_t>(index)];
  const double added = std::max(0.0, (current - splitterWidth) * 0.5);
  sizes[static_cast<size_t>(index)] = std::max(0.0, current - added - splitterWidth);
  sizes.insert(sizes.begin() + index + 1, added);
}

void RemoveGroup(std::vector<double>& sizes, int index, int splitterWidth) {
  const int count = static_cast<int>(sizes.size());
  if (index < 0 || index >= count) return;
  const double freed = sizes[static_cast<size_t>(index)] + splitterWidth;
  sizes.erase(sizes.begin() + index);
  if (sizes.empty()) return;
  sizes[static_cast<size_t>(index > 0 ? index - 1 : 0)] += freed;
}

void ShareSplitter(std::vector<double>& sizes, int index, const CRect& first, const CRect& second, CPoint pt,
                   int splitterWidth, bool horizontal) {
  if (index < 0 || index + 1 >= static_cast<int>(sizes.size())) return;
  const int start = horizontal ? first.top : first.left;
  const int end = horizontal ? second.bottom : second.right;
  const int room = std::max(0, end - start - splitterWidth);
  const int pos = (horizontal ? pt.y : pt.x) - start - splitterWidth / 2;
  const int firstSize = std::clamp(pos, 0, room);
  sizes[static_cast<size_t>(index)] = firstSize;
  sizes[static_cast<size_t>(index) + 1] = room - firstSize;
}

}  // namespace tkmdi
