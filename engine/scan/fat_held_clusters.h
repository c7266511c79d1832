// Which clusters of the FAT file system being read its files hold, whatever their bytes look like: a disk image
// file kept on the volume (a floppy, a VM disk) holds folders, boot sectors and tables of its own, which are its
// bytes, never lost folders of the volume.
#pragma once

#include <cstdint>
#include <vector>

// The clusters below `clusters` of CurrentFileSystem that its listed files (FatEntryList) hold:
// - those the first table copy that holds a live file's first cluster in use chains from it, as many as its size
//   takes;
// - a file read as consecutive clusters (deleted, or its first cluster free in every known copy) whose first sector
//   begins like a disk or a volume (a boot sector or partition table, a VHD's or VHDX's header): its consecutive
//   clusters, as many as its size takes, up to the first that a table copy gives out again.
// The work grows with the files listed and the clusters, not with their sizes.
std::vector<bool> FatFileHeldClusters(uint64_t clusters);
