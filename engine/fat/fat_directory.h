// FAT16/FAT32 directories: one 512-byte sector of 32-byte entries turned into folder and file records, the
// long names in front of an entry, and the test that keeps names that cannot be file names out of the lists.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "engine/fat/fat_sectors_before.h"
#include "engine/records/fat_records.h"

constexpr uint32_t kFatDirectorySectorBytes = 512;
constexpr uint32_t kFatEntryBytes = 32;
constexpr uint32_t kFatEntriesPerSector = kFatDirectorySectorBytes / kFatEntryBytes;  // 16
constexpr uint32_t kFatLongNameMax = 255;
// The first byte of a deleted entry (and of its long-name pieces).
constexpr uint8_t kFatDeletedMark = 0xE5;
// The first byte of a live short name whose first character is 0xE5 in the code page (0xE5 marking deleted entries).
constexpr uint8_t kFatLiveE5Mark = 0x05;

// Attribute values of a directory entry.
constexpr uint8_t kFatLongNameAttribute = 0x0F;
constexpr uint8_t kFatDirectoryAttribute = 0x10;

// One short entry of a directory as the scans list it.
struct FatDirectoryEntry {
  std::u16string name;   // the long name when one stands in front of the entry, else the short name
  // A short name that its case flags put in small letters (readme.txt) as its bytes hold it (README.TXT), which
  // is how readers that ignore the flags name the file; empty for every other name.
  std::u16string nameOnDisk;
  // The names readers of before gave a short name, where they differ from name and nameOnDisk (a snapshot of
  // then names the file so): one character per byte; and, where the system's OEM code page is neither 437 nor
  // 850, each byte a character of 850, with the case flags and without. Empty for a long name.
  std::vector<std::u16string> formerNames;
  uint32_t firstCluster = 0;
  uint32_t size = 0;
  uint16_t writeDate = 0;   // FAT date words
  uint16_t accessDate = 0;
  FatEntryTimes times;
  uint8_t attributes = 0;
  uint32_t deleted = 0;  // 1 when the entry or the directory holding it is deleted

  bool IsDirectory() const { return (attributes & kFatDirectoryAttribute) != 0; }
};

enum class FatEntryKind {
  kEnd,     // first byte 0: the directory ends here
  kSkip,    // a long-name piece, an entry without clusters that is no empty file, or a name that cannot be a file name
  kListed,  // *out holds the entry
};

// Decodes entry index (0 to 15) of sector (512 bytes): FAT32 (fileSystemCode 200) takes the first cluster
// from bytes 26, 27, 20, 21, anything else the 16 bits at 26. directoryDeleted 1 marks the entry deleted.
// An entry without clusters is listed only as an empty file: 0 bytes, not a folder or volume label, its name bytes
// those of a short name. The short name is the name bytes without blanks, then "." and the extension bytes without
// blanks when the first extension byte is not blank, each part read in the system's OEM code page (a character of
// one byte or, in a code page such as 932, of two; a first byte 0x05 standing for 0xE5), each part in small
// letters when byte 12 says so (0x08 the name, 0x10 the extension), as Windows writes an all small 8.3 name; a
// first byte 0xE5 marks the entry deleted and is shown as 'x' (see DeletedRest in the source for the character of
// two bytes it may have begun). The long name (before: see AssembleLongName) replaces the short name unless it
// holds a character no file name may.
FatEntryKind DecodeFatEntry(const uint8_t* sector, uint32_t index, uint16_t fileSystemCode,
                            uint32_t directoryDeleted, FatDirectoryEntry* out, const FatSectorsBefore& before = {});

// Appends a decoded file entry to FatEntryList under parentId (the caller counts it), with the name its bytes
// hold as the name it was found under when its case flags changed it: a snapshot then names the file as a reader
// that ignores the flags does, and loads there too.
struct FatEntryRecord;
FatEntryRecord& AppendFatDirectoryEntry(const FatDirectoryEntry& entry, uint32_t parentId);

// Lists the entries firstIndex .. 15 of sector (512 bytes) of a directory of CurrentFileSystem: folders
// into FatFolderList, files into FatEntryList, each with parentId; deleted 1 (a deleted directory) marks
// every record deleted. Sets *endReached to 1 at the end of the directory. Ends early when the scan's stop
// flag is set. Shows sectorNumber, the counts, the last name and the progress on the scan panel.
// before: the folder's sectors before this one (see AssembleLongName).
void ParseFatDirectory(const uint8_t* sector, uint32_t parentId, uint32_t* endReached, uint32_t sectorNumber,
                       uint32_t deleted, uint16_t firstIndex, const FatSectorsBefore& before = {});

// The long name of the entry at byte entryOffset of sector (512 bytes), gathered from the long-name pieces
// that precede it: 0 when a long name was written to nameOut, 1 when the entry keeps its short name.
// The pieces are read back from the entry inside sector and on into the folder's sectors before it that
// the caller hands in (a name of 20 pieces may begin two sectors back). They count only as a run that
// belongs to the entry:
// - a live entry: sequence numbers 1, 2, ... (the piece nearest the entry first) up to the piece marked
//   as the name's last (0x40), each piece carrying the entry's checksum (FatShortNameChecksum);
// - a deleted entry: deletion wrote 0xE5 over its first byte and its pieces' sequence numbers, so the
//   erased pieces that carry one checksum are taken up to the one holding the name's end, an entry of
//   another kind or the start of what was handed in (numbered pieces before a deleted entry are taken as
//   for a live one, with the checksum of the nearest piece).
// A run that breaks off (a gap in the numbers, another checksum, the start of what was handed in before
// the last piece) keeps the short name, as do an entry outside the sector and an empty name. Names are
// cut at 255 characters.
uint32_t AssembleLongName(const uint8_t* sector, std::u16string& nameOut, uint32_t entryOffset,
                          const FatSectorsBefore& before = {});

// The checksum of a short entry's 11 name bytes that each of its long-name pieces carries at byte 13.
uint8_t FatShortNameChecksum(const uint8_t* entry);

// 1 when name holds no character 1 to 31 and none of " \ / ? * < > |; else 0. The colon is allowed.
uint32_t IsValidFatName(std::u16string_view name);

// Whether sector (512 bytes) begins a subfolder: its "." entry, then ".." at byte 32.
bool BeginsFatSubfolder(const uint8_t* sector);

// The cluster the ".." entry of a subfolder's first sector names (0 for the root): FAT32 (fileSystemCode 200)
// bytes 58, 59, 52, 53, anything else the 16 bits at 58.
uint32_t FatDotDotCluster(const uint8_t* sector, uint16_t fileSystemCode);
// The cluster its "." entry names, the folder's own: bytes 26, 27, 20, 21 (FAT32), else the 16 bits at 26.
uint32_t FatDotCluster(const uint8_t* sector, uint16_t fileSystemCode);

// The u32 of the bytes b0 (lowest) to b3; a FAT32 entry's first cluster is bytes 26, 27, 20, 21.
uint32_t MakeFatCluster(uint8_t b0, uint8_t b1, uint8_t b2, uint8_t b3);
