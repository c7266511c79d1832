// Pixel arithmetic of the task panel's paint manager: hue, lightness and saturation, the recolouring of
// the expand-button picture, premultiplied alpha and the fade of a body that is opening or closing.
// Colours are 0x00BBGGRR.
#pragma once

#include <cstddef>
#include <cstdint>

#include "toolkit/common/color_math.h"

namespace taskpanel {

struct Hls {
  double hue = 0;         // [0, 1)
  double lightness = 0;   // [0, 1]
  double saturation = 0;  // [0, 1]
};

Hls ToHls(tkcolor::Color c);
tkcolor::Color FromHls(const Hls& hls);

// Where the picture's background stood (its top-left pixel), the mask colour of the icon.
constexpr tkcolor::Color kExpandMask = 0x0000FF00;  // RGB(0, 255, 0)

// One pixel of the expand picture drawn in the target colour: the target's hue and saturation, the
// pixel's lightness scaled by target / background lightness (at most 1 unless both are light). The
// background itself becomes the mask colour.
tkcolor::Color RecolorExpandPixel(tkcolor::Color pixel, tkcolor::Color background, tkcolor::Color target);

// Each colour byte of 32-bit BGRA pixels multiplied by the pixel's alpha / 255.
void PremultiplyAlpha(std::uint8_t* bgra, std::size_t pixelCount);

// The constant alpha of a body `visible` pixels high out of `full` while it opens or closes (255 when
// there is nothing to fade).
int FadeAlpha(int visible, int full);

// a x k / 255 + b x (255 - k) / 255 per channel, truncated and kept within 0 to 255.
tkcolor::Color Blend255(tkcolor::Color a, tkcolor::Color b, int k);

// The theme a panel makes for a number: 0 to 12 as they are, anything else the explorer look (2).
int ThemeForNumber(int nTheme);

}  // namespace taskpanel
