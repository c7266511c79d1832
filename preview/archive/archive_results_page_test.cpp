// A ZIP recovered from a scanned image, previewed on page 4 of the real program: a Quick Scan of the
// generated FAT32 carving volume, a click on the deleted "Deleted archive.zip", and the pane's archive view
// listing the members that zip put in it. Screenshot page4_archive.png.
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "app/ex_style_app.h"
#include "app/main_frame.h"
#include "app/pages/third_view_hdd.h"
#include "app/results/result_columns.h"
#include "engine/host/fakes.h"
#include "engine/host/scan_fakes.h"
#include "engine/host/scan_page_fakes.h"
#include "engine/image/disk_image.h"
#include "engine/image/source_values.h"
#include "engine/records/scan_control.h"
#include "engine/records/scan_parameters.h"
#include "engine/records/scan_records.h"
#include "engine/save/results_listing.h"
#include "engine/scan/quick_scan.h"
#include "engine/scan/results_tree_build.h"
#include "platform/harness/driver.h"
#include "platform/harness/scripted_seams.h"
#include "platform/os/os.h"
#include "preview/archive/archive_list_view.h"
#include "preview/main_preview_view.h"
#include "preview/preview_extensions.h"
#include "res/resource.h"

CEx_StyleApp theApp;

namespace {

const std::string kImage = "carving.fixed.vhd";
constexpr uint32_t kVolumeSectors = 81900;

class ArchiveOnResultsPageTest : public ::testing::Test {
 protected:
  ArchiveOnResultsPageTest() {
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
  ~ArchiveOnResultsPageTest() override {
    scopedHosts_.reset();
    SetCurrentDiskImage(nullptr);
  }

  ResultListCtrl& List() { return page_->ResultList(); }

  // The results page as a Quick Scan shows it, filled by the scan's worker while this thread serves it.
  void QuickScan() {
    ASSERT_TRUE(started_);
    ASSERT_NE(page_, nullptr);
    image_.CreateReader(kImageVhd);
    ASSERT_TRUE(image_.Open(os::FromUtf8(std::string(DORVANE_SHARED_IMAGES) + "/" + kImage)));
    ImageFormat = 0;
    CurrentDriveIndex = 0;
    SourceKind = kSourceDisk;
    SetCurrentDiskImage(&image_);
    ScanRange = ScanRangeRecord{records::kFat32, 0, kVolumeSectors, kVolumeSectors - 1, 0};
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

  int Row(const std::u16string& name) {
    for (int r = 0; r < List().CTKListCtrl::GetItemCount(); ++r) {
      if (List().GetItemText(r, 0) == name) return r;
    }
    return -1;
  }

  void ClickRow(int row) {
    List().EnsureVisible(row, FALSE);
    CRect rect;
    ASSERT_TRUE(List().GetItemRect(row, rect, LVIR_LABEL));
    harness::Click(List().m_hWnd, POINT{rect.left + 20, rect.CenterPoint().y});
    harness::PumpFor(100);
  }

  harness::ScopedSeams seams_;
  bool started_ = false;
  CMainFrame* frame_ = nullptr;
  CThirdView_HDD* page_ = nullptr;
  host::RecordingMessages messages_;
  host::RecordingSecondDisplay panel_;
  host::RecordingScanPage scanPage_;
  std::unique_ptr<host::ScopedHosts> scopedHosts_;
  DiskImage image_;
};

}  // namespace

TEST_F(ArchiveOnResultsPageTest, ADeletedZipFromTheScanListsItsMembersInThePreview) {
  QuickScan();
  const int row = Row(u"Deleted archive.zip");
  ASSERT_GE(row, 0);
  ClickRow(row);
  CMainPreviewView* pane = page_->PreviewPane();
  ASSERT_NE(pane, nullptr);
  EXPECT_EQ(pane->GetShownExtension().ToUtf16(), u".zip");
  auto* view = dynamic_cast<CMyListCtrl*>(pane->SlotView(PreviewSlot::kArchive));
  ASSERT_NE(view, nullptr);
  EXPECT_EQ(frame_->m_bPreviewOk, 1u);
  EXPECT_EQ(pane->SlotView(PreviewSlot::kNoPreview), nullptr);
  const auto rows = harness::ListViewRows(view->GetListCtrl()->m_hWnd);
  ASSERT_EQ(rows.size(), 2u);
  EXPECT_EQ(rows[0][0], L"inside one.txt");
  EXPECT_EQ(rows[0][1], L"No");
  EXPECT_EQ(rows[1][0], L"inside two.bin");
  EXPECT_EQ(rows[1][6].size(), 4u);
  harness::PumpFor(200);
  EXPECT_FALSE(harness::CaptureWindow(frame_->m_hWnd, "page4_archive").empty());
}
