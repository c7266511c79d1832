// The preview's copy of a file row of page 4: the record the row stands for, and its data written from
// the source into a temporary file for the preview pane. A copy is no save: no filter, policy, progress or
// question, and the save's stop and skip flags stay as they are.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

struct PreviewFile {
  enum class Kind { kFat, kNtfs, kFileTrace };
  Kind kind = Kind::kFat;
  std::u16string name;
  uint64_t size = 0;
  bool hasSize = true;               // false for File Trace hits, which carry none
  std::optional<uint32_t> folderId;  // FAT and NTFS: the containing folder's id
  uint32_t start = 0;                // the first cluster (FAT), MFT record sector (NTFS) or start sector
  uint32_t deleted = 0;
};

// The record with this id in the lists of the current mode and file system: FAT entries; NTFS entries of
// a Quick Scan, the entries an Extensive Scan found otherwise; File Trace hits. Nothing when none has it.
std::optional<PreviewFile> FindPreviewFile(uint32_t id);

enum class PreviewCopy {
  kWritten,
  kNotWritten,   // it could not be read or written
  kImageNeeded,  // no source is open: nothing was written
};
// Writes file's data to folder\name.
PreviewCopy WritePreviewCopy(const PreviewFile& file, const std::u16string& folder, const std::u16string& name);
