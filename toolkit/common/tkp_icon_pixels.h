// The pixel rules of the image manager's derived images, over 32-bit pixels in DIB byte order (blue,
// green, red, alpha). Colours are 0x00BBGGRR. A mask, where given, is a second 32-bit image of the
// same size whose black pixels mark the icon's own pixels (the others are left alone).
#pragma once

#include <cstddef>
#include <cstdint>

constexpr std::uint32_t kTKPNoIconColor = 0xFFFFFFFF;

// Faded: each colour channel v becomes trunc(v x 0.7 + 76.5).
void TKPFadePixels(std::uint8_t* bgra, std::size_t count, const std::uint8_t* maskBgra = nullptr);
// The shadow colour: colour 31 of the colour manager with each channel x 0.75.
std::uint32_t TKPShadowColor(std::uint32_t base);
// Every pixel takes the colour; alpha unchanged.
void TKPShadowPixels(std::uint8_t* bgra, std::size_t count, std::uint32_t color,
                     const std::uint8_t* maskBgra = nullptr);
// Grey by brightness (L^0.5 scaled), or, with both colours given, from dark (black) to light (white).
void TKPDisabledPixels(std::uint8_t* bgra, std::size_t count, std::uint32_t light, std::uint32_t dark,
                       const std::uint8_t* maskBgra = nullptr);
// Colour channels times alpha / 255, for AlphaBlend.
void TKPPremultiplyPixels(std::uint8_t* bgra, std::size_t count);
