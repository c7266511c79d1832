#include "engine/records/fat_records.h"

#include <gtest/gtest.h>

#include "engine/records/records_test_fixture.h"

namespace {

using FatRecords = RecordsTest;

TEST_F(FatRecords, AFolderSeenAgainIsKeptOnceAndRevivedOnlyWhenItWasDeletedAndIsNowPresent) {
  struct Case {
    uint32_t firstDeleted, secondDeleted;
    const char16_t* nameAfter;
    uint32_t deletedAfter;
  };
  const Case cases[] = {
      {1, 0, u"second", 0},  // deleted, then present: revived with the second name
      {0, 1, u"first", 0},   // present, then deleted: unchanged
      {1, 1, u"first", 1},
      {0, 0, u"first", 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.firstDeleted << " then " << c.secondDeleted);
    Reset();
    AppendFatFolder(u"first", 40, 0, 0x5021, 0x5022, 0, c.firstDeleted);
    FatFolderRecord& same = AppendFatFolder(u"second", 40, 99, 1, 2, 7, c.secondDeleted);
    ASSERT_EQ(FatFolderList.size(), 1u);
    EXPECT_EQ(&same, &FatFolderList[0]);
    EXPECT_EQ(same.name, c.nameAfter);
    EXPECT_EQ(same.deleted, c.deletedAfter);
    // A revival changes only the name and the deleted flag.
    EXPECT_EQ(same.parentId, 0u);
    EXPECT_EQ(same.firstDateWord, 0x5021);
    EXPECT_EQ(same.secondDateWord, 0x5022);
    EXPECT_EQ(same.treeKey, 0u);
    EXPECT_EQ(ScanCounters.folderCount, 1u);
  }
}

TEST_F(FatRecords, FoldersAreAppendedInOrderWithTheirFields) {
  AppendFatFolder(u"Docs", 3, 0, 0x1111, 0x2222, 0, 0);
  AppendFatFolder(u"a long folder name of more than fifteen characters", 9, 3, 1, 2, 0, 1);
  AppendFatFolder(u"Lost Dir", records::kLostDirId, 0, 0, 0, 0, 0);
  ASSERT_EQ(FatFolderList.size(), 3u);
  EXPECT_EQ(ScanCounters.folderCount, 3u);
  const FatFolderRecord& second = FatFolderList[1];
  EXPECT_EQ(second.name, u"a long folder name of more than fifteen characters");
  EXPECT_EQ(second.firstCluster, 9u);
  EXPECT_EQ(second.parentId, 3u);
  EXPECT_EQ(second.deleted, 1u);
  EXPECT_EQ(FatFolderList[2].firstCluster, 0xFFFFFFFEu);
  EXPECT_EQ(FindFatFolder(9), &FatFolderList[1]);
  EXPECT_EQ(FindFatFolder(4), nullptr);
}

TEST_F(FatRecords, EntryIdsFollowTheEntryCountTheCallerRaises) {
  for (int i = 0; i < 3; ++i) {
    AppendFatEntry(u"f.txt", 10 + i, 0, 0, 0, 100, 0);
    ++ScanCounters.entryCount;
  }
  const FatEntryRecord& unraised = AppendFatEntry(u"g.txt", 20, 5, 0x4d21, 0x4d22, 12345, 1);
  EXPECT_EQ(unraised.id, 3u);
  AppendFatEntry(u"h.txt", 21, 5, 0, 0, 1, 0);  // the count was not raised: the id repeats
  ASSERT_EQ(FatEntryList.size(), 5u);
  EXPECT_EQ(FatEntryList[0].id, 0u);
  EXPECT_EQ(FatEntryList[2].id, 2u);
  EXPECT_EQ(FatEntryList[4].id, 3u);
  EXPECT_EQ(FindFatEntry(3), &FatEntryList[3]);  // the first with that id
  EXPECT_EQ(FindFatEntry(3)->size, 12345u);
  EXPECT_EQ(FindFatEntry(3)->secondDateWord, 0x4d22);
  EXPECT_EQ(FindFatEntry(4), nullptr);
  EXPECT_EQ(ScanCounters.folderCount, 0u);  // files do not count as folders
}

TEST_F(FatRecords, AfterFreeingTheNextAppendStartsANewListWithId0) {
  AppendFatFolder(u"Docs", 3, 0, 0, 0, 0, 0);
  AppendFatEntry(u"a", 5, 3, 0, 0, 1, 0);
  ScanCounters.entryCount = 1;
  ScanCounters.totalBytes = 1;
  ASSERT_NE(FindFatFolder(3), nullptr);
  ASSERT_NE(FindFatEntry(0), nullptr);
  FreeScanRecordLists();
  EXPECT_TRUE(FatFolderList.empty());
  EXPECT_TRUE(FatEntryList.empty());
  EXPECT_EQ(FindFatFolder(3), nullptr);
  EXPECT_EQ(FindFatEntry(0), nullptr);
  EXPECT_EQ(AppendFatEntry(u"b", 6, 0, 0, 0, 2, 0).id, 0u);
  // The same first cluster is new again.
  AppendFatFolder(u"Docs again", 3, 0, 0, 0, 0, 1);
  ASSERT_EQ(FatFolderList.size(), 1u);
  EXPECT_EQ(FindFatFolder(3)->name, u"Docs again");
}

TEST_F(FatRecords, TreeKeyLookupFollowsKeysWrittenAfterTheAppend) {
  for (uint32_t c = 2; c < 200; ++c) AppendFatFolder(u"d", c, 0, 0, 0, 0, 0);
  EXPECT_EQ(FindFatFolderByTreeKey(1000), nullptr);
  for (size_t i = 0; i < FatFolderList.size(); ++i) FatFolderList[i].treeKey = 1000 + i;
  EXPECT_EQ(FindFatFolderByTreeKey(1010), &FatFolderList[10]);
  // The tree is built again: every key changes.
  for (size_t i = 0; i < FatFolderList.size(); ++i) FatFolderList[i].treeKey = 5000 - i;
  EXPECT_EQ(FindFatFolderByTreeKey(1010), nullptr);
  EXPECT_EQ(FindFatFolderByTreeKey(4990), &FatFolderList[10]);
  AppendFatFolder(u"late", 900, 0, 0, 0, 77, 0);
  EXPECT_EQ(FindFatFolderByTreeKey(77)->firstCluster, 900u);
}

TEST_F(FatRecords, BreadthFirstWalkAppendsToTheListItWalks) {
  AppendFatFolder(u"root child", 2, 0, 0, 0, 0, 0);
  size_t walked = 0;
  for (size_t i = 0; i < FatFolderList.size(); ++i, ++walked) {
    const FatFolderRecord& folder = FatFolderList[i];
    if (folder.firstCluster < 2000) {
      AppendFatFolder(u"child a", folder.firstCluster * 2 + 1, folder.firstCluster, 0, 0, 0, 0);
      AppendFatFolder(u"child b", folder.firstCluster * 2 + 2, folder.firstCluster, 0, 0, 0, 0);
      AppendFatFolder(u"seen again", folder.firstCluster, 0, 0, 0, 0, 0);
    }
    EXPECT_EQ(FindFatFolder(folder.firstCluster), &folder);  // the reference held across the appends
  }
  EXPECT_EQ(walked, FatFolderList.size());
  EXPECT_EQ(ScanCounters.folderCount, FatFolderList.size());
}

TEST_F(FatRecords, ClustersKeepTheirOrder) {
  for (uint32_t c : {7u, 3u, 0x0FFFFFF7u, 3u}) AppendCluster(c);
  ASSERT_EQ(ClusterList.size(), 4u);
  EXPECT_EQ(ClusterList[2].cluster, 0x0FFFFFF7u);
  EXPECT_EQ(ClusterList[3].cluster, 3u);
  ClusterList.Free();
  AppendCluster(9);
  EXPECT_EQ(ClusterList.front().cluster, 9u);
}

}  // namespace
