#include "toolkit/commandbars/bars/shadow_geometry.h"

#include <algorithm>

namespace {

constexpr int kFade = 4;  // the fading square at a strip's ends is this many pixels on a side

// The base colour scaled per channel (truncated), with alpha a, as premultiplied 0xAARRGGBB. A channel
// never exceeds the alpha, so that the picture stays a valid premultiplied one for any base colour.
uint32_t Pixel(uint32_t base, double factor, int alpha) {
  alpha = std::clamp(alpha, 0, 255);
  auto channel = [&](int shift) {
    const int value = static_cast<int>(static_cast<double>((base >> shift) & 0xFF) * factor);
    return static_cast<uint32_t>(std::min(value, alpha));
  };
  const uint32_t red = channel(0);
  const uint32_t green = channel(8);
  const uint32_t blue = channel(16);
  return (static_cast<uint32_t>(alpha) << 24) | (red << 16) | (green << 8) | blue;
}

// One pixel of the shadow's body, `out` pixels away from the popup's edge.
uint32_t BodyPixel(uint32_t base, int out, int strength) {
  static const double kFactor[kFade] = {1.0, 0.75, 0.5, 0.25};
  static const int kAlpha[kFade] = {60, 45, 30, 15};
  if (out < 0 || out >= kFade) return 0;
  return Pixel(base, kFactor[out], kAlpha[out] * strength);
}

// One pixel of a fading square, i across and j along the strip, both counted from 1.
uint32_t FadePixel(uint32_t base, int i, int j, int strength) {
  return Pixel(base, 0.05 * i * j, 3 * strength * i * j);
}

}  // namespace

int TKPShadowDepth(bool layered) { return layered ? 4 : 2; }

CRect TKPShadowStrip(bool horizontal, const CRect& popup, int depth) {
  if (horizontal) return CRect(popup.left + depth, popup.bottom, popup.right + depth, popup.bottom + depth);
  return CRect(popup.right, popup.top + depth, popup.right + depth, popup.bottom);
}

CRect TKPShortenShadowStrip(CRect strip, bool horizontal, const std::vector<TKPShadowStripRef>& others) {
  for (const TKPShadowStripRef& other : others) {
    if (other.horizontal == horizontal) continue;
    CRect overlap;
    if (!overlap.IntersectRect(strip, other.rect)) continue;
    // Cut at the end nearer the overlap.
    if (horizontal) {
      if (overlap.left - strip.left < strip.right - overlap.right) {
        strip.left = overlap.right;
      } else {
        strip.right = overlap.left;
      }
    } else if (overlap.top - strip.top < strip.bottom - overlap.bottom) {
      strip.top = overlap.bottom;
    } else {
      strip.bottom = overlap.top;
    }
    if (strip.right < strip.left) strip.right = strip.left;
    if (strip.bottom < strip.top) strip.bottom = strip.top;
  }
  return strip;
}

std::vector<uint32_t> TKPShadowPixels(bool horizontal, int width, int height, uint32_t base, int strength) {
  if (width <= 0 || height <= 0) return {};
  std::vector<uint32_t> pixels(static_cast<size_t>(width) * static_cast<size_t>(height), 0);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      // across: pixels away from the popup's edge; along: pixels from the strip's start.
      const int across = horizontal ? y : x;
      const int along = horizontal ? x : y;
      const int length = horizontal ? width : height;
      uint32_t value;
      if (along < kFade) {
        value = across < kFade ? FadePixel(base, across + 1, along + 1, strength) : 0;
      } else if (horizontal && along >= length - kFade) {
        value = across < kFade ? FadePixel(base, across + 1, length - along, strength) : 0;
      } else {
        value = BodyPixel(base, across, strength);
      }
      pixels[static_cast<size_t>(y) * static_cast<size_t>(width) + static_cast<size_t>(x)] = value;
    }
  }
  return pixels;
}
