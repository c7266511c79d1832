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
#include "engine/listing/results_listing.h"
#include "engine/scan/quick_scan.h"
#include "engine/scan/results_tree_build.h"
#include "platform/harness/driver.h"
#include "platform/harness/scripted_seams.h"
#include "platform/os/os.h"
#include "preview/archive/archive_list_view.h"
#include "preview/main_preview_view.h"
#include "preview/preview_extensions.h"
#include "preview/results_page_test_support.h"
#include "res/resource.h"

CEx_StyleApp theApp;

namespace archive_results_page_test {

const std::string kImage = "carving.fixed.vhd";
constexpr uint32_t kVolumeSectors = 81900;

class ArchiveOnResultsPageTest : public previewtest::ResultsPageTest {
 protected:
  void QuickScan() { ResultsPageTest::QuickScan(std::string(DORVANE_SHARED_IMAGES) + "/" + kImage, kVolumeSectors); }
};

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

}  // namespace archive_results_page_test
