// The VHDX image reader: the file identifier, the region table, the metadata table and its items and the
// block allocation table, presenting the image as a flat virtual disk sought and read by byte offset.
// Reads only: the changes the log still holds are laid over what is read, in memory (vhdx_log.h), and a
// differencing image is read without its parent (blocks it does not hold read as zeros).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "engine/image/block_reads.h"
#include "engine/image/image_file.h"
#include "engine/image/vhdx_log.h"

struct VhdxRegion {
  std::string name;  // "Bat Guid" or "MetaData_Guid"
  uint64_t fileOffset = 0;
  uint32_t length = 0;
};

struct VhdxMetadataItem {
  uint32_t isUser = 0;
  uint32_t isVirtualDisk = 0;
  uint32_t isRequired = 0;
  uint32_t offset = 0;  // from the start of the metadata region
  uint32_t length = 0;
  std::string name;  // empty for an item the reader does not know
};

struct VhdxBlock {
  uint32_t state = 0;       // the table entry's bits 0-2
  uint64_t fileOffset = 0;  // the entry with its low 20 bits cleared; 0 = no file space
};

class VhdxReader {
 public:
  VhdxReader() = default;
  virtual ~VhdxReader();
  VhdxReader(const VhdxReader&) = delete;
  VhdxReader& operator=(const VhdxReader&) = delete;

  // Opens the existing file (read and write sharing) and parses it; 1 when the parse succeeded.
  uint32_t Open(const std::u16string& path);
  // Chooses the virtual offset of the next Read; 0 past the last block or when the file cannot be
  // positioned at the block's data.
  uint32_t Seek(uint64_t offset);
  // Reads count bytes at the offset of the last Seek, block by block; blocks whose data is not present
  // read as zeros, and a read of bytes past the end of the file fails. On 0 the bytes not read are zeroed.
  uint32_t Read(void* buffer, uint32_t count);
  uint32_t Close();
  uint64_t GetVirtualDiskSize() const { return virtualDiskSize_; }
  uint32_t GetLogicalSectorSize() const { return logicalSectorSize_; }
  // Whether the log held changes, and whether they could be read (after an Open that succeeded).
  VhdxLogState LogState() const { return log_.State(); }

 private:
  // 0 on success; negative when the image is refused.
  int Parse();
  int ReadRegionTable();
  int ReadMetadataTable(const VhdxRegion& metadata);
  int ReadMetadataValues(const VhdxRegion& metadata);
  int LoadBlockTable(const VhdxRegion& bat);
  int WalkBlockTable(const VhdxRegion& bat, uint64_t entries);
  const VhdxRegion* FindRegion(const char* name) const;
  BlockPlace PlaceOf(uint64_t index) const;
  // ReadAt of the file with the log's changes laid over what was read.
  uint32_t ReadFileAt(void* buffer, uint64_t offset, uint32_t length, uint32_t* got = nullptr);
  void Reset();

  ImageFile file_;
  VhdxLog log_;
  std::vector<VhdxRegion> regions_;
  std::vector<VhdxMetadataItem> items_;
  std::vector<VhdxBlock> blocks_;
  uint32_t blockSize_ = 0;
  uint32_t logicalSectorSize_ = 0;
  uint64_t virtualDiskSize_ = 0;
  uint64_t chunkRatio_ = 0;  // data blocks between two sector-bitmap entries of the table
  uint64_t dataBlocks_ = 0;
  uint64_t position_ = 0;  // the virtual offset of the last Seek
};
