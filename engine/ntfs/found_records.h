// File records found by the Extensive Scan's sector search, filed as candidates for its analysis.
#pragma once

#include <cstdint>

// Reads the file record at sector (fix-up applied) and its name (Win32, else Win32-and-DOS, else DOS
// name space). A file (record flags 0 or 1) is appended to NtfsFoundEntryList with its data size,
// deleted when the flags are 0; a folder (2 or 3) to NtfsFolderCandidateList with its own record number
// (5 for ".", 11 for "$Extend", else from its $I30 index root), the first cluster of its $I30 index
// allocation, deleted unless the flags are 3. The record is as long as its header says. A file record whose
// later sectors do not carry its update sequence number (they lie elsewhere: a fragmented MFT) is appended as a file without a name
// when its first sector gives none, and a folder without a name of its own (whole or not) as a folder
// candidate without a name: the reading of the chosen file system names both through the MFT's map. An
// extension record whose name is a folder's is passed over.
// 1 when something was appended; 0 for a record that cannot be read, is not a file record, is a file without
// a name (and is whole), a folder's extension record, or has other flags.
uint32_t ReadFoundFileRecord(uint32_t sector);
