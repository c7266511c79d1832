// Recording fake of the saving dialog, for tests and the headless driver.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "engine/host/save_host.h"

namespace host {

class RecordingSaveProgress : public SaveProgressHost {
 public:
  void SetPathText(const std::u16string& text) override { paths.push_back(text); }
  void SetFileNameText(const std::u16string& text) override { fileNames.push_back(text); }
  void SetTotalFilesText(const std::u16string& text) override { totalFiles = text; }
  void SetProgressPos(uint32_t position) override;

  std::vector<std::u16string> paths;      // every path shown, in order
  std::vector<std::u16string> fileNames;  // every file name shown, in order
  std::u16string totalFiles;
  std::vector<uint32_t> positions;        // every bar position, in order
  // Called after each bar position is recorded: a test presses Stop or Skip File here.
  std::function<void(uint32_t position)> onProgress;
};

}  // namespace host
