// The view of a drawing: the record the drawing library and the preview share (72 bytes, its layout fixed),
// and the maths of fitting, zooming about the centre, panning and mapping drawing units to pixels.
// A scale or zoom that is not a positive finite number is refused: every formula here divides by it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "preview/dxf/dxf_reader.h"

namespace dxf {

struct ViewProperties {
  int32_t flag = 0;
  int32_t left = 0, top = 0, right = 0, bottom = 0;  // the window, pixels
  int32_t padding = 0;
  double originX = 0;         // drawing x at the window's left edge
  double originY = 0;         // drawing y at the window's bottom edge
  double reserved1 = 0;
  double reserved2 = 0;
  double pixelsPerUnit = 1;
  double zoom = 1;
};
static_assert(sizeof(ViewProperties) == 72, "the record the library shares");
static_assert(offsetof(ViewProperties, originX) == 24 && offsetof(ViewProperties, zoom) == 64, "its layout");

// A positive finite number: a scale or zoom one can divide by.
bool IsUsableScale(double value);
// Both the record's scale and zoom are usable.
bool IsUsableView(const ViewProperties& view);

// Pixels per drawing unit on the screen (scale times zoom).
inline double ScreenScale(const ViewProperties& view) { return view.pixelsPerUnit * view.zoom; }

// Fits the extents into the window with a margin, centred; zoom 1. An empty drawing shows the unit square.
void ZoomToExtents(ViewProperties& view, const Extents& extents);

// Zooms to an absolute level about the window's centre; false (nothing changed) for an unusable level.
bool ZoomAboutCentre(ViewProperties& view, double zoom);

// Moves the drawing with the pointer: dx, dy pixels to the right and down.
bool Pan(ViewProperties& view, int dx, int dy);

struct PixelPoint {
  double x = 0, y = 0;
};
PixelPoint ToPixels(const ViewProperties& view, Point p);

// Cuts a segment to the rectangle; false when nothing of it lies inside (GDI takes no far coordinates).
bool ClipSegment(PixelPoint& a, PixelPoint& b, double left, double top, double right, double bottom);

// Cuts a polygon to the rectangle (Sutherland-Hodgman); fewer than three points when nothing is inside.
std::vector<PixelPoint> ClipPolygon(const std::vector<PixelPoint>& polygon, double left, double top, double right,
                                    double bottom);

// The segments an arc of this radius in pixels and sweep in radians needs so that none strays more than half
// a pixel from it (curves flattened to the pixel): at least `least`, at most 720.
int ArcSegments(double radiusPixels, double sweep, int least);

// The points of an arc (or a whole circle) in drawing units, flattened to the pixel at the given radius in
// pixels.
std::vector<Point> ArcPoints(Point centre, double radius, double startDegrees, double endDegrees, bool whole,
                             double radiusPixels);

}  // namespace dxf
