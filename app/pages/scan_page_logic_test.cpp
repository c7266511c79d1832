// The scan page's decisions without a window: the sector fields and range of an Extensive Scan, the
// selection Next needs, and the panel's rows for a partition or a range.
#include <gtest/gtest.h>

#include "app/pages/scan_panel_texts.h"
#include "app/pages/scan_range_check.h"
#include "engine/partitions/partition_table.h"
#include "engine/records/scan_parameters.h"

namespace scanpage {
namespace {

RangeCheck Check(const std::u16string& start, const std::u16string& end, uint32_t currentEnd = 1,
                 bool vhdx = false, uint64_t diskSectors = 0) {
  RangeFields fields;
  fields.startText = start;
  fields.endText = end;
  fields.currentEnd = currentEnd;
  fields.vhdx = vhdx;
  fields.diskSectors = diskSectors;
  return CheckSectorRange(fields);
}

TEST(SectorField, TakesDigitsOfA64BitNumberAndNothingElse) {
  uint64_t value = 7;
  EXPECT_TRUE(ParseSectorField(u"0", &value));
  EXPECT_EQ(value, 0u);
  EXPECT_TRUE(ParseSectorField(u"004294967296", &value));
  EXPECT_EQ(value, 4294967296u);
  EXPECT_TRUE(ParseSectorField(u"18446744073709551615", &value));
  EXPECT_EQ(value, UINT64_MAX);
  for (const char16_t* bad : {u"", u"18446744073709551616", u"99999999999999999999999", u"-1", u"+5", u" 5", u"5 ",
                              u"12a", u"1.5", u"\x0661"}) {
    value = 7;
    EXPECT_FALSE(ParseSectorField(bad, &value)) << std::string(bad, bad + 1);
    EXPECT_EQ(value, 7u);
  }
}

TEST(SectorRange, RefusesWithTheMessageOfTheFirstBadField) {
  EXPECT_EQ(Check(u"100", u"100").error, kEndNotBigger);
  EXPECT_EQ(Check(u"100", u"99").error, kEndNotBigger);
  EXPECT_EQ(Check(u"", u"100").error, kStartNotValid);
  EXPECT_EQ(Check(u"", u"").error, kStartNotValid);
  EXPECT_EQ(Check(u"1O0", u"200").error, kStartNotValid);
  EXPECT_EQ(Check(u"4294967296", u"12 000").error,
            u"Start sector 4294967296 lies past sector 4294967295. \r\nDorvane scans only the first 2 TiB of a disk "
            u"(sectors 0 to 4294967295).");
  EXPECT_EQ(Check(u"0", u"").error, kEndNotValid);
  EXPECT_EQ(Check(u"0", u"12 000").error, kEndNotValid);
}

TEST(SectorRange, CountsBothEnds) {
  RangeCheck one = Check(u"100", u"101");
  EXPECT_TRUE(one.error.empty());
  EXPECT_EQ(one.start, 100u);
  EXPECT_EQ(one.end, 101u);
  EXPECT_EQ(one.count, 2u);
  RangeCheck disk = Check(u"0", u"262143", 1, false, 262144);
  EXPECT_EQ(disk.count, 262144u);
  EXPECT_FALSE(disk.limited);
}

TEST(SectorRange, AVhdxWithoutAnEndTakesItsSizeAndLeavesTheEndFieldUnread) {
  RangeCheck range = Check(u"0", u"not read", 0, true, 321300);
  EXPECT_TRUE(range.error.empty());
  EXPECT_EQ(range.end, 321299u);
  EXPECT_EQ(range.count, 321300u);
  // With an end set before, the field is read again; a VHD reads it always.
  EXPECT_EQ(Check(u"0", u"not read", 5, true, 321300).error, kEndNotValid);
  EXPECT_EQ(Check(u"0", u"not read", 0, false, 321300).error, kEndNotValid);
  // A start at the disk's end leaves nothing after it.
  EXPECT_EQ(Check(u"0", u"", 0, true, 1).error, kEndNotBigger);
}

TEST(SectorRange, AnImagePastTheEnginesReachIsScannedUpToItsLimitAndSaysSo) {
  // 5 TiB: 2^33 + 2^31 sectors.
  const uint64_t huge = (uint64_t{1} << 33) + (uint64_t{1} << 31);
  RangeCheck range = Check(u"100", u"", 0, true, huge);
  EXPECT_TRUE(range.error.empty());
  EXPECT_TRUE(range.limited);
  EXPECT_EQ(range.end, 4294967295u);
  EXPECT_EQ(range.count, 4294967196u);
  EXPECT_EQ(LimitedRangeMessage(range),
            u"The image has more sectors than Dorvane can scan. \r\nSectors 100 to 4294967295 are scanned.");
  // From sector 0 a 32-bit count holds one sector less than the engine numbers.
  RangeCheck fromZero = Check(u"0", u"4294967295", 1, false, huge);
  EXPECT_TRUE(fromZero.limited);
  EXPECT_EQ(fromZero.end, 4294967294u);
  EXPECT_EQ(fromZero.count, 4294967295u);
  // A typed range inside the limit of a huge image is not limited; one past it is held to it.
  EXPECT_FALSE(Check(u"0", u"1000", 1, false, huge).limited);
  RangeCheck typed = Check(u"2048", u"4823451646", 1, false, huge);
  EXPECT_TRUE(typed.error.empty());
  EXPECT_TRUE(typed.limited);
  EXPECT_EQ(typed.end, 4294967295u);
}

TEST(Selection, TheWholeDiskIsEnoughForAnExtensiveScanOnly) {
  EXPECT_TRUE(CheckSelection(records::kExtensiveScan, -1).empty());
  EXPECT_EQ(CheckSelection(records::kExtensiveScan, -2), kSelectPartition);
  EXPECT_EQ(CheckSelection(records::kQuickScan, -1), kSelectPartition);
  EXPECT_EQ(CheckSelection(records::kFileTrace, -1), kSelectPartition);
  EXPECT_TRUE(CheckSelection(records::kFileTrace, 0).empty());
}

// A partition past the engine's reach (a 2.2 TiB NTFS in a VHDX, one starting past sector 2^32, a FAT32 of 2 TiB
// less a sector behind its table) is refused by name before a Quick Scan or File Trace starts, scans no sectors
// and is shown as the table holds it; an Extensive Scan takes its range from the fields.
TEST(Selection, APartitionPastTheReachIsRefusedByName) {
  PartitionCount = 0;
  for (const PartitionEntry& e : {PartitionEntry{2048, 4823449598, records::kNtfs}, {4823451648, 131072, records::kNtfs},
                                  {2048, 4294967295, records::kFat32}, {2048, 4294965248, records::kFat32}}) {
    AppendPartition(e);
  }
  EXPECT_EQ(CheckSelection(records::kQuickScan, 0),
            u"The NTFS volume at sector 2048 holds 4823449598 sectors (2355199 MB), up to sector 4823451645. \r\n"
            u"Dorvane reads volumes that lie within the first 2 TiB of a disk (sectors 0 to 4294967295): this volume "
            u"cannot be scanned.");
  EXPECT_EQ(CheckSelection(records::kFileTrace, 1).find(u"The NTFS volume at sector 4823451648 holds 131072"), 0u);
  EXPECT_EQ(CheckSelection(records::kQuickScan, 2).find(u"The FAT32 volume at sector 2048 holds 4294967295"), 0u);
  EXPECT_TRUE(CheckSelection(records::kQuickScan, 3).empty()) << "it ends at the last sector within reach";
  EXPECT_TRUE(CheckSelection(records::kExtensiveScan, 0).empty());
  EXPECT_EQ(ScanRangeOfPartition(0).sectorCount, 0u);
  PanelRange shown = PartitionRange(PartitionTable[1]);
  EXPECT_EQ(shown.values[2], u"4823582719");
  EXPECT_EQ(shown.values[3], u"64 MB (Approx)");
  PartitionCount = 0;
}

ScanRangeRecord Range(uint16_t code, uint32_t start, uint32_t count) {
  ScanRangeRecord range;
  range.fileSystemCode = code;
  range.startSector = start;
  range.sectorCount = count;
  return range;
}

TEST(PanelRows, APartitionShowsItsLastSectorItsSizeAndItsFileSystem) {
  PanelRange shown = PartitionRange(Range(records::kFat32, 67584, 147456), false, 0);
  EXPECT_EQ(shown.values[0], u"FAT32");
  EXPECT_EQ(shown.values[1], u"67584");
  EXPECT_EQ(shown.values[2], u"215039");
  EXPECT_EQ(shown.values[3], u"72 MB (Approx)");
  EXPECT_EQ(shown.end, 215039u);
  EXPECT_EQ(shown.listItem, 1);
  EXPECT_EQ(shown.startField, u"67584");
  EXPECT_EQ(shown.endField, u"215039");
  EXPECT_EQ(CaptionsOf(shown.captions)[2], u"Partition End\t :");
  EXPECT_EQ(PartitionRange(Range(records::kFat16, 0, 4096), false, 0).values[3], u"2 MB (Approx)");
  EXPECT_EQ(PartitionRange(Range(records::kNtfs, 0, 2047), false, 0).values[3], u"0 MB (Approx)");
  EXPECT_EQ(PartitionRange(Range(records::kNtfs, 0, 2047), false, 0).listItem, 0);
  EXPECT_EQ(PartitionRange(Range(7, 0, 2047), false, 0).listItem, -1);
}

TEST(PanelRows, SectorsPast2To31AreShownUnsigned) {
  PanelRange shown = PartitionRange(Range(records::kNtfs, 3000000000u, 1000000000u), false, 0);
  EXPECT_EQ(shown.values[1], u"3000000000");
  EXPECT_EQ(shown.values[2], u"3999999999");
  EXPECT_EQ(shown.values[3], u"488281 MB (Approx)");
}

TEST(PanelRows, AVhdxWithoutACountReachesItsLastSectorAndAVhdItsStart) {
  EXPECT_EQ(PartitionRange(Range(records::kNtfs, 0, 0), true, 321300).end, 321299u);
  EXPECT_EQ(PartitionRange(Range(records::kNtfs, 0, 0), true, uint64_t{1} << 40).end, 4294967295u);
  EXPECT_EQ(PartitionRange(Range(records::kNtfs, 0, 0), false, 321300).end, 0u);
}

TEST(PanelRows, ARangeUsesItsOwnCaptionsAndSizeText) {
  PanelRange shown = SectorRange(Range(records::kNtfs, 0, 321300));
  EXPECT_EQ(shown.values[2], u"321299");
  EXPECT_EQ(shown.values[3], u"156 MB ( Aprox )");
  EXPECT_EQ(CaptionsOf(shown.captions)[2], u"Partition End\t  :");
  EXPECT_EQ(SectorRange(Range(records::kNtfs, 4294967295u, 1)).values[2], u"4294967295");
}

TEST(PanelRows, ListItemsAndCodesGoBothWays) {
  for (uint16_t code : {records::kNtfs, records::kFat32, records::kFat16}) {
    EXPECT_EQ(FileSystemCodeOfItem(FileSystemListItem(code)), code);
  }
  EXPECT_EQ(FileSystemCodeOfItem(-1), 0);
  EXPECT_EQ(FileSystemCodeOfItem(3), 0);
  EXPECT_EQ(UnsignedText(0), u"0");
}

}  // namespace
}  // namespace scanpage
