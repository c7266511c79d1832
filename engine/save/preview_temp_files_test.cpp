#include "engine/save/preview_temp_files.h"

#include <gtest/gtest.h>

#include <string>

#include "engine/host/document_fakes.h"
#include "engine/host/fakes.h"
#include "engine/host/result_tree_fakes.h"
#include "platform/os/os.h"

namespace {

std::u16string MakeFile(const std::u16string& path) {
  os::File file;
  EXPECT_TRUE(file.OpenWrite(path));
  EXPECT_TRUE(file.Write("x", 1));
  EXPECT_TRUE(file.Close());
  return path;
}

class PreviewTempFilesTest : public ::testing::Test {
 protected:
  PreviewTempFilesTest() {
    hosts_.resultList = &list_;
    hosts_.document = &document_;
  }
  const std::u16string thumbnails_ = os::TempFolderPath() + u"ssss";
  host::RecordingResultList list_;
  host::RecordingDocument document_;
  host::Hosts hosts_;
};

TEST_F(PreviewTempFilesTest, DeletesTheHandedOutFilesAndTheEmptyThumbnailFolder) {
  const std::u16string stem = os::TempFolderPath() + u"listing_preview_test_" +
                              os::FromAscii(std::to_string(::testing::UnitTest::GetInstance()->random_seed()));
  list_.previewTempFiles = {MakeFile(stem + u"_0.txt"), stem + u"_never_written.doc", MakeFile(stem + u"_2.jpg")};
  os::RemoveFolder(thumbnails_);
  ASSERT_TRUE(os::CreateFolder(thumbnails_));
  host::ScopedHosts installed(hosts_);

  const std::vector<std::u16string> made = list_.previewTempFiles;

  DeletePreviewTempFiles();

  for (const std::u16string& path : made) EXPECT_FALSE(os::FileExists(path));
  // Every name is gone (the one never written too): the list forgets them all.
  EXPECT_TRUE(list_.previewTempFiles.empty());
  EXPECT_FALSE(os::IsFolder(thumbnails_));
  EXPECT_EQ(document_.emptiedFolders, std::vector<std::u16string>{thumbnails_});
}

TEST_F(PreviewTempFilesTest, AThumbnailFolderWithFilesIsLeftToTheDocument) {
  os::RemoveFolder(thumbnails_);
  ASSERT_TRUE(os::CreateFolder(thumbnails_));
  const std::u16string inside = MakeFile(thumbnails_ + u"\\thumb.bmp");
  host::ScopedHosts installed(hosts_);

  DeletePreviewTempFiles();

  EXPECT_TRUE(os::IsFolder(thumbnails_));  // the fake document does not delete what it holds
  EXPECT_EQ(document_.emptiedFolders, std::vector<std::u16string>{thumbnails_});
  os::RemoveFile(inside);
  os::RemoveFolder(thumbnails_);
}

TEST_F(PreviewTempFilesTest, WithoutWindowsOnlyTheFolderGoes) {
  host::ScopedHosts none{host::Hosts{}};
  os::RemoveFolder(thumbnails_);
  ASSERT_TRUE(os::CreateFolder(thumbnails_));
  DeletePreviewTempFiles();
  EXPECT_FALSE(os::IsFolder(thumbnails_));
}

}  // namespace
