// The rules of the dialog bar's edges, apart from any window: which edge a point grabs, and what a
// resize to a new rectangle does to the bar's client sizes.
#pragma once

#include "platform/classlib/crect.h"

namespace tkp_dialog_bar {

// Hit-test codes, as the system numbers them.
constexpr int kHitNowhere = 0;
constexpr int kHitLeft = 10, kHitRight = 11, kHitTop = 12, kHitTopLeft = 13, kHitTopRight = 14;
constexpr int kHitBottom = 15, kHitBottomLeft = 16, kHitBottomRight = 17;
// How far inside the window an edge can be grabbed.
constexpr int kGrabWidth = 3;

// The edge under a screen point of a resizable bar whose window is `window` (position 0 top, 1 bottom,
// 2 left, 3 right docked, 4 floating); kHitNowhere when the point grabs no edge. A floating bar is
// grabbed by any edge and corner, a docked one only by its inner edge (a stretched bar on the top or
// left not at all).
int EdgeAt(const CRect& window, CPoint pt, int position, bool stretched);

// The window rectangle while its edge `hitTest` is dragged by `delta` from where the drag began; the
// other edges stay.
CRect DraggedRect(const CRect& start, int hitTest, CSize delta);

struct ClientSizes {
  CSize docked{200, 200};
  CSize floating{200, 200};
};

// A resize of the bar's window to `rect` by the edge `hitTest`: the new client size is the rectangle's
// less the borders (left + right, top + bottom, the caption counted in the top). Nothing changes, and
// false is returned, when that is below the minimum in either direction. Floating: the floating size
// becomes it. Docked: a left or right edge sets the docked width, any other edge the docked height.
bool ResizeTo(const CRect& rect, int hitTest, const CRect& borders, CSize minimum, bool floating, ClientSizes& sizes);

}  // namespace tkp_dialog_bar
