// Where the splitter's bar and its two panes go, how a dragged position is held inside the client
// area, and the profile sections its positions are kept under.
#pragma once

#include "platform/classlib/crect.h"
#include "platform/classlib/cstring.h"

namespace splitter {

constexpr int kBarWidth = 5;
constexpr int kHalfBar = kBarWidth / 2;

// A bar at a position with the panes on either side of it.
struct Placement {
  CRect hit;     // where a button press starts a drag
  CRect first;   // left (vertical bar) or top (horizontal bar)
  CRect second;  // right or bottom
};

// A vertical bar at x: hit (x − half, top, x + half, bottom); left pane up to x − half, the right one
// from a bar's width further on.
Placement PlaceVertical(const CRect& client, int x);
// A horizontal bar at y: hit (0, y − half, right, y + half); bottom pane from y + half, the top one up
// to a bar's width above it.
Placement PlaceHorizontal(const CRect& client, int y);

// A bar position held so that the whole bar stays inside [low, high): no pane gets a negative size.
int ClampBar(int position, int low, int high);

// The profile sections: five fixed code units, then "vHorizSplitPos" (vertical layout) or
// "hVertSplitPos" (horizontal layout), then the splitter's id in decimal.
CString VerticalSection(UINT id);
CString HorizontalSection(UINT id);
extern const TCHAR kVerticalValue[];    // "VertSplitPos": the left pane's right edge
extern const TCHAR kHorizontalValue[];  // "HorizSplitPos": the bottom pane's height

}  // namespace splitter
