// The tar archive inside a gzip stream: 512-byte headers, each followed by its data padded to a multiple
// of 512 bytes. A member counts only when its header passes the checksum and its data lie inside.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace archive {

constexpr uint64_t kTarBlock = 512;

// strtoul's reading in base 8: leading white space skipped, an optional sign, then octal digits up to
// the first other character (UINT64_MAX when they overflow).
uint64_t ParseOctalField(const uint8_t* field, size_t width);
// The sum of the header's bytes, the checksum field counted as blanks, equals the checksum field.
bool TarHeaderValid(const uint8_t* header);

struct TarMember {
  uint64_t dataOffset = 0;
  uint64_t size = 0;
  uint64_t next = 0;       // where the next header starts
  uint8_t type = 0;        // the type flag byte
  uint32_t modificationSeconds = 0;
  std::u16string name;     // at most 100 bytes of the header, converted
};

// The member whose header starts at offset; false when there is none there.
bool ReadTarMember(const uint8_t* data, uint64_t length, uint64_t offset, TarMember* member);
// Members from the start until the first header that fails (or the end of the data).
int32_t CountTarMembers(const uint8_t* data, uint64_t length);
// The description of a type flag: "regular file", "link", ... (empty for other flags).
const char* TarTypeText(uint8_t type);

}  // namespace archive
