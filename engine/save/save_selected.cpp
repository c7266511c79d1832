// Saving what the user ticked, and asking where to.
#include <unordered_map>
#include <vector>

#include "engine/fat/save_abort.h"
#include "engine/host/result_tree_host.h"
#include "engine/image/read_sectors.h"
#include "engine/records/fat_records.h"
#include "engine/records/file_trace_hits.h"
#include "engine/records/ntfs_records.h"
#include "engine/records/scan_parameters.h"
#include "engine/save/recovered_file.h"
#include "engine/save/save_progress.h"
#include "engine/save/save_state.h"
#include "engine/save/savers.h"
#include "platform/seams/seams.h"

namespace {

void SaveFileTraceHits(const std::vector<uint32_t>& ids) {
  // Hits have no index of their own; one map serves the whole selection.
  std::unordered_map<uint32_t, size_t> byId = records::GuardAllocation([] {
    std::unordered_map<uint32_t, size_t> map;
    for (size_t i = FileTraceHitList.size(); i > 0; --i) map[FileTraceHitList[i - 1].id] = i - 1;
    return map;
  });
  for (uint32_t id : ids) {
    if (SaveStopRequested()) return;
    const auto found = byId.find(id);
    if (found == byId.end()) continue;
    const FileTraceHit& hit = FileTraceHitList[found->second];
    SaveFileTraceItem(SaveDestination, 1, hit.startSector, hit.fileName);
  }
}

// Each ticked folder whole, by the folder record that holds its node (id: the record's folder id).
template <typename Folder>
void SaveTickedFolders(const std::vector<host::TreeKey>& folders, Folder* (*find)(host::TreeKey), uint32_t Folder::*id,
                       void (*saveFolder)(host::TreeKey, uint32_t, const std::u16string&, const std::u16string&)) {
  for (host::TreeKey key : folders) {
    if (SaveStopRequested()) return;
    if (const Folder* folder = find(key)) {
      const std::u16string name = folder->name;
      saveFolder(key, folder->*id, SaveDestination, name);
    }
  }
}

void SaveFatFiles(const std::vector<uint32_t>& ids) {
  for (uint32_t id : ids) {
    if (SaveStopRequested()) return;
    const FatEntryRecord* entry = FindFatEntry(id);
    if (!entry) continue;
    SaveFileTime = entry->firstDateWord;
    SaveFatItems(SaveDestination, 1, entry->firstCluster, entry->size, entry->name, entry->deleted);
  }
}

void SaveFatSelection(const std::vector<host::TreeKey>& folders, const std::vector<uint32_t>& ids) {
  SaveTickedFolders(folders, FindFatFolderByTreeKey, &FatFolderRecord::firstCluster, SaveFatFolder);
  SaveFatFiles(ids);
}

template <typename Entry>
void SaveNtfsEntry(const Entry& entry) {
  SaveFileTime = entry.creationTime;
  SaveNtfsItems(SaveDestination, entry.name, entry.size, entry.id, 1, entry.deleted);
}

void SaveNtfsFiles(const std::vector<uint32_t>& ids) {
  for (uint32_t id : ids) {
    if (SaveStopRequested()) return;
    if (RecoveryMode == records::kQuickScan) {
      if (const NtfsEntryRecord* entry = FindNtfsEntry(id)) SaveNtfsEntry(*entry);
    } else if (RecoveryMode == records::kExtensiveScan) {
      if (const NtfsFoundEntryRecord* entry = FindNtfsFoundEntry(id)) SaveNtfsEntry(*entry);
    }
  }
}

void SaveNtfsSelection(const std::vector<host::TreeKey>& folders, const std::vector<uint32_t>& ids) {
  SaveTickedFolders(folders, FindNtfsFolderByTreeKey, &NtfsFolderRecord::recordNumber, SaveNtfsFolder);
  SaveNtfsFiles(ids);
}

// Every byte comes from the image the results were found on: without it open (a snapshot loaded from the
// shell, say) each file would be written as zeros. The user is told, nothing is written, and the save
// ends as a stopped one does, without a report of files saved.
bool SourceMissing() {
  if (!save::ToldImageNeeded(kImageNeededText)) return false;
  SaveAbortFlag = 1;
  return true;
}

}  // namespace

void BrowseForSaveFolder(void* ownerWindow) {
  SaveDestination.clear();
  seams::FolderRequest request;
  request.owner = ownerWindow;
  request.title = u"Please select the path to save the data";
  std::u16string chosen = seams::FileDialogs().ChooseFolder(request);
  if (!chosen.empty()) SaveDestination = std::move(chosen);
}

void SaveFileIds(const std::vector<uint32_t>& ids) {
  if (SourceMissing()) return;
  save::SetSelection(save::MeasureSelection({}, ids));
  const uint16_t type = CurrentFileSystem.type;
  if (RecoveryMode == records::kFileTrace) return;
  if (type == records::kFat16 || type == records::kFat32) {
    SaveFatFiles(ids);
  } else if (type == records::kNtfs) {
    SaveNtfsFiles(ids);
  }
  if (!SaveStopRequested()) save::ShowSelectionDone();
}

void SaveSelected() {
  // The ticks stay as they are, for a save once the image is open.
  if (SourceMissing()) return;
  host::ResultListHost* list = host::Current().resultList;
  const std::vector<host::TreeKey> folders = list ? list->SaveFolderSet() : std::vector<host::TreeKey>();
  const std::vector<uint32_t> ids = list ? list->SaveFileSet() : std::vector<uint32_t>();
  save::SetSelection(save::MeasureSelection(folders, ids));
  const uint16_t type = CurrentFileSystem.type;
  if (RecoveryMode == records::kFileTrace) {
    SaveFileTraceHits(ids);
  } else if (type == records::kFat16 || type == records::kFat32) {
    SaveFatSelection(folders, ids);
  } else if (type == records::kNtfs) {
    SaveNtfsSelection(folders, ids);
  }
  if (!SaveStopRequested()) save::ShowSelectionDone();
  if (list) list->EmptyCheckSets();
  if (host::ResultTreeHost* tree = host::Current().resultTree) {
    const host::TreeKey top = tree->GetRootItem();
    tree->ClearChecks(top);
    tree->RestoreListChecks(top);
  }
}
