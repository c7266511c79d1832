// enginectl read IMAGE FIRST_SECTOR COUNT: reads the sectors through ReadSectors, as the engine does, and
// writes their bytes to standard output.
#include <algorithm>
#include <cstdio>
#include <vector>

#include "engine/image/read_sectors.h"
#include "tools/enginectl/image_source.h"
#include "tools/enginectl/modes.h"

namespace {

constexpr unsigned long long kRunSectors = 2048;  // sectors per ReadSectors call

}  // namespace

int RunRead(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: enginectl read IMAGE FIRST_SECTOR COUNT\n");
    return 2;
  }
  unsigned long long first = 0, count = 0;
  if (!ParseNumber(argv[1], "FIRST_SECTOR", &first) || !ParseNumber(argv[2], "COUNT", &count)) return 2;
  DiskImage image;
  if (!OpenImageSource(argv[0], image)) return 1;
  std::vector<uint8_t> buffer(kRunSectors * kSectorSize);
  for (unsigned long long done = 0; done < count;) {
    const auto n = static_cast<uint32_t>(std::min(kRunSectors, count - done));
    const unsigned long long lba = first + done;
    if (lba < first || !ReadSectors(DevicePathTable[CurrentDriveIndex], static_cast<uint32_t>(lba),
                                    static_cast<uint32_t>(lba >> 32), n, buffer.data())) {
      std::fprintf(stderr, "enginectl: reading %u sectors at sector %llu failed\n", n, lba);
      SetCurrentDiskImage(nullptr);
      return 1;
    }
    if (std::fwrite(buffer.data(), kSectorSize, n, stdout) != n) {
      std::fprintf(stderr, "enginectl: cannot write to standard output\n");
      SetCurrentDiskImage(nullptr);
      return 1;
    }
    done += n;
  }
  SetCurrentDiskImage(nullptr);
  return std::fflush(stdout) == 0 ? 0 : 1;
}
