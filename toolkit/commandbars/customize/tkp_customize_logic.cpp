#include "toolkit/commandbars/customize/tkp_customize_logic.h"

#include <cmath>
#include <cstdlib>
#include <string>

namespace tkpcust {
namespace {

constexpr int kMarker = 6;

int Centre(const CRect& rc, bool vertical) { return vertical ? (rc.top + rc.bottom) / 2 : (rc.left + rc.right) / 2; }

// The control starts a new row (a new column on a vertical bar) after the previous one.
bool StartsNewLine(const CRect& rc, const CRect& prev, bool vertical) {
  return vertical ? rc.left >= prev.right : rc.top >= prev.bottom;
}

// The control lies wholly past the point in the wrapping direction.
bool LiesBeyond(const CRect& rc, CPoint pt, bool vertical) { return vertical ? rc.left > pt.x : rc.top > pt.y; }

CRect MarkerFor(const std::vector<DropItem>& items, int index, bool before, bool vertical) {
  const CRect& rc = items[index].rect;
  int edge = vertical ? (before ? rc.top : rc.bottom - kMarker) : (before ? rc.left : rc.right - kMarker);
  if (!before && index + 1 < static_cast<int>(items.size())) {
    const DropItem& next = items[index + 1];
    if (next.visible && !next.beginGroup && !next.wrap) edge = vertical ? next.rect.top : next.rect.left;
  }
  return vertical ? CRect(rc.left, edge, rc.right, edge + kMarker) : CRect(edge, rc.top, edge + kMarker, rc.bottom);
}

}  // namespace

DropPlace FindDropPlace(const std::vector<DropItem>& items, CPoint point, bool vertical, const CRect& client,
                        int dragged) {
  DropPlace place;
  int best = -1;
  int bestDistance = 0;
  const DropItem* prev = nullptr;
  for (int i = 0; i < static_cast<int>(items.size()); ++i) {
    const DropItem& item = items[i];
    if (!item.visible || item.fixed) continue;
    if (prev != nullptr && StartsNewLine(item.rect, prev->rect, vertical)) {
      if (LiesBeyond(item.rect, point, vertical)) break;
      best = -1;  // the point is on this line or further: the earlier lines lose
    }
    const int distance = std::abs(Centre(item.rect, vertical) - (vertical ? point.y : point.x));
    if (best < 0 || distance < bestDistance) {
      best = i;
      bestDistance = distance;
    }
    prev = &item;
  }
  if (best < 0) {
    place.marker = CRect(client.left + 2, client.top + 2, client.left + 8, client.bottom - 2);
    return place;
  }
  place.index = best;
  place.before = (vertical ? point.y : point.x) < Centre(items[best].rect, vertical);
  place.onDragged = best == dragged;
  if (!place.onDragged) place.marker = MarkerFor(items, best, place.before, vertical);
  return place;
}

Insertion InsertionFor(const std::vector<DropItem>& items, const DropPlace& place, bool draggedBeginGroup) {
  Insertion ins;
  if (place.index < 0) return ins;
  ins.index = place.index + (place.before ? 0 : 1);
  ins.beginGroup = draggedBeginGroup;
  if (place.before && items[place.index].beginGroup) {
    ins.clearGroupOfNext = true;
    ins.beginGroup = true;
  }
  return ins;
}

bool GroupAfterDropOntoSelf(CSize moved, bool after, bool first, bool current) {
  if (std::abs(moved.cx) < 5 && std::abs(moved.cy) < 5) return current;
  return after && !first;
}

unsigned DragCursor(bool hasTarget, bool moving, bool copyOnly) {
  if (!hasTarget) return kCursorNone;
  return moving && !copyOnly ? kCursorMove : kCursorCopy;
}

int DropResult(bool hasTarget, bool movedPointer, bool moving) {
  if (!movedPointer) return kDragCancel;
  if (!hasTarget) return kDragNone;
  return moving ? kDragMove : kDragCopy;
}

bool RemovesOriginal(int result, bool moving, bool fromBar, bool copyOnly) {
  if (!fromBar || copyOnly) return false;
  return result == kDragMove || (result == kDragNone && moving);
}

std::u16string NewToolbarName(const std::u16string& format, const std::vector<std::u16string>& titles) {
  const size_t at = format.find(u"%d");
  for (unsigned n = 1;; ++n) {
    std::u16string name = format;
    if (at != std::u16string::npos) {
      const std::string digits = std::to_string(n);
      name.replace(at, 2, std::u16string(digits.begin(), digits.end()));
    }
    bool taken = false;
    for (const auto& title : titles) taken = taken || title == name;
    if (!taken || at == std::u16string::npos) return name;
  }
}

unsigned NewToolbarId(const std::vector<unsigned>& usedIds) {
  for (unsigned id = kFirstCustomToolbarId; id < kLastCustomToolbarId; ++id) {
    bool used = false;
    for (unsigned u : usedIds) used = used || u == id;
    if (!used) return id;
  }
  return 0;
}

NameCheck CheckToolbarName(const std::u16string& name, const std::vector<std::u16string>& otherTitles) {
  if (name.empty()) return kNameBlank;
  for (const auto& title : otherTitles) {
    if (title == name) return kNameTaken;
  }
  return kNameOk;
}

int PickerWidth(int imageCount) {
  if (imageCount <= 0) return 6;
  return 23 * static_cast<int>(std::floor(std::sqrt(static_cast<double>(imageCount)))) + 6;
}

bool KeyboardListsCommand(int id, int type) {
  if (id == 0 || (type >= 2 && type <= 4)) return false;
  return id < 0xE110 || id > 0xE11F;
}

std::u16string CaptionWithoutAmpersands(const std::u16string& caption) {
  std::u16string out;
  for (char16_t c : caption) {
    if (c != u'&') out.push_back(c);
  }
  return out;
}

ToolbarButtons ToolbarButtonsFor(bool hasSelection, bool builtIn) {
  ToolbarButtons b;
  if (!hasSelection) return b;
  b.reset = builtIn;
  b.rename = b.remove = !builtIn;
  return b;
}

}  // namespace tkpcust
