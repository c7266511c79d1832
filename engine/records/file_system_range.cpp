#include "engine/records/file_system_range.h"

#include "engine/records/ntfs_records.h"
#include "engine/records/scan_parameters.h"

bool InChosenFileSystem(const NtfsFoundEntryRecord& entry) {
  return SectorInFileSystem(entry.id, CurrentFileSystem.clusterBase, CurrentFileSystem.lastSector);
}
