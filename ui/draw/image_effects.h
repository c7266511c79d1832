// Per-pixel work on 32-bit images: colour effects with alpha detection, masks, alpha blending, copies,
// tiling and the cells of image strips.
#pragma once

#include <cstdint>
#include <vector>

#include "ui/draw/draw_types.h"
#include "ui/draw/pixel_buffer.h"

namespace draw {

// Applies the effect bits to every pixel and answers whether any pixel has a non-zero alpha byte.
// With useMask, pixels equal to the mask colour (alpha 0) become 0 and skip gray/darken/lighten/mono.
// Order: gray, darken by 0.75, lighten by 0.25, mono colour; then invert for every pixel. Alpha is kept.
bool ApplyImageEffect(PixelBuffer& image, uint32_t effect, bool useMask, Colour maskColour, Colour monoColour);
// Whether any pixel has a non-zero alpha byte.
bool HasAlpha(const PixelBuffer& image);
// dest = Mix(source, a, dest, 1 - a) with a = source alpha / 255, over the common area; result alpha 0.
void AlphaBlendPixels(PixelBuffer& dest, const PixelBuffer& source);
// dest &= source and dest |= source over the common area (the AND and OR raster operations).
void AndPixels(PixelBuffer& dest, const PixelBuffer& source);
void OrPixels(PixelBuffer& dest, const PixelBuffer& source);
// Copies w × h pixels from (sx, sy) of source to (x, y) of dest, clipped to both.
void CopyPixels(PixelBuffer& dest, int x, int y, const PixelBuffer& source, int sx, int sy, int w, int h);
// Nearest-pixel stretch of the whole source to width × height (empty for an empty source or size).
PixelBuffer StretchPixels(const PixelBuffer& source, int width, int height);
// The top-left width × height pixels of source; pixels past its edges are 0.
PixelBuffer CropPixels(const PixelBuffer& source, int width, int height);
// Where the copies of a tw × th tile go to cover (x, y, w, h): left to right, top to bottom, the last
// ones clipped to the area's right and bottom edges.
std::vector<DrawRect> TileRects(int x, int y, int w, int h, int tw, int th);
// Covers (x, y, w, h) of dest with copies of the tile (sx, sy, tw, th) of source, left to right and top to
// bottom, each copy clipped to the area's right and bottom edges. Nothing for an empty tile or area.
void TileBlit(PixelBuffer& dest, int x, int y, int w, int h, const PixelBuffer& source, int sx, int sy, int tw,
              int th);

// The cell of an image strip: columns = strip width / cell width, rows = strip height / cell height; the
// cell at column index mod columns, row index / columns. False (nothing to draw) for any size, column or
// row count of 0, a negative index, or an index at or past columns × rows.
bool StripCellRect(int stripWidth, int stripHeight, int cellWidth, int cellHeight, int index, DrawRect* cell);

}  // namespace draw
