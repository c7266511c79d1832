// The lines a drawing seen from above shows of 3D faces and meshes: a face's edges, a polyface mesh's faces
// by the indexes of its face records, an M x N polygon mesh's grid. Counts and indexes come from the file:
// a face that names a vertex the mesh does not have is left out, and a grid takes only the rows its
// vertices fill.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "preview/dxf/dxf_reader.h"

namespace dxf {

// Flags of a POLYLINE (group 70).
constexpr int kPolylineClosed = 1;  // of a polygon mesh: closed in its M direction
constexpr int kPolylineSplineFit = 4;
constexpr int kPolyline3d = 8;
constexpr int kPolygonMesh = 16;
constexpr int kMeshClosedN = 32;
constexpr int kPolyfaceMesh = 64;
// Flags of a VERTEX.
constexpr int kVertexSplineFrame = 16;  // a control point of a spline-fit polyline: not on the line
constexpr int kVertexOfMesh = 64;
constexpr int kVertexOfPolyface = 128;  // alone (without kVertexOfMesh): a face record, not a point

// A polyface mesh's face record: up to four indexes of its vertices, from 1 (0: no corner); a negative one
// hides the edge from its corner to the next.
struct FaceRecord {
  int32_t index[4] = {0, 0, 0, 0};
};

using EntitySink = std::function<void(Entity)>;

// A face of two to four corners: the whole face as one closed polyline when every edge shows, else each
// edge that shows as a line. Bit k of hidden hides the edge from corner k to the next.
void FaceEdges(const std::vector<Point>& corners, unsigned hidden, const EntitySink& emit);

// The faces of a polyface mesh over its vertices; a face naming a vertex it does not have is left out.
void PolyfaceEdges(const std::vector<Point>& vertices, const std::vector<FaceRecord>& faces, const EntitySink& emit);

// An M x N polygon mesh's grid: each row of N vertices and each column of M as a polyline, closed in a
// direction the mesh is closed in. Rows the vertices do not fill are left out.
void MeshGrid(const std::vector<Point>& vertices, int64_t m, int64_t n, bool closedM, bool closedN,
              const EntitySink& emit);

}  // namespace dxf
