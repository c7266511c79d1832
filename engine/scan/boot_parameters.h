// The partition parameters of the file system that ScanRange names, worked out into CurrentFileSystem:
// from its boot sector (ReadBootParameters), or for FAT, when no boot sector is usable, by searching the
// range for the layout its folders betray (SearchFatParameters). Quick Scan and File Trace start with
// these. Every value taken from the disk is checked before it is used to address sectors.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>

#include "engine/partitions/disk_sectors.h"
#include "engine/records/scan_parameters.h"
#include "engine/scan/range_sectors.h"

// The last sector a record can name: sector numbers are 32-bit in the record lists.
constexpr uint32_t kLastSectorNumber = 0xFFFFFFFF;
// The root folder of FAT16 as its formatters make it: 512 entries.
constexpr uint32_t kFat16RootSectors = 32;
// Sectors of an NTFS index record when the boot sector gives none of its own (4 KiB).
constexpr uint32_t kDefaultIndexSectors = 8;

// Sectors per cluster as a boot sector may give them: a power of two from 1 to 128.
bool IsValidSectorsPerCluster(uint64_t value);

// Starts CurrentFileSystem afresh with the type of ScanRange and fills the FAT16, FAT32 or NTFS
// parameters from the boot sector. FAT32 falls back on the backup boot sector at start + 6, NTFS on the
// one at ScanRange.endSector. A boot sector is used only when it has 55 AA, 512-byte sectors, valid
// sectors per cluster and sizes, and lays its file system out inside the range; one of a FAT's two tables
// must begin with the boot sector's media byte, and an NTFS MFT (or its mirror) with "FILE". For a logical
// drive (SourceKind 2) the range starts at sector 0. 1 on success, and for a file-system code other than
// FAT16, FAT32 and NTFS (nothing to read); 0 when no boot sector is usable, or when a stop was requested
// before it began.
uint32_t ReadBootParameters();

// For FAT16 and FAT32: the reserved sectors from where the first table begins, then the cluster size and
// data area from two subfolders found in the range (their "." entries name their first clusters), and
// from those the table size. The kind is the tables' where they tell it, whatever ScanRange names (a FAT16
// volume in a FAT32-typed partition): CurrentFileSystem's type says which. 1 with CurrentFileSystem filled; 0
// when no consistent layout was found, for any other code, or on a stop request. It leaves the scan's flags
// alone: the worker tells the user.
uint32_t SearchFatParameters();

// The FAT16 or FAT32 (code) parameters of a boot sector for a volume that begins at range.first, as
// ReadBootParameters takes them: nothing when a field is not sane (512-byte sectors, valid sectors per
// cluster, reserved sectors, two tables of a size, a root directory) or the volume leaves the range. The
// boot sector's own marks are not tested.
std::optional<FileSystemRecord> FatBootSectorFields(const Sector& boot, uint16_t code, const RangeSectors& range);

// The FAT volume whose boot sector lies before a FAT file system rebuilt without one (rebuilt: its cluster base and
// size) and whose sectors hold the rebuilt one's data area under another layout: the volume a quick format with
// another cluster size wrote over the rebuilt one. The nearest boot sector back from the rebuilt one's data area
// that the search marks ("FAT16", "FAT32") and ReadBootParameters would take (a FAT32 backup gives way to its first
// copy six sectors before) decides: nothing when its volume does not hold that area. The search looks no further
// back than the most reserved sectors and the longest tables of the rebuilt one's kind reach, nor before
// range.first; stopped() ends it.
std::optional<FileSystemRecord> FatVolumeAround(const FileSystemRecord& rebuilt, const RangeSectors& range,
                                                const std::function<bool()>& stopped);
// FatVolumeAroundChosen for CurrentFileSystem: the volume FatVolumeAround finds around it inside ScanRange when it
// was rebuilt without a boot sector (its last sector 0); none otherwise.
void FindFatVolumeAroundChosen(const std::function<bool()>& stopped);

// What an NTFS boot sector gives.
struct NtfsBoot {
  uint32_t sectorsPerCluster = 0;
  uint32_t indexSectors = 0;  // 8 for the usual 0xF4
  uint32_t recordSectors = 0;  // of each MFT record: 2, or 8 for the large records (4, 2 KiB, is allowed)
  uint64_t totalSectors = 0;
  uint64_t mftCluster = 0;
  uint64_t mirrorCluster = 0;
};

// The fields of an NTFS boot sector for a volume that begins at range.first: nothing unless the file
// records are 1, 2 or 4 KiB, the index records a power of two of at most 128 sectors, and the volume with its
// MFT and mirror lies inside the range.
std::optional<NtfsBoot> NtfsBootSectorFields(const Sector& boot, const RangeSectors& range);
