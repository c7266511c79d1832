#include "preview/archive/cab_directory.h"

#include <algorithm>

#include "platform/os/os.h"
#include "preview/archive/archive_text.h"
#include "preview/archive/archive_time.h"

namespace archive {

namespace {

constexpr size_t kHeaderSize = 36;
constexpr size_t kEntryFixed = 16;   // CFFILE before its name
constexpr size_t kLongestName = 256;  // with its NUL
constexpr uint16_t kReservePresent = 0x4, kPreviousCabinet = 0x1, kNextCabinet = 0x2;
constexpr uint16_t kContinuedFromPrevious = 0xFFFD, kContinuedBothWays = 0xFFFF;
constexpr unsigned kNameIsUtf8 = 0x80;
// read-only, hidden, system, archive, executable, UTF-8 name: an entry with any other bit is not one
constexpr unsigned kKnownAttributes = 0x01 | 0x02 | 0x04 | 0x20 | 0x40 | kNameIsUtf8;
constexpr uint64_t kLargestFolder = 0x7FFF8000;  // the most a folder of a cabinet may hold
// A header and its folders take some bytes, a table of 65,535 members under 18 MB: a table past this is
// not read.
constexpr uint64_t kMostRead = 40u << 20;

uint16_t Le16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | p[1] << 8); }
uint32_t Le32(const uint8_t* p) { return p[0] | p[1] << 8 | p[2] << 16 | static_cast<uint32_t>(p[3]) << 24; }

// A table entry has no signature: what is not one shows by a folder the cabinet lacks, an attribute bit no
// member has, data past the largest folder, or a name that is empty or holds control characters.
bool Believable(const uint8_t* entry, size_t nameLength, uint16_t folders) {
  const uint16_t folder = Le16(entry + 8);
  if (folder >= folders && folder < kContinuedFromPrevious) return false;
  if ((Le16(entry + 14) & ~kKnownAttributes) != 0) return false;
  if (uint64_t{Le32(entry)} + Le32(entry + 4) > kLargestFolder) return false;
  if (nameLength == 0) return false;
  for (size_t i = 0; i < nameLength; ++i)
    if (entry[kEntryFixed + i] < 0x20) return false;
  return true;
}

// The offset just past a NUL-terminated string at `at` of at most kLongestName bytes; 0 when there is none.
size_t PastString(const uint8_t* data, size_t size, size_t at) {
  for (size_t i = at; i < size && i < at + kLongestName; ++i)
    if (data[i] == 0) return i + 1;
  return 0;
}

}  // namespace

CabDirectory ReadCabinetDirectory(const uint8_t* data, size_t size) {
  CabDirectory cab;
  if (size < kHeaderSize || data[0] != 'M' || data[1] != 'S' || data[2] != 'C' || data[3] != 'F') return cab;
  const uint32_t filesAt = Le32(data + 16);
  const uint16_t flags = Le16(data + 30);
  // The reserved area and the neighbouring cabinets' names come before the folders; the table is where
  // the header says, but it cannot start inside them.
  size_t headerEnd = kHeaderSize;
  if ((flags & kReservePresent) != 0) {
    if (size < headerEnd + 4) return cab;
    headerEnd += 4 + Le16(data + headerEnd);
  }
  for (int names = ((flags & kPreviousCabinet) != 0 ? 2 : 0) + ((flags & kNextCabinet) != 0 ? 2 : 0); names > 0; --names) {
    headerEnd = PastString(data, size, headerEnd);
    if (headerEnd == 0) return cab;
  }
  if (filesAt < headerEnd) return cab;
  cab.isCabinet = true;
  const uint16_t folders = Le16(data + 26);
  cab.claimed = Le16(data + 28);
  size_t at = filesAt;
  for (uint32_t i = 0; i < cab.claimed; ++i) {
    if (at > size || size - at < kEntryFixed) break;
    const uint8_t* entry = data + at;
    const size_t nameAt = at + kEntryFixed;
    const size_t end = PastString(data, size, nameAt);
    if (end == 0 || !Believable(entry, end - 1 - nameAt, folders)) break;
    at = end;
    const uint16_t folder = Le16(entry + 8);
    // A member begun in the cabinet before is listed there, as the library lists it.
    if (folder == kContinuedFromPrevious || folder == kContinuedBothWays) continue;
    CabEntry member;
    const uint16_t attributes = Le16(entry + 14);
    const NameCoding coding = (attributes & kNameIsUtf8) != 0 ? NameCoding::kUtf8 : NameCoding::kCodePage;
    const char* name = reinterpret_cast<const char*>(data + nameAt);
    SplitCabPath(ArchiveTextToWide(name, end - nameAt, coding), &member.name, &member.folder);
    member.size = Le32(entry);
    member.time = DosDateTimeToFileTime(Le16(entry + 10), Le16(entry + 12));
    member.attributes = attributes;
    cab.entries.push_back(std::move(member));
  }
  return cab;
}

CabDirectory ReadCabinetDirectory(const std::u16string& path) {
  os::File file;
  uint8_t header[kHeaderSize];
  uint32_t got = 0;
  if (!file.OpenRead(path) || !file.Read(header, kHeaderSize, &got) || got != kHeaderSize) return CabDirectory();
  // Up to the largest table the header's count and offset allow, and never past kMostRead.
  const uint64_t most = std::min<uint64_t>(
      kMostRead, uint64_t{Le32(header + 16)} + uint64_t{Le16(header + 28)} * (kEntryFixed + kLongestName));
  uint64_t size = 0;
  if (!file.Size(&size)) return CabDirectory();
  std::vector<uint8_t> bytes(static_cast<size_t>(std::min(size, most)));
  if (bytes.size() < kHeaderSize || !file.Seek(0, os::Origin::Begin)) return CabDirectory();
  if (!file.Read(bytes.data(), static_cast<uint32_t>(bytes.size()), &got)) return CabDirectory();
  bytes.resize(got);
  return ReadCabinetDirectory(bytes.data(), bytes.size());
}

}  // namespace archive
