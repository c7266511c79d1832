#include "ui/draw/image_effects.h"

#include <algorithm>

#include "ui/draw/colour_ops.h"

namespace draw {
namespace {

constexpr uint32_t kAlphaMask = 0xFF000000u;

uint32_t ColourEffects(uint32_t colourPart, uint32_t effect, Colour monoColour) {
  if (effect & kEffectGray) colourPart = ColourToPixel(ToGray(PixelToColour(colourPart)));
  if (effect & kEffectDarken) colourPart = Darken(colourPart, 0.75);
  if (effect & kEffectLighten) colourPart = Lighten(colourPart, 0.25);
  if (effect & kEffectMono) colourPart = ColourToPixel(monoColour);
  return colourPart;
}

// Runs f(dest pixel, source pixel) over the area both buffers cover.
template <typename F>
void EachCommonPixel(PixelBuffer& dest, const PixelBuffer& source, F f) {
  int w = std::min(dest.Width(), source.Width()), h = std::min(dest.Height(), source.Height());
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) f(dest.At(x, y), source.At(x, y));
  }
}

}  // namespace

bool ApplyImageEffect(PixelBuffer& image, uint32_t effect, bool useMask, Colour maskColour, Colour monoColour) {
  const uint32_t maskPixel = ColourToPixel(maskColour);
  bool hasAlpha = false;
  for (uint32_t& p : image.Pixels()) {
    uint32_t alpha = p & kAlphaMask;
    if (alpha != 0) hasAlpha = true;
    uint32_t colour = (useMask && p == maskPixel) ? 0 : ColourEffects(p & ~kAlphaMask, effect, monoColour);
    if (effect & kEffectInvert) colour = Invert(colour);
    p = alpha | colour;
  }
  return hasAlpha;
}

bool HasAlpha(const PixelBuffer& image) {
  return std::any_of(image.Pixels().begin(), image.Pixels().end(), [](uint32_t p) { return (p & kAlphaMask) != 0; });
}

void AlphaBlendPixels(PixelBuffer& dest, const PixelBuffer& source) {
  EachCommonPixel(dest, source, [](uint32_t& d, uint32_t s) {
    double a = AlphaOf(s) / 255.0;
    d = Mix(s, a, d, 1 - a);
  });
}

void AndPixels(PixelBuffer& dest, const PixelBuffer& source) {
  EachCommonPixel(dest, source, [](uint32_t& d, uint32_t s) { d &= s; });
}

void OrPixels(PixelBuffer& dest, const PixelBuffer& source) {
  EachCommonPixel(dest, source, [](uint32_t& d, uint32_t s) { d |= s; });
}

void CopyPixels(PixelBuffer& dest, int x, int y, const PixelBuffer& source, int sx, int sy, int w, int h) {
  for (int row = 0; row < h; ++row) {
    for (int col = 0; col < w; ++col) {
      if (source.Contains(sx + col, sy + row) && dest.Contains(x + col, y + row)) {
        dest.At(x + col, y + row) = source.At(sx + col, sy + row);
      }
    }
  }
}

PixelBuffer StretchPixels(const PixelBuffer& source, int width, int height) {
  PixelBuffer out(width, height);
  if (source.Empty() || out.Empty()) return {};
  for (int y = 0; y < out.Height(); ++y) {
    int sy = static_cast<int>(static_cast<int64_t>(y) * source.Height() / out.Height());
    for (int x = 0; x < out.Width(); ++x) {
      out.At(x, y) = source.At(static_cast<int>(static_cast<int64_t>(x) * source.Width() / out.Width()), sy);
    }
  }
  return out;
}

PixelBuffer CropPixels(const PixelBuffer& source, int width, int height) {
  PixelBuffer out(width, height);
  CopyPixels(out, 0, 0, source, 0, 0, width, height);
  return out;
}

std::vector<DrawRect> TileRects(int x, int y, int w, int h, int tw, int th) {
  std::vector<DrawRect> tiles;
  if (w <= 0 || h <= 0 || tw <= 0 || th <= 0) return tiles;
  const int64_t right = static_cast<int64_t>(x) + w, bottom = static_cast<int64_t>(y) + h;
  for (int64_t ty = y; ty < bottom; ty += th) {
    for (int64_t tx = x; tx < right; tx += tw) {
      tiles.push_back({static_cast<int>(tx), static_cast<int>(ty), static_cast<int>(std::min(tx + tw, right)),
                       static_cast<int>(std::min(ty + th, bottom))});
    }
  }
  return tiles;
}

void TileBlit(PixelBuffer& dest, int x, int y, int w, int h, const PixelBuffer& source, int sx, int sy, int tw,
              int th) {
  // Copies wholly outside the buffer are not even listed.
  int visibleW = std::min(w, std::max(0, dest.Width() - x)), visibleH = std::min(h, std::max(0, dest.Height() - y));
  for (const DrawRect& t : TileRects(x, y, visibleW, visibleH, tw, th)) {
    CopyPixels(dest, t.left, t.top, source, sx, sy, t.Width(), t.Height());
  }
}

bool StripCellRect(int stripWidth, int stripHeight, int cellWidth, int cellHeight, int index, DrawRect* cell) {
  if (stripWidth <= 0 || stripHeight <= 0 || cellWidth <= 0 || cellHeight <= 0 || index < 0) return false;
  int columns = stripWidth / cellWidth, rows = stripHeight / cellHeight;
  if (columns == 0 || rows == 0 || static_cast<int64_t>(index) >= static_cast<int64_t>(columns) * rows) return false;
  int left = (index % columns) * cellWidth, top = (index / columns) * cellHeight;
  *cell = {left, top, left + cellWidth, top + cellHeight};
  return true;
}

}  // namespace draw
