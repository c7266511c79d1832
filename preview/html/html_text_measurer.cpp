#include "preview/html/html_text_measurer.h"

#include <cstdlib>

namespace htmlview {

int MeasuredLength(const char16_t* text, int length) {
  if (!text) return 0;
  if (length >= 0) return length;
  return static_cast<int>(std::u16string_view(text).size());
}

HtmlTextSize FixedAdvanceMeasurer::MeasureText(std::u16string_view face, int height, int bold, int /*italic*/,
                                               const char16_t* text, int /*flags*/, int length) {
  lastFace = std::u16string(face);
  lastSymbol = UsesSymbolCharset(face);
  const int count = MeasuredLength(text, length);
  return {count * (advance_ + (bold ? 1 : 0)), std::abs(height)};
}

}  // namespace htmlview
