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
// pixels. Granularity is taken modulo 256 (0 to 255). Areas too small for the hard-bump and metal kinds
// (narrower than 6 pixels for hard bump, no width or height for any) draw nothing: the pixels stay 0.
// Returns false when the image cannot be created (no width or height, or too large).
bool RenderEffectPattern(DibBuffer& pattern, int width, int height, int kind, int granularity, int coloring,
                         Colour begin, Colour mid, Colour end, RandomSource& random);

}  // namespace draw
