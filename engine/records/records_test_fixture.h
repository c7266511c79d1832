// A clean slate of process-wide records for each test.
#pragma once

#include <gtest/gtest.h>

#include "engine/records/scan_records.h"

class RecordsTest : public ::testing::Test {
 protected:
  void SetUp() override { Reset(); }
  void TearDown() override { Reset(); }

  static void Reset() {
    FreeScanRecordLists();
    NtfsFoundEntryList.Free();
    NtfsFolderCandidateList.Free();
    IndexRecordCandidateList.Free();
    ClusterList.Free();
    FoundFileSystemList.Free();
    ScanCounters = ScanCountersRecord{};
    RecoveryMode = records::kQuickScan;
  }
};
