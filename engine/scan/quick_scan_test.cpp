#include "engine/scan/quick_scan.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>

#include "engine/fat/fat_chain.h"
#include "engine/image/byte_order.h"
#include "engine/image/source_values.h"
#include "engine/ntfs/mft_map.h"
#include "engine/records/scan_records.h"
#include "engine/scan/quick_scan_test_support.h"
#include "engine/scan/scan_end.h"
#include "engine/scan/scan_test_support.h"
#include "platform/os/os.h"

namespace {

using quick_test::Bytes;

class QuickScanWorkerTest : public quick_test::QuickScanTest {
 protected:
  // Every worker, whichever way it leaves, ends with running 0 and stop 1.
  void ExpectEnded() {
    EXPECT_EQ(ScanThreadControl.runningFlag.load(), 0u);
    EXPECT_EQ(ScanThreadControl.stopFlag.load(), 1u);
  }

  // The worker reported that it cannot scan, and the page is idle again without showing results.
  void ExpectAbandoned(const std::u16string& text) {
    ExpectEnded();
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text, text);
    EXPECT_EQ(messages.shown[0].kind, host::kError);
    EXPECT_FALSE(page.timerArmed);
    EXPECT_TRUE(page.navigationEnabled);
    EXPECT_FALSE(page.stopShown);
    EXPECT_TRUE(tree.nodes.empty());
  }

  // The results tree was built under "Root" and the page was left to its timer.
  void ExpectResults() {
    ExpectEnded();
    EXPECT_TRUE(messages.shown.empty());
    ASSERT_FALSE(tree.nodes.empty());
    EXPECT_EQ(tree.At(1).text, u"Root");
    EXPECT_EQ(tree.At(1).image, host::TreeImage::kDrive);
    EXPECT_TRUE(tree.At(1).expanded);
    EXPECT_EQ(tree.currentNode, 1u);
    EXPECT_EQ(list.reportViewCount, 1u);
    EXPECT_TRUE(page.timerArmed);
    EXPECT_TRUE(page.busy);
    EXPECT_FALSE(page.navigationEnabled);
    EXPECT_FALSE(page.stopShown);
    EXPECT_EQ(panel.counterLabelsShown, 1u);
  }

  bool StatusShown(const std::u16string& text) const {
    return std::find(panel.statusTexts.begin(), panel.statusTexts.end(), text) != panel.statusTexts.end();
  }
};

TEST_F(QuickScanWorkerTest, FatVolumeOfADiskGivesItsTree) {
  quick_test::SharedDisk disk("mbr_primary.fixed.vhd");
  SetRange(100, 2048, 65536);
  EXPECT_EQ(RunWorker(), 1u);
  ExpectResults();
  EXPECT_TRUE(StatusShown(u"Please wait, Searching for Data..."));
  EXPECT_TRUE(StatusShown(u"Please wait creating tree"));
  EXPECT_EQ(CurrentFileSystem.firstFatSector, 2048u + 4);
  EXPECT_GT(FatEntryList.size(), 20u);
  // Every folder record became a node.
  for (const FatFolderRecord& folder : FatFolderList) EXPECT_NE(folder.treeKey, host::kNoTreeKey) << os::ToUtf8(folder.name);
}

TEST_F(QuickScanWorkerTest, BareRawVolumeReadAsALogicalDrive) {
  quick_test::MappedDrive drive(scan_test::SharedImage("ntfs_512.raw"), page);
  SetRange(300, 2048, 32768);  // a logical drive starts at its own sector 0
  EXPECT_EQ(RunWorker(), 1u);
  ExpectResults();
  EXPECT_EQ(ScanRange.startSector, 0u);
  EXPECT_TRUE(StatusShown(u"Please wait creating tree..."));
  EXPECT_NE(FindNtfsFolder(records::kLostDirId), nullptr);
}

TEST_F(QuickScanWorkerTest, LogicalDriveThatDoesNotOpenIsReported) {
  SourceKind = kSourceLogicalDrive;  // and the page names no drive
  SetRange(100, 0, 65536);
  EXPECT_EQ(RunWorker(), 0u);
  ExpectAbandoned(kDriveNotOpened);
  EXPECT_EQ(PartitionParametersFailed.load(), 0u);
}

TEST_F(QuickScanWorkerTest, NoParametersAreReportedAndEndTheScan) {
  for (uint16_t code : {uint16_t{100}, uint16_t{200}, uint16_t{300}}) {
    SCOPED_TRACE(code);
    messages.shown.clear();
    page.timerArmed = true;
    quick_test::SharedDisk disk("mbr_primary.fixed.vhd");
    SetRange(code, 247808, 2048);  // the blank partition
    EXPECT_EQ(RunWorker(), 0u);
    ExpectAbandoned(kPartitionParametersNotFound);
    EXPECT_EQ(PartitionParametersFailed.load(), 1u);
    EXPECT_FALSE(panel.progressBarShown);
    EXPECT_FALSE(panel.statusTextShown);
  }
}

TEST_F(QuickScanWorkerTest, BootSectorsClearedAreWorkedAround) {
  const struct {
    const char* image;
    uint16_t code;
    uint32_t sectors;
    bool searched;
  } cases[] = {
      {"dmg_fat16_boot.fixed.vhd", 100, 65536, true},
      {"dmg_fat32_boot.fixed.vhd", 200, 147456, false},
      {"dmg_ntfs_boot.fixed.vhd", 300, 32768, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.image);
    ResetScanState();
    panel.statusTexts.clear();
    tree.DeleteAllItems();
    quick_test::SharedDisk disk(c.image);
    SetRange(c.code, 2048, c.sectors);
    EXPECT_EQ(RunWorker(), 1u);
    EXPECT_TRUE(messages.shown.empty());
    EXPECT_EQ(StatusShown(u"Please wait, Calculating partition parameters..."), c.searched);
    EXPECT_GT(FatEntryList.size() + NtfsEntryList.size(), 20u);
  }
}

TEST_F(QuickScanWorkerTest, StopDuringTheParameterSearchEndsWithoutResults) {
  quick_test::SharedDisk disk("dmg_fat16_boot.fixed.vhd");
  SetRange(100, 2048, 65536);
  panel.onStatus = [](const std::u16string& text) {
    if (text == u"Please wait, calculating partition parameters") ScanThreadControl.stopFlag = 1;
  };
  EXPECT_EQ(RunWorker(), 0u);
  ExpectEnded();
  EXPECT_TRUE(messages.shown.empty());
  EXPECT_TRUE(tree.nodes.empty());
  EXPECT_TRUE(FatFolderList.empty());
  EXPECT_TRUE(page.timerArmed);
}

// A stop while the folders or records are read: the reading ends, and the tree is built from what it found.
TEST_F(QuickScanWorkerTest, StopDuringTheReadingKeepsWhatWasFound) {
  const struct {
    const char* image;
    uint16_t code;
    uint32_t sectors;
  } cases[] = {{"fat32_512.fixed.vhd", 200, 81920}, {"ntfs_4k.fixed.vhd", 300, 32768}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.image);
    quick_test::SharedDisk disk(c.image);
    ResetScanState();
    tree.DeleteAllItems();
    panel.onRow = nullptr;
    SetRange(c.code, 0, c.sectors);
    ASSERT_EQ(RunWorker(), 1u);
    const size_t whole = FatEntryList.size() + NtfsEntryList.size();

    ResetScanState();
    tree.DeleteAllItems();
    uint32_t sectorsShown = 0;
    panel.onRow = [&](host::SecondDisplayRow row, const std::u16string&) {
      if (row == host::kCurrentSectorRow && ++sectorsShown == 40) ScanThreadControl.stopFlag = 1;
    };
    SetRange(c.code, 0, c.sectors);
    EXPECT_EQ(RunWorker(), 1u);
    ExpectEnded();
    const size_t found = FatEntryList.size() + NtfsEntryList.size();
    EXPECT_GT(found, 0u);
    EXPECT_LT(found, whole);
    ASSERT_FALSE(tree.nodes.empty());
    EXPECT_EQ(tree.At(1).text, u"Root");
    if (c.code == 300) {
      EXPECT_NE(FindNtfsFolder(records::kLostDirId), nullptr);
    }
  }
}

// Record 0 of the NTFS volume at sector 0 of volume, its MFT's first run given a length of `clusters` (a
// four-byte length field; the run list then ends) and its data the size of that run.
void SetMftRunLength(Bytes& volume, uint32_t clusters) {
  const uint32_t perCluster = volume[13];
  const size_t record = size_t{LoadLe32(&volume[48])} * perCluster * 512;
  size_t at = record + LoadLe16(&volume[record + 20]);
  while (LoadLe32(&volume[at]) != 0x80) at += LoadLe32(&volume[at + 4]);
  uint8_t* runs = &volume[at + LoadLe16(&volume[at + 32])];
  const uint8_t offsetWidth = runs[0] >> 4;
  Bytes offset(runs + 1 + (runs[0] & 0x0F), runs + 1 + (runs[0] & 0x0F) + offsetWidth);
  runs[0] = static_cast<uint8_t>(offsetWidth << 4 | 4);
  quick_test::PutLe32(volume, static_cast<size_t>(runs + 1 - volume.data()), clusters);
  std::copy(offset.begin(), offset.end(), runs + 5);
  runs[5 + offsetWidth] = 0;
  const uint64_t bytes = uint64_t{clusters} * perCluster * 512;
  for (const size_t field : {40, 48, 56}) {  // allocated, real and initialized sizes
    for (size_t i = 0; i < 8; ++i) volume[at + field + i] = static_cast<uint8_t>(bytes >> (8 * i));
  }
}

// The MFT's run reaching to the volume's end: thousands of records without a file after the real ones. The
// bar moves with the record number over them.
TEST_F(QuickScanWorkerTest, TheBarMovesByRecordNumber) {
  Bytes volume = scan_test::ReadFileBytes(scan_test::SharedImage("ntfs_4k.raw"));
  ASSERT_FALSE(volume.empty());
  const uint32_t sectors = static_cast<uint32_t>(volume.size() / 512);
  SetMftRunLength(volume, sectors / 8 - LoadLe32(&volume[48]));
  quick_test::MappedDrive drive(volume, page);
  SetRange(300, 0, sectors);
  size_t walked = 0;  // the positions shown while the MFT was read
  panel.onStatus = [&](const std::u16string& text) {
    if (walked == 0 && text.rfind(u"Searching for Lost Data", 0) == 0) walked = panel.progress.size();
  };
  ASSERT_EQ(RunWorker(), 1u);
  ExpectResults();
  EXPECT_GT(MftMapSectorCount(), sectors / 2u);
  // The bar passes through every tenth (the mirror's records near the end are files again).
  std::set<uint32_t> tenths;
  for (size_t i = 0; i < walked; ++i) tenths.insert(panel.progress[i] / 10);
  EXPECT_EQ(tenths, (std::set<uint32_t>{0, 1, 2, 3, 4, 5, 6, 7, 8, 9}));
  EXPECT_NE(FindNtfsFolder(records::kLostDirId), nullptr);
}

// An MFT whose record 0 names no extents leaves nothing to scan (and nothing to divide the progress by).
TEST_F(QuickScanWorkerTest, MftWithoutExtentsIsReported) {
  quick_test::NtfsLayout layout;
  Bytes volume = quick_test::NtfsVolume(layout);
  quick_test::MappedDrive drive(volume, page);
  SetRange(300, 0, layout.sectors);
  EXPECT_EQ(RunWorker(), 0u);
  ExpectAbandoned(kPartitionParametersNotFound);
  EXPECT_TRUE(NtfsFolderList.empty());
}

TEST_F(QuickScanWorkerTest, FoldersWithoutParentGoUnderLostDirInOrder) {
  FreeScanRecordLists();
  AppendNtfsFolder(u"Kept", 40, records::kNtfsRootRecord, 0, 0, host::kNoTreeKey, 0);
  AppendNtfsFolder(u"Orphan", 41, 77, 0, 0, host::kNoTreeKey, 0);
  AppendNtfsFolder(u"Child of kept", 42, 40, 0, 0, host::kNoTreeKey, 1);
  AppendNtfsFolder(u"Second orphan", 43, 88, 0, 0, host::kNoTreeKey, 0);
  AppendNtfsEntry(100, u"a.txt", 50, 77, 0, 0, 0, 1);
  AppendNtfsEntry(102, u"b.txt", 51, 99, 0, 0, 1, 2);
  AppendNtfsEntry(104, u"c.txt", 52, 99, 0, 0, 0, 3);
  ScanThreadControl.stopFlag = 1;  // a stop that ended the reading
  CollectLostNtfsData();
  EXPECT_EQ(ScanThreadControl.stopFlag.load(), 0u);
  const NtfsFolderRecord* lost = FindNtfsFolder(records::kLostDirId);
  ASSERT_NE(lost, nullptr);
  EXPECT_EQ(lost->name, u"Lost Dir");
  EXPECT_EQ(lost->parentId, records::kNtfsRootRecord);
  const struct {
    uint32_t record;
    const char16_t* name;
  } adopted[] = {{77, u"Dir0"}, {88, u"Dir1"}, {99, u"Dir2"}};
  for (const auto& a : adopted) {
    const NtfsFolderRecord* folder = FindNtfsFolder(a.record);
    ASSERT_NE(folder, nullptr) << a.record;
    EXPECT_EQ(folder->name, a.name);
    EXPECT_EQ(folder->parentId, records::kLostDirId);
  }
  EXPECT_EQ(NtfsFolderList.size(), 4u + 1 + 3);
}

// Every NTFS folder and file of the record lists reaches the root through its parents.
size_t NtfsRecordsOutsideTheTree() {
  const auto reachesRoot = [](uint32_t parent) {
    for (int depth = 0; depth < 64; ++depth) {
      if (parent == records::kNtfsRootRecord) return true;
      const NtfsFolderRecord* folder = FindNtfsFolder(parent);
      if (folder == nullptr) return false;
      parent = folder->parentId;
    }
    return false;
  };
  size_t outside = 0;
  for (const NtfsFolderRecord& f : NtfsFolderList) outside += reachesRoot(f.parentId) ? 0 : 1;
  for (const NtfsEntryRecord& e : NtfsEntryList) outside += reachesRoot(e.parentId) ? 0 : 1;
  return outside;
}

// A stop while the lost data is gathered does not end that step: the files whose folder record is zeroed
// (those fls lists as orphans) are still in the tree, as without the stop.
TEST_F(QuickScanWorkerTest, StopWhileLostDataIsGatheredKeepsEveryFileInTheTree) {
  quick_test::SharedDisk disk("dmg_ntfs_dirrec.fixed.vhd");
  ASSERT_TRUE(disk.opened());
  std::set<std::pair<std::u16string, uint32_t>> whole;
  for (const bool stop : {false, true}) {
    ResetScanState();
    tree.DeleteAllItems();
    panel.onStatus = [stop](const std::u16string& text) {
      if (stop && text.rfind(u"Searching for Lost Data", 0) == 0) ScanThreadControl.stopFlag = 1;
    };
    SetRange(300, 2048, 32768);
    EXPECT_EQ(RunWorker(), 1u);
    ExpectEnded();
    EXPECT_EQ(NtfsRecordsOutsideTheTree(), 0u) << stop;
    std::set<std::pair<std::u16string, uint32_t>> found;
    for (const NtfsEntryRecord& e : NtfsEntryList) found.insert({e.name, e.parentId});
    for (const NtfsFolderRecord& f : NtfsFolderList) found.insert({f.name, f.parentId});
    if (!stop) whole = found;
    EXPECT_EQ(found, whole);
  }
  const NtfsFolderRecord* standIn = FindNtfsFolder(records::kLostDirId);
  ASSERT_NE(standIn, nullptr);
  size_t adopted = 0;
  for (const NtfsFolderRecord& f : NtfsFolderList) adopted += f.parentId == records::kLostDirId ? 1 : 0;
  EXPECT_GT(adopted, 0u);
}

// A folder whose chain comes round to its start is read once, as far as it goes, and the scan ends.
TEST_F(QuickScanWorkerTest, FolderChainThatLoopsIsReadOnce) {
  const std::u16string copy = scan_test::TempFile(u"quick_loop.raw");
  Bytes bytes = scan_test::ReadFileBytes(scan_test::SharedImage("fat32_512.raw"));
  ASSERT_FALSE(bytes.empty());
  ASSERT_TRUE(scan_test::WriteFileBytes(copy, bytes));
  const uint32_t sectors = static_cast<uint32_t>(bytes.size() / 512);
  uint32_t folder = 0;
  size_t entries = 0;
  {
    quick_test::MappedDrive drive(copy, page);
    SetRange(200, 0, sectors);
    ASSERT_EQ(RunWorker(), 1u);
    for (const FatFolderRecord& f : FatFolderList) {
      if (f.name == u"Many entries") folder = f.firstCluster;
    }
    ASSERT_NE(folder, 0u);
    for (const FatEntryRecord& e : FatEntryList) entries += e.parentId == folder ? 1 : 0;
    ReadClusterChain(folder, 1000, 1);
    ASSERT_GT(ClusterList.size(), 120u);
  }
  // In both tables the chain's 120th cluster leads back to its first.
  const uint32_t turn = ClusterList[119].cluster;
  for (uint32_t fat : {CurrentFileSystem.firstFatSector, CurrentFileSystem.secondFatSector}) {
    quick_test::PutLe32(bytes, size_t{fat} * 512 + size_t{turn} * 4, folder);
  }
  ASSERT_TRUE(scan_test::WriteFileBytes(copy, bytes));
  ResetScanState();
  tree.DeleteAllItems();
  {
    quick_test::MappedDrive drive(copy, page);
    SetRange(200, 0, sectors);
    ASSERT_EQ(RunWorker(), 1u);
  }
  std::multiset<std::u16string> names;
  for (const FatEntryRecord& e : FatEntryList) {
    if (e.parentId == folder) names.insert(e.name);
  }
  EXPECT_GT(names.size(), entries / 2);
  EXPECT_LT(names.size(), entries);
  EXPECT_EQ(std::set<std::u16string>(names.begin(), names.end()).size(), names.size());
  os::RemoveFile(copy);
}

}  // namespace
