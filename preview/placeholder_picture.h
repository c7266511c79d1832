// Which picture the no-preview view paints, and where a placeholder picture lies in its view.
#pragma once

#include <cstdint>

enum class PlaceholderPicture : uint8_t { kSelectFile, kNoViewer, kCorrupted, kLargeFile, kImageNeeded };

// From the main frame's preview flags at the time of painting: no file selected asks for one; a file that
// could not be read because its disk image is not open says what to open; a type without a viewer, shown
// as such, says so; anything else is a file the viewer could not show.
PlaceholderPicture ChooseNoPreviewPicture(uint32_t noFileSelected, uint32_t previewSupported, uint32_t previewOk,
                                          uint32_t imageNeeded);

struct PlaceholderOrigin {
  int x;
  int y;
};
// The picture at its natural size, centred (integer halves): a view smaller than it clips it evenly.
PlaceholderOrigin CentredPlaceholder(int clientWidth, int clientHeight, int pictureWidth, int pictureHeight);
