#include "engine/save/save_progress.h"

#include <algorithm>
#include <unordered_map>

#include "engine/host/result_tree_host.h"
#include "engine/host/save_host.h"
#include "engine/records/fat_records.h"
#include "engine/records/file_trace_hits.h"
#include "engine/records/file_system_range.h"
#include "engine/records/ntfs_records.h"
#include "engine/records/scan_parameters.h"
#include "engine/save/folder_files.h"
#include "engine/save/recovered_file.h"
#include "platform/os/os.h"

namespace save {
namespace {

constexpr uint64_t kMegabyte = 1 << 20;

uint64_t SaturatingAdd(uint64_t a, uint64_t b) { return a > ~uint64_t{0} - b ? ~uint64_t{0} : a + b; }

uint64_t Weight(uint64_t size) { return SaturatingAdd(size, kFileWeight); }

struct SelectionState {
  SelectionSize selection;
  uint64_t totalWeight = 0;
  uint64_t reached = 0;      // files reached so far, the one in hand among them
  uint64_t doneWeight = 0;   // the weight of the files reached before the one in hand
  uint64_t currentSize = 0;  // the one in hand's size
  uint32_t shown = ~0u;      // the bar's last position sent
};
SelectionState state;

// done x 100 / total, for any 64-bit values.
uint64_t Percent(uint64_t done, uint64_t total) {
  if (total == 0) return 0;
  constexpr uint64_t kLargest = ~uint64_t{0} / 100;
  return total <= kLargest ? std::min(done, total) * 100 / total : std::min(done, total) / (total / 100);
}

void SendPosition(uint32_t position) {
  if (position == state.shown) return;
  state.shown = position;
  if (host::SaveProgressHost* dialog = host::Current().saveProgress) dialog->SetProgressPos(position);
}

// The folder record that holds node: its id, false when none does.
bool FolderIdOf(host::TreeKey node, uint32_t* id) {
  if (CurrentFileSystem.type == records::kNtfs) {
    const NtfsFolderRecord* folder = FindNtfsFolderByTreeKey(node);
    if (folder != nullptr) *id = folder->recordNumber;
    return folder != nullptr;
  }
  const FatFolderRecord* folder = FindFatFolderByTreeKey(node);
  if (folder != nullptr) *id = folder->firstCluster;
  return folder != nullptr;
}

// A file record the save will write, unless its data cannot be had: one the settings let through.
template <typename Entry>
void AddEntry(const Entry& entry, SelectionSize* size) {
  if (WantedBySettings(entry.name, entry.deleted, DeletedPolicy::kApplies)) size->Add(entry.size);
}

void AddFolderFiles(uint32_t folderId, SelectionSize* size) {
  if (CurrentFileSystem.type != records::kNtfs) {
    for (size_t i : FatFilesOf(folderId)) AddEntry(FatEntryList[i], size);
  } else if (RecoveryMode == records::kExtensiveScan) {
    for (size_t i : NtfsFoundFilesOf(folderId)) {
      if (InChosenFileSystem(NtfsFoundEntryList[i])) AddEntry(NtfsFoundEntryList[i], size);
    }
  } else {
    for (size_t i : NtfsFilesOf(folderId)) AddEntry(NtfsEntryList[i], size);
  }
}

// Every folder under node (itself among them) that has a record, as the folder save walks them.
void AddFolderTree(host::ResultTreeHost* tree, host::TreeKey node, SelectionSize* size) {
  std::vector<host::TreeKey> pending{node};
  while (!pending.empty()) {
    const host::TreeKey folder = pending.back();
    pending.pop_back();
    uint32_t id = 0;
    if (!FolderIdOf(folder, &id)) continue;
    AddFolderFiles(id, size);
    if (tree == nullptr) continue;
    for (host::TreeKey child = tree->GetChildItem(folder); child != host::kNoTreeKey;
         child = tree->GetNextSiblingItem(child)) {
      records::GuardAllocation([&] { return pending.push_back(child), 0; });
    }
  }
}

void AddFile(uint32_t id, SelectionSize* size) {
  if (CurrentFileSystem.type != records::kNtfs) {
    if (const FatEntryRecord* entry = FindFatEntry(id)) AddEntry(*entry, size);
  } else if (RecoveryMode == records::kQuickScan) {
    for (const NtfsEntryRecord* entry : FindNtfsEntries(id)) AddEntry(*entry, size);
  } else {
    for (const NtfsFoundEntryRecord* entry : FindNtfsFoundEntries(id)) AddEntry(*entry, size);
  }
}

// File Trace's hits have no index of their own: their names by id, once for the whole selection.
void AddHits(const std::vector<uint32_t>& ids, SelectionSize* size) {
  std::unordered_map<uint32_t, const std::u16string*> names;
  records::GuardAllocation([&] {
    for (const FileTraceHit& hit : FileTraceHitList) names.emplace(hit.id, &hit.fileName);
    return 0;
  });
  for (uint32_t id : ids) {
    const auto found = names.find(id);
    if (found != names.end() && WantedBySettings(*found->second, 0, DeletedPolicy::kIgnored)) {
      size->Add(uint64_t{LargeFileSize.load()} * kMegabyte);
    }
  }
}

}  // namespace

void SelectionSize::Add(uint64_t size) {
  ++files;
  bytes = SaturatingAdd(bytes, size);
}

SelectionSize MeasureSelection(const std::vector<host::TreeKey>& folders, const std::vector<uint32_t>& ids) {
  SelectionSize size;
  if (RecoveryMode == records::kFileTrace) {
    AddHits(ids, &size);
    return size;
  }
  host::ResultTreeHost* tree = host::Current().resultTree;
  for (host::TreeKey folder : folders) AddFolderTree(tree, folder, &size);
  for (uint32_t id : ids) AddFile(id, &size);
  return size;
}

void SetSelection(SelectionSize selection) {
  state = SelectionState{};
  state.selection = selection;
  // Each file's weight on top of its bytes.
  const uint64_t files = selection.files;
  state.totalWeight = files > ~uint64_t{0} / kFileWeight ? ~uint64_t{0} : SaturatingAdd(selection.bytes, files * kFileWeight);
}

void BeginSelectionFile(uint64_t size) {
  if (state.reached > 0) state.doneWeight = SaturatingAdd(state.doneWeight, Weight(state.currentSize));
  ++state.reached;
  state.currentSize = size;
}

uint32_t SelectionPosition(uint64_t doneInFile, uint64_t fileSize) {
  // No selection known: the file in hand is the whole.
  if (state.totalWeight == 0) return static_cast<uint32_t>(std::min<uint64_t>(Percent(doneInFile, fileSize), 99));
  const uint64_t done = SaturatingAdd(state.doneWeight, std::min(doneInFile, fileSize));
  return static_cast<uint32_t>(std::min<uint64_t>(Percent(done, state.totalWeight), 100));
}

std::u16string SelectionFilesText(uint32_t started) {
  if (state.selection.files == 0) return os::Decimal(started);
  return os::Decimal(std::min(state.reached, state.selection.files)) + u" of " + os::Decimal(state.selection.files);
}

void ShowSelectionDone() {
  if (state.totalWeight != 0) SendPosition(100);
}

void FileProgress::Show(uint64_t done, uint64_t total) {
  if (shown_) SendPosition(SelectionPosition(done, total));
}

}  // namespace save
