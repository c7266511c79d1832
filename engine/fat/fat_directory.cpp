#include "engine/fat/fat_directory.h"

#include <algorithm>
#include <string>
#include <string_view>

#include "engine/fat/oem_code_page.h"
#include "engine/host/scan_host.h"
#include "engine/image/byte_order.h"
#include "engine/records/scan_records.h"
#include "platform/os/os.h"

namespace {

using os::Decimal;

// The case flags of byte 12 that Windows writes for a short name all in small letters: the name, the extension.
constexpr uint8_t kLowerCaseBase = 0x08;
constexpr uint8_t kLowerCaseExtension = 0x10;
// A live short name whose first character is 0xE5 in the code page keeps 0x05 there, 0xE5 marking deleted entries.
constexpr uint8_t kLiveE5Mark = 0x05;
constexpr uint8_t kVolumeLabelAttribute = 0x08;
constexpr uint8_t kReservedAttributes = 0xC0;
// Characters that long names may hold and short names may not.
constexpr std::string_view kNotInShortNames = "\"*+,./:;<=>?[\\]|";

uint32_t ShortNameCodePage() {
  static const uint32_t codePage = os::OemCodePage();
  return codePage;
}

// The character a byte of a short name stands for: in the system's OEM code page, or (latin1) as the byte's own
// value, as scans named files before the code page was honoured.
char16_t ShortNameCharacter(uint8_t byte, bool latin1) {
  return latin1 ? static_cast<char16_t>(byte) : os::OemCharacter(byte, ShortNameCodePage());
}

// Bytes first .. first + count - 1 of an entry without blanks; lower: its capitals in small letters.
void AppendWithoutBlanks(const uint8_t* entry, uint32_t first, uint32_t count, bool lower, bool latin1,
                         std::u16string& name) {
  for (uint32_t i = first; i < first + count; ++i) {
    if (entry[i] == ' ') continue;
    const uint8_t byte = i == 0 && entry[i] == kLiveE5Mark && !latin1 ? kFatDeletedMark : entry[i];
    const char16_t c = ShortNameCharacter(byte, latin1);
    name.push_back(lower ? OemSmallLetter(c) : c);
  }
}

// The short name: with the case flags honoured, as its bytes hold it, or (latin1) one character per byte without
// the flags. A deleted entry's first character, which its mark took, is shown as 'x'.
std::u16string ShortName(const uint8_t* entry, bool caseFlags, bool latin1 = false) {
  std::u16string name;
  AppendWithoutBlanks(entry, 0, 8, caseFlags && (entry[12] & kLowerCaseBase) != 0, latin1, name);
  if (entry[8] != ' ') {
    name.push_back(u'.');
    AppendWithoutBlanks(entry, 8, 3, caseFlags && (entry[12] & kLowerCaseExtension) != 0, latin1, name);
  }
  if (entry[0] == kFatDeletedMark) name[0] = u'x';
  return name;
}

// Whether bytes first .. first + count - 1 of an entry may be a part of a short name: characters a name may hold
// (the first also a deleted or live 0xE5 mark), blanks only after them.
bool IsShortNamePart(const uint8_t* entry, uint32_t first, uint32_t count) {
  bool padding = false;
  for (uint32_t i = first; i < first + count; ++i) {
    const uint8_t b = entry[i];
    if (b == ' ') {
      padding = true;
      continue;
    }
    const bool mark = i == 0 && (b == kFatDeletedMark || b == kLiveE5Mark);
    const bool invalid = b < 0x20 || b == 0x7F || kNotInShortNames.find(static_cast<char>(b)) != std::string_view::npos;
    if (padding || (invalid && !mark)) return false;
  }
  return true;
}

// An entry without clusters lists as an empty file when it is one: a file of 0 bytes under a short name (not a
// folder's ".." naming the root, a volume label, or stray bytes).
bool IsEmptyFileEntry(const uint8_t* entry) {
  if ((entry[11] & (kFatDirectoryAttribute | kVolumeLabelAttribute | kReservedAttributes)) != 0) return false;
  return LoadLe32(entry + 28) == 0 && entry[0] != ' ' && IsShortNamePart(entry, 0, 8) && IsShortNamePart(entry, 8, 3);
}

// The progress of a directory walk: entries processed against the clusters of the scanned range. Every
// entry of a cluster counts, so the count outruns the clusters; the bar stays at 99 until the step ends.
uint32_t DirectoryProgress(uint32_t processed) {
  const uint32_t perCluster = CurrentFileSystem.sectorsPerCluster;
  const uint64_t clusters = perCluster == 0 ? 0 : ScanRange.sectorCount / perCluster;
  if (clusters == 0) return 99;
  return static_cast<uint32_t>(std::min<uint64_t>(99, uint64_t{processed} * 100 / clusters));
}

void ShowRow(host::SecondDisplayRow row, const std::u16string& text) {
  if (host::SecondDisplayHost* panel = host::ScanProgressPanel()) panel->SetRowValue(row, text);
}

bool StopRequested() { return ScanThreadControl.stopFlag.load() != 0; }

// Lists one decoded entry and shows the counts, the progress and its name.
void ListEntry(const FatDirectoryEntry& entry, uint32_t parentId) {
  if (entry.IsDirectory()) {
    AppendFatFolder(entry.name, entry.firstCluster, parentId, entry.writeDate, entry.accessDate,
                    host::kNoTreeKey, entry.deleted);
    if (ScanCounters.folderCount % 10 == 0) ShowRow(host::kFoldersFoundRow, Decimal(ScanCounters.folderCount));
  } else {
    AppendFatDirectoryEntry(entry, parentId);
    ScanCounters.totalBytes += entry.size;
    ++ScanCounters.entryCount;
    if (ScanCounters.entryCount % 10 == 0) ShowRow(host::kFilesFoundRow, Decimal(ScanCounters.entryCount));
  }
  ++ScanCounters.processedCount;
  if (host::SecondDisplayHost* panel = host::ScanProgressPanel()) {
    panel->SetProgressPos(DirectoryProgress(ScanCounters.processedCount));
    panel->SetRowValue(host::kLastFileFolderRow, entry.name);
  }
}

}  // namespace

uint32_t MakeFatCluster(uint8_t b0, uint8_t b1, uint8_t b2, uint8_t b3) {
  return static_cast<uint32_t>(b0) | static_cast<uint32_t>(b1) << 8 | static_cast<uint32_t>(b2) << 16 |
         static_cast<uint32_t>(b3) << 24;
}

bool BeginsFatSubfolder(const uint8_t* sector) {
  return sector[0] == '.' && sector[1] == ' ' && sector[32] == '.' && sector[33] == '.';
}

uint32_t FatDotCluster(const uint8_t* sector, uint16_t fileSystemCode) {
  return fileSystemCode == records::kFat32 ? MakeFatCluster(sector[26], sector[27], sector[20], sector[21])
                                           : LoadLe16(sector + 26);
}

uint32_t FatDotDotCluster(const uint8_t* sector, uint16_t fileSystemCode) {
  return FatDotCluster(sector + kFatEntryBytes, fileSystemCode);
}

uint32_t IsValidFatName(std::u16string_view name) {
  for (char16_t c : name) {
    if ((c >= 1 && c <= 31) || std::u16string_view(u"\"\\/?*<>|").find(c) != std::u16string_view::npos) {
      return 0;
    }
  }
  return 1;
}

FatEntryKind DecodeFatEntry(const uint8_t* sector, uint32_t index, uint16_t fileSystemCode,
                            uint32_t directoryDeleted, FatDirectoryEntry* out, const FatSectorsBefore& before) {
  if (index >= kFatEntriesPerSector) return FatEntryKind::kSkip;
  const uint8_t* entry = sector + index * kFatEntryBytes;
  if (entry[0] == 0) return FatEntryKind::kEnd;
  if (entry[11] == kFatLongNameAttribute) return FatEntryKind::kSkip;
  const uint32_t firstCluster = fileSystemCode == records::kFat32
                                    ? MakeFatCluster(entry[26], entry[27], entry[20], entry[21])
                                    : LoadLe16(entry + 26);
  if (firstCluster == 0 && !IsEmptyFileEntry(entry)) return FatEntryKind::kSkip;

  FatDirectoryEntry decoded;
  decoded.name = ShortName(entry, true);
  decoded.nameOnDisk = ShortName(entry, false);
  decoded.deleted = directoryDeleted == 1 || entry[0] == kFatDeletedMark ? 1 : 0;
  std::u16string longName;
  // A long name holding a character no file name may (a damaged piece) gives way to the short name.
  if (AssembleLongName(sector, longName, index * kFatEntryBytes, before) == 0 && IsValidFatName(longName) == 1) {
    decoded.name = std::move(longName);
    decoded.nameOnDisk.clear();
  } else {
    decoded.latin1Name = ShortName(entry, false, true);
    if (decoded.latin1Name == decoded.nameOnDisk) decoded.latin1Name.clear();
  }
  if (IsValidFatName(decoded.name) == 0) return FatEntryKind::kSkip;
  // Only a short name whose case flags changed it keeps the name its bytes hold.
  if (decoded.nameOnDisk == decoded.name) decoded.nameOnDisk.clear();

  decoded.firstCluster = firstCluster;
  decoded.size = LoadLe32(entry + 28);
  decoded.accessDate = LoadLe16(entry + 18);
  decoded.writeDate = LoadLe16(entry + 24);
  decoded.times = {LoadLe16(entry + 22), LoadLe16(entry + 16), LoadLe16(entry + 14), entry[13]};
  decoded.attributes = entry[11];
  *out = std::move(decoded);
  return FatEntryKind::kListed;
}

FatEntryRecord& AppendFatDirectoryEntry(const FatDirectoryEntry& entry, uint32_t parentId) {
  FatEntryRecord& file = AppendFatEntry(entry.name, entry.firstCluster, parentId, entry.writeDate, entry.accessDate,
                                        entry.size, entry.deleted);
  records::GuardAllocation([&] { file.foundName = entry.nameOnDisk; });
  file.times = entry.times;
  return file;
}

void ParseFatDirectory(const uint8_t* sector, uint32_t parentId, uint32_t* endReached, uint32_t sectorNumber,
                       uint32_t deleted, uint16_t firstIndex, const FatSectorsBefore& before) {
  ShowRow(host::kCurrentSectorRow, Decimal(sectorNumber));
  for (uint32_t index = firstIndex; index < kFatEntriesPerSector; ++index) {
    if (StopRequested()) return;
    FatDirectoryEntry entry;
    const FatEntryKind kind = DecodeFatEntry(sector, index, CurrentFileSystem.type, deleted, &entry, before);
    if (kind == FatEntryKind::kEnd) {
      if (endReached != nullptr) *endReached = 1;
      return;
    }
    if (kind == FatEntryKind::kSkip) continue;
    if (StopRequested()) return;
    ListEntry(entry, parentId);
  }
}
