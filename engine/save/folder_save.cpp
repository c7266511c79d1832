// Saving whole folders: the folder, its own files, then its subfolders as the results tree holds them.
#include <vector>

#include "engine/fat/save_abort.h"
#include "engine/host/result_tree_host.h"
#include "engine/records/child_index.h"
#include "engine/records/fat_records.h"
#include "engine/records/file_system_range.h"
#include "engine/records/ntfs_records.h"
#include "engine/records/scan_parameters.h"
#include "engine/save/folder_files.h"
#include "engine/save/recovered_file.h"
#include "engine/save/save_names.h"
#include "engine/save/save_state.h"
#include "engine/save/savers.h"

namespace {

// How the two file systems' folders differ for the walk.
struct FolderKind {
  // The id of the folder record that holds node and whether it is deleted; false when none does.
  bool (*folderIdOf)(host::TreeKey node, uint32_t* id, bool* deleted);
  void (*saveFiles)(uint32_t folderId, const std::u16string& destination);
  // Whether the folder is a link, with its target; null where folders are never links.
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

// A folder of a tree saved whole, made, and the path its files go to (with a trailing backslash).
struct MadeFolder {
  uint32_t folderId;
  std::u16string path;
};

// Makes the folder and every folder beneath it, depth first in tree order, with a stack of its own so that no
// depth of nesting can exhaust the thread's stack; the folders made, in that order. A folder's live subfolders
// are made before its deleted ones, so that of a live and a deleted folder of one name the live one keeps the
// name and the deleted one takes "Copy (n ) of" it, as files do.
void MakeFolderTree(const FolderKind& kind, const save::WholeFolder& whole, std::vector<MadeFolder>& made) {
  struct Pending {
    host::TreeKey node;
    uint32_t folderId;
    std::u16string parentPath;
    std::u16string name;
  };
  host::ResultTreeHost* tree = host::Current().resultTree;
  std::vector<Pending> pending{{whole.node, whole.folderId, whole.destination, whole.name}};
  while (!pending.empty() && !SaveStopRequested()) {
    const Pending folder = std::move(pending.back());
    pending.pop_back();
    // A junction (or a symbolic link to a folder) holds nothing of its own: an empty folder in its place would
    // pass for one whose files were lost. The report names it with its target.
    std::u16string target;
    if (kind.linkOf != nullptr && kind.linkOf(folder.folderId, &target)) {
      save::CountLink(1, save::JoinPath(folder.parentPath, folder.name), target);
      continue;
    }
    std::u16string path = save::MakeSaveFolder(folder.parentPath, folder.folderId, folder.name);
    path += u'\\';
    records::GuardAllocation([&] { return made.push_back({folder.folderId, path}), 0; });
    if (tree == nullptr) continue;
    const std::vector<host::TreeKey> children = ChildrenOf(*tree, folder.node);
    // Pushed in reverse of the order they are made: deleted ones last to first, then live ones.
    for (const bool deletedPass : {true, false}) {
      for (auto child = children.rbegin(); child != children.rend(); ++child) {
        uint32_t childId = 0;
        bool deleted = false;
        if (!kind.folderIdOf(*child, &childId, &deleted) || deleted != deletedPass) continue;
        records::GuardAllocation(
            [&] { return pending.push_back({*child, childId, path, tree->GetItemText(*child)}), 0; });
      }
    }
  }
}

// Every folder of every tree is made before any file is written: a file of a subfolder's name (a deleted file
// beside a live folder) then takes a "Copy (n ) of" name, where it would otherwise take the name and leave the
// folder's files nowhere to go; two subfolders of one name are made as two (MakeSaveFolder).
// Then each folder's files, in the order the folders were made.
void SaveFolderTrees(const FolderKind& kind, const std::vector<save::WholeFolder>& folders) {
  std::vector<MadeFolder> made;
  for (const save::WholeFolder& whole : folders) {
    if (SaveStopRequested()) return;
    MakeFolderTree(kind, whole, made);
  }
  for (const MadeFolder& folder : made) {
    if (SaveStopRequested()) return;
    kind.saveFiles(folder.folderId, folder.path);
  }
}

}  // namespace

void SaveFatFolders(const std::vector<save::WholeFolder>& folders) { SaveFolderTrees(kFatFolders, folders); }

void SaveNtfsFolders(const std::vector<save::WholeFolder>& folders) { SaveFolderTrees(kNtfsFolders, folders); }

void SaveFatFolder(host::TreeKey node, uint32_t folderId, const std::u16string& destination,
                   const std::u16string& folderName) {
  SaveFatFolders({{node, folderId, destination, folderName}});
}

void SaveNtfsFolder(host::TreeKey node, uint32_t folderId, const std::u16string& destination,
                    const std::u16string& folderName) {
  SaveNtfsFolders({{node, folderId, destination, folderName}});
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
