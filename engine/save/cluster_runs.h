// A set of clusters kept as sorted runs [first, end), gathered once and then asked about.
#pragma once

#include <algorithm>
#include <cstdint>
#include <iterator>
#include <utility>
#include <vector>

namespace save {

class ClusterRuns {
 public:
  void Clear() { runs_.clear(); }
  bool Empty() const { return runs_.empty(); }
  // Adds [first, end); Seal must follow the last Add before any question.
  void Add(uint64_t first, uint64_t end) {
    if (first < end) runs_.emplace_back(first, end);
  }
  // Sorts the runs and joins those that touch or overlap.
  void Seal() {
    std::sort(runs_.begin(), runs_.end());
    size_t kept = 0;
    for (const auto& run : runs_) {
      if (kept != 0 && run.first <= runs_[kept - 1].second) {
        runs_[kept - 1].second = std::max(runs_[kept - 1].second, run.second);
      } else {
        runs_[kept++] = run;
      }
    }
    runs_.resize(kept);
  }
  // Whether a run holds any of the count clusters from first.
  bool Meets(uint64_t first, uint64_t count) const {
    if (count == 0) return false;
    auto after = std::upper_bound(runs_.begin(), runs_.end(), first,
                                  [](uint64_t c, const std::pair<uint64_t, uint64_t>& run) { return c < run.first; });
    if (after != runs_.begin() && first < std::prev(after)->second) return true;
    return after != runs_.end() && after->first - first < count;
  }

 private:
  std::vector<std::pair<uint64_t, uint64_t>> runs_;
};

}  // namespace save
