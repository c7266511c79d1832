#include "engine/ntfs/mft_record.h"

#include <cstring>

#include "engine/image/read_sectors.h"
#include "engine/image/source_values.h"

namespace ntfs {
namespace {

constexpr uint32_t kResidentHeader = 24;     // resident header: up to the value offset
constexpr uint32_t kNonResidentHeader = 56;  // non-resident header: up to the real size
constexpr uint32_t kLastSector = 0xFFFFFFFF;

}  // namespace

bool IsFileRecord(const uint8_t* record) { return std::memcmp(record, "FILE", 4) == 0; }

bool OwnRecordNumber(const uint8_t* record, uint32_t* number) {
  constexpr uint16_t kNumberOffset = 44;
  if (LoadLe16(record + 4) < kNumberOffset + 4) return false;  // the update sequence would overlap it
  *number = LoadLe32(record + kNumberOffset);
  return true;
}

uint32_t Attribute::End() const {
  const uint64_t end = uint64_t{offset} + length;
  return end < recordSize ? static_cast<uint32_t>(end) : recordSize;
}

bool ReadAttribute(const uint8_t* record, uint32_t offset, Attribute* out) {
  const uint32_t size = MftRecordBytes(record);
  const auto Fits = [size](uint64_t start, uint64_t length) { return start + length <= size; };
  if (!Fits(offset, 16)) return false;
  const uint8_t* header = record + offset;
  Attribute a;
  a.recordSize = size;
  a.offset = offset;
  a.type = LoadLe32(header);
  a.length = LoadLe32(header + 4);
  a.nonResident = header[8] != 0;
  a.flags = LoadLe16(header + 12);
  a.nameLength = header[9];
  a.nameStart = offset + LoadLe16(header + 10);
  if (a.nameLength != 0 && !Fits(a.nameStart, uint64_t{a.nameLength} * 2)) return false;
  if (!a.nonResident) {
    if (!Fits(offset, kResidentHeader)) return false;
    a.valueLength = LoadLe32(header + 16);
    a.valueStart = offset + LoadLe16(header + 20);
    if (!Fits(a.valueStart, a.valueLength)) return false;
  } else {
    if (!Fits(offset, kNonResidentHeader)) return false;
    a.runListStart = offset + LoadLe16(header + 32);
    a.compressionUnit = header[34];
    a.allocatedSize = LoadLe64(header + 40);
    a.realSize = LoadLe64(header + 48);
    a.initializedSize = Fits(offset, kNonResidentHeader + 8) ? LoadLe64(header + 56) : a.realSize;
    if (a.runListStart >= size) return false;
  }
  *out = a;
  return true;
}

bool AttributeNameIs(const uint8_t* record, const Attribute& attribute, const char* name) {
  const size_t length = std::strlen(name);
  if (attribute.nameLength != length) return false;
  for (size_t i = 0; i < length; ++i) {
    if (LoadLe16(record + attribute.nameStart + 2 * i) != static_cast<uint8_t>(name[i])) return false;
  }
  return true;
}

bool FindAttribute(const uint8_t* record, uint32_t type, const char* name, Attribute* found) {
  return WalkAttributes(
      record, WalkLimit::kRecord,
      [&](const uint8_t* r, uint32_t offset, uint32_t t) {
        if (t != type) return Verdict::kSkip;
        Attribute a;
        if (!ReadAttribute(r, offset, &a)) return Verdict::kBroken;
        return AttributeNameIs(r, a, name) ? Verdict::kFound : Verdict::kSkip;
      },
      found);
}

bool ReadSourceSectors(const char* devicePath, uint64_t first, uint32_t sectorCount, uint8_t* buffer) {
  if (sectorCount == 0 || first > kLastSector || sectorCount - 1 > kLastSector - first) {
    std::memset(buffer, 0, size_t{sectorCount} * kSectorSize);
    return false;
  }
  return ReadSectors(devicePath, static_cast<uint32_t>(first), 0, sectorCount, buffer) == 1;
}

bool ReadMftRecord(const char* devicePath, uint64_t sector, uint8_t* record, bool* intact) {
  std::memset(record, 0, kMaxMftRecordSize);
  if (!ReadSourceSectors(devicePath, sector, kMinMftRecordSectors, record)) return false;
  const uint32_t sectors = MftRecordSectors(record);
  if (sectors > kMinMftRecordSectors &&
      !ReadSourceSectors(devicePath, sector + kMinMftRecordSectors, sectors - kMinMftRecordSectors,
                         record + kMinMftRecordSize)) {
    return false;
  }
  FixUpRecord(record, intact);
  return true;
}

void FixUpRecord(uint8_t* record, bool* intact) {
  const uint32_t size = MftRecordBytes(record);
  if (intact != nullptr) *intact = UpdateSequenceMatches(record, size);
  ApplyUpdateSequence(record, size);
}

const char* CurrentDevicePath() {
  const uint16_t row = CurrentDriveIndex.load();
  return DevicePathTable[row < kDevicePathRows ? row : 0];
}

}  // namespace ntfs

void ApplyUpdateSequence(uint8_t* record, uint32_t size) {
  // The array is read only below this byte: the header fields that follow it are never taken for it.
  constexpr uint32_t kArrayLimit = 84;
  if (size < 8) return;
  const uint32_t arrayStart = LoadLe16(record + 4);
  const uint32_t count = LoadLe16(record + 6);
  for (uint32_t i = 0; i + 1 < count; ++i) {
    const uint32_t entry = arrayStart + 2 * (i + 1);
    const uint64_t sectorEnd = uint64_t{i} * kSectorSize + kSectorSize;
    if (entry + 2 > kArrayLimit || entry + 2 > size || sectorEnd > size) return;
    record[sectorEnd - 2] = record[entry];
    record[sectorEnd - 1] = record[entry + 1];
  }
}

bool UpdateSequenceMatches(const uint8_t* record, uint32_t size) {
  constexpr uint32_t kArrayLimit = 84;
  if (size < 8) return false;
  const uint32_t arrayStart = LoadLe16(record + 4);
  const uint32_t count = LoadLe16(record + 6);
  if (arrayStart + 2 > kArrayLimit) return false;
  for (uint32_t i = 0; i + 1 < count; ++i) {
    const uint64_t sectorEnd = uint64_t{i} * kSectorSize + kSectorSize;
    if (arrayStart + 2 * (i + 1) + 2 > kArrayLimit || sectorEnd > size) break;
    if (record[sectorEnd - 2] != record[arrayStart] || record[sectorEnd - 1] != record[arrayStart + 1]) return false;
  }
  return true;
}
