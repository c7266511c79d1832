// What an NTFS volume's own metadata files say of the volume: which found record is its MFT's record 0, how
// many clusters the volume holds, and which of them are in use. A volume rebuilt without its boot sector is
// bounded by them, and a deleted file whose clusters were taken again is told from one still intact.
#pragma once

#include <cstdint>
#include <vector>

#include "engine/ntfs/attribute_list_value.h"
#include "engine/ntfs/data_runs.h"

namespace ntfs {

constexpr uint32_t kBitmapRecord = 6;
constexpr uint32_t kBadClusterRecord = 8;

// True when record (fixed up), read at sector, is the MFT's own record 0 of the volume whose cluster 0 lies at
// clusterBase with sectorsPerCluster: it begins with "FILE" and its unnamed data's first run starts at that very
// sector. A copy in the mirror, or another volume's record 0, starts its MFT elsewhere.
bool IsOwnMftRecord(const uint8_t* record, uint64_t sector, uint64_t clusterBase, uint32_t sectorsPerCluster);

// True when the record at sector is the copy of that volume's record 0 in its mirror: the record after it is the
// copy of record 1, $MFTMirr, whose data begins at that very sector. With record 0 itself lost, the copy maps the
// MFT.
bool IsOwnMirrorCopy(const char* devicePath, uint64_t sector, uint64_t clusterBase, uint32_t sectorsPerCluster);

// The volume's size in clusters as its records read through MftMap tell it: $BadClus's stream $Bad covers every
// cluster (a hole where none is bad), so its size is the volume's; $Bitmap holds a bit per cluster (rounded up
// to 8 bytes), so its size bounds it. The lesser of what the two give; 0 when neither can be read (a record
// missing, named otherwise, or without the stream).
uint64_t VolumeClusters(const char* devicePath, uint32_t sectorsPerCluster);

// $Bitmap, read through MftMap, as far as space lets its clusters be read.
class ClusterBitmap {
 public:
  explicit ClusterBitmap(const ClusterSpace& space);
  ClusterBitmap(const ClusterBitmap&) = delete;
  ClusterBitmap& operator=(const ClusterBitmap&) = delete;

  // False when record 6 is not $Bitmap with a non-resident unnamed stream: nothing can be told.
  bool known() const { return known_; }
  // True when a cluster of [first, first + count) is marked in use. A cluster beyond the bitmap, or whose bit
  // cannot be read, tells nothing and does not count.
  bool AnyInUse(uint64_t first, uint64_t count);

 private:
  // The bitmap's byte at offset; false when it cannot be read.
  bool ByteAt(uint64_t offset, uint8_t* byte);

  ClusterSpace space_;
  bool known_ = false;
  uint64_t size_ = 0;           // bytes of the bitmap
  std::vector<DataRun> runs_;   // its clusters
  uint64_t cachedSector_ = ~uint64_t{0};
  bool cachedRead_ = false;
  std::vector<uint8_t> cached_;  // one sector
};

}  // namespace ntfs
