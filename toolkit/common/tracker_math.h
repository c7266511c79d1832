// Where a splitter's tracker goes when the mouse moves: along its own axis only, kept inside the
// allowed rectangle.
#pragma once

#include "platform/classlib/crect.h"

// offset: tracker edge minus the point where the drag began. Moves the tracker and answers true when
// its left (horizontal) or top (vertical) edge changes.
bool MoveTracker(CRect* tracker, const CRect& allowed, const CPoint& screenPoint, int offset, bool horizontal);
