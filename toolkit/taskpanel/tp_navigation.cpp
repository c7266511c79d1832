#include "toolkit/taskpanel/tp_navigation.h"

#include <algorithm>

namespace taskpanel {

namespace {

using Groups = std::vector<NavGroup>;

bool Valid(const Groups& g, int index) { return index >= 0 && index < static_cast<int>(g.size()); }

// The nearest visible group from `start` in the direction, start included; -1 when none.
int VisibleGroupFrom(const Groups& groups, int start, int direction) {
  for (int i = start; Valid(groups, i); i += direction) {
    if (groups[i].visible) return i;
  }
  return -1;
}

// The nearest visible item of the group from `start` in the direction, start included; -1 when none.
int VisibleItemFrom(const NavGroup& group, int start, int direction) {
  const int count = static_cast<int>(group.items.size());
  for (int i = start; i >= 0 && i < count; i += direction) {
    if (group.items[i].visible) return i;
  }
  return -1;
}

NavPos StepForward(const Groups& groups, NavPos from, bool tab, bool vertical) {
  if (from.IsNone()) return {VisibleGroupFrom(groups, 0, +1), -1};
  const NavGroup& group = groups[from.group];
  if (from.item < 0) {
    const int first = VisibleItemFrom(group, 0, +1);
    if (first >= 0) return {from.group, first};
  } else if (!tab) {
    const int step = vertical ? std::max(1, group.itemsPerRow) : 1;
    const int next = VisibleItemFrom(group, from.item + step, +1);
    if (next >= 0) return {from.group, next};
  }
  return {VisibleGroupFrom(groups, from.group + 1, +1), -1};
}

// The last visible item of the group, or the group itself.
NavPos LastOf(const Groups& groups, int group) {
  if (group < 0) return {};
  const NavGroup& g = groups[group];
  return {group, VisibleItemFrom(g, static_cast<int>(g.items.size()) - 1, -1)};
}

NavPos StepBackward(const Groups& groups, NavPos from, bool tab, bool vertical) {
  if (!from.IsNone() && from.item >= 0) {
    if (tab) return {from.group, -1};
    const NavGroup& group = groups[from.group];
    const int step = vertical ? std::max(1, group.itemsPerRow) : 1;
    const int previous = VisibleItemFrom(group, from.item - step, -1);
    return {from.group, previous};
  }
  const int start = from.IsNone() ? static_cast<int>(groups.size()) - 1 : from.group - 1;
  return LastOf(groups, VisibleGroupFrom(groups, start, -1));
}

bool TakesFocus(const Groups& groups, NavPos pos) {
  const NavGroup& group = groups[pos.group];
  if (pos.item < 0) return group.acceptFocus;
  return group.expanded && group.items[pos.item].acceptFocus;
}

}  // namespace

NavPos NextFocus(const Groups& groups, NavPos from, int direction, bool tab, bool vertical) {
  if (!from.IsNone() && (!Valid(groups, from.group) ||
                         from.item >= static_cast<int>(groups[from.group].items.size()))) {
    from = NavPos();
  }
  // Every step moves strictly along the flattened order, so the walk ends.
  NavPos pos = from;
  for (;;) {
    pos = direction >= 0 ? StepForward(groups, pos, tab, vertical) : StepBackward(groups, pos, tab, vertical);
    if (pos.IsNone()) return {};
    if (TakesFocus(groups, pos)) return pos;
  }
}

}  // namespace taskpanel
