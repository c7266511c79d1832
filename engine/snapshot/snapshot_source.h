// Whether the source open now is the one a snapshot was taken from. The snapshot keeps no path of its image,
// and two volumes of one layout (two made by the same formatter at the same size) put their tables and
// records at the same sectors: a loader that took a snapshot over the other volume would save that volume's
// bytes under the snapshot's names. So the source must hold, where the snapshot says, a sample of what the
// snapshot lists.
#pragma once

#include <cstddef>
#include <vector>

#include "engine/snapshot/snapshot_format.h"

namespace snapshot {

// The places in a list of count records that are checked: the first, the last and others evenly between,
// at most 16.
std::vector<size_t> CheckedPlaces(size_t count);

// NTFS: the MFT is mapped (MapSnapshotMft) and the source holds a sample of the stored files at their
// records, with the names they were found under; MftMap then serves the savers, and stays as it was when false.
// FAT: a copy of the allocation table the snapshot names begins as a table there (when it names one), a sample
// of the stored live folders begins, at its first cluster, with the entries "." naming that cluster and
// ".." naming the folder's parent, and a sample of the stored files has, in its folder's directory (the root,
// or the folder's chain through the first table), an entry of its first cluster, size and the name it was found
// under (a name the user gave a file on the results page is not on the disk).
// File Trace: a sample of the hits lies where a sector begins with one of the stored signatures.
// A FAT or File Trace snapshot loaded with no source open at all is not checked: nothing can be read, and
// a save then reports every file as unreadable.
bool SourceMatchesSnapshot(const LoadedSnapshot& loaded, const char* devicePath);

}  // namespace snapshot
