// Paints a drawing read by our reader into a device context, through the view record: black background,
// each entity in its colour, everything cut to the window first.
#pragma once

#include <windows.h>

#include "preview/dxf/dxf_reader.h"
#include "preview/dxf/dxf_view_maths.h"

// What one paint took: the points of its budget, and the fonts it made (one per text size and angle).
struct DxfPaintReport {
  size_t budgetUsed = 0;
  size_t fontsMade = 0;
};

DxfPaintReport PaintDxfDrawing(HDC dc, const dxf::Drawing& drawing, const dxf::ViewProperties& view);
