// Text measuring with GDI: a font made for each measure, selected into a screen device context.
#pragma once

#include "preview/html/html_text_measurer.h"

namespace htmlview {

class GdiTextMeasurer : public HtmlTextMeasurer {
 public:
  HtmlTextSize MeasureText(std::u16string_view face, int height, int bold, int italic, const char16_t* text, int flags,
                           int length) override;
  int ScrollBarWidth() override;
};

}  // namespace htmlview
