#include "preview/html/gdi_text_measurer_win32.h"

namespace htmlview {

static_assert(sizeof(wchar_t) == 2, "UTF-16 wchar_t");

GdiTextMeasurer::~GdiTextMeasurer() {
  if (dc_) {
    SelectObject(dc_, original_);
    DeleteDC(dc_);
  }
  if (font_) DeleteObject(font_);
}

bool GdiTextMeasurer::UseFont(std::u16string_view face, int height, int bold, int italic) {
  if (!dc_) {
    dc_ = CreateCompatibleDC(nullptr);
    if (!dc_) return false;
    original_ = GetCurrentObject(dc_, OBJ_FONT);
  }
  const int weight = bold ? 1 : 0, slant = italic ? 1 : 0;
  if (font_ && face_ == face && height_ == height && bold_ == weight && italic_ == slant) return true;
  const std::wstring faceName(face.begin(), face.end());
  HFONT font = CreateFontW(height, 0, 0, 0, bold ? FW_BOLD : FW_NORMAL, italic ? TRUE : FALSE, FALSE, FALSE,
                           UsesSymbolCharset(face) ? SYMBOL_CHARSET : ANSI_CHARSET, OUT_DEFAULT_PRECIS,
                           CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, faceName.c_str());
  if (!font) return false;
  SelectObject(dc_, font);
  if (font_) DeleteObject(font_);
  font_ = font;
  face_ = std::u16string(face);
  height_ = height;
  bold_ = weight;
  italic_ = slant;
  return true;
}

HtmlTextSize GdiTextMeasurer::MeasureText(std::u16string_view face, int height, int bold, int italic,
                                          const char16_t* text, int /*flags*/, int length) {
  const int count = MeasuredLength(text, length);
  if (!UseFont(face, height, bold, italic)) return {};
  SIZE size{0, 0};
  if (count > 0) {
    GetTextExtentPoint32W(dc_, reinterpret_cast<const wchar_t*>(text), count, &size);
  } else {
    // An empty text is as tall as the font, as an extent of no characters is: an empty button keeps a line.
    TEXTMETRICW metrics{};
    if (GetTextMetricsW(dc_, &metrics)) size.cy = metrics.tmHeight;
  }
  return {size.cx, size.cy};
}

int GdiTextMeasurer::ScrollBarWidth() { return GetSystemMetrics(SM_CXHSCROLL); }

}  // namespace htmlview
