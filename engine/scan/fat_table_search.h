// Where a FAT volume's two allocation table copies lie when no boot sector says: found back from its data area,
// whose place the volume's folders give. Quick Scan without a boot sector and the reading of a file system an
// Extensive Scan rebuilt both ask.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

// The two copies and, on FAT16 and FAT12, the root folder between the second and the data area.
struct FatTablePair {
  uint64_t first = 0;   // the first copy's first sector
  uint64_t second = 0;  // the second copy's
  uint64_t length = 0;  // sectors per copy
  uint64_t root = 0;    // FAT16/FAT12: the root folder's first sector (second + length); FAT32: 0
  uint64_t rootSectors = 0;
};

// What the first sector of a table copy begins with: the media byte (F0, a floppy's, or F8 to FE) as the low byte of
// the first reserved entry, its other bits set, then the second reserved entry set but for its two flags (a volume
// not cleanly unmounted, or with a hard error): FAT32 F8 FF FF 0F FF FF FF 0F (4-byte entries), FAT16 F8 FF FF FF,
// FAT12 F8 FF FF. FAT32's first entry holds the media byte in its 28 low bits whatever its top four: small devices'
// FAT library writes F8 FF FF FF FF FF FF FF, which begins FAT16's table as well where its clusters 2 and 3 each end
// a chain (kEither: the layout of the copies tells, FatPairKind). A table sector whose entries all end a chain
// (FF FF FF 0F ...: a folder of small files written in a row) has no media byte there and begins none.
enum class FatTableStart { kNone, kFat16, kFat32, kEither };  // kFat16: FAT16 or FAT12
FatTableStart FatTableStartOf(const uint8_t* sector);

// Whether a sector (512 bytes) can begin a table of the kind: FAT32 (fat32), else FAT16 or FAT12.
bool BeginsFatTable(const uint8_t* sector, bool fat32);
bool CanBegin(FatTableStart start, bool fat32);

// The kind of tables whose second copy begins at `second`, before a data area at dataStart: FAT32's copies end where
// the data area begins, FAT16's and FAT12's before a root folder of a size formatters give; a layout fits when the
// first copy begins (startAt) one table length before the second. kNone when neither fits, or both do.
FatTableStart FatPairKind(uint64_t dataStart, uint64_t second, const std::function<FatTableStart(uint64_t)>& startAt);

// A search back from dataStart (the sector of cluster 2) down to floor for two sectors that begin like a
// table, one table length apart, the second followed by the data area (FAT32) or by a root folder of a size
// formatters give (FAT16 and FAT12: 512 entries, a floppy's, or a power of two), no longer than a table of the
// kind can be. Copies whose two first sectors are equal (both hold the same entries) come first: a pair in
// firstLooked (the usual place of the first copy, looked at before the search), else the pair nearest the data.
// Without such a pair (an entry written to one copy alone before a crash), a pair that fits in firstLooked, else
// the nearest that fits. Without any pair (one copy's first sector lost), one copy's first sector places both where
// the sectors after it agree, not blank, with those one table length before or after it; where all of them are
// blank, it serves alone as both copies. Each sector of the search is read once. stopped() and progress(done, total) are asked as the search goes back.
struct FatTableSearch {
  uint64_t dataStart = 0;
  uint64_t floor = 0;
  bool fat32 = false;
  std::vector<uint64_t> firstLooked;
  std::function<bool()> stopped = [] { return false; };
  std::function<void(uint64_t, uint64_t)> progress = [](uint64_t, uint64_t) {};
};
std::optional<FatTablePair> FindFatTablePair(const FatTableSearch& search);

// How far back from the data area the copies of the longest tables of a kind (FAT32, or FAT16) and the root
// folder between them reach: no search need look further.
uint64_t FatTablesReach(bool fat32);
