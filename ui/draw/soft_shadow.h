// Soft shadows: a mask darkens the area under it, sharply or through a box blur of the mask.
#pragma once

#include <vector>

#include "ui/draw/draw_types.h"
#include "ui/draw/pixel_buffer.h"

namespace draw {

// Blur depths are odd (an even depth takes the next odd one) and kept within 1 to kMaxBlurDepth.
constexpr int kMaxBlurDepth = 255;
int OddDepth(int depth);

// Where the mask goes in the shadow image of width × height: with gradient, inset by half the (odd)
// depths so the blur has room; without, the whole image.
DrawRect ShadowMaskPlacement(int width, int height, bool gradient, int depthX, int depthY);

// The shadow image A of width × height: white, with the mask stretched into ShadowMaskPlacement (with
// gradient) or copied to its top-left corner (without).
PixelBuffer PlaceShadowMask(const PixelBuffer& mask, int width, int height, bool gradient, int depthX, int depthY);

// Sums of every windowRows × windowCols window of a rows × cols matrix (row-major), by running sums
// (horizontal per row, then vertical per column). The result has (rows − windowRows + 1) ×
// (cols − windowCols + 1) entries; empty when the window does not fit.
std::vector<double> BoxSum(const std::vector<double>& matrix, int rows, int cols, int windowRows, int windowCols);

// The darkening factor of every pixel of the mask (width × height, row-major): the mask's blue bytes
// bordered by 255 on every side, box-summed over depthY × depthX (odd depths) and divided by
// depthX × depthY × 255.
std::vector<double> BlurShadowMask(const PixelBuffer& mask, int depthX, int depthY);

// Darkens dest by the mask (same size): with gradient by the blurred factors, without by blue / 255.
// White mask areas (factor 1) leave dest as it is.
void ApplySoftShadow(PixelBuffer& dest, const PixelBuffer& mask, bool gradient, int depthX, int depthY);

}  // namespace draw
