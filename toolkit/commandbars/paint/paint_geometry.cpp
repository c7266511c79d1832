#include "toolkit/commandbars/paint/paint_geometry.h"

#include <algorithm>

namespace tkppaint {
namespace {

// A chevron stroke and its companions below it, at the given offsets.
std::vector<Polyline3> Strokes(const Polyline3& first, std::initializer_list<int> offsets) {
  std::vector<Polyline3> strokes;
  for (int dy : offsets) {
    Polyline3 p = first;
    for (CPoint& pt : p) pt.y += dy;
    strokes.push_back(p);
  }
  return strokes;
}

}  // namespace

std::array<Polyline3, 2> CheckMark(const CRect& rc, bool rightToLeft) {
  const int x = (rc.left + rc.right) / 2, y = (rc.top + rc.bottom) / 2;
  if (rightToLeft) {
    return {{{CPoint(x - 4, y - 3), CPoint(x, y + 1), CPoint(x + 3, y - 2)},
             {CPoint(x - 4, y - 2), CPoint(x, y + 2), CPoint(x + 3, y - 1)}}};
  }
  return {{{CPoint(x - 4, y - 1), CPoint(x - 2, y + 1), CPoint(x + 3, y - 4)},
           {CPoint(x - 4, y), CPoint(x - 2, y + 2), CPoint(x + 3, y - 3)}}};
}

Triangle3 DropDownGlyph(const CRect& rc) {
  const int x = (rc.left + rc.right) / 2;
  const int half = std::max<int>((rc.right - rc.left) / 2 - 4, 2);
  const int y = (rc.top + rc.bottom) / 2 - half / 2;
  return {CPoint(x - half, y), CPoint(x + half, y), CPoint(x, y + half)};
}

Triangle3 SmallArrow(int right, int y) { return {CPoint(right - 9, y - 1), CPoint(right - 5, y - 1), CPoint(right - 7, y + 1)}; }

Triangle3 CaptionTriangle(int x, int y, bool vertical) {
  if (vertical) return {CPoint(x + 2, y - 2), CPoint(x + 2, y + 2), CPoint(x, y)};
  return {CPoint(x - 2, y - 1), CPoint(x + 2, y - 1), CPoint(x, y + 1)};
}

Triangle3 ToolbarExpandArrow(const CRect& rc, bool vertical) {
  if (vertical) return {CPoint(rc.left + 6, rc.top + 3), CPoint(rc.left + 6, rc.top + 7), CPoint(rc.left + 4, rc.top + 5)};
  const int cx = (rc.left + rc.right) / 2;
  return {CPoint(cx - 2, rc.bottom - 7), CPoint(cx + 2, rc.bottom - 7), CPoint(cx, rc.bottom - 5)};
}

std::vector<Polyline3> ToolbarExpandChevrons(const CRect& rc, bool vertical) {
  const int l = rc.left, t = rc.top, r = rc.right;
  if (vertical) return Strokes({CPoint(r - 8, t + 2), CPoint(r - 6, t + 4), CPoint(r - 3, t + 1)}, {0, 1, 4, 5});
  std::vector<Polyline3> strokes;
  for (int dx : {0, 1, 4, 5}) {
    strokes.push_back({CPoint(l + 2 + dx, t + 4), CPoint(l + 4 + dx, t + 6), CPoint(l + 1 + dx, t + 9)});
  }
  return strokes;
}

std::vector<Polyline3> PopupExpandChevrons(const CRect& rc) {
  const int x = (rc.left + rc.right) / 2, t = rc.top;
  return Strokes({CPoint(x - 2, t + 2), CPoint(x, t + 4), CPoint(x + 3, t + 1)}, {0, 1, 4, 5});
}

Triangle3 OptionsArrow(const CRect& rc) {
  const CPoint c = rc.CenterPoint();
  return {CPoint(c.x - 3, c.y - 2), CPoint(c.x + 3, c.y - 2), CPoint(c.x, c.y + 1)};
}

GripperLines StatusBarGripper(int w, int h) {
  GripperLines lines;
  for (int k = 0; k < 3; ++k) {
    const int d = 4 * k;
    lines.shadow.push_back({CPoint(w - 3 - d, h - 2), CPoint(w - 1, h - 4 - d)});
    lines.shadow.push_back({CPoint(w - 4 - d, h - 2), CPoint(w - 1, h - 5 - d)});
    lines.light.push_back({CPoint(w - 5 - d, h - 2), CPoint(w - 1, h - 6 - d)});
  }
  return lines;
}

int MenuFontHeight(int menuHeight) { return menuHeight > 0 ? menuHeight : std::min(menuHeight, -11); }

namespace {

// a * b / c rounded to the nearest, for positive numbers (as the system's MulDiv).
int MulDivRounded(int a, int b, int c) {
  return static_cast<int>((static_cast<long long>(a) * b + c / 2) / c);
}

}  // namespace

// The point size in tenths is scaled back by the resolution before it is turned into pixels with it.
int MdiGlyphFontHeight(int logPixelsY) {
  if (logPixelsY <= 0) logPixelsY = 96;
  const int tenths = MulDivRounded(80, 96, logPixelsY);
  return -MulDivRounded(logPixelsY, tenths, 720);
}

std::uint8_t BlendChannel(std::uint8_t newValue, std::uint8_t oldValue, int alpha) {
  alpha = std::clamp(alpha, 0, 255);
  return static_cast<std::uint8_t>((newValue * alpha + oldValue * (255 - alpha)) >> 8);
}

void BlendPixels(const std::uint8_t* newPixels, const std::uint8_t* oldPixels, std::uint8_t* out, std::size_t count,
                 int alpha) {
  for (std::size_t i = 0; i < count; ++i) {
    for (int c = 0; c < 3; ++c) out[4 * i + c] = BlendChannel(newPixels[4 * i + c], oldPixels[4 * i + c], alpha);
  }
}

CRect UnfoldSource(CSize size, int step, int steps) {
  if (steps < 1) return CRect();
  const int w = size.cx * step / steps, h = size.cy * step / steps;
  return CRect(size.cx - w, size.cy - h, size.cx, size.cy);
}

CRect SlideSource(CSize size, int step, int steps) {
  if (steps < 1) return CRect();
  const int h = size.cy * step / steps;
  return CRect(0, size.cy - h, size.cx, size.cy);
}

}  // namespace tkppaint
