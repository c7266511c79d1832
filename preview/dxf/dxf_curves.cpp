#include "preview/dxf/dxf_curves.h"

#include <algorithm>
#include <cmath>

#include "preview/dxf/dxf_view_maths.h"

namespace dxf {

namespace {

constexpr double kChordPixels = 4;  // a chord of a spline of about this many pixels strays less than a pixel
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
  // The ellipse is a circle of its major radius squeezed: its chords stray no farther than that circle's.
  const int n = ArcSegments(radius * pixelsPerUnit, sweep, sweep > 2 * kPi - 1e-9 ? 3 : 1);
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

// The part of c + u cos t + v sin t for t from t0 over sweep (radians, 0 to 2 pi): its ends, and the points
// within it where x or y is at its least or greatest.
void AddEllipticArc(Extents& box, Point c, Point u, Point v, double t0, double sweep) {
  auto at = [&](double t) {
    const double ct = std::cos(t), st = std::sin(t);
    return Point{c.x + u.x * ct + v.x * st, c.y + u.y * ct + v.y * st};
  };
  box.Add(at(t0));
  box.Add(at(t0 + sweep));
  for (double turn : {std::atan2(v.x, u.x), std::atan2(v.y, u.y)}) {
    for (double t : {turn, turn + kPi}) {
      double offset = std::fmod(t - t0, 2 * kPi);
      if (offset < 0) offset += 2 * kPi;
      if (offset <= sweep) box.Add(at(t));
    }
  }
}

void AddCircularArc(Extents& box, Point c, double radius, double t0, double sweep) {
  AddEllipticArc(box, c, {radius, 0}, {0, radius}, t0, sweep);
}

// The arc of a polyline segment of bulge b from a to b, without a sine or an arc tangent (a polyline may
// hold millions of them): its centre lies (1 - b^2) / 4b of the chord's length to the chord's left, its
// radius is (1 + b^2) / 4|b| of it, and a point of its circle lies on the arc when it is on the chord's right
// for a counter-clockwise arc (b > 0), on its left for a clockwise one. The ends are in the box already.
void AddBulge(Extents& box, Point from, Point to, double b) {
  const double dx = to.x - from.x, dy = to.y - from.y, chord = std::hypot(dx, dy);
  if (std::fabs(b) < 1e-9 || !(chord > 0)) return;
  const double h = (1 - b * b) / (4 * b);
  const Point centre{(from.x + to.x) / 2 - h * dy, (from.y + to.y) / 2 + h * dx};
  const double r = chord * (1 + b * b) / (4 * std::fabs(b));
  for (Point p : {Point{centre.x + r, centre.y}, Point{centre.x - r, centre.y}, Point{centre.x, centre.y + r},
                  Point{centre.x, centre.y - r}}) {
    const double side = dx * (p.y - from.y) - dy * (p.x - from.x);
    if (side * b <= 0) box.Add(p);
  }
}

// A point of a rational curve in homogeneous coordinates (x and y multiplied by the weight).
struct Weighted {
  double x = 0, y = 0, w = 1;
};
Weighted Lerp(const Weighted& a, const Weighted& b, double t) {
  return {a.x + (b.x - a.x) * t, a.y + (b.y - a.y) * t, a.w + (b.w - a.w) * t};
}
Point Cartesian(const Weighted& h) { return {h.x / h.w, h.y / h.w}; }

constexpr int kMostBoxDegree = 3;       // splines of higher degree are boxed by their control points
constexpr int kRationalBoxDepth = 8;    // halvings of a rational piece: its hull then strays 4^-8 of its size

// The Bezier control points of the span of a usable spline from knot k to k + 1: the spline's blossom at
// p parameters, so many of them the span's start and the rest its end (de Boor's scheme, one parameter a
// level). Each level's blends at the start and at the end are worked out once for the span's points.
void SpanBezier(const Entity& s, size_t k, Weighted* out) {
  const int p = s.degree;
  const double u[2] = {s.knots[k], s.knots[k + 1]};
  double blend[2][kMostBoxDegree + 1][kMostBoxDegree + 1] = {};  // [start or end][level][point]
  for (int r = 1; r <= p; ++r) {
    for (int j = r; j <= p; ++j) {
      const size_t i = k - static_cast<size_t>(p) + static_cast<size_t>(j);
      const double span = s.knots[i + static_cast<size_t>(p - r) + 1] - s.knots[i];
      for (int e = 0; e < 2; ++e) blend[e][r][j] = span > 0 ? (u[e] - s.knots[i]) / span : 0;
    }
  }
  Weighted first[kMostBoxDegree + 1];
  for (int j = 0; j <= p; ++j) {
    const size_t i = k - static_cast<size_t>(p) + static_cast<size_t>(j);
    const double w = s.weights.empty() ? 1.0 : s.weights[i];
    first[j] = {s.points[i].x * w, s.points[i].y * w, w};
  }
  for (int m = 0; m <= p; ++m) {
    Weighted d[kMostBoxDegree + 1];
    std::copy(first, first + p + 1, d);
    for (int r = 1; r <= p; ++r) {
      const int e = r <= p - m ? 0 : 1;
      for (int j = p; j >= r; --j) d[j] = Lerp(d[j - 1], d[j], blend[e][r][j]);
    }
    out[m] = d[p];
  }
}

bool Within(const Extents& inner, const Extents& outer) {
  return inner.minX >= outer.minX && inner.maxX <= outer.maxX && inner.minY >= outer.minY && inner.maxY <= outer.maxY;
}

// The parameters in (0, 1) where one coordinate of a polynomial Bezier piece of degree 1 to 3 turns back:
// the roots of its derivative, d0 (1 - t)^2 + 2 d1 t (1 - t) + d2 t^2 for a cubic, d0 (1 - t) + d1 t for a
// quadratic, with di the differences of its control values.
int TurningPoints(const double* v, int p, double* t) {
  int n = 0;
  auto keep = [&](double r) {
    if (r > 0 && r < 1) t[n++] = r;
  };
  if (p == 2) {
    const double d0 = v[1] - v[0], d1 = v[2] - v[1];
    if (d0 != d1) keep(d0 / (d0 - d1));
  } else if (p == 3) {
    const double d0 = v[1] - v[0], d1 = v[2] - v[1], d2 = v[3] - v[2];
    const double a = d0 - 2 * d1 + d2, b = 2 * (d1 - d0), c = d0;
    if (std::fabs(a) < 1e-12 * (std::fabs(b) + std::fabs(c))) {
      if (b != 0) keep(-c / b);
    } else {
      const double disc = b * b - 4 * a * c;
      if (disc >= 0) {
        const double root = std::sqrt(disc);
        keep((-b + root) / (2 * a));
        keep((-b - root) / (2 * a));
      }
    }
  }
  return n;
}

Weighted BezierAt(const Weighted* b, int p, double t) {
  Weighted d[kMostBoxDegree + 1];
  std::copy(b, b + p + 1, d);
  for (int r = 1; r <= p; ++r)
    for (int j = 0; j + r <= p; ++j) d[j] = Lerp(d[j], d[j + 1], t);
  return d[0];
}

// A Bezier piece of degree 1 to 3 added to the box: its ends, and unless its control points lie within the
// box already, where it turns back (a polynomial one) or its halves (a rational one, down to a depth, where
// the control points are taken).
void AddBezier(Extents& box, const Weighted* b, int p, bool rational, int depth) {
  box.Add(Cartesian(b[0]));
  box.Add(Cartesian(b[p]));
  Extents hull;
  for (int i = 0; i <= p; ++i) hull.Add(Cartesian(b[i]));
  if (Within(hull, box)) return;
  if (!rational) {
    double xs[kMostBoxDegree + 1], ys[kMostBoxDegree + 1], t[4];
    for (int i = 0; i <= p; ++i) xs[i] = b[i].x, ys[i] = b[i].y;
    int n = TurningPoints(xs, p, t);
    n += TurningPoints(ys, p, t + n);
    for (int i = 0; i < n; ++i) box.Add(Cartesian(BezierAt(b, p, t[i])));
    return;
  }
  if (depth == 0) {
    box.Add({hull.minX, hull.minY});
    box.Add({hull.maxX, hull.maxY});
    return;
  }
  // de Casteljau at the middle: the left half's points run down the scheme's first column, the right's
  // up its last.
  Weighted d[kMostBoxDegree + 1], left[kMostBoxDegree + 1], right[kMostBoxDegree + 1];
  std::copy(b, b + p + 1, d);
  left[0] = d[0];
  right[p] = d[p];
  for (int r = 1; r <= p; ++r) {
    for (int j = 0; j + r <= p; ++j) d[j] = Lerp(d[j], d[j + 1], 0.5);
    left[r] = d[0];
    right[p - r] = d[p - r];
  }
  AddBezier(box, left, p, rational, depth - 1);
  AddBezier(box, right, p, rational, depth - 1);
}

// A usable spline of degree 3 at most, span by span as Bezier pieces.
void AddSpline(Extents& box, const Entity& s) {
  const size_t p = static_cast<size_t>(s.degree), n = s.points.size();
  Weighted bezier[kMostBoxDegree + 1];
  for (size_t k = p; k < n; ++k) {
    if (!(s.knots[k + 1] > s.knots[k])) continue;
    SpanBezier(s, k, bezier);
    AddBezier(box, bezier, s.degree, !s.weights.empty(), kRationalBoxDepth);
  }
}

}  // namespace

Extents EntityBox(const Entity& e) {
  Extents box;
  if (e.points.empty()) return box;
  const Point c = e.points[0];
  switch (e.kind) {
    case EntityKind::kCircle: AddCircularArc(box, c, e.radius, 0, 2 * kPi); break;
    case EntityKind::kArc: {
      double sweep = std::fmod(e.endAngle - e.startAngle, 360.0);
      if (sweep <= 0) sweep += 360;
      AddCircularArc(box, c, e.radius, e.startAngle * kPi / 180, sweep * kPi / 180);
      break;
    }
    case EntityKind::kEllipse: {
      double sweep = std::fmod(e.endParam - e.startParam, 2 * kPi);
      if (sweep <= 1e-12) sweep += 2 * kPi;
      AddEllipticArc(box, c, e.axis, {-e.axis.y * e.ratio, e.axis.x * e.ratio}, e.startParam, sweep);
      break;
    }
    case EntityKind::kText: {
      const double width = 0.6 * e.height * static_cast<double>(e.text.size());
      const double shift = e.align == TextAlign::kCentre ? width / 2 : e.align == TextAlign::kRight ? width : 0;
      const double a = e.rotation * kPi / 180;
      const Point d{std::cos(a), std::sin(a)};
      const Point p{c.x - shift * d.x, c.y - shift * d.y};
      box.Add(p);
      box.Add({p.x + width * d.x, p.y + width * d.y});
      box.Add({p.x - e.height * d.y, p.y + e.height * d.x});
      box.Add({p.x + width * d.x - e.height * d.y, p.y + width * d.y + e.height * d.x});
      break;
    }
    case EntityKind::kPolyline: {
      for (Point p : e.points) box.Add(p);
      // The segments the outline draws, the closing one included when it does.
      const size_t n = e.points.size();
      auto bulge = [&](size_t i) { return i < e.bulges.size() ? e.bulges[i] : 0.0; };
      const size_t segments = e.closed && (n > 2 || (n == 2 && bulge(1) != 0)) ? n : n - 1;
      for (size_t i = 0; i < segments && !e.bulges.empty(); ++i) AddBulge(box, e.points[i], e.points[(i + 1) % n], bulge(i));
      break;
    }
    case EntityKind::kSpline:
      if (IsUsableSpline(e) && e.degree <= kMostBoxDegree) {
        AddSpline(box, e);
        break;
      }
      // A spline that cannot be used is drawn through its points; one of a higher degree lies within them.
      for (Point p : e.points) box.Add(p);
      break;
    default:  // lines, solids, points
      for (Point p : e.points) box.Add(p);
  }
  return box;
}

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
  const int n = ArcSegments(radius * pixelsPerUnit, std::fabs(sweep), 1);
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
