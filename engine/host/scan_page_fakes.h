// Recording fake of the scan page, for tests and the headless driver.
#pragma once

#include <atomic>
#include <cstdint>
#include <map>
#include <string>

#include "engine/host/scan_page_host.h"

namespace host {

class RecordingScanPage : public ScanPageHost {
 public:
  void DisableNavigationButtons() override { navigationEnabled = false; }
  void ShowNavigationButtons() override { navigationEnabled = true; }
  void ShowStopButton() override {
    stopShown = true;
    ++stopShownCount;
  }
  void HideStopButton() override { stopShown = false; }
  void BeginBusy() override { busy = true; }
  void KillScanTimer() override { timerArmed = false; }
  std::u16string LogicalDriveName(uint16_t driveField) override;

  // The page as it stands while a scan runs: Stop shown, navigation disabled, the timer armed. Read by
  // the thread that watches the worker, written by the worker.
  std::atomic<bool> navigationEnabled{false};
  std::atomic<bool> stopShown{true};
  std::atomic<bool> busy{false};
  std::atomic<bool> timerArmed{true};
  std::atomic<uint32_t> stopShownCount{0};  // ShowStopButton calls
  std::map<uint16_t, std::u16string> logicalDrives;
};

}  // namespace host
