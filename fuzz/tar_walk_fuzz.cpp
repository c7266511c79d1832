// The tar walk over arbitrary decompressed bytes: count the members, then read each one and a position
// past the last. Every member handed out must lie inside the data.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "fuzz/fuzz_flags.h"
#include "preview/archive/tar_walk.h"

DORVANE_FUZZ_FLAGS("-max_len=65536")

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const int32_t count = archive::CountTarMembers(data, size);
  archive::TarMember member;
  uint64_t offset = 0;
  for (int32_t i = 0; i <= count; ++i) {
    const bool found = archive::ReadTarMember(data, size, offset, &member);
    if (found != (i < count)) std::abort();
    if (!found) break;
    if (member.dataOffset > size || member.size > size - member.dataOffset) std::abort();
    if (member.next <= offset) std::abort();  // the walk always moves on
    offset = member.next;
    archive::TarTypeText(member.type);
  }
  return 0;
}
