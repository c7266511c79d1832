// Recording fakes of page 3's form and page, for tests and the headless driver.
#pragma once

#include <atomic>
#include <cstdint>
#include <string>
#include <vector>

#include "engine/host/file_system_form_host.h"

namespace host {

class RecordingFileSystemForm : public FileSystemFormHost {
 public:
  void SetProgressPos(uint32_t position) override { progress.push_back(position); }
  void SetStatusText(const std::u16string& text) override { statusTexts.push_back(text); }

  std::vector<uint32_t> progress;
  std::vector<std::u16string> statusTexts;
};

class RecordingFileSystemView : public FileSystemViewHost {
 public:
  void HideStopButton() override { stopShown = false; }

  // Stop is shown while the worker reads (page 3's Next shows it).
  std::atomic<bool> stopShown{true};
};

}  // namespace host
