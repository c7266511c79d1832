#include "tools/enginectl/folder_listing.h"

#include <cstdio>
#include <string>

#include "engine/host/fakes.h"
#include "engine/host/shell_file_info_fakes.h"
#include "engine/records/fat_records.h"
#include "engine/records/ntfs_records.h"
#include "engine/records/scan_parameters.h"
#include "engine/listing/results_listing.h"
#include "platform/os/os.h"

namespace {

constexpr uint32_t kColumns = 6;

// The node at path below the top node; kNoTreeKey when a part names no child.
host::TreeKey FindNode(const host::RecordingResultTree& tree, const std::u16string& path) {
  const std::vector<host::TreeKey> tops = tree.Children(host::kNoTreeKey);
  if (tops.empty()) return host::kNoTreeKey;
  host::TreeKey node = tops.front();
  size_t start = 0;
  while (start < path.size()) {
    size_t end = path.find(u'/', start);
    if (end == std::u16string::npos) end = path.size();
    if (end > start) {
      const std::u16string part = path.substr(start, end - start);
      host::TreeKey child = host::kNoTreeKey;
      for (host::TreeKey key : tree.Children(node)) {
        if (tree.At(key).text == part) {
          child = key;
          break;
        }
      }
      if (child == host::kNoTreeKey) return host::kNoTreeKey;
      node = child;
    }
    start = end + 1;
  }
  return node;
}

}  // namespace

int PrintFolderListing(const host::RecordingResultTree& tree, const char* path) {
  const host::TreeKey node = FindNode(tree, os::FromUtf8(path));
  if (node == host::kNoTreeKey) {
    std::fprintf(stderr, "enginectl: the results tree has no folder %s\n", path);
    return 1;
  }
  host::Hosts hosts = host::Current();
  host::RecordingResultList list;
  host::FixedShellFileInfo shell;
  hosts.resultList = &list;
  hosts.shellFileInfo = &shell;
  host::ScopedHosts installed(hosts);
  // The node of a folder record lists that folder; the top node lists the root.
  if (CurrentFileSystem.type == records::kNtfs) {
    const NtfsFolderRecord* folder = FindNtfsFolderByTreeKey(node);
    ListNtfsFolder(folder != nullptr ? folder->recordNumber : records::kNtfsRootRecord);
  } else {
    const FatFolderRecord* folder = FindFatFolderByTreeKey(node);
    ListFatFolder(folder != nullptr ? folder->firstCluster : records::kFatRootId);
  }
  for (uint32_t row = 0; row < list.GetItemCount(); ++row) {
    std::printf("%s\n", os::ToUtf8(list.RowLine(row, kColumns)).c_str());
  }
  return 0;
}
