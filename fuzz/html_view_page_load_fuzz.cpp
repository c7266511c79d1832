// A page's bytes read as text (marks, zeros, its <meta> charset, UTF-8: never more units than bytes), page
// text through the page viewer's loader (cleaning, title, body background, parse) and layout, and the
// viewer's readers of page-controlled URLs (post targets, file paths, submit links, form queries). None
// may read outside its text or take long.
// Input: the first byte chooses how the rest becomes text (see fuzz_text.h); the text is cut at 65536
// units, and an input may take 5 s at most (the work grows with the text: even this slow
// instrumented build reads the longest text in well under that).
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "fuzz/fuzz_text.h"
#include "fuzz/fuzz_flags.h"
#include "preview/html/html_browser_logic.h"
#include "preview/html/html_page_load.h"
#include "preview/html/html_page_text.h"

DORVANE_FUZZ_FLAGS("-timeout=5", "-max_len=65536")

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace htmlview;
  const CodePageReader latin1 = [](std::string_view bytes, uint32_t) {
    std::u16string text;
    for (unsigned char b : bytes) text.push_back(b);
    return text;
  };
  if (PageTextFromBytes(data, size, latin1, size % 2 == 0).size() > size) std::abort();
  std::u16string text = FuzzText(data, size);
  if (text.size() > 65536) text.resize(65536);
  HtmlDocument doc(nullptr, 0);  // no host: nothing is fetched
  UseLayoutPass(doc);
  FixedAdvanceMeasurer measurer(7);
  LoadPage(doc, measurer, text, u"Arial", 15, size % 2 ? u"file://C:\\t\\page.txt" : u"http://host/dir/page.htm");
  HtmlRect rect{0, 0, 640, 480};
  doc.Layout(rect);
  const std::u16string_view url(text.data(), text.size() < 1100 ? text.size() : 1100);
  SplitPostUrl(url);
  FileUrlPath(url);
  int form = 0;
  IsSubmitUrl(url, form);
  GetFormUrl(url, FormQuery({{u"q", std::u16string(url)}}));
  return 0;
}
