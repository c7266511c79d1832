// Index records (INDX) of arbitrary bytes, 1024 bytes for inputs up to that size and 4096 bytes above it:
// the fix-up and the first entry with its key and name, which must all lie inside the record.
#include <cstddef>
#include <cstdint>

#include "engine/ntfs/index_records.h"
#include "fuzz/ntfs_fuzz_buffer.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const uint32_t recordSize = size <= 1024 ? 1024 : 4096;
  auto record = FuzzRecord(data, size, recordSize);
  ntfs::IndexRecordHead head;
  ntfs::ReadIndexRecordHead(record.get(), recordSize, &head);
  return 0;
}
