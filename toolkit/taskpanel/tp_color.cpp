#include "toolkit/taskpanel/tp_color.h"

#include <algorithm>
#include <cmath>

namespace taskpanel {

using tkcolor::Color;

namespace {

double HueToChannel(double m1, double m2, double hue) {
  if (hue < 0) hue += 1;
  if (hue >= 1) hue -= 1;
  if (hue < 1.0 / 6) return m1 + (m2 - m1) * hue * 6;
  if (hue < 0.5) return m2;
  if (hue < 2.0 / 3) return m1 + (m2 - m1) * (2.0 / 3 - hue) * 6;
  return m1;
}

int ToByte(double v) { return std::clamp(static_cast<int>(std::lround(v * 255)), 0, 255); }

}  // namespace

Hls ToHls(Color c) {
  const double r = tkcolor::RedOf(c) / 255.0;
  const double g = tkcolor::GreenOf(c) / 255.0;
  const double b = tkcolor::BlueOf(c) / 255.0;
  const double high = std::max({r, g, b});
  const double low = std::min({r, g, b});
  Hls hls;
  hls.lightness = (high + low) / 2;
  const double span = high - low;
  if (span <= 0) return hls;  // a grey: no hue, no saturation
  hls.saturation = hls.lightness <= 0.5 ? span / (high + low) : span / (2 - high - low);
  double hue;
  if (high == r) {
    hue = (g - b) / span;
  } else if (high == g) {
    hue = 2 + (b - r) / span;
  } else {
    hue = 4 + (r - g) / span;
  }
  hue /= 6;
  if (hue < 0) hue += 1;
  if (hue >= 1) hue -= 1;
  hls.hue = hue;
  return hls;
}

Color FromHls(const Hls& hls) {
  const double l = std::clamp(hls.lightness, 0.0, 1.0);
  const double s = std::clamp(hls.saturation, 0.0, 1.0);
  if (s <= 0) return tkcolor::MakeColor(ToByte(l), ToByte(l), ToByte(l));
  const double m2 = l <= 0.5 ? l * (1 + s) : l + s - l * s;
  const double m1 = 2 * l - m2;
  return tkcolor::MakeColor(ToByte(HueToChannel(m1, m2, hls.hue + 1.0 / 3)), ToByte(HueToChannel(m1, m2, hls.hue)),
                            ToByte(HueToChannel(m1, m2, hls.hue - 1.0 / 3)));
}

Color RecolorExpandPixel(Color pixel, Color background, Color target) {
  if (pixel == background) return kExpandMask;
  const Hls back = ToHls(background);
  const Hls want = ToHls(target);
  // A black background would make the ratio infinite; the limit of 1 is what it would come to.
  double ratio = back.lightness > 0 ? want.lightness / back.lightness : 1.0;
  if (!(back.lightness >= 0.9 && want.lightness >= 0.9)) ratio = std::min(ratio, 1.0);
  Hls out = ToHls(pixel);
  out.hue = want.hue;
  out.saturation = want.saturation;
  out.lightness = std::min(1.0, out.lightness * ratio);
  return FromHls(out);
}

void PremultiplyAlpha(std::uint8_t* bgra, std::size_t pixelCount) {
  for (std::size_t i = 0; i < pixelCount; ++i) {
    std::uint8_t* p = bgra + 4 * i;
    const unsigned alpha = p[3];
    for (int c = 0; c < 3; ++c) p[c] = static_cast<std::uint8_t>(p[c] * alpha / 255);
  }
}

int FadeAlpha(int visible, int full) {
  if (full <= 0) return 255;
  return std::clamp(visible, 0, full) * 255 / full;
}

tkcolor::Color Blend255(tkcolor::Color a, tkcolor::Color b, int k) {
  auto channel = [k](int x, int y) { return std::clamp((x * k + y * (255 - k)) / 255, 0, 255); };
  return tkcolor::MakeColor(channel(tkcolor::RedOf(a), tkcolor::RedOf(b)), channel(tkcolor::GreenOf(a), tkcolor::GreenOf(b)),
                            channel(tkcolor::BlueOf(a), tkcolor::BlueOf(b)));
}

int ThemeForNumber(int nTheme) { return nTheme >= 0 && nTheme <= 12 ? nTheme : 2; }

}  // namespace taskpanel
