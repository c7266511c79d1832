// What the partition search needs of the source page: its disk information panel (progress and status),
// its source tree (the partitions found), the "Please Select" dialog, and the geometry of the disk table.
// The windows implement these on the user-interface thread; the search calls them from its worker.
#pragma once

#include <cstdint>
#include <string>

namespace host {

// The disk information panel (CFirstDisplay) as the partition search reports to it.
class FirstDisplayHost {
 public:
  virtual ~FirstDisplayHost() = default;
  virtual void SetStatusText(const std::u16string& text) = 0;
  virtual void SetProgressPos(uint32_t position) = 0;
  virtual void SetButtonText(const std::u16string& text) = 0;
};

// The source tree (SourceTreeCtrl) where the partitions are listed.
class SourceTreeHost {
 public:
  virtual ~SourceTreeHost() = default;
  // Finds or adds the top-level node groupLabel, adds partitionLabel as its child and marks the group
  // checked and bold.
  virtual void AddFoundPartition(const std::u16string& groupLabel, const std::u16string& partitionLabel) = 0;
  // Expands the first root node.
  virtual void ExpandRoot() = 0;
};

// Answers of the "Please Select" dialog (PartitionChoiceDialog).
enum PartitionChoice : uint32_t {
  kUseExistingPartitions = 0,  // "Use existing partition info", then OK
  kSearchPartition = 1,        // "Search partition", then OK
  kPartitionChoiceCancelled = 2,
};

// The "Please Select" question, asked when partitions are already known.
class PartitionChoiceHost {
 public:
  virtual ~PartitionChoiceHost() = default;
  // Runs the dialog modally on the user-interface thread; the calling worker waits for the answer.
  virtual PartitionChoice PartitionChoiceDialog() = 0;
};

// Geometry of a disk as the disk table holds it.
struct DiskGeometry {
  uint32_t cylinders = 0;
  uint32_t heads = 0;
  uint32_t sectorsPerTrack = 0;
};

// The disk table of the source page. A VHDX image has no geometry there (the search derives its own).
class DiskTableHost {
 public:
  virtual ~DiskTableHost() = default;
  virtual DiskGeometry GetDiskGeometry(uint32_t diskIndex) = 0;
};

}  // namespace host
