// What one paint of a drawing may cost. A drawing of a million entities can be made from a few hundred bytes
// of blocks, and it is painted again at every resize, zoom and pan: an entity wholly outside the window
// costs no outline, one smaller than a pixel is a dot, and the outlines of one paint stop at a budget of
// points, where the paint stops. A text is charged what drawing it costs, in the same points: its glyphs,
// larger ones dearer, and the making of each font the paint has not used yet.
#pragma once

#include <cstddef>
#include <set>
#include <utility>
#include <vector>

#include "preview/dxf/dxf_reader.h"
#include "preview/dxf/dxf_view_maths.h"

namespace dxf {

constexpr size_t kMaxPaintPoints = 1000000;

// The font a text is drawn in: its height in whole pixels and its angle in tenths of a degree. A text is
// drawn only at 4 to 2000 pixels: smaller it cannot be read, larger it outgrows any window.
struct TextFont {
  int pixels = 0;
  int tenths = 0;
  bool operator<(const TextFont& o) const { return std::pair(pixels, tenths) < std::pair(o.pixels, o.tenths); }
};
bool TextFontAt(const Entity& text, double pixelsPerUnit, TextFont* font);

// What drawing costs, in outline points (one point: about one segment of a polyline): a glyph of a text
// this many pixels high, and the making of a font.
size_t GlyphCost(int pixels);
constexpr size_t kFontCost = 2000;

enum class PaintShape {
  kHidden,   // nothing of it reaches the window
  kDot,      // all of it within one pixel
  kOutline,  // drawn as its outline
};

class PaintBudget {
 public:
  // The window of the view, with slack pixels about it that still count as inside.
  PaintBudget(const ViewProperties& view, double slack, size_t limit = kMaxPaintPoints);

  // How an entity drawn by its outline (not a point or a text) shows; dot: the pixel of a dot.
  PaintShape Shape(const Entity& e, PixelPoint* dot) const;
  // Its outline in drawing units, within what is left of the budget, which it charges.
  std::vector<Point> Outline(const Entity& e);
  // Whether a text's glyphs can reach the window (reckoned generously: a glyph may be as wide as the text
  // is high); a text too small or too large to be drawn does not.
  bool TextShows(const Entity& text) const;
  // Charges a text that shows its glyphs, and its font when this paint has not used that font yet.
  void ChargeText(const Entity& text);
  // Charges a mark that takes no outline (a dot, a point's cross).
  void Charge(size_t points) { m_used += points; }
  bool Spent() const { return m_used >= m_limit; }
  size_t Used() const { return m_used; }

 private:
  const ViewProperties& m_view;
  double m_left, m_top, m_right, m_bottom;
  size_t m_limit;
  size_t m_used = 0;
  std::set<TextFont> m_fonts;  // the fonts this paint has used
};

// What one paint draws, entity by entity: the drawing library draws it with GDI.
class PaintSink {
 public:
  virtual ~PaintSink() = default;
  virtual void Mark(const Entity& e) = 0;  // a point's cross or a line of text (one the budget let through)
  virtual void Dot(const Entity& e, PixelPoint at) = 0;
  virtual void Outline(const Entity& e, const std::vector<Point>& points) = 0;  // a solid is filled too
};

// Paints the entities in order until the budget is spent; returns the points of the budget used.
size_t PaintWithinBudget(const std::vector<Entity>& entities, const ViewProperties& view, double slack,
                         PaintSink& sink, size_t limit = kMaxPaintPoints);

}  // namespace dxf
