#include "engine/save/recovered_file.h"

#include <algorithm>
#include <atomic>
#include <cstring>

#include "engine/fat/save_abort.h"
#include "engine/host/host.h"
#include "engine/host/save_host.h"
#include "engine/image/read_sectors.h"
#include "engine/ntfs/mft_record.h"
#include "engine/records/recovery_settings.h"
#include "engine/listing/file_filter_table.h"
#include "engine/save/safe_path_component.h"
#include "engine/save/save_state.h"
#include "platform/os/markup_escape.h"

namespace save {
namespace {

constexpr uint16_t kOverwriteDuplicates = 2;
constexpr uint16_t kSkipDuplicates = 3;
constexpr uint16_t kOnlyDeletedFiles = 2;
constexpr uint16_t kExcludeDeletedFiles = 3;

std::atomic<uint64_t> selectionSize{0};
std::atomic<FinishedFileObserver> finishedObserver{nullptr};

bool PassesDeletedPolicy(uint32_t deleted) {
  const uint16_t policy = RecoverySettings.deletedPolicy;
  if (policy == kExcludeDeletedFiles && deleted == 1) return false;
  if (policy == kOnlyDeletedFiles && deleted == 0) return false;
  return true;
}

// Applies the duplicate-name policy to a target that exists; false when the file is to be skipped. Any
// policy other than overwrite and skip renames: nothing is replaced unless the user said so. A folder of
// the name is no earlier copy of the file (a live folder and a deleted file of one name, say): the folder
// keeps its name and the file is renamed, whatever the policy.
bool ResolveDuplicate(const std::u16string& destination, std::u16string* target, std::u16string* name) {
  const uint16_t policy = RecoverySettings.duplicatePolicy;
  const bool folder = os::IsFolder(*target);
  if (!folder && policy == kSkipDuplicates) return false;
  if (!folder && policy == kOverwriteDuplicates) return true;
  const std::u16string original = *name;
  for (uint64_t n = 1;; ++n) {
    *name = u"Copy (" + os::FromAscii(std::to_string(n)) + u" ) of " + original;
    *target = JoinPath(destination, *name);
    if (!os::FileExists(*target)) return true;
  }
}

void Ask(const std::u16string& text) {
  host::MessageHost* messages = host::Current().messages;
  const uint32_t answer = messages ? messages->ConfirmDialog(text, host::kError) : 2;
  if (answer != 1) SaveAbortFlag = 1;
}

}  // namespace

std::u16string JoinPath(const std::u16string& folder, std::u16string_view component) {
  std::u16string path = folder;
  if (path.empty() || (path.back() != u'\\' && path.back() != u'/')) path += u'\\';
  path += component;
  return path;
}

bool StartFile(const std::u16string& destination, std::u16string_view fileName, uint32_t userSave, uint32_t deleted,
               DeletedPolicy policy, std::u16string* target, std::u16string* name) {
  if (SaveStopRequested()) return false;
  SkipCurrentFileFlag = 0;
  *name = SafePathComponent(fileName);
  *target = JoinPath(destination, *name);
  if (userSave != 1) return true;
  const bool passes = PassesFileFilters(fileName) &&
                      (policy != DeletedPolicy::kApplies || PassesDeletedPolicy(deleted)) &&
                      (!os::FileExists(*target) || ResolveDuplicate(destination, target, name));
  if (!passes) ++SaveTally.heldBack;
  return passes;
}

void ShowFileStarted(const std::u16string& target, const std::u16string& name) {
  const uint32_t count = ++SavedFileCount;
  host::SaveProgressHost* dialog = host::Current().saveProgress;
  if (!dialog) return;
  dialog->SetPathText(target);
  dialog->SetFileNameText(name);
  dialog->SetTotalFilesText(os::FromAscii(std::to_string(count)));
  dialog->SetProgressPos(0);
}

void FileProgress::Show(uint64_t done, uint64_t total) {
  if (!shown_) return;
  // Sizes are 64-bit: a product that could overflow divides the total first.
  constexpr uint64_t kLargest = ~uint64_t{0} / 100;
  const uint64_t percent = total == 0 ? 0 : total <= kLargest ? done * 100 / total : done / (total / 100);
  const uint32_t position = static_cast<uint32_t>(std::min<uint64_t>(percent, 99));
  if (position == last_) return;
  last_ = position;
  if (host::SaveProgressHost* dialog = host::Current().saveProgress) dialog->SetProgressPos(position);
}

void SetFinishedFileObserver(FinishedFileObserver observer) { finishedObserver = observer; }

void SetSelectionSize(uint64_t files) { selectionSize = files; }

void ShowSelectionProgress(uint32_t started) {
  const uint64_t files = selectionSize;
  const uint64_t percent = files == 0 ? 0 : std::min<uint64_t>(uint64_t{started} * 100 / files, 100);
  if (host::SaveProgressHost* dialog = host::Current().saveProgress) {
    dialog->SetProgressPos(static_cast<uint32_t>(percent));
  }
}

bool SaveInterrupted() { return SaveStopRequested() || SkipCurrentFileFlag == 1; }

void CountUnreadable(uint32_t userSave) {
  if (userSave == 1) ++SaveTally.unreadable;
}

bool UsableClusterSize(uint32_t sectorsPerCluster) {
  return sectorsPerCluster >= 1 && sectorsPerCluster <= kMaxSectorsPerCluster;
}

uint32_t ReadUnitSectors(uint32_t sectorsPerCluster) {
  if (sectorsPerCluster < 8) return 1;
  return sectorsPerCluster == 8 ? 8 : 16;
}

bool ReadSourceUnit(uint64_t first, uint32_t count, uint8_t* buffer) {
  std::memset(buffer, 0, size_t{count} * kSectorSize);
  if (ntfs::ReadSourceSectors(ntfs::CurrentDevicePath(), first, count, buffer)) return true;
  std::memset(buffer, 0, size_t{count} * kSectorSize);
  return false;
}

RecoveredFile::RecoveredFile(std::u16string path, uint32_t userSave, bool ask)
    : path_(std::move(path)), userSave_(userSave), ask_(ask) {}

RecoveredFile::~RecoveredFile() {
  if (created_) Finish(true);
}

void RecoveredFile::Fail(const char16_t* what) {
  failed_ = true;
  if (userSave_ == 1) ++SaveTally.unwritten;
  if (ask_) Ask(what + msgbox::EscapeMarkup(path_) + u".  Continue Recovery ? ");
}

bool RecoveredFile::Create() {
  if (file_.OpenWrite(path_)) {
    created_ = true;
    return true;
  }
  Fail(u"Error creating file : ");
  return false;
}

bool RecoveredFile::Append(const uint8_t* data, uint64_t length) {
  if (failed_ || !created_) return false;
  while (length > 0) {
    const uint32_t piece = static_cast<uint32_t>(std::min<uint64_t>(length, 1u << 30));
    if (!file_.Write(data, piece)) {
      Fail(u"Error writing file : ");
      return false;
    }
    data += piece;
    length -= piece;
  }
  return true;
}

bool RecoveredFile::Finish(bool abandoned) {
  if (!created_) return false;
  created_ = false;
  if (!file_.Close() && !failed_ && !abandoned) Fail(u"Error writing file : ");
  if (failed_ || abandoned) {
    os::RemoveFile(path_);
    // Skip File ended it (Stop ends the whole save, which is not reported).
    if (!failed_ && userSave_ == 1 && SkipCurrentFileFlag == 1 && !SaveStopRequested()) ++SaveTally.skipped;
    return false;
  }
  if (userSave_ == 1) {
    ++SaveTally.saved;
    if (damaged_) ++SaveTally.unreadable;
    if (const FinishedFileObserver observer = finishedObserver) observer(path_, damaged_);
  }
  return true;
}

bool CopyCluster(RecoveredFile& file, ClusterSource source, uint64_t firstSector, uint32_t sectorsPerCluster,
                 uint64_t size, uint64_t& written, std::vector<uint8_t>& buffer, uint64_t valid) {
  const uint32_t unit = ReadUnitSectors(sectorsPerCluster);
  buffer.resize(size_t{unit} * kSectorSize);
  for (uint32_t offset = 0; offset < sectorsPerCluster && written < size; offset += unit) {
    const uint32_t count = std::min(unit, sectorsPerCluster - offset);
    const uint64_t bytes = std::min<uint64_t>(uint64_t{count} * kSectorSize, size - written);
    if (source == ClusterSource::kRead && written < valid) {
      if (!ReadSourceUnit(firstSector + offset, count, buffer.data())) file.MarkDamaged();
      // What lies past the valid data length was never written by the file: stale bytes of the disk.
      if (valid - written < bytes) std::fill(buffer.begin() + static_cast<ptrdiff_t>(valid - written), buffer.end(), 0);
    } else {
      std::fill(buffer.begin(), buffer.end(), 0);
      if (source == ClusterSource::kUnreadable) file.MarkDamaged();
    }
    if (!file.Append(buffer.data(), bytes)) return false;
    written += bytes;
  }
  return true;
}

}  // namespace save
