// Run lists of arbitrary bytes. The first two bytes give where the non-resident attribute lies in a record (as
// long as its header says) and the bound of its run list; the rest is the record. The decoder is also run over the input alone,
// exactly sized, so that a read past the end of the list is caught.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "engine/ntfs/data_runs.h"
#include "engine/ntfs/mft_record.h"
#include "fuzz/ntfs_fuzz_buffer.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  auto list = FuzzRecord(data, size, size);
  std::vector<DataRun> runs;
  ntfs::DecodeRunList(list.get(), 0, static_cast<uint32_t>(size), runs);
  // Every run takes at least two bytes of the list: its header and a length or offset byte.
  if (runs.size() > size / 2) std::abort();
  if (size < 4) return 0;
  const uint32_t bytes = ntfs::MftRecordBytes(FuzzRecord(data + 4, size - 4, ntfs::kMaxMftRecordSize).get());
  const uint32_t attribute = (data[0] | data[1] << 8) % bytes;
  const uint32_t end = (data[2] | data[3] << 8) % (bytes + 64);
  auto record = FuzzRecord(data + 4, size - 4, bytes);
  DecodeDataRuns(end, record.get(), attribute);
  for (const DataRun& run : DataRunList) {
    if (run.sparse && run.startCluster != 0) std::abort();
  }
  return 0;
}
