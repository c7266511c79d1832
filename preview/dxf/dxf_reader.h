// Our reader of ASCII DXF drawings: the entities a preview draws (lines, circles, arcs, light and classic
// polylines, points, single-line text, and block references expanded into those), each in drawing units,
// with the drawing's extents. Nothing in the file is trusted: counts are capped, numbers must be finite
// and of sane size, and a damaged file gives a status, never a crash.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace dxf {

struct Point {
  double x = 0;
  double y = 0;
};

enum class EntityKind { kLine, kCircle, kArc, kPolyline, kPoint, kText };

struct Entity {
  EntityKind kind = EntityKind::kLine;
  std::vector<Point> points;  // line: 2; circle, arc, point, text: 1 (centre or insertion); polyline: its vertices
  double radius = 0;
  double startAngle = 0;  // degrees, counter-clockwise from +x (arcs)
  double endAngle = 0;
  double height = 0;      // text height, drawing units
  double rotation = 0;    // text rotation, degrees
  bool closed = false;    // polyline joins its last vertex to its first
  std::string text;
  uint32_t colour = 0x00FFFFFF;  // 0x00BBGGRR
};

// The smallest rectangle holding every entity; empty when nothing was added.
struct Extents {
  double minX = 0, minY = 0, maxX = 0, maxY = 0;
  bool empty = true;
  void Add(Point p);
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
};

// Limits that keep a hostile file from taking the machine.
constexpr size_t kMaxEntities = 1000000;
constexpr size_t kMaxVertices = 100000;  // per polyline
constexpr size_t kMaxTotalPoints = 4000000;
constexpr size_t kMaxTextLength = 256;
constexpr int kMaxBlockDepth = 8;
constexpr double kMaxCoordinate = 1e12;

// Reads the drawing; progress (0..100) is reported as the bytes are consumed when a callback is given.
Drawing ReadDrawing(const char* data, size_t size, const std::function<void(int)>& progress = {});

// The file's start taken as text up to its first NUL byte holds both "SECTION" and "HEADER".
bool LooksLikeDrawing(const char* start, size_t size);

// The colour of an AutoCAD colour index on a black background (7 and unknown indexes are white).
uint32_t IndexColour(int index);

// The extents of a list of entities (text by its insertion point, height and an estimated width).
Extents EntityExtents(const std::vector<Entity>& entities);

}  // namespace dxf
