#include "engine/scan/boot_parameters.h"

#include <algorithm>
#include <cstring>
#include <optional>

#include "engine/fat/fat_chain.h"
#include "engine/image/byte_order.h"
#include "engine/image/source_values.h"
#include "engine/ntfs/mft_record.h"
#include "engine/partitions/disk_sectors.h"
#include "engine/records/scan_parameters.h"
#include "engine/scan/fat_table_search.h"
#include "engine/scan/range_sectors.h"
#include "engine/scan/scan_end.h"

namespace {

constexpr uint32_t kBytesPerSector = 512;
constexpr uint32_t kFat32BackupOffset = 6;
constexpr size_t kMediaByteOffset = 21;
constexpr uint32_t kMaxIndexSectors = 128;

bool IsPowerOfTwo(uint64_t value) { return value != 0 && (value & (value - 1)) == 0; }

// The boot-sector fields every file system shares: 512-byte sectors and a valid cluster size.
bool HasSaneSectors(const Sector& boot) {
  return LoadLe16(boot.data() + 11) == kBytesPerSector && IsValidSectorsPerCluster(boot[13]);
}

}  // namespace

// ---- FAT

std::optional<FileSystemRecord> FatBootSectorFields(const Sector& boot, uint16_t code, const RangeSectors& range) {
  if (!HasSaneSectors(boot)) return std::nullopt;
  const uint8_t* b = boot.data();
  FileSystemRecord r;
  r.type = code;
  r.sectorsPerCluster = b[13];
  r.reservedSectors = LoadLe16(b + 14);
  // Both layouts place two tables before the data.
  if (r.reservedSectors == 0 || b[16] != 2) return std::nullopt;
  if (code == records::kFat32) {
    r.sectorsPerFat = LoadLe32(b + 36);
    r.rootDirectory = LoadLe32(b + 44);
    if (r.rootDirectory < 2) return std::nullopt;
  } else {
    r.sectorsPerFat = LoadLe16(b + 22);
    r.rootDirectorySectors = LoadLe16(b + 17) / 16u;
    if (r.rootDirectorySectors == 0) return std::nullopt;
  }
  if (r.sectorsPerFat == 0) return std::nullopt;
  const uint64_t totalSectors = LoadLe16(b + 19) != 0 ? LoadLe16(b + 19) : LoadLe32(b + 32);
  const uint64_t firstFat = range.first + r.reservedSectors;
  const uint64_t secondFat = firstFat + r.sectorsPerFat;
  const uint64_t dataStart = secondFat + r.sectorsPerFat + r.rootDirectorySectors;
  // The volume lies in the range and holds its data area; cluster 0's place (two clusters before the data)
  // must not fall before sector 0, since every reader adds cluster offsets to it.
  if (!range.Holds(range.first, totalSectors) || dataStart >= range.first + totalSectors ||
      dataStart < 2u * r.sectorsPerCluster) {
    return std::nullopt;
  }
  // The first table must number every cluster of the volume. (Its length also tells a FAT12 table from a
  // FAT16 one, FatEntryBits: a FAT12 volume has fewer clusters than a FAT16 table numbers at the least.)
  if ((range.first + totalSectors - dataStart) / r.sectorsPerCluster + 2 > FatTableEntries(r)) return std::nullopt;
  r.firstFatSector = static_cast<uint32_t>(firstFat);
  r.secondFatSector = static_cast<uint32_t>(secondFat);
  if (code == records::kFat16) r.rootDirectory = static_cast<uint32_t>(secondFat + r.sectorsPerFat);
  r.clusterBase = static_cast<uint32_t>(dataStart - 2u * r.sectorsPerCluster);
  // One past the volume's last sector: a partition may hold sectors after it that are no cluster of it.
  r.lastSector = static_cast<uint32_t>(range.first + totalSectors);
  return r;
}

namespace {

// Whether the table copy whose first sector is lba begins with the boot sector's media byte.
bool TableBeginsWithMedia(uint64_t lba, uint8_t media) {
  Sector table;
  return ReadDiskSector(lba, table) && FatTableStartOf(table.data()) != FatTableStart::kNone && table[0] == media;
}

// The boot sector at lba taken as a FAT boot sector whose layout the tables confirm: one of the two copies begins
// with its media byte (the other may have lost its first sector).
std::optional<FileSystemRecord> FatBootAt(uint64_t lba, uint16_t code, const RangeSectors& range) {
  Sector boot;
  if (!range.Holds(lba) || !ReadDiskSector(lba, boot) || !HasBootSignature(boot)) return std::nullopt;
  std::optional<FileSystemRecord> fields = FatBootSectorFields(boot, code, range);
  if (!fields) return std::nullopt;
  const uint8_t media = boot[kMediaByteOffset];
  if (!TableBeginsWithMedia(fields->firstFatSector, media) && !TableBeginsWithMedia(fields->secondFatSector, media)) {
    return std::nullopt;
  }
  return fields;
}

// The most sectors a FAT boot sector can reserve before its first table.
constexpr uint64_t kMostReservedSectors = 0xFFFF;

}  // namespace

std::optional<FileSystemRecord> FatVolumeAround(const FileSystemRecord& rebuilt, const RangeSectors& range,
                                                const std::function<bool()>& stopped) {
  const uint64_t dataStart = uint64_t{rebuilt.clusterBase} + 2 * uint64_t{rebuilt.sectorsPerCluster};
  const uint64_t reach = kMostReservedSectors + FatTablesReach(rebuilt.type == records::kFat32);
  const uint64_t floor = std::max(range.first, dataStart > reach ? dataStart - reach : 0);
  Sector boot;
  for (uint64_t lba = std::min(dataStart, range.end); lba-- > floor && !stopped();) {
    if (!ReadDiskSector(lba, boot) || !HasBootSignature(boot)) continue;
    const uint16_t code = SearchMark(boot);
    if (code != records::kFat16 && code != records::kFat32) continue;
    std::optional<FileSystemRecord> volume = FatBootAt(lba, code, RangeSectors{lba, range.end});
    if (!volume) continue;
    if (code == records::kFat32 && lba >= floor + kFat32BackupOffset) {
      const uint64_t first = lba - kFat32BackupOffset;
      if (std::optional<FileSystemRecord> own = FatBootAt(first, code, RangeSectors{first, range.end})) volume = own;
    }
    const uint64_t start = volume->firstFatSector - uint64_t{volume->reservedSectors};
    const bool holds = start <= dataStart && dataStart < volume->lastSector;
    const bool other = volume->clusterBase != rebuilt.clusterBase || volume->sectorsPerCluster != rebuilt.sectorsPerCluster;
    if (holds && other) return volume;
    return std::nullopt;
  }
  return std::nullopt;
}

void FindFatVolumeAroundChosen(const std::function<bool()>& stopped) {
  FatVolumeAroundChosen = VolumeAroundRecord{CurrentFileSystem, FileSystemRecord{}};
  if (CurrentFileSystem.lastSector != 0) return;
  if (std::optional<FileSystemRecord> volume = FatVolumeAround(CurrentFileSystem, CurrentRangeSectors(), stopped)) {
    FatVolumeAroundChosen.volume = *volume;
  }
}

namespace {

uint32_t ReadFatBoot(uint16_t code, const RangeSectors& range) {
  // FAT16 keeps no backup boot sector; FAT32 keeps one six sectors on.
  std::optional<FileSystemRecord> fields = FatBootAt(range.first, code, range);
  if (!fields && code == records::kFat32) fields = FatBootAt(range.first + kFat32BackupOffset, code, range);
  if (!fields) return 0;
  CurrentFileSystem = *fields;
  return 1;
}

// ---- NTFS

// Bytes of a record size field (byte 64 or 68): clusters when positive, 2 to the power of its negation
// in bytes when negative; 0 when that is no size.
uint64_t RecordBytes(uint8_t field, uint32_t sectorsPerCluster) {
  const int8_t value = static_cast<int8_t>(field);
  if (value > 0) return uint64_t{static_cast<uint8_t>(value)} * sectorsPerCluster * kBytesPerSector;
  if (value < 0 && value >= -31) return uint64_t{1} << -value;
  return 0;
}

// Sectors of an index record: 8 for the usual 0xF4, else the field as a size, a power of two from one
// sector to kMaxIndexSectors; 0 when it is not one.
uint32_t IndexSectors(const uint8_t* boot, uint32_t sectorsPerCluster) {
  if (LoadLe32(boot + 68) == 0xF4) return kDefaultIndexSectors;
  if (LoadLe32(boot + 68) > 0xFF) return 0;
  const uint64_t sectors = RecordBytes(boot[68], sectorsPerCluster) / kBytesPerSector;
  return IsPowerOfTwo(sectors) && sectors <= kMaxIndexSectors ? static_cast<uint32_t>(sectors) : 0;
}

}  // namespace

std::optional<NtfsBoot> NtfsBootSectorFields(const Sector& boot, const RangeSectors& range) {
  if (!HasSaneSectors(boot)) return std::nullopt;
  const uint8_t* b = boot.data();
  NtfsBoot fields;
  fields.sectorsPerCluster = b[13];
  fields.indexSectors = IndexSectors(b, fields.sectorsPerCluster);
  const uint64_t recordBytes = RecordBytes(b[64], fields.sectorsPerCluster);
  if (!ntfs::IsMftRecordSize(recordBytes) || fields.indexSectors == 0) return std::nullopt;
  fields.recordSectors = static_cast<uint32_t>(recordBytes / kBytesPerSector);
  fields.totalSectors = LoadLe64(b + 40);
  const uint64_t clusters = fields.totalSectors / fields.sectorsPerCluster;
  fields.mftCluster = LoadLe64(b + 48);
  fields.mirrorCluster = LoadLe64(b + 56);
  if (fields.totalSectors == 0 || !range.Holds(range.first, fields.totalSectors) || fields.mftCluster >= clusters ||
      fields.mirrorCluster >= clusters) {
    return std::nullopt;
  }
  return fields;
}

namespace {

// The NTFS fields of the boot sector at lba, for a volume at range.first.
std::optional<NtfsBoot> NtfsBootAt(uint64_t lba, const RangeSectors& range) {
  Sector boot;
  if (!range.Holds(lba) || !ReadDiskSector(lba, boot) || !HasBootSignature(boot)) return std::nullopt;
  return NtfsBootSectorFields(boot, range);
}

// The sector of cluster in the volume at range.first when it begins a file record; else 0.
uint32_t FileRecordSector(uint64_t cluster, uint32_t sectorsPerCluster, const RangeSectors& range) {
  const uint64_t lba = range.first + cluster * sectorsPerCluster;
  Sector sector;
  if (!range.Holds(lba, 2) || !ReadDiskSector(lba, sector) || std::memcmp(sector.data(), "FILE", 4) != 0) {
    return 0;
  }
  return static_cast<uint32_t>(lba);
}

uint32_t ReadNtfsBoot(const RangeSectors& range) {
  // The first boot sector, else the backup in the last sector; the MFT and its mirror each from the first
  // of the two that points at a file record.
  std::optional<NtfsBoot> boots[2] = {NtfsBootAt(range.first, range), std::nullopt};
  if (ScanRange.endSector != range.first) boots[1] = NtfsBootAt(ScanRange.endSector, range);
  const NtfsBoot* chosen = boots[0] ? &*boots[0] : boots[1] ? &*boots[1] : nullptr;
  if (chosen == nullptr) return 0;
  uint32_t mft = 0, mirror = 0;
  for (const std::optional<NtfsBoot>& boot : boots) {
    if (!boot) continue;
    if (mft == 0) mft = FileRecordSector(boot->mftCluster, boot->sectorsPerCluster, range);
    if (mirror == 0) mirror = FileRecordSector(boot->mirrorCluster, boot->sectorsPerCluster, range);
  }
  if (mft == 0 && mirror == 0) return 0;
  CurrentFileSystem.sectorsPerCluster = chosen->sectorsPerCluster;
  CurrentFileSystem.clusterBase = static_cast<uint32_t>(range.first);
  CurrentFileSystem.mftSector = mft;
  CurrentFileSystem.mftMirrorSector = mirror;
  CurrentFileSystem.sectorsPerMftRecord = chosen->recordSectors;
  CurrentFileSystem.sectorsPerIndexRecord = chosen->indexSectors;
  return 1;
}

}  // namespace

bool IsValidSectorsPerCluster(uint64_t value) { return IsPowerOfTwo(value) && value <= 128; }

uint32_t ReadBootParameters() {
  CurrentFileSystem = FileSystemRecord{};
  CurrentFileSystem.type = ScanRange.fileSystemCode;
  // A volume begins at its own sector 0.
  if (SourceKind.load() == kSourceLogicalDrive) ScanRange.startSector = 0;
  if (ScanStopRequested()) return 0;
  const RangeSectors range = CurrentRangeSectors();
  switch (ScanRange.fileSystemCode) {
    case records::kFat16:
    case records::kFat32: return ReadFatBoot(ScanRange.fileSystemCode, range);
    case records::kNtfs: return ReadNtfsBoot(range);
    default: return 1;
  }
}
