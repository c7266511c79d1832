// Splines and the boundaries of hatches, read from their groups in the order they came: what a group means
// there depends on the groups before it. Every count the file gives is checked against the groups that
// follow it, so a hostile count reads nothing beyond the object.
#pragma once

#include <vector>

#include "preview/dxf/dxf_reader.h"

namespace dxf {

// One group of a spline or a hatch, kept in order: what a group means depends on the groups before it.
struct GroupValue {
  int code = 0;
  double value = 0;
};

// The groups that hold numbers of the kinds a spline or hatch uses.
bool IsNumberCode(int code);

// The spline the groups give: by its control points when they make one, else the curve through its fit
// points, else its points joined by lines; false when there is nothing to draw.
bool SplineFromGroups(const std::vector<GroupValue>& groups, Entity& spline);

// The outlines of a hatch's boundary paths (lines, arcs, ellipses, splines, polylines); a path that does not
// read as one ends the hatch, keeping the paths before it.
std::vector<Entity> HatchBoundaries(const std::vector<GroupValue>& groups);

}  // namespace dxf
