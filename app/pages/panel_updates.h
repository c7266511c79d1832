// PanelUpdates: what a scan worker last asked the progress panel to show, waiting for the panel's thread.
// A worker reports every record it reads; handing each report over as its own cross-thread message costs
// more than the scan itself (and far more under Wine), so reports overwrite the waiting value and one
// posted message takes whatever is latest when the panel gets to it.
#pragma once

#include <array>
#include <cstdint>
#include <mutex>
#include <optional>
#include <string>

#include "app/pages/scan_panel_texts.h"

class PanelUpdates {
 public:
  struct Batch {
    std::optional<uint32_t> position;
    std::optional<std::u16string> status;
    std::array<std::optional<std::u16string>, scanpage::kPanelRows> rows;
  };

  // Each returns true when the caller must post the one message that hands the batch over (none is
  // waiting yet); false when one is already on its way.
  bool SetPosition(uint32_t position);
  bool SetStatus(const std::u16string& text);
  // Row 1 to kPanelRows; other numbers are ignored.
  bool SetRow(uint32_t row, const std::u16string& text);

  // The waiting values, taken by the panel's thread; the next report posts again.
  Batch Take();
  // Forgets the waiting row values (the panel's rows were just cleared or refilled on its own thread).
  void DropRows();
  // The posted message could not be delivered: the next report posts again.
  void PostFailed();

 private:
  bool MarkPending();

  std::mutex m_lock;
  Batch m_batch;
  bool m_posted = false;
};
