#include "toolkit/commandbars/bars/dock_drag_geometry.h"

#include <algorithm>

namespace tkpdock {

namespace {

bool IsLeft(int nEdge) { return nEdge == kEdgeLeft || nEdge == kEdgeTopLeft || nEdge == kEdgeBottomLeft; }

}  // namespace

CRect ContainPoint(CRect rc, CPoint pt) {
  if (pt.x < rc.left) rc.OffsetRect(pt.x - rc.left, 0);
  if (pt.x >= rc.right) rc.OffsetRect(pt.x - rc.right + 1, 0);
  if (pt.y < rc.top) rc.OffsetRect(0, pt.y - rc.top);
  if (pt.y >= rc.bottom) rc.OffsetRect(0, pt.y - rc.bottom + 1);
  return rc;
}

bool ResizesWidth(int nEdge) {
  return IsLeft(nEdge) || nEdge == kEdgeRight || nEdge == kEdgeTopRight || nEdge == kEdgeBottomRight;
}

int ResizedLength(const CRect& window, int nEdge, CPoint delta) {
  // (LONG is long in the Windows build: the sums are taken as int)
  const int dx = static_cast<int>(delta.x), dy = static_cast<int>(delta.y);
  if (ResizesWidth(nEdge)) return std::max(0, static_cast<int>(window.Width()) + (IsLeft(nEdge) ? -dx : dx));
  return std::max(0, static_cast<int>(window.Height()) + (nEdge == kEdgeTop ? -dy : dy));
}

CRect ResizedRect(const CRect& window, int nEdge, CSize size) {
  CRect next(window.TopLeft(), size);
  if (IsLeft(nEdge)) next.OffsetRect(window.right - next.right, 0);
  if (nEdge == kEdgeTop) next.OffsetRect(0, window.bottom - next.bottom);
  return next;
}

}  // namespace tkpdock
