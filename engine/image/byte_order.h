// Loading multi-byte fields of on-disk structures: little-endian for most, big-endian for the VHD footer
// and dynamic header. The caller has checked that the bytes lie inside its buffer.
#pragma once

#include <cstdint>

inline uint16_t LoadLe16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | p[1] << 8); }
inline uint32_t LoadLe32(const uint8_t* p) {
  return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 | static_cast<uint32_t>(p[2]) << 16 |
         static_cast<uint32_t>(p[3]) << 24;
}
inline uint64_t LoadLe64(const uint8_t* p) { return LoadLe32(p) | static_cast<uint64_t>(LoadLe32(p + 4)) << 32; }

inline uint16_t LoadBe16(const uint8_t* p) { return static_cast<uint16_t>(p[0] << 8 | p[1]); }
inline uint32_t LoadBe32(const uint8_t* p) {
  return static_cast<uint32_t>(p[0]) << 24 | static_cast<uint32_t>(p[1]) << 16 | static_cast<uint32_t>(p[2]) << 8 |
         static_cast<uint32_t>(p[3]);
}
inline uint64_t LoadBe64(const uint8_t* p) { return static_cast<uint64_t>(LoadBe32(p)) << 32 | LoadBe32(p + 4); }
