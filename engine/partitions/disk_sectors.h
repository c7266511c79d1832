// Single sectors of the current disk as the partition code reads them, and what it tests in them.
#pragma once

#include <array>
#include <cstdint>

using Sector = std::array<uint8_t, 512>;

// Reads sector lba of the current source (row CurrentDriveIndex of DevicePathTable) into out. A sector
// that cannot be read comes back as zeros, so it matches no mark; false then.
bool ReadDiskSector(uint64_t lba, Sector& out);

// Bytes 510 and 511 are 0x55 and 0xAA.
bool HasBootSignature(const Sector& sector);

// One of the four 16-byte entries of a master or extended boot record, from byte 446.
struct TableEntry {
  uint8_t type = 0;
  uint32_t firstSector = 0;
  uint32_t sectorCount = 0;
};
TableEntry ReadTableEntry(const Sector& record, int index);

// Partition types that link to an extended boot record.
bool IsExtendedType(uint8_t type);

// The file-system code a boot sector's marks give, or 0: DetectPartitions tests the file-system labels
// ("FAT32" at 82, "FAT16" at 54, "NTFS" at 3), the partition search only their last characters.
uint16_t DetectionMark(const Sector& boot);
uint16_t SearchMark(const Sector& boot);

// The code a partition type gives when no boot-sector mark matched, or 0 (not recorded). Type 1, a FAT12
// volume's (a small disk's, as DOS made them), is read as FAT16 is, primary or logical.
uint16_t TypeCode(uint8_t type);

// The volume's sector count as its boot sector gives it, for code (the partition search's entries).
uint64_t BootSectorCount(const Sector& boot, uint16_t code);
