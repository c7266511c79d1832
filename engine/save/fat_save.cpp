// Saving one FAT file along its cluster chain.
#include <vector>

#include "engine/fat/fat_chain.h"
#include "engine/image/read_sectors.h"
#include "engine/records/fat_records.h"
#include "engine/records/scan_parameters.h"
#include "engine/save/recovered_file.h"
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

}  // namespace

uint32_t SaveFatItems(const std::u16string& destination, uint32_t userSave, uint32_t firstCluster, uint32_t size,
                      const std::u16string& fileName, uint32_t deleted) {
  std::u16string target, name;
  if (!save::StartFile(destination, fileName, userSave, deleted, save::DeletedPolicy::kApplies, &target, &name)) {
    return 0;
  }
  const uint32_t perCluster = CurrentFileSystem.sectorsPerCluster;
  if (!save::UsableClusterSize(perCluster)) {
    save::CountUnreadable(userSave);
    return 0;
  }
  save::RecoveredFile file(target, userSave);
  if (!file.Create()) return 0;
  if (userSave == 1) save::ShowFileStarted(target, name);

  const uint64_t clusterBytes = uint64_t{perCluster} * kSectorSize;
  const auto clusters = static_cast<uint32_t>((uint64_t{size} + clusterBytes - 1) / clusterBytes);
  const bool chained = size > 0 && ReadExpectedChain(firstCluster, clusters);
  save::FileProgress progress(userSave);
  std::vector<uint8_t> buffer;
  uint64_t written = 0;
  bool stopped = false;
  for (uint32_t i = 0; written < size; ++i) {
    if (save::SaveInterrupted()) {
      stopped = true;
      break;
    }
    progress.Show(written, size);
    const uint64_t cluster = chained ? ClusterList[i].cluster : uint64_t{firstCluster} + i;
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
