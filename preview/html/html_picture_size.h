// The size in pixels that a picture's header declares (GIF, BMP, JPEG, PNG), read without decoding it, so
// that a few kilobytes that declare a picture of many millions of pixels are refused before a decoder
// makes room for them.
#pragma once

#include <cstddef>
#include <cstdint>

namespace htmlview {

// False when data is none of those formats or its header is cut short. For a GIF, the largest extent of
// its screen and of its frames.
bool DeclaredPictureSize(const uint8_t* data, size_t size, long long& width, long long& height);

}  // namespace htmlview
