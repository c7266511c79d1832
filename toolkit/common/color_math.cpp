#include "toolkit/common/color_math.h"

#include <algorithm>
#include <cmath>

namespace tkcolor {
namespace {

// The largest value of each weighted channel: red, green, blue.
constexpr double kRange[3] = {195.0, 390.0, 65.0};

struct Weighted {
  double v[3];
};

Weighted ToWeighted(Color c) {
  return {{RedOf(c) * kRange[0] / 255.0, GreenOf(c) * kRange[1] / 255.0, BlueOf(c) * kRange[2] / 255.0}};
}

double Length(const Weighted& w) { return std::sqrt(w.v[0] * w.v[0] + w.v[1] * w.v[1] + w.v[2] * w.v[2]); }

double Dot(const Weighted& a, const Weighted& b) { return a.v[0] * b.v[0] + a.v[1] * b.v[1] + a.v[2] * b.v[2]; }

// Clamps each weighted channel to its range and converts it back to 0..255, rounding.
Color FromWeighted(const Weighted& w) {
  int channel[3];
  for (int i = 0; i < 3; ++i) {
    double x = std::clamp(w.v[i], 0.0, kRange[i]);
    channel[i] = std::clamp(static_cast<int>(x * 255.0 / kRange[i] + 0.5), 0, 255);
  }
  return MakeColor(channel[0], channel[1], channel[2]);
}

int Clamp255(int v) { return std::clamp(v, 0, 255); }

}  // namespace

Color BlendPercent(Color c1, Color c2, int p) {
  const int base = p < 100 ? 100 : 1000;
  auto mix = [&](int x, int y) { return Clamp255((x * p + y * (base - p) + base / 2) / base); };
  return MakeColor(mix(RedOf(c1), RedOf(c2)), mix(GreenOf(c1), GreenOf(c2)), mix(BlueOf(c1), BlueOf(c2)));
}

Color BlendFraction(Color c1, Color c2, double f) {
  auto mix = [&](int x, int y) { return std::min(255, static_cast<int>(x * f + y * (1.0 - f))); };
  return MakeColor(mix(RedOf(c1), RedOf(c2)), mix(GreenOf(c1), GreenOf(c2)), mix(BlueOf(c1), BlueOf(c2)));
}

Color BlendIn(Color self, Color other, int p) {
  auto mix = [&](int x, int y) { return Clamp255((x * (100 - p) + y * p) / 100); };
  return MakeColor(mix(RedOf(self), RedOf(other)), mix(GreenOf(self), GreenOf(other)),
                   mix(BlueOf(self), BlueOf(other)));
}

Color Subtract(Color self, Color other) {
  return MakeColor(std::max(0, RedOf(self) - RedOf(other)), std::max(0, GreenOf(self) - GreenOf(other)),
                   std::max(0, BlueOf(self) - BlueOf(other)));
}

Color Scale(Color c, double factor) {
  auto scale = [&](int x) { return Clamp255(static_cast<int>(x * factor)); };
  return MakeColor(scale(RedOf(c)), scale(GreenOf(c)), scale(BlueOf(c)));
}

double ColorDistance(Color a, Color b) {
  Weighted wa = ToWeighted(a), wb = ToWeighted(b);
  Weighted d{{wa.v[0] - wb.v[0], wa.v[1] - wb.v[1], wa.v[2] - wb.v[2]}};
  return Length(d);
}

double Brightness(Color a) { return Length(ToWeighted(a)); }

double AdjustedThreshold(Color a, double p) {
  const int brightness = std::min(static_cast<int>(Brightness(a)), 220);
  const float perUnit = 1.0f / 220.0f;
  const float darkness = static_cast<float>(brightness) * perUnit;
  return (2.0 - static_cast<double>(darkness)) * static_cast<int>(p);
}

bool IsFartherThan(Color a, Color b, bool adjust, double p) {
  if (adjust) p = AdjustedThreshold(a, p);
  const double d = ColorDistance(a, b);
  return d * d > p * p;
}

Color LimitToDistance(Color a, Color b, double p) {
  const double d = ColorDistance(a, b);
  if (d <= 0.0) return b;  // the same colour: there is no direction to pull along
  const double k = (d - AdjustedThreshold(a, p)) / d;
  Weighted wa = ToWeighted(a), wb = ToWeighted(b), out{};
  for (int i = 0; i < 3; ++i) out.v[i] = wb.v[i] + (wa.v[i] - wb.v[i]) * k;
  return FromWeighted(out);
}

Color MoveToDistance(Color a, Color b, double p) {
  const double t = AdjustedThreshold(a, p);
  Weighted wa = ToWeighted(a), wb = ToWeighted(b);
  const double la = Length(wa), lb = Length(wb);
  const bool white = (lb > la && la <= 442.0 - t) || (lb <= la && la <= t);
  if (white) {
    for (int i = 0; i < 3; ++i) {
      wa.v[i] = kRange[i] - wa.v[i];
      wb.v[i] = kRange[i] - wb.v[i];
    }
  }
  const double n = std::max(Length(wb), 0.001);
  const double q = Dot(wa, wb) / (n * n);
  double off = 0.0;
  for (int i = 0; i < 3; ++i) off += (q * wb.v[i] - wa.v[i]) * (q * wb.v[i] - wa.v[i]);
  const double under = t * t - off;
  if (under < 0.0) return 0;  // no point of the ray lies at distance t
  const double s = Dot(wa, wb) / n - std::sqrt(under);
  Weighted out{};
  for (int i = 0; i < 3; ++i) {
    out.v[i] = s * wb.v[i] / n;
    if (white) out.v[i] = kRange[i] - out.v[i];
  }
  return FromWeighted(out);
}

}  // namespace tkcolor
