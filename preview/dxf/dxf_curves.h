// The points of the entities that are drawn as lines (lines, polylines with their arcs, circles, arcs,
// ellipses, splines, the edges of solids), flattened finely enough at a scale of so many pixels per drawing
// unit that no chord strays visibly from its curve; and the splines a file gives only by the points they
// pass through.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "preview/dxf/dxf_reader.h"

namespace dxf {

// The smallest box in drawing units that holds the whole entity, worked out without flattening it: exact
// for lines, polylines with their arcs, circles, arcs, ellipses, solids, points and polynomial splines of
// degree 3 at most (span by span, where each turns back); a rational one of those within a 4^-8 part of a
// span's size; a spline of a higher degree by its control points (its weights are positive, so it lies
// within them); a text by its point, its height and a width of six tenths of the height per character
// along its direction. Empty for an entity without points.
Extents EntityBox(const Entity& e);

// The outline in drawing units, from its first point to its last (a closed one ends where it began); empty
// for points and text. With a limit it stops soon after holding that many points (its first part).
std::vector<Point> Outline(const Entity& e, double pixelsPerUnit, size_t limit = SIZE_MAX);

// The arc of a polyline segment from one vertex to the next, without its first point.
void AppendBulge(std::vector<Point>& out, Point from, Point to, double bulge, double pixelsPerUnit);

// The arc of a polyline segment: centre, radius, the angle of its first point and its signed sweep (radians,
// positive counter-clockwise); false for a straight segment.
bool BulgeArc(Point from, Point to, double bulge, Point& centre, double& radius, double& start, double& sweep);

// A polyline as its straight segments (lines) and its arcs, one entity each.
std::vector<Entity> ExplodeBulges(const Entity& polyline);

// A spline's definition can be used as it stands: a degree it has enough points for, its knots in order and
// as many as the points and degree need, a span to walk, positive weights.
bool IsUsableSpline(const Entity& spline);

// Clamped knots spaced evenly for the spline's points and degree (a file's own knots could not be used).
std::vector<double> UniformKnots(size_t points, int degree);

// Turns a spline given by fit points into the cubic given by control points that passes through all of
// them, as drawing programs make it; false when the points cannot make one. The degree the file gives is
// not used.
bool InterpolateFitPoints(const std::vector<Point>& fit, int degree, Entity& spline);

}  // namespace dxf
