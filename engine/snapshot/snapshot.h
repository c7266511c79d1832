// Recovery snapshots (".vsnp"): the result of a scan (scan parameters, the file system read and the
// record lists) saved to a file, and loaded back later without scanning again. Layout: snapshot_format.h.
// The writers and loaders run on the user-interface thread and reach the windows through the hosts
// (host::SnapshotFrameHost, ProgressDialogHost, ResultTreeHost, ResultListHost, ScanPageHost,
// MessageHost).
#pragma once

#include <cstdint>
#include <string>

#include "engine/host/snapshot_host.h"

// Writes a Quick Scan ("D") or Extensive Scan ("A", RecoveryMode 0) snapshot to the file chosen in the
// save dialog. 1 when written; 0 when cancelled, not replaced, or failed: a file that cannot be created
// or written is reported, and a partly written file is deleted.
uint32_t SaveFileSystemSnapshot();
// Writes a File Trace ("R") snapshot, as SaveFileSystemSnapshot.
uint32_t SaveRecoverySnapshot();

// Loads a "D" or "A" snapshot: replaces every record list, rebuilds the results tree (re-reading the
// NTFS MFT map from the source open now, snapshot_mft.h) and shows the results page. 1 loaded; 0 not: a file that
// cannot be opened silently, a damaged one or one that does not match the source open now
// (snapshot_source.h) with a message (an NTFS one with no image open: kSnapshotImageNeededText). A refused file changes nothing: the record lists, the scan
// parameters and the results tree stay as they were.
uint32_t LoadSnapshotTree(const std::u16string& path);
// What a load of an NTFS snapshot says with no image open: it reads the MFT of the image it was taken from.
inline constexpr char16_t kSnapshotImageNeededText[] =
    u"Open the disk image this recovery snapshot was taken from first, then load the snapshot: it can be loaded "
    u"only over that image.";
// Loads an "R" snapshot, as LoadSnapshotTree; LargeFileSize becomes the size the hits were saved with
// when the snapshot was written (the file-types dialog's first size for a snapshot that does not say).
uint32_t LoadSnapshotFlat(const std::u16string& path);

// When the source is a logical drive (SourceKind 2): stores driveField in ScanRange and reopens
// VolumeHandle on the drive of that row of the source page's logical drives.
void ReopenSnapshotVolume(uint16_t driveField);

namespace snapshot {

// The file a name chosen in the save dialog stands for: its file name in lower case, with ".vsnp"
// appended unless it already ends so ("Results" gives "results.vsnp", "old.VSNP" gives "old.vsnp").
std::u16string SavePathFor(const std::u16string& chosen);
// The file a load is asked for: the path without double quotes (a command line may quote it).
std::u16string LoadPathFor(const std::u16string& path);

}  // namespace snapshot
