#include "preview/viewers/picture_placement.h"

#include <algorithm>

namespace preview {

namespace {
// Keeps ratio * 100 well inside an int for pictures of any shape.
constexpr float kMaxStripRatio = 1.0e6f;
}  // namespace

Placement PlaceImageStrip(int clientWidth, uint32_t pictureWidth, uint32_t pictureHeight) {
  Placement p;
  if (pictureWidth == 0 || pictureHeight == 0) return p;
  const float ratio = std::min(static_cast<float>(pictureHeight) / static_cast<float>(pictureWidth), kMaxStripRatio);
  const int extra = static_cast<int>(ratio * 100.0f);
  p.x = clientWidth / 2 - 100;
  p.y = (120 - extra) / 2;
  p.width = 200;
  p.height = extra + 100;
  return p;
}

Placement PictureViewBox(int left, int top, int right, int bottom) {
  return Placement{left + 200, top + 10, std::max(0, right - 400), std::max(0, bottom - 20)};
}

Placement FitThumbnail(uint32_t pictureWidth, uint32_t pictureHeight) {
  Placement p;
  if (pictureWidth == 0 || pictureHeight == 0) return p;
  const double ratio = static_cast<double>(pictureHeight) / static_cast<double>(pictureWidth);
  if (ratio <= 0.75) {
    p.width = kThumbWidth;
    p.height = static_cast<int>(ratio * kThumbWidth);
    p.y = (kThumbHeight - p.height) / 2;
  } else {
    p.height = kThumbHeight;
    p.width = static_cast<int>(kThumbHeight / ratio);
    p.x = (kThumbWidth - p.width) / 2;
  }
  return p;
}

int32_t HimetricToPixels(int32_t himetric, int32_t pixelsPerInch) {
  const int64_t pixels = (int64_t{himetric} * pixelsPerInch + 1270) / 2540;
  return static_cast<int32_t>(std::clamp<int64_t>(pixels, INT32_MIN, INT32_MAX));
}

}  // namespace preview
