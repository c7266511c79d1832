#include "engine/ntfs/data_runs.h"

#include <algorithm>

#include "engine/image/byte_order.h"
#include "engine/ntfs/mft_record.h"

records::RecordList<DataRun> DataRunList;

namespace ntfs {
namespace {

constexpr uint32_t kWidestField = 4;

uint32_t LoadUnsigned(const uint8_t* p, uint32_t width) {
  uint32_t value = 0;
  for (uint32_t i = width; i > 0; --i) value = value << 8 | p[i - 1];
  return value;
}

int64_t LoadSigned(const uint8_t* p, uint32_t width) {
  const uint32_t value = LoadUnsigned(p, width);
  const uint32_t bits = 8 * width;
  const int64_t wide = value;
  return (value >> (bits - 1)) & 1 ? wide - (int64_t{1} << bits) : wide;
}

}  // namespace

RunListStatus DecodeRunList(const uint8_t* bytes, uint32_t begin, uint32_t end, std::vector<DataRun>& runs) {
  uint64_t position = begin;
  int64_t base = 0;
  bool haveBase = false;
  for (;;) {
    if (position >= end) return RunListStatus::kTruncated;
    const uint8_t header = bytes[position];
    if (header == 0) return RunListStatus::kComplete;
    const uint32_t lengthWidth = header & 0x0F;
    const uint32_t offsetWidth = header >> 4;
    if (lengthWidth > kWidestField || offsetWidth > kWidestField) return RunListStatus::kTooWide;
    if (position + 1 + lengthWidth + offsetWidth > end) return RunListStatus::kTruncated;
    const uint8_t* fields = bytes + position + 1;
    DataRun run;
    run.length = LoadUnsigned(fields, lengthWidth);
    if (offsetWidth == 0) {
      run.sparse = true;  // a hole: no clusters, and the base stays where it was
    } else {
      const int64_t start = haveBase ? base + LoadSigned(fields + lengthWidth, offsetWidth)
                                     : int64_t{LoadUnsigned(fields + lengthWidth, offsetWidth)};
      if (start < 0 || start > int64_t{0xFFFFFFFF}) return RunListStatus::kOutOfRange;
      run.startCluster = static_cast<uint32_t>(start);
      base = start;
      haveBase = true;
    }
    records::GuardAllocation([&] { runs.push_back(run); });
    position += 1 + lengthWidth + offsetWidth;
  }
}

}  // namespace ntfs

uint32_t DecodeDataRuns(uint32_t end, const uint8_t* record, uint32_t attributeOffset) {
  DataRunList.Free();
  const uint32_t size = ntfs::MftRecordBytes(record);
  if (uint64_t{attributeOffset} + 34 > size) return 0;
  const uint32_t runListStart = attributeOffset + LoadLe16(record + attributeOffset + 32);
  end = std::min(end, size);
  if (runListStart >= end) return 0;
  std::vector<DataRun> runs;
  const ntfs::RunListStatus status = ntfs::DecodeRunList(record, runListStart, end, runs);
  for (const DataRun& run : runs) DataRunList.Append(run);
  return status == ntfs::RunListStatus::kComplete ? 1 : 0;
}
