#include "preview/placeholder_picture.h"

PlaceholderPicture ChooseNoPreviewPicture(uint32_t noFileSelected, uint32_t previewSupported, uint32_t previewOk,
                                          uint32_t imageNeeded) {
  if (noFileSelected != 0) return PlaceholderPicture::kSelectFile;
  if (imageNeeded != 0) return PlaceholderPicture::kImageNeeded;
  if (previewSupported == 0 && previewOk != 0) return PlaceholderPicture::kNoViewer;
  return PlaceholderPicture::kCorrupted;
}

PlaceholderOrigin CentredPlaceholder(int clientWidth, int clientHeight, int pictureWidth, int pictureHeight) {
  return {clientWidth / 2 - pictureWidth / 2, clientHeight / 2 - pictureHeight / 2};
}
