#include "platform/classlib/crect.h"

#include <algorithm>
#include <utility>

void CRect::NormalizeRect() {
  if (left > right) std::swap(left, right);
  if (top > bottom) std::swap(top, bottom);
}

BOOL CRect::IntersectRect(const CRect& a, const CRect& b) {
  const CRect overlap(std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
                      std::min(a.bottom, b.bottom));
  *this = overlap.IsRectEmpty() ? CRect() : overlap;
  return !IsRectEmpty();
}

BOOL CRect::UnionRect(const CRect& a, const CRect& b) {
  if (a.IsRectEmpty()) {
    *this = b.IsRectEmpty() ? CRect() : b;
  } else if (b.IsRectEmpty()) {
    *this = a;
  } else {
    *this = CRect(std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right),
                  std::max(a.bottom, b.bottom));
  }
  return !IsRectEmpty();
}
