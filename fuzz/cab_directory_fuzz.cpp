// A cabinet's own table over arbitrary bytes: never a read outside them, at most as many members as the
// header claims, each name within the list's bound.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "preview/archive/archive_text.h"
#include "preview/archive/cab_directory.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  // An exactly sized copy, so that a read past the end lands outside the allocation.
  const std::vector<uint8_t> copy(data, data + size);
  const archive::CabDirectory cab = archive::ReadCabinetDirectory(copy.data(), copy.size());
  if (!cab.isCabinet && !cab.entries.empty()) std::abort();
  if (cab.entries.size() > cab.claimed) std::abort();
  for (const archive::CabEntry& e : cab.entries)
    if (e.name.size() + e.folder.size() > archive::kArchiveNameUnits) std::abort();
  return 0;
}
