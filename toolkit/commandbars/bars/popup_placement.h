// Where a popup bar goes on the screen: beside or below the control that opened it (the exclude
// rectangle), or at a point for a context menu, kept inside the work area of its monitor. Portable.
#pragma once

#include "platform/classlib/crect.h"

// Direction bits of a popup.
enum TKPPopupDirection : unsigned {
  kTKPPopupLeft = 1,      // opens to the left of (or right-aligned with) the exclude rectangle
  kTKPPopupDropDown = 2,  // drops below (or above) the exclude rectangle instead of beside it
};

// The usable bottom of a work area lies this far above its edge.
constexpr int kTKPPopupBottomGap = 5;

struct TKPPopupPlacementRequest {
  CRect work;      // work area of the monitor
  CRect exclude;   // the opening control; empty for a point
  CPoint position; // where the popup starts
  CSize size;      // the popup's laid-out size
  unsigned flags = 0;
};

struct TKPPopupPlacement {
  CRect rect;              // the popup's screen rectangle
  unsigned flags = 0;      // the direction it took; sub-popups inherit it
  bool cut = false;        // shorter than its layout: it must scroll
};

TKPPopupPlacement TKPPlacePopup(const TKPPopupPlacementRequest& request);

// Where a popup opened by a control starts: below the control's bottom-left corner for a drop-down, else
// beside its top-right corner.
CPoint TKPPopupOrigin(const CRect& exclude, unsigned flags);
