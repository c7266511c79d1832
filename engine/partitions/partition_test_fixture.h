// The shared setting of the partition tests: fresh process-wide state, recording hosts, crafted disks
// and the test images with what the oracle expects of them.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "engine/host/fakes.h"
#include "engine/host/partition_fakes.h"
#include "engine/partitions/partition_table.h"
#include "engine/partitions/partition_test_support.h"

namespace partition_test {

// "first:count:code" of each entry in the table, separated by spaces; sorted by first sector when asked.
std::string TableText(bool sorted = false);

// A line of the oracle file: the image, and for the search the VHD footer's geometry.
struct OracleLine {
  std::string image;
  host::DiskGeometry geometry;
  std::string expected;  // as TableText(true)
};
// The lines of kind in an oracle file: partition_oracle.py's for the shared images by default.
std::vector<OracleLine> OracleLines(const std::string& kind, const std::string& path = DORVANE_PARTITION_ORACLE);
std::u16string SharedImage(const std::string& name);

class PartitionTest : public ::testing::Test {
 protected:
  PartitionTest();
  ~PartitionTest() override;

  // Writes disk as a fixed VHD with geometry and makes it the current disk.
  void UseDisk(const DiskBytes& disk, const host::DiskGeometry& geometry = {});
  void UseImage(const std::u16string& path);

  host::RecordingFirstDisplay panel;
  host::RecordingSourceTree tree;
  host::FixedPartitionChoice choice{host::kPartitionChoiceCancelled};
  host::FixedDiskTable diskTable{{}};
  host::Hosts hosts;
  std::unique_ptr<host::ScopedHosts> installed;
  std::unique_ptr<CurrentDisk> current;
  std::u16string tempPath;
};

}  // namespace partition_test
