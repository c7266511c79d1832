#include "engine/records/file_trace_hits.h"

records::RecordList<FileTraceHit> FileTraceHitList;

FileTraceHit& AppendFileTraceHit(std::u16string_view fileName, std::u16string_view extension,
                                 std::u16string_view group, uint32_t id, uint32_t startSector) {
  return FileTraceHitList.Append(records::GuardAllocation([&] {
    return FileTraceHit{std::u16string(fileName), std::u16string(extension), std::u16string(group),
                        startSector, id};
  }));
}

void FreeFileTraceResultList() { FileTraceHitList.Free(); }
