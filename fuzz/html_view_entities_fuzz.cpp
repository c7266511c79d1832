// Entity decoding and UTF-8 repair in place over arbitrary text: the text never grows and nothing is read
// or written past its zero.
#include <cstdlib>
#include <vector>

#include "fuzz/fuzz_flags.h"
#include "fuzz/fuzz_text.h"
#include "preview/html/html_entities.h"

DORVANE_FUZZ_FLAGS("-max_len=65536")

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::u16string text = FuzzText(data, size);
  std::vector<char16_t> buffer(text.begin(), text.end());
  buffer.push_back(0);
  const size_t before = std::u16string_view(buffer.data()).size();
  htmlview::DecodeEntities(buffer.data());
  if (std::u16string_view(buffer.data()).size() > before) abort();
  htmlview::RepairUtf8(buffer.data());
  if (std::u16string_view(buffer.data()).size() > before) abort();
  return 0;
}
