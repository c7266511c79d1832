// What the scan workers need of the scan page: its progress panel (CSecondDisplay), with the progress bar,
// the status line and the five rows of values beside their captions. The panel implements this on the
// user-interface thread; the workers call it from their own thread.
#pragma once

#include <atomic>
#include <cstdint>
#include <string>

// 1 while the user wants the scan details ("Hide Progress" makes it 0, "Show Progress" 1 again). While it
// is 0 the workers leave the counters, the bar and the status line as they are; the scan goes on.
extern std::atomic<uint32_t> ShowScanProgress;

namespace host {

// The value rows of the panel, top to bottom. The names are the captions that SetCounterLabels gives them
// (Quick Scan and File Trace); an Extensive Scan captions them differently.
enum SecondDisplayRow : uint32_t {
  kFoldersFoundRow = 1,    // "Folder(s) Found  :"
  kFilesFoundRow = 2,      // "File(s) Found    :"
  kCurrentSectorRow = 3,   // "Current Sector    :"
  kLastFileFolderRow = 4,  // "Last File/Folder   :"
  kFifthRow = 5,           // no caption
};

// The scan progress panel as the workers report to it.
class SecondDisplayHost {
 public:
  virtual ~SecondDisplayHost() = default;
  // The progress bar's position, 0 to 100.
  virtual void SetProgressPos(uint32_t position) = 0;
  virtual void SetStatusText(const std::u16string& text) = 0;
  // The captions of the Quick Scan and File Trace counters (rows 1 to 5), with every value cleared.
  virtual void SetCounterLabels() = 0;
  virtual void ShowProgressBar() = 0;
  virtual void HideProgressBar() = 0;
  virtual void ShowStatusText() = 0;
  virtual void HideStatusText() = 0;
  // The value beside the caption of row (1 to 5).
  virtual void SetRowValue(SecondDisplayRow row, const std::u16string& text) = 0;
};

// The installed panel while ShowScanProgress is 1; null when nobody listens or the user hid the details.
SecondDisplayHost* ScanProgressPanel();

}  // namespace host
