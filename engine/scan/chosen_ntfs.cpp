// ReadChosenNtfs: an NTFS file system that an Extensive Scan found. Its folders are the folder candidates
// of its number; its files stay in NtfsFoundEntryList and are told apart from other file systems' files by
// the sector of their record.
#include <string>

#include "engine/fat/fat_time.h"
#include "engine/ntfs/mft_map.h"
#include "engine/ntfs/mft_record.h"
#include "engine/records/extensive_candidates.h"
#include "engine/records/file_system_range.h"
#include "engine/records/pause_gate.h"
#include "engine/records/extensive_lists.h"
#include "engine/records/result_tree_builders.h"
#include "engine/records/scan_records.h"
#include "engine/listing/file_filter_table.h"
#include "engine/listing/result_list_rows.h"
#include "engine/scan/chosen_fs.h"
#include "engine/scan/chosen_fs_steps.h"
#include "engine/scan/chosen_ntfs_files.h"
#include "engine/scan/extensive_report.h"
#include "engine/scan/quick_scan.h"
#include "engine/scan/scan_end.h"

namespace {

// Every folder candidate of the chosen number but the root becomes a folder of NtfsFolderList; one whose record
// lies outside the file system's sectors, or is another volume's, belongs to another volume, whatever geometry
// placed it. One that the map did not name either (its name lies in an extension record) is left out: its files
// go to "Lost Dir". A folder of an earlier MFT (one a format replaced) is deleted, and keeps its tree with the
// other earlier records under "Lost Dir".
void ExtractNtfsFolders() {
  chosen::BeginStep(u"Extracting entries for the file system...");
  chosen::RereadFolderNames();
  chosen::StepProgress progress;
  const chosen::MftMirror mirror;
  const chosen::RecordOwners owners(mirror);
  const size_t count = NtfsFolderCandidateList.size();
  for (size_t i = 0; i < count; ++i) {
    if (ScanStopRequested()) return;
    const NtfsFolderCandidate& candidate = NtfsFolderCandidateList[i];
    const bool root = candidate.mftNumber == records::kNtfsRootRecord || candidate.name == u".";
    const bool inside =
        SectorInFileSystem(candidate.sector, CurrentFileSystem.clusterBase, CurrentFileSystem.lastSector) &&
        !owners.Foreign(candidate.sector);
    uint32_t copied = 0;
    if (chosen::IsChosenMark(candidate.mark) && !root && inside && !candidate.name.empty() &&
        !mirror.CopyOf(candidate.sector, &copied)) {
      if (owners.Earlier(candidate.sector)) {
        AppendNtfsFolder(candidate.name, owners.EarlierId(candidate.mftNumber), owners.EarlierId(candidate.parentId),
                         candidate.creationTime, candidate.modificationTime, host::kNoTreeKey, 1);
      } else {
        AppendNtfsFolder(candidate.name, candidate.mftNumber, candidate.parentId, candidate.creationTime,
                         candidate.modificationTime, host::kNoTreeKey, candidate.deleted);
      }
    }
    progress.Show(i, count);
  }
}

// The map of the MFT, by which a file whose attributes lie in several records is read: from the record 0
// that the boot sector names (or its mirror), else from the found record 0 ("$MFT") inside the file system.
// Without either the map is empty, never another volume's.
void MapChosenMft() {
  const FileSystemRecord& fs = CurrentFileSystem;
  const char* device = ntfs::CurrentDevicePath();
  const uint64_t end = FileSystemEndSector(fs, ScanRange);
  if (MapMftFromRecordOrMirror(fs.clusterBase, device, fs.mftSector, fs.mftMirrorSector, fs.sectorsPerCluster, end) ==
      1) {
    return;
  }
  for (const NtfsFoundEntryRecord& entry : NtfsFoundEntryList) {
    if (entry.name != u"$MFT" || !InChosenFileSystem(entry)) continue;
    if (MapMftFromRecordOrMirror(fs.clusterBase, device, entry.id, 0, fs.sectorsPerCluster, end) == 1) return;
  }
}

}  // namespace

// As after a Quick Scan, a stop does not end this step: every file read gets its place in the tree.
void CollectLostFoundNtfsFolders(uint32_t& counter) {
  chosen::BeginStep(u"Searching For Lost Data");
  const size_t before = NtfsFolderList.size();
  AppendNtfsFolder(u"Lost Dir", records::kLostDirId, records::kNtfsRootRecord, 0, 0, host::kNoTreeKey, 0);
  chosen::StepProgress progress;
  const size_t total = before + NtfsFoundEntryList.size();
  for (size_t i = 0; i < before; ++i) {
    ScanPauseGate.Pass();
    progress.Show(i, total);
    AdoptLostNtfsParent(NtfsFolderList[i].parentId, counter);
  }
  // Files too: one whose folder record is gone would otherwise be listed nowhere.
  for (size_t i = 0; i < NtfsFoundEntryList.size(); ++i) {
    ScanPauseGate.Pass();
    progress.Show(before + i, total);
    const NtfsFoundEntryRecord& entry = NtfsFoundEntryList[i];
    if (InChosenFileSystem(entry)) AdoptLostNtfsParent(entry.parentId, counter);
  }
}

void ReadChosenNtfs() {
  FreeNtfsRecordLists();
  // The map first: the folders and files are read through it.
  MapChosenMft();
  ExtractNtfsFolders();
  chosen::StopEndsOneStep();
  chosen::RereadFoundFiles();
  chosen::StopEndsOneStep();
  uint32_t counter = 0;
  CollectLostFoundNtfsFolders(counter);
  chosen::BuildChosenTree(u"Please wait creating tree", AddNtfsFolders, records::kNtfsRootRecord);
}

void ListNtfsFoundFolder(uint32_t folder) {
  ResultListRows rows;
  if (folder != records::kNtfsRootRecord) rows.AddParentRow();
  for (const NtfsFolderRecord& sub : NtfsFolderList) {
    if (sub.parentId != folder) continue;
    rows.AddFolder(sub.name, {sub.deleted != 0 ? u"Deleted Folder" : u"Folder", u"0", FileTimeText(sub.creationTime),
                              FileTimeText(sub.modificationTime), extensive::Decimal(sub.treeKey)});
  }
  for (const NtfsFoundEntryRecord& entry : NtfsFoundEntryList) {
    if (entry.parentId != folder || !InChosenFileSystem(entry) || !PassesFileFilters(entry.name)) continue;
    rows.AddFile(entry.name, {rows.FileType(entry.name, entry.deleted != 0), extensive::Decimal(entry.size),
                              FileTimeText(entry.creationTime), FileTimeText(entry.modificationTime),
                              extensive::Decimal(entry.id)});
  }
}
