// What the scan workers need of the scan page (CSecondView_HDD) itself, besides its progress panel
// (scan_host.h): its buttons, its busy state, its 1000 ms timer, and the logical drive chosen on the source
// page. The page implements this on the user-interface thread; the workers call it from their own thread.
#pragma once

#include <cstdint>
#include <string>

namespace host {

class ScanPageHost {
 public:
  virtual ~ScanPageHost() = default;
  // Disables Back, Next and Home while the results tree is built.
  virtual void DisableNavigationButtons() = 0;
  // Enables and shows Next, Back and Home and enables the source tree: the page is idle again.
  virtual void ShowNavigationButtons() = 0;
  // Enables and shows Stop / disables and hides it.
  virtual void ShowStopButton() = 0;
  virtual void HideStopButton() = 0;
  // Marks the page busy and shows the wait cursor; the page's timer ends both when the scan has ended.
  virtual void BeginBusy() = 0;
  // Kills timer 1: the page stops waiting for the worker's end, and its end-of-scan steps never run.
  virtual void KillScanTimer() = 0;
  // The name (letter and colon first) of row driveField of the source page's logical drives; empty when
  // there is none.
  virtual std::u16string LogicalDriveName(uint16_t driveField) = 0;
};

}  // namespace host
