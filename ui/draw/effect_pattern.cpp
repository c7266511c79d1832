#include "ui/draw/effect_pattern.h"

#include <algorithm>
#include <cstdint>

#include "ui/draw/colour_ops.h"
#include "ui/draw/fills.h"

namespace draw {
namespace {

// The smallest area the hard-bump ridge (step width / 6) and the metal strokes are drawn in.
constexpr int kMinRidgeWidth = 6;
constexpr int kMinRidgeHeight = 2;

uint8_t Channel(Colour a, Colour b, int shift, int weightA, int weightB) {
  return static_cast<uint8_t>((((a >> shift) & 0xFF) * weightA + ((b >> shift) & 0xFF) * weightB) / 128);
}

Colour Between(Colour a, int weightA, Colour b, int weightB) {
  return MakeColour(Channel(a, b, 0, weightA, weightB), Channel(a, b, 8, weightA, weightB),
                    Channel(a, b, 16, weightA, weightB));
}

void SetEntry(DibBuffer& pattern, int index, Colour c) {
  pattern.SetPaletteEntry(index, RedOf(c), GreenOf(c), BlueOf(c));
}

// Everything one pattern needs while its pixels are computed.
struct PatternContext {
  DibBuffer& image;
  RandomSource& random;
  int w;
  int h;
  int g;

  // 0 to 2g (0, or 1 when the source gives its maximum, for g = 0).
  int Noise() const {
    int d = std::max(2 * g, 1);
    return random.Next() / (RandomSource::kMax / d);
  }
  int CentredNoise() const { return Noise() - g; }
  void Put(int x, int y, int value) { image.SetPixelIndex(x, y, static_cast<uint8_t>(value)); }
  // The raised-cosine-like profile of the bumps: t in about -127..127 to -127..127 cubed.
  static int Bump(int t) { return (t * t * t / 128) / 128; }
  int RowBump(int y) const { return Bump((255 * y) / h - 127); }
  int ColumnBump(int x) const { return Bump((255 * (w - x)) / w - 127); }

  template <typename F>
  void EachPixel(F f) {
    for (int y = 0; y < h; ++y) {
      for (int x = 0; x < w; ++x) f(x, y);
    }
  }
};

void RenderShade(PatternContext& c, int kind) {
  int w = c.w, h = c.h, g = c.g;
  int range = 255 - 2 * g;
  int m = range / 2;
  c.EachPixel([&](int x, int y) {
    int v = 0;
    if (kind == kFillNoise) v = 128;
    if (kind == kFillDiagShade) v = (m * (w - x)) / w + (y * m) / h + g;
    if (kind == kFillHShade) v = (y * range) / h + g;
    if (kind == kFillVShade) v = (range * (w - x)) / w + g;
    c.Put(x, y, v + c.CentredNoise());
  });
}

void RenderBump(PatternContext& c, int kind) {
  int g = c.g;
  c.EachPixel([&](int x, int y) {
    int v = 0;
    if (kind == kFillHBump) v = (c.RowBump(y) * (128 - g)) / 128 + 128;
    if (kind == kFillVBump) v = (c.ColumnBump(x) * (128 - g)) / 128 + 128;
    if (kind == kFillSoftBump) {
      v = ((c.ColumnBump(x) + c.RowBump(y)) * (128 - g)) / 128 + 128;
      v = std::min(std::max(v, g), 255 - g);
    }
    c.Put(x, y, v + c.CentredNoise());
  });
}

void RenderHardBump(PatternContext& c) {
  int w = c.w, h = c.h, g = c.g;
  c.EachPixel([&](int x, int y) { c.Put(x, y, (c.RowBump(y) * (64 - g) * 2) / 128 + 128 + c.CentredNoise()); });
  // The ridge: a parabola around the centre, lit on its right side and shaded on its left.
  const int64_t s = std::min(w / 6, 16);
  const int64_t quarter = static_cast<int64_t>(h) * h / 4;
  for (int y = 0; y < h; ++y) {
    int64_t dy = y - h / 2;
    int64_t lim = (s * dy * dy) / quarter - s + w / 2;
    for (int x = 0; x < w; ++x) {
      int64_t e = x - w / 2;
      // Outside the ridge the first pass's value takes a second grain of noise. Values past a byte wrap, as
      // every pattern byte does.
      int64_t v = c.image.PixelIndex(x, y);
      if (e > lim) v = (128 * (w - x)) / s + g;
      if (lim + e < 0) v = (255 - g) - (128 * x) / s;
      c.Put(x, y, static_cast<int>(v + c.CentredNoise()));
    }
  }
}

void RenderMetal(PatternContext& c) {
  int w = c.w, h = c.h, g = c.g;
  c.image.Clear(0);
  // 32767 / side is a divisor: sides past 32767 are taken as 32767 so that it never reaches 0.
  auto step = [](int side) { return RandomSource::kMax / std::clamp(side, 1, RandomSource::kMax); };
  for (int stroke = 0; stroke < 200; ++stroke) {
    int x0 = c.random.Next() / step(w);
    int y0 = c.random.Next() / step(h);
    int length = c.random.Next() / step(std::min(w, h));
    int v = c.random.Next() / 819;
    for (int k = 0; k < length / 2; ++k) {
      if (x0 - k >= 1 && y0 + k < h) c.Put(x0 - k, y0 + k, v);
      if (x0 + k < w && y0 - k > 0) c.Put(x0 + k, y0 - k, v);
    }
  }
  int m = (215 - 2 * g) / 2;
  c.EachPixel([&](int x, int y) {
    int v = c.image.PixelIndex(x, y) + (m * (w - x)) / w + (y * m) / h;
    c.Put(x, y, v + c.Noise());
  });
}

}  // namespace

void FillPatternPalette(DibBuffer& pattern, Colour begin, Colour mid, Colour end, int coloring) {
  for (int i = 0; i <= 128; ++i) SetEntry(pattern, i, Between(end, 128 - i, mid, i));
  for (int j = 1; j <= 128; ++j) SetEntry(pattern, 127 + j, Between(mid, 128 - j, begin, j));
  pattern.BlendPalette(begin, coloring);
}

bool RenderEffectPattern(DibBuffer& pattern, int width, int height, int kind, int granularity, int coloring,
                         Colour begin, Colour mid, Colour end, RandomSource& random) {
  if (!pattern.Create(width, height, 8)) return false;
  FillPatternPalette(pattern, begin, mid, end, coloring);
  if (!IsPatternKind(kind)) return true;
  if ((kind == kFillHardBump || kind == kFillMetal) && (width < kMinRidgeWidth || height < kMinRidgeHeight)) {
    return false;
  }
  PatternContext c{pattern, random, width, height, std::clamp(granularity, 0, 255)};
  switch (kind) {
    case kFillNoise:
    case kFillDiagShade:
    case kFillHShade:
    case kFillVShade: RenderShade(c, kind); break;
    case kFillHBump:
    case kFillVBump:
    case kFillSoftBump: RenderBump(c, kind); break;
    case kFillHardBump: RenderHardBump(c); break;
    default: RenderMetal(c); break;
  }
  return true;
}

}  // namespace draw
