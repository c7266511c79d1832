// Our compound-file reader and the summary-information parser over arbitrary bytes: they must never read
// outside them, loop or take memory beyond a few times their size.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>

#include "engine/scan/compound_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  // An exactly sized copy, so that a read past the end lands outside the allocation.
  std::unique_ptr<uint8_t[]> copy(new uint8_t[size]);
  if (size > 0) std::memcpy(copy.get(), data, size);
  const std::string name = ReadCompoundAppNameOwn(copy.get(), size);
  if (name.size() > size) __builtin_trap();
  CompoundExtensionForAppName(name);
  ReadSummaryAppName(copy.get(), size);
  return 0;
}
