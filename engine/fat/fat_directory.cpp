#include "engine/fat/fat_directory.h"

#include <algorithm>
#include <string>

#include "engine/host/scan_host.h"
#include "engine/image/byte_order.h"
#include "engine/records/scan_records.h"
#include "platform/os/os.h"

namespace {

constexpr uint8_t kDeletedMark = 0xE5;
constexpr uint32_t kLongNamePieceChars = 13;
// Where the 13 characters of a long-name piece lie: bytes 1-10, 14-25 and 28-31.
constexpr struct {
  uint32_t offset;
  uint32_t chars;
} kLongNameRuns[] = {{1, 5}, {14, 6}, {28, 2}};

std::u16string Decimal(uint64_t value) { return os::FromAscii(std::to_string(value)); }

// Bytes first .. first + count - 1 of an entry without blanks, one character per byte.
void AppendWithoutBlanks(const uint8_t* entry, uint32_t first, uint32_t count, std::u16string& name) {
  for (uint32_t i = first; i < first + count; ++i) {
    if (entry[i] != ' ') name.push_back(static_cast<char16_t>(entry[i]));
  }
}

std::u16string ShortName(const uint8_t* entry) {
  std::u16string name;
  AppendWithoutBlanks(entry, 0, 8, name);
  if (entry[8] != ' ') {
    name.push_back(u'.');
    AppendWithoutBlanks(entry, 8, 3, name);
  }
  return name;
}

// Appends the characters of one long-name piece; true when a character 0 ended the name or it reached
// the longest name.
bool AppendLongNamePiece(const uint8_t* piece, std::u16string& name) {
  for (const auto& run : kLongNameRuns) {
    for (uint32_t i = 0; i < run.chars; ++i) {
      const char16_t c = static_cast<char16_t>(LoadLe16(piece + run.offset + 2 * i));
      if (c == 0 || name.size() == kFatLongNameMax) return true;
      name.push_back(c);
    }
  }
  return name.size() == kFatLongNameMax;
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
    AppendFatEntry(entry.name, entry.firstCluster, parentId, entry.writeDate, entry.accessDate, entry.size,
                   entry.deleted);
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

uint32_t IsValidFatName(std::u16string_view name) {
  for (char16_t c : name) {
    if ((c >= 1 && c <= 31) || std::u16string_view(u"\"\\/?*<>|").find(c) != std::u16string_view::npos) {
      return 0;
    }
  }
  return 1;
}

uint32_t AssembleLongName(const uint8_t* sector, std::u16string& nameOut, uint32_t entryOffset,
                          const uint8_t* previousSector) {
  if (entryOffset % kFatEntryBytes != 0 || entryOffset >= kFatDirectorySectorBytes) return 1;
  std::u16string name;
  const uint8_t* buffer = sector;
  uint32_t offset = entryOffset;
  const uint8_t* piece = nullptr;
  // Walk back from the entry: the piece holding the name's first characters stands nearest to it.
  for (;;) {
    if (offset == 0) {
      if (buffer != sector || previousSector == nullptr) break;
      buffer = previousSector;
      offset = kFatDirectorySectorBytes;
    }
    offset -= kFatEntryBytes;
    piece = buffer + offset;
    if (piece[11] != kFatLongNameAttribute) {
      if (name.empty() || name.size() % kLongNamePieceChars != 0) return 1;
      nameOut = name;
      return 0;
    }
    if (AppendLongNamePiece(piece, name)) {
      // An empty name (a piece that begins with its terminator) names nothing: keep the short name.
      if (name.empty()) return 1;
      nameOut = name;
      return 0;
    }
  }
  // The first entry of a sector has nothing before it here.
  if (piece == nullptr) return 1;
  // The pieces reach back to the start of what was handed in. The name is whole when the piece there is
  // marked as its last (0x40 in the sequence byte); a deleted piece has lost that mark and is taken as
  // whole. Otherwise the name goes on in a sector not handed in: keep the short name.
  if (piece[0] == kDeletedMark || (piece[0] & 0x40) != 0) {
    nameOut = name;
    return 0;
  }
  return 1;
}

FatEntryKind DecodeFatEntry(const uint8_t* sector, uint32_t index, uint16_t fileSystemCode,
                            uint32_t directoryDeleted, FatDirectoryEntry* out, const uint8_t* previousSector) {
  if (index >= kFatEntriesPerSector) return FatEntryKind::kSkip;
  const uint8_t* entry = sector + index * kFatEntryBytes;
  if (entry[0] == 0) return FatEntryKind::kEnd;
  if (entry[11] == kFatLongNameAttribute) return FatEntryKind::kSkip;
  const uint32_t firstCluster = fileSystemCode == records::kFat32
                                    ? MakeFatCluster(entry[26], entry[27], entry[20], entry[21])
                                    : LoadLe16(entry + 26);
  if (firstCluster == 0) return FatEntryKind::kSkip;

  FatDirectoryEntry decoded;
  decoded.name = ShortName(entry);
  decoded.deleted = directoryDeleted == 1 ? 1 : 0;
  if (!decoded.name.empty() && decoded.name[0] == kDeletedMark) {
    decoded.deleted = 1;
    decoded.name[0] = u'x';
  }
  std::u16string longName;
  if (AssembleLongName(sector, longName, index * kFatEntryBytes, previousSector) == 0) decoded.name = std::move(longName);
  if (IsValidFatName(decoded.name) == 0) return FatEntryKind::kSkip;

  decoded.firstCluster = firstCluster;
  decoded.size = LoadLe32(entry + 28);
  decoded.accessDate = LoadLe16(entry + 18);
  decoded.writeDate = LoadLe16(entry + 24);
  decoded.attributes = entry[11];
  *out = std::move(decoded);
  return FatEntryKind::kListed;
}

void ParseFatDirectory(const uint8_t* sector, uint32_t parentId, uint32_t* endReached, uint32_t sectorNumber,
                       uint32_t deleted, uint16_t firstIndex, const uint8_t* previousSector) {
  ShowRow(host::kCurrentSectorRow, Decimal(sectorNumber));
  for (uint32_t index = firstIndex; index < kFatEntriesPerSector; ++index) {
    if (StopRequested()) return;
    FatDirectoryEntry entry;
    const FatEntryKind kind = DecodeFatEntry(sector, index, CurrentFileSystem.type, deleted, &entry, previousSector);
    if (kind == FatEntryKind::kEnd) {
      if (endReached != nullptr) *endReached = 1;
      return;
    }
    if (kind == FatEntryKind::kSkip) continue;
    if (StopRequested()) return;
    ListEntry(entry, parentId);
  }
}
