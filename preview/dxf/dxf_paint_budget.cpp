#include "preview/dxf/dxf_paint_budget.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <string>
#include <tuple>

#include "preview/dxf/dxf_curves.h"

namespace dxf {

namespace {

// The characters of UTF-8 text: its bytes that do not continue a character.
size_t Characters(const std::string& utf8) {
  return static_cast<size_t>(std::count_if(utf8.begin(), utf8.end(), [](char c) { return (c & 0xC0) != 0x80; }));
}

struct ShownText {
  TextFont font;
  long x, y;      // its point's pixel
  size_t words;   // a hash of its words
  const Entity* text;
};

// Larger texts first (a paint the budget ends keeps the titles), font by font, then by place and look.
bool DrawnBefore(const ShownText& a, const ShownText& b) {
  if (a.font.pixels != b.font.pixels) return a.font.pixels > b.font.pixels;
  return std::tie(a.font.degrees, a.x, a.y, a.words, a.text->colour, a.text->align) <
         std::tie(b.font.degrees, b.x, b.y, b.words, b.text->colour, b.text->align);
}

// The same words in the same font, place and colour: drawing the one over the other shows nothing new.
bool SameLook(const ShownText& a, const ShownText& b) {
  return a.font == b.font && a.x == b.x && a.y == b.y && a.text->colour == b.text->colour &&
         a.text->align == b.text->align && a.text->text == b.text->text;
}

}  // namespace

bool TextFontAt(const Entity& text, double pixelsPerUnit, TextFont* font) {
  const double pixels = text.height * pixelsPerUnit;
  if (!(pixels >= kLeastTextPixels && pixels <= kMostTextPixels) || !std::isfinite(text.rotation)) return false;
  font->pixels = static_cast<int>(std::lround(pixels));
  const long degrees = std::lround(std::fmod(text.rotation, 360.0));
  font->degrees = static_cast<int>((degrees % 360 + 360) % 360);
  return true;
}

// Measured with GDI under Wine, texts drawn font by font: a glyph costs about as much as five segments of a
// polyline, and a fifth of its height in pixels more (at 211 pixels, some 35 segments); making a font and
// drawing its first text, a few hundred.
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

bool PaintBudget::TextShows(const Entity& text, TextFont* font) const {
  if (text.points.empty() || !TextFontAt(text, ScreenScale(m_view), font)) return false;
  const PixelPoint at = ToPixels(m_view, text.points[0]);
  const double reach = font->pixels * (static_cast<double>(Characters(text.text)) + 1);
  return at.x >= m_left - reach && at.x <= m_right + reach && at.y >= m_top - reach && at.y <= m_bottom + reach;
}

void PaintBudget::ChargeText(const Entity& text, const TextFont& font, const PaintSink& sink) {
  m_used += Characters(text.text) * GlyphCost(font.pixels);
  if (m_fonts.insert(font).second && !sink.FontKept(font)) m_used += kFontCost;
}

namespace {

// The geometry, in the drawing's order; false when the budget ended it before everything in view was drawn.
bool PaintGeometry(const std::vector<Entity>& entities, PaintBudget& budget, PaintSink& sink, PaintTally& tally) {
  for (const Entity& e : entities) {
    if (e.kind == EntityKind::kText) continue;
    PixelPoint dot;
    const PaintShape shape = budget.Shape(e, &dot);
    if (shape == PaintShape::kHidden) continue;
    if (budget.Spent()) return false;
    ++tally.drawn;
    if (e.kind == EntityKind::kPoint) {
      sink.Mark(e);
      budget.Charge(1);
    } else if (shape == PaintShape::kDot) {
      sink.Dot(e, dot);
      budget.Charge(1);
    } else {
      sink.Outline(e, budget.Outline(e));
      if (budget.Spent()) return false;  // the outline that spent it may have been cut short
    }
  }
  return true;
}

// The texts that show, font by font: GDI keeps the glyphs of the font in use, and drawing a text in another
// font than the one before costs several times as much. A text drawn over its very twin is drawn once.
bool PaintTexts(const std::vector<Entity>& entities, const ViewProperties& view, PaintBudget& budget,
                PaintSink& sink, PaintTally& tally) {
  std::vector<ShownText> shown;
  for (const Entity& e : entities) {
    TextFont font;
    if (e.kind != EntityKind::kText || !budget.TextShows(e, &font)) continue;
    const PixelPoint at = ToPixels(view, e.points[0]);
    shown.push_back({font, std::lround(at.x), std::lround(at.y), std::hash<std::string>{}(e.text), &e});
  }
  std::sort(shown.begin(), shown.end(), DrawnBefore);
  for (size_t i = 0; i < shown.size(); ++i) {
    if (i == 0 || !SameLook(shown[i - 1], shown[i])) {
      if (budget.Spent()) return false;
      budget.ChargeText(*shown[i].text, shown[i].font, sink);
      sink.Mark(*shown[i].text);
    }
    ++tally.drawn;
  }
  return true;
}

}  // namespace

PaintTally PaintWithinBudget(const std::vector<Entity>& entities, const ViewProperties& view, double slack,
                             PaintSink& sink, size_t limit) {
  PaintBudget budget(view, slack, limit);
  PaintTally tally;
  tally.simplified =
      !PaintGeometry(entities, budget, sink, tally) || !PaintTexts(entities, view, budget, sink, tally);
  tally.used = budget.Used();
  return tally;
}

}  // namespace dxf
