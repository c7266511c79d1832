#include "app/logic/folder_totals.h"

#include <gtest/gtest.h>

#include "app/logic/dialogs_test_fixture.h"
#include "engine/records/fat_records.h"
#include "engine/records/ntfs_records.h"

namespace {

constexpr uint64_t kMiB = 1024 * 1024;

class FolderTotalsTest : public DialogsLogicTest {
 protected:
  // Root > Outer > Inner, and Root > Empty; each folder's record holds its node.
  void SetUp() override {
    root = tree.AddItem(u"Root", host::kNoTreeKey, host::TreeImage::kDrive, false);
    outer = tree.AddItem(u"Outer", root, host::TreeImage::kFolder, false);
    inner = tree.AddItem(u"Inner", outer, host::TreeImage::kFolder, false);
    empty = tree.AddItem(u"Empty", root, host::TreeImage::kFolder, false);
  }
  host::TreeKey root = 0, outer = 0, inner = 0, empty = 0;
};

TEST_F(FolderTotalsTest, AnEmptyFolderHoldsNothing) {
  AppendFatFolder(u"Empty", 9, records::kFatRootId, 0, 0, empty, 0);
  CountFolderTotals(tree, empty);
  EXPECT_EQ(FolderContainsText(FolderTotals), u"0 File(s) and 0 Folder(s)");
  EXPECT_EQ(FolderSizeText(FolderTotals.totalBytes), u"Less than 1 MB");
}

TEST_F(FolderTotalsTest, TwoFilesOfOneMebibyteInASubfolder) {
  AppendFatFolder(u"Outer", 5, records::kFatRootId, 0, 0, outer, 0);
  AppendFatFolder(u"Inner", 6, 5, 0, 0, inner, 0);
  AppendFatEntry(u"ONE.BIN", 20, 6, 0, 0, kMiB, 0);
  AppendFatEntry(u"TWO.BIN", 30, 6, 0, 0, kMiB, 1);
  AppendFatEntry(u"ELSEWHERE.BIN", 40, records::kFatRootId, 0, 0, 7 * kMiB, 0);
  CountFolderTotals(tree, outer);
  EXPECT_EQ(FolderContainsText(FolderTotals), u"2 File(s) and 1 Folder(s)");
  EXPECT_EQ(FolderSizeText(FolderTotals.totalBytes), u"2 MB");

  // The top node stands for the root folder: its own file as well.
  CountFolderTotals(tree, root);
  EXPECT_EQ(FolderContainsText(FolderTotals), u"3 File(s) and 3 Folder(s)");
  EXPECT_EQ(FolderTotals.totalBytes, 9 * kMiB);
}

TEST_F(FolderTotalsTest, SizesBelowOneMebibyteAndPastFourGibibytes) {
  EXPECT_EQ(FolderSizeText(kMiB - 1), u"Less than 1 MB");
  EXPECT_EQ(FolderSizeText(kMiB), u"1 MB");
  EXPECT_EQ(FolderSizeText(2 * kMiB - 1), u"1 MB");
  EXPECT_EQ(FolderSizeText(5ull << 32), u"20480 MB");
  FolderTotals = FolderTotalsRecord{5000000000ull, 0, 3};
  EXPECT_EQ(FolderContainsText(FolderTotals), u"5000000000 File(s) and 3 Folder(s)");
}

TEST_F(FolderTotalsTest, NtfsQuickScanCountsItsEntriesWithSixtyFourBitSizes) {
  CurrentFileSystem.type = records::kNtfs;
  AppendNtfsFolder(u"Outer", 64, records::kNtfsRootRecord, 0, 0, outer, 0);
  AppendNtfsEntry(1000, u"huge.vhd", 70, 64, 0, 0, 0, 6ull << 30);
  AppendNtfsEntry(1002, u"small.txt", 71, 64, 0, 0, 0, kMiB - 1);
  AppendNtfsEntry(1004, u"root.txt", 72, records::kNtfsRootRecord, 0, 0, 0, 10);
  CountFolderTotals(tree, outer);
  EXPECT_EQ(FolderContainsText(FolderTotals), u"2 File(s) and 1 Folder(s)");
  EXPECT_EQ(FolderSizeText(FolderTotals.totalBytes), u"6144 MB");
  CountFolderTotals(tree, root);
  EXPECT_EQ(FolderTotals.fileCount, 3u);
}

TEST_F(FolderTotalsTest, ExtensiveScanCountsOnlyEntriesInsideTheChosenFileSystem) {
  CurrentFileSystem.type = records::kNtfs;
  CurrentFileSystem.clusterBase = 2048;
  CurrentFileSystem.lastSector = 4096;
  RecoveryMode = records::kExtensiveScan;
  AppendNtfsFolder(u"Outer", 64, records::kNtfsRootRecord, 0, 0, outer, 0);
  for (uint32_t sector : {2047u, 2048u, 3000u, 4096u, 4097u}) {
    AppendNtfsFoundEntry(u"f", sector, 64, 0, 0, 0, kMiB, 1, 0);
  }
  CountFolderTotals(tree, outer);
  // Both ends belong to the file system.
  EXPECT_EQ(FolderContainsText(FolderTotals), u"3 File(s) and 1 Folder(s)");
}

TEST_F(FolderTotalsTest, NoNodeAndAnotherFileSystem) {
  CountFolderTotals(tree, host::kNoTreeKey);
  EXPECT_EQ(FolderContainsText(FolderTotals), u"0 File(s) and 0 Folder(s)");
  CurrentFileSystem.type = 0;
  AppendFatEntry(u"A", 1, records::kFatRootId, 0, 0, kMiB, 0);
  CountFolderTotals(tree, root);
  EXPECT_EQ(FolderContainsText(FolderTotals), u"0 File(s) and 3 Folder(s)");
}

}  // namespace
