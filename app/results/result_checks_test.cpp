#include "app/results/result_checks.h"

#include <algorithm>
#include <memory>
#include <random>

#include <gtest/gtest.h>

#include "app/results/generated_results.h"
#include "app/results/result_test_tree.h"
#include "engine/records/extensive_lists.h"
#include "engine/records/file_system_range.h"

namespace {

using app::CheckState;
using results::Item;
using results::ResultKind;
using results::RowsState;

// Root (files 1000, 1001) / A (100: files 1100, 1101) / A1 (101: file 1110), A2 (102: none); B (200: file
// 1200); C (300: none) / C1 (301: none).
class ResultChecksTest : public ::testing::Test {
 protected:
  ResultChecksTest() {
    top = tree.Add(0);
    a = tree.Add(top);
    a1 = tree.Add(a);
    a2 = tree.Add(a);
    b = tree.Add(top);
    c = tree.Add(top);
    c1 = tree.Add(c);
    records.folders = {{100, 0, Key(a)}, {101, 100, Key(a1)}, {102, 100, Key(a2)},
                       {200, 0, Key(b)}, {300, 0, Key(c)},   {301, 300, Key(c1)}};
    records.files = {{1000, 0}, {1001, 0}, {1100, 100}, {1101, 100}, {1110, 101}, {1200, 200}};
  }
  static host::TreeKey Key(Item item) { return static_cast<host::TreeKey>(item); }
  CheckState State(Item item) const { return tree.GetState(item); }
  void UseNtfs() {
    records.kind = ResultKind::kNtfs;
    records.root = 5;
    for (results_test::Folder& f : records.folders) f.parent = f.parent == 0 ? 5 : f.parent;
    for (results_test::File& f : records.files) f.parent = f.parent == 0 ? 5 : f.parent;
  }
  std::vector<CheckState> All() const {
    std::vector<CheckState> states;
    for (Item n : {top, a, a1, a2, b, c, c1}) states.push_back(tree.GetState(n));
    return states;
  }

  results_test::PlainTree tree;
  results_test::FakeRecords records;
  results::MarkSets sets;
  results::ResultChecks checks{tree, records, sets};
  Item top, a, a1, a2, b, c, c1;
};

// A folder shows checked, and is saved whole, only when every file and subfolder in it shows ticked.
TEST_F(ResultChecksTest, AFolderIsCheckedOnlyWhenEverythingInItShowsTicked) {
  checks.SetTreeCheckDeep(a1, true);
  EXPECT_EQ(State(a), CheckState::kPartly);
  checks.FileRowToggled(1100, true);  // A's first file, but not its second
  checks.SetTreeCheckDeep(a2, true);
  EXPECT_EQ(State(a), CheckState::kPartly);
  EXPECT_EQ(State(top), CheckState::kPartly);
  EXPECT_EQ(checks.CollectSaveFolders(), (std::vector<Item>{a1, a2}));
  EXPECT_EQ(sets.saveFiles.Keys(), (std::vector<uint32_t>{1100}));  // 1101 shows unticked

  checks.FileRowToggled(1101, true);
  checks.SetTreeCheckDeep(a2, true);
  EXPECT_EQ(State(a), CheckState::kChecked);
  EXPECT_EQ(checks.CollectSaveFolders(), (std::vector<Item>{a}));

  // A folder without files of its own follows its children alone.
  checks.SetTreeCheckDeep(c1, true);
  EXPECT_EQ(State(c), CheckState::kChecked);
  EXPECT_TRUE(sets.checkedFolders.Contains(Key(c)));
  EXPECT_TRUE(sets.checkedNodes.Contains(Key(c)));
}

TEST_F(ResultChecksTest, UncheckingReturnsAParentToUncheckedOnlyWhenNothingOfItIsTicked) {
  checks.SetTreeCheckDeep(a1, true);
  checks.SetTreeCheckDeep(a1, false);
  EXPECT_EQ(State(a), CheckState::kUnchecked);
  EXPECT_EQ(State(top), CheckState::kUnchecked);
  EXPECT_TRUE(sets.checkedFolders.empty());

  for (uint32_t file : {1100u, 1101u}) {  // any one file of A still ticked
    checks.FileRowToggled(file, true);
    checks.SetTreeCheckDeep(a1, true);
    checks.SetTreeCheckDeep(a1, false);
    EXPECT_EQ(State(a), CheckState::kPartly) << file;
    checks.FileRowToggled(file, false);
  }
}

TEST_F(ResultChecksTest, TickingAndUntickingTheTopNodeCoversTheWholeTree) {
  for (ResultKind kind : {ResultKind::kFat, ResultKind::kNtfs}) {
    if (kind == ResultKind::kNtfs) UseNtfs();
    checks.ClickTreeBox(top);
    EXPECT_EQ(All(), std::vector<CheckState>(7, CheckState::kChecked));
    EXPECT_EQ(sets.fileMarks.Keys(), (std::vector<uint32_t>{1000, 1001, 1100, 1101, 1110, 1200}));
    // The root's files are saved one by one: the walk never returns the top node.
    EXPECT_EQ(sets.saveFiles.Keys(), (std::vector<uint32_t>{1000, 1001}));

    checks.ClickTreeBox(top);
    EXPECT_EQ(All(), std::vector<CheckState>(7, CheckState::kUnchecked));
    EXPECT_TRUE(sets.fileMarks.empty());
    EXPECT_TRUE(sets.saveFiles.empty());
    EXPECT_TRUE(sets.checkedFolders.empty());
    EXPECT_TRUE(sets.checkedNodes.empty());
  }
}

TEST_F(ResultChecksTest, ATickedTopNodeSavesTheRootsFilesOnceAndEachFolderOnce) {
  checks.ClickTreeBox(top);
  EXPECT_EQ(checks.CollectSaveFolders(), (std::vector<Item>{a, b, c}));
  EXPECT_EQ(sets.saveFolders.Keys(), (std::vector<uint32_t>{Key(a), Key(b), Key(c)}));
  EXPECT_EQ(sets.saveFiles.Keys(), (std::vector<uint32_t>{1000, 1001}));
}

TEST_F(ResultChecksTest, TheWalkReturnsTheTopMostCheckedFoldersAndPrunesTheirFiles) {
  checks.FileRowToggled(1000, true);
  checks.FileRowToggled(1110, true);  // inside A, which is then ticked whole
  checks.ClickTreeBox(a);
  checks.FileRowToggled(1200, true);  // B itself stays unticked
  checks.SetTreeCheckDeep(c1, true);      // C follows its only child
  checks.FileRowToggled(1101, true);
  EXPECT_EQ(checks.CollectSaveFolders(), (std::vector<Item>{a, c}));
  EXPECT_EQ(sets.saveFiles.Keys(), (std::vector<uint32_t>{1000, 1200}));

  // Below a partly checked folder the checked child is returned.
  checks.ClickTreeBox(a);  // FAT: A's children are all checked, so A is unticked
  EXPECT_EQ(State(a), CheckState::kUnchecked);
  checks.SetTreeCheckDeep(a2, true);
  EXPECT_EQ(checks.CollectSaveFolders(), (std::vector<Item>{a2, c}));
}

// Save writes exactly the files shown ticked: those it saves one by one and those of the folders it saves
// whole are together the file marks, once each.
TEST_F(ResultChecksTest, AFolderTickedWholeThenPartlyUntickedSavesEveryFileStillShownTicked) {
  for (ResultKind kind : {ResultKind::kFat, ResultKind::kNtfs}) {
    checks.ClearChecks(top);
    sets.Clear();
    if (kind == ResultKind::kNtfs) UseNtfs();
    checks.ClickTreeBox(a);
    checks.FileRowToggled(1100, false);  // one file of A unticked on A's list
    checks.UpdateFolderFromRows(100);
    checks.FolderRowToggled(a1, false);  // and one subfolder
    ASSERT_EQ(State(a), CheckState::kPartly);
    ASSERT_EQ(sets.fileMarks.Keys(), (std::vector<uint32_t>{1101}));

    EXPECT_EQ(checks.CollectSaveFolders(), (std::vector<Item>{a2}));
    EXPECT_EQ(sets.saveFiles.Keys(), (std::vector<uint32_t>{1101}));

    // With a root file and B's file ticked beside it, each is saved once.
    checks.FileRowToggled(1001, true);
    checks.FolderRowToggled(b, true);
    EXPECT_EQ(checks.CollectSaveFolders(), (std::vector<Item>{a2, b}));
    std::vector<uint32_t> files = sets.saveFiles.Keys();
    std::sort(files.begin(), files.end());
    EXPECT_EQ(files, (std::vector<uint32_t>{1001, 1101}));  // 1200 comes with B
  }
}

TEST_F(ResultChecksTest, AHalfTickedFolderIsTickedWholeByFatAndUntickedByNtfs) {
  checks.SetTreeCheckDeep(a1, true);
  ASSERT_EQ(State(a), CheckState::kPartly);
  checks.ClickTreeBox(a);
  EXPECT_EQ(State(a2), CheckState::kChecked);
  EXPECT_TRUE(sets.fileMarks.Contains(1100));

  checks.ClearChecks(top);
  sets.Clear();
  UseNtfs();
  checks.SetTreeCheckDeep(a1, true);
  checks.ClickTreeBox(a);
  EXPECT_EQ(State(a1), CheckState::kUnchecked);
  EXPECT_EQ(State(a), CheckState::kUnchecked);
}

TEST_F(ResultChecksTest, FolderRowsMoveTheirNodeAndFilesInStep) {
  checks.FolderRowToggled(a, true);
  EXPECT_EQ(State(a1), CheckState::kChecked);
  EXPECT_TRUE(checks.FolderRowChecked(a1));
  EXPECT_TRUE(checks.FileRowChecked(1110));
  EXPECT_FALSE(checks.FileRowChecked(1200));
  checks.FolderRowToggled(a, false);
  EXPECT_EQ(State(a), CheckState::kUnchecked);
  EXPECT_FALSE(checks.FileRowChecked(1110));
  EXPECT_FALSE(checks.FolderRowChecked(a1));
}

// The folder listed follows what it holds, whatever its rows show: a filter may hide some of its files, and a
// subfolder's row shows an unticked box while files in it are ticked.
TEST_F(ResultChecksTest, UpdateFolderFromRowsFollowsWhatTheFolderHolds) {
  for (bool ntfs : {false, true}) {
    if (ntfs) UseNtfs();
    const uint32_t root = ntfs ? 5 : 0;
    SCOPED_TRACE(ntfs ? "NTFS" : "FAT");
    checks.FileRowToggled(1110, true);  // A1's only row
    checks.UpdateFolderFromRows(101);
    EXPECT_EQ(State(a1), CheckState::kChecked);
    EXPECT_EQ(State(a), CheckState::kPartly);
    EXPECT_EQ(State(top), CheckState::kPartly);
    checks.FileRowToggled(1110, false);
    checks.UpdateFolderFromRows(101);
    EXPECT_EQ(All(), std::vector<CheckState>(7, CheckState::kUnchecked));

    // The root's rows (no folder record has its id) stand for the top node.
    for (Item n : {a, b, c}) checks.FolderRowToggled(n, true);
    for (uint32_t id : {1000u, 1001u}) checks.FileRowToggled(id, true);
    checks.UpdateFolderFromRows(root);
    EXPECT_EQ(All(), std::vector<CheckState>(7, CheckState::kChecked));
    checks.FileRowToggled(1000, false);
    checks.UpdateFolderFromRows(root);
    EXPECT_EQ(State(top), CheckState::kPartly);
    EXPECT_EQ(State(a), CheckState::kChecked);
    for (Item n : {a, b, c}) checks.FolderRowToggled(n, false);
    checks.FileRowToggled(1001, false);
    checks.UpdateFolderFromRows(root);
    EXPECT_EQ(All(), std::vector<CheckState>(7, CheckState::kUnchecked));
    EXPECT_TRUE(sets.fileMarks.empty());
  }
}

// A file ticked in a subfolder leaves the subfolder's row unticked (partly ticked): a tick and an untick on the
// parent's list, which leave its rows all unticked, keep the file ticked (the rows do not say "nothing here").
TEST_F(ResultChecksTest, ATickElsewhereInTheListKeepsAPartlyTickedSubfolder) {
  for (bool ntfs : {false, true}) {
    if (ntfs) UseNtfs();
    const uint32_t root = ntfs ? 5 : 0;
    sets.Clear();
    checks.ClearChecks(top);
    SCOPED_TRACE(ntfs ? "NTFS" : "FAT");
    checks.FileRowClicked(1110, true);  // A1's file, in its list
    checks.FileRowClicked(1100, true);  // A's list: a file ticked and unticked again, A1's row unticked
    checks.FileRowClicked(1100, false);
    EXPECT_EQ(State(a1), CheckState::kChecked);
    EXPECT_EQ(State(a), CheckState::kPartly);
    // The root's list: a file ticked and unticked, A's row unticked (A is partly ticked).
    checks.FileRowClicked(1000, true);
    checks.FileRowClicked(1000, false);
    EXPECT_EQ(State(a), CheckState::kPartly);
    EXPECT_EQ(State(top), CheckState::kPartly);
    EXPECT_TRUE(checks.FileRowChecked(1110));
    EXPECT_EQ(checks.CollectSaveFolders(), (std::vector<Item>{a1}));
    EXPECT_TRUE(sets.saveFiles.empty());
    checks.UpdateFolderFromRows(root);
    EXPECT_TRUE(checks.FileRowChecked(1110));
  }
}

// A folder ticked whole, then one of two files unticked in a subfolder's list: no folder above stays ticked
// whole, so Save takes the files still shown ticked and not the one unticked.
TEST_F(ResultChecksTest, ARowUntickedDeepLeavesNoFolderAboveTickedWhole) {
  records.files.push_back({1111, 101});
  for (bool ntfs : {false, true}) {
    if (ntfs) UseNtfs();
    SCOPED_TRACE(ntfs ? "NTFS" : "FAT");
    sets.Clear();
    for (Item n : {top, a, a1, a2, b, c, c1}) checks.ClearTreeCheck(n);
    checks.ClickTreeBox(a);
    checks.FileRowToggled(1110, false);
    checks.UpdateFolderFromRows(101);
    EXPECT_EQ(State(a1), CheckState::kPartly);
    EXPECT_EQ(State(a), CheckState::kPartly);
    EXPECT_EQ(checks.CollectSaveFolders(), (std::vector<Item>{a2}));
    std::vector<uint32_t> files = sets.saveFiles.Keys();
    std::sort(files.begin(), files.end());
    EXPECT_EQ(files, (std::vector<uint32_t>{1100, 1101, 1111}));
  }
}

// Under a file filter the list shows only some of a folder's files. B holds 1200 (shown) and 1201 (hidden).
// Whatever is ticked on the filtered list, Save writes what the boxes show once the filter is cleared.
TEST_F(ResultChecksTest, RowsShownUnderAFilterTickAFolderWholeOnlyWhenItsHiddenFilesAreTickedToo) {
  records.files.push_back({1201, 200});
  for (bool ntfs : {false, true}) {
    if (ntfs) UseNtfs();
    const uint32_t root = ntfs ? 5 : 0;
    SCOPED_TRACE(ntfs ? "NTFS" : "FAT");
    sets.Clear();
    checks.ClearChecks(top);

    // The only row shown is ticked: B is not ticked whole, and the hidden file stays unticked.
    checks.FileRowToggled(1200, true);
    checks.UpdateFolderFromRows(200);
    EXPECT_EQ(State(b), CheckState::kPartly);
    EXPECT_FALSE(checks.FileRowChecked(1201));
    EXPECT_TRUE(checks.CollectSaveFolders().empty());
    EXPECT_EQ(sets.saveFiles.Keys(), (std::vector<uint32_t>{1200}));

    // The filter cleared, the hidden file is ticked too: now B is ticked whole and saved as a folder.
    checks.FileRowToggled(1201, true);
    checks.UpdateFolderFromRows(200);
    EXPECT_EQ(State(b), CheckState::kChecked);
    EXPECT_EQ(checks.CollectSaveFolders(), (std::vector<Item>{b}));
    EXPECT_TRUE(sets.saveFiles.empty());

    // B ticked whole, then its only shown row unticked under the filter: the hidden file stays ticked.
    checks.FileRowToggled(1200, false);
    checks.UpdateFolderFromRows(200);
    EXPECT_EQ(State(b), CheckState::kPartly);
    EXPECT_TRUE(checks.FileRowChecked(1201));
    EXPECT_TRUE(checks.CollectSaveFolders().empty());
    EXPECT_EQ(sets.saveFiles.Keys(), (std::vector<uint32_t>{1201}));

    // The root's files: 1000 shown and ticked, 1001 hidden; the top node is not ticked whole.
    checks.FileRowToggled(1201, false);
    checks.UpdateFolderFromRows(200);
    checks.FileRowToggled(1000, true);
    checks.UpdateFolderFromRows(root);
    EXPECT_NE(State(top), CheckState::kChecked);
    EXPECT_FALSE(checks.FileRowChecked(1001));
    EXPECT_TRUE(checks.CollectSaveFolders().empty());
    EXPECT_EQ(sets.saveFiles.Keys(), (std::vector<uint32_t>{1000}));
    checks.FileRowToggled(1000, false);

    // Everything ticked, then every row the root's list shows unticked: the hidden 1001 alone stays ticked.
    checks.ClearChecks(top);
    sets.Clear();
    checks.ClickTreeBox(top);
    for (Item n : {a, b, c}) checks.FolderRowToggled(n, false);
    checks.FileRowToggled(1000, false);
    checks.UpdateFolderFromRows(root);
    EXPECT_EQ(State(top), CheckState::kPartly);
    for (Item n : {a, a1, b, c}) EXPECT_EQ(State(n), CheckState::kUnchecked);
    EXPECT_TRUE(checks.CollectSaveFolders().empty());
    EXPECT_EQ(sets.saveFiles.Keys(), (std::vector<uint32_t>{1001}));
    checks.FileRowToggled(1001, false);
  }
}

// NTFS: a file of two names (hard links) in folders apart, 1300 in A1 and in B, is one file with one box. Unticking
// one folder unticks it in the other, which is no longer saved whole; ticking it under one name ticks it under both.
TEST_F(ResultChecksTest, AFileOfTwoNamesInFoldersApartHasOneBoxThatBothFoldersFollow) {
  UseNtfs();
  records.files.push_back({1300, 101});
  records.files.push_back({1300, 200});
  const auto saveFiles = [this] {
    std::vector<uint32_t> files = sets.saveFiles.Keys();
    std::sort(files.begin(), files.end());
    return files;
  };
  checks.ClickTreeBox(top);
  checks.ClickTreeBox(a1);  // unticked: 1110 and 1300
  EXPECT_FALSE(checks.FileRowChecked(1300));
  EXPECT_EQ(State(b), CheckState::kPartly);  // 1200 ticked, 1300 not
  EXPECT_EQ(State(top), CheckState::kPartly);
  EXPECT_EQ(checks.CollectSaveFolders(), (std::vector<Item>{a2, c}));
  EXPECT_EQ(saveFiles(), (std::vector<uint32_t>{1000, 1001, 1100, 1101, 1200}));

  checks.ClickTreeBox(a1);  // ticked again: B holds everything ticked once more
  EXPECT_EQ(All(), std::vector<CheckState>(7, CheckState::kChecked));

  checks.FolderRowToggled(b, false);  // B's row on the root's list: A1 keeps 1110 alone
  EXPECT_EQ(State(a1), CheckState::kPartly);
  EXPECT_EQ(State(a), CheckState::kPartly);
  EXPECT_EQ(State(b), CheckState::kUnchecked);
  EXPECT_EQ(checks.CollectSaveFolders(), (std::vector<Item>{a2, c}));
  EXPECT_EQ(saveFiles(), (std::vector<uint32_t>{1000, 1001, 1100, 1101, 1110}));

  checks.FileRowClicked(1300, true);  // on A1's list
  EXPECT_EQ(State(a1), CheckState::kChecked);
  EXPECT_EQ(State(b), CheckState::kPartly);
  EXPECT_EQ(checks.CollectSaveFolders(), (std::vector<Item>{a, c}));
  EXPECT_EQ(saveFiles(), (std::vector<uint32_t>{1000, 1001, 1300}));  // 1300 shows ticked on B's list too
}

// Of an NTFS file's names, a rename takes the one the row showed in the folder listed: two names read alike in two
// folders, and a folder holds two names of the file. Quick Scan and Extensive Scan results alike.
TEST(RenameFileRecordTest, ANameRenamedIsTheRowsAloneWhereNamesOfOneFileReadAlike) {
  struct Name {
    const char16_t* name;
    uint32_t parent;
  };
  const Name names[] = {{u"a.txt", 100}, {u"a.txt", 200}, {u"b.txt", 100}};
  struct Step {
    const char16_t* shown;
    uint32_t folder;
    const char16_t* to;
    size_t renamed;
  };
  const Step steps[] = {{u"a.txt", 200, u"c.txt", 1}, {u"b.txt", 100, u"d.txt", 2}, {u"a.txt", 100, u"e.txt", 0}};
  for (const uint32_t mode : {records::kQuickScan, records::kExtensiveScan}) {
    SCOPED_TRACE(mode);
    FreeNtfsRecordLists();
    NtfsFoundEntryList.Free();
    CurrentFileSystem = FileSystemRecord{};
    CurrentFileSystem.type = records::kNtfs;
    RecoveryMode = mode;
    for (const Name& n : names) {
      if (mode == records::kQuickScan) {
        AppendNtfsEntry(0x200, n.name, 40, n.parent, 0, 0, 0, 10).linked = true;
      } else {
        AppendNtfsFoundEntry(n.name, 0x200, n.parent, 40, 0, 0, 10, 1, 0).linked = true;
      }
    }
    std::vector<std::u16string> expected{u"a.txt", u"a.txt", u"b.txt"};
    for (const Step& step : steps) {
      ASSERT_TRUE(results::RenameFileRecord(0x200, step.to, step.shown, step.folder));
      expected[step.renamed] = step.to;
      for (size_t i = 0; i < expected.size(); ++i) {
        const std::u16string& name = mode == records::kQuickScan ? NtfsEntryList[i].name : NtfsFoundEntryList[i].name;
        const std::u16string& found =
            mode == records::kQuickScan ? NtfsEntryList[i].foundName : NtfsFoundEntryList[i].foundName;
        EXPECT_EQ(name, expected[i]) << i;
        EXPECT_EQ(found, name == names[i].name ? u"" : names[i].name) << i;  // the name on disk kept
      }
    }
  }
  FreeNtfsRecordLists();
  NtfsFoundEntryList.Free();
  CurrentFileSystem = FileSystemRecord{};
  RecoveryMode = records::kQuickScan;
}

// File Trace: top / group G / types T1 (hits 1, 2, 3) and T2 (hit 4). A hit ticked on the group's list
// moves its type node and the group; a type node is ticked whole only when all its hits are, shown or not.
TEST(FileTraceChecksTest, AHitTickedOnAnyListMovesItsTypeAndGroupNodes) {
  results_test::PlainTree tree;
  results_test::FakeRecords records;
  records.kind = ResultKind::kFileTrace;
  results::MarkSets sets;
  results::ResultChecks checks{tree, records, sets};
  const Item top = tree.Add(0), group = tree.Add(top), t1 = tree.Add(group), t2 = tree.Add(group);
  const std::vector<uint32_t> hits1{1, 2, 3}, hits2{4};

  checks.FileRowToggled(4, true);  // on the group's list
  checks.TypeNodeFollowsHits(t1, hits1);
  checks.TypeNodeFollowsHits(t2, hits2);
  EXPECT_EQ(tree.GetState(t2), CheckState::kChecked);
  EXPECT_EQ(tree.GetState(t1), CheckState::kUnchecked);
  EXPECT_EQ(tree.GetState(group), CheckState::kPartly);
  EXPECT_EQ(tree.GetState(top), CheckState::kPartly);

  // A filter shows hits 1 and 2 of T1 alone; both ticked leave T1 partly ticked.
  checks.FileRowToggled(1, true);
  checks.FileRowToggled(2, true);
  checks.TypeNodeFollowsHits(t1, hits1);
  EXPECT_EQ(tree.GetState(t1), CheckState::kPartly);
  EXPECT_FALSE(sets.checkedNodes.Contains(static_cast<uint32_t>(t1)));
  checks.FileRowToggled(3, true);
  checks.TypeNodeFollowsHits(t1, hits1);
  EXPECT_EQ(tree.GetState(t1), CheckState::kChecked);
  EXPECT_EQ(tree.GetState(group), CheckState::kChecked);
  EXPECT_EQ(tree.GetState(top), CheckState::kChecked);

  for (uint32_t id : {1u, 2u, 3u}) checks.FileRowToggled(id, false);
  checks.TypeNodeFollowsHits(t1, hits1);
  EXPECT_EQ(tree.GetState(t1), CheckState::kUnchecked);
  EXPECT_EQ(tree.GetState(group), CheckState::kPartly);
  EXPECT_EQ(sets.saveFiles.Keys(), (std::vector<uint32_t>{4}));
}

TEST_F(ResultChecksTest, FileTraceNodesTakeTheirHits) {
  records.kind = ResultKind::kFileTrace;
  checks.FileTraceNodeToggled(a2, {7, 8}, true);
  checks.FileTraceNodeToggled(a1, {9}, true);
  EXPECT_EQ(State(a), CheckState::kChecked);  // hits are no files of a folder of its own
  EXPECT_EQ(sets.saveFiles.Keys(), (std::vector<uint32_t>{7, 8, 9}));
  checks.FileTraceNodeToggled(a2, {7, 8}, false);
  EXPECT_EQ(sets.saveFiles.Keys(), (std::vector<uint32_t>{9}));
  EXPECT_EQ(State(a), CheckState::kPartly);
}

// FAT's button-up rule reads the rows listed: only those of the node clicked or of its parent speak for it.
TEST_F(ResultChecksTest, ABoxClickFollowsTheRowsOnlyOfTheNodeOrItsParent) {
  checks.FileRowClicked(1100, true);  // A listed, half its rows ticked
  // A1 ticked and unticked in the tree while A's rows show mixed: A stays as its files make it.
  checks.ClickTreeBox(a1);
  checks.AncestorsFollowRows(a1, a, RowsState::kMixed);
  EXPECT_EQ(State(a), CheckState::kPartly);
  // C1 (elsewhere) ticked, unticked, ticked again, with A's mixed rows listed: C follows C1 alone.
  for (CheckState shown : {CheckState::kChecked, CheckState::kUnchecked, CheckState::kChecked}) {
    checks.ClickTreeBox(c1);
    checks.AncestorsFollowRows(c1, a, RowsState::kMixed);
    EXPECT_EQ(State(c), shown);
  }
  // A click on C then unticks it (all its children are ticked), rather than ticking it whole again.
  checks.ClickTreeBox(c);
  EXPECT_EQ(State(c1), CheckState::kUnchecked);
  // The rows of the node's parent do speak for it.
  checks.ClickTreeBox(a2);
  checks.AncestorsFollowRows(a2, a, RowsState::kMixed);
  EXPECT_EQ(State(a), CheckState::kPartly);
  EXPECT_EQ(State(top), CheckState::kPartly);
}

TEST(KeySetTest, KeysComeBackInTheOrderTheyEntered) {
  results::KeySet set;
  for (uint32_t key : {30u, 10u, 20u, 10u}) set.Insert(key);
  EXPECT_EQ(set.Keys(), (std::vector<uint32_t>{30, 10, 20}));
  EXPECT_TRUE(set.Erase(10));
  EXPECT_FALSE(set.Erase(10));
  set.Insert(10);
  EXPECT_EQ(set.Keys(), (std::vector<uint32_t>{30, 20, 10}));
  set.Clear();
  EXPECT_TRUE(set.empty());
}

TEST(ResultRowsTest, RowsAreReadWhole) {
  // The lister's "Parent..." row is the parent row; a file of that name is a file.
  EXPECT_EQ(results::ClassifyRow(true, u""), results::RowKind::kParent);
  EXPECT_EQ(results::ClassifyRow(false, u"Text Document"), results::RowKind::kFile);
  EXPECT_EQ(results::ClassifyRow(false, u"Deleted Folder"), results::RowKind::kFolder);
  EXPECT_EQ(results::ClassifyRow(false, u"folder"), results::RowKind::kFolder);
  EXPECT_EQ(results::ParseId(u"4294967295"), 4294967295u);
  EXPECT_EQ(results::ParseId(u"4294967296"), std::nullopt);
  EXPECT_EQ(results::ParseId(u"-"), std::nullopt);
  EXPECT_EQ(results::ParseId(u""), std::nullopt);
  EXPECT_EQ(results::ParseId(std::u16string(300, u'0') + u"7"), 7u);
}

TEST(ResultRowsTest, PropertiesSizeRoundsUpToWholeKilobytes) {
  EXPECT_EQ(results::PropertiesSizeText(u"0"), u"1 KB");
  EXPECT_EQ(results::PropertiesSizeText(u"1023"), u"1 KB");
  EXPECT_EQ(results::PropertiesSizeText(u"1024"), u"2 KB");
  EXPECT_EQ(results::PropertiesSizeText(u"5000000000"), u"4882813 KB");
  EXPECT_EQ(results::PropertiesSizeText(u"-"), u"1 KB");
}

TEST(ResultRowsTest, SelectedSizeTruncatesToWholeMegabytesOver64Bits) {
  EXPECT_EQ(results::SelectedSizeText(0), u"Selected Size : 0 MB");
  EXPECT_EQ(results::SelectedSizeText(1048575), u"Selected Size : 0 MB");
  EXPECT_EQ(results::SelectedSizeText(2 * 1048576 - 1), u"Selected Size : 1 MB");
  EXPECT_EQ(results::SelectedSizeText(uint64_t{5} << 40), u"Selected Size : 5242880 MB");
}

TEST(ResultRowsTest, RowsSummedUp) {
  EXPECT_EQ(results::SummarizeRows({true, true}), RowsState::kAllChecked);
  EXPECT_EQ(results::SummarizeRows({false, false}), RowsState::kAllUnchecked);
  EXPECT_EQ(results::SummarizeRows({true, false}), RowsState::kMixed);
}

// The engine's records with the files of folders found as they once were: through the whole list.
class PlainFileWalk : public results::ResultRecords {
 public:
  ResultKind Kind() const override { return engine_->Kind(); }
  uint32_t RootFolderId() const override { return engine_->RootFolderId(); }
  std::optional<uint32_t> FolderOfNode(host::TreeKey node) const override { return engine_->FolderOfNode(node); }
  host::TreeKey NodeOfFolder(uint32_t id) const override { return engine_->NodeOfFolder(id); }
  std::optional<uint32_t> ParentOfFolder(uint32_t id) const override { return engine_->ParentOfFolder(id); }
  std::vector<uint32_t> ParentsOfFile(uint32_t id) const override { return engine_->ParentsOfFile(id); }
  std::vector<uint32_t> HitsOf(std::u16string_view label) const override { return engine_->HitsOf(label); }
  std::vector<uint32_t> FilesOf(const std::unordered_set<uint32_t>& folders) const override {
    std::vector<uint32_t> ids;
    const auto visit = [&](const auto& list, auto keep) {
      for (const auto& e : list) {
        if (folders.count(e.parentId) != 0 && keep(e)) ids.push_back(e.id);
      }
    };
    const auto all = [](const auto&) { return true; };
    if (Kind() == ResultKind::kFat) {
      visit(FatEntryList, all);
    } else if (RecoveryMode == records::kExtensiveScan) {
      visit(NtfsFoundEntryList, [](const NtfsFoundEntryRecord& e) { return InChosenFileSystem(e); });
    } else {
      visit(NtfsEntryList, all);
    }
    return ids;
  }

 private:
  std::unique_ptr<results::ResultRecords> engine_ = results::EngineRecords();
};

std::vector<uint32_t> FileIds() {
  std::vector<uint32_t> ids;
  for (const FatEntryRecord& e : FatEntryList) ids.push_back(e.id);
  for (const NtfsEntryRecord& e : NtfsEntryList) ids.push_back(e.id);
  for (const NtfsFoundEntryRecord& e : NtfsFoundEntryList) ids.push_back(e.id);
  return ids;
}

// Random clicks on boxes and rows, and Saves, over generated results: the check model through the
// lists' index by parent ends every step with the boxes, marks and save sets of the walk over the lists.
TEST(GeneratedResultChecksTest, IndexedFilesGiveTheChecksAndSavesOfTheWalkOverTheLists) {
  for (results_test::Shape shape : results_test::kShapes) {
    for (uint32_t seed = 1; seed <= 3; ++seed) {
      results_test::PlainTree indexedTree, plainTree;
      const results_test::GeneratedResult result =
          results_test::GenerateResult(shape, seed, 50, 300, [&](host::TreeKey parent, const std::u16string&) {
            plainTree.Add(parent);
            return static_cast<host::TreeKey>(indexedTree.Add(parent));
          });
      const std::unique_ptr<results::ResultRecords> engine = results::EngineRecords();
      PlainFileWalk plain;
      results::MarkSets indexedSets, plainSets;
      results::ResultChecks indexed(indexedTree, *engine, indexedSets), walked(plainTree, plain, plainSets);
      std::vector<Item> nodes(result.folderNodes.begin(), result.folderNodes.end());
      nodes.push_back(result.top);
      const std::vector<uint32_t> files = FileIds();
      std::mt19937 random(seed);
      for (int step = 0; step < 150; ++step) {
        const Item node = nodes[random() % nodes.size()];
        const uint32_t file = files[random() % files.size()];
        const bool on = random() % 2 == 0;
        std::vector<Item> savedIndexed, savedWalked;
        switch (random() % 5) {
          case 0:
            indexed.ClickTreeBox(node), walked.ClickTreeBox(node);
            break;
          case 1:
            indexed.FileRowToggled(file, on), walked.FileRowToggled(file, on);
            break;
          case 2:
            indexed.FolderRowToggled(node, on), walked.FolderRowToggled(node, on);
            break;
          case 3: {
            const uint32_t folder = engine->FolderOfNode(static_cast<host::TreeKey>(node)).value_or(engine->RootFolderId());
            indexed.UpdateFolderFromRows(folder), walked.UpdateFolderFromRows(folder);
            break;
          }
          default:
            savedIndexed = indexed.CollectSaveFolders();
            savedWalked = walked.CollectSaveFolders();
            break;
        }
        SCOPED_TRACE(::testing::Message() << "shape " << static_cast<int>(shape) << " seed " << seed << " step " << step);
        ASSERT_EQ(savedIndexed, savedWalked);
        for (Item n : nodes) ASSERT_EQ(indexedTree.GetState(n), plainTree.GetState(n)) << n;
        ASSERT_EQ(indexedSets.fileMarks.Keys(), plainSets.fileMarks.Keys());
        ASSERT_EQ(indexedSets.saveFiles.Keys(), plainSets.saveFiles.Keys());
        ASSERT_EQ(indexedSets.checkedFolders.Keys(), plainSets.checkedFolders.Keys());
        ASSERT_EQ(indexedSets.saveFolders.Keys(), plainSets.saveFolders.Keys());
      }
      for (Item n : nodes) {
        const std::optional<uint32_t> folder = engine->FolderOfNode(static_cast<host::TreeKey>(n));
        if (folder) {
          EXPECT_EQ(engine->FilesOf({*folder}), plain.FilesOf({*folder}));
        }
      }
    }
  }
}

}  // namespace
