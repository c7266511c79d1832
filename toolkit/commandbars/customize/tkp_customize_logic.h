// What customizing decides without a window: where a dragged control lands on a bar and the marker that
// shows it, what a finished drag means for the control it started from, the cursor of each drag state,
// and the names and ids of new toolbars. Portable.
#pragma once

#include <string>
#include <vector>

#include "platform/classlib/crect.h"

namespace tkpcust {

// Results of a customize drag: nothing, copied, moved, cancelled (or dropped back where it was).
enum DragResult { kDragNone = 0, kDragCopy = 1, kDragMove = 2, kDragCancel = 5 };

// The cursor resources of the drag: copy, move, no target.
constexpr unsigned kCursorCopy = 9301;
constexpr unsigned kCursorMove = 9302;
constexpr unsigned kCursorNone = 9303;

// One control of a bar as the drop search sees it (client coordinates).
struct DropItem {
  CRect rect;
  bool visible = true;
  bool fixed = false;  // may not be moved or dropped beside
  bool beginGroup = false;
  bool wrap = false;
};

struct DropPlace {
  int index = -1;       // the control the drop goes beside; -1 on an empty bar
  bool before = true;   // before it, else after it
  CRect marker;         // where the insertion mark is drawn; empty over the dragged control itself
  bool onDragged = false;
};

// Where a control dragged to the point lands. vertical: a bar whose controls run downwards. dragged: the
// index of the dragged control on this bar, -1 when it comes from elsewhere.
DropPlace FindDropPlace(const std::vector<DropItem>& items, CPoint point, bool vertical, const CRect& client,
                        int dragged);

// Where the new control goes in the bar's list and whether it begins a group (it takes the group of the
// control it is dropped before, which then loses it).
struct Insertion {
  int index = 0;
  bool beginGroup = false;
  bool clearGroupOfNext = false;
};
Insertion InsertionFor(const std::vector<DropItem>& items, const DropPlace& place, bool draggedBeginGroup);

// A control dropped back onto itself: its new begin-group flag (unchanged after a move of under 5 pixels
// both ways; else it begins a group when dropped after itself and is not the bar's first control).
bool GroupAfterDropOntoSelf(CSize moved, bool after, bool first, bool current);

// The cursor while dragging.
unsigned DragCursor(bool hasTarget, bool moving, bool copyOnly);
// The result of a drop: the target's kind of drop, else nothing; a drop before any move cancels.
int DropResult(bool hasTarget, bool movedPointer, bool moving);
// After the drag: the control's place on its bar goes (it moved elsewhere, or was dragged off every bar).
bool RemovesOriginal(int result, bool moving, bool fromBar, bool copyOnly);

// "Custom %d" with the smallest n from 1 that no toolbar has as its title; format holds one %d.
std::u16string NewToolbarName(const std::u16string& format, const std::vector<std::u16string>& titles);
// The first id from 0xE800 that no toolbar uses; 0 when the range up to 0xE8FF is full.
unsigned NewToolbarId(const std::vector<unsigned>& usedIds);
constexpr unsigned kFirstCustomToolbarId = 0xE800;
constexpr unsigned kLastCustomToolbarId = 0xE8FF;
enum NameCheck { kNameOk, kNameBlank, kNameTaken };
NameCheck CheckToolbarName(const std::u16string& name, const std::vector<std::u16string>& otherTitles);

// Width of the image picker popup: a square grid of 23-pixel cells.
int PickerWidth(int imageCount);
// The keyboard page lists a command: a real id, not a popup, not a recent-file entry.
bool KeyboardListsCommand(int id, int type);
// The caption without its '&' characters.
std::u16string CaptionWithoutAmpersands(const std::u16string& caption);


// The toolbars page's buttons for the selected line.
struct ToolbarButtons {
  bool reset = false, rename = false, remove = false;
};
ToolbarButtons ToolbarButtonsFor(bool hasSelection, bool builtIn);

}  // namespace tkpcust
