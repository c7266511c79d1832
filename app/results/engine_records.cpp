// The record queries over the engine's lists of the current result.
#include <algorithm>

#include "app/results/result_records.h"
#include "engine/fat/fat_time.h"
#include "engine/records/child_index.h"
#include "engine/records/fat_records.h"
#include "engine/records/file_names.h"
#include "engine/records/file_trace_hits.h"
#include "engine/records/ntfs_records.h"
#include "engine/records/scan_parameters.h"
#include "engine/listing/file_name_case.h"
#include "engine/scan/chosen_fs.h"

namespace results {
namespace {

bool ExtensiveNtfs() { return RecoveryMode == records::kExtensiveScan && CurrentFileSystem.type == records::kNtfs; }

ResultKind CurrentKind() {
  if (RecoveryMode == records::kFileTrace) return ResultKind::kFileTrace;
  if (CurrentFileSystem.type == records::kFat16 || CurrentFileSystem.type == records::kFat32) return ResultKind::kFat;
  if (CurrentFileSystem.type == records::kNtfs) return ResultKind::kNtfs;
  return ResultKind::kNone;
}

// What read answers of the FAT or NTFS folder record with that id; none when there is none.
template <typename Read>
auto WithFolder(uint32_t folderId, Read read) -> std::optional<decltype(read(FatFolderRecord{}))> {
  if (CurrentKind() == ResultKind::kFat) {
    if (const FatFolderRecord* f = FindFatFolder(folderId)) return read(*f);
  } else if (CurrentKind() == ResultKind::kNtfs) {
    if (const NtfsFolderRecord* f = FindNtfsFolder(folderId)) return read(*f);
  }
  return std::nullopt;
}

// Gives a record found by id its new name; false when none was found.
template <typename Record>
bool Rename(Record* record, const std::u16string& name) {
  if (record == nullptr) return false;
  record->name = name;
  return true;
}

// Gives a file found by id the user's name, keeping the one it was found under; false when none was found.
template <typename File>
bool RenameFound(File* file, const std::u16string& name) {
  if (file == nullptr) return false;
  records::RenameFile(*file, name);
  return true;
}

// The ids of the files whose parent is one of folderIds and that keep answers true for, in list order,
// through the list's index by parent: a click or a save asks for a few folders of a large result.
template <typename Entry, typename Keep>
std::vector<uint32_t> IdsOf(const records::RecordList<Entry>& list, const std::unordered_set<uint32_t>& folderIds,
                            Keep keep) {
  static records::ChildIndex<Entry> index;
  std::vector<size_t> positions;
  for (uint32_t folder : folderIds) {
    const std::vector<size_t>& files = index.Of(list, folder);
    positions.insert(positions.end(), files.begin(), files.end());
  }
  if (folderIds.size() > 1) std::sort(positions.begin(), positions.end());
  std::vector<uint32_t> ids;
  ids.reserve(positions.size());
  for (size_t i : positions) {
    if (keep(list[i])) ids.push_back(list[i].id);
  }
  return ids;
}

class Engine : public ResultRecords {
 public:
  ResultKind Kind() const override { return CurrentKind(); }

  uint32_t RootFolderId() const override {
    return Kind() == ResultKind::kNtfs ? records::kNtfsRootRecord : records::kFatRootId;
  }

  std::optional<uint32_t> FolderOfNode(host::TreeKey node) const override {
    if (node == host::kNoTreeKey) return std::nullopt;
    if (Kind() == ResultKind::kFat) {
      if (const FatFolderRecord* f = FindFatFolderByTreeKey(node)) return f->firstCluster;
    } else if (Kind() == ResultKind::kNtfs) {
      if (const NtfsFolderRecord* f = FindNtfsFolderByTreeKey(node)) return f->recordNumber;
    }
    return std::nullopt;
  }

  host::TreeKey NodeOfFolder(uint32_t folderId) const override {
    return WithFolder(folderId, [](const auto& f) { return f.treeKey; }).value_or(host::kNoTreeKey);
  }

  std::optional<uint32_t> ParentOfFolder(uint32_t folderId) const override {
    return WithFolder(folderId, [](const auto& f) { return f.parentId; });
  }

  std::vector<uint32_t> ParentsOfFile(uint32_t fileId) const override {
    std::vector<uint32_t> parents;
    const auto add = [&](const auto* e) { parents.push_back(e->parentId); };
    if (Kind() == ResultKind::kFat) {
      if (const FatEntryRecord* e = FindFatEntry(fileId)) add(e);
    } else if (Kind() == ResultKind::kNtfs && ExtensiveNtfs()) {
      for (const NtfsFoundEntryRecord* e : FindNtfsFoundEntries(fileId)) add(e);
    } else if (Kind() == ResultKind::kNtfs) {
      for (const NtfsEntryRecord* e : FindNtfsEntries(fileId)) add(e);
    }
    return parents;
  }

  std::vector<uint32_t> FilesOf(const std::unordered_set<uint32_t>& folderIds) const override {
    switch (Kind()) {
      case ResultKind::kFat:
        return IdsOf(FatEntryList, folderIds, [](const FatEntryRecord&) { return true; });
      case ResultKind::kNtfs:
        if (ExtensiveNtfs()) return IdsOf(NtfsFoundEntryList, folderIds, InChosenFileSystem);
        return IdsOf(NtfsEntryList, folderIds, [](const NtfsEntryRecord&) { return true; });
      default:
        return {};
    }
  }

  std::vector<uint32_t> HitsOf(std::u16string_view label) const override {
    const std::u16string key = file_name::UpperCase(label);
    std::vector<uint32_t> ids;
    for (const FileTraceHit& hit : FileTraceHitList) {
      if (file_name::UpperCase(hit.group) == key || file_name::UpperCase(hit.extension) == key) ids.push_back(hit.id);
    }
    return ids;
  }
};

}  // namespace

std::unique_ptr<ResultRecords> EngineRecords() { return std::make_unique<Engine>(); }

// Of the entries of an id (the names of one file), the one the row showed: named shown in the folder listed.
// Two names of a file may read alike in two folders, and a folder may hold two names of it. Without a folder,
// or with none of the file's names in it, the name alone decides (the first entry when none reads so).
template <typename Entry>
Entry* Named(const std::vector<Entry*>& entries, const std::u16string& shown, std::optional<uint32_t> folder) {
  Entry* named = nullptr;
  for (Entry* entry : entries) {
    if (entry->name != shown) continue;
    if (!folder || entry->parentId == *folder) return entry;
    if (named == nullptr) named = entry;
  }
  if (named != nullptr) return named;
  return entries.empty() ? nullptr : entries.front();
}

bool RenameFileRecord(uint32_t id, const std::u16string& name, const std::u16string& shown,
                      std::optional<uint32_t> folder) {
  switch (CurrentKind()) {
    case ResultKind::kFileTrace:
      for (FileTraceHit& hit : FileTraceHitList) {
        if (hit.id != id) continue;
        hit.fileName = name;
        return true;
      }
      return false;
    case ResultKind::kFat:
      return RenameFound(FindFatEntry(id), name);
    case ResultKind::kNtfs:
      return ExtensiveNtfs() ? RenameFound(Named(FindNtfsFoundEntries(id), shown, folder), name)
                             : RenameFound(Named(FindNtfsEntries(id), shown, folder), name);
    default:
      return false;
  }
}

bool RenameFolderRecord(host::TreeKey node, const std::u16string& name) {
  if (CurrentKind() == ResultKind::kFat) return Rename(FindFatFolderByTreeKey(node), name);
  if (CurrentKind() == ResultKind::kNtfs) return Rename(FindNtfsFolderByTreeKey(node), name);
  return false;
}

uint64_t MarkedFilesSize(const std::function<bool(uint32_t id)>& marked) {
  uint64_t total = 0;
  const auto add = [&](uint32_t id, uint64_t size) {
    if (marked(id)) total += size;
  };
  switch (CurrentKind()) {
    case ResultKind::kFat:
      for (const FatEntryRecord& e : FatEntryList) add(e.id, e.size);
      break;
    case ResultKind::kNtfs:
      if (ExtensiveNtfs()) {
        for (const NtfsFoundEntryRecord& e : NtfsFoundEntryList) {
          if (InChosenFileSystem(e)) add(e.id, e.size);
        }
      } else {
        for (const NtfsEntryRecord& e : NtfsEntryList) add(e.id, e.size);
      }
      break;
    default:
      break;
  }
  return total;
}

void FolderTimes(host::TreeKey node, std::u16string& created, std::u16string& modified) {
  if (CurrentKind() == ResultKind::kFat) {
    if (const FatFolderRecord* f = FindFatFolderByTreeKey(node)) {
      created = FatDateText(f->firstDateWord);
      modified = FatDateText(f->secondDateWord);
    }
  } else if (CurrentKind() == ResultKind::kNtfs) {
    if (const NtfsFolderRecord* f = FindNtfsFolderByTreeKey(node)) {
      created = FileTimeText(f->creationTime);
      modified = FileTimeText(f->modificationTime);
    }
  }
}

}  // namespace results
