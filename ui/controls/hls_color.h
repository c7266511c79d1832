// Colours derived from a system colour in the hue-lightness-saturation model, each on a 0 to 255 scale:
// the flat combo box's frame shades.
#pragma once

#include <cstdint>

namespace ui {

struct Hls {
  int hue = 0, lightness = 0, saturation = 0;  // 0..255 each
};

Hls ToHls(uint32_t colour);     // colour 0x00BBGGRR
uint32_t FromHls(const Hls& hls);

// Lightness and saturation changed by percentages: a positive change moves that share of the way toward
// 255, a negative one scales by (100 + change) %. Changes are held within -100..100.
uint32_t AdjustHls(uint32_t colour, int lightnessPercent, int saturationPercent);

}  // namespace ui
