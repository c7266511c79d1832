// Keyboard navigation of the task panel over a plain picture of its groups and items: which element
// Tab, Shift+Tab and the arrow keys reach from the focused one.
#pragma once

#include <vector>

namespace taskpanel {

struct NavItem {
  bool visible = true;
  bool acceptFocus = false;  // an enabled, visible link
};

struct NavGroup {
  bool visible = true;
  bool acceptFocus = true;  // the caption can take the focus (expandable, enabled)
  bool expanded = true;
  int itemsPerRow = 1;
  std::vector<NavItem> items;
};

// An element: a group (item -1) or an item of it; group -1 is none.
struct NavPos {
  int group = -1;
  int item = -1;
  bool IsNone() const { return group < 0; }
  bool operator==(const NavPos& o) const { return group == o.group && item == o.item; }
};

// The nearest element in the direction (+1 forward, -1 backward) that takes the focus, or none. Items of
// a collapsed group are skipped; `vertical` steps items a row at a time.
NavPos NextFocus(const std::vector<NavGroup>& groups, NavPos from, int direction, bool tab, bool vertical);

}  // namespace taskpanel
