// Text measuring with GDI: the font of the last measure is kept, selected into a memory device context
// compatible with the screen, since the words of a page come in long runs of one font.
#pragma once

#include <windows.h>

#include <string>

#include "preview/html/html_text_measurer.h"

namespace htmlview {

class GdiTextMeasurer : public HtmlTextMeasurer {
 public:
  GdiTextMeasurer() = default;
  ~GdiTextMeasurer() override;
  GdiTextMeasurer(const GdiTextMeasurer&) = delete;
  GdiTextMeasurer& operator=(const GdiTextMeasurer&) = delete;

  HtmlTextSize MeasureText(std::u16string_view face, int height, int bold, int italic, const char16_t* text, int flags,
                           int length) override;
  int ScrollBarWidth() override;

 private:
  // Selects the font into the device context (made on first use); false when either cannot be made.
  bool UseFont(std::u16string_view face, int height, int bold, int italic);

  HDC dc_ = nullptr;
  HGDIOBJ original_ = nullptr;  // the context's own font, selected back before it goes
  HFONT font_ = nullptr;
  std::u16string face_;
  int height_ = 0, bold_ = 0, italic_ = 0;
};

}  // namespace htmlview
