// Style-sheet text and declarations from markup: the sheet reader, the declaration applier, the font tag's
// attributes, the value readers and the entity replacement over arbitrary text. Sizes must stay within their
// bounds and nothing may read outside the text.
// Input: the first byte chooses how the rest becomes text: even, one unit a byte (the fuzzer finds keywords
// quickly); odd, UTF-16 little-endian pairs.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "fuzz/fuzz_flags.h"
#include "fuzz/fuzz_text.h"
#include "ui/html/html_entities.h"
#include "ui/html/html_stylesheet.h"

namespace {

void Check(bool ok) {
  if (!ok) abort();
}

void CheckSizes(const html::HtmlStyle& style) {
  for (int size : {style.fontSize, style.borderWidth, style.margin, style.padding}) {
    Check(size >= -html::kMaxHtmlSize && size <= html::kMaxHtmlSize);
  }
  Check(style.borderWidth >= 0);
  Check(style.fontWeight >= 0 && style.fontWeight <= 1000);
}

}  // namespace

DORVANE_FUZZ_FLAGS("-max_len=65536")

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 1) return 0;
  const std::u16string text = FuzzText(data, size);
  static const html::FixedSystemColours system;
  static const html::HtmlColourTable colours(system);
  const html::FixedUnitMetrics units;
  const html::HtmlStyleContext context{colours, units};

  html::HtmlStyleSheet sheet;
  sheet.Load(text);
  html::HtmlStyle style;
  for (std::u16string_view selector : {u"body", u"p", u"h1", u"a:link", u"hr", u".x"}) {
    html::ApplyStyleRule(sheet, selector, style, context);
    CheckSizes(style);
  }
  html::ApplyDeclarations(text, style, context);
  CheckSizes(style);
  for (std::u16string_view name : {u"face", u"size", u"color", u"style", u"weight", u"bkgnd"}) {
    html::ApplyFontAttribute(name, text, style, context);
  }
  CheckSizes(style);
  Check(html::ReadSize(text, 16, true, units) <= html::kMaxHtmlSize);
  html::ReadFill(text, html::kHtmlNoFill, units);
  html::ReadEffectLetters(text, html::HtmlShadow());

  std::u16string replaced = text;
  html::ReplaceEntities(replaced);
  Check(replaced.size() <= text.size());  // no replacement is longer than its entity
  return 0;
}
