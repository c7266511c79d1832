#include "engine/scan/chosen_ntfs_files.h"

#include <algorithm>
#include <unordered_set>

#include "engine/ntfs/data_runs.h"
#include "engine/ntfs/file_records.h"
#include "engine/ntfs/mft_map.h"
#include "engine/ntfs/volume_records.h"
#include "engine/records/extensive_candidates.h"
#include "engine/records/file_system_range.h"
#include "engine/records/ntfs_records.h"
#include "engine/records/pause_gate.h"
#include "engine/records/scan_control.h"
#include "engine/records/scan_parameters.h"
#include "engine/scan/chosen_fs.h"
#include "engine/scan/chosen_fs_steps.h"
#include "engine/scan/scan_end.h"

namespace chosen {

namespace {

constexpr uint32_t kMirrorRecord = 1;
// A mirror known only from the boot sector holds the first four records.
constexpr uint64_t kMirrorRecords = 4;

ntfs::FileRecordReader ChosenFileRecords() {
  const FileSystemRecord& fs = CurrentFileSystem;
  const uint64_t end = FileSystemEndSector(fs, ScanRange);
  return ntfs::FileRecordReader(ntfs::ClusterSpace{ntfs::CurrentDevicePath(), fs.clusterBase, fs.sectorsPerCluster, end},
                                fs.clusterBase, end - 1);
}

// The record the map puts at sector, read through the map, with its number.
bool ReadPlacedRecord(uint32_t sector, uint32_t* number, ntfs::Record* record) {
  return MftRecordAt(sector, number) &&
         ReadMftRecordByNumber(ntfs::CurrentDevicePath(), *number, record->data()) == 1 &&
         ntfs::IsFileRecord(record->data());
}

}  // namespace

MftMirror::MftMirror() {
  const FileSystemRecord& fs = CurrentFileSystem;
  ntfs::Record record;
  ntfs::Attribute data;
  std::vector<DataRun> runs;
  if (ReadMftRecordByNumber(ntfs::CurrentDevicePath(), kMirrorRecord, record.data()) == 1 &&
      ntfs::IsFileRecord(record.data()) && ntfs::FindAttribute(record.data(), ntfs::kDataAttribute, "", &data) &&
      data.nonResident) {
    ntfs::DecodeRunList(record.data(), data.runListStart, data.End(), runs);
  }
  for (const DataRun& run : runs) {
    if (run.sparse) break;
    extents_.emplace_back(fs.clusterBase + uint64_t{run.startCluster} * fs.sectorsPerCluster,
                          uint64_t{run.length} * fs.sectorsPerCluster);
  }
  if (extents_.empty() && fs.mftMirrorSector != 0) {
    extents_.emplace_back(fs.mftMirrorSector, kMirrorRecords * MftMapRecordSectors);
  }
}

bool MftMirror::Holds(uint32_t sector) const {
  for (const auto& [first, count] : extents_) {
    if (first <= sector && sector - first < count) return true;
  }
  return false;
}

RecordOwners::RecordOwners(const MftMirror& mirror) : mirror_(mirror) {
  const FileSystemRecord& fs = CurrentFileSystem;
  mftRecords_ = MftMapRecordCount();
  // A boot sector gave the volume's size; else its own records may. Whichever map was built bounds the volume.
  const uint64_t clusters = mftRecords_ != 0 ? ntfs::VolumeClusters(ntfs::CurrentDevicePath(), fs.sectorsPerCluster) : 0;
  if (clusters != 0) ownEnd_ = fs.clusterBase + clusters * fs.sectorsPerCluster;
  endKnown_ = fs.mftSector != 0 || clusters != 0;
}

bool RecordOwners::OutsideMft(uint32_t sector) const {
  uint32_t number = 0;
  return mftRecords_ != 0 && !MftRecordAt(sector, &number) && !mirror_.Holds(sector);
}

bool RecordOwners::Foreign(uint32_t sector) const {
  const FileSystemRecord& chosen = CurrentFileSystem;
  for (const FileSystemRecord& fs : FoundFileSystemList) {
    if (fs.type == records::kNtfs && fs.clusterBase > chosen.clusterBase &&
        SectorInFileSystem(sector, fs.clusterBase, fs.lastSector)) {
      return true;
    }
  }
  if (ownEnd_ != 0 && sector >= ownEnd_) return true;
  return !endKnown_ && OutsideMft(sector);
}

bool RecordOwners::Earlier(uint32_t sector) const { return endKnown_ && OutsideMft(sector) && !Foreign(sector); }

uint32_t RecordOwners::EarlierId(uint32_t number) const {
  const uint64_t id = mftRecords_ + number;
  return id < records::kLostDirId ? static_cast<uint32_t>(id) : records::kLostDirId;
}

bool MftMirror::CopyOf(uint32_t sector, uint32_t* recordNumber) const {
  uint64_t offset = 0;
  for (const auto& [first, count] : extents_) {
    if (first <= sector && sector - first < count) {
      offset += sector - first;
      if (offset % MftMapRecordSectors != 0 || offset / MftMapRecordSectors > 0xFFFFFFFF) return false;
      const uint32_t number = static_cast<uint32_t>(offset / MftMapRecordSectors);
      // The MFT's own record stands for the file when it is one; a damaged one leaves the copy to stand in.
      uint32_t own = 0;
      ntfs::Record record;
      if (MftRecordToSector(number, own) != 1 || own == sector ||
          ReadMftRecordByNumber(ntfs::CurrentDevicePath(), number, record.data()) != 1 ||
          !ntfs::IsFileRecord(record.data())) {
        return false;
      }
      *recordNumber = number;
      return true;
    }
    offset += count;
  }
  return false;
}

void RereadFolderNames() {
  ntfs::FileRecordReader files = ChosenFileRecords();
  for (size_t i = 0; i < NtfsFolderCandidateList.size() && !ScanStopRequested(); ++i) {
    NtfsFolderCandidate& candidate = NtfsFolderCandidateList[i];
    if (!IsChosenMark(candidate.mark)) continue;
    uint32_t number = 0;
    ntfs::Record record;
    if (!ReadPlacedRecord(candidate.sector, &number, &record)) continue;
    files.Gather(record, number);
    FileNameInfo name;
    if (!files.ReadName(record, number, &name)) continue;
    candidate.name = name.name;
    candidate.parentId = name.parent;
    candidate.creationTime = name.creation;
    candidate.modificationTime = name.modification;
  }
}

namespace {

// A further name of a file read again (a hard link): listed after the files are read, as an entry of its own.
struct FurtherName {
  uint32_t id;
  FileNameInfo name;
};

void RereadFoundFile(ntfs::FileRecordReader& files, const MftMirror& mirror, NtfsFoundEntryRecord& entry,
                     std::vector<FurtherName>* further) {
  uint32_t sector = entry.id;
  uint32_t number = 0;
  if (mirror.CopyOf(sector, &number) && MftRecordToSector(number, sector) != 1) return;
  ntfs::Record record;
  if (!ReadPlacedRecord(sector, &number, &record)) return;
  uint32_t base = 0, baseSector = 0;
  if (files.ListedByItsBase(record, number, &base, &baseSector)) {
    if (ReadMftRecordByNumber(ntfs::CurrentDevicePath(), base, record.data()) != 1) return;
    number = base;
    sector = baseSector;
  }
  const uint16_t flags = ntfs::RecordFlags(record.data());
  if (flags == ntfs::kDeletedDirectory || flags == ntfs::kDirectoryInUse) {
    entry.name.clear();  // a folder's extension record: the folder is listed from its own record
    return;
  }
  files.Gather(record, number);
  FileNameInfo name;
  if (files.ReadName(record, number, &name)) {
    entry.name = name.name;
    entry.parentId = name.parent;
    entry.creationTime = name.creation;
    entry.modificationTime = name.modification;
    for (FileNameInfo& link : files.ReadFurtherNames(record, number, name)) {
      records::GuardAllocation([&] { further->push_back({sector, std::move(link)}); });
    }
  }
  entry.size = files.ReadSize(record, number);
  if (flags == ntfs::kDeletedFile || flags == ntfs::kFileInUse) entry.deleted = flags == ntfs::kDeletedFile ? 1 : 0;
  entry.id = sector;
}

// Each further name of a file still listed becomes an entry beside its first, in the folder it names.
void ListFurtherNames(const std::vector<FurtherName>& further) {
  for (const FurtherName& link : further) {
    NtfsFoundEntryRecord* first = FindNtfsFoundEntry(link.id);
    if (first == nullptr || !InChosenFileSystem(*first)) continue;
    first->linked = true;
    const NtfsFoundEntryRecord copy = *first;
    AppendNtfsFoundEntry(link.name.name, copy.id, link.name.parent, copy.recordNumber, link.name.creation,
                         copy.modificationTime, copy.size, copy.fileSystemMark, copy.deleted)
        .linked = true;
  }
}

}  // namespace

void RereadFoundFiles() {
  ntfs::FileRecordReader files = ChosenFileRecords();
  const MftMirror mirror;
  const RecordOwners owners(mirror);
  // Whose each record is costs no read: a stop never leaves another volume's records in this one's tree.
  for (NtfsFoundEntryRecord& entry : NtfsFoundEntryList) {
    if (!InChosenFileSystem(entry)) continue;
    if (owners.Foreign(entry.id)) {
      entry.disownedBy = ChosenFileSystemNumber();
    } else if (owners.Earlier(entry.id)) {
      // Freed by the format: its folder, if found, is an earlier record too.
      if (!entry.earlier) entry.earlierParent = entry.parentId;
      entry.earlier = true;
      entry.deleted = 1;
      entry.parentId = owners.EarlierId(entry.earlierParent);
    }
  }
  // A stop ends the reading, never the removal below: a file left without a name has no place in the tree.
  std::vector<FurtherName> further;
  for (size_t i = 0; i < NtfsFoundEntryList.size() && !ScanStopRequested(); ++i) {
    ScanPauseGate.Pass();
    NtfsFoundEntryRecord& entry = NtfsFoundEntryList[i];
    if (InChosenFileSystem(entry) && !owners.Earlier(entry.id)) RereadFoundFile(files, mirror, entry, &further);
  }
  // Entries of further names a choice before listed go with the others of their record, to be listed again.
  std::unordered_set<uint32_t> listed;
  const size_t removed = NtfsFoundEntryList.RemoveIf([&](const NtfsFoundEntryRecord& entry) {
    if (!InChosenFileSystem(entry)) return false;
    return entry.name.empty() || !records::GuardAllocation([&] { return listed.insert(entry.id).second; });
  });
  ScanCounters.fileRecordCount -= static_cast<uint32_t>(std::min<size_t>(removed, ScanCounters.fileRecordCount));
  ListFurtherNames(further);
}

}  // namespace chosen
