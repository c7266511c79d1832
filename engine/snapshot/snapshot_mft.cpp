#include "engine/snapshot/snapshot_mft.h"

#include <algorithm>
#include <set>
#include <unordered_map>
#include <vector>

#include "engine/ntfs/file_name_attribute.h"
#include "engine/ntfs/mft_map.h"
#include "engine/ntfs/mft_record.h"
#include "engine/records/file_names.h"
#include "engine/records/file_system_range.h"
#include "engine/records/ntfs_records.h"
#include "engine/scan/chosen_ntfs_files.h"
#include "engine/snapshot/snapshot_source.h"

namespace snapshot {

namespace {

// The file's record where the snapshot says it was found, when it is a file record of the name it was found
// under (one of its names; not one the user gave it). A record that keeps no name of its own (its names are in
// other records of the file) is taken on its being a file record. Read through the MFT's map when it places a
// record there, as the scans and the savers read it: a record of a fragmented MFT may straddle two extents.
bool ReadEntryRecord(const NtfsEntryRecord& entry, const char* devicePath, uint8_t* record) {
  if (ReadMftRecordAtSector(devicePath, entry.id, record) != 1 || !ntfs::IsFileRecord(record)) return false;
  std::vector<FileNameInfo> names;
  ReadLinkNames(record, &names);
  FileNameInfo preferred;
  if (ReadPreferredFileName(record, preferred) == 1) names.push_back(preferred);
  const std::u16string_view found = records::NameOnDisk(entry);
  return names.empty() ||
         std::any_of(names.begin(), names.end(), [&](const FileNameInfo& name) { return name.name == found; });
}

// Whether the source holds the snapshot's files where it says they were found. A snapshot without files
// proves nothing.
bool SourceHoldsEntries(const std::vector<NtfsEntryRecord>& entries, const char* devicePath) {
  uint8_t record[ntfs::kMaxMftRecordSize];
  for (size_t place : CheckedPlaces(entries.size())) {
    if (!ReadEntryRecord(entries[place], devicePath, record)) return false;
  }
  return !entries.empty();
}

// The MFT found from where the files' records lie: a record that keeps its own number n lies n records
// after record 0 when the MFT's first extent holds it. A start counts when the map built from it puts the
// record back where it was found. false (and no map) when none does.
bool MapMftFromEntries(const FileSystemRecord& fs, uint64_t end, const std::vector<NtfsEntryRecord>& entries,
                       const char* devicePath) {
  uint8_t record[ntfs::kMaxMftRecordSize];
  std::set<uint32_t> tried;
  for (size_t place : CheckedPlaces(entries.size())) {
    const NtfsEntryRecord& entry = entries[place];
    uint32_t number = 0;
    MftMap.clear();  // the records are read where they lie until a start is found
    if (!ReadEntryRecord(entry, devicePath, record) || !ntfs::OwnRecordNumber(record, &number)) continue;
    const uint64_t offset = uint64_t{number} * ntfs::MftRecordSectors(record);
    if (offset > entry.id || !tried.insert(static_cast<uint32_t>(entry.id - offset)).second) continue;
    const uint32_t start = static_cast<uint32_t>(entry.id - offset);
    uint32_t placed = 0;
    if (MapMftFromRecordOrMirror(fs.clusterBase, devicePath, start, 0, fs.sectorsPerCluster, end) == 1 &&
        MftRecordToSector(number, placed) == 1 && placed == entry.id) {
      return true;
    }
  }
  MftMap.clear();
  return false;
}

}  // namespace

void MarkLoadedEntries() {
  std::unordered_map<uint32_t, uint32_t> names;
  records::GuardAllocation([&] {
    for (const NtfsEntryRecord& entry : NtfsEntryList) ++names[entry.id];
  });
  const bool mapped = MftMapRecordCount() != 0;
  const chosen::MftMirror mirror;
  for (NtfsEntryRecord& entry : NtfsEntryList) {
    entry.linked = names.find(entry.id)->second > 1;
    uint32_t number = 0;
    entry.earlier = mapped && !MftRecordAt(entry.id, &number) && !mirror.Holds(entry.id);
  }
}

bool MapSnapshotMft(const LoadedSnapshot& loaded, const char* devicePath) {
  const std::vector<MftExtent> previous = MftMap;
  const uint32_t previousRecordSectors = MftMapRecordSectors;
  const FileSystemRecord& fs = loaded.fileSystem;
  const uint64_t end = FileSystemEndSector(fs, loaded.scanRange);
  bool matches = false;
  if (MapMftFromRecordOrMirror(fs.clusterBase, devicePath, fs.mftSector, fs.mftMirrorSector, fs.sectorsPerCluster,
                               end) == 1) {
    // Two volumes of one size put their MFTs at the same sector: the files must be there too.
    matches = loaded.ntfsEntries.empty() || SourceHoldsEntries(loaded.ntfsEntries, devicePath);
  } else {
    // No boot sector named the MFT (a file system rebuilt without one), or neither copy of its record 0
    // reads: the files' own records tell whether this is the source, read through the map they give.
    MapMftFromEntries(fs, end, loaded.ntfsEntries, devicePath);
    matches = SourceHoldsEntries(loaded.ntfsEntries, devicePath);
  }
  if (!matches) {
    MftMap = previous;
    MftMapRecordSectors = previousRecordSectors;
  }
  return matches;
}

}  // namespace snapshot
