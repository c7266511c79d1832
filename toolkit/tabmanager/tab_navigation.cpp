#include "toolkit/tabmanager/tab_navigation.h"

#include <algorithm>

namespace tktab {

int FindNextItem(const std::vector<bool>& reachable, int start, int step) {
  const int count = static_cast<int>(reachable.size());
  if (step == 0) return -1;
  for (int i = start + step; i >= 0 && i < count; i += step) {
    if (reachable[static_cast<size_t>(i)]) return i;
  }
  return -1;
}

KeyMove KeyTarget(unsigned key, int position, bool rightToLeft, const std::vector<bool>& reachable, int selected) {
  KeyMove move;
  const int count = static_cast<int>(reachable.size());
  if (count == 0) return move;
  if (rightToLeft && (key == kKeyLeft || key == kKeyRight)) key = key == kKeyLeft ? kKeyRight : kKeyLeft;
  const bool horizontal = position == 0 || position == 2;
  switch (key) {
    case kKeyEnd: move.target = FindNextItem(reachable, count, -1); break;
    case kKeyHome: move.target = FindNextItem(reachable, -1, +1); break;
    case kKeyLeft:
    case kKeyUp:
      if ((key == kKeyLeft) == horizontal && selected >= 1) move.target = FindNextItem(reachable, selected, -1);
      break;
    case kKeyRight:
    case kKeyDown:
      if ((key == kKeyRight) == horizontal && selected >= 0 && selected < count - 1) {
        move.target = FindNextItem(reachable, selected, +1);
      }
      break;
    default: return move;
  }
  move.handled = true;
  return move;
}

int SelectionAfterRemoval(int removedIndex, int countAfter) {
  if (countAfter <= 0) return -1;
  return std::clamp(removedIndex, 0, countAfter - 1);
}

int HitTestTabs(const std::vector<HitTab>& tabs, const CRect& control, const CRect& header, CPoint point) {
  if (!control.PtInRect(point)) return -1;
  if (!header.IsRectEmpty() && !header.PtInRect(point)) return -1;
  for (size_t i = 0; i < tabs.size(); ++i) {
    if (tabs[i].reachable && tabs[i].rect.PtInRect(point)) return static_cast<int>(i);
  }
  return -1;
}

int ReorderTarget(const std::vector<CRect>& startRects, int current, CPoint point) {
  for (size_t i = 0; i < startRects.size(); ++i) {
    if (static_cast<int>(i) != current && startRects[i].PtInRect(point)) return static_cast<int>(i);
  }
  return -1;
}

void ReorderPlaces::Track(const std::vector<const void*>& tabs, const std::vector<CRect>& rects) {
  std::vector<const void*> sorted = tabs;
  std::sort(sorted.begin(), sorted.end());
  if (m_tracked && sorted == m_tabs) return;
  m_tracked = true;
  m_tabs = std::move(sorted);
  m_rects = rects;
  m_rects.resize(tabs.size());
}

int ReorderPlaces::Target(int current, CPoint point) const {
  const int target = ReorderTarget(m_rects, current, point);
  return target < static_cast<int>(m_tabs.size()) ? target : -1;
}

bool ReorderPlaces::Holds(CPoint point) const {
  return std::any_of(m_rects.begin(), m_rects.end(), [point](const CRect& rc) { return rc.PtInRect(point) != FALSE; });
}

bool RepeatPace::Due(uint32_t now) {
  if (now - last_ <= kInterval) return false;
  last_ = now;
  return true;
}

uint32_t RepeatPace::WaitTime(uint32_t now) const {
  const uint32_t passed = now - last_;
  return passed > kInterval ? 0 : kInterval + 1 - passed;
}

}  // namespace tktab
