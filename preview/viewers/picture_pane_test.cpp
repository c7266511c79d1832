// The picture viewers inside the real preview pane: a photo-like PNG handed over as the results page does,
// a zero-byte ".png" giving the corrupted-file picture, and a folder of slides (three pictures and a note)
// becoming thumbnails "1" to "3" through the document, the folder gone afterwards. Screenshots
// preview_image.png and preview_thumbnails.png.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/harness/driver.h"
#include "platform/standins/cximage.h"
#include "preview/preview_test_support.h"
#include "preview/viewers/image_view.h"
#include "preview/viewers/thumb_view.h"

namespace {

static_assert(sizeof(wchar_t) == 2, "UTF-16 text");

CString Sample(const wchar_t* name) { return CString(DORVANE_PICTURE_SAMPLES) + _T("\\") + name; }

TEST(PicturesInThePane, APhotoShowsInTheImageViewAndAnEmptyPngAsCorrupted) {
  previewtest::PaneWindow w(600, 330);
  w.Preview(Sample(L"photo.png"), _T(".png"));
  EXPECT_EQ(w.FilledSlots(), (std::vector<std::string>{"image"}));
  EXPECT_EQ(w.frame->m_bPreviewOk, 1u);
  auto* view = dynamic_cast<CImage_View*>(w.pane->SlotView(PreviewSlot::kImage));
  ASSERT_NE(view, nullptr);
  ASSERT_NE(view->GetPicture(), nullptr);
  EXPECT_EQ(view->GetPicture()->GetWidth(), 480u);
  // 480 x 320 shrunk into the view below the band (275 pixels high inside its margins): 412 wide, centred.
  const previewtest::Grab grab = previewtest::GrabClient(view->m_hWnd);
  EXPECT_NE(grab.At(grab.width / 2, grab.height / 2), RGB(255, 255, 255));
  EXPECT_NE(grab.At(grab.width / 2 - 200, grab.height / 2), RGB(255, 255, 255));
  EXPECT_EQ(grab.At(grab.width / 2 - 212, grab.height / 2), RGB(255, 255, 255));
  harness::PumpFor(100);
  EXPECT_FALSE(harness::CaptureWindow(w.frame->m_hWnd, "preview_image").empty());

  w.Preview(Sample(L"empty.png"), _T(".png"));
  EXPECT_EQ(w.frame->m_bPreviewOk, 0u);
  EXPECT_EQ(w.FilledSlots(), (std::vector<std::string>{"image", "nopreview"}));
}

// A folder under the temporary folder holding copies of the sample slides and a note.
CString SlideFolder() {
  wchar_t temp[MAX_PATH] = {};
  ::GetTempPathW(MAX_PATH, temp);
  const CString folder = CString(temp) + _T("picture_pane_slides");
  ::CreateDirectoryW(folder, nullptr);
  for (const wchar_t* name : {L"slide1.gif", L"slide2.png", L"slide3.bmp", L"notes.txt"}) {
    ::CopyFileW(Sample(L"thumbs\\") + name, folder + _T("\\") + name, FALSE);
  }
  return folder;
}

TEST(PicturesInThePane, AFolderOfThreeSlidesAndANoteGivesThumbnailsOneToThreeAndIsRemoved) {
  previewtest::PaneWindow w(600, 420);
  const CString folder = SlideFolder();
  w.frame->SetActiveView(w.pane, FALSE);
  w.pane->ClosePreviewViews();
  w.pane->ShowSlideThumbnails(folder);
  harness::PumpMessages();
  auto* view = dynamic_cast<CThumbView*>(w.pane->SlotView(PreviewSlot::kThumb));
  ASSERT_NE(view, nullptr);
  EXPECT_EQ(harness::Items(view->m_hWnd), (std::vector<std::wstring>{L"1", L"2", L"3"}));
  EXPECT_EQ(view->m_imageList.GetImageCount(), 3);
  EXPECT_EQ(::GetFileAttributesW(folder), INVALID_FILE_ATTRIBUTES);  // the pictures live on in the view
  harness::PumpFor(100);
  EXPECT_FALSE(harness::CaptureWindow(w.frame->m_hWnd, "preview_thumbnails").empty());
}

}  // namespace
