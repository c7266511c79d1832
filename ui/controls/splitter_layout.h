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

// The pane whose size the splitter keeps (the left one beside a vertical bar, the bottom one below a
// horizontal bar) keeps it while the window grows and shrinks; the other pane gives way down to a usable
// size, or to a third of the room in a window too small for that, and then the kept one gives way
// instead. So a split stored in a large window never leaves a pane of nothing in a smaller one, and comes
// back whole in a larger one.
constexpr int kUsablePane = 240;
// The least the other pane keeps in a client of that extent (its width or height).
int LeastOtherPane(int extent);
// The size the kept pane is shown at in a client of that extent: its own, unless that would leave the
// other pane less than its least.
int ShownKeptPane(int kept, int extent);
// The largest size a stored position is taken at (no screen is wider).
constexpr int kLargestKeptPane = 32767;

// The profile sections: five fixed code units, then "vHorizSplitPos" (vertical layout) or
// "hVertSplitPos" (horizontal layout), then the splitter's id in decimal.
CString VerticalSection(UINT id);
CString HorizontalSection(UINT id);
extern const TCHAR kVerticalValue[];    // "VertSplitPos": the left pane's right edge
extern const TCHAR kHorizontalValue[];  // "HorizSplitPos": the bottom pane's height

}  // namespace splitter
