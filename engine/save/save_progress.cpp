#include "engine/save/save_progress.h"

#include <algorithm>
#include <unordered_map>

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

// The files of a folder that the folder save writes: those the settings let through.
void AddFolderFiles(uint32_t folderId, SelectionSize* size) {
  const auto add = [size](const auto& entry) { size->AddWanted(entry.name, entry.deleted, entry.size); };
  if (CurrentFileSystem.type != records::kNtfs) {
    for (size_t i : FatFilesOf(folderId)) add(FatEntryList[i]);
  } else if (RecoveryMode == records::kExtensiveScan) {
    for (size_t i : NtfsFoundFilesOf(folderId)) {
      if (InChosenFileSystem(NtfsFoundEntryList[i])) add(NtfsFoundEntryList[i]);
    }
  } else {
    for (size_t i : NtfsFilesOf(folderId)) add(NtfsEntryList[i]);
  }
}

}  // namespace

void SelectionSize::Add(uint64_t size) {
  ++files;
  bytes = SaturatingAdd(bytes, size);
}

void SelectionSize::AddWanted(std::u16string_view name, uint32_t deleted, uint64_t size) {
  if (WantedBySettings(name, deleted, DeletedPolicy::kApplies)) Add(size);
}

SelectionSize MeasureFolders(const std::vector<uint32_t>& folders) {
  SelectionSize size;
  for (uint32_t folder : folders) AddFolderFiles(folder, &size);
  return size;
}

// File Trace's hits have no index of their own: their names by id, once for the whole selection.
SelectionSize MeasureHits(const std::vector<uint32_t>& ids) {
  SelectionSize size;
  std::unordered_map<uint32_t, const std::u16string*> names;
  records::GuardAllocation([&] {
    for (const FileTraceHit& hit : FileTraceHitList) names.emplace(hit.id, &hit.fileName);
    return 0;
  });
  for (uint32_t id : ids) {
    const auto found = names.find(id);
    if (found != names.end() && WantedBySettings(*found->second, 0, DeletedPolicy::kIgnored)) {
      size.Add(uint64_t{LargeFileSize.load()} * kMegabyte);
    }
  }
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
