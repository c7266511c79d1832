// Colour helpers on one colour (0x00BBGGRR), and the conversions between colours and 32-bit DIB pixels
// (red and blue swapped, alpha in the high byte).
#pragma once

#include <cstdint>

#include "ui/draw/draw_types.h"

namespace draw {

inline uint8_t RedOf(Colour c) { return static_cast<uint8_t>(c & 0xFF); }
inline uint8_t GreenOf(Colour c) { return static_cast<uint8_t>((c >> 8) & 0xFF); }
inline uint8_t BlueOf(Colour c) { return static_cast<uint8_t>((c >> 16) & 0xFF); }
inline Colour MakeColour(unsigned red, unsigned green, unsigned blue) {
  return (red & 0xFF) | ((green & 0xFF) << 8) | ((blue & 0xFF) << 16);
}

// Colour to pixel order (alpha 0) and back (alpha dropped).
inline uint32_t ColourToPixel(Colour c) { return ((c & 0xFF) << 16) | (c & 0xFF00) | ((c >> 16) & 0xFF); }
inline Colour PixelToColour(uint32_t p) { return ((p & 0xFF) << 16) | (p & 0xFF00) | ((p >> 16) & 0xFF); }
inline uint8_t AlphaOf(uint32_t pixel) { return static_cast<uint8_t>(pixel >> 24); }

// The helpers below return the high byte 0. All but ToGray are channel-wise and serve pixels alike.
// grey = 0.299 red + 0.587 green + 0.114 blue, truncated, in all three channels.
Colour ToGray(Colour c);
// Each channel 255 - channel.
Colour Invert(Colour c);
// 0 <= factor < 1: each channel × factor, truncated; otherwise unchanged.
Colour Darken(Colour c, double factor);
// 0 < factor <= 1: each channel × (1 + factor), capped at 255; otherwise unchanged.
Colour Lighten(Colour c, double factor);
// Each channel a × fa + b × fb, truncated (and kept within 0..255).
Colour Mix(Colour a, double fa, Colour b, double fb);

}  // namespace draw
