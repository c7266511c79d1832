// Reading a file system that an Extensive Scan found: against the Quick Scan of the same volume (itself
// checked against TSK), on two NTFS file systems with the same names, and on small hand-made directories,
// tables and record lists.
#include "engine/scan/chosen_fs.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <functional>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <thread>
#include <tuple>
#include <vector>

#include "engine/fat/fat_directory.h"
#include "engine/host/file_system_form_fakes.h"
#include "engine/host/result_tree_fakes.h"
#include "engine/host/shell_file_info_fakes.h"
#include "engine/records/extensive_lists.h"
#include "engine/records/scan_records.h"
#include "engine/listing/file_filter_table.h"
#include "engine/listing/results_listing.h"
#include "engine/scan/extensive_scan.h"
#include "engine/scan/extensive_test_support.h"
#include "engine/scan/quick_scan.h"
#include "platform/os/os.h"

namespace {

using extensive_test::Bytes;
using extensive_test::PutLe16;
using extensive_test::PutLe32;

// The form, whose status lines a test may act on (a stop request).
class HookedForm : public host::RecordingFileSystemForm {
 public:
  void SetStatusText(const std::u16string& text) override {
    RecordingFileSystemForm::SetStatusText(text);
    if (onStatus) onStatus(text);
  }
  std::function<void(const std::u16string&)> onStatus;
};

// A file or folder as the results show it: its path from the root, deleted mark and size.
using Item = std::tuple<std::string, uint32_t, uint64_t>;

class ChosenTest : public extensive_test::ExtensiveTest {
 protected:
  ChosenTest() {
    host::Hosts hosts = host::Current();
    hosts.resultTree = &resultTree;
    hosts.resultList = &resultList;
    hosts.shellFileInfo = &shell;
    hosts.fileSystemForm = &form;
    hosts.fileSystemView = &view;
    layer_ = std::make_unique<host::ScopedHosts>(hosts);
    CurrentFileSystem = FileSystemRecord{};
    SetFileFilters({});
  }
  ~ChosenTest() override {
    CurrentFileSystem = FileSystemRecord{};
    NtfsFoundFolderLister = nullptr;
  }

  // An Extensive Scan of the whole VHD for code, then page 3's choice of the file system whose first
  // sector is clusterBase; false when the scan found none there.
  bool ScanAndChoose(uint16_t code, uint32_t sectors, uint32_t clusterBase) {
    SetRange(code, 0, sectors);
    RunWorker();
    for (size_t i = 0; i < FoundFileSystemList.size(); ++i) {
      if (FoundFileSystemList[i].clusterBase != clusterBase) continue;
      CurrentFileSystem = FoundFileSystemList[i];
      CurrentFileSystem.id = static_cast<uint32_t>(i + 1);
      FreeScanRecordLists();
      return true;
    }
    return false;
  }

  // ScanThreadProc on a thread of its own, started as page 3 starts it.
  static void RunReader() {
    ScanThreadControl.stopFlag = 0;
    ScanThreadControl.runningFlag = 1;
    std::thread worker([] { ScanThreadProc(); });
    worker.join();
  }

  static void ExpectWorkerEnded() {
    EXPECT_EQ(ScanThreadControl.runningFlag.load(), 0u);
    EXPECT_EQ(ScanThreadControl.stopFlag.load(), 1u);
  }

  host::RecordingResultTree resultTree;
  host::RecordingResultList resultList;
  host::FixedShellFileInfo shell;
  HookedForm form;
  host::RecordingFileSystemView view;

 private:
  std::unique_ptr<host::ScopedHosts> layer_;
};

// The path of a folder from the root, by its parent ids; "?" when the chain does not reach the root.
template <typename Folder, typename IdOf>
std::string FolderPath(const records::RecordList<Folder>& folders, uint32_t id, uint32_t rootId, IdOf idOf) {
  std::string path;
  for (int depth = 0; depth < 64 && id != rootId; ++depth) {
    const Folder* found = nullptr;
    for (const Folder& f : folders) {
      if (idOf(f) == id) found = &f;
    }
    if (found == nullptr) return "?";
    path = "/" + os::ToUtf8(found->name) + path;
    id = found->parentId;
  }
  return id == rootId ? path : "?";
}

// Every folder and file of the FAT record lists, by path; names beginning "$" (NTFS metafiles) left out.
template <typename Folder, typename Entries, typename IdOf, typename Keep>
std::set<Item> Items(const records::RecordList<Folder>& folders, const Entries& entries, uint32_t rootId, IdOf idOf,
                     Keep keep) {
  std::set<Item> items;
  for (const Folder& f : folders) {
    if (f.name[0] != u'$') items.insert({FolderPath(folders, idOf(f), rootId, idOf), f.deleted != 0 ? 1u : 0u, 0});
  }
  for (const auto& e : entries) {
    if (!keep(e) || e.name[0] == u'$') continue;
    items.insert({FolderPath(folders, e.parentId, rootId, idOf) + "/" + os::ToUtf8(e.name), e.deleted != 0 ? 1u : 0u,
                  e.size});
  }
  return items;
}

std::set<Item> FatItems() {
  const auto clusterOf = [](const FatFolderRecord& f) { return f.firstCluster; };
  return Items(FatFolderList, FatEntryList, records::kFatRootId, clusterOf, [](const FatEntryRecord&) { return true; });
}

uint32_t RecordOf(const NtfsFolderRecord& f) { return f.recordNumber; }

std::u16string ChosenDisk(const std::string& name) {
  const std::string tsv = DORVANE_CHOSEN_DISKS;
  return os::FromUtf8(tsv.substr(0, tsv.find_last_of("/\\") + 1) + name);
}

const Item kLostDir{"/Lost Dir", 0, 0};

// mbr_primary.fixed.vhd: FAT32 at 67584 (cluster 0 at 68756), NTFS at 215040 (32768 sectors).
constexpr uint32_t kPrimarySectors = 251904;

TEST_F(ChosenTest, FatVolumeHoldsWhatQuickScanReads) {
  extensive_test::OpenedDisk disk(os::FromUtf8(std::string(DORVANE_SHARED_IMAGES) + "/mbr_primary.fixed.vhd"));
  ASSERT_TRUE(disk.opened());
  RecoveryMode = records::kQuickScan;
  SetRange(records::kFat32, 67584, 147456);
  std::thread([] { QuickScanThread(); }).join();
  const std::set<Item> quick = FatItems();
  ASSERT_GT(quick.size(), 20u);

  RecoveryMode = records::kExtensiveScan;
  ASSERT_TRUE(ScanAndChoose(records::kFat16, kPrimarySectors, 68756));
  resultTree.DeleteAllItems();
  RunReader();
  ExpectWorkerEnded();
  std::set<Item> chosen = FatItems();
  EXPECT_EQ(chosen.erase(kLostDir), 1u);
  EXPECT_EQ(chosen, quick);

  // The boot sector gave the tables' places: no search for them.
  const std::vector<std::u16string> steps = {u"Extracting entries for the selected file system ( Step 1/5 )...",
                                             u"Searching for orphan entries ( Step 2/5 )...", u"Step 4 / 5...",
                                             u"Please wait creating tree ( Step 5/5 )..."};
  EXPECT_EQ(form.statusTexts, steps);
  EXPECT_FALSE(view.stopShown);
  ASSERT_FALSE(resultTree.nodes.empty());
  EXPECT_EQ(resultTree.At(1).text, u"Root");
  EXPECT_EQ(resultTree.currentNode, 1u);
  // The root listed, without a "Parent..." row.
  ASSERT_GT(resultList.rows.size(), 0u);
  EXPECT_NE(resultList.rows[0].texts[0], u"Parent...");
}

TEST_F(ChosenTest, NtfsVolumeHoldsWhatQuickScanReads) {
  extensive_test::OpenedDisk disk(os::FromUtf8(std::string(DORVANE_SHARED_IMAGES) + "/mbr_primary.fixed.vhd"));
  ASSERT_TRUE(disk.opened());
  RecoveryMode = records::kQuickScan;
  SetRange(records::kNtfs, 215040, 32768);
  std::thread([] { QuickScanThread(); }).join();
  const auto all = [](const auto&) { return true; };
  const std::set<Item> quick = Items(NtfsFolderList, NtfsEntryList, records::kNtfsRootRecord, RecordOf, all);
  ASSERT_GT(quick.size(), 20u);

  RecoveryMode = records::kExtensiveScan;
  ASSERT_TRUE(ScanAndChoose(records::kNtfs, kPrimarySectors, 215040));
  RunReader();
  ExpectWorkerEnded();
  EXPECT_EQ(Items(NtfsFolderList, NtfsFoundEntryList, records::kNtfsRootRecord, RecordOf, InChosenFileSystem), quick);
  EXPECT_EQ(NtfsFoundFolderLister, &ListNtfsFoundFolder);
  EXPECT_EQ(form.statusTexts, (std::vector<std::u16string>{u"Extracting entries for the file system...",
                                                            u"Searching For Lost Data", u"Please wait creating tree"}));
}

TEST_F(ChosenTest, NtfsFileSystemsListOnlyTheRecordsInsideThem) {
  extensive_test::OpenedDisk disk(ChosenDisk("two_ntfs.fixed.vhd"));
  ASSERT_TRUE(disk.opened());
  std::vector<std::vector<std::u16string>> roots;
  for (uint32_t first : {2048u, 36864u}) {
    ASSERT_TRUE(ScanAndChoose(records::kNtfs, 71680, first));
    RunReader();
    ExpectWorkerEnded();
    std::vector<std::u16string> names;
    for (const auto& row : resultList.rows) {
      if (row.texts.size() < 6 || row.texts[1].find(u"Folder") != std::u16string::npos) continue;
      names.push_back(row.texts[0]);
      const uint32_t sector = static_cast<uint32_t>(std::stoul(os::ToUtf8(row.texts[5])));
      EXPECT_GT(sector, first) << os::ToUtf8(row.texts[0]);
      EXPECT_LT(sector, first + 32768) << os::ToUtf8(row.texts[0]);
    }
    EXPECT_TRUE(std::find(names.begin(), names.end(), u"small.txt") != names.end());
    roots.push_back(names);
  }
  // The same volume twice over: the same rows, each once.
  EXPECT_EQ(roots[0], roots[1]);
}

// A stop while the folders are extracted ends that step alone: the files are still read again through the map
// (their sizes from extension records, the mirror's copies as the MFT's own files), each once, as unstopped.
TEST_F(ChosenTest, StopWhileFoldersAreExtractedStillRereadsTheFiles) {
  extensive_test::OpenedDisk disk(os::FromUtf8(std::string(DORVANE_SHARED_IMAGES) + "/mbr_primary.fixed.vhd"));
  ASSERT_TRUE(disk.opened());
  std::multiset<std::pair<std::u16string, uint64_t>> whole;
  for (const bool stop : {false, true}) {
    ASSERT_TRUE(ScanAndChoose(records::kNtfs, kPrimarySectors, 215040));
    form.onStatus = [stop](const std::u16string& text) {
      if (stop && text == u"Extracting entries for the file system...") ScanThreadControl.stopFlag = 1;
    };
    RunReader();
    ExpectWorkerEnded();
    std::multiset<std::pair<std::u16string, uint64_t>> files;
    for (const NtfsFoundEntryRecord& e : NtfsFoundEntryList) {
      if (InChosenFileSystem(e)) files.insert({e.name, e.size});
    }
    if (!stop) whole = files;
    EXPECT_GT(files.size(), 20u);
    EXPECT_EQ(files, whole) << stop;
  }
}

// A stop while the lost data is gathered does not end that step: the files of the zeroed folder record are
// still in the tree, under their stand-in.
TEST_F(ChosenTest, StopWhileLostDataIsGatheredKeepsEveryFileInTheTree) {
  extensive_test::OpenedDisk disk(os::FromUtf8(std::string(DORVANE_SHARED_IMAGES) + "/dmg_ntfs_dirrec.fixed.vhd"));
  ASSERT_TRUE(disk.opened());
  ASSERT_TRUE(ScanAndChoose(records::kNtfs, 36864, 2048));
  form.onStatus = [](const std::u16string& text) {
    if (text == u"Searching For Lost Data") ScanThreadControl.stopFlag = 1;
  };
  RunReader();
  ExpectWorkerEnded();
  size_t files = 0;
  for (const NtfsFoundEntryRecord& e : NtfsFoundEntryList) {
    if (!InChosenFileSystem(e) || e.name[0] == u'$') continue;
    ++files;
    EXPECT_NE(FolderPath(NtfsFolderList, e.parentId, records::kNtfsRootRecord, RecordOf), "?") << os::ToUtf8(e.name);
  }
  EXPECT_GT(files, 10u);
}

// ---------------------------------------------------------------- hand-made directories

// A 32-byte short entry at index of sector (FAT16 unless high is given: the cluster's high half at 20).
void PutEntry(uint8_t* sector, uint32_t index, const char* name11, uint8_t attributes, uint32_t cluster,
              uint32_t size = 0) {
  uint8_t* e = sector + index * 32;
  std::memcpy(e, name11, 11);
  e[11] = attributes;
  e[20] = static_cast<uint8_t>(cluster >> 16);
  e[21] = static_cast<uint8_t>(cluster >> 24);
  e[26] = static_cast<uint8_t>(cluster);
  e[27] = static_cast<uint8_t>(cluster >> 8);
  std::memcpy(e + 28, &size, 4);
  e[24] = 0x21;  // write date 1-1-1980
}

// A long-name piece holding up to 13 ASCII characters, sequence number order (0x40 on the name's last), with
// the checksum of the short entry's 11 bytes name11.
void PutLongPiece(uint8_t* sector, uint32_t index, uint8_t order, const std::string& part, const char* name11) {
  uint8_t* e = sector + index * 32;
  e[13] = FatShortNameChecksum(reinterpret_cast<const uint8_t*>(name11));
  static const int kOffsets[13] = {1, 3, 5, 7, 9, 14, 16, 18, 20, 22, 24, 28, 30};
  for (int i = 0; i < 13; ++i) {
    const uint16_t c = i < static_cast<int>(part.size()) ? static_cast<uint8_t>(part[i])
                       : i == static_cast<int>(part.size()) ? 0 : 0xFFFF;
    e[kOffsets[i]] = static_cast<uint8_t>(c);
    e[kOffsets[i] + 1] = static_cast<uint8_t>(c >> 8);
  }
  e[0] = order;
  e[11] = 0x0F;
}

TEST_F(ChosenTest, DirectoryEntriesNameTheirFoldersAndListFiles) {
  CurrentFileSystem.type = records::kFat32;
  AppendFatFolder(u"Dir70000", 70000, 3, 0, 0, host::kNoTreeKey, 0);
  AppendFatFolder(u"Dir8", 8, 9, 0, 0, host::kNoTreeKey, 0);
  uint8_t buffer[1024] = {};
  uint8_t before[512] = {};
  // A long name whose first piece lies in the sector before.
  PutLongPiece(before, 15, 0x42, "he long name", "AFILEW~1TXT");
  PutLongPiece(buffer, 0, 0x01, "A file with t", "AFILEW~1TXT");
  PutEntry(buffer, 1, "AFILEW~1TXT", 0x20, 9, 40);
  PutEntry(buffer, 2, "SUB        ", 0x10, 70000);          // names the folder of cluster 70000 (parent 3)
  PutEntry(buffer, 3, "OTHER      ", 0x10, 8);              // cluster 8's folder lies under 9: not named
  PutEntry(buffer, 4, "BIGDIR     ", 0x10, 11, 512);        // a directory with a size is listed as a file
  PutEntry(buffer, 5, "\xE5OST    TXT", 0x20, 12, 7);       // deleted
  PutEntry(buffer, 6, "EMPTY   TXT", 0x20, 0, 0);           // an empty file: no cluster
  PutEntry(buffer, 7, "BAD?    TXT", 0x20, 13, 1);          // not a file name
  for (uint32_t i = 8; i < 16; ++i) PutEntry(buffer, i, "NOCLUST BIN", 0x20, 0, 5);  // bytes without a cluster
  PutEntry(buffer + 512, 0, "NEXT    BIN", 0x20, 14, 2);   // the second sector
  PutEntry(buffer + 512, 2, "AFTER   BIN", 0x20, 15, 2);   // after the end
  uint32_t end = 0;
  ParseFatFolderSectors(buffer, 3, &end, 2, 0, 0, FatSectorsBefore{before});
  EXPECT_EQ(end, 1u);
  EXPECT_EQ(FatFolderList[0].name, u"SUB");
  EXPECT_EQ(FatFolderList[1].name, u"Dir8");
  std::vector<std::tuple<std::u16string, uint32_t, uint32_t, uint32_t>> files;
  for (const FatEntryRecord& e : FatEntryList) files.emplace_back(e.name, e.firstCluster, e.parentId, e.deleted);
  const std::vector<std::tuple<std::u16string, uint32_t, uint32_t, uint32_t>> want = {
      {u"A file with the long name", 9, 3, 0}, {u"BIGDIR", 11, 3, 0}, {u"xOST.TXT", 12, 3, 1}, {u"EMPTY.TXT", 0, 3, 0},
      {u"NEXT.BIN", 14, 3, 0}};
  EXPECT_EQ(files, want);
  EXPECT_EQ(ScanCounters.entryCount, 5u);

  // In a deleted folder, from entry 2 on: every entry deleted, the folder it names too. One sector read: the
  // directory goes on.
  FreeScanRecordLists();
  AppendFatFolder(u"Dir70000", 70000, 3, 0, 0, host::kNoTreeKey, 0);
  end = 0;
  ParseFatFolderSectors(buffer, 3, &end, 1, 1, 2);
  EXPECT_EQ(end, 0u);
  EXPECT_EQ(FatFolderList[0].deleted, 1u);
  ASSERT_EQ(FatEntryList.size(), 3u);
  EXPECT_EQ(FatEntryList[0].name, u"BIGDIR");
  EXPECT_EQ(FatEntryList[0].deleted, 1u);
}

TEST_F(ChosenTest, ALongNameReachesBackThroughThePieceAndTheSectorBeforeIt) {
  CurrentFileSystem.type = records::kFat32;
  // 20 pieces of 13 characters: 3 in the sector before the piece, 16 in the piece's first sector, 1 in its
  // second, where the entry lies.
  std::string name;
  for (int i = 0; i < 260; ++i) name.push_back(static_cast<char>('a' + i % 26));
  uint8_t before[512] = {};
  uint8_t buffer[1024] = {};
  for (uint32_t piece = 1; piece <= 20; ++piece) {
    const uint32_t slot = 32 + 1 - piece;  // of before and buffer together
    uint8_t* sector = slot < 16 ? before : buffer + (slot - 16) / 16 * 512;
    const uint8_t order = static_cast<uint8_t>(piece | (piece == 20 ? 0x40 : 0));
    PutLongPiece(sector, slot % 16, order, name.substr((piece - 1) * 13, 13), "ABCDEF~1TXT");
  }
  PutEntry(buffer + 512, 1, "ABCDEF~1TXT", 0x20, 9, 40);
  uint32_t end = 0;
  ParseFatFolderSectors(buffer, 3, &end, 2, 0, 0, FatSectorsBefore{before});
  ASSERT_EQ(FatEntryList.size(), 1u);
  EXPECT_EQ(FatEntryList[0].name, std::u16string(name.begin(), name.begin() + 255));
  // Without the sector before, the run breaks off: the short name.
  FreeScanRecordLists();
  ParseFatFolderSectors(buffer, 3, &end, 2, 0, 0);
  ASSERT_EQ(FatEntryList.size(), 1u);
  EXPECT_EQ(FatEntryList[0].name, u"ABCDEF~1.TXT");
}

TEST_F(ChosenTest, MissingParentsGetStandIns) {
  AppendFatFolder(u"Dir10", 10, 0, 0, 0, host::kNoTreeKey, 0);
  AppendFatFolder(u"Dir11", 11, 10, 0, 0, host::kNoTreeKey, 0);
  AppendFatFolder(u"Dir12", 12, 40, 0, 0, host::kNoTreeKey, 0);
  AppendFatFolder(u"Dir13", 13, 40, 0, 0, host::kNoTreeKey, 0);
  AppendFatFolder(u"Dir14", 14, 41, 0, 0, host::kNoTreeKey, 0);
  CollectOrphanFatFolders();
  std::vector<std::tuple<std::u16string, uint32_t, uint32_t>> fat;
  for (const FatFolderRecord& f : FatFolderList) fat.emplace_back(f.name, f.firstCluster, f.parentId);
  const std::vector<std::tuple<std::u16string, uint32_t, uint32_t>> wantFat = {
      {u"Dir10", 10, 0}, {u"Dir11", 11, 10}, {u"Dir12", 12, 40}, {u"Dir13", 13, 40}, {u"Dir14", 14, 41},
      {u"Lost Dir", records::kLostDirId, 0}, {u"Dir40", 40, records::kLostDirId}, {u"Dir41", 41, records::kLostDirId}};
  EXPECT_EQ(fat, wantFat);

  RecoveryMode = records::kExtensiveScan;
  AppendNtfsFolder(u"a", 64, 5, 0, 0, host::kNoTreeKey, 0);
  AppendNtfsFolder(u"b", 65, 90, 0, 0, host::kNoTreeKey, 1);
  AppendNtfsFolder(u"c", 66, 90, 0, 0, host::kNoTreeKey, 0);
  AppendNtfsFolder(u"d", 67, 64, 0, 0, host::kNoTreeKey, 0);
  AppendNtfsFolder(u"e", 68, 91, 0, 0, host::kNoTreeKey, 0);
  // Files of the chosen file system (sectors 1000 to 2000) whose folder is gone get stand-ins too, after the
  // folders'; a file outside it does not.
  CurrentFileSystem.clusterBase = 1000;
  CurrentFileSystem.lastSector = 2000;
  AppendNtfsFoundEntry(u"in root", 1100, 5, 70, 0, 0, 1, 1, 0);
  AppendNtfsFoundEntry(u"in a", 1102, 64, 71, 0, 0, 1, 1, 0);
  AppendNtfsFoundEntry(u"beside b", 1104, 90, 72, 0, 0, 1, 1, 0);
  AppendNtfsFoundEntry(u"lost", 1106, 93, 73, 0, 0, 1, 1, 1);
  AppendNtfsFoundEntry(u"lost too", 1108, 93, 74, 0, 0, 1, 1, 0);
  AppendNtfsFoundEntry(u"elsewhere", 2002, 94, 75, 0, 0, 1, 2, 0);
  AppendNtfsFoundEntry(u"last lost", 2000, 95, 76, 0, 0, 1, 1, 0);
  uint32_t counter = 0;
  CollectLostFoundNtfsFolders(counter);
  EXPECT_EQ(counter, 4u);
  std::vector<std::tuple<std::u16string, uint32_t, uint32_t>> ntfs;
  for (const NtfsFolderRecord& f : NtfsFolderList) ntfs.emplace_back(f.name, f.recordNumber, f.parentId);
  const std::vector<std::tuple<std::u16string, uint32_t, uint32_t>> wantNtfs = {
      {u"a", 64, 5},         {u"b", 65, 90},
      {u"c", 66, 90},        {u"d", 67, 64},
      {u"e", 68, 91},        {u"Lost Dir", records::kLostDirId, 5},
      {u"Dir0", 90, records::kLostDirId}, {u"Dir1", 91, records::kLostDirId},
      {u"Dir2", 93, records::kLostDirId}, {u"Dir3", 95, records::kLostDirId}};
  EXPECT_EQ(ntfs, wantNtfs);
}

// Sectors of a hand-made source, read as a logical drive.
Bytes Sectors(uint32_t count) { return Bytes(size_t{count} * 512, 0); }
// The first sector of a table copy: the media byte and the two reserved entries (FAT16 F8 FF FF FF, FAT32 F8 FF FF 0F
// FF FF FF 0F, or as small devices write FAT32's, F8 FF FF FF FF FF FF FF).
void MarkTable(Bytes& bytes, uint32_t sector, uint8_t media = 0xF8, bool fat32 = false, bool device = false) {
  const uint8_t top = device ? 0xFF : 0x0F;
  const uint8_t start[] = {media, 0xFF, 0xFF, static_cast<uint8_t>(fat32 ? top : 0xFF), 0xFF, 0xFF, 0xFF, top};
  std::copy(start, start + (fat32 ? 8 : 4), bytes.begin() + sector * 512);
}

// A table sector whose entries all end a chain (a folder of small files written in a row): FF FF FF 0F ... on FAT32,
// FF FF ... on FAT16. It begins like a table with media byte FF, which none has.
void EndAllChains(Bytes& bytes, uint32_t sector, bool fat32) {
  for (uint32_t i = 0; i < 512; ++i) bytes[sector * 512 + i] = fat32 && i % 4 == 3 ? 0x0F : 0xFF;
}

// The tables are the pair of like copies whose second lies one table length after the first and is followed by
// the data area (cluster 2), past the FAT16 root directory: first + 2 x length (+ root) = cluster base + 2 x
// sectors per cluster. Every other sector that begins like a table (with other entries) is a decoy.
TEST_F(ChosenTest, AllocationTablesAreThePairThatFitsTheVolume) {
  struct Case {
    const char* what;
    uint16_t type;
    uint32_t clusterBase, perCluster;
    std::vector<uint32_t> marks;
    uint32_t previousEnd;                   // the last sector of a file system found before, 0 none
    uint32_t first, second, perFat, root;  // all 0: nothing changes
    uint32_t rootSectors;
    uint8_t media = 0xF8;
    bool copiesDiffer = false;        // an entry of the second copy's first sector written to it alone
    std::vector<uint32_t> alike = {};  // sectors holding the same entries
    std::vector<uint32_t> ended = {};  // table sectors whose entries all end a chain
    bool device = false;               // FAT32's first sectors as small devices write them
  };
  const Case cases[] = {
      {"decoys before and between", records::kFat16, 700, 1, {120, 200, 300, 435, 500}, 0, 200, 435, 235, 670, 32},
      {"a volume at sector 0", records::kFat16, 162, 1, {2, 67}, 0, 2, 67, 65, 132, 32},
      {"a root of 64 sectors", records::kFat16, 700, 4, {150, 397}, 0, 150, 397, 247, 644, 64},
      {"a sector inside the first copy that begins like one", records::kFat16, 700, 1, {200, 210, 435, 445}, 0, 200,
       435, 235, 670, 32},
      {"another volume's pair first", records::kFat32, 30700, 1, {650, 1200, 702, 15702}, 0, 702, 15702, 15000, 0, 0},
      {"tables longer than 30,000 sectors", records::kFat32, 40000, 1, {4, 20003}, 0, 4, 20003, 19999, 0, 0},
      {"tables at the cluster base (64-sector clusters)", records::kFat16, 1000, 64, {1000, 1048}, 0, 1000, 1048,
       48, 1096, 32},
      {"a pair that fits, inside the volume before", records::kFat16, 700, 1, {100, 385}, 500, 0, 0, 0, 0, 0},
      // A lone copy with nothing after its first sector serves as both.
      {"the second copy missing, its first sector alone", records::kFat16, 700, 1, {200}, 0, 200, 200, 235, 670, 32},
      {"a FAT32 pair that leaves a gap before the data: the nearer sector alone", records::kFat32, 700, 1,
       {200, 264}, 0, 264, 264, 219, 0, 0},
      {"no table", records::kFat16, 700, 1, {}, 0, 0, 0, 0, 0, 0},
      {"copies that differ in their first sector", records::kFat16, 700, 1, {120, 200, 435}, 0, 200, 435, 235, 670,
       32, 0xF8, true},
      {"a nearer pair whose copies differ, a farther one alike", records::kFat16, 700, 1, {200, 300, 435, 469}, 0, 200,
       435, 235, 670, 32},
      {"FAT32 copies that differ", records::kFat32, 30700, 1, {702, 15702}, 0, 702, 15702, 15000, 0, 0, 0xF8, true},
      {"a 1.44 MB floppy: media F0, a root of 224 entries", records::kFat16, 31, 1, {1, 10}, 0, 1, 10, 9, 19, 14,
       0xF0},
      {"a 720 KB floppy: media F9, a root of 112 entries", records::kFat16, 10, 2, {1, 4}, 0, 1, 4, 3, 7, 7, 0xF9},
      {"two sectors of chains' ends nearer the data", records::kFat32, 30700, 1, {702, 15702}, 0, 702, 15702, 15000,
       0, 0, 0xF8, false, {}, {16000, 23351}},
      {"FAT16 sectors of chains' ends nearer the data", records::kFat16, 700, 1, {200, 435}, 0, 200, 435, 235, 670, 32,
       0xF8, false, {}, {500, 585}},
      {"the first copy's first sector lost", records::kFat16, 700, 1, {435}, 0, 200, 435, 235, 670, 32, 0xF8, false,
       {201, 202, 436, 437}},
      {"the second copy's first sector lost", records::kFat16, 700, 1, {200}, 0, 200, 435, 235, 670, 32, 0xF8, false,
       {201, 202, 436, 437}},
      {"FAT32: the first copy's first sector lost", records::kFat32, 30700, 1, {15702}, 0, 702, 15702, 15000, 0, 0,
       0xF8, false, {703, 15703}},
      {"a lone first sector whose neighbours differ", records::kFat16, 700, 1, {435}, 0, 0, 0, 0, 0, 0, 0xF8, false,
       {201, 437}},
      {"FAT32 tables as a camera writes them", records::kFat32, 30700, 1, {702, 15702}, 0, 702, 15702, 15000, 0, 0,
       0xF8, false, {}, {}, true},
      {"FAT32 tables as a camera writes them, the first copy's first sector lost", records::kFat32, 30700, 1, {15702},
       0, 702, 15702, 15000, 0, 0, 0xF8, false, {703, 15703}, {}, true},
  };
  for (const Case& c : cases) {
    const bool fat32 = c.type == records::kFat32;
    Bytes bytes = Sectors(c.clusterBase + 2 * c.perCluster + 8);
    for (uint32_t sector : c.marks) {
      MarkTable(bytes, sector, c.media, fat32, c.device);
      // Only the two copies of the volume's table are alike, and the sectors at one distance inside them.
      const uint32_t inside = c.second != 0 && sector > c.second ? sector - c.second + c.first : sector;
      if (sector != c.first && sector != c.second) bytes[sector * 512 + 12] = static_cast<uint8_t>(inside % 255 + 1);
    }
    for (uint32_t sector : c.alike) bytes[sector * 512 + 40] = 0x33;
    for (uint32_t sector : c.ended) EndAllChains(bytes, sector, fat32);
    if (c.copiesDiffer) bytes[c.second * 512 + 13] = 0x5A;
    extensive_test::MappedDrive drive(bytes);
    FreeExtensiveScanLists();
    if (c.previousEnd != 0) {
      FileSystemRecord previous;
      previous.clusterBase = 10;
      previous.lastSector = c.previousEnd;
      FoundFileSystemList.Append(previous);
    }
    SetRange(c.type, 0, static_cast<uint32_t>(bytes.size() / 512));
    CurrentFileSystem = FileSystemRecord{};
    CurrentFileSystem.type = c.type;
    CurrentFileSystem.clusterBase = c.clusterBase;
    CurrentFileSystem.sectorsPerCluster = c.perCluster;
    FindFatCopies();
    EXPECT_EQ(CurrentFileSystem.firstFatSector, c.first) << c.what;
    EXPECT_EQ(CurrentFileSystem.secondFatSector, c.second) << c.what;
    EXPECT_EQ(CurrentFileSystem.sectorsPerFat, c.perFat) << c.what;
    EXPECT_EQ(CurrentFileSystem.rootDirectory, c.root) << c.what;
    EXPECT_EQ(CurrentFileSystem.rootDirectorySectors, c.rootSectors) << c.what;
  }
}

// A FAT16 file system without a boot sector, one sector per cluster, cluster 0 at sector 100: both tables
// at 38 and 54 (16 sectors each, the least a FAT16 table has), the root at 70; folders: cluster 3 (GOOD), 4 (whose sector lacks "." and
// ".."), 30 (past the end of the source) and a cluster no sector number reaches.
class HandMadeFat : public ChosenTest {
 protected:
  HandMadeFat() : bytes_(Sectors(120)) {
    for (uint32_t table : {38u, 54u}) {
      MarkTable(bytes_, table);
      PutLe16(bytes_, table * 512 + 6, 0xFFFF);  // cluster 3: one cluster
    }
    uint8_t* root = &bytes_[70 * 512];
    PutEntry(root, 0, "GOOD       ", 0x10, 3);
    PutEntry(root, 1, "NODOTS     ", 0x10, 4);
    PutEntry(root, 2, "ROOT    TXT", 0x20, 5, 10);
    uint8_t* good = &bytes_[103 * 512];
    PutEntry(good, 0, ".          ", 0x10, 3);
    PutEntry(good, 1, "..         ", 0x10, 0);
    PutEntry(good, 2, "INSIDE  TXT", 0x20, 6, 20);
    PutEntry(&bytes_[104 * 512], 0, "LOOSE   TXT", 0x20, 7, 30);
    for (uint32_t cluster : {3u, 4u, 30u, 0xF0000000u}) AppendDirSectorCandidate(100 + cluster, cluster, 0, 0, 0);
    AppendDirSectorCandidate(200, 9, 0, 0, 0);
    for (size_t i = 0; i < DirSectorCandidateList.size(); ++i) DirSectorCandidateList[i].mark = i < 4 ? 1 : 2;
    SetRange(records::kFat16, 0, 120);
    CurrentFileSystem.type = records::kFat16;
    CurrentFileSystem.sectorsPerCluster = 1;
    CurrentFileSystem.clusterBase = 100;
    CurrentFileSystem.id = 1;
    drive_ = std::make_unique<extensive_test::MappedDrive>(bytes_);
  }

  Bytes bytes_;
  std::unique_ptr<extensive_test::MappedDrive> drive_;
};

TEST_F(HandMadeFat, FoldersAreReadWhereTheirSectorsAllowIt) {
  RunReader();
  ExpectWorkerEnded();
  EXPECT_EQ(CurrentFileSystem.firstFatSector, 38u);
  EXPECT_EQ(CurrentFileSystem.rootDirectory, 70u);
  const std::set<Item> want = {{"/GOOD", 0, 0},         {"/GOOD/INSIDE.TXT", 0, 20}, {"/NODOTS", 0, 0},
                               {"/Dir30", 0, 0},        {"/Dir4026531840", 0, 0},    {"/ROOT.TXT", 0, 10},
                               {"/Lost Dir", 0, 0}};
  EXPECT_EQ(FatItems(), want);
  EXPECT_EQ(form.statusTexts[2], u"Searching for lost FAT fragments ( Step 3/5 )...");
  // The tree: Root, then its folders in list order.
  std::vector<std::u16string> nodes;
  for (const auto& node : resultTree.nodes) nodes.push_back(node.text);
  EXPECT_EQ(nodes, (std::vector<std::u16string>{u"Root", u"GOOD", u"NODOTS", u"Dir30", u"Dir4026531840", u"Lost Dir"}));
}

// A folder renamed in place keeps its cluster under a new entry and leaves its old entry behind, deleted: the
// live entry names it whether it comes before the old one (GOOD) or after it (SECOND), and its files stay live.
// A folder named only by a deleted entry (SUB, in TOP) gives its files its deleted mark, as Quick Scan does, also
// when its cluster lies below its parent's, so that the candidates put it first.
TEST_F(HandMadeFat, LiveEntriesNameFoldersAndDeletedOnesMarkTheirFiles) {
  for (uint32_t table : {64u, 74u}) {
    for (uint32_t cluster : {12u, 13u}) PutLe16(bytes_, table * 512 + cluster * 2, 0xFFFF);
  }
  uint8_t* root = &bytes_[70 * 512];
  PutEntry(root, 3, "\xE5OOD       ", 0x10, 3);
  PutEntry(root, 4, "\xE5" "ECOND     ", 0x10, 13);
  PutEntry(root, 5, "SECOND     ", 0x10, 13);
  PutEntry(root, 6, "TOP        ", 0x10, 12);
  const struct {
    uint32_t cluster, parent;
    const char* entry;
    uint32_t entryCluster, size;
  } folders[] = {{11, 12, "KEEP    TXT", 14, 5}, {12, 0, "\xE5UB        ", 11, 0}, {13, 0, "MINE    TXT", 15, 6}};
  for (const auto& f : folders) {
    uint8_t* sector = &bytes_[(100 + f.cluster) * 512];
    PutEntry(sector, 0, ".          ", 0x10, f.cluster);
    PutEntry(sector, 1, "..         ", 0x10, f.parent);
    PutEntry(sector, 2, f.entry, f.size == 0 ? 0x10 : 0x20, f.entryCluster, f.size);
    AppendDirSectorCandidate(100 + f.cluster, f.cluster, f.parent, 0, 0);
    DirSectorCandidateList[DirSectorCandidateList.size() - 1].mark = 1;
  }
  drive_.reset();
  drive_ = std::make_unique<extensive_test::MappedDrive>(bytes_);
  RunReader();
  ExpectWorkerEnded();
  const std::set<Item> items = FatItems();
  for (const Item& want : std::set<Item>{{"/GOOD", 0, 0},
                                         {"/GOOD/INSIDE.TXT", 0, 20},
                                         {"/SECOND", 0, 0},
                                         {"/SECOND/MINE.TXT", 0, 6},
                                         {"/TOP", 0, 0},
                                         {"/TOP/xUB", 1, 0},
                                         {"/TOP/xUB/KEEP.TXT", 1, 5}}) {
    EXPECT_EQ(items.count(want), 1u) << std::get<0>(want) << " deleted " << std::get<1>(want);
  }
}

// Clusters that begin with directory entries but that no folder's chain reaches are read under "Lost Dir" unless a
// file holds them: a live disk image (IMAGE.IMG, chained 10, 12, 14) keeps its own folders' sectors, and so does a
// deleted one that begins with a boot sector (BACKUP.IMG, 15 to 17) as far as the tables leave its clusters free. What
// lies between the image's clusters (11), after the deleted one where a table gives a cluster out again (17), and in
// a deleted file that is no image (PLAIN.TXT, 18) is read. A file system found inside the image (its tables at 112)
// does not end the volume there.
TEST_F(HandMadeFat, FilesHoldTheirClustersAgainstLostFolders) {
  for (uint32_t table : {38u, 54u}) {
    for (const auto& [cluster, next] : {std::pair{10, 12}, {12, 14}, {14, 0xFFFF}, {17, 0xFFFF}}) {
      PutLe16(bytes_, table * 512 + cluster * 2, static_cast<uint16_t>(next));
    }
  }
  uint8_t* root = &bytes_[70 * 512];
  PutEntry(root, 3, "IMAGE   IMG", 0x20, 10, 3 * 512);
  PutEntry(root, 4, "\xE5" "ACKUP  IMG", 0x20, 15, 3 * 512);
  PutEntry(root, 5, "\xE5LAIN   TXT", 0x20, 18, 512);
  bytes_[115 * 512 + 510] = 0x55;
  bytes_[115 * 512 + 511] = 0xAA;
  const std::pair<uint32_t, const char*> sectors[] = {{111, "LOST    TXT"}, {112, "PHANTOM1TXT"}, {114, "PHANTOM2TXT"},
                                                      {116, "PHANTOM3TXT"}, {117, "AFTER   TXT"}, {118, "KEPT    TXT"}};
  for (const auto& [sector, name] : sectors) {
    PutEntry(&bytes_[sector * 512], 0, name, 0x20, 5, 100);
    PutEntry(&bytes_[sector * 512], 1, "SECOND  TXT", 0x20, 6, 100);
    DirEntrySectorList.Append(DirEntrySectorCandidate{sector});
  }
  FileSystemRecord inside;
  inside.clusterBase = 113;
  inside.firstFatSector = 112;
  FoundFileSystemList.Append(inside);
  drive_.reset();
  drive_ = std::make_unique<extensive_test::MappedDrive>(bytes_);
  RunReader();
  ExpectWorkerEnded();
  std::set<std::string> lost;
  for (const Item& item : FatItems()) {
    if (std::get<0>(item).rfind("/Lost Dir/", 0) == 0) lost.insert(std::get<0>(item).substr(10));
  }
  EXPECT_EQ(lost, (std::set<std::string>{"LOST.TXT", "AFTER.TXT", "KEPT.TXT", "SECOND.TXT"}));
}

TEST_F(HandMadeFat, ClusterSizeNoVolumeHasReadsNothing) {
  CurrentFileSystem.sectorsPerCluster = 3;
  RunReader();
  ExpectWorkerEnded();
  EXPECT_TRUE(FatEntryList.empty());
  EXPECT_EQ(FatFolderList.size(), 5u);
}

TEST_F(HandMadeFat, UnreadableSectorsGiveNoContents) {
  // The source ends before the clusters: reads there fail and give zeros.
  drive_.reset();
  Bytes shorter(bytes_.begin(), bytes_.begin() + 100 * 512);
  drive_ = std::make_unique<extensive_test::MappedDrive>(shorter);
  RunReader();
  ExpectWorkerEnded();
  ASSERT_EQ(FatEntryList.size(), 1u);
  EXPECT_EQ(FatEntryList[0].name, u"ROOT.TXT");
}

TEST_F(HandMadeFat, StopEndsTheStepButTheTreeIsStillBuilt) {
  form.onStatus = [](const std::u16string& text) {
    if (text == u"Step 4 / 5...") ScanThreadControl.stopFlag = 1;
  };
  RunReader();
  ExpectWorkerEnded();
  EXPECT_TRUE(FatEntryList.empty());
  EXPECT_EQ(resultTree.nodes.size(), 6u);
}

// A stop ends the step it comes in, and only that one: the orphan folder (cluster 8, under a parent cluster 50 that
// no folder has) keeps its place under "Lost Dir", and the folders extracted before the stop are read. Every file
// listed is one the unstopped reading lists (its folders' names may be missing when the search for the tables
// was stopped: the root then goes unread).
TEST_F(HandMadeFat, StopEndsTheStepItComesInAndTheStepsAfterItStillRun) {
  for (uint32_t table : {38u, 54u}) PutLe16(bytes_, table * 512 + 16, 0xFFFF);  // cluster 8: one cluster
  PutEntry(&bytes_[108 * 512], 0, ".          ", 0x10, 8);
  PutEntry(&bytes_[108 * 512], 1, "..         ", 0x10, 50);
  PutEntry(&bytes_[108 * 512], 2, "ORPHAN  TXT", 0x20, 9, 40);
  drive_.reset();
  drive_ = std::make_unique<extensive_test::MappedDrive>(bytes_);
  AppendDirSectorCandidate(108, 8, 50, 0, 0).mark = 1;
  const FileSystemRecord chosen = CurrentFileSystem;
  // The files of a tree: (name, deleted, size).
  const auto files = [](const std::set<Item>& items) {
    std::set<Item> out;
    for (const auto& [path, deleted, size] : items) {
      if (size != 0) out.insert({path.substr(path.rfind('/') + 1), deleted, size});
    }
    return out;
  };
  std::set<Item> whole;
  for (const char16_t* step : {u"", u"Extracting entries for the selected file system ( Step 1/5 )...",
                               u"Searching for orphan entries ( Step 2/5 )...",
                               u"Searching for lost FAT fragments ( Step 3/5 )..."}) {
    SCOPED_TRACE(os::ToUtf8(step));
    FreeScanRecordLists();
    CurrentFileSystem = chosen;
    form.onStatus = [step](const std::u16string& text) {
      if (text == step) ScanThreadControl.stopFlag = 1;
    };
    RunReader();
    ExpectWorkerEnded();
    const std::set<Item> items = FatItems();
    for (const Item& item : items) EXPECT_EQ(std::get<0>(item).find('?'), std::string::npos) << std::get<0>(item);
    if (*step == 0) {
      whole = items;
      EXPECT_EQ(whole.count({"/Lost Dir/Dir50/Dir8/ORPHAN.TXT", 0, 40}), 1u);
      continue;
    }
    const std::set<Item> listed = files(items), all = files(whole);
    EXPECT_FALSE(listed.empty());
    EXPECT_TRUE(std::includes(all.begin(), all.end(), listed.begin(), listed.end()));
    // Once the folders are extracted, the orphan keeps its place.
    if (std::u16string_view(step).find(u"Step 1/5") == std::u16string_view::npos) {
      EXPECT_EQ(items.count({"/Lost Dir/Dir50/Dir8/ORPHAN.TXT", 0, 40}), 1u);
    }
    // The table search still runs after a stop in a step before it, and the root is read at the place it gives.
    if (std::u16string_view(step).find(u"Step 3/5") == std::u16string_view::npos) {
      EXPECT_EQ(items.count({"/ROOT.TXT", 0, 10}), 1u);
    }
  }
}

// A FAT16 folder at cluster 3 whose chain runs through 150 clusters, one sector of 16 files each (cluster 0 at
// sector 100, tables at 38 and 54): the whole chain is read, and a chain whose last cluster leads back to its
// first is read once.
TEST_F(ChosenTest, FolderChainsAreReadWholeAndALoopOnce) {
  constexpr uint32_t kFirst = 3, kLast = 152;
  for (const bool loop : {false, true}) {
    ResetScanState();
    Bytes bytes = Sectors(100 + kLast + 1);
    for (uint32_t table : {38u, 54u}) {
      MarkTable(bytes, table);
      for (uint32_t c = kFirst; c < kLast; ++c) PutLe16(bytes, table * 512 + c * 2, static_cast<uint16_t>(c + 1));
      PutLe16(bytes, table * 512 + kLast * 2, loop ? kFirst : 0xFFFF);
    }
    PutEntry(&bytes[70 * 512], 0, "LONG       ", 0x10, kFirst);
    for (uint32_t c = kFirst; c <= kLast; ++c) {
      uint8_t* sector = &bytes[(100 + c) * 512];
      if (c == kFirst) {
        PutEntry(sector, 0, ".          ", 0x10, kFirst);
        PutEntry(sector, 1, "..         ", 0x10, 0);
      }
      for (uint32_t i = c == kFirst ? 2 : 0; i < 16; ++i) {
        char name[12];
        std::snprintf(name, sizeof name, "F%03u%02u  TXT", c, i);
        PutEntry(sector, i, name, 0x20, 500, 1);
      }
    }
    AppendDirSectorCandidate(100 + kFirst, kFirst, 0, 0, 0);
    DirSectorCandidateList[0].mark = 1;
    SetRange(records::kFat16, 0, 100 + kLast + 1);
    CurrentFileSystem = FileSystemRecord{};
    CurrentFileSystem.type = records::kFat16;
    CurrentFileSystem.sectorsPerCluster = 1;
    CurrentFileSystem.clusterBase = 100;
    CurrentFileSystem.id = 1;
    extensive_test::MappedDrive drive(bytes);
    RunReader();
    ExpectWorkerEnded();
    std::multiset<std::u16string> names;
    for (const FatEntryRecord& e : FatEntryList) {
      if (e.parentId == kFirst) names.insert(e.name);
    }
    EXPECT_EQ(names.size(), (kLast - kFirst + 1) * 16 - 2) << loop;
    EXPECT_EQ(std::set<std::u16string>(names.begin(), names.end()).size(), names.size()) << loop;
    EXPECT_EQ(names.count(u"F15215.TXT"), 1u) << loop;
  }
}

TEST_F(ChosenTest, EveryEndLeavesRunningZeroAndStopOne) {
  for (uint16_t type : {uint16_t{0}, uint16_t{400}, records::kFat16, records::kNtfs}) {
    CurrentFileSystem = FileSystemRecord{};
    CurrentFileSystem.type = type;  // no number: no candidate is taken
    AppendDirSectorCandidate(300, 5, 0, 0, 0);
    RunReader();
    ExpectWorkerEnded();
    EXPECT_TRUE(FatEntryList.empty());
    EXPECT_LE(FatFolderList.size(), 1u);  // "Lost Dir" alone
  }
}

TEST_F(ChosenTest, FoundFolderListsItsFilesInsideTheFileSystem) {
  CurrentFileSystem.type = records::kNtfs;
  CurrentFileSystem.clusterBase = 1000;
  CurrentFileSystem.lastSector = 2000;
  AppendNtfsFolder(u"Sub", 64, 70, 0, 0, 17, 1);
  AppendNtfsFolder(u"Elsewhere", 65, 5, 0, 0, 18, 0);
  for (uint32_t sector : {999u, 1000u, 1001u, 2000u, 2001u}) {
    AppendNtfsFoundEntry(u"f" + os::FromAscii(std::to_string(sector)) + u".txt", sector, 70, 0, 0, 0, sector, 0,
                         sector == 2000 ? 1 : 0);
  }
  AppendNtfsFoundEntry(u"picture.jpg", 1500, 70, 0, 0, 0, 9, 0, 0);
  AppendNtfsFoundEntry(u"other.txt", 1500, 71, 0, 0, 0, 9, 0, 0);
  ListNtfsFoundFolder(70);
  // Name, type, size and id (the times are FormatFileTime's).
  std::vector<std::u16string> lines;
  for (uint32_t row = 0; row < resultList.GetItemCount(); ++row) {
    std::u16string line;
    for (uint32_t column : {0u, 1u, 2u, 5u}) line += resultList.GetItemText(row, column) + u"|";
    lines.push_back(line);
  }
  // Both ends of the file system are inside it.
  const std::vector<std::u16string> want = {u"Parent...||||", u"Sub|Deleted Folder|0|17|",
                                            u"f1000.txt|Text Document|1000|1000|",
                                            u"f1001.txt|Text Document|1001|1001|",
                                            u"f2000.txt|Deleted Text Document|2000|2000|",
                                            u"picture.jpg|JPEG Image|9|1500|"};
  EXPECT_EQ(lines, want);

  // The file filters keep files out, never folders; the root has no "Parent..." row.
  ASSERT_TRUE(SetFileFilters({u"*.TXT"}));
  ListNtfsFoundFolder(70);
  EXPECT_EQ(resultList.GetItemCount(), 5u);
  ListNtfsFoundFolder(records::kNtfsRootRecord);
  ASSERT_EQ(resultList.GetItemCount(), 1u);
  EXPECT_EQ(resultList.rows[0].texts[0], u"Elsewhere");
}

}  // namespace
