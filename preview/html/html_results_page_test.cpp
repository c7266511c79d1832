// A web page recovered from a scanned image, previewed on page 4 of the real program: a Quick Scan of a
// generated FAT32 volume, a click on "Saved page.html", and the built-in viewer showing the page with its
// title, its link and the placeholder of the picture that was not recovered beside it; a damaged page shows
// its garbage as text on the white page and is ready. Screenshots page4_html.png, page4_html_damaged.png.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "platform/harness/driver.h"
#include "preview/html/custom_html_viewer.h"
#include "preview/html/html_browser_win32.h"
#include "preview/main_preview_view.h"
#include "preview/preview_extensions.h"
#include "preview/results_page_test_support.h"

CEx_StyleApp theApp;

namespace html_results_page_test {

constexpr uint32_t kVolumeSectors = 40 * 1024 * 2;

class HtmlOnResultsPageTest : public previewtest::ResultsPageTest {};

// The sampled pixels of the window that are pure white, per hundred.
int WhitePercent(HWND window) {
  ::RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
  RECT client{};
  ::GetClientRect(window, &client);
  HDC dc = ::GetDC(window);
  long long white = 0, all = 0;
  for (int y = 0; y < client.bottom; y += 8)
    for (int x = 0; x < client.right; x += 8, ++all) white += ::GetPixel(dc, x, y) == RGB(255, 255, 255) ? 1 : 0;
  ::ReleaseDC(window, dc);
  return all > 0 ? static_cast<int>(white * 100 / all) : 0;
}

TEST_F(HtmlOnResultsPageTest, ARecoveredPageIsShownByTheBuiltInViewerAndADamagedOneOnWhite) {
  QuickScan(DORVANE_HTML_VOLUME, kVolumeSectors);
  const int row = Row(u"Saved page.html");
  ASSERT_GE(row, 0);
  ClickRow(row);
  CMainPreviewView* pane = page_->PreviewPane();
  ASSERT_NE(pane, nullptr);
  CWnd* view = pane->SlotView(PreviewSlot::kCustomHtml);
  ASSERT_NE(view, nullptr);
  EXPECT_EQ(frame_->m_bPreviewOk, 1u);
  EXPECT_EQ(pane->SlotView(PreviewSlot::kNoPreview), nullptr);
  htmlview::HtmlBrowser* browser = CCustomHTMLViewer::Browser();
  ASSERT_NE(browser, nullptr);
  ASSERT_TRUE(harness::WaitUntil([] { return harness::Text(CCustomHTMLViewer::Status()).rfind(L"Ready", 0) == 0; }));
  EXPECT_EQ(harness::Text(view->m_hWnd), L"Saved page");
  const std::wstring status = harness::Text(CCustomHTMLViewer::Status());
  EXPECT_NE(status.find(L", images:1, links:1, "), std::wstring::npos) << status;
  // The page was read from the extracted copy through its path.
  const std::u16string url = browser->CurrentUrl();
  EXPECT_EQ(url.rfind(u"file://", 0), 0u);
  EXPECT_NE(url.find(u".html"), std::u16string::npos);
  harness::PumpFor(200);
  EXPECT_FALSE(harness::CaptureWindow(frame_->m_hWnd, "page4_html").empty());

  // The damaged page beside it: no picture to wait for, ready once read; its garbage as text on white.
  const int damaged = Row(u"Damaged page.html");
  ASSERT_GE(damaged, 0);
  ClickRow(damaged);
  ASSERT_NE(pane->SlotView(PreviewSlot::kCustomHtml), nullptr);
  EXPECT_EQ(frame_->m_bPreviewOk, 1u);
  ASSERT_TRUE(harness::WaitUntil([] { return harness::Text(CCustomHTMLViewer::Status()).rfind(L"Ready", 0) == 0; }))
      << harness::Text(CCustomHTMLViewer::Status());
  EXPECT_GT(WhitePercent(CCustomHTMLViewer::Canvas()), 50);
  harness::PumpFor(200);
  EXPECT_FALSE(harness::CaptureWindow(frame_->m_hWnd, "page4_html_damaged").empty());
}

}  // namespace html_results_page_test
