#include "app/results_page_links.h"

#include "app/ex_style_app.h"
#include "app/main_frame.h"
#include "app/pages/file_system_view.h"
#include "app/pages/second_view_hdd.h"
#include "app/pages/third_view_hdd.h"
#include "engine/host/host.h"
#include "engine/records/scan_parameters.h"
#include "preview/main_preview_view.h"
#include "res/resource.h"

namespace {

// A page's Back, as its button sends it.
void PressBack(CView* page) {
  if (page == nullptr || page->m_hWnd == nullptr) return;
  HWND back = ::GetDlgItem(page->m_hWnd, IDC_BACK);
  page->SendMessage(WM_COMMAND, MAKEWPARAM(IDC_BACK, BN_CLICKED), reinterpret_cast<LPARAM>(back));
}

}  // namespace

void InstallResultsPageLinks(CMainFrame* frame) {
  CEx_StyleApp* app = TheApp();
  if (app == nullptr || frame == nullptr || app->PageViews[kPageResults] == nullptr) return;
  auto* page = static_cast<CThirdView_HDD*>(app->PageViews[kPageResults]);
  frame->PreviewView = page->PreviewPane();
  host::Current().shellFileInfo = &page->ShellInfo();

  ResultsPageLinks links;
  links.showPage = [app](int number) { app->SwitchView(static_cast<UINT>(number)); };
  links.recordActiveView = [app, frame] { app->LastActiveView = frame->GetActiveView(); };
  links.showPreview = [frame](const CString& path, const CString& extension) { frame->ShowPreview(path, extension); };
  links.setPreviewFlags = [frame](int flag1, int flag2) {
    if (flag1 >= 0) frame->PreviewFlag1 = static_cast<uint32_t>(flag1);
    if (flag2 >= 0) frame->PreviewFlag2 = static_cast<uint32_t>(flag2);
  };
  links.summaryText = [] { return SelectedModeText; };
  links.restoreScanPage = [app] {
    if (auto* scan = static_cast<CSecondView_HDD*>(app->PageViews[kPageScan])) scan->RestoreBeforeScan();
  };
  links.restoreFileSystemPage = [app] {
    if (auto* fileSystems = static_cast<CFileSystemView*>(app->PageViews[kPageFileSystems])) {
      fileSystems->RestoreBeforeReading();
    }
  };
  links.backThroughEarlierPages = [app, links] {
    if (RecoveryMode == records::kExtensiveScan) PressBack(app->PageViews[kPageFileSystems]);
    PressBack(app->PageViews[kPageScan]);
    PressBack(app->PageViews[kPageSource]);
    // Home always ends on the first page, whatever the pages on the way did.
    if (app->CurrentPage != kPageImage) links.showPage(kPageImage);
  };
  page->SetLinks(links);
}
