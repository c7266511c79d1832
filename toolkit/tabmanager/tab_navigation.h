// What the keys, the mouse and a held navigate button do to a tab strip, apart from the windows:
// the next reachable tab, the tab a key moves to, the selection after a removal, the tab under a point,
// the place a dragged tab moves to, and the pace of a held button.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/classlib/crect.h"

namespace tktab {

// Key codes as the window messages carry them.
enum Key : unsigned { kKeyEnd = 0x23, kKeyHome = 0x24, kKeyLeft = 0x25, kKeyUp = 0x26, kKeyRight = 0x27, kKeyDown = 0x28 };

// From `start`, stepping by `step`, the first index whose tab is reachable (visible and enabled); -1
// when the steps leave the strip.
int FindNextItem(const std::vector<bool>& reachable, int start, int step);

struct KeyMove {
  bool handled = false;  // the key is one of the strip's six
  int target = -1;       // the tab to click, -1 none
};
// A key pressed in a strip at `position` (0 top, 1 left, 2 bottom, 3 right); in a right-to-left window
// the left and right arrows swap.
KeyMove KeyTarget(unsigned key, int position, bool rightToLeft, const std::vector<bool>& reachable, int selected);

// The tab that holds the removed tab's place: the same index, the last one when the removed tab was
// last, -1 when none is left.
int SelectionAfterRemoval(int removedIndex, int countAfter);

struct HitTab {
  CRect rect;
  bool reachable = true;
};
// The first reachable tab whose rectangle holds the point; the point must lie in the control and, once
// the strip is laid out, in the header.
int HitTestTabs(const std::vector<HitTab>& tabs, const CRect& control, const CRect& header, CPoint point);

// While a tab is dragged: the index of the first tab place (as they were when the drag began), other than
// the dragged tab's current one, that holds the point; -1 none.
int ReorderTarget(const std::vector<CRect>& startRects, int current, CPoint point);

// The places a dragged tab moves between: the tabs' rectangles as they were when the drag began, so that
// a swap that changes the tabs' lengths does not swap back. When the strip's tabs change under the drag
// (the program closes or opens a document meanwhile), the places are taken again from where the tabs
// stand then: each place stands for a tab that is there.
class ReorderPlaces {
 public:
  // The strip's tabs (anything that tells them apart) and where each stands now.
  void Track(const std::vector<const void*>& tabs, const std::vector<CRect>& rects);
  // As ReorderTarget over the places; always below the count last tracked.
  int Target(int current, CPoint point) const;
  // Whether any place holds the point (the dragged tab's own too).
  bool Holds(CPoint point) const;

 private:
  std::vector<const void*> m_tabs;  // sorted
  std::vector<CRect> m_rects;
  bool m_tracked = false;
};

// The pace of a held navigate button: a step whenever more than the interval has passed since the last.
class RepeatPace {
 public:
  static constexpr uint32_t kInterval = 20;
  explicit RepeatPace(uint32_t now) : last_(now) {}
  // True when a step is due; the interval then counts from now.
  bool Due(uint32_t now);
  // How long to wait for messages before the next step can be due.
  uint32_t WaitTime(uint32_t now) const;

 private:
  uint32_t last_;
};

}  // namespace tktab
