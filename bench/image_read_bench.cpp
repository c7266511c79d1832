// Reads a whole image through ReadSectors in runs of 128 sectors, as the scans do, and prints the time.
//   image_read_bench IMAGE SECTORS
// The file's bytes choose the reader, as when the program opens an image.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "engine/image/disk_image.h"
#include "engine/image/read_sectors.h"
#include "platform/os/os.h"

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: image_read_bench IMAGE SECTORS\n");
    return 2;
  }
  const unsigned long long sectors = std::strtoull(argv[2], nullptr, 10);
  constexpr uint32_t kRun = 128;
  const auto start = std::chrono::steady_clock::now();
  DiskImage image;
  if (image.OpenFile(os::FromUtf8(argv[1])) != ImageOpenResult::kOpened) {
    std::fprintf(stderr, "image_read_bench: %s does not open\n", argv[1]);
    return 1;
  }
  SetCurrentDiskImage(&image);
  SourceKind = kSourceDisk;
  std::vector<uint8_t> buffer(kRun * kSectorSize);
  uint64_t sum = 0;  // one word per run, so that the reads cannot be left out
  for (unsigned long long lba = 0; lba < sectors; lba += kRun) {
    if (!ReadSectors(DevicePathTable[0], static_cast<uint32_t>(lba), static_cast<uint32_t>(lba >> 32), kRun,
                     buffer.data())) {
      std::fprintf(stderr, "image_read_bench: read failed at sector %llu\n", lba);
      return 1;
    }
    sum += buffer[lba % buffer.size()];
  }
  SetCurrentDiskImage(nullptr);
  const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  std::printf("%.3f s (%llu)\n", seconds, static_cast<unsigned long long>(sum));
  return 0;
}
