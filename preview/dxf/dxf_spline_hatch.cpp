#include "preview/dxf/dxf_spline_hatch.h"

#include <algorithm>
#include <cmath>

#include "preview/dxf/dxf_curves.h"

namespace dxf {

namespace {


// Reads a spline's or hatch's groups in order; a group that is not the one expected stops the reading.
class GroupCursor {
 public:
  explicit GroupCursor(const std::vector<GroupValue>& groups) : m_groups(groups) {}
  bool Next(int code, double& value) {
    if (m_at >= m_groups.size() || m_groups[m_at].code != code) return false;
    value = m_groups[m_at++].value;
    return true;
  }
  bool Next(int code, int& value) {
    double v = 0;
    if (!Next(code, v) || std::fabs(v) > 1e9) return false;
    value = static_cast<int>(v);
    return true;
  }
  bool NextPoint(int code, Point& p) { return Next(code, p.x) && Next(code + 10, p.y); }
  // A count is believable when at least that many groups follow it.
  bool Count(int code, size_t& count) {
    int v = 0;
    if (!Next(code, v) || v < 0 || static_cast<size_t>(v) > Left()) return false;
    count = static_cast<size_t>(v);
    return true;
  }
  bool SkipTo(int code) {
    while (m_at < m_groups.size() && m_groups[m_at].code != code) ++m_at;
    return m_at < m_groups.size();
  }
  size_t Left() const { return m_groups.size() - m_at; }

 private:
  const std::vector<GroupValue>& m_groups;
  size_t m_at = 0;
};

// Angles of an arc edge of a hatch, counter-clockwise: a clockwise edge keeps its angles mirrored.
void EdgeAngles(double& start, double& end, int counterClockwise) {
  if (counterClockwise != 0) return;
  const double s = start;
  start = 360 - end;
  end = 360 - s;
}

double ParamOf(double degrees, double ratio) {
  const double a = degrees * kPi / 180;
  return std::atan2(std::sin(a) / ratio, std::cos(a));
}

// Gives the spline control points it can be drawn through: its own when they make a spline, else the
// curve through its fit points, else its points joined by lines.
bool MakeSpline(Entity& e, std::vector<Point> control, std::vector<double> knots, std::vector<double> weights,
                const std::vector<Point>& fit, int degree) {
  e.kind = EntityKind::kSpline;
  e.degree = degree >= 1 && degree <= kMaxSplineDegree ? degree : 3;
  if (control.size() >= 2) {
    e.points = std::move(control);
    e.knots = std::move(knots);
    e.weights = std::move(weights);
    if (!IsUsableSpline(e)) {
      e.degree = std::min(e.degree, static_cast<int>(e.points.size()) - 1);
      e.knots = UniformKnots(e.points.size(), e.degree);
      if (e.weights.size() != e.points.size()) e.weights.clear();
      if (!IsUsableSpline(e)) e.weights.clear();
    }
    return true;
  }
  if (fit.size() < 2) return false;
  if (InterpolateFitPoints(fit, e.degree, e)) return true;
  e = Entity{};
  e.kind = EntityKind::kPolyline;
  e.points = fit;
  return true;
}

bool HatchSpline(GroupCursor& c, Entity& e) {
  int degree = 0, rational = 0, periodic = 0;
  size_t knotCount = 0, controlCount = 0;
  if (!c.Next(94, degree) || !c.Next(73, rational) || !c.Next(74, periodic) || !c.Count(95, knotCount) ||
      !c.Count(96, controlCount))
    return false;
  std::vector<double> knots(knotCount), weights;
  for (double& k : knots)
    if (!c.Next(40, k)) return false;
  std::vector<Point> control(controlCount), fit;
  for (Point& p : control) {
    if (!c.NextPoint(10, p)) return false;
    double w = 1;
    if (rational != 0 && c.Next(42, w)) weights.push_back(w);
  }
  size_t fitCount = 0;
  if (c.Count(97, fitCount)) {
    fit.resize(fitCount);
    for (Point& p : fit)
      if (!c.NextPoint(11, p)) return false;
    Point tangent;
    c.NextPoint(12, tangent);
    c.NextPoint(13, tangent);
  }
  if (control.size() > kMaxVertices) control.resize(kMaxVertices);
  if (fit.size() > kMaxVertices) fit.resize(kMaxVertices);
  if (knots.size() > kMaxVertices + kMaxSplineDegree + 1) knots.clear();
  if (!MakeSpline(e, std::move(control), std::move(knots), std::move(weights), fit, degree)) e = Entity{};
  return true;
}

// A hatch path of vertices (with bulges when it says so).
bool HatchPolyline(GroupCursor& c, std::vector<Entity>& out) {
  int hasBulge = 0, closed = 0;
  size_t count = 0;
  if (!c.Next(72, hasBulge) || !c.Next(73, closed) || !c.Count(93, count)) return false;
  Entity e;
  e.kind = EntityKind::kPolyline;
  e.closed = closed != 0;
  for (size_t i = 0; i < count; ++i) {
    Point p;
    if (!c.NextPoint(10, p)) return false;
    double bulge = 0;
    if (hasBulge != 0) c.Next(42, bulge);
    if (e.points.size() >= kMaxVertices) continue;
    e.points.push_back(p);
    e.bulges.push_back(bulge);
  }
  if (std::all_of(e.bulges.begin(), e.bulges.end(), [](double b) { return b == 0; })) e.bulges.clear();
  if (!e.points.empty()) out.push_back(std::move(e));
  return true;
}

// A hatch path of edges: lines, arcs, elliptic arcs and splines.
bool HatchEdges(GroupCursor& c, std::vector<Entity>& out) {
  size_t count = 0;
  if (!c.Count(93, count)) return false;
  for (size_t i = 0; i < count; ++i) {
    int type = 0;
    if (!c.Next(72, type)) return false;
    Entity e;
    Point a, b;
    double r = 0, start = 0, end = 0;
    int ccw = 1;
    if (type == 1) {
      if (!c.NextPoint(10, a) || !c.NextPoint(11, b)) return false;
      e.points = {a, b};
    } else if (type == 2) {
      if (!c.NextPoint(10, a) || !c.Next(40, r) || !c.Next(50, start) || !c.Next(51, end) || !c.Next(73, ccw))
        return false;
      EdgeAngles(start, end, ccw);
      const bool whole = std::fabs(end - start) >= 360;
      e.kind = whole ? EntityKind::kCircle : EntityKind::kArc;
      e.points = {a};
      e.radius = r;
      e.startAngle = start;
      e.endAngle = end;
      if (!(r > 0)) continue;
    } else if (type == 3) {
      if (!c.NextPoint(10, a) || !c.NextPoint(11, b) || !c.Next(40, r) || !c.Next(50, start) ||
          !c.Next(51, end) || !c.Next(73, ccw))
        return false;
      EdgeAngles(start, end, ccw);
      if (!(r > 0 && r <= 1) || !(std::hypot(b.x, b.y) > 0)) continue;
      e.kind = EntityKind::kEllipse;
      e.points = {a};
      e.axis = b;
      e.ratio = r;
      // The edge's angles are angles about the centre; the ellipse wants its parameters.
      const bool whole = std::fabs(end - start) >= 360;
      e.startParam = ParamOf(start, r);
      e.endParam = whole ? e.startParam + 2 * kPi : ParamOf(end, r);
    } else if (type == 4) {
      if (!HatchSpline(c, e)) return false;
    } else {
      return false;
    }
    if (!e.points.empty()) out.push_back(std::move(e));
  }
  return true;
}

}  // namespace

bool IsNumberCode(int code) {
  return (code >= 10 && code <= 59) || (code >= 70 && code <= 79) || (code >= 90 && code <= 99);
}

bool SplineFromGroups(const std::vector<GroupValue>& groups, Entity& e) {
  std::vector<Point> control, fit;
  std::vector<double> knots, weights;
  int degree = 3;
  for (const GroupValue& g : groups) {
    switch (g.code) {
      case 71: degree = std::fabs(g.value) <= kMaxSplineDegree ? static_cast<int>(g.value) : 0; break;
      case 40: if (knots.size() < kMaxVertices + kMaxSplineDegree + 1) knots.push_back(g.value); break;
      case 41: if (weights.size() < kMaxVertices) weights.push_back(g.value); break;
      case 10: if (control.size() < kMaxVertices) control.push_back({g.value, 0}); break;
      case 20: if (!control.empty()) control.back().y = g.value; break;
      case 11: if (fit.size() < kMaxVertices) fit.push_back({g.value, 0}); break;
      case 21: if (!fit.empty()) fit.back().y = g.value; break;
      default: break;
    }
  }
  return MakeSpline(e, std::move(control), std::move(knots), std::move(weights), fit, degree);
}

std::vector<Entity> HatchBoundaries(const std::vector<GroupValue>& groups) {
  std::vector<Entity> out;
  GroupCursor c(groups);
  size_t paths = 0;
  if (!c.SkipTo(91) || !c.Count(91, paths)) return out;
  for (size_t p = 0; p < paths; ++p) {
    int flags = 0;
    if (!c.Next(92, flags)) return out;
    const bool ok = (flags & 2) != 0 ? HatchPolyline(c, out) : HatchEdges(c, out);
    if (!ok) return out;
    size_t sources = 0;
    c.Count(97, sources);  // the handles of the objects it came from are not numbers: nothing to skip
  }
  return out;
}

}  // namespace dxf
