#include "engine/host/scan_fakes.h"

namespace host {

void RecordingSecondDisplay::SetProgressPos(uint32_t position) { progress.push_back(position); }
void RecordingSecondDisplay::SetStatusText(const std::u16string& text) { statusTexts.push_back(text); }

void RecordingSecondDisplay::SetCounterLabels() {
  ++counterLabelsShown;
  for (std::u16string& row : rows) row.clear();
}

void RecordingSecondDisplay::ShowProgressBar() { progressBarShown = true; }
void RecordingSecondDisplay::HideProgressBar() { progressBarShown = false; }
void RecordingSecondDisplay::ShowStatusText() { statusTextShown = true; }
void RecordingSecondDisplay::HideStatusText() { statusTextShown = false; }

void RecordingSecondDisplay::SetRowValue(SecondDisplayRow row, const std::u16string& text) {
  rowWrites.push_back({row, text});
  if (row >= kFoldersFoundRow && row <= kFifthRow) rows[row - 1] = text;
}

}  // namespace host
