// The VHD image reader: fixed, dynamic and differencing disks presented as a flat virtual disk that is
// sought and read by byte offset. A differencing disk is read without its parent: blocks it does not
// hold read as zeros. A file that ends without a footer is a copy cut short or a raw disk: a dynamic disk
// is read through the copy of its footer at the file's start, anything else is the file's own bytes.
// Only reading; the image is never written.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "engine/image/image_file.h"

constexpr uint32_t kVhdFooterSize = 512;
constexpr uint32_t kVhdDynamicHeaderSize = 1024;

// What the reader keeps of the image: its file and its structures as read.
class VhdStructures {
 public:
  virtual ~VhdStructures() = default;

  ImageFile file;
  uint8_t footer[kVhdFooterSize] = {};
  uint8_t dynamicHeader[kVhdDynamicHeaderSize] = {};  // dynamic and differencing disks only
  std::vector<uint32_t> table;  // the block allocation table: each block's first sector in the file
};

class VhdReader {
 public:
  VhdReader();
  virtual ~VhdReader();
  VhdReader(const VhdReader&) = delete;
  VhdReader& operator=(const VhdReader&) = delete;

  // Reads the footer and, for dynamic and differencing disks, the dynamic header and the block table.
  // 0 for a file that cannot be opened or read, is shorter than a sector, has a block size that is 0 or
  // not a multiple of 512, or a table that does not fit in the file.
  uint32_t Open(const std::u16string& path);
  // Chooses the virtual offset of the next Read; 0 when it lies past the last block of the table.
  uint32_t Seek(uint64_t offset);
  // Reads count bytes at the chosen offset and moves past them; blocks that are not allocated read as zeros.
  // 0 when the read runs past the table, or reaches bytes the file does not hold (past a fixed or raw disk's
  // data, or in a block the file lost), or fails: the buffer is then zeroed where it was not read.
  uint32_t Read(void* buffer, uint32_t count);
  uint32_t Close();

  uint32_t GetCylinders() const { return cylinders_; }
  uint32_t GetHeads() const { return heads_; }
  uint32_t GetSectorsPerTrack() const { return sectorsPerTrack_; }
  // The footer's current size (a raw disk's: the file's): the virtual disk's size in bytes (0 before an open
  // succeeded).
  uint64_t GetCurrentSize() const { return currentSize_; }

 private:
  bool ReadsThroughTable() const { return diskType_ == 3 || diskType_ == 4; }
  void Forget();
  bool ReadFooter(uint64_t fileSize);
  void TakeRawDisk(uint64_t fileSize);
  bool ReadDynamicParts(uint64_t fileSize);
  bool ReadTable(uint32_t entries);
  void BuildBlockOffsets();

  std::vector<uint64_t> blockOffsets_;  // file position of each block's first data byte; 0 = not allocated
  std::unique_ptr<VhdStructures> structures_;
  uint32_t diskType_ = 0;
  uint64_t position_ = 0;  // the virtual offset of the next read
  uint64_t currentSize_ = 0;
  uint64_t fixedDataSize_ = 0;  // a fixed disk's data: the file without its closing footer, if any
  uint32_t blockSize_ = 0;
  uint32_t cylinders_ = 0;
  uint32_t heads_ = 0;
  uint32_t sectorsPerTrack_ = 0;
};
