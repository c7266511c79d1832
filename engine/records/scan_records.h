// Everything a scan leaves behind: scan parameters, record lists, counters and the worker handshake.
#pragma once

#include "engine/records/extensive_candidates.h"
#include "engine/records/fat_records.h"
#include "engine/records/ntfs_records.h"
#include "engine/records/scan_control.h"
#include "engine/records/scan_parameters.h"

// Zeroes the folder, entry and processed counts and the total bytes of ScanCounters, and frees
// FatEntryList, FatFolderList (with OtherFatFolderEntryList), NtfsFolderList and NtfsEntryList. Runs before a
// new scan and at exit.
void FreeScanRecordLists();
