// Where the picture viewers put a picture: the fit into a view's client (the image, picture and PSD views),
// and the thumbnail view's fit into a 160 x 120 tile. Sizes in pixels.
#pragma once

#include <cstdint>

namespace preview {

struct Placement {
  int x = 0;
  int y = 0;
  int width = 0;
  int height = 0;
};

// A view's picture wholly inside the client less a margin of kPictureMargin pixels on every side, its
// proportions kept, never enlarged past its own size (a small picture keeps its pixels sharp), centred; at
// least a pixel each way.
constexpr int kPictureMargin = 10;
Placement FitPicture(int clientWidth, int clientHeight, uint32_t pictureWidth, uint32_t pictureHeight);

// The thumbnail tile.
constexpr int kThumbWidth = 160;
constexpr int kThumbHeight = 120;
// The picture fitted into the tile keeping its aspect ratio: full width when it is 4:3 or wider
// (centred vertically), else full height (centred horizontally).
Placement FitThumbnail(uint32_t pictureWidth, uint32_t pictureHeight);

// HIMETRIC (0.01 mm) to pixels at the given pixels per inch, rounded.
int32_t HimetricToPixels(int32_t himetric, int32_t pixelsPerInch);

}  // namespace preview
