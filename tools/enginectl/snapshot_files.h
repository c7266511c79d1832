// Saving a scan's results as a recovery snapshot and loading one back, as the program's save and load
// commands do, for the driver's modes.
#pragma once

#include <cstdint>

#include "engine/host/snapshot_fakes.h"

// Saves the current results with saver (SaveFileSystemSnapshot or SaveRecoverySnapshot), the save dialog
// answering path (its file name in lower case and ending ".vsnp"; an existing file is not replaced, as the
// replace question is answered No). false, with the reason printed, when nothing was saved.
bool SaveSnapshotTo(const char* path, uint32_t (*saver)());

// Loads the snapshot at path as the load command does, by its mode letter ("R" File Trace, "A" Extensive
// Scan, any other Quick Scan), with windows as its hosts while it loads: afterwards windows.tree holds the
// results tree that the record lists' nodes refer to. The messages shown go to standard error as
// "kind<TAB>text" (the platform's own message box as kind 0). true when loaded.
bool LoadSnapshotInto(const char* path, host::SnapshotWindows& windows);
