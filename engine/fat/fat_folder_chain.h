// The clusters of a folder of CurrentFileSystem, in chain order, through the first allocation table.
#pragma once

#include <cstddef>
#include <cstdint>
#include <unordered_set>
#include <vector>

// The directory clusters one scan has read. A table can link folders into one another's chains (a damaged
// or crafted one, thousands of folders running on into one long chain): each cluster is read for the first
// folder that reaches it, and a later folder's chain ends where it meets one already read, so that a scan
// reads no more than the clusters there are.
class FatClusterClaims {
 public:
  bool Claimed(uint32_t cluster) const { return cluster < read_.size() && read_[cluster]; }
  // Called once a cluster's sectors have been taken as a folder's.
  void Claim(uint32_t cluster);

 private:
  std::vector<bool> read_;
};

// A live folder's chain is followed to its end: ReadLostClusterChain lists at most kLostChainClusters at a
// time, so the walk goes on from the last one it listed, ends where the chain comes round, and takes no more
// clusters than the table numbers. A deleted folder's chain was freed, so what the table still links from
// its first cluster is taken as it is (one listing). Either ends before a cluster the scan has claimed.
class FatFolderChain {
 public:
  FatFolderChain(uint32_t firstCluster, bool wholeChain, const FatClusterClaims& claims);

  // The rest of a live chain after lastRead, the last cluster an earlier walk took.
  static FatFolderChain After(uint32_t lastRead, const FatClusterClaims& claims);

  // The next cluster; false at the end of the chain.
  bool Next(uint32_t* cluster);

  // Whether the walk ended at the one listing a deleted folder gets while the table links more clusters.
  bool CutShort() const { return cutShort_; }
  // The last cluster Next gave (0 before the first).
  uint32_t Last() const { return last_; }

 private:
  struct Continuation {};
  FatFolderChain(uint32_t lastRead, const FatClusterClaims& claims, Continuation);

  // Takes the clusters listed from `from` on; a continuation lists `from` again first.
  void Refill(uint32_t from, bool continuation);

  bool whole_;
  uint64_t most_;
  const FatClusterClaims& claims_;
  bool more_ = false;
  bool cutShort_ = false;
  uint32_t last_ = 0;
  std::vector<uint32_t> batch_;
  size_t next_ = 0;
  std::unordered_set<uint32_t> seen_;
};

// Hands the clusters of chain to readCluster(cluster, &parsed) in order, claiming each one whose sectors were
// taken (parsed set); readCluster returns false where the directory goes no further. True when the chain ran
// out with the directory still open.
template <class ReadCluster>
bool ReadFatFolderClusters(FatFolderChain& chain, FatClusterClaims& claims, ReadCluster readCluster) {
  uint32_t cluster = 0;
  while (chain.Next(&cluster)) {
    bool parsed = false;
    const bool more = readCluster(cluster, &parsed);
    if (parsed) claims.Claim(cluster);
    if (!more) return false;
  }
  return true;
}
