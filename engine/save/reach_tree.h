// Runs of clusters sorted by where they begin, asked which of them reach past a cluster: those that lie over it
// (with one beginning before it) are found without looking at the others.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace save {

class ReachTree {
 public:
  // ends: one past the last cluster of each run, in the order of their first clusters.
  void Build(const std::vector<uint64_t>& ends) {
    leaves_ = 1;
    while (leaves_ < ends.size()) leaves_ *= 2;
    furthest_.assign(2 * leaves_, 0);
    std::copy(ends.begin(), ends.end(), furthest_.begin() + static_cast<std::ptrdiff_t>(leaves_));
    for (size_t node = leaves_ - 1; node >= 1; --node) {
      furthest_[node] = std::max(furthest_[2 * node], furthest_[2 * node + 1]);
    }
  }
  // Calls visit(i) for each i below count whose end lies past cluster, until visit returns false.
  template <class Visit>
  void Over(size_t count, uint64_t cluster, Visit visit) const {
    if (!furthest_.empty()) Descend(1, 0, leaves_, count, cluster, visit);
  }

 private:
  template <class Visit>
  bool Descend(size_t node, size_t low, size_t high, size_t count, uint64_t cluster, Visit& visit) const {
    if (low >= count || furthest_[node] <= cluster) return true;
    if (high - low == 1) return visit(low);
    const size_t middle = (low + high) / 2;
    return Descend(2 * node + 1, middle, high, count, cluster, visit) &&
           Descend(2 * node, low, middle, count, cluster, visit);
  }

  size_t leaves_ = 0;
  std::vector<uint64_t> furthest_;
};

}  // namespace save
