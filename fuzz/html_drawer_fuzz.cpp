// Arbitrary markup through the HTML drawer's preparation, reading and layout over the fake font: measured
// without a width, then laid out wrapped at a width taken from the input, with a hovered link. It must never
// crash, hang or read outside the text.
// Input: one byte for the width and one for the hovered link, then the markup, one byte a character.
#include <cstddef>
#include <cstdint>
#include <string>

#include "fuzz/fuzz_flags.h"
#include "ui/html/html_fake_metrics.h"
#include "ui/html/html_layout.h"
#include "ui/html/html_text.h"

DORVANE_FUZZ_FLAGS("-max_len=65536")

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 2) return 0;
  std::u16string markup(data + 2, data + size);
  static html::HtmlFakeMetrics metrics = [] {
    html::HtmlFakeMetrics fake;
    fake.images[1] = {48, 16};
    fake.images[2] = {16, 16};
    fake.strings[1] = u"string resource";
    return fake;
  }();
  static html::FixedSystemColours system;
  static html::HtmlColourTable colours(system);
  static html::HtmlStyleSheet sheet;
  html::HtmlLayoutSettings settings;
  settings.hoveredLink = data[1] % 4;
  std::u16string prepared = html::PrepareHtmlText(markup, (data[1] & 0x80) == 0);
  html::HtmlLayout layout(metrics, sheet, colours, settings);
  layout.Run(prepared, 0, 0, 0, false);
  layout.Run(prepared, 3, 5, data[0] * 4, true);
  return 0;
}
