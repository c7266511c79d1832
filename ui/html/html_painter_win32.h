// Paints a laid-out text into a device context through the drawing effects (Windows build).
#pragma once

#include <windows.h>

#include "ui/draw/draw_manager.h"
#include "ui/html/html_gdi_metrics_win32.h"
#include "ui/html/html_layout.h"

namespace html {

struct HtmlPaintContext {
  HDC dc;
  draw::DrawManager& draw;
  HtmlFontCache& fonts;
  HMODULE imageModule;
  const HtmlShadow& shadow;
};

void PaintHtml(const HtmlPaintContext& context, const HtmlLayoutResult& layout);

}  // namespace html
