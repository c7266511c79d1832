// The reparse point of a file record (attribute 0xC0): its tag says what stands behind the file.
// - A link (a symbolic link, a junction or a mounted volume, the link a Linux program made under Windows: a tag
//   of the name-surrogate bit) stands for another file or folder by its name, and holds no data of its own.
// - Any other tag may keep the file's data outside its unnamed stream, which then holds holes where the data
//   is not: Windows' own file compression (the data compressed in the stream WofCompressedData), a cloud file's
//   placeholder (the parts not kept on the disk are with the cloud provider), a deduplicated file (its chunks in
//   the volume's chunk store), a file that storage management moved to other storage or tiered to the cloud.
#pragma once

#include <cstdint>
#include <string>

namespace ntfs {

constexpr uint32_t kReparsePointAttribute = 0xC0;
constexpr uint32_t kWofReparseTag = 0x80000017;
constexpr uint32_t kMountPointReparseTag = 0xA0000003;  // junctions and mounted volumes
constexpr uint32_t kSymbolicLinkReparseTag = 0xA000000C;
constexpr uint32_t kLinuxSymbolicLinkReparseTag = 0xA000001D;

// Whether a file of the tag is a link: it stands for another by name (bit 29 of the tag, the name-surrogate bit).
constexpr bool IsLinkReparseTag(uint32_t tag) { return (tag & 0x20000000u) != 0; }

struct ReparsePoint {
  uint32_t tag = 0;
  // A link's target as its data gives it: the name it shows (its print name), else the one it hands the system
  // (without the "\??\" the system reads it through); empty where the data holds neither.
  std::u16string target;
};

// The record's unnamed reparse point: its tag (the u32 its value begins with) and, for a symbolic link, a
// junction or mount point and a Linux program's link, its target. Every offset and length of its data is checked
// against the value. False when the record has no reparse point whose value holds a tag.
bool ReadReparsePoint(const uint8_t* record, ReparsePoint* point);

}  // namespace ntfs
