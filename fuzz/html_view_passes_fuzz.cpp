// Page text through the page viewer's parse and layout passes, with a host that makes controls, a fixed-
// advance measurer and pictures of made-up sizes. Neither pass may read outside the text, nest without
// bound or take long; every position stays finite.
// Input: the first byte chooses how the rest becomes text (see fuzz_text.h); the text is cut at 65536
// units, and an input may take 5 s at most (the work grows with the text: even this slow
// instrumented build reads the longest text in well under that).
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "fuzz/fuzz_text.h"
#include "fuzz/fuzz_flags.h"
#include "preview/html/html_layout_pass.h"
#include "preview/html/html_parse_pass.h"

namespace {

using namespace htmlview;

class Host : public NullHtmlCallbacks {
 public:
  int AddForm(const char16_t*, const char16_t*) override { return forms++; }
  HtmlWindowHandle CreateEdit(int, int, int, int, const char16_t*, int, const char16_t*, int, int) override {
    return 1;
  }
  HtmlWindowHandle CreatePushButton(int, int, const char16_t*, const char16_t*, int) override { return 2; }
  HtmlWindowHandle CreateRadioButton(int, int, const char16_t*, const char16_t*, int) override { return 3; }
  HtmlWindowHandle CreateCheckBox(int, int, const char16_t*, const char16_t*, int) override { return 4; }
  HtmlWindowHandle CreateDropDownList(int, int, const StringTable&, int, const char16_t*, int) override { return 5; }
  int forms = 0;
};

class Pictures : public HtmlImageSizes {
 public:
  bool NaturalSize(int index, int, int& w, int& h) override {
    if (index % 3 == 2) return false;
    w = 1 + index * 37 % 300;
    h = 1 + index * 53 % 200;
    return true;
  }
};

void Check(bool ok) {
  if (!ok) abort();
}

}  // namespace

DORVANE_FUZZ_FLAGS("-timeout=5", "-max_len=65536")

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::u16string text = FuzzText(data, size);
  if (text.size() > 65536) text.resize(65536);
  Host host;
  HtmlDocument doc(size % 2 ? &host : nullptr, 0);
  FixedAdvanceMeasurer measurer(7);
  HtmlParsePass parse(doc, measurer);
  parse.ParseRange(text, doc.elements, u"Times New Roman", 15, 0, u"http://host/dir/page.htm", 0, 0, 0);
  Check(doc.level <= kMaxParseDepth);
  Pictures pictures;
  HtmlLayoutPass layout(doc, &pictures);
  doc.layoutPass = [&layout](HtmlElementList& list, HtmlRect& rect) { layout.Layout(list, rect); };
  HtmlRect rect{0, 0, 640, 480};
  doc.Layout(rect);
  return 0;
}
