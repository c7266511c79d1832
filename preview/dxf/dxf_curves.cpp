#include "preview/dxf/dxf_curves.h"

#include <algorithm>
#include <cmath>

#include "preview/dxf/dxf_view_maths.h"

namespace dxf {

namespace {

constexpr double kChordPixels = 4;  // a chord of about this many pixels strays less than a pixel from a curve
constexpr int kMaxCurveSegments = 720;
constexpr int kMaxSpanSegments = 512;

double Distance(Point a, Point b) { return std::hypot(b.x - a.x, b.y - a.y); }

// Segments for a curve of this length in drawing units.
int Segments(double length, double pixelsPerUnit, int least, int most) {
  const double pixels = length * pixelsPerUnit;
  if (!std::isfinite(pixels)) return most;
  return static_cast<int>(std::clamp(std::ceil(pixels / kChordPixels), static_cast<double>(least),
                                     static_cast<double>(most)));
}

void AppendEllipse(std::vector<Point>& out, const Entity& e, double pixelsPerUnit) {
  double start = e.startParam, end = e.endParam;
  double sweep = std::fmod(end - start, 2 * kPi);
  if (sweep <= 1e-12) sweep += 2 * kPi;
  const Point c = e.points[0], major = e.axis;
  const Point minor{-major.y * e.ratio, major.x * e.ratio};
  const double radius = std::hypot(major.x, major.y);
  const int n = Segments(radius * sweep, pixelsPerUnit, 8, kMaxCurveSegments);
  for (int i = 0; i <= n; ++i) {
    const double t = start + sweep * i / n;
    const double ct = std::cos(t), st = std::sin(t);
    out.push_back({c.x + major.x * ct + minor.x * st, c.y + major.y * ct + minor.y * st});
  }
}

// The point at parameter u of the span that starts at knot k (de Boor, in homogeneous coordinates).
Point SplineAt(const Entity& s, size_t k, double u) {
  const int p = s.degree;
  double x[kMaxSplineDegree + 1], y[kMaxSplineDegree + 1], w[kMaxSplineDegree + 1];
  for (int j = 0; j <= p; ++j) {
    const size_t i = k - static_cast<size_t>(p) + static_cast<size_t>(j);
    const double weight = s.weights.empty() ? 1.0 : s.weights[i];
    x[j] = s.points[i].x * weight;
    y[j] = s.points[i].y * weight;
    w[j] = weight;
  }
  for (int r = 1; r <= p; ++r) {
    for (int j = p; j >= r; --j) {
      const size_t i = k - static_cast<size_t>(p) + static_cast<size_t>(j);
      const double span = s.knots[i + static_cast<size_t>(p - r) + 1] - s.knots[i];
      const double a = span > 0 ? (u - s.knots[i]) / span : 0;
      x[j] = (1 - a) * x[j - 1] + a * x[j];
      y[j] = (1 - a) * y[j - 1] + a * y[j];
      w[j] = (1 - a) * w[j - 1] + a * w[j];
    }
  }
  return {x[p] / w[p], y[p] / w[p]};
}

void AppendSpline(std::vector<Point>& out, const Entity& s, double pixelsPerUnit, size_t limit) {
  if (!IsUsableSpline(s)) {
    out.insert(out.end(), s.points.begin(), s.points.end());
    return;
  }
  const size_t p = static_cast<size_t>(s.degree), n = s.points.size();
  out.push_back(SplineAt(s, p, s.knots[p]));
  for (size_t k = p; k < n && out.size() < limit; ++k) {
    const double u0 = s.knots[k], u1 = s.knots[k + 1];
    if (!(u1 > u0)) continue;
    // The span's control polygon is at least as long as its piece of curve.
    double length = 0;
    for (size_t i = k - p; i < k; ++i) length += Distance(s.points[i], s.points[i + 1]);
    const int segments = Segments(length, pixelsPerUnit, 4, kMaxSpanSegments);
    for (int i = 1; i <= segments; ++i) out.push_back(SplineAt(s, k, u0 + (u1 - u0) * i / segments));
  }
}

}  // namespace

bool BulgeArc(Point from, Point to, double bulge, Point& centre, double& radius, double& start, double& sweep) {
  const double chord = Distance(from, to);
  if (std::fabs(bulge) < 1e-9 || !(chord > 0)) return false;
  sweep = 4 * std::atan(bulge);  // signed: positive counter-clockwise
  // The centre lies on the chord's perpendicular through its middle, on the left for a counter-clockwise arc.
  const double h = chord / 2 / std::tan(sweep / 2);
  const Point mid{(from.x + to.x) / 2, (from.y + to.y) / 2};
  const Point left{-(to.y - from.y) / chord, (to.x - from.x) / chord};
  centre = {mid.x + h * left.x, mid.y + h * left.y};
  radius = Distance(centre, from);
  start = std::atan2(from.y - centre.y, from.x - centre.x);
  return true;
}

void AppendBulge(std::vector<Point>& out, Point from, Point to, double bulge, double pixelsPerUnit) {
  Point centre;
  double radius = 0, a0 = 0, sweep = 0;
  if (!BulgeArc(from, to, bulge, centre, radius, a0, sweep)) {
    out.push_back(to);
    return;
  }
  const int n = Segments(radius * std::fabs(sweep), pixelsPerUnit, 2, kMaxCurveSegments);
  for (int i = 1; i < n; ++i) {
    const double a = a0 + sweep * i / n;
    out.push_back({centre.x + radius * std::cos(a), centre.y + radius * std::sin(a)});
  }
  out.push_back(to);
}

std::vector<Entity> ExplodeBulges(const Entity& polyline) {
  std::vector<Entity> pieces;
  const size_t n = polyline.points.size();
  const size_t segments = polyline.closed && n > 1 ? n : n - 1;
  for (size_t i = 0; i < segments && n > 1; ++i) {
    const Point from = polyline.points[i], to = polyline.points[(i + 1) % n];
    const double bulge = i < polyline.bulges.size() ? polyline.bulges[i] : 0;
    Entity piece;
    Point centre;
    double radius = 0, start = 0, sweep = 0;
    if (BulgeArc(from, to, bulge, centre, radius, start, sweep)) {
      // An arc runs counter-clockwise: a clockwise bulge is the same arc from its other end.
      const double first = sweep > 0 ? start : start + sweep;
      piece.kind = EntityKind::kArc;
      piece.points = {centre};
      piece.radius = radius;
      piece.startAngle = first * 180 / kPi;
      piece.endAngle = (first + std::fabs(sweep)) * 180 / kPi;
    } else {
      piece.points = {from, to};
    }
    pieces.push_back(std::move(piece));
  }
  return pieces;
}

bool IsUsableSpline(const Entity& s) {
  const size_t n = s.points.size();
  if (s.degree < 1 || s.degree > kMaxSplineDegree || n < static_cast<size_t>(s.degree) + 1) return false;
  if (s.knots.size() != n + static_cast<size_t>(s.degree) + 1) return false;
  for (size_t i = 0; i < s.knots.size(); ++i)
    if (!std::isfinite(s.knots[i]) || (i > 0 && s.knots[i] < s.knots[i - 1])) return false;
  if (!(s.knots[n] > s.knots[static_cast<size_t>(s.degree)])) return false;
  if (!s.weights.empty()) {
    if (s.weights.size() != n) return false;
    for (double w : s.weights)
      if (!(w > 0) || !std::isfinite(w)) return false;
  }
  return true;
}

std::vector<double> UniformKnots(size_t points, int degree) {
  const size_t p = static_cast<size_t>(degree);
  std::vector<double> knots(points + p + 1, 0.0);
  const size_t inner = points > p ? points - p : 1;
  for (size_t i = 0; i < knots.size(); ++i)
    knots[i] = static_cast<double>(std::clamp(i, p, points)) - static_cast<double>(p);
  for (double& k : knots) k /= static_cast<double>(inner);
  return knots;
}

namespace {

Point Minus(Point a, Point b) { return {a.x - b.x, a.y - b.y}; }
double Cross(Point a, Point b) { return std::fabs(a.x * b.y - a.y * b.x); }

// The direction of the curve at each end, from the five points about it (Akima), the chords beyond the ends
// extended in line with the ones before them.
void EndTangents(const std::vector<Point>& fit, Point& start, Point& end) {
  const size_t n = fit.size() - 1;  // chords
  if (n < 2) {
    start = end = Minus(fit[1], fit[0]);
    return;
  }
  auto chord = [&](long i) -> Point {
    const long last = static_cast<long>(n) - 1;
    if (i >= 0 && i <= last) return Minus(fit[static_cast<size_t>(i) + 1], fit[static_cast<size_t>(i)]);
    auto extend = [](Point a, Point b) { return Point{2 * a.x - b.x, 2 * a.y - b.y}; };
    if (i == -1) return extend(Minus(fit[1], fit[0]), Minus(fit[2], fit[1]));
    if (i == -2) return extend(extend(Minus(fit[1], fit[0]), Minus(fit[2], fit[1])), Minus(fit[1], fit[0]));
    const Point q1 = Minus(fit[n], fit[n - 1]), q2 = Minus(fit[n - 1], fit[n - 2]);
    if (i == last + 1) return extend(q1, q2);
    return extend(extend(q1, q2), q1);
  };
  auto at = [&](long i) {
    const Point a = chord(i - 2), b = chord(i - 1), c = chord(i), d = chord(i + 1);
    double wb = Cross(d, c), wc = Cross(b, a);
    if (wb + wc <= 0) wb = wc = 1;
    return Point{(wb * b.x + wc * c.x) / (wb + wc), (wb * b.y + wc * c.y) / (wb + wc)};
  };
  start = at(0);
  end = at(static_cast<long>(n));
}

Point Scaled(Point v, double length) {
  const double norm = std::hypot(v.x, v.y);
  return norm > 0 ? Point{v.x / norm * length, v.y / norm * length} : Point{};
}

// The non-zero basis functions of degree p at u in the span that starts at knot k.
std::vector<double> Basis(const std::vector<double>& knots, size_t k, size_t p, double u) {
  std::vector<double> basis(p + 1, 0.0), left(p + 1), right(p + 1);
  basis[0] = 1;
  for (size_t j = 1; j <= p; ++j) {
    left[j] = u - knots[k + 1 - j];
    right[j] = knots[k + j] - u;
    double saved = 0;
    for (size_t r = 0; r < j; ++r) {
      const double denom = right[r + 1] + left[j - r];
      const double temp = denom != 0 ? basis[r] / denom : 0;
      basis[r] = saved + right[r + 1] * temp;
      saved = left[j - r] * temp;
    }
    basis[j] = saved;
  }
  return basis;
}

}  // namespace

bool InterpolateFitPoints(const std::vector<Point>& fit, int, Entity& spline) {
  // A cubic through the points with the directions at its ends estimated, chord-length parameters and
  // those parameters as its inner knots: n + 1 points give n + 3 control points.
  const size_t count = fit.size();
  if (count < 2) return false;
  constexpr size_t p = 3;
  std::vector<double> t(count, 0.0);
  for (size_t i = 1; i < count; ++i) t[i] = t[i - 1] + Distance(fit[i - 1], fit[i]);
  const double total = t.back();
  if (!(total > 0) || !std::isfinite(total)) return false;
  for (double& v : t) v /= total;
  for (size_t i = 1; i < count; ++i)
    if (!(t[i] > t[i - 1])) return false;  // a point repeated: no parameter for it
  const size_t unknowns = count + 2;
  std::vector<double> knots(unknowns + p + 1, 0.0);
  for (size_t i = 1; i + 1 < count; ++i) knots[i + p] = t[i];
  for (size_t i = unknowns; i < knots.size(); ++i) knots[i] = 1;
  Point startTangent, endTangent;
  EndTangents(fit, startTangent, endTangent);
  startTangent = Scaled(startTangent, total);
  endTangent = Scaled(endTangent, total);

  // One equation per row, every row's non-zero entries within p of the diagonal: solved without pivoting.
  const size_t width = 2 * p + 1;
  std::vector<double> band(unknowns * width, 0.0);
  auto at = [&](size_t row, size_t col) -> double& { return band[row * width + (col + p - row)]; };
  std::vector<Point> rhs(unknowns);
  at(0, 0) = 1;
  rhs[0] = fit[0];
  at(1, 0) = -1;
  at(1, 1) = 1;
  rhs[1] = {startTangent.x * knots[p + 1] / p, startTangent.y * knots[p + 1] / p};
  for (size_t i = 1; i + 1 < count; ++i) {
    const size_t k = i + p;  // the parameter is the knot that starts span k
    const std::vector<double> basis = Basis(knots, k, p, t[i]);
    for (size_t j = 0; j <= p; ++j) {
      const size_t col = k - p + j, row = i + 1;
      if (col + p >= row && col <= row + p) at(row, col) += basis[j];
    }
    rhs[i + 1] = fit[i];
  }
  const double back = (1 - knots[unknowns - 1]) / p;
  at(unknowns - 2, unknowns - 2) = -1;
  at(unknowns - 2, unknowns - 1) = 1;
  rhs[unknowns - 2] = {endTangent.x * back, endTangent.y * back};
  at(unknowns - 1, unknowns - 1) = 1;
  rhs[unknowns - 1] = fit[count - 1];

  for (size_t c = 0; c < unknowns; ++c) {
    const double pivot = at(c, c);
    if (std::fabs(pivot) < 1e-12) return false;
    for (size_t r = c + 1; r < std::min(unknowns, c + p + 1); ++r) {
      const double f = at(r, c) / pivot;
      if (f == 0) continue;
      for (size_t col = c; col < std::min(unknowns, c + p + 1); ++col) at(r, col) -= f * at(c, col);
      rhs[r].x -= f * rhs[c].x;
      rhs[r].y -= f * rhs[c].y;
    }
  }
  std::vector<Point> control(unknowns);
  for (size_t c = unknowns; c-- > 0;) {
    Point v = rhs[c];
    for (size_t col = c + 1; col < std::min(unknowns, c + p + 1); ++col) {
      v.x -= at(c, col) * control[col].x;
      v.y -= at(c, col) * control[col].y;
    }
    control[c] = {v.x / at(c, c), v.y / at(c, c)};
    if (!std::isfinite(control[c].x) || !std::isfinite(control[c].y)) return false;
  }
  spline.points = std::move(control);
  spline.knots = std::move(knots);
  spline.weights.clear();
  spline.degree = static_cast<int>(p);
  return true;
}

std::vector<Point> Outline(const Entity& e, double pixelsPerUnit, size_t limit) {
  std::vector<Point> out;
  if (e.points.empty()) return out;
  switch (e.kind) {
    case EntityKind::kLine: out = e.points; break;
    case EntityKind::kPolyline: {
      const size_t n = e.points.size();
      auto bulge = [&](size_t i) { return i < e.bulges.size() ? e.bulges[i] : 0.0; };
      out.push_back(e.points[0]);
      for (size_t i = 1; i < n && out.size() < limit; ++i)
        AppendBulge(out, e.points[i - 1], e.points[i], bulge(i - 1), pixelsPerUnit);
      if (out.size() < limit && e.closed && (n > 2 || (n == 2 && bulge(1) != 0)))
        AppendBulge(out, e.points[n - 1], e.points[0], bulge(n - 1), pixelsPerUnit);
      break;
    }
    case EntityKind::kCircle:
    case EntityKind::kArc:
      out = ArcPoints(e.points[0], e.radius, e.startAngle, e.endAngle, e.kind == EntityKind::kCircle,
                      e.radius * pixelsPerUnit);
      break;
    case EntityKind::kEllipse: AppendEllipse(out, e, pixelsPerUnit); break;
    case EntityKind::kSpline: AppendSpline(out, e, pixelsPerUnit, limit); break;
    case EntityKind::kSolid:
      out = e.points;
      out.push_back(e.points[0]);
      break;
    case EntityKind::kPoint:
    case EntityKind::kText: break;
  }
  return out;
}

}  // namespace dxf
