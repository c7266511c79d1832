#include "engine/fat/fat_directory.h"

#include <algorithm>
#include <string>
#include <string_view>
#include <vector>

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
constexpr uint8_t kVolumeLabelAttribute = 0x08;
constexpr uint8_t kReservedAttributes = 0xC0;
// Characters a short name holds but seldom: small ASCII letters (Windows stores capitals) and rare symbols.
constexpr std::string_view kSeldomInShortNames = "@^`{}";

// Bytes first .. first + count - 1 of an entry without blanks, a first byte 0x05 standing for 0xE5.
std::string PartBytes(const uint8_t* entry, uint32_t first, uint32_t count) {
  std::string bytes;
  for (uint32_t i = first; i < first + count; ++i) {
    if (entry[i] == ' ') continue;
    bytes.push_back(static_cast<char>(i == 0 && entry[i] == kFatLiveE5Mark ? kFatDeletedMark : entry[i]));
  }
  return bytes;
}

// How well bytes read as the rest of a deleted short name in codePage: -1 when they cannot (a byte or pair that
// stands for nothing, a lead byte without its second, a character no short name holds), else the characters a
// short name seldom holds (small ASCII letters, rare symbols, single bytes above ASCII in a code page of two).
int RestReading(std::string_view bytes, uint32_t codePage, bool doubleByte, std::u16string* text) {
  if (!os::DecodeCodePage(bytes, codePage, text)) return -1;
  int seldom = 0;
  for (size_t i = 0; i < bytes.size(); ++i) {
    const auto byte = static_cast<uint8_t>(bytes[i]);
    if (os::IsLeadByte(byte, codePage)) {
      if (i + 1 == bytes.size() || static_cast<uint8_t>(bytes[i + 1]) < kLeastSecondByte) return -1;
      ++i;
      continue;
    }
    if (!IsShortNameByte(byte)) return -1;
    const bool small = byte >= 'a' && byte <= 'z';
    if (small || kSeldomInShortNames.find(static_cast<char>(byte)) != std::string_view::npos ||
        (doubleByte && byte >= 0x80)) {
      ++seldom;
    }
  }
  return seldom;
}

// Whether a lead byte of codePage is known: whether characters of two bytes may begin anywhere.
bool HasLeadBytes(uint32_t codePage) {
  for (uint32_t byte = 0x80; byte <= 0xFF; ++byte) {
    if (os::IsLeadByte(static_cast<uint8_t>(byte), codePage)) return true;
  }
  return false;
}

// The characters of a deleted short name's name part after its first, whose byte the deleted mark took. In a
// code page of two bytes a character that first byte began may have been one of two: the rest then begins at
// its second byte, or at the byte after it. The reading that holds only characters a short name may, and fewer
// that it seldom holds, is taken; a tie keeps the first (as an ASCII name reads).
std::u16string DeletedRest(std::string_view rest, uint32_t codePage) {
  std::u16string one, two;
  const bool doubleByte = HasLeadBytes(codePage);
  const int asSingle = RestReading(rest, codePage, doubleByte, &one);
  if (!doubleByte || rest.empty() || static_cast<uint8_t>(rest[0]) < kLeastSecondByte) return one;
  const int asSecond = RestReading(rest.substr(1), codePage, doubleByte, &two);
  const bool second = asSecond >= 0 && (asSingle < 0 || asSecond < asSingle);
  return second ? two : one;
}

// The characters a part of a short name stands for in codePage, in small letters when lower. deletedFirst: the
// part's first byte is the deleted mark, shown as 'x' for the character it took.
void AppendShortNamePart(const uint8_t* entry, uint32_t first, uint32_t count, bool lower, bool deletedFirst,
                         uint32_t codePage, std::u16string& name) {
  const std::string bytes = PartBytes(entry, first, count);
  std::u16string text;
  if (deletedFirst && !bytes.empty()) {
    text = u"x" + DeletedRest(std::string_view(bytes).substr(1), codePage);
  } else {
    os::DecodeCodePage(bytes, codePage, &text);
  }
  for (char16_t c : text) name.push_back(lower ? OemSmallLetter(c) : c);
}

// The short name in the system's OEM code page, with the case flags honoured (caseFlags) or as its bytes hold it.
// A deleted entry's first character, which its mark took, is shown as 'x'.
std::u16string ShortName(const uint8_t* entry, bool caseFlags) {
  const uint32_t codePage = ShortNameCodePage();
  std::u16string name;
  const bool deleted = entry[0] == kFatDeletedMark;
  AppendShortNamePart(entry, 0, 8, caseFlags && (entry[12] & kLowerCaseBase) != 0, deleted, codePage, name);
  if (entry[8] != ' ') {
    name.push_back(u'.');
    AppendShortNamePart(entry, 8, 3, caseFlags && (entry[12] & kLowerCaseExtension) != 0, false, codePage, name);
  }
  return name;
}

// The short name as readers of before named it: each byte one character, in 437 or 850 (the tables they had,
// 850 standing for every other code page), or (latin1) the byte's own value without the case flags.
std::u16string FormerShortName(const uint8_t* entry, bool caseFlags, bool latin1) {
  const uint32_t codePage = ShortNameCodePage();
  std::u16string name;
  const auto append = [&](uint32_t first, uint32_t count, bool lower) {
    for (uint32_t i = first; i < first + count; ++i) {
      if (entry[i] == ' ') continue;
      const uint8_t byte = i == 0 && entry[i] == kFatLiveE5Mark && !latin1 ? kFatDeletedMark : entry[i];
      const char16_t c = latin1 ? static_cast<char16_t>(byte) : os::OemCharacter(byte, codePage);
      name.push_back(lower ? OemSmallLetter(c) : c);
    }
  };
  append(0, 8, caseFlags && (entry[12] & kLowerCaseBase) != 0);
  if (entry[8] != ' ') {
    name.push_back(u'.');
    append(8, 3, caseFlags && (entry[12] & kLowerCaseExtension) != 0);
  }
  if (entry[0] == kFatDeletedMark) name[0] = u'x';
  return name;
}

// The names readers of before gave a short name that differ from name and nameOnDisk: one character per byte,
// and where the system's code page is neither 437 nor 850, each byte in 850, with and without the case flags.
std::vector<std::u16string> FormerShortNames(const uint8_t* entry, const std::u16string& name,
                                             const std::u16string& nameOnDisk) {
  std::vector<std::u16string> former;
  const auto keep = [&](std::u16string candidate) {
    if (candidate != name && candidate != nameOnDisk &&
        std::find(former.begin(), former.end(), candidate) == former.end()) {
      former.push_back(std::move(candidate));
    }
  };
  keep(FormerShortName(entry, false, true));
  const uint32_t codePage = ShortNameCodePage();
  if (codePage != 437 && codePage != 850) {
    keep(FormerShortName(entry, true, false));
    keep(FormerShortName(entry, false, false));
  }
  return former;
}

// Whether bytes first .. first + count - 1 of an entry may be a part of a short name: characters a name may hold
// (the first also a deleted or live 0xE5 mark), blanks only after them.
bool IsShortNamePart(const uint8_t* entry, uint32_t first, uint32_t count) {
  bool padding = false;
  for (uint32_t i = first; i < first + count; ++i) {
    if (entry[i] == ' ') {
      padding = true;
    } else if (padding) {
      return false;
    }
  }
  return HoldsShortNameCharacters(entry + first, count, ShortNameCodePage());
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
    decoded.formerNames = FormerShortNames(entry, decoded.name, decoded.nameOnDisk);
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
