// The reparse point of a file record (attribute 0xC0): its tag says what stands behind the file. Two of them
// keep a file's data outside its unnamed stream, which then holds only holes of the file's size: Windows' own
// file compression (the data compressed in the stream WofCompressedData) and a cloud file's placeholder (the
// data, or the parts of it not kept on the disk, with the cloud provider).
#pragma once

#include <cstdint>

namespace ntfs {

constexpr uint32_t kReparsePointAttribute = 0xC0;
constexpr uint32_t kWofReparseTag = 0x80000017;

// The cloud files' sixteen tags, which differ in bits 12-15 only.
constexpr bool IsCloudReparseTag(uint32_t tag) { return (tag & 0xFFFF0FFFu) == 0x9000001Au; }

// The tag of the record's unnamed reparse point (the u32 its value begins with); false when it has none whose
// value holds one.
bool ReadReparseTag(const uint8_t* record, uint32_t* tag);

}  // namespace ntfs
