#include "engine/records/result_tree_builders.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/host/fakes.h"
#include "engine/host/file_system_form_fakes.h"
#include "engine/host/result_tree_fakes.h"
#include "engine/host/scan_fakes.h"
#include "engine/host/snapshot_fakes.h"
#include "engine/records/file_trace_hits.h"
#include "engine/records/records_test_fixture.h"

namespace {

class TreeBuilders : public RecordsTest {
 protected:
  void SetUp() override {
    RecordsTest::SetUp();
    FreeFileTraceResultList();
    ScanThreadControl.stopFlag = 0;
    SnapshotLoading = 0;
    hosts_.resultTree = &tree_;
    hosts_.secondDisplay = &panel_;
    hosts_.progressDialog = &dialog_;
  }
  void TearDown() override {
    FreeFileTraceResultList();
    SnapshotLoading = 0;
    RecordsTest::TearDown();
  }

  std::vector<std::u16string> Paths() const {
    std::vector<std::u16string> paths;
    for (size_t key = 1; key <= tree_.nodes.size(); ++key) {
      paths.push_back(tree_.Path(static_cast<host::TreeKey>(key)) + (tree_.At(key).deleted ? u" (red)" : u""));
    }
    return paths;
  }

  host::RecordingResultTree tree_;
  host::RecordingSecondDisplay panel_;
  host::RecordingProgressDialog dialog_;
  host::Hosts hosts_;
};

TEST_F(TreeBuilders, FatFoldersDepthFirstInListOrderWithKeysAndRedDeletedFolders) {
  host::ScopedHosts installed(hosts_);
  AppendFatFolder(u"A", 3, 0, 0, 0, 0, 0);
  AppendFatFolder(u"B", 4, 0, 0, 0, 0, 1);
  AppendFatFolder(u"A1", 5, 3, 0, 0, 0, 0);
  AppendFatFolder(u"orphan", 6, 99, 0, 0, 0, 0);
  AppendFatFolder(u"A1x", 7, 5, 0, 0, 0, 0);
  const host::TreeKey root = tree_.AddItem(u"Root", host::kNoTreeKey, host::TreeImage::kDrive, false);
  AddFatFolders(root, 0);
  EXPECT_EQ(Paths(), (std::vector<std::u16string>{u"Root", u"Root/A", u"Root/A/A1", u"Root/A/A1/A1x",
                                                  u"Root/B (red)"}));
  EXPECT_EQ(FatFolderList[0].treeKey, 2u);
  EXPECT_EQ(FatFolderList[1].treeKey, 5u);
  EXPECT_EQ(FatFolderList[3].treeKey, host::kNoTreeKey);  // never reached from the root
  EXPECT_EQ(tree_.At(2).image, host::TreeImage::kFolder);
  // Progress goes to the scan panel, never 100.
  ASSERT_FALSE(panel_.progress.empty());
  for (uint32_t p : panel_.progress) EXPECT_LT(p, 100u);
  EXPECT_TRUE(dialog_.positions.empty());
}

TEST_F(TreeBuilders, WhileASnapshotLoadsProgressGoesToTheDialog) {
  host::ScopedHosts installed(hosts_);
  SnapshotLoading = 1;
  AppendNtfsFolder(u"docs", 64, 5, 0, 0, 0, 0);
  AppendNtfsFolder(u"gone", 65, 5, 0, 0, 0, 1);
  AddNtfsFolders(host::kNoTreeKey, 5);
  EXPECT_EQ(Paths(), (std::vector<std::u16string>{u"docs", u"gone (red)"}));
  EXPECT_EQ(dialog_.positions, (std::vector<uint32_t>{0, 50, 99}));
  EXPECT_TRUE(panel_.progress.empty());
}

TEST_F(TreeBuilders, NtfsFoldersOfAnExtensiveScanReportToThePage3Form) {
  host::RecordingFileSystemForm form;
  hosts_.fileSystemForm = &form;
  host::ScopedHosts installed(hosts_);
  RecoveryMode = records::kExtensiveScan;
  AppendNtfsFolder(u"docs", 64, 5, 0, 0, 0, 0);
  AddNtfsFolders(host::kNoTreeKey, 5);
  EXPECT_EQ(form.progress, (std::vector<uint32_t>{0, 99}));
  EXPECT_TRUE(panel_.progress.empty());
  AppendFatFolder(u"A", 3, 0, 0, 0, 0, 0);
  AddFatFolders(host::kNoTreeKey, 0);  // FAT always reports to the scan page
  EXPECT_FALSE(panel_.progress.empty());
}

TEST_F(TreeBuilders, LoopsAndRepeatedIdsEndWithOneNodePerRecord) {
  host::ScopedHosts installed(hosts_);
  AppendNtfsFolder(u"self", 5, 5, 0, 0, 0, 0);  // its own parent, at the root
  AppendNtfsFolder(u"x", 70, 5, 0, 0, 0, 0);
  AppendNtfsFolder(u"x again", 70, 5, 0, 0, 0, 0);  // Quick Scan keeps repeated record numbers
  AppendNtfsFolder(u"child", 71, 70, 0, 0, 0, 0);
  AppendNtfsFolder(u"back", 5, 71, 0, 0, 0, 0);  // points back at the root's id
  AddNtfsFolders(host::kNoTreeKey, 5);
  EXPECT_EQ(tree_.nodes.size(), NtfsFolderList.size());
}

TEST_F(TreeBuilders, ADeepChainIsBuiltWithoutRecursion) {
  host::ScopedHosts installed(hosts_);
  constexpr uint32_t kDepth = 50000;
  for (uint32_t i = 0; i < kDepth; ++i) AppendFatFolder(u"d", i + 2, i == 0 ? 0 : i + 1, 0, 0, 0, 0);
  AddFatFolders(host::kNoTreeKey, 0);
  ASSERT_EQ(tree_.nodes.size(), kDepth);
  EXPECT_EQ(tree_.nodes.back().parent, kDepth - 1);
}

TEST_F(TreeBuilders, AStopRequestEndsTheBuild) {
  host::ScopedHosts installed(hosts_);
  AppendFatFolder(u"A", 3, 0, 0, 0, 0, 0);
  ScanThreadControl.stopFlag = 1;
  AddFatFolders(host::kNoTreeKey, 0);
  EXPECT_TRUE(tree_.nodes.empty());
}

TEST_F(TreeBuilders, FileTraceGroupsThenTypesWithChildButtons) {
  host::ScopedHosts installed(hosts_);
  AppendFileTraceHit(u"1.jpg", u".jpg", u"Graphics Files", 1, 10);
  AppendFileTraceHit(u"2.doc", u".doc", u"Document Files", 2, 20);
  AppendFileTraceHit(u"3.JPG", u".JPG", u"Graphics Files", 3, 30);
  AppendFileTraceHit(u"4.gif", u".gif", u"graphics files", 4, 40);
  AppendFileTraceHit(u"5.jpg", u".jpg", u"Graphics Files", 5, 50);
  const host::TreeKey root = tree_.AddItem(u"Root", host::kNoTreeKey, host::TreeImage::kDrive, false);
  AddFileTraceGroups(root);
  EXPECT_EQ(Paths(), (std::vector<std::u16string>{u"Root", u"Root/Graphics Files", u"Root/Graphics Files/.jpg",
                                                  u"Root/Graphics Files/.gif", u"Root/Document Files",
                                                  u"Root/Document Files/.doc"}));
  EXPECT_FALSE(tree_.At(2).hasChildren);
  EXPECT_TRUE(tree_.At(3).hasChildren);
  EXPECT_EQ(ScanCounters.processedCount, 4u);  // .jpg, .gif, .jpg again (found), .doc
}

}  // namespace
