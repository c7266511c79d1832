#include "preview/archive/tar_walk.h"

#include "preview/archive/archive_text.h"

namespace archive {

namespace {

constexpr size_t kNameField = 100;
constexpr size_t kSizeAt = 124, kTimeAt = 136, kChecksumAt = 148, kTypeAt = 156;
constexpr size_t kNumberWidth = 12, kChecksumWidth = 8;

// The C library's white space: blank, tab, line feed, vertical tab, form feed, carriage return.
bool IsWhiteSpace(uint8_t c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

}  // namespace

uint64_t ParseOctalField(const uint8_t* field, size_t width) {
  size_t i = 0;
  while (i < width && IsWhiteSpace(field[i])) ++i;
  const bool negative = i < width && field[i] == '-';
  if (i < width && (field[i] == '+' || field[i] == '-')) ++i;
  uint64_t value = 0;
  for (; i < width && field[i] >= '0' && field[i] <= '7'; ++i) {
    if (value > (UINT64_MAX >> 3)) return UINT64_MAX;  // cannot be a size of anything held
    value = value * 8 + static_cast<uint64_t>(field[i] - '0');
  }
  // A minus wraps round as the C library's reading does: "-1" is no size any archive holds.
  return negative ? 0 - value : value;
}

bool TarHeaderValid(const uint8_t* header) {
  uint64_t sum = 0;
  for (size_t i = 0; i < kTarBlock; ++i) {
    const bool inChecksum = i >= kChecksumAt && i < kChecksumAt + kChecksumWidth;
    sum += inChecksum ? ' ' : header[i];
  }
  return sum == ParseOctalField(header + kChecksumAt, kChecksumWidth);
}

bool ReadTarMember(const uint8_t* data, uint64_t length, uint64_t offset, TarMember* member) {
  if (data == nullptr || offset > length || length - offset < kTarBlock) return false;
  const uint8_t* header = data + offset;
  if (!TarHeaderValid(header)) return false;
  const uint64_t dataOffset = offset + kTarBlock;
  const uint64_t size = ParseOctalField(header + kSizeAt, kNumberWidth);
  if (size > length - dataOffset) return false;  // the data must lie inside the archive
  const uint64_t padded = (size + kTarBlock - 1) / kTarBlock * kTarBlock;
  member->dataOffset = dataOffset;
  member->size = size;
  member->next = dataOffset + padded;  // may pass the end: the walk then stops
  member->type = header[kTypeAt];
  const uint64_t seconds = ParseOctalField(header + kTimeAt, kNumberWidth);
  member->modificationSeconds = seconds > UINT32_MAX ? UINT32_MAX : static_cast<uint32_t>(seconds);
  member->name = ArchiveTextToWide(reinterpret_cast<const char*>(header), kNameField);
  return true;
}

int32_t CountTarMembers(const uint8_t* data, uint64_t length) {
  int32_t count = 0;
  TarMember member;
  for (uint64_t offset = 0; count < INT32_MAX && ReadTarMember(data, length, offset, &member); offset = member.next) {
    ++count;
  }
  return count;
}

const char* TarTypeText(uint8_t type) {
  switch (type) {
    case '0': case '\0': return "regular file";
    case '1': return "link";
    case '2': case '7': return "reserved";
    case '3': return "character special";
    case '4': return "block special";
    case '5': return "directory";
    case '6': return "FIFO special";
    default: return "";
  }
}

}  // namespace archive
