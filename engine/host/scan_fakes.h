// Recording fake of the scan progress panel, for tests and the headless driver.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "engine/host/scan_host.h"

namespace host {

class RecordingSecondDisplay : public SecondDisplayHost {
 public:
  struct RowWrite {
    SecondDisplayRow row;
    std::u16string text;
  };
  void SetProgressPos(uint32_t position) override;
  void SetStatusText(const std::u16string& text) override;
  void SetCounterLabels() override;
  void ShowProgressBar() override;
  void HideProgressBar() override;
  void ShowStatusText() override;
  void HideStatusText() override;
  void SetRowValue(SecondDisplayRow row, const std::u16string& text) override;

  // The text row now shows (rows 1 to 5).
  const std::u16string& Row(SecondDisplayRow row) const { return rows[row - 1]; }

  std::vector<uint32_t> progress;
  std::vector<std::u16string> statusTexts;
  std::vector<RowWrite> rowWrites;
  std::array<std::u16string, 5> rows;
  uint32_t counterLabelsShown = 0;
  bool progressBarShown = false;
  bool statusTextShown = false;
};

}  // namespace host
