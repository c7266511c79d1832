#include "engine/ntfs/mft_map.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <set>

#include "engine/image/read_sectors.h"
#include "engine/ntfs/attribute_list.h"
#include "engine/ntfs/attribute_list_value.h"
#include "engine/ntfs/data_runs.h"
#include "engine/ntfs/mft_record.h"

std::vector<MftExtent> MftMap;
uint32_t MftMapRecordSectors = ntfs::kMinMftRecordSectors;

namespace {

constexpr uint64_t kLastSector = 0xFFFFFFFF;
// Clusters of 1 to 128 sectors, as the boot sector's byte 13 gives them.
constexpr uint32_t kMaxSectorsPerCluster = 128;

struct Volume {
  const char* devicePath;
  uint32_t partitionStart;
  uint32_t sectorsPerCluster;
  uint64_t endSector;  // one past the volume's last sector
};

// The sector at offset sectors into the map; false past the map, in a hole or past 32-bit sectors.
bool SectorAt(uint64_t offset, uint32_t* sector) {
  for (const MftExtent& extent : MftMap) {
    if (offset < extent.sectorCount) {
      const uint64_t at = extent.startSector + offset;
      if (extent.sparse || at > kLastSector) return false;
      *sector = static_cast<uint32_t>(at);
      return true;
    }
    offset -= extent.sectorCount;
  }
  return false;
}

// The runs of a non-resident attribute, decoded up to the attribute's end.
std::vector<DataRun> RunsOf(const uint8_t* record, const ntfs::Attribute& attribute) {
  std::vector<DataRun> runs;
  ntfs::DecodeRunList(record, attribute.runListStart, attribute.End(), runs);
  return runs;
}

// Appends the extents of runs; false when the map is full, memory ran out or an extent reached past the
// volume. The MFT lies inside its volume and has no more records than the volume has room for: a damaged
// run length must not make the walk read billions of records. An extent is cut at the volume's end and
// the map ends there, since the record numbers of the extents after it would be wrong.
bool AppendExtents(const std::vector<DataRun>& runs, const Volume& volume) {
  const uint64_t volumeSectors = volume.endSector > volume.partitionStart ? volume.endSector - volume.partitionStart : 0;
  uint64_t mapped = MftMapSectorCount();
  for (const DataRun& run : runs) {
    if (MftMap.size() >= kMaxMftExtents || mapped >= volumeSectors) return false;
    MftExtent extent;
    extent.sparse = run.sparse;
    extent.sectorCount = uint64_t{run.length} * volume.sectorsPerCluster;
    uint64_t room = volumeSectors - mapped;
    if (!run.sparse) {
      extent.startSector = volume.partitionStart + uint64_t{run.startCluster} * volume.sectorsPerCluster;
      if (extent.startSector >= volume.endSector) return false;
      room = std::min(room, volume.endSector - extent.startSector);
    }
    const bool cut = extent.sectorCount > room;
    if (cut) extent.sectorCount = room;
    try {
      MftMap.push_back(extent);
    } catch (const std::bad_alloc&) {
      return false;
    }
    if (cut) return false;
    mapped += extent.sectorCount;
  }
  return true;
}

// Appends the runs of the record's unnamed non-resident data attribute; false when it has none.
bool AppendDataRuns(const uint8_t* record, const Volume& volume) {
  ntfs::Attribute data;
  if (!ntfs::FindAttribute(record, ntfs::kDataAttribute, "", &data) || !data.nonResident) return false;
  return AppendExtents(RunsOf(record, data), volume);
}

// The records other than 0 that hold parts of the MFT's data, in the order the list names them.
std::vector<uint32_t> ExtensionRecords(const uint8_t* record0, const Volume& volume) {
  std::vector<uint32_t> out;
  std::vector<uint8_t> value;
  const ntfs::ClusterSpace space{volume.devicePath, volume.partitionStart, volume.sectorsPerCluster,
                                 volume.endSector};
  if (!ntfs::ReadAttributeListValue(record0, space, ntfs::Holes::kZeros, &value)) return out;
  std::set<uint32_t> seen{0};
  ntfs::WalkAttributeListEntries(value.data(), static_cast<uint32_t>(value.size()),
                                 [&](uint32_t type, uint32_t recordNumber) {
                                   if (type == ntfs::kDataAttribute && seen.insert(recordNumber).second) {
                                     out.push_back(recordNumber);
                                   }
                                   return true;
                                 });
  return out;
}

// The MFT's records end where its data does: its clusters may go on past that (allocated ahead, or left from
// a larger MFT before a format), and what lies there is no record of this MFT. A size of 0, or one the map
// does not reach, says nothing and cuts nothing.
void CutAtDataEnd(const uint8_t* record0) {
  ntfs::Attribute data;
  if (!ntfs::FindAttribute(record0, ntfs::kDataAttribute, "", &data) || !data.nonResident) return;
  const uint64_t bytes = std::min(data.realSize, data.initializedSize);
  const uint64_t records = bytes / (uint64_t{MftMapRecordSectors} * kSectorSize);
  if (records == 0 || records > MftMapRecordCount()) return;
  uint64_t keep = records * MftMapRecordSectors;
  size_t i = 0;
  for (; i < MftMap.size() && keep != 0; ++i) {
    const uint64_t take = std::min(keep, MftMap[i].sectorCount);
    MftMap[i].sectorCount = take;
    keep -= take;
  }
  MftMap.resize(i);
}

void LoadExtensionRecords(const uint8_t* record0, const Volume& volume) {
  uint8_t record[ntfs::kMaxMftRecordSize];
  for (uint32_t number : ExtensionRecords(record0, volume)) {
    if (!ReadMftRecordByNumber(volume.devicePath, number, record) || !ntfs::IsFileRecord(record)) return;
    if (!AppendDataRuns(record, volume)) return;
  }
}

}  // namespace

uint32_t LoadMftMap(uint32_t partitionStart, const char* devicePath, uint32_t mftStartSector,
                    uint32_t sectorsPerCluster, uint64_t volumeEndSector) {
  MftMap.clear();
  MftMapRecordSectors = ntfs::kMinMftRecordSectors;
  if (sectorsPerCluster == 0 || sectorsPerCluster > kMaxSectorsPerCluster) return 0;
  const Volume volume{devicePath, partitionStart, sectorsPerCluster, volumeEndSector};
  uint8_t record[ntfs::kMaxMftRecordSize];
  // The fix-up comes first: a run list that crosses the first sector's end is only whole after it.
  if (!ntfs::ReadMftRecord(devicePath, mftStartSector, record) || !ntfs::IsFileRecord(record)) return 0;
  // Every record of an MFT has the size of its record 0.
  MftMapRecordSectors = ntfs::MftRecordSectors(record);
  AppendDataRuns(record, volume);
  if (MftMap.empty()) return 0;
  try {
    LoadExtensionRecords(record, volume);
  } catch (const std::bad_alloc&) {
    // The map keeps what was added.
  }
  CutAtDataEnd(record);
  return 1;
}

uint32_t MapMftFromRecordOrMirror(uint32_t partitionStart, const char* devicePath, uint32_t mftSector,
                                  uint32_t mirrorSector, uint32_t sectorsPerCluster, uint64_t volumeEndSector) {
  for (uint32_t at : {mftSector, mirrorSector}) {
    if (at != 0 && LoadMftMap(partitionStart, devicePath, at, sectorsPerCluster, volumeEndSector) == 1 &&
        MftMapSectorCount() != 0) {
      return 1;
    }
  }
  MftMap.clear();
  return 0;
}

uint32_t MftRecordToSector(uint32_t recordNumber, uint32_t& sectorOut) {
  sectorOut = 0;
  return SectorAt(uint64_t{recordNumber} * MftMapRecordSectors, &sectorOut) ? 1 : 0;
}

uint64_t MftMapSectorCount() {
  uint64_t total = 0;
  for (const MftExtent& extent : MftMap) total += extent.sectorCount;
  return total;
}

uint64_t MftMapRecordCount() { return MftMapSectorCount() / MftMapRecordSectors; }

uint32_t ReadMftRecordByNumber(const char* devicePath, uint32_t recordNumber, uint8_t* record, bool* intact) {
  const uint32_t sectors = MftMapRecordSectors;
  if (sectors == 0 || sectors > ntfs::kMaxMftRecordSectors) return 0;
  std::memset(record, 0, ntfs::kMaxMftRecordSize);
  const uint64_t offset = uint64_t{recordNumber} * sectors;
  // The record's sectors where the map puts them, those side by side read at once.
  for (uint32_t i = 0; i < sectors;) {
    uint32_t first = 0, next = 0;
    if (!SectorAt(offset + i, &first)) return 0;
    uint32_t count = 1;
    while (i + count < sectors && SectorAt(offset + i + count, &next) && next == first + count) ++count;
    if (!ntfs::ReadSourceSectors(devicePath, first, count, record + size_t{i} * kSectorSize)) return 0;
    i += count;
  }
  if (ntfs::MftRecordSectors(record) != sectors) return 0;
  ntfs::FixUpRecord(record, intact);
  return 1;
}

bool MftRecordAt(uint32_t sector, uint32_t* recordNumber) {
  uint64_t offset = 0;
  for (const MftExtent& extent : MftMap) {
    if (!extent.sparse && extent.startSector <= sector && sector - extent.startSector < extent.sectorCount) {
      offset += sector - extent.startSector;
      if (offset % MftMapRecordSectors != 0 || offset / MftMapRecordSectors > 0xFFFFFFFF) return false;
      *recordNumber = static_cast<uint32_t>(offset / MftMapRecordSectors);
      return true;
    }
    offset += extent.sectorCount;
  }
  return false;
}

uint32_t ReadMftRecordAtSector(const char* devicePath, uint32_t sector, uint8_t* record, bool* intact) {
  uint32_t number = 0;
  if (MftRecordAt(sector, &number)) return ReadMftRecordByNumber(devicePath, number, record, intact);
  return ntfs::ReadMftRecord(devicePath, sector, record, intact) ? 1 : 0;
}
