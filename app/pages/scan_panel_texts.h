// The texts of the scan page's progress panel (CSecondDisplay): the captions of its five rows in each of its
// uses, and the rows that show a partition or a sector range before a scan. Sectors are unsigned numbers and are
// shown as such.
#pragma once

#include <array>
#include <cstdint>
#include <string>

struct PartitionEntry;
struct ScanRangeRecord;

namespace scanpage {

constexpr int kPanelRows = 5;
using RowTexts = std::array<std::u16string, kPanelRows>;

// Caption sets of the rows.
enum class PanelCaptions {
  kCreated,        // at creation, and with a sector range
  kPartition,      // a partition shown
  kCleared,        // nothing selected
  kCounters,       // Quick Scan and File Trace counters
  kFatSearch,      // Extensive Scan of a FAT code
  kNtfsSearch,     // Extensive Scan of NTFS
  kLogicalDrive,   // a logical drive
};
const RowTexts& CaptionsOf(PanelCaptions kind);

extern const char16_t kSearchingTitle[];

std::u16string UnsignedText(uint64_t value);

// "FAT16", "FAT32", "NTFS" for the codes 100, 200, 300; empty otherwise.
std::u16string FileSystemName(uint16_t code);
// The item of the panel's file-system list for a code: 0 "NTFS", 1 "FAT 32", 2 "FAT 16"; -1 for none.
int FileSystemListItem(uint16_t code);
// The code of a list item (300, 200, 100), or 0 for no item.
uint16_t FileSystemCodeOfItem(int item);

// What the panel shows of a partition or a range.
struct PanelRange {
  PanelCaptions captions = PanelCaptions::kPartition;
  RowTexts values;
  std::u16string startField, endField;
  int listItem = -1;
  uint32_t end = 0;  // the last sector: the range's end sector from now on
};

// A partition of ScanRange: its end is start + count - 1; a VHDX without a count reaches the disk's last
// sector (held to the engine's 32-bit limit).
PanelRange PartitionRange(const ScanRangeRecord& range, bool vhdx, uint64_t diskSectors);
// A partition of the table as it is, also one past the engine's reach, which ScanRange cannot hold (the range's
// end sector from now on is held to the reach: such a partition is refused, never scanned).
PanelRange PartitionRange(const PartitionEntry& entry);
// A sector range of ScanRange: the same rows with the range's own captions and size text.
PanelRange SectorRange(const ScanRangeRecord& range);

}  // namespace scanpage
