#include "engine/records/file_trace_hits.h"

records::RecordList<FileTraceHit> FileTraceHitList;
std::atomic<uint32_t> FileTraceHitCount{0};

FileTraceHit& AppendFileTraceHit(std::u16string_view fileName, std::u16string_view extension,
                                 std::u16string_view group, uint32_t id, uint32_t startSector) {
  FileTraceHit& hit = FileTraceHitList.Append(records::GuardAllocation([&] {
    return FileTraceHit{std::u16string(fileName), std::u16string(extension), std::u16string(group),
                        startSector, id};
  }));
  FileTraceHitCount.store(static_cast<uint32_t>(FileTraceHitList.size()), std::memory_order_release);
  return hit;
}

void FreeFileTraceResultList() {
  FileTraceHitList.Free();
  FileTraceHitCount.store(0, std::memory_order_release);
}
