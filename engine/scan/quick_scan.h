// Quick Scan: the recovery mode that trusts the file system's own structures. Its worker works out the
// partition parameters of the file system that ScanRange names, reads its folder tree into the record
// lists (FAT: the root folder and every folder reachable from it; NTFS: every file record of the MFT,
// then the records whose parent folder is missing), and builds the results tree from them.
//
// The scan page writes stop 0 and running 1 before it starts the worker, and watches for running 0 with
// stop 1, the worker's last act on every path. A stop request ends the reading early; the tree is still
// built from what was found, except when the stop comes before any folder was read.
#pragma once

#include <cstdint>

// The worker. Returns 1 when it built the results (also from what a stopped reading found), 0 when a
// stop came before any folder was read or it could not scan (no usable partition parameters, an MFT that
// cannot be mapped, a logical drive that does not open: each reported to the user, with the page made
// idle again).
uint32_t QuickScanThread();

// Reads the FAT folder tree into FatFolderList and FatEntryList and builds the results tree. Returns 1,
// or 0 when a stop came before the root folder was read (nothing is built then).
uint32_t QuickScanFat();

// Reads the MFT into NtfsFolderList and NtfsEntryList, runs CollectLostNtfsData and builds the results
// tree. Returns 1, or 0 (nothing read or built) when the MFT cannot be mapped inside the range.
uint32_t QuickScanNtfs();

// Gathers the folders whose parent is missing under a folder "Lost Dir" (record number
// records::kLostDirId, under the root): one folder "Dir" + n for each missing parent record, n counting
// from 0 in the order they are met, folders first, then files.
void CollectLostNtfsData();

// Stands a folder "Dir" + next (then next + 1) under "Lost Dir" in for parent, unless parent is the root or a
// folder of NtfsFolderList. Shared by both readers' "Lost Dir" steps.
void AdoptLostNtfsParent(uint32_t parent, uint32_t& next);
