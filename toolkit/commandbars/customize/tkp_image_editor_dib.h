// Device-independent bitmaps that the button image editor reads from outside (a .bmp or .dib file, the
// clipboard's "Alpha Bitmap Image") and writes (that clipboard format). Every size and offset is checked
// against the bytes given; what cannot be read gets a message and no image.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "toolkit/commandbars/customize/tkp_image_editor_pixels.h"

namespace tkp_image_editor {

// The registered clipboard format that carries an image with its alpha.
constexpr char16_t kAlphaFormatName[] = u"Alpha Bitmap Image";
// The largest picture read, in each direction: more than any button needs.
constexpr int kMaxDibSide = 1024;

struct DibResult {
  bool ok = false;
  std::string error;  // why not, for the user
  EditorImage image;  // alpha when the picture is 32-bit and some pixel has alpha
};

// A packed DIB: the info header, its masks and colour table, then the bits.
DibResult DecodePackedDib(const uint8_t* data, size_t size);
// A .bmp file: "BM", the file header, and a packed DIB whose bits start at the file header's offset.
DibResult DecodeBmpFile(const uint8_t* data, size_t size);
// The 32-bit image of the given size in an .ico file (its colour rows, alpha kept; the mask rows that
// follow them are left out); an error when the file holds none or is damaged.
DibResult DecodeIconFile(const uint8_t* data, size_t size, int width, int height);
// A packed 32-bit top-down DIB of the image, its alpha kept.
std::vector<uint8_t> EncodePackedDib32(const EditorImage& image);

// A clipboard format whose name holds "DIB32" after its first character carries alpha; only the first
// 254 characters of a name count.
bool NamesAlphaFormat(std::u16string_view name);

}  // namespace tkp_image_editor
