// What one paint of a drawing may cost. A drawing of a million entities can be made from a few hundred bytes
// of blocks, and it is painted again at every resize, zoom and pan: an entity wholly outside the window
// costs no outline, one smaller than a pixel is a dot, and the outlines of one paint stop at a budget of
// points, where the paint stops.
#pragma once

#include <cstddef>
#include <vector>

#include "preview/dxf/dxf_reader.h"
#include "preview/dxf/dxf_view_maths.h"

namespace dxf {

constexpr size_t kMaxPaintPoints = 1000000;

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
  // Charges a mark that takes no outline (a dot, a point's cross, a line of text).
  void Charge(size_t points) { m_used += points; }
  bool Spent() const { return m_used >= m_limit; }
  size_t Used() const { return m_used; }

 private:
  const ViewProperties& m_view;
  double m_left, m_top, m_right, m_bottom;
  size_t m_limit;
  size_t m_used = 0;
};

// What one paint draws, entity by entity: the drawing library draws it with GDI.
class PaintSink {
 public:
  virtual ~PaintSink() = default;
  virtual void Mark(const Entity& e) = 0;  // a point's cross or a line of text
  virtual void Dot(const Entity& e, PixelPoint at) = 0;
  virtual void Outline(const Entity& e, const std::vector<Point>& points) = 0;  // a solid is filled too
};

// Paints the entities in order until the budget is spent; returns the points of the budget used.
size_t PaintWithinBudget(const std::vector<Entity>& entities, const ViewProperties& view, double slack,
                         PaintSink& sink, size_t limit = kMaxPaintPoints);

}  // namespace dxf
