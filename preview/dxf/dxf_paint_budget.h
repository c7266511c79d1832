// What one paint draws and what it may cost. A paint costs what can be seen, not what the file holds: an
// entity wholly outside the window costs no outline, one smaller than a pixel is a dot, curves are flattened
// to the pixel, a text too small to read is left out and fonts are kept from one paint to the next. So every
// entity in view of an ordinary drawing is drawn. A drawing of a million entities can still be made from a
// few hundred bytes of blocks, and it is painted again at every resize, zoom and pan: the points of one paint
// stop at a budget. The geometry is drawn first and the texts after it, so that a paint the budget ends shows
// the drawing's shapes; it says that it was simplified.
#pragma once

#include <cstddef>
#include <set>
#include <utility>
#include <vector>

#include "preview/dxf/dxf_reader.h"
#include "preview/dxf/dxf_view_maths.h"

namespace dxf {

// Under a second of GDI's work under Wine (a point of a polyline takes some 0.4 microseconds there).
constexpr size_t kMaxPaintPoints = 2000000;

// A text is drawn only at these heights: smaller it cannot be read, larger it outgrows any window.
constexpr double kLeastTextPixels = 4, kMostTextPixels = 2000;

// The font a text is drawn in: its height in whole pixels and its angle in whole degrees (0 to 359).
struct TextFont {
  int pixels = 0;
  int degrees = 0;
  bool operator<(const TextFont& o) const { return std::pair(pixels, degrees) < std::pair(o.pixels, o.degrees); }
  bool operator==(const TextFont& o) const { return pixels == o.pixels && degrees == o.degrees; }
};
bool TextFontAt(const Entity& text, double pixelsPerUnit, TextFont* font);

// What drawing costs, in outline points (one point: about one segment of a polyline): a glyph of a text
// this many pixels high, and the making of a font (with its first glyphs).
size_t GlyphCost(int pixels);
constexpr size_t kFontCost = 500;

enum class PaintShape {
  kHidden,   // nothing of it reaches the window
  kDot,      // all of it within one pixel
  kOutline,  // drawn as its outline
};

// What one paint draws, entity by entity: the drawing library draws it with GDI.
class PaintSink {
 public:
  virtual ~PaintSink() = default;
  virtual void Mark(const Entity& e) = 0;  // a point's cross or a line of text (one the budget let through)
  virtual void Dot(const Entity& e, PixelPoint at) = 0;
  virtual void Outline(const Entity& e, const std::vector<Point>& points) = 0;  // a solid is filled too
  // Whether the font was made by an earlier paint and kept: then drawing in it does not make it again.
  virtual bool FontKept(const TextFont&) const { return false; }
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
  // is high), and its font; a text too small or too large to be drawn does not.
  bool TextShows(const Entity& text, TextFont* font) const;
  // Charges a text that shows its glyphs, and its font when neither this paint nor the sink has it yet.
  void ChargeText(const Entity& text, const TextFont& font, const PaintSink& sink);
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

// What one paint did.
struct PaintTally {
  size_t used = 0;          // points of the budget
  size_t drawn = 0;         // entities drawn: outlines, dots, crosses and texts
  bool simplified = false;  // the budget ended the paint before everything in view was drawn
};

// Paints the entities that show: the geometry in the drawing's order, then the texts font by font, until
// the budget is spent.
PaintTally PaintWithinBudget(const std::vector<Entity>& entities, const ViewProperties& view, double slack,
                             PaintSink& sink, size_t limit = kMaxPaintPoints);

}  // namespace dxf
