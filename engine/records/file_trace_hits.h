// The files File Trace found: one record per signature hit, in the order found. Storage, reference
// stability and walking rules: record_list.h.
#pragma once

#include <atomic>
#include <cstdint>
#include <string>
#include <string_view>

#include "engine/records/record_list.h"

struct FileTraceHit {
  std::u16string fileName;   // the hit's running number followed by its extension, as "12.doc"
  std::u16string extension;  // the signature's extension, with its leading dot
  std::u16string group;      // the signature's file-type group: the folder the hit is shown under
  uint32_t startSector = 0;  // where the signature was found: the first sector of the carved file
  uint32_t id = 0;           // the running number of the hit (1 for the first)
};

// Filled by File Trace and by a snapshot load; freed by FreeFileTraceResultList before the next of them,
// by the pages' Back and Home, and at exit.
extern records::RecordList<FileTraceHit> FileTraceHitList;

// The number of hits in FileTraceHitList, kept by its append and free: another thread may read it while a
// trace appends (Drive Information is open to the user during a trace), where the list itself is read only
// after the trace has ended.
extern std::atomic<uint32_t> FileTraceHitCount;

// Appends a hit at the tail and returns it (the id comes before the start sector here, after it in the
// record).
FileTraceHit& AppendFileTraceHit(std::u16string_view fileName, std::u16string_view extension,
                                 std::u16string_view group, uint32_t id, uint32_t startSector);

// Frees every hit; the list is empty afterwards (an empty list stays empty).
void FreeFileTraceResultList();
