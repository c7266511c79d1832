#include "toolkit/commandbars/bars/popup_placement.h"

#include <algorithm>

namespace {

bool Has(unsigned flags, unsigned bit) { return (flags & bit) != 0; }

// Step 1: the side the popup opens to.
int StartX(const TKPPopupPlacementRequest& r, int x, int cx) {
  const bool hasWidth = r.exclude.Width() > 0;
  if (hasWidth) {
    if (r.flags == (kTKPPopupLeft | kTKPPopupDropDown)) return r.exclude.right - cx;  // right-aligned drop-down
    if (r.flags == kTKPPopupLeft) return r.exclude.left - cx;
    return x;
  }
  return Has(r.flags, kTKPPopupLeft) ? x - cx : x;
}

}  // namespace

CPoint TKPPopupOrigin(const CRect& exclude, unsigned flags) {
  return Has(flags, kTKPPopupDropDown) ? CPoint(exclude.left, exclude.bottom) : CPoint(exclude.right, exclude.top);
}

TKPPopupPlacement TKPPlacePopup(const TKPPopupPlacementRequest& r) {
  const CRect& W = r.work;
  const CRect& R = r.exclude;
  const int bottom = W.bottom - kTKPPopupBottomGap;
  const bool hasWidth = R.Width() > 0;
  const bool hasHeight = R.Height() > 0;
  const int middle = W.top + W.Height() / 2;
  unsigned flags = r.flags;
  int cx = r.size.cx, cy = r.size.cy;
  int x = StartX(r, r.position.x, cx);
  int y = r.position.y;
  bool cut = false;

  // Step 2: up or down.
  if (!hasHeight && y > bottom) {
    y -= cy;
  } else if (y + cy > bottom) {
    if (!hasHeight) {
      y = y < middle ? bottom - cy : y - cy;
    } else if (!Has(flags, kTKPPopupDropDown)) {
      y = bottom - cy;
    } else {
      y = R.top - cy;
      if (y < W.top) {
        // Neither above nor below fits: the larger side takes it, scrolled.
        cut = true;
        if (R.top > middle) {
          y = W.top;
          cy = R.top - W.top;
        } else {
          y = R.bottom;
          cy = bottom - R.bottom;
        }
      }
    }
  }
  y = std::max(y, static_cast<int>(W.top));
  if (y + cy > bottom) {
    cy = bottom - y;
    cut = true;
  }
  // A work area smaller than the gap (or a control outside it) leaves no room: no height rather than a
  // negative one.
  cy = std::max(cy, 0);

  // Step 3: left or right.
  if (x + cx > W.right) {
    if (!hasWidth) {
      x = x > W.right ? x - cx : W.right - cx;
    } else {
      x = Has(flags, kTKPPopupDropDown) ? W.right - cx : R.left - cx;
    }
    flags |= kTKPPopupLeft;
  } else if (x < W.left) {
    if (!hasWidth) {
      if (Has(flags, kTKPPopupLeft)) x = W.left;
    } else {
      x = Has(flags, kTKPPopupDropDown) ? W.left : R.right;
    }
    flags &= ~static_cast<unsigned>(kTKPPopupLeft);
  }

  TKPPopupPlacement result;
  result.rect = CRect(x, y, x + cx, y + cy);
  result.flags = flags;
  result.cut = cut;
  return result;
}
