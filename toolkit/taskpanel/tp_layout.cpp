#include "toolkit/taskpanel/tp_layout.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>

namespace taskpanel {

namespace {

// Room below an item's top that no measured item reaches; measurers use the top, left and right only.
constexpr int kOpenHeight = 0x7FFF;

int Side(int own, int theme) { return own != kDefaultSide ? own : theme; }

// The icon grid: every visible item gets one cell, row by row, and is placed in it.
GroupLayoutResult LayoutIconGrid(const GroupLayoutInput& in, const CRect& room, std::vector<LayoutItem>& items,
                                 ItemMeasurer& measurer) {
  const int cellWidth = std::max(1, static_cast<int>(in.iconSize.cx + in.imagePadding.left + in.imagePadding.right));
  const int cellHeight = static_cast<int>(in.iconSize.cy + in.imagePadding.top + in.imagePadding.bottom);
  const int columns = std::max(1, room.Width() / cellWidth);
  int column = 0;
  int y = room.top;
  int bottom = room.top;
  for (size_t i = 0; i < items.size(); ++i) {
    LayoutItem& item = items[i];
    if (!item.visible) continue;
    const int x = room.left + column * cellWidth;
    item.rect = CRect(x, y, x + cellWidth, y + cellHeight);
    measurer.PlaceItem(static_cast<int>(i), item.rect);  // the item is its cell
    bottom = y + cellHeight;
    if (++column == columns) {
      column = 0;
      y += cellHeight;
    }
  }
  return {bottom + in.innerMargins.bottom, columns};
}

// Columns of a fixed width; a row is as high as its tallest item with its bottom margin.
GroupLayoutResult LayoutColumns(const GroupLayoutInput& in, const CRect& room, std::vector<LayoutItem>& items,
                                ItemMeasurer& measurer) {
  const int columnWidth = std::max(1, in.columnWidth);
  const int columns = std::max(1, room.Width() / columnWidth);
  int column = 0;
  int y = room.top;
  int rowHeight = 0;
  int bottom = room.top;
  for (size_t i = 0; i < items.size(); ++i) {
    LayoutItem& item = items[i];
    if (!item.visible) continue;
    const int x = room.left + column * columnWidth;
    item.rect = measurer.PlaceItem(static_cast<int>(i), CRect(x, y, x + columnWidth, y + kOpenHeight));
    rowHeight = std::max(rowHeight, item.rect.Height() + item.bottomMargin);
    bottom = std::max(bottom, static_cast<int>(item.rect.bottom));
    if (++column == columns) {
      column = 0;
      y += rowHeight;
      rowHeight = 0;
    }
  }
  return {bottom + in.innerMargins.bottom, columns};
}

// One item under the other, each the full width.
GroupLayoutResult LayoutList(const GroupLayoutInput& in, const CRect& room, std::vector<LayoutItem>& items,
                             ItemMeasurer& measurer) {
  int y = room.top;
  int bottom = room.top;
  for (size_t i = 0; i < items.size(); ++i) {
    LayoutItem& item = items[i];
    if (!item.visible) continue;
    item.rect = measurer.PlaceItem(static_cast<int>(i), CRect(room.left, y, room.right, y + kOpenHeight));
    bottom = static_cast<int>(item.rect.bottom);
    y = bottom + item.bottomMargin;
  }
  return {bottom + in.innerMargins.bottom, 1};
}

int MoveToward(int current, int target, int step) {
  if (step <= 0) return target;
  const int distance = target - current;
  if (distance == 0) return current;
  const int move = std::max(1, std::abs(distance) / step);
  return distance > 0 ? current + std::min(move, distance) : current - std::min(move, -distance);
}

}  // namespace

CRect ResolveMargins(const CRect& own, const CRect& theme) {
  return CRect(Side(own.left, theme.left), Side(own.top, theme.top), Side(own.right, theme.right),
               Side(own.bottom, theme.bottom));
}

GroupLayoutResult LayoutGroupItems(const GroupLayoutInput& in, std::vector<LayoutItem>& items, ItemMeasurer& measurer) {
  // Body coordinates: the outer margins move the group's sides; the inner ones frame the items.
  CRect room(in.left + in.outerMargins.left, 0, in.right - in.outerMargins.right, 0);
  room.DeflateRect(in.innerMargins.left, in.innerMargins.top, in.innerMargins.right, 0);
  room.bottom = room.top;
  for (LayoutItem& item : items) item.rect = CRect();
  if (in.layout == kLayoutImage) return LayoutIconGrid(in, room, items, measurer);
  if (in.multiColumn) return LayoutColumns(in, room, items, measurer);
  return LayoutList(in, room, items, measurer);
}

void PlaceGroup(GroupGeometry& g, int y, int left, int right, bool keepMoving) {
  CRect target(left, y, right, y);
  target.left += g.outerMargins.left;
  target.right -= g.outerMargins.right;
  target.top += g.outerMargins.top;
  target.bottom = target.top + g.captionHeight + (g.expanded ? g.bodyHeight : 0);
  g.target = target;
  // A group placed for the first time appears where it belongs.
  if (!keepMoving || g.current.IsRectNull()) {
    g.current = target;
  } else {
    g.current.left = target.left;
    g.current.right = target.right;
  }
}

int StackGroups(std::vector<GroupGeometry*>& groups, const StackInput& in) {
  const int left = in.client.left + in.panelMargins.left;
  const int right = in.client.right - in.panelMargins.right;
  int y = in.client.top + in.panelMargins.top;
  bool first = true;
  for (GroupGeometry* g : groups) {
    if (!g->visible) {
      g->current = g->target;
      continue;
    }
    if (!first) y += in.groupSpacing;
    first = false;
    PlaceGroup(*g, y, left, right, in.animate);
    y = g->target.bottom + g->outerMargins.bottom;
  }
  return y + in.panelMargins.bottom;
}

int FillBodyHeight(const std::vector<GroupGeometry*>& groups, const GroupGeometry* self, const StackInput& in,
                   int minimum) {
  int height = in.client.Height() - in.panelMargins.top - in.panelMargins.bottom;
  int visible = 0;
  for (const GroupGeometry* g : groups) {
    if (!g->visible) continue;
    ++visible;
    height -= g->captionHeight + g->outerMargins.top + g->outerMargins.bottom;
    if (g != self && g->expanded) height -= g->bodyHeight;
  }
  if (visible > 1) height -= in.groupSpacing * (visible - 1);
  return std::max(height, minimum);
}

void ShareSpareHeight(std::vector<LayoutItem>& items, int spare) {
  if (spare <= 0) return;
  // Weights are stored item heights, each up to the largest int: their sum and each weight times the
  // spare height are worked out in 64 bits, and every share stays within the spare height.
  int64_t weight = 0;
  for (const LayoutItem& item : items) {
    if (item.visible && item.spareWeight > 0) weight += item.spareWeight;
  }
  if (weight == 0) return;
  int rest = spare;
  int pushed = 0;
  for (LayoutItem& item : items) {
    if (!item.visible) continue;
    item.rect.OffsetRect(0, pushed);
    if (item.spareWeight <= 0) continue;
    const int share = item.spareWeight == weight ? rest : static_cast<int>(item.spareWeight * int64_t{rest} / weight);
    item.rect.bottom += share;
    pushed += share;
    rest -= share;
    weight -= item.spareWeight;
  }
}

int SnapFirstVisible(int index, int itemsPerRow, int count) {
  if (count <= 0) return 0;
  const int perRow = std::max(1, itemsPerRow);
  index = std::clamp(index, 0, count - 1);
  return index - index % perRow;
}

bool StepTowardTarget(GroupGeometry& g, int step) {
  const CRect before = g.current;
  g.current.top = MoveToward(g.current.top, g.target.top, step);
  g.current.bottom = MoveToward(g.current.bottom, g.target.bottom, step);
  g.current.left = g.target.left;
  g.current.right = g.target.right;
  return !(g.current == before);
}

bool IsSettled(const GroupGeometry& g) { return g.current == g.target && !g.expanding; }

int ScrollLimit(int contentHeight, int clientHeight) { return std::max(0, contentHeight - clientHeight); }

int ClampScroll(int position, int limit) { return std::clamp(position, 0, std::max(0, limit)); }

int ScrollToShow(int position, int top, int bottom, int clientHeight) {
  if (bottom > position + clientHeight) return std::min(top, bottom - clientHeight);
  if (top < position) return top;
  return position;
}

}  // namespace taskpanel
