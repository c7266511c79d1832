// What pages 0 and 1 decide without a window: the disk table the source tree lists, the disk panel's texts and
// partition pie, and what a selection in the source tree does. The windows carry these decisions out.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct PartitionEntry;

namespace source {

// ---- the image ----------------------------------------------------------------------------------------

// Values of ImageFormat: which reader opened the image (the file's bytes choose it, DiskImage::OpenFile).
constexpr uint32_t kFormatVhd = 0;
constexpr uint32_t kFormatVhdx = 1;

// ---- the disk table -----------------------------------------------------------------------------------

constexpr uint32_t kMaxDisks = 10;
constexpr uint32_t kModelBytes = 512;

struct DiskSlot {
  uint32_t cylinders = 0;
  uint32_t heads = 0;
  uint32_t sectorsPerTrack = 0;
  uint32_t totalSectors = 0;
  char model[kModelBytes] = {};  // 8-bit, zero-terminated
};

struct DiskTableRecord {
  uint32_t diskCount = 0;
  DiskSlot slots[kMaxDisks];
  uint32_t registrations = 0;
};

// Written on the user-interface thread by RegisterVirtualDisk; read by the trees, panels and the search.
extern DiskTableRecord DiskTable;

// What the registrar reads of the opened image.
struct ImageFacts {
  uint32_t imageFormat = kFormatVhd;
  uint32_t cylinders = 0;
  uint32_t heads = 0;
  uint32_t sectorsPerTrack = 0;
  uint64_t diskBytes = 0;  // the virtual disk's size
};

// Sectors of 512 bytes in a disk of that size, held to 32 bits (the engine addresses no further).
uint32_t TotalSectorsOfSize(uint64_t bytes);

// Enters the opened image in the next slot. The total comes from the disk's size for both kinds: the
// product of a VHD's geometry is cut short by its cap on large disks. A VHDX has no geometry: its slot's
// geometry is left empty rather than kept from an earlier image.
class RegisterVirtualDisk {
 public:
  // The slot used, or -1 when the table is full.
  int Register(const ImageFacts& image);

 private:
  uint32_t nextIndex_ = 0;
};

// Starts a fresh table (a new registrar follows).
void ClearDiskTable();

// ---- the disk panel -----------------------------------------------------------------------------------

// The five values of the disk labels: model, capacity, cylinders, heads, sectors per track.
struct DiskInfoTexts {
  std::u16string model, capacity, cylinders, heads, sectorsPerTrack;
};

// A VHD shows its geometry and total sectors / 2048 as "%u MB (Approx)"; a VHDX no geometry and its size
// rounded up to whole MB as "%u MB ".
DiskInfoTexts DiskInfoFor(const DiskSlot& slot, uint32_t imageFormat, uint64_t diskBytes);

struct PieSliceValues {
  std::u16string text;
  uint32_t colour = 0;  // 0x00BBGGRR
  int percent = 0;
  bool operator==(const PieSliceValues& o) const {
    return text == o.text && colour == o.colour && percent == o.percent;
  }
};

// One slice per partition by its file system (share of the disk's total sectors, in whole percent,
// at most 100 in all), then "FREE" for what is left when the shares do not reach 100.
std::vector<PieSliceValues> PartitionPie(const PartitionEntry* table, uint32_t count, uint64_t diskTotalSectors);

// The eight values of "Drive Information" (file system, start sector, directories, files, sectors per
// cluster, first and second FAT, MFT start) from CurrentFileSystem, the scan counters and the mode: the
// files of an Extensive Scan of NTFS are the chosen volume's, File Trace's its hits. All empty while no file
// system is known (none read since the mode was chosen) and no hit is either.
std::vector<std::u16string> DriveInformationValues();

// ---- the source tree's selection ----------------------------------------------------------------------

constexpr char16_t kPhysicalDevices[] = u"Physical Devices";
constexpr char16_t kVirtualDiskGroup[] = u"Virtual Hard Disk ";

// The frame's selected partition when it names none of the partitions found: the whole disk (the tree's
// top node), or nothing picked.
constexpr int kWholeDisk = -1;
constexpr int kNothingPicked = -2;

struct SelectionInput {
  std::u16string item;    // the selected item's text
  std::u16string parent;  // its parent's text (empty for a root)
  int row = -2;           // SourceTreeCtrl::RowIndex of the item
  bool atSourceStage = false;
  bool atScanStage = false;
  bool scanFinished = false;
  bool currentDriveEntryFat = false;  // the PartitionTable entry at CurrentDriveIndex is FAT16 or FAT32
  uint32_t recoveryMode = 0;
  uint16_t sourceKind = 3;
};

struct SelectionActions {
  int selectedPartition = -2;
  bool resetPanel = false;
  bool diskLabels = false;
  bool clearScanPartitionFields = false;  // page 2's panel
  bool scanRangeWholeDisk = false;        // Extensive Scan: the whole disk as the range, shown on page 2
  int showDisk = -1;                      // the panel shows this disk, detection and pie follow when >= 0
  bool detectPartitions = false;
  bool scanCounterLabels = false;         // page 2: when the table's entry is FAT (scan not finished)
  bool scanPartition = false;             // page 2: ScanRange = entry selectedPartition (scan finished)
  uint16_t sourceKind = 3;
  bool setModeText = false;               // write modeText (may be empty)
  std::u16string modeText;
};

SelectionActions DecideSelection(const SelectionInput& in);

// The mode line with the drive type, as the selection (nameAligned) and Next write it.
std::u16string ModeLine(uint32_t recoveryMode, bool forSelection);

}  // namespace source
