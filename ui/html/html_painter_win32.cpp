#include "ui/html/html_painter_win32.h"

#include "ui/html/html_images_win32.h"

namespace html {

namespace {

// The grain and tint of the pattern fills of tables and cells.
constexpr int kFillGranularity = 8;
constexpr int kFillColouring = 0;

RECT ToRect(const draw::DrawRect& rect) { return {rect.left, rect.top, rect.right, rect.bottom}; }

void PaintText(const HtmlPaintContext& context, const HtmlPaintItem& item) {
  HDC dc = context.dc;
  const HtmlStyle& style = item.style;
  HGDIOBJ old = ::SelectObject(dc, context.fonts.Font(FontOf(style)));
  ::SetTextColor(dc, style.textColour);
  ::SetBkMode(dc, style.backgroundMode == kHtmlOpaque ? OPAQUE : TRANSPARENT);
  ::SetBkColor(dc, style.backgroundColour);
  ::SetTextJustification(dc, item.justifyExtra, item.justifyBlanks);
  ::TextOutW(dc, item.rect.left, item.rect.top, reinterpret_cast<const wchar_t*>(item.text.c_str()),
             static_cast<int>(item.text.size()));
  ::SetTextJustification(dc, 0, 0);
  if (style.overline)
    context.draw.DrawStyledLine(dc, item.rect.left, item.rect.top, item.rect.right, item.rect.top, style.textColour,
                                draw::kFrameSolid, 1);
  ::SelectObject(dc, old);
}

void PaintRule(const HtmlPaintContext& context, const HtmlPaintItem& item) {
  if (item.thickness < 1 || item.rect.Width() <= 0) return;
  int y = item.rect.top + item.rect.Height() / 2;
  context.draw.DrawStyledLine(context.dc, item.rect.left, y, item.rect.right, y, item.style.textColour,
                              draw::kFrameSolid, item.thickness);
}

void PaintImage(const HtmlPaintContext& context, const HtmlPaintItem& item) {
  const HtmlImageItem& image = item.image;
  HtmlLoadedImage loaded(image.source, context.imageModule);
  const HtmlShadow& shadow = context.shadow;
  bool shadowOn = (image.effect & (draw::kEffectShadow | draw::kEffectGradientShadow)) != 0;
  int x = item.rect.left;
  int y = item.rect.top;
  switch (image.source.kind) {
    case HtmlImageKind::kIcon:
      if (loaded.Icon())
        context.draw.DrawIconImage(context.dc, x, y, image.width, image.height, loaded.Icon(), image.effect, shadowOn,
                                   shadow.offsetX, shadow.offsetY, shadow.blurX, shadow.blurY, shadow.colour);
      break;
    case HtmlImageKind::kStrip:
      if (loaded.Bitmap())
        context.draw.DrawStripImage(context.dc, x, y, image.width, image.height, loaded.Bitmap(), image.index,
                                    image.cellCx, image.cellCy, image.useMask, image.maskColour, image.effect,
                                    shadowOn, shadow.offsetX, shadow.offsetY, shadow.blurX, shadow.blurY,
                                    shadow.colour);
      break;
    default:
      if (loaded.Bitmap())
        context.draw.DrawBitmapImage(context.dc, x, y, image.width, image.height, loaded.Bitmap(), image.useMask,
                                     image.maskColour, image.effect, shadowOn, shadow.offsetX, shadow.offsetY,
                                     shadow.blurX, shadow.blurY, shadow.colour);
      break;
  }
}

void PaintBackgroundImage(const HtmlPaintContext& context, const HtmlPaintItem& item) {
  HBITMAP bitmap = LoadBackgroundBitmap(item.style.backgroundImage, context.imageModule);
  if (!bitmap) return;
  SIZE size = draw::DrawManager::BitmapSize(bitmap);
  HDC source = ::CreateCompatibleDC(context.dc);
  if (source && size.cx > 0 && size.cy > 0) {
    HGDIOBJ old = ::SelectObject(source, bitmap);
    context.draw.TileBlit(context.dc, item.rect.left, item.rect.top, item.rect.Width(), item.rect.Height(), source, 0,
                          0, size.cx, size.cy);
    ::SelectObject(source, old);
  }
  if (source) ::DeleteDC(source);
  ::DeleteObject(bitmap);
}

}  // namespace

void PaintHtml(const HtmlPaintContext& context, const HtmlLayoutResult& layout) {
  for (const HtmlPaintItem& item : layout.items) {
    const HtmlStyle& style = item.style;
    switch (item.kind) {
      case HtmlPaintItem::Kind::kText: PaintText(context, item); break;
      case HtmlPaintItem::Kind::kRule: PaintRule(context, item); break;
      case HtmlPaintItem::Kind::kImage: PaintImage(context, item); break;
      case HtmlPaintItem::Kind::kBackgroundImage: PaintBackgroundImage(context, item); break;
      case HtmlPaintItem::Kind::kFill:
        context.draw.FillArea(context.dc, style.fillKind, ToRect(item.rect), style.backgroundColour, style.fillColour2,
                              style.fillColour3, kFillGranularity, kFillColouring);
        break;
      case HtmlPaintItem::Kind::kFrame:
        context.draw.DrawFrame(context.dc, ToRect(item.rect), style.frameLightColour, style.frameDarkColour,
                               style.borderStyle, style.borderWidth);
        break;
    }
  }
}

}  // namespace html
