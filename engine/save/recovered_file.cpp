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
#include "engine/records/record_list.h"
#include "engine/save/safe_path_component.h"
#include "engine/save/save_progress.h"
#include "engine/save/save_state.h"
#include "platform/os/markup_escape.h"

namespace save {
namespace {

constexpr uint16_t kOnlyDeletedFiles = 2;
constexpr uint16_t kExcludeDeletedFiles = 3;

std::atomic<FinishedFileObserver> finishedObserver{nullptr};
std::atomic<PassedLinkObserver> linkObserver{nullptr};

bool PassesDeletedPolicy(uint32_t deleted) {
  const uint16_t policy = RecoverySettings.deletedPolicy;
  if (policy == kExcludeDeletedFiles && deleted == 1) return false;
  if (policy == kOnlyDeletedFiles && deleted == 0) return false;
  return true;
}

// The user's file in hand since StartFile let it through: whether it is a deleted file.
bool currentDeleted = false;

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

bool WantedBySettings(std::u16string_view fileName, uint32_t deleted, DeletedPolicy policy) {
  return PassesFileFilters(fileName) && (policy != DeletedPolicy::kApplies || PassesDeletedPolicy(deleted));
}

bool StartFile(const std::u16string& destination, std::u16string_view fileName, uint64_t size, uint32_t userSave,
               uint32_t deleted, DeletedPolicy policy, std::u16string* target, std::u16string* name) {
  if (userSave == 1) {
    if (SaveStopRequested()) return false;
    SkipCurrentFileFlag = 0;
    // A file the settings keep back is no file of the selection (the measure of the selection leaves it out too).
    if (!WantedBySettings(fileName, deleted, policy)) {
      ++SaveTally.heldBack;
      return false;
    }
    BeginSelectionFile(size);
  }
  // Without the source every byte would be written as zeros and pass for the file.
  if (!SourceReadable()) {
    CountUnreadable(userSave);
    return false;
  }
  *name = SafePathComponent(fileName);
  *target = JoinPath(destination, *name);
  if (userSave != 1) return true;
  const bool passes = !os::FileExists(*target) || ResolveDuplicate(destination, deleted, target, name);
  if (!passes) ++SaveTally.heldBack;
  currentDeleted = deleted != 0;
  return passes;
}

bool ToldImageNeeded(const char16_t* text) {
  if (SourceReadable()) return false;
  if (host::MessageHost* messages = host::Current().messages) messages->MessageDialog(text, host::kError);
  return true;
}

void ShowFileStarted(const std::u16string& target, const std::u16string& name) {
  const uint32_t count = ++SavedFileCount;
  if (host::SaveProgressHost* dialog = host::Current().saveProgress) {
    dialog->SetPathText(target);
    dialog->SetFileNameText(name);
    dialog->SetTotalFilesText(SelectionFilesText(count));
  }
  FileProgress(1).Show(0, 0);
}

void SetFinishedFileObserver(FinishedFileObserver observer) { finishedObserver = observer; }

void SetPassedLinkObserver(PassedLinkObserver observer) { linkObserver = observer; }

bool SaveInterrupted(uint32_t userSave) {
  return userSave == 1 && (SaveStopRequested() || SkipCurrentFileFlag == 1);
}

void CountUnreadable(uint32_t userSave) {
  if (userSave == 1) ++SaveTally.unreadable;
}

void CountDataElsewhere(uint32_t userSave) {
  CountUnreadable(userSave);
  if (userSave == 1) ++SaveTally.elsewhere;
}

void CountLink(uint32_t userSave, const std::u16string& path, const std::u16string& target) {
  if (userSave != 1) return;
  ++SaveTally.links;
  NotePassedLink(path.substr(path.find_last_of(u"\\/") + 1), target);
  if (const PassedLinkObserver observer = linkObserver) observer(path, target);
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
  return ntfs::ReadSourceSectors(ntfs::CurrentDevicePath(), first, count, buffer);
}

RecoveredFile::RecoveredFile(std::u16string path, uint32_t userSave) : path_(std::move(path)), userSave_(userSave) {}

RecoveredFile::~RecoveredFile() {
  if (created_) Finish(true);
}

void RecoveredFile::Fail(const char16_t* what) {
  failed_ = true;
  if (userSave_ != 1) return;
  ++SaveTally.unwritten;
  Ask(what + msgbox::EscapeMarkup(path_) + u".  Continue Recovery ? ");
}

// A name of its own in path_'s folder: the first of kPartialPrefix 1, 2, ... that nothing takes, made at once so
// that nothing else can take it.
bool RecoveredFile::OpenBeside() {
  const size_t slash = path_.find_last_of(u"\\/");
  const std::u16string folder = slash == std::u16string::npos ? std::u16string() : path_.substr(0, slash + 1);
  for (uint64_t n = 1;; ++n) {
    writing_ = folder + kPartialPrefix + os::Decimal(n) + kPartialSuffix;
    if (file_.OpenNew(writing_)) return true;
    // Anything but a name taken is a failure that the next name would meet too.
    if (!os::FileExists(writing_)) return false;
  }
}

bool RecoveredFile::Create() {
  // A file from before the save stands at the name (the Overwrite setting): it is replaced only by a whole file.
  const bool made = os::FileExists(path_) ? OpenBeside() : (writing_ = path_, file_.OpenWrite(path_));
  if (made) {
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
  os::FileIdentity identity;
  bool known = file_.Identity(&identity);
  if (!file_.Close() && !failed_ && !abandoned) Fail(u"Error writing file : ");
  // Whole: it takes the place of the file it replaces. Its identity is asked for there again: a volume that numbers
  // files by their place in their folder (FAT) gives it another one.
  if (!failed_ && !abandoned && writing_ != path_) {
    if (os::RenameOver(writing_, path_)) {
      known = os::IdentityOf(path_, &identity);
    } else {
      Fail(u"Error creating file : ");
    }
  }
  if (failed_ || abandoned) {
    os::RemoveFile(writing_);
    // Skip File ended it (Stop ends the whole save, which is not reported).
    if (!failed_ && userSave_ == 1 && SkipCurrentFileFlag == 1 && !SaveStopRequested()) ++SaveTally.skipped;
    return false;
  }
  if (userSave_ == 1) {
    ++SaveTally.saved;
    if (damaged_) ++SaveTally.unreadable;
    if (known) RememberWritten(identity, currentDeleted);
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
      // Only the sectors the file fills: a sector of its last cluster past its end that the image no longer holds
      // takes nothing from it.
      const auto needed = static_cast<uint32_t>((bytes + kSectorSize - 1) / kSectorSize);
      if (!ReadSourceUnit(firstSector + offset, needed, buffer.data())) file.MarkDamaged();
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
