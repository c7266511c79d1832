#include "engine/listing/listing_test_support.h"

#include "engine/records/file_trace_hits.h"
#include "engine/records/scan_records.h"
#include "engine/listing/file_filter_table.h"
#include "platform/os/os.h"

namespace listing_test {

ListingTest::ListingTest() {
  ResetState();
  hosts.resultList = &list;
  hosts.resultTree = &tree;
  hosts.shellFileInfo = &shell;
  hosts.messages = &messages;
  hosts.secondDisplay = &panel;
  hosts.scanPage = &page;
  installed_ = std::make_unique<host::ScopedHosts>(hosts);
}

ListingTest::~ListingTest() {
  installed_.reset();
  ResetState();
}

void ListingTest::ResetState() {
  FreeScanRecordLists();
  NtfsFoundEntryList.Free();
  ClusterList.Free();
  FreeFileTraceResultList();
  ScanCounters = ScanCountersRecord{};
  ScanThreadControl.stopFlag = 0;
  ScanThreadControl.runningFlag = 0;
  RecoveryMode = records::kQuickScan;
  ScanRange = ScanRangeRecord{};
  CurrentFileSystem = FileSystemRecord{};
  FileFilterTable = FileFilterTableRecord{};
}

std::vector<std::string> ListingTest::RowLines(uint32_t columns) {
  std::vector<std::string> lines;
  for (uint32_t row = 0; row < list.GetItemCount(); ++row) lines.push_back(os::ToUtf8(list.RowLine(row, columns)));
  return lines;
}

std::vector<std::u16string> ListingTest::Column(uint32_t column) {
  std::vector<std::u16string> texts;
  for (uint32_t row = 0; row < list.GetItemCount(); ++row) texts.push_back(list.GetItemText(row, column));
  return texts;
}

}  // namespace listing_test
