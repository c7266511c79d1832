// A bit for each cluster of a volume, with a bit for each 64-bit word of them that holds any, and so on up: the
// first set bit of a range is found in a few steps a level, however long the range.
#pragma once

#include <algorithm>
#include <cstdint>
#include <vector>

class ClusterBitmap {
 public:
  explicit ClusterBitmap(uint64_t count = 0) {
    do {
      count = (count + 63) / 64;
      levels_.emplace_back(count, 0);
    } while (count > 64);
  }

  void Set(uint64_t cluster) {
    for (std::vector<uint64_t>& words : levels_) {
      if (cluster / 64 >= words.size()) return;
      words[cluster / 64] |= uint64_t{1} << (cluster % 64);
      cluster /= 64;
    }
  }

  // The first set cluster in [first, end); end when none is.
  uint64_t Next(uint64_t first, uint64_t end) const { return Next(0, first, end); }

 private:
  uint64_t Next(size_t level, uint64_t first, uint64_t end) const {
    const std::vector<uint64_t>& words = levels_[level];
    const uint64_t last = std::min<uint64_t>(end, uint64_t{words.size()} * 64);
    if (first >= last) return end;
    // The rest of the first word, then the first word from there on that holds a bit, as the level above says.
    const uint64_t rest = words[first / 64] >> (first % 64);
    const uint64_t found =
        rest != 0 ? first + static_cast<uint64_t>(__builtin_ctzll(rest)) : FirstInWord(level, first / 64 + 1, last);
    return found < last ? found : end;
  }

  // The first set bit of the first word from word on (below the one holding last) that holds any; last when none.
  uint64_t FirstInWord(size_t level, uint64_t word, uint64_t last) const {
    const std::vector<uint64_t>& words = levels_[level];
    const uint64_t endWord = (last + 63) / 64;
    if (level + 1 < levels_.size()) {
      word = Next(level + 1, word, endWord);
    } else {
      while (word < endWord && words[word] == 0) ++word;
    }
    return word < endWord ? word * 64 + static_cast<uint64_t>(__builtin_ctzll(words[word])) : last;
  }

  std::vector<std::vector<uint64_t>> levels_;
};
