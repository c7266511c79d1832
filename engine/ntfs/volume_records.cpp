#include "engine/ntfs/volume_records.h"

#include <algorithm>

#include "engine/image/read_sectors.h"
#include "engine/ntfs/file_name_attribute.h"
#include "engine/ntfs/mft_map.h"
#include "engine/ntfs/mft_record.h"

namespace ntfs {
namespace {

constexpr uint32_t kMostSectorsPerCluster = 128;

// The part of a non-resident stream that starts its value (the one whose header gives its sizes) in the record
// numbered `number`, read through MftMap, which must be the metadata file `name`.
bool StartingPart(const char* devicePath, uint32_t number, const char16_t* name, const char* stream,
                  uint8_t* record, Attribute* part) {
  FileNameInfo found;
  if (ReadMftRecordByNumber(devicePath, number, record) != 1 || !IsFileRecord(record) ||
      ReadPreferredFileName(record, found) != 1 || found.name != name ||
      !FindAttribute(record, kDataAttribute, stream, part) || !part->nonResident ||
      part->offset + kStartingVcnOffset + 8 > part->recordSize) {
    return false;
  }
  return LoadLe64(record + part->offset + kStartingVcnOffset) == 0;
}

}  // namespace

bool IsOwnMftRecord(const uint8_t* record, uint64_t sector, uint64_t clusterBase, uint32_t sectorsPerCluster) {
  Attribute data;
  if (!IsFileRecord(record) || !FindAttribute(record, kDataAttribute, "", &data) || !data.nonResident) return false;
  std::vector<DataRun> runs;
  DecodeRunList(record, data.runListStart, data.End(), runs);
  return !runs.empty() && !runs[0].sparse &&
         clusterBase + uint64_t{runs[0].startCluster} * sectorsPerCluster == sector;
}

bool IsOwnMirrorCopy(const char* devicePath, uint64_t sector, uint64_t clusterBase, uint32_t sectorsPerCluster) {
  uint8_t record[kMaxMftRecordSize];
  if (!ReadMftRecord(devicePath, sector, record) || !IsFileRecord(record)) return false;
  const uint64_t next = sector + MftRecordSectors(record);
  FileNameInfo name;
  return ReadMftRecord(devicePath, next, record) && ReadPreferredFileName(record, name) == 1 &&
         name.name == u"$MFTMirr" && IsOwnMftRecord(record, sector, clusterBase, sectorsPerCluster);
}

uint64_t VolumeClusters(const char* devicePath, uint32_t sectorsPerCluster) {
  if (sectorsPerCluster == 0 || sectorsPerCluster > kMostSectorsPerCluster) return 0;
  const uint64_t clusterBytes = uint64_t{sectorsPerCluster} * kSectorSize;
  uint8_t record[kMaxMftRecordSize];
  Attribute part;
  uint64_t clusters = 0;
  if (StartingPart(devicePath, kBadClusterRecord, u"$BadClus", "$Bad", record, &part)) {
    clusters = part.realSize / clusterBytes;
  }
  if (StartingPart(devicePath, kBitmapRecord, u"$Bitmap", "", record, &part) && part.realSize != 0) {
    const uint64_t bits = part.realSize > UINT64_MAX / 8 ? UINT64_MAX : part.realSize * 8;
    clusters = clusters == 0 ? bits : std::min(clusters, bits);
  }
  return clusters;
}

ClusterBitmap::ClusterBitmap(const ClusterSpace& space) : space_(space) {
  if (space.sectorsPerCluster == 0 || space.sectorsPerCluster > kMostSectorsPerCluster) return;
  uint8_t record[kMaxMftRecordSize];
  Attribute part;
  if (!StartingPart(space.devicePath, kBitmapRecord, u"$Bitmap", "", record, &part)) return;
  if (DecodeRunList(record, part.runListStart, part.End(), runs_) != RunListStatus::kComplete) return;
  size_ = std::min(part.realSize, part.initializedSize);
  known_ = true;
}

bool ClusterBitmap::ByteAt(uint64_t offset, uint8_t* byte) {
  const uint64_t clusterBytes = uint64_t{space_.sectorsPerCluster} * kSectorSize;
  const uint64_t vcn = offset / clusterBytes;
  uint64_t skipped = 0;
  for (const DataRun& run : runs_) {
    if (vcn >= skipped + run.length) {
      skipped += run.length;
      continue;
    }
    if (run.sparse) return false;
    const uint64_t within = offset - skipped * clusterBytes;
    const uint64_t sector = space_.clusterBase + uint64_t{run.startCluster} * space_.sectorsPerCluster +
                            within / kSectorSize;
    // Only the volume's own sectors are read.
    if (sector >= space_.endSector) return false;
    if (sector != cachedSector_) {
      cached_.resize(kSectorSize);
      cachedRead_ = ReadSourceSectors(space_.devicePath, sector, 1, cached_.data());
      cachedSector_ = sector;
    }
    if (!cachedRead_) return false;
    *byte = cached_[within % kSectorSize];
    return true;
  }
  return false;
}

bool ClusterBitmap::AnyInUse(uint64_t first, uint64_t count) {
  if (!known_) return false;
  const uint64_t bits = size_ > UINT64_MAX / 8 ? UINT64_MAX : size_ * 8;
  const uint64_t end = std::min(first + std::min(count, UINT64_MAX - first), bits);
  for (uint64_t cluster = first; cluster < end;) {
    uint8_t byte = 0;
    if (!ByteAt(cluster / 8, &byte)) {
      cluster = (cluster / 8 + 1) * 8;  // its byte tells nothing: the next one
      continue;
    }
    // The bits of this byte that lie in the range.
    const uint64_t last = std::min(end, (cluster / 8 + 1) * 8);
    for (; cluster < last; ++cluster) {
      if ((byte >> (cluster % 8)) & 1) return true;
    }
  }
  return false;
}

}  // namespace ntfs
