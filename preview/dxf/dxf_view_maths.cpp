#include "preview/dxf/dxf_view_maths.h"

#include <algorithm>
#include <cmath>

namespace dxf {

namespace {
constexpr double kMargin = 0.95;  // the fitted drawing fills 95% of the window's smaller side
constexpr double kStrayPixels = 0.5;
constexpr int kMaxArcSegments = 720;
}  // namespace

bool IsUsableScale(double value) { return std::isfinite(value) && value > 0; }

bool IsUsableView(const ViewProperties& view) {
  return IsUsableScale(view.pixelsPerUnit) && IsUsableScale(view.zoom) && IsUsableScale(ScreenScale(view));
}

void ZoomToExtents(ViewProperties& view, const Extents& extents) {
  Extents box = extents;
  if (box.empty) box = Extents{0, 0, 1, 1, false};
  // A drawing of one point or one straight line still needs a width and a height.
  double w = box.maxX - box.minX, h = box.maxY - box.minY;
  const double size = std::max({w, h, 1e-9});
  if (w <= 0) w = size;
  if (h <= 0) h = size;
  const double pw = std::max(1, view.right - view.left), ph = std::max(1, view.bottom - view.top);
  view.pixelsPerUnit = std::min(pw / w, ph / h) * kMargin;
  if (!IsUsableScale(view.pixelsPerUnit)) view.pixelsPerUnit = 1;
  view.zoom = 1;
  const double cx = (box.minX + box.maxX) / 2, cy = (box.minY + box.maxY) / 2;
  view.originX = cx - pw / 2 / view.pixelsPerUnit;
  view.originY = cy - ph / 2 / view.pixelsPerUnit;
}

bool ZoomAboutCentre(ViewProperties& view, double zoom) {
  if (!IsUsableView(view) || !IsUsableScale(zoom) || !IsUsableScale(view.pixelsPerUnit * zoom)) return false;
  const double s = 1 / ScreenScale(view);
  const int cx = (view.right - view.left) / 2, cy = (view.bottom - view.top) / 2;
  const double x = cx * s + view.originX, y = cy * s + view.originY;
  const double s2 = 1 / (view.pixelsPerUnit * zoom);
  view.originX = x - s2 * cx;
  view.originY = y - s2 * cy;
  view.zoom = zoom;
  return true;
}

bool Pan(ViewProperties& view, int dx, int dy) {
  if (!IsUsableView(view)) return false;
  const double s = 1 / ScreenScale(view);
  view.originX -= dx * s;
  view.originY += dy * s;
  return true;
}

PixelPoint ToPixels(const ViewProperties& view, Point p) {
  const double k = ScreenScale(view);
  return {view.left + (p.x - view.originX) * k, view.bottom - (p.y - view.originY) * k};
}

bool ClipSegment(PixelPoint& a, PixelPoint& b, double left, double top, double right, double bottom) {
  // Liang-Barsky: the part of a + t (b - a), 0 <= t <= 1, inside the rectangle.
  const double dx = b.x - a.x, dy = b.y - a.y;
  double t0 = 0, t1 = 1;
  const double p[4] = {-dx, dx, -dy, dy};
  const double q[4] = {a.x - left, right - a.x, a.y - top, bottom - a.y};
  for (int i = 0; i < 4; ++i) {
    if (p[i] == 0) {
      if (q[i] < 0) return false;
      continue;
    }
    const double t = q[i] / p[i];
    if (p[i] < 0) t0 = std::max(t0, t);
    else t1 = std::min(t1, t);
    if (t0 > t1) return false;
  }
  const PixelPoint start = a;
  a = {start.x + t0 * dx, start.y + t0 * dy};
  b = {start.x + t1 * dx, start.y + t1 * dy};
  return true;
}

std::vector<PixelPoint> ClipPolygon(const std::vector<PixelPoint>& polygon, double left, double top, double right,
                                    double bottom) {
  // Each edge of the rectangle in turn: which side is inside, and where a segment crosses it.
  struct Edge {
    bool vertical;
    double at;
    bool keepGreater;
  };
  const Edge edges[4] = {{true, left, true}, {true, right, false}, {false, top, true}, {false, bottom, false}};
  std::vector<PixelPoint> out = polygon;
  for (const Edge& edge : edges) {
    if (out.empty()) break;
    auto inside = [&](const PixelPoint& p) {
      const double v = edge.vertical ? p.x : p.y;
      return edge.keepGreater ? v >= edge.at : v <= edge.at;
    };
    auto cross = [&](const PixelPoint& a, const PixelPoint& b) {
      const double va = edge.vertical ? a.x : a.y, vb = edge.vertical ? b.x : b.y;
      const double t = (edge.at - va) / (vb - va);
      return PixelPoint{a.x + t * (b.x - a.x), a.y + t * (b.y - a.y)};
    };
    std::vector<PixelPoint> in;
    in.swap(out);
    for (size_t i = 0; i < in.size(); ++i) {
      const PixelPoint& a = in[(i + in.size() - 1) % in.size()];
      const PixelPoint& b = in[i];
      if (inside(b)) {
        if (!inside(a)) out.push_back(cross(a, b));
        out.push_back(b);
      } else if (inside(a)) {
        out.push_back(cross(a, b));
      }
    }
  }
  return out;
}

int ArcSegments(double radiusPixels, double sweep, int least) {
  if (!(radiusPixels > kStrayPixels / 2) || !(sweep > 0)) return least;
  if (!std::isfinite(radiusPixels) || !std::isfinite(sweep)) return kMaxArcSegments;
  // A chord of angle a strays r (1 - cos(a / 2)) from its arc.
  const double step = 2 * std::acos(1 - kStrayPixels / radiusPixels);
  const double segments = std::ceil(sweep / step - 1e-9);
  return static_cast<int>(std::clamp(segments, static_cast<double>(least), static_cast<double>(kMaxArcSegments)));
}

std::vector<Point> ArcPoints(Point centre, double radius, double startDegrees, double endDegrees, bool whole,
                             double radiusPixels) {
  double sweep = 360;
  if (!whole) {
    sweep = std::fmod(endDegrees - startDegrees, 360.0);
    if (sweep <= 0) sweep += 360;
  }
  const int segments = ArcSegments(radiusPixels, sweep * kPi / 180, whole ? 3 : 1);
  std::vector<Point> points;
  points.reserve(static_cast<size_t>(segments) + 1);
  const double start = whole ? 0 : startDegrees;
  for (int i = 0; i <= segments; ++i) {
    const double a = (start + sweep * i / segments) * kPi / 180;
    points.push_back({centre.x + radius * std::cos(a), centre.y + radius * std::sin(a)});
  }
  return points;
}

}  // namespace dxf
