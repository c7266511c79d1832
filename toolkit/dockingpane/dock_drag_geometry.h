// The geometry of dragging a pane: where the floating rectangle goes, which side of a container a point
// docks to, where the docking guides stand and which of their parts lies under the cursor. Pure
// arithmetic on screen rectangles; the drag context's windows call it.
#pragma once

#include <functional>
#include <vector>

namespace dock {

struct Box {
  int left = 0, top = 0, right = 0, bottom = 0;
  int Width() const { return right - left; }
  int Height() const { return bottom - top; }
  bool IsEmpty() const { return right <= left || bottom <= top; }
  bool Contains(int x, int y) const { return x >= left && x < right && y >= top && y < bottom; }
  bool operator==(const Box& o) const {
    return left == o.left && top == o.top && right == o.right && bottom == o.bottom;
  }
};

// Moves the rectangle by the least offset that puts the point inside it.
Box OffsetToContain(Box rc, int x, int y);

// The side of rc (0 left, 1 right, 2 top, 3 bottom) a point docks to, or -1. Inside: the point must lie
// in rc and the nearest edge within 20 pixels wins (any distance when the dragged panes may not float;
// the left and right distances then scaled by rc's aspect). Outside: the point must lie within 20 pixels
// around rc, outside its edge.
int NearestDockSide(const Box& rc, int x, int y, bool inside, bool floatable);

// Parts of a docking guide (bits of its code): arrows, the centre (attach) button, and the mark of the
// cross-shaped guide over a container.
enum GuidePart : int { kGuideLeft = 1, kGuideRight = 2, kGuideTop = 4, kGuideBottom = 8, kGuideCentre = 16,
                       kGuideCross = 32 };

struct GuideSize {
  int cx = 0, cy = 0;
};
GuideSize GetGuideSize(int code, int style);

// The cross-shaped guide centred on the container's rectangle.
Box CentreGuideRect(const Box& container, int style);
// The single-arrow guides 16 pixels inside the frame's edges, one per side in `sides` (bits as above),
// in the order top, left, bottom, right.
struct PlacedGuide {
  int code = 0;
  Box rect;
};
std::vector<PlacedGuide> OuterGuides(const Box& frame, int style, int sides);

// Where a piece of guide artwork comes from (its rectangle in the bitmap) and where it stands in the
// guide. Bitmap 0 is the arrows' strip, 1 the centre background (style 0 only).
struct Sprite {
  int x = 0, y = 0;
  Box source;
  int bitmap = 0;
};
// An arrow or the centre button, normal or highlighted, of a cross-shaped (single false) or a single
// outer guide.
Sprite GetPartSprite(int style, int part, bool highlighted, bool single);
Sprite GetCentreBackground(int style, bool highlighted);

// The pieces a guide is drawn from, in drawing order (top, left, bottom, right, centre), each with the
// part it stands for (0 for the centre background).
struct GuidePiece {
  int part = 0;
  Sprite sprite;
};
std::vector<GuidePiece> GuidePieces(int code, int style, int highlighted);

// The resource of a guide style's arrow strip: style 1 its round strip; style 0 the strip of the colour
// scheme (2 olive, 3 silver, else blue) for drawing, but always the blue strip for hit-testing.
int GuideStripBitmap(int style, int scheme, bool hitTest);

// Whether the artwork has ink at (x, y) of that bitmap.
using InkTest = std::function<bool(int bitmap, int x, int y)>;

// The part under (x, y) (guide coordinates): the first part, in the order top, left, bottom, right,
// centre, whose artwork has ink there; 0 when none. The centre part is its background's outline.
int HitTestGuide(int code, int style, int x, int y, const InkTest& ink);

// The guide's outline as runs of inked pixels, one pixel high each, for the window's region.
std::vector<Box> GuideOutline(int code, int style, const InkTest& ink);

// The half of rc a guide's arrow docks into.
Box DockHalf(const Box& rc, int part);
// The direction of an arrow part; -1 for any other part.
int PartDirection(int part);

}  // namespace dock
