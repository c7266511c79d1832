// The Windows build's CSize, CPoint and CRect stand in for SIZE, POINT and RECT by pointer: check that
// they are laid out alike.
#include <windows.h>

#include <cstddef>

#include "platform/classlib/crect.h"

static_assert(sizeof(CSize) == sizeof(SIZE) && offsetof(CSize, cy) == offsetof(SIZE, cy), "SIZE layout");
static_assert(sizeof(CPoint) == sizeof(POINT) && offsetof(CPoint, y) == offsetof(POINT, y), "POINT layout");
static_assert(sizeof(CRect) == sizeof(RECT) && offsetof(CRect, top) == offsetof(RECT, top) &&
                  offsetof(CRect, right) == offsetof(RECT, right) &&
                  offsetof(CRect, bottom) == offsetof(RECT, bottom),
              "RECT layout");
