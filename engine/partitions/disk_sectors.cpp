#include "engine/partitions/disk_sectors.h"

#include <cstring>

#include "engine/image/byte_order.h"
#include "engine/image/read_sectors.h"
#include "engine/records/scan_parameters.h"

namespace {

constexpr size_t kTableStart = 446;
constexpr size_t kTableEntrySize = 16;

bool HasText(const Sector& sector, size_t offset, const char* text) {
  const size_t length = std::strlen(text);
  return offset + length <= sector.size() && std::memcmp(sector.data() + offset, text, length) == 0;
}

}  // namespace

bool ReadDiskSector(uint64_t lba, Sector& out) {
  const uint16_t row = CurrentDriveIndex;
  if (row >= kDevicePathRows) {
    out.fill(0);
    return false;
  }
  return ReadSectors(DevicePathTable[row], static_cast<uint32_t>(lba), static_cast<uint32_t>(lba >> 32), 1,
                     out.data()) == 1;
}

bool HasBootSignature(const Sector& sector) { return sector[510] == 0x55 && sector[511] == 0xAA; }

TableEntry ReadTableEntry(const Sector& record, int index) {
  const uint8_t* entry = record.data() + kTableStart + kTableEntrySize * static_cast<size_t>(index & 3);
  return {entry[4], LoadLe32(entry + 8), LoadLe32(entry + 12)};
}

bool IsExtendedType(uint8_t type) { return type == 0x05 || type == 0x0F; }

uint16_t DetectionMark(const Sector& boot) {
  if (HasText(boot, 82, "FAT32")) return records::kFat32;
  if (HasText(boot, 54, "FAT16")) return records::kFat16;
  if (HasText(boot, 3, "NTFS")) return records::kNtfs;
  return 0;
}

uint16_t SearchMark(const Sector& boot) {
  if (HasText(boot, 85, "32")) return records::kFat32;
  if (HasText(boot, 57, "16")) return records::kFat16;
  if (HasText(boot, 3, "NTFS")) return records::kNtfs;
  return 0;
}

uint16_t TypeCode(uint8_t type) {
  switch (type) {
    case 0x01: case 0x04: case 0x06: case 0x0E: return records::kFat16;
    case 0x0B: case 0x0C: return records::kFat32;
    case 0x07: return records::kNtfs;
    default: return 0;
  }
}

uint64_t BootSectorCount(const Sector& boot, uint16_t code) {
  if (code == records::kNtfs) return LoadLe64(boot.data() + 40);
  // A FAT volume small enough keeps its count in the 16-bit field and 0 in the 32-bit one.
  const uint16_t small = LoadLe16(boot.data() + 19);
  return small != 0 ? small : LoadLe32(boot.data() + 32);
}
