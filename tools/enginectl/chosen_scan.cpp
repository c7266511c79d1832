#include "tools/enginectl/chosen_scan.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>

#include "engine/records/extensive_lists.h"
#include "engine/records/scan_records.h"
#include "engine/scan/chosen_fs.h"
#include "engine/scan/extensive_scan.h"

void PrepareExtensiveScan() {
  RecoveryMode = records::kExtensiveScan;
  ScanRange.endSector = static_cast<uint32_t>(
      std::min<uint64_t>(uint64_t{ScanRange.startSector} + ScanRange.sectorCount, 0xFFFFFFFFu));
  FreeExtensiveScanLists();
}

ScanOutcome RunExtensiveScan(HeadlessScan& scan) {
  return scan.Run(ExtensiveScanThread, 1000, [] { return BootSectorPassDone != 0 && WithoutBootPassDone != 0; });
}

ScanOutcome ReadFoundFileSystem(HeadlessScan& scan, unsigned long long number) {
  const ScanOutcome searched = RunExtensiveScan(scan);
  if (searched != ScanOutcome::kFinished) return searched;
  if (number == 0 || number > FoundFileSystemList.size()) {
    std::fprintf(stderr, "enginectl: the Extensive Scan found no file system %llu (%zu found)\n", number,
                 FoundFileSystemList.size());
    return ScanOutcome::kAbandoned;
  }
  CurrentFileSystem = FoundFileSystemList[number - 1];
  CurrentFileSystem.id = static_cast<uint32_t>(number);
  FreeScanRecordLists();
  return scan.Run(ScanThreadProc);
}
