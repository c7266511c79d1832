// Recording fakes of the partition-search hosts, for tests and the headless driver.
#pragma once

#include <string>
#include <vector>

#include "engine/host/partition_host.h"

namespace host {

class RecordingFirstDisplay : public FirstDisplayHost {
 public:
  void SetStatusText(const std::u16string& text) override;
  void SetProgressPos(uint32_t position) override;
  void SetButtonText(const std::u16string& text) override;

  std::vector<std::u16string> statusTexts;
  std::vector<uint32_t> progress;
  std::vector<std::u16string> buttonTexts;
};

class RecordingSourceTree : public SourceTreeHost {
 public:
  struct Added {
    std::u16string group;
    std::u16string partition;
  };
  void AddFoundPartition(const std::u16string& groupLabel, const std::u16string& partitionLabel) override;
  void ExpandRoot() override;

  std::vector<Added> added;
  uint32_t expandCount = 0;
};

class FixedPartitionChoice : public PartitionChoiceHost {
 public:
  explicit FixedPartitionChoice(PartitionChoice answer) : answer(answer) {}
  PartitionChoice PartitionChoiceDialog() override;

  PartitionChoice answer;
  uint32_t asked = 0;
};

class FixedDiskTable : public DiskTableHost {
 public:
  explicit FixedDiskTable(DiskGeometry geometry) : geometry(geometry) {}
  DiskGeometry GetDiskGeometry(uint32_t diskIndex) override;

  DiskGeometry geometry;
  std::vector<uint32_t> askedDisks;
};

}  // namespace host
