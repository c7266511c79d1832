// Colour values from arbitrary text: always a COLORREF (no bits above the blue byte).
#include <cstdlib>

#include "fuzz/fuzz_text.h"
#include "preview/html/html_color.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (htmlview::ParseColor(FuzzText(data, size)) > 0xFFFFFFu) abort();
  return 0;
}
