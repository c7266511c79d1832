// The kinds, styles and flags shared by everything that fills, frames and draws images, and the small
// rectangle the pixel routines take. Colours are 0x00BBGGRR values (red in the low byte).
#pragma once

#include <cstdint>

namespace draw {

using Colour = uint32_t;

// The fill kinds, numbered as the HTML drawer's fill names map to them. Any value outside 1 to 15 fills solid.
enum FillKind : int {
  kFillSolid = 0,
  kFillHGradient = 1,
  kFillVGradient = 2,
  kFillHCGradient = 3,
  kFillVCGradient = 4,
  kFill3HGradient = 5,
  kFill3VGradient = 6,
  kFillNoise = 7,
  kFillDiagShade = 8,
  kFillHShade = 9,
  kFillVShade = 10,
  kFillHBump = 11,
  kFillVBump = 12,
  kFillSoftBump = 13,
  kFillHardBump = 14,
  kFillMetal = 15,
};
constexpr int kFillKindCount = 16;

// Frame and line styles. 2 to 5 are dashed pens; 6 draws a second, inner (or moved) line.
enum FrameStyle : int {
  kFrameNone = 0,
  kFrameSolid = 1,
  kFrameDash = 2,
  kFrameDot = 3,
  kFrameDashDot = 4,
  kFrameDashDotDot = 5,
  kFrameDouble = 6,
};

// Image effect bits (combined with |).
enum ImageEffect : uint32_t {
  kEffectNone = 0,
  kEffectGray = 0x0001,
  kEffectDarken = 0x0002,
  kEffectLighten = 0x0004,
  kEffectMono = 0x0008,
  kEffectShadow = 0x0100,
  kEffectGradientShadow = 0x0200,
  kEffectInvert = 0x8000,
  // Mono colour then invert: what masks are made with.
  kEffectMask = 0x8008,
};

// A rectangle in pixels, right and bottom exclusive (as a Win32 RECT).
struct DrawRect {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;

  int Width() const { return right - left; }
  int Height() const { return bottom - top; }
  bool operator==(const DrawRect& r) const {
    return left == r.left && top == r.top && right == r.right && bottom == r.bottom;
  }
};

}  // namespace draw
