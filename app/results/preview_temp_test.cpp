#include "app/results/preview_temp.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "engine/host/fakes.h"
#include "engine/host/result_tree_fakes.h"
#include "engine/save/preview_temp_files.h"
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
  void Touch(const std::u16string& name, const char* text = "x") { std::ofstream(os::ToUtf8(folder_ + name)) << text; }
  std::string Read(const std::u16string& name) {
    std::ostringstream text;
    text << std::ifstream(os::ToUtf8(folder_ + name)).rdbuf();
    return text.str();
  }
  // A preview as the results page makes it: a free name, the copy written there and remembered.
  std::u16string Preview(const std::u16string& fileName) {
    const std::u16string name = MakePreviewTempName(folder_, fileName);
    Touch(name, "copy");
    RememberPreviewTempFile(folder_ + name);
    return name;
  }

  std::u16string folder_;
};

TEST_F(PreviewTempTest, NameWithoutDotTakesTheWholeNameLowerCased) {
  EXPECT_EQ(MakePreviewTempName(folder_, u"README"), u"tmp0.readme");
  EXPECT_EQ(MakePreviewTempName(folder_, u"Photo.JPG"), u"tmp0.jpg");
  EXPECT_EQ(MakePreviewTempName(folder_, u"archive.tar.GZ"), u"tmp0.gz");
  EXPECT_EQ(MakePreviewTempName(folder_, u"\u00C4RGER.\u00D6L"), u"tmp0.\u00F6l");
  // The name is the one written: what the system refuses in it is replaced.
  EXPECT_EQ(MakePreviewTempName(folder_, u"trailing."), u"tmp0_");
  EXPECT_EQ(MakePreviewTempName(folder_, u"odd.a?b"), u"tmp0.a_b");
}

// A file this program did not make, under the name a preview's copy would get once cleaned, is passed over.
TEST_F(PreviewTempTest, AFileOfTheCleanedNameIsNeverOverwritten) {
  Touch(u"tmp0.a_b", "the user's");
  EXPECT_EQ(Preview(u"odd.a?b"), u"tmp1.a_b");
  EXPECT_EQ(Read(u"tmp0.a_b"), "the user's");
  os::RemoveFile(folder_ + u"tmp0.a_b");
}

// The results list as DeletePreviewTempFiles reaches it: the process-wide table.
class TableList : public host::RecordingResultList {
 public:
  std::vector<std::u16string> PreviewTempFiles() override { return PreviewTempPaths(); }
  void KeepPreviewTempFiles(const std::vector<std::u16string>& paths) override { SetPreviewTempPaths(paths); }
};

TEST_F(PreviewTempTest, EveryCopyMadeIsDeletedOnceAndNoOtherFile) {
  TableList list;
  host::Hosts hosts;
  hosts.resultList = &list;
  host::ScopedHosts installed(hosts);
  // Copies of several types share their numbers.
  std::vector<std::u16string> made;
  for (const char16_t* name : {u"a.txt", u"b.jpg", u"c.xls", u"d.txt", u"e.jpg", u"f.pdf"}) made.push_back(Preview(name));
  EXPECT_EQ(made, (std::vector<std::u16string>{u"tmp0.txt", u"tmp0.jpg", u"tmp0.xls", u"tmp1.txt", u"tmp1.jpg",
                                               u"tmp1.pdf"}));
  DeletePreviewTempFiles();
  for (const std::u16string& name : made) EXPECT_FALSE(os::FileExists(folder_ + name)) << os::ToUtf8(name);
  EXPECT_TRUE(PreviewTempPaths().empty());

  // A file of a deleted copy's name made since (by another program) stays through the next Back and exit.
  Touch(u"tmp0.txt", "another program's");
  DeletePreviewTempFiles();
  EXPECT_EQ(Read(u"tmp0.txt"), "another program's");
  os::RemoveFile(folder_ + u"tmp0.txt");
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
  os::RemoveFile(folder_ + u"tmp0.txt");
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
