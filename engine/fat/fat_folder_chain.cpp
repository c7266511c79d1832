#include "engine/fat/fat_folder_chain.h"

#include "engine/fat/fat_chain.h"
#include "engine/fat/fat_directory.h"
#include "engine/records/scan_records.h"

void FatClusterClaims::Claim(uint32_t cluster) {
  records::GuardAllocation([&] {
    if (cluster >= read_.size()) read_.resize(uint64_t{cluster} + 1);
  });
  read_[cluster] = true;
}

FatFolderChain::FatFolderChain(uint32_t firstCluster, bool wholeChain, const FatClusterClaims& claims)
    : whole_(wholeChain), most_(FatTableEntries(CurrentFileSystem)), claims_(claims) {
  Refill(firstCluster, false);
}

FatFolderChain::FatFolderChain(uint32_t lastRead, const FatClusterClaims& claims, Continuation)
    : whole_(true), most_(FatTableEntries(CurrentFileSystem)), claims_(claims) {
  Refill(lastRead, true);
}

FatFolderChain FatFolderChain::After(uint32_t lastRead, const FatClusterClaims& claims) {
  return FatFolderChain(lastRead, claims, Continuation{});
}

bool FatFolderChain::Next(uint32_t* cluster) {
  if (next_ == batch_.size()) {
    if (!more_ || batch_.empty()) return false;
    Refill(batch_.back(), true);
    if (batch_.empty()) return false;
  }
  *cluster = last_ = batch_[next_++];
  return true;
}

void FatFolderChain::Refill(uint32_t from, bool continuation) {
  ReadLostClusterChain(from);
  batch_.clear();
  next_ = 0;
  const bool full = ClusterList.size() == kLostChainClusters;
  more_ = whole_ && full;
  cutShort_ = !whole_ && full;
  records::GuardAllocation([&] {
    for (size_t i = continuation ? 1 : 0; i < ClusterList.size(); ++i) {
      const uint32_t cluster = ClusterList[i].cluster;
      if (seen_.size() >= most_ || claims_.Claimed(cluster) || !seen_.insert(cluster).second) {
        more_ = cutShort_ = false;
        return;
      }
      batch_.push_back(cluster);
    }
  });
}
