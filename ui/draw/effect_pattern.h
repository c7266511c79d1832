// The generated 8-bit fill patterns (fill kinds 7 to 15: noise, shades, bumps, brushed metal) and the
// palette ramp they index.
#pragma once

#include "ui/draw/dib_buffer.h"
#include "ui/draw/draw_types.h"
#include "ui/draw/random_source.h"

namespace draw {

// The palette of a pattern: entry 0 the end colour, through the mid colour (just before 128), to entry
// 255 the begin colour; then blended toward the begin colour by coloring percent.
void FillPatternPalette(DibBuffer& pattern, Colour begin, Colour mid, Colour end, int coloring);

// Creates the pattern as an 8-bit width × height image with its palette and, for kinds 7 to 15, its
// pixels. Granularity is kept within 0 to 255, coloring within 0 to 100. Returns false when there is
// nothing to draw: the image cannot be created (no width or height, or too large), or the area is below
// the ridge size of the hard-bump and metal kinds (narrower than 6 pixels or lower than 2).
bool RenderEffectPattern(DibBuffer& pattern, int width, int height, int kind, int granularity, int coloring,
                         Colour begin, Colour mid, Colour end, RandomSource& random);

}  // namespace draw
