// Saving one FAT file along its cluster chain.
#include <algorithm>
#include <vector>

#include "engine/fat/fat_chain.h"
#include "engine/image/read_sectors.h"
#include "engine/records/fat_records.h"
#include "engine/records/file_system_range.h"
#include "engine/records/scan_parameters.h"
#include "engine/save/recovered_file.h"
#include "engine/save/save_progress.h"
#include "engine/save/savers.h"

namespace {

constexpr uint32_t kFirstDataCluster = 2;

// The file's chain in ClusterList when the first or else the second table gives it with exactly the
// expected number of clusters; false (ClusterList empty) when neither does: the clusters are then taken
// as contiguous, as for a deleted file whose table entries are cleared.
bool ReadExpectedChain(uint32_t firstCluster, uint32_t clusters) {
  for (uint32_t table = 1; table <= 2; ++table) {
    ReadClusterChain(firstCluster, clusters, table);
    if (ClusterList.size() == clusters) return true;
  }
  ClusterList.Free();
  return false;
}

// A live file's chain is its own: the first table whose chain reaches the file's length gives it (a
// chain longer than the size, as an append cut off leaves it, holds the file in its first clusters);
// when neither does, the longer chain in ClusterList, which ends before the file. False when no table is
// known: nothing then tells the file's clusters.
bool ReadLiveChain(uint32_t firstCluster, uint32_t clusters) {
  if (CurrentFileSystem.firstFatSector == 0 && CurrentFileSystem.secondFatSector == 0) return false;
  uint32_t longest = 1;
  size_t longestSize = 0;
  for (uint32_t table = 1; table <= 2; ++table) {
    ReadClusterChain(firstCluster, clusters, table);
    if (ClusterList.size() >= clusters) return true;
    if (ClusterList.size() > longestSize) {
      longestSize = ClusterList.size();
      longest = table;
    }
  }
  ReadClusterChain(firstCluster, clusters, longest);
  return true;
}

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

  const bool chained = size > 0 && (deleted == 0 ? ReadLiveChain(firstCluster, clusters)
                                                 : ReadExpectedChain(firstCluster, clusters));
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
