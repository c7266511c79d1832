#include "engine/scan/extensive_scan.h"

#include "engine/records/scan_parameters.h"
#include "engine/scan/extensive_report.h"
#include "engine/scan/scan_end.h"

uint32_t ExtensiveScanThread() {
  extensive::StartAnalysisRun();
  switch (ScanRange.fileSystemCode) {
    case records::kFat16:
    case records::kFat32:
      SearchFatSectors();
      AnalyzeFoundData();
      break;
    case records::kNtfs:
      SearchNtfsSectors();
      AnalyzeFoundData();
      break;
    default: break;
  }
  ReportVolumesBeyondReach();
  // The page waits for both flags after the worker's end: whatever way it went, none stays unset, and
  // they are set before the end state the page looks for first.
  extensive::EnsureAnalysisDone();
  EndScanWorker();
  return 0;
}

void AnalyzeFoundData() {
  switch (ScanRange.fileSystemCode) {
    case records::kFat16:
    case records::kFat32: AnalyzeFoundFat(); break;
    case records::kNtfs: AnalyzeNtfsSteps(); break;
    default: break;
  }
}
