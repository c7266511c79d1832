// The task panel's geometry without windows: items laid out inside a group (through a measurer that knows
// fonts and fixed sizes), groups stacked down the panel, the animation of a group toward its target, and
// the scroll arithmetic. The window classes keep one GroupGeometry per group and call these.
#pragma once

#include <vector>

#include "platform/classlib/crect.h"

namespace taskpanel {

// A margin side holding this takes the theme's default for that side.
constexpr int kDefaultSide = static_cast<int>(0x80000000u);
inline CRect DefaultMargins() { return CRect(kDefaultSide, kDefaultSide, kDefaultSide, kDefaultSide); }
// Each side of `own` that is not kDefaultSide wins; the others come from `theme`.
CRect ResolveMargins(const CRect& own, const CRect& theme);

// Item layouts of a group.
enum ItemLayout : int { kLayoutDefault = 0, kLayoutImage = 1, kLayoutImageWithCaption = 2, kLayoutImageAboveCaption = 3 };

// Gives an item its rectangle for the room it is offered (left, top and right of `available` count).
class ItemMeasurer {
 public:
  virtual ~ItemMeasurer() = default;
  virtual CRect PlaceItem(int index, const CRect& available) = 0;
};

struct LayoutItem {
  bool visible = true;
  int bottomMargin = 0;  // the item's resolved outer bottom margin
  int spareWeight = 0;   // an item of automatic height: its share of spare height (0: fixed height)
  CRect rect;            // result, in group-body coordinates (0 = the caption's bottom)
};

struct GroupLayoutInput {
  int left = 0;           // the panel's client width narrowed by its side margins
  int right = 0;
  CRect outerMargins;     // resolved
  CRect innerMargins;     // resolved
  int layout = kLayoutDefault;
  bool multiColumn = false;
  int columnWidth = 100;
  CSize iconSize{16, 16};
  CRect imagePadding;     // the theme's padding round an icon in the icon grid
};

struct GroupLayoutResult {
  int bodyHeight = 0;
  int itemsPerRow = 1;
};

GroupLayoutResult LayoutGroupItems(const GroupLayoutInput& in, std::vector<LayoutItem>& items, ItemMeasurer& measurer);

// Where a group is and where layout wants it.
struct GroupGeometry {
  bool visible = true;
  bool expanded = true;
  bool expanding = false;  // an expand or collapse is under way
  int captionHeight = 0;
  int bodyHeight = 0;
  CRect outerMargins;      // resolved
  CRect target;
  CRect current;
};

// Places the group's target at y over [left, right]; the current rectangle follows at once unless
// `keepMoving` (an animated change), when only its sides follow.
void PlaceGroup(GroupGeometry& g, int y, int left, int right, bool keepMoving);

struct StackInput {
  CRect client;          // the panel's client rectangle
  CRect panelMargins;    // resolved
  int groupSpacing = 0;  // resolved
  bool animate = false;
};
// Stacks the visible groups from the top margin down; invisible ones take their target at once.
// Returns the content height (the bottom margin included).
int StackGroups(std::vector<GroupGeometry*>& groups, const StackInput& in);

// Toolbox and list behaviour: the body height of the open group `self`, what the panel's height leaves
// after every visible caption with its outer margins, the other expanded bodies, the spacing and the
// panel's margins; at least `minimum`.
int FillBodyHeight(const std::vector<GroupGeometry*>& groups, const GroupGeometry* self, const StackInput& in,
                   int minimum);
// Spare height of an open group shared among its visible items of automatic height, each by its weight
// (the last takes what is left); each grows downward and pushes the items after it down.
void ShareSpareHeight(std::vector<LayoutItem>& items, int spare);
// The first item shown in a scrolled group: snapped to the start of its row, kept within 0..count - 1.
int SnapFirstVisible(int index, int itemsPerRow, int count);

// One step of the animation: each edge moves toward the target by max(1, |distance| / step); step 0
// (or below) snaps. TRUE when the rectangle moved.
bool StepTowardTarget(GroupGeometry& g, int step);
bool IsSettled(const GroupGeometry& g);

// Scrolling: the furthest position, a position kept within 0 and it, and the position that brings
// [top, bottom) into a view of the given height.
int ScrollLimit(int contentHeight, int clientHeight);
int ClampScroll(int position, int limit);
int ScrollToShow(int position, int top, int bottom, int clientHeight);

}  // namespace taskpanel
