#include "tools/enginectl/scan_source.h"

#include <cstdio>
#include <cstring>

#include "engine/partitions/detect_partitions.h"
#include "engine/partitions/partition_table.h"
#include "engine/records/scan_parameters.h"
#include "engine/records/sector_reach.h"
#include "platform/os/os.h"
#include "tools/enginectl/image_source.h"

namespace {

bool IsFileSystemCode(unsigned long long code) {
  return code == records::kFat16 || code == records::kFat32 || code == records::kNtfs;
}

// A volume past the engine's reach is refused by name, as the scan page refuses it.
bool WithinReach(uint16_t code, uint64_t start, uint64_t count) {
  if (WithinSectorReach(start, count)) return true;
  std::fprintf(stderr, "enginectl: %s\n", os::ToUtf8(BeyondReachMessage(code, start, count)).c_str());
  return false;
}

// The range the scan page writes for a partition chosen on the source page.
bool ChoosePartition(const char* text) {
  unsigned long long index = 0;
  if (!ParseNumber(text, "partition", &index)) return false;
  DetectPartitionsWithFallback();
  if (index >= PartitionsInUse()) {
    std::fprintf(stderr, "enginectl: the image has no partition %llu (%u found)\n", index, PartitionsInUse());
    return false;
  }
  const PartitionEntry& entry = PartitionTable[index];
  if (!WithinReach(entry.fileSystemCode, entry.firstSector, entry.sectorCount)) return false;
  ScanRange.fileSystemCode = entry.fileSystemCode;
  ScanRange.startSector = static_cast<uint32_t>(entry.firstSector);
  ScanRange.sectorCount = static_cast<uint32_t>(entry.sectorCount);
  return true;
}

bool ChooseRange(char** argv) {
  unsigned long long code = 0, start = 0, count = 0;
  if (!ParseNumber(argv[0], "file-system code", &code) || !ParseNumber(argv[1], "start sector", &start) ||
      !ParseNumber(argv[2], "sector count", &count)) {
    return false;
  }
  if (!IsFileSystemCode(code) || count == 0) {
    std::fprintf(stderr, "enginectl: the range must be code 100, 200 or 300 and at least one sector\n");
    return false;
  }
  if (!WithinReach(static_cast<uint16_t>(code), start, count)) return false;
  ScanRange.fileSystemCode = static_cast<uint16_t>(code);
  ScanRange.startSector = static_cast<uint32_t>(start);
  ScanRange.sectorCount = static_cast<uint32_t>(count);
  return true;
}

}  // namespace

int ScanSourceArguments(int argc, char** argv) {
  if (argc >= 2 && std::strcmp(argv[0], "--partition") == 0) return 2;
  if (argc >= 4 && std::strcmp(argv[0], "--range") == 0) return 4;
  return 0;
}

bool SetScanSource(char** argv) {
  ScanRange = ScanRangeRecord{};
  const bool partition = std::strcmp(argv[0], "--partition") == 0;
  if (!(partition ? ChoosePartition(argv[1]) : ChooseRange(argv + 1))) return false;
  ScanRange.endSector = ScanRange.startSector + ScanRange.sectorCount - 1;
  return true;
}
