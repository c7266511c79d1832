// Drive Information is open to the user while a File Trace runs: it counts the hits while the trace appends
// them, from another thread. Built by the ThreadSanitizer build too, where a read of the list itself is a race.
#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>

#include "app/pages/source_logic.h"
#include "engine/records/file_trace_hits.h"
#include "engine/records/scan_parameters.h"

namespace {

TEST(DriveInformationDuringATrace, CountsTheHitsTheTraceKeepsWhileItAppends) {
  constexpr uint32_t kHits = 20000;
  FreeFileTraceResultList();
  CurrentFileSystem = FileSystemRecord{};
  RecoveryMode = records::kFileTrace;
  std::atomic<bool> done{false};
  std::thread trace([&] {
    for (uint32_t id = 1; id <= kHits; ++id) AppendFileTraceHit(u"1.jpg", u".jpg", u"JPEG Image", id, id * 8);
    done = true;
  });
  uint64_t last = 0, reads = 0;
  while (!done.load() || reads == 0) {
    // Nothing before the first hit (no file system read either).
    const std::u16string text = source::DriveInformationValues()[3];
    const uint64_t files = text.empty() ? 0 : std::stoull(std::string(text.begin(), text.end()));
    EXPECT_GE(files, last);
    EXPECT_LE(files, kHits);
    last = files;
    ++reads;
  }
  trace.join();
  EXPECT_EQ(source::DriveInformationValues()[3], u"20000");
  EXPECT_EQ(source::DriveInformationValues()[2], u"0");
  // The hits gone (Back), and no file system read: nothing to tell.
  FreeFileTraceResultList();
  CurrentFileSystem = FileSystemRecord{};
  EXPECT_EQ(source::DriveInformationValues()[3], u"");
  RecoveryMode = records::kQuickScan;
}

}  // namespace
