#include "engine/image/crc32c.h"

#include <array>

namespace {

std::array<uint32_t, 256> MakeTable() {
  std::array<uint32_t, 256> table{};
  for (uint32_t n = 0; n < 256; ++n) {
    uint32_t c = n;
    for (int k = 0; k < 8; ++k) c = c & 1 ? (c >> 1) ^ 0x82F63B78u : c >> 1;
    table[n] = c;
  }
  return table;
}

// Continues a checksum whose inner value (before the final xor) is crc.
uint32_t Feed(uint32_t crc, const uint8_t* bytes, size_t length) {
  static const std::array<uint32_t, 256> table = MakeTable();
  for (size_t i = 0; i < length; ++i) crc = table[(crc ^ bytes[i]) & 0xFF] ^ (crc >> 8);
  return crc;
}

}  // namespace

uint32_t Crc32c(const uint8_t* bytes, size_t length, uint32_t crc) {
  return ~Feed(~crc, bytes, length);
}

uint32_t Crc32cWithoutField(const uint8_t* bytes, size_t length, size_t field) {
  static const uint8_t zeros[4] = {};
  uint32_t crc = Feed(0xFFFFFFFFu, bytes, field);
  crc = Feed(crc, zeros, 4);
  return ~Feed(crc, bytes + field + 4, length - field - 4);
}
