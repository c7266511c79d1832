#include "app/results/preview_temp.h"

#include <gtest/gtest.h>

#include <fstream>

#include "platform/os/os.h"

namespace {

class PreviewTempTest : public ::testing::Test {
 protected:
  PreviewTempTest() {
    folder_ = os::ProcessTempPath(u"preview_temp_test");
    os::CreateFolder(folder_);
    folder_ += os::PathSeparator();
    PreviewTempCounter = 0;
    PreviewTempFileTable.clear();
    LastPreview = LastPreviewRecord{};
  }
  ~PreviewTempTest() override {
    for (const std::u16string& path : PreviewTempPaths()) os::RemoveFile(path);
    folder_.pop_back();
    os::RemoveFolder(folder_);
  }
  void Touch(const std::u16string& name) { std::ofstream(os::ToUtf8(folder_ + name)) << "x"; }

  std::u16string folder_;
};

TEST_F(PreviewTempTest, NameWithoutDotTakesTheWholeNameLowerCased) {
  EXPECT_EQ(MakePreviewTempName(folder_, u"README"), u"tmp0.readme");
  EXPECT_EQ(MakePreviewTempName(folder_, u"Photo.JPG"), u"tmp0.jpg");
  EXPECT_EQ(MakePreviewTempName(folder_, u"archive.tar.GZ"), u"tmp0.gz");
  EXPECT_EQ(MakePreviewTempName(folder_, u"\u00C4RGER.\u00D6L"), u"tmp0.\u00F6l");
  EXPECT_EQ(MakePreviewTempName(folder_, u"trailing."), u"tmp0.");
}

TEST_F(PreviewTempTest, CounterMovesOnlyOnceTheFileExists) {
  EXPECT_EQ(MakePreviewTempName(folder_, u"a.txt"), u"tmp0.txt");
  // Not written: the next file takes the same number.
  EXPECT_EQ(MakePreviewTempName(folder_, u"b.txt"), u"tmp0.txt");
  EXPECT_EQ(PreviewTempCounter, 0u);
  Touch(u"tmp0.txt");
  EXPECT_EQ(MakePreviewTempName(folder_, u"c.txt"), u"tmp1.txt");
  EXPECT_EQ(PreviewTempCounter, 1u);
  // Another extension under the same number is a name of its own.
  EXPECT_EQ(MakePreviewTempName(folder_, u"d.pdf"), u"tmp1.pdf");
  // Every number handed out is remembered with its full path, for deleting.
  EXPECT_EQ(PreviewTempPaths(), (std::vector<std::u16string>{folder_ + u"tmp0.txt", folder_ + u"tmp1.pdf"}));
}

TEST_F(PreviewTempTest, TheSameFileTwiceIsNewOnce) {
  EXPECT_EQ(IsNewPreview(u"C:\\Temp\\", u"Letter.doc", 42), 1u);
  EXPECT_EQ(IsNewPreview(u"C:\\Temp\\", u"Letter.doc", 42), 0u);
  EXPECT_EQ(IsNewPreview(u"c:\\temp", u"LETTER.DOC", 42), 0u);  // the separator added, any case
  EXPECT_EQ(IsNewPreview(u"C:\\Temp\\", u"Letter.doc", 43), 1u);  // same name, another record
  EXPECT_EQ(IsNewPreview(u"C:\\Temp\\", u"Other.doc", 43), 1u);
  // A refused preview leaves the row's name as the text: the file before is written again.
  LastPreview.text = u"Other.doc";
  EXPECT_EQ(IsNewPreview(u"C:\\Temp\\", u"Other.doc", 43), 1u);
}

TEST_F(PreviewTempTest, FilesUpToFiveMegabytesArePreviewedLargerOnesGetTheLargeView) {
  EXPECT_EQ(ChooseFilePreviewStep(true, true, 5242880), FilePreviewStep::kPreview);
  EXPECT_EQ(ChooseFilePreviewStep(true, true, 5242881), FilePreviewStep::kLargeFile);
  EXPECT_EQ(ChooseFilePreviewStep(true, true, 0), FilePreviewStep::kPreview);
  EXPECT_EQ(ChooseFilePreviewStep(true, false, 0), FilePreviewStep::kPreview);  // File Trace: no size
  EXPECT_EQ(ChooseFilePreviewStep(false, true, 10), FilePreviewStep::kRefuse);
  EXPECT_EQ(ChooseFilePreviewStep(false, true, 5242881), FilePreviewStep::kRefuse);
  EXPECT_EQ(PreviewPaneExtension(u"largefile"), u".largefile");
  EXPECT_EQ(PreviewPaneExtension(u"C:\\t\\tmp3.jpg"), u".jpg");
}

}  // namespace
