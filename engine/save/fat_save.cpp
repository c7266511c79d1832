// Saving one FAT file along its cluster chain.
#include <algorithm>
#include <string>
#include <vector>

#include "engine/fat/fat_chain.h"
#include "engine/fat/live_volume_around.h"
#include "engine/image/read_sectors.h"
#include "engine/records/fat_records.h"
#include "engine/records/file_system_range.h"
#include "engine/records/scan_parameters.h"
#include "engine/save/fat_claims.h"
#include "engine/save/recovered_file.h"
#include "engine/save/save_progress.h"
#include "engine/save/save_state.h"
#include "engine/save/savers.h"

namespace {

constexpr uint32_t kFirstDataCluster = 2;

// The file's chain in ClusterList when the first or else the second table gives it with exactly the
// expected number of clusters, and the table that gives it; 0 (ClusterList empty) when neither does: the
// clusters are then taken as contiguous, as for a deleted file whose table entries are cleared.
uint32_t ReadExpectedChain(uint32_t firstCluster, uint32_t clusters) {
  for (uint32_t table = 1; table <= 2; ++table) {
    ReadClusterChain(firstCluster, clusters, table);
    if (ClusterList.size() == clusters) return table;
  }
  ClusterList.Free();
  return 0;
}

// How a live file's clusters were found.
enum class LiveChain {
  kFound,      // its chain is in ClusterList
  kNoChain,    // no table known holds a chain that starts at its first cluster: it is free there (a quick format
               // wrote new, empty tables over the file's), or inside a later file's chain
  kNoTables,   // no table is known: nothing tells the file's clusters
};

struct LiveRead {
  LiveChain kind = LiveChain::kNoTables;
  uint32_t copy = 0;   // the table whose chain ClusterList holds
  bool exact = false;  // the chain has exactly the file's clusters
};

// A live file's chain is its own: the first table whose chain has exactly the file's clusters gives it (a copy
// whose entry was linked into another file's chain, written to one copy only, runs on past the file); else the
// first whose chain reaches the file's length (a chain longer than the size, as an append cut off leaves it,
// holds the file in its first clusters); else the longer chain, which ends before the file. A table in which
// the first cluster is free, or (for a user's save) continues another chain, holds no chain of the file. limit:
// one past the volume's last cluster.
LiveRead ReadLiveChain(uint32_t firstCluster, uint32_t clusters, uint64_t limit, bool userSave) {
  uint32_t exact = 0, covering = 0, longest = 0;
  bool exactMeets = false;
  size_t longestSize = 0;
  bool known = false;
  for (uint32_t table = 1; table <= 2; ++table) {
    FatTableCopy copy(CurrentFileSystem, CurrentFatDevice(), table);
    known = known || copy.Known();
    uint32_t first = 0;
    if (!copy.Entry(firstCluster, &first) || first == 0) continue;
    // The tables are read whole once for a user's save; a preview's copy takes the chain as it finds it.
    if (userSave && save::FatTableLinks(table, firstCluster, limit)) continue;
    ReadClusterChain(firstCluster, clusters, table);
    const size_t length = ClusterList.size();
    // Of two chains of the file's length, one that meets another chain (a cross-link written to one copy) is
    // taken only when the other copy's meets one too.
    if (length == clusters) {
      const bool meets = userSave && save::FatChainMeetsAnother(table, clusters, limit);
      if (exact == 0 || (exactMeets && !meets)) {
        exact = table;
        exactMeets = meets;
      }
    }
    if (length > clusters && covering == 0) covering = table;
    if (length > longestSize) {
      longestSize = length;
      longest = table;
    }
  }
  LiveRead read;
  read.copy = exact != 0 ? exact : covering != 0 ? covering : longest;
  if (read.copy == 0) {
    ClusterList.Free();
    read.kind = known ? LiveChain::kNoChain : LiveChain::kNoTables;
    return read;
  }
  ReadClusterChain(firstCluster, clusters, read.copy);
  read.kind = LiveChain::kFound;
  read.exact = exact != 0;
  return read;
}

// Whether a cluster is in use in a table known: a deleted file (or a file no chain holds) read from there
// holds what was written after it, not its own bytes.
class ClustersInUse {
 public:
  ClustersInUse()
      : copies_{FatTableCopy(CurrentFileSystem, CurrentFatDevice(), 1),
                FatTableCopy(CurrentFileSystem, CurrentFatDevice(), 2)} {}
  bool operator()(uint64_t cluster) {
    return cluster <= 0xFFFFFFFFu && (copies_[0].InUse(static_cast<uint32_t>(cluster)) ||
                                      copies_[1].InUse(static_cast<uint32_t>(cluster)));
  }

 private:
  FatTableCopy copies_[2];
};

// One past the last cluster whose sectors all lie in the volume: it ends at its own last sector when
// known (a FAT volume's lastSector is one past it), else with its range, and no cluster lies past what
// its tables number. A cluster from there on is another volume's.
uint64_t ClusterLimit(uint32_t perCluster) {
  const FileSystemRecord& fs = CurrentFileSystem;
  const uint64_t end = fs.lastSector != 0 ? uint64_t{fs.lastSector} : FileSystemEndSector(fs, ScanRange);
  const uint64_t inVolume = end > fs.clusterBase ? (end - fs.clusterBase) / perCluster : 0;
  return std::min(inVolume, FatTableEntries(fs));
}

}  // namespace

uint32_t SaveFatItems(const std::u16string& destination, uint32_t userSave, uint32_t firstCluster, uint32_t size,
                      const std::u16string& fileName, uint32_t deleted) {
  std::u16string target, name;
  if (!save::StartFile(destination, fileName, size, userSave, deleted, save::DeletedPolicy::kApplies, &target, &name)) {
    return 0;
  }
  const uint32_t perCluster = CurrentFileSystem.sectorsPerCluster;
  if (!save::UsableClusterSize(perCluster)) {
    save::CountUnreadable(userSave);
    return 0;
  }
  const uint64_t clusterBytes = uint64_t{perCluster} * kSectorSize;
  const auto clusters = static_cast<uint32_t>((uint64_t{size} + clusterBytes - 1) / clusterBytes);
  const uint64_t limit = ClusterLimit(perCluster);
  // Data that would begin outside the volume is not the file's: nothing of it can be found.
  if (size > 0 && firstCluster >= limit) {
    save::CountUnreadable(userSave);
    return 0;
  }
  save::RecoveredFile file(target, userSave);
  if (!file.Create()) return 0;
  if (userSave == 1) save::ShowFileStarted(target, name);

  bool chained = false;
  // A deleted file's clusters, and those of a live file that no chain holds, are its own only while no table
  // gives them to another (nor, for a deleted file, a live file read without a chain): a file that was written
  // over is counted damaged (still written, for the user to look at), never saved as whole. Whatever its tables
  // say, a file of an earlier volume inside a live one gives way to the live volume.
  bool mustBeFree = false;
  LiveVolumeAround around(CurrentFileSystem, CurrentFatDevice());
  save::FatFileRead read;
  if (size > 0 && deleted == 0) {
    const LiveRead live = ReadLiveChain(firstCluster, clusters, limit, userSave == 1);
    chained = live.kind == LiveChain::kFound;
    // Without tables of its own, an earlier volume's file is read as one from before a quick format is: the live
    // volume's tables tell which of its clusters were written since.
    mustBeFree = live.kind == LiveChain::kNoChain || (live.kind == LiveChain::kNoTables && around.Known());
    read.copy = live.copy;
    read.exact = live.exact;
    // Without any table its clusters after the first are a guess.
    if (live.kind == LiveChain::kNoTables && !around.Known() && clusters > 1) file.MarkDamaged();
  } else if (size > 0) {
    read.copy = ReadExpectedChain(firstCluster, clusters);
    chained = read.exact = read.copy != 0;
    mustBeFree = true;
  }
  // A cluster that another listed file claims too is at most one file's.
  if (size > 0 && userSave == 1) {
    read.first = firstCluster;
    read.size = size;
    read.clusters = clusters;
    read.deleted = deleted != 0;
    read.date = static_cast<uint16_t>(SaveFileTime & 0xFFFF);
    read.name = &fileName;
    read.chained = chained;
    if (save::FatFileGivesWay(read, limit)) file.MarkDamaged();
  }
  ClustersInUse inUse;
  save::FileProgress progress(userSave);
  std::vector<uint8_t> buffer;
  uint64_t written = 0;
  bool stopped = false;
  for (uint32_t i = 0; written < size; ++i) {
    if (save::SaveInterrupted(userSave)) {
      stopped = true;
      break;
    }
    progress.Show(written, size);
    // The file ends, damaged, where its chain does or where its clusters would leave the volume; it is
    // not padded to its size, which a damaged entry can inflate without bound.
    if (chained && i >= ClusterList.size()) {
      file.MarkDamaged();
      break;
    }
    const uint64_t cluster = chained ? ClusterList[i].cluster : uint64_t{firstCluster} + i;
    if (cluster >= limit) {
      file.MarkDamaged();
      break;
    }
    const bool heldByLive = deleted != 0 && userSave == 1 && save::FatClusterOfUnchainedLive(cluster, limit);
    if ((mustBeFree && (inUse(cluster) || heldByLive)) || around.HoldsCluster(cluster)) file.MarkDamaged();
    // Clusters 0 and 1 name no data: reading there would copy the tables or the root folder.
    const save::ClusterSource source =
        cluster >= kFirstDataCluster ? save::ClusterSource::kRead : save::ClusterSource::kUnreadable;
    const uint64_t sector = CurrentFileSystem.clusterBase + cluster * perCluster;
    if (!save::CopyCluster(file, source, sector, perCluster, size, written, buffer)) break;
  }
  if (!file.Finish(stopped)) return 0;
  SetFatFileDate(target);
  return 1;
}
