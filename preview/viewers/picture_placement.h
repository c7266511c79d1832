// Where the picture viewers put a picture: the image view's fit into its client, the picture view's box
// inside its margins, and the thumbnail view's fit into a 160 x 120 tile. Sizes in pixels.
#pragma once

#include <cstdint>

namespace preview {

struct Placement {
  int x = 0;
  int y = 0;
  int width = 0;
  int height = 0;
};

// The image view: the picture wholly inside the client less a margin of kPictureMargin pixels on every
// side, its proportions kept, never enlarged past its own size (a small picture keeps its pixels sharp),
// centred; at least a pixel each way.
constexpr int kPictureMargin = 10;
Placement FitPicture(int clientWidth, int clientHeight, uint32_t pictureWidth, uint32_t pictureHeight);

// The picture view's box: 200 pixels in from the left, 10 down, and the client's right and bottom less
// 400 and 20 as width and height; never negative, however narrow the pane.
Placement PictureViewBox(int left, int top, int right, int bottom);

// The thumbnail tile.
constexpr int kThumbWidth = 160;
constexpr int kThumbHeight = 120;
// The picture fitted into the tile keeping its aspect ratio: full width when it is 4:3 or wider
// (centred vertically), else full height (centred horizontally).
Placement FitThumbnail(uint32_t pictureWidth, uint32_t pictureHeight);

// HIMETRIC (0.01 mm) to pixels at the given pixels per inch, rounded.
int32_t HimetricToPixels(int32_t himetric, int32_t pixelsPerInch);

}  // namespace preview
