#include "toolkit/common/tracker_math.h"

#include <algorithm>

bool MoveTracker(CRect* tracker, const CRect& allowed, const CPoint& screenPoint, int offset, bool horizontal) {
  if (horizontal) {
    const LONG x = std::clamp<LONG>(screenPoint.x + offset, allowed.left, std::max(allowed.left, allowed.right));
    if (x == tracker->left) return false;
    tracker->OffsetRect(x - tracker->left, 0);
  } else {
    const LONG y = std::clamp<LONG>(screenPoint.y + offset, allowed.top, std::max(allowed.top, allowed.bottom));
    if (y == tracker->top) return false;
    tracker->OffsetRect(0, y - tracker->top);
  }
  return true;
}
