#include "ui/draw/colour_ops.h"

#include <algorithm>

namespace draw {
namespace {

// Truncates a channel. The small allowance keeps products that are whole numbers whole where the x87
// unit of the 32-bit build carries them as 127.99999...; no true channel value lies that close below an
// integer.
uint8_t ClampChannel(double value) {
  value += 1e-7;
  if (!(value > 0)) return 0;  // also NaN
  return value >= 255 ? 255 : static_cast<uint8_t>(value);
}

template <typename F>
Colour EachChannel(Colour c, F f) {
  return MakeColour(f(RedOf(c)), f(GreenOf(c)), f(BlueOf(c)));
}

}  // namespace

Colour ToGray(Colour c) {
  // In thousandths, so that the truncation is exact (255 stays 255).
  unsigned grey = (299u * RedOf(c) + 587u * GreenOf(c) + 114u * BlueOf(c)) / 1000u;
  return MakeColour(grey, grey, grey);
}

Colour Invert(Colour c) {
  return EachChannel(c, [](uint8_t v) { return 255u - v; });
}

Colour Darken(Colour c, double factor) {
  if (!(factor >= 0 && factor < 1)) return c & 0xFFFFFF;
  return EachChannel(c, [factor](uint8_t v) { return ClampChannel(v * factor); });
}

Colour Lighten(Colour c, double factor) {
  if (!(factor > 0 && factor <= 1)) return c & 0xFFFFFF;
  return EachChannel(c, [factor](uint8_t v) { return ClampChannel(v * (1 + factor)); });
}

Colour Mix(Colour a, double fa, Colour b, double fb) {
  return MakeColour(ClampChannel(RedOf(a) * fa + RedOf(b) * fb), ClampChannel(GreenOf(a) * fa + GreenOf(b) * fb),
                    ClampChannel(BlueOf(a) * fa + BlueOf(b) * fb));
}

}  // namespace draw
