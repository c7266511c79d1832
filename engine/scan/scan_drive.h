// The logical drive a scan reads when the source is one (SourceKind 2).
#pragma once

// Opens into VolumeHandle the logical drive that the source page chose (row ScanRange.driveField of its
// logical drives); false when there is none or it does not open.
bool OpenScanLogicalDrive();
