// The button image editor's bitmaps from arbitrary bytes, read as a .bmp file, as the clipboard's packed
// bitmap and as an icon file: a bad one is refused with a message, a good one decodes to its size and
// encodes back to the same pixels.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "toolkit/commandbars/customize/tkp_image_editor_dib.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace tkp_image_editor;
  for (const DibResult& read : {DecodeBmpFile(data, size), DecodePackedDib(data, size),
                                DecodeIconFile(data, size, 16, 16), DecodeIconFile(data, size, 32, 32)}) {
    if (!read.ok) {
      if (read.error.empty()) std::abort();
      continue;
    }
    std::vector<uint8_t> again = EncodePackedDib32(read.image);
    DibResult back = DecodePackedDib(again.data(), again.size());
    if (!back.ok || back.image.Pixels().size() != read.image.Pixels().size()) std::abort();
  }
  return 0;
}
