// CRC-32C (Castagnoli), the checksum of the VHDX structures: reflected polynomial 0x82F63B78, initial value and
// final xor all ones.
#pragma once

#include <cstddef>
#include <cstdint>

uint32_t Crc32c(const uint8_t* bytes, size_t length, uint32_t crc = 0);

// The checksum of a structure whose own 4-byte checksum field lies at field: computed with that field as zeros.
// The caller has checked that field + 4 <= length.
uint32_t Crc32cWithoutField(const uint8_t* bytes, size_t length, size_t field);
