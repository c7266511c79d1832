// Where the tab groups of the MDI tab client stand and how their sizes change: the groups share the
// client along one axis (stacked for horizontal groups, side by side for vertical ones) with a splitter
// between neighbours; a new group halves its source; a splitter drag shares two neighbours' room; and
// which workspace command applies to the active document's tab.
#pragma once

#include <vector>

#include "platform/classlib/crect.h"

namespace tkmdi {

// The workspace commands on the active document's tab.
constexpr unsigned kCmdPrevGroup = 9420;
constexpr unsigned kCmdNextGroup = 9421;
constexpr unsigned kCmdNewHorzGroup = 9422;
constexpr unsigned kCmdNewVertGroup = 9423;

struct WorkspaceState {
  bool grouping = false;
  int activeGroup = -1;  // the group of the active child's tab; -1: no active child or no tab
  int groupCount = 0;
  int tabsInGroup = 0;
  bool horizontal = false;
};

bool IsWorkspaceCommandEnabled(unsigned id, const WorkspaceState& state);

// The extent of a rectangle along the split: its height for stacked groups, its width otherwise.
int ExtentAlong(const CRect& rc, bool horizontal);

// The groups' rectangles: the room left after the splitters is shared in proportion to the sizes (equal
// shares when they add up to nothing); the last group reaches the far edge.
std::vector<CRect> GroupRects(const CRect& client, const std::vector<double>& sizes, int splitterWidth,
                              bool horizontal);
// The splitter after a group: the splitter's width beyond its far edge, across the client.
CRect SplitterAfter(const CRect& group, int splitterWidth, bool horizontal);

// Each group's present extent along the split.
std::vector<double> SizesOf(const std::vector<CRect>& groups, bool horizontal);

// A new group after group `index` takes half of what it has after a splitter's width.
void SplitGroup(std::vector<double>& sizes, int index, int splitterWidth);
// Group `index` leaves; its room and its splitter go to the group before it (after it for the first).
void RemoveGroup(std::vector<double>& sizes, int index, int splitterWidth);

// The splitter after group `index` dragged to `pt`: the two groups share the room between their outer
// edges, the splitter centred on the pointer and kept within that room.
void ShareSplitter(std::vector<double>& sizes, int index, const CRect& first, const CRect& second, CPoint pt,
                   int splitterWidth, bool horizontal);

}  // namespace tkmdi
