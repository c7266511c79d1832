// ParseFatDirectory and AssembleLongName over arbitrary directory sectors: every entry and long-name piece
// must be read inside its sector, names stay within 255 characters, and what is listed has a valid name; the
// entries again as a system of code page 932 (two bytes a character) reads them.
// Input: one byte of options (bit 0 FAT32, bit 1 a deleted directory, bits 2-5 the first entry, bit 6 with
// the sectors before), then the sector and, with bit 6, the sector before it and, when the input goes on past
// that, the one before that; short input is padded with 0.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>

#include "engine/fat/fat_directory.h"
#include "engine/fat/fat_entry_sector.h"
#include "engine/records/scan_records.h"
#include "platform/os/os.h"

namespace {

// An exactly sized copy, so that a read past the sector lands outside the allocation.
std::unique_ptr<uint8_t[]> SectorFrom(const uint8_t* data, size_t size, size_t from) {
  std::unique_ptr<uint8_t[]> sector(new uint8_t[kFatDirectorySectorBytes]());
  if (from < size) std::memcpy(sector.get(), data + from, std::min<size_t>(size - from, kFatDirectorySectorBytes));
  return sector;
}

void Check(bool condition) {
  if (!condition) __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 1) return 0;
  const uint8_t options = data[0];
  const auto sector = SectorFrom(data, size, 1);
  const auto previous = SectorFrom(data, size, 1 + kFatDirectorySectorBytes);
  const auto twoBack = SectorFrom(data, size, 1 + 2 * kFatDirectorySectorBytes);
  FatSectorsBefore before;
  if ((options & 0x40) != 0) {
    before.previous = previous.get();
    if (size > 1 + 2 * kFatDirectorySectorBytes) before.twoBack = twoBack.get();
  }

  for (uint32_t offset = 0; offset < kFatDirectorySectorBytes; offset += kFatEntryBytes) {
    std::u16string name;
    if (AssembleLongName(sector.get(), name, offset, before) == 0) {
      Check(!name.empty() && name.size() <= kFatLongNameMax);
    } else {
      Check(name.empty());
    }
  }

  FreeScanRecordLists();
  CurrentFileSystem.type = (options & 1) != 0 ? records::kFat32 : records::kFat16;
  CurrentFileSystem.sectorsPerCluster = options >> 7;  // 0 or 1: progress never divides by 0
  ScanRange.sectorCount = options;
  uint32_t ended = 0;
  ParseFatDirectory(sector.get(), 0, &ended, 0, (options >> 1) & 1, static_cast<uint16_t>((options >> 2) & 15),
                    before);
  for (const FatFolderRecord& folder : FatFolderList) Check(folder.firstCluster != 0 && IsValidFatName(folder.name) == 1);
  // A file without clusters is an empty one.
  for (const FatEntryRecord& entry : FatEntryList) {
    Check((entry.firstCluster != 0 || entry.size == 0) && IsValidFatName(entry.name) == 1);
  }
  Check(FatFolderList.size() + FatEntryList.size() <= kFatEntriesPerSector);

  os::UseOemCodePage(932);
  for (uint32_t index = 0; index < kFatEntriesPerSector; ++index) {
    FatDirectoryEntry entry;
    if (DecodeFatEntry(sector.get(), index, CurrentFileSystem.type, 0, &entry, before) == FatEntryKind::kListed) {
      Check(IsValidFatName(entry.name) == 1 && entry.name.size() <= kFatLongNameMax);
    }
  }
  HoldsFatDirectoryEntries(sector.get());
  os::UseOemCodePage(850);
  return 0;
}
