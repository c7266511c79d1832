#include "engine/records/result_tree_builders.h"

#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "engine/host/file_system_form_host.h"
#include "engine/host/result_tree_host.h"
#include "engine/host/scan_host.h"
#include "engine/host/snapshot_host.h"
#include "engine/records/fat_records.h"
#include "engine/records/file_trace_hits.h"
#include "engine/records/ntfs_records.h"
#include "engine/records/pause_gate.h"
#include "engine/records/scan_control.h"
#include "engine/records/scan_parameters.h"
#include "platform/os/os.h"

namespace {

bool StopRequested() {
  ScanPauseGate.Pass();
  return ScanThreadControl.stopFlag.load() == 1;
}

// Sends the percent of done out of ScanCounters.folderCount where the tree's progress is shown: the
// snapshot progress dialog while a snapshot loads; otherwise the page-3 form for NTFS folders of an
// Extensive Scan, and the scan page's panel for everything else.
class TreeProgress {
 public:
  explicit TreeProgress(bool ntfs = false) : ntfs_(ntfs) {}
  void Step(uint32_t done) {
    const uint64_t total = ScanCounters.folderCount == 0 ? 1 : ScanCounters.folderCount;
    uint64_t percent = uint64_t{done} * 100 / total;
    if (percent >= 100) percent = 99;
    if (percent == last_) return;
    last_ = percent;
    if (host::ProgressDialogHost* dialog = host::SnapshotProgress()) {
      dialog->SetPos(static_cast<uint32_t>(percent));
    } else if (SnapshotLoading.load() == 1) {
      // The dialog has gone: nobody shows the percent.
    } else if (ntfs_ && RecoveryMode == records::kExtensiveScan) {
      if (host::FileSystemFormHost* form = host::Current().fileSystemForm) {
        form->SetProgressPos(static_cast<uint32_t>(percent));
      }
    } else if (host::SecondDisplayHost* panel = host::ScanProgressPanel()) {
      panel->SetProgressPos(static_cast<uint32_t>(percent));
    }
  }

 private:
  bool ntfs_;
  uint64_t last_ = UINT64_MAX;
};

template <typename Record>
using IdField = uint32_t Record::*;

// The depth-first build shared by FAT and NTFS folders, without recursion (a loaded snapshot may nest
// folders as deep as it likes).
template <typename Record>
void AddFolders(records::RecordList<Record>& list, IdField<Record> idOf, bool ntfs, host::TreeKey parentNode,
                uint32_t parentId) {
  host::ResultTreeHost* tree = host::Current().resultTree;
  if (tree == nullptr || StopRequested()) return;
  std::unordered_map<uint32_t, std::vector<size_t>> children;
  records::GuardAllocation([&] {
    for (size_t i = 0; i < list.size(); ++i) children[list[i].parentId].push_back(i);
  });
  static const std::vector<size_t> kNone;
  auto childrenOf = [&](uint32_t id) -> const std::vector<size_t>& {
    auto it = children.find(id);
    return it == children.end() ? kNone : it->second;
  };
  struct Level {
    host::TreeKey node;
    const std::vector<size_t>* records;
    size_t next;
  };
  std::vector<bool> added(list.size(), false);
  std::vector<Level> path{{parentNode, &childrenOf(parentId), 0}};
  TreeProgress progress(ntfs);
  uint32_t done = 0;
  progress.Step(done);
  while (!path.empty()) {
    if (StopRequested()) return;
    Level& level = path.back();
    if (level.next == level.records->size()) {
      path.pop_back();
      continue;
    }
    const size_t index = (*level.records)[level.next++];
    if (added[index]) continue;
    added[index] = true;
    Record& folder = list[index];
    folder.treeKey = tree->AddItem(folder.name, level.node, host::TreeImage::kFolder, folder.deleted == 1);
    progress.Step(++done);
    records::GuardAllocation([&] { path.push_back({folder.treeKey, &childrenOf(folder.*idOf), 0}); });
  }
}


std::u16string CaseKey(std::u16string_view text) {
  std::u16string key(text);
  for (char16_t& c : key) c = os::AsciiLower(c);
  return key;
}

bool EqualIgnoringCase(std::u16string_view a, std::u16string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (os::AsciiLower(a[i]) != os::AsciiLower(b[i])) return false;
  }
  return true;
}

// Adds the type nodes of one group: its hits' extensions in hit order, skipping an extension equal
// (ignoring case) to the one added just before.
void AddGroupTypes(host::ResultTreeHost& tree, host::TreeKey groupNode, const std::vector<size_t>& hits,
                   TreeProgress& progress) {
  const std::u16string* lastType = nullptr;
  for (size_t index : hits) {
    if (StopRequested()) return;
    const FileTraceHit& hit = FileTraceHitList[index];
    if (lastType != nullptr && EqualIgnoringCase(hit.extension, *lastType)) continue;
    tree.AddTreeItemOnce(hit.extension, groupNode, true);
    lastType = &hit.extension;
    progress.Step(++ScanCounters.processedCount);
  }
}

}  // namespace

void AddFatFolders(host::TreeKey parentNode, uint32_t parentId) {
  AddFolders(FatFolderList, &FatFolderRecord::firstCluster, false, parentNode, parentId);
}

void AddNtfsFolders(host::TreeKey parentNode, uint32_t parentId) {
  AddFolders(NtfsFolderList, &NtfsFolderRecord::recordNumber, true, parentNode, parentId);
}

void AddFileTraceGroups(host::TreeKey parentNode) {
  host::ResultTreeHost* tree = host::Current().resultTree;
  if (tree == nullptr) return;
  // The hits of each group in list order, and the groups in the order they first appear: one pass, so
  // that a long list of alternating groups costs no more than a sorted one.
  std::unordered_map<std::u16string, size_t> groupOf;
  std::vector<std::vector<size_t>> groups;
  records::GuardAllocation([&] {
    for (size_t i = 0; i < FileTraceHitList.size(); ++i) {
      auto [it, added] = groupOf.emplace(CaseKey(FileTraceHitList[i].group), groups.size());
      if (added) groups.emplace_back();
      groups[it->second].push_back(i);
    }
  });
  TreeProgress progress;
  for (const std::vector<size_t>& hits : groups) {
    if (StopRequested()) return;
    const host::TreeKey groupNode = tree->AddTreeItemOnce(FileTraceHitList[hits.front()].group, parentNode, false);
    AddGroupTypes(*tree, groupNode, hits, progress);
  }
}
