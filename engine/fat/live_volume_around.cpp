#include "engine/fat/live_volume_around.h"

namespace {

// The volume FatVolumeAroundChosen names, when it was found for chosen.
FileSystemRecord AroundOf(const FileSystemRecord& chosen) {
  const VolumeAroundRecord& around = FatVolumeAroundChosen;
  const bool mine = around.rebuilt.type == chosen.type && around.rebuilt.clusterBase == chosen.clusterBase &&
                    around.rebuilt.sectorsPerCluster == chosen.sectorsPerCluster;
  return mine && around.volume.sectorsPerCluster != 0 ? around.volume : FileSystemRecord{};
}

}  // namespace

LiveVolumeAround::LiveVolumeAround(const FileSystemRecord& chosen, const char* devicePath)
    : chosenBase_(chosen.clusterBase),
      chosenPerCluster_(chosen.sectorsPerCluster),
      volume_(AroundOf(chosen)),
      copies_{FatTableCopy(volume_, devicePath, 1), FatTableCopy(volume_, devicePath, 2)} {}

bool LiveVolumeAround::HoldsSectors(uint64_t first, uint64_t count) {
  if (!Known() || count == 0) return false;
  const uint64_t start = volume_.firstFatSector - uint64_t{volume_.reservedSectors};
  const uint64_t perCluster = volume_.sectorsPerCluster;
  const uint64_t data = volume_.clusterBase + 2 * perCluster;
  const uint64_t end = first + count;
  if (end <= start || first >= volume_.lastSector) return false;
  if (first < data) return true;
  for (uint64_t c = (first - volume_.clusterBase) / perCluster; c <= (end - 1 - volume_.clusterBase) / perCluster; ++c) {
    if (c > 0xFFFFFFFFu) break;
    if (copies_[0].InUse(static_cast<uint32_t>(c)) || copies_[1].InUse(static_cast<uint32_t>(c))) return true;
  }
  return false;
}

bool LiveVolumeAround::HoldsCluster(uint64_t cluster) {
  return HoldsSectors(chosenBase_ + cluster * chosenPerCluster_, chosenPerCluster_);
}
