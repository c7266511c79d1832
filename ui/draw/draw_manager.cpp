#include "ui/draw/draw_manager.h"

#include "ui/draw/colour_ops.h"
#include "ui/draw/effect_pattern.h"
#include "ui/draw/fills.h"
#include "ui/draw/frame_lines.h"
#include "ui/draw/gdi_pixels.h"
#include "ui/draw/image_effects.h"

namespace draw {
namespace {

DrawRect ToDrawRect(const RECT& r) { return {r.left, r.top, r.right, r.bottom}; }

void PaintBands(HDC dc, const std::vector<GradientBand>& bands) {
  for (const GradientBand& band : bands) {
    HBRUSH brush = CreateSolidBrush(band.colour);
    if (!brush) return;
    RECT r{band.rect.left, band.rect.top, band.rect.right, band.rect.bottom};
    FillRect(dc, &r, brush);
    DeleteObject(brush);
  }
}

int PenStyleOf(int style) {
  switch (PenKindOf(style)) {
    case kPenDash: return PS_DASH;
    case kPenDot: return PS_DOT;
    case kPenDashDot: return PS_DASHDOT;
    case kPenDashDotDot: return PS_DASHDOTDOT;
    default: return PS_SOLID;
  }
}

// Draws the paths, each in colours[its colour index]; a new pen only where the colour changes.
void DrawPaths(HDC dc, const std::vector<StyledPath>& paths, const COLORREF colours[2], int style, int width) {
  HPEN pen = nullptr;
  HGDIOBJ old = nullptr;
  COLORREF penColour = 0;
  for (const StyledPath& path : paths) {
    COLORREF colour = colours[path.colourIndex];
    if (!pen || colour != penColour) {
      HPEN next = CreatePen(PenStyleOf(style), width, colour);
      if (!next) break;
      HGDIOBJ previous = SelectObject(dc, next);
      if (pen) DeleteObject(pen);
      if (!old) old = previous;
      pen = next;
      penColour = colour;
    }
    MoveToEx(dc, path.points[0].x, path.points[0].y, nullptr);
    for (size_t i = 1; i < path.points.size(); ++i) LineTo(dc, path.points[i].x, path.points[i].y);
  }
  if (old) SelectObject(dc, old);
  if (pen) DeleteObject(pen);
}

}  // namespace

DrawManager::DrawManager(RandomSource* random) : random_(random ? random : &DefaultRandom()) {}

void DrawManager::FillArea(HDC dc, int kind, const RECT& rect, COLORREF begin, COLORREF mid, COLORREF end,
                           int granularity, int coloring) {
  if (!dc) return;
  if (!IsPatternKind(kind)) {
    PaintBands(dc, FillAreaBands(kind, ToDrawRect(rect), begin, mid, end));
    return;
  }
  // An area too small for its kind gives nothing to draw.
  if (draw::RenderEffectPattern(pattern_, rect.right - rect.left, rect.bottom - rect.top, kind, granularity,
                                coloring, begin, mid, end, *random_)) {
    pattern_.Draw(dc, rect.left, rect.top);
  }
}

void DrawManager::FillLinearGradient(HDC dc, const RECT& rect, COLORREF start, COLORREF end, bool horizontal) {
  if (dc) PaintBands(dc, LinearGradientBands(ToDrawRect(rect), start, end, horizontal));
}

void DrawManager::RenderEffectPattern(SIZE size, int kind, int granularity, int coloring, COLORREF begin,
                                      COLORREF mid, COLORREF end) {
  draw::RenderEffectPattern(pattern_, size.cx, size.cy, kind, granularity, coloring, begin, mid, end, *random_);
}

void DrawManager::TileBlit(HDC dc, int x, int y, int width, int height, HDC source, int sourceX, int sourceY,
                           int tileWidth, int tileHeight) {
  if (!dc || !source) return;
  for (const DrawRect& t : TileRects(x, y, width, height, tileWidth, tileHeight)) {
    BitBlt(dc, t.left, t.top, t.Width(), t.Height(), source, sourceX, sourceY, SRCCOPY);
  }
}

void DrawManager::DrawFrame(HDC dc, const RECT& rect, COLORREF leftTop, COLORREF rightBottom, int style, int width) {
  const COLORREF colours[2] = {leftTop, rightBottom};
  if (dc) DrawPaths(dc, FramePaths(ToDrawRect(rect), style, width), colours, style, width);
}

void DrawManager::DrawStyledLine(HDC dc, int x1, int y1, int x2, int y2, COLORREF colour, int style, int width) {
  const COLORREF colours[2] = {colour, colour};
  if (dc) DrawPaths(dc, StyledLinePaths(x1, y1, x2, y2, style, width), colours, style, width);
}

COLORREF DrawManager::ToGray(COLORREF c) { return draw::ToGray(c); }
COLORREF DrawManager::Invert(COLORREF c) { return draw::Invert(c); }
COLORREF DrawManager::Darken(COLORREF c, double factor) { return draw::Darken(c, factor); }
COLORREF DrawManager::Lighten(COLORREF c, double factor) { return draw::Lighten(c, factor); }
COLORREF DrawManager::Mix(COLORREF a, double fa, COLORREF b, double fb) { return draw::Mix(a, fa, b, fb); }

}  // namespace draw
