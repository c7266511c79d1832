#include "app/pages/scan_panel_texts.h"

#include <algorithm>
#include <string>

#include "app/pages/scan_range_check.h"
#include "engine/partitions/partition_table.h"
#include "engine/records/scan_parameters.h"
#include "platform/os/os.h"

namespace scanpage {

const char16_t kSearchingTitle[] = u"Searching for lost data. Please wait...";

const RowTexts& CaptionsOf(PanelCaptions kind) {
  static const RowTexts kCreatedRows = {u"Partition type\t :", u"Partition Start\t :", u"Partition End\t  :",
                                        u"Partition Size     :", u""};
  static const RowTexts kPartitionRows = {u"Partition type\t :", u"Partition Start\t :", u"Partition End\t :",
                                          u"Partition Size     :", u""};
  static const RowTexts kClearedRows = {u"Partition type\t :", u"Partition Start\t :", u"Partition End\t   :",
                                        u"Partition Size     :", u""};
  static const RowTexts kCounterRows = {u"Folder(s) Found  :", u"File(s) Found    :", u"Current Sector    :",
                                        u"Last File/Folder   :", u""};
  static const RowTexts kFatRows = {u"Boot Sector(s) Found :", u"Folder(s) Found\t        :",
                                    u"Current Sector\t        :", u"", u""};
  static const RowTexts kNtfsRows = {u"Boot Sector(s) Found :", u"Index Entries Found   :",
                                     u"File(s) Found             :", u"Folder(s) Found         :",
                                     u"Current Sector           :"};
  static const RowTexts kDriveRows = {u"Volume Name :", u"Capacity         :", u"SPC               :",
                                      u"File System    :", u""};
  switch (kind) {
    case PanelCaptions::kCreated:
      return kCreatedRows;
    case PanelCaptions::kPartition:
      return kPartitionRows;
    case PanelCaptions::kCleared:
      return kClearedRows;
    case PanelCaptions::kCounters:
      return kCounterRows;
    case PanelCaptions::kFatSearch:
      return kFatRows;
    case PanelCaptions::kNtfsSearch:
      return kNtfsRows;
    case PanelCaptions::kLogicalDrive:
      break;
  }
  return kDriveRows;
}

std::u16string UnsignedText(uint64_t value) { return os::FromAscii(std::to_string(value)); }

std::u16string FileSystemName(uint16_t code) {
  switch (code) {
    case records::kFat16:
      return u"FAT16";
    case records::kFat32:
      return u"FAT32";
    case records::kNtfs:
      return u"NTFS";
    default:
      return u"";
  }
}

int FileSystemListItem(uint16_t code) {
  switch (code) {
    case records::kNtfs:
      return 0;
    case records::kFat32:
      return 1;
    case records::kFat16:
      return 2;
    default:
      return -1;
  }
}

uint16_t FileSystemCodeOfItem(int item) {
  static const uint16_t kCodes[] = {records::kNtfs, records::kFat32, records::kFat16};
  return item >= 0 && item < 3 ? kCodes[item] : 0;
}

namespace {

// The rows of the sectors start to end; the range's end sector from now on is held to the engine's reach.
PanelRange RowsOf(uint16_t code, uint64_t start, uint64_t end) {
  PanelRange shown;
  shown.end = static_cast<uint32_t>(std::min<uint64_t>(end, kLastScannableSector));
  shown.listItem = FileSystemListItem(code);
  shown.startField = UnsignedText(start);
  shown.endField = UnsignedText(end);
  shown.values[0] = FileSystemName(code);
  shown.values[1] = shown.startField;
  shown.values[2] = shown.endField;
  return shown;
}

PanelRange PartitionRows(uint16_t code, uint64_t start, uint64_t end, uint64_t count) {
  PanelRange shown = RowsOf(code, start, end);
  shown.captions = PanelCaptions::kPartition;
  shown.values[3] = UnsignedText(count >> 11) + u" MB (Approx)";
  return shown;
}

}  // namespace

PanelRange PartitionRange(const ScanRangeRecord& range, bool vhdx, uint64_t diskSectors) {
  uint64_t end = uint64_t{range.startSector} + range.sectorCount - 1;
  if (range.sectorCount == 0) {
    // No count known: a VHDX reaches its last sector; anything else shows its start alone.
    end = vhdx && diskSectors > 0 ? std::min<uint64_t>(diskSectors - 1, kLastScannableSector) : range.startSector;
  }
  return PartitionRows(range.fileSystemCode, range.startSector, std::min<uint64_t>(end, kLastScannableSector),
                       range.sectorCount);
}

PanelRange PartitionRange(const PartitionEntry& entry) {
  const uint64_t count = entry.sectorCount;
  return PartitionRows(entry.fileSystemCode, entry.firstSector, entry.firstSector + (count > 0 ? count - 1 : 0), count);
}

PanelRange SectorRange(const ScanRangeRecord& range) {
  const uint64_t end = range.sectorCount == 0 ? range.startSector : uint64_t{range.startSector} + range.sectorCount - 1;
  PanelRange shown = RowsOf(range.fileSystemCode, range.startSector, std::min<uint64_t>(end, kLastScannableSector));
  shown.captions = PanelCaptions::kCreated;
  shown.values[3] = UnsignedText(range.sectorCount >> 11) + u" MB ( Aprox )";
  return shown;
}

}  // namespace scanpage
