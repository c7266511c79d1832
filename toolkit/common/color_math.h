// Colour arithmetic of the toolkit: blends, and distances measured in a weighted colour space in which
// green counts most and blue least. Colours are 0x00BBGGRR.
#pragma once

#include <cstdint>

namespace tkcolor {

using Color = std::uint32_t;

inline int RedOf(Color c) { return static_cast<int>(c & 0xFF); }
inline int GreenOf(Color c) { return static_cast<int>((c >> 8) & 0xFF); }
inline int BlueOf(Color c) { return static_cast<int>((c >> 16) & 0xFF); }
inline Color MakeColor(int red, int green, int blue) {
  return static_cast<Color>((red & 0xFF) | ((green & 0xFF) << 8) | ((blue & 0xFF) << 16));
}

// Per channel (c1·p + c2·(b − p) + b/2) / b with b = 100 below 100 and 1000 from 100 up: p below 100 is
// a percentage of c1, from 100 up a per-mille of c1 (205 is 20.5 %).
Color BlendPercent(Color c1, Color c2, int p);
// Per channel c1·f + c2·(1 − f), truncated and capped at 255 (f from 0 to 1).
Color BlendFraction(Color c1, Color c2, double f);
// Per channel (this·(100 − p) + other·p) / 100, kept within 0..255.
Color BlendIn(Color self, Color other, int p);
// Per channel this − other, floored at 0.
Color Subtract(Color self, Color other);
// Each channel multiplied by the factor and truncated.
Color Scale(Color c, double factor);

// Distances in the weighted space: red 0..195, green 0..390, blue 0..65.
double ColorDistance(Color a, Color b);
double Brightness(Color a);
// The threshold p for the reference a: up to twice p for dark references.
double AdjustedThreshold(Color a, double p);
// TRUE when b lies farther than p from a (p adjusted for a when asked); equal is not farther.
bool IsFartherThan(Color a, Color b, bool adjust, double p);
// b pulled toward a onto the segment between them, at the adjusted distance p from a.
Color LimitToDistance(Color a, Color b, double p);
// b moved along the ray from the black or white corner through it to the adjusted distance p from a;
// black when that ray never comes so close.
Color MoveToDistance(Color a, Color b, double p);

}  // namespace tkcolor
