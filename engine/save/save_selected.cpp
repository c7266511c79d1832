// Saving what the user ticked, and asking where to.
#include <algorithm>
#include <optional>
#include <unordered_map>
#include <unordered_set>
#include <utility>
#include <vector>

#include "engine/fat/save_abort.h"
#include "engine/host/result_tree_host.h"
#include "engine/image/read_sectors.h"
#include "engine/records/fat_records.h"
#include "engine/records/file_trace_hits.h"
#include "engine/records/ntfs_records.h"
#include "engine/records/scan_parameters.h"
#include "engine/save/folder_files.h"
#include "engine/save/folder_plan.h"
#include "engine/save/recovered_file.h"
#include "engine/save/save_layout.h"
#include "engine/save/save_progress.h"
#include "engine/save/save_state.h"
#include "engine/save/savers.h"
#include "platform/seams/seams.h"

namespace {

// Files ticked one by one are saved by their record ids, not in the order they were ticked: which of two of
// one name keeps it depends on the ticks alone.
std::vector<uint32_t> InRecordOrder(std::vector<uint32_t> ids) {
  std::sort(ids.begin(), ids.end());
  return ids;
}

void SaveFileTraceHits(const std::vector<uint32_t>& ids) {
  save::SetSelection(save::MeasureHits(ids));
  // Hits have no index of their own; one map serves the whole selection.
  std::unordered_map<uint32_t, size_t> byId = records::GuardAllocation([] {
    std::unordered_map<uint32_t, size_t> map;
    for (size_t i = FileTraceHitList.size(); i > 0; --i) map[FileTraceHitList[i - 1].id] = i - 1;
    return map;
  });
  for (uint32_t id : InRecordOrder(ids)) {
    if (SaveStopRequested()) return;
    const auto found = byId.find(id);
    if (found == byId.end()) continue;
    const FileTraceHit& hit = FileTraceHitList[found->second];
    SaveFileTraceItem(SaveDestination, 1, hit.startSector, hit.fileName);
  }
}

// The folders of the selection by the records of a file system: FAT folders by first cluster, NTFS folders by
// record number.
template <typename Folder>
save::SaveLayout LayoutOf(uint32_t rootId, Folder* (*find)(uint32_t)) {
  return save::SaveLayout(rootId, [find](uint32_t id) -> std::optional<save::SaveLayout::Folder> {
    const Folder* folder = find(id);
    if (folder == nullptr) return std::nullopt;
    return save::SaveLayout::Folder{folder->parentId, folder->name, folder->deleted != 0};
  });
}

// The ticked folders (whole) and single files of one file system, each in the place the layout gives it. The
// folders they go into are made first, so that a file never takes the name of a folder the save makes.
template <typename Folder, typename Entry>
struct Selection {
  std::vector<std::pair<host::TreeKey, const Folder*>> folders;
  std::vector<const Entry*> files;
};

// How a file system's records are found for a selection: folders by tree key and by id (Folder::*id), the files of
// one ticked id (entriesOf: an NTFS file with several names, hard links, is one file).
template <typename Folder, typename Entry>
struct Finders {
  Folder* (*folderOfKey)(host::TreeKey);
  Folder* (*folderOf)(uint32_t);
  uint32_t Folder::*id;
  std::vector<Entry*> (*entriesOf)(uint32_t);
};

// Whether the folder of that id is one of whole (the ids of the folders saved whole) or lies below one.
template <typename Folder, typename Entry>
bool InWholeFolder(uint32_t id, const std::unordered_set<uint32_t>& whole, const Finders<Folder, Entry>& find) {
  std::unordered_set<uint32_t> seen;
  while (records::GuardAllocation([&] { return seen.insert(id).second; })) {
    if (whole.count(id) != 0) return true;
    const Folder* folder = find.folderOf(id);
    if (folder == nullptr) return false;
    id = folder->parentId;
  }
  return false;
}

// A file ticked on its own is saved under each of its names, but a name in a folder saved whole is saved there.
template <typename Folder, typename Entry>
Selection<Folder, Entry> Select(const std::vector<host::TreeKey>& keys, const std::vector<uint32_t>& ids,
                                const Finders<Folder, Entry>& find) {
  Selection<Folder, Entry> selection;
  records::GuardAllocation([&] {
    std::unordered_set<uint32_t> whole;
    for (host::TreeKey key : keys) {
      if (const Folder* folder = find.folderOfKey(key)) {
        selection.folders.emplace_back(key, folder);
        whole.insert(folder->*find.id);
      }
    }
    std::unordered_set<const Entry*> taken;
    for (uint32_t id : InRecordOrder(ids)) {
      const std::vector<Entry*> entries = find.entriesOf(id);
      for (const Entry* entry : entries) {
        if ((entries.size() == 1 || !InWholeFolder(entry->parentId, whole, find)) && taken.insert(entry).second) {
          selection.files.push_back(entry);
        }
      }
    }
    return 0;
  });
  return selection;
}

std::vector<FatEntryRecord*> FatEntriesOf(uint32_t id) {
  FatEntryRecord* entry = FindFatEntry(id);
  return entry != nullptr ? std::vector<FatEntryRecord*>{entry} : std::vector<FatEntryRecord*>{};
}

// What a save of the selection writes, for the saving dialog: the files of the folders walked, as the folder save
// writes them, and the files saved on their own, each once (a file of several names once for each name it is
// saved under).
template <typename Entry>
save::SelectionSize Measure(const std::vector<uint32_t>& walked, const std::vector<const Entry*>& files) {
  save::SelectionSize size = save::MeasureFolders(walked);
  for (const Entry* entry : files) size.AddWanted(entry->name, entry->deleted, entry->size);
  return size;
}

// How a file system's folders are saved: the walk of the folders ticked whole, the saver of a folder's files, and
// that of one file.
template <typename Entry>
struct Savers {
  std::vector<uint32_t> (*planTrees)(save::FolderPlan&, const std::vector<save::WholeFolder>&);
  void (*saveFolderFiles)(uint32_t folderId, const std::u16string& destination);
  void (*saveFile)(const Entry&, const std::u16string&);
};

// The selection's folders are planned whole (those on the way to what was ticked, those ticked whole and every
// folder beneath them) and made before any file is written: a file never takes the name of a folder the save
// makes, and of a live and a deleted folder of one name the live one keeps it, however the ticks came.
template <typename Folder, typename Entry>
void SaveInLayout(const Selection<Folder, Entry>& selection, save::SaveLayout& layout, uint32_t Folder::*id,
                  const Savers<Entry>& savers) {
  for (const auto& picked : selection.folders) layout.Include(picked.second->*id);
  for (const Entry* entry : selection.files) layout.Include(entry->parentId);
  save::FolderPlan plan;
  std::vector<save::WholeFolder> whole;
  for (const auto& picked : selection.folders) {
    layout.Plan(plan, picked.second->*id);
    records::GuardAllocation([&] { return whole.push_back({picked.first, picked.second->*id}), 0; });
  }
  for (const Entry* entry : selection.files) layout.Plan(plan, entry->parentId);
  const std::vector<uint32_t> walked = savers.planTrees(plan, whole);
  save::SetSelection(Measure(walked, selection.files));
  plan.Make(SaveDestination);
  save::SaveWalkedFolders(savers.saveFolderFiles, walked, plan);
  for (const Entry* entry : selection.files) {
    if (SaveStopRequested()) return;
    savers.saveFile(*entry, plan.PathOf(entry->parentId));
  }
}

// Find's save: the files of the ids, each under each of its names, in the chosen folder itself.
template <typename Folder, typename Entry>
void SaveFlat(const std::vector<uint32_t>& ids, const Finders<Folder, Entry>& find,
              void (*saveFile)(const Entry&, const std::u16string&)) {
  const Selection<Folder, Entry> selection = Select({}, ids, find);
  save::SetSelection(Measure<Entry>({}, selection.files));
  for (const Entry* entry : selection.files) {
    if (SaveStopRequested()) return;
    saveFile(*entry, SaveDestination);
  }
}

void SaveFatEntry(const FatEntryRecord& entry, const std::u16string& destination) {
  SetFatSaveTimes(entry);
  SaveFatItems(destination, 1, entry.firstCluster, entry.size, entry.name, entry.deleted);
}

const Finders<FatFolderRecord, FatEntryRecord> kFatFinders{FindFatFolderByTreeKey, FindFatFolder,
                                                           &FatFolderRecord::firstCluster, FatEntriesOf};

void SaveFatSelection(const std::vector<host::TreeKey>& folders, const std::vector<uint32_t>& ids) {
  save::SaveLayout layout = LayoutOf(records::kFatRootId, FindFatFolder);
  SaveInLayout(Select(folders, ids, kFatFinders), layout, &FatFolderRecord::firstCluster,
               Savers<FatEntryRecord>{save::PlanFatFolderTrees, SaveFatFolderFiles, SaveFatEntry});
}

template <typename Entry>
void SaveNtfsEntry(const Entry& entry, const std::u16string& destination) {
  SaveFileTime = entry.creationTime;
  SaveNtfsItems(destination, entry.name, entry.size, entry.id, 1, entry.deleted);
}

const Finders<NtfsFolderRecord, NtfsEntryRecord> kNtfsFinders{FindNtfsFolderByTreeKey, FindNtfsFolder,
                                                              &NtfsFolderRecord::recordNumber, FindNtfsEntries};
const Finders<NtfsFolderRecord, NtfsFoundEntryRecord> kNtfsFoundFinders{
    FindNtfsFolderByTreeKey, FindNtfsFolder, &NtfsFolderRecord::recordNumber, FindNtfsFoundEntries};

void SaveNtfsSelection(const std::vector<host::TreeKey>& folders, const std::vector<uint32_t>& ids) {
  save::SaveLayout layout = LayoutOf(records::kNtfsRootRecord, FindNtfsFolder);
  if (RecoveryMode == records::kQuickScan) {
    SaveInLayout(Select(folders, ids, kNtfsFinders), layout, &NtfsFolderRecord::recordNumber,
                 Savers<NtfsEntryRecord>{save::PlanNtfsFolderTrees, SaveNtfsFolderFiles, SaveNtfsEntry<NtfsEntryRecord>});
  } else if (RecoveryMode == records::kExtensiveScan) {
    SaveInLayout(Select(folders, ids, kNtfsFoundFinders), layout, &NtfsFolderRecord::recordNumber,
                 Savers<NtfsFoundEntryRecord>{save::PlanNtfsFolderTrees, SaveNtfsFolderFiles,
                                              SaveNtfsEntry<NtfsFoundEntryRecord>});
  }
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
  const uint16_t type = CurrentFileSystem.type;
  if (RecoveryMode == records::kFileTrace) return;
  if (type == records::kFat16 || type == records::kFat32) {
    SaveFlat(ids, kFatFinders, SaveFatEntry);
  } else if (type == records::kNtfs && RecoveryMode == records::kQuickScan) {
    SaveFlat(ids, kNtfsFinders, SaveNtfsEntry<NtfsEntryRecord>);
  } else if (type == records::kNtfs && RecoveryMode == records::kExtensiveScan) {
    SaveFlat(ids, kNtfsFoundFinders, SaveNtfsEntry<NtfsFoundEntryRecord>);
  }
  if (!SaveStopRequested()) save::ShowSelectionDone();
}

void SaveSelected() {
  // The ticks stay as they are, for a save once the image is open.
  if (SourceMissing()) return;
  host::ResultListHost* list = host::Current().resultList;
  const std::vector<host::TreeKey> folders = list ? list->SaveFolderSet() : std::vector<host::TreeKey>();
  const std::vector<uint32_t> ids = list ? list->SaveFileSet() : std::vector<uint32_t>();
  const uint16_t type = CurrentFileSystem.type;
  if (RecoveryMode == records::kFileTrace) {
    SaveFileTraceHits(ids);
  } else if (type == records::kFat16 || type == records::kFat32) {
    SaveFatSelection(folders, ids);
  } else if (type == records::kNtfs) {
    SaveNtfsSelection(folders, ids);
  }
  // A save the user stopped leaves the ticks as they were, for a save of the rest.
  if (SaveStopRequested()) return;
  save::ShowSelectionDone();
  if (list) list->EmptyCheckSets();
  if (host::ResultTreeHost* tree = host::Current().resultTree) {
    const host::TreeKey top = tree->GetRootItem();
    tree->ClearChecks(top);
    tree->RestoreListChecks(top);
  }
}
