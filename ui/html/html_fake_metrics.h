// A fixed-width fake font for tests and the fuzz target: every character is half the font size wide,
// the ascent is three quarters of the size. Images and strings come from small tables the test fills.
#pragma once

#include <map>

#include "ui/html/html_metrics.h"

namespace html {

class HtmlFakeMetrics : public HtmlMetrics {
 public:
  HtmlFontMetrics FontMetrics(const HtmlFont& font) override;
  int TextWidth(const HtmlFont& font, std::u16string_view text) override;
  HtmlSize ImageSize(const HtmlImageSource& image) override;
  std::u16string LoadString(uint32_t id) override;

  // Images by their idres number, a caller's images by their handle; strings by their number.
  std::map<uint32_t, HtmlSize> images;
  std::map<uint32_t, HtmlSize> handles;
  std::map<uint32_t, std::u16string> strings;
};

}  // namespace html
