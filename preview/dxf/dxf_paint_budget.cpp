#include "preview/dxf/dxf_paint_budget.h"

#include <algorithm>
#include <cmath>

#include "preview/dxf/dxf_curves.h"

namespace dxf {

namespace {

// A box in drawing units that holds the whole entity: a spline lies within its control points (its weights
// are positive), a polyline's arc within its circle.
Extents Bounds(const Entity& e) {
  Extents box;
  switch (e.kind) {
    case EntityKind::kCircle:
    case EntityKind::kArc:
    case EntityKind::kEllipse: {
      const double reach = e.kind == EntityKind::kEllipse ? std::hypot(e.axis.x, e.axis.y) : e.radius;
      box.Add({e.points[0].x - reach, e.points[0].y - reach});
      box.Add({e.points[0].x + reach, e.points[0].y + reach});
      break;
    }
    default:
      for (Point p : e.points) box.Add(p);
      for (size_t i = 0; i < e.bulges.size() && i < e.points.size(); ++i) {
        Point centre;
        double radius = 0, start = 0, sweep = 0;
        if (!BulgeArc(e.points[i], e.points[(i + 1) % e.points.size()], e.bulges[i], centre, radius, start, sweep))
          continue;
        box.Add({centre.x - radius, centre.y - radius});
        box.Add({centre.x + radius, centre.y + radius});
      }
  }
  return box;
}

}  // namespace

PaintBudget::PaintBudget(const ViewProperties& view, double slack, size_t limit)
    : m_view(view),
      m_left(view.left - slack),
      m_top(view.top - slack),
      m_right(view.right + slack),
      m_bottom(view.bottom + slack),
      m_limit(limit) {}

PaintShape PaintBudget::Shape(const Entity& e, PixelPoint* dot) const {
  if (e.points.empty()) return PaintShape::kHidden;
  const Extents box = Bounds(e);
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

size_t PaintWithinBudget(const std::vector<Entity>& entities, const ViewProperties& view, double slack,
                         PaintSink& sink, size_t limit) {
  PaintBudget budget(view, slack, limit);
  for (const Entity& e : entities) {
    if (budget.Spent()) break;
    if (e.kind == EntityKind::kPoint || e.kind == EntityKind::kText) {
      sink.Mark(e);
      budget.Charge(1);
      continue;
    }
    PixelPoint dot;
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
