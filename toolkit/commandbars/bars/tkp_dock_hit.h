// Whether a dragged bar's point lies close enough to a dock bar to dock there: within its window
// rectangle grown by 20 pixels on every side (strictly inside the grown rectangle).
#pragma once

#include "platform/classlib/crect.h"

constexpr int TKP_DOCK_SNAP = 20;

bool TKPDockAccepts(const CRect& rcDockBar, CPoint ptScreen);

// Which of the dock rectangles takes the point: the current one first (a bar stays where it is while
// the point is near), then the others in their order (top, bottom, left, right). -1 when none.
int TKPChooseDock(const CRect* pDockRects, const bool* pExists, int nCount, int nCurrent, CPoint ptScreen);
