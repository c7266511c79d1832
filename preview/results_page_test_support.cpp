#include "preview/results_page_test_support.h"

#include <windows.h>

#include <commctrl.h>

#include <atomic>
#include <thread>

#include "app/results/result_columns.h"
#include "engine/image/source_values.h"
#include "engine/records/scan_control.h"
#include "engine/records/scan_parameters.h"
#include "engine/records/scan_records.h"
#include "engine/listing/results_listing.h"
#include "engine/scan/quick_scan.h"
#include "engine/scan/results_tree_build.h"
#include "platform/harness/driver.h"
#include "platform/os/os.h"

extern CEx_StyleApp theApp;

namespace previewtest {

ResultsPageTest::ResultsPageTest() {
  static std::wstring commandLine = L"";
  theApp.SetStartup(::GetModuleHandleW(nullptr), &commandLine[0], SW_SHOW);
  theApp.InitApplication();
  started_ = theApp.InitInstance() != FALSE;
  frame_ = theApp.GetMainFrame();
  page_ = frame_ != nullptr ? static_cast<CThirdView_HDD*>(theApp.PageViews[kPageResults]) : nullptr;
  host::Hosts hosts = host::Current();
  hosts.messages = &messages_;
  hosts.secondDisplay = &panel_;
  hosts.scanPage = &scanPage_;
  scopedHosts_ = std::make_unique<host::ScopedHosts>(hosts);
}

ResultsPageTest::~ResultsPageTest() {
  scopedHosts_.reset();
  SetCurrentDiskImage(nullptr);
}

void ResultsPageTest::QuickScan(const std::string& imagePath, uint32_t volumeSectors) {
  ASSERT_TRUE(started_);
  ASSERT_NE(page_, nullptr);
  image_.CreateReader(kImageVhd);
  ASSERT_TRUE(image_.Open(os::FromUtf8(imagePath)));
  ImageFormat = 0;
  CurrentDriveIndex = 0;
  SourceKind = kSourceDisk;
  SetCurrentDiskImage(&image_);
  ScanRange = ScanRangeRecord{records::kFat32, 0, volumeSectors, volumeSectors - 1, 0};
  ResultListers = ResultListersRecord{ListFatFolder, ListNtfsFolder};
  SelectedModeText = _T("Selected Mode : Quick Scan");
  RecoveryMode = records::kQuickScan;
  int index = 0;
  for (const results::ResultColumn& c : results::ResultColumnsFor(records::kQuickScan)) {
    List().InsertColumn(index++, reinterpret_cast<const wchar_t*>(c.title), LVCFMT_LEFT, c.width);
  }
  theApp.SwitchView(kPageResults);
  harness::PumpFor(50);
  ScanThreadControl.stopFlag = 0;
  ScanThreadControl.runningFlag = 1;
  std::atomic<bool> done{false};
  uint32_t scanned = 0;
  std::thread worker([&] {
    scanned = QuickScanThread();
    done = true;
  });
  const bool ended = harness::WaitUntil([&] { return done.load(); }, 60000);
  worker.join();
  ASSERT_TRUE(ended);
  ASSERT_EQ(scanned, 1u);
  harness::PumpFor(50);
}

int ResultsPageTest::Row(const std::u16string& name) {
  for (int r = 0; r < List().CTKListCtrl::GetItemCount(); ++r) {
    if (List().GetItemText(r, 0) == name) return r;
  }
  return -1;
}

void ResultsPageTest::ClickRow(int row) {
  List().EnsureVisible(row, FALSE);
  CRect rect;
  ASSERT_TRUE(List().GetItemRect(row, rect, LVIR_LABEL));
  harness::Click(List().m_hWnd, POINT{rect.left + 20, rect.CenterPoint().y});
  harness::PumpFor(200);
}

}  // namespace previewtest
