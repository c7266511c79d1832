#include "engine/save/ntfs_file_copy.h"

#include <algorithm>
#include <vector>

#include "engine/image/read_sectors.h"
#include "engine/ntfs/data_runs.h"
#include "engine/ntfs/lznt1.h"
#include "engine/records/file_system_range.h"
#include "engine/records/record_list.h"
#include "engine/records/scan_parameters.h"

namespace save {
namespace {

constexpr uint64_t kHole = ~uint64_t{0};

// The first sector of the run's cluster i; false when the cluster reaches past the volume's end.
bool ClusterSector(const DataRun& run, uint32_t i, uint32_t perCluster, uint64_t volumeEnd, uint64_t* sector) {
  *sector = CurrentFileSystem.clusterBase + (uint64_t{run.startCluster} + i) * perCluster;
  return ClusterInVolume(*sector, perCluster, volumeEnd);
}

// Walks DataRunList cluster by cluster, clusters of perCluster sectors.
class RunCursor {
 public:
  enum Step { kCluster, kEnd, kOutside };

  explicit RunCursor(uint32_t perCluster) : perCluster_(perCluster) {}

  // The next cluster's first sector, or kHole; kEnd past the last run, kOutside at a cluster past the volume.
  Step Next(uint64_t volumeEnd, uint64_t* sector) {
    while (run_ < DataRunList.size() && index_ >= DataRunList[run_].length) {
      ++run_;
      index_ = 0;
    }
    if (run_ >= DataRunList.size()) return kEnd;
    const DataRun& run = DataRunList[run_];
    const uint32_t i = index_++;
    if (run.sparse) {
      *sector = kHole;
      return kCluster;
    }
    return ClusterSector(run, i, perCluster_, volumeEnd, sector) ? kCluster : kOutside;
  }

 private:
  uint32_t perCluster_;
  size_t run_ = 0;
  uint32_t index_ = 0;
};

// Reads the clusters at sectors into buffer, one after the other; false when one cannot be read (its bytes zeros).
bool ReadClusters(const std::vector<uint64_t>& sectors, uint32_t perCluster, std::vector<uint8_t>& buffer) {
  const size_t clusterBytes = size_t{perCluster} * kSectorSize;
  buffer.resize(sectors.size() * clusterBytes);
  bool read = true;
  for (size_t i = 0; i < sectors.size(); ++i) {
    read = ReadSourceUnit(sectors[i], perCluster, buffer.data() + i * clusterBytes) && read;
  }
  return read;
}

// The bytes of one compression unit whose clusters (sectors, kHole for a hole) are given, as far as wanted (the
// rest zeros): as they are when the unit has no hole, else decompressed from its clusters before the holes. False
// when they cannot be had.
bool UnitBytes(const std::vector<uint64_t>& clusters, uint32_t perCluster, uint64_t wanted,
               std::vector<uint8_t>& packed, std::vector<uint8_t>& unit) {
  std::fill(unit.begin(), unit.end(), 0);
  std::vector<uint64_t> stored;
  records::GuardAllocation([&] {
    for (uint64_t sector : clusters) {
      if (sector != kHole) stored.push_back(sector);
    }
  });
  if (wanted == 0 || stored.empty()) return true;  // past the valid data length, or a unit of holes: zeros
  const bool read = ReadClusters(stored, perCluster, packed);
  if (stored.size() == clusters.size()) {
    std::copy_n(packed.begin(), std::min<uint64_t>(wanted, packed.size()), unit.begin());
    return read;
  }
  size_t produced = 0;
  if (read && ntfs::DecompressLznt1(packed.data(), packed.size(), unit.data(), static_cast<size_t>(wanted), &produced) &&
      produced == wanted) {
    return true;
  }
  // A stream that cannot be read, is malformed, or ends before the unit's bytes do: none of it is trusted.
  std::fill(unit.begin(), unit.end(), 0);
  return false;
}

}  // namespace

CopyResult CopyRuns(const FileCopy& copy) {
  CopyResult result;
  std::vector<uint8_t> buffer;
  const uint32_t perCluster = copy.sectorsPerCluster;
  const uint64_t volumeEnd = FileSystemEndSector(CurrentFileSystem, ScanRange);
  RunCursor cursor(perCluster);
  uint64_t sector = 0;
  while (result.written < copy.end) {
    if (SaveInterrupted(copy.userSave)) {
      result.stopped = true;
      break;
    }
    copy.progress.Show(result.written, copy.size);
    // A cluster past the volume's end is another volume's: the file ends before it.
    if (cursor.Next(volumeEnd, &sector) != RunCursor::kCluster) break;
    const ClusterSource source = sector == kHole ? ClusterSource::kSparse : ClusterSource::kRead;
    if (!CopyCluster(copy.file, source, sector, perCluster, copy.end, result.written, buffer, copy.valid)) {
      result.failed = true;
      break;
    }
  }
  return result;
}

CopyResult CopyCompressedUnits(const FileCopy& copy, uint8_t unitBits) {
  CopyResult result;
  const uint64_t volumeEnd = FileSystemEndSector(CurrentFileSystem, ScanRange);
  const uint32_t unitClusters = 1u << unitBits;
  const uint64_t clusterBytes = uint64_t{copy.sectorsPerCluster} * kSectorSize;
  std::vector<uint8_t> packed;
  std::vector<uint8_t> unit = records::GuardAllocation([&] { return std::vector<uint8_t>(unitClusters * clusterBytes); });
  std::vector<uint64_t> clusters;
  RunCursor cursor(copy.sectorsPerCluster);
  RunCursor::Step step = RunCursor::kCluster;
  while (result.written < copy.end && step == RunCursor::kCluster) {
    if (SaveInterrupted(copy.userSave)) {
      result.stopped = true;
      break;
    }
    copy.progress.Show(result.written, copy.size);
    clusters.clear();
    uint64_t sector = 0;
    while (clusters.size() < unitClusters && (step = cursor.Next(volumeEnd, &sector)) == RunCursor::kCluster) {
      records::GuardAllocation([&] { clusters.push_back(sector); });
    }
    // A unit that leaves the volume is not this file's: the file ends before it. One the runs end in holds what its
    // clusters give: a stream before its holes, or without a hole only the bytes of the clusters it has.
    if (step == RunCursor::kOutside || clusters.empty()) break;
    uint64_t take = std::min(uint64_t{unitClusters} * clusterBytes, copy.end - result.written);
    if (std::find(clusters.begin(), clusters.end(), kHole) == clusters.end()) {
      take = std::min(take, clusters.size() * clusterBytes);
    }
    const uint64_t wanted = result.written < copy.valid ? std::min(take, copy.valid - result.written) : 0;
    if (!UnitBytes(clusters, copy.sectorsPerCluster, wanted, packed, unit)) copy.file.MarkDamaged();
    if (!copy.file.Append(unit.data(), take)) {
      result.failed = true;
      break;
    }
    result.written += take;
  }
  return result;
}

}  // namespace save
