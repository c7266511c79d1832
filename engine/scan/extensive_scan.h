// Extensive Scan: the recovery mode that does not trust the file system's own structures. Its worker
// reads every sector of the range that ScanRange names and gathers candidates (boot sectors, the first
// sectors of FAT subfolders, NTFS file and index records), then its analysis groups them into the file
// systems whose geometry explains where they lie. Each file system found becomes a FileSystemRecord of
// FoundFileSystemList (its position from 1 is its number) and an item of page 3's tree; every candidate
// the analysis places carries that number as its mark. Page 3 copies the chosen record into
// CurrentFileSystem, and the reader of a chosen file system takes the candidates with its number:
// DirSectorCandidateList (FAT), NtfsFolderCandidateList (NTFS; its files stay in NtfsFoundEntryList and
// are told apart by their sectors).
//
// The scan page writes stop 0 and running 1, frees the Extensive Scan lists (FreeExtensiveScanLists) and
// starts the worker; its timer waits for running 0 with stop 1 and then for both analysis-done flags.
// Every way the worker ends sets both flags and leaves running 0 with stop 1. A stop by the user ends the
// search early; the analysis still runs over what was found.
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>

// The two analysis-done flags: the first is set when the boot-sector pass is done, the second when the
// pass without boot sectors is done. The worker clears both when it starts; the page clears them again
// once it has shown page 3.
extern std::atomic<uint32_t> BootSectorPassDone;
extern std::atomic<uint32_t> WithoutBootPassDone;

// The worker: by ScanRange's file-system code the FAT search (FAT16, FAT32) or the NTFS search, then the
// analysis; any other code searches nothing. Returns 0 (the thread's exit code).
uint32_t ExtensiveScanThread();

// The searches. The sectors per read of RecoverySettings, clamped to 1..100, are read at a time; a block
// that cannot be read yields no candidate.
void SearchFatSectors();
void SearchNtfsSectors();

// The analysis of what the search found: AnalyzeFoundFat for FAT16 and FAT32, AnalyzeNtfsSteps for NTFS.
void AnalyzeFoundData();

// After the analysis: the volumes whose boot sectors were found but which reach past the engine's reach (none
// rebuilt) are named to the user in one message, at most three of them.
void ReportVolumesBeyondReach();

// FAT: each boot sector in turn places the unassigned subfolder candidates its geometry explains; the
// rest are tried with ReconstructFatWithoutBoot. Sets the second analysis-done flag, then the first.
void AnalyzeFoundFat();

// Looks for the first unassigned subfolder candidate after candidate `index` of DirSectorCandidateList
// that, with it, gives a cluster size and the sector of cluster 0; when there is one, marks every
// unassigned candidate that geometry places and records the file system (FAT32 when ScanRange names
// FAT32 or a cluster above 65535 was placed). 1 when it found one, else 0.
uint32_t ReconstructFatWithoutBoot(size_t index);

// NTFS: AssignMftNumbers, DeleteUnusedIndexRecords, AnalyzeFoundNtfs, AnalyzeNtfsWithoutBoot (with the
// page's Stop shown), then the folder candidates that no geometry placed join the file system of the
// candidate before them. Ends with running 0 and stop 1.
void AnalyzeNtfsSteps();

// Gives folder candidates their MFT numbers: from the index entries that name them, else counted on from
// the candidate before (file records are two sectors long).
void AssignMftNumbers();

// Keeps only the first index record of each folder (number 0 in its index allocation).
void DeleteUnusedIndexRecords();

// Each NTFS boot sector in turn places the folder candidates whose index allocation begins with an index
// record under its geometry. Sets the first analysis-done flag.
void AnalyzeFoundNtfs();

// Derives geometries from pairs of unplaced folder candidates and their first index records. A stop ends
// the pairing. Sets the second analysis-done flag.
void AnalyzeNtfsWithoutBoot();

// Marks with the next file-system number the unassigned folder candidates after clusterBase, up to the
// first beyond lastSector, whose index cluster x sectorsPerCluster + clusterBase begins with "INDX"; step
// (1 or 2) names the pass in the status line. A stop ends the walk. 1 when it marked any.
uint32_t ClassifyIndexFolders(uint32_t clusterBase, uint32_t sectorsPerCluster, uint32_t lastSector, uint32_t step);
