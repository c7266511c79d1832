// The MFT of an NTFS snapshot on the source that is open when it loads: the map of its extents, which the
// savers need for files whose data runs go on in other records, and the test that the snapshot belongs to
// this source.
#pragma once

#include "engine/snapshot/snapshot_format.h"

namespace snapshot {

// Builds MftMap for the snapshot's file system from its MFT sector, else its mirror's. A file system
// rebuilt without its boot sector stores neither (both 0): then, as when neither reads, the MFT is mapped
// from where the snapshot's files lie (left unmapped when that fails). Either way the source must hold a
// sample of the snapshot's files where it says they were found, with their names (a snapshot without
// files only needs its MFT). false, with MftMap as it was, when the source is not the one the snapshot was
// taken from.
bool MapSnapshotMft(const LoadedSnapshot& loaded, const char* devicePath);

// What the snapshot does not store of NTFS files, known again once they are loaded (NtfsEntryList) over the map of
// their MFT: a file whose record lies outside that MFT and its mirror is one of an earlier MFT of the volume (one a
// quick format replaced: only the reading of a file system an Extensive Scan found lists such records, and the
// savers judge their bytes by it); the entries of one record are the names of one file (hard links).
void MarkLoadedEntries();

}  // namespace snapshot
