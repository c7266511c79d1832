// What the archive list shows: its column set by extension, and the texts of a row for a member of a
// ZIP, a cabinet or a RAR archive, in column order.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/os/os.h"

struct ZipEntry;
struct ZipHandle;

namespace archive {

struct ArchiveColumn {
  const char16_t* title;
  int width;
};

// ".zip": seven columns; ".gz", ".cab", ".rar": five; any other extension none. extension: lower-cased,
// with its ".".
std::vector<ArchiveColumn> ArchiveColumnsFor(const std::u16string& extension);

// "r", "a", "h", "s" for the read-only (0x01), archive (0x20), hidden (0x02) and system (0x04) bits, "-"
// for each clear one: 0x21 is "ra--".
std::u16string AttributeText(uint32_t attributes);

// A cabinet member: its path split at the last "\\".
struct CabEntry {
  std::u16string name;    // after the last "\\" (the whole path without one)
  std::u16string folder;  // up to and including the last "\\" (empty without one)
  uint32_t size = 0;
  os::FileTime time = 0;
  uint16_t attributes = 0;
};
void SplitCabPath(const std::u16string& path, std::u16string* name, std::u16string* folder);

// A RAR member as its header gave it.
struct RarEntry {
  std::u16string name;
  uint64_t flags = 0;
  uint64_t packedSize = 0;
  uint64_t unpackedSize = 0;
  os::FileTime time = 0;
  uint32_t attributes = 0;
};
// A folder by its attribute bits: the directory attribute, or the directory marker of the header flags
// (all three dictionary bits, 0xE0).
bool IsRarDirectory(const RarEntry& entry);

// A folder entry: its name ends in a separator, or it carries the directory attribute. A file in a folder
// ("Quarterly/data_1.bin") is none.
bool IsZipDirectory(const ZipEntry& entry);
// Name, folder or not, the member's own (uncompressed) size, its three times and its attributes.
std::vector<std::u16string> ZipRowTexts(const ZipEntry& entry);

// The most members an archive's list shows, as many as the table view's records: an archive found by
// File Trace can hold hundreds of thousands, each row a window call.
constexpr size_t kMaxListedMembers = 10000;

// "Loaded N of M total members" when the list shows fewer members than the archive has, else "".
std::u16string ListedMembersNote(uint64_t listed, uint64_t total);
// "Loaded N of M total members: the archive is damaged", for an archive read only part of the way.
std::u16string DamagedMembersNote(uint64_t listed, uint64_t total);

// Each item of an open ZIP archive that the list shows, in order, the first kMaxListedMembers at most: an
// item whose own header is damaged is passed over and the ones after it still come; the listing ends where
// the directory can no longer be read. Returns the note the list needs when it is not the whole archive
// (how many items of how many, and whether it is damaged), else "".
std::u16string ForEachZipRow(ZipHandle* zip, const std::function<void(const ZipEntry&)>& row);
std::vector<std::u16string> CabRowTexts(const CabEntry& entry);
std::vector<std::u16string> RarRowTexts(const RarEntry& entry);

}  // namespace archive
