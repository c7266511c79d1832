// Saving whole folders: the folder, its own files, then its subfolders as the results tree holds them.
#include <unordered_map>
#include <vector>

#include "engine/fat/save_abort.h"
#include "engine/host/result_tree_host.h"
#include "engine/records/fat_records.h"
#include "engine/records/file_system_range.h"
#include "engine/records/ntfs_records.h"
#include "engine/records/scan_parameters.h"
#include "engine/save/recovered_file.h"
#include "engine/save/safe_path_component.h"
#include "engine/save/save_state.h"
#include "engine/save/savers.h"

namespace {

// The records of a list by parent id, rebuilt when the list has changed: a save walks every folder,
// and looking through the whole list for each would take time that grows with its square.
template <typename Record>
class ChildIndex {
 public:
  const std::vector<size_t>& Of(const records::RecordList<Record>& list, uint32_t parent) {
    if (&list != list_ || list.Generation() != generation_ || list.size() != size_) Rebuild(list);
    const auto found = byParent_.find(parent);
    return found == byParent_.end() ? none_ : found->second;
  }

 private:
  void Rebuild(const records::RecordList<Record>& list) {
    records::GuardAllocation([&] {
      byParent_.clear();
      for (size_t i = 0; i < list.size(); ++i) byParent_[list[i].parentId].push_back(i);
      return 0;
    });
    list_ = &list;
    generation_ = list.Generation();
    size_ = list.size();
  }

  const records::RecordList<Record>* list_ = nullptr;
  uint64_t generation_ = 0;
  size_t size_ = 0;
  std::unordered_map<uint32_t, std::vector<size_t>> byParent_;
  const std::vector<size_t> none_{};
};

// How the two file systems' folders differ for the walk.
struct FolderKind {
  // The id of the folder record that holds node; false when none does.
  bool (*folderIdOf)(host::TreeKey node, uint32_t* id);
  void (*saveFiles)(uint32_t folderId, const std::u16string& destination);
};

bool FatFolderIdOf(host::TreeKey node, uint32_t* id) {
  const FatFolderRecord* folder = FindFatFolderByTreeKey(node);
  if (folder) *id = folder->firstCluster;
  return folder != nullptr;
}

bool NtfsFolderIdOf(host::TreeKey node, uint32_t* id) {
  const NtfsFolderRecord* folder = FindNtfsFolderByTreeKey(node);
  if (folder) *id = folder->recordNumber;
  return folder != nullptr;
}

const FolderKind kFatFolders = {FatFolderIdOf, SaveFatFolderFiles};
const FolderKind kNtfsFolders = {NtfsFolderIdOf, SaveNtfsFolderFiles};

std::vector<host::TreeKey> ChildrenOf(host::ResultTreeHost& tree, host::TreeKey node) {
  std::vector<host::TreeKey> children;
  for (host::TreeKey child = tree.GetChildItem(node); child != host::kNoTreeKey; child = tree.GetNextSiblingItem(child)) {
    records::GuardAllocation([&] { return children.push_back(child), 0; });
  }
  return children;
}

// Depth first, a folder before its files and its files before its subfolders, with a stack of its own
// so that no depth of nesting can exhaust the thread's stack.
void SaveFolderTree(const FolderKind& kind, host::TreeKey node, uint32_t folderId, const std::u16string& destination,
                    const std::u16string& folderName) {
  struct Pending {
    host::TreeKey node;
    uint32_t folderId;
    std::u16string parentPath;
    std::u16string name;
  };
  host::ResultTreeHost* tree = host::Current().resultTree;
  std::vector<Pending> pending{{node, folderId, destination, folderName}};
  while (!pending.empty() && !SaveStopRequested()) {
    const Pending folder = std::move(pending.back());
    pending.pop_back();
    // A folder that cannot be created is not reported: its files report one by one.
    std::u16string path = save::JoinPath(folder.parentPath, SafePathComponent(folder.name));
    if (!os::IsFolder(path)) os::CreateFolder(path);
    path += u'\\';
    kind.saveFiles(folder.folderId, path);
    if (!tree) continue;
    const std::vector<host::TreeKey> children = ChildrenOf(*tree, folder.node);
    for (auto child = children.rbegin(); child != children.rend(); ++child) {
      uint32_t childId = 0;
      if (!kind.folderIdOf(*child, &childId)) continue;
      records::GuardAllocation([&] { return pending.push_back({*child, childId, path, tree->GetItemText(*child)}), 0; });
    }
  }
}

}  // namespace

void SaveFatFolder(host::TreeKey node, uint32_t folderId, const std::u16string& destination,
                   const std::u16string& folderName) {
  SaveFolderTree(kFatFolders, node, folderId, destination, folderName);
}

void SaveNtfsFolder(host::TreeKey node, uint32_t folderId, const std::u16string& destination,
                    const std::u16string& folderName) {
  SaveFolderTree(kNtfsFolders, node, folderId, destination, folderName);
}

void SaveFatFolderFiles(uint32_t folderCluster, const std::u16string& destination) {
  static ChildIndex<FatEntryRecord> index;
  for (size_t i : index.Of(FatEntryList, folderCluster)) {
    if (SaveStopRequested()) return;
    const FatEntryRecord& entry = FatEntryList[i];
    SaveFileTime = entry.firstDateWord;
    SaveFatItems(destination, 1, entry.firstCluster, entry.size, entry.name, entry.deleted);
  }
}

void SaveNtfsFolderFiles(uint32_t folderRecord, const std::u16string& destination) {
  if (RecoveryMode == records::kExtensiveScan) {
    static ChildIndex<NtfsFoundEntryRecord> index;
    for (size_t i : index.Of(NtfsFoundEntryList, folderRecord)) {
      if (SaveStopRequested()) return;
      const NtfsFoundEntryRecord& entry = NtfsFoundEntryList[i];
      if (!InChosenFileSystem(entry)) continue;
      SaveFileTime = entry.creationTime;
      SaveNtfsItems(destination, entry.name, entry.size, entry.id, 1, entry.deleted);
    }
    return;
  }
  static ChildIndex<NtfsEntryRecord> index;
  for (size_t i : index.Of(NtfsEntryList, folderRecord)) {
    if (SaveStopRequested()) return;
    const NtfsEntryRecord& entry = NtfsEntryList[i];
    SaveFileTime = entry.creationTime;
    SaveNtfsItems(destination, entry.name, entry.size, entry.id, 1, entry.deleted);
  }
}
