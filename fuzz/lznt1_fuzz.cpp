// Compression units of arbitrary bytes. The first two bytes give the bytes wanted of the unit (up to 64 KiB, a
// unit of 16 clusters of 4 KiB); the rest is the compressed stream, an exactly sized heap copy. The output must
// stay in its buffer and say no more than it holds.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>

#include "engine/ntfs/lznt1.h"
#include "fuzz/ntfs_fuzz_buffer.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 2) return 0;
  const size_t wanted = size_t{data[0]} | size_t{data[1]} << 8;
  auto stream = FuzzRecord(data + 2, size - 2, size - 2);
  std::unique_ptr<uint8_t[]> unit(new uint8_t[wanted == 0 ? 1 : wanted]);
  size_t produced = 0;
  ntfs::DecompressLznt1(stream.get(), size - 2, unit.get(), wanted, &produced);
  if (produced > wanted) std::abort();
  return 0;
}
