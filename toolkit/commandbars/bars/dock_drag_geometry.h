// Where a dragged toolbar goes: the floating rectangle moved the least to hold the mouse, and the
// rectangle of a floating bar resized by one of its edges, the opposite edge kept.
// Portable: the docking context hands in screen rectangles.
#pragma once

#include "platform/classlib/crect.h"

namespace tkpdock {

// The hit-test codes of the edges a floating bar is resized by (HTLEFT to HTBOTTOMRIGHT).
enum ResizeEdge { kEdgeLeft = 10, kEdgeRight = 11, kEdgeTop = 12, kEdgeTopLeft = 13, kEdgeTopRight = 14,
                  kEdgeBottom = 15, kEdgeBottomLeft = 16, kEdgeBottomRight = 17 };

// The rectangle moved the least so that the point lies inside it.
CRect ContainPoint(CRect rc, CPoint pt);
// Whether the edge changes the width (left or right edges and corners); otherwise it changes the height.
bool ResizesWidth(int nEdge);
// The length the bar is laid out at after the mouse moved by delta: the width or height grown or shrunk
// on the dragged side, never negative.
int ResizedLength(const CRect& window, int nEdge, CPoint delta);
// The window at its new size with the edge opposite the dragged one where it was.
CRect ResizedRect(const CRect& window, int nEdge, CSize size);

}  // namespace tkpdock
