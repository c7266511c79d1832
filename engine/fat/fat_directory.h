// FAT16/FAT32 directories: one 512-byte sector of 32-byte entries turned into folder and file records, the
// long names in front of an entry, and the test that keeps names that cannot be file names out of the lists.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

constexpr uint32_t kFatDirectorySectorBytes = 512;
constexpr uint32_t kFatEntryBytes = 32;
constexpr uint32_t kFatEntriesPerSector = kFatDirectorySectorBytes / kFatEntryBytes;  // 16
constexpr uint32_t kFatLongNameMax = 255;

// Attribute values of a directory entry.
constexpr uint8_t kFatLongNameAttribute = 0x0F;
constexpr uint8_t kFatDirectoryAttribute = 0x10;

// One short entry of a directory as the scans list it.
struct FatDirectoryEntry {
  std::u16string name;   // the long name when one stands in front of the entry, else the short name
  uint32_t firstCluster = 0;
  uint32_t size = 0;
  uint16_t writeDate = 0;   // FAT date words
  uint16_t accessDate = 0;
  uint8_t attributes = 0;
  uint32_t deleted = 0;  // 1 when the entry or the directory holding it is deleted

  bool IsDirectory() const { return (attributes & kFatDirectoryAttribute) != 0; }
};

enum class FatEntryKind {
  kEnd,     // first byte 0: the directory ends here
  kSkip,    // a long-name piece, an entry without clusters, or a name that cannot be a file name
  kListed,  // *out holds the entry
};

// Decodes entry index (0 to 15) of sector (512 bytes): FAT32 (fileSystemCode 200) takes the first cluster
// from bytes 26, 27, 20, 21, anything else the 16 bits at 26. directoryDeleted 1 marks the entry deleted.
// The short name is the name bytes without blanks, then "." and the extension bytes without blanks when
// the first extension byte is not blank, one character per byte; a first character 0xE5 marks the entry
// deleted and is shown as 'x'. previousSector: see AssembleLongName.
FatEntryKind DecodeFatEntry(const uint8_t* sector, uint32_t index, uint16_t fileSystemCode,
                            uint32_t directoryDeleted, FatDirectoryEntry* out, const uint8_t* previousSector = nullptr);

// Lists the entries firstIndex .. 15 of sector (512 bytes) of a directory of CurrentFileSystem: folders
// into FatFolderList, files into FatEntryList, each with parentId; deleted 1 (a deleted directory) marks
// every record deleted. Sets *endReached to 1 at the end of the directory. Ends early when the scan's stop
// flag is set. Shows sectorNumber, the counts, the last name and the progress on the scan panel.
// previousSector: see AssembleLongName.
void ParseFatDirectory(const uint8_t* sector, uint32_t parentId, uint32_t* endReached, uint32_t sectorNumber,
                       uint32_t deleted, uint16_t firstIndex, const uint8_t* previousSector = nullptr);

// The long name of the entry at byte entryOffset of sector (512 bytes), gathered from the long-name pieces
// that precede it: 0 when a long name was written to nameOut, 1 when the entry keeps its short name (no
// pieces, a run of pieces broken off, or an entry that does not lie inside the sector). Names are cut at
// 255 characters. Pieces are read inside sector and, when the caller has it, inside previousSector (512
// bytes): the directory's sector before this one, where a name's first pieces may lie. A run of pieces
// that reaches the start of what was handed in makes a name only when its piece there is marked as the
// name's last (or is deleted, which wipes that mark).
uint32_t AssembleLongName(const uint8_t* sector, std::u16string& nameOut, uint32_t entryOffset,
                          const uint8_t* previousSector = nullptr);

// 1 when name holds no character 1 to 31 and none of " \ / ? * < > |; else 0. The colon is allowed.
uint32_t IsValidFatName(std::u16string_view name);

// The u32 of the bytes b0 (lowest) to b3; a FAT32 entry's first cluster is bytes 26, 27, 20, 21.
uint32_t MakeFatCluster(uint8_t b0, uint8_t b1, uint8_t b2, uint8_t b3);
