#include "app/pages/source_logic.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "engine/partitions/partition_table.h"
#include "engine/records/file_system_range.h"
#include "engine/records/file_trace_hits.h"
#include "engine/records/ntfs_records.h"
#include "engine/records/scan_control.h"
#include "engine/records/scan_parameters.h"
#include "platform/os/os.h"

namespace source {

DiskTableRecord DiskTable;

namespace {

constexpr uint64_t kSectorBytes = 512;
constexpr uint64_t kMegabyte = 1048576;
constexpr char kVirtualDiskModel[] = "Virtual Hard Disk";

using os::Decimal;


}  // namespace

uint32_t TotalSectorsOfSize(uint64_t bytes) {
  const uint64_t sectors = bytes / kSectorBytes;
  return sectors > UINT32_MAX ? UINT32_MAX : static_cast<uint32_t>(sectors);
}

int RegisterVirtualDisk::Register(const ImageFacts& image) {
  if (nextIndex_ >= kMaxDisks) return -1;
  const uint32_t index = nextIndex_;
  DiskSlot& slot = DiskTable.slots[index];
  const bool vhd = image.imageFormat == kFormatVhd;
  slot.cylinders = vhd ? image.cylinders : 0;
  slot.heads = vhd ? image.heads : 0;
  slot.sectorsPerTrack = vhd ? image.sectorsPerTrack : 0;
  slot.totalSectors = TotalSectorsOfSize(image.diskBytes);
  std::memset(slot.model, 0, sizeof slot.model);
  std::memcpy(slot.model, kVirtualDiskModel, sizeof kVirtualDiskModel);
  ++DiskTable.registrations;
  DiskTable.diskCount = index + 1;
  nextIndex_ = DiskTable.diskCount;
  return static_cast<int>(index);
}

void ClearDiskTable() { DiskTable = DiskTableRecord{}; }

DiskInfoTexts DiskInfoFor(const DiskSlot& slot, uint32_t imageFormat, uint64_t diskBytes) {
  DiskInfoTexts texts;
  const size_t modelLength = strnlen(slot.model, sizeof slot.model);
  texts.model = std::u16string(slot.model, slot.model + modelLength);
  if (imageFormat == kFormatVhd) {
    texts.cylinders = Decimal(slot.cylinders);
    texts.heads = Decimal(slot.heads);
    texts.sectorsPerTrack = Decimal(slot.sectorsPerTrack);
    texts.capacity = Decimal(slot.totalSectors / 2048) + u" MB (Approx)";
  } else {
    texts.capacity = Decimal((diskBytes + kMegabyte - 1) / kMegabyte) + u" MB ";
  }
  return texts;
}

std::vector<PieSliceValues> PartitionPie(const PartitionEntry* table, uint32_t count, uint64_t diskTotalSectors) {
  std::vector<PieSliceValues> slices;
  int sum = 0;
  for (uint32_t i = 0; i < count; ++i) {
    PieSliceValues slice;
    switch (table[i].fileSystemCode) {
      case records::kFat16:
        slice = {u"FAT16", 0x8FA7F8, 0};  // RGB(248, 167, 143)
        break;
      case records::kFat32:
        slice = {u"FAT32", 0xFF7777, 0};  // RGB(119, 119, 255)
        break;
      case records::kNtfs:
        slice = {u"NTFS", 0x780077, 0};  // RGB(119, 0, 120)
        break;
      default:
        slice = {u"UNKNOWN", 0xFFFFFF, 0};
        break;
    }
    if (diskTotalSectors != 0) {
      const uint64_t count = table[i].sectorCount;
      const uint64_t share = count / diskTotalSectors >= 1 ? 100 : count * 100 / diskTotalSectors;
      // Partitions found by the search may overlap: the shares never add up past the whole disk.
      slice.percent = static_cast<int>(std::min<uint64_t>(share, static_cast<uint64_t>(100 - sum)));
    }
    sum += slice.percent;
    slices.push_back(slice);
  }
  if (sum != 100) slices.push_back({u"FREE", 0xFF00FF, 100 - sum});
  return slices;
}

std::vector<std::u16string> DriveInformationValues() {
  const FileSystemRecord& fs = CurrentFileSystem;
  const bool trace = RecoveryMode == records::kFileTrace;
  // File Trace's files are its hits, listed whether they were traced or loaded from a snapshot: its counters
  // do not hold them (a snapshot's load leaves the folder counter at 0, and a trace of one hit too). The
  // dialog is open to the user while a trace appends hits: it reads their count, never the list.
  const uint64_t hits = trace ? FileTraceHitCount.load(std::memory_order_acquire) : 0;
  // Before a scan (or a trace) has read a file system, there is nothing to tell of one.
  if (fs.type == 0 && hits == 0) return std::vector<std::u16string>(8);
  std::u16string name;
  if (fs.type == records::kNtfs) name = u"NTFS";
  if (fs.type == records::kFat32) name = u"FAT32";
  if (fs.type == records::kFat16) name = u"FAT16";
  uint64_t files = trace ? hits : ScanCounters.entryCount;
  // An Extensive Scan may have found several NTFS volumes: the files are the chosen one's, as its lists show.
  if (RecoveryMode == records::kExtensiveScan && fs.type == records::kNtfs) {
    files = static_cast<uint64_t>(std::count_if(NtfsFoundEntryList.begin(), NtfsFoundEntryList.end(),
                                                [](const NtfsFoundEntryRecord& e) { return InChosenFileSystem(e); }));
  }
  const bool fat = fs.type == records::kFat16 || fs.type == records::kFat32;
  const bool ntfs = fs.type == records::kNtfs;
  return {name,
          Decimal(FileSystemFirstSector(fs)),
          trace ? u"0" : Decimal(ScanCounters.folderCount),
          Decimal(files),
          Decimal(fs.sectorsPerCluster),
          fat ? Decimal(fs.firstFatSector) : u"N/A",
          fat ? Decimal(fs.secondFatSector) : u"N/A",
          ntfs ? Decimal(fs.mftSector) : u"N/A"};
}

std::u16string ModeLine(uint32_t recoveryMode, bool forSelection) {
  switch (recoveryMode) {
    case records::kQuickScan:
      return forSelection ? u"Selected Mode  : Quick Scan \r\nDrive Type         : Virtual Hard Disk"
                          : u"Selected Mode : Quick Scan \r\nDrive Type        : Virtual Hard Disk";
    case records::kExtensiveScan:
      return u"Selected Mode : Extensive Scan \r\nDrive Type        : Virtual Hard Disk";
    default:
      return u"Selected Mode : File Trace \r\nDrive Type        : Virtual Hard Disk";
  }
}

SelectionActions DecideSelection(const SelectionInput& in) {
  SelectionActions out;
  out.selectedPartition = in.row;
  out.sourceKind = in.sourceKind;
  const auto leaveSource = [&out] {
    out.resetPanel = true;
    out.sourceKind = 3;
    out.setModeText = true;
    out.modeText.clear();
  };
  if (in.row < 0 && in.atSourceStage) leaveSource();

  if (in.item == kPhysicalDevices) {
    out.diskLabels = true;
    leaveSource();
  } else if (in.item == kVirtualDiskGroup) {
    out.clearScanPartitionFields = true;
    out.resetPanel = true;
    out.scanRangeWholeDisk = in.recoveryMode == records::kExtensiveScan;
  }

  if (in.parent == kPhysicalDevices && in.atSourceStage) {
    out.showDisk = in.row - 1;
    out.sourceKind = 1;
    out.detectPartitions = out.showDisk >= 0;
  } else if (in.parent == kVirtualDiskGroup && in.atScanStage) {
    out.scanPartition = in.scanFinished;
    out.scanCounterLabels = !in.scanFinished && in.currentDriveEntryFat;
  }

  if (out.sourceKind == 1) {
    out.setModeText = true;
    out.modeText = ModeLine(in.recoveryMode, true);
  }
  return out;
}

}  // namespace source
