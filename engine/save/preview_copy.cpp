#include "engine/save/preview_copy.h"

#include "engine/image/read_sectors.h"
#include "engine/records/fat_records.h"
#include "engine/records/file_trace_hits.h"
#include "engine/records/ntfs_records.h"
#include "engine/records/scan_parameters.h"
#include "engine/save/savers.h"

namespace {

template <typename Entry>
PreviewFile FromNtfs(const Entry& entry) {
  PreviewFile file;
  file.kind = PreviewFile::Kind::kNtfs;
  file.name = entry.name;
  file.size = entry.size;
  file.folderId = entry.parentId;
  file.start = entry.id;
  file.deleted = entry.deleted;
  return file;
}

}  // namespace

std::optional<PreviewFile> FindPreviewFile(uint32_t id) {
  if (RecoveryMode == records::kFileTrace) {
    for (const FileTraceHit& hit : FileTraceHitList) {
      if (hit.id != id) continue;
      PreviewFile file;
      file.kind = PreviewFile::Kind::kFileTrace;
      file.name = hit.fileName;
      file.hasSize = false;
      file.start = hit.startSector;
      return file;
    }
    return std::nullopt;
  }
  const uint16_t type = CurrentFileSystem.type;
  if (type == records::kFat16 || type == records::kFat32) {
    const FatEntryRecord* entry = FindFatEntry(id);
    if (entry == nullptr) return std::nullopt;
    PreviewFile file;
    file.name = entry->name;
    file.size = entry->size;
    file.folderId = entry->parentId;
    file.start = entry->firstCluster;
    file.deleted = entry->deleted;
    return file;
  }
  if (type != records::kNtfs) return std::nullopt;
  if (RecoveryMode == records::kQuickScan) {
    if (const NtfsEntryRecord* entry = FindNtfsEntry(id)) return FromNtfs(*entry);
  } else if (const NtfsFoundEntryRecord* entry = FindNtfsFoundEntry(id)) {
    return FromNtfs(*entry);
  }
  return std::nullopt;
}

PreviewCopy WritePreviewCopy(const PreviewFile& file, const std::u16string& folder, const std::u16string& name) {
  // Without the image every byte would be zeros, shown as the file.
  if (!SourceReadable()) return PreviewCopy::kImageNeeded;
  uint32_t written = 0;
  switch (file.kind) {
    case PreviewFile::Kind::kFat:
      written = SaveFatItems(folder, 0, file.start, static_cast<uint32_t>(file.size), name, file.deleted);
      break;
    case PreviewFile::Kind::kNtfs:
      written = SaveNtfsItems(folder, name, file.size, file.start, 0, file.deleted);
      break;
    case PreviewFile::Kind::kFileTrace:
      written = SaveLargeFile(folder, name, file.start);
      break;
  }
  return written == 1 ? PreviewCopy::kWritten : PreviewCopy::kNotWritten;
}
