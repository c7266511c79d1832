// What the FAT tests share: a file read as the source (a logical drive), clean scan state, the FAT test
// volumes with their boot parameters, a folder walk over them, and what TSK says they hold.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace fat_test {

// text cut at every separator (an empty text gives one empty part).
std::vector<std::u16string> Split(const std::u16string& text, char16_t separator);

// A UTF-8 file's text; a failed test and "" when it cannot be read.
std::u16string ReadTextFile(const std::u16string& path);

// A shared test image (build/images).
std::u16string SharedImage(const std::string& name);

// The file at path read as the current source: a logical drive, SourceKind 2, for the life of the object.
class MappedVolume {
 public:
  explicit MappedVolume(const std::u16string& path);
  ~MappedVolume();
  MappedVolume(const MappedVolume&) = delete;
  MappedVolume& operator=(const MappedVolume&) = delete;
  bool opened() const { return opened_; }

 private:
  bool opened_ = false;
};

// bytes written to a temporary file and read as the current source.
class ScratchVolume {
 public:
  explicit ScratchVolume(const std::vector<uint8_t>& bytes);
  ~ScratchVolume();
  bool opened() const { return volume_ && volume_->opened(); }

 private:
  std::u16string path_;
  std::unique_ptr<MappedVolume> volume_;
};

// Empty record lists, counters, scan parameters and flags for the life of the object.
class CleanScanState {
 public:
  CleanScanState() { Reset(); }
  ~CleanScanState() { Reset(); }
  CleanScanState(const CleanScanState&) = delete;
  CleanScanState& operator=(const CleanScanState&) = delete;
  static void Reset();
};

// Fills CurrentFileSystem (code, sectors per cluster and per FAT, both tables, cluster base, root folder)
// and ScanRange from the boot sector of the current source's sector 0; false when it cannot be read.
bool LoadBootParameters();

// Every sector of the clusters in ClusterList, in chain order.
std::vector<uint64_t> ChainSectors();

// Reads the root folder and every folder it leads to into FatFolderList and FatEntryList, each folder's
// whole chain through the first table. joined: each sector is parsed with the folder's sectors before it.
void ReadFolderTree(bool joined);

// One line of what TSK lists on a test volume (fat_oracle.py).
struct ExpectedEntry {
  bool folder = false;
  uint32_t deleted = 0;
  uint32_t size = 0;
  std::vector<std::pair<uint64_t, uint64_t>> runs;  // first image sector, count
  std::vector<std::pair<char, std::u16string>> path;  // comparison rule, TSK's name
};
std::vector<ExpectedEntry> ExpectedEntries(const std::string& image);

}  // namespace fat_test
