// Where the picture viewers put a picture: the image view's fixed-width strip, the picture view's box
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

// The image view: 200 pixels wide and centred; the height is 100 plus a hundred times height / width,
// the top half of (120 - that extra) down. This does not keep the aspect ratio (a 400 x 200 picture
// becomes 200 x 150); it is the look the view has always had.
Placement PlaceImageStrip(int clientWidth, uint32_t pictureWidth, uint32_t pictureHeight);

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
