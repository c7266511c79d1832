// Counters of a scan and the flags a scan worker shares with the page that runs it.
#pragma once

#include <atomic>
#include <cstdint>

struct ScanCountersRecord {
  uint32_t folderCount = 0;     // raised by AppendFatFolder / AppendNtfsFolder when they append
  uint32_t entryCount = 0;      // raised by the callers of AppendFatEntry / AppendNtfsEntry
  uint32_t processedCount = 0;  // for progress; the tree builders start it again at 0
  uint64_t totalBytes = 0;      // sizes of the files found
  // Extensive Scan candidates, raised by their appenders.
  uint32_t subfolderCandidateCount = 0;  // NTFS folder candidates (FAT: subfolder sectors found)
  uint32_t fileRecordCount = 0;          // NtfsFoundEntryList records
  uint32_t indexRecordCount = 0;         // IndexRecordCandidateList records
};

extern ScanCountersRecord ScanCounters;

// The handshake between the page that runs a worker and the worker. Before a start the page writes stop 0
// and running 1; the worker tests stopFlag before each sector, record or folder and, as its last act,
// writes runningFlag 0 and stopFlag 1. The worker's thread object and the suspend lock belong to the
// scan page.
// The page's Stop writes stopFlag 1 and leaves runningFlag alone: a stopped worker still builds its results
// from what it found, so running 0 is the one sign that it has ended and its lists may be read. (A page that
// wrote running 0 itself would take its own Stop for the end and read the lists while they are written.)
struct ScanThreadControlRecord {
  std::atomic<uint32_t> stopFlag{0};    // 1: stop confirmed by the user, or the worker has ended
  std::atomic<uint8_t> runningFlag{0};  // 1: a worker runs
};

extern ScanThreadControlRecord ScanThreadControl;
