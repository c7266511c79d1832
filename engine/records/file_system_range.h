// Whether a sector lies inside a file system. Every test of "inside the chosen file system" (the files
// listed and saved after an Extensive Scan, those its snapshot stores, the files found by a search, the
// properties of an item) uses this one rule, so a file at either end is counted the same everywhere.
#pragma once

#include <cstdint>

struct FileSystemRecord;
struct NtfsFoundEntryRecord;
struct ScanRangeRecord;

// first <= sector <= last.
inline bool SectorInFileSystem(uint64_t sector, uint64_t first, uint64_t last) {
  return first <= sector && sector <= last;
}

// True when a file record found by the Extensive Scan belongs to the chosen file system: its sector lies
// inside CurrentFileSystem, from its first sector to its last (SectorInFileSystem), and the file system's MFT
// map did not disown it (its disownedBy is not the chosen number, CurrentFileSystem.id).
bool InChosenFileSystem(const NtfsFoundEntryRecord& entry);

// The sector where the volume of a file system begins, as its boot sector gives it: an NTFS volume's first
// sector (where it counts its clusters from); for FAT, the sector of its first table less the reserved
// sectors before it. A FAT volume rebuilt without its boot sector has no reserved count: the sector of its
// cluster 0 is then what is known of its place.
uint32_t FileSystemFirstSector(const FileSystemRecord& fs);

// One past the last sector a file system may use: after its last sector when it has one, else the end of
// the scanned range (a Quick Scan's file system ends with its range), else the end of 32-bit sectors.
uint64_t FileSystemEndSector(const FileSystemRecord& fs, const ScanRangeRecord& range);
