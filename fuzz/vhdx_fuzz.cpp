// VhdxReader open and read, through DiskImage and ReadSectors, over arbitrary files: whatever the region
// table, metadata and block table hold, nothing is read outside a buffer and nothing hangs.
#include <cstddef>
#include <cstdint>

#include "engine/image/disk_image.h"
#include "fuzz/image_fuzz_file.h"
#include "fuzz/image_reads_fuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string path = fuzz_image::WriteImageFile(data, size);
  if (path.empty()) return 0;
  fuzz_image::OpenAndRead(path, kImageVhdx);
  return 0;
}
