#include "engine/scan/quick_scan.h"

#include "engine/host/host.h"
#include "engine/image/source_values.h"
#include "engine/records/scan_control.h"
#include "engine/records/scan_parameters.h"
#include "engine/scan/boot_parameters.h"
#include "engine/scan/scan_drive.h"
#include "engine/scan/scan_end.h"

namespace {

void ShowStatus(const char16_t* text) {
  if (host::SecondDisplayHost* panel = host::Current().secondDisplay) panel->SetStatusText(text);
}

// The parameters from the boot sector, else from the FAT search. 1 found; 0 not found (reported);
// 2 stopped by the user.
uint32_t FindParameters() {
  const uint32_t fromBoot = ReadBootParameters();
  if (ScanStopRequested()) return 2;
  if (fromBoot == 1) return 1;
  ShowStatus(u"Please wait, Calculating partition parameters...");
  const uint32_t searched = SearchFatParameters();
  if (ScanStopRequested()) return 2;
  if (searched == 1) return 1;
  ReportScanFailure(kPartitionParametersNotFound, true);
  return 0;
}

uint32_t Scan() {
  if (SourceKind.load() == kSourceLogicalDrive && !OpenScanLogicalDrive()) {
    ReportScanFailure(kDriveNotOpened, false);
    return 0;
  }
  if (ScanStopRequested()) return 0;
  const uint32_t found = FindParameters();
  if (found != 1) return 0;
  if (host::SecondDisplayHost* panel = host::Current().secondDisplay) panel->SetCounterLabels();
  switch (ScanRange.fileSystemCode) {
    case records::kFat16:
    case records::kFat32:
      ShowStatus(u"Please wait, Searching for Data...");
      return QuickScanFat();
    case records::kNtfs:
      if (QuickScanNtfs() == 1) return 1;
      ReportScanFailure(kPartitionParametersNotFound, true);
      return 0;
    default: return 1;
  }
}

}  // namespace

uint32_t QuickScanThread() { return RunScanWorker(Scan); }
