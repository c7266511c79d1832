// Our reader of ASCII DXF drawings: the entities a preview draws (lines, circles, arcs, light and classic
// polylines with their arcs, ellipses, splines, points, single-line and paragraph text, attributes, filled
// triangles and quadrilaterals, 3D faces, the boundaries of hatches, and block references and dimensions
// expanded into those), each in drawing units, with the drawing's extents. Entities on layers that are
// off or frozen are left out. Nothing in the file is trusted: counts are capped and checked against what
// follows them, numbers must be finite and of sane size, and a damaged file gives a status, never a crash.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "preview/dxf/dxf_text.h"

namespace dxf {

constexpr double kPi = 3.14159265358979323846;

struct Point {
  double x = 0;
  double y = 0;
};

enum class EntityKind { kLine, kCircle, kArc, kPolyline, kPoint, kText, kEllipse, kSpline, kSolid };

enum class TextAlign { kLeft, kCentre, kRight };  // of a text line about its point

struct Entity {
  EntityKind kind = EntityKind::kLine;
  // line: 2; circle, arc, ellipse, point, text: 1 (centre or insertion); polyline: its vertices; spline: its
  // control points; solid: its corners in drawing order (3 or 4)
  std::vector<Point> points;
  double radius = 0;
  double startAngle = 0;  // degrees, counter-clockwise from +x (arcs)
  double endAngle = 0;
  double height = 0;      // text height, drawing units
  double rotation = 0;    // text rotation, degrees
  bool closed = false;    // polyline joins its last vertex to its first
  // Polyline: the bulge of the segment that starts at each vertex (tan of a quarter of its arc's angle,
  // positive counter-clockwise); empty when every segment is straight.
  std::vector<double> bulges;
  Point axis;             // ellipse: the end of its major axis, from the centre
  double ratio = 1;       // ellipse: minor axis over major axis
  double startParam = 0;  // ellipse: radians, counter-clockwise from the major axis
  double endParam = 0;
  int degree = 0;                // spline
  std::vector<double> knots;     // spline: points.size() + degree + 1 of them, not decreasing
  std::vector<double> weights;   // spline: one per control point, or empty when all are 1
  TextAlign align = TextAlign::kLeft;
  std::string text;  // UTF-8
  uint32_t colour = 0x00FFFFFF;  // 0x00BBGGRR
};

// The smallest rectangle holding every entity; empty when nothing was added.
struct Extents {
  double minX = 0, minY = 0, maxX = 0, maxY = 0;
  bool empty = true;
  void Add(Point p) {
    if (empty) {
      minX = maxX = p.x;
      minY = maxY = p.y;
      empty = false;
      return;
    }
    minX = p.x < minX ? p.x : minX;
    maxX = p.x > maxX ? p.x : maxX;
    minY = p.y < minY ? p.y : minY;
    maxY = p.y > maxY ? p.y : maxY;
  }
};

enum class ReadStatus {
  kOk,         // the whole file was read
  kTruncated,  // the file ends before its EOF marker: what came before it is kept
  kDamaged,    // a group code or a number that is not one: nothing is kept
};

struct Drawing {
  ReadStatus status = ReadStatus::kOk;
  std::string message;  // why the status is not kOk
  bool hasHeader = false;
  std::vector<Entity> entities;
  Extents extents;
  size_t blockReferences = 0;  // the block references followed or refused while the blocks were expanded
};

// Limits that keep a hostile file from taking the machine.
constexpr size_t kMaxEntities = 1000000;
constexpr size_t kMaxVertices = 100000;  // per polyline
constexpr size_t kMaxTotalPoints = 4000000;
constexpr size_t kMaxTextLength = 256;       // bytes of one line of text
constexpr size_t kMaxParagraphLength = 65536;  // bytes of a paragraph text with its formatting
constexpr size_t kMaxParagraphLines = 1000;
constexpr size_t kMaxObjectGroups = 1000000;  // groups of one spline or hatch kept for reading
constexpr int kMaxSplineDegree = 10;
constexpr int kMaxBlockDepth = 8;
constexpr size_t kMaxBlockReferences = 1000000;  // followed or refused, nested ones included
constexpr double kMaxCoordinate = 1e12;

// Reads the drawing; progress (0..100) is reported as the bytes are consumed when a callback is given. The
// text of a drawing from before 2007 is decoded from the code page its header names by decode when one is
// given (else its bytes are taken as Latin-1).
Drawing ReadDrawing(const char* data, size_t size, const std::function<void(int)>& progress = {},
                    const CodePageDecoder& decode = {});

// The file's start taken as text up to its first NUL byte opens a section (group 0 "SECTION" and its name in
// group 2), after comments if any, as every ASCII drawing does: a header section is not required.
bool LooksLikeDrawing(const char* start, size_t size);

// The colour of an AutoCAD colour index on a black background (7 and unknown indexes are white).
uint32_t IndexColour(int index);

// The extents of a list of entities: the union of their boxes (EntityBox), no curve flattened.
Extents EntityExtents(const std::vector<Entity>& entities);

}  // namespace dxf
