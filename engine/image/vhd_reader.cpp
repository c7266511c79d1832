#include "engine/image/vhd_reader.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <stdexcept>

#include "engine/image/block_reads.h"
#include "engine/image/byte_order.h"

namespace {

constexpr uint64_t kSector = 512;
constexpr uint64_t kHeaderOffset = 512;
constexpr uint64_t kTableOffset = 1536;
constexpr uint32_t kUnallocated = 0xFFFFFFFF;
constexpr uint32_t kTableChunkEntries = 16384;  // entries read at once

// The footer's disk type as the reader knows it; only 3 (dynamic) and 4 (differencing) go through the
// block table, anything else reads as a fixed disk.
uint32_t DiskType(uint32_t stored) {
  switch (stored) {
    case 0: return 1;
    case 2: case 3: case 4: case 101: return stored;
    default: return 5;
  }
}

constexpr char kCookie[] = "conectix";

bool HasCookie(const uint8_t* footer) { return std::memcmp(footer, kCookie, 8) == 0; }

struct Geometry {
  uint32_t cylinders = 0;
  uint32_t heads = 0;
  uint32_t sectorsPerTrack = 0;
};

// The geometry the format gives a disk of bytes, as a footer of a disk of that size would hold it.
Geometry GeometryOfSize(uint64_t bytes) {
  const uint64_t sectors = std::min<uint64_t>(bytes / kSector, 65535ull * 16 * 255);
  uint64_t spt = 255, heads = 16;
  if (sectors < 65535ull * 16 * 63) {
    spt = 17;
    heads = std::max<uint64_t>(4, (sectors / spt + 1023) / 1024);
    if (sectors / spt >= heads * 1024 || heads > 16) {
      spt = 31;
      heads = 16;
    }
    if (sectors / spt >= heads * 1024) spt = 63;
  }
  return {static_cast<uint32_t>(sectors / spt / heads), static_cast<uint32_t>(heads), static_cast<uint32_t>(spt)};
}

// Every block starts with a bitmap of one bit per sector, padded to whole sectors.
uint64_t BitmapBytes(uint32_t blockSize) {
  const uint64_t bytes = (blockSize / kSector + 7) / 8;
  return (bytes + kSector - 1) / kSector * kSector;
}

}  // namespace

VhdReader::VhdReader() : structures_(std::make_unique<VhdStructures>()) {}

VhdReader::~VhdReader() = default;

void VhdReader::Forget() {
  diskType_ = blockSize_ = 0;
  cylinders_ = heads_ = sectorsPerTrack_ = 0;
  currentSize_ = 0;
  position_ = 0;
  structures_->table.clear();
  blockOffsets_.clear();
}

uint32_t VhdReader::Open(const std::u16string& path) {
  ImageFile& file = structures_->file;
  Forget();
  if (!file.OpenForReading(path)) return 0;
  const uint64_t size = file.Size();
  if (size < kVhdFooterSize || !ReadFooter(size) || (ReadsThroughTable() && !ReadDynamicParts(size))) {
    Forget();
    file.Close();
    return 0;
  }
  return 1;
}

// The footer closes the file. A dynamic disk keeps a copy at its start, which stands in when the end is lost
// (a copy interrupted): the blocks still in the file are read through it. Without either the file is a raw
// disk, or a fixed disk whose footer was cut off: its own bytes.
bool VhdReader::ReadFooter(uint64_t fileSize) {
  uint8_t* footer = structures_->footer;
  ImageFile& file = structures_->file;
  if (!file.ReadAt(footer, fileSize - kVhdFooterSize, kVhdFooterSize)) return false;
  fixedDataSize_ = fileSize - kVhdFooterSize;
  if (!HasCookie(footer)) {
    uint8_t head[kVhdFooterSize];
    if (!file.ReadAt(head, 0, kVhdFooterSize)) return false;
    const uint32_t headType = DiskType(LoadBe32(head + 60));
    if (!HasCookie(head) || (headType != 3 && headType != 4)) {
      TakeRawDisk(fileSize);
      return true;
    }
    std::memcpy(footer, head, kVhdFooterSize);
  }
  diskType_ = DiskType(LoadBe32(footer + 60));
  cylinders_ = LoadBe16(footer + 56);
  heads_ = footer[58];
  sectorsPerTrack_ = footer[59];
  currentSize_ = LoadBe64(footer + 48);
  return true;
}

void VhdReader::TakeRawDisk(uint64_t fileSize) {
  std::memset(structures_->footer, 0, kVhdFooterSize);
  diskType_ = DiskType(0);
  fixedDataSize_ = currentSize_ = fileSize;
  const Geometry geometry = GeometryOfSize(fileSize);
  cylinders_ = geometry.cylinders;
  heads_ = geometry.heads;
  sectorsPerTrack_ = geometry.sectorsPerTrack;
}

bool VhdReader::ReadDynamicParts(uint64_t fileSize) {
  uint8_t* header = structures_->dynamicHeader;
  if (!structures_->file.ReadAt(header, kHeaderOffset, kVhdDynamicHeaderSize)) return false;
  const uint32_t entries = LoadBe32(header + 28);
  const uint32_t blockSize = LoadBe32(header + 32);
  if (blockSize == 0 || blockSize % kSector != 0) return false;
  if (kTableOffset + uint64_t{entries} * 4 > fileSize) return false;
  try {
    if (!ReadTable(entries)) return false;
    blockSize_ = blockSize;
    BuildBlockOffsets();
  } catch (const std::bad_alloc&) {
    return false;
  } catch (const std::length_error&) {
    return false;
  }
  return true;
}

bool VhdReader::ReadTable(uint32_t entries) {
  std::vector<uint32_t>& table = structures_->table;
  table.reserve(entries);
  std::vector<uint8_t> chunk(std::min(entries, kTableChunkEntries) * size_t{4});
  for (uint32_t first = 0; first < entries;) {
    const uint32_t n = std::min(entries - first, kTableChunkEntries);
    if (!structures_->file.ReadAt(chunk.data(), kTableOffset + uint64_t{first} * 4, n * 4)) return false;
    for (uint32_t i = 0; i < n; ++i) table.push_back(LoadBe32(&chunk[size_t{i} * 4]));
    first += n;
  }
  return true;
}

void VhdReader::BuildBlockOffsets() {
  const uint64_t bitmap = BitmapBytes(blockSize_);
  const std::vector<uint32_t>& table = structures_->table;
  blockOffsets_.resize(table.size());
  for (size_t i = 0; i < table.size(); ++i) {
    blockOffsets_[i] = table[i] == kUnallocated ? 0 : table[i] * kSector + bitmap;
  }
}

uint32_t VhdReader::Seek(uint64_t offset) {
  if (!ReadsThroughTable()) {
    if (!structures_->file.SeekFromStart(offset)) return 0;
    position_ = offset;
    return 1;
  }
  if (offset / blockSize_ >= blockOffsets_.size()) return 0;
  position_ = offset;
  return 1;
}

uint32_t VhdReader::Read(void* buffer, uint32_t count) {
  auto* out = static_cast<uint8_t*>(buffer);
  ImageFile& file = structures_->file;
  uint32_t result = 0;
  if (!ReadsThroughTable()) {
    // A fixed or raw disk is the file's data (without a fixed disk's closing footer): a byte past it, where a
    // copy was cut short, cannot be read. Zeros there would pass for the disk's bytes; what lies before it is
    // kept, so that a read straddling the disk's end still gives its part inside.
    const uint64_t left = position_ < fixedDataSize_ ? fixedDataSize_ - position_ : 0;
    const uint32_t inside = static_cast<uint32_t>(std::min<uint64_t>(count, left));
    result = file.ReadWhole(position_, out, inside) && inside == count ? 1 : 0;
    if (inside < count) std::memset(out + inside, 0, count - inside);
  } else {
    const FileBytes bytes = [&file](uint64_t offset, uint8_t* into, uint32_t length) {
      return file.ReadWhole(offset, into, length);
    };
    result = ReadThroughBlocks(bytes, position_, blockSize_, out, count,
                               [this](uint64_t index) {
                                 if (index >= blockOffsets_.size()) return BlockPlace{};
                                 return BlockPlace{true, blockOffsets_[index]};
                               });
  }
  if (result) position_ += count;
  return result;
}

uint32_t VhdReader::Close() {
  structures_->file.Close();
  return 1;
}
