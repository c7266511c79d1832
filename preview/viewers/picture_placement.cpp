#include "preview/viewers/picture_placement.h"

#include <algorithm>
#include <cmath>

namespace preview {

Placement FitPicture(int clientWidth, int clientHeight, uint32_t pictureWidth, uint32_t pictureHeight) {
  Placement p;
  if (pictureWidth == 0 || pictureHeight == 0) return p;
  const double roomX = std::max(1, clientWidth - 2 * kPictureMargin);
  const double roomY = std::max(1, clientHeight - 2 * kPictureMargin);
  const double scale = std::min({1.0, roomX / pictureWidth, roomY / pictureHeight});
  p.width = std::max(1, static_cast<int>(std::lround(pictureWidth * scale)));
  p.height = std::max(1, static_cast<int>(std::lround(pictureHeight * scale)));
  p.x = (clientWidth - p.width) / 2;
  p.y = (clientHeight - p.height) / 2;
  return p;
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
