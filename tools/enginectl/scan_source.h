// Where a scanning mode scans, given as the source page and the scan page would choose it:
//   --partition N: entry N (from 0) of the partition table as `enginectl partitions` lists it;
//   --range CODE START COUNT: file-system code (100 FAT16, 200 FAT32, 300 NTFS), first sector, sectors.
#pragma once

// How many arguments a source option at argv takes (2 or 4), or 0 when argv does not start with one
// that is given whole.
int ScanSourceArguments(int argc, char** argv);

// Writes ScanRange (file-system code, start, count, end sector) for the source option at argv, which
// ScanSourceArguments has counted; the image must be the current source already (a partition is looked
// up in its table). false, with the reason printed, when the values are not usable.
bool SetScanSource(char** argv);
