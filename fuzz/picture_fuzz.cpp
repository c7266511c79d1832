// A picture file from a recovered disk, read by one of our own decoders (PICTURE_TYPE: 7 TGA, 8 PCX,
// 9 WBMP, 11 JPEG 2000, 14 PNM, 15 Sun raster): every read stays inside the file, no size wraps, and what decodes
// has as many pixels as its sides say, within the limits.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "platform/standins/picture/raster_decoders.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  picture::RasterPicture out;
  if (picture::OwnDecoderFor(PICTURE_TYPE)(data, size, out) == nullptr) {
    if (out.width == 0 || out.height == 0 || out.width > picture::kMaxSide || out.height > picture::kMaxSide) std::abort();
    if (out.pixels.size() != uint64_t{out.width} * out.height || out.pixels.size() > picture::kMaxPixels) std::abort();
    for (uint32_t pixel : out.pixels) {
      if (pixel > 0xFFFFFF) std::abort();
    }
  }
  return 0;
}
