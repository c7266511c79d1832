#include "engine/records/file_system_range.h"

#include <algorithm>

#include "engine/records/ntfs_records.h"
#include "engine/records/scan_parameters.h"

bool InChosenFileSystem(const NtfsFoundEntryRecord& entry) {
  return SectorInFileSystem(entry.id, CurrentFileSystem.clusterBase, CurrentFileSystem.lastSector) &&
         (entry.disownedBy == 0 || entry.disownedBy != static_cast<uint16_t>(CurrentFileSystem.id));
}

uint32_t FileSystemFirstSector(const FileSystemRecord& fs) {
  const bool fat = fs.type == records::kFat16 || fs.type == records::kFat32;
  if (fat && fs.reservedSectors != 0 && fs.firstFatSector >= fs.reservedSectors) {
    return fs.firstFatSector - fs.reservedSectors;
  }
  return fs.clusterBase;
}

uint64_t FileSystemEndSector(const FileSystemRecord& fs, const ScanRangeRecord& range) {
  constexpr uint64_t kSectorNumbers = uint64_t{1} << 32;
  if (fs.lastSector != 0) return uint64_t{fs.lastSector} + 1;
  if (range.sectorCount != 0) return std::min(kSectorNumbers, uint64_t{range.startSector} + range.sectorCount);
  return kSectorNumbers;
}
