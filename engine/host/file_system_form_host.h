// What the reading of a chosen file system needs of page 3 (CFileSystemView): the progress bar and the
// status line of its form (CFileSystemForm), and its Stop button. The page implements these on the
// user-interface thread; the worker calls them from its own thread.
#pragma once

#include <cstdint>
#include <string>

namespace host {

// The form beside the found-file-systems tree, as the reading worker reports to it.
class FileSystemFormHost {
 public:
  virtual ~FileSystemFormHost() = default;
  // The progress bar's position, 0 to 100.
  virtual void SetProgressPos(uint32_t position) = 0;
  virtual void SetStatusText(const std::u16string& text) = 0;
};

// Page 3 itself, as the reading worker reaches it.
class FileSystemViewHost {
 public:
  virtual ~FileSystemViewHost() = default;
  // Disables and hides Stop: the results tree is being built and can no longer be stopped.
  virtual void HideStopButton() = 0;
};

}  // namespace host
