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
#include "engine/listing/results_listing.h"
#include "engine/scan/quick_scan.h"
#include "engine/scan/results_tree_build.h"
#include "platform/harness/driver.h"
#include "platform/harness/scripted_seams.h"
#include "platform/os/os.h"
#include "preview/main_preview_view.h"
#include "preview/results_page_test_support.h"
#include "preview/viewers/image_view.h"
#include "platform/standins/cximage.h"
#include "preview/preview_extensions.h"
#include "res/resource.h"

CEx_StyleApp theApp;

namespace picture_results_page_test {

const std::string kImage = "carving.fixed.vhd";
constexpr uint32_t kVolumeSectors = 81900;

class PictureOnResultsPageTest : public previewtest::ResultsPageTest {
 protected:
  void QuickScan() { ResultsPageTest::QuickScan(std::string(DORVANE_SHARED_IMAGES) + "/" + kImage, kVolumeSectors); }
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
  // 200 x 150 at its own size, centred: painted, and white beside it.
  view->RedrawWindow();
  harness::PumpFor(100);
  CRect client;
  view->GetClientRect(client);
  const int left = (client.Width() - 200) / 2, top = (client.Height() - 150) / 2;
  EXPECT_GT(Coloured(view->m_hWnd, RECT{left + 4, top + 4, left + 196, top + 146}), 0.9);
  EXPECT_EQ(Coloured(view->m_hWnd, RECT{0, top + 4, left - 2, top + 146}), 0.0);
  harness::PumpFor(200);
  EXPECT_FALSE(harness::CaptureWindow(frame_->m_hWnd, "page4_picture").empty());

  // The JPEG cut short has no picture: the pane adds its no-preview view.
  const int truncated = Row(u"Truncated picture.jpg");
  ASSERT_GE(truncated, 0);
  ClickRow(truncated);
  EXPECT_EQ(frame_->m_bPreviewOk, 0u);
  EXPECT_NE(pane->SlotView(PreviewSlot::kNoPreview), nullptr);
}

}  // namespace picture_results_page_test
