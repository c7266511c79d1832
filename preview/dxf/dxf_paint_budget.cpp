#include "preview/dxf/dxf_paint_budget.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "preview/dxf/dxf_curves.h"

namespace dxf {

namespace {

constexpr double kLeastTextPixels = 4, kMostTextPixels = 2000;

// The characters of UTF-8 text: its bytes that do not continue a character.
size_t Characters(const std::string& utf8) {
  return static_cast<size_t>(std::count_if(utf8.begin(), utf8.end(), [](char c) { return (c & 0xC0) != 0x80; }));
}

}  // namespace

bool TextFontAt(const Entity& text, double pixelsPerUnit, TextFont* font) {
  const double pixels = text.height * pixelsPerUnit;
  if (!(pixels >= kLeastTextPixels && pixels <= kMostTextPixels) || !std::isfinite(text.rotation)) return false;
  font->pixels = static_cast<int>(std::lround(pixels));
  font->tenths = static_cast<int>(std::lround(std::fmod(text.rotation, 360.0) * 10));
  return true;
}

// Measured with GDI under Wine: a glyph costs about as much as five segments of a polyline, and a fifth of
// its height in pixels more (at 211 pixels, some 35 segments); making a font, one to three thousand.
size_t GlyphCost(int pixels) { return 5 + static_cast<size_t>(std::max(pixels, 0)) / 5; }

PaintBudget::PaintBudget(const ViewProperties& view, double slack, size_t limit)
    : m_view(view),
      m_left(view.left - slack),
      m_top(view.top - slack),
      m_right(view.right + slack),
      m_bottom(view.bottom + slack),
      m_limit(limit) {}

PaintShape PaintBudget::Shape(const Entity& e, PixelPoint* dot) const {
  if (e.points.empty()) return PaintShape::kHidden;
  const Extents box = EntityBox(e);
  const PixelPoint topLeft = ToPixels(m_view, {box.minX, box.maxY});
  const PixelPoint bottomRight = ToPixels(m_view, {box.maxX, box.minY});
  // A comparison with a number that is not one is false: such an entity is not drawn.
  if (!(topLeft.x <= m_right && bottomRight.x >= m_left && topLeft.y <= m_bottom && bottomRight.y >= m_top))
    return PaintShape::kHidden;
  if (bottomRight.x - topLeft.x < 1 && bottomRight.y - topLeft.y < 1) {
    *dot = {(topLeft.x + bottomRight.x) / 2, (topLeft.y + bottomRight.y) / 2};
    return PaintShape::kDot;
  }
  return PaintShape::kOutline;
}

std::vector<Point> PaintBudget::Outline(const Entity& e) {
  if (Spent()) return {};
  std::vector<Point> points = dxf::Outline(e, ScreenScale(m_view), m_limit - m_used);
  m_used += std::max<size_t>(points.size(), 1);
  return points;
}

bool PaintBudget::TextShows(const Entity& text) const {
  TextFont font;
  if (text.points.empty() || !TextFontAt(text, ScreenScale(m_view), &font)) return false;
  const PixelPoint at = ToPixels(m_view, text.points[0]);
  const double reach = font.pixels * (static_cast<double>(Characters(text.text)) + 1);
  return at.x >= m_left - reach && at.x <= m_right + reach && at.y >= m_top - reach && at.y <= m_bottom + reach;
}

void PaintBudget::ChargeText(const Entity& text) {
  TextFont font;
  if (!TextFontAt(text, ScreenScale(m_view), &font)) return;
  m_used += Characters(text.text) * GlyphCost(font.pixels);
  if (m_fonts.insert(font).second) m_used += kFontCost;
}

size_t PaintWithinBudget(const std::vector<Entity>& entities, const ViewProperties& view, double slack,
                         PaintSink& sink, size_t limit) {
  PaintBudget budget(view, slack, limit);
  for (const Entity& e : entities) {
    if (budget.Spent()) break;
    if (e.kind == EntityKind::kText) {
      if (!budget.TextShows(e)) continue;
      sink.Mark(e);
      budget.ChargeText(e);
      continue;
    }
    PixelPoint dot;
    if (e.kind == EntityKind::kPoint) {
      if (budget.Shape(e, &dot) == PaintShape::kHidden) continue;
      sink.Mark(e);
      budget.Charge(1);
      continue;
    }
    switch (budget.Shape(e, &dot)) {
      case PaintShape::kHidden: break;
      case PaintShape::kDot:
        sink.Dot(e, dot);
        budget.Charge(1);
        break;
      case PaintShape::kOutline: sink.Outline(e, budget.Outline(e)); break;
    }
  }
  return budget.Used();
}

}  // namespace dxf
