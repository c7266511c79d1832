#include "engine/records/fat_records.h"

#include <unordered_map>
#include <vector>

#include "engine/records/record_index.h"
#include "engine/records/scan_parameters.h"
#include "engine/records/scan_control.h"

records::RecordList<FatFolderRecord> FatFolderList;
records::RecordList<FatEntryRecord> FatEntryList;
records::RecordList<ClusterNode> ClusterList;
records::RecordList<FatFolderRecord> OtherFatFolderEntryList;

namespace {

records::FirstRecordIndex<FatFolderRecord, uint32_t, &FatFolderRecord::firstCluster> g_fatFolderByCluster;
records::FirstRecordIndex<FatFolderRecord, host::TreeKey, &FatFolderRecord::treeKey> g_fatFolderByTreeKey;
records::FirstRecordIndex<FatEntryRecord, uint32_t, &FatEntryRecord::id> g_fatEntryById;

// How far up a revival looks for a deleted folder, and for the folder itself, above a folder.
constexpr int kMostLevelsLookedUp = 64;

// Whether folder, or a folder above it, is deleted (a folder that lay in a deleted folder went with it).
bool DeletedOrUnderDeleted(const FatFolderRecord& folder) {
  const FatFolderRecord* f = &folder;
  for (int level = 0; f != nullptr && level < kMostLevelsLookedUp; ++level) {
    if (f->deleted != 0) return true;
    if (f->parentId == records::kFatRootId) return false;
    f = FindFatFolder(f->parentId);
  }
  return false;
}

// Whether the folder of firstCluster is parentId or lies above it: a folder cannot move under itself.
bool IsAtOrAbove(uint32_t firstCluster, uint32_t parentId) {
  for (int level = 0; level < kMostLevelsLookedUp; ++level) {
    if (parentId == firstCluster) return true;
    if (parentId == records::kFatRootId) return false;
    const FatFolderRecord* parent = FindFatFolder(parentId);
    if (parent == nullptr) return false;
    parentId = parent->parentId;
  }
  return false;
}

}  // namespace

FatFolderRecord& AppendFatFolder(std::u16string_view name, uint32_t firstCluster, uint32_t parentId,
                                 uint16_t firstDateWord, uint16_t secondDateWord, host::TreeKey treeKey,
                                 uint32_t deleted) {
  if (FatFolderRecord* listed = FindFatFolder(firstCluster)) {
    // The cluster of a deleted folder given to a new one: the live entry names the folder that is there now.
    if (deleted == 0 && DeletedOrUnderDeleted(*listed) && !IsAtOrAbove(firstCluster, parentId)) {
      records::GuardAllocation([&] { listed->name.assign(name); });
      listed->parentId = parentId;
      listed->firstDateWord = firstDateWord;
      listed->secondDateWord = secondDateWord;
      listed->deleted = 0;
    } else if ((deleted != 0) == (listed->deleted != 0) && parentId != listed->parentId) {
      // Two entries of one state in two folders: a folder moved and then deleted, or a live folder met again
      // through a chain that a table runs on into its parent's clusters. SettleMovedFatFolders picks.
      OtherFatFolderEntryList.Append(records::GuardAllocation([&] {
        return FatFolderRecord{std::u16string(name), firstCluster, parentId, firstDateWord, secondDateWord,
                               treeKey, deleted};
      }));
    }
    return *listed;
  }
  FatFolderRecord& folder = FatFolderList.Append(records::GuardAllocation([&] {
    return FatFolderRecord{std::u16string(name), firstCluster, parentId, firstDateWord, secondDateWord,
                           treeKey, deleted};
  }));
  ++ScanCounters.folderCount;
  return folder;
}

FatEntryRecord& AppendFatEntry(std::u16string_view name, uint32_t firstCluster, uint32_t parentId,
                               uint16_t firstDateWord, uint16_t secondDateWord, uint32_t size,
                               uint32_t deleted) {
  return FatEntryList.Append(records::GuardAllocation([&] {
    return FatEntryRecord{std::u16string(name), firstCluster, parentId, firstDateWord, secondDateWord,
                          size, deleted, ScanCounters.entryCount, {}, {}};
  }));
}

void AppendCluster(uint32_t cluster) { ClusterList.Append(ClusterNode{cluster}); }

FatFolderRecord* FindFatFolder(uint32_t firstCluster) {
  return g_fatFolderByCluster.Find(FatFolderList, firstCluster);
}

FatFolderRecord* FindFatFolderByTreeKey(host::TreeKey key) {
  return g_fatFolderByTreeKey.FindRewritable(FatFolderList, key);
}

FatEntryRecord* FindFatEntry(uint32_t id) { return g_fatEntryById.Find(FatEntryList, id); }

void SettleMovedFatFolders(const std::function<bool(uint32_t, uint32_t*)>& ownParent) {
  std::unordered_map<uint32_t, uint32_t> parents;  // a folder's ".." parent, once asked for
  constexpr uint32_t kNoParent = 0xFFFFFFFF;       // no cluster number a folder can have
  records::GuardAllocation([&] {
    for (const FatFolderRecord& other : OtherFatFolderEntryList) {
      FatFolderRecord* folder = FindFatFolder(other.firstCluster);
      // A live folder is placed only by another live entry, a deleted one only by another deleted entry.
      if (folder == nullptr || (folder->deleted != 0) != (other.deleted != 0) || folder->parentId == other.parentId) {
        continue;
      }
      auto known = parents.find(other.firstCluster);
      if (known == parents.end()) {
        uint32_t parent = kNoParent;
        if (!ownParent(other.firstCluster, &parent)) parent = kNoParent;
        known = parents.emplace(other.firstCluster, parent).first;
      }
      const uint32_t own = known->second;
      if (own != other.parentId || folder->parentId == own || IsAtOrAbove(other.firstCluster, own)) continue;
      folder->name = other.name;
      folder->parentId = other.parentId;
      folder->firstDateWord = other.firstDateWord;
      folder->secondDateWord = other.secondDateWord;
    }
  });
}

void MarkFatRecordsInDeletedFolders() {
  std::unordered_map<const FatFolderRecord*, bool> resolved;
  // Whether the folder of id (root, "Lost Dir" and unknown folders are not deleted) is deleted by now.
  const auto deletedFolder = [&](uint32_t id) {
    const FatFolderRecord* folder = id == records::kFatRootId ? nullptr : FindFatFolder(id);
    return folder != nullptr && resolved.count(folder) != 0 && resolved[folder];
  };
  std::vector<FatFolderRecord*> path;
  records::GuardAllocation([&] {
    for (FatFolderRecord& start : FatFolderList) {
      // Up from start to a folder already resolved, the root, a folder not listed or a folder met again.
      path.clear();
      for (FatFolderRecord* f = &start; f != nullptr && resolved.count(f) == 0;) {
        resolved[f] = false;  // on the path: a loop back to it ends the walk
        path.push_back(f);
        f = f->parentId == records::kFatRootId ? nullptr : FindFatFolder(f->parentId);
      }
      for (auto f = path.rbegin(); f != path.rend(); ++f) {
        (*f)->deleted = (*f)->deleted != 0 || deletedFolder((*f)->parentId) ? 1 : 0;
        resolved[*f] = (*f)->deleted != 0;
      }
    }
  });
  for (FatEntryRecord& entry : FatEntryList) {
    if (deletedFolder(entry.parentId)) entry.deleted = 1;
  }
}
