// The picture kinds the thumbnail view decodes, told by the end of a file's name.
#pragma once

#include <cstdint>
#include <string_view>

namespace preview {

enum ImageFileType : uint32_t {
  kImageUnsupported = 0,
  kImageBmp = 1,
  kImageGif = 2,
  kImageJpeg = 3,
  kImagePng = 4,
  kImageIcon = 5,
  kImageTiff = 6,
  kImageTga = 7,
  kImagePcx = 8,
  kImageWbmp = 9,
  kImageMetafile = 10,
  kImageJp2 = 11,
  kImageJpc = 12,
  kImagePgx = 13,
  kImagePnm = 14,
  kImageRas = 15,
};

}  // namespace preview

// The picture type (1 to 15) of a file name from its last three or four characters, without regard to
// case; 0 when the name ends in none of them.
uint32_t IsSupportedImageFile(std::u16string_view name);
