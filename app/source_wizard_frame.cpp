#include "app/source_wizard_frame.h"

#include "app/ex_style_app.h"
#include "app/main_frame.h"
#include "app/pages/first_view_hdd.h"
#include "app/pages/second_view_hdd.h"
#include "app/pages/source_tree_ctrl.h"
#include "app/pages/source_wizard.h"
#include "app/pages/third_view_hdd.h"
#include "engine/save/preview_temp_files.h"

namespace {

class FrameSourceWizard : public source::SourceWizard {
 public:
  void ShowPage(int page) override {
    if (CEx_StyleApp* app = TheApp()) app->SwitchView(static_cast<UINT>(page));
  }
  void RestartWizard() override {
    if (CEx_StyleApp* app = TheApp()) app->RestartWizard();
  }
  void RememberActiveView() override {
    CEx_StyleApp* app = TheApp();
    if (app != nullptr && MainFrame() != nullptr) app->LastActiveView = MainFrame()->GetActiveView();
  }
  void RedrawFrame() override {
    if (CMainFrame* frame = MainFrame()) {
      frame->RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
    }
  }
  void SelectStage(source::Stage stage) override {
    if (CMainFrame* frame = MainFrame()) frame->SelectStage(stage);
  }
  bool AtStage(source::Stage stage) override {
    CMainFrame* frame = MainFrame();
    if (frame == nullptr) return false;
    switch (stage) {
      case source::kSourceStage:
        return frame->AtSourceStage != 0;
      case source::kScanStage:
        return frame->AtScanStage != 0;
      case source::kResultsStage:
        return frame->ResultsReady != 0;
      case source::kFileSystemResultsStage:
        return frame->FileSystemResultsReady != 0;
      default:
        return false;
    }
  }
  bool ScanFinished() override { return MainFrame() != nullptr && MainFrame()->ScanFinished != 0; }
  void SetAtStart(bool atStart) override {
    if (CMainFrame* frame = MainFrame()) frame->AtStart = atStart ? 1 : 0;
  }
  void SetSnapshotLoadEnabled(bool enabled) override {
    if (CMainFrame* frame = MainFrame()) frame->SnapshotLoadEnabled = enabled ? 1 : 0;
  }
  void SetOpenEnabled(bool enabled) override {
    if (CMainFrame* frame = MainFrame()) frame->SetOpenEnabled(enabled ? 1 : 0);
  }
  void SetSelectedPartition(int row) override {
    if (CMainFrame* frame = MainFrame()) frame->SelectedPartition = row;
  }
  int SelectedPartition() override { return MainFrame() != nullptr ? MainFrame()->SelectedPartition : -2; }
  DiskImage* EnsureDiskImage() override { return MainFrame() != nullptr ? MainFrame()->EnsureDiskImage() : nullptr; }
  void SetModeText(const std::u16string& text) override { SelectedModeText = CString::FromUtf16(text); }
  std::u16string ModeText() override { return SelectedModeText.ToUtf16(); }

  void InsertResultColumns(uint32_t mode) override {
    if (ResultListCtrl* list = ResultList()) list->SetResultColumns(mode);
  }
  void ClearResults() override {
    if (ResultListCtrl* list = ResultList()) {
      while (list->DeleteColumn(0)) {
      }
      list->RequestPreviewClear();
    }
    DeletePreviewTempFiles();
  }

  CFirstView_HDD* SourcePage() override {
    CEx_StyleApp* app = TheApp();
    return app != nullptr ? static_cast<CFirstView_HDD*>(app->PageViews[kPageSource]) : nullptr;
  }
  // Page 2's own source tree, and what its panel shows around the search and a selection.
  SourceTreeCtrl* ScanTree() override {
    CSecondView_HDD* page = ScanPage();
    return page != nullptr ? &page->SourceTree() : nullptr;
  }
  void PrepareScanPageForSearch() override {
    if (CSecondView_HDD* page = ScanPage()) page->PrepareForPartitionSearch();
  }
  void EnterScanPage() override {
    if (CSecondView_HDD* page = ScanPage()) page->EnterAfterSearch();
  }
  void ShowSelectionOnScanPage(const source::SelectionActions& actions) override {
    CSecondView_HDD* page = ScanPage();
    if (page == nullptr) return;
    CSecondDisplay& panel = page->Panel();
    if (actions.clearScanPartitionFields) panel.ClearPartitionInfo();
    if (actions.scanRangeWholeDisk) panel.ShowScanRangeInfo();
    if (actions.scanCounterLabels) panel.SetCounterLabels();
    if (actions.scanPartition) panel.ShowPartitionInfo(actions.selectedPartition);
  }

 private:
  CSecondView_HDD* ScanPage() {
    CEx_StyleApp* app = TheApp();
    CView* page = app != nullptr ? app->PageViews[kPageScan] : nullptr;
    return page != nullptr && page->m_hWnd != nullptr ? static_cast<CSecondView_HDD*>(page) : nullptr;
  }
  ResultListCtrl* ResultList() {
    CEx_StyleApp* app = TheApp();
    auto* page = app != nullptr ? static_cast<CThirdView_HDD*>(app->PageViews[kPageResults]) : nullptr;
    return page != nullptr && page->ResultList().GetSafeHwnd() != nullptr ? &page->ResultList() : nullptr;
  }
};

FrameSourceWizard g_wizard;

}  // namespace

void InstallSourceWizard() { source::InstallWizard(&g_wizard); }

void RemoveSourceWizard() {
  if (source::Wizard() == &g_wizard) source::InstallWizard(nullptr);
}
