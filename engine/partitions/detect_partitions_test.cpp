#include "engine/partitions/detect_partitions.h"

#include "engine/partitions/partition_test_fixture.h"

namespace partition_test {
namespace {

void Fat16Boot(DiskBytes& disk, uint32_t sector) {
  disk.PutText(sector, 54, "FAT16   ");
  disk.Sign(sector);
}
void Fat32Boot(DiskBytes& disk, uint32_t sector) {
  disk.PutText(sector, 82, "FAT32   ");
  disk.Sign(sector);
}
void NtfsBoot(DiskBytes& disk, uint32_t sector) {
  disk.PutText(sector, 3, "NTFS    ");
  disk.Sign(sector);
}

// An extended boot record at sector: a logical partition (relative to the record) and a link (relative
// to the extended partition's start; 0 type for none).
void Ebr(DiskBytes& disk, uint32_t sector, uint8_t type, uint32_t first, uint32_t count, uint8_t linkType = 0,
         uint32_t link = 0) {
  disk.SetEntry(sector, 0, type, first, count);
  disk.SetEntry(sector, 1, linkType, link, 1);
}

class DetectPartitionsTest : public PartitionTest {
 protected:
  std::string Detect(const DiskBytes& disk, uint32_t tableSector = 0) {
    UseDisk(disk);
    DetectPartitions(tableSector);
    return TableText();
  }
};

TEST_F(DetectPartitionsTest, MbrNeedsBothBytesOfItsMark) {
  DiskBytes disk(200);
  disk.SetEntry(0, 0, 0x06, 100, 50);
  Fat16Boot(disk, 100);
  disk.PutText(0, 510, "\x55");
  EXPECT_EQ(Detect(disk), "");
  disk.Sign(0);
  EXPECT_EQ(Detect(disk), "100:50:100");
}

TEST_F(DetectPartitionsTest, MarksWinOverTypesAndTypesServeWithoutMarks) {
  DiskBytes disk(400);
  disk.Sign(0);
  disk.SetEntry(0, 0, 0x07, 100, 10);   // says NTFS, holds FAT32
  Fat32Boot(disk, 100);
  disk.SetEntry(0, 1, 0x01, 200, 20);   // type 1 (FAT12), no mark: read as FAT16
  disk.SetEntry(0, 2, 0x0E, 300, 30);   // no mark: the type gives FAT16
  disk.SetEntry(0, 3, 0x83, 350, 40);   // neither
  EXPECT_EQ(Detect(disk), "100:10:200 200:20:100 300:30:100");
  EXPECT_EQ(PartitionSearchWanted, 0u);
}

TEST_F(DetectPartitionsTest, LogicalPartitionsAreAbsoluteToTheirRecord) {
  DiskBytes disk(600);
  disk.Sign(0);
  disk.SetEntry(0, 0, 0x07, 10, 5);
  NtfsBoot(disk, 10);
  disk.SetEntry(0, 1, 0x05, 100, 400);
  Ebr(disk, 100, 0x01, 20, 30, 0x05, 200);  // type 1 counts as FAT16 here; next record at 100 + 200
  Ebr(disk, 300, 0x0B, 63, 100);
  Fat32Boot(disk, 363);
  EXPECT_EQ(Detect(disk), "10:5:300 120:30:100 363:100:200");
}

TEST_F(DetectPartitionsTest, OnlyTheLastExtendedEntryIsWalked) {
  DiskBytes disk(600);
  disk.Sign(0);
  disk.SetEntry(0, 0, 0x05, 100, 100);
  disk.SetEntry(0, 1, 0x0F, 300, 100);
  Ebr(disk, 100, 0x06, 1, 10);
  Ebr(disk, 300, 0x07, 1, 20);
  EXPECT_EQ(Detect(disk), "301:20:300");
}

TEST_F(DetectPartitionsTest, ChainThatLinksBackEnds) {
  DiskBytes disk(600);
  disk.Sign(0);
  disk.SetEntry(0, 0, 0x05, 100, 400);
  Ebr(disk, 100, 0x06, 1, 10, 0x05, 0);  // links to itself
  EXPECT_EQ(Detect(disk), "101:10:100");

  Ebr(disk, 100, 0x06, 1, 10, 0x05, 50);   // 100 -> 150
  Ebr(disk, 150, 0x06, 2, 20, 0x0F, 0);    // 150 -> 100 again
  EXPECT_EQ(Detect(disk), "101:10:100 152:20:100");
}

TEST_F(DetectPartitionsTest, ChainThatNeverEndsIsCutAtItsBound) {
  const uint32_t records = kMaxExtendedLinks + 10;
  DiskBytes disk(records + 10);
  disk.Sign(0);
  disk.SetEntry(0, 0, 0x05, 1, records);
  for (uint32_t i = 0; i < records; ++i) Ebr(disk, 1 + i, 0x83, 0, 1, 0x05, i + 1);
  // A partition in the record just past the bound is never reached; one just inside it is.
  Ebr(disk, kMaxExtendedLinks, 0x06, 0, 7, 0x05, kMaxExtendedLinks);
  Ebr(disk, kMaxExtendedLinks + 1, 0x06, 0, 9, 0x05, kMaxExtendedLinks + 1);
  EXPECT_EQ(Detect(disk), std::to_string(kMaxExtendedLinks) + ":7:100");
}

TEST_F(DetectPartitionsTest, TableHoldsTwentyFiveEntries) {
  DiskBytes disk(200);
  disk.Sign(0);
  for (int i = 0; i < 3; ++i) disk.SetEntry(0, i, 0x06, 1000 + i, 1);
  disk.SetEntry(0, 3, 0x05, 10, 100);
  for (uint32_t i = 0; i < 40; ++i) Ebr(disk, 10 + i, 0x0B, 2000 + i, 2, 0x05, i + 1);
  Detect(disk);
  ASSERT_EQ(PartitionCount, kMaxPartitions);
  EXPECT_EQ(PartitionTable[2].firstSector, 1002u);
  EXPECT_EQ(PartitionTable[24].firstSector, 10u + 21 + 2021);
}

// A logical partition past sector 2^32 is listed at its own place, never at a place wrapped to 32 bits.
TEST_F(DetectPartitionsTest, SectorsBeyondThirtyTwoBitsAreRecordedWhole) {
  DiskBytes disk(300);
  disk.Sign(0);
  disk.SetEntry(0, 0, 0x05, 100, 100);
  Ebr(disk, 100, 0x06, 0xFFFFFFF0u, 1, 0x05, 50);  // 100 + 0xFFFFFFF0 = 4294967380
  Ebr(disk, 150, 0x06, 1, 3);
  EXPECT_EQ(Detect(disk), "4294967380:1:100 151:3:100");
}

TEST_F(DetectPartitionsTest, UnreadableBootSectorFallsBackToTheType) {
  DiskBytes disk(10);
  disk.Sign(0);
  disk.SetEntry(0, 0, 0x0C, 5000000, 100);
  EXPECT_EQ(Detect(disk), "5000000:100:200");
}

TEST_F(DetectPartitionsTest, EmptiesTheTableFirst) {
  DiskBytes disk(10);
  PartitionCount = 40;  // as a damaged snapshot might leave it
  PartitionSearchWanted = 1;
  EXPECT_EQ(Detect(disk), "");
  EXPECT_EQ(PartitionCount, 0u);
  EXPECT_EQ(PartitionSearchWanted, 0u);
}

TEST_F(DetectPartitionsTest, FallbackTriesSectors61And62) {
  DiskBytes disk(200);
  disk.Sign(62);
  disk.SetEntry(62, 0, 0x06, 100, 8);
  UseDisk(disk);
  DetectPartitions(0);
  EXPECT_EQ(TableText(), "");
  DetectPartitionsWithFallback();
  EXPECT_EQ(TableText(), "100:8:100");
}

// Every test disk against mmls's rows (and fsstat's file system where TSK reads one).
TEST_F(DetectPartitionsTest, TestDisksAgreeWithMmls) {
  for (const OracleLine& line : OracleLines("detect")) {
    SCOPED_TRACE(line.image);
    UseImage(SharedImage(line.image));
    DetectPartitionsWithFallback();
    EXPECT_EQ(TableText(true), line.expected);
  }
}

}  // namespace
}  // namespace partition_test
