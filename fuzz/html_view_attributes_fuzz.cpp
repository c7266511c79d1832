// Attribute splitting over arbitrary tag text: every cell is a piece of the tag, and a row has one or two.
#include <cstdlib>

#include "fuzz/fuzz_flags.h"
#include "fuzz/fuzz_text.h"
#include "preview/html/html_attributes.h"

DORVANE_FUZZ_FLAGS("-max_len=65536")

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::u16string tag = FuzzText(data, size);
  htmlview::StringTable table;
  htmlview::ParseAttributes(tag, table);
  for (int r = 0; r < table.RowCount(); ++r) {
    const htmlview::StringList& row = table.GetRow(r);
    if (row.Count() < 1 || row.Count() > 2) abort();
    for (int c = 0; c < row.Count(); ++c)
      if (tag.find(row.GetText(c)) == std::u16string::npos) abort();
  }
  return 0;
}
