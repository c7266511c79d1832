#include "toolkit/common/tkp_icon_pixels.h"

#include <cmath>

namespace {

// The generated disabled image's brightness exponent and alpha divisor.
constexpr double kDisabledExponent = 0.5;
constexpr double kDisabledAlphaDivisor = 1.0;
// Added before truncating, so that a level a library's pow() gives a hair low stays whole.
constexpr double kWhole = 1e-9;

bool Masked(const std::uint8_t* mask, std::size_t i) {
  return mask != nullptr && (mask[4 * i] | mask[4 * i + 1] | mask[4 * i + 2]) != 0;
}
std::uint8_t Channel(std::uint32_t color, int shift) { return static_cast<std::uint8_t>(color >> shift); }

}  // namespace

void TKPFadePixels(std::uint8_t* bgra, std::size_t count, const std::uint8_t* maskBgra) {
  for (std::size_t i = 0; i < count; ++i) {
    if (Masked(maskBgra, i)) continue;
    for (int c = 0; c < 3; ++c) {
      std::uint8_t& v = bgra[4 * i + static_cast<std::size_t>(c)];
      v = static_cast<std::uint8_t>((14 * v + 1530) / 20);  // v x 0.7 + 76.5, truncated, in whole numbers
    }
  }
}

std::uint32_t TKPShadowColor(std::uint32_t base) {
  const auto scale = [&](int shift) { return static_cast<std::uint32_t>(Channel(base, shift) * 0.75) << shift; };
  return scale(0) | scale(8) | scale(16);
}

void TKPShadowPixels(std::uint8_t* bgra, std::size_t count, std::uint32_t color, const std::uint8_t* maskBgra) {
  for (std::size_t i = 0; i < count; ++i) {
    if (Masked(maskBgra, i)) continue;
    bgra[4 * i] = Channel(color, 16);
    bgra[4 * i + 1] = Channel(color, 8);
    bgra[4 * i + 2] = Channel(color, 0);
  }
}

void TKPDisabledPixels(std::uint8_t* bgra, std::size_t count, std::uint32_t light, std::uint32_t dark,
                       const std::uint8_t* maskBgra) {
  const bool colorMode = light != kTKPNoIconColor && dark != kTKPNoIconColor;
  for (std::size_t i = 0; i < count; ++i) {
    if (Masked(maskBgra, i)) continue;
    std::uint8_t* p = bgra + 4 * i;
    // Weights in thousandths keep the grey levels exact (white 1.0, black 0) in every build.
    const double t = (299 * p[2] + 587 * p[1] + 114 * p[0]) / 1000.0 / 255.0;
    if (colorMode) {
      const auto mix = [&](int shift) {
        return static_cast<std::uint8_t>(Channel(dark, shift) * (1 - t) + Channel(light, shift) * t + kWhole);
      };
      p[0] = mix(16);
      p[1] = mix(8);
      p[2] = mix(0);
    } else {
      const auto g = static_cast<std::uint8_t>(255 * std::pow(t > 1 ? 1 : t, kDisabledExponent) + kWhole);
      p[0] = p[1] = p[2] = g;
      if (maskBgra == nullptr) p[3] = static_cast<std::uint8_t>(p[3] / kDisabledAlphaDivisor);
    }
  }
}

void TKPPremultiplyPixels(std::uint8_t* bgra, std::size_t count) {
  for (std::size_t i = 0; i < count; ++i) {
    std::uint8_t* p = bgra + 4 * i;
    for (int c = 0; c < 3; ++c) p[c] = static_cast<std::uint8_t>(p[c] * p[3] / 255);
  }
}
