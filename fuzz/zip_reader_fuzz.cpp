// The ZIP layer over arbitrary bytes held in memory: open, list every item (count, names, attributes,
// times, the local header and extra field) and read each item's data. It must never read outside the
// data, crash or hang.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "preview/archive/zip_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  ZipHandle* zip = ZipOpen(data, static_cast<uint32_t>(size), kZipMemoryKind);
  if (zip == nullptr) return 0;
  ZipEntry entry;
  if (ZipGetItem(zip, -1, &entry) == kZipOk) {
    const int32_t count = entry.index < 64 ? entry.index : 64;
    std::vector<uint8_t> buffer(4096);
    for (int32_t i = 0; i < count; ++i) {
      if (ZipGetItem(zip, i, &entry) != kZipOk) continue;
      // Up to 1 MiB of each item: enough to reach its end and CRC check in small inputs.
      for (int reads = 0; reads < 256; ++reads) {
        uint32_t got = 0;
        if (ZipUnzipItem(zip, i, buffer.data(), static_cast<uint32_t>(buffer.size()), kZipMemoryKind, &got) !=
            kZipMoreData) {
          break;
        }
      }
    }
    ZipGetItem(zip, 0, &entry);  // back to the first after walking
  }
  ZipCloseReader(zip);
  return 0;
}
