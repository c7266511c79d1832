// Recording fakes of the progress dialog and of the main frame as the snapshot code reaches them, for
// tests and the headless driver.
#pragma once

#include <string>
#include <vector>

#include "engine/host/fakes.h"
#include "engine/host/result_tree_fakes.h"
#include "engine/host/scan_page_fakes.h"
#include "engine/host/snapshot_host.h"

namespace host {

class RecordingProgressDialog : public ProgressDialogHost {
 public:
  bool Create() override;
  void SetRange(uint32_t lower, uint32_t upper) override;
  void ShowWindow(bool show) override { shown = show; }
  void SetPos(uint32_t position) override { positions.push_back(position); }
  void DestroyWindow() override;

  bool created = false;  // the window exists
  bool shown = false;
  uint32_t createCount = 0;
  uint32_t destroyCount = 0;
  uint32_t lower = 0, upper = 0;
  std::vector<uint32_t> positions;
};

class ScriptedSnapshotFrame : public SnapshotFrameHost {
 public:
  bool AskSnapshotSavePath(std::u16string* path) override;
  void PlainMessageBox(const std::u16string& text) override { plainMessages.push_back(text); }
  void ShowResultsPage() override { ++resultsPageShown; }

  // What the save dialog answers: the path, or cancel when savePathChosen is false.
  bool savePathChosen = true;
  std::u16string savePath;
  uint32_t saveDialogCount = 0;
  std::vector<std::u16string> plainMessages;
  uint32_t resultsPageShown = 0;
};

// Every window a snapshot save or load reaches, recorded.
struct SnapshotWindows {
  // Points hosts at these windows.
  void InstallIn(Hosts& hosts);

  RecordingMessages messages;
  RecordingResultTree tree;
  RecordingResultList list;
  RecordingProgressDialog progress;
  ScriptedSnapshotFrame frame;
  RecordingScanPage scanPage;
};

}  // namespace host
