// The Extensive Scan's sector search: every sector of the range, a block at a time, tested for the
// structures the analysis rebuilds file systems from.
#include <algorithm>
#include <cstring>
#include <functional>
#include <vector>

#include "engine/fat/fat_entry_sector.h"
#include "engine/host/host.h"
#include "engine/image/byte_order.h"
#include "engine/image/read_sectors.h"
#include "engine/ntfs/found_records.h"
#include "engine/ntfs/index_records.h"
#include "engine/ntfs/mft_record.h"
#include "engine/records/extensive_candidates.h"
#include "engine/records/extensive_lists.h"
#include "engine/records/recovery_settings.h"
#include "engine/records/scan_control.h"
#include "engine/records/scan_parameters.h"
#include "engine/scan/extensive_report.h"
#include "engine/scan/extensive_scan.h"
#include "engine/scan/fat_table_search.h"
#include "engine/scan/scan_end.h"

namespace {

using extensive::ShowRow;

constexpr uint32_t kMaxSectorsPerRead = 100;
constexpr uint32_t kBlocksPerProgress = 88;
constexpr uint32_t kMaxBootSectors = 60000;
constexpr uint64_t kSectorNumbers = uint64_t{1} << 32;
// The size the search reads an index record with: the usual 4096 bytes.
constexpr uint32_t kSearchIndexSectors = 8;

bool HasText(const uint8_t* sector, size_t offset, const char* text) {
  return std::memcmp(sector + offset, text, std::strlen(text)) == 0;
}

bool HasBootSignature(const uint8_t* sector) { return sector[510] == 0x55 && sector[511] == 0xAA; }

// What a search does with the blocks and sectors of the range.
struct SearchSteps {
  std::function<void(uint64_t offset)> beforeBlock;
  std::function<void(uint64_t offset)> afterBlock;
  std::function<void(uint32_t sector, const uint8_t* bytes)> examine;
};

// Reads the range in blocks of the configured size into one buffer and hands each sector of a block that
// was read to steps.examine, testing the stop flag before each. Sectors past the range (the last block
// may be shorter) and past the 32-bit sector numbers the records hold are not examined, so the candidates
// do not depend on the block size.
void SearchRange(const SearchSteps& steps) {
  extensive::ShowProgress(0);
  std::vector<uint8_t> buffer = records::GuardAllocation([] { return std::vector<uint8_t>(kMaxSectorsPerRead * kSectorSize); });
  ScanThreadControl.stopFlag = 0;
  // The dialog offers 1 to 100; the buffer holds 100 sectors whatever the record says.
  const uint32_t perRead = std::clamp<uint32_t>(RecoverySettings.sectorsPerRead, 1, kMaxSectorsPerRead);
  const uint64_t start = ScanRange.startSector;
  const uint64_t count = std::min<uint64_t>(ScanRange.sectorCount, kSectorNumbers - start);
  uint64_t block = 0;
  for (uint64_t i = 0; i < count && !ScanStopRequested(); i += perRead, ++block) {
    const uint32_t sectors = static_cast<uint32_t>(std::min<uint64_t>(perRead, count - i));
    if (steps.beforeBlock) steps.beforeBlock(i);
    // The sectors of a block that cannot be read come back as zeros and are not examined; those before the first
    // of them are (the block the disk's end, or a cut, falls inside).
    const uint32_t readable = ReadReadableSectors(ntfs::CurrentDevicePath(), start + i, sectors, buffer.data());
    if (block % kBlocksPerProgress == 0) {
      extensive::ShowProgress(extensive::HeldPercent(i, ScanRange.sectorCount));
      extensive::ShowStatus(u"Reading Sector " + extensive::Decimal(i) + u" Of " +
                            extensive::Decimal(ScanRange.sectorCount));
    }
    for (uint32_t k = 0; k < readable && !ScanStopRequested(); ++k) {
      steps.examine(static_cast<uint32_t>(start + i + k), buffer.data() + size_t{k} * kSectorSize);
    }
    if (steps.afterBlock) steps.afterBlock(i);
  }
}

void ExamineFatSector(uint32_t sector, const uint8_t* bytes) {
  if (HasBootSignature(bytes)) {
    if (!HasText(bytes, 85, "32") && !HasText(bytes, 57, "16")) return;
    if (ExtensiveCounters.bootSectorCount >= kMaxBootSectors) {
      if (host::MessageHost* messages = host::Current().messages) {
        messages->MessageDialog(u"Too many data structures found", host::kError);
      }
      ScanThreadControl.stopFlag = 1;
      return;
    }
    AppendBootSectorCandidate(BootSectorCandidateList, sector);
    ShowRow(extensive::kBootSectorsRow, ExtensiveCounters.bootSectorCount);
    return;
  }
  // The first sector of a table copy, or of a folder's later cluster; else the first sector of a subfolder: its "."
  // entry, then its ".." entry.
  if (const FatTableStart start = FatTableStartOf(bytes); start != FatTableStart::kNone) {
    FatTableStartList.Append(FatTableStartCandidate{sector, CanBegin(start, false), CanBegin(start, true)});
    return;
  }
  if (HoldsFatDirectoryEntries(bytes)) {
    DirEntrySectorList.Append(DirEntrySectorCandidate{sector});
    return;
  }
  if (bytes[0] != '.' || bytes[1] != ' ' || bytes[32] != '.' || bytes[33] != '.' || bytes[34] != ' ') return;
  const uint32_t cluster = LoadLe16(bytes + 26) | uint32_t{LoadLe16(bytes + 20)} << 16;
  const uint32_t parent = LoadLe16(bytes + 58) | uint32_t{LoadLe16(bytes + 52)} << 16;
  // Clusters count from 2. A root has no "." entry, so one naming cluster 2 is a folder: the first one made
  // on a FAT16 volume, or a FAT32 folder whose root lies elsewhere. A folder lies after the sector of
  // cluster 0, so beyond its own cluster number.
  if (cluster >= 2 && cluster != 0xFFFFFFFF && parent != 0xFFFFFFFF && cluster < sector) {
    AppendDirSectorCandidate(sector, cluster, parent, LoadLe16(bytes + 24), LoadLe16(bytes + 18));
  }
  ShowRow(extensive::kFatFoldersRow, ScanCounters.subfolderCandidateCount);
}

void ExamineNtfsSector(uint32_t sector, const uint8_t* bytes) {
  if (HasBootSignature(bytes)) {
    if (!HasText(bytes, 3, "NTFS")) return;
    AppendBootSectorCandidate(BootSectorCandidateList, sector);
    ShowRow(extensive::kBootSectorsRow, ExtensiveCounters.bootSectorCount);
    return;
  }
  if (HasText(bytes, 0, "FILE") && ntfs::IsMftRecordSize(LoadLe32(bytes + 28))) {
    ReadFoundFileRecord(sector);
    ShowRow(extensive::kNtfsFoldersRow, ScanCounters.subfolderCandidateCount);
    ShowRow(extensive::kFileRecordsRow, ScanCounters.fileRecordCount);
    return;
  }
  if (HasText(bytes, 0, "INDX")) {
    FileSystemRecord parameters;
    parameters.sectorsPerIndexRecord = kSearchIndexSectors;
    ReadIndexRecord(sector, parameters);
    ShowRow(extensive::kIndexRecordsRow, ScanCounters.indexRecordCount);
  }
}

}  // namespace

void SearchFatSectors() {
  SearchSteps steps;
  steps.afterBlock = [](uint64_t offset) { ShowRow(extensive::kFatCurrentSectorRow, offset); };
  steps.examine = ExamineFatSector;
  SearchRange(steps);
  // The page sees the worker's end now, and waits on for the analysis-done flags.
  EndScanWorker();
}

void SearchNtfsSectors() {
  SearchSteps steps;
  steps.beforeBlock = [](uint64_t offset) {
    ShowRow(extensive::kNtfsCurrentSectorRow, ScanRange.startSector + offset);
  };
  steps.examine = ExamineNtfsSector;
  SearchRange(steps);
  // The analysis ends the worker.
}
