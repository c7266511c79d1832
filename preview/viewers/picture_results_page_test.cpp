// A JPEG recovered from a scanned image, previewed on page 4 of the real program: a Quick Scan of the
// generated FAT32 carving volume, a click on "Picture one.jpg" (200 x 150), and the pane's image view showing
// the picture; the JPEG cut short beside it shows the corrupted-file picture. Screenshot page4_picture.png.
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
#include "preview/main_preview_view.h"
#include "preview/viewers/image_view.h"
#include "platform/standins/cximage.h"
#include "preview/preview_extensions.h"
#include "res/resource.h"

CEx_StyleApp theApp;

namespace {

const std::string kImage = "carving.fixed.vhd";
constexpr uint32_t kVolumeSectors = 81900;

class PictureOnResultsPageTest : public ::testing::Test {
 protected:
  PictureOnResultsPageTest() {
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
  ~PictureOnResultsPageTest() override {
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


// The share of non-white pixels of the window's client area inside a rectangle.
double Coloured(HWND window, const RECT& part) {
  HDC dc = ::GetDC(window);
  int coloured = 0, all = 0;
  for (int y = part.top; y < part.bottom; y += 3) {
    for (int x = part.left; x < part.right; x += 3, ++all) {
      if ((::GetPixel(dc, x, y) & 0xFFFFFF) != 0xFFFFFF) ++coloured;
    }
  }
  ::ReleaseDC(window, dc);
  return all == 0 ? 0 : static_cast<double>(coloured) / all;
}

}  // namespace

TEST_F(PictureOnResultsPageTest, ARecoveredJpegIsShownInThePreview) {
  QuickScan();
  const int row = Row(u"Picture one.jpg");
  ASSERT_GE(row, 0);
  ClickRow(row);
  CMainPreviewView* pane = page_->PreviewPane();
  ASSERT_NE(pane, nullptr);
  EXPECT_EQ(pane->GetShownExtension().ToUtf16(), u".jpg");
  auto* view = dynamic_cast<CImage_View*>(pane->SlotView(PreviewSlot::kImage));
  ASSERT_NE(view, nullptr);
  EXPECT_EQ(frame_->m_bPreviewOk, 1u);
  EXPECT_EQ(pane->SlotView(PreviewSlot::kNoPreview), nullptr);
  ASSERT_NE(view->GetPicture(), nullptr);
  EXPECT_EQ(view->GetPicture()->GetWidth(), 200u);
  EXPECT_EQ(view->GetPicture()->GetHeight(), 150u);
  // 200 x 175 centred from y = 22: painted, and white beside it.
  view->RedrawWindow();
  harness::PumpFor(100);
  CRect client;
  view->GetClientRect(client);
  const int left = client.Width() / 2 - 100;
  EXPECT_GT(Coloured(view->m_hWnd, RECT{left + 4, 26, left + 196, 192}), 0.9);
  EXPECT_EQ(Coloured(view->m_hWnd, RECT{0, 26, left - 2, 192}), 0.0);
  harness::PumpFor(200);
  EXPECT_FALSE(harness::CaptureWindow(frame_->m_hWnd, "page4_picture").empty());

  // The JPEG cut short has no picture: the pane adds its no-preview view.
  const int truncated = Row(u"Truncated picture.jpg");
  ASSERT_GE(truncated, 0);
  ClickRow(truncated);
  EXPECT_EQ(frame_->m_bPreviewOk, 0u);
  EXPECT_NE(pane->SlotView(PreviewSlot::kNoPreview), nullptr);
}
