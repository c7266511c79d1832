// enginectl partitions [--search] IMAGE: the partitions of the image, one line each:
// first sector, sector count and file-system code, separated by tabs.
//   Without --search: the partition table, read as the source page's Next reads it (sectors 0, 0, 61
//   and 62 in turn until the table is not empty).
//   With --search: the partition search alone over an empty table, on a worker thread, with the
//   geometry the source page's disk table would hold (the VHD footer's).
#include <cstdio>
#include <cstring>
#include <thread>

#include "engine/host/fakes.h"
#include "engine/host/partition_fakes.h"
#include "engine/partitions/detect_partitions.h"
#include "engine/partitions/partition_table.h"
#include "engine/partitions/search_partitions.h"
#include "engine/records/scan_control.h"
#include "tools/enginectl/image_source.h"
#include "tools/enginectl/modes.h"

namespace {

void RunSearchWorker(DiskImage& image) {
  host::FixedDiskTable diskTable({image.GetCylinders(), image.GetHeads(), image.GetSectorsPerTrack()});
  host::Hosts hosts = host::Current();
  hosts.diskTable = &diskTable;
  host::ScopedHosts installed(hosts);
  PartitionCount = 0;
  ScanThreadControl.stopFlag = 0;
  ScanThreadControl.runningFlag = 1;
  std::thread worker(PartitionSearchThread);
  worker.join();
}

}  // namespace

int RunPartitions(int argc, char** argv) {
  const bool search = argc == 2 && std::strcmp(argv[0], "--search") == 0;
  if (argc != 1 && !search) {
    std::fprintf(stderr, "usage: enginectl partitions [--search] IMAGE\n");
    return 2;
  }
  DiskImage image;
  if (!OpenImageSource(argv[argc - 1], image)) return 1;
  if (search) {
    RunSearchWorker(image);
  } else {
    DetectPartitionsWithFallback();
  }
  for (uint32_t i = 0; i < PartitionsInUse(); ++i) {
    const PartitionEntry& e = PartitionTable[i];
    std::printf("%llu\t%llu\t%u\n", static_cast<unsigned long long>(e.firstSector),
                static_cast<unsigned long long>(e.sectorCount), e.fileSystemCode);
  }
  SetCurrentDiskImage(nullptr);
  return std::fflush(stdout) == 0 ? 0 : 1;
}
