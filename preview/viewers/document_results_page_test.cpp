// Documents recovered from a scanned image, previewed on page 4 of the real program: a Quick Scan of a
// generated FAT32 volume, then a click on a UTF-16 text file and on an RTF file; the pane's document view
// shows each one's text. Screenshots page4_text.png and page4_rtf.png.
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <string>
#include <thread>

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
#include "preview/preview_extensions.h"
#include "preview/viewers/document_view.h"

CEx_StyleApp theApp;

namespace {

// The generated volume: 40 MiB of FAT32 in a fixed VHD.
constexpr uint32_t kVolumeSectors = 40 * 1024 * 2;

class DocumentsOnResultsPageTest : public ::testing::Test {
 protected:
  DocumentsOnResultsPageTest() {
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
  ~DocumentsOnResultsPageTest() override {
    scopedHosts_.reset();
    SetCurrentDiskImage(nullptr);
  }

  ResultListCtrl& List() { return page_->ResultList(); }

  // The results page as a Quick Scan fills it, the scan's worker served by this thread.
  void QuickScan() {
    ASSERT_TRUE(started_);
    ASSERT_NE(page_, nullptr);
    image_.CreateReader(kImageVhd);
    ASSERT_TRUE(image_.Open(os::FromUtf8(std::string(DORVANE_DOCUMENT_VOLUME))));
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

  // Clicks the row of that name; the document view the pane then shows, or null.
  CAdobeReaderView* Preview(const std::u16string& name) {
    int row = -1;
    for (int r = 0; r < List().CTKListCtrl::GetItemCount() && row < 0; ++r) {
      if (List().GetItemText(r, 0) == name) row = r;
    }
    if (row < 0) return nullptr;
    List().EnsureVisible(row, FALSE);
    CRect rect;
    if (!List().GetItemRect(row, rect, LVIR_LABEL)) return nullptr;
    harness::Click(List().m_hWnd, POINT{rect.left + 20, rect.CenterPoint().y});
    harness::PumpFor(200);
    CMainPreviewView* pane = page_->PreviewPane();
    return pane != nullptr ? dynamic_cast<CAdobeReaderView*>(pane->SlotView(PreviewSlot::kDocument)) : nullptr;
  }

  static std::wstring Text(CAdobeReaderView* view) {
    HWND edit = view->m_richEdit.GetSafeHwnd();
    std::wstring text(static_cast<size_t>(::GetWindowTextLengthW(edit)) + 1, L'\0');
    text.resize(static_cast<size_t>(::GetWindowTextW(edit, text.data(), static_cast<int>(text.size()))));
    return text;
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

TEST_F(DocumentsOnResultsPageTest, AUtf16TextFileAndAnRtfFileAreShownInThePreview) {
  QuickScan();
  CAdobeReaderView* text = Preview(u"Notes utf16.txt");
  ASSERT_NE(text, nullptr);
  EXPECT_EQ(frame_->m_bPreviewOk, 1u);
  EXPECT_EQ(page_->PreviewPane()->SlotView(PreviewSlot::kNoPreview), nullptr);
  EXPECT_EQ(Text(text), L"Recovered notes\r\n\u039A\u03B1\u03BB\u03B7\u03BC\u03AD\u03C1\u03B1 \u03BA\u03CC\u03C3\u03BC\u03B5\r\n"
                        L"\u041F\u0440\u0438\u0432\u0435\u0442, \u043C\u0438\u0440\r\n"
                        L"Saved as UTF-16 with its byte-order mark.\r\n");
  harness::PumpFor(200);
  EXPECT_FALSE(harness::CaptureWindow(frame_->m_hWnd, "page4_text").empty());

  CAdobeReaderView* rtf = Preview(u"Recovered report.rtf");
  ASSERT_NE(rtf, nullptr);
  EXPECT_EQ(frame_->m_bPreviewOk, 1u);
  EXPECT_EQ(Text(rtf), L"Recovered report\r\nFound on the FAT32 volume of a scanned disk image.\r\n"
                       L"Totals: \u03B1\u03B2\u03B3 1, 2, 3\r\nstatus = ok;");
  harness::PumpFor(200);
  EXPECT_FALSE(harness::CaptureWindow(frame_->m_hWnd, "page4_rtf").empty());
}
