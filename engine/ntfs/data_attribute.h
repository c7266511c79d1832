// The unnamed data attribute of an MFT record: where it is and how big the file is.
#pragma once

#include <cstdint>

// Results of FindDataAttribute.
constexpr uint32_t kNoDataAttribute = 0;
constexpr uint32_t kResidentData = 1;
constexpr uint32_t kNonResidentData = 2;

// Finds the first unnamed data attribute (0x80) of a record whose fields fit in the record:
// kResidentData or kNonResidentData with its offset in offsetOut, or kNoDataAttribute.
uint32_t FindDataAttribute(const uint8_t* record, uint32_t& offsetOut);

// The file's size from its first unnamed data attribute: the value length when resident, the real size
// when not. 1 when found, else 0. With readFromDisk non-zero the record is read from the two sectors
// at sector (fix-up applied); otherwise recordIn holds its bytes.
uint32_t ReadDataSize(uint32_t sector, uint64_t& sizeOut, const uint8_t* recordIn, uint32_t readFromDisk);
