// Saving whole folders: every folder beneath the folder as the results tree holds them is planned and made before
// any file is written (a file of a subfolder's name, a deleted file beside a live folder, then takes a
// "Copy (n ) of" name, where it would otherwise take the name and leave the folder's files nowhere to go); then
// each folder's files, a folder's before those of its subfolders.
#include <algorithm>
#include <optional>
#include <unordered_set>
#include <utility>
#include <vector>

#include "engine/fat/save_abort.h"
#include "engine/host/result_tree_host.h"
#include "engine/records/child_index.h"
#include "engine/records/fat_records.h"
#include "engine/records/file_system_range.h"
#include "engine/records/ntfs_records.h"
#include "engine/records/scan_parameters.h"
#include "engine/save/folder_files.h"
#include "engine/save/folder_plan.h"
#include "engine/save/recovered_file.h"
#include "engine/save/save_state.h"
#include "engine/save/savers.h"

namespace {

// How the two file systems' folders differ for the walk.
struct FolderKind {
  // The id of the folder record that holds node and whether it is deleted; false when none does.
  bool (*folderIdOf)(host::TreeKey node, uint32_t* id, bool* deleted);
  void (*saveFiles)(uint32_t folderId, const std::u16string& destination);
  // Whether the folder is a link (a junction, a symbolic link to a folder) and where it points; null where the file
  // system has none.
  bool (*linkOf)(uint32_t folderId, std::u16string* target);
};

bool FatFolderIdOf(host::TreeKey node, uint32_t* id, bool* deleted) {
  const FatFolderRecord* folder = FindFatFolderByTreeKey(node);
  if (folder) *id = folder->firstCluster, *deleted = folder->deleted != 0;
  return folder != nullptr;
}

bool NtfsFolderIdOf(host::TreeKey node, uint32_t* id, bool* deleted) {
  const NtfsFolderRecord* folder = FindNtfsFolderByTreeKey(node);
  if (folder) *id = folder->recordNumber, *deleted = folder->deleted != 0;
  return folder != nullptr;
}

const FolderKind kFatFolders = {FatFolderIdOf, SaveFatFolderFiles, nullptr};
const FolderKind kNtfsFolders = {NtfsFolderIdOf, SaveNtfsFolderFiles, NtfsFolderLink};

std::vector<host::TreeKey> ChildrenOf(host::ResultTreeHost& tree, host::TreeKey node) {
  std::vector<host::TreeKey> children;
  for (host::TreeKey child = tree.GetChildItem(node); child != host::kNoTreeKey; child = tree.GetNextSiblingItem(child)) {
    records::GuardAllocation([&] { return children.push_back(child), 0; });
  }
  return children;
}

// Plans every folder beneath each folder saved whole (planned itself), depth first in tree order, with a stack of
// its own so that no depth of nesting can exhaust the thread's stack. The folders walked, each once, in that order.
// A node without a folder record is passed over with what lies beneath it. A link holds nothing of its own: an empty
// folder in its place would pass for one whose files were lost, so it is planned as a link, made nowhere and named
// in the report with its target.
std::vector<uint32_t> PlanFolderTrees(const FolderKind& kind, save::FolderPlan& plan,
                                      const std::vector<save::WholeFolder>& folders) {
  host::ResultTreeHost* tree = host::Current().resultTree;
  std::vector<uint32_t> walked;
  std::unordered_set<uint32_t> seen;
  std::vector<std::pair<host::TreeKey, uint32_t>> pending;
  for (auto whole = folders.rbegin(); whole != folders.rend(); ++whole) {
    records::GuardAllocation([&] { return pending.emplace_back(whole->node, whole->folderId), 0; });
  }
  while (!pending.empty()) {
    const host::TreeKey node = pending.back().first;
    const uint32_t id = pending.back().second;
    pending.pop_back();
    if (!records::GuardAllocation([&] { return seen.insert(id).second; })) continue;
    std::u16string target;
    if (kind.linkOf != nullptr && kind.linkOf(id, &target)) {
      plan.MarkLink(id, std::move(target));
      continue;
    }
    records::GuardAllocation([&] { return walked.push_back(id), 0; });
    if (tree == nullptr) continue;
    const std::vector<host::TreeKey> children = ChildrenOf(*tree, node);
    const size_t next = pending.size();
    for (host::TreeKey child : children) {
      uint32_t childId = 0;
      bool deleted = false;
      if (!kind.folderIdOf(child, &childId, &deleted)) continue;
      plan.Add(childId, id, tree->GetItemText(child), deleted);
      records::GuardAllocation([&] { return pending.emplace_back(child, childId), 0; });
    }
    // Walked in tree order.
    std::reverse(pending.begin() + static_cast<ptrdiff_t>(next), pending.end());
  }
  return walked;
}

// One folder saved whole into destination, as the selection's are.
void SaveFolderTree(const FolderKind& kind, host::TreeKey node, uint32_t folderId, const std::u16string& destination,
                    const std::u16string& folderName) {
  save::FolderPlan plan;
  plan.Add(folderId, std::nullopt, folderName, false);
  const std::vector<uint32_t> walked = PlanFolderTrees(kind, plan, {{node, folderId}});
  plan.Make(destination);
  save::SaveWalkedFolders(kind.saveFiles, walked, plan);
}

}  // namespace

namespace save {

std::vector<uint32_t> PlanFatFolderTrees(FolderPlan& plan, const std::vector<WholeFolder>& folders) {
  return PlanFolderTrees(kFatFolders, plan, folders);
}

std::vector<uint32_t> PlanNtfsFolderTrees(FolderPlan& plan, const std::vector<WholeFolder>& folders) {
  return PlanFolderTrees(kNtfsFolders, plan, folders);
}

void SaveWalkedFolders(void (*saveFiles)(uint32_t folderId, const std::u16string& destination),
                       const std::vector<uint32_t>& walked, const FolderPlan& plan) {
  for (uint32_t folder : walked) {
    if (SaveStopRequested()) return;
    saveFiles(folder, plan.PathOf(folder) + u'\\');
  }
}

}  // namespace save

void SaveFatFolder(host::TreeKey node, uint32_t folderId, const std::u16string& destination,
                   const std::u16string& folderName) {
  SaveFolderTree(kFatFolders, node, folderId, destination, folderName);
}

void SaveNtfsFolder(host::TreeKey node, uint32_t folderId, const std::u16string& destination,
                    const std::u16string& folderName) {
  SaveFolderTree(kNtfsFolders, node, folderId, destination, folderName);
}

namespace save {

const std::vector<size_t>& FatFilesOf(uint32_t folderCluster) {
  static records::ChildIndex<FatEntryRecord> index;
  return index.Of(FatEntryList, folderCluster);
}

const std::vector<size_t>& NtfsFilesOf(uint32_t folderRecord) {
  static records::ChildIndex<NtfsEntryRecord> index;
  return index.Of(NtfsEntryList, folderRecord);
}

const std::vector<size_t>& NtfsFoundFilesOf(uint32_t folderRecord) {
  static records::ChildIndex<NtfsFoundEntryRecord> index;
  return index.Of(NtfsFoundEntryList, folderRecord);
}

}  // namespace save

void SaveFatFolderFiles(uint32_t folderCluster, const std::u16string& destination) {
  for (size_t i : save::FatFilesOf(folderCluster)) {
    if (SaveStopRequested()) return;
    const FatEntryRecord& entry = FatEntryList[i];
    SetFatSaveTimes(entry);
    SaveFatItems(destination, 1, entry.firstCluster, entry.size, entry.name, entry.deleted);
  }
}

void SaveNtfsFolderFiles(uint32_t folderRecord, const std::u16string& destination) {
  if (RecoveryMode == records::kExtensiveScan) {
    for (size_t i : save::NtfsFoundFilesOf(folderRecord)) {
      if (SaveStopRequested()) return;
      const NtfsFoundEntryRecord& entry = NtfsFoundEntryList[i];
      if (!InChosenFileSystem(entry)) continue;
      SaveFileTime = entry.creationTime;
      SaveNtfsItems(destination, entry.name, entry.size, entry.id, 1, entry.deleted);
    }
    return;
  }
  for (size_t i : save::NtfsFilesOf(folderRecord)) {
    if (SaveStopRequested()) return;
    const NtfsEntryRecord& entry = NtfsEntryList[i];
    SaveFileTime = entry.creationTime;
    SaveNtfsItems(destination, entry.name, entry.size, entry.id, 1, entry.deleted);
  }
}
