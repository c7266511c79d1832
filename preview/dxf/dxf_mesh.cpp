#include "preview/dxf/dxf_mesh.h"

#include <algorithm>
#include <cstdlib>

namespace dxf {

namespace {

Entity Polyline(std::vector<Point> points, bool closed) {
  Entity e;
  e.kind = points.size() == 2 && !closed ? EntityKind::kLine : EntityKind::kPolyline;
  e.points = std::move(points);
  e.closed = closed;
  return e;
}

}  // namespace

void FaceEdges(const std::vector<Point>& corners, unsigned hidden, const EntitySink& emit) {
  const size_t n = corners.size();
  if (n < 2) return;
  hidden &= (1u << n) - 1;
  if (n == 2) {  // both of its edges are the one line
    if (hidden != 3) emit(Polyline(corners, false));
    return;
  }
  if (hidden == 0) {
    emit(Polyline(corners, true));
    return;
  }
  for (size_t k = 0; k < n; ++k)
    if ((hidden & (1u << k)) == 0) emit(Polyline({corners[k], corners[(k + 1) % n]}, false));
}

void PolyfaceEdges(const std::vector<Point>& vertices, const std::vector<FaceRecord>& faces, const EntitySink& emit) {
  std::vector<Point> corners;
  for (const FaceRecord& face : faces) {
    corners.clear();
    unsigned hidden = 0;
    bool named = true;
    for (int32_t index : face.index) {
      if (index == 0) continue;  // a corner not given: a triangle, or an edge
      const uint32_t number = index < 0 ? 0u - static_cast<uint32_t>(index) : static_cast<uint32_t>(index);
      if (number > vertices.size()) {
        named = false;
        break;
      }
      if (index < 0) hidden |= 1u << corners.size();
      corners.push_back(vertices[number - 1]);
    }
    if (named) FaceEdges(corners, hidden, emit);
  }
}

void MeshGrid(const std::vector<Point>& vertices, int64_t m, int64_t n, bool closedM, bool closedN,
              const EntitySink& emit) {
  if (m < 1 || n < 1) return;
  const auto count = static_cast<int64_t>(vertices.size());
  const int64_t rows = std::min(m, count / n);
  if (rows < 1) return;
  const auto at = [&](int64_t row, int64_t column) { return vertices[static_cast<size_t>(row * n + column)]; };
  std::vector<Point> line;
  if (n >= 2) {
    for (int64_t row = 0; row < rows; ++row) {
      line.clear();
      for (int64_t column = 0; column < n; ++column) line.push_back(at(row, column));
      emit(Polyline(line, closedN && n > 2));
    }
  }
  if (rows >= 2) {
    for (int64_t column = 0; column < n; ++column) {
      line.clear();
      for (int64_t row = 0; row < rows; ++row) line.push_back(at(row, column));
      emit(Polyline(line, closedM && rows == m && rows > 2));  // a grid cut short is not closed
    }
  }
}

}  // namespace dxf
