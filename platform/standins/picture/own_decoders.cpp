#include "platform/standins/picture/raster_decoders.h"

namespace picture {

RasterDecoder OwnDecoderFor(uint32_t imageType) {
  switch (imageType) {
    case 7: return DecodeTga;
    case 8: return DecodePcx;
    case 9: return DecodeWbmp;
    case 11:
    case 12: return DecodeJpeg2000;
    case 14: return DecodePnm;
    case 15: return DecodeSunRaster;
    default: return nullptr;
  }
}

}  // namespace picture
