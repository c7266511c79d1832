#include "tools/enginectl/tree_listing.h"

#include <algorithm>
#include <cstdio>
#include <string>
#include <unordered_map>
#include <vector>

#include "engine/records/scan_records.h"
#include "engine/scan/chosen_fs.h"
#include "platform/os/os.h"

namespace {

struct Line {
  std::string path;
  char kind;
  uint32_t deleted;
  uint64_t size;
};

struct FileRef {
  const std::u16string* name;
  uint32_t deleted;
  uint64_t size;
};

// The folder id of every node that stands for a folder record, and the files of every folder id (those
// that keep says belong to the file system read).
template <typename FolderList, typename EntryList, typename IdOf, typename Keep>
void Index(FolderList& folders, EntryList& entries, IdOf idOf, Keep keep,
           std::unordered_map<host::TreeKey, uint32_t>& idOfNode,
           std::unordered_map<uint32_t, std::vector<FileRef>>& files) {
  for (const auto& folder : folders) {
    if (folder.treeKey != host::kNoTreeKey) idOfNode[folder.treeKey] = idOf(folder);
  }
  for (const auto& entry : entries) {
    if (keep(entry)) files[entry.parentId].push_back({&entry.name, entry.deleted != 0 ? 1u : 0u, entry.size});
  }
}

uint32_t RecordNumberOf(const NtfsFolderRecord& folder) { return folder.recordNumber; }
constexpr auto kEvery = [](const auto&) { return true; };

}  // namespace

void PrintResultTree(const host::RecordingResultTree& tree) {
  const bool ntfs = CurrentFileSystem.type == records::kNtfs;
  std::unordered_map<host::TreeKey, uint32_t> idOfNode;
  std::unordered_map<uint32_t, std::vector<FileRef>> files;
  if (ntfs && RecoveryMode == records::kExtensiveScan) {
    // The files of an NTFS file system an Extensive Scan found stay among those of every file system found.
    Index(NtfsFolderList, NtfsFoundEntryList, RecordNumberOf, InChosenFileSystem, idOfNode, files);
  } else if (ntfs) {
    Index(NtfsFolderList, NtfsEntryList, RecordNumberOf, kEvery, idOfNode, files);
  } else {
    const auto clusterOf = [](const FatFolderRecord& f) { return f.firstCluster; };
    Index(FatFolderList, FatEntryList, clusterOf, kEvery, idOfNode, files);
  }
  // A node is added after its parent, so paths are made in key order.
  std::vector<std::string> paths(tree.nodes.size() + 1);
  std::vector<Line> lines;
  for (host::TreeKey key = 1; key <= tree.nodes.size(); ++key) {
    const host::RecordingResultTree::Node& node = tree.At(key);
    const bool top = node.parent == host::kNoTreeKey;
    if (!top && node.parent < key) paths[key] = paths[node.parent] + "/" + os::ToUtf8(node.text);
    const std::string& path = paths[key];
    if (!top) lines.push_back({path, 'D', node.deleted ? 1u : 0u, 0});
    auto id = idOfNode.find(key);
    const uint32_t folderId = id != idOfNode.end() ? id->second : ntfs ? records::kNtfsRootRecord : records::kFatRootId;
    if (!top && id == idOfNode.end()) continue;
    auto found = files.find(folderId);
    if (found == files.end()) continue;
    for (const FileRef& file : found->second) {
      lines.push_back({path + "/" + os::ToUtf8(*file.name), 'F', file.deleted, file.size});
    }
  }
  std::stable_sort(lines.begin(), lines.end(), [](const Line& a, const Line& b) { return a.path < b.path; });
  for (const Line& line : lines) {
    std::printf("%c\t%u\t%llu\t%s\n", line.kind, line.deleted, static_cast<unsigned long long>(line.size),
                line.path.c_str());
  }
}
