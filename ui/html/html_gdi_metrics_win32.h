// The text metrics of marked-up text from a device context, with the fonts made once per style (Windows
// build).
#pragma once

#include <windows.h>

#include <map>
#include <tuple>

#include "ui/html/html_metrics.h"

namespace html {

class HtmlFontCache {
 public:
  HtmlFontCache() = default;
  ~HtmlFontCache();
  HtmlFontCache(const HtmlFontCache&) = delete;
  HtmlFontCache& operator=(const HtmlFontCache&) = delete;
  // The font of the style (its size as the cell height), made on first use; kept until the cache goes.
  HFONT Font(const HtmlFont& font);

 private:
  using Key = std::tuple<std::u16string, int, int, bool, bool, bool>;
  std::map<Key, HFONT> fonts_;
};

class GdiHtmlMetrics : public HtmlMetrics {
 public:
  GdiHtmlMetrics(HDC dc, HtmlFontCache& fonts, HMODULE imageModule);
  ~GdiHtmlMetrics() override;
  HtmlFontMetrics FontMetrics(const HtmlFont& font) override;
  int TextWidth(const HtmlFont& font, std::u16string_view text) override;
  HtmlSize ImageSize(const HtmlImageSource& image) override;
  std::u16string LoadString(uint32_t id) override;
  int PixelsPerInch() override;

 private:
  void Select(const HtmlFont& font);
  HDC dc_;
  HtmlFontCache& fonts_;
  HMODULE imageModule_;
  HGDIOBJ originalFont_;
};

}  // namespace html
