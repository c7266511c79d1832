// What ezdxf makes of the sample drawings (written beside them by make_dxf_samples.py): the points of each
// entity it flattens, its points and its texts without their formatting, and whether each shows.
#pragma once

#include <algorithm>
#include <cmath>
#include <fstream>
#include <limits>
#include <sstream>
#include <string>
#include <vector>

#include "preview/dxf/dxf_reader.h"
#include "preview/dxf/dxf_view_maths.h"

namespace dxf_test {

struct OracleShape {
  bool shown = true;
  int colour = -1;  // colour index; -1 when it comes from a block
  std::vector<dxf::Point> points;
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
  oracle.read = !oracle.curves.empty() || !oracle.texts.empty();
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

}  // namespace dxf_test
