// Running a scan worker as the scan page runs it, without a window: the page's recording fakes (panel,
// page, results tree and list, page 3's tree, form and page) installed, with messages printed to standard
// error as "kind<TAB>text" (line breaks in a text written as \r and \n). Shared by the driver's scanning
// modes.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "engine/host/fakes.h"
#include "engine/host/file_system_form_fakes.h"
#include "engine/host/file_system_tree_fakes.h"
#include "engine/host/result_tree_fakes.h"
#include "engine/host/scan_fakes.h"
#include "engine/host/scan_page_fakes.h"

// Prints each message to standard error; a question is answered No.
class PrintingMessages : public host::MessageHost {
 public:
  void MessageDialog(const std::u16string& text, uint32_t kind) override;
  uint32_t ConfirmDialog(const std::u16string& text, uint32_t kind) override;
};

// The progress panel as the page keeps it: what it shows now (rows, bar, status line) and no history, so
// that a scan of many files holds no more memory here than the page would.
class ShowingSecondDisplay : public host::RecordingSecondDisplay {
 public:
  void SetProgressPos(uint32_t position) override { progress.assign(1, position); }
  void SetStatusText(const std::u16string& text) override { statusTexts.assign(1, text); }
  void SetRowValue(host::SecondDisplayRow row, const std::u16string& text) override;
};

// How a worker run ended.
enum class ScanOutcome {
  kFinished,   // running 0 and stop 1: the page would show the results
  kAbandoned,  // the worker killed the page's timer: it reported why it could not scan
  kLost,       // the worker returned without either: the page would wait for ever
};

class HeadlessScan {
 public:
  HeadlessScan();
  HeadlessScan(const HeadlessScan&) = delete;
  HeadlessScan& operator=(const HeadlessScan&) = delete;

  // Starts worker as the page does (stop 0, running 1, timer armed) and checks for its end every
  // tickMs, as the page's timer does; returns once the worker has ended one way or another. A page that
  // waits for more than running 0 with stop 1 (the Extensive Scan's analysis-done flags) gives alsoDone.
  // The environment variable ENGINECTL_TICK_MS, when set, takes the place of tickMs: the benchmarks time
  // the scan, not the wait for the next tick.
  ScanOutcome Run(uint32_t (*worker)(), uint32_t tickMs = 1000, const std::function<bool()>& alsoDone = nullptr);

  host::RecordingResultTree& tree() { return tree_; }
  ShowingSecondDisplay& panel() { return panel_; }
  host::RecordingScanPage& page() { return page_; }
  host::RecordingFileSystemTree& fileSystemTree() { return fileSystemTree_; }

 private:
  PrintingMessages messages_;
  ShowingSecondDisplay panel_;
  host::RecordingScanPage page_;
  host::RecordingResultTree tree_;
  host::RecordingResultList list_;
  host::RecordingFileSystemTree fileSystemTree_;
  host::RecordingFileSystemForm fileSystemForm_;
  host::RecordingFileSystemView fileSystemView_;
  host::Hosts hosts_;
  host::ScopedHosts installed_;
};
