// The geometry of framed rectangles and styled lines: which polylines are drawn, with which of the two
// colours, and which pen style.
#pragma once

#include <vector>

#include "ui/draw/draw_types.h"

namespace draw {

struct DrawPoint {
  int x = 0;
  int y = 0;
  bool operator==(const DrawPoint& p) const { return x == p.x && y == p.y; }
};

struct StyledPath {
  // 0: the first (left/top) colour, 1: the second (right/bottom) colour.
  int colourIndex = 0;
  std::vector<DrawPoint> points;
  bool operator==(const StyledPath& p) const { return colourIndex == p.colourIndex && points == p.points; }
};

enum PenKind { kPenSolid, kPenDash, kPenDot, kPenDashDot, kPenDashDotDot };
// Styles 2 to 5 are the dashed pens; every other value a solid pen.
PenKind PenKindOf(int style);

// Nothing for style 0 or width below 1. With h = width / 2 the frame runs along
// (left + h, top + h, right − h, bottom − h): the left and top edges in colour 0, the right and bottom ones
// in colour 1; style 6 adds an inner frame 2 × width further in.
std::vector<StyledPath> FramePaths(const DrawRect& rect, int style, int width);
// One line; style 6 adds a second moved by 2 × width down (when x1 ≠ x2) and right (when y1 ≠ y2).
std::vector<StyledPath> StyledLinePaths(int x1, int y1, int x2, int y2, int style, int width);

}  // namespace draw
