#include "engine/scan/scan_end.h"

#include "engine/host/host.h"
#include "engine/records/pause_gate.h"
#include "engine/records/scan_control.h"

std::atomic<uint32_t> PartitionParametersFailed{0};

const char16_t kPartitionParametersNotFound[] =
    u"Dorvane was unable to find correct partition parameters. \r\nPlease go back to the first step and "
    u"select Extensive Scan \r\nfor recovery.";
const char16_t kDriveNotOpened[] = u"Dorvane was unable to open the selected drive for reading.";

bool ScanStopRequested() {
  ScanPauseGate.Pass();
  return ScanThreadControl.stopFlag.load() != 0;
}

void EndScanWorker() {
  ScanThreadControl.runningFlag = 0;
  ScanThreadControl.stopFlag = 1;
}

void BeginScanWorker() {
  // A starter that marked the worker running before its thread began owns the stop flag: a Stop answered
  // before this thread got going must not be undone here.
  uint8_t idle = 0;
  if (ScanThreadControl.runningFlag.compare_exchange_strong(idle, 1)) ScanThreadControl.stopFlag = 0;
}

uint32_t RunScanWorker(uint32_t (*scan)()) {
  BeginScanWorker();
  PartitionParametersFailed = 0;
  const uint32_t result = scan();
  EndScanWorker();
  return result;
}

void ReportScanFailure(const std::u16string& text, bool parametersFailed) {
  host::Hosts& hosts = host::Current();
  // The timer goes first: once the worker has ended, the page must not take the end for a finished scan.
  if (hosts.scanPage != nullptr) hosts.scanPage->KillScanTimer();
  if (parametersFailed) PartitionParametersFailed = 1;
  if (hosts.messages != nullptr) hosts.messages->MessageDialog(text, host::kError);
  if (hosts.secondDisplay != nullptr) {
    hosts.secondDisplay->HideProgressBar();
    hosts.secondDisplay->HideStatusText();
  }
  if (hosts.scanPage != nullptr) {
    hosts.scanPage->HideStopButton();
    hosts.scanPage->ShowNavigationButtons();
  }
}
