// Filling a rectangle of a pixel buffer with one of the fill kinds: solid, the banded linear gradients and
// the generated patterns. The band lists are what the Windows side paints with brushes.
#pragma once

#include <vector>

#include "ui/draw/dib_buffer.h"
#include "ui/draw/draw_types.h"
#include "ui/draw/pixel_buffer.h"
#include "ui/draw/random_source.h"

namespace draw {

struct GradientBand {
  DrawRect rect;
  Colour colour = 0;
  bool operator==(const GradientBand& b) const { return rect == b.rect && colour == b.colour; }
};

constexpr int kGradientBands = 64;

// True for the kinds drawn from a generated pattern (7 to 15).
bool IsPatternKind(int kind);
// The 64 bands of a linear gradient; bands of no width (or height) are left out.
std::vector<GradientBand> LinearGradientBands(const DrawRect& rect, Colour start, Colour end, bool horizontal);
// The bands of a non-pattern kind (a solid fill is one band; a kind outside 1 to 15 is solid with begin).
// Empty for pattern kinds.
std::vector<GradientBand> FillAreaBands(int kind, const DrawRect& rect, Colour begin, Colour mid, Colour end);

// Fills the rectangle (clipped to the buffer) with a colour (alpha 0).
void FillRectPixels(PixelBuffer& target, const DrawRect& rect, Colour colour);
void FillLinearGradient(PixelBuffer& target, const DrawRect& rect, Colour start, Colour end, bool horizontal);
// Copies an 8-bit pattern to (x, y) as it shows on screen (clipped).
void DrawPattern(PixelBuffer& target, const DibBuffer& pattern, int x, int y);
// Every fill kind. Pattern kinds are rendered into `pattern` (which keeps the last one).
void FillArea(PixelBuffer& target, int kind, const DrawRect& rect, Colour begin, Colour mid, Colour end,
              int granularity, int coloring, DibBuffer& pattern, RandomSource& random);

}  // namespace draw
