// What the Extensive Scan tests share: the scan page's fakes over clean Extensive Scan state, the cases
// that make_extensive_disks.py describes from TSK's view of its disks and of shared ones, sources (a VHD,
// or bytes read as a logical drive), and the tests' own reading of a raw disk, sector by sector.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <ostream>
#include <memory>
#include <string>
#include <vector>

#include "engine/host/fakes.h"
#include "engine/host/file_system_tree_fakes.h"
#include "engine/host/scan_fakes.h"
#include "engine/host/scan_page_fakes.h"
#include "engine/image/disk_image.h"

namespace extensive_test {

using Bytes = std::vector<uint8_t>;

// A file system an Extensive Scan must find, as page 3 lists it.
struct Found {
  uint32_t number = 0;
  uint16_t type = 0;
  std::string label;
  uint32_t first = 0;
  uint32_t last = 0;

  bool operator==(const Found& o) const {
    return number == o.number && type == o.type && label == o.label && first == o.first && last == o.last;
  }
};
std::ostream& operator<<(std::ostream& out, const Found& found);

// One disk scanned whole for one file-system code.
struct Case {
  std::string image;  // a VHD
  uint16_t code = 0;
  uint32_t sectors = 0;
  bool own = false;  // made by make_extensive_disks.py, else a shared test image
  std::vector<Found> found;

  std::u16string ImagePath() const;
  // The raw disk the VHD wraps.
  std::u16string RawPath() const;
};

std::vector<Case> ReadCases();
// The case of image and code; fails the test when there is none.
Case FindCase(const std::string& image, uint16_t code);
// A disk that make_extensive_disks.py wrote.
std::u16string OwnDisk(const std::string& name);

// The panel and the page, with hooks that let a test act (a stop request) when the worker reports.
class HookedPanel : public host::RecordingSecondDisplay {
 public:
  void SetRowValue(host::SecondDisplayRow row, const std::u16string& text) override;
  std::function<void(host::SecondDisplayRow, const std::u16string&)> onRow;
};
class HookedPage : public host::RecordingScanPage {
 public:
  void ShowStopButton() override;
  std::function<void()> onShowStop;
};

// The scan page's fakes installed, and the Extensive Scan state clean before and after.
class ExtensiveTest : public ::testing::Test {
 protected:
  ExtensiveTest();
  ~ExtensiveTest() override;
  static void ResetScanState();

  // ScanRange as the scan page writes it (count = end - start) and the sectors per read.
  static void SetRange(uint16_t code, uint32_t start, uint32_t count, uint32_t sectorsPerRead = 60);

  // ExtensiveScanThread on a worker thread, started as the page starts it (stop 0, running 1, the
  // Extensive Scan lists freed); returns once it has returned.
  void RunWorker();

  // The worker ended as the page waits for: running 0, stop 1, both analysis-done flags set.
  void ExpectEnded();

  // What was found, in FoundFileSystemList's order, with the labels the tree shows.
  std::vector<Found> FoundNow() const;

  host::RecordingMessages messages;
  HookedPanel panel;
  HookedPage page;
  host::RecordingFileSystemTree tree;

 private:
  std::unique_ptr<host::ScopedHosts> installed_;
};

// A VHD (fixed or dynamic) as the current source, for the life of the object.
class OpenedDisk {
 public:
  explicit OpenedDisk(const std::u16string& path);
  ~OpenedDisk();
  bool opened() const { return opened_; }

 private:
  DiskImage image_;
  bool opened_ = false;
};

// Bytes read as the logical drive "F:" (SourceKind 2), the volume handle open on them; the file is
// removed afterwards.
class MappedDrive {
 public:
  explicit MappedDrive(const Bytes& bytes);
  ~MappedDrive();

 private:
  std::u16string path_;
};

// Calls visit(sector number, bytes) for every sector of the raw file, in order; false when the file
// cannot be read whole.
bool ForEachRawSector(const std::u16string& path, const std::function<void(uint32_t, const uint8_t*)>& visit);

void PutLe16(Bytes& bytes, size_t at, uint16_t value);
void PutLe32(Bytes& bytes, size_t at, uint32_t value);

}  // namespace extensive_test
