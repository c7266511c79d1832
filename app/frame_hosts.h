// What the engine reaches of the main frame and its pages: the message box (the program's message host),
// the snapshot save dialog and the results page, and the results list.
#pragma once

#include "engine/host/snapshot_host.h"

class CMainFrame;

class FrameSnapshotHost : public host::SnapshotFrameHost {
 public:
  bool AskSnapshotSavePath(std::u16string* path) override;
  void PlainMessageBox(const std::u16string& text) override;
  void ShowResultsPage() override;
};

// Installs the frame's hosts (on the frame's thread, once the pages exist); RemoveFrameHosts undoes it.
void InstallFrameHosts(CMainFrame* frame);
void RemoveFrameHosts();
