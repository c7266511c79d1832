#include "tools/enginectl/rename_files.h"

#include <string>
#include <utility>
#include <vector>

#include "app/results/result_records.h"
#include "engine/records/file_system_range.h"
#include "engine/records/scan_records.h"
#include "platform/os/os.h"

void RenameEveryFile(const char* prefix) {
  const std::u16string before = os::FromUtf8(prefix);
  std::vector<std::pair<uint32_t, std::u16string>> files;
  if (CurrentFileSystem.type != records::kNtfs) {
    for (const FatEntryRecord& e : FatEntryList) files.emplace_back(e.id, e.name);
  } else if (RecoveryMode == records::kExtensiveScan) {
    for (const NtfsFoundEntryRecord& e : NtfsFoundEntryList) {
      if (InChosenFileSystem(e)) files.emplace_back(e.id, e.name);
    }
  } else {
    for (const NtfsEntryRecord& e : NtfsEntryList) files.emplace_back(e.id, e.name);
  }
  for (const auto& [id, name] : files) results::RenameFileRecord(id, before + name);
}
