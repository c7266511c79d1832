// A clean slate for the dialogs' logic tests: empty record lists and filters, a Quick Scan of a FAT16
// volume as the current scan, and the results page's recording fakes installed.
#pragma once

#include <gtest/gtest.h>

#include <memory>

#include "engine/host/fakes.h"
#include "engine/host/result_tree_fakes.h"
#include "engine/host/shell_file_info_fakes.h"
#include "engine/records/extensive_lists.h"
#include "engine/records/file_trace_hits.h"
#include "engine/records/scan_records.h"
#include "engine/listing/file_filter_table.h"

class DialogsLogicTest : public ::testing::Test {
 protected:
  DialogsLogicTest() {
    hosts_.resultTree = &tree;
    hosts_.resultList = &list;
    hosts_.shellFileInfo = &shell;
    installed_ = std::make_unique<host::ScopedHosts>(hosts_);
    Reset();
    CurrentFileSystem.type = records::kFat16;
  }
  ~DialogsLogicTest() override { Reset(); }

  static void Reset() {
    FreeScanRecordLists();
    NtfsFoundEntryList.Free();
    FileTraceHitList.Free();
    ScanCounters = ScanCountersRecord{};
    RecoveryMode = records::kQuickScan;
    CurrentFileSystem = FileSystemRecord{};
    FileFilterTable = FileFilterTableRecord{};
  }

  host::RecordingResultTree tree;
  host::RecordingResultList list;
  host::FixedShellFileInfo shell;

 private:
  host::Hosts hosts_;
  std::unique_ptr<host::ScopedHosts> installed_;
};
