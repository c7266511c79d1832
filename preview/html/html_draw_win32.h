// Drawing a laid-out page with GDI, and decoding its pictures through the system's picture loader.
#pragma once

#include <windows.h>

#include "preview/html/html_document.h"

namespace htmlview {

// Pictures the system's OLE picture loader can read (BMP, JPEG, GIF, icons, metafiles), as screen
// compatible bitmaps.
class OlePictureDecoder : public HtmlImageDecoder {
 public:
  HtmlBitmap Decode(const uint8_t* data, size_t size, int& width, int& height) override;
  void Free(HtmlBitmap bitmap) override;
};

// Paints the page into rect of dc for the scroll position: the background, its tiled picture, then
// every element that meets rect (form controls paint themselves).
void DrawDocument(HtmlDocument& doc, HDC dc, const RECT& rect, int scrollX, int scrollY);

}  // namespace htmlview
