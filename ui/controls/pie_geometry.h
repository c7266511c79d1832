// The geometry and texts of the disk-space pie: where a share meets the ellipse, the box the pie is
// drawn in, which colour each column of the rim shows, and the legend's lines with their units.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/classlib/crect.h"
#include "platform/classlib/cstring.h"

namespace pie {

// The point where the share p (percent, held within 0 to 100) meets an ellipse of centre (cx, cy) and
// radii (rx, ry): from the bottom (0 %) through the left (25 %), the top (50 %) and the right (75 %)
// back to the bottom (100 %), linear in x within each quarter. The centre when rx is not positive.
CPoint BoundaryPoint(int percent, int cx, int cy, int rx, int ry);

// trunc(used × 100 / total) in 64 bits; 0 for a total of 0.
int UsedPercent(uint64_t used, uint64_t total);

constexpr int kRimDepth = 10;  // pixels between the upper and the lower ellipse

// The pie's box and ellipse within a client rectangle: a box 300 pixels wide ending at the control's
// right edge (so no part of the pie is cut off), from 40 pixels below the top to 10 above the bottom.
struct PieLayout {
  CRect box;
  int cx = 0, cy = 0;  // centre of the upper ellipse
  int rx = 0, ry = 0;  // its radii; the lower ellipse is the same kRimDepth pixels lower
};
PieLayout LayoutPie(const CRect& client);

// A run of rim columns [left, right) showing the used or the free colour.
struct RimRun {
  int left = 0;
  int right = 0;
  bool used = false;
  bool operator==(const RimRun& other) const {
    return left == other.left && right == other.right && used == other.used;
  }
};
// The columns of the rim's front (the half of the ellipse that faces the viewer, 25 % on the left
// through 0/100 % at the bottom to 75 % on the right), split by the share each column shows.
std::vector<RimRun> RimRuns(int usedPercent, int cx, int rx);

// "<label>: %2.2f GB" above 1,073,741,824 bytes, else "... MB" above 1,048,576, else "... KB".
CString SpaceLine(LPCTSTR label, uint64_t bytes);

}  // namespace pie
