// The clusters of a folder of CurrentFileSystem, in chain order, through its allocation tables.
#pragma once

#include <cstddef>
#include <cstdint>
#include <unordered_set>
#include <vector>

#include "engine/fat/fat_chain.h"

// The directory clusters one scan has read. A table can link folders into one another's chains. Each folder is
// read along its own chain, so a cluster that two live folders' chains reach is listed under both; but a table
// can also run thousands of folders on into one long chain (damaged or crafted), so the clusters read a second
// time are held to as many as the scan has read once: past that, a chain ends where it meets a cluster already
// read, and a scan reads at most twice the clusters there are.
class FatClusterClaims {
 public:
  bool Claimed(uint32_t cluster) const { return cluster < read_.size() && read_[cluster]; }
  // Called once a cluster's sectors have been taken as a folder's.
  void Claim(uint32_t cluster);
  // Whether a live folder may read a cluster already read once more; counts it when so.
  bool TakeReread();

 private:
  std::vector<bool> read_;
  uint64_t claimed_ = 0;
  uint64_t rereads_ = 0;
};

// The walk of one folder's chain. At each link both table copies are read where both are known:
// - where they agree, or only one of them links on, the chain goes where they lead (a copy that was lost or
//   zeroed, or an entry written to one copy alone, ends no folder early);
// - where both link on to different clusters (one copy leads the folder into another folder's chain), the walk
//   stops as Disputed(): the caller resumes it, once every folder has been read as far as its copies agree,
//   with Resolve(), which takes the cluster that no other folder's chain holds, else the first copy's.
// A live folder's chain is followed to its end: it ends where it comes round, and takes no more clusters than
// the table numbers. A deleted folder's chain was freed, so what the tables still link from its first cluster
// is taken as it is, at most kLostChainClusters (CutShort() when they link on). A live folder may read a cluster
// already claimed within FatClusterClaims's allowance; a deleted one ends before it.
class FatFolderChain {
 public:
  FatFolderChain(uint32_t firstCluster, bool wholeChain, FatClusterClaims& claims);

  // The next cluster; false at the end of the chain, or where it stopped (Disputed, CutShort).
  bool Next(uint32_t* cluster);

  // Whether the walk ended at the one listing a deleted folder gets while the tables link more clusters.
  bool CutShort() const { return cutShort_; }
  // A deleted folder's walk that was cut short goes on to the end of its chain (a live entry took the folder).
  void ReadOnAsLive();

  // Whether the walk stopped where the copies lead to two different clusters.
  bool Disputed() const { return disputed_; }
  // Takes one of the two: the one no folder's chain has claimed, else the first copy's.
  void Resolve();

 private:
  enum class Step { kEnd, kNext, kDisputed };
  Step Link(uint32_t from, uint32_t* next);
  bool SecondCounts() const;
  bool Admit(uint32_t cluster);

  bool whole_;
  uint64_t most_;
  FatClusterClaims& claims_;
  FatTableCopy first_, second_;
  bool havePending_ = true;  // pending_ is the next cluster to give
  bool ended_ = false;
  bool cutShort_ = false;
  bool disputed_ = false;
  uint32_t last_ = 0;
  uint32_t pending_;
  uint32_t choices_[2] = {0, 0};
  uint64_t taken_ = 0;
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
