// What ezdxf makes of the sample drawings (written beside them by make_dxf_samples.py): the points of each
// entity it flattens, its points and its texts without their formatting, and whether each shows.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <limits>
#include <sstream>
#include <string>
#include <vector>

#include "preview/dxf/dxf_paint_budget.h"
#include "preview/dxf/dxf_reader.h"
#include "preview/dxf/dxf_view_maths.h"

namespace dxf_test {

struct OracleShape {
  bool shown = true;
  int colour = -1;  // colour index; -1 when it comes from a block
  std::vector<dxf::Point> points;  // a circle: its centre
  double radius = 0;               // a circle's
};

struct OracleText {
  bool shown = true;
  int colour = -1;
  dxf::Point at;
  double height = 0;
  std::vector<std::string> lines;
};

struct Oracle {
  bool read = false;
  std::vector<OracleShape> curves;
  std::vector<OracleShape> points;
  std::vector<OracleShape> circles;  // of the large drawings, by centre and radius
  std::vector<OracleText> texts;
};

inline Oracle ReadOracle(const std::string& file) {
  Oracle oracle;
  std::ifstream in(file, std::ios::binary);
  std::string line;
  while (std::getline(in, line)) {
    std::istringstream fields(line);
    std::string kind;
    int shown = 0;
    OracleShape shape;
    fields >> kind >> shown >> shape.colour;
    shape.shown = shown != 0;
    if (kind == "curve") {
      size_t n = 0;
      fields >> n;
      for (size_t i = 0; i < n && fields; ++i) {
        dxf::Point p;
        fields >> p.x >> p.y;
        shape.points.push_back(p);
      }
      oracle.curves.push_back(shape);
    } else if (kind == "point") {
      dxf::Point p;
      fields >> p.x >> p.y;
      shape.points.push_back(p);
      oracle.points.push_back(shape);
    } else if (kind == "circle") {
      dxf::Point p;
      fields >> p.x >> p.y >> shape.radius;
      shape.points.push_back(p);
      oracle.circles.push_back(shape);
    } else if (kind == "text") {
      OracleText text;
      text.shown = shape.shown;
      text.colour = shape.colour;
      size_t n = 0;
      fields >> text.at.x >> text.at.y >> text.height >> n;
      for (size_t i = 0; i < n && std::getline(in, line); ++i) {
        if (line.rfind("line ", 0) == 0) text.lines.push_back(line.substr(5));
      }
      oracle.texts.push_back(text);
    }
    if (!fields) return Oracle{};
  }
  oracle.read = !oracle.curves.empty() || !oracle.texts.empty() || !oracle.circles.empty();
  return oracle;
}

// Distance in pixels from a point to a segment.
inline double SegmentDistance(dxf::PixelPoint p, dxf::PixelPoint a, dxf::PixelPoint b) {
  const double dx = b.x - a.x, dy = b.y - a.y, length = dx * dx + dy * dy;
  double t = length > 0 ? ((p.x - a.x) * dx + (p.y - a.y) * dy) / length : 0;
  t = t < 0 ? 0 : t > 1 ? 1 : t;
  return std::hypot(p.x - (a.x + t * dx), p.y - (a.y + t * dy));
}

// Distance in pixels from a point to the nearest of some polylines.
inline double PolylinesDistance(dxf::PixelPoint p, const std::vector<std::vector<dxf::PixelPoint>>& lines) {
  double best = std::numeric_limits<double>::infinity();
  for (const auto& line : lines) {
    if (line.size() == 1) best = std::min(best, std::hypot(p.x - line[0].x, p.y - line[0].y));
    for (size_t i = 1; i < line.size(); ++i) best = std::min(best, SegmentDistance(p, line[i - 1], line[i]));
  }
  return best;
}

// What tells an entity of the large drawings apart: a text by its words, a circle by its centre and radius,
// a street by its first point.
inline std::string Key(char kind, dxf::Point at, double radius = 0) {
  char key[96];
  std::snprintf(key, sizeof key, "%c %.5f %.5f %.5f", kind, at.x, at.y, radius);
  return key;
}
inline std::string Key(const dxf::Entity& e) {
  if (e.kind == dxf::EntityKind::kText) return "t " + e.text;
  return Key(e.kind == dxf::EntityKind::kCircle ? 'c' : 'p', e.points[0], e.radius);
}

// The entities ezdxf wrote that a view shows: a curve or circle whose box reaches the window, a text whose
// point lies in it at a size that can be read.
inline std::vector<std::string> InView(const dxf_test::Oracle& oracle, const dxf::ViewProperties& view) {
  const auto reaches = [&](dxf::Extents box) {
    const dxf::PixelPoint a = dxf::ToPixels(view, {box.minX, box.maxY}), b = dxf::ToPixels(view, {box.maxX, box.minY});
    return a.x <= view.right && b.x >= view.left && a.y <= view.bottom && b.y >= view.top;
  };
  std::vector<std::string> keys;
  for (const auto& curve : oracle.curves) {
    dxf::Extents box;
    for (dxf::Point p : curve.points) box.Add(p);
    if (curve.shown && reaches(box)) keys.push_back(Key('p', curve.points[0]));
  }
  for (const auto& c : oracle.circles) {
    const dxf::Point o = c.points[0];
    if (c.shown && reaches(dxf::Extents{o.x - c.radius, o.y - c.radius, o.x + c.radius, o.y + c.radius, false}))
      keys.push_back(Key('c', o, c.radius));
  }
  for (const auto& text : oracle.texts) {
    const dxf::PixelPoint at = dxf::ToPixels(view, text.at);
    const bool inside = at.x >= view.left && at.x <= view.right && at.y >= view.top && at.y <= view.bottom;
    if (text.shown && inside && text.height * dxf::ScreenScale(view) >= dxf::kLeastTextPixels)
      keys.push_back("t " + text.lines[0]);
  }
  return keys;
}

}  // namespace dxf_test
