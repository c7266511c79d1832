#include "preview/html/gdi_text_measurer_win32.h"

#include <windows.h>

#include <string>

namespace htmlview {

static_assert(sizeof(wchar_t) == 2, "UTF-16 wchar_t");

HtmlTextSize GdiTextMeasurer::MeasureText(std::u16string_view face, int height, int bold, int italic,
                                          const char16_t* text, int /*flags*/, int length) {
  const int count = MeasuredLength(text, length);
  const std::wstring faceName(face.begin(), face.end());
  HFONT font = CreateFontW(height, 0, 0, 0, bold ? FW_BOLD : FW_NORMAL, italic ? TRUE : FALSE, FALSE, FALSE,
                           UsesSymbolCharset(face) ? SYMBOL_CHARSET : ANSI_CHARSET, OUT_DEFAULT_PRECIS,
                           CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, faceName.c_str());
  HDC dc = GetDC(nullptr);
  HGDIOBJ old = SelectObject(dc, font);
  SIZE size{0, 0};
  if (count > 0) {
    GetTextExtentPoint32W(dc, reinterpret_cast<const wchar_t*>(text), count, &size);
  } else {
    // An empty text is as tall as the font, as an extent of no characters is: an empty button keeps a line.
    TEXTMETRICW metrics{};
    if (GetTextMetricsW(dc, &metrics)) size.cy = metrics.tmHeight;
  }
  SelectObject(dc, old);
  ReleaseDC(nullptr, dc);
  DeleteObject(font);
  return {size.cx, size.cy};
}

int GdiTextMeasurer::ScrollBarWidth() { return GetSystemMetrics(SM_CXHSCROLL); }

}  // namespace htmlview
