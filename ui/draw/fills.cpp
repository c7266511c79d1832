#include "ui/draw/fills.h"

#include <algorithm>
#include <cstdint>

#include "ui/draw/colour_ops.h"
#include "ui/draw/effect_pattern.h"

namespace draw {
namespace {

Colour BandColour(Colour start, Colour end, int i) {
  auto channel = [&](int shift) {
    return ((((start >> shift) & 0xFF) * (kGradientBands - i)) + (((end >> shift) & 0xFF) * i)) >> 6;
  };
  return MakeColour(channel(0), channel(8), channel(16));
}

DrawRect LeftPart(const DrawRect& r, int split) { return {r.left, r.top, split, r.bottom}; }
DrawRect RightPart(const DrawRect& r, int split) { return {split, r.top, r.right, r.bottom}; }
DrawRect TopPart(const DrawRect& r, int split) { return {r.left, r.top, r.right, split}; }
DrawRect BottomPart(const DrawRect& r, int split) { return {r.left, split, r.right, r.bottom}; }

// Two gradients side by side (horizontal) or one above the other (vertical), split in the middle.
std::vector<GradientBand> SplitGradient(const DrawRect& r, bool horizontal, Colour a, Colour b, Colour c, Colour d) {
  std::vector<GradientBand> bands;
  if (horizontal) {
    int split = (r.right - r.left) / 2 + r.left;
    bands = LinearGradientBands(LeftPart(r, split), a, b, true);
    auto second = LinearGradientBands(RightPart(r, split), c, d, true);
    bands.insert(bands.end(), second.begin(), second.end());
  } else {
    int split = (r.bottom - r.top) / 2 + r.top;
    bands = LinearGradientBands(TopPart(r, split), a, b, false);
    auto second = LinearGradientBands(BottomPart(r, split), c, d, false);
    bands.insert(bands.end(), second.begin(), second.end());
  }
  return bands;
}

}  // namespace

bool IsPatternKind(int kind) { return kind >= kFillNoise && kind <= kFillMetal; }

std::vector<GradientBand> LinearGradientBands(const DrawRect& rect, Colour start, Colour end, bool horizontal) {
  std::vector<GradientBand> bands;
  const int64_t origin = horizontal ? rect.left : rect.top;
  const int64_t extent = horizontal ? rect.Width() : rect.Height();
  for (int i = 0; i < kGradientBands; ++i) {
    int from = static_cast<int>(origin + (i * extent) / kGradientBands);
    int to = static_cast<int>(origin + ((i + 1) * extent) / kGradientBands);
    if (to <= from) continue;
    DrawRect band = horizontal ? DrawRect{from, rect.top, to, rect.bottom} : DrawRect{rect.left, from, rect.right, to};
    bands.push_back({band, BandColour(start, end, i)});
  }
  return bands;
}

std::vector<GradientBand> FillAreaBands(int kind, const DrawRect& rect, Colour begin, Colour mid, Colour end) {
  switch (kind) {
    case kFillHGradient: return LinearGradientBands(rect, begin, end, true);
    case kFillVGradient: return LinearGradientBands(rect, begin, end, false);
    case kFillHCGradient: return SplitGradient(rect, true, begin, end, end, begin);
    case kFillVCGradient: return SplitGradient(rect, false, begin, end, end, begin);
    case kFill3HGradient: return SplitGradient(rect, true, begin, mid, mid, end);
    case kFill3VGradient: return SplitGradient(rect, false, begin, mid, mid, end);
    default: break;
  }
  if (IsPatternKind(kind)) return {};
  return {{rect, begin & 0xFFFFFF}};
}

void FillRectPixels(PixelBuffer& target, const DrawRect& rect, Colour colour) {
  int left = std::max(rect.left, 0), top = std::max(rect.top, 0);
  int right = std::min(rect.right, target.Width()), bottom = std::min(rect.bottom, target.Height());
  uint32_t pixel = ColourToPixel(colour);
  for (int y = top; y < bottom; ++y) {
    for (int x = left; x < right; ++x) target.At(x, y) = pixel;
  }
}

void FillLinearGradient(PixelBuffer& target, const DrawRect& rect, Colour start, Colour end, bool horizontal) {
  for (const GradientBand& band : LinearGradientBands(rect, start, end, horizontal)) {
    FillRectPixels(target, band.rect, band.colour);
  }
}

void DrawPattern(PixelBuffer& target, const DibBuffer& pattern, int x, int y) {
  PixelBuffer pixels = pattern.ToPixels();
  for (int row = 0; row < pixels.Height(); ++row) {
    for (int col = 0; col < pixels.Width(); ++col) target.Set(x + col, y + row, pixels.At(col, row));
  }
}

void FillArea(PixelBuffer& target, int kind, const DrawRect& rect, Colour begin, Colour mid, Colour end,
              int granularity, int coloring, DibBuffer& pattern, RandomSource& random) {
  if (!IsPatternKind(kind)) {
    for (const GradientBand& band : FillAreaBands(kind, rect, begin, mid, end)) {
      FillRectPixels(target, band.rect, band.colour);
    }
    return;
  }
  if (RenderEffectPattern(pattern, rect.Width(), rect.Height(), kind, granularity, coloring, begin, mid, end,
                          random)) {
    DrawPattern(target, pattern, rect.left, rect.top);
  }
}

}  // namespace draw
