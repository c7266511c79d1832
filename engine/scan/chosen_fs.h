// Reading a file system that an Extensive Scan found. Page 3 copies the chosen FileSystemRecord into
// CurrentFileSystem (its id: the file system's number, the mark its candidates carry), frees the scan
// record lists and starts ScanThreadProc. The worker turns the candidates of that number into the record
// lists (FAT: DirSectorCandidateList into FatFolderList, then the folders' contents; NTFS:
// NtfsFolderCandidateList into NtfsFolderList, its files staying in NtfsFoundEntryList), gathers the
// folders whose parent is missing under "Lost Dir", builds the results tree under "Root" and lists the root
// folder. Its progress goes to page 3's form (host::FileSystemFormHost).
//
// The page writes stop 0 and running 1 before it starts the worker and waits for running 0 with stop 1,
// the worker's last act on every path. A stop by the user ends the step being run; the remaining steps
// and the tree still run, from what was read so far.
#pragma once

#include <cstdint>

#include "engine/fat/fat_sectors_before.h"
#include "engine/records/file_system_range.h"
#include "engine/records/ntfs_records.h"

// The worker: by CurrentFileSystem's type ReadChosenFat (FAT16, FAT32) or ReadChosenNtfs (NTFS), then the
// root folder listed (ListFatFolder 0, ListNtfsFolder 5). Installs ListNtfsFoundFolder as the results
// listing's NtfsFoundFolderLister. Returns 0 (the thread's exit code).
uint32_t ScanThreadProc();

// The number of the chosen file system: the low 16 bits of CurrentFileSystem's id.
uint16_t ChosenFileSystemNumber();

// FAT, in five steps: the chosen subfolder candidates become folders "Dir" + cluster (step 1);
// CollectOrphanFatFolders (2); FindFatCopies when the file system has no allocation-table position (3);
// ReadChosenFatFolders (4); the results tree (5). A stop ends the step it comes in (never step 2); the
// steps after it run over what was gathered. Entries are read as deleted by their own marks, and what lies
// in a deleted folder is marked deleted before the tree is built.
void ReadChosenFat();

// Adds "Lost Dir" under the root and, for each folder whose parent folder is not listed, a folder
// "Dir" + the parent's cluster under "Lost Dir" that stands in for the parent. A stop does not end it.
void CollectOrphanFatFolders();

// For a FAT file system rebuilt without a boot sector: looks for the two allocation tables before the
// cluster area (sectors that begin F8 FF FF) and, when both are found, fills CurrentFileSystem's table
// positions, sectors per table and (FAT16) root directory sector. With fewer than two nothing changes.
void FindFatCopies();

// Reads the root directory and every folder of FatFolderList, along its cluster chain through the first
// allocation table (the whole chain of a folder not marked deleted), a piece of up to 8 sectors at a time. A folder whose first
// sector does not begin with "." and ".." keeps its record but has no contents.
void ReadChosenFatFolders();

// Parses the 32-byte entries of sectorCount consecutive sectors in buffer, a directory of the folder
// folderCluster (0 the root), from entry firstEntry of the first sector and from 0 in the others. Sets
// *endFlag at the end of the directory. Files go to FatEntryList; a directory entry names (and marks
// deleted) the folder of FatFolderList with its cluster whose parent is this folder. parentDeleted 1
// marks every entry deleted. before: the directory's two sectors before buffer, where the first pieces of a
// long name may lie.
void ParseFatFolderSectors(const uint8_t* buffer, uint32_t folderCluster, uint32_t* endFlag, uint32_t sectorCount,
                           uint32_t parentDeleted, uint32_t firstEntry, const FatSectorsBefore& before = {});

// NTFS: the chosen folder candidates (but the root) become NtfsFolderList, CollectLostFoundNtfsFolders
// runs with a counter from 0, and the results tree is built.
void ReadChosenNtfs();

// Adds "Lost Dir" under the root and, for each folder whose parent record is not listed, then for each file of
// the chosen file system whose parent record is not listed, a folder "Dir" + counter (then counter + 1) under
// "Lost Dir" that stands in for the parent.
void CollectLostFoundNtfsFolders(uint32_t& counter);

// Fills the results list with one folder of the chosen NTFS file system: "Parent..." (but for the root),
// its subfolders from NtfsFolderList, then its files from NtfsFoundEntryList that lie in the file system
// and pass the file filters.
void ListNtfsFoundFolder(uint32_t folder);
