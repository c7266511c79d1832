#include "engine/image/vhdx_reader.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <new>
#include <stdexcept>

#include "engine/image/block_reads.h"
#include "engine/image/byte_order.h"

namespace {

constexpr uint64_t kRegionTableOffset = 0x30000;
constexpr uint32_t kTableBytes = 64 * 1024;  // a region or metadata table, whole
constexpr uint32_t kMaxTableEntries = 2047;
constexpr uint32_t kRegionEntriesAt = 16;
constexpr uint32_t kMetadataEntriesAt = 32;
constexpr uint32_t kEntryBytes = 32;
constexpr uint64_t kMiB = 1024 * 1024;
constexpr uint32_t kBatChunkEntries = 8192;  // table entries read at once

// Parse results.
constexpr int kParsed = 0;
constexpr int kNotVhdx = -1;
constexpr int kBadTable = -8;
constexpr int kUnknownRequiredRegion = -9;
constexpr int kBadValue = -10;

// Block states whose data lies in the file.
constexpr uint32_t kFullyPresent = 6;
constexpr uint32_t kPartiallyPresent = 7;

using Guid = std::array<uint8_t, 16>;

// A GUID in its stored form: the first three fields little-endian, the last eight bytes as written.
constexpr Guid MakeGuid(uint32_t a, uint16_t b, uint16_t c, uint64_t d) {
  Guid g{};
  for (int i = 0; i < 4; ++i) g[i] = static_cast<uint8_t>(a >> (8 * i));
  for (int i = 0; i < 2; ++i) g[4 + i] = static_cast<uint8_t>(b >> (8 * i));
  for (int i = 0; i < 2; ++i) g[6 + i] = static_cast<uint8_t>(c >> (8 * i));
  for (int i = 0; i < 8; ++i) g[8 + i] = static_cast<uint8_t>(d >> (8 * (7 - i)));
  return g;
}

struct Known {
  Guid guid;
  const char* name;
};

constexpr const char* kBatName = "Bat Guid";
constexpr const char* kMetadataName = "MetaData_Guid";
constexpr const char* kFileParameters = "File Parameter";
constexpr const char* kVirtualDiskSize = "Virtual Disk Size";
constexpr const char* kLogicalSectorSize = "Logical Sector Size";
constexpr const char* kPhysicalSectorSize = "Physical Sector Size";

const Known kRegions[] = {
    {MakeGuid(0x2DC27766, 0xF623, 0x4200, 0x9D64115E9BFD4A08), kBatName},
    {MakeGuid(0x8B7CA206, 0x4790, 0x4B9A, 0xB8FE575F050F886E), kMetadataName},
};

const Known kItems[] = {
    {MakeGuid(0xCAA16737, 0xFA36, 0x4D43, 0xB3B633F0AA44E76B), kFileParameters},
    {MakeGuid(0x2FA54224, 0xCD1B, 0x4876, 0xB2115DBED83BF4B8), kVirtualDiskSize},
    {MakeGuid(0xBECA12AB, 0xB2E6, 0x4523, 0x93EFC309E000C746), "Page83"},
    {MakeGuid(0x8141BF1D, 0xA96F, 0x4709, 0xBA47F233A8FAAB5F), kLogicalSectorSize},
    {MakeGuid(0xCDA348C7, 0x445D, 0x4471, 0x9CC9E9885251C556), kPhysicalSectorSize},
    {MakeGuid(0xA8D35F2D, 0xB30B, 0x454D, 0xABF7D3D84834AB0C), "Parent Locator"},
};

// The name of the GUID stored at p, or null when it is none of these.
template <size_t N>
const char* NameOf(const uint8_t* p, const Known (&known)[N]) {
  for (const Known& k : known) {
    if (std::memcmp(p, k.guid.data(), k.guid.size()) == 0) return k.name;
  }
  return nullptr;
}

bool IsPowerOfTwo(uint64_t v) { return v != 0 && (v & (v - 1)) == 0; }

// Bytes of one metadata value the reader takes, by item name (0: nothing is read).
uint32_t ValueBytes(const std::string& name) {
  if (name == kFileParameters || name == kVirtualDiskSize) return 8;
  if (name == kLogicalSectorSize || name == kPhysicalSectorSize) return 4;
  return 0;
}

}  // namespace

VhdxReader::~VhdxReader() = default;

void VhdxReader::Reset() {
  log_.Clear();
  regions_.clear();
  items_.clear();
  blocks_.clear();
  blockSize_ = logicalSectorSize_ = 0;
  virtualDiskSize_ = chunkRatio_ = dataBlocks_ = 0;
  position_ = 0;
}

uint32_t VhdxReader::Open(const std::u16string& path) {
  file_.Close();
  Reset();
  if (!file_.Open(path, os::Share::ReadWrite)) return 0;
  int result = kBadValue;
  try {
    result = Parse();
  } catch (const std::bad_alloc&) {
  } catch (const std::length_error&) {
  }
  if (result >= 0) return 1;
  Reset();
  file_.Close();
  return 0;
}

int VhdxReader::Parse() {
  uint8_t identifier[8];
  if (!file_.ReadAt(identifier, 0, sizeof identifier) || std::memcmp(identifier, "vhdxfile", 8) != 0) {
    return kNotVhdx;
  }
  log_.Load(file_);
  int result = ReadRegionTable();
  if (result < 0) return result;
  const VhdxRegion* metadata = FindRegion(kMetadataName);
  const VhdxRegion* bat = FindRegion(kBatName);
  if (!metadata || !bat) return kBadTable;
  result = ReadMetadataTable(*metadata);
  if (result < 0) return result;
  result = ReadMetadataValues(*metadata);
  if (result < 0) return result;
  return LoadBlockTable(*bat);
}

const VhdxRegion* VhdxReader::FindRegion(const char* name) const {
  for (const VhdxRegion& r : regions_) {
    if (r.name == name) return &r;
  }
  return nullptr;
}

int VhdxReader::ReadRegionTable() {
  std::vector<uint8_t> table(kTableBytes);
  uint32_t got = 0;
  if (!ReadFileAt(table.data(), kRegionTableOffset, kTableBytes, &got)) return kBadTable;
  const uint32_t count = LoadLe32(&table[8]);
  if (count > kMaxTableEntries || kRegionEntriesAt + uint64_t{count} * kEntryBytes > got) return kBadTable;
  for (uint32_t i = 0; i < count; ++i) {
    const uint8_t* entry = &table[kRegionEntriesAt + size_t{i} * kEntryBytes];
    const char* name = NameOf(entry, kRegions);
    if (!name) {
      if (LoadLe32(entry + 28) & 1) return kUnknownRequiredRegion;
      continue;
    }
    if (FindRegion(name)) return kBadTable;
    regions_.push_back({name, LoadLe64(entry + 16), LoadLe32(entry + 24)});
  }
  return kParsed;
}

int VhdxReader::ReadMetadataTable(const VhdxRegion& metadata) {
  std::vector<uint8_t> table(kTableBytes);
  uint32_t got = 0;
  if (!ReadFileAt(table.data(), metadata.fileOffset, kTableBytes, &got)) return kBadTable;
  if (std::memcmp(table.data(), "metadata", 8) != 0) return kBadTable;
  const uint32_t count = LoadLe16(&table[10]);
  if (count > kMaxTableEntries || kMetadataEntriesAt + uint64_t{count} * kEntryBytes > got) return kBadTable;
  for (uint32_t i = 0; i < count; ++i) {
    const uint8_t* entry = &table[kMetadataEntriesAt + size_t{i} * kEntryBytes];
    VhdxMetadataItem item;
    item.offset = LoadLe32(entry + 16);
    item.length = LoadLe32(entry + 20);
    if (uint64_t{item.offset} + item.length > metadata.length) return kBadValue;
    if (const char* name = NameOf(entry, kItems)) {
      const uint32_t flags = LoadLe32(entry + 24);
      item.isUser = flags & 1;
      item.isVirtualDisk = (flags >> 1) & 1;
      item.isRequired = (flags >> 2) & 1;
      item.name = name;
    }
    items_.push_back(item);
  }
  return kParsed;
}

int VhdxReader::ReadMetadataValues(const VhdxRegion& metadata) {
  for (const VhdxMetadataItem& item : items_) {
    const uint32_t bytes = ValueBytes(item.name);
    if (bytes == 0) continue;
    if (item.length < bytes || metadata.fileOffset > UINT64_MAX - item.offset) return kBadValue;
    uint8_t value[8] = {};
    if (!ReadFileAt(value, metadata.fileOffset + item.offset, bytes)) return kBadValue;
    if (item.name == kFileParameters) blockSize_ = LoadLe32(value);
    if (item.name == kVirtualDiskSize) virtualDiskSize_ = LoadLe64(value);
    if (item.name == kLogicalSectorSize) logicalSectorSize_ = LoadLe32(value);
  }
  const bool blockSizeOk = IsPowerOfTwo(blockSize_) && blockSize_ >= kMiB && blockSize_ <= 256 * kMiB;
  const bool sectorOk = logicalSectorSize_ == 512 || logicalSectorSize_ == 4096;
  return blockSizeOk && sectorOk && virtualDiskSize_ != 0 ? kParsed : kBadValue;
}

int VhdxReader::LoadBlockTable(const VhdxRegion& bat) {
  // Both are powers of two and the block at most 256 MiB, so the ratio is a whole number (at least 16).
  chunkRatio_ = (uint64_t{1} << 23) * logicalSectorSize_ / blockSize_;
  dataBlocks_ = (virtualDiskSize_ - 1) / blockSize_ + 1;
  const uint64_t entries = dataBlocks_ + (dataBlocks_ - 1) / chunkRatio_;
  const uint64_t fileSize = file_.Size();
  if (entries * 8 > bat.length || bat.fileOffset > fileSize || entries * 8 > fileSize - bat.fileOffset) {
    return kBadValue;
  }
  return WalkBlockTable(bat, entries);
}

int VhdxReader::WalkBlockTable(const VhdxRegion& bat, uint64_t entries) {
  if (dataBlocks_ > blocks_.max_size()) return kBadValue;
  blocks_.reserve(static_cast<size_t>(dataBlocks_));
  std::vector<uint8_t> chunk(std::min<uint64_t>(entries, kBatChunkEntries) * 8);
  uint64_t sinceBitmap = 0;
  for (uint64_t first = 0; first < entries;) {
    const auto n = static_cast<uint32_t>(std::min<uint64_t>(entries - first, kBatChunkEntries));
    if (!ReadFileAt(chunk.data(), bat.fileOffset + first * 8, n * 8)) return kBadValue;
    for (uint32_t i = 0; i < n; ++i) {
      if (sinceBitmap == chunkRatio_) {  // a sector-bitmap entry follows every chunk of data blocks
        sinceBitmap = 0;
        continue;
      }
      const uint64_t entry = LoadLe64(&chunk[size_t{i} * 8]);
      blocks_.push_back({static_cast<uint32_t>(entry & 7), entry & ~uint64_t{0xFFFFF}});
      ++sinceBitmap;
    }
    first += n;
  }
  return kParsed;
}

BlockPlace VhdxReader::PlaceOf(uint64_t index) const {
  if (index >= blocks_.size()) return BlockPlace{};
  const VhdxBlock& block = blocks_[index];
  const bool present = block.state == kFullyPresent || block.state == kPartiallyPresent;
  return BlockPlace{true, present ? block.fileOffset : 0};
}

uint32_t VhdxReader::Seek(uint64_t offset) {
  if (blockSize_ == 0) return 0;
  position_ = offset;
  const BlockPlace place = PlaceOf(offset / blockSize_);
  if (!place.inTable) return 0;
  if (place.fileOffset == 0) return 1;  // reads as zeros
  const uint64_t within = offset % blockSize_;
  return place.fileOffset <= UINT64_MAX - within && file_.SeekFromStart(place.fileOffset + within) ? 1 : 0;
}

uint32_t VhdxReader::ReadFileAt(void* buffer, uint64_t offset, uint32_t length, uint32_t* got) {
  const uint32_t result = file_.ReadAt(buffer, offset, length, got);
  log_.Overlay(offset, static_cast<uint8_t*>(buffer), length);
  return result;
}

uint32_t VhdxReader::Read(void* buffer, uint32_t count) {
  const FileBytes bytes = [this](uint64_t offset, uint8_t* into, uint32_t length) {
    uint32_t got = 0;
    return ReadFileAt(into, offset, length, &got) == 1 && got == length;
  };
  return ReadThroughBlocks(bytes, position_, blockSize_, static_cast<uint8_t*>(buffer), count,
                           [this](uint64_t index) { return PlaceOf(index); });
}

uint32_t VhdxReader::Close() { return file_.Close(); }
