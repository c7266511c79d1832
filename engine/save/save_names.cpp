#include "engine/save/save_names.h"

#include <atomic>
#include <unordered_map>

#include "engine/records/record_list.h"
#include "engine/records/recovery_settings.h"
#include "engine/save/recovered_file.h"
#include "engine/save/safe_path_component.h"

namespace save {
namespace {

constexpr uint16_t kOverwriteDuplicates = 2;
constexpr uint16_t kSkipDuplicates = 3;

struct IdentityHash {
  size_t operator()(const os::FileIdentity& id) const {
    return std::hash<uint64_t>()(id.index * 1099511628211ull ^ id.volume);
  }
};

// The files this save wrote, each whether it was a deleted file; the folders it made (or took from before it),
// by identity the record they stand for and by record their path.
std::unordered_map<os::FileIdentity, bool, IdentityHash> writtenFiles;
std::unordered_map<os::FileIdentity, uint32_t, IdentityHash> madeFolders;
std::unordered_map<uint32_t, std::u16string> folderPaths;

std::atomic<MovedFileObserver> movedObserver{nullptr};

// The first "Copy (n ) of" name in destination that nothing takes: its target and name.
void FreeCopyName(const std::u16string& destination, std::u16string_view original, std::u16string* target,
                  std::u16string* name) {
  for (uint64_t n = 1;; ++n) {
    *name = CopyName(n, original);
    *target = JoinPath(destination, *name);
    if (!os::FileExists(*target)) return;
  }
}

// A live file is due at target, where this save wrote a deleted file of its name: the deleted one moves to a
// "Copy (n ) of" name. True when target is free.
bool MakeWayForLiveFile(const std::u16string& destination, const std::u16string& target, const std::u16string& name) {
  std::u16string copyTarget, copyName;
  FreeCopyName(destination, name, &copyTarget, &copyName);
  if (!os::RenameOver(target, copyTarget)) return false;
  if (const MovedFileObserver observer = movedObserver) observer(target, copyTarget);
  return true;
}

}  // namespace

std::u16string CopyName(uint64_t n, std::u16string_view name) {
  return NameWithPrefix(u"Copy (" + os::Decimal(n) + u" ) of ", name);
}

void ForgetWrittenFiles() {
  decltype(writtenFiles)().swap(writtenFiles);
  decltype(madeFolders)().swap(madeFolders);
  decltype(folderPaths)().swap(folderPaths);
}

bool ResolveDuplicate(const std::u16string& destination, uint32_t deleted, std::u16string* target,
                      std::u16string* name) {
  const uint16_t policy = RecoverySettings.duplicatePolicy;
  os::FileIdentity there;
  const bool known = !os::IsFolder(*target) && os::IdentityOf(*target, &there);
  const auto earlier = known ? writtenFiles.find(there) : writtenFiles.end();
  const bool fromThisSave = earlier != writtenFiles.end();
  if (fromThisSave && earlier->second && deleted == 0 && MakeWayForLiveFile(destination, *target, *name)) return true;
  // A folder, or a file of this very save, keeps its name whatever the setting.
  if (known && !fromThisSave && policy == kSkipDuplicates) return false;
  if (known && !fromThisSave && policy == kOverwriteDuplicates) return true;
  const std::u16string original = *name;
  FreeCopyName(destination, original, target, name);
  return true;
}

void RememberWritten(const os::FileIdentity& file, bool deleted) {
  records::GuardAllocation([&] { return writtenFiles[file] = deleted, 0; });
}

std::u16string MakeSaveFolder(const std::u16string& parent, uint32_t key, std::u16string_view name) {
  const auto made = folderPaths.find(key);
  if (made != folderPaths.end()) return made->second;
  const std::u16string safe = SafePathComponent(name);
  std::u16string path = JoinPath(parent, safe);
  os::FileIdentity there;
  const bool taken = os::IdentityOf(path, &there) &&
                     (!os::IsFolder(path) || (madeFolders.count(there) != 0 && madeFolders[there] != key));
  if (taken) {
    std::u16string copyName;
    FreeCopyName(parent, safe, &path, &copyName);
  }
  if (!os::IsFolder(path)) os::CreateFolder(path);
  if (os::IdentityOf(path, &there)) records::GuardAllocation([&] { return madeFolders[there] = key, 0; });
  records::GuardAllocation([&] { return folderPaths.emplace(key, path), 0; });
  return path;
}

void SetMovedFileObserver(MovedFileObserver observer) { movedObserver = observer; }

}  // namespace save
