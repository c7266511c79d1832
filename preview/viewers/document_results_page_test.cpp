// Documents recovered from a scanned image, previewed on page 4 of the real program: a Quick Scan of a
// generated FAT32 volume, then a click on a UTF-16 text file and on an RTF file; the pane's document view
// shows each one's text. Screenshots page4_text.png and page4_rtf.png.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "platform/harness/driver.h"
#include "preview/main_preview_view.h"
#include "preview/preview_extensions.h"
#include "preview/results_page_test_support.h"
#include "preview/viewers/document_view.h"

CEx_StyleApp theApp;

namespace document_results_page_test {

// The generated volume: 40 MiB of FAT32 in a fixed VHD.
constexpr uint32_t kVolumeSectors = 40 * 1024 * 2;

class DocumentsOnResultsPageTest : public previewtest::ResultsPageTest {
 protected:
  // Clicks the row of that name; the document view the pane then shows, or null.
  CAdobeReaderView* Preview(const std::u16string& name) {
    const int row = Row(name);
    if (row < 0) return nullptr;
    ClickRow(row);
    CMainPreviewView* pane = page_->PreviewPane();
    return pane != nullptr ? dynamic_cast<CAdobeReaderView*>(pane->SlotView(PreviewSlot::kDocument)) : nullptr;
  }

  static std::wstring Text(CAdobeReaderView* view) {
    HWND edit = view->m_richEdit.GetSafeHwnd();
    std::wstring text(static_cast<size_t>(::GetWindowTextLengthW(edit)) + 1, L'\0');
    text.resize(static_cast<size_t>(::GetWindowTextW(edit, text.data(), static_cast<int>(text.size()))));
    return text;
  }
};

TEST_F(DocumentsOnResultsPageTest, AUtf16TextFileAndAnRtfFileAreShownInThePreview) {
  QuickScan(DORVANE_DOCUMENT_VOLUME, kVolumeSectors);
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

}  // namespace document_results_page_test
