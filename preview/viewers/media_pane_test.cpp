// Media files and Photoshop images in the preview pane: without the player control the pane says the type
// cannot be previewed here; with the stand-in control, a file it refuses is shown as damaged. A Photoshop
// file of a kind the decoder does not draw is not available here; a damaged one is corrupted.
#include <windows.h>

#include <gtest/gtest.h>

#include "platform/harness/driver.h"
#include "preview/preview_test_support.h"
#include "preview/psd/psd_test_writer.h"
#include "preview/viewers/fake_media_player/fake_player_registration.h"
#include "res/resource.h"

namespace {

TEST(MediaPane, AbsentPlayerIsNotAvailableAndARefusedFileIsCorrupted) {
  previewtest::PaneWindow w(420, 300);
  w.frame->m_bNoFileSelected = 0;
  {
    mediatest::AbsentPlayer absent;
    for (const wchar_t* extension : {L".mp3", L".wmv"}) {
      previewtest::TempFile file(std::wstring(L"media_pane_song") + extension, "ID3 or ASF bytes");
      w.Preview(file.Path(), extension);
      ASSERT_NE(w.pane->m_pNoPreviewView, nullptr);
      EXPECT_EQ(w.frame->m_bComponentMissing, 1u);
      EXPECT_TRUE(previewtest::ShowsPicture(w.pane->m_pNoPreviewView->m_hWnd, IDB_PREVIEW_NO_VIEWER));
    }
  }
  mediatest::FakePlayer fake;
  previewtest::TempFile damaged(L"media_pane_fail.mp3", "not a song");  // the stand-in refuses "fail"
  w.Preview(damaged.Path(), _T(".mp3"));
  ASSERT_NE(w.pane->m_pNoPreviewView, nullptr);
  EXPECT_EQ(w.frame->m_bComponentMissing, 0u);
  EXPECT_TRUE(previewtest::ShowsPicture(w.pane->m_pNoPreviewView->m_hWnd, IDB_PREVIEW_CORRUPTED));
}

TEST(PsdPane, AFileOfAKindNotDrawnIsNotAvailableAndADamagedOneCorrupted) {
  previewtest::PaneWindow w(420, 300);
  w.frame->m_bNoFileSelected = 0;
  PsdTestImage image;
  image.rows = image.columns = 2;
  image.channels = {{255, 0, 0, 17}, {0, 255, 0, 34}, {0, 0, 255, 51}};
  const std::string good = WritePsd(image);
  // ZIP-compressed image data: the compression code after the header and three empty sections.
  previewtest::TempFile zip(L"psd_pane_zip.psd", good.substr(0, 26 + 12) + PsdBigEndian(2, 2) + good.substr(26 + 14));
  w.Preview(zip.Path(), _T(".psd"));
  ASSERT_NE(w.pane->m_pNoPreviewView, nullptr);
  EXPECT_EQ(w.frame->m_bComponentMissing, 1u);
  EXPECT_TRUE(previewtest::ShowsPicture(w.pane->m_pNoPreviewView->m_hWnd, IDB_PREVIEW_NO_VIEWER));

  previewtest::TempFile cut(L"psd_pane_cut.psd", good.substr(0, good.size() - 2));
  w.Preview(cut.Path(), _T(".psd"));
  ASSERT_NE(w.pane->m_pNoPreviewView, nullptr);
  EXPECT_EQ(w.frame->m_bComponentMissing, 0u);
  EXPECT_TRUE(previewtest::ShowsPicture(w.pane->m_pNoPreviewView->m_hWnd, IDB_PREVIEW_CORRUPTED));
}

}  // namespace
