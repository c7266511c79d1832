#include "app/pages/source_logic.h"

#include <gtest/gtest.h>

#include "engine/partitions/partition_table.h"
#include "engine/records/extensive_lists.h"
#include "engine/records/file_trace_hits.h"
#include "engine/records/ntfs_records.h"
#include "engine/records/scan_control.h"
#include "engine/records/scan_parameters.h"
#include "platform/os/os.h"

namespace {

using namespace source;

TEST(SourceLogic, TotalSectorsComeFromTheSizeHeldTo32Bits) {
  EXPECT_EQ(TotalSectorsOfSize(0), 0u);
  EXPECT_EQ(TotalSectorsOfSize(164505600), 321300u);
  EXPECT_EQ(TotalSectorsOfSize(511), 0u);
  EXPECT_EQ(TotalSectorsOfSize(uint64_t{200} << 30), 419430400u);  // beyond the CHS cap of about 127 GB
  EXPECT_EQ(TotalSectorsOfSize(uint64_t{4} << 40), UINT32_MAX);
}

TEST(SourceLogic, RegistrarFillsSlotsFromZeroAndVhdxHasNoGeometry) {
  ClearDiskTable();
  {
    RegisterVirtualDisk registrar;
    ImageFacts vhd{kFormatVhd, 647, 16, 31, 164505600};
    EXPECT_EQ(registrar.Register(vhd), 0);
  }
  EXPECT_EQ(DiskTable.diskCount, 1u);
  EXPECT_EQ(DiskTable.slots[0].cylinders, 647u);
  EXPECT_EQ(DiskTable.slots[0].totalSectors, 321300u);
  EXPECT_STREQ(DiskTable.slots[0].model, "Virtual Hard Disk");

  // A fresh registrar (a new listing) takes slot 0 again; the VHD's geometry does not linger.
  RegisterVirtualDisk registrar;
  EXPECT_EQ(registrar.Register({kFormatVhdx, 99, 99, 99, uint64_t{5} << 30}), 0);
  EXPECT_EQ(DiskTable.diskCount, 1u);
  EXPECT_EQ(DiskTable.slots[0].cylinders, 0u);
  EXPECT_EQ(DiskTable.slots[0].heads, 0u);
  EXPECT_EQ(DiskTable.slots[0].sectorsPerTrack, 0u);
  EXPECT_EQ(DiskTable.slots[0].totalSectors, 10485760u);
  EXPECT_EQ(DiskTable.registrations, 2u);
  for (int i = 1; i < 10; ++i) EXPECT_EQ(registrar.Register({}), i);
  EXPECT_EQ(registrar.Register({}), -1) << "ten slots";
  EXPECT_EQ(DiskTable.diskCount, 10u);
}

TEST(SourceLogic, CapacityTexts) {
  DiskSlot slot;
  slot.cylinders = 647;
  slot.heads = 16;
  slot.sectorsPerTrack = 31;
  slot.totalSectors = 321300;
  std::snprintf(slot.model, sizeof slot.model, "Virtual Hard Disk");
  const DiskInfoTexts vhd = DiskInfoFor(slot, kFormatVhd, 164505600);
  EXPECT_EQ(vhd.model, u"Virtual Hard Disk");
  EXPECT_EQ(vhd.capacity, u"156 MB (Approx)");
  EXPECT_EQ(vhd.cylinders, u"647");
  EXPECT_EQ(vhd.heads, u"16");
  EXPECT_EQ(vhd.sectorsPerTrack, u"31");

  // A VHDX: no geometry; its size rounded up to whole MB.
  const DiskInfoTexts vhdx = DiskInfoFor(slot, kFormatVhdx, 164505600);
  EXPECT_EQ(vhdx.capacity, u"157 MB ");
  EXPECT_EQ(vhdx.cylinders, u"");
  EXPECT_EQ(vhdx.heads, u"");
  EXPECT_EQ(vhdx.sectorsPerTrack, u"");
  EXPECT_EQ(DiskInfoFor(slot, kFormatVhdx, uint64_t{64} << 20).capacity, u"64 MB ");
  EXPECT_EQ(DiskInfoFor(slot, kFormatVhdx, (uint64_t{64} << 20) + 1).capacity, u"65 MB ");
}

TEST(SourceLogic, PieSlicesLeaveTheRestFree) {
  const PartitionEntry table[] = {{2048, 300, records::kFat16}, {4000, 500, records::kNtfs}};
  const std::vector<PieSliceValues> slices = PartitionPie(table, 2, 1000);
  ASSERT_EQ(slices.size(), 3u);
  EXPECT_EQ(slices[0], (PieSliceValues{u"FAT16", 0x8FA7F8, 30}));
  EXPECT_EQ(slices[1], (PieSliceValues{u"NTFS", 0x780077, 50}));
  EXPECT_EQ(slices[2], (PieSliceValues{u"FREE", 0xFF00FF, 20}));

  const PartitionEntry unknown[] = {{63, 250, 7}, {400, 750, records::kFat32}};
  const std::vector<PieSliceValues> full = PartitionPie(unknown, 2, 1000);
  ASSERT_EQ(full.size(), 2u) << "a full disk has no free slice";
  EXPECT_EQ(full[0], (PieSliceValues{u"UNKNOWN", 0xFFFFFF, 25}));
  EXPECT_EQ(full[1], (PieSliceValues{u"FAT32", 0xFF7777, 75}));

  // Overlapping finds never add up past the whole disk; no disk size gives empty shares.
  const PartitionEntry overlap[] = {{0, 900, records::kNtfs}, {10, 900, records::kNtfs}};
  const std::vector<PieSliceValues> held = PartitionPie(overlap, 2, 1000);
  ASSERT_EQ(held.size(), 2u);
  EXPECT_EQ(held[1].percent, 10);
  EXPECT_EQ(PartitionPie(table, 2, 0).back(), (PieSliceValues{u"FREE", 0xFF00FF, 100}));
  EXPECT_EQ(PartitionPie(nullptr, 0, 1000), (std::vector<PieSliceValues>{{u"FREE", 0xFF00FF, 100}}));
}

SelectionInput At(std::u16string item, std::u16string parent, int row) {
  SelectionInput in;
  in.item = std::move(item);
  in.parent = std::move(parent);
  in.row = row;
  in.atSourceStage = true;
  in.recoveryMode = records::kQuickScan;
  return in;
}

TEST(SourceLogic, SelectingTheDiskShowsItAndDetects) {
  const SelectionActions disk = DecideSelection(At(u"Virtual Hard Disk 0 ", u"Physical Devices", 1));
  EXPECT_EQ(disk.selectedPartition, 1);
  EXPECT_EQ(disk.showDisk, 0);
  EXPECT_TRUE(disk.detectPartitions);
  EXPECT_EQ(disk.sourceKind, 1);
  EXPECT_FALSE(disk.resetPanel);
  EXPECT_TRUE(disk.setModeText);
  EXPECT_EQ(disk.modeText, u"Selected Mode  : Quick Scan \r\nDrive Type         : Virtual Hard Disk");

  SelectionInput trace = At(u"Virtual Hard Disk 0 ", u"Physical Devices", 1);
  trace.recoveryMode = records::kFileTrace;
  EXPECT_EQ(DecideSelection(trace).modeText, u"Selected Mode : File Trace \r\nDrive Type        : Virtual Hard Disk");

  // Past the source stage a disk changes nothing but the selected row.
  SelectionInput later = At(u"Virtual Hard Disk 0 ", u"Physical Devices", 1);
  later.atSourceStage = false;
  const SelectionActions none = DecideSelection(later);
  EXPECT_EQ(none.showDisk, -1);
  EXPECT_FALSE(none.detectPartitions);
  EXPECT_FALSE(none.setModeText);
  EXPECT_EQ(none.sourceKind, 3);
}

TEST(SourceLogic, SelectingAGroupLeavesTheSource) {
  SelectionInput in = At(u"Physical Devices", u"My Computer", 0);
  in.sourceKind = 1;
  const SelectionActions devices = DecideSelection(in);
  EXPECT_TRUE(devices.diskLabels);
  EXPECT_TRUE(devices.resetPanel);
  EXPECT_EQ(devices.sourceKind, 3);
  EXPECT_TRUE(devices.setModeText);
  EXPECT_EQ(devices.modeText, u"");

  SelectionInput root = At(u"My Computer", u"", -1);
  root.sourceKind = 1;
  const SelectionActions top = DecideSelection(root);
  EXPECT_TRUE(top.resetPanel);
  EXPECT_FALSE(top.diskLabels);
  EXPECT_EQ(top.sourceKind, 3);
  EXPECT_EQ(top.showDisk, -1);
}

TEST(SourceLogic, PartitionsOnTheScanPage) {
  SelectionInput in = At(u"Partition 1", u"Virtual Hard Disk ", 1);
  in.atSourceStage = false;
  in.atScanStage = true;
  in.scanFinished = true;
  const SelectionActions finished = DecideSelection(in);
  EXPECT_TRUE(finished.scanPartition);
  EXPECT_FALSE(finished.scanCounterLabels);
  EXPECT_EQ(finished.selectedPartition, 1);
  // While the scan is unfinished the captions are written only over a FAT entry at the current drive.
  in.scanFinished = false;
  const SelectionActions running = DecideSelection(in);
  EXPECT_FALSE(running.scanPartition);
  EXPECT_FALSE(running.scanCounterLabels);
  in.currentDriveEntryFat = true;
  EXPECT_TRUE(DecideSelection(in).scanCounterLabels);

  SelectionInput group = At(u"Virtual Hard Disk ", u"", 0);
  group.atSourceStage = false;
  group.atScanStage = true;
  group.recoveryMode = records::kExtensiveScan;
  const SelectionActions whole = DecideSelection(group);
  EXPECT_TRUE(whole.clearScanPartitionFields);
  EXPECT_TRUE(whole.resetPanel);
  EXPECT_TRUE(whole.scanRangeWholeDisk);
  group.recoveryMode = records::kQuickScan;
  EXPECT_FALSE(DecideSelection(group).scanRangeWholeDisk);
}

TEST(SourceLogic, ModeLinesOfNext) {
  EXPECT_EQ(ModeLine(records::kQuickScan, false), u"Selected Mode : Quick Scan \r\nDrive Type        : Virtual Hard Disk");
  EXPECT_EQ(ModeLine(records::kExtensiveScan, false),
            u"Selected Mode : Extensive Scan \r\nDrive Type        : Virtual Hard Disk");
}

TEST(SourceLogic, DriveInformationByFileSystemAndMode) {
  using Values = std::vector<std::u16string>;
  const FileSystemRecord keptFs = CurrentFileSystem;
  const ScanCountersRecord keptCounters = ScanCounters;
  const uint32_t keptMode = RecoveryMode;

  CurrentFileSystem = FileSystemRecord{};
  CurrentFileSystem.type = records::kFat16;
  CurrentFileSystem.reservedSectors = 4;
  CurrentFileSystem.firstFatSector = 2052;
  CurrentFileSystem.secondFatSector = 2116;
  CurrentFileSystem.sectorsPerCluster = 4;
  ScanCounters = ScanCountersRecord{};
  ScanCounters.folderCount = 11;
  ScanCounters.entryCount = 27;
  ScanCounters.fileRecordCount = 99;
  RecoveryMode = records::kQuickScan;
  EXPECT_EQ(DriveInformationValues(), (Values{u"FAT16", u"2048", u"11", u"27", u"4", u"2052", u"2116", u"N/A"}));

  // File Trace: no folders, and its files are the hits listed, with the counters as a trace of one hit and a
  // loaded snapshot of seven leave them (the folder counter at 0 both times).
  RecoveryMode = records::kFileTrace;
  for (const uint32_t hits : {1u, 7u}) {
    FreeFileTraceResultList();
    for (uint32_t i = 1; i <= hits; ++i) AppendFileTraceHit(os::Decimal(i) + u".jpg", u".jpg", u"JPEG", i, 100 + i);
    ScanCounters.folderCount = 0;
    ScanCounters.entryCount = hits;
    EXPECT_EQ(DriveInformationValues(),
              (Values{u"FAT16", u"2048", u"0", os::Decimal(hits), u"4", u"2052", u"2116", u"N/A"}));
  }
  FreeFileTraceResultList();
  ScanCounters.folderCount = 11;

  // Before any trace (no file system read since the mode was chosen, no hit): nothing.
  CurrentFileSystem = FileSystemRecord{};
  EXPECT_EQ(DriveInformationValues(), Values(8));

  // An Extensive Scan of NTFS counts the chosen volume's files of those the search found in two volumes; FAT
  // positions do not apply.
  CurrentFileSystem.type = records::kNtfs;
  CurrentFileSystem.clusterBase = 215040;
  CurrentFileSystem.sectorsPerCluster = 8;
  CurrentFileSystem.mftSector = 221184;
  CurrentFileSystem.lastSector = 300000;
  RecoveryMode = records::kExtensiveScan;
  FreeExtensiveScanLists();
  for (uint32_t i = 0; i < 5; ++i) {
    AppendNtfsFoundEntry(u"ours" + os::Decimal(i), 215140 + 2 * i, 5, 64 + i, 0, 0, 10, 0, 0);
    AppendNtfsFoundEntry(u"other" + os::Decimal(i), 400000 + 2 * i, 5, 64 + i, 0, 0, 10, 0, 0);
  }
  AppendNtfsFoundEntry(u"other5", 400100, 5, 70, 0, 0, 10, 0, 0);
  EXPECT_EQ(DriveInformationValues(), (Values{u"NTFS", u"215040", u"11", u"5", u"8", u"N/A", u"N/A", u"221184"}));
  FreeExtensiveScanLists();

  // An unknown code names nothing and has no tables.
  CurrentFileSystem.type = 7;
  const Values unknown = DriveInformationValues();
  EXPECT_EQ(unknown[0], u"");
  EXPECT_EQ(unknown[5], u"N/A");
  EXPECT_EQ(unknown[7], u"N/A");

  CurrentFileSystem = keptFs;
  ScanCounters = keptCounters;
  RecoveryMode = keptMode;
}

}  // namespace
