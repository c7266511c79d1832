// How a splitter container shares its length among its children, where its splitters may be dragged and
// what a dragged splitter does to the two neighbours' preferred sizes. Pure arithmetic on lengths along
// the split direction; every product and sum runs in 64 bits, so saved sizes of any value neither
// overflow nor divide by zero.
#pragma once

#include <cstdint>
#include <vector>

namespace dock {

constexpr int kMaxTrack = 32000;  // the largest track size of a pane

// One visible child along the split direction.
struct SizeItem {
  int preferred = 0;         // its docking width (horizontal) or height (vertical)
  int minimum = 0;           // its minimum track size along the direction
  int maximum = kMaxTrack;   // its maximum track size along the direction
  bool clientHolder = false; // holds the client area: it absorbs the slack
};

// What the sizing rule decides: per child a length (positive: a proportional weight, negative: a fixed
// size of that magnitude), the weights' total and the room they share.
struct SizeResult {
  std::vector<int> lengths;
  int64_t total = 0;
  int64_t available = 0;
  int clientIndex = -1;      // the client holder, or -1
  int clientPreferred = 0;   // the preferred size the client holder is given (the slack, or 0)
};

// The sizing rule over the children of one row or column of `extent` pixels with `splitter`-pixel
// splitters between them.
SizeResult AdjustPanesLength(const std::vector<SizeItem>& items, int extent, int splitter);

// The span [begin, end) of each child along the direction, the children in order from `start`, a splitter
// after each; the last child ends at start + extent.
struct Span {
  int begin = 0;
  int end = 0;
};
std::vector<Span> PlaceLengths(const SizeResult& sizes, int start, int extent, int splitter);

// The range in which a splitter's leading edge may lie, between the first neighbour (spanning from
// unionBegin) and the second (ending at unionEnd).
struct SplitterNeighbours {
  int unionBegin = 0;
  int unionEnd = 0;
  int firstMin = 0, firstMax = kMaxTrack;
  int secondMin = 0, secondMax = kMaxTrack;
};
struct SplitterLimits {
  int nearBound = 0;
  int farBound = 0;
  bool CanMove() const { return nearBound < farBound; }
};
SplitterLimits ComputeSplitterLimits(const SplitterNeighbours& n, int splitter, int gap);

// The preferred sizes of the two neighbours after the splitter was dropped at `position` (its leading
// edge): their sum is kept and split by where the splitter lies in their union. `mirrored`: a
// right-to-left row, where the first neighbour lies on the right. False when the union is empty (nothing
// changes).
bool ApplySplitterPosition(int position, int unionBegin, int unionEnd, int splitter, bool mirrored, int* firstSize,
                           int* secondSize);

}  // namespace dock
