#include "engine/records/extensive_lists.h"

#include <gtest/gtest.h>

#include "engine/records/records_test_fixture.h"

namespace {

class ExtensiveListsTest : public RecordsTest {
 protected:
  void TearDown() override {
    FreeExtensiveScanLists();
    ExtensiveCounters = ExtensiveCountersRecord{};
    RecordsTest::TearDown();
  }
};

TEST_F(ExtensiveListsTest, AppendersCountAndFreeingEmptiesEveryExtensiveList) {
  AppendBootSectorCandidate(BootSectorCandidateList, 63);
  AppendBootSectorCandidate(BootSectorCandidateList, 69);
  const DirSectorCandidate& dir = AppendDirSectorCandidate(5000, 7, 2, 0x5121, 0x5122);
  EXPECT_EQ(dir.mark, 0u);
  EXPECT_EQ(dir.parentCluster, 2u);
  AppendNtfsFolderCandidate(u"Docs", 100, 5, 64, 1, 2, 30, 0);
  AppendIndexRecordCandidate(4000, 64, 0, 8);
  AppendNtfsFoundEntry(u"a.txt", 102, 64, 0, 1, 2, 10, 0, 0);
  FileSystemRecord fs;
  fs.type = records::kFat16;
  fs.id = 9;
  EXPECT_EQ(AppendFileSystemRecord(FoundFileSystemList, fs).id, 9u);
  ExtensiveCounters.foundFileSystemCount = 1;
  EXPECT_EQ(ExtensiveCounters.bootSectorCount, 2u);
  EXPECT_EQ(ScanCounters.subfolderCandidateCount, 2u);  // the FAT and the NTFS folder candidate

  FreeExtensiveScanLists();
  EXPECT_TRUE(BootSectorCandidateList.empty());
  EXPECT_TRUE(DirSectorCandidateList.empty());
  EXPECT_TRUE(NtfsFolderCandidateList.empty());
  EXPECT_TRUE(IndexRecordCandidateList.empty());
  EXPECT_TRUE(NtfsFoundEntryList.empty());
  EXPECT_TRUE(FoundFileSystemList.empty());
  EXPECT_EQ(ExtensiveCounters.bootSectorCount, 0u);
  EXPECT_EQ(ExtensiveCounters.foundFileSystemCount, 0u);
  EXPECT_EQ(ScanCounters.subfolderCandidateCount, 0u);
  EXPECT_EQ(ScanCounters.fileRecordCount, 0u);
  EXPECT_EQ(ScanCounters.indexRecordCount, 0u);
}

TEST_F(ExtensiveListsTest, FreeingTheNtfsRecordListsLeavesTheCandidates) {
  RecoveryMode = records::kExtensiveScan;
  AppendNtfsFolder(u"Docs", 64, 5, 0, 0, 0, 0);
  AppendNtfsEntry(200, u"a.txt", 70, 64, 0, 0, 0, 10);
  ScanCounters.entryCount = 1;
  AppendNtfsFolderCandidate(u"Docs", 100, 5, 64, 1, 2, 30, 0);
  FreeNtfsRecordLists();
  EXPECT_TRUE(NtfsFolderList.empty());
  EXPECT_TRUE(NtfsEntryList.empty());
  EXPECT_EQ(ScanCounters.folderCount, 0u);
  EXPECT_EQ(ScanCounters.entryCount, 0u);
  EXPECT_EQ(NtfsFolderCandidateList.size(), 1u);
}

}  // namespace
