#include "toolkit/taskpanel/tp_drag.h"

#include <cstdlib>

namespace taskpanel {

unsigned SourceEffects(int dragFlags) {
  unsigned effects = kEffectNone;
  if (dragFlags & kDragMoveAny) effects |= kEffectMove;
  if (dragFlags & kDragCopyAny) effects |= kEffectCopy;
  return effects;
}

DropRights AllowedDrop(bool fromThisPanel, int dragFlags, bool otherGroup) {
  DropRights rights;
  if (!fromThisPanel) return rights;
  rights.move = (dragFlags & (kDragMoveInGroup | kDragMoveInPanel)) != 0;
  rights.copy = (dragFlags & (kDragCopyInGroup | kDragCopyInPanel)) != 0;
  if (otherGroup) {
    // Leaving the group needs the panel-wide right; the in-group one alone does not reach there.
    rights.move = rights.move && (dragFlags & kDragMoveInPanel) != 0;
    rights.copy = rights.copy && (dragFlags & kDragCopyInPanel) != 0;
  }
  return rights;
}

unsigned DropEffectFor(bool hasTarget, DropRights rights, bool control) {
  if (!hasTarget || !rights.Any()) return kEffectNone;
  if (!rights.copy) return kEffectMove;
  if (control) return kEffectCopy;
  return rights.move ? kEffectMove : kEffectCopy;
}

int DropIndex(int targetIndex, bool dropAfter) { return dropAfter ? targetIndex + 1 : targetIndex; }

bool IsDragDistance(int dx, int dy) { return std::abs(dx) + std::abs(dy) > 4; }

}  // namespace taskpanel
