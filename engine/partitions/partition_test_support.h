// What the partition tests and the fuzz target share: disks put together sector by sector, written as
// fixed VHD files, and an image opened as the current disk.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "engine/host/partition_host.h"
#include "engine/image/disk_image.h"

namespace partition_test {

// A disk being put together: sectors of zeros that the test fills.
class DiskBytes {
 public:
  explicit DiskBytes(uint32_t sectors) : bytes_(size_t{sectors} * 512, 0) {}
  // Entry index (0..3) of the table in sector.
  void SetEntry(uint32_t sector, int index, uint8_t type, uint32_t first, uint32_t count);
  // The 55 AA mark at the end of sector.
  void Sign(uint32_t sector);
  void PutText(uint32_t sector, size_t offset, const std::string& text);
  void PutLe16(uint32_t sector, size_t offset, uint16_t value);
  void PutLe32(uint32_t sector, size_t offset, uint32_t value);
  const std::vector<uint8_t>& bytes() const { return bytes_; }

 private:
  uint8_t* At(uint32_t sector, size_t offset, size_t length);
  std::vector<uint8_t> bytes_;
};

// Writes data (padded to whole sectors) followed by a fixed-disk footer with geometry; true when written.
bool WriteFixedVhd(const std::u16string& path, const uint8_t* data, size_t size, const host::DiskGeometry& geometry);

// The image at path (VHD by its extension ".vhd", else VHDX) opened as the current disk for the life of
// the object: SourceKind 1, CurrentDriveIndex 0, ImageFormat 0 or 1.
class CurrentDisk {
 public:
  explicit CurrentDisk(const std::u16string& path);
  ~CurrentDisk();
  CurrentDisk(const CurrentDisk&) = delete;
  CurrentDisk& operator=(const CurrentDisk&) = delete;
  bool opened() const { return opened_; }

 private:
  DiskImage image_;
  bool opened_ = false;
};

}  // namespace partition_test
