// Page 3's choice of a file system that an Extensive Scan found: the chosen record goes into
// CurrentFileSystem, and the form beside the tree shows its parameters under the captions of its kind.
// The page calls ChooseFileSystem with the tree item the user selected and shows what it answers.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "engine/host/host.h"

// The five row captions of the form, by kind; an empty caption leaves its row blank.
enum class FormCaptions { kFat, kNtfs };
const std::array<const char16_t*, 5>& RowCaptions(FormCaptions kind);
// The captions of the file-system code of ScanRange (NTFS for 300, FAT otherwise).
FormCaptions CaptionsOfScanRange();

// What the form shows after a choice.
struct FileSystemChoice {
  // False: nothing changes (an item without a record, or a record of no known kind).
  bool changed = false;
  FormCaptions captions = FormCaptions::kFat;
  // True for the top item "File System": the captions change and nothing else.
  bool captionsOnly = false;
  bool firstRowHidden = false;
  std::array<std::u16string, 5> values;
};

// The tree item item, labelled text, was chosen. For a found file system's item (the record of
// FoundFileSystemList whose id is item) CurrentFileSystem takes the record's fields of its kind and, as
// its id, the record's number counted from 1; the fields of the other kind keep their values.
FileSystemChoice ChooseFileSystem(host::TreeKey item, const std::u16string& text);

// The size text of the form: (last - first) >> 11 followed by " MB" (sectors of 512 bytes).
std::u16string FileSystemSizeText(uint32_t firstSector, uint32_t lastSector);
