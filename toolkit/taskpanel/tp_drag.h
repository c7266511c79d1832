// The rules of dragging the task panel's items: which effects a drag offers, which a place accepts, the
// effect a drop takes, where a dropped item goes and when a press becomes a drag. Portable.
#pragma once

namespace taskpanel {

// Drag flags of panel, group and item.
enum DragFlags : int {
  kDragCopyInGroup = 0x02,
  kDragCopyInPanel = 0x04,
  kDragCopyOutside = 0x08,
  kDragMoveInGroup = 0x20,
  kDragMoveInPanel = 0x40,
  kDragMoveOutside = 0x80,
};
constexpr int kDragCopyAny = kDragCopyInGroup | kDragCopyInPanel | kDragCopyOutside;
constexpr int kDragMoveAny = kDragMoveInGroup | kDragMoveInPanel | kDragMoveOutside;

// Drop effects, as OLE numbers them.
enum DropEffect : unsigned { kEffectNone = 0, kEffectCopy = 1, kEffectMove = 2 };

// What a drag offers: move when any move flag is set, copy when any copy flag is.
unsigned SourceEffects(int dragFlags);

struct DropRights {
  bool copy = true;
  bool move = true;
  bool Any() const { return copy || move; }
};

// What a place accepts of a drag. A drag from another program brings no flags of ours and may do both;
// one from this panel needs the flags for its group, and, over another group, the panel-wide ones.
DropRights AllowedDrop(bool fromThisPanel, int dragFlags, bool otherGroup);

// The effect over a target: none without one; a copy with Ctrl when copying is allowed; else a move when
// allowed, else a copy.
unsigned DropEffectFor(bool hasTarget, DropRights rights, bool control);

// Where an item dropped on an item goes in the target's collection: before the target, or after it with
// the drop-after look. A moved original leaves only once the copy is in, so no index shifts before that.
int DropIndex(int targetIndex, bool dropAfter);

// A press turns into a drag once the mouse has moved more than four pixels (|dx| + |dy|).
bool IsDragDistance(int dx, int dy);

}  // namespace taskpanel
