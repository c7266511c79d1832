// The ZIP layer over arbitrary bytes held in memory: the archive list's whole listing (every item it shows,
// with its row's texts), then each listed item's data read through. It must never read outside the data,
// crash or hang: a listing that grows faster than the input fails the run's time-out.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "fuzz/fuzz_flags.h"
#include "preview/archive/archive_rows.h"
#include "preview/archive/zip_reader.h"

DORVANE_FUZZ_FLAGS("-max_len=65536")

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  ZipHandle* zip = ZipOpen(data, static_cast<uint32_t>(size), kZipMemoryKind);
  if (zip == nullptr) return 0;
  std::vector<int32_t> listed;
  const std::u16string note = archive::ForEachZipRow(zip, [&](const ZipEntry& entry) {
    if (archive::ZipRowTexts(entry).size() != 7) std::abort();
    listed.push_back(entry.index);
  });
  // A list without a note is the whole directory.
  ZipEntry count;
  if (note.empty() && (ZipGetItem(zip, -1, &count) != kZipOk || listed.size() != static_cast<size_t>(count.index))) {
    std::abort();
  }
  // Every central header takes 46 bytes at least: no listing holds more items than that allows.
  if (listed.size() > size / 46) std::abort();
  // The items' data, 4 MiB in all at most (a small input may inflate far beyond it): enough to reach each
  // small item's end and CRC check.
  std::vector<uint8_t> buffer(4096);
  size_t budget = 1024;
  for (const int32_t i : listed) {
    while (budget > 0) {
      --budget;
      uint32_t got = 0;
      if (ZipUnzipItem(zip, i, buffer.data(), static_cast<uint32_t>(buffer.size()), kZipMemoryKind, &got) !=
          kZipMoreData) {
        break;
      }
    }
  }
  ZipEntry entry;
  ZipGetItem(zip, 0, &entry);  // back to the first after walking
  ZipCloseReader(zip);
  return 0;
}
