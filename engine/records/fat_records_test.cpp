#include "engine/records/fat_records.h"

#include <gtest/gtest.h>

#include <iterator>

#include "engine/records/file_names.h"
#include "engine/records/records_test_fixture.h"

namespace {

using FatRecords = RecordsTest;

TEST_F(FatRecords, AFolderSeenAgainIsKeptOnceAndALiveEntryTakesTheClusterOfADeletedOne) {
  struct Case {
    uint32_t firstDeleted, secondDeleted;
    bool revived;
  };
  const Case cases[] = {
      {1, 0, true},   // deleted, then present: the present folder, with its name, parent and dates
      {0, 1, false},  // present, then deleted: unchanged
      {1, 1, false},
      {0, 0, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.firstDeleted << " then " << c.secondDeleted);
    Reset();
    AppendFatFolder(u"first", 40, 0, 0x5021, 0x5022, 0, c.firstDeleted);
    AppendFatFolder(u"parent", 99, 0, 0, 0, 0, 0);
    FatFolderRecord& same = AppendFatFolder(u"second", 40, 99, 1, 2, 7, c.secondDeleted);
    ASSERT_EQ(FatFolderList.size(), 2u);
    EXPECT_EQ(&same, &FatFolderList[0]);
    EXPECT_EQ(same.name, c.revived ? u"second" : u"first");
    EXPECT_EQ(same.deleted, c.revived ? 0u : c.firstDeleted);
    EXPECT_EQ(same.parentId, c.revived ? 99u : 0u);
    EXPECT_EQ(same.firstDateWord, c.revived ? 1 : 0x5021);
    EXPECT_EQ(same.secondDateWord, c.revived ? 2 : 0x5022);
    EXPECT_EQ(same.treeKey, 0u);
    EXPECT_EQ(ScanCounters.folderCount, 2u);
  }
}

// A folder listed inside a deleted folder went with it; a live entry naming its cluster takes it too, but
// never under itself.
TEST_F(FatRecords, ALiveEntryTakesAFolderInADeletedFolderButNeverMovesItUnderItself) {
  AppendFatFolder(u"gone", 10, 0, 0, 0, 0, 1);
  AppendFatFolder(u"inside gone", 11, 10, 0, 0, 0, 0);
  AppendFatFolder(u"live", 12, 0, 0, 0, 0, 0);
  AppendFatFolder(u"new", 11, 12, 3, 4, 0, 0);
  EXPECT_EQ(FindFatFolder(11)->name, u"new");
  EXPECT_EQ(FindFatFolder(11)->parentId, 12u);
  AppendFatFolder(u"loop", 20, 0, 0, 0, 0, 1);
  AppendFatFolder(u"child of loop", 21, 20, 0, 0, 0, 1);
  AppendFatFolder(u"under its child", 20, 21, 0, 0, 0, 0);
  EXPECT_EQ(FindFatFolder(20)->name, u"loop");
  EXPECT_EQ(FindFatFolder(20)->parentId, 0u);
}

// A folder moved, then deleted: deleted entries in its old parent (10) and its new one (20) name its cluster 40;
// its own ".." entry decides, whichever entry came first. A live folder listed in two live folders (a table ran
// one folder's chain on into the other's clusters) goes the same way, by live entries alone. An unreadable "..",
// one that names neither parent, or one that would put the folder under itself leaves the first.
TEST_F(FatRecords, AFolderListedTwiceGoesToTheEntryInTheFolderItsOwnDotDotNames) {
  struct Case {
    uint32_t firstDeleted, firstParent, secondParent, secondDeleted;
    bool readable;
    uint32_t dotDot, parentAfter;
  };
  const Case cases[] = {
      {1, 10, 20, 1, true, 20, 20},  // the old parent's entry first
      {1, 20, 10, 1, true, 20, 20},  // the new parent's entry first
      {1, 10, 20, 1, true, 30, 10},  // ".." names neither
      {1, 10, 20, 1, false, 20, 10},
      {1, 10, 40, 1, true, 40, 10},  // under itself
      {1, 10, 41, 1, true, 41, 10},  // under its own child
      {1, 10, 20, 0, true, 10, 20},  // a live entry wins whatever ".." says
      {0, 10, 20, 0, true, 20, 20},  // live, met first through the crossed chain of 10
      {0, 20, 10, 0, true, 20, 20},  // live, met first in its own parent
      {0, 10, 20, 0, true, 30, 10},
      {0, 10, 20, 0, false, 20, 10},
      {0, 10, 41, 0, true, 41, 10},
      {0, 10, 20, 1, true, 20, 10},  // a deleted entry never moves a live folder
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.firstDeleted << ": " << c.firstParent << " then " << c.secondParent
                                    << ", .. " << c.dotDot);
    Reset();
    for (uint32_t parent : {10u, 20u, 30u}) AppendFatFolder(u"p", parent, 0, 0, 0, 0, c.firstDeleted);
    AppendFatFolder(u"first", 40, c.firstParent, 1, 1, 0, c.firstDeleted);
    AppendFatFolder(u"child", 41, 40, 0, 0, 0, c.firstDeleted);
    AppendFatFolder(u"second", 40, c.secondParent, 2, 2, 0, c.secondDeleted);
    int asked = 0;
    SettleMovedFatFolders([&](uint32_t cluster, uint32_t* parent) {
      EXPECT_EQ(cluster, 40u);
      ++asked;
      *parent = c.dotDot;
      return c.readable;
    });
    EXPECT_LE(asked, 1);
    const FatFolderRecord* folder = FindFatFolder(40);
    EXPECT_EQ(folder->parentId, c.parentAfter);
    EXPECT_EQ(folder->name, c.parentAfter == c.firstParent ? u"first" : u"second");
    EXPECT_EQ(folder->firstDateWord, c.parentAfter == c.firstParent ? 1 : 2);
    EXPECT_EQ(folder->deleted, c.firstDeleted != 0 && c.secondDeleted != 0 ? 1u : 0u);
    EXPECT_EQ(FatFolderList.size(), 5u);
  }
}

// Each record's deleted flag after the walk: its own mark, or any folder above it deleted. Loops and
// parents that are not listed end the walk up.
TEST_F(FatRecords, EverythingInADeletedFolderIsMarkedDeletedAtAnyDepth) {
  struct Folder {
    uint32_t cluster, parent, deleted, after;
  };
  const Folder folders[] = {
      {3, 0, 0, 0},   {4, 3, 1, 1},   {5, 4, 0, 1},    {6, 5, 0, 1},  // root > 3 > 4 (deleted) > 5 > 6
      {7, 0, 0, 0},   {8, 7, 0, 0},                                   // a live branch
      {9, 10, 0, 0},  {10, 9, 0, 0},                                  // a loop of live folders
      {11, 11, 1, 1},                                                 // a deleted folder inside itself
      {13, 77, 0, 0}, {14, 13, 0, 0},                                 // a parent that is not listed
      {records::kLostDirId, 0, 0, 0}, {15, records::kLostDirId, 0, 0},
  };
  for (const Folder& f : folders) AppendFatFolder(u"d", f.cluster, f.parent, 0, 0, 0, f.deleted);
  // (parent, own mark, after)
  const uint32_t files[][3] = {{0, 0, 0}, {3, 0, 0}, {4, 0, 1}, {6, 0, 1}, {8, 0, 0}, {8, 1, 1},
                               {10, 0, 0}, {11, 0, 1}, {14, 0, 0}, {77, 0, 0}, {15, 0, 0}};
  for (const auto& f : files) AppendFatEntry(u"f", 100, f[0], 0, 0, 1, f[1]);
  MarkFatRecordsInDeletedFolders();
  for (size_t i = 0; i < std::size(folders); ++i) EXPECT_EQ(FatFolderList[i].deleted, folders[i].after) << i;
  for (size_t i = 0; i < std::size(files); ++i) EXPECT_EQ(FatEntryList[i].deleted, files[i][2]) << i;
  // Twice changes nothing.
  MarkFatRecordsInDeletedFolders();
  for (size_t i = 0; i < std::size(folders); ++i) EXPECT_EQ(FatFolderList[i].deleted, folders[i].after) << i;
}

// The user's names come and go; the name the file was found under stays, and is kept only while they differ.
TEST_F(FatRecords, ARenamedFileKeepsTheNameItWasFoundUnder) {
  FatEntryRecord& file = AppendFatEntry(u"IMG_0001.JPG", 5, 0, 0, 0, 10, 0);
  const struct {
    const char16_t *rename, *name, *onDisk, *kept;
  } steps[] = {{u"Beach.jpg", u"Beach.jpg", u"IMG_0001.JPG", u"IMG_0001.JPG"},
               {u"Sea.jpg", u"Sea.jpg", u"IMG_0001.JPG", u"IMG_0001.JPG"},
               {u"IMG_0001.JPG", u"IMG_0001.JPG", u"IMG_0001.JPG", u""},
               {u"IMG_0001.JPG", u"IMG_0001.JPG", u"IMG_0001.JPG", u""}};
  for (const auto& step : steps) {
    records::RenameFile(file, step.rename);
    EXPECT_EQ(file.name, step.name);
    EXPECT_EQ(records::NameOnDisk(file), step.onDisk);
    EXPECT_EQ(file.foundName, step.kept);
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
