// Which items of an over-long popup menu show between its scroll arrows, and where. Portable: the popup
// bar hands in its items' heights and gets back their tops and the arrows.
#pragma once

#include <vector>

#include "platform/classlib/crect.h"

// Height of the arrow strips at the top and bottom of a scrolled menu.
constexpr int kTKPScrollArrowHeight = 16;

struct TKPScrollItem {
  bool shown = true;   // takes part in the menu (not hidden for any reason other than scrolling)
  int height = 0;
  int gapAbove = 0;    // separator above the item when another item is placed above it
};

struct TKPScrollLayout {
  std::vector<int> tops;  // top of each item, -1 for an item scrolled out (or not shown)
  int first = 0;          // index of the first placed item
  int last = 0;           // index behind the last placed item
  int upArrowTop = -1;    // top of the up arrow, -1 when it is not shown
  int downArrowTop = -1;  // top of the down arrow, -1 when it is not shown
};

// Items placed downwards from item `first` between `top` and `bottom` (the item area). An index of 1
// counts as 0, so that scrolling up never leaves the first item alone behind the arrow.
TKPScrollLayout TKPScrollForwards(const std::vector<TKPScrollItem>& items, int first, int top, int bottom);
// Items placed upwards from the one before `last`; one short of the count counts as the count.
TKPScrollLayout TKPScrollBackwards(const std::vector<TKPScrollItem>& items, int last, int top, int bottom);

// The rows of the small filled triangle drawn in an arrow's rectangle (7 pixels wide, 4 high, centred):
// each row as its left and right (exclusive) x at its y.
struct TKPTriangleRow {
  int y;
  int left;
  int right;
};
std::vector<TKPTriangleRow> TKPScrollArrowTriangle(const CRect& arrow, bool down);
