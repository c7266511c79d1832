// DetectPartitions and the partition search over arbitrary disk bytes: whatever the boot records and
// their chains hold (loops, links far away, more than the table holds), nothing is written outside the
// table, every walk ends and every entry is a FAT16, FAT32 or NTFS one.
// Input: the disk's first sectors (up to 1 MiB); the rest of the disk reads as zeros. It is written as a
// fixed VHD to the temporary folder, one per process, and read as the current disk.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "engine/host/fakes.h"
#include "engine/host/partition_fakes.h"
#include "engine/partitions/detect_partitions.h"
#include "engine/partitions/partition_table.h"
#include "engine/partitions/partition_test_support.h"
#include "engine/partitions/search_partitions.h"
#include "engine/records/scan_control.h"
#include "platform/os/os.h"

namespace {

constexpr size_t kMaxDisk = 1 << 20;

const std::u16string& DiskPath() {
  static const std::u16string path =
      os::TempFolderPath() + u"dorvane_fuzz_partitions_" + os::FromAscii(std::to_string(getpid())) + u".vhd";
  return path;
}

void CheckTable() {
  if (PartitionCount > kMaxPartitions) std::abort();
  for (uint32_t i = 0; i < PartitionCount; ++i) {
    const uint16_t code = PartitionTable[i].fileSystemCode;
    if (code != 100 && code != 200 && code != 300) std::abort();
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size > kMaxDisk) return 0;
  const auto sectors = static_cast<uint32_t>((size + 511) / 512);
  // One head of 63 sectors: every 63rd sector is a cylinder's head 1, within reach of small inputs.
  const host::DiskGeometry geometry{sectors / 63 + 2, 1, 63};
  if (!partition_test::WriteFixedVhd(DiskPath(), data, size, geometry)) return 0;
  partition_test::CurrentDisk disk(DiskPath());
  if (!disk.opened()) return 0;

  host::FixedDiskTable diskTable(geometry);
  host::FixedPartitionChoice choice(host::kSearchPartition);
  host::RecordingSourceTree tree;
  host::Hosts hosts;
  hosts.diskTable = &diskTable;
  hosts.partitionChoice = &choice;
  hosts.sourceTree = &tree;
  host::ScopedHosts installed(hosts);

  DetectPartitionsWithFallback();
  CheckTable();
  ScanThreadControl.stopFlag = 0;
  SearchPartitions();
  CheckTable();
  if (tree.added.size() > kMaxPartitions) std::abort();
  return 0;
}
