// Our own decoders of the picture types the system's imaging component does not read (JPEG 2000 through
// OpenJPEG). Each takes the
// whole file and fills the picture, or says why it cannot: a file cut short, a header out of range or a
// kind of the format we do not read is an error, never a partial picture.
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/standins/picture/raster_picture.h"

namespace picture {

// Targa: colour-mapped, true-colour and grey, raw or run-length, 8/15/16/24/32 bits, either origin.
DecodeError DecodeTga(const uint8_t* data, size_t size, RasterPicture& out);
// PCX: 1, 2 and 4 bits in up to four planes (the header's 16 colours), 8 bits with the closing palette
// (grey without one), 8-bit RGB in three planes (a fourth is ignored); run-length or raw.
DecodeError DecodePcx(const uint8_t* data, size_t size, RasterPicture& out);
// PBM, PGM and PPM, plain and raw (P1 to P6), maximum sample values 1 to 65535.
DecodeError DecodePnm(const uint8_t* data, size_t size, RasterPicture& out);
// Sun raster: 1, 8, 24 and 32 bits, with or without an RGB colour map, raw or byte-encoded.
DecodeError DecodeSunRaster(const uint8_t* data, size_t size, RasterPicture& out);
// WBMP type 0 (one bit a pixel, 1 white).
DecodeError DecodeWbmp(const uint8_t* data, size_t size, RasterPicture& out);

// JPEG 2000, a JP2 file or a bare codestream (told apart by their first bytes): grey, RGB or sYCC, with or
// without alpha, at any precision; a file that is not whole is refused.
DecodeError DecodeJpeg2000(const uint8_t* data, size_t size, RasterPicture& out);

// The decoder of a picture type (7 TGA, 8 PCX, 9 WBMP, 11 JP2 and 12 JPC (both JPEG 2000), 14 PNM, 15 Sun
// raster); null for other types.
using RasterDecoder = DecodeError (*)(const uint8_t*, size_t, RasterPicture&);
RasterDecoder OwnDecoderFor(uint32_t imageType);

}  // namespace picture
