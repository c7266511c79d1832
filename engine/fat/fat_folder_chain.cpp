#include "engine/fat/fat_folder_chain.h"

#include "engine/fat/fat_chain.h"
#include "engine/records/scan_records.h"

void FatClusterClaims::Claim(uint32_t cluster) {
  records::GuardAllocation([&] {
    if (cluster >= read_.size()) read_.resize(uint64_t{cluster} + 1);
  });
  if (!read_[cluster]) ++claimed_;
  read_[cluster] = true;
}

bool FatClusterClaims::TakeReread() {
  if (rereads_ >= claimed_) return false;
  ++rereads_;
  return true;
}

FatFolderChain::FatFolderChain(uint32_t firstCluster, bool wholeChain, FatClusterClaims& claims)
    : whole_(wholeChain),
      most_(FatTableEntries(CurrentFileSystem)),
      claims_(claims),
      first_(CurrentFileSystem, CurrentFatDevice(), 1),
      second_(CurrentFileSystem, CurrentFatDevice(), 2),
      pending_(firstCluster) {}

bool FatFolderChain::SecondCounts() const {
  return second_.Known() && CurrentFileSystem.secondFatSector != CurrentFileSystem.firstFatSector;
}

FatFolderChain::Step FatFolderChain::Link(uint32_t from, uint32_t* next) {
  uint32_t a = 0, b = 0;
  const bool aLinks = first_.Entry(from, &a) && first_.Links(a);
  // The second copy counts only where it lies elsewhere than the first.
  const bool bLinks = SecondCounts() && second_.Entry(from, &b) && second_.Links(b);
  if (aLinks && bLinks && a != b) {
    choices_[0] = a;
    choices_[1] = b;
    return Step::kDisputed;
  }
  if (!aLinks && !bLinks) return Step::kEnd;
  *next = aLinks ? a : b;
  return Step::kNext;
}

// Whether the walk may go on to cluster: not round to a cluster of its own, within the table, and a claimed
// cluster only for a live folder within the allowance.
bool FatFolderChain::Admit(uint32_t cluster) {
  if (seen_.size() >= most_ || seen_.count(cluster) != 0) return false;
  if (claims_.Claimed(cluster) && (!whole_ || !claims_.TakeReread())) return false;
  records::GuardAllocation([&] { seen_.insert(cluster); });
  return true;
}

bool FatFolderChain::Next(uint32_t* cluster) {
  if (ended_ || disputed_ || cutShort_) return false;
  if (!havePending_) {
    if (!whole_ && taken_ >= kLostChainClusters) {
      uint32_t next = 0;
      cutShort_ = Link(last_, &next) != Step::kEnd;
      return false;
    }
    const Step step = Link(last_, &pending_);
    disputed_ = step == Step::kDisputed;
    ended_ = step == Step::kEnd;
    if (step != Step::kNext) return false;
  }
  havePending_ = false;
  if (!Admit(pending_)) {
    ended_ = true;
    return false;
  }
  ++taken_;
  *cluster = last_ = pending_;
  return true;
}

void FatFolderChain::ReadOnAsLive() {
  whole_ = true;
  cutShort_ = false;
}

void FatFolderChain::Resolve() {
  if (!disputed_) return;
  disputed_ = false;
  pending_ = claims_.Claimed(choices_[0]) && !claims_.Claimed(choices_[1]) ? choices_[1] : choices_[0];
  havePending_ = true;
}
