// The interfaces through which the engine reaches the windows. The engine never calls a window itself:
// the windows implement these (on the user-interface thread), and tests plug in the recording fakes of
// fakes.h. A worker's call is marshalled by the window side.
#pragma once

#include <cstdint>
#include <string>

#include "engine/host/partition_host.h"
#include "engine/host/scan_host.h"
#include "engine/host/scan_page_host.h"

namespace host {

class ResultTreeHost;
class ResultListHost;
class ProgressDialogHost;
class SnapshotFrameHost;
class ShellFileInfoHost;
class DocumentHost;
class SaveProgressHost;
class FileSystemTreeHost;
class FileSystemFormHost;
class FileSystemViewHost;

// An opaque handle of a tree node, issued by the tree that owns it.
using TreeKey = uint32_t;
constexpr TreeKey kNoTreeKey = 0;

// Message kinds of the message-box protocol.
enum MessageKind : uint32_t { kInformation = 1, kError = 2, kQuestion = 3 };

// The message box: every report of the engine to the user.
class MessageHost {
 public:
  virtual ~MessageHost() = default;
  // An OK box with the text and kind.
  virtual void MessageDialog(const std::u16string& text, uint32_t kind) = 0;
  // A Yes/No question; 1 for Yes, 2 otherwise.
  virtual uint32_t ConfirmDialog(const std::u16string& text, uint32_t kind) = 0;
};

// The hosts the engine currently reports to. The program installs its windows; tests install fakes.
struct Hosts {
  MessageHost* messages = nullptr;
  // The source page, for the partition search.
  FirstDisplayHost* firstDisplay = nullptr;
  SourceTreeHost* sourceTree = nullptr;
  PartitionChoiceHost* partitionChoice = nullptr;
  DiskTableHost* diskTable = nullptr;
  // The scan page's progress panel (reach it through ScanProgressPanel()).
  SecondDisplayHost* secondDisplay = nullptr;
  // The scan page itself: its buttons, busy state, timer and the chosen logical drive.
  ScanPageHost* scanPage = nullptr;
  // The results page's tree and list (result_tree_host.h), the progress dialog and the main frame as the
  // snapshot code reaches them (snapshot_host.h).
  ResultTreeHost* resultTree = nullptr;
  ResultListHost* resultList = nullptr;
  ProgressDialogHost* progressDialog = nullptr;
  SnapshotFrameHost* snapshotFrame = nullptr;
  // The shell's icons and type names for the results list (shell_file_info_host.h), and the document
  // with the preview's thumbnail folder (document_host.h).
  ShellFileInfoHost* shellFileInfo = nullptr;
  DocumentHost* document = nullptr;
  // Page 3's tree of the file systems an Extensive Scan rebuilt (file_system_tree_host.h).
  FileSystemTreeHost* fileSystemTree = nullptr;
  // Page 3's form (progress bar and status line) and the page with its Stop, while a chosen file system
  // is read (file_system_form_host.h).
  FileSystemFormHost* fileSystemForm = nullptr;
  FileSystemViewHost* fileSystemView = nullptr;
  // The saving dialog (save_host.h).
  SaveProgressHost* saveProgress = nullptr;
};
Hosts& Current();

}  // namespace host
