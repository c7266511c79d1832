#include "engine/partitions/search_partitions.h"

#include <thread>

#include "engine/partitions/detect_partitions.h"
#include "engine/partitions/partition_test_fixture.h"
#include "engine/partitions/search_geometry.h"
#include "engine/records/scan_control.h"
#include "platform/os/os.h"

namespace partition_test {
namespace {

void Fat16Boot(DiskBytes& disk, uint32_t sector, uint16_t smallCount, uint32_t count = 0) {
  disk.PutText(sector, 54, "FAT16   ");
  disk.PutLe16(sector, 19, smallCount);
  disk.PutLe32(sector, 32, count);
  disk.Sign(sector);
}

std::vector<std::u16string> NodeLabels(const host::RecordingSourceTree& tree) {
  std::vector<std::u16string> labels;
  for (const auto& added : tree.added) {
    EXPECT_TRUE(added.group == u"Virtual Hard Disk ");
    labels.push_back(added.partition);
  }
  return labels;
}

using Labels = std::vector<std::u16string>;

TEST(SearchGeometryTest, TranslatesUnlessSixtyThreeSectorsPerTrack) {
  struct Case {
    host::DiskGeometry disk;
    uint64_t cylinders;
    uint32_t heads, sectors;
  };
  const Case cases[] = {
      {{647, 16, 31}, 19, 255, 63},              // the test disks' VHD footers
      {{63, 16, 32}, 2, 255, 63},                // 32 sectors per track: cylinders of 255 x 63
      {{1000, 16, 63}, 1000, 16, 63},            // kept as it is
      {{100000, 255, 255}, 404761, 255, 63},     // product beyond 32 bits (32-bit: 137412)
      {{0xFFFFFFFF, 0xFFFFFFFF, 0xFFFFFFFF}, 1148256711715502, 255, 63},  // saturates, no wrap
      {{0, 0, 0}, 0, 255, 63},
  };
  for (const Case& c : cases) {
    const SearchGeometry g = TranslateGeometry(c.disk);
    EXPECT_EQ(g.cylinders, c.cylinders) << c.disk.cylinders << "/" << c.disk.heads << "/" << c.disk.sectorsPerTrack;
    EXPECT_EQ(g.heads, c.heads);
    EXPECT_EQ(g.sectorsPerTrack, c.sectors);
  }
  EXPECT_EQ(GeometryFromVirtualSize(164505600).cylinders, 20u);  // cyl_aligned as VHDX
  EXPECT_EQ(GeometryFromVirtualSize(255 * 63 * 512 - 1).cylinders, 0u);
}

class SearchPartitionsTest : public PartitionTest {};

TEST_F(SearchPartitionsTest, EmptyTableIsSearchedWithoutAsking) {
  DiskBytes disk(5 * 63);
  Fat16Boot(disk, 63, 4000);
  UseDisk(disk, {5, 1, 63});
  SearchPartitions();
  EXPECT_EQ(TableText(), "63:4000:100");
  EXPECT_EQ(choice.asked, 0u);
  EXPECT_EQ(PartitionSearchWanted, 1u);
  EXPECT_EQ(diskTable.askedDisks, std::vector<uint32_t>{0});
  EXPECT_EQ(panel.statusTexts, Labels{u"Please wait, searching for Partition..."});
  EXPECT_EQ(panel.buttonTexts, Labels{u"Please wait..."});
  EXPECT_EQ(NodeLabels(tree), Labels{u"Partition 0"});
  EXPECT_EQ(tree.expandCount, 1u);
}

// Which field holds a volume's size depends on the volume: FAT keeps small counts in 16 bits.
TEST_F(SearchPartitionsTest, SectorCountComesFromTheBootSector) {
  DiskBytes disk(5 * 63);
  Fat16Boot(disk, 63, 4000, 0);
  Fat16Boot(disk, 126, 0, 70000);
  disk.PutText(189, 82, "FAT32   ");
  disk.PutLe32(189, 32, 147420);
  disk.Sign(189);
  disk.PutText(252, 3, "NTFS    ");
  disk.PutLe32(252, 40, 5);
  disk.PutLe32(252, 44, 1);  // 2^32 + 5 sectors: kept whole, never wrapped
  disk.Sign(252);
  UseDisk(disk, {5, 1, 63});
  SearchPartitions();
  EXPECT_EQ(TableText(), "63:4000:100 126:70000:100 189:147420:200 252:4294967301:300");
  EXPECT_EQ(NodeLabels(tree), (Labels{u"Partition 0", u"Partition 1", u"Partition 2", u"Partition 3"}));
}

// The search looks only at the last two characters of the file-system label, so a FAT16 volume whose
// boot code happens to hold "32" at offset 85 is taken for FAT32 (the partition table's reading, which
// compares whole labels, is not fooled).
TEST_F(SearchPartitionsTest, Fat16WithThirtyTwoAtOffset85IsTakenForFat32) {
  DiskBytes disk(3 * 63);
  disk.Sign(0);
  disk.SetEntry(0, 0, 0x06, 63, 4000);
  Fat16Boot(disk, 63, 4000);
  disk.PutText(63, 85, "32");
  UseDisk(disk, {3, 1, 63});
  DetectPartitions(0);
  EXPECT_EQ(TableText(), "63:4000:100");
  PartitionCount = 0;
  SearchPartitions();
  EXPECT_EQ(TableText(), "63:4000:200");
}

TEST_F(SearchPartitionsTest, HeadOneFirstThenHeadZero) {
  // Two heads of 63 sectors: cylinder k starts at k x 126, its head 1 at k x 126 + 63.
  DiskBytes disk(3 * 126);
  Fat16Boot(disk, 126, 1);      // cylinder 1, head 0
  Fat16Boot(disk, 189, 2);      // cylinder 1, head 1: looked at first
  Fat16Boot(disk, 252, 3);      // cylinder 2, head 0: read since head 1 lacks 55 AA
  disk.PutText(315, 57, "16");  // cylinder 2, head 1
  UseDisk(disk, {3, 2, 63});
  SearchPartitions();
  EXPECT_EQ(TableText(), "189:2:100 252:3:100");
}

TEST_F(SearchPartitionsTest, SameBootSectorFoundTwiceIsEnteredOnce) {
  // With one head, head 1 of a cylinder is head 0 of the next one.
  DiskBytes disk(4 * 63);
  Fat16Boot(disk, 63, 10);
  UseDisk(disk, {4, 1, 63});
  SearchPartitions();
  EXPECT_EQ(TableText(), "63:10:100");
  EXPECT_EQ(tree.added.size(), 1u);
}

TEST_F(SearchPartitionsTest, ThirtyTwoSectorsPerTrackWalksTranslatedCylinders) {
  DiskBytes disk(2 * 16065 + 64);
  Fat16Boot(disk, 16 * 32 + 32, 5);  // where the untranslated cylinder 1's head 1 would be
  Fat16Boot(disk, 16065 + 63, 6);    // translated cylinder 1, head 1
  UseDisk(disk, {63, 16, 32});
  SearchPartitions();
  EXPECT_EQ(TableText(), "16128:6:100");
}

TEST_F(SearchPartitionsTest, StopsAtTheTwentyFifthEntry) {
  DiskBytes disk(40 * 63);
  for (uint32_t k = 1; k <= 30; ++k) Fat16Boot(disk, k * 63, static_cast<uint16_t>(k));
  UseDisk(disk, {40, 1, 63});
  SearchPartitions();
  ASSERT_EQ(PartitionCount, kMaxPartitions);
  EXPECT_EQ(PartitionTable[24].firstSector, 25u * 63);
  EXPECT_EQ(tree.added.size(), 25u);
  EXPECT_EQ(tree.added.back().partition, u"Partition 24");
}

// A count beyond the table (as a damaged snapshot could leave it) is never used as an index.
TEST_F(SearchPartitionsTest, FullTableIsNeverWrittenPast) {
  DiskBytes disk(4 * 63);
  Fat16Boot(disk, 63, 10);
  UseDisk(disk, {4, 1, 63});
  choice.answer = host::kSearchPartition;
  for (const uint32_t count : {kMaxPartitions, kMaxPartitions + 15}) {
    PartitionCount = count;
    tree.added.clear();
    SearchPartitions();
    EXPECT_EQ(PartitionCount, count);
    EXPECT_EQ(tree.added.size(), kMaxPartitions);  // the entries that exist, none found
  }
}

class KnownPartitionsTest : public PartitionTest {
 protected:
  void SetUp() override {
    DiskBytes disk(4 * 63);
    disk.Sign(0);
    disk.SetEntry(0, 0, 0x06, 63, 100);
    Fat16Boot(disk, 63, 90);
    Fat16Boot(disk, 126, 20);
    UseDisk(disk, {4, 1, 63});
    DetectPartitions(0);
    ASSERT_EQ(TableText(), "63:100:100");
  }
};

TEST_F(KnownPartitionsTest, SearchPartitionAddsWhatTheTableMissed) {
  choice.answer = host::kSearchPartition;
  SearchPartitions();
  EXPECT_EQ(choice.asked, 1u);
  EXPECT_EQ(TableText(), "63:100:100 126:20:100");
  EXPECT_EQ(NodeLabels(tree), (Labels{u"Partition 0", u"Partition 1"}));
  EXPECT_EQ(panel.statusTexts.size(), 1u);
}

TEST_F(KnownPartitionsTest, ExistingInfoOrCancelOrNobodyKeepsTheTable) {
  for (const host::PartitionChoice answer : {host::kUseExistingPartitions, host::kPartitionChoiceCancelled}) {
    choice.answer = answer;
    tree.added.clear();
    SearchPartitions();
    EXPECT_EQ(TableText(), "63:100:100");
    EXPECT_EQ(PartitionSearchWanted, 0u);
    EXPECT_EQ(NodeLabels(tree), Labels{u"Partition 0"});
    EXPECT_TRUE(panel.statusTexts.empty());
  }
  hosts.partitionChoice = nullptr;
  host::ScopedHosts withoutDialog(hosts);
  SearchPartitions();
  EXPECT_EQ(TableText(), "63:100:100");
}

TEST_F(SearchPartitionsTest, ProgressRisesToNinetyNineAtMost) {
  DiskBytes disk(300 * 63);
  UseDisk(disk, {300, 1, 63});
  SearchPartitions();
  ASSERT_FALSE(panel.progress.empty());
  EXPECT_EQ(panel.progress.front(), 0u);
  EXPECT_EQ(panel.progress.back(), 99u);
  for (size_t i = 1; i < panel.progress.size(); ++i) EXPECT_LT(panel.progress[i - 1], panel.progress[i]);
}

TEST_F(SearchPartitionsTest, WithoutHostsNothingIsReportedAndNothingBreaks) {
  DiskBytes disk(4 * 63);
  Fat16Boot(disk, 63, 10);
  UseDisk(disk, {4, 1, 63});
  host::ScopedHosts nobody(host::Hosts{});
  SearchPartitions();  // no disk table: no geometry, no walk
  EXPECT_EQ(TableText(), "");
}

TEST_F(SearchPartitionsTest, StopFlagEndsTheWalk) {
  DiskBytes disk(4 * 63);
  Fat16Boot(disk, 63, 10);
  UseDisk(disk, {4, 1, 63});
  ScanThreadControl.stopFlag = 1;
  SearchPartitions();
  EXPECT_EQ(TableText(), "");
  EXPECT_TRUE(panel.progress.empty());
  EXPECT_EQ(tree.expandCount, 1u);
}

TEST_F(SearchPartitionsTest, WorkerEndsWithRunningZeroAndStopOne) {
  DiskBytes disk(4 * 63);
  Fat16Boot(disk, 63, 10);
  UseDisk(disk, {4, 1, 63});
  std::thread worker(PartitionSearchThread);
  worker.join();
  EXPECT_EQ(TableText(), "63:10:100");
  EXPECT_EQ(ScanThreadControl.runningFlag, 0u);
  EXPECT_EQ(ScanThreadControl.stopFlag, 1u);
}

TEST_F(SearchPartitionsTest, StopDuringTheVhdxProgressEndsTheWorker) {
  UseImage(SharedImage("cyl_aligned.8m.vhdx"));
  std::thread worker(PartitionSearchThread);
  os::SleepMs(250);
  ScanThreadControl.stopFlag = 1;
  worker.join();
  EXPECT_EQ(TableText(), "");
  EXPECT_LT(panel.progress.size(), 100u);
  EXPECT_EQ(ScanThreadControl.runningFlag, 0u);
}

// The volumes each test disk's manifest lists, with the counts their boot sectors give; the VHDX copies
// have no geometry of their own.
TEST_F(SearchPartitionsTest, TestDisksYieldTheirVolumes) {
  for (const OracleLine& line : OracleLines("search")) {
    SCOPED_TRACE(line.image);
    UseImage(SharedImage(line.image));
    diskTable.geometry = line.geometry;
    PartitionCount = 0;
    tree.added.clear();
    SearchPartitions();
    EXPECT_EQ(TableText(), line.expected);
    EXPECT_EQ(NodeLabels(tree), (Labels{u"Partition 0", u"Partition 1", u"Partition 2"}));
  }
}

// Partitions on 1 MiB boundaries, as every partitioning tool has placed them since the cylinder-aligned ones,
// with the table's entries zeroed; and a volume past the 136 GiB that a VHD footer's geometry reaches. Each
// wrapper (fixed and dynamic VHD with the footer's geometry, VHDX without one) yields the volumes TSK reads there.
TEST_F(SearchPartitionsTest, VolumesOnMegabyteBoundariesAreFound) {
  const std::string expected = DORVANE_ALIGNED_DISKS;
  const std::string folder = expected.substr(0, expected.find_last_of("/\\") + 1);
  for (const OracleLine& line : OracleLines("search", expected)) {
    SCOPED_TRACE(line.image);
    UseImage(os::FromUtf8(folder + line.image));
    diskTable.geometry = line.geometry;
    PartitionCount = 0;
    tree.added.clear();
    SearchPartitions();
    EXPECT_EQ(TableText(), line.expected);
    EXPECT_EQ(tree.added.size(), PartitionsInUse());
  }
}

// The 1 MiB boundaries and the cylinders' boot sectors enter the table in sector order; sector 0, a boundary
// and a cylinder's head 0, is looked at as a boundary even when head 1 has a boot sector.
TEST_F(SearchPartitionsTest, BoundariesAndCylindersAreLookedAtInSectorOrder) {
  DiskBytes disk(6400);              // cylinders of 100 heads x 63 sectors: 6300
  Fat16Boot(disk, 4096, 7);          // a boundary
  Fat16Boot(disk, 2048, 6);          // a boundary before it, in the same cylinder
  Fat16Boot(disk, 63, 5);            // cylinder 0, head 1
  Fat16Boot(disk, 0, 4);             // cylinder 0, head 0, and a boundary
  Fat16Boot(disk, 6300 + 63, 8);     // cylinder 1, head 1, after the boundaries
  UseDisk(disk, {2, 100, 63});
  SearchPartitions();
  EXPECT_EQ(TableText(), "0:4:100 63:5:100 2048:6:100 4096:7:100 6363:8:100");
}

}  // namespace
}  // namespace partition_test
