#include "preview/html/html_hit_index.h"

#include <algorithm>
#include <climits>

namespace htmlview {

void HtmlHitIndex::Collect(const HtmlElementList& list, int depth, uint32_t& order) {
  if (depth >= kMaxElementDepth) return;
  for (const auto& e : list) {
    if (!e) continue;
    if (e->kind == kContainer) Collect(e->children, depth + 1, order);
    if (e->linkIndex < 0 || e->width <= 0 || e->height <= 0) continue;
    boxes_.push_back({e->y, static_cast<long long>(e->y) + e->height, e->x, static_cast<long long>(e->x) + e->width,
                      order++, e->linkIndex});
  }
}

void HtmlHitIndex::Build(const HtmlElementList& list) {
  Clear();
  uint32_t order = 0;
  Collect(list, 0, order);
  std::sort(boxes_.begin(), boxes_.end(), [](const Box& a, const Box& b) { return a.top < b.top; });
  leaves_ = 1;
  while (leaves_ < boxes_.size()) leaves_ *= 2;
  tree_.assign(2 * leaves_, LLONG_MIN);
  for (size_t i = 0; i < boxes_.size(); ++i) tree_[leaves_ + i] = boxes_[i].bottom;
  for (size_t i = leaves_ - 1; i > 0; --i) tree_[i] = std::max(tree_[2 * i], tree_[2 * i + 1]);
  // A box's bottom and right may pass INT_MAX by its size; the bounds stop there.
  const auto edge = [](long long v) { return static_cast<int>(std::min<long long>(v, INT_MAX)); };
  for (const Box& b : boxes_) {
    const size_t link = static_cast<size_t>(b.link);
    if (link >= bounds_.size()) bounds_.resize(link + 1, HtmlRect{INT_MAX, INT_MAX, INT_MIN, INT_MIN});
    HtmlRect& r = bounds_[link];
    r.left = std::min(r.left, edge(b.left));
    r.top = std::min(r.top, edge(b.top));
    r.right = std::max(r.right, edge(b.right));
    r.bottom = std::max(r.bottom, edge(b.bottom));
  }
  for (HtmlRect& r : bounds_)
    if (r.left > r.right) r = HtmlRect{};
}

HtmlRect HtmlHitIndex::LinkBounds(int link) const {
  return link >= 0 && static_cast<size_t>(link) < bounds_.size() ? bounds_[static_cast<size_t>(link)] : HtmlRect{};
}

int HtmlHitIndex::Hit(int x, int y) {
  examined = 0;
  // The boxes that start at or above y; of them, only the subtrees that reach below y are entered.
  const size_t above = static_cast<size_t>(
      std::upper_bound(boxes_.begin(), boxes_.end(), y, [](int v, const Box& b) { return v < b.top; }) -
      boxes_.begin());
  if (above == 0) return -1;
  const Box* best = nullptr;
  struct Range {
    size_t node, begin, end;
  };
  std::vector<Range> pending{{1, 0, leaves_}};
  while (!pending.empty()) {
    const Range r = pending.back();
    pending.pop_back();
    if (r.begin >= above || tree_[r.node] <= y) continue;
    ++examined;
    if (r.end - r.begin == 1) {
      const Box& b = boxes_[r.begin];
      if (x >= b.left && x < b.right && (!best || b.order < best->order)) best = &b;
      continue;
    }
    const size_t middle = (r.begin + r.end) / 2;
    pending.push_back({2 * r.node + 1, middle, r.end});
    pending.push_back({2 * r.node, r.begin, middle});
  }
  return best ? best->link : -1;
}

}  // namespace htmlview
