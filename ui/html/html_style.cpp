#include "ui/html/html_style.h"

namespace html {

void SetShadow(HtmlShadow& shadow, int offsetX, int offsetY, int darkness, bool gradient, int blurX, int blurY) {
  int percent = static_cast<int>(static_cast<unsigned>(darkness) % 256u);
  if (percent > 100) percent = 100;
  // 255 * (100 - percent) / 100, rounded half up.
  uint32_t level = static_cast<uint32_t>((255 * (100 - percent) + 50) / 100);
  shadow.gradient = gradient;
  shadow.offsetX = offsetX;
  shadow.offsetY = offsetY;
  shadow.blurX = blurX;
  shadow.blurY = blurY;
  shadow.darkness = percent;
  shadow.colour = level | (level << 8) | (level << 16);
}

}  // namespace html
