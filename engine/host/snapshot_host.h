// What the recovery-snapshot code needs of the windows: the save dialog (CFileDialogEx), the progress
// dialog shown while a snapshot loads (ProgressDialog), and the main frame and its pages. The replace
// question and the error messages go through the message box of host.h; the scan page's Stop button and
// the logical-drive names through scan_page_host.h. The windows implement these on
// the user-interface thread, where the snapshot code runs.
#pragma once

#include <atomic>
#include <cstdint>
#include <string>

#include "engine/host/host.h"

// 1 from the start of a tree snapshot load until the pages clear it: meanwhile the results-tree
// builders send their percentages to the progress dialog (host::SnapshotProgress()).
extern std::atomic<uint32_t> SnapshotLoading;

namespace host {

// The modeless progress dialog with its bar and percentage.
class ProgressDialogHost {
 public:
  virtual ~ProgressDialogHost() = default;
  // Creates the dialog with the results page as its owner; false when it could not be created.
  virtual bool Create() = 0;
  virtual void SetRange(uint32_t lower, uint32_t upper) = 0;
  virtual void ShowWindow(bool show) = 0;
  // Moves the bar (the window message WM_USER+1, which another thread may send).
  virtual void SetPos(uint32_t position) = 0;
  virtual void DestroyWindow() = 0;
};

// The main frame and its pages as the snapshot code reaches them.
class SnapshotFrameHost {
 public:
  virtual ~SnapshotFrameHost() = default;
  // The save dialog: filter "*.vsnp" (shown and matched), flags 0x1802. true with the chosen path on OK.
  virtual bool AskSnapshotSavePath(std::u16string* path) = 0;
  // The platform's own message box (OK), for the report that the source does not match the snapshot.
  virtual void PlainMessageBox(const std::u16string& text) = 0;
  // Makes the results page the frame's active view and switches to it (page 4).
  virtual void ShowResultsPage() = 0;
};

// The progress dialog while SnapshotLoading is 1; null otherwise or when nobody listens.
ProgressDialogHost* SnapshotProgress();

}  // namespace host
