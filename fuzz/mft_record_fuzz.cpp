// An MFT file record of arbitrary bytes, exactly as long as its header says (1, 2 or 4 KiB): the fix-up, then
// every reader that walks its attributes. None may read outside the record or return what it does not hold.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "engine/ntfs/attribute_list.h"
#include "engine/ntfs/attribute_list_value.h"
#include "engine/ntfs/data_attribute.h"
#include "engine/ntfs/data_runs.h"
#include "engine/ntfs/file_name_attribute.h"
#include "engine/ntfs/index_records.h"
#include "engine/ntfs/mft_record.h"
#include "engine/ntfs/reparse_point.h"
#include "fuzz/ntfs_fuzz_buffer.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const uint32_t bytes = ntfs::MftRecordBytes(FuzzRecord(data, size, ntfs::kMaxMftRecordSize).get());
  auto record = FuzzRecord(data, size, bytes);
  ApplyUpdateSequence(record.get(), bytes);
  FileNameInfo name;
  for (uint8_t nameSpace = 0; nameSpace < 4; ++nameSpace) {
    if (ReadFileNameAttribute(0, name, nameSpace, record.get(), 0) && name.name.size() > 255) std::abort();
  }
  ReadPreferredFileName(record.get(), name);
  uint64_t dataSize = 0;
  ReadDataSize(0, dataSize, record.get(), 0);
  uint32_t offset = 0;
  const uint32_t kind = FindDataAttribute(record.get(), offset);
  if (kind != kNoDataAttribute && offset >= bytes) std::abort();
  if (kind == kNonResidentData) DecodeDataRuns(bytes, record.get(), offset);
  // Kept in the record, or in clusters: no source is open, so such a list is refused at its first cluster
  // once its size and runs are read.
  AttributeListRecords.Clear();
  ntfs::AddListedRecords(record.get(), ntfs::ClusterSpace{nullptr, 0, 1, 1 << 20});
  if (AttributeListRecords.count > kMaxAttributeListRecords) std::abort();
  IndexRootOwner(record.get());
  IndexAllocationStart(record.get());
  // A link's target is read from its reparse point's value, inside the record.
  ntfs::ReparsePoint reparse;
  if (ntfs::ReadReparsePoint(record.get(), &reparse) && reparse.target.size() > bytes) std::abort();
  return 0;
}
