// What a save names, reports and shows, and what the preview's copy leaves alone: a live file keeps its
// name beside a deleted one of the same name in any order and under every duplicate-name policy; names too
// long for their "Copy (n ) of" prefix are shortened; the report says what was done with damaged files;
// the preview's copy never asks nor touches the save's flags. (The saving dialog's bar: its own test.)
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <iterator>
#include <map>

#include "engine/fat/save_abort.h"
#include "engine/ntfs/ntfs_test_support.h"
#include "engine/records/fat_records.h"
#include "engine/records/recovery_settings.h"
#include "engine/records/scan_records.h"
#include "engine/listing/file_filter_table.h"
#include "engine/save/recovered_file.h"
#include "engine/save/save_state.h"
#include "engine/save/save_test_support.h"
#include "engine/save/savers.h"
#include "platform/os/os.h"

namespace save_test {
namespace {

uint32_t AddFile(const std::u16string& name, uint32_t cluster, uint32_t parent, size_t size, uint32_t deleted = 0) {
  const uint32_t id = AppendFatEntry(name, cluster, parent, 0, 0, static_cast<uint32_t>(size), deleted).id;
  ++ScanCounters.entryCount;
  return id;
}

host::TreeKey AddFolder(host::RecordingResultTree& tree, const std::u16string& name, uint32_t cluster) {
  const host::TreeKey top = tree.GetRootItem() != host::kNoTreeKey
                                ? tree.GetRootItem()
                                : tree.AddItem(u"C:", host::kNoTreeKey, host::TreeImage::kDrive, false);
  const host::TreeKey node = tree.AddItem(name, top, host::TreeImage::kFolder, false);
  AppendFatFolder(name, cluster, records::kFatRootId, 0, 0, node, 0).treeKey = node;
  return node;
}

std::vector<std::pair<std::u16string, std::u16string>> moves;
void RecordMove(const std::u16string& from, const std::u16string& to) { moves.emplace_back(from, to); }

class SaveNamingTest : public SaveTest {
 protected:
  SaveNamingTest() {
    volume.PutChained({5}, live);
    volume.Put(12, deleted);  // a deleted file: its clusters follow one another
    mounted = volume.Mount();
    moves.clear();
    save::SetMovedFileObserver(RecordMove);
  }
  ~SaveNamingTest() override { save::SetMovedFileObserver(nullptr); }

  FatVolume volume;
  const Bytes live = Pattern(1500, 1);
  const Bytes deleted = Pattern(900, 2);
  std::unique_ptr<MountedBytes> mounted;
};

TEST_F(SaveNamingTest, ALiveFileKeepsItsNameBesideADeletedOneInAnyOrderUnderEveryPolicy) {
  struct Case {
    bool liveFirst;
    bool wholeFolder;  // the folder ticked, or the two files ticked one by one
  };
  for (const uint16_t policy : {1, 2, 3}) {
    for (const Case c : {Case{true, true}, Case{false, true}, Case{true, false}, Case{false, false}}) {
      SCOPED_TRACE(std::to_string(policy) + (c.liveFirst ? " live first" : " deleted first") +
                   (c.wholeFolder ? " in its folder" : " ticked"));
      FreeScanRecordLists();
      list.saveFolderSet.clear();
      list.saveFileSet.clear();
      moves.clear();
      ScratchFolder folder;
      BeginSave();
      RecoverySettings.duplicatePolicy = policy;
      const host::TreeKey docs = AddFolder(tree, u"Docs" + os::Decimal(policy) + (c.liveFirst ? u"a" : u"b"), 30);
      const uint32_t parent = c.wholeFolder ? 30 : records::kFatRootId;
      const uint32_t first = c.liveFirst ? AddFile(u"notes.txt", 5, parent, live.size())
                                         : AddFile(u"notes.txt", 12, parent, deleted.size(), 1);
      const uint32_t second = c.liveFirst ? AddFile(u"notes.txt", 12, parent, deleted.size(), 1)
                                          : AddFile(u"notes.txt", 5, parent, live.size());
      if (c.wholeFolder) {
        list.saveFolderSet = {docs};
      } else {
        list.saveFileSet = {first, second};
      }
      SaveDestination = folder.path();
      SaveSelected();
      const std::u16string where = c.wholeFolder ? folder.path() + u"\\" + tree.GetItemText(docs) : folder.path();
      EXPECT_EQ(ReadAll(where + u"\\notes.txt"), live);
      // Neither is skipped nor overwritten: both are this save's own.
      const std::u16string copy = where + u"\\Copy (1 ) of notes.txt";
      EXPECT_EQ(ReadAll(copy), deleted);
      EXPECT_EQ(SaveTally.saved, 2u);
      // A deleted file written first gave way: the audit hears where it went.
      EXPECT_EQ(moves.size(), c.liveFirst ? 0u : 1u);
      if (!c.liveFirst && !moves.empty()) {
        EXPECT_EQ(moves[0].second, copy);
      }
      std::u16string text;
      EXPECT_EQ(SaveResultMessage(&text), host::kInformation);
      EXPECT_TRUE(Questions().empty());
    }
  }
}

// The duplicate-name setting is about what the folder held before the save: files of one save that come to
// one name (the same name, names equal once made safe, names in other capitals where the system does not tell
// them apart) are all saved, the later ones as "Copy (n ) of" the name.
TEST_F(SaveNamingTest, AFileThisSaveWroteIsNeverOverwrittenNorSkipped) {
  const Bytes before = Pattern(700, 9);
  const std::u16string names[] = {u"old.txt", u"old.txt", u"x?.txt", u"x_.txt", u"Case.txt", u"CASE.txt"};
  for (const uint16_t policy : {1, 2, 3}) {
    SCOPED_TRACE(policy);
    FreeScanRecordLists();
    list.saveFileSet.clear();
    ScratchFolder folder;
    ASSERT_TRUE(WriteAll(folder.path() + u"\\old.txt", before));
    BeginSave();
    RecoverySettings.duplicatePolicy = policy;
    // Each file its own length of the live file's bytes.
    std::map<std::u16string, std::vector<Bytes>> wanted;
    for (size_t i = 0; i < std::size(names); ++i) {
      const size_t size = 100 * (i + 1);
      list.saveFileSet.push_back(AddFile(names[i], 5, records::kFatRootId, size));
      wanted[names[i]].push_back(Bytes(live.begin(), live.begin() + static_cast<ptrdiff_t>(size)));
    }
    SaveDestination = folder.path();
    SaveSelected();
    // Skip keeps what was there before, for both old.txt; Overwrite lets the first replace it, the second
    // comes beside it; Rename keeps it and renames both.
    const std::map<uint16_t, std::vector<std::u16string>> oldNames = {
        {1, {u"Copy (1 ) of old.txt", u"Copy (2 ) of old.txt"}}, {2, {u"old.txt", u"Copy (1 ) of old.txt"}}, {3, {}}};
    EXPECT_EQ(ReadAll(folder.path() + u"\\old.txt"), policy == 2 ? wanted[u"old.txt"][0] : before);
    for (size_t i = 0; i < oldNames.at(policy).size(); ++i) {
      EXPECT_EQ(ReadAll(folder.path() + u"\\" + oldNames.at(policy)[i]), wanted[u"old.txt"][i]);
    }
    EXPECT_EQ(SaveTally.heldBack, policy == 3 ? 2u : 0u);
    EXPECT_EQ(ReadAll(folder.path() + u"\\x_.txt"), wanted[u"x?.txt"][0]);
    EXPECT_EQ(ReadAll(folder.path() + u"\\Copy (1 ) of x_.txt"), wanted[u"x_.txt"][0]);
    // Where the system tells capitals apart each keeps its name, else the second is renamed.
    std::vector<Bytes> cased;
    for (const std::u16string& name : FolderNames(folder.path())) {
      if (name == u"Case.txt" || name == u"CASE.txt" || name == u"Copy (1 ) of CASE.txt") {
        cased.push_back(ReadAll(folder.path() + u"\\" + name));
      }
    }
    std::sort(cased.begin(), cased.end());
    std::vector<Bytes> both = {wanted[u"Case.txt"][0], wanted[u"CASE.txt"][0]};
    std::sort(both.begin(), both.end());
    EXPECT_EQ(cased, both);
    EXPECT_EQ(FolderNames(folder.path()).size(), 8u - policy);
  }
}

TEST_F(SaveNamingTest, ANameTooLongForItsCopyPrefixLosesTheEndOfItsStem) {
  // Stems from a name that fits with the prefix to one of the longest names there are, each saved eleven
  // times: the prefix grows with the number.
  for (size_t stem = 238; stem <= 251; ++stem) {
    const std::u16string name = std::u16string(stem, u'a') + u".txt";
    for (int n = 0; n <= 10; ++n) ASSERT_EQ(SaveFatItems(out, 1, 5, static_cast<uint32_t>(live.size()), name, 0), 1u);
  }
  EXPECT_TRUE(Questions().empty());
  const std::vector<std::u16string> names = FolderNames(out);
  EXPECT_EQ(names.size(), 14u * 11u);
  for (const std::u16string& name : names) {
    EXPECT_LE(name.size(), 255u) << os::ToUtf8(name);
    EXPECT_EQ(name.substr(name.size() - 4), u".txt") << os::ToUtf8(name);
    EXPECT_EQ(ReadAll(Out(name)), live) << os::ToUtf8(name);
  }
  EXPECT_EQ(SaveTally.saved, 14u * 11u);
}

TEST_F(SaveNamingTest, TheReportSaysDamagedFilesEndWhereTheirDataDoes) {
  // A live file of 5,000 bytes whose chain ends after its first cluster (2,048 bytes).
  EXPECT_EQ(SaveFatItems(out, 1, 5, 5000, u"cut.bin", 0), 1u);
  Bytes cut = live;
  cut.resize(2048, 0);  // the rest of its cluster
  EXPECT_EQ(ReadAll(Out(u"cut.bin")), cut);
  std::u16string text;
  EXPECT_EQ(SaveResultMessage(&text), host::kError);
  EXPECT_EQ(text, u"Files saved: 1\r\nFiles that could not be read whole: 1\r\n" + std::u16string(kUnreadableFilesText));
  EXPECT_EQ(text.find(u"saved as zeros"), std::u16string::npos);
}

TEST_F(SaveNamingTest, ThePreviewsCopyNeverAsksNorTouchesTheSavesFlags) {
  ntfs_test::RecordBuilder record;
  record.AddFileName(5, u"f", 1);
  record.AddResident(0x80, u"", Pattern(300, 3));
  NtfsVolume ntfs;
  const uint32_t sector = ntfs.PutRecord(0, record.Protected());
  LargeFileSize = 1;
  // Each saver the preview writes its copy with, over its own volume.
  struct Saver {
    FatVolume* fat;  // else the NTFS volume
    std::function<uint32_t(const std::u16string&)> copy;
  };
  const Saver savers[] = {
      {&volume, [&](const std::u16string& folder) { return SaveFatItems(folder, 0, 5, 1500, u"tmp0.txt", 0); }},
      {nullptr, [&](const std::u16string& folder) { return SaveNtfsItems(folder, u"tmp0.txt", 300, sector, 0, 0); }},
      {&volume, [&](const std::u16string& folder) { return SaveLargeFile(folder, u"tmp0.txt", 0); }},
  };
  for (const uint32_t flags : {0u, 1u}) {
    for (const Saver& saver : savers) {
      mounted.reset();
      mounted = saver.fat != nullptr ? saver.fat->Mount() : ntfs.Mount();
      const auto& copy = saver.copy;
      SaveAbortFlag = flags;
      SkipCurrentFileFlag = flags;
      // A folder that cannot be written (as a full temporary folder): not written, and nothing asked.
      EXPECT_EQ(copy(Out(u"missing")), 0u);
      EXPECT_EQ(copy(out), 1u);
      EXPECT_TRUE(os::FileExists(Out(u"tmp0.txt")));
      os::RemoveFile(Out(u"tmp0.txt"));
      EXPECT_EQ(SaveAbortFlag, flags);
      EXPECT_EQ(SkipCurrentFileFlag, flags);
    }
  }
  SaveAbortFlag = 0;
  SkipCurrentFileFlag = 0;
  EXPECT_TRUE(messages.shown.empty());
  EXPECT_EQ(SavedFileCount, 0u);
}

}  // namespace
}  // namespace save_test
