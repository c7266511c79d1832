#include "ui/html/html_gdi_metrics_win32.h"

#include <algorithm>

#include "ui/html/html_images_win32.h"

namespace html {

namespace {
constexpr int kMaxStringLength = 1024;
}  // namespace

HtmlFontCache::~HtmlFontCache() {
  for (auto& entry : fonts_) ::DeleteObject(entry.second);
}

HFONT HtmlFontCache::Font(const HtmlFont& font) {
  Key key{font.face, font.size, font.weight, font.italic, font.underline, font.strikeout};
  auto found = fonts_.find(key);
  if (found != fonts_.end()) return found->second;
  LOGFONTW description{};
  description.lfHeight = font.size;
  description.lfWeight = font.weight;
  description.lfItalic = font.italic;
  description.lfUnderline = font.underline;
  description.lfStrikeOut = font.strikeout;
  description.lfCharSet = DEFAULT_CHARSET;
  description.lfQuality = CLEARTYPE_QUALITY;
  size_t length = std::min<size_t>(font.face.size(), LF_FACESIZE - 1);
  std::copy_n(font.face.begin(), length, description.lfFaceName);
  HFONT made = ::CreateFontIndirectW(&description);
  if (!made) made = static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT));
  else fonts_[key] = made;
  return made;
}

GdiHtmlMetrics::GdiHtmlMetrics(HDC dc, HtmlFontCache& fonts, HMODULE imageModule)
    : dc_(dc), fonts_(fonts), imageModule_(imageModule), originalFont_(::GetCurrentObject(dc, OBJ_FONT)) {}

GdiHtmlMetrics::~GdiHtmlMetrics() { ::SelectObject(dc_, originalFont_); }

void GdiHtmlMetrics::Select(const HtmlFont& font) { ::SelectObject(dc_, fonts_.Font(font)); }

HtmlFontMetrics GdiHtmlMetrics::FontMetrics(const HtmlFont& font) {
  Select(font);
  TEXTMETRICW metrics{};
  ::GetTextMetricsW(dc_, &metrics);
  return {metrics.tmAscent, metrics.tmDescent};
}

int GdiHtmlMetrics::TextWidth(const HtmlFont& font, std::u16string_view text) {
  Select(font);
  SIZE size{};
  ::GetTextExtentPoint32W(dc_, reinterpret_cast<const wchar_t*>(text.data()), static_cast<int>(text.size()), &size);
  return size.cx;
}

HtmlSize GdiHtmlMetrics::ImageSize(const HtmlImageSource& image) {
  return HtmlLoadedImage(image, imageModule_).Size();
}

std::u16string GdiHtmlMetrics::LoadString(uint32_t id) {
  wchar_t buffer[kMaxStringLength] = {};
  int length = ::LoadStringW(::GetModuleHandleW(nullptr), id, buffer, kMaxStringLength);
  return std::u16string(reinterpret_cast<const char16_t*>(buffer), length > 0 ? length : 0);
}

int GdiHtmlMetrics::PixelsPerInch() { return ::GetDeviceCaps(dc_, LOGPIXELSY); }

}  // namespace html
