// What the pages tell the engine to scan, and the description of a file system found or being read.
// Field widths are those the snapshot file stores, field by field, in this order.
#pragma once

#include <atomic>
#include <cstdint>

#include "engine/records/record_list.h"

namespace records {

// File-system codes, used in every record, table and snapshot that names a file system.
constexpr uint16_t kFat16 = 100;
constexpr uint16_t kFat32 = 200;
constexpr uint16_t kNtfs = 300;

// Values of RecoveryMode.
constexpr uint32_t kExtensiveScan = 0;
constexpr uint32_t kFileTrace = 1;
constexpr uint32_t kQuickScan = 2;

// Folder ids with a meaning of their own.
constexpr uint32_t kFatRootId = 0;           // parent id of the FAT root folder's children
constexpr uint32_t kNtfsRootRecord = 5;      // MFT record number of the NTFS root folder
constexpr uint32_t kLostDirId = 0xFFFFFFFE;  // the "Lost Dir" folder the scans add

// Candidate and found-entry marks: 0 unassigned, 1..n the file-system number, or this for none.
constexpr uint16_t kNoFileSystemMark = 0xFFFF;

}  // namespace records

// The recovery mode chosen on page 0 (records::kQuickScan, kExtensiveScan or kFileTrace).
extern uint32_t RecoveryMode;

struct ScanRangeRecord {
  uint16_t fileSystemCode = 0;  // records::kFat16, kFat32 or kNtfs
  uint32_t startSector = 0;     // first sector of the partition or range (LBA on the source)
  uint32_t sectorCount = 0;
  uint32_t endSector = 0;       // last sector of the range; for NTFS where the backup boot sector lies
  uint16_t driveField = 0;      // index of the logical drive in the source tree (logical drives only)
};

// Written by the scan page before a worker starts, and by a snapshot load.
extern ScanRangeRecord ScanRange;

struct FileSystemRecord {
  uint16_t type = 0;                   // records::kFat16, kFat32 or kNtfs
  uint32_t sectorsPerFat = 0;          // FAT only; 0 when absent
  uint32_t sectorsPerCluster = 0;      // 1, 2, 4, ... 128
  uint32_t rootDirectorySectors = 0;   // FAT16 root entry count / 16; 0 otherwise
  uint32_t rootDirectory = 0;          // FAT16 first root-directory sector; FAT32 root cluster; else 0
  uint32_t reservedSectors = 0;
  uint32_t clusterBase = 0;            // sector of cluster 0: cluster n starts at base + n x per cluster;
                                       // for NTFS the file system's first sector
  uint32_t firstFatSector = 0;
  uint32_t secondFatSector = 0;
  uint32_t mftSector = 0;
  uint32_t mftMirrorSector = 0;
  uint32_t sectorsPerMftRecord = 0;    // from the boot sector (2 for 1 KiB records, 8 for 4 KiB); 0 without one
  uint32_t sectorsPerIndexRecord = 0;
  uint32_t lastSector = 0;             // first sector + total sectors; 0 when absent
  // In FoundFileSystemList: the file system's node in the found-file-systems tree. In
  // CurrentFileSystem: its low 16 bits hold the file-system number of the chosen record.
  uint32_t id = 0;
};

// The file systems rebuilt by an Extensive Scan, in the order found. The position of a record counted
// from 1 (FoundFileSystemList[number - 1]) is its file-system number, the mark its candidates carry.
// Appended by the analysis with FoundFileSystemList.Append(record); freed with the other Extensive Scan
// lists.
extern records::RecordList<FileSystemRecord> FoundFileSystemList;

// The file system being read: filled by Quick Scan and File Trace, replaced by the record chosen after an
// Extensive Scan, restored by a snapshot load.
extern FileSystemRecord CurrentFileSystem;

// The FAT volume found by its boot sector around a FAT file system that was rebuilt without one (an earlier
// volume of another layout, which a quick format wrote over): what its boot sector, tables and root folder take,
// and the clusters its tables give out, are the live volume's, whatever the earlier one's entries say. Set where
// such a file system is read (chosen after an Extensive Scan, or loaded from a snapshot), with the rebuilt one it
// belongs to; volume.type 0 when none was found.
struct VolumeAroundRecord {
  FileSystemRecord rebuilt;
  FileSystemRecord volume;
};
extern VolumeAroundRecord FatVolumeAroundChosen;

// The size File Trace recovers for each found file, in MB (1 to kLargestFileTraceSizeMb; 0 until the
// file-types dialog or a File Trace snapshot sets it, and again after the results page's Back and Home).
extern std::atomic<uint32_t> LargeFileSize;
// The sizes the file-types dialog offers, from 1 MB, and the one it shows while none was chosen.
constexpr uint32_t kLargestFileTraceSizeMb = 20;
constexpr uint32_t kDefaultFileTraceSizeMb = 2;
