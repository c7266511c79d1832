#include "app/scan_page_links.h"

#include "app/ex_style_app.h"
#include "app/main_frame.h"
#include "app/pages/file_system_view.h"
#include "app/pages/first_view_hdd.h"
#include "app/pages/second_view_hdd.h"
#include "app/pages/third_view_hdd.h"
#include "engine/records/scan_parameters.h"
#include "res/resource.h"

#include <utility>

namespace {

void ShowButtons(CWnd& a, CWnd& b, CWnd& c) {
  for (CWnd* button : {&a, &b, &c}) {
    button->ShowWindow(SW_SHOW);
    button->EnableWindow(TRUE);
  }
}

}  // namespace

void InstallScanPageLinks(CMainFrame* frame) {
  CEx_StyleApp* app = TheApp();
  if (app == nullptr || frame == nullptr || app->PageViews[kPageScan] == nullptr) return;
  auto* page = static_cast<CSecondView_HDD*>(app->PageViews[kPageScan]);
  auto* fileSystems = static_cast<CFileSystemView*>(app->PageViews[kPageFileSystems]);
  auto* results = static_cast<CThirdView_HDD*>(app->PageViews[kPageResults]);
  frame->ScanPanel = &page->Panel();
  // A partition picked in page 2's tree is carried out by page 1, as a pick in its own tree is.
  auto* source = static_cast<CFirstView_HDD*>(app->PageViews[kPageSource]);
  if (source != nullptr) {
    page->SourceTree().onSelect = [source](const source::SelectionActions& actions) {
      source->ApplySelection(actions);
    };
  }

  ScanPageLinks links;
  if (source != nullptr) links.restoreSourcePage = [source] { source->RestoreBeforeSearch(); };
  if (results != nullptr) links.resetResultsList = [results] { results->ResultList().RequestPreviewClear(); };
  links.showPage = [app](int number) { app->SwitchView(static_cast<UINT>(number)); };
  links.selectStage = [frame](app::Stage stage) { frame->SelectStage(stage); };
  links.setScanFinished = [frame](bool finished) { frame->ScanFinished = finished ? 1 : 0; };
  links.setModeChosen = [frame] { frame->SnapshotLoadEnabled = 1; };
  links.selectedPartition = [frame] { return static_cast<int>(frame->SelectedPartition); };
  links.programFolder = [] { return CString(ProgramFolder); };
  if (results != nullptr) {
    links.showResultsButtons = [results] {
      ShowButtons(results->Button(IDC_NEXT), results->Button(IDC_BACK), results->Button(IDC_HOME));
    };
  }
  if (fileSystems != nullptr) {
    links.fileSystemTree = [fileSystems]() -> host::FileSystemTreeHost* { return &fileSystems->Tree(); };
    links.prepareFileSystemPage = [fileSystems](uint16_t code) {
      if (code == records::kNtfs) {
        fileSystems->Form().SetNtfsCaptions();
      } else {
        fileSystems->Form().SetFatCaptions();
      }
      fileSystems->Form().SetNote(
          _T("Please select a file system from the left panel and click [Next] to continue with \r\nrecovery. ")
          _T("Check all the file systems one by one for the required data."));
    };
    links.enterFileSystemPage = [fileSystems] {
      ShowButtons(fileSystems->Button(IDC_NEXT), fileSystems->Button(IDC_BACK), fileSystems->Button(IDC_HOME));
      fileSystems->Tree().Invalidate();
      fileSystems->Form().Invalidate();
    };
    links.fileSystemTreeEmpty = [fileSystems] {
      CTreeCtrl& tree = fileSystems->Tree();
      HTREEITEM top = tree.GetFirstVisibleItem();
      return top != nullptr && tree.GetNextVisibleItem(top) == nullptr;
    };
    links.setFileSystemNote = [fileSystems](const CString& note) { fileSystems->Form().SetNote(note); };
  }
  links.backFromSourcePage = [app] {
    CView* source = app->PageViews[kPageSource];
    if (source == nullptr || source->m_hWnd == nullptr) return;
    source->SendMessage(WM_COMMAND, MAKEWPARAM(IDC_BACK, BN_CLICKED),
                        reinterpret_cast<LPARAM>(::GetDlgItem(source->m_hWnd, IDC_BACK)));
  };
  links.summaryText = [] { return SelectedModeText; };
  links.setSummaryText = [](const CString& text) { SelectedModeText = text; };
  page->SetLinks(links);

  // Page 3 keeps its wizard links and gains what only the frame's pages can do: page 4's buttons once the
  // chosen file system is read, and page 2 made ready again on Back and Home.
  if (fileSystems != nullptr) {
    FileSystemPageLinks pageThree = fileSystems->Links();
    pageThree.setScanFinished = links.setScanFinished;
    pageThree.showResultsButtons = links.showResultsButtons;
    pageThree.restoreScanPage = [page] { page->RestoreBeforeScan(); };
    pageThree.backFromScanPage = [page] { page->OnHome(); };
    fileSystems->SetLinks(std::move(pageThree));
  }
}
