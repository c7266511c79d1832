// The clusters of a folder of CurrentFileSystem, in chain order, through the first allocation table.
#pragma once

#include <cstddef>
#include <cstdint>
#include <unordered_set>
#include <vector>

// A live folder's chain is followed to its end: ReadLostClusterChain lists at most kLostChainClusters at a
// time, so the walk goes on from the last one it listed, ends where the chain comes round, and takes no more
// clusters than the table numbers. A deleted folder's chain was freed, so what the table still links from
// its first cluster is taken as it is (one listing).
class FatFolderChain {
 public:
  FatFolderChain(uint32_t firstCluster, bool wholeChain);

  // The next cluster; false at the end of the chain.
  bool Next(uint32_t* cluster);

 private:
  // Takes the clusters listed from `from` on; a continuation lists `from` again first.
  void Refill(uint32_t from, bool continuation);

  bool whole_;
  uint64_t most_;
  bool more_ = false;
  std::vector<uint32_t> batch_;
  size_t next_ = 0;
  std::unordered_set<uint32_t> seen_;
};
