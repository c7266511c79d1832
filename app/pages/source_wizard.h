// What pages 0 and 1 (and page 2's source tree) ask of the application, its frame and the other pages.
// The application installs its own; tests install a fake.
#pragma once

#include <cstdint>
#include <string>

#include "app/wizard_stages.h"

class CFirstView_HDD;
class DiskImage;
class SourceTreeCtrl;

namespace source {

struct SelectionActions;

// The frame's stage flags, one set at a time.
using app::Stage;
using app::kNoStage;
using app::kSourceStage;
using app::kScanStage;
using app::kResultsStage;
using app::kFileSystemResultsStage;

class SourceWizard {
 public:
  virtual ~SourceWizard() = default;

  // CEx_StyleApp::SwitchView and RestartWizard.
  virtual void ShowPage(int page) = 0;
  virtual void RestartWizard() = 0;
  // LastActiveView = the frame's active view.
  virtual void RememberActiveView() = 0;
  // Repaints the whole main window, children included.
  virtual void RedrawFrame() = 0;

  // The frame's flags.
  virtual void SelectStage(Stage stage) = 0;
  virtual bool AtStage(Stage stage) = 0;
  virtual bool ScanFinished() = 0;
  virtual void SetAtStart(bool atStart) = 0;
  virtual void SetSnapshotLoadEnabled(bool enabled) = 0;
  virtual void SetOpenEnabled(bool enabled) = 0;
  virtual void SetSelectedPartition(int row) = 0;
  virtual int SelectedPartition() = 0;
  virtual DiskImage* EnsureDiskImage() = 0;
  // SelectedModeText, the line at the foot of pages 1 to 4.
  virtual void SetModeText(const std::u16string& text) = 0;
  virtual std::u16string ModeText() = 0;

  // Page 4's results list: the columns of the mode; Back's clean-up (columns, preview files, the
  // pending preview request).
  virtual void InsertResultColumns(uint32_t mode) = 0;
  virtual void ClearResults() = 0;

  // Page 1, which lists the opened image.
  virtual CFirstView_HDD* SourcePage() = 0;
  // Page 2: the tree the partition search fills, and what its panel shows around the search and a
  // selection (the scan page's own parts).
  virtual SourceTreeCtrl* ScanTree() = 0;
  virtual void PrepareScanPageForSearch() {}
  virtual void EnterScanPage() {}
  virtual void ShowSelectionOnScanPage(const SelectionActions&) {}
};

// The installed wizard (null before the application installed one).
SourceWizard* Wizard();
void InstallWizard(SourceWizard* wizard);

}  // namespace source
