#include "engine/records/scan_records.h"

#include <gtest/gtest.h>

#include <string>

#include "engine/records/records_test_fixture.h"

namespace {

using ScanRecords = RecordsTest;

TEST_F(ScanRecords, FreeingClearsTheScanListsAndTheirCountsOnly) {
  const std::u16string longName(300, u'n');  // names of their own allocation
  for (uint32_t i = 0; i < 2000; ++i) {
    AppendFatFolder(longName, i + 2, 0, 0, 0, 0, i & 1);
    AppendFatEntry(longName, i + 2, 2, 0, 0, 10, 0);
    AppendNtfsFolder(longName, i + 64, 5, 0, 0, 0, 0);
    AppendNtfsEntry(i * 2, longName, i + 64, 5, 0, 0, 0, 10);
    ScanCounters.entryCount += 2;
    ScanCounters.processedCount += 1;
    ScanCounters.totalBytes += 20;
  }
  AppendNtfsFoundEntry(longName, 1, 5, 0, 0, 0, 0, 0, 0);
  AppendNtfsFolderCandidate(longName, 1, 5, 5, 0, 0, 0, 0);
  AppendIndexRecordCandidate(1, 5, 0, 8);
  AppendCluster(3);

  FreeScanRecordLists();
  EXPECT_TRUE(FatFolderList.empty());
  EXPECT_TRUE(FatEntryList.empty());
  EXPECT_TRUE(NtfsFolderList.empty());
  EXPECT_TRUE(NtfsEntryList.empty());
  EXPECT_EQ(ScanCounters.folderCount, 0u);
  EXPECT_EQ(ScanCounters.entryCount, 0u);
  EXPECT_EQ(ScanCounters.processedCount, 0u);
  EXPECT_EQ(ScanCounters.totalBytes, 0u);
  // The Extensive Scan's lists and counts have their own freeing.
  EXPECT_EQ(NtfsFoundEntryList.size(), 1u);
  EXPECT_EQ(NtfsFolderCandidateList.size(), 1u);
  EXPECT_EQ(IndexRecordCandidateList.size(), 1u);
  EXPECT_EQ(ClusterList.size(), 1u);
  EXPECT_EQ(ScanCounters.fileRecordCount, 1u);
  EXPECT_EQ(ScanCounters.subfolderCandidateCount, 1u);
  EXPECT_EQ(ScanCounters.indexRecordCount, 1u);
  FreeScanRecordLists();  // freeing empty lists is harmless
  EXPECT_TRUE(FatFolderList.empty());
}

}  // namespace
