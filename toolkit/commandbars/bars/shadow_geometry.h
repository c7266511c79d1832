// The soft shadow a popup casts to its right and below: where its two strips go, how a strip is kept
// off a strip of a neighbouring popup, and the premultiplied pixels of a layered strip. Portable.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/classlib/crect.h"

// The strips are 4 pixels deep when drawn with per-pixel alpha, else opaque and 2 deep.
int TKPShadowDepth(bool layered);

// The strip below (horizontal) or to the right of the popup's screen rectangle.
CRect TKPShadowStrip(bool horizontal, const CRect& popup, int depth);

struct TKPShadowStripRef {
  CRect rect;
  bool horizontal = false;
};
// The new strip shortened at the end where it meets a strip of the other direction, so that no two
// strips overlap (a sub-menu opened beside its menu).
CRect TKPShortenShadowStrip(CRect strip, bool horizontal, const std::vector<TKPShadowStripRef>& others);

// The pixels of a layered strip of width x height, rows from the top, each 0xAARRGGBB premultiplied
// (a 32-bit DIB's order). base is a 0x00BBGGRR colour; strength 1 or 2 multiplies the alpha.
std::vector<uint32_t> TKPShadowPixels(bool horizontal, int width, int height, uint32_t base, int strength);
