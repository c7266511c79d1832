// The real program's page 4 with its preview pane: the frame hands the pane what the results list hands
// it for a type without a viewer, a file that cannot be read, a file whose disk image is not open and a file
// over 5,242,880 bytes; the pane shows its band with the item's place and the matching picture. Screenshots
// page4_preview_unknown.png, page4_preview_corrupted.png and page4_preview_large.png.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "app/ex_style_app.h"
#include "app/main_frame.h"
#include "app/pages/third_view_hdd.h"
#include "platform/harness/driver.h"
#include "platform/harness/scripted_seams.h"
#include "preview/main_preview_view.h"
#include "preview/preview_test_support.h"
#include "res/resource.h"

CEx_StyleApp theApp;

namespace {

class ResultsPagePreview : public ::testing::Test {
 protected:
  ResultsPagePreview() {
    static std::wstring commandLine = L"";
    theApp.SetStartup(::GetModuleHandleW(nullptr), &commandLine[0], SW_SHOW);
    theApp.InitApplication();
    started_ = theApp.InitInstance() != FALSE;
    frame_ = theApp.GetMainFrame();
    page_ = frame_ != nullptr ? static_cast<CThirdView_HDD*>(theApp.PageViews[kPageResults]) : nullptr;
  }

  // As the results list hands a row over: where it lies, then the file and its extension.
  void Hand(const std::u16string& where, const CString& path, const CString& extension) {
    frame_->PreviewFlag2 = 0;  // a file row
    PreviewItemPath = where;
    frame_->ShowPreview(path, extension);
    harness::PumpFor(150);
  }

  harness::ScopedSeams seams_;
  bool started_ = false;
  CMainFrame* frame_ = nullptr;
  CThirdView_HDD* page_ = nullptr;
};

TEST_F(ResultsPagePreview, ThePaneShowsWhyAFileHasNoPreview) {
  ASSERT_TRUE(started_);
  ASSERT_NE(page_, nullptr);
  theApp.SwitchView(kPageResults);
  harness::PumpFor(100);
  CMainPreviewView* pane = page_->PreviewPane();
  ASSERT_NE(pane, nullptr);
  EXPECT_EQ(frame_->m_pPreviewView, pane);
  // Before any row is chosen the pane asks for one.
  ASSERT_NE(pane->m_pNoPreviewView, nullptr);
  EXPECT_TRUE(previewtest::ShowsPicture(pane->m_pNoPreviewView->m_hWnd, IDB_PREVIEW_SELECT_FILE));

  // A type without a viewer: the results list hands over nothing.
  Hand(u"\\Tools\\setup.exe", CString(), CString());
  ASSERT_NE(pane->m_pNoPreviewView, nullptr);
  EXPECT_TRUE(previewtest::ShowsPicture(pane->m_pNoPreviewView->m_hWnd, IDB_PREVIEW_NO_VIEWER));
  EXPECT_FALSE(harness::CaptureWindow(frame_->m_hWnd, "page4_preview_unknown").empty());

  // A picture whose bytes are gone.
  previewtest::TempFile empty(L"tmp7.png", "");
  Hand(u"\\Pictures\\Holiday.png", empty.Path(), _T(".png"));
  ASSERT_NE(pane->m_pNoPreviewView, nullptr);
  EXPECT_EQ(frame_->m_bPreviewOk, 0u);
  EXPECT_TRUE(previewtest::ShowsPicture(pane->m_pNoPreviewView->m_hWnd, IDB_PREVIEW_CORRUPTED));
  EXPECT_FALSE(harness::CaptureWindow(frame_->m_hWnd, "page4_preview_corrupted").empty());

  // No disk image to read the file from: the pane says what to open, and the band keeps the item's place.
  // The next file shown is judged afresh.
  Hand(u"\\Documents\\Letter.txt", CString::FromUtf16(kImageNeededPath), CString::FromUtf16(kImageNeededExtension));
  ASSERT_NE(pane->m_pNoPreviewView, nullptr);
  EXPECT_EQ(frame_->m_bImageNeeded, 1u);
  EXPECT_TRUE(previewtest::ShowsPicture(pane->m_pNoPreviewView->m_hWnd, IDB_PREVIEW_IMAGE_NEEDED));
  EXPECT_EQ(PreviewItemPath, u"\\Documents\\Letter.txt");
  Hand(u"\\Tools\\setup.exe", CString(), CString());
  EXPECT_EQ(frame_->m_bImageNeeded, 0u);
  EXPECT_TRUE(previewtest::ShowsPicture(pane->m_pNoPreviewView->m_hWnd, IDB_PREVIEW_NO_VIEWER));

  // Over 5 MB: not extracted, the large-file view instead; the band keeps the item's place.
  Hand(u"\\Video\\Wedding.avi", _T("largefile"), _T(".largefile"));
  ASSERT_NE(pane->m_pLargeFileView, nullptr);
  EXPECT_EQ(pane->m_pNoPreviewView, nullptr);
  EXPECT_TRUE(previewtest::ShowsPicture(pane->m_pLargeFileView->m_hWnd, IDB_PREVIEW_LARGE_FILE));
  EXPECT_EQ(PreviewItemPath, u"\\Video\\Wedding.avi");
  EXPECT_FALSE(harness::CaptureWindow(frame_->m_hWnd, "page4_preview_large").empty());
}

}  // namespace
