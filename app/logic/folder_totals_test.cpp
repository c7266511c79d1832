#include "app/logic/folder_totals.h"

#include <gtest/gtest.h>

#include "app/logic/dialogs_test_fixture.h"
#include "app/results/generated_results.h"
#include "engine/records/file_system_range.h"
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

namespace app_test {

// The count as a walk over the record lists for every node: the nodes below item (by the tree's parent
// links), each folder's own files found by going through the whole list.
FolderTotalsRecord PlainTotals(const host::RecordingResultTree& tree, host::TreeKey item) {
  FolderTotalsRecord totals;
  const auto below = [&](host::TreeKey node) {
    for (; node != host::kNoTreeKey; node = tree.At(node).parent) {
      if (node == item) return true;
    }
    return false;
  };
  const auto add = [&](uint64_t size) {
    ++totals.fileCount;
    totals.totalBytes += size;
  };
  // The id of the first folder record that holds node (the root's for the top node); false for none.
  const auto idOf = [](const auto& folders, auto field, host::TreeKey node, uint32_t* id) {
    for (const auto& f : folders) {
      if (f.treeKey != node) continue;
      *id = f.*field;
      return true;
    }
    return false;
  };
  const auto addFiles = [&](const auto& files, uint32_t id, auto keep) {
    for (const auto& e : files) {
      if (e.parentId == id && keep(e)) add(e.size);
    }
  };
  const auto all = [](const auto&) { return true; };
  const bool ntfs = CurrentFileSystem.type == records::kNtfs;
  for (host::TreeKey node = 1; node <= tree.nodes.size(); ++node) {
    if (!below(node)) continue;
    ++totals.folderCount;
    uint32_t id = ntfs ? records::kNtfsRootRecord : records::kFatRootId;
    const bool found = ntfs ? idOf(NtfsFolderList, &NtfsFolderRecord::recordNumber, node, &id)
                            : idOf(FatFolderList, &FatFolderRecord::firstCluster, node, &id);
    if (!found && tree.At(node).parent != host::kNoTreeKey) continue;
    if (!ntfs) {
      addFiles(FatEntryList, id, all);
    } else if (RecoveryMode == records::kQuickScan) {
      addFiles(NtfsEntryList, id, all);
    } else {
      addFiles(NtfsFoundEntryList, id, [](const NtfsFoundEntryRecord& e) { return InChosenFileSystem(e); });
    }
  }
  if (totals.folderCount > 0) --totals.folderCount;
  return totals;
}

class GeneratedTotalsTest : public DialogsLogicTest {};

TEST_F(GeneratedTotalsTest, EveryFolderOfGeneratedResultsCountsAsTheWalkOverTheListsDoes) {
  for (results_test::Shape shape : results_test::kShapes) {
    for (uint32_t seed = 1; seed <= 3; ++seed) {
      tree.DeleteAllItems();
      const results_test::GeneratedResult result =
          results_test::GenerateResult(shape, seed, 60, 400, [this](host::TreeKey parent, const std::u16string& text) {
            return tree.AddItem(text, parent, host::TreeImage::kFolder, false);
          });
      std::vector<host::TreeKey> nodes = result.folderNodes;
      nodes.push_back(result.top);
      for (host::TreeKey node : nodes) {
        CountFolderTotals(tree, node);
        const FolderTotalsRecord plain = PlainTotals(tree, node);
        SCOPED_TRACE(::testing::Message() << "shape " << static_cast<int>(shape) << " seed " << seed << " node " << node);
        EXPECT_EQ(FolderTotals.fileCount, plain.fileCount);
        EXPECT_EQ(FolderTotals.totalBytes, plain.totalBytes);
        EXPECT_EQ(FolderTotals.folderCount, plain.folderCount);
      }
      // The top node counts every file the tree shows, which is not every file of the lists.
      CountFolderTotals(tree, result.top);
      EXPECT_GT(FolderTotals.fileCount, 0u);
    }
  }
}

}  // namespace app_test
