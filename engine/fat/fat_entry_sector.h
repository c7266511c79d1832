// Whether a sector of the disk holds FAT directory entries, told without the volume's geometry: an Extensive Scan
// keeps such sectors, for the later clusters of folders whose chains are lost hold nothing else to know them by.
#pragma once

#include <cstdint>

// Whether sector (512 bytes) is a sector of directory entries that begins no subfolder (no "." and ".." entries):
// each of its 16 entries is a short entry or a long-name piece of a well-formed shape (name characters, attributes,
// case flags, date and time of a short entry; sequence number, type and cluster of a long-name piece), or blank,
// blank ones all at the end, and at least two come before them, one a live short entry. (A deleted folder's
// entries are all deleted: its later clusters are not looked for.)
bool HoldsFatDirectoryEntries(const uint8_t* sector);
