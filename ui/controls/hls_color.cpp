#include "ui/controls/hls_color.h"

#include <algorithm>
#include <cmath>

namespace ui {
namespace {

int Red(uint32_t c) { return static_cast<int>(c & 0xFF); }
int Green(uint32_t c) { return static_cast<int>((c >> 8) & 0xFF); }
int Blue(uint32_t c) { return static_cast<int>((c >> 16) & 0xFF); }

int Adjusted(int value, int percent) {
  percent = std::clamp(percent, -100, 100);
  if (percent > 0) return value + (255 - value) * percent / 100;
  return value * (100 + percent) / 100;
}

// One channel from the two lightness bounds and a hue in sixths of the circle (0..6).
double Channel(double low, double high, double hue) {
  if (hue < 0) hue += 6;
  if (hue >= 6) hue -= 6;
  if (hue < 1) return low + (high - low) * hue;
  if (hue < 3) return high;
  if (hue < 4) return low + (high - low) * (4 - hue);
  return low;
}

int ToByte(double value) { return std::clamp(static_cast<int>(std::lround(value * 255)), 0, 255); }

}  // namespace

Hls ToHls(uint32_t colour) {
  const double r = Red(colour) / 255.0, g = Green(colour) / 255.0, b = Blue(colour) / 255.0;
  const double high = std::max({r, g, b}), low = std::min({r, g, b});
  const double lightness = (high + low) / 2;
  Hls hls;
  hls.lightness = ToByte(lightness);
  if (high == low) return hls;
  const double delta = high - low;
  const double saturation = lightness <= 0.5 ? delta / (high + low) : delta / (2 - high - low);
  double hue = 0;
  if (high == r) {
    hue = (g - b) / delta;
  } else if (high == g) {
    hue = 2 + (b - r) / delta;
  } else {
    hue = 4 + (r - g) / delta;
  }
  if (hue < 0) hue += 6;
  hls.hue = ToByte(hue / 6) % 256;
  hls.saturation = ToByte(saturation);
  return hls;
}

uint32_t FromHls(const Hls& hls) {
  const double l = hls.lightness / 255.0, s = hls.saturation / 255.0, h = hls.hue / 255.0 * 6;
  if (hls.saturation == 0) {
    const uint32_t grey = static_cast<uint32_t>(ToByte(l));
    return grey | (grey << 8) | (grey << 16);
  }
  const double high = l <= 0.5 ? l * (1 + s) : l + s - l * s;
  const double low = 2 * l - high;
  const uint32_t r = static_cast<uint32_t>(ToByte(Channel(low, high, h + 2)));
  const uint32_t g = static_cast<uint32_t>(ToByte(Channel(low, high, h)));
  const uint32_t b = static_cast<uint32_t>(ToByte(Channel(low, high, h - 2)));
  return r | (g << 8) | (b << 16);
}

uint32_t AdjustHls(uint32_t colour, int lightnessPercent, int saturationPercent) {
  Hls hls = ToHls(colour);
  hls.lightness = Adjusted(hls.lightness, lightnessPercent);
  hls.saturation = Adjusted(hls.saturation, saturationPercent);
  return FromHls(hls);
}

}  // namespace ui
