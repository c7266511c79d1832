// What the Quick Scan and partition-parameter tests share: the scan page's fakes installed over clean
// scan state, sources (a shared test image, or bytes read as a logical drive), and boot sectors built
// field by field.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "engine/host/fakes.h"
#include "engine/host/result_tree_fakes.h"
#include "engine/host/scan_fakes.h"
#include "engine/host/scan_page_fakes.h"
#include "engine/image/disk_image.h"

namespace quick_test {

using Bytes = std::vector<uint8_t>;

// The panel, with hooks that let a test act (a stop request) when the worker reports.
class HookedPanel : public host::RecordingSecondDisplay {
 public:
  void SetStatusText(const std::u16string& text) override;
  void SetRowValue(host::SecondDisplayRow row, const std::u16string& text) override;
  std::function<void(const std::u16string&)> onStatus;
  std::function<void(host::SecondDisplayRow, const std::u16string&)> onRow;
};

// The scan page's fakes installed, and the scan state, source values and flags clean before and after.
// ResetScanState cleans the scan state and flags alone, leaving the source as it is.
class QuickScanTest : public ::testing::Test {
 protected:
  QuickScanTest();
  ~QuickScanTest() override;
  static void ResetScanState();

  // ScanRange as the scan page writes it for a Quick Scan of count sectors from start.
  static void SetRange(uint16_t code, uint32_t start, uint32_t count);

  // QuickScanThread on a worker thread, started as the page starts it (stop 0, running 1); returns its
  // result once it has returned.
  uint32_t RunWorker();

  host::RecordingMessages messages;
  HookedPanel panel;
  host::RecordingScanPage page;
  host::RecordingResultTree tree;
  host::RecordingResultList list;

 private:
  std::unique_ptr<host::ScopedHosts> installed_;
};

// A fixed VHD or VHDX of the shared test images as the current source, for the life of the object.
class SharedDisk {
 public:
  explicit SharedDisk(const std::string& name);
  ~SharedDisk();
  bool opened() const { return opened_; }

 private:
  DiskImage image_;
  bool opened_ = false;
};

// A file read as the logical drive "F:" (SourceKind 2), which page names as drive row 0; the file is
// removed afterwards when it was written from bytes.
class MappedDrive {
 public:
  MappedDrive(const std::u16string& path, host::RecordingScanPage& page);
  MappedDrive(const Bytes& bytes, host::RecordingScanPage& page);
  ~MappedDrive();
  const std::u16string& path() const { return path_; }

 private:
  void Map(host::RecordingScanPage& page);
  std::u16string path_;
  bool scratch_ = false;
};

void PutLe16(Bytes& bytes, size_t at, uint16_t value);
void PutLe32(Bytes& bytes, size_t at, uint32_t value);
void PutLe64(Bytes& bytes, size_t at, uint64_t value);

// A FAT volume of `sectors` sectors with only its boot sector and the first bytes of both tables.
struct FatLayout {
  uint16_t code = 100;
  uint8_t sectorsPerCluster = 4;
  uint16_t reserved = 4;
  uint32_t sectorsPerFat = 16;
  uint16_t rootEntries = 512;  // FAT16
  uint8_t tables = 2;
  uint32_t sectors = 4096;
  uint32_t totalSectors = 4096;  // as the boot sector gives it
};
Bytes FatVolume(const FatLayout& layout);
// Writes the boot sector of layout at sector `at` of volume.
void PutFatBoot(Bytes& volume, size_t at, const FatLayout& layout);

// An NTFS volume of `sectors` sectors with its boot sector, the backup in the last sector, and "FILE" at
// the MFT and its mirror.
struct NtfsLayout {
  uint8_t sectorsPerCluster = 8;
  uint64_t mftCluster = 4;
  uint64_t mirrorCluster = 2;
  uint8_t recordSize = 0xF6;  // byte 64: 2 to the 10th bytes
  uint32_t indexSize = 0xF4;  // u32 at 68
  uint32_t sectors = 2048;
  uint64_t totalSectors = 2047;
};
Bytes NtfsVolume(const NtfsLayout& layout);
void PutNtfsBoot(Bytes& volume, size_t at, const NtfsLayout& layout);

}  // namespace quick_test
